// The LZRW3-A block decoder on hostile blocks, and the coder's round trip.
// Input: a 32-bit room for the output (kept under 1 MiB), then the block.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/compress/Lzrw3a.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const int32_t room = int32_t(in.U32() % (1u << 20));
    const fuzz::Bytes block = in.Rest();

    // Decoding stays inside the room it is given.
    std::vector<uint8_t> out(size_t(room) + 1);
    out[size_t(room)] = 0xA5;
    const int32_t got = decompLZ3A(block.data(), out.data(), room, int32_t(block.size()));
    if (got != kDamagedBlockErr && got != kCompressNoMemory && (got < 0 || got > room))
        std::abort();
    if (out[size_t(room)] != 0xA5)
        std::abort();

    // The block's bytes, compressed and decoded again, come back whole.
    if (!block.empty()) {
        std::vector<uint8_t> packed(block.size() + 64);
        const int32_t n = compLZ3A(block.data(), packed.data(), int32_t(block.size()), int32_t(packed.size()));
        if (n > 0) {
            std::vector<uint8_t> back(block.size());
            if (decompLZ3A(packed.data(), back.data(), int32_t(back.size()), n) != int32_t(back.size()) ||
                back != block)
                std::abort();
        } else if (n != kCompressNoMemory) {
            std::abort();
        }
    }
    return 0;
}
