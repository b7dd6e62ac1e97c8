// A component's stored name-code table ('cdQz'), in either byte order and
// with any counters: look-ups, inserts and the sort stay inside it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "design/objects/NameTables.h"
#include "platform/core/Memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16) return 0;
    platform::Handle table = nullptr;
    if (platform::PtrToHand(data, &table, platform::Size(size)) != 0) return 0;
    unsigned char name[34] = {4, 'n', 'a', 'm', 'e'};
    unsigned char code[256] = {4, 'c', 'o', 'd', 'e'};
    GetCode(table, name, code);
    IsNewCode(table, code);
    SortNameCode(table);
    SetCode(&table, name, code);
    int32_t pos = 0;
    SearchNameCode(&table, name, &pos);
    platform::DisposeHandle(table);
    return 0;
}
