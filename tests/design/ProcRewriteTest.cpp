// Rewriting a method's stored tokens: comments, the current method's name,
// commands become methods, texts replaced, references renamed; untouched
// tokens and unreadable bytes stay as they were.
#include <functional>

#include "design/links/TokenAccess.h"
#include "forms/calc/CalcBlob.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using docbuilder::Bytes;
const uint32_t kCCQz = platform::FourCC("CCQz");

class ProcRewrite : public ParseFixture {
protected:
    void SetUp() override
    {
        apptest::AppFixture::SetUp();
        ResetDesignGlobals();
        // Command 10 takes a table as its first parameter.
        UseAppResources(ParseResources() + "'APRM' 10 { $\"0001 0001 0001\" }\n", false);
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        OpenStore();
        Build_xPRM();
        GromMemHdl = platform::NewHandle(64);
    }

    TObjQz* Method(const std::string& name, int16_t id, const std::vector<Bytes>& lines)
    {
        TObjQz* m = Make(2, name, id);
        AddStored(kCCQz, id, docbuilder::MethodBlob(lines));
        return m;
    }
    Bytes Stored(int16_t id)
    {
        useres(doc_.fResFile);
        platform::Handle h = xget1res(kCCQz, id);
        return h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }
    // Every line's tokens as "kind:detail".
    std::vector<std::vector<std::string>> Tokens(int16_t id)
    {
        std::vector<std::vector<std::string>> out;
        int16_t count = 0, err = 0;
        platform::Handle lines = x_getcalc(id, &count, nullptr, &err);
        for (int32_t i = 0; lines && i < count; ++i) {
            out.emplace_back();
            int16_t at = 0;
            for (champoper t; MyGet2champ(CalcRecordAt(lines, i), &t, &at), t.Kind() != 8;) {
                const uint8_t k = t.Kind();
                const int32_t textAt = k == 2 || k == 23 ? 4 : k == 9 || k == 11 || k == 26 || k == 35 || k == 36 ? 2 : 0;
                out.back().push_back(std::to_string(k) + ":" +
                                     (k == 1 ? std::to_string(t.Word(2)) : textAt ? P(t.Text(textAt)) : ""));
            }
        }
        x_effcalc(&lines, &count);
        return out;
    }
    // A constant or routine named in the token itself.
    static Bytes Named(uint8_t kind, const std::string& text)
    {
        docbuilder::ByteWriter w;
        w.U8(kind);
        w.U8(0);
        w.PaddedPString(text);
        return w.Take();
    }
    static Bytes Comment(const std::string& text)
    {
        docbuilder::ByteWriter w;
        w.U8(23);
        w.U8(0);
        w.U16(0);
        w.PaddedPString(text);
        return w.Take();
    }
};

using Toks = std::vector<std::vector<std::string>>;

TEST_F(ProcRewrite, CommentsEmptyButDirectivesStayByteForByte)
{
    const std::string directive = "%" + std::string(199, 'd');  // more than a token operand holds
    Method("M", 1, {Line({Comment("plain"), Tok(1, 1), Comment(directive)}), Line({Comment("")}), Line({Tok(1, 2)})});
    const Bytes before = Stored(1);
    EXPECT_EQ(RemoveCommentsInProc(1, doc_.fResFile), 0);
    const Bytes after = Stored(1);
    EXPECT_EQ(Tokens(1)[0][0], "23:");
    EXPECT_EQ(Tokens(1)[0][1], "1:1");
    // The directive is the line's tail: the bytes after the emptied comment
    // are the old ones moved up by the comment's lost length.
    const Bytes tail(before.begin() + 28 + 14, before.begin() + 28 + 14 + 206);
    const Bytes moved(after.begin() + 28 + 10, after.begin() + 28 + 10 + 206);
    EXPECT_EQ(moved, tail);
    EXPECT_EQ(after.size(), before.size() - 4);

    // Nothing left to empty: nothing is stored.
    const uint32_t stamp = xgetrestimestamp(xget1res(kCCQz, 1));
    EXPECT_EQ(RemoveCommentsInProc(1, doc_.fResFile), 0);
    EXPECT_EQ(Stored(1), after);
    EXPECT_EQ(xgetrestimestamp(xget1res(kCCQz, 1)), stamp);
}

TEST_F(ProcRewrite, CommandsBecomeLiteralsOrMethodCalls)
{
    struct Case {
        const char* what;
        std::function<int16_t()> run;
        Toks expected;
    };
    // (The field token's second word is 2 as well: only commands are renamed.)
    Method("M", 1, {Line({Tok(1, 684), Tok(4), Tok(1, 2), Tok(5)}), Line({Tok(1, 3), Tok(1, 684), FieldTok(2, 1)})});
    const std::string longName(90, 'n');
    const Case cases[] = {
        {"the current method's name",
         [&] { return RemoveCurrentMethodName(PName(longName), 1, doc_.fResFile); },
         {{"2:" + longName.substr(0, 81), "4:", "1:2", "5:"}, {"1:3", "2:" + longName.substr(0, 81), "3:"}}},
        // 'STR#' 8 item 2 is "QUERY"; the comparison is the kernel's.
        {"a command by name",
         [&] { return ReplaceCommand(PName("query"), PName(std::string(40, 'Q')), 1, doc_.fResFile); },
         {{"2:" + longName.substr(0, 81), "4:", "11:" + std::string(32, 'Q'), "5:"},
          {"1:3", "2:" + longName.substr(0, 81), "3:"}}},
        {"a command nobody calls", [&] { return ReplaceCommand(PName("ORDER"), PName("X"), 1, doc_.fResFile); },
         {{"2:" + longName.substr(0, 81), "4:", "11:" + std::string(32, 'Q'), "5:"},
          {"1:3", "2:" + longName.substr(0, 81), "3:"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(), 0) << c.what;
        EXPECT_EQ(Tokens(1), c.expected) << c.what;
    }
}

TEST_F(ProcRewrite, TextsAreReplacedInLiteralsAndCommentsOnly)
{
    const std::string literal(70, 'i'), comment(70, 'i');
    Method("M", 1, {Line({Tok(2, 0, "Invoice total"), Tok(9, 0, "Invoice"), Comment("per invoice and Invoice")}),
                    Line({Tok(2, 0, literal), Comment(comment)})});
    int32_t leftWhole = 0;
    EXPECT_EQ(ReplaceTxtInProc(PName("invoice"), PName("Bill"), 1, doc_.fResFile, &leftWhole), 0);
    EXPECT_EQ(Tokens(1), (Toks{{"2:Bill total", "9:Invoice", "23:per Bill and Bill"}, {"2:" + literal, "23:" + comment}}));
    EXPECT_EQ(leftWhole, 0);
    // A literal holds 81 characters, a comment 255: a text the replacement
    // would make longer is left whole and counted, never cut.
    EXPECT_EQ(ReplaceTxtInProc(PName("i"), PName("iiii"), 1, doc_.fResFile, &leftWhole), 0);
    EXPECT_EQ(Tokens(1),
              (Toks{{"2:Biiiill total", "9:Invoice", "23:per Biiiill and Biiiill"}, {"2:" + literal, "23:" + comment}}));
    EXPECT_EQ(leftWhole, 2);
}

TEST_F(ProcRewrite, NothingChangesWithoutLinesOrText)
{
    Method("Empty", 1, {});
    const Bytes before = Stored(1);
    EXPECT_EQ(RemoveCommentsInProc(1, doc_.fResFile), 0);
    EXPECT_EQ(ReplaceCommand(PName("QUERY"), PName("X"), 1, doc_.fResFile), 0);
    EXPECT_EQ(Stored(1), before);
    // A method without text: the loader's error, and no resource made.
    EXPECT_NE(RemoveCurrentMethodName(PName("x"), 77, doc_.fResFile), 0);
    EXPECT_TRUE(Stored(77).empty());
}

// All or nothing: a rewrite that fails at a later line's token stores
// nothing, not even the lines before it, and answers its error.
TEST_F(ProcRewrite, AWholeRewriteThatFailsStoresNothing)
{
    Method("M", 1, {Line({Comment("one")}), Line({Comment("two")})});
    const Bytes before = Stored(1);
    int16_t failure = 0;
    int32_t seen = 0;
    bool changed = true;
    const int16_t err = RewriteProcTokensWhole(
        1,
        [&](const champoper&, const uint8_t*, int32_t, std::vector<uint8_t>* out) {
            if (++seen == 2) failure = -108;
            out->clear();
            return true;
        },
        failure, &changed);
    EXPECT_EQ(err, -108);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Stored(1), before);
}

TEST_F(ProcRewrite, ALineThatCannotBeReadStaysAsItWas)
{
    // Kind 40 reads as an end of line: what follows it is kept, not lost.
    Method("M", 1, {Line({Comment("gone"), Bytes{40, 0}, Comment("kept")})});
    EXPECT_EQ(RemoveCommentsInProc(1, doc_.fResFile), 0);
    const Bytes after = Stored(1);
    const Bytes expected = Line({Comment(""), Bytes{40, 0}, Comment("kept")});
    EXPECT_EQ(Bytes(after.begin() + 28, after.end() - 2), expected);
}

// The method is rewritten in the container named, whichever is current,
// and the current one is current again afterwards.
TEST_F(ProcRewrite, TheContainerNamedIsRewrittenAndTheCurrentOneComesBack)
{
    Method("M", 1, {Line({Comment("gone")})});
    platform::FSSpec otherSpec;
    platform::FSMakeFSSpec(folder_ / "other.qzb", &otherSpec);
    const int16_t other = createres(otherSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    ASSERT_GT(other, 0);
    ASSERT_NE(other, doc_.fResFile);
    useres(other);
    EXPECT_EQ(RemoveCommentsInProc(1, doc_.fResFile), 0);
    EXPECT_EQ(xcurres(), other);
    useres(doc_.fResFile);
    EXPECT_EQ(Tokens(1), (Toks{{"23:"}}));
}

TEST_F(ProcRewrite, RenamingFollowsTheWalkOfTheLinks)
{
    TFileObjQz* customers = Table("Customers", 1, 10);
    TObjQz* called = Make(2, "Add_Tax", 2);
    TObjQz* m = Method("M", 1,
                       {Line({Tok(11, 0, "Add_Tax"), Tok(4), Tok(9, 0, "Sum"), Tok(5)}),
                        Line({Tok(26, 0, "Rate"), Tok(35, 0, "Rate"), Named(36, "VAT")}),
                        // Command 10's first parameter names a table, its second nothing.
                        Line({Tok(1, 10), Tok(4), Tok(2, 0, "Customers"), Tok(6), Tok(2, 0, "Customers"), Tok(5)}),
                        Line({Tok(2, 0, "Customers"), Tok(11, 0, "Sum")})});
    TObjQz* local = Make(9, "$Rate", 1);
    TObjQz* constant = Make(17, "VAT", 0);
    TObjQz* process = Make(9, "Sum", 2);
    const std::pair<TObjQz*, std::pair<const char*, const char*>> renames[] = {
        {called, {"Add_Tax", "Add_VAT"}}, {local, {"$Rate", "$Tax"}}, {process, {"Sum", "Total"}},
        {constant, {"vat", "Tax_Rate"}}, {customers, {"Customers", "Clients"}}};
    for (const auto& [renamed, names] : renames) {
        useres(doc_.fResFile);
        EXPECT_EQ(ReplaceInProc(PName(names.first), PName(names.second), renamed, nullptr, 1, m), 0) << names.second;
    }
    // Each took its own tokens only: the interprocess "Rate", the second
    // parameter, the literal outside a command and the call named "Sum" stay.
    EXPECT_EQ(Tokens(1), (Toks{{"11:Add_VAT", "4:", "9:Total", "5:"},
                               {"26:Tax", "35:Rate", "36:Tax_Rate"},
                               {"1:10", "4:", "2:Clients", "6:", "2:Customers", "5:"},
                               {"2:Customers", "11:Sum"}}));
}

}  // namespace
}  // namespace designtest
