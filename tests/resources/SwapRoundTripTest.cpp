#include <gtest/gtest.h>

#include <string>

#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/standins/EncrypteText.h"
#include "platform/core/FourCC.h"
#include "resources/swap/PasswordTableKey.h"
#include "resources/swap/SwapResource.h"
#include "tests/resources/SwapFixtures.h"

using swapfix::Builder;
using swapfix::Bytes;

namespace {

class RoundTrip : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(swapfix::LoadTestTemplates(), 0) << SwapFileMessage(); }
    void TearDown() override { ResetSwapTemplates(); }

    // Host order -> the other order -> host order gives the same bytes; the
    // other order differs from the host order.
    static void Check(const std::string& type, const Bytes& host)
    {
        const uint32_t code = (uint32_t(uint8_t(type[0])) << 24) | (uint32_t(uint8_t(type[1])) << 16) |
                              (uint32_t(uint8_t(type[2])) << 8) | uint8_t(type[3]);
        Bytes b = host;
        EXPECT_EQ(SwapResourceEnvoi(1, code, int32_t(b.size()), b.data()), 1u) << type;
        EXPECT_EQ(errSwap, 0) << type;
        EXPECT_NE(b, host) << type;
        EXPECT_EQ(SwapResource(1, code, int32_t(b.size()), b.data()), 1u) << type;
        EXPECT_EQ(errSwap, 0) << type;
        EXPECT_EQ(b, host) << type;
    }
};

}  // namespace

TEST_F(RoundTrip, ArrayAndFirstValueTypes)
{
    const char* const types[] = {
        "QzQz", "DPrt", "RegI", "RegR", "TBa2", "TBar", "XCXC", "grac", "mem!", "offs", "tim!",
        "#GMO", "#GRP", "#MOD", "QzTR", "CRCM", "DBPR", "DICS", "DTPT", "FGdf", "FOR#", "KEYS",
        "LAYc", "LIBA", "POSW", "PRO#", "SHDT", "TRI2", "VEQz", "ZRNT", "enu ", "expl", "exru",
        "fbo_", "pass", "proc", "rex1", "schd", "stru", "x001", "xfon", "PICT", "MEPI",
        "QzCo", "AUre", "CPEL", "CrSh", "FEc3", "FEsu", "HTpo", "HTpr", "PUBL", "RTOL", "RWDB",
        "RtoL", "SEpo", "SOOK", "TRHE", "afgn", "cmps", "cook", "creg", "cset", "dusr", "eSSL",
        "fnum", "fsiz", "keAl", "keMR", "keTI", "pver", "rmax", "shpr", "sslP", "tmpm", "umod",
        "wasw", "wcgi", "wcon", "wcpt", "wePR", "wgen", "wjsc", "wlog", "wpas", "wpgc", "wpgo",
        "wprs", "wsla", "wvar", "xchr", "cdQz"};
    for (const char* t : types) {
        Check(t, Builder().Fill(23).b);
        Check(t, Builder().Fill(24, 3).b);
    }
    // Default rules by first character and size.
    Check("lxyz", Builder().Fill(14).b);
    Check("mxyz", Builder().Fill(8).b);
    Check("fxyz", Builder().Fill(48).b);
    Check("QTab", Builder().Fill(38).b);
}

TEST_F(RoundTrip, TemplateTypes)
{
    Check("PRQz", Builder().L(1).W(2).W(3).W(4).Fill(6).b);
    Check("FIQz", Builder().W(2).W(1).L(2).W(3).L(4).b);
    Check("TPQz", Builder().Fill(44 * 2 + 5).b);
    Check("LiHe", Builder().Fill(40).b);
}

TEST_F(RoundTrip, DedicatedTypes)
{
    Check("clut", Builder().L(0x1234).W(0x8000).W(2).Fill(24).b);
    Check("plpr", Builder().Fill(16).b);
    Check("PIWZ", Builder().Fill(16).b);
    Check("PIC#", Builder().W(2).Fill(32).W(128).Fill(32).W(129).b);
    Check("NAM#", Builder().L(2).L(platform::FourCC("TEXT")).L(2).W(128).Fill(32).W(129).Fill(32)
                      .L(platform::FourCC("PICT")).L(0).b);
    Check("FON#", Builder().W(2).W(3).Padded("Geneva").W(20).Padded("Times").b);
    Check("Styl", Builder().W(1).W(0).Fill(32).W(12).W(5).Fill(340).b);
    Check("Stlx", Builder().W(2).W(0).Fill(32).W(12).Fill(204).Fill(32).W(9).Fill(204).b);
    // Documentation, every type of it: the entry list and the styled text.
    const Bytes entries = Builder().L(platform::FourCC("Hlst")).L(1).L(2).W(2).L(3).Fill(16).L(4).Fill(16).L(5).b;
    const Bytes styled = Builder().L(platform::FourCC("TEXT")).L(5).Fill(6)
                             .L(24).W(1).W(2).L(1).L(2).L(3).L(4).W(5).W(6)
                             .L(36).Fill(36).b;
    for (const char* t : {"QzHE", "BAHE", "CCHE", "FIHE", "FOHE", "GRHE", "IHHE", "MEHE"}) {
        Check(t, entries);
        Check(t, styled);
    }
}

TEST_F(RoundTrip, FormFormat)
{
    Builder f;
    f.B(2).B(0).W(1);                                      // version, page count
    f.B(2).B(0).Fill(34);                                  // kind 2
    f.B(1).B(0).Fill(28).Padded("Name").W(0xFFFE).W(3).W(1).Fill(68).Padded("x");  // kind 1, marked extension
    f.B(5).B(0).Fill(28).W(3).Fill(4);                     // kind 5, 3 bytes of data
    f.B(9).B(0).Fill(8).B(5).B(1).L(0x01020304).Fill(28).Padded("Field").W(0);  // kind 9, no extension
    f.B(10).B(0).W(1).W(2).W(3).W(4).L(12).Fill(12);       // kind 10, picture
    f.B(11).B(0).Fill(48);                                 // kind 11
    f.B(18).B(0).W(1).W(2).W(3).W(4).B(19).B(0).Fill(38).B(0).B(0);  // kind 18, nested page
    f.B(0).B(0);                                           // the end of the page
    Check("FOQz", f.b);
}

TEST_F(RoundTrip, Methods)
{
    Builder tokens;
    tokens.B(1).B(0).W(7);                          // code 1
    tokens.B(3).B(0).W(1).W(2).W(2).W(8).W(9);     // code 3, two words
    tokens.B(22).B(0).B(5).B(2).W(0x10).W(0x20);   // code 22 with a point
    tokens.B(2).B(0).B(9).B(0).L(0x01020304);      // code 2, sub-code 9
    tokens.B(5).B(0);                               // code 5
    const auto m = uint16_t(tokens.b.size());
    Builder proc;
    proc.W(1).W(2).W(3).W(4).W(1);                      // header, one line
    proc.W(uint16_t(16 + m)).W(0x0A0B).W(m).L(1).L(2).L(3);
    proc.b.insert(proc.b.end(), tokens.b.begin(), tokens.b.end());
    Check("CCQz", proc.b);
    Check("ccqz", proc.b);
}

TEST_F(RoundTrip, PasswordTables)
{
    for (bool current : {true, false}) {
        Builder t;
        if (current) t.W(0xA0A0);
        t.W(1).W(1);                                     // one user, one group
        t.Fill(current ? 112 : 96);
        t.W(2).Fill(32).W(2).W(0).W(11).W(12);           // a group of two members
        Bytes stored = t.b;
        encryptetext(stored.data(), int32_t(stored.size()), PasswordTableKey());
        Check("PAQz", stored);
    }
}

// Password tables on disk are enciphered under this fixed key: a round trip
// would accept any key, so the bytes it gives are checked one by one, past
// the point where it starts over.
TEST(PasswordKey, FixedKeyGivesFixedBytes)
{
    Bytes b(12, 0);
    encryptetext(b.data(), int32_t(b.size()), PasswordTableKey());
    const Bytes expected = {0x5C, 0xA7, 0x13, 0xE9, 0x6B, 0x2D, 0xF0, 0x81, 0x3E, 0xC4, 0x5C, 0xA7};
    EXPECT_EQ(b, expected);
}

// A round trip and "the bytes changed" both pass when only a record's count
// is swapped; the word of the first and of the last entry are looked at too.
TEST_F(RoundTrip, PictureListSwapsEveryEntry)
{
    const Bytes host = Builder().W(2).Fill(32).W(128).Fill(32).W(129).b;
    Bytes b = host;
    ASSERT_EQ(SwapResourceEnvoi(1, platform::FourCC("PIC#"), int32_t(b.size()), b.data()), 1u);
    for (size_t at : {size_t(34), b.size() - 2}) {
        EXPECT_EQ(b[at], host[at + 1]) << at;
        EXPECT_EQ(b[at + 1], host[at]) << at;
    }
}
