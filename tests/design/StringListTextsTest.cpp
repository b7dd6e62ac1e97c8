// Literal texts moved into a string list: the reference each takes, a
// text met again keeping its item, the list full at 256 items going on in
// a new list at the first free id above it, and references read back.
#include "forms/walkers/FormRewriters.h"
#include "design/links/XRef.h"
#include "design/rename/TextLists.h"
#include "design/text/MethodTextSupport.h"
#include "platform/resfiles/Resources.h"
#include "tests/design/MethodTextFixture.h"

namespace readtest {
namespace {

class StringListTexts : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
        table_ = platform::NewHandleClear(2);
    }
    void TearDown() override
    {
        platform::DisposeHandle(table_);
        MethodTextFixture::TearDown();
    }
    // The item count of 'STR#' `id` of the companion; -1 when it is missing.
    int32_t Count(int16_t id)
    {
        CompanionCurrent companion(&doc_);
        platform::Handle list = platform::Get1Resource(platform::FourCC("STR#"), id);
        if (!list || !*list || platform::GetHandleSize(list) < 2) return -1;
        return uint8_t((*list)[0]) << 8 | uint8_t((*list)[1]);
    }
    // The text after DoItTxtStr, and whether it said it changed.
    std::pair<std::string, bool> Convert(TObjQz* user, const std::string& text, TObjQz** strObj)
    {
        unsigned char t[256];
        apptest::ToP(text, t);
        bool changed = false;
        EXPECT_EQ(user->DoItTxtStr(t, strObj, table_, &changed), 0) << text;
        return {P(t), changed};
    }
    platform::Handle table_ = nullptr;
};

TEST_F(StringListTexts, EachTextTakesAnItemOnceAndAFullListGoesOnInTheNext)
{
    TObjQz* user = Method("Recalculate");
    TObjQz* strObj = Find(11, "Invoice_Texts");
    ASSERT_NE(strObj, nullptr);
    ASSERT_EQ(strObj->id, 15000);
    ASSERT_EQ(Count(15000), 3);
    ASSERT_EQ(Count(15001), -1);
    struct Case {
        std::string text, after;
        bool changed;
    } cases[] = {
        {"", "", false},                  // empty: stays
        {":15000,1", ":15000,1", false},  // a reference already
        {"_Private", "_Private", false},  // a name, not a text
        {"Hello", ":15000,4", true},
        {"World", ":15000,5", true},
        {"Hello", ":15000,4", true},  // met again: its item
    };
    for (const Case& c : cases) EXPECT_EQ(Convert(user, c.text, &strObj), std::make_pair(c.after, c.changed)) << c.text;
    EXPECT_EQ(Count(15000), 5);
    // Up to the 256th item the list takes them (exact fit) ...
    for (int i = 6; i <= 256; ++i) ASSERT_EQ(Convert(user, "t" + std::to_string(i), &strObj).first, ":15000," + std::to_string(i));
    EXPECT_EQ(Count(15000), 256);
    EXPECT_EQ(strObj->id, 15000);
    // ... the next goes into a new list of the same name, now in use.
    EXPECT_EQ(Convert(user, "t257", &strObj).first, ":15001,1");
    EXPECT_EQ(strObj->id, 15001);
    EXPECT_EQ(strObj->kind, 11);
    EXPECT_EQ(P(strObj->name), "Invoice_Texts");
    EXPECT_EQ(Count(15001), 1);
    EXPECT_EQ(Count(15000), 256);
    // References read back.
    CompanionCurrent companion(&doc_);
    struct Back {
        std::string ref, text;
        bool found;
    } backs[] = {
        {":15000,4", "Hello", true}, {":15000,1", "Invoice", true}, {":15000,256", "t256", true},
        {":15001,1", "t257", true},  {":15001,2", "", false},       {":15000,0", "", false},
        {"Hello", "", false},
    };
    for (const Back& b : backs) {
        unsigned char ref[256], out[256] = {0};
        apptest::ToP(b.ref, ref);
        EXPECT_EQ(ListItemText(ref, out), b.found) << b.ref;
        if (b.found) {
            EXPECT_EQ(P(out), b.text) << b.ref;
        }
    }
    // A list object whose list the companion does not hold takes no text.
    const unsigned char name[] = {4, 'G', 'o', 'n', 'e'};
    TObjQz* gone = NewObj_Id(&doc_, 11, name, 15999, false);
    ASSERT_NE(gone, nullptr);
    unsigned char text[] = {3, 'a', 'b', 'c'};
    EXPECT_EQ(user->DoItTxtStr(text, &gone, nullptr, nullptr), platform::memFullErr);
}

// A menu's item texts into the list and back: references while in the
// list, then the menu byte for byte as it was, its name its title again.
TEST_F(StringListTexts, AMenusTextsGoIntoTheListAndComeBackByteForByte)
{
    TObjQz* menu = SearchObj_Id(&doc_, 6, 2);
    ASSERT_NE(menu, nullptr);
    TObjQz* strObj = Find(11, "Invoice_Texts");
    const Bytes before = Stored(FourCC("MENQ"), 2);
    const std::string name = P(menu->name);
    const platform::Handle outer = G_StrArrHdl;
    G_StrArrHdl = table_;
    const int16_t err = menu->TxtToStr(&strObj);
    G_StrArrHdl = outer;
    ASSERT_EQ(err, 0);
    EXPECT_EQ(Count(15000), 6);  // the title and both items
    EXPECT_NE(Stored(FourCC("MENQ"), 2), before);
    // Its bars use the list, as a read links them; the menu itself not.
    EXPECT_FALSE(IsInList(menu->uses, strObj));
    ASSERT_EQ(menu->StrToTxt(), 0);
    EXPECT_EQ(Stored(FourCC("MENQ"), 2), before);
    EXPECT_EQ(P(menu->name), name);
    EXPECT_FALSE(IsInList(menu->uses, strObj));
}

}  // namespace
}  // namespace readtest
