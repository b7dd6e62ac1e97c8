#include <gtest/gtest.h>

#include <memory>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/FourCC.h"
#include "resources/swap/SwapResource.h"
#include "tests/resources/SwapFixtures.h"

using platform::FourCC;
using swapfix::Builder;
using swapfix::Bytes;

namespace {

class PerTypeConversion : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(swapfix::LoadTestTemplates(), 0) << SwapFileMessage(); }
    void TearDown() override { ResetSwapTemplates(); }

    static uint32_t Read(const char (&type)[5], Bytes& b)
    {
        return SwapResource(1, FourCC(type), int32_t(b.size()), b.data());
    }
    static uint32_t Write(const char (&type)[5], Bytes& b)
    {
        return SwapResourceEnvoi(1, FourCC(type), int32_t(b.size()), b.data());
    }
};

}  // namespace

TEST_F(PerTypeConversion, NothingHappensWhenNoConversionIsNeeded)
{
    Bytes pict = Builder().Fill(12).b, unknown = pict;
    const Bytes before = pict;
    errSwap = 1;
    EXPECT_EQ(SwapResource(0, FourCC("PICT"), 12, pict.data()), 1u);
    EXPECT_EQ(errSwap, 0);
    EXPECT_EQ(SwapResourceEnvoi(0, FourCC("zzzz"), 12, unknown.data()), 1u);
    EXPECT_EQ(pict, before);
    EXPECT_EQ(unknown, before);
    // Needed, but unknown: result 0, untouched.
    EXPECT_EQ(Read("zzzz", unknown), 0u);
    EXPECT_EQ(unknown, before);
}

TEST_F(PerTypeConversion, TableRulesOnLittleEndianFixtures)
{
    // 'LiHe': two 18-byte records by template 17, the last 4 bytes left.
    Bytes host = Builder().W(1).W(2).W(3).L(4).L(5).L(6).W(7).W(8).W(9).L(10).L(11).L(12).L(0x0A0B0C0D).b;
    Bytes other = Builder().W(0x100).W(0x200).W(0x300).L(0x4000000).L(0x5000000).L(0x6000000)
                      .W(0x700).W(0x800).W(0x900).L(0xA000000).L(0xB000000).L(0xC000000).L(0x0A0B0C0D).b;
    ASSERT_EQ(host.size(), 40u);
    Bytes b = other;
    EXPECT_EQ(Read("LiHe", b), 1u);
    EXPECT_EQ(b, host);
    EXPECT_EQ(Write("LiHe", b), 1u);
    EXPECT_EQ(b, other);

    // A default rule: 'x' types of 8 bytes are four words; of 10 bytes unknown.
    b = Builder().W(0x0102).W(0x0304).W(0x0506).W(0x0708).b;
    EXPECT_EQ(Read("xABC", b), 1u);
    EXPECT_EQ(b, Builder().W(0x0201).W(0x0403).W(0x0605).W(0x0807).b);
    Bytes ten(10, 1);
    EXPECT_EQ(Read("xABC", ten), 0u);

    // 'PIC#' of a size that is not 2 + 34n: only the count.
    b = Builder().W(0x0200).Fill(30).b;
    const Bytes rest(b.begin() + 2, b.end());
    EXPECT_EQ(Read("PIC#", b), 1u);
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(b[1], 2);
    EXPECT_EQ(Bytes(b.begin() + 2, b.end()), rest);

    // 'PRQz' under 10 bytes is left alone; from 10 it goes through template 11.
    Bytes nine(9, 3), prqz = Builder().L(0x01020304).W(5).W(6).W(7).b;
    EXPECT_EQ(Read("PRQz", nine), 1u);
    EXPECT_EQ(nine, Bytes(9, 3));
    EXPECT_EQ(Write("PRQz", prqz), 1u);
    EXPECT_EQ(prqz, Builder().L(0x04030201).W(0x500).W(0x600).W(0x700).b);

    // 'Fi..' is known; written only when it is exactly one string.
    Bytes fi = Builder().Padded("abc").b;
    EXPECT_EQ(Write("Fiab", fi), 1u);
    fi.push_back(0);
    EXPECT_EQ(Write("Fiab", fi), 0u);
    EXPECT_EQ(Read("Fiab", fi), 1u);
}

TEST_F(PerTypeConversion, DamagedContentsSetTheFlag)
{
    // A record that straddles the end of the contents.
    Bytes b = Builder().W(1).W(2).b;
    Read("cdQz", b);
    EXPECT_EQ(errSwap, 1);

    // Style sheets whose size and count disagree stay as they are.
    Bytes styl = Builder().W(2).W(0).Fill(376).b;
    const Bytes before = styl;
    EXPECT_EQ(Write("Styl", styl), 1u);
    EXPECT_EQ(errSwap, 1);
    EXPECT_EQ(styl, before);

    // Font list entries that run past the end.
    b = Builder().W(3).W(1).Padded("Geneva").b;
    Write("FON#", b);
    EXPECT_EQ(errSwap, 1);

    // A method line longer than its contents, a token code without a form.
    Bytes proc = Builder().W(0).W(0).W(0).W(0).W(1).W(200).Fill(20).b;
    Write("CCQz", proc);
    EXPECT_EQ(errSwap, 1);
    proc = Builder().W(0).W(0).W(0).W(0).W(1).W(18).W(0).W(2).L(0).L(0).L(0).B(10).B(0).b;
    Write("CCQz", proc);
    EXPECT_EQ(errSwap, 1);

    // A password table whose groups do not fill it.
    Bytes paqz = Builder().W(0).W(0).W(0).W(0).b;
    Write("PAQz", paqz);
    EXPECT_EQ(errSwap, 1);

    // Pages nested deeper than any form goes.
    Builder deep;
    deep.B(1).B(0).W(1);
    for (int i = 0; i < 100; ++i) deep.B(18).B(0).W(0).W(0).W(0).W(0);
    for (int i = 0; i <= 100; ++i) deep.B(0).B(0);
    Write("FOQz", deep.b);
    EXPECT_EQ(errSwap, 1);

    // A picture record whose data runs past the end stops the whole format:
    // the next page is not looked for at the start of the bytes.
    Bytes cut = Builder().B(10).B(0).W(2).B(10).B(0).W(1).W(2).W(3).W(4).L(100).b;
    Write("FOQz", cut);
    EXPECT_EQ(errSwap, 1);
    EXPECT_EQ(cut, Builder().B(10).B(0).W(0x200).B(10).B(0).W(0x100).W(0x200).W(0x300).W(0x400).L(0x64000000).b);
}

TEST_F(PerTypeConversion, TheFormatVersionBytesStayAsTheyAre)
{
    Bytes b = Builder().B(7).B(3).W(1).B(0).B(0).b;  // one page holding only its end record
    EXPECT_EQ(Write("FOQz", b), 1u);
    EXPECT_EQ(b, Builder().B(7).B(3).W(0x100).B(0).B(0).b);
    EXPECT_EQ(errSwap, 0);
    Bytes iff = Builder().L(FourCC("FORM")).Fill(8).b;
    const Bytes before = iff;
    Read("FOQz", iff);
    EXPECT_EQ(iff, before);
}

// A documentation entry list, field by field in both orders: a round trip
// would hide a field left out on both ways, so the first and the last
// entry are checked against fixed bytes.
TEST(DocumentationSwap, EveryEntryOfTheListIsTurned)
{
    Builder host, other;
    auto w = [&](uint16_t v) {
        host.W(v);
        other.W(uint16_t((v >> 8) | (v << 8)));
    };
    auto l = [&](uint32_t v) {
        host.L(v);
        other.L(__builtin_bswap32(v));
    };
    l(FourCC("Hdoc"));
    l(1);
    l(2);
    w(2);
    for (int entry = 0; entry < 2; ++entry) {
        l(uint32_t(0x100 + entry));
        for (uint16_t i = 0; i < 8; ++i) w(uint16_t(0x200 + 16 * entry + i));
    }
    l(0x0A0B0C0D);
    Bytes b = other.b;
    SwapDoc(kSwapReading, int32_t(b.size()), b.data());
    EXPECT_EQ(b, host.b);
    SwapDoc(0, int32_t(b.size()), b.data());
    EXPECT_EQ(b, other.b);
}

// A colour table against fixed bytes: every header word and both entries.
TEST(ColourTableSwap, EveryWordOfHeaderAndEntriesIsTurned)
{
    Builder host, other;
    auto w = [&](uint16_t v) {
        host.W(v);
        other.W(uint16_t((v >> 8) | (v << 8)));
    };
    host.L(0x01020304);
    other.L(0x04030201);
    w(0x8000);  // flags
    w(1);       // two entries
    for (uint16_t i = 0; i < 8; ++i) w(uint16_t(0x1100 + i));
    Bytes b = other.b;
    SwapClut(kSwapReading, int32_t(b.size()), b.data());
    EXPECT_EQ(b, host.b);
    SwapClut(0, int32_t(b.size()), b.data());
    EXPECT_EQ(b, other.b);
}

// Types converted by a template each use the template of their own number:
// a neighbour's layout would swap the same bytes in other widths.
TEST(TemplateTypes, EachTypeUsesItsOwnTemplate)
{
    const std::string text = "Wide 19\nlong\nword\nend\nNarrow 20\nword\nlong\nend\n";
    ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0) << SwapFileMessage();
    Bytes b = Builder().L(0x01020304).W(0x0506).b;
    EXPECT_EQ(SwapResourceEnvoi(1, FourCC("LEQz"), int32_t(b.size()), b.data()), 1u);
    EXPECT_EQ(b, Builder().L(0x04030201).W(0x0605).b);
    ResetSwapTemplates();
}

// Method tokens: a two-byte token (code 14) is stepped over so the word of
// the next one is swapped; a code-2 token cut before its kind byte is
// refused without reading past the end (the buffer is exactly its size).
TEST(MethodTokens, TwoByteTokensAndACutToken)
{
    errSwap = 0;
    uint8_t line[] = {14, 0, 1, 0, 0x12, 0x34};
    SwapLine(kSwapWriting, int32_t(sizeof line), line);
    EXPECT_EQ(errSwap, 0);
    EXPECT_EQ(line[4], 0x34);
    EXPECT_EQ(line[5], 0x12);

    errSwap = 0;
    auto cut = std::make_unique<uint8_t[]>(2);
    cut[0] = 2;
    cut[1] = 0;
    SwapLine(kSwapWriting, 2, cut.get());
    EXPECT_EQ(errSwap, 1);
    errSwap = 0;
}
