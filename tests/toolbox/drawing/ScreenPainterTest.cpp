// Double-buffered window painting and the scratch painter for measuring.
#include "tests/toolbox/drawing/PainterTestSupport.h"

#include "platform/core/Faults.h"
#include "platform/drawing/Shapes.h"
#include "platform/screen/Screen.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VScreenPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

using namespace paintertest;
using platform::CGrafPtr;
using platform::DrawingCall;

namespace {

class ScreenPainterTest : public PainterTest {
protected:
    void SetUp() override
    {
        PainterTest::SetUp();
        ASSERT_EQ(platform::InitScreen(), platform::noErr);
        const platform::Rect content{100, 200, 164, 264};  // 64 x 64
        ASSERT_EQ(platform::CreateNewWindow(platform::kDocumentWindowClass, platform::kWindowResizableAttribute,
                                            &content, &window),
                  platform::noErr);
        port = platform::GetWindowPort(window);
        platform::ResetDrawingCallCounts();
    }
    void TearDown() override
    {
        PainterTest::TearDown();
        platform::DisposeScreen();
    }
    platform::WindowRef window = nullptr;
    CGrafPtr port = nullptr;
};

}  // namespace

TEST_F(ScreenPainterTest, DrawingInTheFrameAreaLandsInTheWorldThenOnTheWindow)
{
    VScreenPainter painter(port);
    TestFrame frame(20, 10, 16, 12);
    painter.BeginOffscreen(&frame);
    const CGrafPtr world = painter.GetCurPort();
    ASSERT_NE(world, port);
    EXPECT_EQ(painter.GetOwnPort(), port);
    painter.BeginOffscreen(&frame);  // ignored while open
    EXPECT_EQ(painter.GetCurPort(), world);
    EXPECT_EQ(Calls(DrawingCall::NewGWorld), 1u);
    int32_t ox = 0, oy = 0;
    painter.GetOffscreenOffset(ox, oy);
    EXPECT_EQ(ox, 20);
    EXPECT_EQ(oy, 10);
    painter.GetOffset(ox, oy);  // window coordinates as before
    EXPECT_EQ(ox, 0);
    EXPECT_EQ(oy, 0);

    painter.FillVRect(20, 10, 2, 2);
    painter.FillVRect(40, 40, 2, 2);  // outside the frame's area
    EXPECT_EQ(PixelAt(world, 0, 0), kBlack);
    EXPECT_EQ(CountNot(world, kWhite, 0, 0, 16, 12), 4);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 0);

    painter.EndOffscreen(false);
    EXPECT_EQ(painter.GetCurPort(), port);
    EXPECT_EQ(Calls(DrawingCall::CopyBits), 1u);
    EXPECT_EQ(Calls(DrawingCall::DisposeGWorld), 1u);
    EXPECT_EQ(CountNot(port, kBlack, 20, 10, 22, 12), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 4);
    painter.GetOffscreenOffset(ox, oy);
    EXPECT_EQ(ox, 0);

    painter.EndOffscreen(false);  // closed: nothing
    painter.ForgetOffscreen();
    EXPECT_EQ(Calls(DrawingCall::CopyBits), 1u);
}

TEST_F(ScreenPainterTest, KeptOffscreenCopiesEachTimeAndClosesOnce)
{
    VScreenPainter painter(port);
    painter.AddOffset(1, 2);
    TestFrame frame(8, 8, 32, 32);
    painter.BeginOffscreen(&frame);
    painter.FillVRect(10, 10, 2, 2);  // window (11, 12)
    painter.EndOffscreen(true);
    EXPECT_NE(painter.GetCurPort(), port);  // still open
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 4);
    painter.FillVRect(20, 20, 2, 2);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 4);
    painter.EndOffscreen(false);
    EXPECT_EQ(painter.GetCurPort(), port);
    EXPECT_EQ(Calls(DrawingCall::NewGWorld), 1u);
    EXPECT_EQ(Calls(DrawingCall::CopyBits), 2u);
    EXPECT_EQ(Calls(DrawingCall::DisposeGWorld), 1u);
    EXPECT_EQ(CountNot(port, kBlack, 11, 12, 13, 14), 0);
    EXPECT_EQ(CountNot(port, kBlack, 21, 22, 23, 24), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 8);
    int32_t x = 0, y = 0;
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
}

// Views draw in their own coordinates (offset at the frame's origin) and
// copy back what changed, as a rectangle or a region of the frame.
TEST_F(ScreenPainterTest, RectangleAndRegionCopiesBringOnlyTheirPart)
{
    VScreenPainter painter(port);
    TestFrame frame(16, 8, 20, 20);
    painter.BeginOffscreen(&frame);
    painter.AddOffset(16, 8);
    painter.FillVRect(0, 0, 20, 20);
    painter.EndOffscreen(VRect(2, 3, 4, 5), true);
    EXPECT_EQ(CountNot(port, kBlack, 18, 11, 22, 16), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 20);

    VRegion region(VRect(0, 0, 2, 2));
    region.AddRect(10, 12, 1, 3);
    painter.EndOffscreen(region, false);
    painter.RestoreOffset();
    EXPECT_EQ(CountNot(port, kBlack, 16, 8, 18, 10), 0);
    EXPECT_EQ(CountNot(port, kBlack, 26, 20, 27, 23), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 20 + 4 + 3);
    int32_t x = 0, y = 0;
    painter.GetOffset(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    // A scrolled view names the part in content coordinates.
    platform::SetPort(port);
    platform::EraseRect(&port->portRect);
    frame.Scroll(100, 50);
    painter.BeginOffscreen(&frame);
    painter.AddOffset(16, 8);
    painter.FillVRect(2, 1, 3, 2);  // where content (102, 51) shows
    painter.FillVRect(10, 10, 3, 3);
    painter.EndOffscreen(VRect(102, 51, 3, 2), false);
    painter.RestoreOffset();
    EXPECT_EQ(CountNot(port, kBlack, 18, 9, 21, 11), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 6);
}

TEST_F(ScreenPainterTest, GrowBoxAskedForWhileOpenIsDrawnInTheCornerAtTheCopy)
{
    platform::ShowWindow(window);
    platform::SelectWindow(window);
    VScreenPainter painter(port);
    // Drawn directly: limited to the port without its right and bottom 15
    // pixels, so the box itself stays as it was.
    painter.SetFillColor(0x0000FF);
    painter.FillVRect(0, 0, 64, 64);
    painter.DrawVLine(0, 0, 0, 0);  // leaves the port's pen black
    painter.DrawGrowIcon(0, 0);
    EXPECT_EQ(CountNot(port, 0xFF0000, 49, 49, 64, 64), 0);
    EXPECT_EQ(PixelAt(port, 48, 10), kBlack);  // the scroll bar lines

    TestFrame frame(0, 0, 64, 64);
    painter.BeginOffscreen(&frame);
    painter.FillVRect(0, 0, 64, 64);
    painter.DrawGrowIcon(0, 0);
    EXPECT_EQ(CountNot(painter.GetCurPort(), 0xFF0000, 0, 0, 64, 64), 0);
    painter.EndOffscreen(false);
    EXPECT_EQ(CountNot(port, 0xFF0000, 0, 0, 64, 49), 0);
    EXPECT_EQ(CountNot(port, 0xFF0000, 0, 49, 49, 64), 0);
    EXPECT_GT(CountNot(port, 0xFF0000, 49, 49, 64, 64), 0);

    // The flag went with the copy: the next copy draws no box, and covers
    // the whole window again (the box's clip is gone).
    painter.BeginOffscreen(&frame);
    painter.SetFillColor(0xFF0000);  // blue
    painter.FillVRect(0, 0, 64, 64);
    painter.EndOffscreen(false);
    EXPECT_EQ(CountNot(port, 0x0000FF, 0, 0, 64, 64), 0);
}

TEST_F(ScreenPainterTest, WorldThatCannotBeMadeLeavesDrawingOnTheWindow)
{
    VScreenPainter painter(port);
    TestFrame frame(4, 4, 10, 10);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        painter.BeginOffscreen(&frame);
    }
    EXPECT_EQ(painter.GetCurPort(), port);
    painter.FillVRect(4, 4, 2, 2);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 4);
    painter.EndOffscreen(false);
    EXPECT_EQ(Calls(DrawingCall::CopyBits), 0u);

    // A later attempt works.
    painter.BeginOffscreen(&frame);
    EXPECT_NE(painter.GetCurPort(), port);
    painter.EndOffscreen(false);
}

// Back on the window after a world, the colours applied to the world say
// nothing of the window's: the next shape must apply its colour.
TEST_F(ScreenPainterTest, BrushesAreAppliedAfreshBackOnTheWindow)
{
    for (int forget = 0; forget < 2; ++forget) {
        platform::SetPort(port);
        platform::EraseRect(&port->portRect);
        VScreenPainter painter(port);
        painter.SetFillColor(0x0000FF);  // red
        painter.FillVRect(0, 0, 2, 2);
        TestFrame frame(0, 0, 32, 32);
        painter.BeginOffscreen(&frame);
        painter.SetFillColor(0xFF0000);  // blue
        painter.FillVRect(0, 0, 2, 2);
        if (forget)
            painter.ForgetOffscreen();
        else
            painter.EndOffscreen(false);
        painter.FillVRect(40, 40, 2, 2);
        EXPECT_EQ(PixelAt(port, 40, 40), 0x0000FFu) << forget;
    }
    // The text mode, first applied in the world, is applied to the window too.
    VScreenPainter painter(port);
    painter.SetTextTransferMode(kTransferXor);
    TestFrame frame(0, 0, 32, 32);
    painter.BeginOffscreen(&frame);
    const uint8_t text[] = {'x'};
    painter.DrawText(text, 1, kCharSetMac, 1.0);
    painter.EndOffscreen(false);
    painter.DrawText(text, 1, kCharSetMac, 1.0);
    EXPECT_EQ(port->txMode, platform::srcXor);
}

TEST_F(ScreenPainterTest, ResetAndDestructionForgetAnOpenOffscreen)
{
    {
        VScreenPainter painter(port);
        TestFrame frame(0, 0, 8, 8);
        painter.AddOffset(5, 5);
        painter.BeginOffscreen(&frame);
        painter.FillVRect(0, 0, 8, 8);
        painter.Reset();
        EXPECT_EQ(painter.GetCurPort(), port);
        EXPECT_EQ(Calls(DrawingCall::DisposeGWorld), 1u);
        int32_t x = 1, y = 1;
        painter.GetOffset(x, y);
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
        painter.BeginOffscreen(&frame);
    }
    EXPECT_EQ(Calls(DrawingCall::DisposeGWorld), 2u);
    EXPECT_EQ(Calls(DrawingCall::CopyBits), 0u);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 0);
    // The window's clip is open again.
    platform::SetPort(port);
    platform::PaintRect(&port->portRect);
    EXPECT_EQ(CountNot(port, kBlack, 0, 0, 64, 64), 0);
}

TEST_F(ScreenPainterTest, ComputingPainterMeasuresOffScreenAndGivesTheCallersPortBack)
{
    World world;
    platform::SetPort(world.get());
    {
        VComputingPainter computing;
        EXPECT_EQ(platform::GetQDGlobalsThePort(), world.get());
        EXPECT_NE(computing.GetCurPort(), nullptr);
        int32_t x = 0, y = 0;
        computing.GetOffset(x, y);
        EXPECT_EQ(x, 20000);
        EXPECT_EQ(y, 20000);
        EXPECT_EQ(computing.GetEraseColor(), 0xFFFFFFu);
        EXPECT_EQ(computing.GetFillColor(), 0u);
        EXPECT_EQ(computing.GetTextTransferMode(), 1);
        computing.FillVRect(-20000, -20000, 64, 64);
        computing.DrawVLine(-20000, -20000, -19950, -19950);
        computing.SetLineWidth(4);
        computing.FrameVRect(-19990, -19990, 20, 20);
    }
    EXPECT_EQ(platform::GetQDGlobalsThePort(), world.get());
    EXPECT_EQ(CountNot(world.get(), kWhite, 0, 0, 64, 64), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 0);
    platform::PaintRect(&world.get()->portRect);  // the caller draws on
    EXPECT_EQ(CountNot(world.get(), kBlack, 0, 0, 64, 64), 0);

    // The caller had no port: none again, whatever was made current since.
    platform::SetGWorld(nullptr, nullptr);
    {
        VComputingPainter none;
        platform::SetPort(world.get());
    }
    EXPECT_EQ(platform::GetQDGlobalsThePort(), nullptr);

    // The caller's port went away meanwhile: the front window's instead.
    platform::ShowWindow(window);
    auto gone = std::make_unique<World>();
    platform::SetPort(gone->get());
    auto computing = std::make_unique<VComputingPainter>();
    gone.reset();
    computing.reset();
    EXPECT_EQ(platform::GetQDGlobalsThePort(), port);
}

// The window's clip is kept with the offscreen, so a clip saved on the
// world and not restored cannot become the window's.
TEST_F(ScreenPainterTest, WindowGetsItsOwnClipBackAfterTheCopy)
{
    VScreenPainter painter(port);
    painter.ClipVRect(VRect(0, 0, 32, 32), false);
    TestFrame frame(10, 10, 20, 20);
    painter.BeginOffscreen(&frame);
    painter.SaveClip(false);
    painter.ClipVRect(VRect(10, 10, 1, 1), false);
    painter.EndOffscreen(false);
    painter.FillVRect(0, 0, 64, 64);
    EXPECT_EQ(CountNot(port, kBlack, 0, 0, 32, 32), 0);
    EXPECT_EQ(CountNot(port, kWhite, 0, 0, 64, 64), 32 * 32);
}
