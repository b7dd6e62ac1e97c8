// A time of day (seconds since midnight) as text, in the kernel's time
// formats. The words and the separator come from 'STR#' 149: 1 hour,
// 2 minute, 3 second, 4 hours, 5 minutes, 6 seconds, 7 the separator,
// 8 and 9 the morning and afternoon suffixes.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int16_t kTimeWordsList = 149;

// format: 0, 1 h:mm:ss padded; 2 hh:mm; 3 and 4 in words; 5 twelve-hour
// clock; 6 the ISO form of the null date with this time; 7 and above
// h:m:s unpadded.
void strtime(int32_t seconds, platform::StringPtr dest, int16_t format);
