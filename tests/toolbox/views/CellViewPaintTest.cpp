// Cell view painting: which cells a paint reaches, the fast scroll against
// a full repaint, the wheel, the selection highlight and header repaints.
#include "tests/toolbox/views/CellViewTestSupport.h"

#include <set>

#include "toolbox/views/VScrollBar.h"

using namespace celltest;

TEST_F(CellViewTest, APaintReachesOnlyTheCellsThatShow)
{
    // Nothing to paint: the hooks around the cells still run.
    RecordingCellView* view = Make(0, 0, 200, 100);
    view->Redraw(kRedrawNow);
    EXPECT_EQ(view->Of('<').size(), 1u);
    EXPECT_EQ(view->Of('>').size(), 1u);
    EXPECT_TRUE(view->Of('c').empty());
    delete window;

    // Three rows of 20: empty rows fill the pane to its bottom edge, the
    // last one cut by it.
    for (int32_t height : {100, 110}) {
        view = Make(2, 3, 200, height);
        view->SetFillWithEmptyRows(true);
        view->Redraw(kRedrawNow);
        std::vector<int32_t> rows;
        for (const Painted& p : view->Of('c'))
            if (p.column == 1) rows.push_back(p.row);
        const std::vector<int32_t> expected =
            height == 100 ? std::vector<int32_t>{1, 2, 3, 4, 5} : std::vector<int32_t>{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(rows, expected) << height;
        delete window;
    }

    // The last column reaches the right edge.
    view = Make(2, 2, 300, 100);
    view->SetLastColumnFills(true);
    view->Redraw(kRedrawNow);
    const std::vector<Painted> cells = view->Of('c');
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[1].left, 80);
    EXPECT_EQ(cells[1].width, 220);
    // The grey border line covers odd columns on odd rows.
    EXPECT_EQ(Pixel(window, 299, 11), Pixel(window, 79, 11)) << "its border at the edge";
    EXPECT_NE(Pixel(window, 299, 11), Pixel(window, 251, 11));
    delete window;

    // Column by column when the paint order asks for it.
    view = Make(2, 2, 300, 100);
    view->SetPaintOrder(1);
    view->Redraw(kRedrawNow);
    std::vector<std::pair<int32_t, int32_t>> order;
    for (const Painted& p : view->Of('c')) order.push_back({p.column, p.row});
    EXPECT_EQ(order, (std::vector<std::pair<int32_t, int32_t>>{{1, 1}, {1, 2}, {2, 1}, {2, 2}}));
}

TEST_F(CellViewTest, AScrollPaintsOnlyTheNewRowAndEqualsAFullRepaint)
{
    RecordingCellView* view = Make(3, 50, 240, 100);
    view->colourCells = true;
    view->Redraw(kRedrawNow);
    VCellScrolledView* area = Area(view);
    const uint32_t stamp = area->GetUpdateStamp();
    view->painted.clear();
    view->Scroll(0, 20, 1, 1, kRedrawNow, true);
    EXPECT_EQ(area->GetVirtualY(), 20);
    EXPECT_EQ(area->GetUpdateStamp(), stamp + 1);
    std::vector<int32_t> rows;
    for (const Painted& p : view->Of('c')) rows.push_back(p.row);
    EXPECT_EQ(rows, (std::vector<int32_t>{6, 6, 6}));

    const std::vector<uint32_t> scrolled = Screenshot(0, 0, 240, 100);
    view->Redraw(kRedrawNow);
    EXPECT_EQ(Screenshot(0, 0, 240, 100), scrolled);
    EXPECT_EQ(Pixel(window, 10, 0), 0x503E26u) << "row 2 at the top (0x263E50 as blue, green, red)";
    delete window;

    // Sideways with headers: the header strip scrolls along and paints only
    // the column that comes in.
    view = Make(6, 10, 240, 100, false, true, true);
    view->colourCells = true;
    view->Redraw(kRedrawNow);
    view->painted.clear();
    view->Scroll(80, 0, 1, 1, kRedrawNow, true);
    // 190 pixels of cells beside the row headers: the strip 110..190 that
    // comes in holds the end of column 3 and the start of column 4.
    std::set<int32_t> columns, headers;
    for (const Painted& p : view->Of('c')) columns.insert(p.column);
    for (const Painted& p : view->Of('h')) headers.insert(p.column);
    EXPECT_EQ(columns, (std::set<int32_t>{3, 4}));
    EXPECT_EQ(headers, (std::set<int32_t>{3, 4}));
    EXPECT_EQ(view->Of('c').size(), 2u * 4u) << "the rows that show";
    const std::vector<uint32_t> sideways = Screenshot(0, 0, 240, 100);
    view->Redraw(kRedrawNow);
    EXPECT_EQ(Screenshot(0, 0, 240, 100), sideways);
}

TEST_F(CellViewTest, OneWheelStepMovesWholeRowsOrWithShiftWholeColumns)
{
    RecordingCellView* view = Make(10, 100, 240, 100, true);
    VCellScrolledView* area = Area(view);
    viewstest::RunScript(platform::Script().Move(100 + 50, 100 + 50).Wheel(-1));
    EXPECT_EQ(area->GetVirtualY(), 60);
    EXPECT_EQ(view->FindPane(1, 1)->GetVScrollBar()->GetValue(), 60);
    viewstest::RunScript(platform::Script().Move(100 + 50, 100 + 50).Wheel(-1, false, platform::shiftKey));
    EXPECT_EQ(area->GetVirtualX(), 80);
    EXPECT_EQ(area->GetVirtualY(), 60);
    EXPECT_FALSE(window->IsPainterLent());
}

TEST_F(CellViewTest, AnInvertedSelectionComesOffWithoutTrace)
{
    RecordingCellView* view = Make(4, 6, 320, 120);
    view->SetRepaintChangedCellsOnly(true);
    view->SetHiliteCurrentCell(true);
    view->Redraw(kRedrawNow);
    const std::vector<uint32_t> before = Screenshot(0, 0, 320, 120);
    view->SelectCellRange(VCellRange(2, 2, 3, 4), 0, 2, 2, true);
    EXPECT_NE(Pixel(window, 120, 50), before[50 * 320 + 120]) << "selected cells are inverted";
    EXPECT_EQ(Pixel(window, 10, 10), before[10 * 320 + 10]);
    // A full repaint draws the same highlight.
    const std::vector<uint32_t> selected = Screenshot(0, 0, 320, 120);
    view->Redraw(kRedrawNow);
    EXPECT_EQ(Screenshot(0, 0, 320, 120), selected);
    view->SelectCellRange(VCellRange(2, 2, 3, 4), 2, 0, 0, true);
    view->SetCurrentCell(0, 0, false, kRedrawNow);
    EXPECT_EQ(Screenshot(0, 0, 320, 120), before);
}

TEST_F(CellViewTest, AWholeColumnSelectionRepaintsOnlyItsHeader)
{
    RecordingCellView* view = Make(4, 6, 400, 200, false, true, true);
    view->SetHiliteSelectedHeaders(true);
    view->Redraw(kRedrawNow);
    const uint32_t plain = Pixel(window, 50 + 100, 10);
    view->painted.clear();
    view->SelectCellRange(VCellRange(2, 1, 2, VCellRange::kOpenEnd), 0, 2, 1, true);
    const std::vector<Painted> headers = view->Of('h');
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].column, 2);
    EXPECT_TRUE(view->Of('r').empty());
    EXPECT_TRUE(view->Of('c').empty());
    EXPECT_NE(Pixel(window, 50 + 100, 10), plain) << "drawn selected";
    EXPECT_EQ(Pixel(window, 50 + 20, 10), plain);

    // Moving to column 3 repaints the two headers that change.
    view->painted.clear();
    view->SelectCellRange(VCellRange(3, 1, 3, VCellRange::kOpenEnd), 0, 3, 1, true);
    std::vector<int32_t> columns;
    for (const Painted& p : view->Of('h')) columns.push_back(p.column);
    EXPECT_EQ(columns, (std::vector<int32_t>{2, 3}));
}

TEST_F(CellViewTest, RepaintedSelectionsPaintOnlyTheCellsThatChange)
{
    RecordingCellView* view = Make(5, 5, 400, 100);
    view->SetRepaintChangedCellsOnly(true);
    view->SetHiliteKind(2);
    view->Redraw(kRedrawNow);
    auto cells = [&] {
        std::set<std::pair<int32_t, int32_t>> out;
        for (const Painted& p : view->Of('c')) out.insert({p.column, p.row});
        view->painted.clear();
        return out;
    };
    cells();
    view->SelectCellRange(VCellRange(2, 2, 3, 3), 0, 2, 2, true);
    EXPECT_EQ(cells(), (std::set<std::pair<int32_t, int32_t>>{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    // The cells selected before or after but not both.
    view->SelectCellRange(VCellRange(3, 3, 4, 4), 0, 3, 3, true);
    EXPECT_EQ(cells(), (std::set<std::pair<int32_t, int32_t>>{{2, 2}, {3, 2}, {2, 3}, {4, 3}, {3, 4}, {4, 4}}));
    // With the current cell shown, the two current cells too.
    view->SetHiliteCurrentCell(true);
    view->SelectCellRange(VCellRange(3, 3, 4, 4), 0, 4, 4, true);
    EXPECT_EQ(cells(), (std::set<std::pair<int32_t, int32_t>>{{3, 3}, {4, 4}}));
    view->SetHiliteCurrentCell(false);
    view->SetCurrentCell(3, 3, false, kRedrawNone);
    cells();
    // Several at once: only the difference.
    VCellRangeSet ranges;
    VCellRange(3, 3, 4, 4).AddTo(ranges);
    VCellRange(5, 5, 5, 5).AddTo(ranges);
    view->SelectCellRanges(ranges, 0, -1, -1, true);
    EXPECT_EQ(cells(), (std::set<std::pair<int32_t, int32_t>>{{5, 5}}));
    EXPECT_TRUE(view->IsCurrentCell(3, 3)) << "the current cell stays while selected";

    // Asked to highlight ranges, this kind repaints the cells of the ranges.
    VCellScrolledView* area = Area(view);
    VCellRangeSet some;
    VCellRange(2, 2, 3, 2).AddTo(some);
    VPainter* painter = area->GetPainter();
    ASSERT_NE(painter, nullptr);
    view->DoHiliteSelection(area, some, painter, VRegion(VRect(0, 0, 400, 100)));
    area->ReleasePainter();
    EXPECT_EQ(cells(), (std::set<std::pair<int32_t, int32_t>>{{2, 2}, {3, 2}}));
}

TEST_F(CellViewTest, ASelectedHeaderRepaintsAtItsZoomedPlace)
{
    RecordingCellView* view = Make(4, 6, 400, 200, false, true, true);
    // At twice the size column 2's header starts at 100 + 160.
    view->SetHiliteSelectedHeaders(true);
    view->SetZoom(2.0, kRedrawNone);
    view->Redraw(kRedrawNow);
    const uint32_t plain = Pixel(window, 280, 10);
    view->painted.clear();
    view->SelectCellRange(VCellRange(2, 1, 2, VCellRange::kOpenEnd), 0, 2, 1, true);
    ASSERT_EQ(view->Of('h').size(), 1u);
    EXPECT_NE(Pixel(window, 280, 10), plain) << "drawn selected";
}
