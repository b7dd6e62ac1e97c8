// Mouse tracking of the long lists on a headless timeline.
#include <gtest/gtest.h>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/appl/Preferences.h"
#include "platform/drawing/Text.h"
#include "platform/resfiles/Resources.h"
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

namespace apptest {
namespace {

// A conflict entry as the hooks see it.
struct FakeConflict {
    int16_t code = 1;
    bool hasSecond = false;
    int16_t previous = 0;
    int16_t current = 1;
};
int gNamed = 0;

class ConflictListTest : public LongListTrackTest {
protected:
    void SetUp() override
    {
        LongListTrackTest::SetUp();
        G_MainResFile = OpenTestResources(folder, "'STR#' 1018 { \"Keep\" \"Replace\" \"Rename\" \"Skip\" }\n"
                                                  "'STR#' 1024 { \"-\" \"\\x12\" }\n");
        ASSERT_GT(G_MainResFile, 0);
        gNamed = 0;
        LongListHooks hooks = CurrentLongListHooks();
        hooks.getConflict = [](void* e, int16_t* code, bool* second, int16_t* previous, int16_t* current) {
            auto* c = static_cast<FakeConflict*>(e);
            *code = c->code, *second = c->hasSecond, *previous = c->previous, *current = c->current;
            return true;
        };
        hooks.setConflictChoices = [](void* e, int16_t previous, int16_t current) {
            static_cast<FakeConflict*>(e)->previous = previous;
            static_cast<FakeConflict*>(e)->current = current;
        };
        hooks.maxChoix = [](int16_t code) -> int16_t { return code == 2 ? 1 : 4; };
        hooks.chooseNumber = [](int16_t, int16_t choice) -> int16_t { return choice; };
        hooks.chooseValue = [](int16_t, int16_t item) -> int16_t { return item; };
        hooks.chooseNumStrListe = [](int16_t, int16_t choice, int16_t* index, int16_t* icon) {
            ++gNamed;
            *index = choice;
            *icon = -1;
        };
        SetLongListHooks(hooks);
        window = Window();
        const Rect view{20, 10, 260, 310};
        list = LongLNew(&view, 0, kObjectRowLength, Point{60, 300}, 0, window, false, RecordDraw);
        ASSERT_NE(list, nullptr);
        LongLAddRow(2, 0, list);
        for (int32_t r = 0; r < 2; ++r) {
            void* p = &entries[r];
            LongLSetCell(&p, kObjectRowLength, r, list);
        }
        SetPortWindowPort(window);
        TextFont(GetResFont(3));
        TextSize(GetResSize(3));
        TextFace(0);
        FontInfo info{};
        GetFontInfo(&info);
        line = int16_t(info.ascent + info.descent + info.leading);
    }
    void TearDown() override
    {
        if (G_MainResFile > 0) CloseResFile(G_MainResFile);
        G_MainResFile = 0;
        LongListTrackTest::TearDown();
    }
    // A point of row 0's choice area, `dv` below its top.
    Point Area(int16_t h, int16_t dv) const { return Point{int16_t(20 + 2 * line + 7 + dv), h}; }

    platform::testing::TempFolder folder;
    FakeConflict entries[2];
    int16_t line = 0;
};

TEST_F(ConflictListTest, TheChoiceAreaOpensTheChoicesAndAnotherChoiceIsKept)
{
    // Outside the area (its inset edges included) nothing opens.
    for (Point p : {Area(50, 0), Area(50, 19), Area(10 + 40, 10), Area(310 - 9, 10)}) {
        const Point g = Global(p);
        Play(Script().Click(g.h, g.v));
        EXPECT_FALSE(Click(LongLC_Click));
    }
    EXPECT_EQ(gNamed, 0);
    EXPECT_EQ(LongLLastClick(list), 0);

    // Released where it was pressed: the current choice (marked, under the mouse) again.
    const Point in = Global(Area(100, 10));
    Play(Script().Press(in.h, in.v).Wait(5).Release());
    EXPECT_TRUE(Click(LongLC_Click));  // choice 1 again still counts
    EXPECT_EQ(gNamed, 4);  // one item per choice
    EXPECT_EQ(entries[0].current, 1);
    entries[0].current = 3;
    Play(Script().Press(in.h, in.v).Wait(5).Release());
    EXPECT_FALSE(Click(LongLC_Click));
    EXPECT_EQ(entries[0].current, 3);

    // Another choice: the current one becomes the previous.
    Play(Script().Press(in.h, in.v).Wait(5).Move(in.h, int16_t(in.v + 3 * line)).Wait(5).Release());
    EXPECT_TRUE(Click(LongLC_Click));
    EXPECT_EQ(entries[0].previous, 3);
    EXPECT_EQ(entries[0].current, 4);

    // A code with one choice, or a fixed choice of an entry with a second object, opens nothing.
    gNamed = 0;
    entries[0].code = 2;
    Play(Script().Click(in.h, in.v));
    EXPECT_FALSE(Click(LongLC_Click));
    entries[0].code = 1;
    entries[0].hasSecond = true;
    entries[0].current = 11;
    Play(Script().Click(in.h, in.v));
    EXPECT_FALSE(Click(LongLC_Click));
    EXPECT_EQ(gNamed, 0);
    // The area's last row opens it.
    entries[0].hasSecond = false;
    entries[0].current = 1;
    const Point edge = Global(Area(100, 18));
    Play(Script().Press(edge.h, edge.v).Wait(5).Release());
    EXPECT_TRUE(Click(LongLC_Click));
}

}  // namespace
}  // namespace apptest
