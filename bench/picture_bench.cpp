// Picture playback beside direct drawing: 10,000 shapes and text lines
// drawn straight into a world, then recorded once and played back into
// another; prints both times and their ratio (playback / direct).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int kWidth = 800, kHeight = 600, kItems = 10000, kRuns = 7;

// The same 10,000 calls every time: every shape kind in turn, a text line
// every tenth call, colours and pen changing as they go.
void DrawItems()
{
    Pattern gray{};
    GetQDGlobalsGray(&gray);
    for (int i = 0; i < kItems; ++i) {
        int16_t x = int16_t((i * 37) % (kWidth - 60)), y = int16_t((i * 53) % (kHeight - 40));
        Rect r{y, x, int16_t(y + 12 + i % 20), int16_t(x + 16 + i % 40)};
        RGBColor c{uint16_t(i * 97), uint16_t(i * 131), uint16_t(i * 173)};
        RGBForeColor(&c);
        PenSize(int16_t(1 + i % 3), int16_t(1 + i % 2));
        switch (i % 10) {
        case 0: FrameRect(&r); break;
        case 1: PaintOval(&r); break;
        case 2: FrameRoundRect(&r, 8, 8); break;
        case 3: FillRect(&r, &gray); break;
        case 4: InvertRect(&r); break;
        case 5: PaintArc(&r, 45, 135); break;
        case 6: EraseOval(&r); break;
        case 7:
            MoveTo(r.left, r.top);
            LineTo(r.right, r.bottom);
            break;
        case 8: FrameOval(&r); break;
        default:
            TextFont(i % 20 == 9 ? applFont : kFontIDTimes);
            TextSize(12);
            MoveTo(x, int16_t(y + 12));
            DrawString(reinterpret_cast<const unsigned char*>("\x1C" "A line of text in a picture."));
            break;
        }
    }
    PenNormal();
}

double Median(const std::function<void()>& f) { return bench::MedianMs(kRuns, f); }

}  // namespace

int main()
{
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr direct = nullptr, played = nullptr;
    if (NewGWorld(&direct, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&played, 32, &bounds, nullptr, nullptr, 0)) {
        std::fprintf(stderr, "cannot make the worlds\n");
        return 1;
    }
    SetGWorld(direct, nullptr);
    DrawItems();  // fonts and glyphs loaded before timing
    double directMs = Median([] {
        EraseRect(&GetQDGlobalsThePort()->portRect);
        DrawItems();
    });

    SetGWorld(played, nullptr);
    PicHandle pic = OpenPicture(&bounds);
    DrawItems();
    ClosePicture();
    if (!pic || QDError() != noErr) {
        std::fprintf(stderr, "cannot record the picture\n");
        return 1;
    }
    double playMs = Median([&] {
        EraseRect(&bounds);
        DrawPicture(pic, &bounds);
    });
    std::printf("picture of %d shapes and text lines (%d bytes)\n", kItems, int(GetHandleSize(pic)));
    std::printf("direct drawing   %8.2f ms\n", directMs);
    std::printf("picture playback %8.2f ms\n", playMs);
    std::printf("ratio playback/direct %.2f\n", playMs / directMs);
    KillPicture(pic);
    DisposeGWorld(direct);
    DisposeGWorld(played);
    return 0;
}
