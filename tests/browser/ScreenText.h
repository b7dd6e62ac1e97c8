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

// Whether what `draw` puts into a white box of its size (it answers the
// size) stands anywhere inside `area` of the screenshot. With
// `anyBackground`, only the pixels it inks must match: the white behind
// may have become another colour (a selected header is highlighted).
inline bool ShowsDrawing(const platform::PictPixels& shot, const platform::Rect& area, bool anyBackground,
                         const std::function<platform::Rect()>& draw)
{
    using namespace platform;
    GWorldPtr world = nullptr;
    const Rect probe{0, 0, 40, 600};
    if (NewGWorld(&world, 32, &probe, nullptr, nullptr, 0) != 0) return false;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    EraseRect(&probe);
    const Rect box = draw();
    SetGWorld(savedPort, savedDevice);
    const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
    bool found = false;
    for (int16_t top = area.top; top + box.bottom <= area.bottom && !found; ++top)
        for (int16_t left = area.left; left + box.right <= area.right && !found; ++left) {
            bool same = true;
            for (int16_t v = 0; v < box.bottom && same; ++v)
                for (int16_t h = 0; h < box.right && same; ++h) {
                    const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                    if (!anyBackground || want != 0xFFFFFF) same = want == (shot.RGBAt(left + h, top + v) & 0xFFFFFF);
                }
            found = same;
        }
    DisposeGWorld(world);
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
