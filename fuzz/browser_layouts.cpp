// Browser window layouts ('WNDD' of the preferences file): every pane
// record found is checked to lie inside the bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/windows/RefWindows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);  // exact bounds for the sanitizer
    std::vector<WnddPane> panes;
    if (ParseWndd(bytes.data(), bytes.size(), &panes) != WnddResult::Ok) return 0;
    for (const WnddPane& p : panes) {
        if (p.kind < 0 || p.kind > 3 || p.length < 18) __builtin_trap();
        const uint8_t* end = p.record + p.length;
        if (p.record < bytes.data() || end > bytes.data() + bytes.size()) __builtin_trap();
        volatile uint8_t last = end[-1];
        (void)last;
    }
    return 0;
}
