#include <gtest/gtest.h>

#include "platform/text/SingleByteSets.h"

using namespace platform;

TEST(MacRoman, EveryByteRoundTripsThroughUnicode)
{
    for (int b = 0; b < 256; ++b) {
        uint8_t back = 0;
        ASSERT_TRUE(UnicodeToMacRoman(MacRomanToUnicode(uint8_t(b)), &back)) << b;
        EXPECT_EQ(back, b);
    }
    // The points where the vendor mapping differs from other converters.
    EXPECT_EQ(MacRomanToUnicode(0xDB), u'\u20AC');
    EXPECT_EQ(MacRomanToUnicode(0xF0), u'\uF8FF');
    EXPECT_EQ(MacRomanToUnicode(0xC6), u'\u2206');
    EXPECT_EQ(MacRomanToUnicode(0xBD), u'\u03A9');
    EXPECT_EQ(MacRomanToUnicode(0x8E), u'é');
    EXPECT_EQ(MacRomanToUnicode('A'), u'A');
}

TEST(MacRoman, CharactersItLacksAreRefused)
{
    uint8_t byte = 0x55;
    EXPECT_FALSE(UnicodeToMacRoman(u'\u0081', &byte));
    EXPECT_FALSE(UnicodeToMacRoman(u'\u00A4', &byte));  // currency sign, once at 0xDB
    EXPECT_FALSE(UnicodeToMacRoman(u'\uFFFD', &byte));
    EXPECT_FALSE(UnicodeToMacRoman(u'\xD83D', &byte));
    EXPECT_EQ(byte, 0x55);
    EXPECT_TRUE(UnicodeToMacRoman(u'\0', &byte));
    EXPECT_EQ(byte, 0);
}

TEST(Windows1252, EveryByteRoundTripsThroughUnicode)
{
    for (int b = 0; b < 256; ++b) {
        uint8_t back = 0;
        ASSERT_TRUE(UnicodeToWindows1252(Windows1252ToUnicode(uint8_t(b)), &back)) << b;
        EXPECT_EQ(back, b);
    }
    EXPECT_EQ(Windows1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(Windows1252ToUnicode(0x9F), u'\u0178');
    for (uint8_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Windows1252ToUnicode(undefined), char16_t(undefined));
}

TEST(MacRomanWindows1252, SharedCharactersRoundTripAndOthersAreSubstituted)
{
    int shared = 0;
    for (int w = 0; w < 256; ++w) {
        uint8_t mac = 0;
        if (!UnicodeToMacRoman(Windows1252ToUnicode(uint8_t(w)), &mac)) {
            EXPECT_EQ(Windows1252ToMacRoman(uint8_t(w)), kSubstituteByte) << w;
            continue;
        }
        ++shared;
        EXPECT_EQ(Windows1252ToMacRoman(uint8_t(w)), mac);
        EXPECT_EQ(MacRomanToWindows1252(mac), w);
    }
    EXPECT_EQ(shared, 256 - 25);  // Š Ž ¤ ¦ ² ³ ¹ ¼ ½ ¾ Ð × Ý Þ ð ý þ soft hyphen... and the five undefined
    EXPECT_EQ(Windows1252ToMacRoman(0x80), 0xDB);  // euro
    EXPECT_EQ(MacRomanToWindows1252(0xDB), 0x80);
    EXPECT_EQ(MacRomanToWindows1252(0xF0), kSubstituteByte);  // no logo in Windows
    EXPECT_EQ(Windows1252ToMacRoman(0x81), kSubstituteByte);
}

TEST(SingleByteRuns, StopWhereTheDestinationEnds)
{
    const uint8_t mac[] = {'a', 0x8E, 0xDB, 0xF0};
    char16_t wide[4] = {};
    ConversionResult r = MacRomanToUtf16(mac, 4, wide, 3);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 3);
    EXPECT_EQ(r.produced, 3);
    EXPECT_EQ(wide[2], u'\u20AC');
    EXPECT_EQ(wide[3], 0);

    r = MacRomanToUtf16(mac, 4, wide, 4);
    EXPECT_EQ(r.status, ConversionStatus::complete);

    uint8_t win[4] = {};
    r = MacRomanToWindows1252(mac, 4, win, 4);
    EXPECT_EQ(r.produced, 4);
    const uint8_t expectWin[] = {'a', 0xE9, 0x80, kSubstituteByte};
    EXPECT_EQ(0, memcmp(win, expectWin, 4));

    uint8_t back[4] = {};
    r = Windows1252ToMacRoman(win, 4, back, 2);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 2);
    EXPECT_EQ(back[1], 0x8E);

    r = MacRomanToUtf16(mac, -1, wide, 4);
    EXPECT_EQ(r.consumed, 0);
    EXPECT_EQ(r.status, ConversionStatus::complete);
}

TEST(SingleByteRuns, FromUtf16OneByteForEachCharacter)
{
    // é, a supplementary character (one substitute for the pair), a lone
    // high surrogate, the euro sign, a character neither set has.
    const char16_t text[] = {u'é', 0xD83D, 0xDE00, 0xD800, u'x', 0x20AC, 0x4E00};
    uint8_t out[8] = {};
    ConversionResult r = Utf16ToMacRoman(text, 7, out, 8);
    EXPECT_EQ(r.status, ConversionStatus::complete);
    EXPECT_EQ(r.consumed, 7);
    ASSERT_EQ(r.produced, 6);
    const uint8_t expectMac[] = {0x8E, '?', '?', 'x', 0xDB, '?'};
    EXPECT_EQ(0, memcmp(out, expectMac, 6));

    r = Utf16ToWindows1252(text, 7, out, 2);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 3);
    EXPECT_EQ(r.produced, 2);
    EXPECT_EQ(out[0], 0xE9);

    const char16_t control[] = {0x0081};
    r = Utf16ToWindows1252(control, 1, out, 1);
    EXPECT_EQ(out[0], 0x81);
}
