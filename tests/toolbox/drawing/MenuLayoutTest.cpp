// Text menus measured, hit-tested, scrolled and drawn; the definition
// procedure's messages; pop-ups chosen with scripted input; the colour and
// pattern grids.
#include <gtest/gtest.h>

#include "platform/drawing/GWorlds.h"
#include "platform/events/Events.h"
#include "tests/platform/windows/WindowFixture.h"
#include "tests/toolbox/drawing/MenuTestSupport.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "toolbox/drawing/MenuDef.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VCustomMenu.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace menutest;
using paintertest::Pix;

namespace {

std::vector<XItem> Items(int n, int32_t command = 1)
{
    std::vector<XItem> items;
    for (int i = 1; i <= n; ++i) items.push_back({"Item " + std::to_string(i), "TEXT", command, 0, int16_t(i)});
    return items;
}

class MenuLayoutTest : public platform::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        platform::ResetResourceManager();
        platform::ResetMenuManager();
        ResetLookHandlers();
        for (int i = 1; i < kLookSlotCount; ++i) gLookHandlers[i] = new paintertest::TestLook;
    }
    void TearDown() override
    {
        gResFile = nullptr;
        ResetLookHandlers();
        platform::ResetMenuManager();
        platform::ResetResourceManager();
        WindowTest::TearDown();
    }
    std::unique_ptr<VTextMenu> Build(std::vector<platform::ResourceImage> resources, int16_t id = 128)
    {
        file = std::make_unique<ResFile>(resources);
        return std::make_unique<VTextMenu>(commands.Owner(), nullptr, 0, file->get(), id);
    }
    Commands commands;
    std::unique_ptr<ResFile> file;
};

TEST_F(MenuLayoutTest, ItemsThatFitStackAndTheRestScroll)
{
    commands.Add(1);
    std::vector<XItem> items = Items(3);
    items.insert(items.begin() + 1, XItem{"", "LINE"});
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, items)), Res("XMNU", 129, Xmnu("Long", 1, Items(50)))});
    VComputingPainter painter;
    painter.SetLook(4);
    painter.SetStdFont(0);
    const int16_t font = painter.GetFontHeight();
    int16_t w = 1000, h = 1000;
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t lh = menu->GetLineHeight();
    EXPECT_EQ(lh, font);  // look 4 adds no padding
    EXPECT_EQ(menu->GetNthItem(2)->GetHeight(), lh / 2);
    EXPECT_EQ(h, 3 * lh + lh / 2);
    EXPECT_EQ(menu->GetLastShown(), 4);
    // The four columns and their margins make the width the size gives.
    EXPECT_EQ(menu->GetWidth(), w);
    EXPECT_LT(w, 1000);

    // A mini menu pads its lines by 5 on this system version.
    menu->SetMini(true);
    painter.SetStdFont(1);
    const int16_t small = painter.GetFontHeight();
    menu->MakeWidthHeight(&painter, w, h);
    EXPECT_EQ(menu->GetLineHeight(), small + 5);
    menu->SetMini(false);

    // 50 items in 300 pixels: the items whose running height plus a line
    // stays below 300, then the downward scroll item.
    VTextMenu longMenu(commands.Owner(), nullptr, 0, file->get(), 129);
    w = 1000;
    h = 300;
    longMenu.MakeWidthHeight(&painter, w, h);
    int32_t running = 0, fitting = 0, shown = 0;
    for (int i = 1; i <= 50; ++i) {
        running += lh;
        if (running + lh < 300) {
            fitting = running;
            shown = i;
        }
    }
    EXPECT_EQ(longMenu.GetLastShown(), shown);
    EXPECT_EQ(h, fitting + lh);
    EXPECT_LE(h, 300);
}

// A menu that fits chooses only inside its edges.
TEST_F(MenuLayoutTest, AFittingMenuChoosesInsideItsEdgesOnly)
{
    commands.Add(1);
    auto menu = Build({Res("XMNU", 128, Xmnu("Short", 1, Items(3)))});
    VComputingPainter painter;
    int16_t w = 200, h = 300;
    menu->MakeWidthHeight(&painter, w, h);
    ASSERT_LT(h, 300);
    struct Case {
        int16_t x, y, item;
    };
    for (const Case& c : {Case{5, 0, 0}, Case{5, 1, 1}, Case{0, 5, 0}, Case{int16_t(w - 1), 5, 1},
                          Case{int16_t(w), 5, 0}, Case{5, int16_t(h - 1), 3}, Case{5, h, 0}})
        EXPECT_EQ(menu->ChooseItem(&painter, w, h, c.x, c.y, 0, nullptr), c.item) << c.x << "," << c.y;
}

TEST_F(MenuLayoutTest, RestingOnTheDownwardArrowScrollsThreeThenOneToTheEnd)
{
    commands.Add(1);
    commands.Add(2).enabled = false;
    std::vector<XItem> items = Items(50);
    items[4].command = 2;  // item 5 is disabled
    auto menu = Build({Res("XMNU", 128, Xmnu("Long", 1, items))});
    paintertest::World world(300, 400);
    platform::SetPort(world.get());
    VPainter painter(reinterpret_cast<platform::CGrafPtr>(world.get()), false);
    painter.SetLook(4);
    int16_t w = 200, h = 300;
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t lh = menu->GetLineHeight();
    const int16_t firstLast = menu->GetLastShown();
    ASSERT_LT(firstLast, 50);

    // Drawn from the top, nothing lands below the menu's height.
    const uint32_t ground = paintertest::PixelAt(reinterpret_cast<platform::CGrafPtr>(world.get()), 0, 399);
    menu->DrawItems(&painter, w, h);
    EXPECT_EQ(paintertest::CountNot(reinterpret_cast<platform::CGrafPtr>(world.get()), ground, 0, h, 300, 400), 0);

    // A disabled item is under the mouse but not chosen.
    int16_t under = 0;
    EXPECT_EQ(menu->ChooseItem(&painter, w, h, 5, int16_t(4 * lh + 1), 0, &under), 0);
    EXPECT_EQ(under, 5);

    int16_t result = 0, calls = 0;
    const auto y = int16_t(h - 1);  // the lower half of the downward item
    while (result == 0 && calls < 60) {
        const int16_t before = menu->GetLastShown();
        const int16_t step = 50 - before >= 5 ? 3 : 1;
        result = menu->ChooseItem(&painter, w, h, 5, y, 0, &under);
        ++calls;
        if (result == 0) {
            EXPECT_EQ(menu->GetLastShown(), before + step) << "call " << calls;
            EXPECT_EQ(menu->GetScrollZone(), 2);
        }
    }
    EXPECT_EQ(result, 50);  // the last item takes the arrow's place
    EXPECT_EQ(menu->GetLastShown(), 50);
    EXPECT_EQ(menu->GetScrollZone(), 0);
    EXPECT_GT(menu->GetFirstShown(), 1);
    // Now the lowest line is the last item.
    EXPECT_EQ(menu->ChooseItem(&painter, w, h, 5, y, 50, &under), 50);

    // Back up on the upward arrow's upper half: 3 lines while the first
    // shown item is 5 or more, then 1, until item 1 takes its place.
    result = 0;
    calls = 0;
    while (result == 0 && calls < 60) {
        const int16_t before = menu->GetFirstShown();
        const int16_t step = before >= 5 ? 3 : 1;
        result = menu->ChooseItem(&painter, w, h, 5, 1, 0, &under);
        ++calls;
        if (result == 0) {
            EXPECT_EQ(menu->GetFirstShown(), before - step) << "call " << calls;
            EXPECT_EQ(menu->GetScrollZone(), 1);
        }
    }
    EXPECT_EQ(result, 1);
    EXPECT_EQ(menu->GetFirstShown(), 1);
    EXPECT_EQ(menu->GetScrollZone(), 0);
    EXPECT_EQ(menu->GetLastShown(), firstLast);  // as when it opened
    // Every item shown is where the layout says: the first at the top.
    int16_t ix = 0, iy = 0, iw = 0, ih = 0;
    menu->GetItemCoords(1, ix, iy, iw, ih);
    EXPECT_EQ(iy, 0);
    EXPECT_EQ(menu->ChooseItem(&painter, w, h, 5, int16_t(lh + 1), 1, &under), 2);
}

TEST_F(MenuLayoutTest, DefinitionProcedureSizesAndHitsInTheDrawnFrame)
{
    commands.Add(1);
    std::vector<XItem> items = Items(4);
    items[3].command = 99;  // no such command
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, items))});
    menu->SetLook(3);
    paintertest::World world(300, 300);
    platform::SetPort(world.get());
    VPainter painter(reinterpret_cast<platform::CGrafPtr>(world.get()), false);
    painter.SetLook(3);
    menu->BuildMenuObject(&painter, true, false);
    platform::MenuRef ref = menu->GetMenuObject();
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(MenuOfPlatformMenu(ref), menu.get());

    // Size: the menu's own measure plus 2 each way.
    VComputingPainter measuring;
    measuring.SetLook(3);
    int16_t w = 1280, h = 1000;
    menu->MakeWidthHeight(&measuring, w, h);
    platform::SetMenuWidth(ref, 0);
    platform::SetMenuHeight(ref, 0);
    platform::CalcMenuSize(ref);
    EXPECT_EQ(platform::GetMenuWidth(ref), w + 2);
    EXPECT_EQ(platform::GetMenuHeight(ref), h + 2);

    // The last pixel row of item 1 selects item 1, the next row item 2.
    const int16_t lh = menu->GetNthItem(1)->GetHeight();
    platform::Rect rect{100, 50, int16_t(100 + h + 2), int16_t(50 + w + 2)};
    platform::MenuTrackingData data{};
    data.menu = ref;
    MAC_MDEF(platform::kMenuFindItemMsg, ref, &rect, platform::Point{int16_t(101 + lh - 1), 60},
             reinterpret_cast<int16_t*>(&data));
    EXPECT_EQ(data.itemSelected, 1);
    EXPECT_EQ(gMenuHandle, ref);
    MAC_MDEF(platform::kMenuFindItemMsg, ref, &rect, platform::Point{int16_t(101 + lh), 60},
             reinterpret_cast<int16_t*>(&data));
    EXPECT_EQ(data.itemSelected, 2);
    EXPECT_EQ(data.itemUnderMouse, 2);

    // Theme-savvy answer.
    int16_t answer = 0;
    MAC_MDEF(platform::kMenuThemeSavvyMsg, ref, &rect, platform::Point{0, 0}, &answer);
    EXPECT_EQ(answer, platform::kThemeSavvyMenuResponse);

    // Classic drawing in look 3: a hilited item filled with colour 34, the
    // others with 33.
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t line = menu->GetNthItem(1)->GetHeight();
    menu->DrawNthItem(&painter, w, 2, true);
    menu->DrawNthItem(&painter, w, 3, false);
    const auto world32 = reinterpret_cast<platform::CGrafPtr>(world.get());
    // Whole rows, whatever pattern the port held.
    platform::SetPort(world.get());
    for (int16_t y : {int16_t(line), int16_t(2 * line - 1)}) EXPECT_EQ(paintertest::PixelAt(world32, 1, y), Pix(0x010000 + 34));
    for (int16_t y : {int16_t(2 * line), int16_t(3 * line - 1)}) EXPECT_EQ(paintertest::PixelAt(world32, 1, y), Pix(0x010000 + 33));
    // Text: colour 25 when enabled; an item without a command is disabled
    // (29). Here 25 is pure blue and 29 pure red on white.
    struct TextLook : paintertest::TestLook {
        uint32_t GetStdColor(StdColor c) override
        {
            return c == 25 ? 0xFF0000u : c == 29 ? 0x0000FFu : c == 33 ? 0xFFFFFFu : TestLook::GetStdColor(c);
        }
    };
    delete gLookHandlers[3];
    gLookHandlers[3] = new TextLook;
    VPainter text(reinterpret_cast<platform::CGrafPtr>(world.get()), false);  // holds the new look
    text.SetLook(3);
    menu->DrawNthItem(&text, w, 3, false);
    menu->DrawNthItem(&text, w, 4, false);
    auto tinted = [&](int item, bool blue) {
        int n = 0;
        for (int yy = (item - 1) * line; yy < item * line; ++yy)
            for (int xx = 0; xx < w; ++xx) {
                const uint32_t p = paintertest::PixelAt(world32, xx, yy);
                const int r = int(p >> 16), b = int(p & 0xFF);
                n += blue ? b > r + 60 : r > b + 60;
            }
        return n;
    };
    EXPECT_GT(tinted(3, true), 0);
    EXPECT_EQ(tinted(3, false), 0);
    EXPECT_GT(tinted(4, false), 0);
    EXPECT_EQ(tinted(4, true), 0);
    menu->DeleteMenuObject(true);
    EXPECT_EQ(menu->GetMenuObject(), nullptr);
}

TEST_F(MenuLayoutTest, PopUpsStayOnTheDevice)
{
    const platform::Rect d = (*platform::GetMainDevice())->gdRect;
    platform::Rect r = PlacePopUp(100, int16_t(d.right - 10), 100, 50);
    EXPECT_EQ(r.right, d.right - 2);
    EXPECT_EQ(r.right - r.left, 100);
    r = PlacePopUp(100, 300, int16_t(d.right - d.left), 50);
    EXPECT_EQ(r.left, d.left + 2);
    EXPECT_EQ(r.right, d.right - 2);
    // One whose top lies above the device comes down to reach its items.
    r = PlacePopUp(-40, 300, 100, 50);
    EXPECT_EQ(r.top, d.top + 2);
    EXPECT_EQ(r.bottom - r.top, 50);
    r = PlacePopUp(int16_t(d.bottom - 10), 300, 100, 50);
    EXPECT_EQ(r.bottom, d.bottom - 2);
}

TEST_F(MenuLayoutTest, PopUpChoiceReachesTheOwnerAndLeavesNoPlatformMenu)
{
    commands.Add(1);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, Items(5)))});
    platform::WindowRef window = Document(10, 50, 400, 400);
    platform::SetPortWindowPort(window);
    menu->SetLook(3);
    VComputingPainter measuring;
    measuring.SetLook(3);
    const platform::Rect d = (*platform::GetMainDevice())->gdRect;
    int16_t w = d.right, h = int16_t(d.bottom - 24);
    menu->MakeWidthHeight(&measuring, w, h);
    const int16_t lh = menu->GetLineHeight();
    const int16_t x = 200, y = 150;

    Play(platform::Script()
             .Press(int16_t(x + 5), int16_t(y + 5))
             .Wait(2)
             .Move(int16_t(x + 10), int16_t(y + 1 + 2 * lh + lh / 2))
             .Wait(2)
             .Release());
    platform::EventRecord e{};
    ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    menu->RunAsPopup(x, y, false);
    ASSERT_EQ(commands.sent.size(), 1u);
    EXPECT_EQ(commands.sent[0].number, 1);
    EXPECT_EQ(commands.sent[0].argument, 3);
    EXPECT_EQ(menu->GetMenuObject(), nullptr);
    EXPECT_EQ(platform::GetMenuHandle(1), nullptr);

    // Released outside: nothing set, nothing sent.
    Play(platform::Script().Press(int16_t(x + 5), int16_t(y + 5)).Wait(2).Move(5, 5).Wait(2).Release());
    ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    menu->RunAsPopup(x, y, false);
    EXPECT_EQ(commands.sent.size(), 1u);
    EXPECT_EQ(platform::GetMenuHandle(1), nullptr);

    // A choice on a menu id the tree does not know does nothing.
    struct Lost : VTextMenu {
        using VTextMenu::VTextMenu;
        VMenu* FindMenu(int32_t) override { return nullptr; }
    } lost(commands.Owner(), nullptr, 0, file->get(), 128);
    Play(platform::Script()
             .Press(int16_t(x + 5), int16_t(y + 5))
             .Wait(2)
             .Move(int16_t(x + 10), int16_t(y + 1 + 2 * lh + lh / 2))
             .Wait(2)
             .Release());
    ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    lost.RunAsPopup(x, y, false);
    EXPECT_EQ(commands.sent.size(), 1u);
    EXPECT_EQ(lost.GetMenuObject(), nullptr);

    // Right-aligned: the right edge at x, so a point left of x chooses.
    Play(platform::Script()
             .Press(int16_t(x - 5), int16_t(y + 5))
             .Wait(2)
             .Move(int16_t(x - 10), int16_t(y + 1 + 2 * lh + lh / 2))
             .Wait(2)
             .Release());
    ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    menu->RunAsPopup(x, y, true);
    ASSERT_EQ(commands.sent.size(), 2u);
    EXPECT_EQ(commands.sent[1].argument, 3);

    // Two menus built in turn take the smallest free ids.
    VTextMenu other(commands.Owner(), nullptr, 0, file->get(), 128);
    menu->BuildMenuObject(&measuring, true, false);
    other.BuildMenuObject(&measuring, true, false);
    EXPECT_EQ(platform::GetMenuID(menu->GetMenuObject()), 1);
    EXPECT_EQ(platform::GetMenuID(other.GetMenuObject()), 2);
    other.DeleteMenuObject(true);
    menu->DeleteMenuObject(true);
}

std::vector<uint8_t> Palette(int count = 256)
{
    std::vector<uint8_t> b(16, 0);
    b[0] = uint8_t(count >> 8);
    b[1] = uint8_t(count);
    for (int n = 1; n <= count; ++n) {
        const uint8_t r = n == 1 ? 0xFF : uint8_t(n), g = n == 1 ? 0xFF : uint8_t(2 * n), bl = n == 1 ? 0xFF : uint8_t(3 * n);
        for (uint8_t c : {r, g, bl}) {
            b.push_back(c);
            b.push_back(0x5A);  // low bytes are not used
        }
        b.resize(b.size() + 10, 0);
    }
    return b;
}

std::vector<uint8_t> Patterns(int count)
{
    std::vector<uint8_t> b = {uint8_t(count >> 8), uint8_t(count)};
    for (int i = 0; i < count * 8; ++i) b.push_back(uint8_t(i));
    return b;
}

TEST_F(MenuLayoutTest, ColourGridSizesCellsAndChoices)
{
    commands.Add(1);
    commands.Add(2);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, {{"Colour", "HCOL", 2}})), Res("pltt", 9000, Palette())});
    gResFile = file->get();
    auto* colours = static_cast<VColorMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(colours, nullptr);
    int16_t w = 0, h = 0;
    colours->MakeWidthHeight(nullptr, w, h);
    EXPECT_EQ(w, 162);
    EXPECT_EQ(h, 194);
    colours->SetMini(true);
    colours->MakeWidthHeight(nullptr, w, h);
    EXPECT_EQ(w, 113);
    EXPECT_EQ(h, 131);
    colours->SetMini(false);

    VArrayString choices;
    for (const char* s : {"Auto", "None", "Other"}) {
        auto* text = new VStr<31>();
        text->FromCString(reinterpret_cast<const uint8_t*>(s));
        choices.AppendVString(text, 0);
    }
    commands.Get(2).choices = &choices;
    VComputingPainter painter;
    painter.SetLook(3);
    colours->MakeWidthHeight(&painter, w, h);
    painter.SetStdFont(0);
    EXPECT_EQ(h, 194 + 3 * (painter.GetFontHeight() + 2) + 2);

    // The command had no value: the start value 0xFFFFFF, and white (cell 1)
    // can still be chosen first.
    colours->BuildMenuObject(&painter, true, true);
    ASSERT_NE(colours->GetMenuObject(), nullptr);
    EXPECT_EQ(commands.Get(2).value->GetLong(), 0xFFFFFF);
    uint32_t colour = 0;
    ASSERT_TRUE(colours->CellColor(1, colour));
    EXPECT_EQ(colour, 0xFFFFFFu);
    colours->DoLineCommand(1);
    ASSERT_EQ(commands.sent.size(), 1u);
    colours->DoLineCommand(1);  // the same colour again: nothing
    EXPECT_EQ(commands.sent.size(), 1u);
    ASSERT_TRUE(colours->CellColor(3, colour));
    EXPECT_EQ(colour, 0x090603u);  // high bytes, red in the low byte

    colours->DoLineCommand(256 + 3);
    EXPECT_EQ(uint32_t(commands.Get(2).value->GetLong()), 0xFF000003u);
    EXPECT_EQ(commands.sent.size(), 2u);

    // Cells choose; the gaps and the grid's last 2 pixels do not.
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 5, 5, 0, nullptr), 1);
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 15, 5, 0, nullptr), 2);
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 10, 5, 0, nullptr), 0);
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 5, 160, 0, nullptr), 0);
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 5, 161, 0, nullptr), 0);
    EXPECT_EQ(colours->ChooseItem(nullptr, w, h, 5, 159, 0, nullptr), 241);
    colours->DeleteMenuObject(true);
    commands.Get(2).choices = nullptr;
}

TEST_F(MenuLayoutTest, PatternGridChoosesOnlyCellsTheListFills)
{
    commands.Add(1);
    commands.Add(2);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, {{"Pattern", "HPAT", 2}})), Res("PAT#", 9000, Patterns(10))});
    gResFile = file->get();
    auto* patterns = static_cast<VPatternMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(patterns, nullptr);
    int16_t w = 0, h = 0;
    patterns->MakeWidthHeight(nullptr, w, h);
    EXPECT_EQ(w, 158);
    EXPECT_EQ(h, 110);
    patterns->SetMini(true);
    patterns->MakeWidthHeight(nullptr, w, h);
    EXPECT_EQ(w, 103);
    EXPECT_EQ(h, 79);
    patterns->SetMini(false);
    patterns->MakeWidthHeight(nullptr, w, h);
    patterns->InitCustom();
    EXPECT_EQ(patterns->PatternCount(), 10);
    auto at = [&](int n) {  // the middle of cell n
        return patterns->ChooseItem(nullptr, w, h, int16_t(2 + ((n - 1) % 6) * 26 + 12),
                                    int16_t(2 + ((n - 1) / 6) * 18 + 8), 0, nullptr);
    };
    EXPECT_EQ(at(1), 1);
    EXPECT_EQ(at(11), 11);
    EXPECT_EQ(at(12), 0);  // the list holds 10 patterns: cells 12 on are blank
    EXPECT_EQ(at(36), 0);
    EXPECT_EQ(patterns->ChooseItem(nullptr, w, h, 26, 8, 0, nullptr), 0);   // a gap
    EXPECT_EQ(patterns->ChooseItem(nullptr, w, h, 157, 8, 0, nullptr), 0);  // the right edge
    EXPECT_EQ(patterns->ChooseItem(nullptr, w, h, 12, 109, 0, nullptr), 0);  // the bottom edge

    // Cell 1 stands for 1.
    patterns->DoLineCommand(1);
    ASSERT_EQ(commands.sent.size(), 1u);
    EXPECT_EQ(commands.Get(2).value->GetLong(), 1);
    patterns->DoLineCommand(1);
    EXPECT_EQ(commands.sent.size(), 1u);
    patterns->DeInitCustom();
}

TEST_F(MenuLayoutTest, FontMenuShowsWholeLinesAndSetsTheChosenName)
{
    VSystem system;
    VSystem* before = gSystem;
    gSystem = &system;
    system.BuildFontList();
    const int32_t count = system.GetFontList().GetCount();
    commands.Add(1);
    commands.Add(2);
    auto menu = Build({Res("XMNU", 128, Xmnu("M", 1, {{"Font", "FONT", 2}}))});
    auto* fonts = static_cast<VFontMenu*>(static_cast<VMenuItemSub*>(menu->GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(fonts, nullptr);
    EXPECT_EQ(fonts->GetItemsCount(), count);
    ASSERT_GE(count, 3) << "the fonts the platform pins";
    {
        VComputingPainter painter;
        painter.SetLook(3);
        int16_t w = 1000, h = 1000;
        fonts->MakeWidthHeight(&painter, w, h);
        const int16_t lh = fonts->GetLineHeight();
        // Taller than the room: whole lines, the last the downward arrow.
        int16_t tall = int16_t(lh * (count - 1) + lh / 2);
        fonts->MakeWidthHeight(&painter, w, tall);
        EXPECT_EQ(tall % lh, 0);
        EXPECT_EQ(fonts->GetLastShown(), tall / lh - 1);

        fonts->DoLineCommand(3);
        ASSERT_EQ(commands.sent.size(), 1u);
        EXPECT_EQ(commands.sent[0].number, 2);
        VStr<255> chosen;
        commands.Get(2).value->ToString(chosen);
        EXPECT_EQ(Text(chosen), Text(*system.GetFontList().GetVString(3)));
    }
    gSystem = before;
}

}  // namespace
