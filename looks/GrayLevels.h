// The interface greys of the three-dimensional frames: level n of 0 (black)
// to 15 (white), in even steps.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

void pp_getGray(int16_t level, platform::RGBColor* color);
