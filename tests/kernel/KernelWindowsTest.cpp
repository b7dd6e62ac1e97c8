#include <gtest/gtest.h>

#include "kernel/helpers/KernelWindows.h"
#include "platform/events/InputState.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"

using namespace platform;
using platform::testing::PStr;

namespace {
class KernelWindows : public platform::testing::WindowTest {};
}

TEST_F(KernelWindows, SelectionBringsTheWindowToTheFront)
{
    Rect a = {60, 20, 200, 220};
    Rect b = {80, 60, 260, 300};
    WindowRef back = NewCWindow(nullptr, &a, PStr("Back").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
    WindowRef front = NewCWindow(nullptr, &b, PStr("Front").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
    ASSERT_EQ(FrontWindow(), front);
    myselectwindow(nullptr);
    EXPECT_EQ(FrontWindow(), front);
    myselectwindow(back);
    EXPECT_EQ(FrontWindow(), back);
    EXPECT_TRUE(IsWindowHilited(back));
    EXPECT_FALSE(IsWindowHilited(front));
    mysetcursor(nullptr, nullptr);
    EXPECT_FALSE(shiftenfoncee());
}

// The cursor is set for a window unless the mouse lies over another, active
// window; without a window it is always set.
TEST_F(KernelWindows, TheCursorIsLeftToTheActiveWindowUnderTheMouse)
{
    Rect a = {60, 20, 200, 220};
    Rect b = {80, 300, 260, 500};
    WindowRef left = NewCWindow(nullptr, &a, PStr("Left").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
    WindowRef right = NewCWindow(nullptr, &b, PStr("Right").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
    ASSERT_TRUE(IsWindowHilited(right));
    ScreenCursor mine{};
    mine.data[0] = mine.mask[0] = 0xFFFF;
    mine.hotSpot = Point{3, 3};
    const struct {
        Point mouse;
        WindowRef window;
        bool set;
    } rows[] = {{{400, 700}, left, true},   {{150, 400}, left, false},  {{150, 400}, right, true},
                {{150, 100}, right, true},  {{150, 400}, nullptr, true}};
    for (const auto& r : rows) {
        SetScreenCursor(ArrowScreenCursor());
        InputMouseMoved(r.mouse);
        mysetcursor(&mine, r.window);
        const ScreenCursor& now = CurrentScreenCursor();
        EXPECT_EQ(now.data[0] == 0xFFFF && now.hotSpot.v == 3, r.set) << r.mouse.v << "," << r.mouse.h;
    }
}
