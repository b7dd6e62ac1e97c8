#include <algorithm>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/drag/DragData.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Backend.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"

namespace platform {
namespace {

template <typename Proc>
struct Handler {
    Proc proc;
    WindowRef window;  // null: every window
    void* refCon;
};

struct DragHandlers {
    std::vector<Handler<DragTrackingHandlerUPP>> tracking;
    std::vector<Handler<DragReceiveHandlerUPP>> receive;
};

DragHandlers& Handlers()
{
    static auto* h = new DragHandlers;
    return *h;
}

template <typename Proc>
OSErr Install(std::vector<Handler<Proc>>& list, Proc proc, WindowRef window, void* refCon)
{
    if (!proc) return paramErr;
    for (const auto& h : list)
        if (h.proc == proc && h.window == window) return duplicateHandlerErr;
    try {
        list.push_back({proc, window, refCon});
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

template <typename Proc>
OSErr Remove(std::vector<Handler<Proc>>& list, Proc proc, WindowRef window)
{
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->proc == proc && it->window == window) {
            list.erase(it);
            return noErr;
        }
    return handlerNotFoundErr;
}

bool RunEnded()
{
    Backend* b = CurrentBackend();
    return b && b->Ended();
}

// Draws in the screen's xor overlay; drawing the same again takes it away.
class OverlayScope {
public:
    OverlayScope()
    {
        GetGWorld(&port_, &device_);
        SetGWorld(GetOverlayPort(), nullptr);
        GetPenState(&pen_);
        PenNormal();
        PenMode(patXor);
    }
    ~OverlayScope()
    {
        SetPenState(&pen_);
        SetGWorld(port_, device_);
    }
    OverlayScope(const OverlayScope&) = delete;
    OverlayScope& operator=(const OverlayScope&) = delete;

private:
    CGrafPtr port_ = nullptr;
    GDHandle device_ = nullptr;
    PenState pen_{};
};

void XorOutline(RgnHandle region, int16_t dh, int16_t dv, bool gray)
{
    if (!region) return;
    OverlayScope scope;
    Pattern p;
    if (gray) PenPat(GetQDGlobalsGray(&p));
    OffsetRgn(region, dh, dv);
    FrameRgn(region);
    OffsetRgn(region, int16_t(-dh), int16_t(-dv));
}

// The current port's offset from global coordinates.
Point PortToGlobal()
{
    Point p{0, 0};
    if (GetQDGlobalsThePort()) LocalToGlobal(&p);
    return p;
}

WindowRef WindowAt(Point p)
{
    WindowRef w = nullptr;
    const WindowPartCode part = FindWindow(p, &w);
    return (part == inDesk || part == inMenuBar) ? nullptr : w;
}

void Tell(DragRef drag, WindowRef window, DragTrackingMessage message)
{
    // Copy: a handler may install or remove handlers.
    const auto handlers = Handlers().tracking;
    for (const auto& h : handlers)
        if (!h.window || h.window == window) h.proc(message, window, h.refCon, drag);
}

void Note(DragRef drag, Point p)
{
    drag->mouse = p;
    drag->modifiers = int16_t(CurrentInput().modifiers);
}

}  // namespace

OSErr InstallTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window, void* refCon)
{
    return Install(Handlers().tracking, handler, window, refCon);
}
OSErr RemoveTrackingHandler(DragTrackingHandlerUPP handler, WindowRef window)
{
    return Remove(Handlers().tracking, handler, window);
}
OSErr InstallReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window, void* refCon)
{
    return Install(Handlers().receive, handler, window, refCon);
}
OSErr RemoveReceiveHandler(DragReceiveHandlerUPP handler, WindowRef window)
{
    return Remove(Handlers().receive, handler, window);
}

OSErr TrackDrag(DragRef drag, const EventRecord* event, RgnHandle dragRegion)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (!event) return paramErr;
    const Point start = event->where;
    WindowRef sender = WindowAt(start);
    drag->downModifiers = int16_t(event->modifiers);
    drag->attributes = kDragInsideSenderApplication | (sender ? DragAttributes(kDragInsideSenderWindow) : DragAttributes(0));
    Note(drag, start);
    WindowRef current = nullptr;
    bool inside = false;  // the drag is over a window and its handlers know it
    Point shown = start;
    XorOutline(dragRegion, 0, 0, true);
    bool down = true;
    while (down) {
        Point p;
        GetGlobalMouse(&p);
        Note(drag, p);
        if (p.h != shown.h || p.v != shown.v) {
            XorOutline(dragRegion, int16_t(shown.h - start.h), int16_t(shown.v - start.v), true);
            XorOutline(dragRegion, int16_t(p.h - start.h), int16_t(p.v - start.v), true);
            shown = p;
        }
        WindowRef w = WindowAt(p);
        if (w != sender && sender) {
            drag->attributes |= kDragHasLeftSenderWindow;
            drag->attributes &= ~kDragInsideSenderWindow;
        } else if (w == sender && sender) {
            drag->attributes |= kDragInsideSenderWindow;
        }
        if (inside && w != current) {
            Tell(drag, current, kDragTrackingLeaveWindow);
            Tell(drag, current, kDragTrackingLeaveHandler);
            inside = false;
        }
        if (w && !inside) {
            current = w;
            Tell(drag, w, kDragTrackingEnterHandler);
            Tell(drag, w, kDragTrackingEnterWindow);
            inside = true;
        }
        if (inside) Tell(drag, current, kDragTrackingInWindow);
        down = StillDown() && !RunEnded();
    }
    XorOutline(dragRegion, int16_t(shown.h - start.h), int16_t(shown.v - start.v), true);
    drag->upModifiers = int16_t(CurrentInput().modifiers);
    Point release = MouseReleasePoint();
    Note(drag, release);
    WindowRef target = WindowAt(release);
    if (inside) {
        Tell(drag, current, kDragTrackingLeaveWindow);
        Tell(drag, current, kDragTrackingLeaveHandler);
    }
    HideDragHilite(drag);
    if (!target) return userCanceledErr;
    OSErr result = dragNotAcceptedErr;
    const auto receivers = Handlers().receive;
    for (const auto& h : receivers) {
        if (h.window && h.window != target) continue;
        result = h.proc(target, h.refCon, drag);
        if (result == noErr) break;
    }
    return result == noErr ? noErr : (result == userCanceledErr ? userCanceledErr : dragNotAcceptedErr);
}

OSErr ShowDragHilite(DragRef drag, RgnHandle hiliteFrame, Boolean inside)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (!hiliteFrame) return paramErr;
    HideDragHilite(drag);
    RgnHandle outer = NewRgn();
    RgnHandle inner = NewRgn();
    if (!outer || !inner) {
        if (outer) DisposeRgn(outer);
        if (inner) DisposeRgn(inner);
        return memFullErr;
    }
    const Point offset = PortToGlobal();
    CopyRgn(hiliteFrame, outer);
    OffsetRgn(outer, offset.h, offset.v);
    CopyRgn(outer, inner);
    if (RanShort([&] { inside ? InsetRgn(inner, 2, 2) : InsetRgn(outer, -2, -2); })) {
        DisposeRgn(outer);
        DisposeRgn(inner);
        return memFullErr;
    }
    DiffRgn(outer, inner, outer);
    DisposeRgn(inner);
    {
        OverlayScope scope;
        PaintRgn(outer);
    }
    drag->hilite = outer;
    return noErr;
}

OSErr HideDragHilite(DragRef drag)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (!drag->hilite) return noErr;
    {
        OverlayScope scope;
        PaintRgn(drag->hilite);
    }
    DisposeRgn(drag->hilite);
    drag->hilite = nullptr;
    return noErr;
}

OSErr GetDragMouse(DragRef drag, Point* mouse, Point* globalPinnedMouse)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (mouse) *mouse = drag->mouse;
    if (globalPinnedMouse) *globalPinnedMouse = drag->mouse;
    return noErr;
}

OSErr GetDragModifiers(DragRef drag, int16_t* modifiers, int16_t* mouseDownModifiers, int16_t* mouseUpModifiers)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (modifiers) *modifiers = drag->modifiers;
    if (mouseDownModifiers) *mouseDownModifiers = drag->downModifiers;
    if (mouseUpModifiers) *mouseUpModifiers = drag->upModifiers;
    return noErr;
}

OSErr GetDragAttributes(DragRef drag, DragAttributes* attributes)
{
    if (!IsDrag(drag)) return badDragRefErr;
    if (attributes) *attributes = drag->attributes;
    return noErr;
}

int32_t DragGrayRgn(RgnHandle region, Point start, const Rect* limit, const Rect* slop, int16_t axis,
                    DragGrayRgnUPP action)
{
    if (!region) return kDragGrayRgnOutside;
    // Everything in global coordinates.
    const Point offset = PortToGlobal();
    RgnHandle outline = NewRgn();
    if (!outline) return kDragGrayRgnOutside;
    CopyRgn(region, outline);
    OffsetRgn(outline, offset.h, offset.v);
    Point origin = start;
    AddPt(offset, &origin);
    Rect lim = limit ? *limit : ScreenBounds();
    Rect sl = slop ? *slop : ScreenBounds();
    if (limit) OffsetRect(&lim, offset.h, offset.v);
    if (slop) OffsetRect(&sl, offset.h, offset.v);
    auto delta = [&](Point p) {
        Point pinned{std::clamp<int16_t>(p.v, lim.top, int16_t(std::max<int16_t>(lim.top, int16_t(lim.bottom - 1)))),
                     std::clamp<int16_t>(p.h, lim.left, int16_t(std::max<int16_t>(lim.left, int16_t(lim.right - 1))))};
        Point d{int16_t(pinned.v - origin.v), int16_t(pinned.h - origin.h)};
        if (axis == hAxisOnly) d.v = 0;
        if (axis == vAxisOnly) d.h = 0;
        return d;
    };
    bool shown = false;
    Point shownDelta{0, 0};
    Point p = origin;
    bool down = true;
    while (down) {
        GetGlobalMouse(&p);
        const bool in = PtInRect(p, &sl);
        const Point d = delta(p);
        if (shown && (!in || d.h != shownDelta.h || d.v != shownDelta.v)) {
            XorOutline(outline, shownDelta.h, shownDelta.v, true);
            shown = false;
        }
        if (in && !shown) {
            XorOutline(outline, d.h, d.v, true);
            shown = true;
            shownDelta = d;
        }
        if (action) action();
        down = StillDown() && !RunEnded();
    }
    if (shown) XorOutline(outline, shownDelta.h, shownDelta.v, true);
    DisposeRgn(outline);
    p = MouseReleasePoint();
    if (!PtInRect(p, &sl)) return kDragGrayRgnOutside;
    const Point d = delta(p);
    return int32_t((uint32_t(uint16_t(d.v)) << 16) | uint16_t(d.h));
}

void ResetDragManager()
{
    Handlers().tracking.clear();
    Handlers().receive.clear();
    ForgetDrags();
    ClearOverlay();
}

}  // namespace platform
