// The classic print record on hostile bytes: any 120 bytes (or more) read
// into settings and a page format that validation leaves as they are, and
// a record made from those reads back the same; shorter input is refused.
#include <cstdint>
#include <cstdlib>

#include "platform/core/Memory.h"
#include "platform/printing/Printing.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    PMPrintSession session = nullptr;
    if (PMCreateSession(&session) != kPMNoError)
        return 0;
    Handle record = nullptr;
    if (PtrToHand(data, &record, Size(size)) != noErr) {
        PMRelease(session);
        return 0;
    }
    PMPrintSettings settings = nullptr;
    PMPageFormat format = nullptr;
    OSStatus err = PMSessionConvertOldPrintRecord(session, record, &settings, &format);
    if ((size < 120) != (err != kPMNoError))
        std::abort();
    if (err == kPMNoError) {
        Boolean changed = false;
        PMSessionValidatePrintSettings(session, settings, &changed);
        if (changed)
            std::abort();
        PMSessionValidatePageFormat(session, format, &changed);
        if (changed)
            std::abort();
        Handle again = nullptr;
        PMPrintSettings s2 = nullptr;
        PMPageFormat f2 = nullptr;
        if (PMSessionMakeOldPrintRecord(session, settings, format, &again) == kPMNoError &&
            PMSessionConvertOldPrintRecord(session, again, &s2, &f2) == kPMNoError) {
            PMRect a, b;
            uint32_t c1, c2;
            PMGetAdjustedPageRect(format, &a);
            PMGetAdjustedPageRect(f2, &b);
            PMGetCopies(settings, &c1);
            PMGetCopies(s2, &c2);
            if (a.bottom != b.bottom || a.right != b.right || c1 != c2)
                std::abort();
        }
        PMRelease(s2);
        PMRelease(f2);
        DisposeHandle(again);
    }
    PMRelease(settings);
    PMRelease(format);
    DisposeHandle(record);
    PMRelease(session);
    return 0;
}
