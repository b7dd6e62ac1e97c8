// Fill, copy, invert and xor-frame throughput on a 1280 x 800 world, beside
// pixman doing the same compositing on the same kind of buffer, and, for
// invert and xor-frame (where pixman's nearest operator does more work), a
// plain C++ loop doing exactly the same pixel work on the same world.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace {

constexpr int kWidth = 1280, kHeight = 800, kRuns = 200;

// Median time of one call of each function, in microseconds. The functions
// take turns run by run, so that a busy machine weighs on all of them alike.
std::vector<double> Measure(const std::vector<std::function<void()>>& fs)
{
    std::vector<std::vector<double>> times(fs.size());
    for (int i = 0; i < kRuns; ++i)
        for (size_t k = 0; k < fs.size(); ++k) {
            auto start = std::chrono::steady_clock::now();
            fs[k]();
            auto end = std::chrono::steady_clock::now();
            times[k].push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    std::vector<double> medians;
    for (auto& t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    return medians;
}

pixman_image_t* ImageOf(GWorldPtr world)
{
    PixMapHandle pm = GetGWorldPixMap(world);
    return pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight,
                                    reinterpret_cast<uint32_t*>(GetPixBaseAddr(pm)), GetPixRowBytes(pm));
}

uint32_t* Pixels(GWorldPtr world, int32_t* stride)
{
    PixMapHandle pm = GetGWorldPixMap(world);
    *stride = GetPixRowBytes(pm) / 4;
    return reinterpret_cast<uint32_t*>(GetPixBaseAddr(pm));
}

void PlainInvert(uint32_t* base, int32_t stride)
{
    for (int v = 0; v < kHeight; ++v) {
        uint32_t* row = base + int64_t(v) * stride;
        for (int h = 0; h < kWidth; ++h) row[h] ^= 0xFFFFFF;
    }
}

// The one-pixel frame of the whole world: two rows, then the two columns
// between them.
void PlainXorFrame(uint32_t* base, int32_t stride)
{
    uint32_t* top = base;
    uint32_t* bottom = base + int64_t(kHeight - 1) * stride;
    for (int h = 0; h < kWidth; ++h) {
        top[h] ^= 0xFFFFFF;
        bottom[h] ^= 0xFFFFFF;
    }
    for (int v = 1; v < kHeight - 1; ++v) {
        uint32_t* row = base + int64_t(v) * stride;
        row[0] ^= 0xFFFFFF;
        row[kWidth - 1] ^= 0xFFFFFF;
    }
}

}  // namespace

int main()
{
    Rect bounds{0, 0, kHeight, kWidth};
    GWorldPtr a = nullptr, b = nullptr, pa = nullptr, pb = nullptr;
    if (NewGWorld(&a, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&b, 32, &bounds, nullptr, nullptr, 0) ||
        NewGWorld(&pa, 32, &bounds, nullptr, nullptr, 0) || NewGWorld(&pb, 32, &bounds, nullptr, nullptr, 0)) {
        std::fprintf(stderr, "cannot make the worlds\n");
        return 1;
    }
    pixman_image_t* imgA = ImageOf(pa);
    pixman_image_t* imgB = ImageOf(pb);
    pixman_color_t black{0, 0, 0, 0xFFFF}, white{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    pixman_image_t* solidWhite = pixman_image_create_solid_fill(&white);
    const pixman_rectangle16_t full{0, 0, kWidth, kHeight};
    const pixman_rectangle16_t frame[4] = {
        {0, 0, kWidth, 1}, {0, kHeight - 1, kWidth, 1}, {0, 1, 1, kHeight - 2}, {kWidth - 1, 1, 1, kHeight - 2}};

    SetGWorld(a, nullptr);
    Pattern blackPat;
    GetQDGlobalsBlack(&blackPat);
    const BitMap* bitsA = GetPortBitMapForCopyBits(a);
    const BitMap* bitsB = GetPortBitMapForCopyBits(b);

    int32_t stride = 0;
    uint32_t* plainPixels = Pixels(a, &stride);

    struct Row {
        const char* name;
        double ours, pixman, plain;  // plain < 0: no plain peer
    };
    std::vector<Row> rows;
    auto add = [&rows](const char* name, const std::vector<std::function<void()>>& fs) {
        const std::vector<double> t = Measure(fs);
        rows.push_back({name, t[0], t[1], t.size() > 2 ? t[2] : -1});
    };
    add("fill", {[&] { FillRect(&bounds, &blackPat); },
                 [&] { pixman_image_fill_rectangles(PIXMAN_OP_SRC, imgA, &black, 1, &full); }});
    add("copy", {[&] { CopyBits(bitsB, bitsA, &bounds, &bounds, srcCopy, nullptr); },
                 [&] {
                     pixman_image_composite32(PIXMAN_OP_SRC, imgB, nullptr, imgA, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
                 }});
    add("invert", {[&] { InvertRect(&bounds); },
                   [&] {
                       pixman_image_composite32(PIXMAN_OP_DIFFERENCE, solidWhite, nullptr, imgA, 0, 0, 0, 0, 0, 0,
                                                kWidth, kHeight);
                   },
                   [&] { PlainInvert(plainPixels, stride); }});
    PenMode(patXor);
    add("xor-frame", {[&] { FrameRect(&bounds); },
                      [&] { pixman_image_fill_rectangles(PIXMAN_OP_DIFFERENCE, imgA, &white, 4, frame); },
                      [&] { PlainXorFrame(plainPixels, stride); }});

    std::printf("1280 x 800, 32 bits, median of %d runs taken in turns\n", kRuns);
    std::printf("%-10s %10s %12s %8s %12s %8s\n", "operation", "ours (us)", "pixman (us)", "ratio", "plain (us)",
                "ratio");
    for (const Row& r : rows) {
        std::printf("%-10s %10.1f %12.1f %8.2f", r.name, r.ours, r.pixman, r.ours / r.pixman);
        if (r.plain > 0)
            std::printf(" %12.1f %8.2f\n", r.plain, r.ours / r.plain);
        else
            std::printf(" %12s %8s\n", "-", "-");
    }

    pixman_image_unref(solidWhite);
    pixman_image_unref(imgA);
    pixman_image_unref(imgB);
    DisposeGWorld(a);
    DisposeGWorld(b);
    DisposeGWorld(pa);
    DisposeGWorld(pb);
    return 0;
}
