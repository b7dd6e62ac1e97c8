#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <vector>

#include "toolbox/views/VCellRange.h"

namespace {

constexpr int32_t kOpen = VCellRange::kOpenEnd;

std::vector<VCellRange> Ranges(const VCellRangeSet& set)
{
    std::vector<VCellRange> out;
    for (int32_t i = 1; i <= set.GetCount(); ++i) out.push_back(*VCellRange::NthOf(set, i));
    return out;
}

std::vector<VCellRange> Sorted(std::vector<VCellRange> v)
{
    std::sort(v.begin(), v.end(), [](const VCellRange& a, const VCellRange& b) {
        return std::make_tuple(a.GetLeft(), a.GetTop(), a.GetRight(), a.GetBottom()) <
               std::make_tuple(b.GetLeft(), b.GetTop(), b.GetRight(), b.GetBottom());
    });
    return v;
}

TEST(CellRangeTest, StripsMergeAndCoveredRangesChangeNothing)
{
    VCellRangeSet set;
    VCellRange(1, 1, 3, 1).AddTo(set);
    VCellRange(4, 1, 6, 1).AddTo(set);
    EXPECT_EQ(Ranges(set), std::vector<VCellRange>{VCellRange(1, 1, 6, 1)});

    VCellRangeSet square;
    VCellRange(1, 1, 3, 3).AddTo(square);
    VCellRange(2, 2, 2, 2).AddTo(square);
    EXPECT_EQ(Ranges(square), std::vector<VCellRange>{VCellRange(1, 1, 3, 3)});
    // Empty ranges add and remove nothing.
    VCellRange().AddTo(square);
    VCellRange(3, 1, 2, 1).RemoveFrom(square);
    EXPECT_EQ(Ranges(square), std::vector<VCellRange>{VCellRange(1, 1, 3, 3)});

    VCellRange(2, 2, 2, 2).RemoveFrom(square);
    const std::vector<VCellRange> expected = {VCellRange(1, 1, 1, 3), VCellRange(2, 1, 2, 1), VCellRange(2, 3, 2, 3),
                                              VCellRange(3, 1, 3, 3)};
    EXPECT_EQ(Sorted(Ranges(square)), expected);
}

TEST(CellRangeTest, DeletingColumnsFollowsTheCellsThatStay)
{
    VCellRange row(1, 4, kOpen, 4);
    row.DelCols(1, 2);
    EXPECT_EQ(row, VCellRange(1, 4, kOpen, 4));
    VCellRange a(2, 1, 5, 1);
    a.DelCols(4, 4);
    EXPECT_EQ(a, VCellRange(2, 1, 3, 1));
    VCellRange b(5, 1, 6, 1);
    b.DelCols(4, 4);
    EXPECT_TRUE(b.IsEmpty());
    VCellRange c(9, 1, 12, 1);
    c.DelCols(4, 4);
    EXPECT_EQ(c, VCellRange(5, 1, 8, 1));
    VCellRange d(5, 2, 9, kOpen);
    d.DelRows(1, 3);
    EXPECT_EQ(d, VCellRange(5, 1, 9, kOpen));
    // Deleting past the open end keeps an open range that began inside.
    VCellRange f(3, 1, kOpen, 1);
    f.DelCols(2, kOpen);
    EXPECT_EQ(f, VCellRange(2, 1, kOpen, 1));
    // A first or a count below 1 changes nothing.
    VCellRange e(2, 2, 4, 4);
    e.DelCols(0, 2);
    e.DelCols(2, 0);
    e.DelRows(-1, 3);
    EXPECT_EQ(e, VCellRange(2, 2, 4, 4));
}

TEST(CellRangeTest, OpenEndsAddNothingBeyondThem)
{
    // One past an open end would wrap round to the first column.
    VCellRangeSet set;
    VCellRange(3, 1, kOpen, 1).AddTo(set);
    VCellRange(1, 1, kOpen, 2).AddTo(set);
    VCellRange(5, 1, kOpen, kOpen).AddTo(set);
    for (const VCellRange& r : Ranges(set)) {
        EXPECT_GE(r.GetLeft(), 1);
        EXPECT_FALSE(r.IsEmpty());
    }
    VCellRange(1, 1, kOpen, kOpen).RemoveFrom(set);
    EXPECT_EQ(set.GetCount(), 0);
}

// Random adds and removes on a 20 x 20 grid against a bitmap: the set
// covers exactly the bitmap's cells and its ranges never overlap.
TEST(CellRangeTest, RandomAddsAndRemovesMatchABitmap)
{
    std::mt19937 random(1234);
    auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(random); };
    bool grid[21][21] = {};
    VCellRangeSet set;
    for (int step = 0; step < 10000; ++step) {
        const int32_t l = pick(1, 20), t = pick(1, 20);
        const int32_t r = pick(0, 5) == 0 ? kOpen : std::min(20, l + pick(0, 6));
        const int32_t b = pick(0, 5) == 0 ? kOpen : std::min(20, t + pick(0, 6));
        const bool add = pick(0, 2) != 0;
        const VCellRange range(l, t, r, b);
        if (add)
            range.AddTo(set);
        else
            range.RemoveFrom(set);
        for (int32_t x = l; x <= std::min(r, 20); ++x)
            for (int32_t y = t; y <= std::min(b, 20); ++y) grid[x][y] = add;
        if (step % 97 != 0 && step != 9999) continue;
        const std::vector<VCellRange> ranges = Ranges(set);
        for (size_t i = 0; i < ranges.size(); ++i) {
            ASSERT_FALSE(ranges[i].IsEmpty()) << step;
            for (size_t j = i + 1; j < ranges.size(); ++j) ASSERT_FALSE(ranges[i].Intersects(ranges[j])) << step;
        }
        for (int32_t x = 1; x <= 20; ++x)
            for (int32_t y = 1; y <= 20; ++y) {
                bool covered = false;
                for (const VCellRange& c : ranges) covered = covered || c.ContainsCell(x, y);
                ASSERT_EQ(covered, grid[x][y]) << "step " << step << " cell " << x << "," << y;
            }
    }
}

}  // namespace
