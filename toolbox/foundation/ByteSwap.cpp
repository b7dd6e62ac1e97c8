#include "toolbox/foundation/ByteSwap.h"

#include "platform/core/Endian.h"

using platform::ReadBE16;
using platform::ReadBE64;
using platform::ReverseBytes;
using platform::WriteBE16;
using platform::WriteBE64;

void ByteSwapWord(int16_t* word) { ReverseBytes(word, 2); }

void ByteSwapLong(int32_t* value) { ReverseBytes(value, 4); }

void ByteSwapWordArray(int16_t* words, int32_t count)
{
    for (int32_t i = count - 1; i >= 0; --i) ReverseBytes(words + i, 2);
}

void ByteSwapLongArray(int32_t* longs, int32_t count)
{
    for (int32_t i = count - 1; i >= 0; --i) ReverseBytes(longs + i, 4);
}

void ByteSwapReal8(double* real) { ReverseBytes(real, 8); }

namespace {

constexpr uint64_t kFractionMask = (uint64_t(1) << 52) - 1;
constexpr uint64_t kIntegerBit = uint64_t(1) << 63;
constexpr int32_t kDoubleBias = 1023;
constexpr int32_t kExtendedBias = 16383;

}  // namespace

void Real8toReal10(const void* src, void* dst)
{
    const uint64_t bits = ReadBE64(src);
    const uint16_t sign = uint16_t((bits >> 48) & 0x8000);
    const int32_t exponent = int32_t((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & kFractionMask;

    uint16_t exp10 = 0;
    uint64_t significand = 0;
    if (exponent == 0x7FF) {  // infinity or NaN, payload kept
        exp10 = 0x7FFF;
        significand = kIntegerBit | (fraction << 11);
    } else if (exponent != 0) {
        exp10 = uint16_t(exponent - kDoubleBias + kExtendedBias);
        significand = kIntegerBit | (fraction << 11);
    } else if (fraction != 0) {  // subnormal: normalise
        const int shift = __builtin_clzll(fraction);
        significand = fraction << shift;
        // value = fraction * 2^-1074 = significand * 2^(-1074 - shift)
        //       = significand * 2^(exp10 - 16383 - 63)
        exp10 = uint16_t(kExtendedBias + 63 - 1074 - shift);
    }
    auto* out = static_cast<uint8_t*>(dst);
    WriteBE16(out, uint16_t(sign | exp10));
    WriteBE64(out + 2, significand);
}

void Real10toReal8(const void* src, void* dst)
{
    const auto* in = static_cast<const uint8_t*>(src);
    const uint16_t head = ReadBE16(in);
    uint64_t significand = ReadBE64(in + 2);
    const uint64_t sign = uint64_t(head & 0x8000) << 48;
    int32_t exp10 = head & 0x7FFF;

    uint64_t bits;
    if (exp10 == 0x7FFF) {
        const uint64_t payload = (significand >> 11) & kFractionMask;
        if ((significand & ~kIntegerBit) == 0)
            bits = sign | (uint64_t(0x7FF) << 52);  // infinity
        else
            bits = sign | (uint64_t(0x7FF) << 52) | (payload ? payload : uint64_t(1) << 51);
    } else if (significand == 0) {
        bits = sign;
    } else {
        // Normalise (the integer bit may be clear in unnormal forms).
        const int shift = __builtin_clzll(significand);
        significand <<= shift;
        exp10 -= shift;
        // value = significand * 2^(exp10 - 16383 - 63)
        int32_t exponent = exp10 - kExtendedBias + kDoubleBias;
        if (exponent >= 1) {
            uint64_t kept = significand >> 11;
            const uint64_t rest = significand & 0x7FF;
            if (rest > 0x400 || (rest == 0x400 && (kept & 1))) ++kept;
            if (kept >> 53) {
                kept >>= 1;
                ++exponent;
            }
            if (exponent >= 0x7FF)
                bits = sign | (uint64_t(0x7FF) << 52);
            else
                bits = sign | (uint64_t(exponent) << 52) | (kept & kFractionMask);
        } else {
            // Subnormal result: value = kept * 2^-1074.
            const int32_t drop = 12 - exponent;  // bits of the significand that go
            uint64_t kept = 0;
            if (drop < 64) {
                kept = significand >> drop;
                const uint64_t rest = significand & ((uint64_t(1) << drop) - 1);
                const uint64_t half = uint64_t(1) << (drop - 1);
                if (rest > half || (rest == half && (kept & 1))) ++kept;
            } else if (drop == 64) {
                kept = significand > kIntegerBit ? 1 : 0;
            }
            bits = sign | kept;  // a carry into bit 52 makes the smallest normal
        }
    }
    WriteBE64(dst, bits);
}
