// Text found in a screenshot: drawn here offscreen as the program draws
// it, then looked for pixel for pixel.
#pragma once

#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
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

}  // namespace browsertest
