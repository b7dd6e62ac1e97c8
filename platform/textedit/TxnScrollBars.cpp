// The scroll bars of a multilingual object: drawn with the theme along the
// frame's right and bottom edges and tracked by the object itself (arrows
// a line at a time, the track a view at a time, the thumb following the
// mouse).
#include <algorithm>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/events/Events.h"
#include "platform/textedit/TxnObject.h"
#include "platform/theme/Theme.h"

namespace platform::txn {

namespace {

struct BarState {
    Rect32 bounds{};
    bool horizontal = false;
    int32_t value = 0, max = 0, view = 0;
};

BarState StateOf(TXNObject o, bool horizontal, const Rect32& bounds)
{
    TextEngine& e = o->engine;
    if (!e.LaidOut()) e.Layout();
    BarState s;
    s.bounds = bounds;
    s.horizontal = horizontal;
    if (horizontal) {
        s.view = e.view.right - e.view.left;
        s.max = e.wrap ? 0 : std::max(0, e.WidestLine() - s.view);
        s.value = e.view.left - e.dest.left;
    } else {
        s.view = e.view.bottom - e.view.top;
        s.max = std::max(0, e.TotalHeight() - s.view);
        s.value = e.view.top - e.dest.top;
    }
    return s;
}

ThemeTrackEnableState Enable(TXNObject o, const BarState& s)
{
    if (!o->focused && !o->barsAlwaysActive) return kThemeTrackInactive;
    return s.max > 0 ? kThemeTrackActive : kThemeTrackNothingToScroll;
}

// Splits a bar into its two arrows and the track between them.
void Parts(const BarState& s, Rect* first, Rect* second, Rect* track)
{
    const Rect b = ClampToRect(s.bounds);
    const int16_t side = int16_t(s.horizontal ? b.bottom - b.top : b.right - b.left);
    *first = *second = *track = b;
    if (s.horizontal) {
        first->right = int16_t(std::min<int32_t>(b.left + side, b.right));
        second->left = int16_t(std::max<int32_t>(b.right - side, b.left));
        track->left = first->right;
        track->right = std::max(second->left, track->left);
    } else {
        first->bottom = int16_t(std::min<int32_t>(b.top + side, b.bottom));
        second->top = int16_t(std::max<int32_t>(b.bottom - side, b.top));
        track->top = first->bottom;
        track->bottom = std::max(second->top, track->top);
    }
}

ThemeTrackDrawInfo TrackInfo(TXNObject o, const BarState& s, const Rect& track, ThemeTrackPressState press)
{
    ThemeTrackDrawInfo info{};
    info.kind = kThemeScrollBar;
    info.bounds = track;
    info.min = 0;
    info.max = s.max;
    info.value = s.value;
    info.attributes = ThemeTrackAttributes(kThemeTrackShowThumb | (s.horizontal ? kThemeTrackHorizontal : 0));
    info.enableState = Enable(o, s);
    info.trackInfo.scrollbar.viewsize = s.view;
    info.trackInfo.scrollbar.pressState = press;
    return info;
}

void DrawBar(TXNObject o, const BarState& s, ThemeTrackPressState press)
{
    Rect bounds = ClampToRect(s.bounds), track{};
    DrawThemeScrollBarArrows(&bounds, Enable(o, s), press, s.horizontal, &track);
    const ThemeTrackDrawInfo info = TrackInfo(o, s, track, press);
    DrawThemeTrack(&info, nullptr, nullptr, 0);
}

void ScrollTo(TXNObject o, bool horizontal, int32_t value)
{
    TextEngine& e = o->engine;
    const BarState s = StateOf(o, horizontal, {});
    value = std::clamp(value, 0, s.max);
    if (horizontal)
        e.Scroll(s.value - value, 0);
    else
        e.Scroll(0, s.value - value);
}

}  // namespace

bool VerticalBar(TXNObject o, Rect32* r)
{
    if (!o->vbar) return false;
    *r = {o->frame.top, o->frame.right - kBarWidth, o->frame.bottom - (o->hbar ? kBarWidth - 1 : 0), o->frame.right};
    return true;
}

bool HorizontalBar(TXNObject o, Rect32* r)
{
    if (!o->hbar) return false;
    *r = {o->frame.bottom - kBarWidth, o->frame.left, o->frame.bottom, o->frame.right - (o->vbar ? kBarWidth - 1 : 0)};
    return true;
}

void DrawBars(TXNObject o)
{
    if (!o->engine.port || !o->engine.visible || (!o->vbar && !o->hbar)) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(o->engine.port);
    Rect32 r{};
    if (VerticalBar(o, &r)) DrawBar(o, StateOf(o, false, r), 0);
    if (HorizontalBar(o, &r)) DrawBar(o, StateOf(o, true, r), 0);
    SetPort(saved);
}

bool TrackBars(TXNObject o, int32_t h, int32_t v)
{
    Rect32 r{};
    bool horizontal = false;
    auto inside = [&](const Rect32& b) { return h >= b.left && h < b.right && v >= b.top && v < b.bottom; };
    if (VerticalBar(o, &r) && inside(r)) {
        horizontal = false;
    } else if (HorizontalBar(o, &r) && inside(r)) {
        horizontal = true;
    } else {
        return false;
    }
    if (!o->engine.port) return true;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(o->engine.port);
    BarState s = StateOf(o, horizontal, r);
    if (Enable(o, s) != kThemeTrackActive) {
        SetPort(saved);
        return true;
    }
    Rect first{}, second{}, track{};
    Parts(s, &first, &second, &track);
    Rect thumb{};
    const ThemeTrackDrawInfo info = TrackInfo(o, s, track, 0);
    const bool hasThumb = GetThemeTrackThumbRect(&info, &thumb);
    const Point at{int16_t(v), int16_t(h)};
    const int32_t line = std::max<int32_t>(1, o->engine.Lines().empty() ? 16 : o->engine.Lines().front().height);
    const int32_t page = std::max(line, s.view - line);
    if (hasThumb && PtInRect(at, &thumb)) {
        // The thumb follows the mouse along the track.
        const int32_t trackLength = horizontal ? track.right - track.left : track.bottom - track.top;
        const int32_t thumbLength = horizontal ? thumb.right - thumb.left : thumb.bottom - thumb.top;
        const int32_t start = horizontal ? h : v;
        const int32_t startValue = s.value;
        while (StillDown()) {
            Point p{};
            GetMouse(&p);
            const int32_t moved = (horizontal ? p.h : p.v) - start;
            const int32_t room = std::max(1, trackLength - thumbLength);
            ScrollTo(o, horizontal, startValue + int32_t(int64_t(moved) * s.max / room));
            DrawBar(o, StateOf(o, horizontal, r), kThemeThumbPressed);
        }
    } else {
        int32_t step = 0;
        ThemeTrackPressState press = 0;
        if (PtInRect(at, &first)) {
            step = -line;
            press = kThemeLeftOutsideArrowPressed;
        } else if (PtInRect(at, &second)) {
            step = line;
            press = kThemeRightOutsideArrowPressed;
        } else {
            const bool before = hasThumb && (horizontal ? h < thumb.left : v < thumb.top);
            step = before ? -page : page;
            press = before ? kThemeLeftTrackPressed : kThemeRightTrackPressed;
        }
        // One step at once, then one each time the button is still down.
        do {
            ScrollTo(o, horizontal, StateOf(o, horizontal, r).value + step);
            DrawBar(o, StateOf(o, horizontal, r), press);
        } while (StillDown());
    }
    DrawBar(o, StateOf(o, horizontal, r), 0);
    SetPort(saved);
    return true;
}

}  // namespace platform::txn
