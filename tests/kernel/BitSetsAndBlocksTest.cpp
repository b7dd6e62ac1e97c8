#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include "kernel/bitsets/BitSets.h"
#include "kernel/blocks/BlockMoves.h"

TEST(BitSets, RangesAreClampedToTheSet)
{
    uint8_t set[2] = {};
    AddRangeToSet(set, -5, 3, 2);
    EXPECT_EQ(set[0], 0x00);
    EXPECT_EQ(set[1], 0x0F);

    ClearSet(set, 2);
    AddRangeToSet(set, 0, 100, 2);
    EXPECT_EQ(set[0], 0xFF);
    EXPECT_EQ(set[1], 0xFF);
    uint8_t around[4] = {};  // a set of 2 bytes with a byte either side
    AddRangeToSet(around + 1, 0, 100, 2);
    EXPECT_EQ(around[0], 0x00);
    EXPECT_EQ(around[3], 0x00);

    ClearSet(set, 2);
    AddRangeToSet(set, 9, 9, 2);
    EXPECT_EQ(set[0], 0x02);
    EXPECT_NE(TestElementInSet(set, 9, 2), 0);
    EXPECT_EQ(TestElementInSet(set, 8, 2), 0);
    EXPECT_EQ(TestElementInSet(set, -1, 2), 0);
    EXPECT_EQ(TestElementInSet(set, 16, 2), 0);

    AddRangeToSet(set, 5, 2, 2);    // empty range
    AddRangeToSet(set, 20, 30, 2);  // beyond the set
    AddRangeToSet(set, -9, -1, 2);
    EXPECT_EQ(set[0], 0x02);
    EXPECT_EQ(set[1], 0x00);

    static Bool32768 full;
    AddRangeToSet(full, 32760, 32767, 4096);
    EXPECT_EQ(full[0], 0xFF);
    EXPECT_NE(TestElementInSet(full, 32767, 4096), 0);
}

TEST(BitSets, FlagWordsIgnoreBitsBeyond31)
{
    EXPECT_EQ(pbittest(0x80000001u, 0), 1);
    EXPECT_EQ(pbittest(0x80000001u, 31), 1);
    EXPECT_EQ(pbittest(0xFFFFFFFFu, 40), 0);
    uint32_t w = 0xFFFFFFFFu;
    pbitclear(&w, 4);
    pbitclear(&w, 40);
    EXPECT_EQ(w, 0xFFFFFFEFu);

    uint16_t words[4] = {1, 2, 3, 4};
    _raz(words, 3);
    EXPECT_EQ(words[2], 0);
    EXPECT_EQ(words[3], 4);
}

TEST(Blocks, MovesAreOverlapSafeAndSearchStaysInRange)
{
    for (int32_t count : {5, 40}) {
        uint8_t up[64], down[64];
        for (int i = 0; i < 64; ++i) up[i] = down[i] = uint8_t(i);
        vBlockMove(up, up + 3, count);
        vBlockMove(down + 3, down, count);
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(up[i + 3], i);
            EXPECT_EQ(down[i], i + 3);
        }
    }
    // Every short count, both ways, touches exactly its bytes.
    for (int32_t count = 0; count <= 20; ++count) {
        for (int32_t shift : {-3, 3}) {
            uint8_t m[40];
            for (int i = 0; i < 40; ++i) m[i] = uint8_t(100 + i);
            vBlockMove(m + 10, m + 10 + shift, count);
            for (int i = 0; i < 40; ++i) {
                const int at = i - 10 - shift;
                const int expected = at >= 0 && at < count ? 110 + at : 100 + i;
                ASSERT_EQ(m[i], expected) << count << " " << shift << " " << i;
            }
        }
        uint8_t src[24], dst[26];
        for (int i = 0; i < 24; ++i) src[i] = uint8_t(i + 1);
        for (auto* move : {+[](const void* a, void* b, int32_t n) { moveblock(a, b, n); }, &moveblockInv}) {
            std::memset(dst, 0xEE, sizeof dst);
            move(src, dst + 1, count);
            EXPECT_EQ(dst[0], 0xEE);
            EXPECT_EQ(dst[count + 1], 0xEE) << count;
            if (count > 0) {
                EXPECT_EQ(dst[count], count);
            }
        }
        EXPECT_EQ(moveblock(src, dst, count), static_cast<const void*>(src + count));
        uint16_t words[22];
        std::fill(std::begin(words), std::end(words), uint16_t(9));
        _raz(words, int16_t(count));
        EXPECT_EQ(words[count], 9) << count;
        if (count > 0) {
            EXPECT_EQ(words[count - 1], 0) << count;
        }
        uint8_t z[22];
        std::memset(z, 7, sizeof z);
        vClearMem(z, count);
        EXPECT_EQ(z[count], 7);
        if (count > 0) {
            EXPECT_EQ(z[count - 1], 0) << count;
        }
    }

    uint8_t b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    moveblockInv(b, b + 2, 6);
    EXPECT_EQ(b[7], 6);
    EXPECT_EQ(moveblock(b, b + 4, 0), static_cast<const void*>(b));

    const uint8_t text[] = {'a', 'b', 'b', 'b', 'c'};
    EXPECT_EQ(charpos('b', text, 0, 5), 1);
    EXPECT_EQ(charpos('b', text, 2, 5), 2);
    EXPECT_EQ(charpos('c', text, 0, 4), -1);
    EXPECT_EQ(charpos('a', text, 3, 3), -1);

    uint8_t z[9];
    std::memset(z, 7, sizeof z);
    vClearMem(z + 1, 7);
    EXPECT_EQ(z[0], 7);
    EXPECT_EQ(z[1], 0);
    EXPECT_EQ(z[7], 0);
    EXPECT_EQ(z[8], 7);
}
