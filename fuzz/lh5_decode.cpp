// The -lh5- block decoder on hostile streams, and the coder's round trip.
// Input: a 32-bit output length (kept under 1 MiB), then the stream.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/compress/Lh5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const int32_t outLength = int32_t(in.U32() % (1u << 20));
    const fuzz::Bytes stream = in.Rest();

    // Decoding writes exactly outLength bytes or reports the damage.
    std::vector<uint8_t> out(size_t(outLength) + 1);
    out[size_t(outLength)] = 0xA5;
    const int32_t got = ARDECOMPACTE(stream.data(), out.data(), outLength, int32_t(stream.size()));
    if (got != outLength && got != kDamagedBlockErr && got != kCompressNoMemory)
        std::abort();
    if (out[size_t(outLength)] != 0xA5)
        std::abort();

    // The stream's bytes, compressed and decoded again, come back whole.
    if (!stream.empty()) {
        std::vector<uint8_t> packed(stream.size() + stream.size() / 8 + 64);
        const int32_t n = ARCOMPACTE(stream.data(), packed.data(), int32_t(stream.size()), int32_t(packed.size()));
        if (n > 0) {
            std::vector<uint8_t> back(stream.size());
            if (ARDECOMPACTE(packed.data(), back.data(), int32_t(back.size()), n) != int32_t(back.size()) ||
                back != stream)
                std::abort();
        } else if (n != 0 && n != kCompressNoMemory) {
            std::abort();
        }
    }
    return 0;
}
