// Menus painted into an offscreen world and checked pixel by pixel: item
// colours in the classic and theme styles, the embossed disabled text, the
// hilite message's edge lines, the colour grid's marking and the font list's
// scroll item.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/menus/Menus.h"
#include "platform/theme/ThemeRecording.h"
#include "tests/platform/windows/WindowFixture.h"
#include "tests/toolbox/drawing/MenuTestSupport.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "toolbox/drawing/MenuDef.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VCustomMenu.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/drawing/VScreenPainter.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/drawing/VWinLookHandler.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace menutest;
using paintertest::Pix;
using paintertest::PixelAt;

namespace {

// Every standard colour below 64 defined, as 0x010000 + index; the parts
// asked for are kept.
struct WideLook : paintertest::TestLook {
    uint32_t GetStdColor(StdColor c) override { return c >= 0 && c < 64 ? 0x010000u + uint32_t(c) : kNoColor; }
    bool Paint(VPainter*, PaintMethod method, PaintStatus, int32_t, int32_t, int32_t, int32_t, const VString*,
               void*) override
    {
        methods.push_back(method);
        return true;
    }
    std::vector<PaintMethod> methods;
};

struct Box {
    int32_t left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    int32_t count = 0;
};

// Where the pixels of one colour lie within rows [top, bottom) of a port.
Box Find(platform::CGrafPtr port, uint32_t rgb, int32_t width, int32_t top, int32_t bottom, int32_t left = 0)
{
    Box b;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < width; ++x)
            if (PixelAt(port, x, y) == rgb) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}

std::vector<uint8_t> Palette()
{
    std::vector<uint8_t> b(16, 0);
    b[1] = 0;
    b[0] = 1;  // 256 entries
    for (int n = 1; n <= 256; ++n) {
        for (int c = 0; c < 3; ++c) {
            b.push_back(uint8_t(n * (c + 1)));
            b.push_back(0);
        }
        b.resize(b.size() + 10, 0);
    }
    return b;
}

class MenuDrawingTest : public platform::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        platform::ResetResourceManager();
        platform::ResetMenuManager();
        ResetLookHandlers();
        for (int i = 1; i < kLookSlotCount; ++i) gLookHandlers[i] = new WideLook;
        commands.Add(1);
    }
    void TearDown() override
    {
        gResFile = nullptr;
        ResetLookHandlers();
        platform::ResetMenuManager();
        platform::ResetResourceManager();
        WindowTest::TearDown();
    }
    // Items 1 to 3 have command 1; item 4 names no command, so it is disabled.
    std::unique_ptr<VTextMenu> Build(std::vector<platform::ResourceImage> extra = {})
    {
        std::vector<XItem> items;
        for (int i = 1; i <= 4; ++i) items.push_back({"Wide item " + std::to_string(i), "TEXT", i == 4 ? 99 : 1});
        extra.push_back(Res("XMNU", 128, Xmnu("M", 1, items)));
        file = std::make_unique<ResFile>(extra);
        return std::make_unique<VTextMenu>(commands.Owner(), nullptr, 0, file->get(), 128);
    }
    // The colour grid of command 2 built in look 3 in a 200 x 220 world;
    // Paint draws it.
    struct ColourGrid {
        std::unique_ptr<VTextMenu> owner, holder;
        std::unique_ptr<paintertest::World> world;
        std::unique_ptr<VScreenPainter> painter;
        platform::CGrafPtr port = nullptr;
        VColorMenu* menu = nullptr;
        int16_t w = 0, h = 0;
        void Paint()
        {
            menu->MakeWidthHeight(painter.get(), w, h);
            menu->DrawBackGround(painter.get(), w, h);
            menu->DrawItems(painter.get(), w, h);
        }
        ~ColourGrid()
        {
            if (menu) menu->DeleteMenuObject(true);
        }
    };
    std::unique_ptr<ColourGrid> OpenColourGrid()
    {
        commands.Add(2);
        std::vector<platform::ResourceImage> extra = {Res("pltt", 9000, Palette())};
        extra.push_back(Res("XMNU", 130, Xmnu("C", 1, {{"Colour", "HCOL", 2}})));
        auto grid = std::make_unique<ColourGrid>();
        grid->owner = Build(extra);
        gResFile = file->get();
        grid->holder = std::make_unique<VTextMenu>(commands.Owner(), nullptr, 0, file->get(), 130);
        grid->menu = static_cast<VColorMenu*>(
            static_cast<VMenuItemSub*>(grid->holder->GetNthItem(1))->BuildSubMenu(nullptr));
        if (!grid->menu) return nullptr;
        grid->menu->SetLook(3);
        grid->world = std::make_unique<paintertest::World>(200, 220);
        platform::SetPort(grid->world->get());
        grid->port = reinterpret_cast<platform::CGrafPtr>(grid->world->get());
        grid->painter = std::make_unique<VScreenPainter>(grid->port);
        grid->painter->SetLook(3);
        grid->menu->BuildMenuObject(grid->painter.get(), true, true);
        return grid;
    }
    Commands commands;
    std::unique_ptr<ResFile> file;
};

TEST_F(MenuDrawingTest, ClassicLookThreeHilitesInItsMenuColoursAndEmbossesDisabledText)
{
    delete gLookHandlers[3];
    gLookHandlers[3] = new VWinLookHandler;
    auto menu = Build();
    menu->SetLook(3);
    paintertest::World world(300, 200);
    platform::SetPort(world.get());
    const auto port = reinterpret_cast<platform::CGrafPtr>(world.get());
    VScreenPainter painter(port);
    painter.SetLook(3);
    ASSERT_EQ(painter.GetStdColor(34), 0x800000u);
    ASSERT_EQ(painter.GetStdColor(32), 0xFFFFFFu);
    int16_t w = 300, h = 200;
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t lh = menu->GetNthItem(1)->GetHeight();
    for (int16_t i = 1; i <= 4; ++i) menu->DrawNthItem(&painter, w, i, i == 2);

    // The hilited item: the fill 0x800000 and the text in white, nothing else
    // (text edges blend the two).
    const uint32_t fill = Pix(0x800000), text = 0xFFFFFF;
    const Box hiliteFill = Find(port, fill, w, lh, 2 * lh);
    const Box hiliteText = Find(port, text, w, lh, 2 * lh);
    EXPECT_GT(hiliteText.count, 0);
    int32_t foreign = 0;  // neither colour nor a blend of the two
    for (int32_t y = lh; y < 2 * lh; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = PixelAt(port, x, y);
            const uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
            foreign += !(r == g && b >= 0x80 && b >= r);
        }
    EXPECT_EQ(foreign, 0);
    EXPECT_GT(hiliteFill.count, w * lh / 2);
    EXPECT_EQ(PixelAt(port, 0, lh), fill);
    EXPECT_EQ(PixelAt(port, w - 1, 2 * lh - 1), fill);
    // An enabled item is black on the menu grey and has no shadow.
    EXPECT_GT(Find(port, 0x000000, w, 2 * lh, 3 * lh).count, 0);
    EXPECT_EQ(Find(port, 0xE0E0E0, w, 2 * lh, 3 * lh).count, 0);
    EXPECT_EQ(PixelAt(port, 0, 2 * lh), 0xC0C0C0u);

    // The disabled item: its text in 0xAAAAAA over a shadow in 0xE0E0E0 one
    // pixel down and right, which shows past the text's right and bottom.
    const Box grey = Find(port, 0xAAAAAA, w, 3 * lh, 4 * lh);
    const Box shadow = Find(port, 0xE0E0E0, w, 3 * lh, 4 * lh);
    ASSERT_GT(grey.count, 0);
    ASSERT_GT(shadow.count, 0);
    EXPECT_EQ(shadow.right, grey.right + 1);
    EXPECT_EQ(shadow.bottom, grey.bottom + 1);
    EXPECT_EQ(Find(port, 0x000000, w, 3 * lh, 4 * lh).count, 0);

    // Hilited, the disabled item is not embossed.
    menu->DrawNthItem(&painter, w, 4, true);
    EXPECT_EQ(Find(port, 0xE0E0E0, w, 3 * lh, 4 * lh).count, 0);
    EXPECT_EQ(Find(port, text, w, 3 * lh, 4 * lh).count, 0);
    EXPECT_GT(Find(port, 0xAAAAAA, w, 3 * lh, 4 * lh).count, 0);
}

TEST_F(MenuDrawingTest, ThemeStyleWritesSelectedWhiteAndDisabledGrey)
{
    ASSERT_TRUE(VMenu::UsesThemeDrawing(4));
    auto menu = Build();
    menu->SetLook(4);
    paintertest::World world(300, 200);
    platform::SetPort(world.get());
    const auto port = reinterpret_cast<platform::CGrafPtr>(world.get());
    VScreenPainter painter(port);
    painter.SetLook(4);
    int16_t w = 300, h = 200;
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t lh = menu->GetNthItem(1)->GetHeight();
    for (int16_t i = 1; i <= 4; ++i) menu->DrawNthItem(&painter, w, i, i == 2);

    // Inside each item's band, away from the theme's item edges.
    auto count = [&](int item, uint32_t rgb) {
        const int32_t top = (item - 1) * lh + 2;
        return Find(port, rgb, w - 2, top, top + lh - 1, 2).count;
    };
    // Selected: white text on the selection colour, no black.
    EXPECT_GT(count(2, 0xFFFFFF), 0);
    EXPECT_GT(count(2, 0x2F5FB3), 0);
    EXPECT_EQ(count(2, 0x000000), 0);
    // Enabled: black text on white.
    EXPECT_GT(count(1, 0x000000), 0);
    // Disabled: 0x888888 on white, no black.
    EXPECT_GT(count(4, 0x888888), 0);
    EXPECT_EQ(count(4, 0x000000), 0);
    EXPECT_EQ(count(4, 0x2F5FB3), 0);
    // A disabled item hilited is still written in grey, not selected.
    menu->DrawNthItem(&painter, w, 4, true);
    EXPECT_GT(count(4, 0x888888), 0);
    EXPECT_EQ(count(4, 0x2F5FB3), 0);
}

// In the theme style a checked item writes its mark and its text, an
// unmarked one its text alone.
TEST_F(MenuDrawingTest, ThemeItemsWriteAMarkOnlyWhenChecked)
{
    commands.Get(1).value = std::make_unique<VLong>(1);
    file = std::make_unique<ResFile>(std::vector<platform::ResourceImage>{
        Res("XMNU", 128, Xmnu("M", 1, {{"Checked", "TEXT", 1, 0x80}, {"Plain", "TEXT", 1}}))});
    VTextMenu menu(commands.Owner(), nullptr, 0, file->get(), 128);
    menu.SetLook(4);
    paintertest::World world(300, 100);
    platform::SetPort(world.get());
    VScreenPainter painter(reinterpret_cast<platform::CGrafPtr>(world.get()));
    painter.SetLook(4);
    int16_t w = 300, h = 100;
    menu.MakeWidthHeight(&painter, w, h);
    int32_t boxes = 0;
    platform::SetThemeCallListener(
        [](const platform::ThemeCall& call, void* data) {
            if (std::string(call.name) == "DrawThemeTextBox") ++*static_cast<int32_t*>(data);
        },
        &boxes);
    for (const int16_t item : {int16_t(1), int16_t(2)}) {
        boxes = 0;
        menu.DrawNthItem(&painter, w, item, false);
        EXPECT_EQ(boxes, item == 1 ? 2 : 1) << item;
    }
    platform::SetThemeCallListener(nullptr, nullptr);
}

TEST_F(MenuDrawingTest, HiliteMessageDrawsTheClassicEdgeLines)
{
    auto menu = Build();
    menu->SetLook(3);
    paintertest::World world(300, 200);
    platform::SetPort(world.get());
    const auto port = reinterpret_cast<platform::CGrafPtr>(world.get());
    VScreenPainter painter(port);
    painter.SetLook(3);
    menu->BuildMenuObject(&painter, true, false);
    platform::MenuRef ref = menu->GetMenuObject();
    ASSERT_NE(ref, nullptr);
    int16_t w = 300, h = 200;
    menu->MakeWidthHeight(&painter, w, h);
    const int16_t lh = menu->GetNthItem(1)->GetHeight();
    const int16_t left = 10, top = 20, width = int16_t(w + 2);
    platform::Rect rect{top, left, int16_t(top + h + 2), int16_t(left + width)};
    // A known ground, so that untouched pixels can be told apart.
    const uint32_t ground = PixelAt(port, 0, 0);

    // Item 1 loses the hilite, item 4 (the last) gains it.
    platform::HiliteMenuItemData data{1, 4};
    MAC_MDEF(platform::kMenuHiliteItemMsg, ref, &rect, platform::Point{0, 0}, reinterpret_cast<int16_t*>(&data));
    const int32_t right = left + width - 1;
    // Item 1: its top line and left side in colour 0, its right side in 42.
    EXPECT_EQ(PixelAt(port, left, top), Pix(0x010000));
    EXPECT_EQ(PixelAt(port, right, top), Pix(0x010000));
    EXPECT_EQ(PixelAt(port, left, top + 1), Pix(0x010000));
    EXPECT_EQ(PixelAt(port, left, top + lh), Pix(0x010000));
    EXPECT_EQ(PixelAt(port, right, top + 1), Pix(0x010000 + 42));
    EXPECT_EQ(PixelAt(port, right, top + lh), Pix(0x010000 + 42));
    EXPECT_EQ(PixelAt(port, left + 5, top + 1), ground);
    // Item 4 at 3 lines down: left side 57, right side and the line below it 58.
    const int32_t y4 = top + 3 * lh;
    EXPECT_EQ(PixelAt(port, left, y4 + 1), Pix(0x010000 + 57));
    EXPECT_EQ(PixelAt(port, left, y4 + lh), Pix(0x010000 + 57));
    EXPECT_EQ(PixelAt(port, right, y4 + 1), Pix(0x010000 + 58));
    EXPECT_EQ(PixelAt(port, right, y4 + lh), Pix(0x010000 + 58));
    EXPECT_EQ(PixelAt(port, left + 1, y4 + lh + 1), Pix(0x010000 + 58));
    EXPECT_EQ(PixelAt(port, right, y4 + lh + 1), Pix(0x010000 + 58));
    EXPECT_EQ(PixelAt(port, left, y4 + lh + 1), ground);
    EXPECT_EQ(PixelAt(port, left, y4), ground) << "the left side starts below the item's top";
    // Item 2 is left alone.
    EXPECT_EQ(PixelAt(port, left, top + lh + 2), ground);
    EXPECT_EQ(PixelAt(port, right, top + lh + 2), ground);

    // The same item twice draws nothing.
    paintertest::World blank(300, 200);
    platform::SetPort(blank.get());
    const auto other = reinterpret_cast<platform::CGrafPtr>(blank.get());
    const uint32_t clean = PixelAt(other, 0, 0);
    data = {2, 2};
    MAC_MDEF(platform::kMenuHiliteItemMsg, ref, &rect, platform::Point{0, 0}, reinterpret_cast<int16_t*>(&data));
    EXPECT_EQ(paintertest::CountNot(other, clean, 0, 0, 300, 200), 0);
    // Without a rectangle or without the item data, hiliting and finding do nothing.
    data = {1, 2};
    platform::MenuTrackingData tracking{};
    for (int16_t message : {platform::kMenuHiliteItemMsg, platform::kMenuFindItemMsg}) {
        int16_t* item = message == platform::kMenuHiliteItemMsg ? reinterpret_cast<int16_t*>(&data)
                                                                : reinterpret_cast<int16_t*>(&tracking);
        MAC_MDEF(message, ref, nullptr, platform::Point{30, 30}, item);
        MAC_MDEF(message, ref, &rect, platform::Point{30, 30}, nullptr);
    }
    EXPECT_EQ(paintertest::CountNot(other, clean, 0, 0, 300, 200), 0);
    menu->DeleteMenuObject(true);
}

TEST_F(MenuDrawingTest, ColourGridMarksByExclusiveOrAndUnmarksExactly)
{
    const auto grid = OpenColourGrid();
    ASSERT_NE(grid, nullptr);
    grid->Paint();
    ASSERT_EQ(grid->w, 162);
    VColorMenu* colours = grid->menu;
    const platform::CGrafPtr port = grid->port;
    VScreenPainter& painter = *grid->painter;
    const int16_t w = grid->w, h = grid->h;

    // Cell 3's frame runs round it in the gap; its left and top sides are
    // shared with no cell marked here.
    const int32_t frameX = 20, frameY = 0, cellX = 22;
    const uint32_t leftBefore = PixelAt(port, frameX, 5), topBefore = PixelAt(port, 25, frameY);
    const uint32_t cellBefore = PixelAt(port, cellX + 3, 5);
    uint32_t c3 = 0, c5 = 0;
    ASSERT_TRUE(colours->CellColor(3, c3));
    ASSERT_TRUE(colours->CellColor(5, c5));
    EXPECT_EQ(cellBefore, Pix(c3));

    ASSERT_EQ(colours->ChooseItem(&painter, w, h, 26, 5, 0, nullptr), 3);
    const uint32_t mask = 0xFFFFFF;  // exclusive-or inverts what lies under the frame
    EXPECT_EQ(PixelAt(port, frameX, 5), leftBefore ^ mask);
    EXPECT_EQ(PixelAt(port, 25, frameY), topBefore ^ mask);
    EXPECT_EQ(PixelAt(port, cellX + 3, 5), cellBefore);  // the cell itself stays
    // The footer's right half shows the cell's colour.
    EXPECT_EQ(PixelAt(port, 82, 163), Pix(c3));
    EXPECT_EQ(PixelAt(port, 82 + 77, 162 + 31), Pix(c3));

    // Moving on to cell 5 undoes cell 3's frame exactly.
    ASSERT_EQ(colours->ChooseItem(&painter, w, h, 46, 5, 3, nullptr), 5);
    EXPECT_EQ(PixelAt(port, frameX, 5), leftBefore);
    EXPECT_EQ(PixelAt(port, 25, frameY), topBefore);
    EXPECT_EQ(PixelAt(port, 82, 163), Pix(c5));
    // Leaving the grid undoes cell 5's as well.
    const uint32_t fiveLeft = PixelAt(port, 40, 5);
    EXPECT_EQ(colours->ChooseItem(&painter, w, h, 5, 161, 5, nullptr), 0);
    EXPECT_EQ(PixelAt(port, 40, 5), fiveLeft ^ mask);
}

// The command's current colour is framed in the look's colour 10, round
// its cell in the gap on all four sides.
TEST_F(MenuDrawingTest, ColourGridFramesTheCurrentColourInColourTen)
{
    const auto grid = OpenColourGrid();
    ASSERT_NE(grid, nullptr);
    uint32_t c3 = 0;
    ASSERT_TRUE(grid->menu->CellColor(3, c3));
    commands.Get(2).value = std::make_unique<VLong>(int32_t(c3));
    grid->Paint();
    const platform::CGrafPtr port = grid->port;
    // Cell 3 is 8 pixels square at (22, 2); its frame is (20, 0)-(31, 11).
    const uint32_t ten = Pix(0x01000A);
    struct Point {
        int32_t x, y;
    };
    for (const Point& p : {Point{20, 5}, Point{31, 5}, Point{25, 0}, Point{25, 11}})
        EXPECT_EQ(PixelAt(port, p.x, p.y), ten) << p.x << "," << p.y;
    EXPECT_NE(PixelAt(port, 33, 5), ten);
    EXPECT_EQ(PixelAt(port, 25, 5), Pix(c3));
    // The ground between the cells is colour 33 inside edges of 0 (left)
    // and 42 (right).
    EXPECT_EQ(PixelAt(port, 1, 1), Pix(0x010021));
    EXPECT_EQ(PixelAt(port, 0, 5), Pix(0x010000));
    EXPECT_EQ(PixelAt(port, grid->w - 1, 5), Pix(0x01002A));
}

// The colour grid's choices are menu items, small ones in the mini grid.
TEST_F(MenuDrawingTest, ColourGridChoicesArePaintedAsMenuItems)
{
    VArrayString choices;
    for (const char* s : {"Auto", "None"}) {
        auto* text = new VStr<31>();
        text->FromCString(reinterpret_cast<const uint8_t*>(s));
        choices.AppendVString(text, 0);
    }
    const auto grid = OpenColourGrid();
    ASSERT_NE(grid, nullptr);
    commands.Get(2).choices = &choices;
    auto* look = static_cast<WideLook*>(gLookHandlers[3]);
    for (const bool mini : {false, true}) {
        grid->menu->SetMini(mini);
        look->methods.clear();
        grid->Paint();
        EXPECT_EQ(std::count(look->methods.begin(), look->methods.end(), mini ? kPaintSmallMenuItem : kPaintMenuItem),
                  2)
            << mini;
    }
    commands.Get(2).choices = nullptr;
}

// Pattern cells: framed in colour 10, the pattern's set bits in colour 10
// on colour 0.
TEST_F(MenuDrawingTest, PatternCellsAreFramedAndFilledInColourTen)
{
    commands.Add(2);
    std::vector<uint8_t> patterns = {0, 10};
    for (int i = 0; i < 80; ++i) patterns.push_back(uint8_t(i));
    auto owner = Build({Res("XMNU", 130, Xmnu("P", 1, {{"Pattern", "HPAT", 2}})), Res("PAT#", 9000, patterns)});
    gResFile = file->get();
    VTextMenu holder(commands.Owner(), nullptr, 0, file->get(), 130);
    auto* grid = static_cast<VPatternMenu*>(static_cast<VMenuItemSub*>(holder.GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(grid, nullptr);
    grid->SetLook(3);
    grid->InitCustom();
    paintertest::World world(160, 112);
    platform::SetPort(world.get());
    const auto port = reinterpret_cast<platform::CGrafPtr>(world.get());
    VScreenPainter painter(port);
    painter.SetLook(3);
    painter.SetFillStdColor(20);
    int16_t w = 0, h = 0;
    grid->MakeWidthHeight(&painter, w, h);
    grid->DrawItems(&painter, w, h);
    // Cell 2 is 24 x 16 at (28, 2); its pattern's row 3 is 0x03.
    EXPECT_EQ(PixelAt(port, 28, 8), Pix(0x01000A));
    EXPECT_EQ(PixelAt(port, 30, 3), Pix(0x01000A));
    EXPECT_EQ(PixelAt(port, 32, 3), Pix(0x010000));
    grid->DeInitCustom();
}

TEST_F(MenuDrawingTest, FontListTallerThanTheRoomEndsInTheDownwardItemAndChoosesByLine)
{
    VSystem system;
    VSystem* before = gSystem;
    gSystem = &system;
    system.BuildFontList();
    const int32_t count = system.GetFontList().GetCount();
    ASSERT_GE(count, 3);
    commands.Add(2);
    std::vector<platform::ResourceImage> extra = {Res("XMNU", 130, Xmnu("F", 1, {{"Font", "FONT", 2}}))};
    auto owner = Build(extra);
    VTextMenu holder(commands.Owner(), nullptr, 0, file->get(), 130);
    auto* fonts = static_cast<VFontMenu*>(static_cast<VMenuItemSub*>(holder.GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(fonts, nullptr);
    fonts->SetLook(3);
    {
        paintertest::World world(400, 400);
        platform::SetPort(world.get());
        const auto port = reinterpret_cast<platform::CGrafPtr>(world.get());
        VScreenPainter painter(port);
        painter.SetLook(3);
        int16_t w = 400, h = 1000;
        fonts->MakeWidthHeight(&painter, w, h);
        const int16_t lh = fonts->GetLineHeight();
        ASSERT_GT(lh, 0);
        // Room for all but one and a half lines.
        int16_t tall = int16_t(lh * (count - 1) - lh / 2);
        fonts->MakeWidthHeight(&painter, w, tall);
        ASSERT_EQ(tall, lh * (count - 2));
        const int16_t last = fonts->GetLastShown();
        EXPECT_EQ(last, count - 3);
        fonts->DrawItems(&painter, w, tall);
        // Every line from the top is a font entry in the menu grey, and the
        // last line is the downward item, hilited when the mouse rests on it.
        EXPECT_EQ(PixelAt(port, 0, tall - 1), Pix(0x010000 + 33));
        EXPECT_EQ(fonts->ChooseItem(&painter, w, tall, 5, int16_t(tall - 1), 0, nullptr), 0);
        EXPECT_EQ(PixelAt(port, 0, tall - lh), Pix(0x010000 + 34));
        EXPECT_EQ(PixelAt(port, 0, tall - 1), Pix(0x010000 + 34));
        EXPECT_EQ(PixelAt(port, 0, tall - lh - 1), Pix(0x010000 + 33));
        EXPECT_EQ(fonts->GetLastShown(), last + 1);

        // Entry n is the n-th line from the top once back at the start.
        fonts->MakeWidthHeight(&painter, w, tall);
        fonts->DrawItems(&painter, w, tall);
        const int16_t n = 2;
        const int16_t chosen = fonts->ChooseItem(&painter, w, tall, 5, int16_t((n - 1) * lh + lh / 2), 0, nullptr);
        EXPECT_EQ(chosen, n);
        EXPECT_EQ(PixelAt(port, 0, (n - 1) * lh), Pix(0x010000 + 34));
        EXPECT_EQ(PixelAt(port, 0, n * lh), Pix(0x010000 + 33));
        fonts->DoLineCommand(chosen);
        ASSERT_EQ(commands.sent.size(), 1u);
        EXPECT_EQ(commands.sent[0].number, 2);
        VStr<255> name;
        commands.Get(2).value->ToString(name);
        EXPECT_EQ(Text(name), Text(*system.GetFontList().GetVString(n)));
    }
    (void)owner;
    gSystem = before;
}

// Scrolling redraws only what it uncovers; afterwards the screen must be
// what a full drawing of the new state gives, outside the line of the
// scroll item or entry under the mouse.
template <class Menu>
void ScrollAndCompare(Menu* menu, int16_t width, int16_t allowed, int32_t count)
{
    int16_t height = allowed;
    {
        VComputingPainter measuring;
        measuring.SetLook(3);
        int16_t w = width;
        menu->MakeWidthHeight(&measuring, w, height);
    }
    paintertest::World shown(width, height), fresh(width, height);
    const auto shownPort = reinterpret_cast<platform::CGrafPtr>(shown.get());
    const auto freshPort = reinterpret_cast<platform::CGrafPtr>(fresh.get());
    platform::SetPort(shown.get());
    VScreenPainter painter(shownPort);
    painter.SetLook(3);
    auto differences = [&](int32_t top, int32_t bottom) {
        platform::SetPort(fresh.get());
        {
            VScreenPainter full(freshPort);
            full.SetLook(3);
            menu->DrawItems(&full, width, height);
        }
        platform::SetPort(shown.get());
        int32_t n = 0;
        for (int32_t y = top; y < bottom; ++y) {
            int32_t row = 0;
            for (int32_t x = 0; x < width; ++x) row += PixelAt(shownPort, x, y) != PixelAt(freshPort, x, y);
            n += row;
        }
        return n;
    };
    for (const bool fast : {true, false}) {
        int16_t w = width, h = allowed;
        menu->MakeWidthHeight(&painter, w, h);
        ASSERT_EQ(h, height);
        const int16_t lh = menu->GetLineHeight();
        menu->DrawItems(&painter, width, height);
        const auto down = int16_t(fast ? height - 1 : height - lh + 1);
        const auto up = int16_t(fast ? 1 : lh - 1);
        int16_t result = 0;
        for (int calls = 0; result == 0 && calls <= count; ++calls) {
            result = menu->ChooseItem(&painter, width, height, 5, down, 0, nullptr);
            EXPECT_EQ(differences(0, height - lh), 0) << "down, first shown " << menu->GetFirstShown();
        }
        EXPECT_EQ(result, count);
        result = 0;
        for (int calls = 0; result == 0 && calls <= count; ++calls) {
            result = menu->ChooseItem(&painter, width, height, 5, up, calls == 0 ? int16_t(count) : 0, nullptr);
            EXPECT_EQ(differences(lh, height), 0) << "up, first shown " << menu->GetFirstShown();
        }
        EXPECT_EQ(result, 1);
    }
}

TEST_F(MenuDrawingTest, ScrolledListsShowWhatAFullDrawingShows)
{
    // A text menu of 20 items in 8 lines.
    std::vector<XItem> items;
    for (int i = 1; i <= 20; ++i) items.push_back({"Entry " + std::to_string(i), "TEXT", 1, 0, int16_t(i)});
    commands.Add(2);
    auto owner = Build({Res("XMNU", 131, Xmnu("L", 1, items)), Res("XMNU", 130, Xmnu("F", 1, {{"Font", "FONT", 2}}))});
    VTextMenu list(commands.Owner(), nullptr, 0, file->get(), 131);
    list.SetLook(3);
    VComputingPainter measuring;
    measuring.SetLook(3);
    int16_t w = 200, h = 1000;
    list.MakeWidthHeight(&measuring, w, h);
    const int16_t lh = list.GetLineHeight();
    {
        SCOPED_TRACE("text menu");
        ScrollAndCompare(&list, 200, int16_t(8 * lh), 20);
    }

    // The font list, as many lines as it has fonts less three.
    VSystem system;
    VSystem* before = gSystem;
    gSystem = &system;
    system.BuildFontList();
    const int32_t count = system.GetFontList().GetCount();
    VTextMenu holder(commands.Owner(), nullptr, 0, file->get(), 130);
    auto* fonts = static_cast<VFontMenu*>(static_cast<VMenuItemSub*>(holder.GetNthItem(1))->BuildSubMenu(nullptr));
    ASSERT_NE(fonts, nullptr);
    fonts->SetLook(3);
    h = 1000;
    fonts->MakeWidthHeight(&measuring, w, h);
    SCOPED_TRACE("font menu");
    if (count >= 6) ScrollAndCompare(fonts, 200, int16_t((count - 3) * fonts->GetLineHeight()), count);
    EXPECT_GE(count, 6) << "too few fonts to scroll";
    gSystem = before;
}

}  // namespace
