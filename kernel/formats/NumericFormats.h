// Numeric display formats.
#pragma once

#include "platform/core/MacTypes.h"

// Rewrites the number text in `text` (a 256-byte buffer; the scientific form
// reads the double stored right after the text) as display text under
// `format`: a pattern of placeholders and literals with optional negative
// and zero sections, or a special form introduced by `ampersand`
// (&$ hexadecimal, &x 0x-hexadecimal, &/ time, &n scientific). Never fails:
// a value too wide shows as '<' characters, an unusable format leaves the
// text as it was. No rounding: surplus fraction digits are dropped.
void transusing(platform::StringPtr text, platform::ConstStr255Param format);
