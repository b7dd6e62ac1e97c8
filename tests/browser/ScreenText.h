// Text found in a screenshot: drawn here offscreen as the program draws
// it, then looked for pixel for pixel.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/imports/PngCodec.h"
#include "platform/menus/MenuText.h"

namespace browsertest {

// Whether the text, drawn in the menu font and that colour on white, stands
// anywhere inside `area` of the screenshot.
inline bool ShowsMenuText(const platform::PictPixels& shot, const platform::Rect& area, const std::string& text,
                          uint32_t rgb)
{
    using namespace platform;
    const menus::MenuFontMetrics m = menus::MenuMetrics();
    const Rect box{0, 0, int16_t(m.ascent + m.descent), int16_t(menus::MenuTextWidth(text, 0))};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &box, nullptr, nullptr, 0) != 0) return false;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    EraseRect(&box);
    menus::DrawMenuText(text, 0, 0, m.ascent, rgb);
    SetGWorld(savedPort, savedDevice);
    const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
    bool found = false;
    for (int16_t top = area.top; top + box.bottom <= area.bottom && !found; ++top)
        for (int16_t left = area.left; left + box.right <= area.right && !found; ++left) {
            bool same = true;
            for (int16_t v = 0; v < box.bottom && same; ++v)
                for (int16_t h = 0; h < box.right && same; ++h)
                    same = (drawn.ReadRGB(h, v) & 0xFFFFFF) == (shot.RGBAt(left + h, top + v) & 0xFFFFFF);
            found = same;
        }
    DisposeGWorld(world);
    return found;
}

// Whether the text, drawn in that font and size in black on white, stands
// anywhere inside `area` of the screenshot, where the white may have become
// another colour (a selected header is highlighted): every pixel the text
// inks is the same there.
inline bool ShowsText(const platform::PictPixels& shot, const platform::Rect& area, const std::string& text,
                      int16_t font, int16_t size)
{
    using namespace platform;
    unsigned char p[256];
    p[0] = uint8_t(std::min<size_t>(text.size(), 255));
    std::memcpy(p + 1, text.data(), p[0]);
    GWorldPtr world = nullptr;
    const Rect probe{0, 0, 40, 600};
    if (NewGWorld(&world, 32, &probe, nullptr, nullptr, 0) != 0) return false;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    EraseRect(&probe);
    TextFont(font);
    TextSize(size);
    FontInfo fi{};
    GetFontInfo(&fi);
    const Rect box{0, 0, int16_t(fi.ascent + fi.descent), StringWidth(p)};
    MoveTo(0, fi.ascent);
    DrawString(p);
    SetGWorld(savedPort, savedDevice);
    const Surface drawn = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
    bool found = false;
    for (int16_t top = area.top; top + box.bottom <= area.bottom && !found; ++top)
        for (int16_t left = area.left; left + box.right <= area.right && !found; ++left) {
            bool same = true;
            for (int16_t v = 0; v < box.bottom && same; ++v)
                for (int16_t h = 0; h < box.right && same; ++h) {
                    const uint32_t want = drawn.ReadRGB(h, v) & 0xFFFFFF;
                    if (want != 0xFFFFFF) same = want == (shot.RGBAt(left + h, top + v) & 0xFFFFFF);
                }
            found = same;
        }
    DisposeGWorld(world);
    return found;
}

}  // namespace browsertest
