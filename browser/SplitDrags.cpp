// Moving the bars between the panes of a browser window, and the main
// list taking over the rows of a cross-reference pane.
#include <algorithm>
#include <climits>
#include <vector>

#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/ObjQz.h"
#include "platform/drag/Drag.h"
#include "platform/events/Events.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int32_t kCancelled = INT32_MIN;

// Drags `bar`'s outline along one axis, keeping the bar's leading edge in
// [lo, hi]; the pixel distance moved, or kCancelled for a drop outside the
// port. An empty range (its neighbours leave the bar no room) keeps the
// bar where it is: no drag at all.
int32_t DragBar(TPlan* pane, Point where, const Rect& bar, bool horizontal, int32_t lo, int32_t hi)
{
    if (!pane->fWindow || !pane->fWindow->fWindow || hi < lo) return kCancelled;
    SetPortWindowPort(pane->fWindow->fWindow);
    const Rect port = pane->PortBounds();
    ClipRect(&port);
    RgnHandle outline = NewRgn();
    if (!outline) return kCancelled;
    RectRgn(outline, &bar);
    // The mouse is pinned so that the bar's edge stays within the limits.
    const int32_t grip = horizontal ? where.h - bar.left : where.v - bar.top;
    Rect limit = port;
    if (horizontal) {
        limit.left = int16_t(lo + grip);
        limit.right = int16_t(hi + grip + 1);
    } else {
        limit.top = int16_t(lo + grip);
        limit.bottom = int16_t(hi + grip + 1);
    }
    const int32_t moved = DragGrayRgn(outline, where, &limit, &port, horizontal ? hAxisOnly : vAxisOnly, nullptr);
    DisposeRgn(outline);
    if (moved == kDragGrayRgnOutside) return kCancelled;
    return horizontal ? int16_t(moved & 0xFFFF) : int16_t(uint32_t(moved) >> 16);
}

int16_t Percent(int32_t delta, int32_t size) { return size > 0 ? int16_t(delta * 100 / size) : 0; }

// The smallest a pane may be made by a bar: 30 pixels wide, and as high as
// the preview's head and a line (35), or a list's bar, head and frame (27)
// and three rows: a list's scroll bar shows only when taller than 48
// pixels, and a list at its least size must still scroll.
constexpr int32_t kListLeastHeight = 3 + 21 + 3 + 3 * 16;
int32_t LeastSize(bool preview, bool across) { return across ? 30 : preview ? 35 : kListLeastHeight; }

// One side of a pane's edges, as a vertical bar (`across`: the left and
// right edges, spanning top to bottom) or a horizontal one sees them.
struct Side {
    bool across;
    int16_t& Lead(Rect& r) const { return across ? r.left : r.top; }
    int16_t& Trail(Rect& r) const { return across ? r.right : r.bottom; }
    int16_t SpanFrom(const Rect& r) const { return across ? r.top : r.left; }
    int16_t SpanTo(const Rect& r) const { return across ? r.bottom : r.right; }
};

// The panes a bar moves: every pane that ends on the bar's line (before)
// or starts on it (after), gathered along the line from the dragged pane
// for as long as their edges continue it.
struct SplitLine {
    std::vector<TPlan*> before, after;
    Rect bar{0, 0, 0, 0};  // the line's outline, in pixels
};

SplitLine LineOf(TPlan* pane, const Side& side)
{
    SplitLine line;
    std::vector<TPlan*> panes;
    for (::TPlan* p = pane->fWindow->fFirstPlane; p; p = p->fNext)
        if (auto* own = dynamic_cast<TPlan*>(p)) panes.push_back(own);
    const int16_t edge = side.Lead(pane->fLayout);
    int16_t from = side.SpanFrom(pane->fLayout), to = side.SpanTo(pane->fLayout);
    std::vector<bool> taken(panes.size(), false);
    for (bool grew = true; grew;) {
        grew = false;
        for (size_t i = 0; i < panes.size(); ++i) {
            Rect& l = panes[i]->fLayout;
            if (taken[i] || (side.Lead(l) != edge && side.Trail(l) != edge)) continue;
            if (side.SpanTo(l) < from || side.SpanFrom(l) > to) continue;
            taken[i] = grew = true;
            from = std::min(from, side.SpanFrom(l));
            to = std::max(to, side.SpanTo(l));
            (side.Lead(l) == edge ? line.after : line.before).push_back(panes[i]);
        }
    }
    // The outline runs the line's whole length, as thick as a pane's bar.
    int16_t low = INT16_MAX, high = INT16_MIN;
    for (const auto* group : {&line.before, &line.after})
        for (TPlan* p : *group) {
            low = std::min(low, side.SpanFrom(p->fRect));
            high = std::max(high, side.SpanTo(p->fRect));
        }
    Rect& bar = line.bar;
    side.Lead(bar) = side.Lead(pane->fRect);
    side.Trail(bar) = int16_t(side.Lead(pane->fRect) + 3);
    if (side.across) {
        bar.top = low;
        bar.bottom = high;
    } else {
        bar.left = low;
        bar.right = high;
    }
    return line;
}

// Lays the panes out again and draws the window afresh: erased as a whole
// first, so that no pixel of the old layout stays where the panes no
// longer reach (or where they now overlap).
void Relayout(TPlan* pane)
{
    TWindow* window = pane->fWindow;
    if (!window || !window->fWindow) return;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext) p->Resize();
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window->fWindow);
    RgnHandle clip = NewRgn();
    if (clip) GetClip(clip);
    Rect whole{};
    GetPortBounds(GetWindowPort(window->fWindow), &whole);
    ClipRect(&whole);
    EraseRect(&whole);
    if (clip) {
        SetClip(clip);
        DisposeRgn(clip);
    }
    EventRecord e{};
    window->update(e);
    SetPort(saved);
}

// Drags the bar on the pane's left (`across`) or top edge. The bar moves
// every pane edge on its line, no farther than leaves each of those panes
// its least size; the distance becomes a percentage of the window.
void DragSplit(TPlan* pane, Point where, bool across)
{
    if (!pane->fWindow || !pane->fWindow->fWindow) return;
    const Side side{across};
    const SplitLine line = LineOf(pane, side);
    // With no pane before it, the bar keeps a list's least size from the
    // window's edge.
    Rect port = pane->PortBounds();
    int32_t lo = line.before.empty() ? side.Lead(port) + LeastSize(false, across) : INT32_MIN, hi = INT32_MAX;
    for (TPlan* p : line.before) lo = std::max(lo, side.Lead(p->fRect) + LeastSize(p->IsMember(6), across));
    for (TPlan* p : line.after) hi = std::min(hi, side.Trail(p->fRect) - LeastSize(p->IsMember(6), across));
    const int32_t moved = DragBar(pane, where, line.bar, across, lo, hi);
    if (moved == kCancelled || moved == 0) return;
    const int16_t pct = Percent(moved, across ? port.right - port.left : port.bottom - port.top);
    if (pct == 0) return;
    for (TPlan* p : line.before) side.Trail(p->fLayout) = int16_t(side.Trail(p->fLayout) + pct);
    for (TPlan* p : line.after) side.Lead(p->fLayout) = int16_t(side.Lead(p->fLayout) + pct);
    Relayout(pane);
}

}  // namespace

void TPlan::DragHSplit(Point where, const Rect&) { DragSplit(this, where, true); }

void TPlan::DragVSplit(Point where, const Rect&) { DragSplit(this, where, false); }

void TLstPlane::CopyList(Handle other)
{
    auto* source = reinterpret_cast<LongListHandle>(other);
    if (!source || !fList) return;
    TObjQz* keep = nullptr;
    int32_t selected = -1;
    selected = 0;
    if (LongLGetSelect(true, &selected, source) && !LongLMultSel(source))
        keep = static_cast<TObjQz*>(LongLRowObject(selected, source));
    const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    LongLDoDraw(false, fList);
    // Each list's user handle names its own pane: it stays with the list.
    Handle sourceUser = source->userHandle, ownUser = fList->userHandle;
    source->userHandle = nullptr;
    const int16_t copied = LongLCopyList(source, fList);
    source->userHandle = sourceUser;
    fList->userHandle = ownUser;
    if (copied != 0) {
        LongLDoDraw(drawing, fList);
        return;
    }
    SetDfltFilter(kNarrowedFilter);
    for (int32_t row = 0; row < fList->rowCount; ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, fList));
        if (obj && IsOpenCell(row, fList)) SwitchList(obj, row);
    }
    MajGroupList(fList);
    LongLDoDraw(drawing, fList);
    if (keep) SelectObj(keep);
    InitDraw();
    EraseRect(&fList->rView);
    RestoreDraw();
    ShowNewRows();
    FollowSelection();
}

}  // namespace browser
