// Menus at their edges: title rectangles, a cleared bar, item properties
// past the last item, the first item's key, the menu text's port left as
// it was, separators, item icons and a scrolled menu's frame (pixels of
// the standard definition drawn offscreen).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/menus/MenuRecord.h"
#include "platform/menus/MenuText.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform {
namespace {

using testing::PStr;

class MenuEdges : public testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetMenuManager();
    }
    void TearDown() override
    {
        if (world_) DisposeGWorld(world_);
        ResetMenuManager();
        ResetResourceManager();
        WindowTest::TearDown();
    }
    MenuRef Make(MenuID id, const char* title, const char* items)
    {
        MenuRef m = NewMenu(id, PStr(title).get());
        AppendMenu(m, PStr(items).get());
        return m;
    }
    // Draws the menu with the standard definition into a world of its size.
    void Draw(MenuRef menu)
    {
        CalcMenuSize(menu);
        rect_ = Rect{0, 0, GetMenuHeight(menu), GetMenuWidth(menu)};
        if (world_) DisposeGWorld(world_);
        ASSERT_EQ(NewGWorld(&world_, 32, &rect_, nullptr, nullptr, 0), noErr);
        SetGWorld(world_, nullptr);
        menus::CallDefinition(menu, kMenuDrawMsg, &rect_, Point{0, 0}, nullptr);
    }
    uint32_t At(int16_t h, int16_t v)
    {
        SetGWorld(world_, nullptr);
        RGBColor c;
        GetCPixel(h, v, &c);
        return PackRGB(c);
    }
    int Inked(int16_t left, int16_t top, int16_t right, int16_t bottom, uint32_t background)
    {
        int n = 0;
        for (int16_t v = top; v < bottom; ++v)
            for (int16_t h = left; h < right; ++h) n += At(h, v) != background;
        return n;
    }
    static int16_t Line()
    {
        const menus::MenuFontMetrics m = menus::MenuMetrics();
        return int16_t(m.ascent + m.descent + m.leading + 4);
    }
    GWorldPtr world_ = nullptr;
    Rect rect_{};
};

TEST_F(MenuEdges, TitlesLieSideBySideAboveTheBarsLastRow)
{
    InsertMenu(Make(5, "Edit", "Undo"), 0);
    InsertMenu(Make(6, "View", "All"), 0);
    InsertMenu(Make(7, "More", "One"), -1);
    Rect edit{}, view{}, more{};
    ASSERT_TRUE(GetMenuTitleRect(5, &edit));
    ASSERT_TRUE(GetMenuTitleRect(6, &view));
    EXPECT_FALSE(GetMenuTitleRect(7, &more)) << "a submenu has no title";
    EXPECT_EQ(edit.top, 0);
    EXPECT_EQ(edit.bottom, GetMBarHeight() - 1);
    EXPECT_EQ(view.bottom, GetMBarHeight() - 1);
    EXPECT_EQ(view.left, edit.right);
    EXPECT_EQ(view.right - view.left, menus::MenuTextWidth("View", 0) + (edit.right - edit.left) -
                                          menus::MenuTextWidth("Edit", 0));

    SetItemCmd(GetMenuHandle(5), 1, 'Z');
    ClearMenuBar();
    EXPECT_FALSE(GetMenuTitleRect(5, &edit));
    EXPECT_EQ(GetMenuHandle(5), nullptr);
    EXPECT_EQ(GetMenuHandle(7), nullptr);
    EXPECT_EQ(MenuKey('z'), 0) << "no menu left to answer";
}

TEST_F(MenuEdges, ItemPropertiesHoldForTheLastItemAndNothingPastIt)
{
    MenuRef m = Make(8, "Props", "One;Two;Three");
    struct Case {
        MenuItemIndex item;
        bool exists;
    };
    for (const Case& k : {Case{1, true}, Case{3, true}, Case{4, false}, Case{0, false}}) {
        SetItemStyle(m, k.item, 5);
        SetItemMark(m, k.item, '*');
        SetItemCmd(m, k.item, 'K');
        SetItemIcon(m, k.item, 2);
        StyleParameter style = 9;
        CharParameter mark = 9, cmd = 9;
        int16_t icon = 9;
        GetItemStyle(m, k.item, &style);
        GetItemMark(m, k.item, &mark);
        GetItemCmd(m, k.item, &cmd);
        GetItemIcon(m, k.item, &icon);
        EXPECT_EQ(style, k.exists ? 5 : 0) << k.item;
        EXPECT_EQ(mark, k.exists ? '*' : 0) << k.item;
        EXPECT_EQ(cmd, k.exists ? 'K' : 0) << k.item;
        EXPECT_EQ(icon, k.exists ? 2 : 0) << k.item;
        MenuID sub = 99;
        EXPECT_EQ(GetMenuItemHierarchicalID(m, k.item, &sub), k.exists ? noErr : OSStatus(menuItemNotFoundErr));
        EXPECT_EQ(sub, k.exists ? 0 : 99) << k.item;
        EXPECT_EQ(SetMenuItemHierarchicalID(m, k.item, 30), k.exists ? noErr : OSStatus(menuItemNotFoundErr));
    }
    MenuID sub = 0;
    ASSERT_EQ(GetMenuItemHierarchicalID(m, 3, &sub), noErr);
    EXPECT_EQ(sub, 30);
    DisposeMenu(m);
    EXPECT_EQ(GetMenuItemHierarchicalID(m, 1, &sub), OSStatus(menuInvalidErr));
}

TEST_F(MenuEdges, TheFirstItemsKeyAnswersAndAResetForgetsTheLastChoice)
{
    MenuRef edit = Make(5, "Edit", "Undo/Z;Cut/X;(Paste/V");
    InsertMenu(edit, 0);
    EXPECT_EQ(MenuKey('z'), (5 << 16) | 1);
    EXPECT_EQ(MenuKey('V'), 0);
    EXPECT_EQ(MenuChoice(), (5 << 16) | 3) << "the disabled item is named";
    menus::ResetMenuTracking();
    EXPECT_EQ(MenuChoice(), 0);

    // A press in the bar past the titles chooses nothing, and says so.
    EXPECT_EQ(MenuKey('V'), 0);
    ASSERT_NE(MenuChoice(), 0);
    Play(Script().Press(900, 5).Wait(2).Release());
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(MenuSelect(e.where), 0);
    EXPECT_EQ(MenuChoice(), 0);
}

TEST_F(MenuEdges, MenuTextLeavesThePortAsItFoundIt)
{
    WindowRef w = Document(100, 100, 300, 200);
    SetPortWindowPort(w);
    GrafPtr port = GetQDGlobalsThePort();
    TextFont(3);
    TextSize(9);
    TextFace(bold);
    TextMode(srcBic);
    MoveTo(5, 6);
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    menus::DrawMenuText("Menu", 0, 20, 30, 0x000000);
    EXPECT_EQ(port->txFont, 3);
    EXPECT_EQ(port->txSize, 9);
    EXPECT_EQ(port->txFace, bold);
    EXPECT_EQ(port->txMode, srcBic);
    Point pen;
    GetPen(&pen);
    EXPECT_EQ(pen.h, 5);
    EXPECT_EQ(pen.v, 6);
    RGBColor fore;
    GetForeColor(&fore);
    EXPECT_EQ(PackRGB(fore), 0xFF0000u);

    // Menu text stops at 255 characters.
    EXPECT_EQ(menus::MenuTextWidth(std::string(256, 'm'), 0), menus::MenuTextWidth(std::string(255, 'm'), 0));
    EXPECT_GT(menus::MenuTextWidth(std::string(255, 'm'), 0), menus::MenuTextWidth(std::string(254, 'm'), 0));
}

TEST_F(MenuEdges, SeparatorsAreLinesAcrossAndItemsAreText)
{
    MenuRef m = Make(9, "Sep", "One;-;A much longer item");
    Draw(m);
    const int16_t line = Line();
    const uint32_t white = At(int16_t(rect_.right - 8), 4);
    // The rightmost columns hold no text: only a separator reaches them.
    const int16_t right = int16_t(rect_.right - 12), edge = int16_t(rect_.right - 4);
    EXPECT_EQ(Inked(right, 3, edge, int16_t(3 + line), white), 0) << "item 1";
    EXPECT_GT(Inked(right, int16_t(3 + line), edge, int16_t(3 + line + 8), white), 0) << "the separator";
    EXPECT_GT(Inked(4, 3, int16_t(rect_.right / 2), int16_t(3 + line), white), 0) << "item 1's text";
}

TEST_F(MenuEdges, AnItemsIconIsTheIconNumberedFrom256)
{
    ResourceFileImage image;
    image.resources.push_back(ResourceImage{FourCC("ICON"), 256, false, "", 0, std::vector<uint8_t>(128, 0xFF)});
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    MenuRef m = Make(10, "Icons", "^1One;Two");
    Draw(m);
    // Item 1 is 18 high (the icon and a pixel above and below); the icon
    // follows the mark column.
    for (int16_t v = 0; v < 16; ++v)
        for (int16_t h = 0; h < 16; ++h) ASSERT_EQ(At(int16_t(17 + h), int16_t(3 + 1 + v)), 0u) << h << "," << v;
    EXPECT_NE(At(17, int16_t(3 + 18 + 1)), 0u) << "item 2 has none";
}

TEST_F(MenuEdges, ScrollingATallMenuKeepsItsFrame)
{
    MenuRef tall = NewMenu(11, PStr("Tall").get());
    for (int i = 0; i < 80; ++i) AppendMenu(tall, PStr("Item").get());
    Draw(tall);
    ASSERT_LT(rect_.bottom, 80 * Line()) << "the menu is clipped";
    std::vector<uint32_t> frame;
    for (int16_t v = 0; v < rect_.bottom; ++v) frame.push_back(At(0, v));
    MenuTrackingData data{};
    const Point bottomZone{int16_t(rect_.bottom - 5), 20};
    menus::CallDefinition(tall, kMenuFindItemMsg, &rect_, bottomZone, reinterpret_cast<int16_t*>(&data));
    EXPECT_EQ(data.itemSelected, 0) << "a scroll zone selects nothing";
    EXPECT_GT(tall->scroll, 0);
    std::vector<uint32_t> after;
    for (int16_t v = 0; v < rect_.bottom; ++v) after.push_back(At(0, v));
    EXPECT_EQ(after, frame);
}


TEST_F(MenuEdges, ItemsAreFoundFromTheirFirstToTheirLastPixelAndOnlyEnabledOnesChosen)
{
    MenuRef m = Make(12, "Find", "One;(Two;Three;-");
    Draw(m);
    const int16_t line = Line();
    struct Case {
        int16_t v;
        MenuItemIndex under, chosen;
    };
    const Case cases[] = {
        {2, 0, 0},                                  // the frame above the first item
        {3, 1, 1},
        {int16_t(3 + line - 1), 1, 1},
        {int16_t(3 + line), 2, 0},                  // a disabled item is under the mouse but not chosen
        {int16_t(3 + 2 * line), 3, 3},
        {int16_t(3 + 3 * line - 1), 3, 3},
        {int16_t(3 + 3 * line), 4, 0},              // a separator is never chosen
        {int16_t(rect_.bottom - 3), 0, 0},          // the frame below the last item
        {rect_.bottom, 0, 0},                       // past the menu
    };
    for (const Case& k : cases) {
        MenuTrackingData data{};
        menus::CallDefinition(m, kMenuFindItemMsg, &rect_, Point{k.v, 20}, reinterpret_cast<int16_t*>(&data));
        EXPECT_EQ(data.itemUnderMouse, k.under) << k.v;
        EXPECT_EQ(data.itemSelected, k.chosen) << k.v;
    }
    ASSERT_EQ(rect_.bottom, 3 + 3 * line + 8 + 3) << "the separator is 8 high";
    // A disabled menu chooses none of its items.
    DisableMenuItem(m, 0);
    MenuTrackingData data{};
    menus::CallDefinition(m, kMenuFindItemMsg, &rect_, Point{3, 20}, reinterpret_cast<int16_t*>(&data));
    EXPECT_EQ(data.itemUnderMouse, 1);
    EXPECT_EQ(data.itemSelected, 0);
}

TEST_F(MenuEdges, AScrollZoneStartsAtItsFirstPixel)
{
    MenuRef tall = NewMenu(13, PStr("Tall").get());
    for (int i = 0; i < 80; ++i) AppendMenu(tall, PStr("Item").get());
    Draw(tall);
    const int16_t zone = Line();
    const int16_t downZone = int16_t(rect_.bottom - 3 - zone), upZoneEnd = int16_t(3 + zone);
    auto find = [&](int16_t v) {
        MenuTrackingData data{};
        menus::CallDefinition(tall, kMenuFindItemMsg, &rect_, Point{v, 20}, reinterpret_cast<int16_t*>(&data));
        return data.itemSelected;
    };
    EXPECT_GT(find(int16_t(downZone - 1)), 0) << "the last pixel of an item";
    EXPECT_EQ(tall->scroll, 0);
    EXPECT_EQ(find(upZoneEnd - 1), 0) << "at the top there is nothing to scroll up, and no item";
    EXPECT_EQ(tall->scroll, 0);
    EXPECT_EQ(find(downZone), 0);
    EXPECT_EQ(tall->scroll, zone) << "one item down";
    EXPECT_EQ(find(upZoneEnd), 2) << "the first pixel below the zone: the first item shown whole";
    EXPECT_EQ(tall->scroll, zone);
    EXPECT_EQ(find(upZoneEnd - 1), 0);
    EXPECT_EQ(tall->scroll, 0) << "one item back up";
}

}  // namespace
}  // namespace platform
