#include <gtest/gtest.h>

#include <vector>

#include "kernel/compress/Lzrw3a.h"
#include "platform/core/Faults.h"
#include "tests/kernel/TestCorpus.h"

namespace {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& src)
{
    std::vector<uint8_t> dst(src.size() + 40);
    const int32_t n = compLZ3A(src.data(), dst.data(), int32_t(src.size()), int32_t(dst.size()));
    EXPECT_GT(n, 0);
    dst.resize(size_t(n > 0 ? n : 0));
    return dst;
}

std::vector<uint8_t> Decompress(const std::vector<uint8_t>& block, size_t capacity)
{
    std::vector<uint8_t> out(capacity);
    const int32_t n = decompLZ3A(block.data(), out.data(), int32_t(capacity), int32_t(block.size()));
    EXPECT_GE(n, 0);
    out.resize(size_t(n > 0 ? n : 0));
    return out;
}

}  // namespace

TEST(Lzrw3a, ShortAndIncompressibleBlocksTakeTheCopyForm)
{
    const std::vector<uint8_t> abcde = {'a', 'b', 'c', 'd', 'e'};
    EXPECT_EQ(Compress(abcde), (std::vector<uint8_t>{1, 0, 0, 0, 'a', 'b', 'c', 'd', 'e'}));

    const auto random = testdata::RandomBytes(4096, 7);
    const auto block = Compress(random);
    ASSERT_EQ(block.size(), 4100u);
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(Decompress(block, 4096), random);

    // No room even for the copy form: nothing to report.
    std::vector<uint8_t> small(4096);
    EXPECT_EQ(compLZ3A(random.data(), small.data(), 4096, 4096), 0);
}

TEST(Lzrw3a, RoundTripsRunsTextAndMixedData)
{
    const std::vector<uint8_t> runs(1000, 0x41);
    const auto block = Compress(runs);
    EXPECT_EQ(block[0], 0);
    EXPECT_LT(block.size(), 200u);
    EXPECT_EQ(Decompress(block, runs.size()), runs);

    for (size_t n : {6u, 17u, 18u, 19u, 287u, 288u, 289u, 300u, 5000u, 32768u}) {
        const auto text = testdata::Text(n, uint32_t(n));
        EXPECT_EQ(Decompress(Compress(text), n), text) << n;
    }
    const auto mixed = testdata::Mixed(100000, 3);
    const auto packed = Compress(mixed);
    EXPECT_LT(packed.size(), mixed.size());
    EXPECT_EQ(Decompress(packed, mixed.size()), mixed);
}

TEST(Lzrw3a, ResultIsTheSameWhateverTheRoomAsLongAsItFits)
{
    const auto text = testdata::Text(3000, 11);
    const auto reference = Compress(text);
    std::vector<uint8_t> exact(reference.size());
    EXPECT_EQ(compLZ3A(text.data(), exact.data(), 3000, int32_t(exact.size())), int32_t(reference.size()));
    EXPECT_EQ(exact, reference);
    std::vector<uint8_t> tooSmall(reference.size() - 1);
    EXPECT_EQ(compLZ3A(text.data(), tooSmall.data(), 3000, int32_t(tooSmall.size())), 0);
}

TEST(Lzrw3a, DamagedBlocksAreRefusedWithoutWritingPastTheDestination)
{
    const auto text = testdata::Mixed(20000, 5);
    const auto block = Compress(text);

    // A destination one byte short.
    std::vector<uint8_t> out(text.size() - 1);
    EXPECT_EQ(decompLZ3A(block.data(), out.data(), int32_t(out.size()), int32_t(block.size())),
              kDamagedBlockErr);

    std::vector<uint8_t> copy(block);
    copy[0] = 7;
    EXPECT_EQ(decompLZ3A(copy.data(), out.data(), int32_t(out.size()), int32_t(copy.size())), kDamagedBlockErr);
    EXPECT_EQ(decompLZ3A(block.data(), out.data(), int32_t(out.size()), 3), kDamagedBlockErr);

    std::mt19937 rng(9);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<uint8_t> bad(block);
        if (trial % 3 == 0)
            bad.resize(4 + rng() % (bad.size() - 4));
        else
            for (int k = 0; k < 1 + trial % 4; ++k) bad[4 + rng() % (bad.size() - 4)] ^= uint8_t(1u << (rng() % 8));
        std::vector<uint8_t> dst(text.size());  // exact size: ASan catches any overrun
        const int32_t n = decompLZ3A(bad.data(), dst.data(), int32_t(dst.size()), int32_t(bad.size()));
        EXPECT_TRUE(n == kDamagedBlockErr || (n >= 0 && n <= int32_t(dst.size())));
    }
}

TEST(Lzrw3a, MissingWorkMemoryIsReported)
{
    const auto text = testdata::Text(100, 1);
    std::vector<uint8_t> dst(200);
    platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
    EXPECT_EQ(compLZ3A(text.data(), dst.data(), 100, 200), kCompressNoMemory);
}
