// A server's reply to the request for both password tables (its version
// counter, then table 0 and table 1), read in both byte orders: read whole
// or refused with nothing made, every record the size its layout gives, and
// never taken without both tables (each at least its two counts).
#include <cstdint>
#include <cstdlib>

#include "design/documents/Passwords.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

namespace {

void CheckTable(const PassTable& t)
{
    for (int16_t i = 0; t.users && i < t.userCount; ++i)
        if (platform::GetHandleSize(reinterpret_cast<platform::Handle*>(*t.users)[i]) != kPassRecSize) std::abort();
    for (int16_t i = 0; t.groups && i < t.groupCount; ++i)
        if (platform::GetHandleSize(reinterpret_cast<platform::Handle*>(*t.groups)[i]) < kGroupRecBase - 2)
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    platform::Handle reply = nullptr;
    if (platform::PtrToHand(data, &reply, platform::Size(size)) != 0) return 0;
    for (const bool otherOrder : {false, true}) {
        PassTable t0, t1;
        int32_t counter = -1;
        const int16_t err = UnflattenServerTables(reply, otherOrder, &t0, &t1, &counter);
        if (err && (t0.users || t0.groups || t1.users || t1.groups || counter != 0)) std::abort();
        if (!err && size < 12) std::abort();
        CheckTable(t0);
        CheckTable(t1);
        FreePassTable(&t0);
        FreePassTable(&t1);
    }
    platform::DisposeHandle(reply);
    return 0;
}
