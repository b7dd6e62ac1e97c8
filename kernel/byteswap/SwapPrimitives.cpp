#include "kernel/byteswap/SwapPrimitives.h"

#include "platform/core/Endian.h"

using platform::ReverseBytes;

int16_t vInvertsWord(int16_t value) { return int16_t(platform::Swap16(uint16_t(value))); }

int32_t vInvertsLong(int32_t value) { return int32_t(platform::Swap32(uint32_t(value))); }

int32_t InvertWord(void* p)
{
    ReverseBytes(p, 2);
    return platform::ReadBES16(p);
}

int32_t InvertLong(void* p)
{
    ReverseBytes(p, 4);
    return platform::ReadBES32(p);
}

void ASI_ByteSwapWORD(void* p) { ReverseBytes(p, 2); }

void ASI_ByteSwapLONG(void* p) { ReverseBytes(p, 4); }

void ASI_ByteSwapWORDS(void* p, int32_t length)
{
    auto* b = static_cast<uint8_t*>(p);
    for (int32_t i = 0; i + 2 <= length; i += 2) ReverseBytes(b + i, 2);
}

void ASI_ByteSwapLONGS(void* p, int32_t length)
{
    auto* b = static_cast<uint8_t*>(p);
    for (int32_t i = 0; i + 4 <= length; i += 4) ReverseBytes(b + i, 4);
}
