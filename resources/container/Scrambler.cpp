#include "resources/container/Scrambler.h"

#include "platform/core/Endian.h"

namespace container {

namespace {

// The store's own scrambling table; files scrambled under another table
// read back as noise. Never change it.
constexpr uint32_t kScrambleTable[16] = {
    0x9E3779B9, 0x7F4A7C15, 0xF39CC060, 0x5CEDC834, 0x2FE12A6B, 0xC1B0A3D4, 0x6A09E667, 0xBB67AE85,
    0x3C6EF372, 0xA54FF53A, 0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19, 0xCBBB9D5D, 0x629A292A,
};

}  // namespace

void AdjustSwapRes(uint8_t* payload, uint32_t size, uint32_t key)
{
    for (uint32_t i = 0; i < size / 4; ++i) {
        uint8_t* word = payload + 4 * i;
        platform::WriteBE32(word, platform::ReadBE32(word) ^ key ^ kScrambleTable[i % 16]);
    }
}

}  // namespace container
