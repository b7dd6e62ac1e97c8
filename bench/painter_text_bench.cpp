// The painter's text and tiled pictures beside the raw platform calls, in
// the same run: 100,000 cached character widths against TextWidth of the
// character, 10,000 runs of 40 characters drawn through the painter
// against MoveTo and DrawText, and a 30 x 20 picture tiled over
// 1000 x 800 (played once, then copied) against one DrawPicture a tile.
// Prints the times and the ratios (painter / platform).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/PictWriter.h"
#include "platform/pictures/Pictures.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VPicture.h"
#include "toolbox/foundation/VStr.h"

using namespace platform;

namespace {

constexpr int kRuns = 7;
constexpr int kWidths = 100000;
constexpr int kLines = 10000;
constexpr int16_t kTileW = 30, kTileH = 20, kAreaW = 1000, kAreaH = 800;

uint32_t GetPixel32(GWorldPtr world, int32_t x, int32_t y)
{
    PixMapHandle pm = GetGWorldPixMap(world);
    const auto* row = reinterpret_cast<const uint32_t*>(GetPixBaseAddr(pm) + int64_t(y) * GetPixRowBytes(pm));
    return row[x] & 0xFFFFFF;
}

double Median(const std::function<void()>& f) { return bench::MedianMs(kRuns, f); }

void Report(const char* what, double painterMs, double platformMs)
{
    std::printf("%-34s painter %9.2f ms  platform %9.2f ms  ratio %.2f\n", what, painterMs, platformMs,
                painterMs / platformMs);
}

}  // namespace

int main()
{
    const Rect bounds{0, 0, kAreaH, kAreaW};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) {
        std::fprintf(stderr, "cannot make the world\n");
        return 1;
    }
    SetGWorld(world, nullptr);
    VPainter painter(world, true);
    VStr<255> geneva;
    geneva.FromCString(reinterpret_cast<const uint8_t*>("Geneva"), kCharSetMac);
    painter.SetFont(geneva);
    painter.SetFontSize(12);
    int16_t geneva12 = 0;
    GetFNum(reinterpret_cast<const unsigned char*>("\x06Geneva"), &geneva12);

    // Character widths.
    volatile float sink = 0;
    const char16_t chars[4] = {u'a', u'W', u'\u00E9', u'1'};
    const double cachedMs = Median([&] {
        for (int i = 0; i < kWidths; ++i) sink = sink + painter.GetTextWidth(chars[i & 3], 1.0);
    });
    const char bytes[4] = {'a', 'W', char(0x8E), '1'};
    const double widthMs = Median([&] {
        SetGWorld(world, nullptr);
        TextFont(geneva12);
        TextSize(12);
        for (int i = 0; i < kWidths; ++i) sink = sink + TextWidth(&bytes[i & 3], 0, 1);
    });
    Report("100,000 character widths", cachedMs, widthMs);

    // Runs of 40 characters.
    const char* line = "The quick brown fox jumps over a dog 40.";
    const double painterTextMs = Median([&] {
        for (int i = 0; i < kLines; ++i) {
            painter.SetTextPos(i % 500, 12 + (i % 60) * 12);
            painter.DrawText(line, 40, kCharSetMac, 1.0);
        }
    });
    const double rawTextMs = Median([&] {
        SetGWorld(world, nullptr);
        TextFont(geneva12);
        TextSize(12);
        for (int i = 0; i < kLines; ++i) {
            MoveTo(int16_t(i % 500), int16_t(12 + (i % 60) * 12));
            platform::DrawText(line, 0, 40);
        }
    });
    Report("10,000 runs of 40 characters", painterTextMs, rawTextMs);

    // Tiles.
    PictWriter writer;
    const Rect frame{0, 0, kTileH, kTileW};
    writer.Begin(frame, true, 72 << 16, 72 << 16, frame);
    std::vector<uint32_t> pixels(size_t(kTileW) * kTileH);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 0x010203) & 0xFFFFFF;
    writer.DirectBits(pixels.data(), kTileW, kTileH, frame, frame, frame, srcCopy, nullptr);
    writer.Finish();
    VPicture picture(new VPictData(writer.bytes().data(), int32_t(writer.size())));
    picture.SetSize(kAreaW, kAreaH);
    picture.SetDisplayMode(kPictureTiled);
    // Both ways must give the same pixels.
    SetGWorld(world, nullptr);
    EraseRect(&bounds);
    const double tiledMs = Median([&] { painter.DrawVPicture(picture, 1.0); });
    const std::vector<uint32_t> tiled{GetPixel32(world, 517, 413), GetPixel32(world, 999, 799), GetPixel32(world, 31, 21)};
    Handle pict = picture.GetImageData()->GetData();
    const double perTileMs = Median([&] {
        SetGWorld(world, nullptr);
        for (int32_t x = 0; x < kAreaW; x += kTileW)
            for (int32_t y = 0; y < kAreaH; y += kTileH) {
                const Rect r{int16_t(y), int16_t(x), int16_t(y + kTileH), int16_t(x + kTileW)};
                DrawPicture(pict, &r);
            }
    });
    const std::vector<uint32_t> direct{GetPixel32(world, 517, 413), GetPixel32(world, 999, 799), GetPixel32(world, 31, 21)};
    if (tiled != direct || tiled[0] != pixels[size_t(413 % kTileH) * kTileW + 517 % kTileW]) {
        std::fprintf(stderr, "the tiles differ\n");
        return 1;
    }
    Report("30 x 20 picture over 1000 x 800", tiledMs, perTileMs);
    DisposeGWorld(world);
    return 0;
}
