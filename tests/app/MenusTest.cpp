#include <gtest/gtest.h>

#include <string>

#include "app/appl/Menus.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "tests/app/AppFixture.h"

using namespace apptest;
using namespace platform;

namespace {

// Menus of every kind: singles, a check group, a group with members, a
// submenu, a text full of menu metacharacters and an item nobody shows.
const char* kMenus = R"(
'MMBR' 129 {
    menu 130 "File" items 1 2 19
    menu 131 "View" items 3 4 5
    menu 1200 "Hidden" items 6
}
'MITM' 1 { text "Open" command 2 key "O" }
'MITM' 2 { text "a/b;c(" command 9 }
'MITM' 19 { text "Quit" command 19 key "Q" }
'MITM' 3 { text "Left" command 60 kind group checkgroup subitems 31 32 33 }
'MITM' 31 { text "One" command 60 kind member }
'MITM' 32 { text "Two" command 60 kind member disabled }
'MITM' 33 { text "Three" command 60 kind member }
'MITM' 4 { text "Fonts" command 100 kind group }
'MITM' 5 { text "Colour" command 101 kind submenu subitems 51 }
'MITM' 51 { text "Auto" command 102 }
'MITM' 6 { text "Nowhere" command 70 }
)";

class MenusTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UseAppResources(kMenus);
        ASSERT_EQ(BuildMenus(), noErr);
    }
};

TEST(MenuItems, StringsArePaddedToEvenLengthsAndCountsAreChecked)
{
    // Compiled by the resource compiler, read back by the menu builder.
    for (const std::string text : {"abcd", "abc"}) {
        ResourceFileImage image;
        std::string error;
        const std::string source = "'MITM' 7 { text \"" + text + "\" command 12 key \"K\" mark 18 icon 3 style 1 "
                                   "kind submenu checkgroup subitems 8 9 }";
        ASSERT_TRUE(rescompile::CompileSource(source, "t.r", &image, &error)) << error;
        const std::vector<uint8_t>& b = image.resources.at(0).data;
        const size_t textBytes = text.size() % 2 ? text.size() + 1 : text.size() + 2;
        ASSERT_EQ(b.size(), textBytes + 2 + 14 + 4) << "4 characters take a pad byte, 3 none";
        MenuItemRec item;
        ASSERT_TRUE(ParseMenuItem(b.data(), b.size(), &item));
        EXPECT_EQ(P(item.text), text);
        EXPECT_EQ(item.command, 12);
        EXPECT_EQ(item.cmdKey, 'K');
        EXPECT_EQ(item.mark, 18);
        EXPECT_EQ(item.icon, 3);
        EXPECT_EQ(item.style, 1);
        EXPECT_EQ(item.kind, kFuncSubmenu);
        EXPECT_EQ(item.checkGroup, 1);
        EXPECT_EQ(item.enabled, 1);
        EXPECT_EQ(item.subItems, (std::vector<int16_t>{8, 9}));

        // A count larger than the ids present reads only those present.
        std::vector<uint8_t> damaged = b;
        WriteBE16(damaged.data() + textBytes + 2 + 12, 500);
        ASSERT_TRUE(ParseMenuItem(damaged.data(), damaged.size(), &item));
        EXPECT_EQ(item.subItems.size(), 2u);
        // Cut inside the fixed fields: refused.
        EXPECT_FALSE(ParseMenuItem(b.data(), textBytes + 2 + 5, &item));
        std::vector<uint8_t> longText = {200, 'a'};
        EXPECT_FALSE(ParseMenuItem(longText.data(), longText.size(), &item));
    }
}

TEST_F(MenusTest, CommandsFindTheirItems)
{
    // Record 1 is the application menu; 1200 stays out of the bar.
    ASSERT_EQ(NbMenus, 5) << "3 main menus after record 1, and one submenu";
    EXPECT_EQ(TheMenus[1]->menuId, 128);
    EXPECT_NE(GetMenuHandle(130), nullptr);
    EXPECT_EQ(GetMenuHandle(1200), nullptr);
    EXPECT_EQ(GetMainMenurec(19, nullptr), nullptr) << "Quit is the platform's";

    int16_t command = 0, index = 0;
    GetFunc(130 << 16 | 1, &command, &index);
    EXPECT_EQ(command, 2);
    EXPECT_EQ(index, 1);
    GetFunc(131 << 16 | 3, &command, &index);
    EXPECT_EQ(command, 60);
    EXPECT_EQ(index, 3) << "the third member of the group";
    EXPECT_EQ(NbSFunc(60), 3);
    GetFunc(999 << 16 | 1, &command, &index);
    EXPECT_EQ(command, 0);
    GetFunc(130 << 16 | 3, &command, &index);
    EXPECT_EQ(command, 130) << "past the entries: the menu's own item";
    EXPECT_EQ(index, 3);

    // The members keep their own state.
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(60, 2, &menu, &item);
    EXPECT_EQ(item, 2);
    EXPECT_FALSE(IsMenuItemEnabled(menu, MenuItemIndex(item)));
    // Past the group's count: its last item.
    GetMItem(60, 9, &menu, &item);
    EXPECT_EQ(item, 3);

    // A submenu choice is found through the submenu's own record.
    MyMenuRec* sub = GetMenurec(101, nullptr);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->menuId, 5) << "a submenu takes its parent item's id";
    const unsigned char red[] = {3, 'R', 'e', 'd'}, blue[] = {4, 'B', 'l', 'u', 'e'};
    InsFuncItem(101, red, 32000, 0);
    InsFuncItem(101, blue, 32000, 0);
    GetFunc(5 << 16 | 2, &command, &index);
    EXPECT_EQ(command, 101);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(GetNamedFuncItem(101, blue), 2);
    EXPECT_EQ(GetNamedFuncItem(100, blue), -1) << "an empty group";
    GetMainMItem(101, 1, &menu, &item);
    EXPECT_EQ(menu, GetMenuHandle(131));
    EXPECT_EQ(item, 4) << "the parent item after the 3 members and the empty font group";
    GetFunc(5 << 16 | 3, &command, &index);
    EXPECT_EQ(command, 102) << "the submenu's own item stays after the group's";

    // Text is set literally, never parsed for metacharacters.
    Str255 text;
    GetFuncItem(9, 1, text);
    EXPECT_EQ(P(text), "a/b;c(");
    EXPECT_EQ(CountMenuItems(GetMenuHandle(130)), 2);
    GetFuncItem(77, 1, text);
    EXPECT_EQ(P(text), "") << "unknown command";
}

TEST_F(MenusTest, GroupsGrowAndShrinkInPlace)
{
    const unsigned char times[] = {5, 'T', 'i', 'm', 'e', 's'}, mono[] = {4, 'M', 'o', 'n', 'o'};
    InsFuncItem(100, times, 32000, 0);
    InsFuncItem(100, mono, 32000, 0);
    EXPECT_EQ(NbSFunc(100), 2);
    // The group sits before the submenu's item: that item keeps its place.
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMainMItem(101, 1, &menu, &item);
    EXPECT_EQ(item, 6);
    Str255 text;
    GetMenuItemText(menu, MenuItemIndex(item), text);
    EXPECT_EQ(P(text), "Colour");
    DelFuncItem(100, 5);
    EXPECT_EQ(NbSFunc(100), 2) << "an index the group does not hold deletes nothing";
    DelFuncItem(100, 1);
    EXPECT_EQ(NbSFunc(100), 1);
    GetFuncItem(100, 1, text);
    EXPECT_EQ(P(text), "Mono");

    DisableFunc(60);
    for (int16_t i = 1; i <= 3; ++i) EXPECT_FALSE(IsFuncEnabled(60, i));
    EnableFunc(60);
    for (int16_t i = 1; i <= 3; ++i) EXPECT_TRUE(IsFuncEnabled(60, i));
    DisableFunc(101);
    EXPECT_FALSE(IsMenuItemEnabled(GetMenuHandle(131), 5)) << "the submenu's parent item, after one font";
    DisableFunc(999);  // ignored
}

TEST_F(MenusTest, ACheckGroupChoiceMarksExactlyThatItem)
{
    MakeAppl();
    for (int pass = 0; pass < 2; ++pass) {
        appl_->Commande(131 << 16 | 3);
        MenuRef menu = GetMenuHandle(131);
        for (MenuItemIndex i = 1; i <= 3; ++i) {
            CharParameter mark = 0;
            GetItemMark(menu, i, &mark);
            EXPECT_EQ(mark, i == 3 ? 0x12 : 0) << "item " << i << " pass " << pass;
        }
    }
    appl_->Commande(131 << 16 | 1);
    CharParameter mark = 0;
    GetItemMark(GetMenuHandle(131), 3, &mark);
    EXPECT_EQ(mark, 0);
}

TEST_F(AppFixture, TheTableStopsAtTwentyRecords)
{
    // 19 menus with a submenu each: the main menus fill records 2 to 20.
    std::string source = "'MMBR' 129 {\n";
    for (int m = 0; m < 19; ++m) source += "menu " + std::to_string(200 + m) + " \"M\" items " +
                                          std::to_string(300 + m) + "\n";
    source += "}\n";
    for (int m = 0; m < 19; ++m)
        source += "'MITM' " + std::to_string(300 + m) + " { text \"S\" command " + std::to_string(m + 20) +
                  " kind submenu }\n";
    UseAppResources(source);
    ASSERT_EQ(BuildMenus(), noErr);
    EXPECT_EQ(NbMenus, 20);
    EXPECT_EQ(TheMenus[20]->menuId, 218);
    EXPECT_EQ(GetMenurec(20, nullptr), TheMenus[2]) << "no room for its submenu";
    int16_t command = 0, index = 0;
    GetFunc(218 << 16 | 1, &command, &index);
    EXPECT_EQ(command, 38);
}

TEST_F(AppFixture, ADamagedBarBuildsWhatIsThere)
{
    // Five menus announced, one present, its item count past the end.
    platform::ResourceImage bar;
    bar.type = FourCC("MMBR");
    bar.id = 129;
    bar.data = {0x00, 0x00, 0x00, 0x05, 0x00, 0x82, 0x04, 'F', 'i', 'l', 'e', 0x00, 0x00, 0x09, 0x00, 0x01};
    UseAppResources(R"('MITM' 1 { text "Open" command 2 })", true, {bar});
    ASSERT_EQ(BuildMenus(), noErr);
    EXPECT_EQ(NbMenus, 2);
    EXPECT_EQ(NbSFunc(2), 1);
}

}  // namespace
