#include <gtest/gtest.h>

#include "tests/toolbox/files/ArchiveTestSupport.h"

using namespace archive_testing;

namespace {

Bytes Interlace(const Bytes& plain, uint32_t n)
{
    MemoryStream inner;
    VInterlacingStream s(&inner, n);
    EXPECT_EQ(s.OpenWriting(), 0);
    EXPECT_EQ(s.PutData(plain.data(), uint32_t(plain.size())), 0);
    EXPECT_EQ(s.CloseWriting(1), 0);
    return inner.data;
}

int16_t Restore(const Bytes& stored, uint32_t n, Bytes& out, size_t size, uint32_t piece = 1000000,
                uint32_t innerPiece = UINT32_MAX)
{
    MemoryStream inner;
    inner.data = stored;
    inner.maxPiece = innerPiece;
    VInterlacingStream s(&inner, n);
    EXPECT_EQ(s.OpenReading(), 0);
    return ReadAll(s, out, size, piece);
}

// Chunk k of the data, stamped so that its slot can be found.
Bytes Stamped(size_t chunks)
{
    Bytes b(chunks * 2048);
    for (size_t i = 0; i < b.size(); ++i) b[i] = uint8_t(i / 2048 + 1);
    return b;
}

}  // namespace

TEST(InterlacingStream, ChunksGoToTheirSlotsAndComeBackInOrder)
{
    const Bytes seven = Interlace(Stamped(7), 2);
    const size_t block = 12 + 7 * 2048;
    ASSERT_EQ(seven.size(), 2 * block);  // the full block, then an empty one
    const size_t slotOfChunk[] = {0, 2, 4, 6, 1, 3, 5};
    for (size_t k = 0; k < 7; ++k) EXPECT_EQ(seven[12 + slotOfChunk[k] * 2048], k + 1) << k;
    EXPECT_EQ(BE32(seven, block + 4), 2u);
    EXPECT_EQ(BE32(seven, block + 8), 0u);

    const Bytes plain = MixedBytes(5000, 1);
    const Bytes out = Interlace(plain, 2);
    ASSERT_EQ(out.size(), 14348u);
    EXPECT_EQ(Hex(out.data(), 12), "494e54520000000100001388");
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 2048, out.begin() + 12));
    EXPECT_TRUE(std::equal(plain.begin() + 2048, plain.begin() + 4096, out.begin() + 12 + 4096));
    EXPECT_TRUE(std::equal(plain.begin() + 4096, plain.end(), out.begin() + 12 + 8192));
    for (size_t slot : {1, 3, 5, 6})
        EXPECT_TRUE(std::all_of(out.begin() + 12 + slot * 2048, out.begin() + 12 + (slot + 1) * 2048,
                                [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(out.begin() + 12 + 8192 + 904, out.begin() + 12 + 8192 + 2048,
                            [](uint8_t b) { return b == 0; }));

    const Bytes four = Interlace(Stamped(4), 1);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(four[12 + k * 2048], k + 1);

    const Bytes data = MixedBytes(40000, 2);
    for (uint32_t n : {1u, 2u, 5u}) {
        const Bytes stored = Interlace(data, n);
        for (uint32_t piece : {1u, 777u, 2048u, 50000u}) {
            Bytes back;
            EXPECT_EQ(Restore(stored, n, back, data.size(), piece), 0) << n << " " << piece;
            EXPECT_EQ(back, data);
        }
        // An inner stream that hands out its bytes a little at a time.
        Bytes back;
        EXPECT_EQ(Restore(stored, n, back, data.size(), 50000, 1000), 0) << n;
        EXPECT_EQ(back, data);
    }
}

TEST(InterlacingStream, BlocksNoWriterMakesAreRefused)
{
    const Bytes plain = MixedBytes(20000, 3);
    const Bytes good = Interlace(plain, 2);
    const size_t block = 12 + 7 * 2048;
    Bytes back;
    Bytes marker = good;
    marker[block] = 'X';
    EXPECT_EQ(Restore(marker, 2, back, plain.size()), kArchiveErrBadData);
    EXPECT_EQ(back.size(), 7 * 2048u);  // the first block's bytes, no more
    Bytes number = good;
    number[block + 7] = 3;
    EXPECT_EQ(Restore(number, 2, back, plain.size()), kArchiveErrBadData);
    Bytes length = good;
    length[8] = 1;  // 16 MB in a 14 KB block
    EXPECT_EQ(Restore(length, 2, back, plain.size()), kArchiveErrBadData);
    EXPECT_TRUE(back.empty());
    Bytes cut(good.begin(), good.end() - 1);
    EXPECT_EQ(Restore(cut, 2, back, plain.size()), kStreamEndOfData);
    EXPECT_EQ(back.size(), 7 * 2048u);

    MemoryStream inner;
    VInterlacingStream huge(&inner, 5000);
    EXPECT_EQ(huge.OpenReading(), kArchiveErrBadData);
    VInterlacingStream none(&inner, 0);
    EXPECT_EQ(none.OpenWriting(), kArchiveErrBadData);

    // Little-endian records, as an Intel writer makes them.
    MemoryStream little;
    little.SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    VInterlacingStream writer(&little, 2);
    ASSERT_EQ(writer.OpenWriting(), 0);
    writer.PutData(plain.data(), uint32_t(plain.size()));
    ASSERT_EQ(writer.CloseWriting(1), 0);
    EXPECT_EQ(little.data[0], 'R');
    EXPECT_EQ(Restore(little.data, 2, back, plain.size()), 0);
    EXPECT_EQ(back, plain);
}
