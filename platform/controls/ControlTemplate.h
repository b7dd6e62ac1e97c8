// The 'CNTL' resource layout: bounds (top, left, bottom, right), value,
// visible (a byte and a filler), maximum, minimum, procID, reference
// constant (4 bytes), title (length-prefixed), all big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct ControlTemplate {
    Rect bounds{0, 0, 0, 0};
    int16_t value = 0;
    bool visible = false;
    int16_t max = 0;
    int16_t min = 0;
    int16_t procID = 0;
    int32_t refCon = 0;
    Str255 title = {0};
};

constexpr OSErr kTemplateDamagedErr = -192;  // read as resNotFound by callers

// False when the bytes are shorter than the layout says.
bool ParseControlTemplate(const uint8_t* bytes, size_t size, ControlTemplate* out);

}  // namespace platform
