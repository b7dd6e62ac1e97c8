// Stored print records placed in a print record handle: any bytes of 120
// or more are converted on first use into settings and a page format that
// give a page and validate once; shorter ones are refused with -50 and
// left untouched; disposing never takes the bytes for objects.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/core/Memory.h"
#include "toolbox/drawing/PrintEmulation.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096) return 0;
    PrOpen();
    Handle record = nullptr;
    if (PtrToHand(data, &record, Size(size)) != noErr || !record) {
        PrClose();
        return 0;
    }
    const std::vector<uint8_t> before(data, data + size);
    PrSetError(0);
    const int16_t validated = PrValidate(record);
    Rect page{};
    GetPrintRecordPageRect(record, &page);
    MyPrintRecord fields;
    const bool ours = GetPrintRecordFields(record, &fields);
    if (size < 120) {
        // Refused, and not a byte changed.
        if (validated != 0 || PrError() != -50 || ours || page.bottom != 0 || GetHandleSize(record) != Size(size) ||
            (size && std::memcmp(*record, before.data(), size) != 0))
            std::abort();
    } else {
        if (!ours || !fields.settings || !fields.pageFormat || fields.oldRecordMarker != 0 || !fields.hasPlatformData)
            std::abort();
        if (page.top != 0 || page.left != 0 || page.bottom <= 0 || page.right <= 0) std::abort();
        if (PrValidate(record) != 0) std::abort();  // settled after the first time
    }
    // Bytes written over the converted record are converted again.
    if (size >= 120) {
        std::memcpy(*record, data, 120);
        PrintDefault(record);
        if (!GetPrintRecordFields(record, nullptr)) std::abort();
    }
    DisposePrintRecord(record);
    if (record) std::abort();
    PrClose();
    return 0;
}
