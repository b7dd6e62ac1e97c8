// The print path of text boxes: Mac Roman bytes laid out line by line in
// the port's font, with the line breaking and measuring it needs.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

// The editor's justification values.
enum : int16_t { kJustDefault = 0, kJustLeft = 1, kJustRight = 2, kJustCentre = 3 };

// Fills positions (count + 1 entries at most) for the bytes that fit in
// width and answers how many do, at most count.
int16_t WinMeasureText(int16_t count, const uint8_t* bytes, int16_t* positions, int16_t width);

// The number of bytes of the next line of width pixels (0 for no bytes,
// else at least 1).
int32_t TEGetLineBreak(const uint8_t* bytes, int32_t length, int16_t width);

// Draws the bytes in the box on port, clipped to clip when given: several
// lines when the box is taller than one and a half lines, else the first
// line alone, cut to fit. The port and its clip are restored.
void MyTextBox(platform::CGrafPtr port, const platform::Rect& box, const platform::Rect* clip,
               const uint8_t* bytes, int32_t length, int16_t justification);
