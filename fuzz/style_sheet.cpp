// Style-sheet tables as stored in 'Stlx' and older 'Styl' resources,
// brought to the current layout.
#include <cstdint>

#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Handle h = nullptr;
    if (platform::PtrToHand(data, &h, platform::Size(size)) != 0) return 0;
    platform::Handle table = ConvertStyleSheet(h);
    if (table && table != h) {
        Is68xStyleSheet(table);
        platform::DisposeHandle(table);
    }
    platform::DisposeHandle(h);
    return 0;
}
