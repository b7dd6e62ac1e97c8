#include "toolbox/views/VCell.h"

#include <algorithm>

#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/views/VView.h"

namespace {

void DisposeFrame(VFrame* frame)
{
    frame->DoDispose();
    delete frame;
}

// Drops the frame from the cell; a cell left without frames goes.
bool ForgetIn(VCell*& cell, const VFrame* frame)
{
    if (!cell || !cell->ForgetFrame(frame)) return false;
    if (cell->CountFrames() == 0) {
        delete cell;
        cell = nullptr;
    }
    return true;
}

}  // namespace

VFrame* VCell::GetFrame(const VView* pane) const
{
    for (VFrame* f : fFrames)
        if (f->GetParent() == pane) return f;
    return nullptr;
}

bool VCell::ShowsFrame(const VFrame* frame) const
{
    return std::find(fFrames.begin(), fFrames.end(), frame) != fFrames.end();
}

bool VCell::ForgetFrame(const VFrame* frame)
{
    auto it = std::find(fFrames.begin(), fFrames.end(), frame);
    if (it == fFrames.end()) return false;
    fFrames.erase(it);
    return true;
}

void VCell::DisposeWithFrames(VCellView& view, int32_t column, int32_t row)
{
    DoDetach(view, column, row);
    DoDispose(view, column, row);
    std::vector<VFrame*> frames;
    frames.swap(fFrames);
    for (VFrame* f : frames) DisposeFrame(f);
}

VCellColumn::~VCellColumn()
{
    if (fCells) fCells->Destroy(kListDeleteData);
    delete fCells;
    delete fHeader;
    delete fFooter;
}

VCell* VCellColumn::GetRowVCell(int32_t row) const
{
    return fCells ? static_cast<VCell*>(fCells->GetNth(row)) : nullptr;
}

void VCellColumn::SetRowVCell(VCell* cell, int32_t row, int32_t maxIndex)
{
    if (row < 1) return;
    if (!fCells) {
        if (!cell) return;
        fCells = new VIndexedList(std::max(maxIndex, row));
        if (!fCells) return;
    } else if (fCells->GetMaxIndex() < maxIndex) {
        fCells->SetMaxIndex(maxIndex);
    }
    VCell* old = GetRowVCell(row);
    if (old == cell) return;
    fCells->SetNth(cell, row);
    // Only replace when the cell was stored: a refused store keeps the old.
    if (fCells->GetNth(row) == cell) delete old;
}

void VCellColumn::InsertRows(int32_t at, int32_t count)
{
    if (fCells && at >= 1 && count >= 1) fCells->Insert(at, count);
}

void VCellColumn::DelRows(VCellView& view, int32_t column, int32_t first, int32_t count)
{
    if (first < 1 || count < 1 || !fCells) return;
    const int64_t end = int64_t(first) + count;
    std::vector<std::pair<int32_t, VCell*>> going;
    VIndexedIterator it(fCells);
    while (VObject* o = it.Next()) {
        if (it.GetPos() >= end) break;
        if (it.GetPos() >= first) going.push_back({it.GetPos(), static_cast<VCell*>(o)});
    }
    for (auto& [row, cell] : going) cell->DisposeWithFrames(view, column, row);
    fCells->Remove(first, int32_t(std::min<int64_t>(count, int64_t(0x7FFFFFFF) - first + 1)), kListDeleteData);
}

int32_t VCellColumn::GetFrameRow(const VFrame* frame) const
{
    if (!fCells) return 0;
    VIndexedIterator it(fCells);
    while (VObject* o = it.Next())
        if (static_cast<VCell*>(o)->ShowsFrame(frame)) return it.GetPos();
    return 0;
}

void VCellColumn::SetHeaderVCell(VCell* cell)
{
    if (cell == fHeader) return;
    delete fHeader;
    fHeader = cell;
}

void VCellColumn::SetFooterVCell(VCell* cell)
{
    if (cell == fFooter) return;
    delete fFooter;
    fFooter = cell;
}

void VCellColumn::DropEmptyCellList()
{
    if (fCells && fCells->IsEmpty()) {
        delete fCells;
        fCells = nullptr;
    }
}

bool VCellColumn::CanBeDeleted()
{
    DropEmptyCellList();
    return !fCells && !fHeader && !fFooter && fWidth == -1 && fMinWidth == -1 && fMaxWidth == -1 && fVisible;
}

void VCellColumn::CheckDeleteVCell(int32_t row)
{
    VCell* cell = GetRowVCell(row);
    if (!cell || !cell->CanBeDeleted()) return;
    fCells->SetNth(nullptr, row);
    delete cell;
    DropEmptyCellList();
}

bool VCellColumn::ForgetCellFrame(const VFrame* frame)
{
    if (ForgetIn(fHeader, frame) || ForgetIn(fFooter, frame)) return true;
    const int32_t row = GetFrameRow(frame);
    if (row == 0) return false;
    VCell* cell = GetRowVCell(row);
    cell->ForgetFrame(frame);
    if (cell->CountFrames() == 0) {
        fCells->SetNth(nullptr, row);
        delete cell;
    }
    return true;
}

void VCellColumn::ForgetCellFrames()
{
    if (fHeader) fHeader->ForgetFrames();
    if (fFooter) fFooter->ForgetFrames();
    if (!fCells) return;
    VIndexedIterator it(fCells);
    while (VObject* o = it.Next()) static_cast<VCell*>(o)->ForgetFrames();
}

void VCellColumn::DoDispose(VCellView& view, int32_t column)
{
    if (fCells) {
        VIndexedIterator it(fCells);
        while (VObject* o = it.Next()) static_cast<VCell*>(o)->DisposeWithFrames(view, column, it.GetPos());
        fCells->Destroy(kListDeleteData);
        delete fCells;
        fCells = nullptr;
    }
    if (fFooter) fFooter->DisposeWithFrames(view, column, -2);
    if (fHeader) fHeader->DisposeWithFrames(view, column, -1);
    delete fFooter;
    delete fHeader;
    fFooter = fHeader = nullptr;
}

VCellRow::~VCellRow() { delete fHeader; }

bool VCellRow::CanBeDeleted() const
{
    return !fHeader && fHeight == -1 && fMinHeight == -1 && fMaxHeight == -1 && fVisible == 1;
}

bool VCellRow::ForgetCellFrame(const VFrame* frame) { return ForgetIn(fHeader, frame); }

void VCellRow::ForgetCellFrames()
{
    if (fHeader) fHeader->ForgetFrames();
}

void VCellRow::SetHeaderVCell(VCell* cell)
{
    if (cell == fHeader) return;
    delete fHeader;
    fHeader = cell;
}

void VCellRow::DoDispose(VCellView& view, int32_t row)
{
    if (!fHeader) return;
    fHeader->DisposeWithFrames(view, -1, row);
    delete fHeader;
    fHeader = nullptr;
}
