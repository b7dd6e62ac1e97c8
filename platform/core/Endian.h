// Byte order. Stored records stay big-endian in memory; fields are read
// and written through these accessors, never by casting bytes to a struct.
#pragma once

#include <cstdint>
#include <cstring>

namespace platform {

constexpr uint16_t Swap16(uint16_t v) { return uint16_t((v >> 8) | (v << 8)); }
constexpr uint32_t Swap32(uint32_t v) { return __builtin_bswap32(v); }
constexpr uint64_t Swap64(uint64_t v) { return __builtin_bswap64(v); }

inline uint16_t ReadBE16(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return uint16_t((b[0] << 8) | b[1]);
}
inline uint32_t ReadBE32(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
}
inline uint64_t ReadBE64(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return (uint64_t(ReadBE32(b)) << 32) | ReadBE32(b + 4);
}
inline uint16_t ReadLE16(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return uint16_t(b[0] | (b[1] << 8));
}
inline uint32_t ReadLE32(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}
inline uint64_t ReadLE64(const void* p)
{
    const auto* b = static_cast<const uint8_t*>(p);
    return uint64_t(ReadLE32(b)) | (uint64_t(ReadLE32(b + 4)) << 32);
}

inline void WriteBE16(void* p, uint16_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v >> 8);
    b[1] = uint8_t(v);
}
inline void WriteBE32(void* p, uint32_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v >> 24);
    b[1] = uint8_t(v >> 16);
    b[2] = uint8_t(v >> 8);
    b[3] = uint8_t(v);
}
inline void WriteBE64(void* p, uint64_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    WriteBE32(b, uint32_t(v >> 32));
    WriteBE32(b + 4, uint32_t(v));
}
inline void WriteLE16(void* p, uint16_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
}
inline void WriteLE32(void* p, uint32_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
    b[2] = uint8_t(v >> 16);
    b[3] = uint8_t(v >> 24);
}
inline void WriteLE64(void* p, uint64_t v)
{
    auto* b = static_cast<uint8_t*>(p);
    WriteLE32(b, uint32_t(v));
    WriteLE32(b + 4, uint32_t(v >> 32));
}

// Reverses n bytes in place (2, 4 or 8 for numbers; any n for a run).
inline void ReverseBytes(void* p, size_t n)
{
    auto* b = static_cast<uint8_t*>(p);
    for (size_t i = 0, j = n ? n - 1 : 0; i < j; ++i, --j) {
        uint8_t t = b[i];
        b[i] = b[j];
        b[j] = t;
    }
}

// Signed views of the accessors, for fields stored as signed numbers.
inline int16_t ReadBES16(const void* p) { return int16_t(ReadBE16(p)); }
inline int32_t ReadBES32(const void* p) { return int32_t(ReadBE32(p)); }

}  // namespace platform

namespace platform {

// Processor kind of this machine in the toolbox's numbering
// (0 68K, 1 PowerPC, 2 Intel).
constexpr int16_t kHostCpuKind = 2;
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the host is little-endian");

}  // namespace platform
