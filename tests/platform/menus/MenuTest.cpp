// Menus on the headless screen: pull-down and submenu choices, keys, a
// program's own definition, pop-ups, properties and the stored form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/menus/MenuRecord.h"
#include "platform/menus/MenuText.h"
#include "platform/menus/Menus.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Modals.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform {
namespace {

using testing::PStr;

std::vector<uint32_t> Pixels()
{
    const PixMap* pm = ComposeScreen();
    const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
    const size_t words = size_t(pm->rowBytes & kRowBytesMask) / 4 * size_t(pm->bounds.bottom - pm->bounds.top);
    return std::vector<uint32_t>(p, p + words);
}

class MenuTest : public testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetMenuManager();
        SetScreenCursorVisible(false);
        line = int16_t(menus::MenuMetrics().ascent + menus::MenuMetrics().descent + menus::MenuMetrics().leading + 4);
        edit = NewMenu(5, PStr("Edit").get());
        AppendMenu(edit, PStr("Undo/Z;-;Cut/X;Copy/C;(Paste/V;More").get());
        more = NewMenu(7, PStr("More").get());
        AppendMenu(more, PStr("One;Two").get());
        ASSERT_EQ(SetMenuItemHierarchicalID(edit, 6, 7), noErr);
        InsertMenu(edit, 0);
        InsertMenu(more, -1);
        DrawMenuBar();
        ASSERT_TRUE(GetMenuTitleRect(5, &title));
        CalcMenuSize(edit);
        CalcMenuSize(more);
    }
    void TearDown() override
    {
        ResetMenuManager();
        SetScreenCursorVisible(true);
        WindowTest::TearDown();
    }
    // The middle of item n (heights: lines, the separator 8) of a menu at top.
    int16_t ItemV(int16_t top, int n) const
    {
        int16_t v = int16_t(top + 3);
        for (int i = 1; i < n; ++i) v = int16_t(v + (i == 2 ? 8 : line));
        return int16_t(v + line / 2);
    }
    // Presses on the title, goes to `to` through the menu and releases;
    // with `failAt`, that allocation of MenuSelect's fails.
    int32_t Select(std::vector<Point> path, uint32_t* titleWhileOpen = nullptr, int64_t failAt = -1)
    {
        const int16_t th = int16_t((title.left + title.right) / 2);
        Script s;
        s.Press(th, 10);
        for (Point p : path) s.Move(p.h, p.v).Wait(1);
        s.Screenshot("probe").Release();
        HeadlessOptions options;
        options.screenshot = [&](const std::string&) {
            if (titleWhileOpen) *titleWhileOpen = ScreenPixel(int16_t(title.left + 2), 5);
            return noErr;
        };
        Play(std::move(s), options);
        EventRecord e{};
        if (!testing::NextEvent(mDownMask, &e)) return -1;
        if (failAt >= 0) testfaults::FailNthNew(failAt);
        const int32_t choice = MenuSelect(e.where);
        failed_ = failAt >= 0 && !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        return choice;
    }
    bool failed_ = false;
    MenuRef edit = nullptr;
    MenuRef more = nullptr;
    Rect title{};
    int16_t line = 0;
};

TEST_F(MenuTest, PressDragReleaseChoosesAndLeavesTheScreenAsItWas)
{
    const std::vector<uint32_t> before = Pixels();
    const int16_t h = int16_t(title.left + 20);
    uint32_t titleColor = 0;
    EXPECT_EQ(Select({{ItemV(20, 1), h}, {ItemV(20, 3), h}}, &titleColor), (5 << 16) | 3);
    EXPECT_NE(titleColor, 0xFFFFFFu);  // hilited while the menu was open
    EXPECT_NE(ScreenPixel(int16_t(title.left + 2), 5), 0xFFFFFFu);  // and after a choice
    HiliteMenu(0);
    EXPECT_TRUE(Pixels() == before);
}

// Memory running out at any allocation while the menus are open: no
// exception leaves MenuSelect or PopUpMenuSelect; each answers nothing
// with MemError() saying why, the menus closed and the screen as before,
// or the choice whole.
TEST_F(MenuTest, MemoryRunningOutClosesTheMenusAndSaysSoInMemError)
{
    const std::vector<uint32_t> before = Pixels();
    const int16_t h = int16_t(title.left + 20);
    int refused = 0;
    for (int64_t n = 0;; ++n) {
        SCOPED_TRACE(n);
        int32_t choice = -1;
        EXPECT_NO_THROW(choice = Select({{ItemV(20, 1), h}, {ItemV(20, 3), h}}, nullptr, n));
        if (choice == 0) {
            EXPECT_EQ(MemError(), memFullErr);
            EXPECT_TRUE(Pixels() == before);
            ++refused;
        } else {
            EXPECT_EQ(choice, (5 << 16) | 3);
            EXPECT_EQ(MemError(), noErr);
            HiliteMenu(0);
            EXPECT_TRUE(Pixels() == before);
        }
        if (!failed_ || HasFailure()) break;
    }
    EXPECT_GT(refused, 0);

    // A pop-up likewise, with its choice when nothing fails.
    auto popUp = [&](int64_t failAt) {
        Play(Script().Press(300, 200).Wait(2).Release());
        EventRecord e{};
        if (!testing::NextEvent(mDownMask, &e)) return -1;
        if (failAt >= 0) testfaults::FailNthNew(failAt);
        const int32_t choice = PopUpMenuSelect(edit, 200, 300, 1);
        failed_ = failAt >= 0 && !testfaults::NewFailurePending();
        testfaults::StopFailingNew();
        return choice;
    };
    const int32_t chosen = popUp(-1);
    EXPECT_NE(chosen, 0);
    refused = 0;
    for (int64_t n = 0;; ++n) {
        SCOPED_TRACE("pop-up, " + std::to_string(n));
        int32_t choice = -1;
        EXPECT_NO_THROW(choice = popUp(n));
        EXPECT_EQ(MemError(), choice == 0 ? memFullErr : noErr);
        if (choice != 0) {
            EXPECT_EQ(choice, chosen);
        }
        refused += choice == 0 ? 1 : 0;
        EXPECT_TRUE(Pixels() == before);
        if (!failed_ || HasFailure()) break;
    }
    EXPECT_GT(refused, 0);
}

TEST_F(MenuTest, DisabledItemGivesNothingButMenuChoiceNamesIt)
{
    const int16_t h = int16_t(title.left + 20);
    EXPECT_EQ(Select({{ItemV(20, 5), h}}), 0);
    EXPECT_EQ(MenuChoice(), (5 << 16) | 5);
    EXPECT_EQ(ScreenPixel(int16_t(title.left + 2), 5), 0xFFFFFFu);  // nothing chosen: not hilited
    // A disabled menu still opens, its items dimmed, none chosen.
    DisableMenuItem(edit, 0);
    EXPECT_EQ(Select({{ItemV(20, 3), h}}), 0);
    EXPECT_EQ(MenuChoice(), (5 << 16) | 3);
    EnableMenuItem(edit, 0);
    // Released outside: nothing at all.
    EXPECT_EQ(Select({{400, 600}}), 0);
    EXPECT_EQ(MenuChoice(), 0);
}

TEST_F(MenuTest, SubmenuChoiceAnswersItsOwnIdAndItem)
{
    const int16_t h = int16_t(title.left + 20);
    const int16_t itemTop = int16_t(ItemV(20, 6) - line / 2);
    const int16_t subLeft = int16_t(title.left + GetMenuWidth(edit) - 2);
    const int16_t subTop = int16_t(itemTop - 3);
    EXPECT_EQ(Select({{ItemV(20, 6), h}, {ItemV(20, 6), int16_t(subLeft + 10)}, {ItemV(subTop, 2), int16_t(subLeft + 10)}}),
              (7 << 16) | 2);
}

TEST_F(MenuTest, AMenuTallerThanTheScreenScrollsWhileTheMouseRestsOnItsEdge)
{
    MenuRef tall = NewMenu(11, PStr("Tall").get());
    for (int i = 0; i < 80; ++i) AppendMenu(tall, PStr("Item").get());
    InsertMenu(tall, 0);
    CalcMenuSize(tall);
    const Rect screen = ScreenBounds();
    ASSERT_LE(GetMenuHeight(tall), screen.bottom - GetMBarHeight());
    const int unscrolled = (300 - GetMBarHeight() - 3 - line) / line + 1;  // the item at v 300 before scrolling
    Rect t;
    ASSERT_TRUE(GetMenuTitleRect(11, &t));
    const int16_t h = int16_t(t.left + 20), bottom = int16_t(GetMBarHeight() + GetMenuHeight(tall) - 5);
    Play(Script().Press(h, 10).Move(h, 100).Wait(2).Move(h, bottom).Wait(40).Move(h, 300).Wait(2).Release());
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    const int32_t choice = MenuSelect(e.where);
    EXPECT_EQ(choice >> 16, 11);
    EXPECT_GT(choice & 0xFFFF, unscrolled + 5);  // the items moved up
    EXPECT_LE(choice & 0xFFFF, 80);
}

TEST_F(MenuTest, TheBarShowsTitlesInOrderAndDimsADisabledMenu)
{
    MenuRef file = NewMenu(4, PStr("File").get());
    InsertMenu(file, 5);  // before Edit
    Rect fileTitle, editTitle;
    ASSERT_TRUE(GetMenuTitleRect(4, &fileTitle));
    ASSERT_TRUE(GetMenuTitleRect(5, &editTitle));
    EXPECT_EQ(fileTitle.right, editTitle.left);
    EXPECT_EQ(GetMenuHandle(4), file);
    EXPECT_EQ(GetMenuHandle(7), more);  // submenus are found too
    EXPECT_FALSE(GetMenuTitleRect(7, nullptr));  // but have no title

    // The darkest pixel of the title's text: black when enabled, grey when not.
    auto darkest = [&] {
        const std::vector<uint32_t> pixels = Pixels();
        const size_t row = size_t(ComposeScreen()->rowBytes & kRowBytesMask) / 4;
        uint32_t d = 0xFFFFFF;
        for (int16_t v = 2; v < 18; ++v)
            for (int16_t h = editTitle.left; h < editTitle.right; ++h) d = std::min(d, pixels[v * row + h] & 0xFF);
        return d;
    };
    EXPECT_LT(darkest(), 0x30u);
    DisableMenuItem(edit, 0);
    EXPECT_GT(darkest(), 0x60u);
    EnableMenuItem(edit, 0);
    EXPECT_LT(darkest(), 0x30u);

    DeleteMenu(4);
    ASSERT_TRUE(GetMenuTitleRect(5, &editTitle));
    EXPECT_EQ(editTitle.left, fileTitle.left);
    EXPECT_EQ(GetMenuHandle(4), nullptr);
}

TEST_F(MenuTest, AHeldButtonWithTheScriptOverEndsAtTheWatchdog)
{
    HeadlessOptions options;
    options.watchdogTicks = 30;
    Play(Script().Press(int16_t(title.left + 5), 10), options);
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(MenuSelect(e.where), 0);
    EXPECT_FALSE(run->watchdogMessage.empty());
    EXPECT_EQ(ScreenPixel(int16_t(title.left + 5), 30), ScreenPixel(600, 600));  // the menu is closed
}

TEST_F(MenuTest, AClickOnTheTitleLeavesTheMenuOpenUntilTheNextClick)
{
    // Let go on its title, the menu stays open with the button up; the next
    // click or key decides, and a click that closes it reaches nobody.
    const int16_t th = int16_t((title.left + title.right) / 2), h = int16_t(title.left + 20);
    const std::pair<std::function<void(Script&)>, int32_t> nexts[] = {
        {[&](Script& s) { s.Move(h, ItemV(20, 3)).Wait(2).Click(h, ItemV(20, 3)); }, (5 << 16) | 3},
        {[&](Script& s) { s.Drag(h, ItemV(20, 1), h, ItemV(20, 4), 4); }, (5 << 16) | 4},
        {[&](Script& s) { s.Click(600, 500); }, 0},        // outside
        {[&](Script& s) { s.Click(th, 10); }, 0},          // its title again
        {[&](Script& s) { s.Key("escape"); }, 0},
        {[&](Script& s) { s.Click(h, ItemV(20, 5)); }, 0},  // a disabled item
    };
    for (const auto& [next, choice] : nexts) {
        uint32_t open = 0;
        Script s;
        s.Click(th, 10).Wait(20).Screenshot("open");
        next(s);
        HeadlessOptions options;
        options.screenshot = [&](const std::string&) { return open = ScreenPixel(h, ItemV(20, 1)), noErr; };
        Play(std::move(s), options);
        EventRecord e{};
        ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
        EXPECT_EQ(MenuSelect(e.where), choice);
        EXPECT_NE(open, ScreenPixel(600, 600)) << choice << ": not open after the first click";
        EXPECT_EQ(ScreenPixel(h, ItemV(20, 1)), ScreenPixel(600, 600)) << choice << ": still open";
        EXPECT_FALSE(EventAvail(mDownMask, &e) || !run->watchdogMessage.empty()) << choice;
        HiliteMenu(0);
    }
}

TEST_F(MenuTest, KeysFindEnabledItemsInEitherCaseAndQuitPostsOnce)
{
    EXPECT_EQ(MenuKey('c'), (5 << 16) | 4);
    EXPECT_EQ(MenuKey('C'), (5 << 16) | 4);
    HiliteMenu(0);
    EXPECT_EQ(MenuKey('v'), 0);  // disabled item
    EXPECT_EQ(MenuChoice(), (5 << 16) | 5);
    DisableMenuItem(edit, 0);
    EXPECT_EQ(MenuKey('c'), 0);  // disabled menu
    EnableMenuItem(edit, 0);

    // 'MENU' 128 from a resource file gets the platform's Quit.
    ResourceFileImage image;
    ResourceImage r;
    r.type = FourCC("MENU");
    r.id = 128;
    const uint8_t menu128[] = {0, 128, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 3, 'A', 'p', 'p',
                               5, 'A', 'b', 'o', 'u', 't', 0, 0, 0, 0, 0};
    r.data.assign(menu128, menu128 + sizeof menu128);
    image.resources.push_back(r);
    ASSERT_NE(OpenResFileImageBelow(image), -1);
    MenuRef app = GetMenu(128);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(CountMenuItems(app), 3);  // About, a separator, Quit
    Str255 text;
    GetMenuItemText(app, 3, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Quit");
    InsertMenu(app, 5);
    Play(Script());
    EXPECT_EQ(MenuKey('q'), 0);
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(highLevelEventMask, &e, 3));
    EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
    EXPECT_FALSE(testing::NextEvent(highLevelEventMask, &e, 3));
    // Quit stays Quit when items come after it or go before it.
    AppendMenu(app, PStr("Extra").get());
    DeleteMenuItem(app, 1);
    ASSERT_EQ(CountMenuItems(app), 3);  // a separator, Quit, Extra
    EXPECT_EQ(MenuKey('q'), 0);
    ASSERT_TRUE(testing::NextEvent(highLevelEventMask, &e, 3));
    EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
    ResetResourceManager();

    // Bit 0 of the flags enables the menu, bit n item n; a stored
    // separator is never enabled.
    ResourceFileImage flags;
    ResourceImage f;
    f.type = FourCC("MENU");
    f.id = 129;
    const uint8_t menu129[] = {0, 129, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0D, 1, 'F', 1, 'A', 0, 0, 0, 0,
                               1, 'B', 0, 0, 0, 0, 1, '-', 0, 0, 0, 0, 0};
    f.data.assign(menu129, menu129 + sizeof menu129);
    flags.resources.push_back(f);
    ASSERT_NE(OpenResFileImageBelow(flags), -1);
    MenuRef flagged = GetMenu(129);
    ASSERT_NE(flagged, nullptr);
    ASSERT_EQ(CountMenuItems(flagged), 3);
    EXPECT_TRUE(IsMenuItemEnabled(flagged, 0));
    EXPECT_FALSE(IsMenuItemEnabled(flagged, 1));
    EXPECT_TRUE(IsMenuItemEnabled(flagged, 2));
    EXPECT_FALSE(IsMenuItemEnabled(flagged, 3));
    ResetResourceManager();
}

// A definition that records its messages and picks items 10 pixels high.
std::vector<int16_t> gLog;
std::vector<MenuTrackingData> gFinds;

void LoggingDef(int16_t message, MenuRef menu, Rect* r, Point hit, int16_t* which)
{
    gLog.push_back(message);
    switch (message) {
    case kMenuSizeMsg:
        SetMenuWidth(menu, 100);
        SetMenuHeight(menu, 50);
        break;
    case kMenuPopUpMsg:
        *r = Rect{hit.h, hit.v, int16_t(hit.h + 50), int16_t(hit.v + 100)};
        break;
    case kMenuFindItemMsg: {
        auto* d = reinterpret_cast<MenuTrackingData*>(which);
        gFinds.push_back(*d);
        d->itemSelected = PtInRect(hit, r) ? MenuItemIndex((hit.v - r->top) / 10 + 1) : 0;
        d->itemUnderMouse = d->itemSelected;
        break;
    }
    default:
        break;
    }
}

TEST_F(MenuTest, WhileAModalIsUpTheBarOffersOnlyTheEditCommandsOfItsText)
{
    ASSERT_EQ(SetMenuItemCommandID(edit, 3, kHICommandCut), noErr);
    MenuCommand command = 0;
    ASSERT_EQ(GetMenuItemCommandID(edit, 3, &command), noErr);
    EXPECT_EQ(command, kHICommandCut);
    // Cut is the dialog's, whatever the program's windows allow.
    DisableMenuItem(edit, 3);
    const struct {
        int modal;  // 0 none, 1 without text, 2 editing text
        char key;
        int32_t choice;
    } cases[] = {{0, 'z', (5 << 16) | 1}, {0, 'x', 0},            {1, 'z', 0}, {1, 'x', 0},
                 {2, 'z', 0},             {2, 'x', (5 << 16) | 3}, {2, 'c', 0}};
    for (const auto& c : cases) {
        std::unique_ptr<ModalScope> modal;
        if (c.modal) modal = std::make_unique<ModalScope>("dialog", c.modal == 2);
        EXPECT_EQ(MenuKey(c.key), c.choice) << c.modal << c.key;
        HiliteMenu(0);
    }
}

TEST_F(MenuTest, ProgramsDefinitionGetsItsMessagesAndChooses)
{
    gLog.clear();
    gFinds.clear();
    MenuDefSpec defSpec{kMenuDefProcPtr, NewMenuDefUPP(LoggingDef)};
    MenuRef custom = nullptr;
    ASSERT_EQ(CreateCustomMenu(&defSpec, 9, 0, &custom), noErr);
    EXPECT_EQ(gLog, std::vector<int16_t>{kMenuInitMsg});
    for (int i = 0; i < 5; ++i) AppendMenu(custom, PStr("V").get());

    // An 8-byte property (a pointer) reads back; a 4-byte buffer is refused.
    const uint64_t link = 0x0123456789ABCDEFull;
    ASSERT_EQ(SetMenuItemProperty(custom, 0, FourCC("tlbx"), FourCC("VMen"), 8, &link), noErr);
    uint64_t back = 0;
    uint32_t size = 0;
    EXPECT_EQ(GetMenuItemProperty(custom, 0, FourCC("tlbx"), FourCC("VMen"), 8, &size, &back), noErr);
    EXPECT_EQ(back, link);
    uint32_t small = 0xAAAAAAAA;
    EXPECT_EQ(GetMenuItemProperty(custom, 0, FourCC("tlbx"), FourCC("VMen"), 4, &size, &small), paramErr);
    EXPECT_EQ(small, 0xAAAAAAAAu);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(GetMenuItemProperty(custom, 2, FourCC("tlbx"), FourCC("VItm"), 2, &size, &small), menuPropertyNotFoundErr);
    EXPECT_EQ(RemoveMenuItemProperty(custom, 0, FourCC("tlbx"), FourCC("VMen")), noErr);
    EXPECT_EQ(GetMenuItemPropertySize(custom, 0, FourCC("tlbx"), FourCC("VMen"), &size), menuPropertyNotFoundErr);

    gLog.clear();
    // Pressed at (300, 200): item 1 rests under the mouse, then item 3.
    Play(Script().Press(300, 200).Wait(2).Move(300, 205).Wait(2).Move(300, 225).Wait(2).Release());
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(PopUpMenuSelect(custom, 200, 300, 1), (9 << 16) | 3);
    ASSERT_GE(gLog.size(), 5u);
    EXPECT_EQ(gLog[0], kMenuSizeMsg);
    EXPECT_EQ(gLog[1], kMenuPopUpMsg);
    EXPECT_EQ(gLog[2], kMenuThemeSavvyMsg);
    EXPECT_EQ(gLog[3], kMenuDrawMsg);
    int hilites = 0, finds = 0;
    for (size_t i = 4; i < gLog.size(); ++i) {
        EXPECT_TRUE(gLog[i] == kMenuFindItemMsg || gLog[i] == kMenuHiliteItemMsg) << gLog[i];
        hilites += gLog[i] == kMenuHiliteItemMsg;
        finds += gLog[i] == kMenuFindItemMsg;
    }
    EXPECT_EQ(hilites, 2);  // 0 -> 1, 1 -> 3
    EXPECT_GE(finds, 4);    // at every poll
    for (const MenuTrackingData& d : gFinds) EXPECT_EQ(d.menu, custom);
    EXPECT_EQ(gFinds.back().itemSelected, 3);  // the record carries the selection in

    // Its size came once; the next pop-up needs no size message.
    gLog.clear();
    Play(Script().Press(300, 200).Wait(2).Release());
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(PopUpMenuSelect(custom, 200, 300, 1), (9 << 16) | 1);
    EXPECT_EQ(gLog[0], kMenuPopUpMsg);
    DisposeMenu(custom);
    EXPECT_EQ(gLog.back(), kMenuDisposeMsg);
}

TEST_F(MenuTest, PopUpAtTheBottomRightStaysOnScreen)
{
    const Rect screen = ScreenBounds();
    const int16_t w = GetMenuWidth(edit), hgt = GetMenuHeight(edit);
    const Rect expected{int16_t(screen.bottom - 2 - hgt), int16_t(screen.right - 2 - w), int16_t(screen.bottom - 2),
                        int16_t(screen.right - 2)};
    uint32_t corner = 0, outside = 0;
    HeadlessOptions options;
    options.screenshot = [&](const std::string&) {
        corner = ScreenPixel(int16_t(expected.right - 1), int16_t(expected.bottom - 1));
        outside = ScreenPixel(int16_t(expected.left - 1), int16_t(expected.bottom - 1));
        return noErr;
    };
    const int16_t h = int16_t(expected.left + 20);
    Play(Script().Press(int16_t(screen.right - 5), int16_t(screen.bottom - 5)).Wait(1)
             .Move(h, ItemV(expected.top, 4)).Wait(2).Screenshot("p").Release(),
         options);
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(PopUpMenuSelect(edit, int16_t(screen.bottom - 5), int16_t(screen.right - 5), 1), (5 << 16) | 4);
    EXPECT_EQ(corner, 0x404040u);  // the menu's frame, inside the screen
    EXPECT_NE(outside, 0x404040u);
}

TEST(MenuModel, FontMenuListsTheSystemFamiliesSorted)
{
    ResetMenuManager();
    ASSERT_EQ(OpenSystemResFile(), noErr);
    MenuRef fonts = NewMenu(20, PStr("Font").get());
    AppendResMenu(fonts, FourCC("FOND"));
    ASSERT_GT(CountMenuItems(fonts), 3);
    std::vector<std::string> names;
    for (MenuItemIndex i = 1; i <= CountMenuItems(fonts); ++i) {
        Str255 t;
        GetMenuItemText(fonts, i, t);
        names.emplace_back(reinterpret_cast<char*>(t + 1), t[0]);
        EXPECT_NE(names.back()[0], '%');
    }
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_NE(std::find(names.begin(), names.end(), "Geneva"), names.end());
    ResetMenuManager();
    ResetResourceManager();
}

TEST(MenuModel, MetacharactersAndTheStoredForm)
{
    ResetMenuManager();
    MenuRef m = NewMenu(3, PStr("File").get());
    AppendMenu(m, PStr("Open^2/O;(Close!\x12<B;-").get());
    ASSERT_EQ(CountMenuItems(m), 3);
    int16_t v = 0;
    GetItemIcon(m, 1, &v);
    EXPECT_EQ(v, 2);
    GetItemCmd(m, 1, &v);
    EXPECT_EQ(v, 'O');
    EXPECT_FALSE(IsMenuItemEnabled(m, 2));
    GetItemMark(m, 2, &v);
    EXPECT_EQ(v, checkMark);
    GetItemStyle(m, 2, &v);
    EXPECT_EQ(v, 1);
    EXPECT_FALSE(IsMenuItemEnabled(m, 3));  // a separator
    InsertMenuItem(m, PStr("Save").get(), 1);
    Str255 text;
    GetMenuItemText(m, 2, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "Save");
    DeleteMenuItem(m, 1);
    EXPECT_EQ(CountMenuItems(m), 3);
    // Texts taken as they stand: one enabled item each, metacharacters kept.
    for (const char* literal : {"-", "(Close;Open/O"}) {
        AppendMenuItemText(m, PStr(literal).get());
        const MenuItemIndex last = CountMenuItems(m);
        EXPECT_TRUE(IsMenuItemEnabled(m, last)) << literal;
        GetMenuItemText(m, last, text);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), literal);
        GetItemCmd(m, last, &v);
        EXPECT_EQ(v, 0) << literal;
    }
    InsertMenuItemText(m, PStr("<B").get(), 0);
    GetMenuItemText(m, 1, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]), "<B");

    MenuResourceData d;
    const uint8_t good[] = {0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 1, 'X', 1, 'a', 0, 'A', 0, 1, 0};
    ASSERT_TRUE(ReadMenuResource(good, sizeof good, &d));
    EXPECT_EQ(d.id, 4);
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].cmd, 'A');
    EXPECT_FALSE(ReadMenuResource(good, sizeof good - 1, &d));  // no end mark
    uint8_t longTitle[sizeof good];
    std::memcpy(longTitle, good, sizeof good);
    longTitle[14] = 200;
    EXPECT_FALSE(ReadMenuResource(longTitle, sizeof longTitle, &d));
    // Read from blocks of their own size: no title length, an item one
    // byte short of its four, the end mark alone.
    for (const size_t size : {size_t(14), size_t(21), size_t(22)}) {
        std::unique_ptr<uint8_t[]> own(new uint8_t[size]);
        std::memcpy(own.get(), good, size);
        EXPECT_FALSE(ReadMenuResource(own.get(), size, &d)) << size;
    }

    // A space is no key.
    MenuRef keys = NewMenu(6, PStr("Keys").get());
    AppendMenu(keys, PStr("Blank;Bang").get());
    SetItemCmd(keys, 1, ' ');
    SetItemCmd(keys, 2, '!');
    InsertMenu(keys, 0);
    EXPECT_EQ(MenuKey(' '), 0);
    EXPECT_EQ(MenuKey('!'), (6 << 16) | 2);
    ResetMenuManager();
}

}  // namespace
}  // namespace platform
