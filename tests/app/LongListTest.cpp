#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "app/appl/AppGlobals.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Shapes.h"
#include "tests/app/LongListFixture.h"

using namespace platform;

namespace apptest {
namespace {

int32_t RowValue(LongListHandle list, int32_t row)
{
    int32_t v = 0;
    int16_t length = 4;
    LongLGetCell(&v, &length, row, list);
    return length == 4 ? v : -1;
}

// A list of 4-byte numbered rows (no window, drawing on).
LongListHandle Numbered(int32_t rows)
{
    const Rect view{0, 0, 160, 200};
    LongListHandle l = LongLNew(&view, 0, 4, Point{16, 200}, 0, nullptr, false, nullptr);
    EXPECT_EQ(LongLAddRow(rows, 0, l), 0);
    for (int32_t r = 0; r < rows; ++r) LongLSetCell(&r, 4, r, l);
    return l;
}

int32_t BitWords(LongListHandle l) { return GetHandleSize(l->selBits) / 4; }

TEST(LongListRows, InsertionsClampMoveTheirBitsAndSizeTheArrays)
{
    LongListHandle l = Numbered(5);
    LongLSetSelect(true, 3, l);
    SetOpenCell(4, l, true);
    EXPECT_EQ(LongLAddRow(3, 10, l), 5);  // past the end: appended
    EXPECT_EQ(l->rowCount, 8);
    EXPECT_EQ(RowValue(l, 5), 0);  // new rows are zero
    EXPECT_EQ(BitWords(l), 8 / 32 + 2);

    EXPECT_EQ(LongLAddRow(2, 1, l), 1);  // before the selected row
    EXPECT_EQ(RowValue(l, 5), 3);
    int32_t r = 0;
    ASSERT_TRUE(LongLGetSelect(true, &r, l));
    EXPECT_EQ(r, 5);  // the same row stays selected
    EXPECT_FALSE(LongLGetSelect(true, &++r, l));
    EXPECT_TRUE(IsOpenCell(6, l));
    EXPECT_FALSE(IsOpenCell(1, l));

    // Negative counts and positions change nothing.
    EXPECT_EQ(LongLAddRow(-1, 0, l), -1);
    EXPECT_EQ(LongLAddRow(1, -4, l), -1);
    LongLDelRow(-3, 0, l);
    LongLDelRow(1, -1, l);
    EXPECT_EQ(l->rowCount, 10);

    // A delete past the end is clamped; the arrays shrink to count div 32 + 1 words.
    LongLDelRow(100, 8, l);
    EXPECT_EQ(l->rowCount, 8);
    EXPECT_EQ(BitWords(l), 8 / 32 + 1);
    LongLDelRow(2, 1, l);
    EXPECT_EQ(RowValue(l, 3), 3);
    r = 0;
    ASSERT_TRUE(LongLGetSelect(true, &r, l));
    EXPECT_EQ(r, 3);
    LongLDispose(l);
}

TEST(LongListRows, BitsStayWithTheirRowsAcrossWordsAndBitsPastTheEndAreClear)
{
    LongListHandle l = Numbered(200);
    for (int32_t r : {0, 31, 32, 63, 64, 150, 199}) LongLSetSelect(true, r, l);
    LongLAddRow(37, 30, l);
    std::vector<int32_t> got;
    for (int32_t r = 0; LongLGetSelect(true, &r, l); ++r) got.push_back(r);
    EXPECT_EQ(got, (std::vector<int32_t>{0, 31 + 37, 32 + 37, 63 + 37, 64 + 37, 150 + 37, 199 + 37}));
    LongLDelRow(37, 30, l);
    got.clear();
    for (int32_t r = 0; LongLGetSelect(true, &r, l); ++r) got.push_back(r);
    EXPECT_EQ(got, (std::vector<int32_t>{0, 31, 32, 63, 64, 150, 199}));
    // Deleting the last rows and adding them back brings no old selection back.
    LongLDelRow(10, 190, l);
    LongLAddRow(10, 190, l);
    int32_t r = 151;
    EXPECT_FALSE(LongLGetSelect(true, &r, l));
    LongLDispose(l);
}

TEST(LongListRows, AGrowthFailureLeavesRowsAndBitsAsTheyWere)
{
    LongListHandle l = Numbered(40);
    LongLSetSelect(true, 7, l);
    for (int32_t after = 0; after < 4; ++after) {
        ScopedFault fault(FaultKind::Allocation, after, -1);
        const int32_t result = LongLAddRow(100, 3, l);
        if (result != -1) {
            EXPECT_GE(after, 2);  // the bits, both arrays and the rows each could fail
            break;
        }
        EXPECT_EQ(result, -1) << after;
        EXPECT_EQ(l->rowCount, 40);
        EXPECT_EQ(GetHandleSize(l->rows), 160);
        EXPECT_EQ(RowValue(l, 39), 39);
        int32_t r = 0;
        ASSERT_TRUE(LongLGetSelect(true, &r, l));
        EXPECT_EQ(r, 7);
        EXPECT_EQ(BitWords(l), 40 / 32 + 2);
    }
    LongLDispose(l);
}

TEST(LongListRows, ACountGivenAtCreationHasRowsBehindIt)
{
    const Rect view{0, 0, 160, 200};
    LongListHandle l = LongLNew(&view, 7, 3, Point{16, 200}, 0, nullptr, false, nullptr);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->rowLength, 4);  // odd lengths round up to even
    EXPECT_EQ(l->rowCount, 7);
    EXPECT_EQ(RowValue(l, 6), 0);
    EXPECT_GE(GetHandleSize(l->rows), 28);
    LongLDispose(l);
}

TEST(LongListRows, CellsSearchAndCopies)
{
    LongListHandle l = Numbered(6);
    int32_t v = 0x01020304;
    LongLSetCell(&v, 4, 2, l);
    char two[4] = {9, 9, 9, 9};
    int16_t length = 2;
    LongLGetCell(two, &length, 2, l);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(std::memcmp(two, &v, 2), 0);
    EXPECT_EQ(two[2], 9);
    length = 4;
    LongLGetCell(two, &length, 6, l);
    EXPECT_EQ(length, 0);

    // Text equality finds the row holding the key; a match procedure too.
    int32_t row = 0;
    EXPECT_TRUE(LongLSearch(&v, 4, nullptr, &row, l));
    EXPECT_EQ(row, 2);
    row = 3;
    EXPECT_FALSE(LongLSearch(&v, 4, nullptr, &row, l));
    auto odd = [](const void* data, const void*, int16_t, int16_t) -> int16_t {
        int32_t x;
        std::memcpy(&x, data, 4);
        return x == 5 ? 0 : 1;
    };
    row = 0;
    EXPECT_TRUE(LongLSearch(nullptr, 0, odd, &row, l));
    EXPECT_EQ(row, 5);
    row = -1;
    EXPECT_FALSE(LongLSearch(nullptr, 0, odd, &row, l));

    // A copy has the rows, the bits and the scroll state, and no last click.
    LongLSetSelect(true, 4, l);
    SetOpenCell(1, l, true);
    l->longValue = 3;
    l->firstVisible = 3;
    const Rect view{0, 0, 160, 200};
    const size_t handlesBefore = LiveHandleCount();
    LongListHandle copy = LongLNew(&view, 0, 4, Point{16, 200}, 0, nullptr, false, nullptr);
    copy->lastClick = 2;
    ASSERT_EQ(LongLCopyList(l, copy), noErr);
    EXPECT_EQ(copy->rowCount, 6);
    EXPECT_EQ(RowValue(copy, 5), 5);
    EXPECT_TRUE(IsOpenCell(1, copy));
    row = 0;
    ASSERT_TRUE(LongLGetSelect(true, &row, copy));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(copy->longValue, 3);
    EXPECT_EQ(copy->firstVisible, 3);
    EXPECT_EQ(copy->lastClick, -1);
    LongLSetCell(&row, 4, 5, copy);  // the rows are the copy's own
    EXPECT_EQ(RowValue(l, 5), 5);
    LongLDispose(copy);
    EXPECT_EQ(LiveHandleCount(), handlesBefore) << "the copy's former rows and bits are let go";
    LongLDispose(l);
}

TEST(LongListRows, TheRowPastTheLastCannotBeSelected)
{
    LongListHandle l = Numbered(5);
    LongLSetSelect(true, 5, l);
    EXPECT_EQ(LongLLastClick(l), -1);
    // A row added at the end starts clear.
    ASSERT_EQ(LongLAddRow(1, 5, l), 5);
    int32_t row = 0;
    EXPECT_FALSE(LongLGetSelect(true, &row, l));
    LongLDispose(l);
}

TEST(LongListRows, KeepingTheSelectionKeepsItsRowsInOrderAllSelected)
{
    LongListHandle l = Numbered(50);
    for (int32_t r : {3, 17, 18, 40}) LongLSetSelect(true, r, l);
    SetOpenCell(1, l, true);  // a row that goes: no kept row takes its open state
    {
        ScopedFault fault(FaultKind::Allocation, 0);
        EXPECT_EQ(LongLSeltoList(l), memFullErr);
        EXPECT_EQ(l->rowCount, 50);
    }
    ASSERT_EQ(LongLSeltoList(l), noErr);
    ASSERT_EQ(l->rowCount, 4);
    EXPECT_EQ(RowValue(l, 0), 3);
    EXPECT_EQ(RowValue(l, 1), 17);
    EXPECT_EQ(RowValue(l, 2), 18);
    EXPECT_EQ(RowValue(l, 3), 40);
    for (int32_t r = 0; r < 4; ++r) {
        int32_t x = r;
        EXPECT_TRUE(LongLGetSelect(false, &x, l));
    }
    EXPECT_TRUE(LongLMultSel(l));
    int32_t open = 0;
    EXPECT_FALSE(LongLGetOpen(true, &open, l));
    RazSelect(l);
    EXPECT_FALSE(LongLSel(l));
    LongLDispose(l);
}

// The first row holding an object, by walking.
int32_t Walk(const void* object, LongListHandle l)
{
    for (int32_t r = 0; r < l->rowCount; ++r)
        if (LongLRowObject(r, l) == object) return r;
    return -1;
}

TEST(LongListRows, FindingARowAgreesWithAWalkAfterEachOfAThousandEdits)
{
    const Rect view{0, 0, 160, 200};
    LongListHandle l = LongLNew(&view, 0, kObjectRowLength, Point{16, 200}, 0, nullptr, false, nullptr);
    int objects[12];  // rows hold their addresses; some twice, some not at all
    std::mt19937 random(2024);
    LongListHandle other = LongLNew(&view, 0, kObjectRowLength, Point{16, 200}, 0, nullptr, false, nullptr);
    for (int step = 0; step < 1000; ++step) {
        const int32_t rows = l->rowCount;
        switch (random() % 8) {
        case 0:
        case 1: LongLAddRow(int32_t(1 + random() % 3), int32_t(random() % (rows + 1)), l); break;
        case 2:
            if (rows) LongLDelRow(int32_t(1 + random() % 3), int32_t(random() % rows), l);
            break;
        case 3:
        case 4:
        case 5:
            if (rows) {
                void* p = random() % 6 ? &objects[random() % 12] : nullptr;
                LongLSetCell(&p, kObjectRowLength, int32_t(random() % rows), l);
            }
            break;
        case 6:
            // Many edits with no question between: the index is dropped.
            for (int k = 0; k < 20 && l->rowCount; ++k) LongLDelRow(1, int32_t(random() % l->rowCount), l);
            break;
        default:
            if (random() % 4 == 0 && rows) {
                LongLSetSelect(true, int32_t(random() % rows), l);
                ASSERT_EQ(LongLSeltoList(l), noErr);
            } else if (random() % 3 == 0) {
                ASSERT_EQ(LongLCopyList(l, other), noErr);
                std::swap(l, other);
            }
            break;
        }
        // Each object asked twice: the first question walks, the second
        // makes the index that the next edits keep up to date.
        for (int round = 0; round < 2; ++round)
            for (int& o : objects) ASSERT_EQ(LongLFindRow(&o, l), Walk(&o, l)) << "step " << step;
    }
    EXPECT_EQ(LongLFindRow(nullptr, l), -1);
    // Rows that hold nothing do not answer for no object, by walk or by index.
    LongListHandle empty = LongLNew(&view, 3, kObjectRowLength, Point{16, 200}, 0, nullptr, false, nullptr);
    for (int round = 0; round < 2; ++round) EXPECT_EQ(LongLFindRow(nullptr, empty), -1) << round;
    EXPECT_EQ(LongLFindRow(&objects[0], nullptr), -1);
    LongLDispose(empty);
    const Rect none{0, 0, 0, 0};
    LongListHandle narrow = LongLNew(&none, 2, 2, Point{16, 200}, 0, nullptr, false, nullptr);
    EXPECT_EQ(LongLFindRow(&objects[0], narrow), -1) << "rows too short to hold an object";
    LongLDispose(narrow);
    LongLDispose(l);
    LongLDispose(other);
}

TEST_F(LongListTest, ClicksSelectByModifiers)
{
    Make(40, 30);
    for (int32_t r = 5; r <= 8; ++r) LongLSetSelect(true, r, list);
    const auto start = Selection();
    DoSelect(20, kLongLShiftKey, list, true, LongLAnchor(20, list));
    EXPECT_EQ(Selection(), Range(5, 20));
    RazSelect(list);
    for (int32_t r = 5; r <= 8; ++r) LongLSetSelect(true, r, list);
    DoSelect(2, kLongLShiftKey, list, true, LongLAnchor(2, list));
    EXPECT_EQ(Selection(), Range(2, 8));

    // Command toggles one row only.
    DoSelect(4, kLongLCmdKey, list, false, 4);
    EXPECT_EQ(Selection(), (std::vector<int32_t>{2, 3, 5, 6, 7, 8}));
    // A plain click leaves just its row.
    DoSelect(6, 0, list, false, 6);
    EXPECT_EQ(Selection(), std::vector<int32_t>{6});
    // A click below the rows clears.
    DoSelect(-1, 0, list, false, -1);
    EXPECT_TRUE(Selection().empty());

    // A single-selection list takes shift and command as plain clicks.
    list->selFlags = kLongLSingleSelection;
    DoSelect(3, 0, list, true, 3);
    DoSelect(9, kLongLShiftKey, list, true, 3);
    EXPECT_EQ(Selection(), std::vector<int32_t>{9});
    DoSelect(12, kLongLCmdKey, list, true, 12);
    EXPECT_EQ(Selection(), std::vector<int32_t>{12});
}

TEST_F(LongListTest, ScrollValuesAreScaledBothWays)
{
    Make(100, 10);
    EXPECT_EQ(MaxCtlValue(list), 90);
    ControlRef bar = list->vScroll;
    ASSERT_NE(bar, nullptr);
    Rect bounds;
    GetControlBounds(bar, &bounds);
    EXPECT_EQ(bounds.left, 210);
    EXPECT_EQ(bounds.right, 226);
    EXPECT_EQ(bounds.top, 19);
    EXPECT_EQ(bounds.bottom, 181);

    SetLongCtlMax(bar, 100000);
    EXPECT_EQ(GetControlMaximum(bar), 25000);
    SetLongCtlValue(bar, 70001);
    EXPECT_EQ(GetControlValue(bar), 17500);
    EXPECT_EQ(GetLongCtlValue(bar), 70001);
    SetLongCtlValue(bar, 200000);
    EXPECT_EQ(GetLongCtlValue(bar), 100000);

    // The thumb at its end reaches the last row.
    SetLongCtlMax(bar, 70001);
    SetControlValue(bar, GetControlMaximum(bar));
    UpdateLongCtlValue(bar);
    EXPECT_EQ(GetLongCtlValue(bar), 70001);
    SetControlValue(bar, 0);
    UpdateLongCtlValue(bar);
    EXPECT_EQ(GetLongCtlValue(bar), 0);

    // Arrows step one row, pages the whole visible rows.
    SetLongCtlMax(bar, MaxCtlValue(list));
    SetLongCtlValue(bar, 0);
    ListTrackCtrAction(bar, kControlDownButtonPart);
    EXPECT_EQ(list->firstVisible, 1);
    ListTrackCtrAction(bar, kControlPageDownPart);
    EXPECT_EQ(list->firstVisible, 11);
    EXPECT_EQ(list->lastVisible, 21);
    ListTrackCtrAction(bar, kControlPageUpPart);
    ListTrackCtrAction(bar, kControlUpButtonPart);
    ListTrackCtrAction(bar, kControlUpButtonPart);
    EXPECT_EQ(list->firstVisible, 0);

    // A view of 48 pixels or less hides the bar.
    LongLSize(200, 46, list);
    EXPECT_FALSE(IsControlVisible(bar));
    LongLSize(200, 47, list);
    EXPECT_TRUE(IsControlVisible(bar));
    GetControlBounds(bar, &bounds);
    EXPECT_EQ(bounds.bottom - bounds.top, 49);
}

TEST_F(LongListTest, DrawingSendsOneMessagePerVisibleRowAndHilitesOnChangeOnly)
{
    Make(5, 8);
    LongLSetSelect(true, 1, list);
    gDrawCalls.clear();
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    PaintRect(&list->rView);
    LongLUpdate(nullptr, list);
    // Rows 0 to 4 get message 1; rows 5 to 8 are past the end (white).
    ASSERT_EQ(gDrawCalls.size(), 5u);
    for (int32_t r = 0; r < 5; ++r) {
        EXPECT_EQ(gDrawCalls[size_t(r)].message, kLongLDrawMsg);
        EXPECT_EQ(gDrawCalls[size_t(r)].row, r);
        EXPECT_EQ(gDrawCalls[size_t(r)].selected, r == 1);
        EXPECT_EQ(gDrawCalls[size_t(r)].cell.top, 20 + 16 * r);
    }
    RGBColor c;
    GetCPixel(50, 20 + 16 * 6 + 3, &c);
    EXPECT_EQ(c.green, 0xFFFF);  // past the end: white
    GetCPixel(50, 20 + 16 * 2 + 3, &c);
    EXPECT_EQ(c.green, 0);  // the procedure drew nothing there

    gDrawCalls.clear();
    LongLSetSelect(true, 1, list);  // no change: no message
    EXPECT_TRUE(gDrawCalls.empty());
    LongLSetSelect(true, 3, list);
    ASSERT_EQ(gDrawCalls.size(), 1u);
    EXPECT_EQ(gDrawCalls[0].message, kLongLHiliteMsg);
    EXPECT_TRUE(gDrawCalls[0].selected);

    // Inactive: the selected rows are sent again, not selected.
    gDrawCalls.clear();
    LongLActivate(false, list);
    ASSERT_EQ(gDrawCalls.size(), 2u);
    EXPECT_FALSE(gDrawCalls[0].selected);
    EXPECT_EQ(gDrawCalls[0].row, 1);
    EXPECT_EQ(gDrawCalls[1].row, 3);
    EXPECT_EQ(GetControlHilite(list->vScroll), 255);
    gDrawCalls.clear();
    LongLActivate(false, list);
    EXPECT_TRUE(gDrawCalls.empty());

    // Drawing off: nothing is sent.
    LongLDoDraw(false, list);
    LongLSetSelect(false, 3, list);
    LongLUpdate(nullptr, list);
    LongLDraw(2, list);
    EXPECT_TRUE(gDrawCalls.empty());
}

TEST_F(LongListTest, TheFirstRowDrawsSelectedAndRowsDrawInTheCallersResourceFile)
{
    platform::testing::TempFolder folder;
    const int16_t first = OpenTestResources(folder, "'STR#' 1 { \"a\" }\n");
    platform::testing::TempFolder other;
    const int16_t second = OpenTestResources(other, "'STR#' 2 { \"b\" }\n");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    static int16_t fileWhileDrawing;
    fileWhileDrawing = -1;
    Make(3, 5);
    list->drawProc = [](int16_t message, bool selected, const Rect* cell, int32_t row, int32_t, LongListHandle) {
        fileWhileDrawing = CurResFile();
        gDrawCalls.push_back(DrawCall{message, selected, row, *cell});
    };
    LongLSetSelect(true, 0, list);
    gDrawCalls.clear();
    // Without the application's file the rows draw in whichever file is current.
    const int16_t savedMain = G_MainResFile;
    G_MainResFile = 0;
    for (int16_t file : {first, second}) {
        UseResFile(file);
        gDrawCalls.clear();
        LongLDraw(0, list);
        ASSERT_EQ(gDrawCalls.size(), 1u);
        EXPECT_TRUE(gDrawCalls[0].selected);
        EXPECT_EQ(gDrawCalls[0].row, 0);
        EXPECT_EQ(fileWhileDrawing, file);
        EXPECT_EQ(CurResFile(), file);
    }
    // With it, they draw in the application's file and the caller's comes back.
    G_MainResFile = first;
    LongLDraw(1, list);
    EXPECT_EQ(fileWhileDrawing, first);
    EXPECT_EQ(CurResFile(), second);
    G_MainResFile = savedMain;
    CloseResFile(second);
    CloseResFile(first);
}

TEST_F(LongListTest, GeometryOfRowsAndTheirBoxes)
{
    Make(30, 10);
    objects[2] = FakeObject{1, true, true};
    objects[3] = FakeObject{0, true, false};
    const Rect r = GetCellRect(2, list);
    EXPECT_EQ(r.top, 52);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.bottom, 68);
    EXPECT_EQ(r.right, 210);
    const Rect none = GetCellRect(30, list);
    EXPECT_EQ(none.top | none.left | none.bottom | none.right, 0);

    int32_t row = -1;
    void* object = nullptr;
    GetMouseCell(Point{60, 100}, list, &row, &object);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(object, &objects[2]);
    GetMouseCell(Point{5, 100}, list, &row, &object);
    EXPECT_EQ(object, nullptr);

    // Outside the rows no box answers, whatever the flags held.
    bool drag = true, open = true, close = true;
    CellState(Point{5, 100}, list, &drag, &open, &close);
    EXPECT_FALSE(drag || open || close);
    CellState(Point{60, 12}, list, &drag, &open, &close);  // the disclosure box
    EXPECT_TRUE(open);
    EXPECT_FALSE(close);
    SetOpenCell(2, list, true);
    CellState(Point{60, 12}, list, &drag, &open, &close);
    EXPECT_TRUE(close);
    CellState(Point{60, 30}, list, &drag, &open, &close);  // level 1: the drag box moved right
    EXPECT_FALSE(drag);
    CellState(Point{60, 46}, list, &drag, &open, &close);
    EXPECT_TRUE(drag);
    CellState(Point{76, 30}, list, &drag, &open, &close);  // not draggable
    EXPECT_FALSE(drag);

    // Auto-scroll brings the first selected row to the top.
    LongLSetSelect(true, 25, list);
    LongLAutoScroll(list);
    EXPECT_EQ(list->firstVisible, 20);  // limited by the scroll maximum
    EXPECT_EQ(GetLongCtlValue(list->vScroll), 20);
}

}  // namespace
}  // namespace apptest
