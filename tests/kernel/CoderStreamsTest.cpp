// The stored streams of both block compressors are part of the documents
// they are kept in: a faster coder must write exactly the same bytes. The
// digests below are those of the streams written before any tuning.
#include <cinttypes>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "kernel/compress/Lh5.h"
#include "kernel/compress/Lzrw3a.h"
#include "tests/kernel/TestCorpus.h"

namespace {

struct Input {
    const char* name;
    std::vector<uint8_t> bytes;
};

// Inputs that reach every path of both coders: tiny blocks, the lengths
// around the LZRW3-A group limit, long runs and periodic data (longest
// matches), deep hash chains, windows past the dictionary size, several
// -lh5- blocks and data that does not compress.
std::vector<Input> Inputs()
{
    std::vector<Input> in;
    for (size_t n : {1u, 2u, 3u, 17u, 18u, 19u, 287u, 288u, 289u})
        in.push_back({"text", testdata::Text(n, uint32_t(n))});
    in.push_back({"text32k", testdata::Text(32768, 4)});
    in.push_back({"text100k", testdata::Text(100000, 1)});
    in.push_back({"mixed200k", testdata::Mixed(200000, 2)});
    in.push_back({"random", testdata::RandomBytes(5000, 3)});
    // Pays at first, then stops paying part way.
    auto turning = testdata::Text(2000, 6);
    const auto tail = testdata::RandomBytes(8000, 7);
    turning.insert(turning.end(), tail.begin(), tail.end());
    in.push_back({"turning", turning});
    in.push_back({"zeros", std::vector<uint8_t>(70000, 0)});
    std::vector<uint8_t> periodic;
    for (size_t i = 0; i < 60000; ++i) periodic.push_back(uint8_t(i % 3 == 0 ? 'a' : i % 251));
    in.push_back({"periodic", periodic});
    // One three-byte prefix followed by a random byte: every position lands
    // in the same hash chain.
    std::vector<uint8_t> chains;
    const auto noise = testdata::RandomBytes(20000, 5);
    for (uint8_t b : noise) chains.insert(chains.end(), {'q', 'z', 'q', b});
    in.push_back({"chains", chains});
    return in;
}

// 64-bit FNV-1a of the stream, or of the result code when there is none.
uint64_t Digest(const uint8_t* p, int32_t n)
{
    uint64_t h = 14695981039346656037ull;
    auto mix = [&](uint8_t b) { h = (h ^ b) * 1099511628211ull; };
    if (n <= 0) {
        for (int k = 0; k < 4; ++k) mix(uint8_t(uint32_t(n) >> (8 * k)));
        return h;
    }
    for (int32_t i = 0; i < n; ++i) mix(p[i]);
    return h;
}

// Each input at a roomy destination and at one just below the room the
// stream needs (the fallback paths).
std::vector<uint64_t> Digests(int32_t (*coder)(const void*, void*, int32_t, int32_t))
{
    std::vector<uint64_t> out;
    for (const Input& input : Inputs()) {
        const int32_t n = int32_t(input.bytes.size());
        std::vector<uint8_t> dst(size_t(n) * 2 + 64);
        const int32_t full = coder(input.bytes.data(), dst.data(), n, int32_t(dst.size()));
        out.push_back(Digest(dst.data(), full));
        const int32_t tight = full > 1 ? full - 1 : 1;
        std::vector<uint8_t> small(static_cast<size_t>(tight));
        out.push_back(Digest(small.data(), coder(input.bytes.data(), small.data(), n, tight)));
    }
    return out;
}

std::string Listing(const std::vector<uint64_t>& digests)
{
    std::string s;
    char line[40];
    for (uint64_t d : digests) {
        std::snprintf(line, sizeof line, "0x%016" PRIx64 "ull,\n", uint64_t(d));
        s += line;
    }
    return s;
}

int32_t Lh5(const void* s, void* d, int32_t n, int32_t cap) { return ARCOMPACTE(s, d, n, cap); }
int32_t Lz3a(const void* s, void* d, int32_t n, int32_t cap) { return compLZ3A(s, d, n, cap); }

}  // namespace

TEST(CoderStreams, Lh5StreamsAreByteIdenticalToThePinnedOnes)
{
    const std::vector<uint64_t> pinned = {
        0xae9dcbe1d461cdf4ull, 0x4d25767f9dce13f5ull,
        0x41c1fd41ab67aa59ull, 0x4d25767f9dce13f5ull,
        0x5ec6f967bdea6bb2ull, 0x4d25767f9dce13f5ull,
        0x922dfc9bb13c0ec6ull, 0x4d25767f9dce13f5ull,
        0xc3ecbf207418c82full, 0x4d25767f9dce13f5ull,
        0xf13d01122d43c4adull, 0x4d25767f9dce13f5ull,
        0x59f0a28e71564b68ull, 0x4d25767f9dce13f5ull,
        0x1494fa28e098420full, 0x4d25767f9dce13f5ull,
        0x6a80f4f90c02cb5dull, 0x4d25767f9dce13f5ull,
        0x66a88a5dcef2d685ull, 0x4d25767f9dce13f5ull,
        0x579cb49dbe03bddeull, 0x4d25767f9dce13f5ull,
        0x87f36ec2ab64310bull, 0x4d25767f9dce13f5ull,
        0x2c9c7154083b95b3ull, 0x4d25767f9dce13f5ull,
        0x7b1044887c48215full, 0x4d25767f9dce13f5ull,
        0x522e9b6e7ca13cdbull, 0x4d25767f9dce13f5ull,
        0x4793ec13d082cf22ull, 0x4d25767f9dce13f5ull,
        0xaea2eeafd34ae2a5ull, 0x4d25767f9dce13f5ull,
    };
    const auto digests = Digests(Lh5);
    EXPECT_EQ(digests, pinned) << Listing(digests);
}

TEST(CoderStreams, Lzrw3aBlocksAreByteIdenticalToThePinnedOnes)
{
    const std::vector<uint64_t> pinned = {
        0xd80d13aea7dbe7b1ull, 0x4d25767f9dce13f5ull,
        0xfa0b9ec73a99286dull, 0x4d25767f9dce13f5ull,
        0x79ddc988915dde65ull, 0x4d25767f9dce13f5ull,
        0x82b33038ad9a37deull, 0x4d25767f9dce13f5ull,
        0x146717a005e0635full, 0x4d25767f9dce13f5ull,
        0x8bf6e2d82ec9ebeaull, 0x4d25767f9dce13f5ull,
        0x35030ff4856322b0ull, 0x4d25767f9dce13f5ull,
        0xdbe15635724fd847ull, 0x4d25767f9dce13f5ull,
        0x0e36db696738c4f9ull, 0x4d25767f9dce13f5ull,
        0xe11e1e8522e0aa1eull, 0x4d25767f9dce13f5ull,
        0x30d872ed03d3612dull, 0x4d25767f9dce13f5ull,
        0xe57bb89b7e458119ull, 0x4d25767f9dce13f5ull,
        0x8028e14d026d9c77ull, 0x4d25767f9dce13f5ull,
        0xf9e43185d4a403bdull, 0x4d25767f9dce13f5ull,
        0x6e62d601b69d5da9ull, 0x4d25767f9dce13f5ull,
        0x3570aabd607eecfaull, 0x4d25767f9dce13f5ull,
        0x1d8c34ea90e6b8fdull, 0x4d25767f9dce13f5ull,
    };
    const auto digests = Digests(Lz3a);
    EXPECT_EQ(digests, pinned) << Listing(digests);
}
