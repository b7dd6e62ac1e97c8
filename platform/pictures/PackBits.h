// PackBits, the run-length code of picture pixel rows, over bytes or over
// big-endian 16-bit words. A flag byte n in 0..127 is followed by n + 1
// literal items; n in 129..255 by one item repeated 257 - n times; 128 is
// skipped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Appends the packed form of `count` items of `itemSize` bytes (1 or 2).
void PackBits(const uint8_t* src, size_t count, size_t itemSize, std::vector<uint8_t>* out);

// Unpacks `src` (exactly `srcSize` bytes, one packed row) into exactly
// `outSize` bytes. False when the row runs out before the output is full
// or a run would write past it: damaged data never overruns the row.
// Bytes left over after a full row are ignored, as writers pad rows.
bool UnpackBits(const uint8_t* src, size_t srcSize, size_t itemSize, uint8_t* out, size_t outSize);

}  // namespace platform
