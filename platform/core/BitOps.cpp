#include "platform/core/BitOps.h"

namespace platform {

namespace {

uint8_t Mask(int32_t n) { return uint8_t(0x80u >> (n & 7)); }

}  // namespace

bool BitTst(const void* bytes, int32_t n)
{
    if (n < 0) return false;
    return (static_cast<const uint8_t*>(bytes)[n >> 3] & Mask(n)) != 0;
}

void BitSet(void* bytes, int32_t n)
{
    if (n < 0) return;
    static_cast<uint8_t*>(bytes)[n >> 3] |= Mask(n);
}

void BitClr(void* bytes, int32_t n)
{
    if (n < 0) return;
    static_cast<uint8_t*>(bytes)[n >> 3] &= uint8_t(~Mask(n));
}

}  // namespace platform
