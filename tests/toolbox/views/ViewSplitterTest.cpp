// View splitters: new splits dragged from a split area, moving and
// removing a split with the mouse, the clamps that keep panes from going
// negative, the layout of frames, gadgets and corners, and painting.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include <set>

#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VSplitDragger.h"
#include "toolbox/views/VViewSplitter.h"

using namespace viewstest;

namespace {

constexpr int32_t kWinX = 100, kWinY = 100;

// Pixels the drag feedback left over the window's part of the screen.
int32_t OverlayMarks()
{
    return paintertest::CountNot(platform::GetOverlayPort(), 0x000000, kWinX, kWinY, kWinX + 300, kWinY + 500);
}

// A split dragger that notes what the screen shows after each move: the
// pixels of its image and their colours.
struct NotingSplitDragger : VSplitDragger {
    using VSplitDragger::VSplitDragger;
    void DoMove(VFrame* from, VFrame* to, int32_t dx, int32_t dy, DragDropInfo& info) override
    {
        VSplitDragger::DoMove(from, to, dx, dy, info);
        marks.push_back(OverlayMarks());
        for (int32_t x = kWinX; x < kWinX + 8; ++x)
            for (int32_t y = kWinY; y < kWinY + 100; ++y)
                if (uint32_t p = paintertest::PixelAt(platform::GetOverlayPort(), x, y)) colours.insert(p);
    }
    std::vector<int32_t> marks;
    std::set<uint32_t> colours;
};

// A frame whose click drags a 100 x 4 bar from 50 between 0 and 100.
struct BarSource : Probe {
    using Probe::Probe;
    bool DoLeftMouse(VClic& clic) override
    {
        NotingSplitDragger dragger(this, clic, true, 50, 0, 100, VRect(0, 50, 100, 4));
        dragger.RunTheOldWay();
        marks = dragger.marks;
        colours = dragger.colours;
        position = dragger.GetPosition();
        return true;
    }
    std::vector<int32_t> marks;
    std::set<uint32_t> colours;
    int32_t position = 0;
};

class ViewSplitterTest : public ViewsTest {
protected:
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    // A 200 x `height` splitter at the window's top left with a vertical
    // scroll bar, its split area, and a focusable view 2000 high.
    VViewSplitter* Make(int32_t height = 200, bool horizontalBar = false)
    {
        window = MakeWindow(kWinX, kWinY, 300, 500);
        splitter = new VViewSplitter(window, true, horizontalBar, true, horizontalBar);
        view = new VScrolledView(splitter);
        splitter->SetUserFrame(view, false);
        splitter->SetSize(200, height, kRedrawNone);
        view->SetVirtualSize(200, 2000, true, kRedrawNone);
        view->SetFocusable(true);
        return splitter;
    }
    // Drags with the mouse from (x, y) by dy (window content coordinates).
    static void DragDown(int32_t x, int32_t y, int32_t dy)
    {
        platform::Script s;
        s.Press(int16_t(kWinX + x), int16_t(kWinY + y)).Wait(2);
        s.Move(int16_t(kWinX + x), int16_t(kWinY + y + dy / 2)).Wait(2);
        s.Move(int16_t(kWinX + x), int16_t(kWinY + y + dy)).Wait(2).Release();
        RunScript(s);
    }
    static void ExpectRect(const VFrame* f, int32_t x, int32_t y, int32_t w, int32_t h, const char* what)
    {
        ASSERT_NE(f, nullptr) << what;
        EXPECT_EQ(f->GetX(), x) << what;
        EXPECT_EQ(f->GetY(), y) << what;
        EXPECT_EQ(f->GetWidth(), w) << what;
        EXPECT_EQ(f->GetHeight(), h) << what;
    }
    VWindow* window = nullptr;
    VViewSplitter* splitter = nullptr;
    VScrolledView* view = nullptr;
};

}  // namespace

TEST_F(ViewSplitterTest, ADragFromTheSplitAreaSplitsOnlyPastFivePixelsAndPanesKeepTheirShareOnResize)
{
    Make(200);
    ASSERT_NE(splitter->GetVSplitArea(), nullptr);
    ExpectRect(splitter->GetVSplitArea(), 184, 0, 16, 5, "area above the bar");
    ExpectRect(splitter->GetVScrollBar(), 184, 5, 16, 195, "bar below the area");

    DragDown(190, 2, 5);
    EXPECT_FALSE(splitter->IsSplit()) << "five pixels are not a split";
    EXPECT_EQ(OverlayMarks(), 0) << "the bar's image is gone after the drag";

    DragDown(190, 2, 60);
    ASSERT_TRUE(splitter->IsSplit());
    EXPECT_TRUE(splitter->IsStacked());
    ExpectRect(splitter->GetFirstSplitter(), 0, 0, 200, 60, "first pane 0-59");
    ExpectRect(splitter->GetSplitBar(), 0, 60, 200, 5, "bar");
    ExpectRect(splitter->GetSecondSplitter(), 0, 65, 200, 135, "second pane 65-199");
    EXPECT_EQ(splitter->GetUserFrame(false), view) << "the first pane keeps the view";
    VScrolledView* second = splitter->GetSecondSplitter()->GetUserFrame(false);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second, view);
    EXPECT_EQ(second->GetVirtualY(), 60) << "the second pane continues the first";
    EXPECT_EQ(second->GetVirtualHeight(), 2000);
    EXPECT_EQ(splitter->GetSecondSplitter()->GetVScrollBar()->GetValue(), 60);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetParentSplitter(), splitter);
    EXPECT_EQ(OverlayMarks(), 0);

    splitter->SetSize(200, 400, kRedrawNone);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 120);
    EXPECT_EQ(splitter->GetSplitBar()->GetHeight(), 5);
    ExpectRect(splitter->GetSecondSplitter(), 0, 125, 200, 275, "second takes the rest");
    ExpectRect(splitter->GetSecondSplitter()->GetVScrollBar(), 184, 5, 16, 270, "the second pane's own layout");
}

TEST_F(ViewSplitterTest, DraggingTheBarMovesItAndNearAnEdgeRemovesThatPaneKeepingTheFocus)
{
    Make(200);
    ASSERT_TRUE(splitter->Split(true, 100));
    ASSERT_TRUE(view->AskFocus());
    EXPECT_EQ(splitter->GetUserFrame(true), view) << "the focused view of the tree";

    DragDown(50, 102, 30);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 130);
    ExpectRect(splitter->GetSecondSplitter(), 0, 135, 200, 65, "moved along");
    EXPECT_EQ(OverlayMarks(), 0);

    VScrolledView* second = splitter->GetSecondSplitter()->GetUserFrame(false);
    DragDown(50, 132, -120);
    EXPECT_FALSE(splitter->IsSplit()) << "within 16 pixels of the top: the first pane goes";
    EXPECT_EQ(splitter->GetUserFrame(false), second);
    EXPECT_EQ(window->GetFocusFrame(), second) << "the focus moved to the pane that stays";
    EXPECT_EQ(splitter->GetSplitBar(), nullptr);
    ExpectRect(second, 0, 0, 184, 200, "the kept view fills the splitter");
    ExpectRect(splitter->GetVScrollBar(), 184, 5, 16, 195, "its bar comes back to the splitter");
    ASSERT_NE(splitter->GetVSplitArea(), nullptr);

    // Near the bottom the second pane goes; a double click keeps the second.
    ASSERT_TRUE(splitter->Split(true, 100));
    DragDown(50, 102, 85);
    EXPECT_FALSE(splitter->IsSplit()) << "less than 16 left below the bar";
    EXPECT_EQ(splitter->GetUserFrame(false), second);
    ASSERT_TRUE(splitter->Split(true, 100));
    VScrolledView* lower = splitter->GetSecondSplitter()->GetUserFrame(false);
    VSystem system;
    VSystem* saved = gSystem;
    gSystem = &system;  // counts the clicks
    RunScript(platform::Script().DoubleClick(int16_t(kWinX + 50), int16_t(kWinY + 102)));
    gSystem = saved;
    EXPECT_FALSE(splitter->IsSplit());
    EXPECT_EQ(splitter->GetUserFrame(false), lower);
}

TEST_F(ViewSplitterTest, SplitsAndMovesNeverMakeANegativePaneAndAMinimumRefusesTooSmallASplit)
{
    Make(200);
    // No minimum: the first pane stops where the bar still fits.
    ASSERT_TRUE(splitter->Split(true, 199));
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 195);
    EXPECT_EQ(splitter->GetSecondSplitter()->GetHeight(), 0);
    splitter->MoveSplit(1000);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 195);
    splitter->MoveSplit(-1000);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 0);
    EXPECT_EQ(splitter->GetSecondSplitter()->GetHeight(), 195);
    splitter->MoveSplit(50);
    splitter->SetSize(200, 3, kRedrawNone);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 0) << "too small for the bar";
    EXPECT_EQ(splitter->GetSecondSplitter()->GetHeight(), 0);
    EXPECT_GE(splitter->GetFirstSplitter()->GetUserFrame(false)->GetHeight(), 0);
    splitter->SetSize(200, 200, kRedrawNone);
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight() + 5 + splitter->GetSecondSplitter()->GetHeight(), 200);
    splitter->UnSplit(false);

    // A minimum (-1 is none) holds both panes at it, and refuses a split
    // whose halves would be smaller.
    splitter->SetMinSize(-1, 98);
    EXPECT_FALSE(splitter->Split(true, 100)) << "(200 - 5) / 2 is below 98";
    EXPECT_EQ(splitter->GetVSplitArea()->GetX(), 184) << "half the height is above 98: the area shows";
    splitter->SetMinSize(-1, 100);
    splitter->ResetSize(kRedrawNone);
    EXPECT_FALSE(splitter->Split(true, 100));
    EXPECT_FALSE(splitter->IsSplit());
    EXPECT_EQ(splitter->GetUserFrame(false), view);
    ExpectRect(view, 0, 0, 184, 200, "unchanged");
    EXPECT_EQ(splitter->GetVSplitArea()->GetX(), -1000) << "no room to split: the area is parked";
    splitter->SetMinSize(-1, 90);
    ASSERT_TRUE(splitter->Split(true, 10));
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 90);
    splitter->MoveSplit(1000);
    EXPECT_EQ(splitter->GetSecondSplitter()->GetHeight(), 90) << "the shrinking pane keeps its minimum";
    splitter->UnSplit(true);
    ASSERT_TRUE(splitter->Split(true, 199));
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHeight(), 105);
}

TEST_F(ViewSplitterTest, FramesGadgetsAndCornersTakeTheirPlacesAndAHiddenBarsGadgetIsParked)
{
    Make(200);
    auto* top = new Probe(splitter, 0, 0, 10, 20);
    auto* left = new Probe(splitter, 0, 0, 30, 10);
    auto* corner = new Probe(splitter, 0, 0, 1, 1);
    auto* bottomGadget = new Probe(splitter, 0, 0, 40, 1);
    auto* rightGadget = new Probe(splitter, 0, 0, 1, 12);
    splitter->SetTopFrame(top, false);
    splitter->SetTopLeftFrame(corner, false);
    splitter->SetBottomGadget(bottomGadget, false);
    splitter->SetRightGadget(rightGadget, false);
    splitter->SetCornerMode(kCornerTopLeft, 2);
    splitter->ResetSize(kRedrawNone);

    ExpectRect(bottomGadget, -1000, -1000, 0, 0, "no horizontal bar");
    ExpectRect(rightGadget, 184, 0, 16, 12, "above the vertical bar");
    ExpectRect(splitter->GetVSplitArea(), 184, 12, 16, 5, "after the right gadget");
    ExpectRect(splitter->GetVScrollBar(), 184, 17, 16, 183, "after the area");
    ExpectRect(view, 0, 20, 184, 180, "below the top frame");
    ExpectRect(corner, 0, 0, 20, 20, "mode 2: top frame and no side frame");
    ExpectRect(top, 20, 0, 164, 20, "after the corner");

    splitter->SetLeftFrame(left, true);
    ExpectRect(corner, -1000, -1000, 0, 0, "mode 2 with a side frame: none");
    ExpectRect(left, 0, 20, 30, 180, "below the top frame");
    ExpectRect(view, 30, 20, 154, 180, "");
    ExpectRect(top, 30, 0, 154, 20, "after the left frame");

    splitter->ShowTopFrame(false, true);
    EXPECT_FALSE(splitter->IsTopFrameVisible());
    ExpectRect(view, 30, 0, 154, 200, "a hidden frame takes no room");
    splitter->ShowLeftFrame(false, true);
    ExpectRect(corner, -1000, -1000, 0, 0, "mode 2 without a top frame: none");
    splitter->ShowTopFrame(true, true);
    ExpectRect(corner, 0, 0, 20, 20, "");

    // Corner modes over the four combinations of edge frames (e top, s left).
    struct Case {
        uint8_t mode;
        bool top, left;
        int32_t w, h;
    } cases[] = {{0, true, true, 30, 20},  {0, false, true, 0, 0},  {1, true, false, 0, 0}, {1, false, true, 30, 30},
                 {3, false, true, 30, 30}, {3, true, true, 0, 0},   {4, true, false, 20, 20}, {4, true, true, 30, 20},
                 {5, true, false, 0, 0},   {5, true, true, 30, 20}};
    for (const Case& c : cases) {
        splitter->SetCornerMode(kCornerTopLeft, c.mode);
        splitter->ShowTopFrame(c.top, false);
        splitter->ShowLeftFrame(c.left, true);
        EXPECT_EQ(corner->GetWidth(), c.w) << "mode " << int(c.mode) << " top " << c.top << " left " << c.left;
        EXPECT_EQ(corner->GetHeight(), c.h) << "mode " << int(c.mode) << " top " << c.top << " left " << c.left;
    }

    // Replacing a frame deletes the old one; a split pane copies frames.
    auto* other = new Probe(splitter, 0, 0, 10, 8);
    splitter->SetTopFrame(other, true);
    EXPECT_EQ(splitter->GetTopFrame(), other);
    ASSERT_TRUE(splitter->Split(false, 80));
    EXPECT_EQ(splitter->GetTopFrame(), nullptr) << "frames live in the leaves";
    EXPECT_EQ(splitter->GetFirstSplitter()->GetTopFrame(), other);
    ASSERT_NE(splitter->GetSecondSplitter()->GetTopFrame(), nullptr);
    EXPECT_NE(splitter->GetSecondSplitter()->GetTopFrame(), other);
    auto* late = new Probe(splitter, 0, 0, 10, 8);
    splitter->SetTopFrame(late, true);
    EXPECT_EQ(splitter->GetTopFrame(), nullptr) << "a split node takes no frames";

    // Joined again, the pane that stays brings its top frame back.
    splitter->UnSplit(false);
    EXPECT_EQ(splitter->GetTopFrame(), other);
}

TEST_F(ViewSplitterTest, TheBarAndTheAreaPaintTheirStandardParts)
{
    Make(200);
    ASSERT_TRUE(splitter->Split(true, 100));
    splitter->Redraw(kRedrawNow);
    const uint32_t panel = paintertest::Pix(16 * 0x050301u);
    const uint32_t line = paintertest::Pix(0x010000u + 10);
    const uint32_t area = paintertest::Pix(24 * 0x050301u);
    for (int32_t y = 100; y < 104; ++y) EXPECT_EQ(Pixel(window, 50, y), panel) << y;
    for (int32_t x : {0, 50, 199}) {
        EXPECT_EQ(Pixel(window, x, 103), panel) << x;
        EXPECT_EQ(Pixel(window, x, 104), line) << "a line along the bar's far edge " << x;
    }
    EXPECT_EQ(Pixel(window, 190, 2), area) << "the first pane's split area";
    EXPECT_EQ(Pixel(window, 190, 107), area) << "the second pane's split area";
    delete window;

    // Side by side: the panel from the top row, the line down the right edge.
    Make(200, true);
    ASSERT_TRUE(splitter->Split(false, 100));
    splitter->Redraw(kRedrawNow);
    const VFrame* bar = splitter->GetSplitBar();
    ASSERT_NE(bar, nullptr);
    const int32_t left = bar->GetX(), right = bar->GetX() + bar->GetWidth() - 1, bottom = bar->GetHeight() - 1;
    for (int32_t y : {0, 50, bottom}) {
        EXPECT_EQ(Pixel(window, right - 1, y), panel) << y;
        EXPECT_EQ(Pixel(window, right, y), line) << y;
    }
    EXPECT_EQ(Pixel(window, left, 0), panel);
}

TEST_F(ViewSplitterTest, SplitHandlesShowTheApplicationsSplitCursors)
{
    // The application's own cursors.
    const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
    std::ifstream in(std::string(root ? root : ".") + "/resources/app/appdefaults.r");
    std::stringstream text;
    text << in.rdbuf();
    platform::ResourceFileImage image;
    std::string error;
    ASSERT_TRUE(rescompile::CompileSource(text.str(), "appdefaults.r", &image, &error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
    const std::string path = dir / "appdefaults.rsrc";
    ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
    ASSERT_NE(platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data), -1);
    for (uint32_t id : {kCursorColumnResize, kCursorRowResize, kCursorVSplitBar, kCursorHSplitBar}) {
        gCursor->SetCursor(id);
        EXPECT_EQ(gCursor->GetShownCursor(), id) << id;
    }

    Make(200, true);
    auto at = [&](int32_t x, int32_t y) {
        VClic c(x, y);
        c.SetUp(true);
        window->DoCursor(c);
        return gCursor->GetShownCursor();
    };
    EXPECT_EQ(at(190, 2), kCursorHSplitBar) << "the vertical bar's area splits into stacked panes";
    EXPECT_EQ(at(2, 190), kCursorVSplitBar) << "the horizontal bar's area splits side by side";
    EXPECT_EQ(at(50, 50), kCursorArrow);
    ASSERT_TRUE(splitter->Split(false, 80));
    EXPECT_EQ(at(82, 50), kCursorVSplitBar);

    // The bars of a pane grid: over a free bar its cursor, a locked one none.
    const VRect r(220, 0, 80, 300);
    auto* grid = new VPaneSplitter(window, &r);
    auto* pane = new VSplittedPane(grid, true, true, false, false);
    pane->SetUserFrame(new VScrolledView(pane), false);
    grid->SetUserFrame(pane, true);
    ASSERT_TRUE(grid->DoSplit(true, 1, 100, false, false));
    ASSERT_TRUE(grid->DoSplit(true, 2, 100, false, true));
    EXPECT_EQ(at(230, 102), kCursorHSplitBar);
    EXPECT_EQ(at(230, 50), kCursorArrow);
    EXPECT_EQ(at(230, 207), kCursorArrow) << "locked";
}

TEST_F(ViewSplitterTest, ASplitDragShowsTheBarsGreyImageWhereTheMouseTookItAndNoneAfter)
{
    window = MakeWindow(kWinX, kWinY, 300, 500);
    auto* source = new BarSource(window, 0, 0, 100, 100);
    platform::Script s;
    s.Press(int16_t(kWinX + 10), int16_t(kWinY + 52)).Wait(2).Move(int16_t(kWinX + 10), int16_t(kWinY + 62)).Wait(2);
    s.Move(int16_t(kWinX + 10), int16_t(kWinY + 62)).Wait(2).Release();
    RunScript(s);
    EXPECT_EQ(source->position, 60);
    // One move that changes the place; the grey pattern covers half the bar.
    EXPECT_EQ(source->marks, std::vector<int32_t>{100 * 4 / 2});
    EXPECT_EQ(source->colours, std::set<uint32_t>{0xFFFFFF});
    EXPECT_EQ(OverlayMarks(), 0);
}

TEST_F(ViewSplitterTest, TheBottomFrameSitsUnderTheViewAndFollowsItSidewaysOnlyAndANarrowSplitterParksItsArea)
{
    Make(200, true);
    view->SetVirtualSize(2000, 2000, true, kRedrawNone);
    auto* bottom = new VScrolledView(splitter);
    bottom->SetSize(10, 20, kRedrawNone);
    splitter->SetBottomFrame(bottom, false);
    auto* left = new VScrolledView(splitter);
    left->SetSize(30, 10, kRedrawNone);
    splitter->SetLeftFrame(left, false);
    splitter->ResetSize(kRedrawNone);
    EXPECT_EQ(left->GetVirtualHeight(), 2000) << "a side frame follows the view's height";
    const VRect bar = VRect(splitter->GetHScrollBar()->GetX(), splitter->GetHScrollBar()->GetY(), 0, 0);
    ExpectRect(bottom, 30, bar.GetTop() - 20, 154, 20, "above the horizontal bar");
    EXPECT_EQ(view->GetY() + view->GetHeight(), bar.GetTop() - 20);
    EXPECT_EQ(bottom->GetVirtualWidth(), 2000);
    // Moved only, or moved on screen by the fast scroll.
    for (const bool fast : {false, true}) {
        splitter->SetFastScroll(fast);
        splitter->Scroll(40, 30, fast ? kRedrawNow : kRedrawNone);
        EXPECT_EQ(bottom->GetVirtualX(), view->GetVirtualX()) << fast;
        EXPECT_EQ(bottom->GetVirtualY(), 0) << "a bottom frame does not scroll up and down" << fast;
    }
    EXPECT_EQ(view->GetVirtualY(), 60);

    // Split side by side, the first pane keeps the horizontal bar.
    VScrollBar* hBar = splitter->GetHScrollBar();
    ASSERT_TRUE(splitter->Split(false, 90));
    EXPECT_EQ(splitter->GetFirstSplitter()->GetHScrollBar(), hBar);
    splitter->UnSplit(false);

    // Half the width within the minimum: no room for a split area.
    splitter->SetMinSize(150, -1);
    splitter->ResetSize(kRedrawNone);
    ExpectRect(splitter->GetHSplitArea(), -1000, -1000, 0, 0, "parked");
}
