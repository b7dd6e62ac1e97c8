#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/formats/FormatChars.h"
#include "kernel/formats/FormatText.h"
#include "kernel/formats/NumericFormats.h"
#include "kernel/formats/StringFormats.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/kernel/formats/FormatTestSupport.h"

namespace {

class NumericFormats : public testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        ResetFormatChars();
        ResetCollation();
    }

    static std::string Apply(const std::string& number, const std::string& format)
    {
        platform::Str255 text = {}, pattern = {};
        ToPString(number, text);
        ToPString(format, pattern);
        transusing(text, pattern);
        return FromPString(text);
    }
};

TEST_F(NumericFormats, PatternTableRows)
{
    struct Row {
        const char* number;
        const char* format;
        const char* expected;
    };
    const Row rows[] = {
        {"1234.5", "###,##0.00", "1,234.50"},
        {"-1234.5", "###,##0.00", "-1,234.50"},
        {"5", "###,##0.00", "5.00"},
        {"0.5", "##0.00", "0.50"},
        {"1234.5", "###,###", "1,234"},
        {"1.999", "#.##", "1.99"},  // no rounding
        {"3.14159", "##0.0##", "3.141"},
        {"0", "###.##", ""},
        {"0.5", "###.##", ".5"},
        {"12", "##.##", "12"},
        {"12.0", "##.##", "12"},  // a zero fraction shows as none
        {"12.05", "##.##", "12.05"},
        {"12", "##.00", "12.00"},
        {"12", "##.^^", "12   "},
        {"42", "^^^^", "  42"},
        {"42", "****", "**42"},
        {"-5", "***", "*-5"},
        {"-5", "^^^", " -5"},
        {"-5", "###", "-5"},
        {"-123", "#,###", "-123"},
        {"12345", "###", "<<<"},
        {"-123", "###", "<<<"},
        {"10", "###", "10"},
        {"100", "#,##0", "100"},
        {"-12.5", "###.00;(###.00)", "(12.50)"},
        {"-5", "##0;##0-", "5-"},
        {"0", "###.00;(###.00);nothing", "nothing"},
        {"12.5", "###.00;(###.00);nothing", "12.50"},
        {"1.2e+20", "###,##0.00", "1.2e+20"},
        {"42", "$ ###", "$ 42"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Apply(row.number, row.format), row.expected) << row.number << " with " << row.format;
}

TEST_F(NumericFormats, SpecialForms)
{
    EXPECT_EQ(Apply("255", "&$0000"), "$00FF");
    EXPECT_EQ(Apply("255", "&$"), "$FF");
    // More zeros than the result can hold: the padding gives way, the
    // value's digits stay.
    EXPECT_EQ(Apply("255", "&$" + std::string(33, '0')), "$" + std::string(28, '0') + "FF");
    EXPECT_EQ(Apply("-1", "&$" + std::string(40, '0')), "$" + std::string(22, '0') + "FFFFFFFF");
    EXPECT_EQ(Apply("255", "&x"), "0x00FF");
    EXPECT_EQ(Apply("74565", "&X"), "0x00012345");

    // The scientific form reads the double stored behind the text.
    auto scientific = [](double value, const std::string& format) {
        platform::Str255 text = {}, pattern = {};
        strreel2(&value, text, 1);
        ToPString(format, pattern);
        transusing(text, pattern);
        return FromPString(text);
    };
    EXPECT_EQ(scientific(1234.5, "&"), " 1.23e+3");
    EXPECT_EQ(scientific(-1234.5, "&5"), "-1.2345e+3");
    EXPECT_EQ(scientific(0.5, "&25"), " 5.00000000000000000e-1");  // 18 digits at most

    // A text that fills the 256-byte buffer leaves no room for the value:
    // it is read from the text, never from behind the buffer.
    std::vector<unsigned char> full(256, ' ');
    full[0] = 255;
    std::memcpy(full.data() + 1, "12.5", 4);
    platform::Str255 pattern = {};
    ToPString("&", pattern);
    transusing(full.data(), pattern);
    EXPECT_EQ(FromPString(full.data()), " 1.25e+1");
}

TEST_F(NumericFormats, TimeFormReadsTheNumberAsSeconds)
{
    // 3661 seconds, and 3660.6 rounded, are read as times.
    EXPECT_EQ(Apply("3661", "&/2"), "01:01");
    EXPECT_EQ(Apply("3660.6", "&/0"), "01:01:01");
    EXPECT_EQ(Apply("3661", "&/6"), "0000-00-00T01:01:01");
}

TEST_F(NumericFormats, UnusableFormatsLeaveTheText)
{
    EXPECT_EQ(Apply("12.5", ""), "12.5");
    EXPECT_EQ(Apply("12.5", "\x01"), "12.5");
    EXPECT_EQ(Apply("", "###"), "");
    // An unknown named format is empty.
    EXPECT_EQ(Apply("12.5", "|money"), "12.5");
    // Long formats are cut to 80 characters, long numbers to 31 digits.
    EXPECT_EQ(Apply("7", std::string(200, '#')), "7");
    EXPECT_EQ(Apply(std::string(40, '1'), "#"), "<");
}

TEST_F(NumericFormats, FormatCharactersAreLoadable)
{
    // Another set of characters: '9' placeholders and ',' between sections.
    diese = '9';
    semicol = ',';
    EXPECT_EQ(Apply("-5", "999,(999)"), "(5)");
    ResetFormatChars();
    EXPECT_EQ(Apply("-5", "###;(###)"), "(5)");

    // The application's own set, in its stored order; the decimal point
    // stays the system's, one character long.
    platform::testing::TempFolder dir;
    const std::vector<uint8_t> chars = {'9', '_', '+', 'z', ':', ',', '~', '%', 'e', 'm'};
    const int16_t ref = kerneltest::OpenAppFile(dir / "app.rsrc", {{platform::FourCC("COM#"), 8, false, "", 0, chars}});
    ASSERT_NE(ref, -1);
    decpoint[0] = 3;
    LoadFormatChars();
    const uint8_t got[10] = {diese, hardspace, star, zeroforce, comma, semicol, hardspace2, ampersand, exponent, moinschar};
    EXPECT_EQ(std::vector<uint8_t>(got, got + 10),
              (std::vector<uint8_t>{'9', '_', '+', 'z', '.', ',', '~', '%', 'e', 'm'}));
    EXPECT_EQ(decpoint[0], 1);
    EXPECT_EQ(decpoint[1], '.');
    platform::CloseResFile(ref);
}

TEST_F(NumericFormats, StringFormatPoursRightAligned)
{
    auto apply = [](const std::string& value, const std::string& format) {
        platform::Str255 text = {}, pattern = {};
        ToPString(value, text);
        ToPString(format, pattern);
        sstransusing(text, pattern);
        return FromPString(text);
    };
    EXPECT_EQ(apply("5551234567", "(###) ###-####"), "(555) 123-4567");
    EXPECT_EQ(apply("1234567", "(###) ###-####"), "() 123-4567");
    EXPECT_EQ(apply("995551234567", "(###) ###-####"), "(555) 123-4567");
    EXPECT_EQ(apply("12", "00000"), "00012");
    EXPECT_EQ(apply("12", "#"), "12");  // one-character formats count as empty
    EXPECT_EQ(apply("12", "*"), "12");
    EXPECT_EQ(apply("#1", "###"), "1");  // a diese from the text counts as unused
    EXPECT_EQ(apply("abc", ""), "abc");
    // Only the first 80 characters of the text are poured.
    EXPECT_EQ(apply(std::string(78, '0') + "12" + "3", "##"), "12");
}

TEST_F(NumericFormats, PoscharFindsTheFirstOccurrence)
{
    platform::Str255 s = {};
    ToPString("a;b;c", s);
    EXPECT_EQ(poschar(';', s), 2);
    EXPECT_EQ(poschar('z', s), 0);
    EXPECT_EQ(poschar(';' + 256, s), 0);  // not a character: no wrap to ';'
    EXPECT_EQ(poschar(-1, s), 0);
    s[4] = 0;  // the byte 0 is a character like any other
    EXPECT_EQ(poschar(0, s), 4);
    EXPECT_EQ(poschar(255, s), 0);
    s[5] = 255;
    EXPECT_EQ(poschar(255, s), 5);
    s[0] = 0;
    EXPECT_EQ(poschar(';', s), 0);
}

TEST_F(NumericFormats, DigitsAreZeroToNineOnly)
{
    EXPECT_TRUE(formattext::IsDigit('0'));
    EXPECT_TRUE(formattext::IsDigit('9'));
    EXPECT_FALSE(formattext::IsDigit('/'));
    EXPECT_FALSE(formattext::IsDigit(':'));
    scriptmanager = 1;  // the digit sets of the layout count too, and only they
    EXPECT_TRUE(formattext::IsDigit('5'));
    EXPECT_FALSE(formattext::IsDigit('A'));
    EXPECT_FALSE(formattext::IsDigit(' '));
    scriptmanager = 0;
}

// Working texts go back as strings of at most the limit, and never past 255.
TEST_F(NumericFormats, WorkingTextsFillTheStringExactly)
{
    const struct {
        size_t length, limit, stored;
    } rows[] = {{300, 255, 255}, {255, 1000, 255}, {254, 255, 254}, {90, 80, 80}, {0, 255, 0}};
    for (const auto& r : rows) {
        platform::Str255 s = {};
        formattext::Put(std::string(r.length, 'x'), s, r.limit);
        EXPECT_EQ(s[0], r.stored) << r.length << " " << r.limit;
        EXPECT_EQ(formattext::Take(s), std::string(r.stored, 'x'));
    }
}

}  // namespace
