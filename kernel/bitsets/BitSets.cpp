#include "kernel/bitsets/BitSets.h"

#include <cstring>

namespace {

inline void AddElement(uint8_t* set, int32_t n, int32_t size)
{
    set[size - 1 - (n >> 3)] |= uint8_t(1u << (n & 7));
}

}  // namespace

void AddRangeToSet(uint8_t* set, int16_t first, int16_t last, int16_t size)
{
    const int32_t top = int32_t(size) * 8 - 1;
    if (last < 0 || first > top) return;
    int32_t n = first < 0 ? 0 : first;
    const int32_t end = last > top ? top : last;
    for (; n + 3 <= end; n += 4) {
        AddElement(set, n, size);
        AddElement(set, n + 1, size);
        AddElement(set, n + 2, size);
        AddElement(set, n + 3, size);
    }
    for (; n <= end; ++n) AddElement(set, n, size);
}

uint8_t TestElementInSet(const uint8_t* set, int16_t element, int16_t size)
{
    if (element < 0 || int32_t(element) >= int32_t(size) * 8) return 0;
    return set[size - 1 - (element >> 3)] & uint8_t(1u << (element & 7));
}

void ClearSet(uint8_t* set, int16_t size)
{
    if (size > 0) std::memset(set, 0, size_t(size));
}

void _raz(void* set, int16_t count)
{
    if (count > 0) std::memset(set, 0, size_t(count) * 2);
}

int16_t pbittest(uint32_t value, int16_t bit)
{
    if (bit < 0 || bit > 31) return 0;
    return int16_t((value >> bit) & 1u);
}

void pbitclear(uint32_t* word, int16_t bit)
{
    if (bit < 0 || bit > 31) return;
    *word &= ~(uint32_t(1) << bit);
}
