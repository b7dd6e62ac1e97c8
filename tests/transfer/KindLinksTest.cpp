// After a copy, the copies of menu bars and menus name the destination's
// objects: a bar's entries the menus' counterparts (an entry without one
// goes), a menu's items the methods' counterparts, and the bars that use
// the menu link to them too.
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

struct Conflicts {
    Conflicts() { EXPECT_EQ(transfer::NewC_List(&list, 10), 0); }
    ~Conflicts() { transfer::DisposeC_List(list); }
    C_ListHdl list = nullptr;
};

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

    ASSERT_EQ(menu->Parse_Link(Src(6, "M"), conflicts.list), 0);
    const Bytes items = StoreRes(&dest_, FourCC("MENQ"), menu->id);
    ASSERT_GE(items.size(), 24u + 2 * 86);
    EXPECT_EQ(readtest::P(&items[24 + 32]), "Go_2");
    EXPECT_EQ(items[24 + 86 + 32], 0);  // the second item runs no method
    EXPECT_EQ(Uses(menu), (std::set<std::string>{"2:Go_2"}));
    EXPECT_EQ(Uses(bar), (std::set<std::string>{"6:M", "2:Go_2"}));

    // What was linked is on disk, and the source's records are as they were.
    ReopenDest();
    EXPECT_EQ(StoreRes(&dest_, FourCC("BAQz"), bar->id), linked);
    EXPECT_EQ(StoreRes(&doc_, FourCC("BAQz"), Src(5, "A")->id), sourceBar);
    EXPECT_EQ(StoreRes(&doc_, FourCC("MENQ"), 1), sourceMenu);
}

}  // namespace
}  // namespace transfertest
