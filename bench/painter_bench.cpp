// The painter's cost over the platform calls it makes: 100,000 filled
// 10 x 10 rectangles in one colour and in alternating colours, and 100,000
// two-point lines of width 1 and 3, each drawn through a painter and as the
// same PaintRect / LineTo calls made directly, on the same world in the
// same run. Prints each pair and the painter's overhead ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/Colors.h"

using namespace platform;

namespace {

constexpr int kCount = 100000, kRuns = 7;
constexpr int16_t kSize = 512;

// Median of the runs, in milliseconds.
double Measure(const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        auto start = std::chrono::steady_clock::now();
        f();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

RGBColor Platform(uint32_t color)
{
    RGBColor c;
    MAC_MakeRGB(color, &c);
    return c;
}

int16_t X(int i) { return int16_t((i * 37) % (kSize - 20)); }
int16_t Y(int i) { return int16_t((i * 53) % (kSize - 20)); }

void Report(const char* what, double painter, double direct)
{
    std::printf("%-34s painter %8.2f ms   direct %8.2f ms   ratio %5.2f\n", what, painter, direct, painter / direct);
}

}  // namespace

int main()
{
    const Rect bounds{0, 0, kSize, kSize};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) {
        std::fprintf(stderr, "cannot make the world\n");
        return 1;
    }
    VPainter painter(world, true);
    const uint32_t colors[2] = {0x0000FF, 0xFF0000};

    // Fills in one colour.
    double p = Measure([&] {
        painter.SetFillColor(colors[0]);
        for (int i = 0; i < kCount; ++i) painter.FillVRect(X(i), Y(i), 10, 10);
    });
    double d = Measure([&] {
        SetGWorld(world, nullptr);
        const RGBColor c = Platform(colors[0]);
        RGBForeColor(&c);
        for (int i = 0; i < kCount; ++i) {
            const Rect r{Y(i), X(i), int16_t(Y(i) + 10), int16_t(X(i) + 10)};
            PaintRect(&r);
        }
    });
    Report("FillVRect, one colour", p, d);

    // Fills in alternating colours: every shape changes the colour.
    p = Measure([&] {
        for (int i = 0; i < kCount; ++i) {
            painter.SetFillColor(colors[i & 1]);
            painter.FillVRect(X(i), Y(i), 10, 10);
        }
    });
    d = Measure([&] {
        SetGWorld(world, nullptr);
        for (int i = 0; i < kCount; ++i) {
            const RGBColor c = Platform(colors[i & 1]);
            RGBForeColor(&c);
            const Rect r{Y(i), X(i), int16_t(Y(i) + 10), int16_t(X(i) + 10)};
            PaintRect(&r);
        }
    });
    Report("FillVRect, alternating colours", p, d);

    // Lines of width 1 and 3.
    for (int width : {1, 3}) {
        p = Measure([&] {
            painter.SetLineWidth(width);
            for (int i = 0; i < kCount; ++i) painter.DrawVLine(X(i), Y(i), X(i + 1), Y(i + 1));
        });
        d = Measure([&] {
            SetGWorld(world, nullptr);
            PenSize(int16_t(width), int16_t(width));
            for (int i = 0; i < kCount; ++i) {
                MoveTo(X(i), Y(i));
                LineTo(X(i + 1), Y(i + 1));
            }
        });
        Report(width == 1 ? "DrawVLine, width 1" : "DrawVLine, width 3", p, d);
    }
    DisposeGWorld(world);
    return 0;
}
