#include <gtest/gtest.h>

#include <cstdint>

#include "platform/core/BitOps.h"

using namespace platform;

TEST(BitOps, BitZeroIsTheTopBitOfTheFirstByte)
{
    struct Case {
        int32_t bit;
        int32_t byte;
        uint8_t mask;
    };
    const Case cases[] = {{0, 0, 0x80}, {7, 0, 0x01}, {8, 1, 0x80}, {15, 1, 0x01}, {21, 2, 0x04}, {31, 3, 0x01}};
    for (const Case& c : cases) {
        uint8_t bytes[4] = {};
        BitSet(bytes, c.bit);
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(bytes[i], i == c.byte ? c.mask : 0) << c.bit << " byte " << i;
        EXPECT_TRUE(BitTst(bytes, c.bit));
        EXPECT_FALSE(BitTst(bytes, c.bit ^ 1)) << "its neighbour";
        uint8_t full[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        BitClr(full, c.bit);
        for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(full[i], i == c.byte ? uint8_t(~c.mask) : 0xFF) << c.bit;
    }
    // A negative number names no bit: nothing is read or written before the array.
    uint8_t guard[2] = {0xFF, 0};
    BitClr(guard + 1, -1);
    BitSet(guard + 1, -8);
    EXPECT_EQ(guard[0], 0xFF);
    EXPECT_EQ(guard[1], 0);
    EXPECT_FALSE(BitTst(guard + 1, -1));
}
