#include "toolbox/views/VCellRange.h"

#include <algorithm>

// Edges are compared and stepped in 64 bits: one past an open end
// (0x7FFFFFFF + 1) must not wrap round to the first column.

namespace {

using Edge = int64_t;

bool Touches(Edge aFirst, Edge aLast, Edge bFirst, Edge bLast) { return aFirst <= bLast + 1 && bFirst - 1 <= aLast; }

// Deletes count of first.. from one axis of a range (first and last edges).
void DeleteSpan(int32_t& lo, int32_t& hi, int32_t first, int32_t count)
{
    const Edge end = Edge(first) + count;
    const bool open = hi == VCellRange::kOpenEnd;
    if (lo >= end) {
        lo = int32_t(lo - count);
        if (!open) hi = int32_t(hi - count);
    } else if (lo >= first) {
        if (open || hi >= end) {
            lo = first;
            if (!open) hi = int32_t(hi - count);
        } else {
            lo = 0;
            hi = 0;
        }
    } else if (!open) {
        if (hi >= end)
            hi = int32_t(hi - count);
        else if (hi >= first)
            hi = first - 1;
    }
}

void AddCopy(VCellRangeSet& set, Edge l, Edge t, Edge r, Edge b)
{
    if (l > r || t > b || r < 1 || b < 1) return;
    VCellRange(int32_t(l), int32_t(t), int32_t(r), int32_t(b)).AddTo(set);
}

void RemoveCopy(VCellRangeSet& set, Edge l, Edge t, Edge r, Edge b)
{
    if (l > r || t > b || r < 1 || b < 1) return;
    VCellRange(int32_t(l), int32_t(t), int32_t(r), int32_t(b)).RemoveFrom(set);
}

void Append(VCellRangeSet& set, Edge l, Edge t, Edge r, Edge b)
{
    if (l > r || t > b || r < 1 || b < 1) return;
    set.AddTail(new VCellRange(int32_t(l), int32_t(t), int32_t(r), int32_t(b)));
}

}  // namespace

VCellRange& VCellRange::operator=(const VCellRange& other)
{
    SetFrom(other.fLeft, other.fTop, other.fRight, other.fBottom);
    return *this;
}

void VCellRange::SetFrom(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    fLeft = left;
    fTop = top;
    fRight = right;
    fBottom = bottom;
}

bool VCellRange::IsEmpty() const { return fRight == 0 || fBottom == 0 || fLeft > fRight || fTop > fBottom; }

bool VCellRange::Contains(const VCellRange& o) const
{
    return o.fLeft >= fLeft && o.fRight <= fRight && o.fTop >= fTop && o.fBottom <= fBottom;
}

bool VCellRange::Intersects(const VCellRange& o) const
{
    return o.fLeft <= fRight && fLeft <= o.fRight && o.fTop <= fBottom && fTop <= o.fBottom;
}

bool VCellRange::ContainsCell(int32_t column, int32_t row) const
{
    return !IsEmpty() && column >= fLeft && column <= fRight && row >= fTop && row <= fBottom;
}

VCellRange* VCellRange::NthOf(const VCellRangeSet& set, int32_t n) { return static_cast<VCellRange*>(set.GetNth(n)); }

void VCellRange::AddTo(VCellRangeSet& set) const
{
    if (IsEmpty()) return;
    const VCellRange n(*this);  // this may be a member of the set
    // Ranges wholly inside the new one go.
    for (int32_t i = set.GetCount(); i >= 1; --i)
        if (n.Contains(*NthOf(set, i))) set.DeleteNth(i, kListDeleteData);

    for (int32_t i = 1; i <= set.GetCount(); ++i) {
        VCellRange* r = NthOf(set, i);
        if (r->Contains(n)) return;
        if (r->fTop == n.fTop && r->fBottom == n.fBottom && Touches(n.fLeft, n.fRight, r->fLeft, r->fRight)) {
            const VCellRange merged(std::min(r->fLeft, n.fLeft), n.fTop, std::max(r->fRight, n.fRight), n.fBottom);
            set.DeleteNth(i, kListDeleteData);
            merged.AddTo(set);
            return;
        }
        if (r->fLeft == n.fLeft && r->fRight == n.fRight && Touches(n.fTop, n.fBottom, r->fTop, r->fBottom)) {
            const VCellRange merged(n.fLeft, std::min(r->fTop, n.fTop), n.fRight, std::max(r->fBottom, n.fBottom));
            set.DeleteNth(i, kListDeleteData);
            merged.AddTo(set);
            return;
        }
        if (!r->Intersects(n)) continue;
        const VCellRange rc(*r);
        const bool rowsWithin = n.fTop >= rc.fTop && n.fBottom <= rc.fBottom;
        const bool colsWithin = n.fLeft >= rc.fLeft && n.fRight <= rc.fRight;
        const bool outLeft = n.fLeft < rc.fLeft, outRight = n.fRight > rc.fRight;
        const bool outTop = n.fTop < rc.fTop, outBottom = n.fBottom > rc.fBottom;
        if (rowsWithin && !(outLeft && outRight)) {
            if (outRight)
                AddCopy(set, Edge(rc.fRight) + 1, n.fTop, n.fRight, n.fBottom);
            else
                AddCopy(set, n.fLeft, n.fTop, Edge(rc.fLeft) - 1, n.fBottom);
            return;
        }
        if (colsWithin && !(outTop && outBottom)) {
            if (outBottom)
                AddCopy(set, n.fLeft, Edge(rc.fBottom) + 1, n.fRight, n.fBottom);
            else
                AddCopy(set, n.fLeft, n.fTop, n.fRight, Edge(rc.fTop) - 1);
            return;
        }
        AddCopy(set, n.fLeft, n.fTop, Edge(rc.fLeft) - 1, n.fBottom);
        AddCopy(set, n.fLeft, n.fTop, n.fRight, Edge(rc.fTop) - 1);
        AddCopy(set, Edge(rc.fRight) + 1, n.fTop, n.fRight, n.fBottom);
        AddCopy(set, n.fLeft, Edge(rc.fBottom) + 1, n.fRight, n.fBottom);
        return;
    }
    set.AddTail(new VCellRange(n));
}

void VCellRange::RemoveFrom(VCellRangeSet& set) const
{
    if (IsEmpty()) return;
    VCellRange d(*this);  // what is left to remove
    for (int32_t i = 1; i <= set.GetCount() && !d.IsEmpty();) {
        VCellRange* r = NthOf(set, i);
        if (!r->Intersects(d)) {
            ++i;
            continue;
        }
        const VCellRange rc(*r);
        if (d.Contains(rc)) {
            set.DeleteNth(i, kListDeleteData);
            // The rest of d, around rc: left and right at full height,
            // above and below over rc's columns.
            RemoveCopy(set, d.fLeft, d.fTop, Edge(rc.fLeft) - 1, d.fBottom);
            RemoveCopy(set, Edge(rc.fRight) + 1, d.fTop, d.fRight, d.fBottom);
            RemoveCopy(set, rc.fLeft, d.fTop, rc.fRight, Edge(rc.fTop) - 1);
            RemoveCopy(set, rc.fLeft, Edge(rc.fBottom) + 1, rc.fRight, d.fBottom);
            return;
        }
        if (rc.Contains(d)) {
            set.DeleteNth(i, kListDeleteData);
            Append(set, rc.fLeft, rc.fTop, Edge(d.fLeft) - 1, rc.fBottom);
            Append(set, Edge(d.fRight) + 1, rc.fTop, rc.fRight, rc.fBottom);
            Append(set, d.fLeft, rc.fTop, d.fRight, Edge(d.fTop) - 1);
            Append(set, d.fLeft, Edge(d.fBottom) + 1, d.fRight, rc.fBottom);
            return;
        }
        if (rc.fTop == d.fTop && rc.fBottom == d.fBottom) {
            // Neither holds the other: they overlap at one side.
            if (d.fLeft <= rc.fLeft) {
                r->fLeft = int32_t(Edge(d.fRight) + 1);
                d.fRight = int32_t(Edge(rc.fLeft) - 1);
            } else {
                r->fRight = int32_t(Edge(d.fLeft) - 1);
                d.fLeft = int32_t(Edge(rc.fRight) + 1);
            }
            if (r->IsEmpty()) {
                set.DeleteNth(i, kListDeleteData);
                continue;
            }
            ++i;
            continue;
        }
        if (rc.fLeft == d.fLeft && rc.fRight == d.fRight) {
            if (d.fTop <= rc.fTop) {
                r->fTop = int32_t(Edge(d.fBottom) + 1);
                d.fBottom = int32_t(Edge(rc.fTop) - 1);
            } else {
                r->fBottom = int32_t(Edge(d.fTop) - 1);
                d.fTop = int32_t(Edge(rc.fBottom) + 1);
            }
            if (r->IsEmpty()) {
                set.DeleteNth(i, kListDeleteData);
                continue;
            }
            ++i;
            continue;
        }
        // A partial overlap: the common part, then the rest of d around rc.
        VCellRange(std::max(rc.fLeft, d.fLeft), std::max(rc.fTop, d.fTop), std::min(rc.fRight, d.fRight),
                   std::min(rc.fBottom, d.fBottom))
            .RemoveFrom(set);
        RemoveCopy(set, d.fLeft, d.fTop, Edge(rc.fLeft) - 1, d.fBottom);
        RemoveCopy(set, Edge(rc.fRight) + 1, d.fTop, d.fRight, d.fBottom);
        RemoveCopy(set, std::max(rc.fLeft, d.fLeft), d.fTop, std::min(rc.fRight, d.fRight), Edge(rc.fTop) - 1);
        RemoveCopy(set, std::max(rc.fLeft, d.fLeft), Edge(rc.fBottom) + 1, std::min(rc.fRight, d.fRight), d.fBottom);
        return;
    }
}

void VCellRange::DelCols(int32_t first, int32_t count)
{
    if (first < 1 || count < 1 || IsEmpty()) return;
    DeleteSpan(fLeft, fRight, first, count);
}

void VCellRange::DelRows(int32_t first, int32_t count)
{
    if (first < 1 || count < 1 || IsEmpty()) return;
    DeleteSpan(fTop, fBottom, first, count);
}
