// Parameters of the -lh5- stream.
#pragma once

#include <cstdint>

namespace lh5 {

constexpr int32_t kDicBits = 13;
constexpr int32_t kDicSize = 1 << kDicBits;  // 8,192
constexpr int32_t kMaxMatch = 256;
constexpr int32_t kThreshold = 3;
constexpr int32_t kNC = 256 + kMaxMatch - kThreshold + 1;  // 510: literals and lengths
constexpr int32_t kLengthBias = 256 - kThreshold;          // symbol = length + 253
constexpr int32_t kNP = kDicBits + 1;                      // 14 position-bit symbols
constexpr int32_t kNT = 16 + 3;                            // 19 code-length symbols
constexpr int32_t kPBit = 4;
constexpr int32_t kTBit = 5;
constexpr int32_t kCBit = 9;
constexpr int32_t kMaxCodeLen = 16;
constexpr int32_t kCTableBits = 12;
constexpr int32_t kPTTableBits = 8;
constexpr int32_t kNMax = kNC;  // largest alphabet

// The code buffer collects codes in groups of 8 behind a flag byte; a full
// buffer is sent as one block.
constexpr int32_t kCodeBufferSize = 16384;
constexpr int32_t kCodeBufferFloor = 4096;

}  // namespace lh5
