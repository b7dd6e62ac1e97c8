// Mouse tracking of the long lists on a headless timeline.
#include <gtest/gtest.h>

#include "app/AppObjects.h"
#include "platform/events/Events.h"
#include "tests/app/LongListFixture.h"

using namespace platform;


namespace apptest {
namespace {

class LongListTrackTest : public LongListTest {
protected:
    // Takes the next scripted press and gives it to the handler.
    template <typename F>
    bool Click(F handler, uint16_t modifiers = 0)
    {
        // The event loop would take the last click's mouse-up: tracking
        // loops see the button up while one waits.
        EventRecord up{};
        while (GetNextEvent(mUpMask, &up)) {
        }
        const Point p = NextClick();
        SetPortWindowPort(window);
        return handler(p, modifiers, list);
    }
};

TEST_F(LongListTrackTest, DoubleClicksNeedTheSameRowWithinTheTime)
{
    Make(30, 10);
    const Point r2 = Global(RowPoint(2)), r3 = Global(RowPoint(3));
    Play(Script().Click(r2.h, r2.v).Wait(2).Click(r2.h, r2.v).Wait(2).Click(r3.h, r3.v).Wait(2)
             .Click(r2.h, r2.v).Wait(GetDblTime() + 5).Click(r2.h, r2.v));
    EXPECT_FALSE(Click(LongLClick));
    EXPECT_TRUE(Click(LongLClick));
    EXPECT_FALSE(Click(LongLClick));
    EXPECT_FALSE(Click(LongLClick));
    EXPECT_FALSE(Click(LongLClick));  // too late
    EXPECT_EQ(Selection(), std::vector<int32_t>{2});
    EXPECT_EQ(LongLLastClick(list), 2);
}

TEST_F(LongListTrackTest, AClickBelowTheRowsClearsAndIsNoDoubleClick)
{
    Make(4, 10);
    LongLSetSelect(true, 1, list);
    const Point below = Global(RowPoint(7));
    Play(Script().Click(below.h, below.v).Wait(2).Click(below.h, below.v));
    EXPECT_FALSE(Click(LongLClick));
    EXPECT_TRUE(Selection().empty());
    EXPECT_FALSE(Click(LongLClick_Drag));
    EXPECT_TRUE(Selection().empty());
}

TEST_F(LongListTrackTest, DraggingOutBelowScrollsOneRowPerRoundToTheLastRow)
{
    Make(100, 10);
    const Point r2 = Global(RowPoint(2));
    const Point out = Global(Point{220, 100});
    Play(Script().Press(r2.h, r2.v).Wait(2).Move(out.h, out.v).Wait(400).Release());
    EXPECT_FALSE(Click(LongLClick));
    EXPECT_EQ(list->firstVisible, 90);
    EXPECT_EQ(list->lastVisible, 100);
    EXPECT_EQ(GetLongCtlValue(list->vScroll), 90);
    EXPECT_EQ(Selection(), std::vector<int32_t>{99});

    // Shift-dragging back up from there keeps the anchor.
    const Point r95 = Global(RowPoint(95));
    const Point r92 = Global(RowPoint(92));
    Play(Script().Press(r95.h, r95.v, shiftKey).Wait(2).Move(r92.h, r92.v).Wait(5).Release());
    Click(LongLClick_Drag, kLongLShiftKey);
    EXPECT_EQ(Selection(), Range(92, 99));
}

TEST_F(LongListTrackTest, TheScrollBarStepsRowsAndPages)
{
    Make(100, 10);
    Rect bar;
    GetControlBounds(list->vScroll, &bar);
    const Point down = Global(Point{int16_t(bar.bottom - 5), int16_t(bar.left + 8)});
    const Point page = Global(Point{int16_t(bar.bottom - 30), int16_t(bar.left + 8)});
    Play(Script().Click(down.h, down.v).Wait(2).Click(page.h, page.v));
    // The action runs on every tick the part is held: steps of 1, then of 10.
    Click(LongLClick);
    const int32_t stepped = list->firstVisible;
    EXPECT_GE(stepped, 1);
    EXPECT_EQ(GetLongCtlValue(list->vScroll), stepped);
    Click(LongLClick);
    EXPECT_GT(list->firstVisible, stepped);
    EXPECT_EQ((list->firstVisible - stepped) % 10, 0);
    EXPECT_EQ(list->lastVisible, list->firstVisible + 10);
    EXPECT_TRUE(Selection().empty());
}

TEST_F(LongListTrackTest, DisclosureTrianglesActOnlyWhenReleasedInside)
{
    Make(30, 10);
    objects[3] = FakeObject{0, true, true};
    const Point box = Global(RowPoint(3, 18));
    const Point away = Global(RowPoint(6, 150));
    Play(Script().Press(box.h, box.v).Wait(3).Move(away.h, away.v).Wait(3).Release().Wait(2)
             .Press(box.h, box.v).Wait(3).Move(away.h, away.v).Wait(3).Move(box.h, box.v).Wait(3).Release());
    EXPECT_FALSE(Click(LongLClick_Drag));
    EXPECT_EQ(G_Plane, nullptr);
    EXPECT_EQ(G_Cell, -1);
    EXPECT_TRUE(Selection().empty());
    EXPECT_FALSE(IsOpenCell(3, list));
    Click(LongLClick_Drag);
    EXPECT_EQ(G_Plane, kPlaneDone);
    EXPECT_EQ(G_Cell, 3);
    EXPECT_TRUE(Selection().empty());
}

// A document window that takes drags: its pane and the row under the mouse.
struct DropTarget {
    TWindow window;
    TPlan pane;
    std::vector<bool> selects;
    int drags = 0;
};
DropTarget* gTarget = nullptr;

TEST_F(LongListTrackTest, DragBoxesStartAfterFivePixelsAndLandOnWindows)
{
    Make(30, 10);
    objects[4] = FakeObject{0, false, true};
    objects[5] = FakeObject{1, false, true};
    DropTarget target;
    gTarget = &target;
    WindowRef other = Document(700, 100, 900, 300, "Other");
    Settle();
    target.window.fWindow = other;
    SetWRefCon(other, reinterpret_cast<uintptr_t>(&target.window));
    LongListHooks hooks = CurrentLongListHooks();
    hooks.dragCell = [](TWindow* w, Point) {
        if (w != &gTarget->window) return;
        ++gTarget->drags;
        G_Plane = &gTarget->pane;
        G_Cell = 7;
    };
    hooks.dragCellSelect = [](TPlan* pane, bool select) {
        if (pane == &gTarget->pane) gTarget->selects.push_back(select);
    };
    SetLongListHooks(hooks);

    const Point box = Global(RowPoint(4, 30));
    const Point near = Point{int16_t(box.v + 2), int16_t(box.h + 2)};
    const Point start = Point{int16_t(box.v + 2), int16_t(box.h + 3)};
    Play(Script().Press(box.h, box.v).Wait(2).Move(near.h, near.v).Wait(5).Release().Wait(2)
             .Press(box.h, box.v).Wait(2).Move(start.h, start.v).Wait(3).Move(800, 200).Wait(5).Release().Wait(2)
             .Press(box.h, box.v).Wait(2).Move(start.h, start.v).Wait(3).Move(800, 200).Wait(5).Move(600, 600)
             .Wait(5).Release());
    // 4 pixels: no drag; the row is selected by the press.
    Click(LongLClick_Drag);
    EXPECT_EQ(G_Plane, kPlaneDone);
    EXPECT_EQ(G_Cell, -1);
    EXPECT_EQ(target.drags, 0);
    EXPECT_EQ(Selection(), std::vector<int32_t>{4});

    // 5 pixels: the outline goes to the other window, which names its pane and row.
    Click(LongLClick_Drag);
    EXPECT_GT(target.drags, 0);
    EXPECT_EQ(G_Plane, &target.pane);
    EXPECT_EQ(G_Cell, 7);
    ASSERT_FALSE(target.selects.empty());
    EXPECT_FALSE(target.selects.back());  // the highlight is dropped after the drag

    // Leaving it for the desktop tells the pane and lands nowhere.
    target.selects.clear();
    Click(LongLClick_Drag);
    EXPECT_EQ(G_Plane, kPlaneDone);
    EXPECT_EQ(G_Cell, -1);
    ASSERT_EQ(target.selects.size(), 1u);
    EXPECT_FALSE(target.selects[0]);
    gTarget = nullptr;
}

}  // namespace
}  // namespace apptest
