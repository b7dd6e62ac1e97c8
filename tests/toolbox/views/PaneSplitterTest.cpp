// Pane splitters: scrolling kept in step along columns and rows, resizing
// with locked bars, splitting and joining rows and columns by command and
// with the mouse, and the refusals that keep the grid whole.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VMultiSplitBar.h"
#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"

using namespace viewstest;

namespace {

constexpr int32_t kWinX = 100, kWinY = 100;

// Content that shows where it is: 10-pixel bands whose colour follows the
// band's index along x and along y, so any misplaced pixel differs.
class Bands : public VFrame {
public:
    Bands(VView* parent, int32_t w, int32_t h) : VFrame(parent, nullptr)
    {
        SetPos(0, 0, kRedrawNone);
        SetSize(w, h, kRedrawNone);
    }
    void DoPaint(VPainter* p) override
    {
        for (int32_t y = 0; y < fHeight; y += 10)
            for (int32_t x = 0; x < fWidth; x += 10) {
                p->SetFillColor(uint32_t((x / 10) * 7 % 256) | (uint32_t((y / 10) * 13 % 256) << 8) | 0x800000u);
                p->FillVRect(x, y, 10, 10);
            }
    }
    VFrame* Clone(VView* parent, VPainter*) override { return new Bands(parent, fWidth, fHeight); }
};

class PaneSplitterTest : public ViewsTest {
protected:
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    // A 400 x 300 splitter with one pane showing a 2000 x 2000 view; with
    // content, banded, and a banded 20-pixel header that scrolls along.
    VPaneSplitter* Make(bool content = false)
    {
        window = MakeWindow(kWinX, kWinY, 700, 400);
        const VRect r(0, 0, 400, 300);
        splitter = new VPaneSplitter(window, &r);
        splitter->SetMinPaneSize(16);
        auto* pane = new VSplittedPane(splitter, true, true, true, true);
        auto* view = new VScrolledView(pane);
        pane->SetUserFrame(view, false);
        if (content) {
            new Bands(view, 2000, 2000);
            auto* header = new VScrolledView(pane);
            header->SetSize(10, 20, kRedrawNone);
            new Bands(header, 2000, 20);
            pane->SetTopFrame(header, false);
        }
        splitter->SetUserFrame(pane, true);
        view->SetVirtualSize(2000, 2000, true, kRedrawNone);
        return splitter;
    }
    // Columns 200 and 195, rows 150 and 145.
    VPaneSplitter* Make2x2(bool lockFirstColumn = false, bool lockLastColumn = false, bool content = false)
    {
        Make(content);
        EXPECT_TRUE(splitter->DoSplit(false, 1, 200, false, lockFirstColumn));
        EXPECT_TRUE(splitter->DoSplit(true, 1, 150, false, false));
        splitter->GetBars()->SetLastVBarLocked(lockLastColumn);
        return splitter;
    }
    VScrolledView* View(int16_t c, int16_t r)
    {
        VSplittedPane* pane = splitter->FindPane(c, r);
        return pane ? pane->GetUserFrame(false) : nullptr;
    }
    // Every pane sits where the bars say, the panes and bars tile the
    // splitter, and only the last row and column carry scroll bars.
    void ExpectTiled()
    {
        const VMultiSplitBar* bars = splitter->GetBars();
        const int16_t cols = splitter->GetColumnCount(), rows = splitter->GetRowCount();
        ASSERT_EQ(int32_t(splitter->GetPanes().size()), cols * rows);
        ASSERT_EQ(bars->CountVBars(), cols - 1);
        ASSERT_EQ(bars->CountHBars(), rows - 1);
        int64_t area = 0;
        for (int16_t c = 1; c <= cols; ++c)
            for (int16_t r = 1; r <= rows; ++r) {
                const VSplittedPane* p = splitter->FindPane(c, r);
                ASSERT_NE(p, nullptr) << c << "," << r;
                EXPECT_EQ(p->GetX(), c == 1 ? 0 : bars->GetVBarPos(int16_t(c - 1)) + 5) << c << "," << r;
                EXPECT_EQ(p->GetY(), r == 1 ? 0 : bars->GetHBarPos(int16_t(r - 1)) + 5) << c << "," << r;
                EXPECT_EQ(p->GetX() + p->GetWidth(), c == cols ? splitter->GetWidth() : bars->GetVBarPos(c));
                EXPECT_EQ(p->GetY() + p->GetHeight(), r == rows ? splitter->GetHeight() : bars->GetHBarPos(r));
                EXPECT_GE(p->GetWidth(), 0);
                EXPECT_GE(p->GetHeight(), 0);
                EXPECT_EQ(p->GetHScrollBar() != nullptr, r == rows) << c << "," << r;
                EXPECT_EQ(p->GetVScrollBar() != nullptr, c == cols) << c << "," << r;
                area += int64_t(p->GetWidth()) * p->GetHeight();
            }
        const int64_t barsArea = int64_t(cols - 1) * 5 * splitter->GetHeight() +
                                 int64_t(rows - 1) * 5 * splitter->GetWidth() - int64_t(cols - 1) * (rows - 1) * 25;
        EXPECT_EQ(area + barsArea, int64_t(splitter->GetWidth()) * splitter->GetHeight());
    }
    static void Drag(int32_t x, int32_t y, int32_t dx, int32_t dy)
    {
        platform::Script s;
        s.Press(int16_t(kWinX + x), int16_t(kWinY + y)).Wait(2);
        s.Move(int16_t(kWinX + x + dx / 2), int16_t(kWinY + y + dy / 2)).Wait(2);
        s.Move(int16_t(kWinX + x + dx), int16_t(kWinY + y + dy)).Wait(2).Release();
        RunScript(s);
    }
    VWindow* window = nullptr;
    VPaneSplitter* splitter = nullptr;
};

}  // namespace

TEST_F(PaneSplitterTest, ScrollingAPaneSidewaysMovesItsColumnAndThatColumnsBarOnly)
{
    Make2x2();
    ExpectTiled();
    EXPECT_EQ(splitter->GetPaneColWidth(1), 200);
    EXPECT_EQ(splitter->GetPaneColWidth(2), 195);
    EXPECT_EQ(splitter->GetPaneRowHeight(1), 150);
    EXPECT_EQ(splitter->GetPaneRowHeight(2), 145);

    // The right arrow of column 1's scroll bar, in the pane at (1, 2).
    const int32_t column2 = View(2, 1)->GetVirtualX();
    EXPECT_EQ(column2, 200 + 5) << "column 2 goes on after column 1";
    VSplittedPane* bottomLeft = splitter->FindPane(1, 2);
    const VScrollBar* bar = bottomLeft->GetHScrollBar();
    ASSERT_NE(bar, nullptr);
    const int32_t arrowX = bottomLeft->GetX() + bar->GetX() + bar->GetWidth() - 4;
    const int32_t arrowY = bottomLeft->GetY() + bar->GetY() + 8;
    RunScript(platform::Script().Click(int16_t(kWinX + arrowX), int16_t(kWinY + arrowY)));
    EXPECT_EQ(View(1, 1)->GetVirtualX(), 20);
    EXPECT_EQ(View(1, 2)->GetVirtualX(), 20);
    EXPECT_EQ(bottomLeft->GetHScrollBar()->GetValue(), 20);
    EXPECT_EQ(View(2, 1)->GetVirtualX(), column2) << "column 2 stays";
    EXPECT_EQ(View(2, 2)->GetVirtualX(), column2);
    EXPECT_EQ(splitter->FindPane(2, 2)->GetHScrollBar()->GetValue(), column2);

    // Vertically by command from a pane: its row follows, with the bar of
    // the row's last-column pane.
    splitter->DoCommand(splitter->FindPane(1, 2), vcmd::kScrollV, 30);
    EXPECT_EQ(View(1, 2)->GetVirtualY(), 150 + 5 + 30) << "below the first row, then scrolled";
    EXPECT_EQ(View(2, 2)->GetVirtualY(), View(1, 2)->GetVirtualY());
    EXPECT_EQ(View(1, 1)->GetVirtualY(), 0) << "row 1 stays";
    EXPECT_EQ(splitter->FindPane(2, 2)->GetVScrollBar()->GetValue(), View(2, 2)->GetVirtualY());
    EXPECT_EQ(View(1, 1)->GetVirtualX(), 20) << "the vertical step left the columns";

    // Painted at once: the pane and its neighbour show the same stripes.
    splitter->Redraw(kRedrawNow);
    const uint32_t line = paintertest::Pix(0x010000u + 10);
    EXPECT_EQ(Pixel(window, 204, 20), line) << "the vertical bar's far edge";
    EXPECT_EQ(Pixel(window, 20, 154), line) << "the horizontal bar's far edge";
    EXPECT_EQ(Pixel(window, 202, 20), paintertest::Pix(16 * 0x050301u)) << "the bar's panel";
}

TEST_F(PaneSplitterTest, AResizeScalesTheUnlockedColumnsAndAllOfThemWhenEveryColumnIsLocked)
{
    struct Case {
        bool lockFirst, lockLast;
        int32_t first, second;
        const char* what;
    } cases[] = {{false, false, 302, 293, "none locked: the remainder goes to column 1"},
                 {true, false, 200, 395, "column 1 locked"},
                 {false, true, 400, 195, "the last column locked"},
                 {true, true, 302, 293, "all locked: all scale"}};
    for (const Case& c : cases) {
        Make2x2(c.lockFirst, c.lockLast);
        splitter->SetSize(600, 300, kRedrawNone);
        EXPECT_EQ(splitter->GetPaneColWidth(1), c.first) << c.what;
        EXPECT_EQ(splitter->GetPaneColWidth(2), c.second) << c.what;
        EXPECT_EQ(splitter->GetPaneRowHeight(1), 150) << "the height did not change";
        ExpectTiled();
        splitter->SetSize(600, 600, kRedrawNone);
        EXPECT_EQ(splitter->GetPaneRowHeight(1), 303);
        EXPECT_EQ(splitter->GetPaneRowHeight(2), 292);
        ExpectTiled();
        // Too small for the bars: no pane goes below 0.
        splitter->SetSize(3, 3, kRedrawNone);
        for (const VSplittedPane* p : splitter->GetPanes()) {
            EXPECT_GE(p->GetWidth(), 0);
            EXPECT_GE(p->GetHeight(), 0);
        }
        delete window;
        window = nullptr;
    }
}

TEST_F(PaneSplitterTest, SplitsOutsideThePaneOrUnderTwiceTheMinimumAreRefusedAndTheActivePaneStays)
{
    Make();
    VSplittedPane* first = splitter->FindPane(1, 1);
    EXPECT_FALSE(splitter->DoSplit(true, 1, 0, false, false)) << "at 0";
    EXPECT_FALSE(splitter->DoSplit(true, 1, -3, false, false));
    EXPECT_FALSE(splitter->DoSplit(true, 1, 301, false, false)) << "past the pane";
    EXPECT_FALSE(splitter->DoSplit(true, 1, 300, false, false)) << "no room left for the bar";
    EXPECT_FALSE(splitter->DoSplit(true, 2, 50, false, false)) << "no such row";
    first->SetMinSize(-1, 148);
    EXPECT_FALSE(splitter->DoSplit(true, 1, 100, false, false)) << "(300 - 5) / 2 is under 148";
    EXPECT_EQ(splitter->GetRowCount(), 1);
    EXPECT_EQ(splitter->GetPanes().size(), 1u);
    EXPECT_EQ(splitter->GetBars()->CountHBars(), 0);
    first->SetMinSize(-1, 147);
    EXPECT_TRUE(splitter->DoSplit(true, 1, 100, false, false));
    EXPECT_EQ(splitter->FindPane(1, 1)->GetMinHeight(), 147) << "the new pane copies the minimum";
    for (VSplittedPane* p : splitter->GetPanes()) p->SetMinSize(-1, -1);

    // The active pane is the same pane after rows and columns move.
    ASSERT_TRUE(splitter->DoSplit(false, 1, 150, false, false));
    VSplittedPane* active = splitter->FindPane(2, 2);
    splitter->SetActivePane(active);
    EXPECT_TRUE(active->IsActivePane());
    ASSERT_TRUE(splitter->DoSplit(true, 1, 40, false, false));
    ASSERT_TRUE(splitter->DoSplit(false, 1, 60, false, false));
    EXPECT_EQ(splitter->GetActivePane(), active);
    EXPECT_EQ(active->GetColumn(), 3);
    EXPECT_EQ(active->GetRow(), 3);
    ExpectTiled();
    EXPECT_TRUE(splitter->DoUnSplit(true, 1));
    EXPECT_TRUE(splitter->DoUnSplit(false, 1));
    EXPECT_EQ(splitter->GetActivePane(), active);
    ExpectTiled();
    EXPECT_TRUE(splitter->DoUnSplit(true, 2)) << "the last row goes";
    EXPECT_EQ(splitter->GetActivePane(), splitter->FindPane(2, 1)) << "the survivor becomes active";
    ExpectTiled();
}

TEST_F(PaneSplitterTest, RemovingARowOrColumnTakesOnlyAnExistingOneAndNeverTheLast)
{
    Make();
    EXPECT_FALSE(splitter->DoUnSplit(true, 1)) << "one row only";
    EXPECT_FALSE(splitter->DoUnSplit(false, 1)) << "one column only";
    EXPECT_EQ(splitter->GetPanes().size(), 1u);
    ASSERT_TRUE(splitter->DoSplit(true, 1, 100, false, false));
    EXPECT_FALSE(splitter->DoUnSplit(true, 0));
    EXPECT_FALSE(splitter->DoUnSplit(true, 3));
    EXPECT_FALSE(splitter->DoUnSplit(true, -1));
    EXPECT_FALSE(splitter->DoUnSplit(false, 1)) << "one column still";
    EXPECT_EQ(splitter->GetRowCount(), 2);
    ExpectTiled();
    EXPECT_TRUE(splitter->DoUnSplit(true, 1));
    EXPECT_EQ(splitter->GetRowCount(), 1);
    ExpectTiled();
    EXPECT_EQ(splitter->FindPane(1, 1)->GetHScrollBar() != nullptr, true) << "the survivor shows the bar";
}

TEST_F(PaneSplitterTest, BarsMoveWithTheMouseAndCloseWhenDraggedIntoANeighboursMinimum)
{
    Make2x2();
    Drag(202, 50, 50, 0);
    EXPECT_EQ(splitter->GetPaneColWidth(1), 250);
    EXPECT_EQ(splitter->GetPaneColWidth(2), 145);
    ExpectTiled();

    // Past the dragger's limit the bar stops at the splitter's edge less
    // the bar and the scroll bar; within the minimum of column 2 it closes.
    Drag(252, 50, 300, 0);
    EXPECT_EQ(splitter->GetColumnCount(), 1) << "into column 2's minimum";
    ExpectTiled();

    // A new split dragged from the horizontal split area of a pane.
    VSplittedPane* pane = splitter->FindPane(1, 2);
    ASSERT_NE(pane->GetHSplitArea(), nullptr);
    const int32_t ax = pane->GetX() + pane->GetHSplitArea()->GetX() + 2;
    const int32_t ay = pane->GetY() + pane->GetHSplitArea()->GetY() + 8;
    Drag(ax, ay, 120, 0);
    EXPECT_EQ(splitter->GetColumnCount(), 2);
    EXPECT_EQ(splitter->GetPaneColWidth(1), 120);
    ExpectTiled();
    Drag(ax, ay, 8, 0);
    EXPECT_EQ(splitter->GetColumnCount(), 2) << "not past the minimum: no split";

    // A locked bar swallows the click; a double click closes a free one.
    splitter->DoSplit(true, 1, 60, false, true);
    EXPECT_EQ(splitter->GetRowCount(), 3);
    EXPECT_EQ(splitter->GetBars()->FindCursor(VPoint(10, 62)), 0u) << "locked: no cursor of its own";
    EXPECT_EQ(splitter->GetBars()->FindCursor(VPoint(122, 100)), kCursorVSplitBar);
    EXPECT_EQ(splitter->GetBars()->FindCursor(VPoint(300, 100)), 0u) << "beside the bar";
    Drag(10, 62, 0, 40);
    EXPECT_EQ(splitter->GetBars()->GetHBarPos(1), 60);
    VSystem system;
    VSystem* saved = gSystem;
    gSystem = &system;
    RunScript(platform::Script().DoubleClick(int16_t(kWinX + 10), int16_t(kWinY + 62)));
    EXPECT_EQ(splitter->GetRowCount(), 3) << "locked";
    RunScript(platform::Script().DoubleClick(int16_t(kWinX + 122), int16_t(kWinY + 100)));
    gSystem = saved;
    EXPECT_EQ(splitter->GetColumnCount(), 1);
    ExpectTiled();
}

TEST_F(PaneSplitterTest, AMovedBarNeverPassesTheBarBeforeIt)
{
    Make();
    splitter->SetMinPaneSize(0);
    ASSERT_TRUE(splitter->DoSplit(true, 1, 100, false, false));
    ASSERT_TRUE(splitter->DoSplit(true, 2, 100, false, false));
    ASSERT_EQ(splitter->GetBars()->GetHBarPos(2), 205);
    // Bar 2 to 2 pixels below bar 1: the row between would be -3 high.
    const uint32_t packed = (uint32_t(uint16_t(int16_t(-205))) << 16) | uint16_t(int16_t(102 - 205));
    splitter->DoCommand(splitter->GetBars(), vcmd::kSplitBarDragged, intptr_t(int32_t(packed)));
    EXPECT_EQ(splitter->GetRowCount(), 2) << "the squeezed row closes instead";
    ExpectTiled();
}

TEST_F(PaneSplitterTest, AScrollPaintedAtOncePaintsWhatAFullRepaintWould)
{
    for (const bool fast : {false, true}) {
        Make2x2(false, false, true);
        splitter->SetFastScrolling(fast);
        VSplittedPane* topLeft = splitter->FindPane(1, 1);
        ASSERT_NE(topLeft->GetTopFrame(), nullptr) << "the header stays with the top row";
        EXPECT_EQ(splitter->FindPane(1, 2)->GetTopFrame(), nullptr);
        ASSERT_NE(splitter->FindPane(2, 1)->GetTopFrame(), nullptr) << "copied for the new column";
        splitter->Redraw(kRedrawNow);

        splitter->DoCommand(topLeft, vcmd::kScrollV, 30);
        splitter->DoCommand(topLeft, vcmd::kScrollH, 40);
        auto* header = static_cast<VScrolledView*>(topLeft->GetTopFrame());
        EXPECT_EQ(header->GetVirtualX(), topLeft->GetUserFrame(false)->GetVirtualX()) << "the header follows";
        std::vector<uint32_t> scrolled;
        for (int32_t y = 0; y < 300; ++y)
            for (int32_t x = 0; x < 400; ++x) scrolled.push_back(Pixel(window, x, y));
        splitter->Redraw(kRedrawNow);
        int32_t differ = 0;
        for (int32_t y = 0, i = 0; y < 300; ++y)
            for (int32_t x = 0; x < 400; ++x, ++i) differ += scrolled[size_t(i)] != Pixel(window, x, y);
        EXPECT_EQ(differ, 0) << (fast ? "by pixel copy" : "by repainting the panes");
        // At (5, 25): content (45, 35), bands 4 and 3; pixels read as 0xRRGGBB.
        EXPECT_EQ(Pixel(window, 5, 25), (uint32_t(4 * 7) << 16) | (uint32_t(3 * 13) << 8) | 0x80u)
            << "the content under the header, scrolled";
        delete window;
        window = nullptr;
    }
}

TEST_F(PaneSplitterTest, AKilledBarTakesItsOwnLockAndAPaneGivenWithoutAResizeKeepsItsSize)
{
    Make();
    VMultiSplitBar* bars = splitter->GetBars();
    bars->AddHBar(50, false);
    bars->AddHBar(120, true);
    bars->AddHBar(200, false);
    bars->KillHBar(1);
    ASSERT_EQ(bars->CountHBars(), 2);
    EXPECT_EQ(bars->GetHBarPos(1), 120);
    EXPECT_TRUE(bars->IsHBarLocked(1));
    EXPECT_FALSE(bars->IsHBarLocked(2));
    bars->KillHBar(1);
    bars->KillHBar(1);

    // Laid out again at the same size, the bars stay.
    delete window;
    Make2x2();
    splitter->DoCommand(nullptr, vcmd::kRelayout, 0);
    EXPECT_EQ(splitter->GetBars()->GetVBarPos(1), 200);
    EXPECT_EQ(splitter->GetBars()->GetHBarPos(1), 150);
    ExpectTiled();
    // Only the last column and row make room for the scroll bars.
    int32_t l = 0, t = 0, r = 0, b = 0;
    splitter->GetSplitLimits(1, 1, l, t, r, b);
    EXPECT_EQ(r, 16);
    EXPECT_EQ(b, 16);
    splitter->GetSplitLimits(2, 2, l, t, r, b);
    EXPECT_EQ(r, 16 + 16);
    EXPECT_EQ(b, 16 + 16);

    // A clone takes the pane's place in the grid and its locks.
    VSplittedPane* original = splitter->FindPane(2, 2);
    original->SetHScrollBarLocked(true);
    original->SetVScrollBarLocked(true);
    auto* clone = static_cast<VSplittedPane*>(original->Clone(splitter, nullptr));
    EXPECT_EQ(clone->GetColumn(), 2);
    EXPECT_EQ(clone->GetRow(), 2);
    EXPECT_TRUE(clone->IsHScrollBarLocked());
    EXPECT_TRUE(clone->IsVScrollBarLocked());
    delete clone;

    // A pane on its own lays itself out when its view asks.
    {
        VSplittedPane alone(nullptr, true, true, true, true);
        alone.SetSize(120, 90, kRedrawNone);
        auto* shown = new VScrolledView(&alone);
        alone.SetUserFrame(shown, false);
        shown->SetVirtualSize(500, 500, true, kRedrawNone);
        EXPECT_EQ(alone.GetVScrollBar()->GetMax(), 500 - shown->GetHeight());
    }

    // A pane given without a resize keeps its size.
    auto* other = new VSplittedPane(splitter, true, true, true, true);
    other->SetSize(10, 10, kRedrawNone);
    splitter->SetUserFrame(other, false);
    EXPECT_EQ(other->GetWidth(), 10);
}
