#include "platform/windows/WindowFrames.h"

#include <algorithm>
#include <vector>

#include "platform/drawing/Regions.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"
#include "platform/windows/WindowTitles.h"

namespace platform {
namespace {

WindowTitleDrawer gTitleDrawer = nullptr;

Rect Inset(const Rect& r, int16_t d)
{
    return Rect{int16_t(r.top + d), int16_t(r.left + d), int16_t(r.bottom - d), int16_t(r.right - d)};
}

void PaintBox(const PixelTarget& t, const Rect& box)
{
    if (box.right <= box.left) return;
    FillPixels(t, Inset(box, -1), kActiveTitleColor);
    FillPixels(t, box, 0xFFFFFF);
    FramePixels(t, box, kFrameColor);
}

void PlaceholderTitle(const PixelTarget& t, const WindowRecord& w, const Rect& area, bool active)
{
    const int32_t length = w.title[0];
    if (!length) return;
    const int32_t width = std::min<int32_t>(length * 6, area.right - area.left - 8);
    if (width <= 0) return;
    const int16_t mid = int16_t((area.left + area.right) / 2);
    const int16_t v = int16_t((area.top + area.bottom) / 2);
    Rect bar{int16_t(v - 3), int16_t(mid - width / 2), int16_t(v + 3), int16_t(mid - width / 2 + width)};
    // Clear a little room around it, as a title would.
    FillPixels(t, Inset(bar, -3), active ? kActiveTitleColor : kInactiveTitleColor);
    FillPixels(t, bar, active ? kTitlePlaceholderColor : kInactiveFrameColor);
}

void PaintTitleBar(const PixelTarget& t, WindowRecord& w)
{
    const Rect bar = TitleBarRect(w);
    if (bar.bottom <= bar.top) return;
    const bool active = w.hilited;
    const uint32_t edge = active ? kFrameColor : kInactiveFrameColor;
    FillPixels(t, bar, active ? kActiveTitleColor : kInactiveTitleColor);
    FramePixels(t, bar, edge);
    if (active) {
        // Stripes across the bar, leaving room at both ends.
        for (int16_t v = int16_t(bar.top + 3); v < bar.bottom - 3; v += 2)
            FillPixels(t, Rect{v, int16_t(bar.left + 2), int16_t(v + 1), int16_t(bar.right - 2)}, kTitleStripeColor);
        PaintBox(t, CloseBoxRect(w));
        PaintBox(t, ZoomBoxRect(w));
        Rect zoom = ZoomBoxRect(w);
        if (zoom.right > zoom.left)
            FramePixels(t, Rect{zoom.top, zoom.left, int16_t(zoom.top + 6), int16_t(zoom.left + 6)}, kFrameColor);
        Rect collapse = CollapseBoxRect(w);
        PaintBox(t, collapse);
        if (collapse.right > collapse.left) {
            int16_t mid = int16_t((collapse.top + collapse.bottom) / 2);
            FillPixels(t, Rect{int16_t(mid - 1), collapse.left, int16_t(mid + 1), collapse.right}, kFrameColor);
        }
    }
    Rect text{int16_t(bar.top + 1), int16_t(bar.left + 24), int16_t(bar.bottom - 1), int16_t(bar.right - 40)};
    if (gTitleDrawer) gTitleDrawer(&w, t, text, active);
    else if (!DrawWindowTitle(&w, t, text, active)) PlaceholderTitle(t, w, text, active);
}

void PaintFrame(const PixelTarget& t, WindowRecord& w)
{
    const Rect s = StructureRect(w);
    const Rect& c = w.content;
    const uint32_t edge = w.hilited || w.level > 0 ? kFrameColor : kInactiveFrameColor;
    switch (w.frame) {
    case FrameKind::Document:
    case FrameKind::MovableDialog:
    case FrameKind::Floating:
        // Border around content and title, and the shadow.
        FramePixels(t, Rect{s.top, s.left, int16_t(c.bottom + 1), int16_t(c.right + 1)}, edge);
        FillPixels(t, Rect{int16_t(s.top + 2), int16_t(c.right + 1), s.bottom, s.right}, kFrameColor);
        FillPixels(t, Rect{int16_t(c.bottom + 1), int16_t(s.left + 2), s.bottom, s.right}, kFrameColor);
        PaintTitleBar(t, w);
        break;
    case FrameKind::Dialog:
        FillPixels(t, s, 0xFFFFFF);
        FramePixels(t, s, kFrameColor);
        FramePixels(t, Inset(s, 2), kFrameColor);
        break;
    case FrameKind::Plain:
    case FrameKind::Help:
        FramePixels(t, s, kFrameColor);
        break;
    }
}

uint64_t Mix(uint64_t hash, const void* bytes, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;  // FNV-1a
    return hash;
}

template <class T>
uint64_t MixValue(uint64_t hash, const T& value)
{
    return Mix(hash, &value, sizeof value);
}

}  // namespace

uint64_t MixWindowFrames(uint64_t hash)
{
    for (WindowRef ref : WindowOrder()) {
        const WindowRecord& w = *ref;
        hash = MixValue(hash, ref);
        hash = MixValue(hash, w.port);
        hash = MixValue(hash, w.windowClass);
        hash = MixValue(hash, w.attributes);
        hash = MixValue(hash, w.frame);
        hash = MixValue(hash, w.level);
        hash = MixValue(hash, w.kind);
        hash = MixValue(hash, uint8_t(w.visible | w.hilited << 1 | w.zoomed << 2));
        hash = MixValue(hash, w.content);
        hash = Mix(hash, w.title, size_t(w.title[0]) + 1);
    }
    return hash;
}

void SetWindowTitleDrawer(WindowTitleDrawer drawer) { gTitleDrawer = drawer; }

void PaintWindowsOnScreen(const PixelTarget& screen)
{
    const auto& order = WindowOrder();
    RgnHandle visible = NewRgn();
    if (!visible) return;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        WindowRecord& w = **it;
        if (!w.visible) continue;
        // Later windows paint over this one, so only what is not covered by
        // the menu bar needs care; the screen clip does the rest.
        PixelTarget t = screen;
        GetDesktopRegion(visible);
        t.clip = visible;
        PaintFrame(t, w);
        PixelTarget content = PixelTargetAt(w.port, Point{w.content.top, w.content.left});
        PixelTarget clipped = t;
        RgnHandle inside = NewRgn();
        if (inside) {
            RectRgn(inside, &w.content);
            SectRgn(inside, visible, inside);
            clipped.clip = inside;
            CopyPixels(content, clipped);
            DisposeRgn(inside);
        }
    }
    DisposeRgn(visible);
}

}  // namespace platform
