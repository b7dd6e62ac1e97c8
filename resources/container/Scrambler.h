// Scrambling of enciphered payloads: each whole 32-bit word (big-endian as
// it lies in the file) is XORed with the key and with a fixed table word;
// 1-3 trailing bytes stay as they are. The operation is its own inverse.
#pragma once

#include <cstdint>

namespace container {

void AdjustSwapRes(uint8_t* payload, uint32_t size, uint32_t key);

}  // namespace container
