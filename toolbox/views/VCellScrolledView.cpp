#include "toolbox/views/VCellScrolledView.h"

#include <algorithm>
#include <cstdlib>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VCellView.h"

namespace {

constexpr uint32_t kFirstUpdateStamp = 1024;
uint32_t gNextUpdateStamp = kFirstUpdateStamp;

constexpr int32_t kWheelStep = 48;

}  // namespace

uint32_t VCellScrolledView::GetNextAvailableUpdateStamp() { return gNextUpdateStamp--; }

void VCellScrolledView::ResetUpdateStamps() { gNextUpdateStamp = kFirstUpdateStamp; }

VCellScrolledView::VCellScrolledView(VViewScroller* parent, VCellView* cellView)
    : VScrolledView(parent), fCellView(cellView), fUpdateStamp(GetNextAvailableUpdateStamp())
{
}

VCellScrolledView::~VCellScrolledView()
{
    // The children leave first, while this is still a cell scrolled view
    // that can tell the cell view.
    while (!fChildren.empty()) delete fChildren.front();
}

VCellScrolledView::Role VCellScrolledView::GetRole() const
{
    auto* pane = dynamic_cast<VViewSplitter*>(fParent);
    if (!pane) return Role::None;
    if (pane->GetUserFrame(false) == this) return Role::Cell;
    if (pane->GetTopFrame() == this) return Role::ColHeader;
    if (pane->GetLeftFrame() == this) return Role::RowHeader;
    if (pane->GetBottomFrame() == this) return Role::ColFooter;
    return Role::None;
}

// ---- sizes and scrolling

void VCellScrolledView::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    bool cols = false, rows = false;
    if (fCellView && GetRole() == Role::Cell) {
        VCellView& cv = *fCellView;
        const double zoom = cv.GetZoom();
        // A first layout from nothing spreads nothing.
        const int32_t dw = fWidth > 0 ? w - fWidth : 0;
        const int32_t dh = fHeight > 0 ? h - fHeight : 0;
        if (dw != 0 && cv.GetLayoutColCount() > 0) {
            if (cv.GetColBindingLevel() != 0) {
                cv.SkipReset();
                cv.SpreadColsWidth(int32_t(dw / zoom));
                cv.StopToSkipReset();
                cols = true;
            } else if (cv.ScrollsWholeCols()) {
                cols = true;
            }
        }
        if (dh != 0 && cv.GetLayoutRowCount() > 0) {
            if (cv.GetRowBindingLevel() != 0) {
                cv.SkipReset();
                cv.SpreadRowsHeight(int32_t(dh / zoom));
                cv.StopToSkipReset();
                rows = true;
            } else if (cv.ScrollsWholeRows()) {
                rows = true;
            }
        }
    }
    VScrolledView::SetSize(w, h, mode);
    if (cols && !fCellView->IsResetSkipped()) fCellView->DoColsWidthChanged(kRedrawInval);
    if (rows && !fCellView->IsResetSkipped()) fCellView->DoRowsHeightChanged(kRedrawInval);
}

int32_t VCellScrolledView::GetScrollWidth(bool backward)
{
    if (!fCellView || !fCellView->ScrollsWholeCols()) return 20;
    int32_t c = fCellView->FindCol(fVirtualX, true);
    if (backward) c = c == 0 ? fCellView->GetLayoutColCount() : c - 1;
    return c >= 1 ? fCellView->GetColWidth(c, false) : 0;
}

int32_t VCellScrolledView::GetScrollHeight(bool backward)
{
    if (!fCellView || !fCellView->ScrollsWholeRows()) return 20;
    int32_t r = fCellView->FindRow(fVirtualY, true);
    if (backward) r = r == 0 ? fCellView->GetLayoutRowCount() : r - 1;
    return r >= 1 ? fCellView->GetRowHeight(r, false) : 0;
}

int32_t VCellScrolledView::AdjustHAmount(int32_t amount)
{
    return fCellView ? fCellView->AdjustHScrollAmount(this, amount) : amount;
}

int32_t VCellScrolledView::AdjustVAmount(int32_t amount)
{
    return fCellView ? fCellView->AdjustVScrollAmount(this, amount) : amount;
}

void VCellScrolledView::UpdateHScrollParms(int32_t* pos, int32_t* max, int32_t* page)
{
    if (fFirstScrolledCol <= 1 || !fCellView) {
        VScrolledView::UpdateHScrollParms(pos, max, page);
        return;
    }
    // The bar covers only the part from the first scrolled column on.
    const int32_t start = fCellView->GetColLeft(fFirstScrolledCol, true);
    if (fBindWidth) fVirtualWidth = fWidth;
    const int32_t end = fVirtualWidth;
    int32_t x = fBindWidth ? 0 : std::max(start, std::min(fVirtualX, end - 2 - fWidth));
    SetVirtualX(x, false, kRedrawInval);
    x = fVirtualX;
    if (pos) *pos = std::max(0, x - start);
    if (max) *max = std::max(0, end - 2 - start - fWidth);
    if (page) *page = fWidth;
}

void VCellScrolledView::UpdateVScrollParms(int32_t* pos, int32_t* max, int32_t* page)
{
    VScrolledView::UpdateVScrollParms(pos, max, page);
}

void VCellScrolledView::DoMouseWheel(VClic& clic)
{
    // One buffered step: -972 opens it, -971 ends it.
    const int32_t amount = int32_t(clic.GetWheelDelta()) * -kWheelStep;
    DoCommand(this, vcmd::kBeginScrollStep, 0);
    DoCommand(this, clic.IsShiftKey() ? vcmd::kScrollH : vcmd::kScrollV, amount);
    DoCommand(this, vcmd::kEndScrollStep, 0);
}

void VCellScrolledView::DoFastScroll(VPainter* painter, int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0) return;
    ++fUpdateStamp;
    DoScroll(dx, dy);
    // Farther than the view or nothing on screen: the mark stays and the
    // whole view is painted by the caller.
    if (!painter || !GetParentMacHwnd() || !fParent || std::abs(dx) >= fWidth || std::abs(dy) >= fHeight) return;
    VRegion update;
    VView::ScrollPixels(-dx, -dy, update);  // view coordinates
    painter->AddOffset(fVirtualX, fVirtualY);
    const StdLook saved = painter->GetLook();
    painter->SetLook(fLook == -2 ? painter->GetLook() : GetResolvedLook());
    painter->SaveClip(false);
    painter->ClipVRegion(update, true);
    _FastPaint(painter, &update);
    // The children meeting the uncovered strip, at their offsets.
    VRegion inVirtual(update);
    inVirtual.SetPos(update.GetLeft() + fVirtualX, update.GetTop() + fVirtualY);
    const std::vector<VFrame*> children = fChildren;
    for (VFrame* child : children) {
        child->UpdateCoords(true);
        if (!child->IsVisible() || !inVirtual.Overlaps(VRect(child->GetX(), child->GetY(), child->GetWidth(), child->GetHeight())))
            continue;
        painter->AddOffset(child->GetX() - fVirtualX, child->GetY() - fVirtualY);
        child->DoPaintChildren(painter);
        painter->RestoreOffset();
    }
    painter->RestoreClip();
    painter->SetLook(saved);
    painter->EndOffscreen(update, true);
    painter->RestoreOffset();
    SetScrollMark(false);
}

// ---- painting

void VCellScrolledView::DoPaint(VPainter* painter)
{
    ++fUpdateStamp;
    _FastPaint(painter, nullptr);
}

bool VCellScrolledView::CellMeets(VPainter* painter, const VRegion* region, int32_t x, int32_t y, int32_t w,
                                  int32_t h) const
{
    const VRect rect(x, y, w, h);
    return region ? region->Overlaps(rect) : painter->VRectIsInClip(rect);
}

void VCellScrolledView::_FastPaint(VPainter* painter, const VRegion* region)
{
    if (!painter || !fCellView) return;
    const Role role = GetRole();
    if (role == Role::None) return;
    VCellView& cv = *fCellView;
    const bool strip = role == Role::ColHeader || role == Role::ColFooter;
    int32_t r1 = 0, r2 = 0, c1 = 0, c2 = 0;
    if (strip) {
        r1 = r2 = role == Role::ColHeader ? -1 : -2;
    } else {
        r1 = cv.FindRow(fVirtualY, true);
        if (r1 == 0) r1 = 1;
        r2 = cv.FindRow(fVirtualY + fHeight - 1, true);
        if (r2 == 0) r2 = cv.FillsWithEmptyRows() ? cv.GetCellRowCount() : cv.GetLayoutRowCount();
        if (r2 == 0 && cv.FillsWithEmptyRows()) r2 = r1;
    }
    if (role == Role::RowHeader) {
        c1 = c2 = 1;
    } else {
        c1 = cv.FindCol(fVirtualX, true);
        if (c1 == 0) c1 = 1;
        c2 = cv.FindCol(fVirtualX + fWidth - 1, true);
        if (c2 == 0) c2 = cv.GetLayoutColCount();
        if (c2 == 0) c1 = 0;
    }
    // Empty rows fill the pane below the last one.
    const int32_t defaultHeight = cv.GetRowHeight(0, true);
    if (role == Role::Cell && cv.FillsWithEmptyRows() && defaultHeight != 0 && r2 > 0) {
        int32_t paneHeight = fHeight;
        if (VSplittedPane* first = cv.FindPane(1, 1))
            if (VScrolledView* area = first->GetUserFrame(false)) paneHeight = area->GetHeight();
        const int64_t more = (int64_t(paneHeight) - int64_t(r2) * defaultHeight) / defaultHeight + 1;
        if (more > 0) r2 = int32_t(std::min<int64_t>(int64_t(r2) + more, 0x7FFFFFFE));
    }
    VRegion inVirtual;
    if (region) {
        inVirtual.From(*region);
        inVirtual.SetPos(region->GetLeft() + fVirtualX, region->GetTop() + fVirtualY);
    }
    painter->AddOffset(-fVirtualX, -fVirtualY);
    PaintCells(painter, region ? &inVirtual : nullptr, role, c1, c2, r1, r2);
    painter->RestoreOffset();
}

void VCellScrolledView::PaintCells(VPainter* painter, const VRegion* region, Role role, int32_t c1, int32_t c2,
                                   int32_t r1, int32_t r2)
{
    VCellView& cv = *fCellView;
    const bool any = c1 >= 1 && c2 >= c1 && r2 >= r1 && r2 != 0;
    const int32_t layoutCols = cv.GetLayoutColCount();
    const bool fills = cv.LastColumnFills();
    const int32_t viewRight = fVirtualX + fWidth;

    auto height = [&](int32_t row) {
        if (role == Role::ColHeader) return cv.GetColHeaderHeight(true);
        if (role == Role::ColFooter) return cv.GetColFooterHeight(true);
        return cv.GetRowHeight(row, true);
    };
    auto width = [&](int32_t column, int32_t left) {
        if (role == Role::RowHeader) return cv.GetRowHeaderWidth(true);
        int32_t w = cv.GetColWidth(column, true);
        if (fills && column == layoutCols) w = std::max(w, viewRight - left);
        return w;
    };
    auto paintOne = [&](int32_t c, int32_t r, int32_t x, int32_t y, int32_t w, int32_t h) {
        if (w <= 0 || h <= 0 || !CellMeets(painter, region, x, y, w, h)) return;
        switch (role) {
        case Role::Cell: cv.DoPaintCell(painter, region, this, c, r, x, y, w, h); break;
        case Role::ColHeader: cv.DoPaintColHeader(painter, region, this, c, r, x, y, w, h); break;
        case Role::ColFooter: cv.DoPaintColFooter(painter, region, this, c, r, x, y, w, h); break;
        case Role::RowHeader: cv.DoPaintRowHeader(painter, region, this, c, r, x, y, w, h); break;
        case Role::None: break;
        }
    };
    const bool strip = role == Role::ColHeader || role == Role::ColFooter;
    const int32_t top0 = strip ? 0 : cv.GetRowTop(r1, true);
    const int32_t left0 = role == Role::RowHeader ? 0 : cv.GetColLeft(c1, true);

    for (int32_t pass = 1; pass <= cv.GetPaintPassCount(); ++pass) {
        switch (role) {
        case Role::Cell:
            cv.DoPaintCellPrepare(painter, region, this, fVirtualX, fVirtualY, fWidth, fHeight, pass);
            break;
        case Role::ColHeader: cv.DoPaintColHeaderPrepare(painter, region, this); break;
        case Role::ColFooter: cv.DoPaintColFooterPrepare(painter, region, this); break;
        case Role::RowHeader: cv.DoPaintRowHeaderPrepare(painter, region, this); break;
        case Role::None: break;
        }
        if (any && cv.IsCellPass(pass)) {
            if (cv.GetPaintOrder() == 0) {
                int32_t y = top0;
                for (int32_t r = r1; r <= r2; ++r) {
                    const int32_t h = height(r);
                    int32_t x = left0;
                    if (h > 0)
                        for (int32_t c = c1; c <= c2; ++c) {
                            const int32_t w = width(c, x);
                            paintOne(c, r, x, y, w, h);
                            x += w;
                        }
                    y += h;
                }
            } else {
                int32_t x = left0;
                for (int32_t c = c1; c <= c2; ++c) {
                    const int32_t w = width(c, x);
                    int32_t y = top0;
                    if (w > 0)
                        for (int32_t r = r1; r <= r2; ++r) {
                            const int32_t h = height(r);
                            paintOne(c, r, x, y, w, h);
                            y += h;
                        }
                    x += w;
                }
            }
        }
        switch (role) {
        case Role::Cell:
            cv.DoPaintCellRestore(painter, region, this, fVirtualX, fVirtualY, fWidth, fHeight, pass);
            break;
        case Role::ColHeader: cv.DoPaintColHeaderRestore(painter, region, this); break;
        case Role::ColFooter: cv.DoPaintColFooterRestore(painter, region, this); break;
        case Role::RowHeader: cv.DoPaintRowHeaderRestore(painter, region, this); break;
        case Role::None: break;
        }
    }
}

void VCellScrolledView::DoPaintRanges(VPainter* painter, const VCellRangeSet& ranges, const VRegion* region)
{
    if (!painter || !fCellView) return;
    const Role role = GetRole();
    if (role == Role::None) return;
    VCellView& cv = *fCellView;
    // What shows: the columns and rows under the view (strips: their one row
    // or column).
    VCellRange visible;
    cv.GetVisibleRange(this, visible);
    int32_t vc1 = visible.GetLeft(), vc2 = visible.GetRight(), vr1 = visible.GetTop(), vr2 = visible.GetBottom();
    if (role == Role::ColHeader || role == Role::ColFooter) {
        vc1 = cv.FindCol(fVirtualX, true);
        vc2 = cv.FindCol(fVirtualX + fWidth - 1, true);
        if (vc2 == 0) vc2 = cv.GetLayoutColCount();
        vr1 = vr2 = role == Role::ColHeader ? -1 : -2;
    } else if (role == Role::RowHeader) {
        vr1 = cv.FindRow(fVirtualY, true);
        vr2 = cv.FindRow(fVirtualY + fHeight - 1, true);
        if (vr2 == 0) vr2 = cv.GetLayoutRowCount();
        vc1 = vc2 = 1;
    }
    if (vc1 < 1 || vc2 < vc1 || vr2 < vr1 || vr2 == 0) return;
    painter->AddOffset(-fVirtualX, -fVirtualY);
    for (auto* node = ranges.GetHead(); node; node = node->next) {
        const auto* r = static_cast<const VCellRange*>(node->data);
        int32_t c1 = std::max(r->GetLeft(), vc1), c2 = std::min(r->GetRight(), vc2);
        int32_t r1 = std::max(r->GetTop(), vr1), r2 = std::min(r->GetBottom(), vr2);
        if (role == Role::ColHeader || role == Role::ColFooter) r1 = r2 = vr1;
        if (role == Role::RowHeader) c1 = c2 = 1;
        if (c1 > c2 || r1 > r2) continue;
        // Clipped to the range's rectangle within the view.
        const int32_t left = role == Role::RowHeader ? 0 : cv.GetColLeft(c1, true);
        int32_t right = role == Role::RowHeader ? cv.GetRowHeaderWidth(true) : cv.GetColRight(c2, true);
        if (role != Role::RowHeader && cv.LastColumnFills() && c2 == cv.GetLayoutColCount())
            right = std::max(right, fVirtualX + fWidth);
        int32_t top = 0, bottom = 0;
        if (role == Role::ColHeader) {
            bottom = cv.GetColHeaderHeight(true);
        } else if (role == Role::ColFooter) {
            bottom = cv.GetColFooterHeight(true);
        } else {
            top = cv.GetRowTop(r1, true);
            bottom = cv.GetRowBottom(r2, true);
        }
        VRegion clip(VRect(left, top, std::max(0, right - left), std::max(0, bottom - top)));
        clip.Intersect(VRect(fVirtualX, fVirtualY, fWidth, fHeight));
        if (region) clip.Intersect(VRect(region->GetLeft(), region->GetTop(), region->GetWidth(), region->GetHeight()));
        if (clip.IsEmpty()) continue;
        painter->SaveClip(false);
        painter->ClipVRegion(clip, true);
        PaintCells(painter, nullptr, role, c1, c2, r1, r2);
        painter->RestoreClip();
    }
    painter->RestoreOffset();
}

// ---- mouse, cursor, drag

bool VCellScrolledView::DoMouseChildren(VClic& clic)
{
    if (OfferMouseToChildren(clic)) return true;  // the point is virtual from here on
    // A release goes to the view's own handling; the hooks get presses.
    if (!fCellView || clic.IsUp()) return OwnMouse(clic);
    int32_t x = 0, y = 0;
    clic.GetPos(x, y);
    const Role role = GetRole();
    const int32_t column = role == Role::RowHeader ? 1 : fCellView->FindCol(x, true);
    const int32_t row = role == Role::ColHeader ? -1 : role == Role::ColFooter ? -2 : fCellView->FindRow(y, true);
    switch (role) {
    case Role::Cell: fCellView->DoClicInCell(this, column, row, clic); break;
    case Role::ColHeader: fCellView->DoClicInColHeader(this, column, row, clic); break;
    case Role::RowHeader: fCellView->DoClicInRowHeader(this, column, row, clic); break;
    case Role::ColFooter: fCellView->DoClicInColFooter(this, column, row, clic); break;
    case Role::None: break;
    }
    return true;
}

void VCellScrolledView::DoDrag(VClic& clic)
{
    if (!fCellView) return;
    // In virtual coordinates, as the clicks reach the hooks.
    VClic at(clic);
    at.SetPosByOffset(fVirtualX, fVirtualY);
    switch (GetRole()) {
    case Role::Cell: fCellView->DoDragInCell(this, at); break;
    case Role::ColHeader: fCellView->DoDragInColHeader(this, at); break;
    case Role::ColFooter: fCellView->DoDragInColFooter(this, at); break;
    case Role::RowHeader: fCellView->DoDragInRowHeader(this, at); break;
    case Role::None: break;
    }
}

uint32_t VCellScrolledView::FindCursor(const VPoint& p) const
{
    if (!fCellView) return 0;
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    const VPoint inView(x + fVirtualX, y + fVirtualY);
    auto* self = const_cast<VCellScrolledView*>(this);
    switch (GetRole()) {
    case Role::Cell: return fCellView->DoFindCursorInCell(self, inView);
    case Role::ColHeader: return fCellView->DoFindCursorInColHeader(self, inView);
    case Role::ColFooter: return fCellView->DoFindCursorInColFooter(self, inView);
    case Role::RowHeader: return fCellView->DoFindCursorInRowHeader(self, inView);
    case Role::None: break;
    }
    return 0;
}

// ---- children, cloning

void VCellScrolledView::RemoveChild(VFrame* frame)
{
    VScrolledView::RemoveChild(frame);
    if (fCellView) fCellView->ForgetCellFrame(frame);
}

VFrame* VCellScrolledView::Clone(VView* parent, VPainter* painter)
{
    auto* scroller = dynamic_cast<VViewScroller*>(parent);
    auto* view = new VCellScrolledView(scroller, fCellView);
    view->Copy(parent, this, painter);
    return view;
}

void VCellScrolledView::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    VFrame::Copy(parent, source, painter);
    auto* from = dynamic_cast<VCellScrolledView*>(source);
    if (!from) return;
    fFirstScrolledCol = from->fFirstScrolledCol;
    CopyScrollState(*from);
    if (!fCellView) return;
    // Each frame of the source joins, as a clone, the cell that shows it.
    const std::vector<VFrame*> children = from->fChildren;
    for (VFrame* child : children) {
        int32_t column = 0, row = 0;
        for (int32_t c = 1; c <= fCellView->GetCellColCount() && row == 0; ++c) {
            VCellColumn* col = fCellView->FindVCol(c);
            if (!col) continue;
            if (int32_t r = col->GetFrameRow(child)) {
                column = c;
                row = r;
            } else if (col->GetHeaderVCell() && col->GetHeaderVCell()->ShowsFrame(child)) {
                column = c;
                row = -1;
            } else if (col->GetFooterVCell() && col->GetFooterVCell()->ShowsFrame(child)) {
                column = c;
                row = -2;
            }
        }
        VFrame* clone = child->Clone(this, painter);
        if (!clone) continue;
        if (row > 0) {
            fCellView->SetPaneCellFrame(this, column, row, clone, false);
        } else if (VCell* cell = fCellView->GetVCell(column, row)) {
            // A header or footer frame of a copied strip joins its cell.
            cell->AddFrame(clone);
        }
    }
}
