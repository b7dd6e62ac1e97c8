// Click counting of the event loop: a click within the double-click time of
// the series' first click, in the same window and less than 5 pixels away
// (the horizontal and vertical moves added) continues the series.
#pragma once

#include <cstdint>

#include "platform/events/Events.h"
#include "platform/windows/Windows.h"

struct ClickSeries {
    uint32_t when = 0;
    platform::Point where{0, 0};
    platform::WindowRef window = nullptr;
    int16_t count = 0;
};

// The click count of this mouse-down: 0 single, 1 double, and so on.
int16_t NextClickCount(ClickSeries* series, const platform::EventRecord& event, platform::WindowRef window);
