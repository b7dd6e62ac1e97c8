// The look manager: the handlers of the form looks (VIHandler.h), the
// kernel's colour calls passed to the default one, the interface font and
// the colour icons drawn in the current look.
#pragma once

#include <cstdint>

#include "looks/VIHandler.h"
#include "platform/core/MacTypes.h"

class VIcon;

// Makes the look manager (once) and passes the kernel's colour calls to it.
void InitVI();

// Makes the font the current port's text font: 0 is the system font and 1
// the application font.
void myTextFont(int16_t font);

// Colour icons in the rectangle: as they are, disabled, dimmed to a level
// (0..255 of the way to the background) or with their colours changed.
void WinPlotCIcon(const platform::Rect& r, const VIcon* icon);
void WinPlotCIconDisabled(const platform::Rect& r, const VIcon* icon);
void WinPlotCIconDimmed(const platform::Rect& r, const VIcon* icon, int16_t level);
void WinPlotCIconChangeCols(const platform::Rect& r, const VIcon* icon);
