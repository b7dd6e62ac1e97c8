// Cell view: the default painting of cells, headers and footers, the
// highlight of the selection and of the current cell, and repaints of
// chosen ranges in the panes.
#include <algorithm>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VCellScrolledView.h"
#include "toolbox/views/VCellView.h"

namespace {

constexpr PaintMethod kHeaderCell = 44;
constexpr PaintMethod kFooterCell = 4;
constexpr PaintStatus kSelectedStatus = -100;

}  // namespace

void VCellView::DoPaintCellPrepare(VPainter* painter, const VRegion*, VCellScrolledView*, int32_t, int32_t, int32_t,
                                   int32_t, int16_t)
{
    painter->SetEraseStdColor(0);
    painter->SetLineStdPattern(3);
    painter->SetLineStdColor(10);
    painter->SetLineWidth(1.0);
}

void VCellView::DoPaintCell(VPainter* painter, const VRegion*, VCellScrolledView*, int32_t, int32_t, int32_t left,
                            int32_t top, int32_t width, int32_t height)
{
    painter->EraseVRect(left, top, width, height);
    painter->DrawVCornerRel(left + width - 1, top, 0, height - 1, -(width - 1), 0);
}

void VCellView::DoPaintCellRestore(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t,
                                   int32_t, int32_t, int32_t, int16_t pass)
{
    painter->SetLineStdPattern(6);
    if (pass != fPaintPasses || fHiliteKind == 2 || fSelection.IsEmpty() || !fRepaintChangedOnly) return;
    VRegion selected;
    GetCellRangesVisibleRegion(view, fSelection, selected);
    // The painter's clip keeps the inversion inside what this paint covers.
    (void)region;
    if (!selected.IsEmpty()) DoHiliteSelection(view, fSelection, painter, selected);
    VSplittedPane* pane = dynamic_cast<VSplittedPane*>(view->GetParent());
    if (fHiliteCurrentCell && pane && IsActivePane(pane) && fCurCol > 0 && fCurRow > 0) {
        VRect rect;
        GetCellVisibleRect(view, fCurCol, fCurRow, rect, true);
        if (!rect.IsEmpty()) DoHiliteCurrentCell(painter, fCurCol, fCurRow, rect);
    }
}

void VCellView::DoPaintColHeader(VPainter* painter, const VRegion*, VCellScrolledView* view, int32_t column, int32_t,
                                 int32_t left, int32_t top, int32_t width, int32_t height)
{
    VStr<16> text;
    ColumnNumberToString(text, column);
    const PaintStatus status = fHiliteHeaders && IsColSelected(column) ? kSelectedStatus : 0;
    const VRect rect(left, top, width, height);
    view->StandardPaint(painter, kHeaderCell, status, &rect, &text);
}

void VCellView::DoPaintRowHeader(VPainter* painter, const VRegion*, VCellScrolledView* view, int32_t, int32_t row,
                                 int32_t left, int32_t top, int32_t width, int32_t height)
{
    VStr<16> text;
    text.FromLong(row);
    const PaintStatus status = fHiliteHeaders && IsRowSelected(row) ? kSelectedStatus : 0;
    const VRect rect(left, top, width, height);
    view->StandardPaint(painter, kHeaderCell, status, &rect, &text);
}

void VCellView::DoPaintColFooter(VPainter* painter, const VRegion*, VCellScrolledView* view, int32_t, int32_t,
                                 int32_t left, int32_t top, int32_t width, int32_t height)
{
    const VRect rect(left, top, width, height);
    view->StandardPaint(painter, kFooterCell, 0, &rect);
}

void VCellView::DoHiliteSelection(VCellScrolledView* view, const VCellRangeSet& ranges, VPainter* painter,
                                  const VRegion& region)
{
    if (fHiliteKind == 1)
        painter->HiliteVRegion(region);
    else if (fHiliteKind == 2 && view) {
        // The painter stands at the virtual origin; the view wants its top left.
        painter->AddOffset(view->GetVirtualX(), view->GetVirtualY());
        view->DoPaintRanges(painter, ranges, &region);
        painter->RestoreOffset();
    }
}

void VCellView::DoHiliteCurrentCell(VPainter* painter, int32_t, int32_t, const VRect& rect)
{
    const int32_t width = fHiliteKind == 2 ? 1 : 2;
    VRegion border(rect);
    VRect inner(rect);
    inner.Inset(width, width);
    if (inner.GetWidth() > 0 && inner.GetHeight() > 0) border.Substract(inner);
    painter->HiliteVRegion(border);
}

void VCellView::SetPaintPasses(int16_t count, int16_t firstCellPass, int16_t lastCellPass)
{
    fPaintPasses = std::max<int16_t>(1, count);
    fFirstCellPass = firstCellPass;
    fLastCellPass = lastCellPass;
}

void VCellView::DoPaintRanges(const VCellRangeSet& ranges, bool cells, bool colHeaders, bool rowHeaders,
                              bool colFooters, ESplittedPaneDrawMode mode)
{
    if (ranges.IsEmpty()) return;
    VPainter* painter = GetPainter();
    if (!painter) return;
    painter->SaveClip(false);
    for (int32_t r = 1; r <= GetRowCount(); ++r) {
        for (int32_t c = 1; c <= GetColumnCount(); ++c) {
            VSplittedPane* pane = FindPane(c, r);
            if (!pane) continue;
            const bool active = IsActivePane(pane);
            if ((mode == 1 && !active) || (mode == 2 && active)) continue;
            VFrame* views[4] = {cells ? pane->GetUserFrame(false) : nullptr, colHeaders ? pane->GetTopFrame() : nullptr,
                                rowHeaders ? pane->GetLeftFrame() : nullptr,
                                colFooters ? pane->GetBottomFrame() : nullptr};
            for (VFrame* f : views) {
                auto* v = dynamic_cast<VCellScrolledView*>(f);
                if (!v || v->GetCellView() != this || !v->IsVisible()) continue;
                VRegion visible;
                v->GetVisibleRegion(visible);
                if (visible.IsEmpty()) continue;
                // At the view's window position, clipped to what shows of it.
                painter->AddOffset(v->GetWindowX() - fWindowX, v->GetWindowY() - fWindowY);
                visible.SetPos(visible.GetLeft() - v->GetWindowX(), visible.GetTop() - v->GetWindowY());
                painter->SaveClip(false);
                painter->ClipVRegion(visible, true);
                v->DoPaintRanges(painter, ranges, nullptr);
                painter->RestoreClip();
                painter->RestoreOffset();
            }
        }
    }
    painter->RestoreClip();
    ReleasePainter();
}

void VCellView::_HiliteCellRanges(const VCellRangeSet& ranges, int32_t oldColumn, int32_t oldRow, int32_t newColumn,
                                  int32_t newRow)
{
    if (fHiliteKind == 2) {
        VCellRangeSet all;
        for (auto* node = ranges.GetHead(); node; node = node->next) static_cast<VCellRange*>(node->data)->AddTo(all);
        if (oldColumn > 0 && oldRow > 0) VCellRange(oldColumn, oldRow, oldColumn, oldRow).AddTo(all);
        if (newColumn > 0 && newRow > 0) VCellRange(newColumn, newRow, newColumn, newRow).AddTo(all);
        DoPaintRanges(all, true, false, false, false, 0);
        return;
    }
    if (fHiliteKind != 1) return;
    ForEachCellView([&](VCellScrolledView* view) {
        if (view->GetRole() != VCellScrolledView::Role::Cell || !view->IsVisible()) return;
        VRegion visible;
        view->GetVisibleRegion(visible);
        if (visible.IsEmpty()) return;
        VPainter* painter = view->GetPainter();  // in the view's virtual coordinates
        if (!painter) return;
        painter->SaveClip(false);
        visible.SetPos(visible.GetLeft() - view->GetWindowX() + view->GetVirtualX(),
                       visible.GetTop() - view->GetWindowY() + view->GetVirtualY());
        painter->ClipVRegion(visible, true);
        VRegion region;
        GetCellRangesVisibleRegion(view, ranges, region);
        if (!region.IsEmpty()) DoHiliteSelection(view, ranges, painter, region);
        auto* pane = dynamic_cast<VSplittedPane*>(view->GetParent());
        if (fHiliteCurrentCell && pane && IsActivePane(pane)) {
            VRect rect;
            if (oldColumn > 0 && oldRow > 0) {
                GetCellVisibleRect(view, oldColumn, oldRow, rect, true);
                if (!rect.IsEmpty()) DoHiliteCurrentCell(painter, oldColumn, oldRow, rect);
            }
            if (newColumn > 0 && newRow > 0) {
                GetCellVisibleRect(view, newColumn, newRow, rect, true);
                if (!rect.IsEmpty()) DoHiliteCurrentCell(painter, newColumn, newRow, rect);
            }
        }
        painter->RestoreClip();
        view->ReleasePainter();
    });
}
