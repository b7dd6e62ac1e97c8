// Directory resources of a document, copied out of the store and checked
// before a byte of them is read.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/Endian.h"

// Copies (type, id) of the current container into *out, then detaches and
// frees the store's copy: 0, kNoDirectory when the resource is missing, or
// the error that kept it from being loaded.
constexpr int16_t kNoDirectory = 1;
int16_t LoadDirectory(uint32_t type, int16_t id, std::vector<uint8_t>* out);

// The name stored in a fixed field of `width` bytes (length byte first),
// cut to the field.
inline void FixedName(const uint8_t* field, int32_t width, unsigned char* out)
{
    const uint8_t n = field[0] > width - 1 ? uint8_t(width - 1) : field[0];
    std::memcpy(out + 1, field + 1, n);
    out[0] = n;
}

// True when `count` entries of `entry` bytes from `offset` fit `size`.
inline bool Fits(int64_t size, int64_t offset, int64_t count, int64_t entry)
{
    return count >= 0 && offset >= 0 && offset + count * entry <= size;
}
