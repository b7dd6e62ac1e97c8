// A 32-bit offscreen page made current while a test draws on it (the port
// before comes back after): its pixels after a drawing, and where two
// drawings first differ; pictures of pixels painted for a test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

namespace drawntest {

class Page {
public:
    Page(int16_t width, int16_t height) : bounds_{0, 0, height, width}
    {
        platform::GetGWorld(&saved_, &device_);
        if (platform::NewGWorld(&world_, 32, &bounds_, nullptr, nullptr, 0) == 0) platform::SetGWorld(world_, nullptr);
    }
    ~Page()
    {
        platform::SetGWorld(saved_, device_);
        if (world_) platform::DisposeGWorld(world_);
    }
    bool Made() const { return world_ != nullptr; }
    // The pixels (0xRRGGBB, row by row) after `draw` on the page erased
    // white, with a plain black pen.
    std::vector<uint32_t> Drawn(const std::function<void()>& draw) const
    {
        platform::PenNormal();
        platform::ForeColor(platform::blackColor);
        platform::BackColor(platform::whiteColor);
        platform::EraseRect(&bounds_);
        draw();
        const auto s = platform::MakeSurface(reinterpret_cast<const platform::BitMap*>(*platform::GetGWorldPixMap(world_)));
        std::vector<uint32_t> out;
        for (int v = 0; v < bounds_.bottom; ++v)
            for (int h = 0; h < bounds_.right; ++h) out.push_back(s.ReadRGB(h, v) & 0xFFFFFF);
        return out;
    }
    // "" when the drawings agree, else "(h, v)" of the first difference.
    std::string Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) const
    {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i)
            if (a[i] != b[i]) return "(" + std::to_string(i % bounds_.right) + ", " + std::to_string(i / bounds_.right) + ")";
        return "";
    }

private:
    platform::Rect bounds_;
    platform::GWorldPtr world_ = nullptr;
    platform::CGrafPtr saved_ = nullptr;
    platform::GDHandle device_ = nullptr;
};

// A picture of w x h recorded from pixels `paint` drew on a white world:
// played back, its pixels pass through the port's bits procedure.
inline platform::Handle PixelPicture(int16_t w, int16_t h, const std::function<void()>& paint)
{
    const platform::Rect r{0, 0, h, w};
    platform::GWorldPtr world = nullptr;
    if (platform::NewGWorld(&world, 32, &r, nullptr, nullptr, 0) != platform::noErr) return nullptr;
    platform::CGrafPtr saved = nullptr;
    platform::GDHandle device = nullptr;
    platform::GetGWorld(&saved, &device);
    platform::SetGWorld(world, nullptr);
    platform::ForeColor(platform::blackColor);
    platform::BackColor(platform::whiteColor);
    platform::EraseRect(&r);
    paint();
    // Copied in black on white: other colours would tint the pixels.
    platform::ForeColor(platform::blackColor);
    platform::ClipRect(&r);
    platform::Handle pict = platform::OpenPicture(&r);
    if (pict) {
        const platform::BitMap* bits = platform::GetPortBitMapForCopyBits(world);
        platform::CopyBits(bits, bits, &r, &r, platform::srcCopy, nullptr);
        platform::ClosePicture();
    }
    platform::SetGWorld(saved, device);
    platform::DisposeGWorld(world);
    return pict;
}

}  // namespace drawntest
