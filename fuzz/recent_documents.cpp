// The recent-documents list ('SP2#' 0 of the preferences file): its
// entries are read, one is added, and every menu text is made.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/documents/RecentList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    const int16_t n = OpenSpecialCount(bytes.data(), bytes.size());
    if (n < 0 || n > kMaxOpenSpecial) __builtin_trap();
    for (int16_t i = 0; i < n; ++i) {
        OpenSpecialItem item;
        if (!OpenSpecialEntry(bytes.data(), bytes.size(), i, &item)) __builtin_trap();
        std::string text;
        OpenSpecialText(item.path, item.name, &text);
    }
    const std::string name = size > 0 ? std::string(reinterpret_cast<const char*>(data), size % 40) : "x";
    if (AddToOpenSpecial(&bytes, "Disk:Folder:", name, 0x42415335)) {
        const int16_t after = OpenSpecialCount(bytes.data(), bytes.size());
        if (after < 1 || after > kMaxOpenSpecial) __builtin_trap();
    }
    return 0;
}
