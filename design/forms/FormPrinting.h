// Where a form's page preview is printed.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

// The rectangle a preview of `frame` is drawn in on a printable `page`
// where `current` points are printed: 30 points from the left, scaled
// down (keeping its proportions) to the page less 30 points each way;
// *newPage when it does not fit above the bottom margin (30 points), and
// it then goes at `topOfNewPage`, made smaller again if that is needed.
platform::Rect PlaceFormPreview(const platform::Rect& page, int16_t current, int16_t topOfNewPage,
                                const platform::Rect& frame, bool* newPage);
