// Geometry of a painter: offsets, clamping, thick lines, nesting of paint
// passes, clipping, scrolling, highlighting and dimmed colours; and what a
// painter with no port does (nothing).
#include "tests/toolbox/drawing/PainterTestSupport.h"

#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

using namespace paintertest;
using platform::Rect;

namespace {

std::vector<Rect> gRects;
std::vector<std::pair<int16_t, std::vector<uint8_t>>> gComments;

void RecordRect(platform::GrafVerb verb, const Rect* r)
{
    gRects.push_back(*r);
    platform::StdRect(verb, r);
}

void RecordComment(int16_t kind, int16_t size, platform::Handle data)
{
    std::vector<uint8_t> bytes;
    if (data && *data) bytes.assign(reinterpret_cast<uint8_t*>(*data), reinterpret_cast<uint8_t*>(*data) + size);
    gComments.emplace_back(kind, bytes);
}

bool SameRect(const Rect& r, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

class PrinterPainter : public VPainter {
public:
    using VPainter::VPainter;
    bool IsPrinterPainter() const override { return true; }
};

class ScaledPainter : public VPainter {
public:
    ScaledPainter(platform::CGrafPtr port) : VPainter(port, true) { SetScaling(true, 2.0, 0.5); }
};

}  // namespace

TEST_F(PainterTest, RectanglesAreMovedByTheOffsetAndClampedTo16Bits)
{
    World world;
    VPainter painter(world.get(), true);
    painter.SetFillColor(0x0000FF);  // red
    painter.SetLineColor(0xFF0000);  // blue
    painter.AddOffset(3, 4);
    painter.DrawVRect(0, 0, 10, 5);
    const platform::CGrafPtr port = world.get();
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 50);
    EXPECT_EQ(CountNot(port, 0x0000FF, 3, 4, 13, 9), 24);  // the frame blue, the inside red
    for (int32_t y = 4; y < 9; ++y) {
        EXPECT_EQ(PixelAt(port, 3, y), 0x0000FFu) << y;
        EXPECT_EQ(PixelAt(port, 12, y), 0x0000FFu) << y;
    }
    for (int32_t x = 3; x < 13; ++x) {
        EXPECT_EQ(PixelAt(port, x, 4), 0x0000FFu) << x;
        EXPECT_EQ(PixelAt(port, x, 8), 0x0000FFu) << x;
    }
    EXPECT_EQ(PixelAt(port, 5, 6), 0xFF0000u);
    EXPECT_EQ(PixelAt(port, 13, 6), kWhite);
    EXPECT_EQ(PixelAt(port, 8, 9), kWhite);
    int32_t x = 0, y = 0;
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);

    platform::QDProcs procs;
    procs.rectProc = RecordRect;
    world.get()->grafProcs = &procs;
    gRects.clear();
    painter.FillVRect(39990, -40010, 20, 20);
    painter.AddOffset(2000000000, 0);
    painter.FillVRect(2000000000, 0, 2000000000, 1);  // far past 32 bits
    painter.RestoreOffset();
    world.get()->grafProcs = nullptr;
    ASSERT_EQ(gRects.size(), 2u);
    EXPECT_TRUE(SameRect(gRects[0], 32767, -32768, 32767, -32768));
    EXPECT_TRUE(SameRect(gRects[1], 32767, 4, 32767, 5));

    painter.RestoreOffset();
    painter.RestoreOffset();  // more restores than offsets: stays at 0
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(PainterTest, ThickLinesStraddleTheirIdealLine)
{
    World world;
    VPainter painter(world.get(), true);
    painter.SetLineWidth(3);
    painter.DrawVLine(10, 0, 10, 20);
    const platform::CGrafPtr port = world.get();
    // Drawn from (9, 0) to (9, 18) with a 3 x 3 pen: columns 9-11, rows 0-20.
    EXPECT_EQ(CountNot(port, kBlack, 9, 0, 12, 21), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 3 * 21);

    // Horizontal: the same across.
    painter.DrawVLine(40, 30, 20, 30);
    EXPECT_EQ(CountNot(port, kBlack, 20, 29, 41, 32), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 22, 64, 64), 3 * 21);

    // Width 2 straddles too: rows 19-20, columns 10-30.
    platform::EraseRect(&port->portRect);
    painter.SetLineWidth(2);
    painter.DrawVLine(10, 20, 30, 20);
    EXPECT_EQ(CountNot(port, kBlack, 10, 19, 31, 21), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 2 * 21);

    // A slanted line moves back on both axes: (10, 10)-(20, 20) is drawn
    // from (9, 9) to (17, 17) with a 3 x 3 pen, ending at (19, 19).
    platform::EraseRect(&port->portRect);
    painter.SetLineWidth(3);
    painter.DrawVLine(10, 10, 20, 20);
    EXPECT_EQ(CountNot(port, kBlack, 9, 9, 12, 12), 0);
    EXPECT_EQ(CountNot(port, kBlack, 17, 17, 20, 20), 0);
    EXPECT_EQ(PixelAt(port, 20, 20), kWhite);

    // A width of 1 (or a fraction above 0) draws the line as it is.
    platform::EraseRect(&port->portRect);
    painter.SetLineWidth(0.5);
    painter.DrawVLine(5, 5, 5, 9);
    EXPECT_EQ(CountNot(port, kBlack, 5, 5, 6, 10), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 5);

    // Relative lines and corners.
    platform::EraseRect(&port->portRect);
    painter.SetLineWidth(1);
    painter.DrawVCornerRel(10, 20, 0, -10, 10, 0);  // up, then right
    EXPECT_EQ(CountNot(port, kBlack, 10, 10, 11, 21), 0);
    EXPECT_EQ(CountNot(port, kBlack, 10, 10, 21, 11), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 21);
}

// A printer takes pen widths in hundredths after comment 182.
TEST_F(PainterTest, PrinterPainterAnnouncesFinePenWidths)
{
    World world;
    platform::QDProcs procs;
    procs.commentProc = RecordComment;
    world.get()->grafProcs = &procs;
    gComments.clear();
    PrinterPainter printer(world.get(), true);
    printer.SetLineWidth(1.5);
    printer.DrawVLine(0, 0, 0, 10);
    world.get()->grafProcs = nullptr;
    ASSERT_EQ(gComments.size(), 1u);
    EXPECT_EQ(gComments[0].first, 182);
    ASSERT_EQ(gComments[0].second.size(), 4u);
    EXPECT_EQ(platform::ReadBE16(&gComments[0].second[0]), 1);
    EXPECT_EQ(platform::ReadBE16(&gComments[0].second[2]), 100);
    EXPECT_EQ(world.get()->pnSize.h, 150);
    EXPECT_EQ(world.get()->pnSize.v, 150);

    // A screen painter announces nothing.
    gComments.clear();
    world.get()->grafProcs = &procs;
    VPainter screen(world.get(), true);
    screen.SetLineWidth(1.5);
    screen.DrawVLine(0, 0, 0, 10);
    world.get()->grafProcs = nullptr;
    EXPECT_TRUE(gComments.empty());
    EXPECT_EQ(world.get()->pnSize.h, 2);
}

TEST_F(PainterTest, ScalingMultipliesOffsetsAndSizes)
{
    World world;
    ScaledPainter painter(world.get());
    painter.AddOffset(3, 8);  // becomes (6, 4)
    int32_t x = 0, y = 0;
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 8);
    painter.FillVRect(1, 4, 5, 4);  // left 8, top 6, width 10, height 2
    EXPECT_EQ(CountNot(world.get(), kBlack, 8, 6, 18, 8), 0);
    EXPECT_EQ(CountNot(world.get(), kWhite, 0, 0, 64, 64), 20);
    // A clip region is scaled in place and size, then moved by the offset.
    platform::SetPort(world.get());
    platform::EraseRect(&world.get()->portRect);
    painter.SaveClip(false);
    painter.ClipVRegion(VRegion(VRect(5, 8, 4, 8)), false);  // left 16, top 8, width 8, height 4
    painter.FillVRect(-10, -20, 60, 60);
    EXPECT_EQ(CountNot(world.get(), kBlack, 16, 8, 24, 12), 0);
    EXPECT_EQ(CountNot(world.get(), kWhite, 0, 0, 64, 64), 32);
    painter.RestoreClip();
    painter.SetLineWidth(2);
    painter.DrawVLine(0, 0, 0, 0);
    EXPECT_EQ(world.get()->pnSize.h, 4);
    EXPECT_EQ(world.get()->pnSize.v, 1);
    // Reset turns scaling off and empties the offset.
    painter.Reset();
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(PainterTest, NestedPaintPassesBindOnceAndGiveTheOffsetBack)
{
    World world, other;
    OpenPainter painter;
    EXPECT_EQ(painter.GetCurPort(), nullptr);
    painter.AddOffset(7, 9);
    painter.BeginPaint(world.get());
    EXPECT_EQ(painter.GetCurPort(), world.get());
    int32_t x = 1, y = 1;
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(painter.GetFillColor(), 0u);  // bound with the standard settings
    painter.SetFillColor(0x0000FF);
    painter.AddOffset(2, 2);
    painter.BeginPaint(other.get());  // inner: no new binding
    EXPECT_EQ(painter.GetCurPort(), world.get());
    EXPECT_EQ(painter.GetFillColor(), 0x0000FFu);
    EXPECT_EQ(painter.GetPaintLevel(), 2);
    painter.EndPaint();
    painter.FillVRect(0, 0, 2, 2);
    EXPECT_EQ(PixelAt(world.get(), 2, 2), 0xFF0000u);
    painter.RestoreOffset();
    painter.EndPaint();
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 7);
    EXPECT_EQ(y, 9);
    EXPECT_EQ(painter.GetPaintLevel(), 0);
    // The pass leaves the port black on white with a normal pen.
    platform::RGBColor fore;
    platform::SetPort(world.get());
    platform::GetForeColor(&fore);
    EXPECT_EQ(platform::PackRGB(fore), kBlack);
    painter.EndPaint();  // at level 0: nothing
    EXPECT_EQ(painter.GetPaintLevel(), 0);

    // With no port given the platform's current port is taken.
    platform::SetPort(other.get());
    painter.BeginPaint(nullptr);
    EXPECT_EQ(painter.GetCurPort(), other.get());
    painter.EndPaint();
}

// A painter bound to another port leaves the one before black on white.
TEST_F(PainterTest, BindingAnotherPortLeavesTheOneBeforeInStandardColours)
{
    World world, other;
    VPainter painter(world.get(), true);
    painter.SetFillColor(0x0000FF);  // red
    painter.FillVRect(0, 0, 2, 2);
    ASSERT_EQ(PixelAt(world.get(), 1, 1), 0xFF0000u);
    painter.BeginPaint(other.get());
    platform::SetPort(world.get());
    platform::RGBColor fore;
    platform::GetForeColor(&fore);
    EXPECT_EQ(platform::PackRGB(fore), kBlack);
    painter.EndPaint();
    EXPECT_EQ(painter.GetWidth(), 0) << "a plain painter has no extent of its own";
}

TEST_F(PainterTest, SavedClipsLimitDrawingAndComeBackInOrder)
{
    World world;
    VPainter painter(world.get(), true);
    const platform::CGrafPtr port = world.get();
    painter.AddOffset(10, 10);
    painter.SaveClip(false);
    painter.ClipVRect(VRect(0, 0, 5, 5), false);
    EXPECT_TRUE(painter.VRectIsInClip(VRect(4, 4, 3, 3)));
    EXPECT_FALSE(painter.VRectIsInClip(VRect(5, 0, 3, 3)));
    painter.SaveClip(false);
    painter.ClipVRect(VRect(2, 2, 10, 10), true);  // intersect: (2, 2) to (5, 5)
    painter.FillVRect(-10, -10, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 12, 12, 15, 15), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 9);
    painter.RestoreClip();
    painter.FillVRect(-10, -10, 64, 64);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 25);
    painter.RestoreClip();
    painter.RestoreClip();  // empty stack: the clip stays open
    painter.FillVRect(-10, -10, 64, 64);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 64 * 64);

    // SaveClip(true) opens the clip to the port; regions clip with their
    // own origin plus the offset, direct regions with their origin only.
    platform::EraseRect(&port->portRect);
    painter.ClipVRect(VRect(0, 0, 1, 1), false);
    painter.SaveClip(true);
    VRegion region(VRect(0, 0, 4, 4));
    region.AddRect(10, 10, 2, 2);
    painter.ClipVRegion(region, false);
    painter.FillVRect(-10, -10, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 10, 10, 14, 14), 0);
    EXPECT_EQ(CountNot(port, kBlack, 20, 20, 22, 22), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 20);
    platform::EraseRect(&port->portRect);
    painter.ClipVRegionDirect(region, false);
    painter.FillVRect(-10, -10, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 0, 0, 4, 4), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 20);
    painter.RestoreClip();  // the one-pixel clip saved by SaveClip(true)
    EXPECT_TRUE(painter.VRectIsInClip(VRect(0, 0, 1, 1)));
    EXPECT_FALSE(painter.VRectIsInClip(VRect(1, 0, 1, 1)));
}

TEST_F(PainterTest, FramesClipToTheirPlaceAndScrolledContent)
{
    World world;
    VPainter painter(world.get(), true);
    const platform::CGrafPtr port = world.get();
    TestFrame frame(20, 10, 8, 6);
    painter.ClipFrame(&frame, nullptr, false);
    EXPECT_TRUE(painter.FrameIsInClip(&frame, nullptr));
    painter.FillVRect(0, 0, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 20, 10, 28, 16), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 48);

    // A rectangle of a scrolled view's content, scrolled by (100, 50).
    platform::EraseRect(&port->portRect);
    frame.Scroll(100, 50);
    const VRect content(102, 51, 3, 2);
    painter.SaveClip(true);
    painter.ClipFrame(&frame, &content, false);
    painter.FillVRect(0, 0, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 22, 11, 25, 13), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 6);
    EXPECT_EQ(content.GetLeft(), 102);  // the caller's rectangle is untouched

    TestFrame away(40, 40, 5, 5);
    EXPECT_FALSE(painter.FrameIsInClip(&away, nullptr));
    EXPECT_TRUE(painter.FrameIsInClip(&frame, nullptr));  // its content part is in the clip
    painter.RestoreClip();
    painter.SaveClip(true);
    EXPECT_TRUE(painter.FrameIsInClip(&away, nullptr));
    painter.RestoreClip();
}

TEST_F(PainterTest, ScrollingMovesPixelsAndGrowsTheRectangle)
{
    World world;
    VPainter painter(world.get(), true);
    const platform::CGrafPtr port = world.get();
    painter.AddOffset(5, 5);
    painter.FillVRect(0, 0, 10, 3);  // rows 5-7
    VRect rect(0, 0, 10, 20);
    painter.ScrollVRect(&rect, 0, 10);
    EXPECT_EQ(rect.GetTop(), 0);
    EXPECT_EQ(rect.GetHeight(), 30);  // grown at the bottom, where the content goes
    EXPECT_EQ(CountNot(port, kBlack, 5, 15, 15, 18), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 30);

    platform::EraseRect(&port->portRect);
    painter.FillVRect(5, 10, 5, 3);  // columns 10-14
    VRect left(5, 0, 10, 20);
    painter.ScrollVRect(&left, -5, 0);  // grown at the left
    EXPECT_EQ(left.GetLeft(), 0);
    EXPECT_EQ(left.GetWidth(), 15);
    EXPECT_EQ(CountNot(port, kBlack, 5, 15, 10, 18), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 15);
}

TEST_F(PainterTest, HighlightingSwapsBackgroundAndHighlightColourAndRestoresTheMode)
{
    World world;
    VPainter painter(world.get(), true);
    const platform::CGrafPtr port = world.get();
    platform::SetPort(port);
    const platform::RGBColor yellow{0xFFFF, 0xFFFF, 0};
    platform::HiliteColor(&yellow);
    const platform::RGBColor green{0, 0xFFFF, 0}, grey{0x8080, 0x8080, 0x8080};
    platform::RGBForeColor(&green);
    platform::RGBBackColor(&grey);
    const uint8_t mode = platform::LMGetHiliteMode();
    painter.AddOffset(10, 10);
    painter.HiliteVRegion(VRegion(VRect(0, 0, 4, 4)));
    EXPECT_EQ(CountNot(port, 0xFFFF00, 10, 10, 14, 14), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 16);
    EXPECT_EQ(platform::LMGetHiliteMode(), mode);
    platform::RGBColor fore, back;
    platform::GetForeColor(&fore);
    platform::GetBackColor(&back);
    EXPECT_EQ(platform::PackRGB(fore), 0x00FF00u);
    EXPECT_EQ(platform::PackRGB(back), 0x808080u);
    // Highlighting again gives the background back.
    painter.HiliteVRegion(VRegion(VRect(0, 0, 4, 4)));
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 0);
}

TEST_F(PainterTest, DimmedColoursKeepTheirDominantChannel)
{
    auto dim = [](uint16_t r, uint16_t g, uint16_t b) {
        platform::RGBColor c{r, g, b};
        VPainter::DimColor(&c);
        return c;
    };
    platform::RGBColor c = dim(0xFFFF, 0, 0);
    EXPECT_EQ(c.red, 0x7FFF);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 0);
    c = dim(0x8000, 0x8000, 0x8000);
    EXPECT_EQ(c.red, 0x4000);
    EXPECT_EQ(c.green, 0x4000);
    EXPECT_EQ(c.blue, 0x4000);
    c = dim(0x8000, 0x8100, 0);  // a near tie goes to green
    EXPECT_EQ(c.red, 0x2000);
    EXPECT_EQ(c.green, 0x4080);
    EXPECT_EQ(c.blue, 0);
    c = dim(0x1000, 0x1000, 0xF000);  // blue wins
    EXPECT_EQ(c.red, 0x0400);
    EXPECT_EQ(c.green, 0x0400);
    EXPECT_EQ(c.blue, 0x7800);
    VPainter::DimColor(nullptr);
}

// Nothing bound: every drawing, clipping and brush call does nothing.
TEST_F(PainterTest, PainterWithoutAPortDoesNothing)
{
    World world;
    platform::SetPort(world.get());
    VPainter painter;
    painter.SetFillColor(0x0000FF);
    painter.FillVRect(0, 0, 10, 10);
    painter.FrameVRect(0, 0, 10, 10);
    painter.DrawVRect(VRect(0, 0, 10, 10));
    painter.EraseVRect(0, 0, 10, 10);
    painter.DrawVLine(0, 0, 10, 10);
    painter.DrawVCornerRel(0, 0, 5, 0, 0, 5);
    VRect r(0, 0, 10, 10);
    painter.ScrollVRect(&r, 0, 5);
    painter.ScrollVRect(nullptr, 0, 5);
    painter.HiliteVRegion(VRegion(VRect(0, 0, 10, 10)));
    painter.DrawGrowIcon(0, 0);
    painter.SaveClip(true);
    painter.ClipVRect(VRect(0, 0, 1, 1), false);
    painter.ClipVRegion(VRegion(VRect(0, 0, 1, 1)), false);
    painter.ClipVRegionDirect(VRegion(VRect(0, 0, 1, 1)), true);
    TestFrame frame(0, 0, 5, 5);
    painter.ClipFrame(&frame, nullptr, true);
    painter.ClipFrame(nullptr, nullptr, true);
    painter.RestoreClip();
    painter.SetStdFont(3);
    EXPECT_EQ(painter.GetFontAscent(), 0) << "no metrics taken from whatever port is current";
    EXPECT_EQ(painter.GetFontHeight(), 0) << "metrics not yet measured count as none";
    EXPECT_FALSE(painter.FrameIsInClip(&frame, nullptr));
    EXPECT_FALSE(painter.VRectIsInClip(r));
    painter.Reset();
    EXPECT_EQ(CountNot(world.get(), kWhite, 0, 0, 64, 64), 0);
    // The world's clip is still wide open.
    painter.BeginPaint(world.get());
    painter.FillVRect(60, 60, 4, 4);
    painter.EndPaint();
    EXPECT_EQ(PixelAt(world.get(), 63, 63), 0u);
}

// A painter that keeps the port's settings and was never given a pattern
// draws solid lines and fills, not a pattern of its own making.
TEST_F(PainterTest, UnsetPatternsDrawSolid)
{
    World world;
    VPainter painter(world.get(), false);
    painter.SetLineColor(0xFF0000);  // blue
    painter.DrawVLine(0, 2, 63, 2);
    painter.SetFillColor(0x0000FF);  // red
    painter.FillVRect(0, 10, 64, 4);
    const platform::CGrafPtr port = world.get();
    EXPECT_EQ(CountNot(port, 0x0000FF, 0, 2, 64, 3), 0);
    EXPECT_EQ(CountNot(port, 0xFF0000, 0, 10, 64, 14), 0);
}
