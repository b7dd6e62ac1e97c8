// Following a click in a list: its scroll bars, the selection by the
// selection flags and the modifiers, scrolling while the mouse is dragged
// past the view, and double clicks.
#include <algorithm>
#include <new>

#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/lists/ListRecord.h"

namespace platform {
namespace {

// The cell under a point, pinned to the data; false when there are none.
bool CellAt(const ListRecord& l, Point p, Cell* c)
{
    if (l.rows == 0 || l.cols == 0 || l.cellSize.v <= 0 || l.cellSize.h <= 0) return false;
    int32_t row = l.topRow + (p.v >= l.view.top ? (p.v - l.view.top) / l.cellSize.v : -1);
    int32_t col = l.leftCol + (p.h >= l.view.left ? (p.h - l.view.left) / l.cellSize.h : -1);
    row = std::clamp<int32_t>(row, 0, l.rows - 1);
    col = std::clamp<int32_t>(col, 0, l.cols - 1);
    *c = Cell{int16_t(row), int16_t(col)};
    return true;
}

void Select(ListRecord& l, Cell c, bool on) { LSetSelect(on, c, &l); }

void SelectOnly(ListRecord& l, Cell keep)
{
    for (int16_t r = 0; r < l.rows; ++r)
        for (int16_t c = 0; c < l.cols; ++c)
            if (r != keep.v || c != keep.h) Select(l, Cell{r, c}, false);
    Select(l, keep, true);
}

// The cells between two corners, selected (or not) and everything in
// `base` kept as it was outside them.
void SelectRange(ListRecord& l, Cell a, Cell b, const std::vector<uint8_t>& base, bool on, bool rectangle)
{
    const int16_t top = std::min(a.v, b.v), bottom = std::max(a.v, b.v);
    const int16_t left = std::min(a.h, b.h), right = std::max(a.h, b.h);
    for (int16_t r = 0; r < l.rows; ++r)
        for (int16_t c = 0; c < l.cols; ++c) {
            bool inside = r >= top && r <= bottom && c >= left && c <= right;
            if (!rectangle) inside = (r == a.v && c == a.h) || (r == b.v && c == b.h);
            const size_t i = size_t(r) * size_t(l.cols) + size_t(c);
            const bool want = inside ? on : base[i] != 0;
            if (bool(l.selected[i]) != want) Select(l, Cell{r, c}, want);
        }
}

bool TrackScrollBar(ListRecord& l, Point where)
{
    for (ControlRef bar : {l.vScroll, l.hScroll}) {
        if (!bar) continue;
        Rect b;
        GetControlBounds(bar, &b);
        if (!PtInRect(where, &b)) continue;
        const ControlPartCode part = TrackControl(bar, where, kControlUseOwnAction);
        if (part == kControlIndicatorPart) {
            const int16_t value = GetControlValue(bar);
            if (bar == l.vScroll) ScrollListTo(&l, value, l.leftCol);
            else ScrollListTo(&l, l.topRow, value);
        }
        return true;
    }
    return false;
}

}  // namespace

static Boolean Click(Point where, uint16_t modifiers, ListHandle list);

Boolean LClick(Point where, uint16_t modifiers, ListHandle list)
{
    try {
        return Click(where, modifiers, list);
    } catch (const std::bad_alloc&) {
        return false;  // the click is lost, the list stays as it was
    }
}

static Boolean Click(Point where, uint16_t modifiers, ListHandle list)
{
    if (!IsLiveList(list)) return false;
    ListRecord& l = *list;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(l.window);
    struct Restore {
        GrafPtr port;
        ~Restore() { SetPort(port); }
    } restore{saved};

    if (TrackScrollBar(l, where)) return false;
    const uint32_t now = TickCount();
    Cell cell;
    if (!PtInRect(where, &l.view) || !CellAt(l, where, &cell)) {
        if (!(l.selFlags & lNoNilHilite) && PtInRect(where, &l.view))
            for (int16_t r = 0; r < l.rows; ++r)
                for (int16_t c = 0; c < l.cols; ++c) Select(l, Cell{r, c}, false);
        return false;
    }
    // A click below the last row hits nothing.
    const bool onData = (where.v - l.view.top) / std::max<int16_t>(l.cellSize.v, 1) + l.topRow < l.rows &&
                        (where.h - l.view.left) / std::max<int16_t>(l.cellSize.h, 1) + l.leftCol < l.cols;
    if (!onData) {
        if (!(l.selFlags & lNoNilHilite))
            for (int16_t r = 0; r < l.rows; ++r)
                for (int16_t c = 0; c < l.cols; ++c) Select(l, Cell{r, c}, false);
        return false;
    }

    const bool doubleClick = l.lastClick.v == cell.v && l.lastClick.h == cell.h && now - l.lastClickTicks <= GetDblTime();
    const bool onlyOne = l.selFlags & lOnlyOne;
    const bool extend = (modifiers & shiftKey) && !(l.selFlags & lNoExtend) && !onlyOne;
    const bool disjoint = (modifiers & cmdKey) && !(l.selFlags & lNoDisjoint) && !onlyOne;
    const bool rectangle = !(l.selFlags & lNoRect);
    std::vector<uint8_t> base = l.selected;
    Cell anchor = cell;
    bool sense = true;

    if (onlyOne) {
        SelectOnly(l, cell);
    } else if (extend) {
        // From the first selected cell (or the last click) to this one.
        Cell first{0, 0};
        if (LGetSelect(true, &first, &l)) anchor = first;
        else if (l.Valid(l.lastClick)) anchor = l.lastClick;
        if (!(l.selFlags & lExtendDrag) || !rectangle) std::fill(base.begin(), base.end(), 0);
        SelectRange(l, anchor, cell, base, true, rectangle);
    } else if (disjoint) {
        sense = !l.selected[l.Index(cell)];
        Select(l, cell, sense);
    } else {
        std::fill(base.begin(), base.end(), 0);
        SelectOnly(l, cell);
    }

    Cell current = cell;
    while (WaitMouseUp()) {
        if (l.clickLoop && !l.clickLoop()) break;
        if (!IsLiveList(list)) return false;
        Point p;
        GetMouse(&p);
        // Past the view, the list scrolls a row or a column each tick.
        if (p.v >= l.view.bottom) LScroll(0, 1, list);
        else if (p.v < l.view.top) LScroll(0, -1, list);
        if (p.h >= l.view.right) LScroll(1, 0, list);
        else if (p.h < l.view.left) LScroll(-1, 0, list);
        Cell under;
        if (!CellAt(l, p, &under) || (under.v == current.v && under.h == current.h)) continue;
        current = under;
        if (onlyOne) SelectOnly(l, current);
        else if (disjoint && (l.selFlags & lUseSense)) Select(l, current, sense);
        else if (disjoint) SelectRange(l, anchor, current, base, sense, true);
        else SelectRange(l, anchor, current, base, true, rectangle);
    }
    if (!IsLiveList(list)) return false;
    l.lastClick = current;
    l.lastClickTicks = now;
    return doubleClick && current.v == cell.v && current.h == cell.h;
}

}  // namespace platform
