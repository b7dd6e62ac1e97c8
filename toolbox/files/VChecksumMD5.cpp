#include "toolbox/files/VChecksumMD5.h"

#include <cstring>
#include <utility>

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr uint8_t kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

inline uint32_t Rotate(uint32_t x, uint32_t n) { return (x << n) | (x >> (32 - n)); }

void Encode(uint8_t* out, const uint32_t* in, uint32_t words)
{
    for (uint32_t i = 0; i < words; ++i)
        for (uint32_t b = 0; b < 4; ++b) out[i * 4 + b] = uint8_t(in[i] >> (8 * b));
}

// The four rounds written out one by one: the compiler keeps the words in
// registers and folds the constants, about twice the speed of one loop.
template <int Round>
inline uint32_t Mix(uint32_t b, uint32_t c, uint32_t d)
{
    if constexpr (Round == 0) return d ^ (b & (c ^ d));
    if constexpr (Round == 1) return c ^ (d & (b ^ c));
    if constexpr (Round == 2) return b ^ c ^ d;
    return c ^ (b | ~d);
}

template <int Round, int I>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, const uint32_t* x)
{
    constexpr int i = Round * 16 + I;
    constexpr int k = Round == 0 ? I : Round == 1 ? (5 * I + 1) % 16 : Round == 2 ? (3 * I + 5) % 16 : (7 * I) % 16;
    a = b + Rotate(a + Mix<Round>(b, c, d) + kSine[i] + x[k], kShift[Round][I % 4]);
}

template <int Round>
inline void RoundOf(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, const uint32_t* x)
{
    [&]<int... J>(std::integer_sequence<int, J...>) {
        ((Step<Round, J * 4>(a, b, c, d, x), Step<Round, J * 4 + 1>(d, a, b, c, x),
          Step<Round, J * 4 + 2>(c, d, a, b, x), Step<Round, J * 4 + 3>(b, c, d, a, x)),
         ...);
    }(std::make_integer_sequence<int, 4>{});
}

}  // namespace

void Transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t x[16];
    for (uint32_t i = 0; i < 16; ++i)
        x[i] = uint32_t(block[i * 4]) | uint32_t(block[i * 4 + 1]) << 8 | uint32_t(block[i * 4 + 2]) << 16 |
               uint32_t(block[i * 4 + 3]) << 24;
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    RoundOf<0>(a, b, c, d, x);
    RoundOf<1>(a, b, c, d, x);
    RoundOf<2>(a, b, c, d, x);
    RoundOf<3>(a, b, c, d, x);
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void MD5Init(MD5_CTX* context)
{
    context->count[0] = context->count[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

void MD5Update(MD5_CTX* context, const void* data, uint32_t length)
{
    const auto* input = static_cast<const uint8_t*>(data);
    uint32_t index = (context->count[0] >> 3) & 0x3F;
    const uint64_t bits = (uint64_t(context->count[1]) << 32 | context->count[0]) + (uint64_t(length) << 3);
    context->count[0] = uint32_t(bits);
    context->count[1] = uint32_t(bits >> 32);
    const uint32_t partLen = 64 - index;
    uint32_t i = 0;
    if (length >= partLen) {
        std::memcpy(&context->buffer[index], input, partLen);
        Transform(context->state, context->buffer);
        for (i = partLen; i + 63 < length; i += 64) Transform(context->state, input + i);
        index = 0;
    }
    if (length > i) std::memcpy(&context->buffer[index], input + i, length - i);
}

void MD5Final(uint8_t digest[16], MD5_CTX* context)
{
    uint8_t bits[8];
    Encode(bits, context->count, 2);
    static const uint8_t kPadding[64] = {0x80};
    const uint32_t index = (context->count[0] >> 3) & 0x3F;
    MD5Update(context, kPadding, index < 56 ? 56 - index : 120 - index);
    MD5Update(context, bits, 8);
    Encode(digest, context->state, 4);
    std::memset(context, 0, sizeof(*context));
}

void VChecksumMD5::Update(const void* data, uint32_t length)
{
    if (data && length) MD5Update(&fContext, data, length);
}

void VChecksumMD5::GetChecksum(uint8_t* digest)
{
    if (digest) MD5Final(digest, &fContext);
}

void VChecksumMD5::NewChecksum(const void* data, uint32_t length, uint8_t* digest)
{
    NewChecksum();
    Update(data, length);
    GetChecksum(digest);
}

bool VChecksumMD5::IsEqual(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 16) == 0; }
