// Colour icons ('cicn') from documents and resource files, built into the
// maps a painter draws: a built icon's pixel rows must lie inside the
// handle that holds them.
#include <cstdint>
#include <cstdlib>

#include "platform/drawing/PixMaps.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VMemoryMgr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VIcon icon(nullptr, nullptr, int16_t(1));
    if (icon.BuildMacIcon(nullptr, reinterpret_cast<const char*>(data), int32_t(size))) {
        const platform::PixMap& pm = **icon.GetPixMap();
        const int64_t rows = int64_t(pm.bounds.bottom) - pm.bounds.top;
        const int64_t need = int64_t(sizeof(platform::PixMap)) + int64_t(pm.rowBytes & 0x3FFF) * rows;
        if (rows < 0 || need > gMemory->GetHandleSize(reinterpret_cast<char**>(icon.GetPixMap())))
            std::abort();
        if (pm.pmTable && platform::CTabEntryCount(pm.pmTable) < 0) std::abort();
    }
    return 0;
}
