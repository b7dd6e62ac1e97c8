#include <algorithm>
#include <deque>
#include <new>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"
#include "platform/windows/WindowRecord.h"

namespace platform {
namespace {

struct PendingActivate {
    WindowRef window;
    bool activate;
};

struct ActivationState {
    WindowRef active = nullptr;
    std::deque<PendingActivate> pending;
    bool stale = false;  // the events of a change could not be queued
};

ActivationState& Activation()
{
    static auto* state = new ActivationState;
    return *state;
}

void OffsetToLocal(const WindowRecord& w, RgnHandle rgn)
{
    Point origin = GlobalToLocalOf(w, Point{0, 0});
    OffsetRgn(rgn, origin.h, origin.v);
}

void OffsetToGlobal(const WindowRecord& w, RgnHandle rgn)
{
    Point origin = LocalToGlobalOf(w, Point{0, 0});
    OffsetRgn(rgn, origin.h, origin.v);
}

class EventSource final : public WindowEventSource {
public:
    bool NextActivate(EventRecord* e, bool remove) override
    {
        if (Activation().stale) UpdateActivation();
        auto& pending = Activation().pending;
        if (pending.empty()) return false;
        PendingActivate p = pending.front();
        if (remove) pending.pop_front();
        Fill(e, activateEvt, p.window);
        if (p.activate) e->modifiers |= activeFlag;
        else e->modifiers &= uint16_t(~activeFlag);
        return true;
    }

    bool NextUpdate(EventRecord* e, bool remove) override
    {
        for (WindowRef w : WindowOrder()) {
            if (!w->visible || w->updateDelivered || EmptyRgn(w->updateRgn)) continue;
            if (remove) w->updateDelivered = true;
            Fill(e, updateEvt, w);
            return true;
        }
        return false;
    }

private:
    static void Fill(EventRecord* e, uint16_t what, WindowRef w)
    {
        const InputState& in = CurrentInput();
        e->what = what;
        e->message = reinterpret_cast<uintptr_t>(w);
        e->when = EventTicks();
        e->where = in.mouse;
        e->modifiers = uint16_t(in.modifiers | (in.button ? 0 : btnState));
    }
};

}  // namespace

void InstallWindowEventSource()
{
    static EventSource* source = new EventSource;
    SetWindowEventSource(source);
}

void VisibleRegionOf(WindowRef window, RgnHandle into)
{
    SetEmptyRgn(into);
    if (!window->visible) return;
    Rect s = StructureRect(*window);
    RectRgn(into, &s);
    RgnHandle cover = NewRgn();
    GetDesktopRegion(cover);
    SectRgn(into, cover, into);
    for (WindowRef w : WindowOrder()) {
        if (w == window) break;
        if (!w->visible) continue;
        Rect r = StructureRect(*w);
        RectRgn(cover, &r);
        DiffRgn(into, cover, into);
    }
    DisposeRgn(cover);
}

ExposureWatch::ExposureWatch()
{
    // Memory running out part way: nothing is watched, and every window
    // is drawn anew instead.
    RgnHandle rgn = nullptr;
    try {
        before_.reserve(WindowOrder().size());
        for (WindowRef w : WindowOrder()) {
            rgn = NewRgn();
            if (!rgn) continue;
            VisibleRegionOf(w, rgn);
            OffsetToLocal(*w, rgn);
            before_.push_back({w, rgn});
            rgn = nullptr;
        }
    } catch (const std::bad_alloc&) {
        if (rgn) DisposeRgn(rgn);
        for (auto& [w, was] : before_) DisposeRgn(was);
        before_.clear();
        whole_ = true;
    }
}

ExposureWatch::~ExposureWatch()
{
    RgnHandle now = NewRgn();
    if (whole_ && now) {
        for (WindowRef w : WindowOrder()) {
            if (!w->visible) continue;
            RectRgn(now, &w->content);
            AddToUpdate(*w, now);
        }
    }
    for (auto& [w, was] : before_) {
        if (now && IsLiveWindow(w) && w->visible) {
            VisibleRegionOf(w, now);
            OffsetToLocal(*w, now);
            DiffRgn(now, was, now);
            OffsetToGlobal(*w, now);
            AddToUpdate(*w, now);
        }
        DisposeRgn(was);
    }
    DisposeRgn(now);
}

void AddToUpdate(WindowRecord& w, RgnHandle globalArea, bool always)
{
    RgnHandle add = NewRgn();
    if (!add) return;
    RectRgn(add, &w.content);
    SectRgn(add, globalArea, add);
    if (always && !EmptyRgn(add)) w.updateDelivered = false;
    DiffRgn(add, w.updateRgn, add);
    if (!EmptyRgn(add)) {
        UnionRgn(w.updateRgn, add, w.updateRgn);
        w.updateDelivered = false;
    }
    DisposeRgn(add);
}

void SetContentRect(WindowRecord& w, const Rect& content)
{
    // The pending update moves with the window.
    OffsetRgn(w.updateRgn, int16_t(content.left - w.content.left), int16_t(content.top - w.content.top));
    w.content = content;
    SetPortGlobalOffset(w.port, Point{content.top, content.left});
    RgnHandle inside = NewRgn();
    RectRgn(inside, &content);
    SectRgn(w.updateRgn, inside, w.updateRgn);
    DisposeRgn(inside);
}

void UpdateActivation()
{
    ActivationState& a = Activation();
    for (WindowRef w : WindowOrder()) {
        if (w->level == 1) w->hilited = w->visible;
        if (w->level == 2) w->hilited = false;
    }
    WindowRef front = FrontNonFloatingWindow();
    a.stale = false;
    if (front == a.active) return;
    // Memory running out for the events leaves the activation as it was,
    // to be brought in step when the next event is asked for.
    const size_t queued = a.pending.size();
    try {
        if (a.active && IsLiveWindow(a.active)) a.pending.push_back({a.active, false});
        if (front) a.pending.push_back({front, true});
    } catch (const std::bad_alloc&) {
        a.pending.resize(queued);
        a.stale = true;
        return;
    }
    if (a.active && IsLiveWindow(a.active)) a.active->hilited = false;
    a.active = front;
    if (front) front->hilited = true;
}

void ForgetWindowEvents(WindowRef window)
{
    ActivationState& a = Activation();
    auto& p = a.pending;
    p.erase(std::remove_if(p.begin(), p.end(), [&](const PendingActivate& x) { return x.window == window; }),
            p.end());
    if (a.active == window) a.active = nullptr;
}

void InvalWindowRgn(WindowRef window, RgnHandle rgn)
{
    if (!IsLiveWindow(window) || !rgn) return;
    RgnHandle global = NewRgn();
    if (!global) return;
    CopyRgn(rgn, global);
    OffsetToGlobal(*window, global);
    AddToUpdate(*window, global, true);
    DisposeRgn(global);
}

void InvalWindowRect(WindowRef window, const Rect* r)
{
    if (!r) return;
    RgnHandle rgn = NewRgn();
    RectRgn(rgn, r);
    InvalWindowRgn(window, rgn);
    DisposeRgn(rgn);
}

void ValidWindowRgn(WindowRef window, RgnHandle rgn)
{
    if (!IsLiveWindow(window) || !rgn) return;
    RgnHandle global = NewRgn();
    if (!global) return;
    CopyRgn(rgn, global);
    OffsetToGlobal(*window, global);
    DiffRgn(window->updateRgn, global, window->updateRgn);
    DisposeRgn(global);
}

void ValidWindowRect(WindowRef window, const Rect* r)
{
    if (!r) return;
    RgnHandle rgn = NewRgn();
    RectRgn(rgn, r);
    ValidWindowRgn(window, rgn);
    DisposeRgn(rgn);
}

void BeginUpdate(WindowRef window)
{
    if (!IsLiveWindow(window) || window->savedVisRgn) return;
    GrafPtr port = window->port;
    window->savedVisRgn = NewRgn();
    if (!window->savedVisRgn) return;
    CopyRgn(port->visRgn, window->savedVisRgn);
    RgnHandle local = NewRgn();
    CopyRgn(window->updateRgn, local);
    OffsetToLocal(*window, local);
    SectRgn(port->visRgn, local, port->visRgn);
    DisposeRgn(local);
    SetEmptyRgn(window->updateRgn);
    window->updateDelivered = false;
}

void EndUpdate(WindowRef window)
{
    if (!IsLiveWindow(window) || !window->savedVisRgn) return;
    CopyRgn(window->savedVisRgn, window->port->visRgn);
    DisposeRgn(window->savedVisRgn);
    window->savedVisRgn = nullptr;
}

}  // namespace platform
