// Text found in a screenshot: drawn here offscreen as the program draws
// it, then looked for pixel for pixel.
#pragma once

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/imports/PngCodec.h"
#include "platform/menus/MenuText.h"

namespace browsertest {

// What `draw` puts into a white offscreen `probe` (it answers the size it
// drew), kept until this goes.
class OffscreenDrawing {
public:
    OffscreenDrawing(const platform::Rect& probe, const std::function<platform::Rect()>& draw)
    {
        using namespace platform;
        if (NewGWorld(&world_, 32, &probe, nullptr, nullptr, 0) != 0) {
            world_ = nullptr;
            return;
        }
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(world_, nullptr);
        EraseRect(&probe);
        box_ = draw();
        SetGWorld(savedPort, savedDevice);
        drawn_ = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world_)));
    }
    ~OffscreenDrawing()
    {
        if (world_) platform::DisposeGWorld(world_);
    }
    OffscreenDrawing(const OffscreenDrawing&) = delete;
    OffscreenDrawing& operator=(const OffscreenDrawing&) = delete;

    bool ok() const { return world_ != nullptr; }
    const platform::Rect& box() const { return box_; }
    uint32_t RGB(int16_t h, int16_t v) const { return drawn_.ReadRGB(h, v) & 0xFFFFFF; }

private:
    platform::GWorldPtr world_ = nullptr;
    platform::Rect box_{};
    platform::Surface drawn_{};
};

// Whether what `draw` puts into a white box of its size (it answers the
// size) stands anywhere inside `area` of the screenshot. With
// `anyBackground`, only the pixels it inks must match: the white behind
// may have become another colour (a selected header is highlighted).
inline bool ShowsDrawing(const platform::PictPixels& shot, const platform::Rect& area, bool anyBackground,
                         const std::function<platform::Rect()>& draw)
{
    const OffscreenDrawing drawing(platform::Rect{0, 0, 40, 600}, draw);
    if (!drawing.ok()) return false;
    const platform::Rect& box = drawing.box();
    bool found = false;
    for (int16_t top = area.top; top + box.bottom <= area.bottom && !found; ++top)
        for (int16_t left = area.left; left + box.right <= area.right && !found; ++left) {
            bool same = true;
            for (int16_t v = 0; v < box.bottom && same; ++v)
                for (int16_t h = 0; h < box.right && same; ++h) {
                    const uint32_t want = drawing.RGB(h, v);
                    if (!anyBackground || want != 0xFFFFFF) same = want == (shot.RGBAt(left + h, top + v) & 0xFFFFFF);
                }
            found = same;
        }
    return found;
}

// The text in the menu font and that colour on white.
inline bool ShowsMenuText(const platform::PictPixels& shot, const platform::Rect& area, const std::string& text,
                          uint32_t rgb)
{
    return ShowsDrawing(shot, area, false, [&] {
        const platform::menus::MenuFontMetrics m = platform::menus::MenuMetrics();
        platform::menus::DrawMenuText(text, 0, 0, m.ascent, rgb);
        return platform::Rect{0, 0, int16_t(m.ascent + m.descent), int16_t(platform::menus::MenuTextWidth(text, 0))};
    });
}

// The text in that font and size in black, whatever the colour behind it.
inline bool ShowsText(const platform::PictPixels& shot, const platform::Rect& area, const std::string& text,
                      int16_t font, int16_t size)
{
    return ShowsDrawing(shot, area, true, [&] {
        using namespace platform;
        unsigned char p[256];
        p[0] = uint8_t(std::min<size_t>(text.size(), 255));
        std::memcpy(p + 1, text.data(), p[0]);
        TextFont(font);
        TextSize(size);
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(0, fi.ascent);
        DrawString(p);
        return Rect{0, 0, int16_t(fi.ascent + fi.descent), StringWidth(p)};
    });
}

}  // namespace browsertest
