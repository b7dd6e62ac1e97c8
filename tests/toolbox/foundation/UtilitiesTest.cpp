#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/core/Endian.h"
#include "toolbox/foundation/ByteSwap.h"
#include "toolbox/foundation/Colors.h"
#include "toolbox/foundation/BlockReads.h"
#include "toolbox/foundation/KeyCodes.h"
#include "toolbox/foundation/VStream.h"

namespace {

TEST(Colors, SplitsColourLongs)
{
    uint8_t r, g, b;
    MakeRGB(0x00336699, r, g, b);
    EXPECT_EQ(r, 0x99);
    EXPECT_EQ(g, 0x66);
    EXPECT_EQ(b, 0x33);
    platform::RGBColor rgb;
    MAC_MakeRGB(0x00336699, &rgb);
    EXPECT_EQ(rgb.red, 0x9999);
    EXPECT_EQ(rgb.green, 0x6666);
    EXPECT_EQ(rgb.blue, 0x3333);
    MAC_MakeRGB(0xFF, 0, 1, &rgb);
    EXPECT_EQ(rgb.red, 0xFFFF);
    EXPECT_EQ(rgb.blue, 0x0101);
}

bool LookAnswers(StdColor c, uint32_t* color)
{
    if (c != 3) return false;
    *color = 0x123456;
    return true;
}

TEST(Colors, StandardColoursFromTheTableOrTheLook)
{
    EXPECT_EQ(MakeStdColor(7), 5066061u);
    EXPECT_EQ(MakeStdColor(15), 0xFF0FFFu);
    EXPECT_EQ(MakeStdColor(16), 0xFFFF00u);
    EXPECT_EQ(MakeStdColor(17), 0xFFFFFFFFu);
    EXPECT_EQ(MakeStdColor(36), 0xFFFFFFFFu);
    EXPECT_EQ(MakeStdColor(-1), 0xFFFFFFFFu);
    SetStdColorHook(LookAnswers);
    EXPECT_EQ(MakeStdColor(3), 0x123456u);
    EXPECT_EQ(MakeStdColor(2), 0xCCCCCCu);
    SetStdColorHook(nullptr);
    EXPECT_EQ(MakeStdColor(3), 0xB3B3B3u);
}

TEST(KeyCodes, ScanCodesToKeyCodes)
{
    EXPECT_EQ(MacScanCodeToKeyCode(0x24), 0x0D);
    EXPECT_EQ(MacScanCodeToKeyCode(0x80 | 0x24), 0x0D);
    EXPECT_EQ(MacScanCodeToKeyCode(0x16), '6');
    EXPECT_EQ(MacScanCodeToKeyCode(0x5C), 0x89);
    EXPECT_EQ(MacScanCodeToKeyCode(0x7E), 0x90);
    // Through the keyboard layout with shift: letters in capitals only.
    EXPECT_EQ(MacScanCodeToKeyCode(0x00), 'A');
    EXPECT_EQ(MacScanCodeToKeyCode(0x06), 'Z');
    EXPECT_EQ(MacScanCodeToKeyCode(0x18), 0);  // '=' shifted is '+'
    EXPECT_EQ(MacScanCodeToKeyCode(0x2F), 0);  // '.' shifted is '>'
    EXPECT_EQ(MacScanCodeToKeyCode(0x7F), 0);
}

TEST(KeyCodes, SpecialKeyItems)
{
    EXPECT_EQ(GetSpecialKeyItem('A'), 0);
    EXPECT_EQ(GetSpecialKeyItem(0x99), 35);
    EXPECT_EQ(GetSpecialKeyItem(0x0D), 37);
    EXPECT_EQ(GetSpecialKeyItem(0x9E), 5);
    EXPECT_EQ(GetSpecialKeyItem(0x95), 33);
}

TEST(ByteSwap, WordsLongsAndArrays)
{
    int16_t w = 0x0102;
    ByteSwapWord(&w);
    EXPECT_EQ(w, 0x0201);
    int32_t l = 0x01020304;
    ByteSwapLong(&l);
    EXPECT_EQ(l, 0x04030201);
    int32_t longs[2] = {0x01020304, 0x05060708};
    ByteSwapLongArray(longs, 0);
    EXPECT_EQ(longs[0], 0x01020304);
    ByteSwapLongArray(longs, 2);
    EXPECT_EQ(longs[1], 0x08070605);
    int16_t words[2] = {0x0102, 0x0304};
    ByteSwapWordArray(words, -3);
    EXPECT_EQ(words[0], 0x0102);
    ByteSwapWordArray(words, 2);
    EXPECT_EQ(words[1], 0x0403);
}

// The extended form of a double, through big-endian bytes.
void Widen(double d, uint8_t out[10])
{
    uint8_t be[8];
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    platform::WriteBE64(be, bits);
    Real8toReal10(be, out);
}

double Narrow(const uint8_t in[10])
{
    uint8_t be[8];
    Real10toReal8(in, be);
    uint64_t bits = platform::ReadBE64(be);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

TEST(ExtendedReals, WidenExactlyAndNarrowBack)
{
    uint8_t x[10];
    Widen(1.5, x);
    const uint8_t expected[10] = {0x3F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(x, expected, 10), 0);

    const double samples[] = {0.0, -0.0, 1.0, -2.5, 3.141592653589793, 1e300, -1e-300,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::min() / 3,
                              std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::infinity()};
    for (double d : samples) {
        Widen(d, x);
        const double back = Narrow(x);
        EXPECT_EQ(std::memcmp(&back, &d, 8), 0) << d;
    }
    Widen(std::nan(""), x);
    EXPECT_TRUE(std::isnan(Narrow(x)));
}

TEST(ExtendedReals, NarrowingRoundsToNearestEven)
{
    // 1 + 2^-53 exactly: a tie, rounds to even (1.0).
    uint8_t x[10] = {0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0x04, 0x00};
    EXPECT_EQ(Narrow(x), 1.0);
    // Just above the tie rounds up.
    x[9] = 0x01;
    EXPECT_EQ(Narrow(x), 1.0 + std::ldexp(1.0, -52));
    // Beyond the double range: infinity; below it: zero.
    uint8_t huge[10] = {0x7F, 0xF0, 0x80, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::isinf(Narrow(huge)));
    uint8_t tiny[10] = {0x00, 0x10, 0x80, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Narrow(tiny), 0.0);
    // Half the smallest subnormal and a little more rounds up to it; far
    // below it is zero whatever the significand.
    uint8_t nearHalf[10] = {0x3B, 0xCC, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Narrow(nearHalf), std::numeric_limits<double>::denorm_min());
    uint8_t farBelow[10] = {0x3B, 0xB3, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Narrow(farBelow), 0.0);
    // A NaN keeps the top of its payload, bit for bit.
    uint8_t nan[10] = {0x7F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0x08, 0x00};
    uint8_t be[8];
    Real10toReal8(nan, be);
    EXPECT_EQ(platform::ReadBE64(be), 0x7FF8000000000001u);
    // An unnormal significand (integer bit clear) still converts.
    uint8_t unnormal[10] = {0x40, 0x00, 0x40, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Narrow(unnormal), 1.0);
}

TEST(Blocks, ReadsAndSearchesStayInsideTheBlock)
{
    const char data[4] = {'a', 'b', 'c', 'd'};
    char out[8] = {};
    uint32_t pos = 5, length = 3;
    EXPECT_EQ(ReadFromBlock(data, 4, pos, out, &length), kStreamEndOfData);
    EXPECT_EQ(length, 0u);
    pos = 2;
    length = 3;
    EXPECT_EQ(ReadFromBlock(data, 4, pos, out, &length), kStreamEndOfData);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(pos, 4u);

    EXPECT_EQ(FindInBlock(data, 4, 0, "cd", 2), 3u);
    EXPECT_EQ(FindInBlock(data, 4, 0, "abcd", 4), 1u);
    EXPECT_EQ(FindInBlock(data, 2, 0, "abcd", 4), 0u);  // longer than the block
}

}  // namespace
