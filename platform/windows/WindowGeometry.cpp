#include "platform/drawing/Rects.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"

namespace platform {
namespace {

int16_t TitleHeight(FrameKind f)
{
    switch (f) {
    case FrameKind::Document:
    case FrameKind::MovableDialog:
        return 20;
    case FrameKind::Floating:
        return 12;
    default:
        return 0;
    }
}

Rect Box(const Rect& bar, int16_t left, int16_t size)
{
    int16_t top = int16_t(bar.top + (bar.bottom - bar.top - size) / 2);
    return Rect{top, left, int16_t(top + size), int16_t(left + size)};
}

int16_t BoxSize(const WindowRecord& w) { return w.frame == FrameKind::Floating ? 8 : 11; }

}  // namespace

Rect StructureRect(const WindowRecord& w)
{
    const Rect& c = w.content;
    switch (w.frame) {
    case FrameKind::Document:
    case FrameKind::MovableDialog:
    case FrameKind::Floating:
        // Border, title bar above, one-pixel shadow right and below.
        return Rect{int16_t(c.top - TitleHeight(w.frame)), int16_t(c.left - 1), int16_t(c.bottom + 2),
                    int16_t(c.right + 2)};
    case FrameKind::Dialog:
        return Rect{int16_t(c.top - 4), int16_t(c.left - 4), int16_t(c.bottom + 4), int16_t(c.right + 4)};
    case FrameKind::Plain:
    case FrameKind::Help:
        return Rect{int16_t(c.top - 1), int16_t(c.left - 1), int16_t(c.bottom + 1), int16_t(c.right + 1)};
    }
    return c;
}

Rect TitleBarRect(const WindowRecord& w)
{
    int16_t h = TitleHeight(w.frame);
    if (!h) return Rect{0, 0, 0, 0};
    const Rect& c = w.content;
    return Rect{int16_t(c.top - h), int16_t(c.left - 1), c.top, int16_t(c.right + 1)};
}

bool HasCloseBox(const WindowRecord& w)
{
    return (w.attributes & kWindowCloseBoxAttribute) && TitleHeight(w.frame);
}

bool HasZoomBox(const WindowRecord& w)
{
    return (w.attributes & kWindowFullZoomAttribute) && TitleHeight(w.frame);
}

bool HasCollapseBox(const WindowRecord& w)
{
    return (w.attributes & kWindowCollapseBoxAttribute) && TitleHeight(w.frame);
}

bool HasGrowBox(const WindowRecord& w) { return w.attributes & kWindowResizableAttribute; }

Rect CloseBoxRect(const WindowRecord& w)
{
    if (!HasCloseBox(w)) return Rect{0, 0, 0, 0};
    Rect bar = TitleBarRect(w);
    return Box(bar, int16_t(bar.left + (w.frame == FrameKind::Floating ? 4 : 8)), BoxSize(w));
}

Rect ZoomBoxRect(const WindowRecord& w)
{
    if (!HasZoomBox(w)) return Rect{0, 0, 0, 0};
    Rect bar = TitleBarRect(w);
    int16_t size = BoxSize(w);
    int16_t inset = w.frame == FrameKind::Floating ? 4 : 8;
    return Box(bar, int16_t(bar.right - inset - size), size);
}

Rect CollapseBoxRect(const WindowRecord& w)
{
    if (!HasCollapseBox(w)) return Rect{0, 0, 0, 0};
    Rect bar = TitleBarRect(w);
    int16_t size = BoxSize(w);
    int16_t inset = w.frame == FrameKind::Floating ? 4 : 8;
    int16_t right = int16_t(bar.right - inset);
    if (HasZoomBox(w)) right = int16_t(right - size - 5);
    return Box(bar, int16_t(right - size), size);
}

Rect GrowBoxRect(const WindowRecord& w)
{
    if (!HasGrowBox(w)) return Rect{0, 0, 0, 0};
    const Rect& c = w.content;
    return Rect{int16_t(c.bottom - 15), int16_t(c.right - 15), c.bottom, c.right};
}

Point LocalToGlobalOf(const WindowRecord& w, Point local)
{
    const Rect& pr = w.port->portRect;
    return Point{int16_t(local.v - pr.top + w.content.top), int16_t(local.h - pr.left + w.content.left)};
}

Point GlobalToLocalOf(const WindowRecord& w, Point global)
{
    const Rect& pr = w.port->portRect;
    return Point{int16_t(global.v - w.content.top + pr.top), int16_t(global.h - w.content.left + pr.left)};
}

Rect DefaultStandardState(const WindowRecord& w)
{
    Rect screen = ScreenBounds();
    Rect s = StructureRect(w);
    const Rect& c = w.content;
    // Frame widths around the content.
    int16_t top = int16_t(c.top - s.top), left = int16_t(c.left - s.left);
    int16_t bottom = int16_t(s.bottom - c.bottom), right = int16_t(s.right - c.right);
    return Rect{int16_t(kMenuBarHeight + 4 + top), int16_t(screen.left + 4 + left),
                int16_t(screen.bottom - 4 - bottom), int16_t(screen.right - 4 - right)};
}

}  // namespace platform
