// A flattened password table of any bytes, in either byte order: read
// whole or refused with nothing made, every record the size its layout
// gives.
#include <cstdint>
#include <cstdlib>

#include "design/documents/Passwords.h"
#include "fuzz/support/FuzzSupport.h"
#include "kernel/buffer/BufferQz.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool templates = fuzz::LoadShippedTemplates();
    (void)templates;
    fuzz::FuzzBytes in(data, size);
    const uint8_t swap = in.Byte() & 1;
    const fuzz::Bytes table = in.Rest();
    platform::Handle h = nullptr;
    if (platform::PtrToHand(table.data(), &h, platform::Size(table.size())) != 0) return 0;
    buffertemp b;
    InitBufTempForRead(&b, swap, h);
    platform::Handle users = nullptr, groups = nullptr;
    int16_t userCount = 0, groupCount = 0;
    const int16_t err = UnflattenPasswords(&b, &users, &userCount, &groups, &groupCount);
    if (err && (users || groups || userCount || groupCount)) std::abort();
    for (int16_t i = 0; users && i < userCount; ++i)
        if (platform::GetHandleSize(reinterpret_cast<platform::Handle*>(*users)[i]) != kPassRecSize) std::abort();
    for (int16_t i = 0; groups && i < groupCount; ++i) {
        platform::Handle g = reinterpret_cast<platform::Handle*>(*groups)[i];
        if (platform::GetHandleSize(g) < kGroupRecBase - 2) std::abort();
    }
    free_passtab(users, userCount);
    free_groupuser(groups, groupCount);
    platform::DisposeHandle(h);
    return 0;
}
