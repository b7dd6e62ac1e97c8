#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/ArrowControl.h"
#include "app/dialogs/ColorMenu.h"
#include "app/dialogs/ControlCollection.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/collections/Collections.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/gestalt/Gestalt.h"
#include "tests/app/LongListFixture.h"

using namespace platform;

namespace apptest {
namespace {

// Colour of arrow icon id 2100 + k: a 4 x 4 square of 0x10 * (k + 1) red.
uint16_t IconRed(int k) { return uint16_t(0x10 * (k + 1) * 0x101); }

std::string ArrowIcons()
{
    std::string s;
    for (int k = 0; k < 8; ++k) {
        char colour[16];
        std::snprintf(colour, sizeof colour, "0x%02X0000", 0x10 * (k + 1));
        s += "'cicn' " + std::to_string(2100 + k) + " { colour \"k\" " + colour +
             " image \"kkkk\" \"kkkk\" \"kkkk\" \"kkkk\" }\n";
    }
    return s;
}

class CustomControlsTest : public platform::testing::ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        res = OpenTestResources(folder, ArrowIcons());
        ASSERT_GT(res, 0);
        RegisterAppControlDefinitions();
        window = Window();
    }
    void TearDown() override
    {
        SetColorMenuColors(256);
        if (globpalette) DisposeHandle(globpalette);
        globpalette = nullptr;
        ClearGestaltOverrides();
        ControlTest::TearDown();
    }
    RGBColor Pixel(int16_t h, int16_t v)
    {
        RGBColor c;
        GetCPixel(h, v, &c);
        return c;
    }
    platform::testing::TempFolder folder;
    int16_t res = 0;
    WindowRef window = nullptr;
};

// Bounds (10, 10) to (30, 76): four parts from left + 1.
ControlRef Arrows(WindowRef w, int16_t value)
{
    const Rect bounds{10, 10, 30, 76};
    const unsigned char none[1] = {0};
    return NewControl(w, &bounds, none, true, value, 0, 5, int16_t(kArrowControlDef * 16), 0);
}

TEST_F(CustomControlsTest, ArrowPartsDimAndFindNothingAtTheEnds)
{
    ControlRef c = Arrows(window, 0);
    ASSERT_NE(c, nullptr);
    const Rect p3 = GetCtlPartRect(c, 3);
    EXPECT_EQ(p3.left, 10 + 1 + 32);
    EXPECT_EQ(p3.right, p3.left + 16);
    EXPECT_EQ(p3.top, 11);
    EXPECT_EQ(p3.bottom, 29);

    Draw1Control(c);
    // At the minimum parts 1 and 2 show their dimmed icons, 3 and 4 the enabled ones.
    const int expected[4] = {1, 3, 4, 6};
    for (int16_t part = 1; part <= 4; ++part) {
        const Rect r = GetCtlPartRect(c, part);
        EXPECT_EQ(Pixel(int16_t(r.left + 2), int16_t(r.top + 2)).red, IconRed(expected[part - 1])) << part;
        // Not pressed: white edge on the left and top, grey on the right.
        EXPECT_EQ(Pixel(r.left, int16_t(r.top + 5)).green, 0xFFFF);
        EXPECT_EQ(Pixel(int16_t(r.right - 1), int16_t(r.top + 5)).green, 0xAAAA);
    }
    EXPECT_EQ(TestControl(c, Point{20, 15}), 0);
    EXPECT_EQ(TestControl(c, Point{20, 30}), 0);
    EXPECT_EQ(TestControl(c, Point{20, 50}), 3);
    EXPECT_EQ(TestControl(c, Point{20, 70}), 4);
    EXPECT_EQ(TestControl(c, Point{40, 50}), 0);  // outside

    SetControlValue(c, 5);
    EXPECT_EQ(TestControl(c, Point{20, 15}), 1);
    EXPECT_EQ(TestControl(c, Point{20, 50}), 0);
    EXPECT_EQ(TestControl(c, Point{20, 70}), 0);
    EXPECT_EQ(FindControlPart(Point{20, 15}, c, 1), 0);  // only variation 0 answers

    // Pressed: darker, the icon one pixel right and down.
    SetControlValue(c, 2);
    HiliteControl(c, 2);
    const Rect r2 = GetCtlPartRect(c, 2);
    EXPECT_EQ(Pixel(int16_t(r2.left + 1), int16_t(r2.top + 1)).green, 0x7777);
    EXPECT_EQ(Pixel(int16_t(r2.left + 5), int16_t(r2.top + 5)).red, IconRed(2));  // 4 x 4 from left + 2
    const Rect r1 = GetCtlPartRect(c, 1);
    EXPECT_EQ(Pixel(int16_t(r1.left + 5), int16_t(r1.top + 5)).red, 0xDDDD);     // 4 x 4 from left + 1

    // Inactive: grey with a rule along the top and right.
    HiliteControl(c, 255);
    EXPECT_EQ(Pixel(30, 20).green, 0xDDDD);
    EXPECT_EQ(Pixel(30, 10).green, 0x6666);
    EXPECT_EQ(Pixel(75, 20).green, 0x6666);
    EXPECT_EQ(Pixel(75, 29).green, 0x6666) << "down to the last row";
    EXPECT_EQ(Pixel(10, 20).green, 0xDDDD);

    // The region message answers the bounds.
    RgnHandle rgn = NewRgn();
    EXPECT_EQ(ProcObjCDEF(0, c, calcCRgns, reinterpret_cast<intptr_t>(rgn)), 0);
    Rect b;
    GetRegionBounds(rgn, &b);
    EXPECT_EQ(b.left, 10);
    EXPECT_EQ(b.right, 76);
    EXPECT_EQ(b.top, 10);
    EXPECT_EQ(b.bottom, 30);
    DisposeRgn(rgn);
    DisposeControl(c);
}

TEST_F(CustomControlsTest, ColourMenuGridSizesAndHitTesting)
{
    int16_t w = 0, h = 0;
    CalcColorMSize(&w, &h);
    EXPECT_EQ(w, 166);
    EXPECT_EQ(h, 166);
    const Rect menu{100, 200, 266, 366};
    const Rect r17 = CalcColorRect(17, &menu);
    EXPECT_EQ(r17.left, 204);
    EXPECT_EQ(r17.top, 114);
    EXPECT_EQ(r17.right, 212);
    EXPECT_EQ(r17.bottom, 122);

    EXPECT_EQ(FindColorItem(Point{105, 205}, &menu), 1);
    EXPECT_EQ(FindColorItem(Point{105, 213}, &menu), 1);  // the gap right of swatch 1
    EXPECT_EQ(FindColorItem(Point{113, 205}, &menu), 1);  // the gap below it
    EXPECT_EQ(FindColorItem(Point{114, 205}, &menu), 17);
    EXPECT_EQ(FindColorItem(Point{100, 200}, &menu), 1);  // the margin
    EXPECT_EQ(FindColorItem(Point{400, 365}, &menu), 256);  // below the last row: never past 256
    EXPECT_EQ(FindColorItem(Point{400, 205}, &menu), 241);

    SetColorMenuColors(16);
    CalcColorMSize(&w, &h);
    EXPECT_EQ(w, 76);
    EXPECT_EQ(h, 160);
    EXPECT_EQ(FindColorItem(Point{400, 400}, &menu), 16);
    SetColorMenuColors(8);
    CalcColorMSize(&w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(FindColorItem(Point{105, 205}, &menu), 0);

    // The messages of the definition.
    SetColorMenuColors(256);
    MenuRef m = NewColorMenu(103);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(CountMenuItems(m), 256);
    int16_t answer = 0;
    Rect rect = menu;
    CustomColorMenu(kMenuThemeSavvyMsg, m, &rect, Point{0, 0}, &answer);
    EXPECT_EQ(answer, 0x7473);
    CustomColorMenu(kMenuSizeMsg, m, &rect, Point{0, 0}, &answer);
    EXPECT_EQ(GetMenuWidth(m), 166);
    EXPECT_EQ(GetMenuHeight(m), 166);
    MenuTrackingData track{};
    CustomColorMenu(kMenuFindItemMsg, m, &rect, Point{114, 205}, reinterpret_cast<int16_t*>(&track));
    EXPECT_EQ(track.itemSelected, 17);
    EXPECT_EQ(track.itemUnderMouse, 17);
    EXPECT_EQ(track.itemRect.top, 114);
    CustomColorMenu(kMenuFindItemMsg, m, &rect, Point{50, 205}, reinterpret_cast<int16_t*>(&track));
    EXPECT_EQ(track.itemSelected, 0);
    EXPECT_EQ(track.itemUnderMouse, 1);
    CustomColorMenu(kMenuFindItemMsg, m, nullptr, Point{114, 205}, reinterpret_cast<int16_t*>(&track));
    EXPECT_EQ(track.itemUnderMouse, 1) << "no rectangle: nothing found";
    CustomColorMenu(kMenuFindItemMsg, m, &rect, Point{114, 205}, nullptr);
    DisposeMenu(m);
}

TEST_F(CustomControlsTest, ColourSwatchesShowThePaletteAndHighlightOnlyChanges)
{
    // A palette of 20 entries: entry i is red i * 0x0808.
    const int32_t count = 20;
    globpalette = NewHandleClear(16 + 16 * count);
    auto* p = reinterpret_cast<uint8_t*>(*globpalette);
    WriteBE16(p, uint16_t(count));
    for (int32_t i = 0; i < count; ++i) WriteBE16(p + 16 + 16 * i, uint16_t(i * 0x0808));
    const RGBColor blue{0, 0, 0xFFFF};
    RGBForeColor(&blue);
    const Rect menu{10, 10, 176, 176};
    DrawColors(0, &menu);
    for (int16_t item : {1, 2, 17, 20}) {
        const Rect r = CalcColorRect(item, &menu);
        EXPECT_EQ(Pixel(int16_t(r.left + 3), int16_t(r.top + 3)).red, (item - 1) * 0x0808) << item;
    }
    // Past the palette: the foreground in force, which is then restored.
    const Rect r21 = CalcColorRect(21, &menu);
    EXPECT_EQ(Pixel(int16_t(r21.left + 3), int16_t(r21.top + 3)).blue, 0xFFFF);
    RGBColor fore;
    GetForeColor(&fore);
    EXPECT_EQ(fore.blue, 0xFFFF);

    // Highlighting: the same item twice draws nothing, another frames in XOR.
    const Rect r5 = CalcColorRect(5, &menu);
    const int16_t fh = int16_t(r5.left - 2), fv = int16_t(r5.top + 3);
    const RGBColor before = Pixel(fh, fv);
    HiliteMenuItemData same{5, 5};
    Rect rect = menu;
    CustomColorMenu(kMenuHiliteItemMsg, nullptr, &rect, Point{0, 0}, reinterpret_cast<int16_t*>(&same));
    EXPECT_EQ(Pixel(fh, fv).green, before.green);
    HiliteMenuItemData moved{0, 5};
    CustomColorMenu(kMenuHiliteItemMsg, nullptr, &rect, Point{0, 0}, reinterpret_cast<int16_t*>(&moved));
    EXPECT_NE(Pixel(fh, fv).green, before.green);
    HiliteMenuItemData back{5, 0};
    CustomColorMenu(kMenuHiliteItemMsg, nullptr, &rect, Point{0, 0}, reinterpret_cast<int16_t*>(&back));
    EXPECT_EQ(Pixel(fh, fv).green, before.green);

    // A selected swatch gets a frame 3 pixels out.
    int16_t selected = 5;
    CustomColorMenu(kColorMenuDrawSelectedMsg, nullptr, &rect, Point{0, 0}, &selected);
    EXPECT_EQ(Pixel(int16_t(r5.left - 3), int16_t(r5.top + 3)).blue, 0xFFFF);
    EXPECT_EQ(Pixel(int16_t(r5.left - 1), int16_t(r5.top + 3)).green, before.green) << "two pixels wide";
    // The last swatch can be the selected one too.
    selected = 256;
    CustomColorMenu(kColorMenuDrawSelectedMsg, nullptr, &rect, Point{0, 0}, &selected);
    const Rect last = CalcColorRect(256, &menu);
    EXPECT_NE(Pixel(int16_t(last.left - 2), int16_t(last.top + 3)).green, before.green);
}

}  // namespace
}  // namespace apptest

#include "tests/app/AppFixture.h"

namespace apptest {
namespace {

class ColourSubmenuTest : public AppFixture {};

// What the tri-state stand-in found in its initialisation's collection.
struct SeenAtInit {
    int32_t items = -1;
    uintptr_t refCon = 0;
    std::string title;
    std::vector<uint8_t> bounds;
    std::vector<int32_t> sizes;
    int32_t max = 0;
} gSeen;

int32_t RecordingTriState(int16_t, ControlRef, int16_t message, intptr_t param)
{
    if (message != initCntl) return 0;
    auto c = reinterpret_cast<Collection>(param);
    gSeen.items = CountCollectionItems(c);
    for (OSType tag : {FourCC("boun"), FourCC("valu"), FourCC("visi"), FourCC("max "), FourCC("min "), FourCC("idid"),
                       FourCC("refc"), FourCC("titl")}) {
        int32_t n = -1;
        GetCollectionItem(c, tag, 0, &n, nullptr);
        gSeen.sizes.push_back(n);
    }
    int32_t size = 0;
    GetCollectionItem(c, FourCC("refc"), 0, &size, nullptr);
    if (size == int32_t(sizeof(uintptr_t))) GetCollectionItem(c, FourCC("refc"), 0, nullptr, &gSeen.refCon);
    char title[256] = {};
    if (GetCollectionItem(c, FourCC("titl"), 0, &size, title) == noErr) gSeen.title.assign(title, size_t(size));
    uint8_t bytes[8] = {};
    if (GetCollectionItem(c, FourCC("boun"), 0, nullptr, bytes) == noErr) gSeen.bounds.assign(bytes, bytes + 8);
    if (GetCollectionItem(c, FourCC("max "), 0, nullptr, bytes) == noErr) gSeen.max = int32_t(ReadBE32(bytes));
    return 0;
}

TEST_F(ColourSubmenuTest, TheColourSubmenuIsTheSwatchGridAndTheDefinitionsAreRegistered)
{
    UseAppResources(R"(
'MMBR' 129 { menu 130 "Edit" items 103 }
'MITM' 103 { text "Colour" command 101 kind submenu }
)");
    ASSERT_EQ(BuildMenus(), noErr);
    MenuRef colours = GetMenuHandle(103);
    ASSERT_NE(colours, nullptr);
    EXPECT_EQ(CountMenuItems(colours), 256);
    int16_t answer = 0;
    Rect r{0, 0, 0, 0};
    CustomColorMenu(kMenuSizeMsg, colours, &r, Point{0, 0}, &answer);
    EXPECT_EQ(GetMenuWidth(colours), 166);

    // Start-up registers the arrows, and the tri-state box once handed in.
    ResetControlDefinitions();
    SetTriStateProc(RecordingTriState);
    RegisterAppControlDefinitions();
    const Rect b{0, 0, 20, 66};
    const unsigned char none[1] = {0};
    const unsigned char title[5] = {4, 'T', 'r', 'i', 'o'};
    WindowRef w = NewCWindow(nullptr, &b, none, false, 0, reinterpret_cast<WindowRef>(-1), false, 0);
    ControlRef arrows = NewControl(w, &b, none, false, 0, 0, 1, int16_t(kArrowControlDef * 16), 0);
    // Its creation parameters reach the definition as collection items, the
    // reference whole.
    const uintptr_t reference = uintptr_t(&gSeen);
    const Rect triBounds{3, 4, 20, 66};
    ControlRef tri = NewControl(w, &triBounds, title, false, 0, 0, 2, int16_t(kTriStateControlDef * 16), reference);
    EXPECT_NE(arrows, nullptr);
    EXPECT_NE(tri, nullptr);
    EXPECT_EQ(gSeen.items, 8);
    EXPECT_EQ(gSeen.refCon, reference);
    EXPECT_EQ(gSeen.title, "Trio");
    EXPECT_EQ(gSeen.bounds, (std::vector<uint8_t>{0, 3, 0, 4, 0, 20, 0, 66}));
    EXPECT_EQ(gSeen.sizes, (std::vector<int32_t>{8, 2, 1, 4, 4, 4, int32_t(sizeof(uintptr_t)), 4}));
    EXPECT_EQ(gSeen.max, 2);
    Collection empty = NewCollection();
    EXPECT_EQ(ControlToCollectionProc(nullptr, 0, true, 1, 0, 0, 0, title, empty), paramErr);
    EXPECT_EQ(CountCollectionItems(empty), 0);
    DisposeCollection(empty);
    SetTriStateProc(nullptr);
    DisposeWindow(w);
    ResetControlDefinitions();
}

}  // namespace
}  // namespace apptest
