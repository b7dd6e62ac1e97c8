// Ports to paint on, a look with its own colours and fonts, and a frame,
// for the painter tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "platform/drawing/CallCounts.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/windows/Windows.h"
#include "toolbox/drawing/IPainterFrame.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VStr.h"

namespace paintertest {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

// The pixel of a port at its local (x, y), as 0x00RRGGBB.
inline uint32_t PixelAt(platform::CGrafPtr port, int32_t x, int32_t y)
{
    platform::Surface s = platform::MakeSurface(platform::GetPortBitMapForCopyBits(port));
    return s.ReadRGB(s.bounds.left + x, s.bounds.top + y);
}

// How many pixels of the port differ from rgb within [left, right) x [top, bottom).
inline int32_t CountNot(platform::CGrafPtr port, uint32_t rgb, int32_t left, int32_t top, int32_t right,
                        int32_t bottom)
{
    int32_t n = 0;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = left; x < right; ++x) n += PixelAt(port, x, y) != rgb;
    return n;
}

// A colour long 0x00BBGGRR as the pixel it paints.
inline uint32_t Pix(uint32_t colorLong)
{
    return ((colorLong & 0xFF) << 16) | (colorLong & 0xFF00) | ((colorLong >> 16) & 0xFF);
}

class World {
public:
    explicit World(int16_t width = 64, int16_t height = 64)
    {
        platform::Rect bounds{0, 0, height, width};
        EXPECT_EQ(platform::NewGWorld(&world_, 32, &bounds, nullptr, nullptr, 0), platform::noErr);
    }
    ~World() { platform::DisposeGWorld(world_); }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    platform::GWorldPtr get() const { return world_; }

private:
    platform::GWorldPtr world_ = nullptr;
};

// A look whose colours are 0x010000 + index below 40 and undefined above,
// and whose fonts are "Courier" 10 + index, bold for odd indexes.
class TestLook : public VLookHandler {
public:
    bool Paint(VPainter*, PaintMethod, PaintStatus, int32_t, int32_t, int32_t, int32_t, const VString*,
               void*) override
    {
        return true;
    }
    uint32_t GetStdColor(StdColor color) override
    {
        return color >= 0 && color < 40 ? 0x010000u + uint32_t(color) : kNoColor;
    }
    bool GetStdFont(platform::CGrafPtr, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                    uint8_t& italic) override
    {
        if (font < 0 || font > 7) return false;
        name.FromCString(reinterpret_cast<const uint8_t*>("Courier"), kCharSetMac);
        size = int16_t(10 + font);
        bold = font & 1;
        italic = 0;
        return true;
    }
    int32_t GetStdBehaviour(StdBehaviour) override { return 0; }
};

class TestFrame : public IPainterFrame {
public:
    TestFrame(int32_t x, int32_t y, int32_t width, int32_t height) : x_(x), y_(y), width_(width), height_(height) {}
    void GetPosInWindow(int32_t& x, int32_t& y) const override
    {
        x = x_;
        y = y_;
    }
    void GetPosInDesktop(int32_t& x, int32_t& y) const override
    {
        x = x_ + 100;
        y = y_ + 60;
    }
    int32_t GetWidth() const override { return width_; }
    int32_t GetHeight() const override { return height_; }
    bool IsAScrolledView() const override { return scrolled_; }
    void GetScrollPos(int32_t& x, int32_t& y) const override
    {
        x = sx_;
        y = sy_;
    }
    void Scroll(int32_t sx, int32_t sy)
    {
        scrolled_ = true;
        sx_ = sx;
        sy_ = sy;
    }

private:
    int32_t x_, y_, width_, height_;
    bool scrolled_ = false;
    int32_t sx_ = 0, sy_ = 0;
};

// A painter whose protected state tests may read and set.
class OpenPainter : public VPainter {
public:
    using VPainter::VPainter;
    using VPainter::fFontDirty;
    using VPainter::fAppliedFore;
    using VPainter::fLineDirty;
    using VPainter::SetScaling;
};

class PainterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetDrawingState();
        platform::ResetWindowManager();
        ResetLookHandlers();
        platform::ResetDrawingCallCounts();
    }
    void TearDown() override
    {
        ResetLookHandlers();
        platform::ResetWindowManager();
        platform::ResetDrawingState();
    }
    static uint32_t Calls(platform::DrawingCall call) { return platform::DrawingCallCount(call); }
};

}  // namespace paintertest
