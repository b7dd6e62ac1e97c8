#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/text/RomanCase.h"
#include "platform/text/RomanCompare.h"
#include "platform/text/ScriptManager.h"
#include "platform/text/SingleByteSets.h"

using namespace platform;

namespace {

// Mac Roman bytes of some letters.
constexpr uint8_t kEAcute = 0x8E, kCapitalEAcute = 0x83;
constexpr uint8_t kARing = 0x8C, kCapitalARing = 0x81;
constexpr uint8_t kSharpS = 0xA7, kCapitalOSlash = 0xAF, kOSlash = 0xBF;
constexpr uint8_t kYDiaeresis = 0xD8, kCapitalYDiaeresis = 0xD9;

std::string Bytes(std::initializer_list<uint8_t> b) { return std::string(b.begin(), b.end()); }

int16_t Compare(const std::string& a, const std::string& b)
{
    return CompareText(reinterpret_cast<const uint8_t*>(a.data()), int32_t(a.size()),
                       reinterpret_cast<const uint8_t*>(b.data()), int32_t(b.size()));
}

}  // namespace

TEST(ScriptManager, AnswersForASingleRomanScript)
{
    EXPECT_EQ(GetScriptManagerVariable(smEnabled), 1);
    EXPECT_EQ(GetScriptManagerVariable(smSysScript), smRoman);
    EXPECT_EQ(GetScriptManagerVariable(smKeyScript), smRoman);
    EXPECT_EQ(GetScriptManagerVariable(smDefault), 0);
    EXPECT_EQ(GetScriptManagerVariable(smDoubleByte), 0);
    EXPECT_EQ(GetScriptVariable(smSystemScript, smScriptFlags) & smsfSingByte, smsfSingByte);
    EXPECT_NE(GetScriptVariable(smRoman, smScriptEnabled), 0);
    EXPECT_EQ(GetScriptVariable(smRoman, smScriptRight), 0);
    EXPECT_EQ(GetScriptVariable(smRoman, smScriptLang), langEnglish);
    EXPECT_EQ(GetScriptVariable(1, smScriptEnabled), 0);  // no Japanese script
    const uint8_t text[] = {0x82, 0xA0};
    EXPECT_EQ(CharacterByteType(text, 0, smSystemScript), smSingleByte);
    EXPECT_EQ(CharByte(text, 1), smSingleByte);
    EXPECT_EQ(GetSysDirection(), 0);
}

TEST(RomanCase, AccentedLettersChangeCaseWhereMacRomanHasBothForms)
{
    std::string text = Bytes({'a', 'Z', kEAcute, kARing, kYDiaeresis, kSharpS, '1', 0xB5});
    UppercaseText(reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()));
    EXPECT_EQ(text, Bytes({'A', 'Z', kCapitalEAcute, kCapitalARing, kCapitalYDiaeresis, kSharpS, '1', 0xB5}));
    LowercaseText(reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()));
    EXPECT_EQ(text, Bytes({'a', 'z', kEAcute, kARing, kYDiaeresis, kSharpS, '1', 0xB5}));

    // Case never leaves the letter: both forms of every pair are the same
    // letter in Unicode, and changing case twice is stable.
    for (int b = 0; b < 256; ++b) {
        uint8_t upper = RomanUppercase(uint8_t(b)), lower = RomanLowercase(uint8_t(b));
        EXPECT_EQ(RomanUppercase(upper), upper) << b;
        EXPECT_EQ(RomanLowercase(lower), lower) << b;
        if (upper != b && b != 0xF5) {  // dotless i goes to I, whose lower case is i
            EXPECT_EQ(RomanLowercase(upper), b) << b;
        }
    }
    uint8_t untouched = 'q';
    UppercaseText(&untouched, 0);
    UppercaseText(&untouched, -5);
    EXPECT_EQ(untouched, 'q');
}

TEST(RomanCase, StrippingKeepsTheBaseLetter)
{
    std::string text = Bytes({kEAcute, kCapitalARing, kCapitalOSlash, kOSlash, 0x96, kSharpS, 0xAD, 0xDB});
    StripDiacritics(reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()));
    // é Å Ø ø ñ stripped; ß, ≠ and € are not letters with marks.
    EXPECT_EQ(text, Bytes({'e', 'A', 'O', 'o', 'n', kSharpS, 0xAD, 0xDB}));

    text = Bytes({kEAcute, 'x', kARing});
    UppercaseStripDiacritics(reinterpret_cast<uint8_t*>(text.data()), int32_t(text.size()));
    EXPECT_EQ(text, "EXA");

    for (int b = 0; b < 128; ++b)
        EXPECT_EQ(RomanStripDiacritics(uint8_t(b)), b);
}

TEST(RomanCompare, IgnoresCaseAndDiacriticsFirstThenBreaksTies)
{
    EXPECT_EQ(Compare("abc", "abc"), 0);
    EXPECT_EQ(Compare("", ""), 0);
    EXPECT_EQ(Compare("abc", "ABD"), -1);  // primary: case ignored
    EXPECT_EQ(Compare("ABD", "abc"), 1);
    EXPECT_EQ(Compare(Bytes({'c', 'a', 'f', kEAcute, 's'}), "cafez"), -1);  // diacritics ignored
    EXPECT_EQ(Compare("ab", "ABC"), -1);  // a prefix comes first
    EXPECT_EQ(Compare(Bytes({'r', kEAcute, 's'}), "res"), 1);  // plain letter first
    EXPECT_EQ(Compare(Bytes({'R', kEAcute, 's'}), "res"), 1);  // diacritics before case
    EXPECT_EQ(Compare("Abc", "abc"), -1);  // upper case first
    EXPECT_EQ(Compare("aBc", "Abc"), 1);
    EXPECT_EQ(Compare("i", Bytes({0xF5})), -1);  // i and dotless i differ only by byte
}

TEST(RomanCompare, IsATotalOrderOverEveryPairOfCharacters)
{
    std::vector<std::string> texts;
    for (int b = 0; b < 256; ++b)
        texts.push_back(std::string(1, char(b)));
    for (const char* s : {"ab", "Ab", "aB", "ba", "\x8E" "a", "e" "A"})
        texts.push_back(s);
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            int16_t ab = Compare(a, b);
            ASSERT_EQ(ab, -Compare(b, a));
            ASSERT_EQ(ab == 0, a == b);
        }
    }
    std::vector<std::string> sorted = texts;
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return Compare(a, b) < 0; });
    for (size_t i = 1; i < sorted.size(); ++i)
        for (size_t j = i; j < sorted.size(); j += 17)
            ASSERT_EQ(Compare(sorted[i - 1], sorted[j]), -1);
}

TEST(RomanCompare, IdenticalOnlyForTheSameBytes)
{
    const uint8_t a[] = {'a', 'b'}, upper[] = {'A', 'b'};
    EXPECT_EQ(IdenticalText(a, 2, a, 2), 0);
    EXPECT_EQ(IdenticalText(a, 2, upper, 2), 1);
    EXPECT_EQ(IdenticalText(a, 1, a, 2), 1);
    EXPECT_EQ(IdenticalText(a, 0, upper, 0), 0);
    EXPECT_EQ(IdenticalText(a, -1, upper, 0), 0);
}
