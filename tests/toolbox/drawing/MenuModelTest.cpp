// Text menus built from 'XMNU' resources: the reader's bounds, the item
// classes, submenus and their cycles, and the choices sent up the chain.
#include <gtest/gtest.h>

#include "platform/menus/Menus.h"
#include "tests/toolbox/drawing/MenuTestSupport.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VCustomMenu.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/drawing/XmnuResource.h"
#include "tests/toolbox/drawing/ResFileFixture.h"

using namespace menutest;

namespace {

class MenuModelTest : public ::testing::Test {
protected:
    void SetUp() override { platform::ResetResourceManager(); }
    void TearDown() override { platform::ResetResourceManager(); }
    std::unique_ptr<VTextMenu> Build(std::vector<platform::ResourceImage> resources, int16_t id = 128)
    {
        file = std::make_unique<ResFile>(resources);
        return std::make_unique<VTextMenu>(commands.Owner(), nullptr, 0, file->get(), id);
    }
    Commands commands;
    std::unique_ptr<ResFile> file;
};

TEST(XmnuReader, BelievesOnlyTheBytesItHas)
{
    // The count claims 5 items; the bytes hold 2 and a half.
    std::vector<uint8_t> b = Xmnu("Menu", 7, {{"One"}, {"Two"}}, 5);
    b.resize(b.size() + 20, 0);
    XmnuMenu m;
    ReadXmnu(b.data(), b.size(), m);
    EXPECT_EQ(m.command, 7);
    EXPECT_EQ(m.items.size(), 2u);

    // Each item field from its own bytes: the reserved word too.
    b = Xmnu("x", 0, {{"y", "TEXT", 0x01020304, 0x80, 7, 9}});
    b[38 + 34] = 0x12, b[38 + 35] = 0x34;
    ReadXmnu(b.data(), b.size(), m);
    ASSERT_EQ(m.items.size(), 1u);
    EXPECT_EQ(m.items[0].iconID, 9);
    EXPECT_EQ(m.items[0].reserved, 0x1234);
    EXPECT_EQ(m.items[0].command, 0x01020304);
    EXPECT_EQ(m.items[0].flags, 0x80);
    EXPECT_EQ(m.items[0].argument, 7);

    // Length bytes past the field are clamped to 31.
    b = Xmnu("x", 0, {{"y"}});
    b[0] = 200;
    b[38] = 255;
    ReadXmnu(b.data(), b.size(), m);
    EXPECT_EQ(m.title[0], 31);
    EXPECT_EQ(m.items.at(0).title[0], 31);

    // Shorter than the header: nothing at all; a negative count: no items.
    b = Xmnu("Menu", 9, {});
    ReadXmnu(b.data(), 37, m);
    EXPECT_EQ(m.title[0], 0);
    EXPECT_EQ(m.command, 0);
    b = Xmnu("Menu", 9, {{"One"}}, 0xFFFD);  // -3
    ReadXmnu(b.data(), b.size(), m);
    EXPECT_EQ(m.command, 9);
    EXPECT_TRUE(m.items.empty());
}

TEST_F(MenuModelTest, EveryKindMakesItsClassInOrder)
{
    for (int32_t n : {1, 2, 3, 4, 5, 6, 7}) commands.Add(n);
    auto menu = Build({Res("XMNU", 128,
                           Xmnu("Edit", 1,
                                {{"Text", "TEXT", 2, 0x80, -2},
                                 {"", "LINE"},
                                 {"Odd", "ODD!", 3},
                                 {"Name", "NAME", 3, 0, 12},
                                 {"Colours", "HCOL", 4},
                                 {"Patterns", "HPAT", 5},
                                 {"Fonts", "FONT", 6},
                                 {"Fonts too", "FNTT", 6},
                                 {"abc", "HIER", 7}})),
                       Res("STR#", 1000, drawingtest::StrList({"a", "b", "c", "Fourth"}))});
    EXPECT_EQ(Text(menu->GetTitle()), "Edit");
    EXPECT_EQ(menu->GetVCommand(), commands.Ref(1));
    ASSERT_EQ(menu->GetItemsCount(), 8);  // the unknown kind is skipped
    auto* text = dynamic_cast<VMenuItemText*>(menu->GetNthItem(1));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->IsSwitch());
    EXPECT_EQ(text->GetArgument(), -2);  // widened with its sign
    EXPECT_TRUE(menu->GetNthItem(2)->IsALine());
    EXPECT_FALSE(menu->GetNthItem(2)->IsEnabled());
    EXPECT_NE(dynamic_cast<VMenuItemName*>(menu->GetNthItem(3)), nullptr);
    EXPECT_EQ(menu->GetNthItem(3)->GetArgument(), 12);
    EXPECT_NE(dynamic_cast<VMenuItemSubColor*>(menu->GetNthItem(4)), nullptr);
    EXPECT_NE(dynamic_cast<VMenuItemSubPattern*>(menu->GetNthItem(5)), nullptr);
    EXPECT_NE(dynamic_cast<VMenuItemSubFont*>(menu->GetNthItem(6)), nullptr);
    EXPECT_NE(dynamic_cast<VMenuItemSubFont*>(menu->GetNthItem(7)), nullptr);
    // "abc" reads as id 0: an empty submenu.
    auto* hier = dynamic_cast<VMenuItemSubText*>(menu->GetNthItem(8));
    ASSERT_NE(hier, nullptr);
    ASSERT_NE(hier->GetSubMenu(), nullptr);
    EXPECT_EQ(hier->GetSubMenu()->GetItemsCount(), 0);
    // The grid and font submenus are made when first needed, by kind.
    EXPECT_NE(dynamic_cast<VColorMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(4))->BuildSubMenu(nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<VPatternMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(5))->BuildSubMenu(nullptr)), nullptr);
    EXPECT_NE(dynamic_cast<VFontMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(6))->BuildSubMenu(nullptr)), nullptr);
}

TEST_F(MenuModelTest, TitlesComeFromStringListsAndEmptyResourcesKeepTheirHeader)
{
    commands.Add(5);
    auto menu = Build({Res("XMNU", 128, Xmnu(":1000,4", 5, {{":1000,2", "TEXT", 5}})),
                       Res("STR#", 1000, drawingtest::StrList({"a", "b", "c", "Fourth"})),
                       Res("XMNU", 129, Xmnu("Empty", 5, {}))});
    EXPECT_EQ(Text(menu->GetTitle()), "Fourth");
    VStr<255> title;
    menu->GetNthItem(1)->GetTitle(title);
    EXPECT_EQ(Text(title), "b");
    VTextMenu empty(commands.Owner(), nullptr, 0, file->get(), 129);
    EXPECT_EQ(empty.GetItemsCount(), 0);
    EXPECT_EQ(Text(empty.GetTitle()), "Empty");
    EXPECT_EQ(empty.GetVCommand(), commands.Ref(5));
    // A missing resource leaves an empty menu.
    VTextMenu missing(commands.Owner(), nullptr, 0, file->get(), 300);
    EXPECT_EQ(missing.GetItemsCount(), 0);
}

TEST_F(MenuModelTest, SubmenusThatNameTheirOwnMenusEndEmpty)
{
    commands.Add(1);
    // 128 opens 129, which opens 128 again and itself.
    auto menu = Build({Res("XMNU", 128, Xmnu("Top", 1, {{"129", "HIER", 1}, {"Leaf", "TEXT", 1}})),
                       Res("XMNU", 129, Xmnu("Mid", 1, {{"128", "HIER", 1}, {"129", "HIER", 1}, {"x", "TEXT", 1}}))});
    ASSERT_EQ(menu->GetItemsCount(), 2);
    auto* mid = static_cast<VMenuItemSub*>(menu->GetNthItem(1))->GetSubMenu();
    ASSERT_NE(mid, nullptr);
    VStr<255> title;
    menu->GetNthItem(1)->GetTitle(title);
    EXPECT_EQ(Text(title), "Mid");
    ASSERT_EQ(mid->GetItemsCount(), 3);
    EXPECT_EQ(static_cast<VMenuItemSub*>(mid->GetNthItem(1))->GetSubMenu()->GetItemsCount(), 0);
    EXPECT_EQ(static_cast<VMenuItemSub*>(mid->GetNthItem(2))->GetSubMenu()->GetItemsCount(), 0);
    // A 'HIER' item whose command is unknown gets no submenu.
    auto lone = Build({Res("XMNU", 128, Xmnu("Top", 1, {{"129", "HIER", 99}})), Res("XMNU", 129, Xmnu("M", 1, {}))});
    EXPECT_EQ(static_cast<VMenuItemSub*>(lone->GetNthItem(1))->GetSubMenu(), nullptr);
    // Deleting the tree deletes every submenu once (the sanitizers watch).
    menu.reset();
}

TEST_F(MenuModelTest, ChoicesSendTheirCommandUpTheChain)
{
    commands.Add(10);
    commands.Add(20).value = std::make_unique<VLong>(1);
    commands.Add(30);                // the group
    commands.Add(31).group = 30;     // a member
    commands.Add(40);
    auto menu = Build({Res("XMNU", 128,
                           Xmnu("M", 0,
                                {{"Plain", "TEXT", 10, 0, 5},
                                 {"Switch", "TEXT", 20, 0x80, 6},
                                 {"Member", "TEXT", 31, 0, 7},
                                 {"129", "HIER", 40},
                                 {"None", "TEXT", 99}})),
                       Res("XMNU", 129, Xmnu("S", 0, {{"Deep", "TEXT", 10, 0, 8}}))});
    menu->DoLineCommand(1);
    ASSERT_EQ(commands.sent.size(), 1u);
    EXPECT_EQ(commands.sent[0].number, 10);
    EXPECT_EQ(commands.sent[0].argument, 5);

    // A switch at 1 goes to 0 and sends once.
    menu->DoLineCommand(2);
    ASSERT_EQ(commands.sent.size(), 2u);
    EXPECT_EQ(commands.sent[1].number, 20);
    EXPECT_EQ(commands.Get(20).value->GetLong(), 0);
    EXPECT_EQ(commands.Get(20).sets, 1);

    // A group member sends the group's number with its own argument.
    menu->DoLineCommand(3);
    ASSERT_EQ(commands.sent.size(), 3u);
    EXPECT_EQ(commands.sent[2].number, 30);
    EXPECT_EQ(commands.sent[2].argument, 7);
    EXPECT_EQ(commands.Get(31).value->GetLong(), 1);

    // A submenu's choice reaches the same owner through its parent.
    auto* sub = static_cast<VMenuItemSub*>(menu->GetNthItem(4))->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    sub->DoLineCommand(1);
    ASSERT_EQ(commands.sent.size(), 4u);
    EXPECT_EQ(commands.sent[3].number, 10);
    EXPECT_EQ(commands.sent[3].argument, 8);

    // Items without a command, or past the end, do nothing.
    menu->DoLineCommand(5);
    menu->DoLineCommand(9);
    EXPECT_EQ(commands.sent.size(), 4u);

    // Moved onto a bar, the menu reaches the bar's owner, and the bar lends
    // it a painter.
    VMenuBar bar(commands.Owner());
    menu->SetMenuBar(&bar);
    menu->DoLineCommand(1);
    ASSERT_EQ(commands.sent.size(), 5u);
    EXPECT_EQ(commands.sent[4].number, 10);
    EXPECT_NE(menu->GetPainter(), nullptr);
    menu->ReleasePainter();
}

// A menu object: a regular menu listens to its items' commands, a pop-up
// does not; submenus get objects of their own; deleted with its place in
// the menu list, it leaves the list and stops listening.
TEST_F(MenuModelTest, MenuObjectsListenBuildTheirSubmenusAndLeaveTheList)
{
    commands.Add(1);
    commands.Add(2);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, {{"A", "TEXT", 1}, {"129", "HIER", 2}})),
                       Res("XMNU", 129, Xmnu("S", 1, {{"B", "TEXT", 1}}))});
    VComputingPainter painter;
    menu->BuildMenuObject(&painter, true, false);
    EXPECT_EQ(commands.Get(1).listening, 0) << "a pop-up";
    menu->DeleteMenuObject(true);
    commands.Get(1).listening = commands.Get(2).listening = 0;

    menu->BuildMenuObject(&painter, false, false);
    ASSERT_NE(menu->GetMenuObject(), nullptr);
    EXPECT_GT(commands.Get(1).listening, 0);
    auto* sub = static_cast<VMenuItemSub*>(menu->GetNthItem(2))->GetSubMenu();
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(sub->GetMenuObject(), nullptr);
    EXPECT_EQ(menu->FindMenu(platform::GetMenuID(sub->GetMenuObject())), sub) << "found through its item";
    const platform::MenuID id = platform::GetMenuID(menu->GetMenuObject());
    EXPECT_NE(platform::GetMenuHandle(id), nullptr);
    menu->DeleteMenuObject(true);
    EXPECT_EQ(menu->GetMenuObject(), nullptr);
    EXPECT_EQ(platform::GetMenuHandle(id), nullptr);
    EXPECT_EQ(commands.Get(1).listening, 0);
}

TEST_F(MenuModelTest, MarksFollowSwitchesAndGroups)
{
    commands.Add(1);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 0, {{"A", "TEXT", 1, 0x80}}))});
    auto* item = static_cast<VMenuItemText*>(menu->GetNthItem(1));
    VLong minus97(-97), seven(7), one(1), two(2), three(3);
    EXPECT_EQ(item->GetCheckMark(nullptr, &minus97, 7), '2');  // mixed on every member
    EXPECT_EQ(item->GetCheckMark(nullptr, &seven, 7), '0');
    EXPECT_EQ(item->GetCheckMark(&one, &three, 7), 0);
    EXPECT_EQ(item->GetCheckMark(&one, nullptr, 7), '0');
    EXPECT_EQ(item->GetCheckMark(&two, nullptr, 7), '2');
    EXPECT_EQ(item->GetCheckMark(&three, nullptr, 7), 0);
}

}  // namespace
