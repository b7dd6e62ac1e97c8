// A form's background as its look draws it, and the disabled look of an
// area already drawn.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

class VI_Handler;

// Paints r of the current port as the background of a form drawn by `look`
// (the default handler for none; the print handler on the print port). The
// port's background colour is kept. The form context is not used.
void EraseLayoutBackground(const platform::Rect* r, VI_Handler* look, void* formContext);
// Gives what is drawn in r a disabled look: on the look's background, an
// engraved copy (the port's background colour one pixel right and down,
// the look's dark grey in place). Nothing on a port with its own drawing
// procedures or one recording a picture.
void DisableBackground(const platform::Rect& r);
