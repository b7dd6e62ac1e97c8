#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/text/SingleByteSets.h"
#include "platform/text/Utf8.h"

using namespace platform;

namespace {

bool IsValidUtf16(const char16_t* s, int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF) {
            if (i + 1 >= n || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (s[i] >= 0xDC00 && s[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::u16string Decode(std::vector<uint8_t> bytes, bool endOfInput = false, ConversionResult* result = nullptr)
{
    std::u16string out(bytes.size() + 1, u'\0');
    ConversionResult r = Utf8ToUtf16(bytes.data(), int32_t(bytes.size()), out.data(), int32_t(out.size()), endOfInput);
    out.resize(size_t(r.produced));
    if (result)
        *result = r;
    return out;
}

std::vector<uint8_t> Encode(std::u16string text, bool endOfInput = false, ConversionResult* result = nullptr)
{
    std::vector<uint8_t> out(text.size() * 3 + 1);
    ConversionResult r = Utf16ToUtf8(text.data(), int32_t(text.size()), out.data(), int32_t(out.size()), endOfInput);
    out.resize(size_t(r.produced));
    if (result)
        *result = r;
    return out;
}

}  // namespace

TEST(Utf8ToUtf16, SupplementaryCharacterNeedsRoomForBothUnits)
{
    const uint8_t face[] = {0xF0, 0x9F, 0x98, 0x80};
    char16_t out[2] = {};
    ConversionResult r = Utf8ToUtf16(face, 4, out, 2);
    EXPECT_EQ(r.status, ConversionStatus::complete);
    EXPECT_EQ(r.consumed, 4);
    ASSERT_EQ(r.produced, 2);
    EXPECT_EQ(out[0], 0xD83D);
    EXPECT_EQ(out[1], 0xDE00);

    out[0] = 0;
    r = Utf8ToUtf16(face, 4, out, 1);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 0);
    EXPECT_EQ(r.produced, 0);
    EXPECT_EQ(out[0], 0);
}

TEST(Utf8ToUtf16, CutOffSequenceIsLeftForTheNextChunk)
{
    ConversionResult r;
    EXPECT_EQ(Decode({'A', 0xC3}, false, &r), u"A");
    EXPECT_EQ(r.status, ConversionStatus::truncatedSource);
    EXPECT_EQ(r.consumed, 1);

    EXPECT_EQ(Decode({0xE2, 0x82}, false, &r), u"");
    EXPECT_EQ(r.consumed, 0);
    EXPECT_EQ(r.status, ConversionStatus::truncatedSource);

    // At the end of the input it is one invalid character.
    EXPECT_EQ(Decode({'A', 0xE2, 0x82}, true, &r), u"A\uFFFD");
    EXPECT_EQ(r.consumed, 3);
    EXPECT_EQ(r.status, ConversionStatus::complete);

    // A prefix that can never complete is invalid at once, not truncated.
    EXPECT_EQ(Decode({0xE0, 0x80}, false, &r), u"\uFFFD\uFFFD");
    EXPECT_EQ(r.status, ConversionStatus::complete);
}

TEST(Utf8ToUtf16, InvalidFormsBecomeReplacementCharacters)
{
    EXPECT_EQ(Decode({0xC3, 0xA9, 0xE2, 0x82, 0xAC}), u"é€");
    EXPECT_EQ(Decode({0xC0, 0x80}), u"\uFFFD\uFFFD");               // over-long NUL
    EXPECT_EQ(Decode({0xE0, 0x9F, 0xBF}), u"\uFFFD\uFFFD\uFFFD");   // over-long three-byte
    EXPECT_EQ(Decode({0xED, 0xA0, 0x80}), u"\uFFFD\uFFFD\uFFFD");   // encoded surrogate
    EXPECT_EQ(Decode({0xF4, 0x90, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
    EXPECT_EQ(Decode({0xF8, 0x88, 0x80, 0x80, 0x80}), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Decode({0x80, 'a'}), u"\uFFFDa");                     // stray continuation
    EXPECT_EQ(Decode({0xE2, 0x82, 'a'}), u"\uFFFDa");               // cut short by a foreign byte
    EXPECT_EQ(Decode({0xF4, 0x8F, 0xBF, 0xBF}), u"\U0010FFFF");
    EXPECT_EQ(Decode({0xEF, 0xBF, 0xBF, 0xEE, 0x80, 0x80}), u"\uFFFF\uE000");
}

TEST(Utf8ToUtf16, RandomBytesNeverGiveInvalidUtf16)
{
    std::mt19937 rng(20240613);
    std::uniform_int_distribution<int> length(0, 24);
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_int_distribution<int> byte(0, 255);
    // Biased towards the bytes of multi-byte sequences so that valid,
    // over-long and cut-off forms all turn up.
    const uint8_t interesting[] = {0x80, 0xBF, 0xC2, 0xDF, 0xE0, 0xED, 0xF0, 0xF4, 0xF5, 0xA0};
    for (int round = 0; round < 100000; ++round) {
        std::vector<uint8_t> src(size_t(length(rng)));
        for (auto& b : src)
            b = pick(rng) < 3 ? interesting[pick(rng)] : uint8_t(byte(rng));
        int32_t capacity = round % 2 ? int32_t(src.size()) : int32_t(src.size() / 3);
        std::vector<char16_t> dst(size_t(capacity) + 1, u'\x1234');
        bool endOfInput = round % 3 == 0;
        ConversionResult r = Utf8ToUtf16(src.data(), int32_t(src.size()), dst.data(), capacity, endOfInput);
        ASSERT_GE(r.consumed, 0);
        ASSERT_LE(r.consumed, int32_t(src.size()));
        ASSERT_GE(r.produced, 0);
        ASSERT_LE(r.produced, capacity);
        ASSERT_EQ(dst[size_t(capacity)], u'\x1234');
        ASSERT_TRUE(IsValidUtf16(dst.data(), r.produced)) << round;
        if (r.status == ConversionStatus::complete) {
            ASSERT_EQ(r.consumed, int32_t(src.size()));
        }
        if (r.status == ConversionStatus::truncatedSource) {
            ASSERT_FALSE(endOfInput);
            ASSERT_GE(int32_t(src.size()) - r.consumed, 1);
            ASSERT_LE(int32_t(src.size()) - r.consumed, 3);
        }
        // Whatever decodes re-encodes and decodes to the same units.
        std::u16string units(dst.data(), size_t(r.produced));
        std::vector<uint8_t> again = Encode(units);
        ASSERT_EQ(Decode(again), units);
    }
}

TEST(Utf16ToUtf8, PairsLoneSurrogatesAndCutOffPairs)
{
    ConversionResult r;
    EXPECT_EQ(Encode(u"a\u00E9\u20AC\U0001F600"),
              (std::vector<uint8_t>{'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(Encode(std::u16string{0xDC00, 'a'}), (std::vector<uint8_t>{0xEF, 0xBF, 0xBD, 'a'}));
    EXPECT_EQ(Encode(std::u16string{0xD800, 'a'}), (std::vector<uint8_t>{0xEF, 0xBF, 0xBD, 'a'}));

    EXPECT_EQ(Encode(std::u16string{'a', 0xD83D}, false, &r), (std::vector<uint8_t>{'a'}));
    EXPECT_EQ(r.status, ConversionStatus::truncatedSource);
    EXPECT_EQ(r.consumed, 1);
    EXPECT_EQ(Encode(std::u16string{'a', 0xD83D}, true, &r), (std::vector<uint8_t>{'a', 0xEF, 0xBF, 0xBD}));
    EXPECT_EQ(r.consumed, 2);

    const char16_t euro[] = {'a', 0x20AC};
    uint8_t out[3] = {};
    r = Utf16ToUtf8(euro, 2, out, 3);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 1);
    EXPECT_EQ(r.produced, 1);
}

TEST(Utf16ToUtf8, RandomUnitsGiveUtf8ThatDecodesBack)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> length(0, 12);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> surrogate(0xD800, 0xDFFF);
    for (int round = 0; round < 20000; ++round) {
        std::u16string src(size_t(length(rng)), u'\0');
        for (auto& u : src)
            u = char16_t(round % 2 ? surrogate(rng) : unit(rng));
        ConversionResult r;
        std::vector<uint8_t> utf8 = Encode(src, true, &r);
        ASSERT_EQ(r.consumed, int32_t(src.size()));
        // Valid pairs and other units come back as they were; each lone
        // surrogate comes back as U+FFFD.
        std::u16string expected;
        for (size_t i = 0; i < src.size(); ++i) {
            bool high = src[i] >= 0xD800 && src[i] <= 0xDBFF;
            bool low = src[i] >= 0xDC00 && src[i] <= 0xDFFF;
            if (high && i + 1 < src.size() && src[i + 1] >= 0xDC00 && src[i + 1] <= 0xDFFF) {
                expected += src.substr(i++, 2);
            } else {
                expected += (high || low) ? u'\uFFFD' : src[i];
            }
        }
        ASSERT_EQ(Decode(utf8, false, &r), expected) << round;
        ASSERT_EQ(r.status, ConversionStatus::complete);
    }
}

TEST(MacRomanUtf8, EveryByteRoundTripsAndForeignTextIsSubstituted)
{
    std::vector<uint8_t> all(256);
    for (int b = 0; b < 256; ++b)
        all[size_t(b)] = uint8_t(b);
    std::string utf8 = MacRomanToUtf8String(all.data(), 256);
    std::string back = Utf8ToMacRomanString(utf8);
    ASSERT_EQ(back.size(), 256u);
    EXPECT_EQ(0, memcmp(back.data(), all.data(), 256));

    const uint8_t name[] = {'C', 'a', 'f', 0x8E, ' ', 0xDB};
    EXPECT_EQ(MacRomanToUtf8String(name, 6), "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(MacRomanToUtf8String(name, -1), "");

    // CJK, an emoji, invalid bytes and a cut-off sequence at the end.
    EXPECT_EQ(Utf8ToMacRomanString("\xE4\xB8\x80\xF0\x9F\x98\x80x\xFF\xC3"), "??x??");
    // Accents that come decomposed are composed where Mac Roman holds the
    // letter; a second accent, or one alone, is a character it lacks.
    int32_t substituted = -1;
    EXPECT_EQ(Utf8ToMacRomanString("Cafe\xCC\x81 A\xCC\x8A \xCC\x81", &substituted), "Caf\x8E \x81 ?");
    EXPECT_EQ(substituted, 1);
    EXPECT_EQ(Utf8ToMacRomanString("e\xCC\x82\xCC\x81 \xE1\xBA\xBF", &substituted), "? ?");  // both U+1EBF
    EXPECT_EQ(substituted, 2);

    uint8_t out[4] = {};
    ConversionResult r = MacRomanToUtf8(name, 6, out, 4);
    EXPECT_EQ(r.status, ConversionStatus::destinationFull);
    EXPECT_EQ(r.consumed, 3);
    EXPECT_EQ(r.produced, 3);

    const uint8_t cut[] = {'e', 0xC3};
    r = Utf8ToMacRoman(cut, 2, out, 4);
    EXPECT_EQ(r.status, ConversionStatus::truncatedSource);
    EXPECT_EQ(r.consumed, 1);
}
