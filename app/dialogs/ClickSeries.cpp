#include "app/dialogs/ClickSeries.h"

#include <cstdlib>

using namespace platform;

int16_t NextClickCount(ClickSeries* series, const EventRecord& event, WindowRef window)
{
    const int32_t dv = event.where.v - series->where.v;
    const int32_t dh = event.where.h - series->where.h;
    // Each move counts on its own: clicks far apart along both axes in
    // opposite directions are not one place.
    if (event.when - series->when < GetDblTime() && std::abs(dv) + std::abs(dh) < 5 && window == series->window) {
        ++series->count;
    } else {
        series->when = event.when;
        series->where = event.where;
        series->window = window;
        series->count = 0;
    }
    return series->count;
}
