// Scrollers: layout of the bars, limits, the thumb, tracking an arrow and
// the fast scroll.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "platform/drawing/GWorlds.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewScroller.h"

using namespace viewstest;

namespace {

struct Step {
    uint32_t ticks;
    int32_t dy;
};

class RecordingScroller : public VViewScroller {
public:
    using VViewScroller::VViewScroller;
    void Scroll(int32_t dx, int32_t dy, RedrawMode mode) override
    {
        steps.push_back({platform::TickCount(), dy});
        stepOpen.push_back(HasStepOpen());
        VViewScroller::Scroll(dx, dy, mode);
    }
    std::vector<Step> steps;
    std::vector<bool> stepOpen;
};

class ScrollTest : public ViewsTest {
protected:
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    // A window holding one scroller of w x h at its top left, with a view
    // of virtual height `virtualHeight`.
    RecordingScroller* Make(int32_t w, int32_t h, bool vertical, bool horizontal, int32_t virtualHeight,
                            bool growIcon = false)
    {
        window = new VWindow(nullptr, 5, growIcon, false, false);
        window->SetPos(100, 100, kRedrawNone);
        window->SetSize(w, h, kRedrawNone);
        window->SetVisible(true);
        auto* scroller = new RecordingScroller(window, vertical, horizontal, false);
        view = new VScrolledView(scroller);
        scroller->SetUserFrame(view, false);
        scroller->SetSize(w, h, kRedrawNone);
        view->SetVirtualSize(w, virtualHeight, true, kRedrawNone);
        return scroller;
    }
    VWindow* window = nullptr;
    VScrolledView* view = nullptr;
};

void ExpectRect(const VFrame* f, int32_t x, int32_t y, int32_t w, int32_t h)
{
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetX(), x);
    EXPECT_EQ(f->GetY(), y);
    EXPECT_EQ(f->GetWidth(), w);
    EXPECT_EQ(f->GetHeight(), h);
}

}  // namespace

TEST_F(ScrollTest, TwoBarsOverlapByOnePixelAndAGrowIconShortensALoneBar)
{
    RecordingScroller* s = Make(200, 100, true, true, 1000);
    ExpectRect(s->GetVScrollBar(), 184, 0, 16, 85);
    ExpectRect(s->GetHScrollBar(), 0, 84, 185, 16);
    ExpectRect(view, 0, 0, 184, 84);
    delete window;

    s = Make(200, 100, true, false, 1000, true);
    ExpectRect(s->GetVScrollBar(), 184, 0, 16, 84);
    EXPECT_EQ(s->GetHScrollBar(), nullptr);

    // A bound width always equals the view's: the horizontal bar is off.
    delete window;
    s = Make(200, 100, true, true, 1000);
    view->SetVirtualWidth(-1, true, kRedrawNone);
    EXPECT_EQ(view->GetVirtualWidth(), view->GetWidth());
    EXPECT_FALSE(s->GetHScrollBar()->IsEnabled());
    EXPECT_TRUE(s->GetVScrollBar()->IsEnabled());
}

TEST_F(ScrollTest, ScrollingStopsAtBothEndsAndKeysScrollByTheirAmounts)
{
    RecordingScroller* s = Make(100, 100, false, false, 1000);
    EXPECT_EQ(view->CallAdjustVAmount(-20), 0) << "up at 0";
    EXPECT_EQ(view->CallAdjustVAmount(2000), 900);
    s->Scroll(0, 2000, kRedrawInval);
    EXPECT_EQ(view->GetVirtualY(), 900);
    EXPECT_EQ(view->CallAdjustVAmount(20), 0) << "down at the end";

    VKeySwitch key;
    ASSERT_TRUE(key.FromEvent(KeyEvent(1, 0x73), false));  // home
    EXPECT_TRUE(view->DoScrollKey(key));
    EXPECT_EQ(view->GetVirtualY(), 0);
    ASSERT_TRUE(key.FromEvent(KeyEvent(4, 0x77), false));  // end
    EXPECT_TRUE(view->DoScrollKey(key));
    EXPECT_EQ(view->GetVirtualY(), 900);
    ASSERT_TRUE(key.FromEvent(KeyEvent(11, 0x74), false));  // page up
    EXPECT_TRUE(view->DoScrollKey(key));
    EXPECT_EQ(view->GetVirtualY(), 810);
    ASSERT_TRUE(key.FromEvent(KeyEvent('a', 0x00), false));
    EXPECT_FALSE(view->DoScrollKey(key));

    // The offset never passes the last page: the view is never left empty.
    view->SetVirtualPos(0, 5000, false, kRedrawNone);
    EXPECT_EQ(view->GetVirtualY(), 900);
    view->SetVirtualPos(-4, -4, false, kRedrawNone);
    EXPECT_EQ(view->GetVirtualY(), 0);
}

TEST_F(ScrollTest, TheThumbShowsValueOverMaximumAndRestsAtTheStartWithNothingToScroll)
{
    RecordingScroller* s = Make(200, 100, true, true, 984);
    VScrollBar* bar = s->GetVScrollBar();
    ExpectRect(bar, 184, 0, 16, 85);
    EXPECT_EQ(bar->GetMax(), 900);
    EXPECT_EQ(bar->GetThumbLength(), 16);
    EXPECT_EQ(bar->GetTrackLength(), 39);
    int32_t start = 0, length = 0;
    bar->SetScroll(450, kRedrawNone);
    bar->GetThumbCoords(start, length);
    EXPECT_EQ(start - 15, 19);
    bar->SetMax(0, kRedrawNone);
    EXPECT_EQ(bar->GetValue(), 0);
    bar->GetThumbCoords(start, length);
    EXPECT_EQ(start, 15);
    // Too short for its arrows and thumb: no travel and no tracking.
    bar->SetMax(900, kRedrawNone);
    bar->SetSize(16, 40, kRedrawNone);
    EXPECT_LE(bar->GetTrackLength(), 0);
    bar->SetScroll(450, kRedrawNone);
    bar->GetThumbCoords(start, length);
    EXPECT_EQ(start, 15);
    VClic c(8, 20);
    EXPECT_TRUE(bar->DoLeftMouse(c));
    EXPECT_TRUE(s->steps.empty());
    // A page known, the thumb keeps the look's size: this look's thumbs are
    // not proportional.
    bar->SetSize(16, 85, kRedrawNone);
    bar->SetRange(900, kRedrawNone);
    EXPECT_EQ(bar->GetThumbLength(), 16);
}

TEST_F(ScrollTest, HoldingTheDownArrowStepsOnceWaitsTenTicksThenRepeats)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    // The down arrow is the bar's last 16 pixels: (184..200, 84..100).
    RunScript(platform::Script().Press(100 + 190, 100 + 92).Wait(14).Release());
    ASSERT_GE(s->steps.size(), 3u);
    EXPECT_EQ(s->steps[0].dy, 20);
    EXPECT_GE(s->steps[1].ticks - s->steps[0].ticks, 10u);
    EXPECT_LE(s->steps[1].ticks - s->steps[0].ticks, 14u);
    EXPECT_LT(s->steps[2].ticks - s->steps[1].ticks, 10u) << "then repeats without the wait";
    for (bool open : s->stepOpen) EXPECT_TRUE(open) << "every step paints into the open step";
    EXPECT_FALSE(s->HasStepOpen()) << "the release ends the step";
    EXPECT_FALSE(window->IsPainterLent());
    EXPECT_EQ(view->GetVirtualY(), 20 * int32_t(s->steps.size()));
    EXPECT_EQ(s->GetVScrollBar()->GetValue(), view->GetVirtualY());
    EXPECT_EQ(s->GetVScrollBar()->GetPressedPart(), 0);
}

TEST_F(ScrollTest, AFastScrollEqualsAFullRepaintAndPaintsOnlyTheUncoveredStrip)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    std::vector<Probe*> rows;
    for (int i = 0; i < 20; ++i)
        rows.push_back(new Probe(view, 0, i * 50, 184, 50, uint32_t(0x101010 * (i % 8) + 0x000040 * (i % 3))));
    for (Probe* p : rows) p->SetClickable(false);
    s->Redraw(kRedrawNow);

    s->SetFastScroll(true);
    for (Probe* p : rows) p->paints = 0;
    s->Scroll(0, 30, kRedrawNow);
    EXPECT_EQ(view->GetVirtualY(), 30);
    // Only rows 2 (100..150, shown from 70) lie in the uncovered strip 70..100.
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i]->paints, i == 2 ? 1 : 0) << i;

    platform::CGrafPtr port = platform::GetWindowPort(window->GetParentMacHwnd());
    std::vector<uint32_t> fast;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x) fast.push_back(PixelAt(port, x, y));
    s->SetFastScroll(false);
    s->Redraw(kRedrawNow);
    size_t differ = 0;
    for (int32_t y = 0, i = 0; y < 100; ++y)
        for (int32_t x = 0; x < 200; ++x, ++i) differ += fast[size_t(i)] != PixelAt(port, x, y);
    EXPECT_EQ(differ, 0u);

    // The plain method repaints the whole view; a scroll past the top,
    // which moves nothing, paints nothing.
    for (Probe* p : rows) p->paints = 0;
    s->Scroll(0, 30, kRedrawNow);
    EXPECT_EQ(rows[1]->paints + rows[2]->paints, 2);
    s->Scroll(0, -1000, kRedrawNow);
    ASSERT_EQ(view->GetVirtualY(), 0);
    for (Probe* p : rows) p->paints = 0;
    s->Scroll(0, -30, kRedrawNow);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i]->paints, 0) << i;
}

TEST_F(ScrollTest, TheWheelOverTheViewOrItsBarScrollsInOneStep)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    RunScript(platform::Script().Move(100 + 50, 100 + 50).Wheel(-1));
    ASSERT_EQ(s->steps.size(), 1u);
    EXPECT_EQ(s->steps[0].dy, 48);
    EXPECT_TRUE(s->stepOpen[0]);
    EXPECT_FALSE(s->HasStepOpen());
    EXPECT_EQ(view->GetVirtualY(), 48);
    RunScript(platform::Script().Move(100 + 190, 100 + 50).Wheel(1));
    EXPECT_EQ(view->GetVirtualY(), 0) << "over the bar too";
    EXPECT_FALSE(window->IsPainterLent());
}

TEST_F(ScrollTest, DraggingTheThumbFollowsTheMouseAlongTheTrack)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    VScrollBar* bar = s->GetVScrollBar();
    int32_t start = 0, length = 0;
    bar->GetThumbCoords(start, length);
    // Track 100 - 32 + 2 - 16 = 54 pixels for 900: 10 pixels down is 166.
    platform::Script script;
    script.Press(100 + 190, int16_t(100 + start + 5)).Wait(3).Move(100 + 190, int16_t(100 + start + 15)).Wait(3);
    script.Release();
    RunScript(script);
    EXPECT_EQ(view->GetVirtualY(), 10 * 900 / 54);
    EXPECT_EQ(bar->GetValue(), view->GetVirtualY());
    EXPECT_EQ(bar->GetPressedPart(), 0);
}

TEST_F(ScrollTest, APaintNowDuringAStepLeavesTheStepPainterWhereItWas)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    auto* row = new Probe(view, 0, 0, 184, 50);
    s->DoCommand(s, vcmd::kBeginScrollStep, 0);
    ASSERT_TRUE(s->HasStepOpen());
    VPainter* step = s->GetPainter();
    s->ReleasePainter();
    int32_t x0 = 0, y0 = 0;
    step->GetOffset(x0, y0);
    const int32_t depth = step->GetOffsetDepth();
    row->Redraw(kRedrawNow);
    int32_t x1 = 0, y1 = 0;
    step->GetOffset(x1, y1);
    EXPECT_EQ(x1, x0);
    EXPECT_EQ(y1, y0);
    EXPECT_EQ(step->GetOffsetDepth(), depth);
    EXPECT_NE(step->GetCurPort(), step->GetOwnPort()) << "the step's buffer stays open";
    EXPECT_EQ(Pixel(window, 10, 10), 0xFF0000u) << "and the row reached the window";
    // A child of the scroller itself painted in the step: at its own place.
    s->RedrawChild(s->GetVScrollBar());
    EXPECT_EQ(step->GetOffsetDepth(), depth);
    EXPECT_EQ(Pixel(window, 10, 10), 0xFF0000u) << "the bar did not cover the row";
    s->DoCommand(s, vcmd::kEndScrollStep, 0);
    EXPECT_FALSE(window->IsPainterLent());
}

TEST_F(ScrollTest, ClicksReachTheContentInVirtualCoordinates)
{
    RecordingScroller* s = Make(200, 100, true, false, 1000);
    auto* row = new Probe(view, 0, 300, 184, 50);
    view->SetVirtualPos(0, 280, false, kRedrawNone);
    EXPECT_EQ(row->GetWindowY(), 20);
    RunScript(platform::Script().Click(100 + 10, 100 + 30));
    ASSERT_EQ(row->clicks.size(), 1u);
    EXPECT_EQ(row->clicks[0].y, 10);
    EXPECT_EQ(view->GetTargetFrame(VPoint(10, 30), false), row);
    EXPECT_EQ(view->GetDropFrame(VPoint(10, 30)), row);
    EXPECT_EQ(view->GetDropFrame(VPoint(10, 5)), view);
    (void)s;
}

TEST_F(ScrollTest, AGrownScrollerBringsTheViewBackInRangeAndOnlyABindingChangeAsksForALayout)
{
    RecordingScroller* s = Make(200, 100, true, false, 984);
    view->SetVirtualPos(0, 884, false, kRedrawNone);
    s->SetSize(200, 300, kRedrawNone);
    EXPECT_EQ(view->GetVirtualY(), 684) << "the last page of what there is";
    EXPECT_EQ(s->GetVScrollBar()->GetValue(), 684);
    s->RedrawChild(nullptr);  // no child: nothing to paint

    // A horizontal bar comes back to life when there is width to scroll.
    delete window;
    RecordingScroller* wide = Make(200, 100, false, true, 100);
    view->SetVirtualSize(150, 100, true, kRedrawNone);
    EXPECT_FALSE(wide->GetHScrollBar()->IsEnabled());
    view->SetVirtualSize(900, 100, true, kRedrawNone);
    EXPECT_TRUE(wide->GetHScrollBar()->IsEnabled());
    EXPECT_EQ(wide->GetHScrollBar()->GetMax(), 700);
    delete window;
    s = Make(200, 100, true, false, 300);
    view->SetVirtualPos(0, 200, false, kRedrawNone);

    // The whole view, from its first row, needs painting after a redraw.
    VWindow::SetValidRect(window->GetParentMacHwnd(), nullptr, true);
    view->Redraw(kRedrawInval);
    const VRect area = UpdateArea(window);
    EXPECT_EQ(area.GetTop(), 0);
    EXPECT_EQ(area.GetHeight(), 100);

    struct Relayouts : VViewScroller {
        using VViewScroller::VViewScroller;
        intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override
        {
            if (command == vcmd::kRelayout) ++count;
            return VViewScroller::DoCommand(sender, command, param);
        }
        int32_t count = 0;
    };
    auto* parent = new Relayouts(window, false, false, false);
    auto* other = new VScrolledView(parent);
    other->SetVirtualSize(300, 300, false, kRedrawNone);
    EXPECT_EQ(parent->count, 0);
    other->SetVirtualSize(400, 400, true, kRedrawNone);
    EXPECT_EQ(parent->count, 1);

    // Copying from a frame that does not scroll leaves the scroll state.
    Probe plain(nullptr, 0, 0, 10, 10);
    other->SetVirtualPos(30, 40, false, kRedrawNone);
    other->Copy(parent, &plain, nullptr);
    EXPECT_EQ(other->GetVirtualX(), 30);
    EXPECT_EQ(other->GetVirtualWidth(), 400);
}
