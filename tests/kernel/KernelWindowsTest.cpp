#include <gtest/gtest.h>

#include "kernel/helpers/KernelWindows.h"
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
