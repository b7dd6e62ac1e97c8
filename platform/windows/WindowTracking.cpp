#include <algorithm>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"
#include "platform/screen/ScreenPixels.h"
#include "platform/windows/WindowRecord.h"

namespace platform {
namespace {

void XorOutline(const Rect& r)
{
    XorFramePixels(PixelTargetOf(GetOverlayPort()), r);
}

Rect Moved(const Rect& r, int16_t dh, int16_t dv)
{
    return Rect{int16_t(r.top + dv), int16_t(r.left + dh), int16_t(r.bottom + dv), int16_t(r.right + dh)};
}

// Follows the button over a box, showing it pressed (an outline inside it)
// while the mouse is in it; answers whether the button came up inside.
// The outline is drawn and taken away in pairs: nothing of it stays.
bool TrackBoxRect(const Rect& box, Point start)
{
    const Rect pressed{int16_t(box.top + 1), int16_t(box.left + 1), int16_t(box.bottom - 1), int16_t(box.right - 1)};
    bool inside = PtInRect(start, &box);
    if (inside) XorOutline(pressed);
    while (WaitMouseUp()) {
        Point p{};
        GetGlobalMouse(&p);
        if (PtInRect(p, &box) != inside) {
            inside = !inside;
            XorOutline(pressed);
        }
    }
    if (inside) XorOutline(pressed);
    return PtInRect(MouseReleasePoint(), &box);
}

}  // namespace

void MoveWindow(WindowRef window, int16_t h, int16_t v, Boolean front)
{
    if (!IsLiveWindow(window)) return;
    {
        ExposureWatch watch;
        const Rect& c = window->content;
        SetContentRect(*window, Moved(c, int16_t(h - c.left), int16_t(v - c.top)));
    }
    if (front) SelectWindow(window);
}

void SizeWindow(WindowRef window, int16_t width, int16_t height, Boolean update)
{
    if (!IsLiveWindow(window) || width < 0 || height < 0) return;
    const Rect old = window->content;
    if (width == old.right - old.left && height == old.bottom - old.top) return;
    const Rect pr = window->port->portRect;
    const Rect bounds{pr.top, pr.left, int16_t(pr.top + height), int16_t(pr.left + width)};
    GWorldPtr world = window->port;
    if (UpdateGWorld(&world, 32, &bounds, nullptr, nullptr, clipPix) & gwFlagErr) return;
    window->port = world;
    RgnHandle pending = NewRgn();
    CopyRgn(window->updateRgn, pending);
    const bool delivered = window->updateDelivered;
    {
        // Windows behind see what the window uncovered either way.
        ExposureWatch watch;
        SetContentRect(*window, Rect{old.top, old.left, int16_t(old.top + height), int16_t(old.left + width)});
    }
    // The strips the window gained.
    RgnHandle gained = NewRgn();
    RgnHandle was = NewRgn();
    RectRgn(gained, &window->content);
    RectRgn(was, &old);
    DiffRgn(gained, was, gained);
    if (update) {
        AddToUpdate(*window, gained);
    } else {
        // The caller draws the new strips itself: they are not invalidated.
        DiffRgn(window->updateRgn, gained, window->updateRgn);
        if (pending && EqualRgn(window->updateRgn, pending)) window->updateDelivered = delivered;
    }
    DisposeRgn(gained);
    DisposeRgn(was);
    DisposeRgn(pending);
}

void DragWindow(WindowRef window, Point start, const Rect* limits)
{
    if (!IsLiveWindow(window)) return;
    KeyMap keys = {};
    GetKeys(keys);
    const bool keepOrder = IsKeyDown(keys, 0x37);  // command key: drag without selecting
    if (!keepOrder) SelectWindow(window);
    const Rect bounds = limits ? *limits : ScreenBounds();
    const Rect outline = StructureRect(*window);
    Point last = start;
    XorOutline(outline);
    while (WaitMouseUp()) {
        Point p{};
        GetGlobalMouse(&p);
        p.h = std::clamp(p.h, bounds.left, int16_t(bounds.right - 1));
        p.v = std::clamp(p.v, bounds.top, int16_t(bounds.bottom - 1));
        if (p.h == last.h && p.v == last.v) continue;
        XorOutline(Moved(outline, int16_t(last.h - start.h), int16_t(last.v - start.v)));
        last = p;
        XorOutline(Moved(outline, int16_t(last.h - start.h), int16_t(last.v - start.v)));
    }
    XorOutline(Moved(outline, int16_t(last.h - start.h), int16_t(last.v - start.v)));
    last = MouseReleasePoint();
    last.h = std::clamp(last.h, bounds.left, int16_t(bounds.right - 1));
    last.v = std::clamp(last.v, bounds.top, int16_t(bounds.bottom - 1));
    const int16_t dh = int16_t(last.h - start.h), dv = int16_t(last.v - start.v);
    if (dh || dv)
        MoveWindow(window, int16_t(window->content.left + dh), int16_t(window->content.top + dv), false);
}

uint32_t GrowWindow(WindowRef window, Point start, const Rect* sizeLimits)
{
    if (!IsLiveWindow(window)) return 0;
    const Rect limits = sizeLimits ? *sizeLimits : Rect{64, 64, 32767, 32767};
    const Rect c = window->content;
    // A maximum below the minimum gives way to the minimum.
    const int32_t minW = std::max<int32_t>(limits.left, 0), minH = std::max<int32_t>(limits.top, 0);
    const int32_t maxW = std::max<int32_t>(limits.right, minW), maxH = std::max<int32_t>(limits.bottom, minH);
    auto sized = [&](Point p) {
        int32_t w = std::clamp<int32_t>(c.right - c.left + (p.h - start.h), minW, maxW);
        int32_t h = std::clamp<int32_t>(c.bottom - c.top + (p.v - start.v), minH, maxH);
        return Rect{c.top, c.left, int16_t(c.top + h), int16_t(c.left + w)};
    };
    auto outlineOf = [&](const Rect& content) {
        WindowRecord shape = *window;
        shape.content = content;
        return StructureRect(shape);
    };
    Rect now = c;
    XorOutline(outlineOf(now));
    while (WaitMouseUp()) {
        Point p{};
        GetGlobalMouse(&p);
        Rect next = sized(p);
        if (EqualRect(&next, &now)) continue;
        XorOutline(outlineOf(now));
        now = next;
        XorOutline(outlineOf(now));
    }
    XorOutline(outlineOf(now));
    now = sized(MouseReleasePoint());
    if (EqualRect(&now, &c)) return 0;
    return (uint32_t(uint16_t(now.bottom - now.top)) << 16) | uint16_t(now.right - now.left);
}

Boolean TrackGoAway(WindowRef window, Point start)
{
    if (!IsLiveWindow(window)) return false;
    return TrackBoxRect(CloseBoxRect(*window), start);
}

Boolean TrackBox(WindowRef window, Point start, WindowPartCode part)
{
    if (!IsLiveWindow(window) || (part != inZoomIn && part != inZoomOut)) return false;
    return TrackBoxRect(ZoomBoxRect(*window), start);
}

void ZoomWindow(WindowRef window, WindowPartCode part, Boolean front)
{
    if (!IsLiveWindow(window) || (part != inZoomIn && part != inZoomOut)) return;
    Rect target;
    if (part == inZoomOut) {
        window->userState = window->content;
        target = window->hasStandardState ? window->standardState : DefaultStandardState(*window);
    } else {
        target = window->userState;
    }
    {
        ExposureWatch watch;
        MoveWindow(window, target.left, target.top, false);
        SizeWindow(window, int16_t(target.right - target.left), int16_t(target.bottom - target.top), true);
    }
    window->zoomed = part == inZoomOut;
    if (front) SelectWindow(window);
}

void GetWindowStandardState(WindowRef window, Rect* state)
{
    if (!IsLiveWindow(window) || !state) return;
    *state = window->hasStandardState ? window->standardState : DefaultStandardState(*window);
}

void SetWindowStandardState(WindowRef window, const Rect* state)
{
    if (!IsLiveWindow(window) || !state) return;
    window->standardState = *state;
    window->hasStandardState = true;
}

void GetWindowUserState(WindowRef window, Rect* state)
{
    if (IsLiveWindow(window) && state) *state = window->userState;
}

void SetWindowUserState(WindowRef window, const Rect* state)
{
    if (IsLiveWindow(window) && state) window->userState = *state;
}

void DrawGrowIcon(WindowRef window)
{
    if (!IsLiveWindow(window) || !HasGrowBox(*window)) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(window->port);
    PenState pen;
    GetPenState(&pen);
    PenNormal();
    const Rect& pr = window->port->portRect;
    // The scroll bar lines along the right and bottom edges, then the box.
    MoveTo(int16_t(pr.right - 16), pr.top);
    LineTo(int16_t(pr.right - 16), int16_t(pr.bottom - 1));
    MoveTo(pr.left, int16_t(pr.bottom - 16));
    LineTo(int16_t(pr.right - 1), int16_t(pr.bottom - 16));
    Rect box{int16_t(pr.bottom - 15), int16_t(pr.right - 15), pr.bottom, pr.right};
    EraseRect(&box);
    if (window->hilited) {
        Rect back{int16_t(box.top + 3), int16_t(box.left + 3), int16_t(box.top + 10), int16_t(box.left + 10)};
        Rect front{int16_t(box.top + 5), int16_t(box.left + 5), int16_t(box.top + 13), int16_t(box.left + 13)};
        FrameRect(&back);
        EraseRect(&front);
        FrameRect(&front);
    }
    SetPenState(&pen);
    SetPort(saved);
}

}  // namespace platform
