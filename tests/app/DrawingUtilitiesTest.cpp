#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/DrawingUtilities.h"
#include "looks/GrayLevels.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

// A white 32-bit world of 20 x 20 as the current port.
class Canvas {
public:
    Canvas()
    {
        const Rect bounds{0, 0, 20, 20};
        NewGWorld(&world_, 32, &bounds, nullptr, nullptr, 0);
        GetGWorld(&savedPort_, &savedDevice_);
        SetGWorld(world_, nullptr);
        const RGBColor white{65535, 65535, 65535}, black{0, 0, 0};
        RGBBackColor(&white);
        RGBForeColor(&black);
        EraseRect(&bounds);
    }
    ~Canvas()
    {
        SetGWorld(savedPort_, savedDevice_);
        DisposeGWorld(world_);
    }
    uint16_t At(int16_t h, int16_t v)
    {
        RGBColor c;
        GetCPixel(h, v, &c);
        return c.red;
    }
    GWorldPtr world_ = nullptr;

private:
    CGrafPtr savedPort_ = nullptr;
    GDHandle savedDevice_ = nullptr;
};

uint16_t GrayOf(int16_t level)
{
    RGBColor c;
    pp_getGray(level, &c);
    return c.red;
}

TEST(DrawingUtilities, ThreeDFramesColourExactlyTheirEdges)
{
    for (int16_t raised : {1, 0}) {
        Canvas canvas;
        RGBColor before;
        GetForeColor(&before);
        const Rect r{5, 5, 15, 15};
        pp_DrawFrame(&r, raised);
        const uint16_t frame = GrayOf(raised ? 10 : 8), outer = GrayOf(5), inner = GrayOf(2);
        EXPECT_EQ(canvas.At(8, 14), frame) << "the frame's bottom row";
        EXPECT_EQ(canvas.At(14, 8), frame) << "the frame's right column";
        EXPECT_EQ(canvas.At(4, 10), outer) << "left of the frame";
        EXPECT_EQ(canvas.At(4, 4), outer) << "the outer corner";
        EXPECT_EQ(canvas.At(10, 4), outer) << "above the frame";
        EXPECT_EQ(canvas.At(14, 4), outer) << "the top edge ends at right - 1";
        EXPECT_EQ(canvas.At(15, 4), 65535);
        EXPECT_EQ(canvas.At(15, 6), inner) << "right of the frame from top + 1";
        EXPECT_EQ(canvas.At(15, 5), 65535);
        EXPECT_EQ(canvas.At(15, 15), inner);
        EXPECT_EQ(canvas.At(5, 15), inner) << "below the frame back to left";
        EXPECT_EQ(canvas.At(4, 15), outer) << "the left edge starts at bottom";
        EXPECT_EQ(canvas.At(10, 10), 65535) << "the inside stays";
        RGBColor after;
        GetForeColor(&after);
        EXPECT_EQ(after.red, before.red) << "colours restored";
    }

    Canvas canvas;
    Draw3dLine(Point{2, 3}, Point{12, 3});  // vertical: (v, h)
    EXPECT_EQ(canvas.At(3, 7), GrayOf(5));
    EXPECT_EQ(canvas.At(4, 7), GrayOf(2));
    Draw3dLine(Point{17, 2}, Point{17, 12});  // horizontal
    EXPECT_EQ(canvas.At(7, 17), GrayOf(5));
    EXPECT_EQ(canvas.At(7, 18), GrayOf(2));
    Draw3dLine(Point{0, 0}, Point{5, 5});  // neither: nothing
    EXPECT_EQ(canvas.At(1, 1), 65535);
}

TEST(DrawingUtilities, MagentaTakesTheDialogColourThroughTheTransparentProcs)
{
    InitTransparentProcs();
    G_DlogContentColor = RGBColor{0x1100, 0x2200, 0x3300};
    Canvas canvas;
    canvas.world_->grafProcs = &G_qdTransp;

    // A 2 x 1 direct icon: magenta, then white.
    uint32_t pixels[2] = {0x00FF00FF, 0x00FFFFFF};
    PixMap icon;
    icon.baseAddr = reinterpret_cast<Ptr>(pixels);
    icon.rowBytes = int16_t(8 | kPixMapFlag);
    icon.bounds = Rect{0, 0, 1, 2};
    icon.pixelType = RGBDirect;
    icon.pixelSize = 32;
    icon.cmpCount = 3;
    icon.cmpSize = 8;
    const Rect dst{0, 0, 1, 2};
    CopyBits(&icon, GetPortBitMapForCopyBits(canvas.world_), &icon.bounds, &dst, srcCopy, nullptr);
    RGBColor c;
    GetCPixel(0, 0, &c);
    EXPECT_EQ(c.red, 0x1111);
    EXPECT_EQ(c.blue, 0x3333);
    GetCPixel(1, 0, &c);
    EXPECT_EQ(c.green, 0xFFFF) << "white stays";
    EXPECT_EQ(pixels[0], 0x00FF00FFu) << "the icon's own pixels are not changed";

    // An indexed icon: its magenta entry, not its white one.
    CTabHandle table = reinterpret_cast<CTabHandle>(NewHandleClear(Size(sizeof(ColorTable) + 2 * sizeof(ColorSpec))));
    (*table)->ctSize = 1;
    CTabEntries(table)[0] = ColorSpec{0, RGBColor{65535, 65535, 65535}};
    CTabEntries(table)[1] = ColorSpec{1, RGBColor{65535, 0, 65535}};
    uint8_t indices[2] = {0, 1};
    PixMap indexed;
    indexed.baseAddr = reinterpret_cast<Ptr>(indices);
    indexed.rowBytes = int16_t(2 | kPixMapFlag);
    indexed.bounds = Rect{0, 0, 1, 2};
    indexed.pixelSize = 8;
    indexed.pmTable = table;
    const Rect dst2{5, 0, 6, 2};
    CopyBits(&indexed, GetPortBitMapForCopyBits(canvas.world_), &indexed.bounds, &dst2, srcCopy, nullptr);
    GetCPixel(0, 5, &c);
    EXPECT_EQ(c.green, 0xFFFF) << "white stays white";
    GetCPixel(1, 5, &c);
    EXPECT_EQ(c.red, 0x1111);
    EXPECT_EQ(CTabEntries(table)[1].rgb.green, 0) << "the icon's table is not changed";
    DisposeHandle(reinterpret_cast<Handle>(table));
    canvas.world_->grafProcs = nullptr;
    G_DlogContentColor = RGBColor{65535, 65535, 65535};
}

}  // namespace

#include "platform/screen/Screen.h"
#include "tests/app/AppFixture.h"

namespace {

using DialogTemplates = apptest::AppFixture;

TEST_F(DialogTemplates, TemplatesAreCentredAndTheReserveComesBack)
{
    UseAppResources(R"(
'DLOG' 300 { bounds 0 0 100 200 items 300 }
'clut' 5 { colour 0x102030 colour 0x405060 }
)");
    const Rect screen = ScreenBounds();
    Handle resource = nullptr, bits = reinterpret_cast<Handle>(1);
    Rect r{};
    DLogSaveScreen(FourCC("DLOG"), 300, &resource, &bits, &r);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(bits, nullptr) << "nothing of the screen is saved";
    EXPECT_EQ(r.left, (screen.right - 200) / 2);
    EXPECT_EQ(r.bottom - r.top, 100);
    EXPECT_EQ(int16_t(ReadBE16(*resource)), r.top) << "the template itself is placed";
    GromMemHdl = nullptr;
    DLogRestoreScreen(resource, bits, &r, false);
    EXPECT_NE(GromMemHdl, nullptr);
    DLogSaveScreen(FourCC("ALRT"), 999, &resource, &bits, &r);
    EXPECT_EQ(resource, nullptr);
    EXPECT_EQ(r.right - r.left, 0);

    RGBColor c;
    Mydrawgetcol(&c, 1, 5);
    EXPECT_EQ(c.red, 0x4040);
    Mydrawgetcol(&c, 0, 5);
    EXPECT_EQ(c.red, 0) << "index 0 is black";
    Mydrawgetcol(&c, 2, 5);
    EXPECT_EQ(c.red, 0) << "past the table";
    Mydrawgetcol(&c, 1, 6);
    EXPECT_EQ(c.red, 0) << "no table";

    const Rect usable = GetWScreenRect(nullptr);
    EXPECT_EQ(usable.top, 24);
    EXPECT_EQ(usable.right, screen.right - 4);
}

}  // namespace

#include "tests/app/AppFixture.h"

namespace {

using AppDrawing = apptest::AppFixture;

// A small icon is drawn only when its 32 bytes are all there.
TEST_F(AppDrawing, SmallIconsDrawOnlyWhenWhole)
{
    ResourceImage two, short1;
    two.type = short1.type = FourCC("SICN");
    two.id = 300;
    short1.id = 301;
    two.data.assign(32, 0);
    two.data.resize(64, 0xFF);  // the second icon black
    short1.data = two.data;
    short1.data.pop_back();
    UseAppResources("", true, {two, short1});
    struct Case {
        int16_t id, index;
        uint16_t red;
    };
    for (const Case& c : {Case{300, 1, 0}, Case{300, 0, 0xFFFF}, Case{300, 2, 0xFFFF}, Case{301, 1, 0xFFFF},
                          Case{300, -1, 0xFFFF}}) {
        Canvas canvas;
        const Rect r{2, 2, 18, 18};
        DrawSmallIcon(c.id, c.index, &r);
        EXPECT_EQ(canvas.At(2, 2), c.red) << c.id << " " << c.index;
    }
}

// Erasing the grow box clears the window's bottom-right 15-pixel square alone.
TEST_F(AppDrawing, TheGrowBoxIsTheBottomRightSquare)
{
    const Rect bounds{50, 50, 150, 250};
    const unsigned char none[1] = {0};
    WindowRef w = NewCWindow(nullptr, &bounds, none, true, 0, reinterpret_cast<WindowRef>(-1), false, 0);
    SetPortWindowPort(w);
    const Rect all{0, 0, 100, 200};
    PaintRect(&all);
    SqrEraseGrowIcon(w);
    SetPortWindowPort(w);
    const std::pair<Point, uint16_t> cases[] = {
        {{99, 199}, 0xFFFF}, {{85, 185}, 0xFFFF}, {{84, 199}, 0}, {{99, 184}, 0}};
    for (const auto& [at, red] : cases) {
        RGBColor c;
        GetCPixel(at.h, at.v, &c);
        EXPECT_EQ(c.red, red) << at.h << "," << at.v;
    }
    DisposeWindow(w);
}

}  // namespace
