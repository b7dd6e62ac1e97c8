#include <gtest/gtest.h>

#include <cstring>

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
