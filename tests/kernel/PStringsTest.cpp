#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kernel/pstrings/PStrings.h"

namespace {

// A length-prefixed string from text of at most 255 characters.
struct P {
    Str255 s{};
    explicit P(const std::string& t)
    {
        s[0] = uint8_t(t.size());
        std::memcpy(s + 1, t.data(), t.size());
    }
};

std::string Text(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

}  // namespace

TEST(PStrings, ConcatenationCutsAtTheLimitByAliasing)
{
    P a(std::string(200, 'a')), b(std::string(100, 'b'));
    Str255 d;
    pstrconcat(d, a.s, b.s);
    EXPECT_EQ(Text(d), std::string(200, 'a') + std::string(55, 'b'));

    pstrconcat(b.s, a.s, b.s);  // into the second operand: the first is cut
    EXPECT_EQ(Text(b.s), std::string(155, 'a') + std::string(100, 'b'));

    P x("xyz");
    pstrconcat(x.s, x.s, x.s);
    EXPECT_EQ(Text(x.s), "xyzxyz");

    P one("1"), two("2"), three("3");
    pstrconcat3(three.s, one.s, two.s, three.s);
    EXPECT_EQ(Text(three.s), "123");

    P s1("a"), s2("b"), s3("c"), s4("d"), s5("e"), s6("f"), s7("g"), s8("h");
    pstrconcat8(s1.s, s1.s, s2.s, s3.s, s4.s, s5.s, s6.s, s7.s, s8.s);
    EXPECT_EQ(Text(s1.s), "abcdefgh");
}

TEST(PStrings, CompareSearchCopyDelete)
{
    EXPECT_LT(_pstrcmp(P("ab").s, P("abc").s), 0);
    EXPECT_GT(_pstrcmp(P("b").s, P("abc").s), 0);
    EXPECT_EQ(_pstrcmp(P("").s, P("").s), 0);
    EXPECT_GT(_pstrcmp(P("\xE9").s, P("z").s), 0);  // bytes compare unsigned

    EXPECT_EQ(_pstrpos(P("").s, P("abc").s), 1);
    EXPECT_EQ(_pstrpos(P("abcd").s, P("abc").s), 0);
    EXPECT_EQ(_pstrpos(P("bc").s, P("abcbc").s), 2);

    P s("abcdef");
    _pstrdelete(s.s, 4, 10);
    EXPECT_EQ(Text(s.s), "abc");

    Str255 d;
    std::memset(d, 0x55, sizeof d);
    _PStrCopy(P("hello").s, d, 0);
    EXPECT_EQ(d[0], 0x55);
    _PStrCopy(P("hello").s, d, 1);
    EXPECT_EQ(d[0], 0);
    _PStrCopy(P("hello").s, d, 4);
    EXPECT_EQ(Text(d), "hel");

    p2cCopy(d, 256, P("hello").s, 4, 10);
    EXPECT_EQ(Text(d), "lo");

    P ins(std::string(250, 'x'));
    P into("0123456789");
    _pstrinsert(ins.s, into.s, 3);
    EXPECT_EQ(into.s[0], 255);
    EXPECT_EQ(Text(into.s), "01" + std::string(245, 'x') + "23456789");
}

TEST(PStrings, TypedConcatenationMatchesWithAndWithoutAliasing)
{
    P name("Table"), num("12");
    Str255 d;
    p2cConcat(d, 256, {name.s, ' ', '[', num.s, ']'});
    EXPECT_EQ(Text(d), "Table [12]");

    p2cConcat(name.s, 256, {name.s, ' ', '[', num.s, ']'});
    EXPECT_EQ(Text(name.s), "Table [12]");

    Str255 small;
    p2cConcat(small, 6, {num.s, '-', num.s, '-', num.s});
    EXPECT_EQ(Text(small), "12-12");

    P big(std::string(200, 'q'));
    p2cConcat(big.s, 256, {big.s, big.s});
    EXPECT_EQ(big.s[0], 255);

    // A size beyond a full buffer still gives at most 255 characters.
    struct Guarded {
        Str255 s;
        uint8_t guard[64];
    } g;
    std::memset(&g, 0, sizeof g);
    P half(std::string(150, 'h'));
    p2cConcat(g.s, 300, {half.s, half.s});
    EXPECT_EQ(g.s[0], 255);
    EXPECT_EQ(Text(g.s), std::string(255, 'h'));
    for (uint8_t b : g.guard) EXPECT_EQ(b, 0);
}

TEST(PStrings, ConversionsClampTo255)
{
    char c[400];
    std::memset(c, 'c', 300);
    c[300] = 0;
    StringPtr p = C2PString(c);
    ASSERT_EQ(p, reinterpret_cast<StringPtr>(c));
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[255], 'c');
    EXPECT_EQ(C2PString(nullptr), nullptr);

    char hi[8] = "hi";
    C2PString(hi);
    P2CString(reinterpret_cast<unsigned char*>(hi));
    EXPECT_STREQ(hi, "hi");

    struct Guarded {
        Str255 s;
        uint8_t guard[8];
    } g;
    std::memset(&g, 0, sizeof g);
    const std::string text(300, 't');
    CToPStr(text.data(), int32_t(text.size()), g.s);
    EXPECT_EQ(g.s[0], 255);
    ptr2str(text.data(), g.s, 300);
    EXPECT_EQ(g.s[0], 255);
    for (uint8_t b : g.guard) EXPECT_EQ(b, 0);

    // Overlapping source and destination.
    Str255 o;
    std::memcpy(o, "abcdef", 6);
    CToPStr(o, 6, o);
    EXPECT_EQ(Text(o), "abcdef");

    // _pstrcopy keeps its length byte to what was copied.
    Str255 copied;
    std::memset(copied, 0x5A, sizeof copied);
    P src("source");
    EXPECT_EQ(_pstrcopy(copied, src.s, 1, -2), copied + 1);
    EXPECT_EQ(copied[0], 0);
    std::memset(&g, 0, sizeof g);
    char wide[400];
    std::memset(wide, 'w', sizeof wide);
    EXPECT_EQ(_pstrcopy(g.s, reinterpret_cast<ConstStr255Param>(wide), 1, 300), g.s + 256);
    EXPECT_EQ(g.s[0], 255);
    for (uint8_t b : g.guard) EXPECT_EQ(b, 0);

    char out[10] = {};
    P xyz("xyz");
    EXPECT_EQ(str2ptr(xyz.s, out), xyz.s + 4);
    EXPECT_STREQ(out, "xyz");
}
