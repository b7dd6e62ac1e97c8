// After a copy, the copies of menu bars and menus name the destination's
// objects: a bar's entries the menus' counterparts (an entry without one
// goes), a menu's items the methods' counterparts and their texts the
// string lists' copies, and the bars that use the menu link to them too.
#include "app/dialogs/WaitDialog.h"
#include "platform/core/Endian.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
method Go id 30
  comment "go"
menu N id 2
  item "x"
menu M id 1
  item "Go" method Go
  item "Plain"
menubar A
  menu N
  menu M
)";

const char* kDepot = R"(structure Depot
method Go id 5
  comment "mine"
menu Other id 1
  item "o"
)";

class KindLinksTest : public CopyFixture {
protected:
    TObjQz* Copy(TObjQz* source, C_ListHdl list)
    {
        TObjQz* made = nullptr;
        EXPECT_EQ(source->Move(&dest_, list, &made), 0);
        EXPECT_NE(made, nullptr);
        return made;
    }
};

// Bar A lists N then M; only M and Go (renamed) were copied. The copy's bar keeps
// one entry, M's copy by its new id; its menu names Go's copy; the bar
// that uses the menu links to Go's copy too; the source is untouched.
TEST_F(KindLinksTest, ABarAndItsMenuNameTheCopies)
{
    BuildPair(kShop, kDepot);
    Conflicts conflicts;
    TObjQz* bar = Copy(Src(5, "A"), conflicts.list);
    TObjQz* menu = Copy(Src(6, "M"), conflicts.list);
    TConflict* renamed = nullptr;
    ASSERT_EQ(transfer::RecordConflict(Src(2, "Go"), Dst(2, "Go"), 6, 1, conflicts.list, &renamed), 0);
    TObjQz* go = Copy(Src(2, "Go"), conflicts.list);
    ASSERT_TRUE(bar && menu && go);
    EXPECT_EQ(readtest::P(go->name), "Go_2");
    const Bytes sourceBar = StoreRes(&doc_, FourCC("BAQz"), Src(5, "A")->id);
    const Bytes sourceMenu = StoreRes(&doc_, FourCC("MENQ"), 1);

    ASSERT_EQ(bar->Parse_Link(Src(5, "A"), conflicts.list), 0);
    const Bytes linked = StoreRes(&dest_, FourCC("BAQz"), bar->id);
    ASSERT_EQ(linked.size(), sourceBar.size() - 6);
    EXPECT_EQ(platform::ReadBES16(&linked[0]), 1);
    EXPECT_EQ(platform::ReadBES16(&linked[12]), menu->id);
    EXPECT_NE(menu->id, 1);
    EXPECT_EQ(Uses(bar), (std::set<std::string>{"6:M"}));
    // The size the browser shows is the bar's as linked.
    EXPECT_EQ(bar->GetSize(), linked.size());

    ASSERT_EQ(menu->Parse_Link(Src(6, "M"), conflicts.list), 0);
    const Bytes items = StoreRes(&dest_, FourCC("MENQ"), menu->id);
    ASSERT_GE(items.size(), 24u + 2 * 86);
    EXPECT_EQ(readtest::P(&items[24 + 32]), "Go_2");
    EXPECT_EQ(items[24 + 86 + 32], 0);  // the second item runs no method
    EXPECT_EQ(Uses(menu), (std::set<std::string>{"2:Go_2"}));
    EXPECT_EQ(Uses(bar), (std::set<std::string>{"6:M", "2:Go_2"}));

    // What was linked is on disk, and the source's records are as they were.
    const int16_t barId = bar->id;
    ReopenDest();
    EXPECT_EQ(StoreRes(&dest_, FourCC("BAQz"), barId), linked);
    EXPECT_EQ(StoreRes(&doc_, FourCC("BAQz"), Src(5, "A")->id), sourceBar);
    EXPECT_EQ(StoreRes(&doc_, FourCC("MENQ"), 1), sourceMenu);
}

// While linking, the wait dialog names the copy being linked ('STR#' 1011
// item 7 and its full name); after Stop each kind gives 1001 and links
// nothing.
TEST_F(KindLinksTest, LinkingNamesTheCopyAndStopsOnStop)
{
    const std::string source = std::string(kShop) + "table T\n  field F longint\n  form Plain iff\n    field F\n"
                                                    "group G\n";
    BuildPair(source, std::string(kDepot) + "table T\n  field F longint\n");
    Conflicts conflicts;
    TConflict* table = nullptr;
    ASSERT_EQ(transfer::RecordConflict(Src(1, "T"), Dst(1, "T"), 0, 4, conflicts.list, &table), 0);
    auto* t = dynamic_cast<TFileObjQz*>(Src(1, "T"));
    ASSERT_TRUE(t && t->forms && t->forms->Size() == 1);
    TObjQz* form = t->forms->At(0);
    struct Case {
        TObjQz* source;
        bool message;  // the wait dialog's last message names the copy
    };
    const Case cases[] = {{form, true}, {Src(23, "G"), true}, {Src(2, "Go"), false}, {Src(6, "M"), true},
                          {Src(5, "A"), true}};
    for (const Case& c : cases) {
        ASSERT_NE(c.source, nullptr);
        TObjQz* made = Copy(c.source, conflicts.list);
        ASSERT_NE(made, nullptr);
        SCOPED_TRACE(readtest::P(made->name));
        const Bytes before = StoreRes(&dest_, made->GetOwnResType(), made->kind == 24 ? static_cast<TLayoutObjQz*>(made)->formResId : made->id);
        for (const bool stop : {true, false}) {
            WaitParamRec wait;
            SetWaitDialog(&wait, 1, nullptr, 0, 100, 281, -1);
            ASSERT_NE(wait.dialog, nullptr);
            wait.showMessage = 1;
            wait.cancelled = stop ? 1 : 0;
            G_WaitParam = &wait;
            EXPECT_EQ(made->Parse_Link(c.source, conflicts.list), stop ? kCancelledByUser : 0) << stop;
            G_WaitParam = nullptr;
            if (stop) {
                EXPECT_EQ(Uses(made), std::set<std::string>{});
                EXPECT_EQ(StoreRes(&dest_, made->GetOwnResType(),
                                   made->kind == 24 ? static_cast<TLayoutObjQz*>(made)->formResId : made->id),
                          before);
            } else if (c.message) {
                unsigned char line[256], full[256];
                MyGetIndString(line, 1011, 7);
                made->GetFullName(full);
                EXPECT_EQ(readtest::P(wait.message), readtest::P(line) + " " + readtest::P(full));
            }
            ReSetWaitDialog(&wait);
        }
    }
}

// The destination holds a list of the id 15000: the source's list comes
// under a new id, and everything that names it there names that id: the
// form's static text, the method's parameter of a routine taking a list,
// the menu's item (and so its bar). Nothing is said to be left behind.
TEST_F(KindLinksTest, EveryReferenceToAListCopiedUnderANewIdNamesThatId)
{
    BuildPair(R"shop(structure Shop
strings Texts id 15000
  "a"
  "b"
package Tools id 15010
  routine "Say(&S)"
eprm 15010
  routine 1 1 15
method Speak id 30
  plugin 15010 1 ( "15000" )
table T
  field F longint
  form Card iff
    text ":15000,1"
menu M id 1
  item ":15000,2"
menubar A
  menu M
)shop",
              "structure Depot\nstrings Other id 15000\n  \"x\"\n");
    const std::set<std::string> texts{"11:Texts"};
    for (TObjQz* user : {Src(2, "Speak"), static_cast<TObjQz*>(FormOf(&doc_, "T", "Card")), Src(5, "A")})
        ASSERT_TRUE(user && Uses(user).count("11:Texts")) << (user ? readtest::P(user->name) : "");
    platform::PushDialogAnswer(1);
    ASSERT_EQ(Drop({Src(11, "Texts"), Src(2, "Speak"), Src(1, "T"), FormOf(&doc_, "T", "Card"), Src(5, "A")}), 0);
    EXPECT_EQ(AlertCount(), 0) << LastAlert().text;
    auto held = [&] {
        std::vector<std::set<std::string>> uses;
        for (TObjQz* user : {Dst(2, "Speak"), static_cast<TObjQz*>(FormOf(&dest_, "T", "Card")), Dst(5, "A")}) {
            EXPECT_NE(user, nullptr);
            uses.push_back(Uses(user));
        }
        return uses;
    };
    const std::vector<std::set<std::string>> before = held();
    ReopenDest();
    EXPECT_EQ(held(), before);
    ASSERT_NE(Dst(11, "Texts"), nullptr);
    EXPECT_EQ(Dst(11, "Texts")->id, 15001);
    for (const std::set<std::string>& uses : before) EXPECT_EQ(uses.count("11:Texts"), 1u);
    TObjQz* menu = Dst(6, "M");
    ASSERT_NE(menu, nullptr);
    const Bytes items = StoreRes(&dest_, FourCC("MENQ"), menu->id);
    ASSERT_GE(items.size(), 24u + 86);
    EXPECT_EQ(readtest::P(&items[24]), ":15001,2");
}

}  // namespace
}  // namespace transfertest
