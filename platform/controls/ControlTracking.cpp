// Finding the control under the mouse and following the mouse while the
// button is held.
#include <algorithm>

#include "platform/controls/ControlRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"

namespace platform {
namespace {

// The window's port is current while tracking; the caller's comes back.
class PortScope {
public:
    explicit PortScope(WindowRef window)
    {
        GetPort(&saved_);
        SetPortWindowPort(window);
    }
    ~PortScope() { SetPort(saved_); }

private:
    GrafPtr saved_ = nullptr;
};

// A control taken away while tracked: the button's release still belongs
// to this click, not to the next one.
ControlPartCode FollowToRelease()
{
    while (WaitMouseUp()) {
    }
    return kControlNoPart;
}

bool IsStepPart(ControlPartCode part) { return part >= kControlUpButtonPart && part <= kControlPageDownPart; }

ControlPartCode TrackThumb(ControlRef c, Point start, ControlActionUPP action)
{
    Rect thumb;
    if (!ScrollBarThumb(*c, c->value, &thumb)) return kControlNoPart;
    const bool h = ScrollBarHorizontal(*c);
    const int16_t grab = int16_t((h ? start.h : start.v) - (h ? thumb.left : thumb.top));
    const bool live = IsLiveScrollBar(*c);
    const Rect track = ScrollBarTrack(*c);
    const int16_t size = int16_t(h ? thumb.right - thumb.left : thumb.bottom - thumb.top);
    int32_t value = c->value;
    HiliteControl(c, kControlIndicatorPart);
    do {
        Point p;
        GetMouse(&p);
        const int32_t along = (h ? p.h : p.v) - grab;
        value = ScrollBarValueAt(*c, along);
        if (live) {
            if (value != c->value) {
                SetControl32BitValue(c, value);
                if (action) action(c, kControlIndicatorPart);
                if (!IsLiveControl(c)) return FollowToRelease();  // the action took it away
            }
        } else {
            // The outline follows the mouse within the track.
            const int16_t lo = h ? track.left : track.top;
            const int16_t hi = int16_t((h ? track.right : track.bottom) - size);
            const int16_t at = int16_t(std::clamp<int32_t>(along, lo, std::max(lo, hi)));
            Rect ghost = thumb;
            if (h) ghost.left = at, ghost.right = int16_t(at + size);
            else ghost.top = at, ghost.bottom = int16_t(at + size);
            if (!c->ghost || !EqualRect(&ghost, &c->ghostRect)) {
                c->ghost = true;
                c->ghostRect = ghost;
                Draw1Control(c);
            }
        }
    } while (WaitMouseUp());
    c->ghost = false;
    c->hilite = 0;
    if (value != c->value) SetControl32BitValue(c, value);
    else Draw1Control(c);
    return kControlIndicatorPart;
}

ControlPartCode TrackPopup(ControlRef c)
{
    if (!c->popupMenu) return kControlNoPart;
    const Rect button = PopupButtonRect(*c);
    Point topLeft{button.top, button.left};
    LocalToGlobal(&topLeft);
    HiliteControl(c, kControlMenuPart);
    const int32_t choice = PopUpMenuSelect(c->popupMenu, topLeft.v, topLeft.h, MenuItemIndex(c->value));
    HiliteControl(c, 0);
    const int16_t item = int16_t(choice & 0xFFFF);
    if (choice == 0 || item <= 0) return kControlNoPart;
    c->max = std::max<int32_t>(1, CountMenuItems(c->popupMenu));
    SetControl32BitValue(c, item);
    return kControlMenuPart;
}

}  // namespace

ControlPartCode TestControl(ControlRef control, Point where)
{
    if (!IsLiveControl(control) || !control->visible || control->hilite == kControlInactivePart ||
        control->hilite == kControlDisabledPart)
        return kControlNoPart;
    return ControlPartCode(CallControlDefinition(control, testCntl, PackPoint(where)));
}

ControlPartCode FindControl(Point where, WindowRef window, ControlRef* control)
{
    if (control) *control = nullptr;
    std::vector<ControlRef>* list = ControlsOf(window, false);
    if (!list || !IsWindowVisible(window)) return kControlNoPart;
    for (auto it = list->rbegin(); it != list->rend(); ++it) {
        ControlRef c = *it;
        if (!c->visible) continue;
        if (c->hilite == kControlInactivePart || c->hilite == kControlDisabledPart) {
            // An inactive control still hides those behind it.
            if (PtInRect(where, &c->bounds)) {
                if (control) *control = c;
                return kControlNoPart;
            }
            continue;
        }
        const ControlPartCode part = TestControl(c, where);
        if (part != kControlNoPart) {
            if (control) *control = c;
            return part;
        }
    }
    return kControlNoPart;
}

ControlPartCode TrackControl(ControlRef control, Point where, ControlActionUPP action)
{
    if (!IsLiveControl(control)) return kControlNoPart;
    PortScope port(control->owner);
    const ControlPartCode part = TestControl(control, where);
    if (part == kControlNoPart) return kControlNoPart;
    if (action == kControlUseOwnAction || !action) action = control->action;

    const bool standard = control->def == StandardControlDefinition(control->procID);
    if (!standard) {
        // A definition may track by itself; ours answer 0 and the platform does.
        const int32_t tracked = CallControlDefinition(control, autoTrack, PackPoint(where));
        if (tracked != 0) return ControlPartCode(tracked);
    }
    if (IsUserPane(*control) && control->paneTracking) return control->paneTracking(control, where, action);
    if (part == kControlIndicatorPart && IsScrollBar(*control)) return TrackThumb(control, where, action);
    if (IsPopupButton(*control)) return TrackPopup(control);

    bool inside = true;
    HiliteControl(control, part);
    if (IsStepPart(part) && action) action(control, part);
    while (IsLiveControl(control) && WaitMouseUp()) {
        Point p;
        GetMouse(&p);
        inside = TestControl(control, p) == part;
        HiliteControl(control, inside ? part : 0);
        if (inside && action && (IsStepPart(part) || !standard)) action(control, part);
        if (!IsLiveControl(control)) return FollowToRelease();
    }
    if (!IsLiveControl(control)) return FollowToRelease();
    // Where the button came up decides (the mouse may have moved on since).
    Point up = MouseReleasePoint();
    GlobalToLocal(&up);
    inside = TestControl(control, up) == part;
    HiliteControl(control, 0);
    return inside ? part : ControlPartCode(kControlNoPart);
}

ControlPartCode HandleControlClick(ControlRef control, Point where, uint16_t, ControlActionUPP action)
{
    const ControlPartCode part = TrackControl(control, where, action);
    if (part == kControlCheckBoxPart && IsLiveControl(control) &&
        control->def == StandardControlDefinition(control->procID) && DefinitionId(control->procID) == 0) {
        const int kind = Variation(control->procID) & 7;
        if (kind == 1) SetControl32BitValue(control, control->value == 0 ? 1 : 0);
        else if (kind == 2) SetControl32BitValue(control, 1);
    }
    return part;
}

}  // namespace platform
