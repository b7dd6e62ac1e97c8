// Methods link what their tokens name; the token access and the textual
// references behind it.
#include "design/links/TokenAccess.h"
#include "forms/calc/CalcBlob.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using docbuilder::Bytes;

class MethodParse : public ParseFixture {
protected:
    TObjQz* Method(const std::string& name, int16_t id, const std::vector<Bytes>& lines)
    {
        TObjQz* m = Make(2, name, id);
        AddStored(platform::FourCC("CCQz"), id, docbuilder::MethodBlob(lines));
        return m;
    }
};

TEST_F(MethodParse, TokensLinkInTokenOrder)
{
    TFileObjQz* t1 = Table("T1", 1, 10);
    TObjQz* f1 = Field(t1, "f1", 1);
    TObjQz* m2 = Make(2, "M2", 2);
    AddStored(platform::FourCC("QzK#"), 200, docbuilder::StringList({"NAME:42"}));
    TObjQz* m1 = Method("M1", 1,
                        {Line({Tok(1, 5), Tok(9, 0, "v"), Tok(26, 0, "i")}),
                         Line({Tok(35, 0, "g"), Tok(11, 0, "M2"), Tok(36, 200, "", 0, 1), FieldTok(1, 1)})});
    EXPECT_EQ(m1->Parse(), 0);
    EXPECT_EQ(Uses(m1), (std::vector<std::string>{"3:" + P(SearchObj_Id(&doc_, 3, 5)->name), "9:v", "9:$i",
                                                  "9:<>g", "2:M2", "17:NAME", "28:f1"}));
    EXPECT_EQ(m1->uses->At(1)->id, 1);
    EXPECT_EQ(m1->uses->At(3)->id, 2);
    TObjQz* local = m1->uses->At(2);
    EXPECT_EQ(local->id, 1);
    EXPECT_TRUE(IsInList(static_cast<TGnlProcObjQz*>(m1)->locals, local));
    EXPECT_FALSE(IsInList(List(9), local));
    EXPECT_EQ(P(static_cast<TConstantObjQz*>(m1->uses->At(5))->value), "42");
    EXPECT_TRUE(Linked(m1, m2));
    EXPECT_TRUE(Linked(m1, f1));
    // Parsed once: a second parse changes nothing.
    EXPECT_EQ(m1->Parse(), 0);
    EXPECT_EQ(m1->uses->Size(), 7);
}

TEST_F(MethodParse, TableAloneBecomesTheCurrentTable)
{
    TFileObjQz* t1 = Table("T1", 1, 10);
    TFileObjQz* t2 = Table("T2", 2, 11);
    TLayoutObjQz* formOf1 = Form(t1, "Entry", 30);
    TLayoutObjQz* formOf2 = Form(t2, "Entry", 31);
    // Command 8 takes a form of the current table.
    TObjQz* m = Method("M", 1, {Line({FieldTok(0, 2), Tok(1, 8), Tok(4), Tok(2, 0, "Entry"), Tok(5)})});
    static_cast<TGnlProcObjQz*>(m)->table = t1;
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_TRUE(Linked(m, t2));
    EXPECT_TRUE(Linked(m, formOf2));
    EXPECT_FALSE(Linked(m, formOf1));
    EXPECT_TRUE(Linked(SearchObj_Id(&doc_, 3, 8), formOf2));
}

TEST_F(MethodParse, LiteralParametersNameObjects)
{
    TObjQz* m3 = Make(2, "M3", 3);
    TObjQz* bold = Make(12, "Bold", 1);
    TObjQz* m = Method("M", 1,
                       {Line({Tok(1, 7), Tok(4), Tok(2, 0, "M3"), Tok(5)}), Line({Tok(1, 396), Tok(4), Tok(5)}),
                        Line({Tok(1, 641), Tok(4), Tok(2, 0, ""), Tok(5)}), Line({Tok(1, 646), Tok(4), Tok(5)}),
                        Line({Tok(1, 656), Tok(4), Tok(5)}),
                        // A style sheet is named behind its mark.
                        Line({Tok(1, 12), Tok(4), Tok(2, 0, "*Bold"), Tok(5)}),
                        // A literal outside parameter mode names nothing.
                        Line({Tok(2, 0, "M9")})});
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_TRUE(Linked(m, m3));
    EXPECT_TRUE(Linked(m, bold));
    EXPECT_TRUE(Linked(SearchObj_Id(&doc_, 3, 7), m3));
    TObjQz* userSet = SearchObj_Name(&doc_, 13, PName("UserSet"));
    ASSERT_NE(userSet, nullptr);
    EXPECT_TRUE(Linked(m, userSet));
    for (int16_t command : {396, 641, 646, 656}) EXPECT_TRUE(Linked(SearchObj_Id(&doc_, 3, command), userSet)) << command;
}

TEST_F(MethodParse, NumberParametersNameMenuBarsBySlot)
{
    TObjQz* bar = Make(5, "Bar", 3);
    AddStored(platform::FourCC("LIBA"), 0, {0, 2, 0xFF, 0xFF, 0, 3});
    // A real that is not a number, an empty slot, then slot 2.
    const Bytes notANumber = {2, 0, 1, 0, 0x7F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    TObjQz* m = Method("M", 1,
                       {Line({Tok(1, 9), Tok(4), notANumber, Tok(5)}), Line({Tok(1, 9), Tok(4), Tok(2, 1, "", 9), Tok(5)}),
                        Line({Tok(1, 9), Tok(4), Tok(2, 2, "", 9), Tok(5)})});
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_EQ(Uses(m).size(), 2u);
    EXPECT_TRUE(Linked(m, bar));
}

TEST_F(MethodParse, WithoutTheParameterBitsNoParameterIsRead)
{
    ResetPreferences();  // no 'xPRM' in memory
    Make(2, "M3", 3);
    TObjQz* m = Method("M", 1, {Line({Tok(1, 7), Tok(4), Tok(2, 0, "M3"), Tok(5)}), Line({Tok(1, 396), Tok(4), Tok(5)})});
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_EQ(Uses(m).size(), 2u);  // the two commands only
    EXPECT_EQ(SearchObj_Name(&doc_, 13, PName("UserSet")), nullptr);
}

TEST_F(MethodParse, ATokenLongerThanItsLineEndsTheLine)
{
    Bytes overlong = Tok(9, 0, "v");
    overlong[2] = 200;  // a name claiming more bytes than the line holds
    TObjQz* m = Method("M", 1, {Line({Tok(9, 0, "a"), overlong, Tok(9, 0, "b")}), Line({Tok(9, 0, "c")})});
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_EQ(Uses(m), (std::vector<std::string>{"9:a", "9:c"}));
}

TEST_F(MethodParse, AMethodWithoutTokensLinksNothing)
{
    TObjQz* m = Make(2, "Empty", 4);
    EXPECT_EQ(m->Parse(), 0);
    EXPECT_EQ(m->uses, nullptr);
}

TEST_F(MethodParse, ParametersAndPlugInRoutinesLink)
{
    TObjQz* routine = Make(8, "Beep", 1);
    TObjQz* m = Method("M", 1, {Line({Tok(13, 2), Tok(13, -1), Tok(22, 20000, "", 0, 2)})});
    EXPECT_EQ(m->Parse(), 0);
    // String 2 of the routine list 'STR#' 20000 is "two": no such routine.
    EXPECT_EQ(Uses(m), (std::vector<std::string>{"9:$2", "9:$"}));
    (void)routine;
}

TEST(TokenText, StringReferences)
{
    auto p = [](const std::string& s) { return PName(s); };
    int16_t id = 0, index = 0;
    EXPECT_TRUE(GetStrIndex(p(":12,3"), &id, &index));
    EXPECT_EQ(id, 12);
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(GetStrIndex(p(":12,"), &id, &index));
    EXPECT_FALSE(GetStrIndex(p(":12"), &id, &index));
    EXPECT_FALSE(GetStrIndex(p("12,3"), &id, &index));
    unsigned char out[256];
    GetQzResStr(out, p("12,3"));
    EXPECT_EQ(P(out), "12,3");
}

TEST_F(MethodParse, ConstantNamesAndStringLists)
{
    AddStored(platform::FourCC("QzK#"), 201, docbuilder::StringList({"PI:3.14:real", "BARE"}));
    const unsigned char first[] = {5, 2, 0, 201, 0, 1}, second[] = {5, 2, 0, 201, 0, 2}, beyond[] = {5, 2, 0, 201, 0, 3};
    unsigned char name[256], value[256];
    calcconstname(name, value, first);
    EXPECT_EQ(P(name), "PI");
    EXPECT_EQ(P(value), "3.14");
    calcconstname(name, value, second);
    EXPECT_EQ(P(name), "BARE");
    EXPECT_EQ(P(value), "");
    calcconstname(name, value, beyond);
    EXPECT_EQ(P(name), "");
    GetQzResStr(name, PName(":20000,3"));
    EXPECT_EQ(P(name), "three");
    // A plug-in call with no bundle resource keeps its list id.
    const unsigned char call[] = {5, 2, 0x4E, 0x20, 0, 2};
    int16_t list = 0, routine = 0;
    EXPECT_TRUE(GetExtProcIndex(name, call, &list, &routine));
    EXPECT_EQ(list, 20000);
    EXPECT_EQ(routine, 2);
    EXPECT_EQ(P(name), "#20000;2#");
}

// Blobs as the object-method store reads them.
TEST_F(MethodParse, BlobsReadRecordByRecord)
{
    Bytes blob = docbuilder::MethodBlob({Line({Tok(1, 5)}), Line({Tok(9, 0, "v")})});
    blob[8] = 0xFF, blob[9] = 0xFE;  // count -2: two records
    AddStored(platform::FourCC("CCQz"), 50, blob);
    int16_t count = 0, err = 0;
    platform::Handle lines = x_getcalc(50, &count, nullptr, &err);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(count, -2);
    champoper token;
    int16_t position = 0;
    x_gettoken(CalcRecordAt(lines, 1), &token, &position);
    EXPECT_EQ(token.Kind(), 9);
    EXPECT_EQ(position, 4);
    // At the end: an end of line, the position kept.
    MyGet2champ(CalcRecordAt(lines, 1), &token, &position);
    EXPECT_EQ(token.Kind(), kEndOfLineKind);
    EXPECT_EQ(position, 4);
    x_effcalc(&lines, &count);
    EXPECT_EQ(lines, nullptr);

    // The second record claims more than remains.
    Bytes cut = docbuilder::MethodBlob({Line({Tok(1, 5)}), Line({Tok(1, 6)})});
    cut.resize(cut.size() - 3);
    AddStored(platform::FourCC("CCQz"), 51, cut);
    EXPECT_EQ(x_getcalc(51, &count, nullptr, &err), nullptr);
    EXPECT_EQ(err, -1);
    // That error is not the next read's.
    lines = x_getcalc(50, &count, nullptr, &err);
    EXPECT_NE(lines, nullptr);
    EXPECT_EQ(err, 0);
    x_effcalc(&lines, &count);
}

// Texts of lists and the commands' parameter table, outside what they hold.
TEST_F(MethodParse, ListTextsAndCommandBitsPastTheirEndsAreEmpty)
{
    unsigned char out[256] = {3, 'x', 'y', 'z'};
    gsK(out, nullptr, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_FALSE(CommandHasParameters(32767));
    EXPECT_FALSE(CommandHasParameters(-1));
}

TEST_F(MethodParse, CommentMethodStoresOneLine)
{
    const std::string text(100, 'c');
    ASSERT_EQ(NewCCQz_Comment(PName(text)), 0);
    useres(doc_.fResFile);
    platform::Handle stored = xgetindres(platform::FourCC("CCQz"), 1, false);
    ASSERT_NE(stored, nullptr);
    int16_t id = 0;
    ResType type = 0;
    xgetresinfo(stored, &id, &type);
    int16_t count = 0, err = 0;
    platform::Handle lines = x_getcalc(id, &count, nullptr, &err);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(count, 1);
    champoper token;
    int16_t position = 0;
    x_gettoken(CalcRecordAt(lines, 0), &token, &position);
    EXPECT_EQ(token.Kind(), 23);
    EXPECT_EQ(P(token.Text(4)), std::string(81, 'c'));
    x_effcalc(&lines, &count);
}

TEST_F(MethodParse, BuilderMethodsReadTokenForToken)
{
    // The fourth is a long constant whose pad byte reads as the real sub-kind.
    const std::vector<Bytes> tokens = {Tok(0, 0, "", 3), Tok(1, 5), Tok(2, 0, "text"), Bytes{2, 0, 9, 1, 0, 0, 0, 7},
                                       Tok(2, 0, "", 9), Tok(2, 0, "", 25), Tok(4), Tok(5), Tok(6), Tok(9, 0, "v"),
                                       Tok(11, 0, "M"),
                                       Tok(13, 1), Tok(22, 1, "", 0, 2), Tok(23, 0, "note"), Tok(26, 0, "l"),
                                       Tok(35, 0, "g"), Tok(36, 1, "", 0, 1), FieldTok(2, 1, {3})};
    Bytes line;
    for (const Bytes& t : tokens) line.insert(line.end(), t.begin(), t.end());
    AddStored(platform::FourCC("CCQz"), 60, docbuilder::MethodBlob({line}));
    int16_t count = 0, err = 0;
    platform::Handle lines = x_getcalc(60, &count, nullptr, &err);
    ASSERT_NE(lines, nullptr);
    int16_t position = 0;
    for (const Bytes& expected : tokens) {
        champoper token;
        const int16_t before = position;
        MyGet2champ(CalcRecordAt(lines, 0), &token, &position);
        EXPECT_EQ(token.Kind(), expected[0]);
        EXPECT_EQ(position - before, int16_t(expected.size())) << int(expected[0]);
    }
    champoper end;
    MyGet2champ(CalcRecordAt(lines, 0), &end, &position);
    EXPECT_EQ(end.Kind(), kEndOfLineKind);
    x_effcalc(&lines, &count);
}

}  // namespace
}  // namespace designtest
