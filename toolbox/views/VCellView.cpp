// Cell view: construction and disposal, the column and row counts,
// insertion and deletion, headers and footers, cell frames, and the
// routing of clicks and cursors to the per-cell hooks.
#include "toolbox/views/VCellView.h"

#include <algorithm>

#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/views/VCellScrolledView.h"

namespace {

constexpr int32_t kMaxIndex = 0x7FFFFFFE;
constexpr int32_t kMinPaneSize = 16;
constexpr uint32_t kColResizeCursor = 9008;
constexpr uint32_t kRowResizeCursor = 9009;

VCellScrolledView* AsCellView(VFrame* f, const VCellView* owner)
{
    auto* v = dynamic_cast<VCellScrolledView*>(f);
    return v && v->GetCellView() == owner ? v : nullptr;
}

}  // namespace

VCellView::VCellView(VView* parent, bool vScrollBar, bool hScrollBar, bool vSplitter, bool hSplitter,
                     int32_t columns, int32_t rows, bool colHeaders, bool rowHeaders, bool colFooters)
    : VPaneSplitter(parent)
{
    SetMinPaneSize(kMinPaneSize);
    fColumns = new VIndexedList(kMaxIndex);
    fRows = new VIndexedList(kMaxIndex);
    auto* pane = new VSplittedPane(this, false, false, false, false);
    auto* view = new VCellScrolledView(pane, this);
    pane->SetUserFrame(view, false);
    SetUserFrame(pane, false);
    pane->ShowVScrollBar(vScrollBar, false);
    pane->ShowHScrollBar(hScrollBar, false);
    pane->ShowVSplitter(vSplitter, false);
    pane->ShowHSplitter(hSplitter, false);
    InsertCols(1, columns, false);
    InsertRows(1, rows, false);
    if (colHeaders) ShowColHeaders(true, false);
    if (rowHeaders) ShowRowHeaders(true, false);
    if (colFooters) ShowColFooters(true);
    SetFastScrolling(true);
}

VCellView::~VCellView()
{
    // The panes go here, while this is still a cell view: their frames
    // tell it as they leave.
    DoDispose();
    delete fColumns;
    delete fRows;
    fColumns = fRows = nullptr;
}

void VCellView::DoDispose()
{
    if (fColumns) {
        VIndexedIterator it(fColumns);
        while (VObject* o = it.Next()) {
            auto* c = static_cast<VCellColumn*>(o);
            c->ForgetCellFrames();
            c->DoDispose(*this, it.GetPos());
        }
        fColumns->Destroy(kListDeleteData);
    }
    if (fRows) {
        VIndexedIterator it(fRows);
        while (VObject* o = it.Next()) {
            auto* r = static_cast<VCellRow*>(o);
            r->ForgetCellFrames();
            r->DoDispose(*this, it.GetPos());
        }
        fRows->Destroy(kListDeleteData);
    }
    fSelection.Destroy(kListDeleteData);
    VPaneSplitter::DoDispose();
}

void VCellView::ForEachCellView(const std::function<void(VCellScrolledView*)>& f) const
{
    for (int32_t r = 1; r <= GetRowCount(); ++r) {
        for (int32_t c = 1; c <= GetColumnCount(); ++c) {
            VSplittedPane* pane = FindPane(c, r);
            if (!pane) continue;
            if (auto* v = AsCellView(pane->GetUserFrame(false), this)) f(v);
            if (auto* v = AsCellView(pane->GetTopFrame(), this)) f(v);
            if (auto* v = AsCellView(pane->GetLeftFrame(), this)) f(v);
            if (auto* v = AsCellView(pane->GetBottomFrame(), this)) f(v);
        }
    }
}

// ---- counts, insertion, deletion

void VCellView::SetCellColCount(int32_t count, bool disposeFrames)
{
    if (count < 0) return;
    if (count < fColCount)
        DelCols(count + 1, fColCount - count, disposeFrames, true);
    else if (count > fColCount)
        InsertCols(fColCount + 1, count - fColCount, true);
}

void VCellView::SetCellRowCount(int32_t count, bool disposeFrames)
{
    if (count < 0) return;
    if (count < fRowCount)
        DelRows(count + 1, fRowCount - count, disposeFrames, true);
    else if (count > fRowCount)
        InsertRows(fRowCount + 1, count - fRowCount, true);
}

// Ranges from `at` on move by count; a range that starts before and ends
// at or after `at` grows by count, so the cells it held stay selected.
void VCellView::ShiftSelectionForInsert(bool columns, int32_t at, int32_t count)
{
    auto move = [&](int32_t v) { return v == VCellRange::kOpenEnd ? v : int32_t(std::min<int64_t>(int64_t(v) + count, kMaxIndex)); };
    for (auto* node = fSelection.GetHead(); node; node = node->next) {
        auto* r = static_cast<VCellRange*>(node->data);
        int32_t lo = columns ? r->GetLeft() : r->GetTop();
        int32_t hi = columns ? r->GetRight() : r->GetBottom();
        if (lo >= at) {
            lo = move(lo);
            hi = move(hi);
        } else if (hi >= at) {
            hi = move(hi);
        }
        if (columns)
            r->SetFrom(lo, r->GetTop(), hi, r->GetBottom());
        else
            r->SetFrom(r->GetLeft(), lo, r->GetRight(), hi);
    }
}

void VCellView::InsertCols(int32_t at, int32_t count, bool shiftSelection)
{
    if (count <= 0 || at <= 0) return;
    at = std::min(at, fColCount + 1);
    count = std::min(count, kMaxIndex - fColCount);
    if (count <= 0) return;
    if (at <= fColCount) fColumns->Insert(at, count);
    if (shiftSelection) {
        ShiftSelectionForInsert(true, at, count);
        if (fCurCol >= at) fCurCol += count;
    }
    if (NeedsColHeaderFrames() || NeedsColFooterFrames()) {
        for (int32_t i = 0; i < count; ++i) {
            ++fColCount;
            if (!fLayoutFrozen) fLayoutCols = fColCount;
            for (int32_t r = 1; r <= GetRowCount(); ++r)
                for (int32_t c = 1; c <= GetColumnCount(); ++c) {
                    VSplittedPane* pane = FindPane(c, r);
                    if (!pane) continue;
                    if (auto* v = AsCellView(pane->GetTopFrame(), this)) DoCreateColHeaderFrames(v);
                    if (auto* v = AsCellView(pane->GetBottomFrame(), this)) DoCreateColFooterFrames(v);
                }
        }
    } else {
        fColCount += count;
    }
    if (!fLayoutFrozen) fLayoutCols = fColCount;
    DoColsWidthChanged(kRedrawInval);
}

void VCellView::InsertRows(int32_t at, int32_t count, bool shiftSelection)
{
    if (count <= 0 || at <= 0) return;
    at = std::min(at, fRowCount + 1);
    count = std::min(count, kMaxIndex - fRowCount);
    if (count <= 0) return;
    if (at <= fRowCount) {
        fRows->Insert(at, count);
        VIndexedIterator it(fColumns);
        while (VObject* o = it.Next()) static_cast<VCellColumn*>(o)->InsertRows(at, count);
    }
    if (shiftSelection) {
        ShiftSelectionForInsert(false, at, count);
        if (fCurRow >= at) fCurRow += count;
    }
    if (NeedsRowHeaderFrames()) {
        for (int32_t i = 0; i < count; ++i) {
            ++fRowCount;
            if (!fLayoutFrozen) fLayoutRows = fRowCount;
            for (int32_t r = 1; r <= GetRowCount(); ++r)
                for (int32_t c = 1; c <= GetColumnCount(); ++c)
                    if (VSplittedPane* pane = FindPane(c, r))
                        if (auto* v = AsCellView(pane->GetLeftFrame(), this)) DoCreateRowHeaderFrames(v);
        }
    } else {
        fRowCount += count;
    }
    if (!fLayoutFrozen) fLayoutRows = fRowCount;
    DoRowsHeightChanged(kRedrawInval);
}

// After a deletion every range follows the cells that stay; empty ones go
// and the rest are added back one by one so neighbours merge again.
void VCellView::ReaddSelection(bool columns, int32_t first, int32_t count)
{
    VCellRangeSet old;
    old.StealList(fSelection);
    for (auto* node = old.GetHead(); node; node = node->next) {
        auto* r = static_cast<VCellRange*>(node->data);
        if (columns)
            r->DelCols(first, count);
        else
            r->DelRows(first, count);
        if (!r->IsEmpty()) r->AddTo(fSelection);
    }
}

void VCellView::DelCols(int32_t first, int32_t count, bool disposeFrames, bool shiftSelection)
{
    // A first or count below 1 names no columns.
    if (first < 1 || count < 1 || first > fColCount) return;
    count = std::min(count, fColCount - first + 1);
    const int32_t end = first + count;
    if (shiftSelection) {
        if (fCurCol >= end)
            fCurCol -= count;
        else if (fCurCol >= first)
            SetCurrentCell(0, 0, false, kRedrawNow);
    }
    std::vector<std::pair<int32_t, VCellColumn*>> going;
    VIndexedIterator it(fColumns);
    while (VObject* o = it.Next()) {
        if (it.GetPos() >= end) break;
        if (it.GetPos() >= first) going.push_back({it.GetPos(), static_cast<VCellColumn*>(o)});
    }
    for (auto& [index, column] : going) {
        if (!disposeFrames) column->ForgetCellFrames();
        column->DoDispose(*this, index);
    }
    fColumns->Remove(first, count, kListDeleteData);
    fColCount -= count;
    if (shiftSelection) ReaddSelection(true, first, count);
    if (!fLayoutFrozen) fLayoutCols = fColCount;
    DoColsWidthChanged(kRedrawInval);
}

void VCellView::DelRows(int32_t first, int32_t count, bool disposeFrames, bool shiftSelection)
{
    if (first < 1 || count < 1 || first > fRowCount) return;
    count = std::min(count, fRowCount - first + 1);
    const int32_t end = first + count;
    if (shiftSelection) {
        if (fCurRow >= end)
            fCurRow -= count;
        else if (fCurRow >= first)
            SetCurrentCell(0, 0, false, kRedrawNow);
    }
    // The cells of the rows go with their frames in every case.
    VIndexedIterator ci(fColumns);
    std::vector<std::pair<int32_t, VCellColumn*>> columns;
    while (VObject* o = ci.Next()) columns.push_back({ci.GetPos(), static_cast<VCellColumn*>(o)});
    for (auto& [index, column] : columns) {
        column->DelRows(*this, index, first, count);
        if (column->CanBeDeleted()) fColumns->DeleteNth(index, kListDeleteData);
    }
    std::vector<std::pair<int32_t, VCellRow*>> going;
    VIndexedIterator it(fRows);
    while (VObject* o = it.Next()) {
        if (it.GetPos() >= end) break;
        if (it.GetPos() >= first) going.push_back({it.GetPos(), static_cast<VCellRow*>(o)});
    }
    for (auto& [index, row] : going) {
        if (!disposeFrames) row->ForgetCellFrames();
        row->DoDispose(*this, index);
    }
    fRows->Remove(first, count, kListDeleteData);
    fRowCount -= count;
    if (shiftSelection) ReaddSelection(false, first, count);
    if (!fLayoutFrozen) fLayoutRows = fRowCount;
    DoRowsHeightChanged(kRedrawInval);
}

// ---- headers and footers

void VCellView::ShowColHeaders(bool show, bool force)
{
    if (show == fColHeaders && !force) return;
    const int32_t height = Scale(fColHeaderHeight);
    for (int32_t c = 1; c <= GetColumnCount(); ++c) {
        VSplittedPane* pane = FindPane(c, 1);
        if (!pane) continue;
        if (!pane->GetTopFrame()) {
            auto* strip = new VCellScrolledView(pane, this);
            strip->SetSize(pane->GetWidth(), height, kRedrawNone);
            pane->SetTopFrame(strip, false);
            DoCreateColHeaderFrames(strip);
        } else if (force) {
            pane->GetTopFrame()->SetSize(pane->GetTopFrame()->GetWidth(), height, kRedrawNone);
        }
        pane->ShowTopFrame(show, true);
    }
    fColHeaders = show;
    if (fSkipReset == 0) DoColsWidthChanged(kRedrawInval);
}

void VCellView::ShowRowHeaders(bool show, bool force)
{
    if (show == fRowHeaders && !force) return;
    const int32_t width = Scale(fRowHeaderWidth);
    for (int32_t r = 1; r <= GetRowCount(); ++r) {
        VSplittedPane* pane = FindPane(1, r);
        if (!pane) continue;
        if (!pane->GetLeftFrame()) {
            auto* strip = new VCellScrolledView(pane, this);
            strip->SetSize(width, pane->GetHeight(), kRedrawNone);
            pane->SetLeftFrame(strip, false);
            DoCreateRowHeaderFrames(strip);
        } else if (force) {
            pane->GetLeftFrame()->SetSize(width, pane->GetLeftFrame()->GetHeight(), kRedrawNone);
        }
        pane->ShowLeftFrame(show, true);
    }
    fRowHeaders = show;
    if (fSkipReset == 0) DoRowsHeightChanged(kRedrawInval);
}

void VCellView::ShowColFooters(bool show)
{
    // Footers are as high as the zoom makes them, like every row painted.
    const int32_t height = Scale(fColFooterHeight);
    const int16_t last = GetRowCount();
    for (int32_t c = 1; c <= GetColumnCount(); ++c) {
        VSplittedPane* pane = FindPane(c, last);
        if (!pane) continue;
        if (!pane->GetBottomFrame()) {
            auto* strip = new VCellScrolledView(pane, this);
            strip->SetSize(pane->GetWidth(), height, kRedrawNone);
            pane->SetBottomFrame(strip, false);
            DoCreateColFooterFrames(strip);
        } else {
            pane->GetBottomFrame()->SetSize(pane->GetBottomFrame()->GetWidth(), height, kRedrawNone);
        }
        pane->ShowBottomFrame(show, true);
    }
    fColFooters = show;
    if (fSkipReset == 0) DoColsWidthChanged(kRedrawInval);
}

bool VCellView::IsColHeadersVisible() const
{
    VSplittedPane* pane = FindPane(1, 1);
    return pane && pane->IsTopFrameVisible();
}

bool VCellView::IsRowHeadersVisible() const
{
    VSplittedPane* pane = FindPane(1, 1);
    return pane && pane->IsLeftFrameVisible();
}

void VCellView::SetColHeaderHeight(int32_t height)
{
    fColHeaderHeight = int16_t(std::clamp(height, 0, 32000));
    for (int32_t c = 1; c <= GetColumnCount(); ++c) {
        VSplittedPane* pane = FindPane(c, 1);
        if (!pane || !pane->GetTopFrame()) continue;
        pane->GetTopFrame()->SetSize(pane->GetTopFrame()->GetWidth(), Scale(fColHeaderHeight), kRedrawNone);
        pane->ResetSize(kRedrawInval);
    }
}

void VCellView::ColumnNumberToString(VString& text, int32_t n)
{
    uint8_t letters[8] = {};
    int pos = 7;  // the last byte ends the text
    while (n > 0 && pos > 0) {
        letters[--pos] = uint8_t('A' + (n - 1) % 26);
        n = (n - 1) / 26;
    }
    text.FromCString(letters + pos, kCharSetMac);
}

void VCellView::GetSplitLimits(int16_t column, int16_t row, int32_t& minLeft, int32_t& minTop, int32_t& minRight,
                               int32_t& minBottom)
{
    VPaneSplitter::GetSplitLimits(column, row, minLeft, minTop, minRight, minBottom);
    if (column == 1 && fRowHeaders) minLeft += Scale(fRowHeaderWidth);
    if (row == 1 && fColHeaders) minTop += Scale(fColHeaderHeight);
}

// ---- cell frames

VCell* VCellView::GetVCell(int32_t column, int32_t row) const
{
    if (column == -1) {
        VCellRow* r = FindVRow(row);
        return r ? r->GetHeaderVCell() : nullptr;
    }
    VCellColumn* c = FindVCol(column);
    if (!c) return nullptr;
    if (row == -1) return c->GetHeaderVCell();
    if (row == -2) return c->GetFooterVCell();
    return c->GetRowVCell(row);
}

void VCellView::SetCellFrame(int32_t column, int32_t row, VFrame* frame, bool activePaneOnly, bool deleteOld)
{
    if (activePaneOnly) {
        VSplittedPane* pane = GetActivePane();
        if (!pane) pane = FindPane(1, 1);
        if (pane)
            if (auto* v = AsCellView(pane->GetUserFrame(false), this)) SetPaneCellFrame(v, column, row, frame, deleteOld);
        return;
    }
    std::vector<VCellScrolledView*> views;
    for (int32_t r = 1; r <= GetRowCount(); ++r)
        for (int32_t c = 1; c <= GetColumnCount(); ++c)
            if (VSplittedPane* pane = FindPane(c, r))
                if (auto* v = AsCellView(pane->GetUserFrame(false), this)) views.push_back(v);
    VComputingPainter* computing = views.size() > 1 && frame ? new VComputingPainter : nullptr;
    VFrame* previous = nullptr;
    for (VCellScrolledView* v : views) {
        VFrame* f = frame;
        if (frame && previous) f = previous->Clone(v, computing);
        SetPaneCellFrame(v, column, row, f, deleteOld);
        previous = f;
    }
    delete computing;
}

void VCellView::SetPaneCellFrame(VCellScrolledView* view, int32_t column, int32_t row, VFrame* frame, bool deleteOld)
{
    if (!view || column < 1 || row < 1 || column > fColCount) return;
    if (frame) ForgetCellFrame(frame);
    VCellColumn* col = FindVCol(column);
    if (!col) {
        if (!frame) return;
        col = new VCellColumn(-1);
        if (!fColumns->AdoptNth(col, column)) return;
    }
    VCell* cell = col->GetRowVCell(row);
    if (!cell) {
        if (!frame) return;
        cell = DoCreateVCell();
        col->SetRowVCell(cell, row, fRows->GetMaxIndex());
        if (col->GetRowVCell(row) != cell) {
            delete cell;
            return;
        }
        cell->DoAttach(*this, column, row);
    }
    VFrame* old = cell->GetFrame(view);
    if (old == frame) return;
    if (frame) {
        // Into the view first: leaving another view makes this one forget
        // the frame, which must not yet find it in the cell.
        frame->SetParent(view);
        cell->AddFrame(frame);
        frame->SetPos(GetColLeft(column, true), GetRowTop(row, true), kRedrawNone);
        frame->SetSize(GetColWidth(column, true), GetRowHeight(row, true), kRedrawInval);
    }
    if (old) {
        cell->ForgetFrame(old);
        if (deleteOld) {
            old->DoDispose();
            delete old;
        } else if (old->GetParent() == view) {
            old->SetVisible(false);
            view->RemoveChild(old);
            old->SetParentDirect(nullptr);
        }
    }
    if (!frame) CheckDeleteVCell(column, row);
}

void VCellView::ForgetCellFrame(const VFrame* frame)
{
    if (!frame) return;
    if (fRows) {
        VIndexedIterator it(fRows);
        while (VObject* o = it.Next()) {
            auto* r = static_cast<VCellRow*>(o);
            if (!r->ForgetCellFrame(frame)) continue;
            if (r->CanBeDeleted()) fRows->DeleteNth(it.GetPos(), kListDeleteData);
            return;
        }
    }
    if (fColumns) {
        VIndexedIterator it(fColumns);
        while (VObject* o = it.Next()) {
            auto* c = static_cast<VCellColumn*>(o);
            if (!c->ForgetCellFrame(frame)) continue;
            if (c->CanBeDeleted()) fColumns->DeleteNth(it.GetPos(), kListDeleteData);
            return;
        }
    }
}

void VCellView::CheckDeleteVCell(int32_t column, int32_t row)
{
    VCellColumn* c = FindVCol(column);
    if (!c) return;
    c->CheckDeleteVCell(row);
    if (c->CanBeDeleted()) fColumns->DeleteNth(column, kListDeleteData);
}

// ---- mouse and cursors

bool VCellView::DoMouseChildren(VClic& clic)
{
    for (size_t i = fChildren.size(); i-- > 0;) {
        if (i >= fChildren.size()) continue;
        VFrame* child = fChildren[i];
        if (!child->IsClickable() || !child->IsVisible() || !child->HitTest(clic)) continue;
        auto* pane = dynamic_cast<VSplittedPane*>(child);
        clic.SetPosByOffset(-child->GetX(), -child->GetY());
        if (!pane) {
            if (child->DoMouseChildren(clic)) return true;
            clic.SetPosByOffset(child->GetX(), child->GetY());
            continue;
        }
        for (int32_t k = pane->CountChildren(); k >= 1; --k) {
            VFrame* f = pane->GetNthChild(k);
            if (!f || !f->IsClickable() || !f->IsVisible() || !f->HitTest(clic)) continue;
            clic.SetPosByOffset(-f->GetX(), -f->GetY());
            bool taken = false;
            if (VCellScrolledView* v = AsCellView(f, this)) {
                if (!clic.IsUp() && v->GetRole() == VCellScrolledView::Role::Cell && !IsActivePane(pane))
                    SetActivePane(pane);
                VClic inView(clic);
                inView.SetPosByOffset(v->GetVirtualX(), v->GetVirtualY());
                switch (v->GetRole()) {
                case VCellScrolledView::Role::Cell: taken = CatchClicInCell(v, inView); break;
                case VCellScrolledView::Role::ColHeader: taken = CatchClicInColHeader(v, inView); break;
                case VCellScrolledView::Role::ColFooter: taken = CatchClicInColFooter(v, inView); break;
                case VCellScrolledView::Role::RowHeader: taken = CatchClicInRowHeader(v, inView); break;
                case VCellScrolledView::Role::None: break;
                }
            }
            if (taken || f->DoMouseChildren(clic)) return true;
            clic.SetPosByOffset(f->GetX(), f->GetY());
        }
        clic.SetPosByOffset(child->GetX(), child->GetY());
    }
    return OwnMouse(clic);
}

// Within 4 pixels right of a column's left border (not the first) or 3
// pixels left of its right border, when columns can be resized; not the
// right border of a last column that fills the pane or is bound.
uint32_t VCellView::DoFindCursorInColHeader(VCellScrolledView*, const VPoint& p)
{
    if (!fColsResizable) return 0;
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    const int32_t c = FindCol(x, true);
    if (c == 0) return 0;
    if (c > 1 && x - GetColLeft(c, true) < 4) return kColResizeCursor;
    if (GetColRight(c, true) - x <= 3) {
        if (c == fLayoutCols && (fLastColFills || fColBinding != 0)) return 0;
        return kColResizeCursor;
    }
    return 0;
}

uint32_t VCellView::DoFindCursorInRowHeader(VCellScrolledView*, const VPoint& p)
{
    if (!fRowsResizable) return 0;
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    const int32_t r = FindRow(y, true);
    if (r == 0) return 0;
    if (r > 1 && y - GetRowTop(r, true) < 4) return kRowResizeCursor;
    if (GetRowBottom(r, true) - y <= 3) {
        if (r == fLayoutRows && fRowBinding != 0) return 0;
        return kRowResizeCursor;
    }
    return 0;
}
