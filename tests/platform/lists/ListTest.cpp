#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/core/Memory.h"
#include "tests/platform/controls/ControlFixture.h"

namespace platform::testing {
namespace {

struct Call {
    int16_t message;
    Cell cell;
    bool selected;
    std::string data;
};
std::vector<Call> gCalls;

void Recorder(int16_t message, Boolean selected, Rect*, Cell cell, int32_t offset, int16_t length, ListHandle list)
{
    std::string data;
    Handle h = GetListDataHandle(list);
    if (length > 0 && h && offset + length <= GetHandleSize(h)) data.assign(*h + offset, size_t(length));
    gCalls.push_back(Call{message, cell, selected != 0, data});
}

// Rows 16 high in a view 100 high: 6 whole rows and part of a seventh.
const Rect kView{20, 20, 120, 200};

class ListTest : public ControlTest {
protected:
    ListHandle Make(int16_t rows, Boolean drawIt = true)
    {
        gCalls.clear();
        const ListDefSpec defSpec{kListDefUserProcType, Recorder};
        EXPECT_EQ(RegisterListDefinition(1003, &defSpec), noErr);
        window = Window();
        const ListBounds data{0, 0, rows, 1};
        ListHandle l = LNew(&kView, &data, Point{16, 180}, 1003, window, drawIt, false, false, true);
        EXPECT_NE(l, nullptr);
        return l;
    }
    std::set<int16_t> Drawn(int16_t message = lDrawMsg) const
    {
        std::set<int16_t> rows;
        for (const Call& c : gCalls)
            if (c.message == message) rows.insert(c.cell.v);
        return rows;
    }
    std::set<int16_t> Selected(ListHandle l) const
    {
        std::set<int16_t> rows;
        Cell c{0, 0};
        while (LGetSelect(true, &c, l)) {
            rows.insert(c.v);
            ++c.v;
        }
        return rows;
    }
    // A cell's middle, global.
    static int16_t RowV(int16_t row) { return int16_t(kOrigin + kView.top + 16 * row + 8); }
    static constexpr int16_t kH = kOrigin + 100;
    WindowRef window = nullptr;
};

TEST_F(ListTest, DrawsOnlyVisibleCellsWithTheirData)
{
    ListHandle l = Make(20);
    EXPECT_EQ(gCalls.front().message, lInitMsg);
    EXPECT_EQ(Drawn(), (std::set<int16_t>{0, 1, 2, 3, 4, 5, 6}));
    gCalls.clear();
    LSetCell("six", 3, Cell{6, 0}, l);
    LSetCell("ten", 3, Cell{10, 0}, l);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].data, "six");
    LAddToCell("!", 1, Cell{10, 0}, l);
    char buffer[8];
    int16_t n = sizeof buffer;
    LGetCell(buffer, &n, Cell{10, 0}, l);
    EXPECT_EQ(std::string(buffer, size_t(n)), "ten!");
    int16_t offset = 0, length = 0;
    LGetCellDataLocation(&offset, &length, Cell{10, 0}, l);
    EXPECT_EQ(std::string(*GetListDataHandle(l) + offset, size_t(length)), "ten!");
    LGetCellDataLocation(&offset, &length, Cell{20, 0}, l);
    EXPECT_EQ(offset, -1);
    LDelRow(4, 0, l);
    n = sizeof buffer;
    LGetCell(buffer, &n, Cell{6, 0}, l);
    EXPECT_EQ(std::string(buffer, size_t(n)), "ten!");
    ListBounds visible;
    GetListVisibleCells(l, &visible);
    EXPECT_EQ(visible.top, 0);
    EXPECT_EQ(visible.bottom, 7);
    LDispose(l);
    EXPECT_EQ(gCalls.back().message, lCloseMsg);
}

TEST_F(ListTest, CellsPast32KBReachTheirDefinitionWithTheirOwnBytes)
{
    ListHandle l = Make(40, false);
    const std::string big(1000, 'x');
    for (int16_t r = 0; r < 40; ++r) {
        std::string data = big;
        data[0] = char('A' + r % 26);
        LSetCell(data.data(), int16_t(data.size()), Cell{r, 0}, l);
    }
    int16_t offset = 0, length = 0;
    LGetCellDataLocation(&offset, &length, Cell{5, 0}, l);
    EXPECT_EQ(offset, 5000);
    // Row 35 starts at 35,000: no 16-bit offset can say where.
    LGetCellDataLocation(&offset, &length, Cell{35, 0}, l);
    EXPECT_EQ(offset, -1);
    LScroll(0, 34, l);
    gCalls.clear();
    LSetDrawingMode(true, l);
    bool seen = false;
    for (const Call& c : gCalls)
        if (c.message == lDrawMsg && c.cell.v == 35) {
            seen = true;
            EXPECT_EQ(c.data.size(), 1000u);
            EXPECT_EQ(c.data[0], char('A' + 35 % 26));
        }
    EXPECT_TRUE(seen);
}

TEST_F(ListTest, SelectionHilitesAndADoubleClickAnswersTrue)
{
    ListHandle l = Make(20);
    gCalls.clear();
    LSetSelect(true, Cell{2, 0}, l);
    EXPECT_EQ(Drawn(lHiliteMsg), std::set<int16_t>{2});
    LSetSelect(true, Cell{12, 0}, l);  // out of sight: nothing drawn
    EXPECT_EQ(Drawn(lHiliteMsg), std::set<int16_t>{2});
    Play(Script().DoubleClick(kH, RowV(3)));
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_TRUE(LClick(NextClick(), 0, l));
    EXPECT_EQ(Selected(l), std::set<int16_t>{3});
    EXPECT_EQ(LLastClick(l).v, 3);
    // A second press on the same row dragged to another before letting go
    // is no double click.
    Play(Script().Click(kH, RowV(1)).Press(kH, RowV(1)).Move(kH, RowV(2)).Release());
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_EQ(LLastClick(l).v, 2);
}

TEST_F(ListTest, AnInactiveListShowsNoSelectionAndCellsPastTheViewAreNotDrawn)
{
    ListHandle l = Make(3);
    LSetSelect(true, Cell{1, 0}, l);
    gCalls.clear();
    LActivate(false, l);
    ASSERT_FALSE(gCalls.empty());
    for (const Call& c : gCalls) EXPECT_FALSE(c.selected) << "row " << c.cell.v;
    gCalls.clear();
    LSetSelect(true, Cell{2, 0}, l);
    LSetSelect(false, Cell{1, 0}, l);
    EXPECT_TRUE(Drawn(lHiliteMsg).empty());
    gCalls.clear();
    LActivate(true, l);
    EXPECT_EQ(Drawn(), (std::set<int16_t>{0, 1, 2}));
    for (const Call& c : gCalls) EXPECT_EQ(c.selected, c.cell.v == 2) << "row " << c.cell.v;

    // One column of 180 fills the view: the column right of it is not drawn.
    LAddColumn(1, 1, l);
    gCalls.clear();
    LSetCell("x", 1, Cell{0, 1}, l);
    LDraw(Cell{0, 1}, l);
    EXPECT_TRUE(gCalls.empty());
    LSetCell("y", 1, Cell{0, 0}, l);
    EXPECT_EQ(Drawn(), std::set<int16_t>{0});
}

TEST_F(ListTest, OnlyOneKeepsOneCellAndShiftExtends)
{
    ListHandle l = Make(20);
    SetListSelectionFlags(l, lOnlyOne);
    LSetSelect(true, Cell{1, 0}, l);
    LSetSelect(true, Cell{4, 0}, l);
    EXPECT_EQ(Selected(l), std::set<int16_t>{4});
    LSetSelect(false, Cell{2, 0}, l);
    EXPECT_EQ(Selected(l), std::set<int16_t>{4}) << "taking another cell's selection away keeps this one";
    Play(Script().Click(kH, RowV(5), shiftKey).Click(kH, RowV(1)).Click(kH, RowV(4), shiftKey));
    LClick(NextClick(), shiftKey, l);
    EXPECT_EQ(Selected(l), std::set<int16_t>{5});
    SetListSelectionFlags(l, 0);
    LClick(NextClick(), 0, l);
    LClick(NextClick(), shiftKey, l);
    EXPECT_EQ(Selected(l), (std::set<int16_t>{1, 2, 3, 4}));
}

TEST_F(ListTest, DraggingPastTheBottomScrolls)
{
    ListHandle l = Make(20);
    // The mouse on the first pixel below the view.
    Play(Script().Press(kH, RowV(2)).Move(kH, int16_t(kOrigin + kView.bottom)).Wait(5).Release());
    LClick(NextClick(), 0, l);
    ListBounds visible;
    GetListVisibleCells(l, &visible);
    // Three passes below the view: three rows scrolled, and the row just
    // below the last shown taken each time.
    EXPECT_EQ(visible.top, 3);
    EXPECT_EQ(Selected(l), (std::set<int16_t>{2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(GetControlValue(GetListVerticalScrollBar(l)), 3);
    // The scroll bar's arrow scrolls a row a tick.
    LScroll(0, -100, l);
    Play(Script().Press(kOrigin + kView.right + 8, kOrigin + kView.bottom - 4).Wait(3).Release());
    LClick(NextClick(), 0, l);
    GetListVisibleCells(l, &visible);
    EXPECT_EQ(visible.top, 3);
    // Back at the top every shown row is drawn again; a scroll to where the
    // list already is (held past the top while dragging) draws nothing.
    gCalls.clear();
    LScroll(0, -100, l);
    EXPECT_EQ(Drawn(), (std::set<int16_t>{0, 1, 2, 3, 4, 5, 6}));
    gCalls.clear();
    LScroll(0, -1, l);
    LScroll(0, 0, l);
    EXPECT_TRUE(gCalls.empty());
}

TEST_F(ListTest, DrawingModeOffThenOnDrawsOnce)
{
    ListHandle l = Make(0, false);
    EXPECT_TRUE(Drawn().empty());
    LAddRow(30, 0, l);
    for (int16_t r = 0; r < 30; ++r) LSetCell("x", 1, Cell{r, 0}, l);
    LSetSelect(true, Cell{1, 0}, l);
    EXPECT_TRUE(Drawn().empty());
    EXPECT_TRUE(Drawn(lHiliteMsg).empty());
    LSetDrawingMode(true, l);
    std::map<int16_t, int> counts;
    for (const Call& c : gCalls)
        if (c.message == lDrawMsg) ++counts[c.cell.v];
    EXPECT_EQ(counts.size(), 7u);
    for (const auto& [row, count] : counts) EXPECT_EQ(count, 1) << row;
    EXPECT_TRUE(gCalls.back().message == lDrawMsg);
    for (const Call& c : gCalls) {
        if (c.cell.v == 1) {
            EXPECT_TRUE(c.selected);
        }
    }
    LAutoScroll(l);
    LSetSelect(false, Cell{1, 0}, l);
    LSetSelect(true, Cell{25, 0}, l);
    LAutoScroll(l);
    ListBounds visible;
    GetListVisibleCells(l, &visible);
    // The last place that shows six whole rows of thirty.
    EXPECT_EQ(visible.top, 24);
    EXPECT_EQ(visible.bottom, 30);
}

}  // namespace
}  // namespace platform::testing
