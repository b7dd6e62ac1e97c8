// A 32-bit offscreen world made current for a test, with pixel access.
#pragma once

#include <gtest/gtest.h>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"

namespace drawingtest {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

class World {
public:
    explicit World(int16_t width = 64, int16_t height = 64, int16_t depth = 32)
    {
        platform::ResetDrawingState();
        platform::Rect bounds{0, 0, height, width};
        EXPECT_EQ(platform::NewGWorld(&world_, depth, &bounds, nullptr, nullptr, 0), platform::noErr);
        platform::SetGWorld(world_, nullptr);
    }
    ~World() { platform::DisposeGWorld(world_); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    platform::GWorldPtr get() const { return world_; }
    const platform::BitMap* bits() const { return platform::GetPortBitMapForCopyBits(world_); }
    // Pixel by its position in the map, whatever the origin.
    uint32_t At(int32_t col, int32_t row) const
    {
        platform::Surface s = platform::MakeSurface(bits());
        return s.ReadRGB(s.bounds.left + col, s.bounds.top + row);
    }
    void Set(int32_t col, int32_t row, uint32_t rgb) const
    {
        platform::Surface s = platform::MakeSurface(bits());
        s.WriteRGB(s.bounds.left + col, s.bounds.top + row, rgb);
    }
    int32_t CountNot(uint32_t rgb) const
    {
        platform::Surface s = platform::MakeSurface(bits());
        int32_t n = 0;
        for (int32_t v = 0; v < s.bounds.bottom - s.bounds.top; ++v)
            for (int32_t h = 0; h < s.bounds.right - s.bounds.left; ++h)
                n += At(h, v) != rgb;
        return n;
    }

private:
    platform::GWorldPtr world_ = nullptr;
};

}  // namespace drawingtest
