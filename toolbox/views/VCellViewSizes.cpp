// Cell view: column widths and row heights, the lookups from pixels to
// columns and rows, binding and the re-layout of cell frames. Only the
// stored columns and rows are walked; runs of default-sized ones between
// them are counted arithmetically.
#include <algorithm>
#include <cstdlib>

#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/views/VCellScrolledView.h"
#include "toolbox/views/VCellView.h"

namespace {

constexpr int32_t kMaxSize = 32000;

int32_t ClampToInt32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// One axis seen alike for columns and rows: the stored entries, how many
// take space, the default size and how an entry's size is read.
template <class Entry>
struct AxisWalk {
    const VIndexedList* list;
    int32_t layoutCount;
    int32_t defaultSize;  // scaled when asked
    double zoom;
    bool scaled;

    int32_t Size(const Entry* e, int32_t unscaledDefault) const
    {
        if (!e) return defaultSize;
        if (!e->IsVisible()) return 0;
        const int32_t own = SizeOf(e);
        const int32_t s = own == -1 ? unscaledDefault : own;
        return scaled ? int32_t(s * zoom) : s;
    }
    static int32_t SizeOf(const Entry* e);

    // Sum of the sizes of entries 1..index-1, index <= layoutCount + 1.
    int64_t Start(int32_t index, int32_t unscaledDefault) const
    {
        int64_t sum = 0;
        int64_t defaults = index - 1;
        if (list) {
            VIndexedIterator it(list);
            while (VObject* o = it.Next()) {
                if (it.GetPos() >= index) break;
                sum += Size(static_cast<const Entry*>(o), unscaledDefault);
                --defaults;
            }
        }
        return sum + defaults * defaultSize;
    }

    // The entry whose span holds pos; 0 past the last one.
    int32_t Find(int64_t pos, int32_t unscaledDefault) const
    {
        if (pos < 0 || layoutCount <= 0) return 0;
        int64_t start = 0;
        int32_t next = 1;
        auto inRun = [&](int32_t upTo) -> int32_t {  // default entries next..upTo-1
            const int64_t n = int64_t(upTo) - next;
            if (n <= 0) return 0;
            if (defaultSize > 0 && pos < start + n * defaultSize) return next + int32_t((pos - start) / defaultSize);
            start += n * defaultSize;
            return 0;
        };
        if (list) {
            VIndexedIterator it(list);
            while (VObject* o = it.Next()) {
                const int32_t index = it.GetPos();
                if (index > layoutCount) break;
                if (int32_t found = inRun(index)) return found;
                const int32_t size = Size(static_cast<const Entry*>(o), unscaledDefault);
                if (pos < start + size) return index;
                start += size;
                next = index + 1;
            }
        }
        if (next > layoutCount) return 0;
        return inRun(int32_t(int64_t(layoutCount) + 1));
    }
};

template <>
int32_t AxisWalk<VCellColumn>::SizeOf(const VCellColumn* e)
{
    return e->GetWidth();
}
template <>
int32_t AxisWalk<VCellRow>::SizeOf(const VCellRow* e)
{
    return e->GetHeight();
}

}  // namespace

VCellColumn* VCellView::FindVCol(int32_t column) const
{
    return fColumns && column >= 1 ? static_cast<VCellColumn*>(fColumns->GetNth(column)) : nullptr;
}

VCellRow* VCellView::FindVRow(int32_t row) const
{
    return fRows && row >= 1 ? static_cast<VCellRow*>(fRows->GetNth(row)) : nullptr;
}

int32_t VCellView::GetColWidth(int32_t column, bool scaled) const
{
    if (column == 0) return scaled ? Scale(fColDefaultWidth) : fColDefaultWidth;
    if (column < 0 || column > fLayoutCols) return 0;
    AxisWalk<VCellColumn> w{fColumns, fLayoutCols, scaled ? Scale(fColDefaultWidth) : fColDefaultWidth, fZoom, scaled};
    return w.Size(FindVCol(column), fColDefaultWidth);
}

int32_t VCellView::GetRowHeight(int32_t row, bool scaled) const
{
    if (row == 0) return scaled ? Scale(fRowDefaultHeight) : fRowDefaultHeight;
    if (row < 0) return 0;
    // Rows past the count still have the default height when empty rows
    // fill the pane.
    if (row > fLayoutRows) return fFillWithEmptyRows ? (scaled ? Scale(fRowDefaultHeight) : fRowDefaultHeight) : 0;
    AxisWalk<VCellRow> w{fRows, fLayoutRows, scaled ? Scale(fRowDefaultHeight) : fRowDefaultHeight, fZoom, scaled};
    return w.Size(FindVRow(row), fRowDefaultHeight);
}

int32_t VCellView::GetColLeft(int32_t column, bool scaled) const
{
    if (column < 1 || column > fLayoutCols) return 0;
    AxisWalk<VCellColumn> w{fColumns, fLayoutCols, scaled ? Scale(fColDefaultWidth) : fColDefaultWidth, fZoom, scaled};
    return ClampToInt32(w.Start(column, fColDefaultWidth));
}

int32_t VCellView::GetRowTop(int32_t row, bool scaled) const
{
    if (row < 1) return 0;
    const int32_t def = scaled ? Scale(fRowDefaultHeight) : fRowDefaultHeight;
    AxisWalk<VCellRow> w{fRows, fLayoutRows, def, fZoom, scaled};
    if (row <= fLayoutRows) return ClampToInt32(w.Start(row, fRowDefaultHeight));
    if (!fFillWithEmptyRows) return 0;
    return ClampToInt32(w.Start(fLayoutRows + 1, fRowDefaultHeight) + int64_t(row - fLayoutRows - 1) * def);
}

int32_t VCellView::FindCol(int32_t x, bool scaled) const
{
    AxisWalk<VCellColumn> w{fColumns, fLayoutCols, scaled ? Scale(fColDefaultWidth) : fColDefaultWidth, fZoom, scaled};
    return w.Find(x, fColDefaultWidth);
}

int32_t VCellView::FindRow(int32_t y, bool scaled) const
{
    AxisWalk<VCellRow> w{fRows, fLayoutRows, scaled ? Scale(fRowDefaultHeight) : fRowDefaultHeight, fZoom, scaled};
    return w.Find(y, fRowDefaultHeight);
}

namespace {

void ScaleLimits(int32_t& min, int32_t& max, double zoom)
{
    if (min != -1) min = int32_t(min * zoom);
    if (max != -1) max = std::min(kMaxSize, int32_t(max * zoom));
}

}  // namespace

void VCellView::GetColSizeLimits(int32_t& min, int32_t& max, int32_t column, bool scaled) const
{
    const VCellColumn* c = FindVCol(column);
    min = c && c->GetMinWidth() != -1 ? c->GetMinWidth() : fColMinWidth;
    max = c && c->GetMaxWidth() != -1 ? c->GetMaxWidth() : fColMaxWidth;
    if (scaled) ScaleLimits(min, max, fZoom);
}

void VCellView::GetRowSizeLimits(int32_t& min, int32_t& max, int32_t row, bool scaled) const
{
    const VCellRow* r = FindVRow(row);
    min = r && r->GetMinHeight() != -1 ? r->GetMinHeight() : fRowMinHeight;
    max = r && r->GetMaxHeight() != -1 ? r->GetMaxHeight() : fRowMaxHeight;
    if (scaled) ScaleLimits(min, max, fZoom);
}

// Stores an unscaled size (-1: the default) on a column or row, making
// the object when needed and dropping it when it holds defaults only.
void VCellView::SetStoredSize(bool columns, int32_t index, int32_t size)
{
    size = std::clamp(size, -1, kMaxSize);
    if (columns) {
        VCellColumn* c = FindVCol(index);
        if (!c) {
            if (size == -1) return;
            c = new VCellColumn(int16_t(size));
            fColumns->AdoptNth(c, index);
            return;
        }
        c->SetWidth(int16_t(size));
        if (c->CanBeDeleted()) fColumns->DeleteNth(index, kListDeleteData);
    } else {
        VCellRow* r = FindVRow(index);
        if (!r) {
            if (size == -1) return;
            r = new VCellRow(int16_t(size));
            fRows->AdoptNth(r, index);
            return;
        }
        r->SetHeight(int16_t(size));
        if (r->CanBeDeleted()) fRows->DeleteNth(index, kListDeleteData);
    }
}

void VCellView::SetColWidth(int32_t width, int32_t column, RedrawMode mode)
{
    if (column == 0) {
        fColDefaultWidth = int16_t(std::clamp(width, 0, kMaxSize));
    } else {
        if (column < 0) return;
        VCellColumn* c = FindVCol(column);
        if (!c && (width == -1 || width == fColDefaultWidth)) return;
        const int32_t old = c && c->GetWidth() != -1 ? c->GetWidth() : fColDefaultWidth;
        SetStoredSize(true, column, width);
        const int32_t now = width == -1 ? fColDefaultWidth : std::clamp(width, 0, kMaxSize);
        if (fColBinding != 0 && now != old && column < fLayoutCols) BindSizes(true, column, old, now);
    }
    if (fSkipReset == 0) DoColsWidthChanged(mode);
}

void VCellView::SetRowHeight(int32_t height, int32_t row, RedrawMode mode)
{
    if (row == 0) {
        fRowDefaultHeight = int16_t(std::clamp(height, 0, kMaxSize));
    } else {
        if (row < 0) return;
        VCellRow* r = FindVRow(row);
        if (!r && (height == -1 || height == fRowDefaultHeight)) return;
        const int32_t old = r && r->GetHeight() != -1 ? r->GetHeight() : fRowDefaultHeight;
        SetStoredSize(false, row, height);
        const int32_t now = height == -1 ? fRowDefaultHeight : std::clamp(height, 0, kMaxSize);
        if (fRowBinding != 0 && now != old && row < fLayoutRows) BindSizes(false, row, old, now);
    }
    if (fSkipReset == 0) DoRowsHeightChanged(mode);
}

void VCellView::SetColSizeLimits(int32_t min, int32_t max, int32_t column)
{
    VCellColumn* c = FindVCol(column);
    if (!c) {
        if (column < 1 || (min == -1 && max == -1)) return;
        c = new VCellColumn(-1);
        if (!fColumns->AdoptNth(c, column)) return;
    }
    c->SetMinWidth(int16_t(std::clamp(min, -1, kMaxSize)));
    c->SetMaxWidth(int16_t(std::clamp(max, -1, kMaxSize)));
    if (c->CanBeDeleted()) fColumns->DeleteNth(column, kListDeleteData);
}

void VCellView::SetRowSizeLimits(int32_t min, int32_t max, int32_t row)
{
    VCellRow* r = FindVRow(row);
    if (!r) {
        if (row < 1 || (min == -1 && max == -1)) return;
        r = new VCellRow(-1);
        if (!fRows->AdoptNth(r, row)) return;
    }
    r->SetMinHeight(int16_t(std::clamp(min, -1, kMaxSize)));
    r->SetMaxHeight(int16_t(std::clamp(max, -1, kMaxSize)));
    if (r->CanBeDeleted()) fRows->DeleteNth(row, kListDeleteData);
}

void VCellView::SetColVisible(int32_t column, bool visible, RedrawMode mode)
{
    VCellColumn* c = FindVCol(column);
    if (!c) {
        if (column < 1 || visible) return;
        c = new VCellColumn(-1);
        if (!fColumns->AdoptNth(c, column)) return;
    }
    c->SetVisible(visible);
    if (c->CanBeDeleted()) fColumns->DeleteNth(column, kListDeleteData);
    if (fSkipReset == 0) DoColsWidthChanged(mode);
}

void VCellView::SetRowVisible(int32_t row, bool visible, RedrawMode mode)
{
    VCellRow* r = FindVRow(row);
    if (!r) {
        if (row < 1 || visible) return;
        r = new VCellRow(-1);
        if (!fRows->AdoptNth(r, row)) return;
    }
    r->SetVisible(visible);
    if (r->CanBeDeleted()) fRows->DeleteNth(row, kListDeleteData);
    if (fSkipReset == 0) DoRowsHeightChanged(mode);
}

void VCellView::SetZoom(double zoom, RedrawMode mode)
{
    if (!(zoom > 0) || zoom == fZoom) return;
    fZoom = zoom;
    SkipReset();
    if (fColHeaders) ShowColHeaders(true, true);
    if (fRowHeaders) ShowRowHeaders(true, true);
    StopToSkipReset();
    if (fSkipReset == 0) {
        DoColsWidthChanged(kRedrawNone);
        DoRowsHeightChanged(mode);
    }
}

// The change old - new of one column (row) goes to the visible ones after
// it, in shares proportional to their sizes; a share a column cannot take
// within its limits is carried on, and what none can take stays with the
// changed one, so the total never moves and no division by a zero sum
// happens.
void VCellView::BindSizes(bool columns, int32_t index, int32_t oldSize, int32_t newSize)
{
    int16_t& level = columns ? fColBinding : fRowBinding;
    --level;
    SkipReset();
    const int32_t last = columns ? fLayoutCols : fLayoutRows;
    struct Item {
        int32_t index, size, min, max;
    };
    std::vector<Item> items;
    int64_t sum = 0;
    for (int32_t j = index + 1; j <= last; ++j) {
        const bool visible = columns ? (!FindVCol(j) || FindVCol(j)->IsVisible()) : (!FindVRow(j) || FindVRow(j)->IsVisible());
        if (!visible) continue;
        Item it{j, columns ? GetColWidth(j, false) : GetRowHeight(j, false), 0, kMaxSize};
        if (columns)
            GetColSizeLimits(it.min, it.max, j, false);
        else
            GetRowSizeLimits(it.min, it.max, j, false);
        it.min = std::max(0, it.min);  // -1 ("none") counts as 0
        if (it.max < 0) it.max = kMaxSize;
        it.max = std::max(it.max, it.min);
        sum += it.size;
        items.push_back(it);
    }
    const int64_t d = int64_t(oldSize) - newSize;
    int64_t left = d;
    bool proportional = sum > 0;
    int64_t share = 0;
    for (size_t k = 0; k < items.size() && left != 0; ++k) {
        Item& it = items[k];
        const bool lastItem = k + 1 == items.size();
        share = proportional ? d * it.size / sum : left / int64_t(items.size() - k);
        if (lastItem || std::llabs(left) < std::llabs(share)) share = left;
        const int64_t target = std::clamp<int64_t>(it.size + share, it.min, it.max);
        const int64_t taken = target - it.size;
        if (taken != share) proportional = false;
        left -= taken;
        if (taken != 0) SetStoredSize(columns, it.index, int32_t(target));
    }
    // What no column could take stays with the changed one.
    if (left != 0 && index >= 1) SetStoredSize(columns, index, int32_t(std::clamp<int64_t>(newSize + left, 0, kMaxSize)));
    StopToSkipReset();
    ++level;
}

void VCellView::SpreadColsWidth(int32_t d)
{
    if (d == 0 || fLayoutCols <= 0) return;
    // As if a column before the first had shrunk by d; the level is
    // cleared meanwhile, so nothing binds again.
    const int16_t level = fColBinding;
    fColBinding = 1;
    BindSizes(true, 0, d, 0);
    fColBinding = level;
}

void VCellView::SpreadRowsHeight(int32_t d)
{
    if (d == 0 || fLayoutRows <= 0) return;
    const int16_t level = fRowBinding;
    fRowBinding = 1;
    BindSizes(false, 0, d, 0);
    fRowBinding = level;
}

void VCellView::DoColsWidthChanged(RedrawMode mode)
{
    const int32_t total = GetColRight(fLayoutCols, true);
    ForEachCellView([&](VCellScrolledView* view) {
        if (view->GetRole() == VCellScrolledView::Role::RowHeader) return;
        int32_t width = total;
        if (fScrollWholeCols && total > view->GetWidth()) {
            // Scrolled to the end, a column starts at the left edge.
            const int32_t c = FindCol(total - view->GetWidth(), true);
            if (c > 0) {
                const int32_t start = GetColLeft(c, true) < total - view->GetWidth() ? GetColRight(c, true) : GetColLeft(c, true);
                width = start + view->GetWidth();
            }
        }
        view->SetVirtualWidth(width, view->GetRole() == VCellScrolledView::Role::Cell, kRedrawNone);
    });
    MovePaneFrames(true);
    Redraw(mode);
}

void VCellView::DoRowsHeightChanged(RedrawMode mode)
{
    const int32_t total = GetRowBottom(fLayoutRows, true);
    ForEachCellView([&](VCellScrolledView* view) {
        if (view->GetRole() == VCellScrolledView::Role::ColHeader || view->GetRole() == VCellScrolledView::Role::ColFooter)
            return;
        int32_t height = total;
        if (fScrollWholeRows && total > view->GetHeight()) {
            const int32_t r = FindRow(total - view->GetHeight(), true);
            if (r > 0) {
                const int32_t start = GetRowTop(r, true) < total - view->GetHeight() ? GetRowBottom(r, true) : GetRowTop(r, true);
                height = start + view->GetHeight();
            }
        }
        view->SetVirtualHeight(height, view->GetRole() == VCellScrolledView::Role::Cell, kRedrawNone);
    });
    MovePaneFrames(false);
    Redraw(mode);
}

// Every frame of every stored cell follows its column's left and width
// (or its row's top and height), keeping the other axis.
void VCellView::MovePaneFrames(bool columns)
{
    auto place = [&](VCell* cell, int32_t column, int32_t row) {
        if (!cell) return;
        ForEachCellView([&](VCellScrolledView* view) {
            VFrame* f = cell->GetFrame(view);
            if (!f) return;
            if (columns && column > 0) {
                f->SetPos(GetColLeft(column, true), f->GetY(), kRedrawNone);
                f->SetSize(GetColWidth(column, true), f->GetHeight(), kRedrawNone);
            } else if (!columns && row > 0) {
                f->SetPos(f->GetX(), GetRowTop(row, true), kRedrawNone);
                f->SetSize(f->GetWidth(), GetRowHeight(row, true), kRedrawNone);
            }
        });
    };
    if (fColumns) {
        VIndexedIterator it(fColumns);
        while (VObject* o = it.Next()) {
            auto* c = static_cast<VCellColumn*>(o);
            const int32_t column = it.GetPos();
            place(c->GetHeaderVCell(), column, -1);
            place(c->GetFooterVCell(), column, -2);
            if (VIndexedList* cells = c->GetCellsList()) {
                VIndexedIterator ci(cells);
                while (VObject* cell = ci.Next()) place(static_cast<VCell*>(cell), column, ci.GetPos());
            }
        }
    }
    if (!columns && fRows) {
        VIndexedIterator it(fRows);
        while (VObject* o = it.Next()) place(static_cast<VCellRow*>(o)->GetHeaderVCell(), -1, it.GetPos());
    }
}

int32_t VCellView::AdjustHScrollAmount(VCellScrolledView* view, int32_t amount)
{
    if (!view || amount == 0) return amount;
    const int32_t x = view->GetVirtualX();
    int64_t sum = 0;
    if (amount > 0) {
        int32_t c = FindCol(x, true);
        if (c == 0) return amount;
        // The first visible column counts from the left edge.
        sum = GetColRight(c, true) - int64_t(x);
        for (++c; sum < amount && c <= fLayoutCols; ++c) sum += GetColWidth(c, true);
        return ClampToInt32(sum);
    }
    int32_t c = x > 0 ? FindCol(x - 1, true) : 0;
    if (c == 0) return amount;
    sum = int64_t(x) - GetColLeft(c, true);
    for (--c; sum < -int64_t(amount) && c >= 1; --c) sum += GetColWidth(c, true);
    return ClampToInt32(-sum);
}

int32_t VCellView::AdjustVScrollAmount(VCellScrolledView* view, int32_t amount)
{
    if (!view || amount == 0) return amount;
    const int32_t y = view->GetVirtualY();
    int64_t sum = 0;
    if (amount > 0) {
        int32_t r = FindRow(y, true);
        if (r == 0) return amount;
        sum = GetRowBottom(r, true) - int64_t(y);
        for (++r; sum < amount && r <= fLayoutRows; ++r) sum += GetRowHeight(r, true);
        return ClampToInt32(sum);
    }
    int32_t r = y > 0 ? FindRow(y - 1, true) : 0;
    if (r == 0) return amount;
    sum = int64_t(y) - GetRowTop(r, true);
    for (--r; sum < -int64_t(amount) && r >= 1; --r) sum += GetRowHeight(r, true);
    return ClampToInt32(-sum);
}
