// A scrolling list's scroll bar follows the layout: its maximum leaves the
// last rows in view, and a list scrolled past it is pulled back.
#include <gtest/gtest.h>

#include <string>

#include "forms/lists/ItemList.h"
#include "tests/platform/controls/ControlFixture.h"

namespace {

class ItemListScroll : public platform::testing::ControlTest {};

}  // namespace

TEST_F(ItemListScroll, MaximumLeavesTheLastRowsInView)
{
    const platform::Rect bounds{10, 200, 110, 216};
    platform::ControlRef bar = platform::NewControl(Window(), &bounds, nullptr, true, 0, 0, 0, platform::scrollBarProc, 0);
    ASSERT_NE(bar, nullptr);
    itemlistrec list;
    initqlist(&list, 0, 255);
    ItemHandle first = nullptr, last = nullptr;
    const unsigned char text[] = "\x04item";
    for (int i = 0; i < 12; ++i) addqlist(&list, text, int16_t(i), 0, nullptr, nullptr, 0, 0, 0, &first, &last);
    list.first = first;
    list.scrollBar = bar;
    list.area = {10, 10, 110, 190};
    list.rowHeight = 20;
    list.firstShown = 9;
    transliste(&list);
    EXPECT_EQ(platform::GetControlMaximum(bar), 12 - 5);
    EXPECT_EQ(list.firstShown, 0);  // pulled back to the bar's value

    list.rowHeight = -1;  // one row fills the area
    transliste(&list);
    EXPECT_EQ(platform::GetControlMaximum(bar), 0);

    // A pop-up leaves the bar alone.
    list.mode = 2;
    list.rowHeight = 10;
    transliste(&list);
    EXPECT_EQ(platform::GetControlMaximum(bar), 0);
    list.scrollBar = nullptr;
    deinitqlist(&list);
}
