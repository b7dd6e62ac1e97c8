// Moving the bars between the panes of a browser window, and the main
// list taking over the rows of a cross-reference pane.
#include <algorithm>
#include <climits>

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

}  // namespace

void TRefPlane::DragHSplit(Point where, const Rect& bar)
{
    const Rect port = PortBounds();
    TPlan* up = UpPlane();
    TPlan* down = DownPlane();
    // A side without a neighbour pane stops at the window's edge.
    const int32_t lo = up ? up->fRect.left + 30 : port.left;
    const int32_t hi = !down ? port.right : (down == this ? port.right - 30 : down->fRect.left - 30);
    const int32_t dx = DragBar(this, where, bar, true, lo, hi);
    if (dx == kCancelled || dx == 0) return;
    const int16_t pct = Percent(dx, port.right - port.left);
    if (up && up != this && up->fLayout.right == fLayout.left) up->fLayout.right = int16_t(up->fLayout.right + pct);
    fLayout.left = int16_t(fLayout.left + pct);
    Relayout(this);
}

void TRefPlane::DragVSplit(Point where, const Rect& bar)
{
    const Rect port = PortBounds();
    TPlan* up = UpPlane();
    TPlan* down = DownPlane();
    if (up && down && up->fRect.top == down->fRect.top) {
        // The bar runs across the whole window.
        const Rect whole{bar.top, port.left, bar.bottom, port.right};
        const int32_t dy = DragBar(this, where, whole, false, port.top + 35, port.bottom - 70);
        if (dy == kCancelled || dy == 0) return;
        const int16_t pct = Percent(dy, port.bottom - port.top);
        for (::TPlan* p = fWindow->fFirstPlane; p; p = p->fNext) {
            auto* pane = dynamic_cast<TPlan*>(p);
            if (!pane) continue;
            if (pane->IsMember(6)) pane->fLayout.bottom = int16_t(pane->fLayout.bottom + pct);
            else pane->fLayout.top = int16_t(pane->fLayout.top + pct);
            pane->Resize();
        }
        Relayout(this);
        return;
    }
    const int32_t lo = up ? up->fRect.top + 70 : port.top;
    const int32_t hi = !down ? port.bottom : (down == this ? port.bottom - 70 : down->fRect.top - 70);
    const int32_t dy = DragBar(this, where, bar, false, lo, hi);
    if (dy == kCancelled || dy == 0) return;
    const int16_t pct = Percent(dy, port.bottom - port.top);
    if (up && up != this && up->fLayout.bottom == fLayout.top) up->fLayout.bottom = int16_t(up->fLayout.bottom + pct);
    fLayout.top = int16_t(fLayout.top + pct);
    Relayout(this);
}

void TDisplayPlane::DragHSplit(Point where, const Rect& bar)
{
    const Rect port = PortBounds();
    const int32_t dx = DragBar(this, where, bar, true, port.left + 30, fRect.right - 30);
    if (dx == kCancelled || dx == 0) return;
    const int16_t pct = Percent(dx, port.right - port.left);
    for (::TPlan* p = fWindow->fFirstPlane; p; p = p->fNext)
        if (auto* pane = dynamic_cast<TPlan*>(p); pane && pane != this && pane->fLayout.right == fLayout.left)
            pane->fLayout.right = int16_t(pane->fLayout.right + pct);
    fLayout.left = int16_t(fLayout.left + pct);
    Relayout(this);
}

void TDisplayPlane::DragVSplit(Point where, const Rect& bar)
{
    const Rect port = PortBounds();
    const int32_t dy = DragBar(this, where, bar, false, port.top + 70, fRect.bottom - 35);
    if (dy == kCancelled || dy == 0) return;
    const int16_t pct = Percent(dy, port.bottom - port.top);
    for (::TPlan* p = fWindow->fFirstPlane; p; p = p->fNext)
        if (auto* pane = dynamic_cast<TPlan*>(p); pane && pane != this && pane->fLayout.bottom == fLayout.top)
            pane->fLayout.bottom = int16_t(pane->fLayout.bottom + pct);
    fLayout.top = int16_t(fLayout.top + pct);
    Relayout(this);
}

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
    fCurrent = -1;
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
}

}  // namespace browser
