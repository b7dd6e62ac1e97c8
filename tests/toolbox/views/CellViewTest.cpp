// Cell view: sizes and lookups over sparse rows, zoom, binding, insertion
// and deletion with the selection following, the selection and the
// current cell.
#include "tests/toolbox/views/CellViewTestSupport.h"

#include "toolbox/views/VViewScroller.h"

using namespace celltest;

TEST_F(CellViewTest, ColumnLettersCountLikeSpreadsheets)
{
    const std::pair<int32_t, const char*> cases[] = {{1, "A"},   {26, "Z"},  {27, "AA"},  {28, "AB"},
                                                     {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}};
    for (auto [n, text] : cases) EXPECT_EQ(Letters(n), text) << n;
    EXPECT_EQ(Letters(0), "");
}

TEST_F(CellViewTest, ManyRowsWithAFewCustomHeightsKeepOnlyThoseRowsAndAgreeWithABruteForceSum)
{
    RecordingCellView* view = Make(3, 100000);
    view->SetRowHeight(35, 7, kRedrawNone);
    view->SetRowHeight(5, 50000, kRedrawNone);
    view->SetRowHeight(0, 99999, kRedrawNone);
    int32_t stored = 0;
    for (int32_t r = 1; r <= 100000; ++r) stored += view->FindVRow(r) != nullptr;
    EXPECT_EQ(stored, 3);

    std::vector<int64_t> top(100002, 0);
    for (int32_t r = 1; r <= 100000; ++r)
        top[size_t(r + 1)] = top[size_t(r)] + (r == 7 ? 35 : r == 50000 ? 5 : r == 99999 ? 0 : 20);
    for (int32_t r : {1, 2, 7, 8, 49999, 50000, 50001, 99998, 99999, 100000}) {
        EXPECT_EQ(view->GetRowTop(r, true), top[size_t(r)]) << r;
        EXPECT_EQ(view->FindRow(int32_t(top[size_t(r)]), true), r == 99999 ? 100000 : r) << r;
        if (top[size_t(r + 1)] > top[size_t(r)]) {
            EXPECT_EQ(view->FindRow(int32_t(top[size_t(r + 1)] - 1), true), r) << r;
        }
    }
    EXPECT_EQ(view->FindRow(int32_t(top[100001]), true), 0) << "past the last row";
    EXPECT_EQ(view->FindRow(-1, true), 0);
    EXPECT_EQ(Area(view)->GetVirtualHeight(), top[100001]);
}

TEST_F(CellViewTest, LookupsAgreeWithAWalkOverEveryColumnWhateverTheSizesAndZoom)
{
    RecordingCellView* view = Make(200, 2);
    uint32_t seed = 7;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000u; };
    for (int i = 0; i < 40; ++i) {
        const int32_t c = int32_t(next() % 200) + 1;
        switch (next() % 3) {
        case 0: view->SetColWidth(int32_t(next() % 150), c, kRedrawNone); break;
        case 1: view->SetColVisible(c, false, kRedrawNone); break;
        default: view->SetColWidth(-1, c, kRedrawNone); break;
        }
    }
    for (double zoom : {1.0, 1.3, 0.7}) {
        view->SetZoom(zoom, kRedrawNone);
        int64_t left = 0;
        for (int32_t c = 1; c <= 200; ++c) {
            const int32_t w = view->GetColWidth(c, true);
            ASSERT_EQ(view->GetColLeft(c, true), left) << c << " at " << zoom;
            if (w > 0) {
                ASSERT_EQ(view->FindCol(int32_t(left), true), c) << zoom;
                ASSERT_EQ(view->FindCol(int32_t(left + w - 1), true), c) << zoom;
            }
            left += w;
        }
        EXPECT_EQ(view->FindCol(int32_t(left), true), 0);
        EXPECT_EQ(Area(view)->GetVirtualWidth(), left);
    }
}

TEST_F(CellViewTest, ZoomScalesDefaultsAndTheDefaultWidthMakesNoColumnObject)
{
    RecordingCellView* view = Make(4, 4);
    view->SetZoom(1.25, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(2, true), 100);
    EXPECT_EQ(view->GetRowHeight(2, true), 25);
    EXPECT_EQ(view->GetColWidth(2, false), 80);
    EXPECT_EQ(view->GetColLeft(3, true), 200);
    EXPECT_EQ(view->FindCol(199, true), 2);
    EXPECT_EQ(view->GetColWidth(5, true), 0) << "past the columns";

    const int32_t changes = view->widthChanges;
    view->SetColWidth(80, 3, kRedrawNone);
    view->SetColWidth(-1, 3, kRedrawNone);
    EXPECT_EQ(view->FindVCol(3), nullptr);
    EXPECT_EQ(view->widthChanges, changes) << "nothing to re-lay";
    view->SetColWidth(30, 3, kRedrawNone);
    ASSERT_NE(view->FindVCol(3), nullptr);
    view->SetColWidth(-1, 3, kRedrawNone);
    EXPECT_EQ(view->FindVCol(3), nullptr) << "back to defaults, the object goes";

    // Footers are as high as the zoom makes every painted row.
    view->SetZoom(1.5, kRedrawNone);
    view->ShowColFooters(true);
    VFrame* footer = view->FindPane(1, 1)->GetBottomFrame();
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->GetHeight(), 30);
}

TEST_F(CellViewTest, BindingKeepsTheTotalAndLeavesWhatNoColumnTakesWithTheChangedOne)
{
    RecordingCellView* view = Make(3, 2);
    view->SetColWidth(100, 1, kRedrawNone);
    view->SetColWidth(50, 2, kRedrawNone);
    view->SetColWidth(50, 3, kRedrawNone);
    view->SetColBindingLevel(1);
    view->SetColWidth(120, 1, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(1, false), 120);
    EXPECT_EQ(view->GetColWidth(2, false), 40);
    EXPECT_EQ(view->GetColWidth(3, false), 40);
    EXPECT_EQ(view->GetColBindingLevel(), 1);

    // The last column stops at its minimum; the rest stays with column 1.
    view->SetColWidth(50, 2, kRedrawNone);
    view->SetColWidth(50, 3, kRedrawNone);
    view->SetColBindingLevel(0);
    view->SetColWidth(100, 1, kRedrawNone);
    view->SetColSizeLimits(45, -1, 3);
    view->SetColBindingLevel(1);
    view->SetColWidth(120, 1, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(2, false), 40);
    EXPECT_EQ(view->GetColWidth(3, false), 45);
    EXPECT_EQ(view->GetColWidth(1, false), 115);

    // Following columns hidden: nothing divides by their zero sum.
    view->SetColBindingLevel(0);
    view->SetColWidth(100, 1, kRedrawNone);
    view->SetColVisible(2, false, kRedrawNone);
    view->SetColVisible(3, false, kRedrawNone);
    view->SetColBindingLevel(1);
    view->SetColWidth(130, 1, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(1, false), 100);
    // And following columns of width 0 cannot shrink.
    view->SetColVisible(2, true, kRedrawNone);
    view->SetColVisible(3, true, kRedrawNone);
    view->SetColBindingLevel(0);
    view->SetColWidth(0, 2, kRedrawNone);
    view->SetColWidth(0, 3, kRedrawNone);
    view->SetColSizeLimits(-1, -1, 3);
    view->SetColBindingLevel(1);
    view->SetColWidth(130, 1, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(1, false) + view->GetColWidth(2, false) + view->GetColWidth(3, false), 100);
}

TEST_F(CellViewTest, InsertingMovesTheSelectionAndGrowsARangeThatSpansThePlace)
{
    RecordingCellView* view = Make(8, 4);
    view->SelectCellRange(VCellRange(1, 1, 4, 1), 0, 1, 1, false);
    view->SelectCellRange(VCellRange(5, 3, 6, 3), 1, 5, 3, false);
    view->SelectCellRange(VCellRange(2, 4, VCellRange::kOpenEnd, 4), 1, 5, 3, false);
    view->InsertCols(3, 2, true);
    EXPECT_EQ(view->GetCellColCount(), 10);
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{
                                {1, 1, 6, 1}, {7, 3, 8, 3}, {2, 4, VCellRange::kOpenEnd, 4}}));
    int32_t c = 0, r = 0;
    view->GetCurrentCell(c, r);
    EXPECT_EQ(c, 7);
    // Old columns 3 and 4 are still selected where they went.
    EXPECT_TRUE(view->IsCellSelected(5, 1));
    EXPECT_TRUE(view->IsCellSelected(6, 1));

    // Rows: a column's cells move down with their rows.
    view->SetColWidth(33, 2, kRedrawNone);
    auto* cell = new VCell;
    view->FindVCol(2)->SetRowVCell(cell, 3, 0x7FFFFFFE);
    view->InsertRows(2, 5, true);
    EXPECT_EQ(view->GetVCell(2, 8), cell);
    EXPECT_EQ(view->GetVCell(2, 3), nullptr);
    EXPECT_EQ(Ranges(view)[1], (std::vector<int32_t>{7, 8, 8, 8}));

    // Nothing for a place or count below 1.
    view->InsertCols(0, 3, true);
    view->InsertCols(2, -1, true);
    EXPECT_EQ(view->GetCellColCount(), 10);
}

TEST_F(CellViewTest, DeletingRefusesNoColumnsAndShiftsTheSelectionAndCurrentCell)
{
    RecordingCellView* view = Make(8, 6);
    view->SetColWidth(30, 5, kRedrawNone);
    view->SetRowHeight(30, 4, kRedrawNone);
    view->SelectCellRange(VCellRange(2, 1, 5, 2), 0, 5, 2, false);
    for (auto [first, count] : std::vector<std::pair<int32_t, int32_t>>{{0, 2}, {-3, 5}, {2, 0}, {2, -4}, {9, 1}}) {
        view->DelCols(first, count, true, true);
        view->DelRows(first, count, true, true);
    }
    EXPECT_EQ(view->GetCellColCount(), 8);
    EXPECT_EQ(view->GetCellRowCount(), 6);
    EXPECT_EQ(view->GetColWidth(5, false), 30);
    EXPECT_EQ(view->GetRowHeight(4, false), 30);
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{{2, 1, 5, 2}}));

    view->DelCols(3, 2, true, true);
    EXPECT_EQ(view->GetCellColCount(), 6);
    EXPECT_EQ(view->GetColWidth(3, false), 30) << "column 5 moved to 3";
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{{2, 1, 3, 2}}));
    int32_t c = 0, r = 0;
    view->GetCurrentCell(c, r);
    EXPECT_EQ(c, 3) << "a current column after the block moves left";

    view->DelCols(3, 1, true, true);
    view->GetCurrentCell(c, r);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{{2, 1, 2, 2}})) << "the selection stays";

    // The row just after the block keeps its header cell and its height.
    view->FindVRow(4)->SetHeaderVCell(new VCell);
    view->DelRows(2, 2, true, true);
    EXPECT_EQ(view->GetRowHeight(2, false), 30);
    ASSERT_NE(view->FindVRow(2), nullptr);
    EXPECT_NE(view->FindVRow(2)->GetHeaderVCell(), nullptr);

    // A count past the end is cut to the columns there are.
    view->DelCols(4, 100, true, true);
    EXPECT_EQ(view->GetCellColCount(), 3);
    view->DelRows(2, 100, true, true);
    EXPECT_EQ(view->GetCellRowCount(), 1);
    EXPECT_EQ(view->FindVRow(4), nullptr);
}

TEST_F(CellViewTest, SelectionMergesSplitsAndAnswersWholeColumns)
{
    RecordingCellView* view = Make(6, 10);
    view->SelectCellRange(VCellRange(1, 1, 2, 2), 0, -1, -1, false);
    EXPECT_EQ(view->GetSelection().GetCount(), 1);
    view->SelectCellRange(VCellRange(3, 1, 3, 2), 1, -1, -1, false);
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{{1, 1, 3, 2}}));
    view->SelectCellRange(VCellRange(2, 2, 2, 2), 2, -1, -1, false);
    EXPECT_EQ(view->GetSelection().GetCount(), 3);
    int32_t cells = 0;
    for (int32_t c = 1; c <= 6; ++c)
        for (int32_t r = 1; r <= 10; ++r) cells += view->IsCellSelected(c, r);
    EXPECT_EQ(cells, 5);
    EXPECT_FALSE(view->IsCellSelected(2, 2));
    int32_t c = 0, r = 0;
    view->GetCurrentCell(c, r);
    EXPECT_EQ(c, 1) << "the view chooses the top-left cell";
    EXPECT_EQ(r, 1);

    view->SelectCellRange(VCellRange(2, 1, 3, 5), 0, 2, 1, false);
    view->SelectCellRange(VCellRange(2, 6, 2, VCellRange::kOpenEnd), 1, 2, 1, false);
    EXPECT_EQ(view->GetSelection().GetCount(), 2);
    EXPECT_TRUE(view->IsColSelected(2));
    EXPECT_FALSE(view->IsColSelected(3));
    EXPECT_FALSE(view->IsRowSelected(1));

    // A removal leaves nothing past the grid.
    view->SelectCellRange(VCellRange(5, 9, 9, 14), 0, -1, -1, false);
    view->SelectCellRange(VCellRange(5, 9, 5, 9), 2, -1, -1, false);
    for (auto& range : Ranges(view)) {
        EXPECT_LE(range[2], 6);
        EXPECT_LE(range[3], 10);
    }

    // Selecting an unselected cell as current selects it alone.
    view->SetCurrentCell(4, 4, false, kRedrawNone);
    EXPECT_EQ(Ranges(view), (std::vector<std::vector<int32_t>>{{4, 4, 4, 4}}));
    EXPECT_TRUE(view->IsCurrentCell(4, 4));
}

TEST_F(CellViewTest, WholeColumnsAndRowsScrollAndShowTheCurrentCell)
{
    RecordingCellView* view = Make(10, 100, 200, 100);
    VCellScrolledView* area = Area(view);
    EXPECT_EQ(area->AdjustVAmount(48), 60) << "whole 20-pixel rows";
    EXPECT_EQ(area->AdjustHAmount(48), 80);
    view->SetCurrentCell(5, 40, true, kRedrawNone);
    // Below and right of the view: its bottom and right edges come in,
    // by whole rows and columns.
    EXPECT_EQ(area->GetVirtualY(), 40 * 20 - 100);
    EXPECT_EQ(area->GetVirtualX(), 3 * 80);
    EXPECT_EQ(area->AdjustVAmount(-30), -40) << "back to the start of a row";
    view->ShowCurrentCell(1, true, kRedrawNone);
    EXPECT_EQ(area->GetVirtualY(), 39 * 20);
    EXPECT_EQ(area->GetVirtualX(), 4 * 80);
    view->ShowCurrentCell(2, true, kRedrawNone);
    EXPECT_EQ(area->GetVirtualY(), 39 * 20 - (100 - 20) / 2) << "centred in the view";
    view->ShowCurrentCell(1, true, kRedrawNone);

    view->SetScrollWholeRows(true);
    view->SetRowHeight(35, 40, kRedrawNone);
    EXPECT_EQ(area->GetScrollHeight(false), 35);
    EXPECT_EQ(area->GetScrollHeight(true), 20);
    // The virtual height lets the last page start on a row.
    const int32_t total = view->GetRowBottom(100, true);
    const int32_t end = area->GetVirtualHeight() - area->GetHeight();
    EXPECT_GE(area->GetVirtualHeight(), total);
    EXPECT_EQ(view->GetRowTop(view->FindRow(end, true), true), end);
}

TEST_F(CellViewTest, ClicksFindTheCellAndHeadersAskForResizeCursors)
{
    RecordingCellView* view = Make(4, 10, 400, 150, false, true, true);
    ASSERT_TRUE(view->IsColHeadersVisible());
    ASSERT_TRUE(view->IsRowHeadersVisible());
    VCellScrolledView* area = Area(view);
    EXPECT_EQ(area->GetX(), 50);
    EXPECT_EQ(area->GetY(), 20);
    area->SetVirtualPos(0, 40, false, kRedrawNone);
    viewstest::RunScript(platform::Script().Click(100 + 50 + 170, 100 + 20 + 5));
    ASSERT_EQ(view->clicks.size(), 1u);
    EXPECT_EQ(view->clicks[0], std::make_pair(3, 3));

    auto* header = static_cast<VCellScrolledView*>(view->FindPane(1, 1)->GetTopFrame());
    EXPECT_EQ(header->FindCursor(VPoint(81, 5)), 9008u);
    EXPECT_EQ(header->FindCursor(VPoint(78, 5)), 9008u);
    EXPECT_EQ(header->FindCursor(VPoint(40, 5)), 0u);
    EXPECT_EQ(header->FindCursor(VPoint(2, 5)), 0u) << "no left border on the first column";
    view->SetLastColumnFills(true);
    EXPECT_EQ(header->FindCursor(VPoint(318, 5)), 0u);
    auto* rows = static_cast<VCellScrolledView*>(view->FindPane(1, 1)->GetLeftFrame());
    EXPECT_EQ(rows->FindCursor(VPoint(10, 18)), 9009u) << "scrolled with the cells";
}

TEST_F(CellViewTest, CellFramesFollowTheirCellInEveryPaneAndLeaveWithIt)
{
    RecordingCellView* view = Make(4, 20, 400, 300, true);
    auto* probe = new viewstest::Probe(Area(view), 0, 0, 10, 10);
    view->SetCellFrame(2, 3, probe, false, true);
    EXPECT_EQ(probe->GetX(), 80);
    EXPECT_EQ(probe->GetY(), 40);
    EXPECT_EQ(probe->GetWidth(), 80);

    // A second pane shows a clone of the frame in the same cell.
    ASSERT_TRUE(view->DoSplit(true, 1, 100, false, false));
    ASSERT_EQ(view->GetRowCount(), 2);
    VCell* cell = view->GetVCell(2, 3);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->CountFrames(), 2);
    auto* top = static_cast<VCellScrolledView*>(view->FindPane(1, 1)->GetUserFrame(false));
    auto* bottom = static_cast<VCellScrolledView*>(view->FindPane(1, 2)->GetUserFrame(false));
    ASSERT_NE(top, bottom);
    VFrame* clone = cell->GetFrame(top == probe->GetParent() ? bottom : top);
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, static_cast<VFrame*>(probe));

    // Both follow a width change; deleting the column takes both away.
    view->SetColWidth(30, 1, kRedrawNone);
    EXPECT_EQ(probe->GetX(), 30);
    EXPECT_EQ(clone->GetX(), 30);
    view->DelCols(2, 1, true, true);
    EXPECT_EQ(view->GetVCell(2, 3), nullptr);
    EXPECT_EQ(top->CountChildren() + bottom->CountChildren(), 0);

    // A frame that goes by itself takes its cell and column data along.
    view->SetColWidth(-1, 1, kRedrawNone);
    auto* lone = new viewstest::Probe(top, 0, 0, 5, 5);
    view->SetCellFrame(1, 1, lone, true, true);
    EXPECT_EQ(view->GetVCell(1, 1)->CountFrames(), 1);
    delete lone;
    EXPECT_EQ(view->FindVCol(1), nullptr);

    // Headers go on the panes of the first row and count in their limits.
    view->ShowColHeaders(true, false);
    EXPECT_NE(view->FindPane(1, 1)->GetTopFrame(), nullptr);
    EXPECT_EQ(view->FindPane(1, 2)->GetTopFrame(), nullptr);
    int32_t l = 0, t = 0, r = 0, b = 0;
    view->GetSplitLimits(1, 1, l, t, r, b);
    EXPECT_EQ(t, 16 + 20);
    view->GetSplitLimits(1, 2, l, t, r, b);
    EXPECT_EQ(t, 16);
}

TEST_F(CellViewTest, BoundColumnsShareAResizeOfTheCellArea)
{
    RecordingCellView* view = Make(3, 4, 200, 100);
    view->SetColWidth(100, 1, kRedrawNone);
    view->SetColWidth(50, 2, kRedrawNone);
    view->SetColWidth(50, 3, kRedrawNone);
    view->SetColBindingLevel(1);
    view->SetSize(300, 100, kRedrawNone);
    EXPECT_EQ(view->GetColWidth(1, false), 150);
    EXPECT_EQ(view->GetColWidth(2, false), 75);
    EXPECT_EQ(view->GetColWidth(3, false), 75);
    EXPECT_EQ(view->GetColBindingLevel(), 1);
    EXPECT_EQ(Area(view)->GetVirtualWidth(), 300);

    // With a first scrolled column the bar covers only what lies after it.
    delete window;
    view = Make(10, 4, 200, 100);
    VCellScrolledView* area = Area(view);
    area->SetFirstScrolledCol(3);
    int32_t pos = -1, max = -1, page = -1;
    area->UpdateHScrollParms(&pos, &max, &page);
    EXPECT_EQ(area->GetVirtualX(), 160);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(max, 800 - 2 - 160 - 200);
    EXPECT_EQ(page, 200);
    area->SetVirtualX(300, false, kRedrawNone);
    area->UpdateHScrollParms(&pos, &max, &page);
    EXPECT_EQ(pos, 140);
    // What lies after the column fits: nothing to scroll, and no position
    // before the column's edge.
    view->SetCellColCount(3, true);
    area->UpdateHScrollParms(&pos, &max, &page);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(max, 0);

    // A grid laid out for the first time spreads nothing into bound columns.
    auto* loose = new RecordingCellView(nullptr, false, false, false, false, 2, 2, false, false, false);
    loose->SetColWidth(60, 1, kRedrawNone);
    loose->SetColBindingLevel(1);
    loose->SetSize(300, 100, kRedrawNone);
    EXPECT_EQ(loose->GetColWidth(1, false), 60);
    EXPECT_EQ(loose->GetColWidth(2, false), 80);
    loose->DoDispose();
    delete loose;
}

TEST_F(CellViewTest, SizesStopAtTheirLimitHiddenRowsComeBackAndAZoomTellsOnce)
{
    RecordingCellView* view = Make(3, 3);
    // Asked, kept as default, kept for column or row 2.
    const int32_t cases[][3] = {{32000, 32000, 32000}, {32001, 32000, 32000}, {70000, 32000, 32000}, {-5, 0, 0}};
    for (const auto& c : cases) {
        view->SetColWidth(c[0], 0, kRedrawNone);
        view->SetRowHeight(c[0], 0, kRedrawNone);
        view->SetColWidth(c[0] < 0 ? 0 : c[0], 2, kRedrawNone);
        view->SetRowHeight(c[0] < 0 ? 0 : c[0], 2, kRedrawNone);
        EXPECT_EQ(view->GetColWidth(1, false), c[1]) << c[0];
        EXPECT_EQ(view->GetRowHeight(1, false), c[1]) << c[0];
        EXPECT_EQ(view->GetColWidth(2, false), c[2]) << c[0];
        EXPECT_EQ(view->GetRowHeight(2, false), c[2]) << c[0];
    }

    // A hidden row is kept; shown again with its defaults, it goes.
    view->SetRowVisible(3, false, kRedrawNone);
    ASSERT_NE(view->FindVRow(3), nullptr);
    EXPECT_FALSE(view->FindVRow(3)->IsVisible());
    view->SetRowVisible(3, true, kRedrawNone);
    EXPECT_EQ(view->FindVRow(3), nullptr);
    delete window;

    // The headers follow a zoom without each telling of a width change.
    view = Make(3, 3, 400, 300, false, true, true);
    view->widthChanges = 0;
    view->SetZoom(2.0, kRedrawNone);
    EXPECT_EQ(view->widthChanges, 1);
    EXPECT_EQ(view->GetColHeaderHeight(true), 40);
}
