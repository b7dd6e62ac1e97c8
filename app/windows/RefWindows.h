// Browser window layouts: a 'WNDD' resource names the panes of a browser
// window, big-endian: 8 bytes the layout does not use, a 16-bit count, then
// that many pane records of 20 bytes plus 2 for each extra word (kind,
// rectangle, three link words, default filter, extra word count, extras).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

struct WnddPane {
    int16_t kind = 0;            // 0 list, 1 uses, 2 used by, 3 preview
    platform::Rect rect{};
    int16_t links[3]{};          // 0: this window's pane; else a window kind
    int16_t filter = 0;          // the default filter id
    const uint8_t* record = nullptr;  // from the rectangle on, as panes take it
    int32_t length = 0;          // 18 + 2 x extra words
};

enum class WnddResult { Ok, TooShort, RecordPastEnd, BadKind };

// The pane records of a layout; every record must lie whole inside the
// bytes and name a kind from 0 to 3.
WnddResult ParseWndd(const uint8_t* bytes, size_t size, std::vector<WnddPane>* panes);
