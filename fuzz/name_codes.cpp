// A component's name-code table ('cdQz') as stored, in either byte order
// and with any counters, then members renamed by code: the first bytes
// give the seed and the prefix, the table follows. Every code found or
// made is eight characters, new in the table, and stays found.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "design/objects/NameTables.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Memory.h"
#include "transfer/components/NameCodes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6 || size > 1 << 16) return 0;
    const uint32_t seed = uint32_t(data[0]) << 24 | uint32_t(data[1]) << 16 | uint32_t(data[2]) << 8 | data[3];
    unsigned char prefix[5] = {uint8_t(data[4] % 5)};
    for (int i = 0; i < prefix[0]; ++i) prefix[i + 1] = uint8_t('a' + (data[5] + i) % 26);
    platform::Handle table = nullptr;
    if (platform::PtrToHand(data + 6, &table, platform::Size(size - 6)) != 0) return 0;
    stglobglob[0] = 2, stglobglob[1] = '<', stglobglob[2] = '>';
    stlocalvar[0] = 1, stlocalvar[1] = '$';
    static const char* const kNames[] = {"Helper", "rpHelper", "<>gCount", "$tmp", "Helper", ""};
    for (const char* n : kNames) {
        unsigned char name[34] = {uint8_t(std::strlen(n))};
        std::memcpy(name + 1, n, name[0]);
        unsigned char made[256];
        if (transfer::M_GetName(&table, prefix, name, made, seed) != 0) break;
        // The name ends in its code, which the table holds now.
        if (made[0] < 8) std::abort();
        unsigned char code[256] = {8};
        std::memcpy(code + 1, made + 1 + made[0] - 8, 8);
        if (IsNewCode(table, code)) std::abort();
    }
    platform::DisposeHandle(table);
    return 0;
}
