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

TEST_F(MethodText, TheDemosRecalculateRendersLineByLine)
{
    ASSERT_TRUE(ReadDemo());
    TGnlProcObjQz* m = Method("Recalculate");
    ASSERT_NE(m, nullptr);
    const std::vector<ProcTextLine> lines = Rendered(m);
    // STR# 104: 11 the comment mark, 4 and 37 the date and time marks, 38
    // the error and plug-in mark, 40 a tab; STR# 105 item 8 "If", 9 "End if".
    const Lines expected = {
        "  `Adds up the lines of the current invoice",
        "Sum:=0",
        "If [Lines]Quantity",
        "\tSum:=Sum+[Lines]Price",
        "End if ",
        "Add_Tax(Sum)",
        "Log_Event(\"Recalculated\")",
        "!03/01/2024!",
        "?01:00:00?",
        "9000000000",
        "VAT_Rate ",
        "Round_Cents ",
        " \xA4unfinished\xA4 ",
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].Text(), expected[i]) << "line " << i + 1;
    const std::vector<std::vector<int16_t>> styles = {
        {kStyleComment},
        {kStyleProcessVar, kStylePlain, kStylePlain},
        {kStyleKeyword, kStyleField},
        {kStyleProcessVar, kStylePlain, kStyleProcessVar, kStylePlain, kStyleField},
        {kStyleKeyword},
        {kStyleMethodCall, kStylePlain, kStyleProcessVar, kStylePlain},
        {kStyleMethodCall, kStylePlain, kStylePlain, kStylePlain},
        {kStylePlain},
        {kStylePlain},
        {kStylePlain},
        {kStyleConstant},
        {kStylePlugIn},
        {kStyleError},
    };
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(Styles(lines[i]), styles[i]) << "line " << i + 1;
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
    const std::vector<ProcTextLine> lines = Rendered(Method("M"));
    struct Expected {
        std::string text;
        std::vector<int16_t> styles;
    };
    const Expected expected[] = {
        {"$Rate & $2 ^| $", {kStyleLocalVar, kStylePlain, kStyleParameter, kStylePlain, kStyleParameter}},
        {"<>Count/0x00FF", {kStyleInterprocessVar, kStylePlain, kStylePlain}},
        {"QUERY([People]Name;\"a;b\")",
         {kStyleCommand, kStylePlain, kStyleField, kStylePlain, kStylePlain, kStylePlain}},
        {"Other..: Return ", {kStyleMethodCall, kStylePlain, kStyleKeyword, kStyleKeyword}},
        {"  `ends with a return", {kStyleComment}},
        {" \xA4" "e\xA4 ", {kStyleError}},
        // A routine the document does not list shows its marked number.
        {"\xA4" "9;9\xA4 ", {kStylePlugIn}},
    };
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].Text(), expected[i].text) << "line " << i + 1;
        EXPECT_EQ(Styles(lines[i]), expected[i].styles) << "line " << i + 1;
    }
}

TEST_F(MethodText, ATableAloneIsNamedInTheTableStyle)
{
    built_ = Build("structure T\ntable People\n  field Name alpha 20\nmethod M id 5\n  comment \"x\"\n");
    // Field 0 of table 1: the table itself.
    Replace(built_.dataPath, FourCC("CCQz"), 5, docbuilder::MethodBlob({{3, 0, 0, 0, 0, 1, 0, 0}}));
    Open(built_);
    ASSERT_EQ(Read(), 0);
    const std::vector<ProcTextLine> lines = Rendered(Method("M"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Text(), "[People]");
    EXPECT_EQ(Styles(lines[0]), std::vector<int16_t>{kStyleTable});
}

TEST_F(MethodText, ControlStructuresIndentTheLinesBetween)
{
    // Kinds 14, 16, 19, 29, 31 open, 15, 18, 21, 30, 32 close, 17 divides;
    // a line's level stays within 0 and 30.
    std::string lines;
    for (int i = 0; i < 32; ++i) lines += "  kw 16\n";
    ASSERT_TRUE(BuildAndRead("structure T\nmethod M\n  kw 15\n  kw 14\n  kw 17\n  kw 20\n  kw 15 ; kw 19 ; kw 29 ; kw 31 "
                             "kw 32 ; kw 30 ; kw 21\n" + lines + "  kw 18\n"));
    const Lines texts = Texts(Method("M"));
    ASSERT_EQ(texts.size(), 43u);
    const Lines head = {"End if ", "If ", "Else ", "\t: ", "End if ", "Case of ", "\tRepeat ", "\tFor End for ",
                        "\tUntil ", "End case "};
    EXPECT_EQ(Lines(texts.begin(), texts.begin() + 10), head);
    EXPECT_EQ(texts[10], "While ");
    EXPECT_EQ(texts[39], std::string(29, '\t') + "While ");
    EXPECT_EQ(texts[40], std::string(30, '\t') + "While ");
    EXPECT_EQ(texts[41], std::string(30, '\t') + "While ");
    EXPECT_EQ(texts[42], std::string(29, '\t') + "End while ");
}

TEST_F(MethodText, StringLiteralsAreEscaped)
{
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"", "\"\""},
        {"\r\n\t\\\"\x01", "\"\\r\\n\\t\\\\\\\"\\x01\""},
        {"\x1F\x7F\xA5 a", "\"\\x1f\x7F\xA5 a\""},
    };
    for (const Case& c : cases) {
        unsigned char p[256];
        apptest::ToP(c.text, p);
        EXPECT_EQ(EscapedLiteral(p), c.expected) << c.text;
    }
}

TEST_F(MethodText, ALiteralNeverPassesTwoHundredFiftyFiveBytesNorCutsAnEscape)
{
    struct Case {
        std::string text;
        size_t escapes;  // "\x01" kept
        size_t size;
    };
    const Case cases[] = {
        // 1 + 63 x 4 = 253; one more escape and the quote would make 258.
        {std::string(81, '\x01'), 63, 254},
        // 1 + 1 + 63 x 4 + 1: exactly 255.
        {"a" + std::string(80, '\x01'), 63, 255},
        // 1 + 2 + 62 x 4 = 251: the next escape and the quote would make 256.
        {"ab" + std::string(79, '\x01'), 62, 252},
    };
    for (const Case& c : cases) {
        unsigned char p[256];
        apptest::ToP(c.text, p);
        const std::string out = EscapedLiteral(p);
        EXPECT_EQ(out.size(), c.size) << c.text.size();
        size_t n = 0;
        for (size_t at = out.find("\\x01"); at != std::string::npos; at = out.find("\\x01", at + 1)) ++n;
        EXPECT_EQ(n, c.escapes) << c.text.size();
        EXPECT_EQ(out.substr(out.size() - 5), "\\x01\"");
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
    for (int i = 1; i <= 17; ++i) {
        EXPECT_EQ(answers[size_t(i - 1)].Real(), i * 1.5);
        EXPECT_EQ(answers[size_t(i - 1)].Kind(), 2);
        EXPECT_EQ(answers[size_t(i - 1)].SubKind(), 1);
    }
}

// A method of `count` lines of one 80-character comment: 84 bytes a line.
std::string LongMethod(int count)
{
    std::string d = "structure T\nmethod Long\n";
    for (int i = 0; i < count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%05d", i % 100000);
        d += "  comment \"" + std::string(number) + std::string(75, 'x') + "\"\n";
    }
    return d;
}

TEST_F(MethodText, ALongMethodShowsWholeLinesAndExportsThemAll)
{
    ASSERT_TRUE(BuildAndRead(LongMethod(500)));
    TGnlProcObjQz* m = Method("Long");
    const platform::Rect r{0, 0, 100, 100};
    platform::TEHandle te = platform::TENew(&r, &r);
    {
        ParseResFile store(&doc_);
        EXPECT_EQ(DoTextProc(m->table, m->id, m, false, te, 1, 0), 0);
    }
    // 390 lines of 84 bytes are 32,760: the 391st would reach 32,767.
    const std::string line = "  `00000" + std::string(75, 'x') + "\r";
    ASSERT_EQ(line.size(), 84u);
    EXPECT_EQ((**te).teLength, 390 * 84);
    const std::string shown(*(**te).hText, size_t((**te).teLength));
    EXPECT_EQ(shown.substr(0, 84), line);
    EXPECT_EQ(shown.substr(shown.size() - 84, 8), "  `00389");
    platform::TEDispose(te);

    const std::string path = folder_ / "export.txt";
    platform::FSSpec spec;
    platform::FSMakeFSSpec(path, &spec);
    ASSERT_EQ(platform::FSpCreate(spec, 0, 0), 0);
    int16_t file = -1;
    ASSERT_EQ(platform::FSpOpenDF(spec, platform::fsRdWrPerm, &file), 0);
    EXPECT_EQ(m->SaveObj(file), 0);
    platform::FSClose(file);
    const Bytes written = FileBytes(path);
    ASSERT_EQ(written.size(), 500u * 84 + 1);
    EXPECT_EQ(std::string(written.begin() + 499 * 84, written.begin() + 499 * 84 + 8), "  `00499");
    EXPECT_EQ(written.back(), 13);
}

TEST_F(MethodText, AMissingTextAnswersOutOfMemoryAndChangesNothing)
{
    ASSERT_TRUE(BuildAndRead("structure T\nmethod M\n  comment \"x\"\n"));
    TGnlProcObjQz* m = Method("M");
    const platform::Rect r{0, 0, 100, 100};
    platform::TEHandle te = platform::TENew(&r, &r);
    platform::TESetText("before", 6, te);
    ParseResFile store(&doc_);
    EXPECT_EQ(DoTextProc(m->table, 999, m, false, te, 1, 0), -108);
    EXPECT_EQ((**te).teLength, 6);
    platform::TEDispose(te);
}

}  // namespace
}  // namespace readtest
