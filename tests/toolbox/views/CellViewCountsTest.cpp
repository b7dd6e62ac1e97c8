// Cell view counts set directly: growing keeps the columns and rows in
// their places, and rows like columns refuse a place or count below 1.
#include "tests/toolbox/views/CellViewTestSupport.h"

using namespace celltest;

TEST_F(CellViewTest, GrowingTheCountsAddsAtTheEndAndBadPlacesAddNothing)
{
    RecordingCellView* view = Make(4, 4);
    view->SetColWidth(30, 4, kRedrawNone);
    view->SetRowHeight(31, 4, kRedrawNone);
    view->SetCellColCount(6, true);
    view->SetCellRowCount(6, true);
    EXPECT_EQ(view->GetCellColCount(), 6);
    EXPECT_EQ(view->GetCellRowCount(), 6);
    EXPECT_EQ(view->GetColWidth(4, false), 30) << "the last column stays the fourth";
    EXPECT_EQ(view->GetColWidth(5, false), view->GetColWidth(1, false));
    EXPECT_EQ(view->GetRowHeight(4, false), 31);
    EXPECT_EQ(view->GetRowHeight(6, false), view->GetRowHeight(1, false));

    for (auto [at, count] : std::vector<std::pair<int32_t, int32_t>>{{0, 3}, {-2, 3}, {2, 0}, {2, -1}})
        view->InsertRows(at, count, true);
    EXPECT_EQ(view->GetCellRowCount(), 6);
    EXPECT_EQ(view->GetRowHeight(4, false), 31) << "no row moved";
    view->SetCellColCount(-1, true);
    view->SetCellRowCount(-1, true);
    EXPECT_EQ(view->GetCellColCount(), 6);
    EXPECT_EQ(view->GetCellRowCount(), 6);
}
