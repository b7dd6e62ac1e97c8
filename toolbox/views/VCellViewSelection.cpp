// Cell view: the selection (a set of cell ranges), the current cell and
// scrolling a cell into view. Changes repaint only the cells whose state
// changed when the view asks for it, and header cells only for whole
// columns or rows.
#include <algorithm>

#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VCellScrolledView.h"
#include "toolbox/views/VCellView.h"

namespace {

using Open = VCellRange;

void CopySet(const VCellRangeSet& from, VCellRangeSet& to)
{
    for (auto* node = from.GetHead(); node; node = node->next) static_cast<VCellRange*>(node->data)->AddTo(to);
}

// a minus b, added to out.
void AddDifference(const VCellRangeSet& a, const VCellRangeSet& b, VCellRangeSet& out)
{
    VCellRangeSet rest;
    CopySet(a, rest);
    for (auto* node = b.GetHead(); node && !rest.IsEmpty(); node = node->next)
        static_cast<VCellRange*>(node->data)->RemoveFrom(rest);
    CopySet(rest, out);
}

VCellRange Intersection(const VCellRange& a, const VCellRange& b)
{
    const VCellRange r(std::max(a.GetLeft(), b.GetLeft()), std::max(a.GetTop(), b.GetTop()),
                       std::min(a.GetRight(), b.GetRight()), std::min(a.GetBottom(), b.GetBottom()));
    return r.IsEmpty() ? VCellRange() : r;
}

}  // namespace

bool VCellView::IsRangeSelected(const VCellRange& range) const
{
    if (range.IsEmpty()) return false;
    VCellRangeSet rest;
    range.AddTo(rest);
    for (auto* node = fSelection.GetHead(); node; node = node->next) {
        static_cast<VCellRange*>(node->data)->RemoveFrom(rest);
        if (rest.IsEmpty()) return true;
    }
    return false;
}

bool VCellView::IsCellSelected(int32_t column, int32_t row) const
{
    for (auto* node = fSelection.GetHead(); node; node = node->next)
        if (static_cast<VCellRange*>(node->data)->ContainsCell(column, row)) return true;
    return false;
}

bool VCellView::IsColSelected(int32_t column) const
{
    return IsRangeSelected(VCellRange(column, 1, column, Open::kOpenEnd));
}

bool VCellView::IsRowSelected(int32_t row) const { return IsRangeSelected(VCellRange(1, row, Open::kOpenEnd, row)); }

// Ranges wholly past the grid go; ends past it, unless open, are cut.
void VCellView::ClipSelectionToGrid()
{
    for (int32_t i = fSelection.GetCount(); i >= 1; --i) {
        VCellRange* r = VCellRange::NthOf(fSelection, i);
        int32_t right = r->GetRight(), bottom = r->GetBottom();
        if (right != Open::kOpenEnd) right = std::min(right, fColCount);
        if (bottom != Open::kOpenEnd) bottom = std::min(bottom, fRowCount);
        r->SetFrom(r->GetLeft(), r->GetTop(), right, bottom);
        if (r->GetLeft() > fColCount || r->GetTop() > fRowCount || r->IsEmpty())
            fSelection.DeleteNth(i, kListDeleteData);
    }
}

void VCellView::_GetHeaderDirtyRanges(const VCellRange& range, CellSelectionAction action, VCellRangeSet& colHeaders,
                                      VCellRangeSet& rowHeaders) const
{
    // Only ranges open to the last row (column) can change a header.
    auto wholeCols = [](const VCellRange& r) { return r.GetBottom() == Open::kOpenEnd; };
    auto wholeRows = [](const VCellRange& r) { return r.GetRight() == Open::kOpenEnd; };
    VCellRangeSet newCols, newRows;
    if (wholeCols(range)) range.AddTo(newCols);
    if (wholeRows(range)) range.AddTo(newRows);
    VCellRangeSet cols, rows;
    if (action == 0) {
        // Selected before or after, not both.
        VCellRangeSet oldCols, oldRows;
        for (auto* node = fSelection.GetHead(); node; node = node->next) {
            auto* r = static_cast<VCellRange*>(node->data);
            if (wholeCols(*r)) r->AddTo(oldCols);
            if (wholeRows(*r)) r->AddTo(oldRows);
        }
        AddDifference(oldCols, newCols, cols);
        AddDifference(newCols, oldCols, cols);
        AddDifference(oldRows, newRows, rows);
        AddDifference(newRows, oldRows, rows);
    } else {
        CopySet(newCols, cols);
        CopySet(newRows, rows);
    }
    // One header range per column (row).
    for (auto* node = cols.GetHead(); node; node = node->next) {
        auto* r = static_cast<VCellRange*>(node->data);
        const int32_t last = std::min(r->GetRight(), fLayoutCols);
        for (int32_t c = r->GetLeft(); c <= last; ++c) VCellRange(c, 1, c, Open::kOpenEnd).AddTo(colHeaders);
    }
    for (auto* node = rows.GetHead(); node; node = node->next) {
        auto* r = static_cast<VCellRange*>(node->data);
        const int32_t last = std::min(r->GetBottom(), fLayoutRows);
        for (int32_t w = r->GetTop(); w <= last; ++w) VCellRange(1, w, Open::kOpenEnd, w).AddTo(rowHeaders);
    }
}

void VCellView::SelectCellRange(const VCellRange& range, CellSelectionAction action, int32_t column, int32_t row,
                                bool redraw)
{
    const VCellRange copy(range);  // the range may belong to the selection
    VCellRangeSet colHeaders, rowHeaders;
    const bool headers = redraw && fHiliteHeaders && (fColHeaders || fRowHeaders);
    if (headers) _GetHeaderDirtyRanges(copy, action, colHeaders, rowHeaders);
    const bool changedOnly = redraw && fRepaintChangedOnly;
    const int32_t oldCol = fCurCol, oldRow = fCurRow;
    VCellRangeSet changed;

    if (action == 1) {
        if (changedOnly) {
            VCellRangeSet added;
            copy.AddTo(added);
            AddDifference(added, fSelection, changed);
        }
        copy.AddTo(fSelection);
        _MakeCurrentCell(column, row);
    } else if (action == 0) {
        if (!changedOnly || fSelection.IsEmpty()) {
            fSelection.Destroy(kListDeleteData);
            copy.AddTo(fSelection);
            _MakeCurrentCell(column, row);
            if (changedOnly) copy.AddTo(changed);
        } else {
            VCellRangeSet now;
            copy.AddTo(now);
            AddDifference(fSelection, now, changed);
            AddDifference(now, fSelection, changed);
            fSelection.Destroy(kListDeleteData);
            copy.AddTo(fSelection);
            _MakeCurrentCell(column, row);
        }
    } else if (action == 2) {
        if (changedOnly)
            for (auto* node = fSelection.GetHead(); node; node = node->next)
                Intersection(*static_cast<VCellRange*>(node->data), copy).AddTo(changed);
        copy.RemoveFrom(fSelection);
        if (fSelection.GetCount() > 1) {
            VCellRangeSet pieces;
            pieces.StealList(fSelection);
            for (auto* node = pieces.GetHead(); node; node = node->next)
                static_cast<VCellRange*>(node->data)->AddTo(fSelection);
        }
        ClipSelectionToGrid();
    }
    if (changedOnly) HiliteChanges(changed, oldCol, oldRow);
    if (headers) {
        if (fColHeaders && !colHeaders.IsEmpty()) DoPaintRanges(colHeaders, false, true, false, false, 0);
        if (fRowHeaders && !rowHeaders.IsEmpty()) DoPaintRanges(rowHeaders, false, false, true, false, 0);
    }
}

void VCellView::SelectCellRanges(const VCellRangeSet& ranges, CellSelectionAction action, int32_t column, int32_t row,
                                 bool redraw)
{
    VCellRangeSet before;
    if (redraw) CopySet(fSelection, before);
    const int32_t oldCol = fCurCol, oldRow = fCurRow;
    if (action == 0) fSelection.Destroy(kListDeleteData);
    for (auto* node = ranges.GetHead(); node; node = node->next) {
        const VCellRange r(*static_cast<VCellRange*>(node->data));
        if (action == 2)
            r.RemoveFrom(fSelection);
        else
            r.AddTo(fSelection);
    }
    if (action == 2) ClipSelectionToGrid();
    _MakeCurrentCell(column, row);
    if (!redraw) return;
    VCellRangeSet changed;
    AddDifference(before, fSelection, changed);
    AddDifference(fSelection, before, changed);
    HiliteChanges(changed, oldCol, oldRow);
}

// The current cells count only when their mark is shown and they differ.
void VCellView::HiliteChanges(const VCellRangeSet& changed, int32_t oldCol, int32_t oldRow)
{
    const bool moved = fHiliteCurrentCell && (oldCol != fCurCol || oldRow != fCurRow);
    if (changed.IsEmpty() && !moved) return;
    if (moved)
        _HiliteCellRanges(changed, oldCol, oldRow, fCurCol, fCurRow);
    else
        _HiliteCellRanges(changed, 0, 0, 0, 0);
}

void VCellView::DoChangeCurrentCell(int32_t column, int32_t row)
{
    fCurCol = column;
    fCurRow = row;
}

// -1, -1: the view chooses: the current cell while it is set and
// selected, else the top-left cell of the range nearest the origin.
void VCellView::_MakeCurrentCell(int32_t column, int32_t row)
{
    if (column == -1 && row == -1) {
        if (fCurCol > 0 && fCurRow > 0 && IsCellSelected(fCurCol, fCurRow)) {
            column = fCurCol;
            row = fCurRow;
        } else {
            column = row = 0;
            int64_t best = INT64_MAX;
            for (auto* node = fSelection.GetHead(); node; node = node->next) {
                auto* r = static_cast<VCellRange*>(node->data);
                const int64_t key = int64_t(r->GetLeft()) + r->GetTop();
                if (key < best) {
                    best = key;
                    column = r->GetLeft();
                    row = r->GetTop();
                }
            }
        }
    }
    if (column != fCurCol || row != fCurRow) DoChangeCurrentCell(column, row);
}

void VCellView::_SetCurrentCell(int32_t column, int32_t row, RedrawMode mode)
{
    const int32_t oldCol = fCurCol, oldRow = fCurRow;
    _MakeCurrentCell(column, row);
    // The mark is drawn only where a full paint would draw it too.
    if (mode != kRedrawNone && fHiliteCurrentCell && fRepaintChangedOnly && fHiliteKind != 0 &&
        (oldCol != fCurCol || oldRow != fCurRow)) {
        VCellRangeSet none;
        _HiliteCellRanges(none, oldCol, oldRow, fCurCol, fCurRow);
    }
}

void VCellView::SetCurrentCell(int32_t column, int32_t row, bool show, RedrawMode mode)
{
    if (column != fCurCol || row != fCurRow) {
        if (fCurCol > 0 && fCurRow > 0) CheckDeleteVCell(fCurCol, fCurRow);
        if (column < 1 || row < 1)
            // No cell: only the current cell goes, the selection stays.
            _SetCurrentCell(0, 0, mode);
        else if (!IsCellSelected(column, row))
            SelectCellRange(VCellRange(column, row, column, row), 0, column, row, mode != kRedrawNone);
        else
            _SetCurrentCell(column, row, mode);
    }
    if (show) ShowCurrentCell(0, true, mode);
}

void VCellView::ShowCurrentCell(int16_t kind, bool force, RedrawMode mode)
{
    if (fCurCol < 1 || fCurRow < 1) return;
    VSplittedPane* pane = GetActivePane();
    if (!pane) pane = FindPane(1, 1);
    auto* view = pane ? dynamic_cast<VCellScrolledView*>(pane->GetUserFrame(false)) : nullptr;
    if (!view) return;
    const int32_t left = GetColLeft(fCurCol, true), width = GetColWidth(fCurCol, true);
    const int32_t top = GetRowTop(fCurRow, true), height = GetRowHeight(fCurRow, true);
    const int32_t vx = view->GetVirtualX(), vy = view->GetVirtualY();
    const int32_t vw = view->GetWidth(), vh = view->GetHeight();
    const bool visible = left >= vx && left + width <= vx + vw && top >= vy && top + height <= vy + vh;
    if (visible && !force) return;
    int32_t x = vx, y = vy;
    auto least = [](int32_t start, int32_t size, int32_t pos, int32_t extent) {
        if (start < pos) return start;
        // Beyond the far edge: to that edge, never past the cell's start.
        if (start + size > pos + extent) return std::min(start, start + size - extent);
        return pos;
    };
    switch (kind) {
    case 0:
        x = least(left, width, vx, vw);
        y = least(top, height, vy, vh);
        break;
    case 1:
        x = left;
        y = top;
        break;
    default:
        x = left - (vw - width) / 2;
        y = top - (vh - height) / 2;
        break;
    }
    if (x == vx && y == vy) return;
    Scroll(x - vx, y - vy, pane->GetColumn(), pane->GetRow(), mode, true);
}

void VCellView::GetVisibleRange(VCellScrolledView* view, VCellRange& range) const
{
    range.SetFrom(0, 0, 0, 0);
    if (!view || fLayoutCols <= 0) return;
    const int32_t x = view->GetVirtualX(), y = view->GetVirtualY();
    int32_t c1 = FindCol(x, true), c2 = FindCol(x + view->GetWidth() - 1, true);
    int32_t r1 = FindRow(y, true), r2 = FindRow(y + view->GetHeight() - 1, true);
    if (c1 == 0) return;
    if (c2 == 0) c2 = fLayoutCols;
    if (r1 == 0) {
        if (!fFillWithEmptyRows || fRowDefaultHeight == 0) return;
        r1 = fLayoutRows + 1 + (y - GetRowBottom(fLayoutRows, true)) / Scale(fRowDefaultHeight);
    }
    if (r2 == 0) {
        if (fFillWithEmptyRows && Scale(fRowDefaultHeight) > 0)
            r2 = std::max(r1, fLayoutRows + 1 + (y + view->GetHeight() - 1 - GetRowBottom(fLayoutRows, true)) /
                                                  Scale(fRowDefaultHeight));
        else
            r2 = fLayoutRows;
    }
    range.SetFrom(c1, r1, c2, r2);
}

void VCellView::GetCellVisibleRect(VCellScrolledView* view, int32_t column, int32_t row, VRect& rect,
                                   bool scaled) const
{
    rect = VRect(0, 0, 0, 0);
    if (!fHiliteCurrentCell || !view) return;
    VCellRange visible;
    GetVisibleRange(view, visible);
    if (!visible.ContainsCell(column, row)) return;
    rect = VRect(GetColLeft(column, scaled), GetRowTop(row, scaled), GetColWidth(column, scaled),
                 GetRowHeight(row, scaled));
}

void VCellView::GetCellRangesVisibleRegion(VCellScrolledView* view, const VCellRangeSet& ranges,
                                           VRegion& region) const
{
    region.SetEmpty();
    VCellRange visible;
    GetVisibleRange(view, visible);
    if (visible.IsEmpty()) return;
    for (auto* node = ranges.GetHead(); node; node = node->next) {
        const VCellRange r = Intersection(*static_cast<VCellRange*>(node->data), visible);
        if (r.IsEmpty()) continue;
        const int32_t left = GetColLeft(r.GetLeft(), true);
        int32_t right = GetColRight(r.GetRight(), true);
        if (fLastColFills && r.GetRight() == fLayoutCols)
            right = std::max(right, view->GetVirtualX() + view->GetWidth());
        const int32_t top = GetRowTop(r.GetTop(), true);
        const int32_t bottom = GetRowBottom(r.GetBottom(), true);
        if (right > left && bottom > top) region.Add(VRect(left, top, right - left, bottom - top));
    }
}
