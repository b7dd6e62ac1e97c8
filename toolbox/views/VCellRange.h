// Rectangles of cell coordinates (left column, top row, right column,
// bottom row; inclusive, 1-based) and the sets of them that a cell view
// keeps for its selection and its repaints: a set never holds two ranges
// that overlap, and strips side by side merge. 0x7FFFFFFF in the right or
// bottom field means "to the last one", however many there are.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VChainList.h"
#include "toolbox/foundation/VObject.h"

// A set of ranges; it owns them.
class VCellRangeSet : public VChainListPtrOf<VObject*> {
public:
    VCellRangeSet() = default;
    ~VCellRangeSet() override { Destroy(kListDeleteData); }
    VCellRangeSet(const VCellRangeSet&) = delete;
    VCellRangeSet& operator=(const VCellRangeSet&) = delete;
};

class VCellRange : public VObject {
public:
    static constexpr int32_t kOpenEnd = 0x7FFFFFFF;

    VCellRange() = default;
    VCellRange(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : fLeft(left), fTop(top), fRight(right), fBottom(bottom)
    {
    }
    VCellRange(const VCellRange& other) : VObject(), fLeft(other.fLeft), fTop(other.fTop), fRight(other.fRight), fBottom(other.fBottom) {}
    VCellRange& operator=(const VCellRange& other);
    bool operator==(const VCellRange& other) const
    {
        return fLeft == other.fLeft && fTop == other.fTop && fRight == other.fRight && fBottom == other.fBottom;
    }

    void SetFrom(int32_t left, int32_t top, int32_t right, int32_t bottom);
    bool IsEmpty() const;
    bool Contains(const VCellRange& other) const;
    bool Intersects(const VCellRange& other) const;
    bool ContainsCell(int32_t column, int32_t row) const;

    // Adds the range's cells to the set, keeping it free of overlaps;
    // an empty range changes nothing.
    void AddTo(VCellRangeSet& set) const;
    // Takes the range's cells out of the set.
    void RemoveFrom(VCellRangeSet& set) const;
    // Columns (rows) first .. first + count - 1 are deleted: the range
    // follows the cells that stay. A first or count below 1 changes
    // nothing.
    void DelCols(int32_t first, int32_t count);
    void DelRows(int32_t first, int32_t count);

    int32_t GetLeft() const { return fLeft; }
    int32_t GetTop() const { return fTop; }
    int32_t GetRight() const { return fRight; }
    int32_t GetBottom() const { return fBottom; }

    static VCellRange* NthOf(const VCellRangeSet& set, int32_t n);

private:
    int32_t fLeft = 0;
    int32_t fTop = 0;
    int32_t fRight = 0;
    int32_t fBottom = 0;
};
