// The resource layouts of dialogs and alerts, read with every count and
// length checked against the bytes. Big-endian throughout.
//
// 'DLOG': bounds (8), procID (2), visible (1 + filler), close box (1 +
//         filler), reference constant (4), 'DITL' id (2), title
//         (length-prefixed), then, at an even offset, an optional position.
// 'ALRT': bounds (8), 'DITL' id (2), stages (2), optional position (2).
//         The stages hold four nibbles, the first stage lowest: bit 3 makes
//         item 2 the default, bit 2 shows the alert, bits 0-1 beep so often.
// 'DITL': item count - 1 (2), then per item: 4 reserved bytes, rectangle
//         (8), type (1), data length (1), the data, a filler to an even
//         length. Controls ('CNTL' 7), icons and pictures keep a 2-byte id
//         as data; user items none; the others their text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct DialogTemplate {
    Rect bounds{0, 0, 0, 0};
    int16_t procID = 0;
    bool visible = false;
    bool goAway = false;
    int32_t refCon = 0;
    int16_t itemsID = 0;
    Str255 title = {0};
    uint16_t position = 0;  // 0: none given
};

struct AlertTemplate {
    Rect bounds{0, 0, 0, 0};
    int16_t itemsID = 0;
    uint16_t stages = 0;
    uint16_t position = 0;
};

struct ItemTemplate {
    Rect box{0, 0, 0, 0};
    uint8_t type = 0;        // with the disabled bit
    std::string data;        // the text, or the 2-byte id
    int16_t resourceId = 0;  // controls, icons and pictures
};

// Positions that centre a window on the main screen (or its parent, which
// for us is the same screen).
constexpr uint16_t kWindowCenterMainScreen = 0x280A;
constexpr uint16_t kWindowAlertPositionMainScreen = 0x300A;
constexpr uint16_t kWindowStaggerMainScreen = 0x380A;
constexpr uint16_t kWindowCenterParentWindow = 0xA80A;
constexpr uint16_t kWindowAlertPositionParentWindow = 0xB00A;
constexpr uint16_t kWindowCenterParentWindowScreen = 0x680A;
constexpr uint16_t kWindowAlertPositionParentWindowScreen = 0x700A;

bool ParseDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate* out);
bool ParseAlertTemplate(const uint8_t* bytes, size_t size, AlertTemplate* out);
// False for a damaged list; items after a damaged one are never taken.
bool ParseItemList(const uint8_t* bytes, size_t size, std::vector<ItemTemplate>* out);
// The bounds moved as the position asks on a screen of that size (the menu
// bar included at its top).
Rect PlaceWindowBounds(const Rect& bounds, uint16_t position, const Rect& screen, int16_t menuBarHeight);

}  // namespace platform
