// Method tokens rendered as text: every token kind's text and style, the
// indentation of control structures, the escapes of string literals, and
// the limits of the text record against the export's.
#include <algorithm>
#include <cstring>

#include "design/links/TokenAccess.h"
#include "tools/docbuilder/Records.h"
#include "design/text/TextBuffers.h"
#include "platform/files/Forks.h"
#include "platform/textedit/TextEdit.h"
#include "tests/design/MethodTextFixture.h"
#include "toolbox/foundation/ByteSwap.h"

namespace readtest {
namespace {

using Lines = std::vector<std::string>;

class MethodText : public MethodTextFixture {};

std::string Times(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

struct Expected {
    std::string text;
    std::vector<int16_t> styles;
};

void ExpectLines(const std::vector<ProcTextLine>& lines, const std::vector<Expected>& expected)
{
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Text(), expected[i].text) << "line " << i + 1;
        std::vector<int16_t> styles;
        for (const auto& p : lines[i].pieces) styles.push_back(p.style);
        EXPECT_EQ(styles, expected[i].styles) << "line " << i + 1;
    }
}

TEST_F(MethodText, TheDemosRecalculateRendersLineByLine)
{
    ASSERT_TRUE(ReadDemo());
    // STR# 104: 11 the comment mark, 4 and 37 the date and time marks, 38
    // the error and plug-in mark (\xA4), 40 a tab; STR# 105: "If", "End if".
    const int16_t v = kStyleProcessVar, o = kStylePlain, f = kStyleField, k = kStyleKeyword, c = kStyleMethodCall;
    ExpectLines(Rendered(Method("Recalculate")),
                {{"  `Adds up the lines of the current invoice", {kStyleComment}},
                 {"Sum:=0", {v, o, o}},
                 {"If [Lines]Quantity", {k, f}},
                 {"\tSum:=Sum+[Lines]Price", {v, o, v, o, f}},
                 {"End if ", {k}},
                 {"Add_Tax(Sum)", {c, o, v, o}},
                 {"Log_Event(\"Recalculated\")", {c, o, o, o}},
                 {"!03/01/2024!", {o}},
                 {"?01:00:00?", {o}},
                 {"9000000000", {o}},
                 {"VAT_Rate ", {kStyleConstant}},
                 {"Round_Cents ", {kStylePlugIn}},
                 {" \xA4unfinished\xA4 ", {kStyleError}},
                 {"Format_Amount (Sum;\"Standard\")", {kStylePlugIn, o, v, o, o, o}}});
}

TEST_F(MethodText, TokenKindsTheDemoLacks)
{
    ASSERT_TRUE(BuildAndRead(R"(structure T
table People
  field Name alpha 20
method Other
  comment "x"
method M
  local Rate op 14 param 2 op 16 param -1 ; ipvar Count op 3 long 255
  command 2 ( field People.Name , "a;b" ) ; call Other op 24 kw 20 kw 7
  comment "ends with a return\r" ; error "e" ; plugin 9 9
)"));
    const int16_t o = kStylePlain, p = kStyleParameter;
    ExpectLines(Rendered(Method("M")),
                {{"$Rate & $2 ^| $", {kStyleLocalVar, o, p, o, p}},
                 {"<>Count/0x00FF", {kStyleInterprocessVar, o, o}},
                 {"QUERY([People]Name;\"a;b\")", {kStyleCommand, o, kStyleField, o, o, o}},
                 {"Other..: Return ", {kStyleMethodCall, o, kStyleKeyword, kStyleKeyword}},
                 {"  `ends with a return", {kStyleComment}},
                 {" \xA4" "e\xA4 ", {kStyleError}},
                 // A routine the document does not list shows its marked number.
                 {"\xA4" "9;9\xA4 ", {kStylePlugIn}}});
}

// Kinds 28 to 34 are keywords too, named by STR# 105 items 22 to 28.
TEST_F(MethodText, TheLastKeywordKindsAreKeywords)
{
    ASSERT_TRUE(BuildAndRead("structure T\nmethod M\n  kw 28\n  kw 34\n"));
    unsigned char first[256], last[256];
    platform::GetIndString(first, 105, 22);
    platform::GetIndString(last, 105, 28);
    ASSERT_GT(last[0], 0);
    ExpectLines(Rendered(Method("M")), {{P(first) + " ", {kStyleKeyword}}, {P(last) + " ", {kStyleKeyword}}});
}

// The application's punctuation is read again when its list changes,
// though the keywords stay as they were.
TEST_F(MethodText, ChangedPunctuationIsReadAgain)
{
    ASSERT_TRUE(BuildAndRead("structure T\nmethod M\n  comment \"x\"\n"));
    EXPECT_EQ(Texts(Method("M")), Lines{"  `x"});
    const int16_t saved = platform::CurResFile();
    if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
    platform::Handle list = platform::GetResource(FourCC("STR#"), 104);
    platform::UseResFile(saved);
    ASSERT_TRUE(list && *list);
    const auto at = std::find(*list, *list + platform::GetHandleSize(list), '`');
    ASSERT_NE(at, *list + platform::GetHandleSize(list));
    *at = '#';
    const Lines changed = Texts(Method("M"));
    *at = '`';
    EXPECT_EQ(changed, Lines{"  #x"});
    EXPECT_EQ(Texts(Method("M")), Lines{"  `x"});
}

TEST_F(MethodText, ATableAloneIsNamedInTheTableStyle)
{
    built_ = Build("structure T\ntable People\n  field Name alpha 20\nmethod M id 5\n  comment \"x\"\n");
    // Field 0 of table 1: the table itself.
    Replace(built_.dataPath, FourCC("CCQz"), 5, docbuilder::MethodBlob({{3, 0, 0, 0, 0, 1, 0, 0}}));
    Open(built_);
    ASSERT_EQ(Read(), 0);
    ExpectLines(Rendered(Method("M")), {{"[People]", {kStyleTable}}});
}

TEST_F(MethodText, ControlStructuresIndentTheLinesBetween)
{
    // Kinds 14, 16, 19, 29, 31 open, 15, 18, 21, 30, 32 close, 17 divides;
    // a line's level stays within 0 and 30.
    std::string lines;
    for (int i = 0; i < 32; ++i) lines += "  kw 16\n";
    ASSERT_TRUE(BuildAndRead("structure T\nmethod M\n  kw 15\n  kw 14\n  kw 17\n  kw 20\n  kw 15 ; kw 19 ; kw 29 ; kw 31 "
                             "kw 32 ; kw 30 ; kw 21\n" + lines + "  kw 18\n"));
    Lines expected = {"End if ", "If ", "Else ", "\t: ", "End if ", "Case of ", "\tRepeat ", "\tFor End for ",
                      "\tUntil ", "End case "};
    for (int i = 0; i < 32; ++i) expected.push_back(std::string(size_t(std::min(i, 30)), '\t') + "While ");
    expected.push_back(std::string(29, '\t') + "End while ");
    EXPECT_EQ(Texts(Method("M")), expected);
}

TEST_F(MethodText, LiteralsAreEscapedWithin255BytesAndNoEscapeIsCut)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "\"\""},
        {"\r\n\t\\\"\x01", "\"\\r\\n\\t\\\\\\\"\\x01\""},
        {"\x1F\x7F\xA5 a", "\"\\x1f\x7F\xA5 a\""},
        // 1 + 63 x 4 = 253: one more escape and the quote would make 258.
        {std::string(81, '\x01'), "\"" + Times("\\x01", 63) + "\""},
        // 1 + 1 + 63 x 4 + 1: exactly 255.
        {"a" + std::string(80, '\x01'), "\"a" + Times("\\x01", 63) + "\""},
        // 1 + 2 + 62 x 4 = 251: the next escape and the quote would make 256.
        {"ab" + std::string(79, '\x01'), "\"ab" + Times("\\x01", 62) + "\""},
    };
    for (const auto& [text, expected] : cases) {
        unsigned char p[256];
        apptest::ToP(text, p);
        EXPECT_EQ(EscapedLiteral(p), expected) << text.size();
    }
}

TEST_F(MethodText, RealLiteralsComeByCopy)
{
    // Seventeen reads: the first answer still holds its own value.
    std::vector<champoper> answers;
    for (int i = 1; i <= 17; ++i) {
        uint8_t token[14] = {2, 0, 1, 0};
        champoper value = MakeOperand(2);
        value.SetReal(i * 1.5);
        Real8toReal10(value.bytes + 4, token + 4);
        answers.push_back(MyGetRealOper(token));
    }
    for (int i = 1; i <= 17; ++i)
        EXPECT_EQ(std::tuple(answers[size_t(i - 1)].Real(), answers[size_t(i - 1)].Kind(), answers[size_t(i - 1)].SubKind()),
                  std::tuple(i * 1.5, 2, 1));
}

TEST_F(MethodText, ALongMethodShowsWholeLinesAndExportsThemAll)
{
    // 500 lines of one 80-character comment: 84 bytes a line.
    std::string d = "structure T\nmethod Long\n";
    for (int i = 0; i < 500; ++i) d += "  comment \"" + std::to_string(10000 + i) + std::string(75, 'x') + "\"\n";
    ASSERT_TRUE(BuildAndRead(d));
    TGnlProcObjQz* m = Method("Long");
    const platform::Rect r{0, 0, 100, 100};
    platform::TEHandle te = platform::TENew(&r, &r);
    ParseResFile store(&doc_);
    EXPECT_EQ(DoTextProc(m->table, m->id, m, false, te, 1, 0), 0);
    // 390 lines are 32,760 bytes: the 391st would reach 32,767.
    const std::string shown(*(**te).hText, size_t((**te).teLength));
    EXPECT_EQ(shown.size(), 390u * 84);
    EXPECT_EQ(shown.substr(0, 84), "  `10000" + std::string(75, 'x') + "\r");
    EXPECT_EQ(shown.substr(shown.size() - 84, 8), "  `10389");
    const std::string exported = Exported(m);
    ASSERT_EQ(exported.size(), 500u * 84 + 1);
    // The file's lines end with LF.
    std::string shownLines = shown;
    std::replace(shownLines.begin(), shownLines.end(), '\r', '\n');
    EXPECT_EQ(exported.substr(0, shown.size()), shownLines);
    EXPECT_EQ(exported.substr(499 * 84), "  `10499" + std::string(75, 'x') + "\n\n");
    // A method without text: -108, the record as it was.
    EXPECT_EQ(DoTextProc(m->table, 999, m, false, te, 1, 0), -108);
    EXPECT_EQ((**te).teLength, 390 * 84);
    platform::TEDispose(te);
}

}  // namespace
}  // namespace readtest
