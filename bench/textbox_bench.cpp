// Labels drawn through the text-edit frames' DrawTextBox beside the
// painter's own DrawTextBox, in the same run: 10,000 labels of 5 to 60
// characters (a fixed pseudo-random set), the ellipsis on, each in a box
// 120 pixels wide and one line high. Prints the time per label of each and
// the ratio (frames / painter).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VFrameTextEdit.h"

using namespace platform;

namespace {

constexpr int kRuns = 5;
constexpr int kLabels = 10000;
constexpr int32_t kBoxW = 120, kBoxH = 18;

double Median(const std::function<void()>& f) { return bench::MedianMs(kRuns, f); }

// Words of the label alphabet, 5 to 60 characters a label.
std::vector<VText> MakeLabels()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789      ";
    uint32_t seed = 12345;
    auto next = [&] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    std::vector<VText> labels(kLabels);
    for (VText& label : labels) {
        const size_t length = 5 + next() % 56;
        std::string s;
        for (size_t i = 0; i < length; ++i) s += kLetters[next() % (sizeof kLetters - 1)];
        label.FromCString(reinterpret_cast<const uint8_t*>(s.c_str()), kCharSetMac);
    }
    return labels;
}

}  // namespace

int main()
{
    GWorldPtr world = nullptr;
    const Rect bounds{0, 0, 200, 400};
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr || !world) {
        std::fprintf(stderr, "no offscreen world\n");
        return 1;
    }
    SetGWorld(world, nullptr);
    VFrameTextEdit::InitDrawTextBox();
    const std::vector<VText> labels = MakeLabels();
    VPainter painter(world, true);
    painter.SetTextColor(0);
    painter.SetFontSize(12);

    const VRect box(10, 10, kBoxW, kBoxH);
    // Both draw: a long label leaves ink, cut to its box.
    auto ink = [&](const std::function<void()>& draw) {
        const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
        RGBBackColor(&white);
        EraseRect(&bounds);
        draw();
        int32_t n = 0, right = 0;
        PixMapHandle pm = GetGWorldPixMap(world);
        for (int32_t y = 0; y < 200; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(GetPixBaseAddr(pm) + int64_t(y) * GetPixRowBytes(pm));
            for (int32_t x = 0; x < 400; ++x)
                if ((row[x] & 0xFFFFFF) != 0xFFFFFF) {
                    ++n;
                    right = std::max(right, x);
                }
        }
        std::printf("  check: %d ink pixels, rightmost at %d (box ends at %d)\n", n, right, 10 + kBoxW - 1);
    };
    VText longest;
    for (const VText& label : labels)
        if (label.GetLength() > longest.GetLength()) longest = label;
    ink([&] { VFrameTextEdit::DrawTextBox(&painter, longest, 0, 0, box, true, false, false, nullptr); });
    ink([&] { painter.DrawTextBox(longest, 0, 0, 10, 10, kBoxW, kBoxH, true); });
    const double frames = Median([&] {
        for (const VText& label : labels)
            VFrameTextEdit::DrawTextBox(&painter, label, 0, 0, box, true, false, false, nullptr);
    });
    const double own = Median([&] {
        for (const VText& label : labels) painter.DrawTextBox(label, 0, 0, 10, 10, kBoxW, kBoxH, true);
    });
    const double perFrames = frames * 1000.0 / kLabels, perPainter = own * 1000.0 / kLabels;
    std::printf("DrawTextBox of %d labels (5-60 characters, ellipsis, %d-px boxes)\n", kLabels, kBoxW);
    std::printf("  text-edit frames  %8.2f us a label\n", perFrames);
    std::printf("  painter           %8.2f us a label\n", perPainter);
    std::printf("  ratio (frames / painter) %.2f\n", perFrames / perPainter);
    VFrameTextEdit::DisposeDrawTextBox();
    DisposeGWorld(world);
    return 0;
}
