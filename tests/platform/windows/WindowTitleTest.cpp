// Window titles on the screen: centred text in the title bar, cut with an
// ellipsis when long, grey when the window is inactive.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/drawing/Modes.h"
#include "platform/drawing/Text.h"
#include "platform/windows/WindowFrames.h"
#include "platform/windows/WindowRecord.h"
#include "platform/windows/WindowTitles.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform::testing {
namespace {

// Ink of the title text in the title bar: columns holding the text colour.
struct TitleInk {
    int16_t left = INT16_MAX, right = INT16_MIN;
    int32_t pixels = 0;
};

// The screen as composed last (ScreenPixel would compose it per pixel).
const PixMap* gScreen = nullptr;
uint32_t Pixel(int16_t h, int16_t v) { return MakeSurface(gScreen).ReadRGB(h, v); }

TitleInk InkIn(const Rect& bar, uint32_t color)
{
    TitleInk ink;
    for (int16_t v = bar.top; v < bar.bottom; ++v)
        for (int16_t h = bar.left; h < bar.right; ++h)
            if (Pixel(h, v) == color) {
                ++ink.pixels;
                ink.left = std::min(ink.left, h);
                ink.right = std::max<int16_t>(ink.right, int16_t(h + 1));
            }
    return ink;
}

class WindowTitles : public WindowTest {};

TEST_F(WindowTitles, TitlesAreCentredCutWhenLongAndGreyWhenInactive)
{
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs);
    Play(Script{});
    WindowRef front = Document(40, 60, 340, 200, "Report");
    Settle();
    gScreen = ComposeScreen();
    const Rect bar = TitleBarRect(*front);
    // Between the boxes: inside the frame, away from the stripes' ends.
    const Rect inside{int16_t(bar.top + 1), int16_t(bar.left + 24), int16_t(bar.bottom - 1), int16_t(bar.right - 40)};
    const TitleInk ink = InkIn(inside, kTitleTextColor);
    ASSERT_GT(ink.pixels, 20);
    const int32_t middle = (inside.left + inside.right) / 2;
    EXPECT_LE(std::abs((ink.left + ink.right) / 2 - middle), 2) << "centred";
    CGrafPtr scratch = CreateNewPort();
    SetPort(scratch);
    TextFont(0);
    TextSize(kTitleFontSize);
    const int16_t width = StringWidth(PStr("Report").get());
    DisposePort(scratch);
    EXPECT_LE(ink.right - ink.left, width);

    // A long title is cut, with an ellipsis, inside the room it has.
    SetWTitle(front, PStr("A very long title that cannot fit in the bar of this small window at all").get());
    gScreen = ComposeScreen();
    const TitleInk cut = InkIn(inside, kTitleTextColor);
    ASSERT_GT(cut.pixels, 20);
    EXPECT_GE(cut.left, inside.left);
    EXPECT_LE(cut.right, inside.right);
    // The ellipsis: the last columns hold only dots, a thin band at the
    // base line, where letters would be taller.
    int16_t top = INT16_MAX, bottom = INT16_MIN;
    for (int16_t v = inside.top; v < inside.bottom; ++v)
        for (int16_t h = int16_t(cut.right - 8); h < cut.right; ++h)
            if (Pixel(h, v) == kTitleTextColor) {
                top = std::min(top, v);
                bottom = std::max<int16_t>(bottom, int16_t(v + 1));
            }
    EXPECT_LE(bottom - top, 3);
    const std::filesystem::path shot = std::filesystem::temp_directory_path() / "qz_window_title.png";
    EXPECT_EQ(WriteScreenPng(shot.string()), noErr);
    std::filesystem::remove(shot);

    // Another window in front makes this one inactive: its title turns grey.
    WindowRef other = Document(400, 60, 600, 200, "Other");
    Settle();
    gScreen = ComposeScreen();
    EXPECT_EQ(InkIn(inside, kTitleTextColor).pixels, 0);
    EXPECT_GT(InkIn(inside, kInactiveTitleTextColor).pixels, 20);
    DisposeWindow(other);
    DisposeWindow(front);
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
}

}  // namespace
}  // namespace platform::testing
