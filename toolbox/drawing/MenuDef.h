// The one menu definition procedure of the toolbox's menus: it turns each
// message of the platform into a call on the menu object the platform menu
// is linked to, with a painter on the current port.
#pragma once

#include "platform/menus/Menus.h"

void MAC_MDEF(int16_t message, platform::MenuRef menu, platform::Rect* menuRect, platform::Point hitPt,
              int16_t* whichItem);

// Where a pop-up of that size asked at (left, top) is shown: kept inside
// the device holding that point with 2-pixel margins.
platform::Rect PlacePopUp(int16_t top, int16_t left, int16_t width, int16_t height);
