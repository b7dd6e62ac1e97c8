// What follows an edit of a list's rows and columns (its cells' text, the
// selection, the scroll position), and where the edges of cells, data and
// view lie for clicks and cell rectangles.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/lists/ListRecord.h"
#include "tests/platform/controls/ControlFixture.h"

namespace platform::testing {
namespace {

// Cells 16 high and 60 wide in a view of 100 x 180: 6 whole rows and part
// of a seventh, 3 whole columns.
const Rect kView{20, 20, 120, 200};

class ListEdits : public ControlTest {
protected:
    ListHandle Make(int16_t rows, int16_t cols, bool vertical = true, bool horizontal = false)
    {
        window = Window();
        const ListBounds data{0, 0, rows, cols};
        ListHandle l = LNew(&kView, &data, Point{16, 60}, 0, window, true, false, horizontal, vertical);
        EXPECT_NE(l, nullptr);
        for (int16_t r = 0; r < rows; ++r)
            for (int16_t c = 0; c < cols; ++c) {
                const std::string text = std::to_string(r) + "," + std::to_string(c);
                LSetCell(text.data(), int16_t(text.size()), Cell{r, c}, l);
            }
        return l;
    }
    static std::string Text(ListHandle l, int16_t row, int16_t col)
    {
        char buffer[32];
        int16_t n = sizeof buffer;
        LGetCell(buffer, &n, Cell{row, col}, l);
        return std::string(buffer, size_t(n));
    }
    // Every row's cells, "|" between columns and "/" between rows.
    static std::string Texts(ListHandle l)
    {
        ListBounds b;
        GetListDataBounds(l, &b);
        std::string out;
        for (int16_t r = 0; r < b.bottom; ++r) {
            if (r) out += "/";
            for (int16_t c = 0; c < b.right; ++c) out += (c ? "|" : "") + Text(l, r, c);
        }
        return out;
    }
    // The selected cells as "row,col" in the order LGetSelect walks them.
    static std::string Selection(ListHandle l)
    {
        std::string out;
        Cell c{0, 0};
        while (LGetSelect(true, &c, l)) {
            out += (out.empty() ? "" : " ") + std::to_string(c.v) + "," + std::to_string(c.h);
            if (++c.h >= (*l).cols) c = Cell{int16_t(c.v + 1), 0};
        }
        return out;
    }
    static int16_t Top(ListHandle l)
    {
        ListBounds visible;
        GetListVisibleCells(l, &visible);
        return visible.top;
    }
    WindowRef window = nullptr;
};

TEST_F(ListEdits, AddedRowsMoveTheCellsAndTheSelectionBelowThem)
{
    struct Case {
        int16_t count, at;
        int16_t answer;
        const char* texts;
        const char* selection;
    };
    const Case cases[] = {
        {1, 0, 0, "/0,0/1,0/2,0", "2,0"},
        {2, 1, 1, "0,0///1,0/2,0", "3,0"},
        {1, 2, 2, "0,0/1,0//2,0", "1,0"},   // above the row: the selection stays
        {1, 3, 3, "0,0/1,0/2,0/", "1,0"},   // just past the last row
        {1, 9, 3, "0,0/1,0/2,0/", "1,0"},   // past the end: added at the end
        {1, -4, 0, "/0,0/1,0/2,0", "2,0"},  // before the first: at the start
        {0, 1, 0, "0,0/1,0/2,0", "1,0"},    // nothing to add
        {-1, 1, 0, "0,0/1,0/2,0", "1,0"},
    };
    for (const Case& k : cases) {
        ListHandle l = Make(3, 1);
        LSetSelect(true, Cell{1, 0}, l);
        EXPECT_EQ(LAddRow(k.count, k.at, l), k.answer) << k.count << " at " << k.at;
        EXPECT_EQ(Texts(l), k.texts) << k.count << " at " << k.at;
        EXPECT_EQ(Selection(l), k.selection) << k.count << " at " << k.at;
        LDispose(l);
    }
}

TEST_F(ListEdits, DeletedRowsTakeTheirSelectionAndTheRestMovesUp)
{
    struct Case {
        int16_t count, at;
        const char* texts;
        const char* selection;
    };
    const Case cases[] = {
        {1, 0, "1,0/2,0/3,0", "0,0 2,0"},
        {1, 1, "0,0/2,0/3,0", "2,0"},        // a selected row goes with its selection
        {2, 2, "0,0/1,0", "1,0"},            // the last rows: the selection past the end goes
        {9, 3, "0,0/1,0/2,0", "1,0"},        // more than are left: to the end
        {1, 4, "0,0/1,0/2,0/3,0", "1,0 3,0"},  // just past the last row: nothing
        {1, -1, "0,0/1,0/2,0/3,0", "1,0 3,0"},
        {0, 2, "", ""},                      // a count of 0 deletes every row
    };
    for (const Case& k : cases) {
        ListHandle l = Make(4, 1);
        LSetSelect(true, Cell{1, 0}, l);
        LSetSelect(true, Cell{3, 0}, l);
        LDelRow(k.count, k.at, l);
        EXPECT_EQ(Texts(l), k.texts) << k.count << " at " << k.at;
        EXPECT_EQ(Selection(l), k.selection) << k.count << " at " << k.at;
        LDispose(l);
    }
}

TEST_F(ListEdits, ColumnsAddedOrDeletedKeepEachCellInItsRow)
{
    ListHandle l = Make(2, 2);
    LSetSelect(true, Cell{0, 1}, l);
    LSetSelect(true, Cell{1, 0}, l);
    EXPECT_EQ(LAddColumn(1, 1, l), 1);
    EXPECT_EQ(Texts(l), "0,0||0,1/1,0||1,1");
    EXPECT_EQ(Selection(l), "0,2 1,0");
    EXPECT_EQ(LAddColumn(1, 3, l), 3) << "just past the last column";
    EXPECT_EQ(Texts(l), "0,0||0,1|/1,0||1,1|");
    EXPECT_EQ(LAddColumn(0, 0, l), 0);
    EXPECT_EQ(LAddColumn(2, 0, l), 0);
    EXPECT_EQ(Texts(l), "||0,0||0,1|/||1,0||1,1|");
    EXPECT_EQ(Selection(l), "0,4 1,2");

    LDelColumn(2, 0, l);
    EXPECT_EQ(Texts(l), "0,0||0,1|/1,0||1,1|");
    LDelColumn(1, 4, l);  // just past the last: nothing
    EXPECT_EQ(Texts(l), "0,0||0,1|/1,0||1,1|");
    LDelColumn(5, 1, l);  // to the end
    EXPECT_EQ(Texts(l), "0,0/1,0");
    EXPECT_EQ(Selection(l), "1,0");
    LDelColumn(0, 0, l);
    ListBounds b;
    GetListDataBounds(l, &b);
    EXPECT_EQ(b.right, 0);
    EXPECT_EQ(b.bottom, 2);
    EXPECT_EQ(Selection(l), "");
}

TEST_F(ListEdits, FewerRowsKeepTheViewFullAndTheScrollBarInStep)
{
    ListHandle l = Make(20, 1);
    LScroll(0, 100, l);
    EXPECT_EQ(Top(l), 14) << "20 rows less the 6 wholly shown";
    ControlRef bar = GetListVerticalScrollBar(l);
    EXPECT_EQ(GetControl32BitMaximum(bar), 14);
    EXPECT_EQ(GetControl32BitValue(bar), 14);

    LDelRow(10, 10, l);
    EXPECT_EQ(Top(l), 4) << "the last 6 of the 10 rows left show";
    EXPECT_EQ(GetControl32BitMaximum(bar), 4);
    EXPECT_EQ(GetControl32BitValue(bar), 4);
    LDelRow(1, 0, l);
    EXPECT_EQ(Top(l), 3);
    LDelRow(3, 0, l);
    EXPECT_EQ(Top(l), 0) << "6 rows fit the view";
    EXPECT_EQ(GetControl32BitMaximum(bar), 0);
    LDelRow(0, 0, l);
    EXPECT_EQ(Top(l), 0);
    ListBounds visible;
    GetListVisibleCells(l, &visible);
    EXPECT_EQ(visible.bottom, 0);
}

TEST_F(ListEdits, FewerColumnsPullTheFirstShownColumnBack)
{
    ListHandle l = Make(2, 10, false, true);  // 3 whole columns of 60
    LScroll(100, 0, l);
    ListBounds v;
    GetListVisibleCells(l, &v);
    ASSERT_EQ(v.left, 7);
    LDelColumn(4, 6, l);  // 6 left: the last 3 show
    GetListVisibleCells(l, &v);
    EXPECT_EQ(v.left, 3);
    EXPECT_EQ(v.right, 6);
    EXPECT_EQ(GetControl32BitValue(GetListHorizontalScrollBar(l)), 3);
    EXPECT_EQ(GetControl32BitMaximum(GetListHorizontalScrollBar(l)), 3);
}

TEST_F(ListEdits, EachCellsBytesLieWhereItsLocationSays)
{
    ListHandle l = Make(2, 2);  // "0,0" "0,1" "1,0" "1,1", 3 bytes each
    LSetCell("abcdefg", 7, Cell{1, 1}, l);
    struct Case {
        Cell cell;
        int16_t offset, length;
    };
    const Case cases[] = {
        {Cell{0, 0}, 0, 3}, {Cell{0, 1}, 3, 3}, {Cell{1, 0}, 6, 3},
        {Cell{1, 1}, 9, 7},    // the last cell runs to the end of the data
        {Cell{2, 0}, -1, -1},  // past the last row
        {Cell{0, 2}, -1, -1},  // past the last column
    };
    for (const Case& k : cases) {
        int16_t offset = 0, length = 0;
        LGetCellDataLocation(&offset, &length, k.cell, l);
        EXPECT_EQ(offset, k.offset) << k.cell.v << "," << k.cell.h;
        EXPECT_EQ(length, k.length) << k.cell.v << "," << k.cell.h;
    }
    EXPECT_EQ(GetHandleSize(GetListDataHandle(l)), 16);
}

TEST_F(ListEdits, NewListsTakeTheirShapeFromTheDataAndTheView)
{
    window = Window();
    struct Case {
        ListBounds data;
        Point cellSize;
        int16_t rows, cols, cellWidth;
    };
    const Case cases[] = {
        {ListBounds{0, 0, 4, 3}, Point{16, 0}, 4, 3, 60},    // no width: the view shared by the columns
        {ListBounds{0, 0, 4, 0}, Point{16, 0}, 4, 0, 180},   // no columns: the view's width
        {ListBounds{5, 0, 2, 1}, Point{16, 50}, 0, 1, 50},   // bottom above top: no rows
        {ListBounds{0, 4, 2, 1}, Point{16, 50}, 2, 0, 50},
    };
    for (const Case& k : cases) {
        ListHandle l = LNew(&kView, &k.data, k.cellSize, 0, window, false, false, false, false);
        ASSERT_NE(l, nullptr);
        ListBounds b;
        GetListDataBounds(l, &b);
        EXPECT_EQ(b.bottom, k.rows) << k.data.top << "," << k.data.bottom;
        EXPECT_EQ(b.right, k.cols) << k.data.left << "," << k.data.right;
        EXPECT_EQ((*l).cellSize.h, k.cellWidth);
        LDispose(l);
    }
}

TEST_F(ListEdits, ScrollingStopsWhereTheLastRowIsWhollyShown)
{
    struct Case {
        int16_t rows, by, top;
    };
    const Case cases[] = {
        {6, 1, 0},  // exactly the view's whole rows: nothing to scroll
        {7, 1, 1},  // one more: one step
        {7, 2, 1},  // and no further
        {20, -1, 0},
        {20, 13, 13},
        {20, 14, 14},
        {20, 15, 14},
        {0, 1, 0},
    };
    for (const Case& k : cases) {
        ListHandle l = Make(k.rows, 1);
        LScroll(0, k.by, l);
        EXPECT_EQ(Top(l), k.top) << k.rows << " rows by " << k.by;
        LDispose(l);
    }
}

TEST_F(ListEdits, VisibleCellsCountThePartlyShownRowAndStopAtTheData)
{
    struct Case {
        int16_t rows, cols;
        Rect visible;
    };
    const Case cases[] = {
        {20, 5, Rect{0, 0, 7, 3}},  // 100/16: 6 rows and part of a seventh; 180/60: exactly 3 columns
        {7, 3, Rect{0, 0, 7, 3}},
        {6, 2, Rect{0, 0, 6, 2}},
        {0, 0, Rect{0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        ListHandle l = Make(k.rows, k.cols);
        ListBounds v;
        GetListVisibleCells(l, &v);
        EXPECT_EQ(v.top, k.visible.top);
        EXPECT_EQ(v.left, k.visible.left);
        EXPECT_EQ(v.bottom, k.visible.bottom) << k.rows;
        EXPECT_EQ(v.right, k.visible.right) << k.cols;
        LDispose(l);
    }
}

TEST_F(ListEdits, CellRectanglesFollowTheScrollPosition)
{
    ListHandle l = Make(20, 4, true, true);
    Rect r;
    ASSERT_TRUE(LGetCellRect(Cell{0, 0}, &r, l));
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 36);
    EXPECT_EQ(r.right, 80);
    LScroll(1, 2, l);
    ASSERT_TRUE(LGetCellRect(Cell{3, 2}, &r, l));
    EXPECT_EQ(r.top, 36);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.bottom, 52);
    EXPECT_EQ(r.right, 140);
    EXPECT_FALSE(LGetCellRect(Cell{20, 0}, &r, l)) << "just past the last row";
    EXPECT_FALSE(LGetCellRect(Cell{0, 4}, &r, l)) << "just past the last column";
    EXPECT_FALSE(LGetCellRect(Cell{-1, 0}, &r, l));
}

TEST_F(ListEdits, ReadingACellCopiesNoMoreThanTheRoomGiven)
{
    ListHandle l = Make(1, 1);
    LSetCell("abcdef", 6, Cell{0, 0}, l);
    struct Case {
        int16_t room, copied;
    };
    for (const Case& k : {Case{10, 6}, Case{6, 6}, Case{5, 5}, Case{0, 0}, Case{-3, 0}}) {
        char buffer[12] = "..........";
        int16_t n = k.room;
        LGetCell(buffer, &n, Cell{0, 0}, l);
        EXPECT_EQ(n, k.copied) << k.room;
        EXPECT_EQ(std::string(buffer, 10), std::string("abcdef", size_t(k.copied)) + std::string(size_t(10 - k.copied), '.'))
            << k.room;
    }
    int16_t n = 4;
    char buffer[4];
    LGetCell(buffer, &n, Cell{1, 0}, l);
    EXPECT_EQ(n, 0) << "a cell past the data";
    LAddToCell("gh", 2, Cell{0, 0}, l);
    LAddToCell("zz", 0, Cell{0, 0}, l);
    LAddToCell("zz", -1, Cell{0, 0}, l);
    LAddToCell(nullptr, 2, Cell{0, 0}, l);
    EXPECT_EQ(Text(l, 0, 0), "abcdefgh");
    LClrCell(Cell{0, 0}, l);
    EXPECT_EQ(Text(l, 0, 0), "");
    int16_t offset = 0, length = 0;
    LGetCellDataLocation(&offset, &length, Cell{0, 0}, l);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(length, 0);
}

TEST_F(ListEdits, TheSelectionIsWalkedAlongEachRowFromTheCellGiven)
{
    ListHandle l = Make(3, 3);
    LSetSelect(true, Cell{0, 2}, l);
    LSetSelect(true, Cell{2, 0}, l);
    struct Case {
        Cell from;
        bool found;
        Cell at;
    };
    const Case cases[] = {
        {Cell{0, 0}, true, Cell{0, 2}}, {Cell{0, 2}, true, Cell{0, 2}}, {Cell{1, 0}, true, Cell{2, 0}},
        {Cell{0, 3}, true, Cell{2, 0}},  // past the row's last column: the next rows
        {Cell{2, 1}, false, Cell{2, 1}}, {Cell{-1, 5}, true, Cell{0, 2}},
        {Cell{1, -1}, true, Cell{0, 2}},  // a column before the first: from the start
    };
    for (const Case& k : cases) {
        Cell c = k.from;
        EXPECT_EQ(bool(LGetSelect(true, &c, l)), k.found) << k.from.v << "," << k.from.h;
        EXPECT_EQ(c.v, k.at.v) << k.from.v << "," << k.from.h;
        EXPECT_EQ(c.h, k.at.h) << k.from.v << "," << k.from.h;
    }
    Cell c{0, 2};
    EXPECT_TRUE(LGetSelect(false, &c, l));
    c = Cell{0, 1};
    EXPECT_FALSE(LGetSelect(false, &c, l));
    c = Cell{3, 0};
    EXPECT_FALSE(LGetSelect(false, &c, l));
}

TEST_F(ListEdits, ClicksAtTheEdgesOfTheLastRowAndOfTheView)
{
    // 3 rows of 16 in a view of 100: rows end at local 68.
    struct Case {
        int16_t v;  // local
        const char* selection;
        int16_t lastClick;
    };
    const Case cases[] = {
        {20, "0,0", 0},    // the view's first pixel: row 0
        {35, "0,0", 0},    // row 0's last pixel
        {36, "1,0", 1},    // row 1's first
        {67, "2,0", 2},    // the last row's last pixel
        {68, "", -1},      // just below the last row: nothing, and nothing stays selected
        {119, "", -1},     // the view's last pixel
    };
    for (const Case& k : cases) {
        ListHandle l = Make(3, 1);
        LSetSelect(true, Cell{1, 0}, l);
        Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + k.v)));
        EXPECT_FALSE(LClick(NextClick(), 0, l));
        EXPECT_EQ(Selection(l), k.selection) << k.v;
        EXPECT_EQ(LLastClick(l).v, k.lastClick) << k.v;
        LDispose(l);
    }
    // 2 columns of 60 end at local 140: the pixel right of the last column
    // hits nothing either.
    for (const auto& [h, selection] : {std::pair<int16_t, const char*>{139, "0,1"}, {140, ""}, {199, ""}}) {
        ListHandle l = Make(3, 2);
        LSetSelect(true, Cell{1, 0}, l);
        Play(Script().Click(int16_t(kOrigin + h), int16_t(kOrigin + 25)));
        EXPECT_FALSE(LClick(NextClick(), 0, l));
        EXPECT_EQ(Selection(l), selection) << h;
        LDispose(l);
    }
    // Outside the view the selection stays.
    ListHandle l = Make(3, 1);
    LSetSelect(true, Cell{1, 0}, l);
    Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + 120)));
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_EQ(Selection(l), "1,0");
    // With lNoNilHilite a click below the data keeps it too.
    SetListSelectionFlags(l, lNoNilHilite);
    Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + 90)));
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_EQ(Selection(l), "1,0");
}

TEST_F(ListEdits, ShiftAndCommandClicksFollowTheSelectionFlags)
{
    struct Case {
        uint8_t flags;
        uint16_t modifiers;
        const char* selection;
    };
    // Row 1 selected, then a click on row 4.
    const Case cases[] = {
        {0, 0, "4,0"},
        {0, shiftKey, "1,0 2,0 3,0 4,0"},
        {lNoExtend, shiftKey, "4,0"},
        {lNoRect, shiftKey, "1,0 4,0"},
        {0, cmdKey, "1,0 4,0"},
        {lNoDisjoint, cmdKey, "4,0"},
        {lOnlyOne, shiftKey, "4,0"},
        {lOnlyOne, cmdKey, "4,0"},
    };
    for (const Case& k : cases) {
        ListHandle l = Make(6, 1);
        SetListSelectionFlags(l, k.flags);
        LSetSelect(true, Cell{1, 0}, l);
        Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + 20 + 16 * 4 + 8), k.modifiers));
        EXPECT_FALSE(LClick(NextClick(), k.modifiers, l));
        EXPECT_EQ(Selection(l), k.selection) << int(k.flags) << " " << k.modifiers;
        LDispose(l);
    }
    // Without rectangles a shift click selects the first selected cell and
    // the one clicked, even when dragging extends.
    for (const uint8_t flags : {uint8_t(lNoRect), uint8_t(lNoRect | lExtendDrag)}) {
        ListHandle l = Make(6, 1);
        SetListSelectionFlags(l, flags);
        LSetSelect(true, Cell{1, 0}, l);
        LSetSelect(true, Cell{2, 0}, l);
        Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + 20 + 16 * 4 + 8), shiftKey));
        LClick(NextClick(), shiftKey, l);
        EXPECT_EQ(Selection(l), "1,0 4,0") << int(flags);
        LDispose(l);
    }
    // A command click on a selected cell takes it out.
    ListHandle l = Make(6, 1);
    LSetSelect(true, Cell{1, 0}, l);
    LSetSelect(true, Cell{4, 0}, l);
    Play(Script().Click(int16_t(kOrigin + 50), int16_t(kOrigin + 20 + 16 * 4 + 8), cmdKey));
    LClick(NextClick(), cmdKey, l);
    EXPECT_EQ(Selection(l), "1,0");
}

TEST_F(ListEdits, ScrollBarsLieOutsideTheViewOverlappingItsFrame)
{
    struct Case {
        bool vertical, horizontal;
        Rect v, h;
    };
    // The view is (20, 20)-(120, 200); bars are 16 wide; with both bars
    // each stops at the view's corner.
    const Case cases[] = {
        {true, false, Rect{19, 200, 121, 216}, Rect{}},
        {false, true, Rect{}, Rect{120, 19, 136, 201}},
        {true, true, Rect{19, 200, 121, 216}, Rect{120, 19, 136, 201}},
    };
    for (const Case& k : cases) {
        ListHandle l = Make(20, 5, k.vertical, k.horizontal);
        auto expectBounds = [](ControlRef bar, const Rect& want) {
            Rect b;
            GetControlBounds(bar, &b);
            EXPECT_EQ((std::vector<int16_t>{b.top, b.left, b.bottom, b.right}),
                      (std::vector<int16_t>{want.top, want.left, want.bottom, want.right}));
        };
        if (k.vertical) {
            expectBounds(GetListVerticalScrollBar(l), k.v);
        } else {
            EXPECT_EQ(GetListVerticalScrollBar(l), nullptr);
        }
        if (k.horizontal) {
            expectBounds(GetListHorizontalScrollBar(l), k.h);
            EXPECT_EQ(GetControl32BitMaximum(GetListHorizontalScrollBar(l)), 2) << "5 columns less 3 shown";
        } else {
            EXPECT_EQ(GetListHorizontalScrollBar(l), nullptr);
        }
        LDispose(l);
    }
}

TEST_F(ListEdits, ALargerViewOrSmallerCellsPullTheScrollPositionBack)
{
    ListHandle l = Make(20, 1);
    LScroll(0, 100, l);
    ASSERT_EQ(Top(l), 14);
    LSize(180, 200, l);  // 12 whole rows
    EXPECT_EQ(Top(l), 8);
    EXPECT_EQ(GetControl32BitMaximum(GetListVerticalScrollBar(l)), 8);
    Rect b;
    GetControlBounds(GetListVerticalScrollBar(l), &b);
    EXPECT_EQ(b.bottom, 221) << "the bar follows the view";
    LCellSize(Point{10, 60}, l);  // 20 whole rows of 10
    EXPECT_EQ(Top(l), 0);
    LCellSize(Point{0, 60}, l);  // refused
    LScroll(0, 5, l);
    EXPECT_EQ(Top(l), 0);
    LSize(180, -5, l);  // no height: one row counts as shown
    ListBounds v;
    GetListVisibleCells(l, &v);
    EXPECT_EQ(v.bottom, v.top);
    LScroll(0, 100, l);
    EXPECT_EQ(Top(l), 19);
}

TEST_F(ListEdits, DraggingSelectsFromTheRowPressedToTheRowUnderTheMouse)
{
    // Row r's middle, global: view top 20, rows of 16.
    auto row = [](int16_t r) { return int16_t(kOrigin + 20 + 16 * r + 8); };
    ListHandle l = Make(20, 1);
    Play(Script().Press(kOrigin + 50, row(1)).Move(kOrigin + 50, row(3)).Move(kOrigin + 50, row(4)).Wait(2).Release());
    EXPECT_FALSE(LClick(NextClick(), 0, l));
    EXPECT_EQ(Selection(l), "1,0 2,0 3,0 4,0");
    EXPECT_EQ(LLastClick(l).v, 4) << "where the mouse came up";
    LDispose(l);

    // Above the view the list scrolls a row each pass, and the row just
    // above the first shown is taken: here one pass.
    l = Make(20, 1);
    LScroll(0, 5, l);
    static int gPassesAbove;
    gPassesAbove = 0;
    SetListClickLoop(l, [] {
        Point p;
        GetMouse(&p);
        return Boolean(p.v >= 20 || ++gPassesAbove <= 1);
    });
    Play(Script().Press(kOrigin + 50, row(2)).Move(kOrigin + 50, kOrigin + 10).Wait(5).Release());
    LClick(NextClick(), 0, l);
    EXPECT_EQ(Top(l), 4);
    EXPECT_EQ(Selection(l), "3,0 4,0 5,0 6,0 7,0");
    LDispose(l);

    // Below the last row of data shorter than the view, the last row is
    // the one under the mouse.
    l = Make(3, 1);
    Play(Script().Press(kOrigin + 50, row(1)).Move(kOrigin + 50, row(5)).Wait(2).Release());
    LClick(NextClick(), 0, l);
    EXPECT_EQ(Selection(l), "1,0 2,0");
    EXPECT_EQ(LLastClick(l).v, 2);
    LDispose(l);

    // A command drag from a selected cell takes the rows it passes out and
    // keeps the others.
    l = Make(6, 1);
    for (int16_t r = 0; r < 6; ++r) LSetSelect(true, Cell{r, 0}, l);
    Play(Script().Press(kOrigin + 50, row(1), cmdKey).Move(kOrigin + 50, row(3)).Wait(2).Release());
    LClick(NextClick(), cmdKey, l);
    EXPECT_EQ(Selection(l), "0,0 4,0 5,0");
    LDispose(l);

    // Right of the view the list scrolls a column each pass: here one pass,
    // the mouse over the fourth column shown.
    l = Make(1, 10, false, true);
    static int gPassesRight;
    gPassesRight = 0;
    SetListClickLoop(l, [] {
        Point p;
        GetMouse(&p);
        return Boolean(p.h < 200 || ++gPassesRight <= 1);
    });
    Play(Script().Press(kOrigin + 50, row(0)).Move(kOrigin + 205, row(0)).Wait(5).Release());
    LClick(NextClick(), 0, l);
    ListBounds visible;
    GetListVisibleCells(l, &visible);
    EXPECT_EQ(visible.left, 1);
    EXPECT_EQ(Selection(l), "0,0 0,1 0,2 0,3 0,4");
    LDispose(l);

    // A click loop that disposes of the list ends the click with false.
    l = Make(20, 1);
    static ListHandle gDoomed;
    gDoomed = l;
    SetListClickLoop(l, [] {
        LDispose(gDoomed);
        return Boolean(true);
    });
    Play(Script().Press(kOrigin + 50, row(1)).Wait(3).Release());
    EXPECT_FALSE(LClick(NextClick(), 0, l));
}

TEST_F(ListEdits, TheStandardCellsShowTheirTextAndInvertWhenSelected)
{
    window = Window();
    const ListBounds data{0, 0, 3, 1};
    ListHandle l = LNew(&kView, &data, Point{16, 180}, 0, window, true, false, false, false);
    ASSERT_NE(l, nullptr);
    LSetCell("W", 1, Cell{0, 0}, l);
    LSetCell("W", 1, Cell{1, 0}, l);
    LSetSelect(true, Cell{1, 0}, l);
    SetPortWindowPort(window);
    auto pixels = [](int16_t top) {
        std::vector<uint32_t> out;
        for (int16_t v = top; v < top + 16; ++v)
            for (int16_t h = 20; h < 200; ++h) {
                RGBColor c;
                GetCPixel(h, v, &c);
                out.push_back(PackRGB(c));
            }
        return out;
    };
    auto inverted = [](std::vector<uint32_t> p) {
        for (uint32_t& x : p) x ^= 0xFFFFFF;
        return p;
    };
    const std::vector<uint32_t> text = pixels(20);
    const size_t inked = size_t(std::count_if(text.begin(), text.end(), [](uint32_t p) { return p != 0xFFFFFF; }));
    EXPECT_GT(inked, 0u) << "the text of row 0";
    EXPECT_LT(inked, 16u * 20) << "one letter";
    EXPECT_EQ(pixels(36), inverted(text)) << "row 1 is row 0 inverted";
    EXPECT_EQ(pixels(52), std::vector<uint32_t>(16 * 180, 0xFFFFFF)) << "an empty row is blank";
    LSetSelect(false, Cell{1, 0}, l);
    EXPECT_EQ(pixels(36), text);
}

TEST_F(ListEdits, AGoneListAnswersNothing)
{
    ListHandle l = Make(2, 2);
    LDispose(l);
    ListBounds b{1, 1, 1, 1};
    GetListDataBounds(l, &b);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.bottom, 0);
    EXPECT_EQ(b.right, 0);
    Rect view{1, 1, 1, 1};
    GetListViewBounds(l, &view);
    EXPECT_EQ(view.bottom, 0);
    ListBounds v{1, 1, 1, 1};
    GetListVisibleCells(l, &v);
    EXPECT_EQ(v.top, 0);
    EXPECT_EQ(v.bottom, 0);
    EXPECT_EQ(GetListSelectionFlags(l), 0);
    EXPECT_EQ(GetListRefCon(l), 0u);
    EXPECT_EQ(GetListDataHandle(l), nullptr);
    EXPECT_EQ(LLastClick(l).v, -1);
    EXPECT_EQ(LAddRow(1, 0, l), 0);
    EXPECT_EQ(LAddColumn(1, 0, l), 0);
    Cell c{0, 0};
    EXPECT_FALSE(LGetSelect(true, &c, l));
}

}  // namespace
}  // namespace platform::testing
