#include "platform/windows/WindowTitles.h"

#include <vector>

#include "platform/drawing/Regions.h"
#include "platform/drawing/TextLayout.h"
#include "platform/drawing/TextRuns.h"
#include "platform/fonts/Fonts.h"
#include "platform/windows/WindowFrames.h"
#include "platform/windows/WindowRecord.h"

namespace platform {

static bool DrawWindowTitleUnguarded(WindowRef window, const PixelTarget& screen, const Rect& area, bool active)
{
    if (!window) return true;
    const WindowRecord& w = *window;
    TextStyle style = MakeTextStyle(systemFont, kTitleFontSize, normal, 0);
    if (!style.strike) return false;
    const int32_t room = area.right - area.left - 8;
    if (room <= 0 || w.title[0] == 0) return true;
    std::vector<uint8_t> text(w.title + 1, w.title + 1 + w.title[0]);
    auto width = [&](size_t n) { return int32_t(SpanWidth(style, {text.data(), nullptr, int32_t(n)})); };
    if (width(text.size()) > room) {
        // Cut at the end, with an ellipsis.
        text.push_back(kEllipsisByte);
        size_t keep = text.size() - 1;
        while (keep > 0) {
            text.erase(text.begin() + ptrdiff_t(keep - 1));
            --keep;
            if (width(text.size()) <= room) break;
        }
    }
    const int32_t textWidth = width(text.size());
    const FontInfo info = StyleFontInfo(style);
    const int32_t left = (area.left + area.right - textWidth) / 2;
    const int32_t baseline = area.top + (area.bottom - area.top - info.ascent - info.descent) / 2 + info.ascent;

    // Room around the title, as the stripes stop for it.
    const Rect clear{area.top, int16_t(left - 4), area.bottom, int16_t(left + textWidth + 4)};
    FillPixels(screen, clear, active ? kActiveTitleColor : kInactiveTitleColor);

    Surface surface;
    surface.base = reinterpret_cast<uint8_t*>(screen.pixels);
    surface.rowBytes = screen.rowWords * 4;
    surface.depth = 32;
    surface.bounds = ToRect32(screen.bounds);
    pixman_region32_t allowed;
    pixman_region32_init_rect(&allowed, area.left, area.top, uint32_t(area.right - area.left),
                              uint32_t(area.bottom - area.top));
    if (pixman_region32_t* clip = RegionData(screen.clip)) pixman_region32_intersect(&allowed, &allowed, clip);
    TextPaint paint;
    paint.mode = srcOr;
    paint.fore = active ? kTitleTextColor : kInactiveTitleTextColor;
    PaintSpan(surface, &allowed, style, {text.data(), nullptr, int32_t(text.size())}, left, baseline, paint);
    pixman_region32_fini(&allowed);
    return true;
}

bool DrawWindowTitle(WindowRef window, const PixelTarget& screen, const Rect& area, bool active)
{
    return TextGuarded(false, [&] { return DrawWindowTitleUnguarded(window, screen, area, active); });
}

}  // namespace platform
