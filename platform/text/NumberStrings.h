// Whole numbers as length-prefixed text and back, as the classic text
// utilities give them: no grouping, no locale, a leading '-' for negatives.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace platform {

void NumToString(int32_t number, Str255 text);
// An optional sign then decimal digits; reading stops at the first other
// character (an empty or signless text without digits reads as 0) and a
// value beyond 32 bits is held at the nearest end.
void StringToNum(ConstStr255Param text, int32_t* number);

}  // namespace platform
