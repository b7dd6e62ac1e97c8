// Erasing behind a form as its look draws the form's background.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

class VI_Handler;

// Erases `r` of the current port with the background of a form drawn by
// `look`. Until forms are drawn by their looks, this is the window's own
// background; the port's background colour is kept.
void EraseLayoutBackground(const platform::Rect* r, VI_Handler* look, void* formContext);
