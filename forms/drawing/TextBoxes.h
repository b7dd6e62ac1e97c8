// The kernel's word-wrapped text boxes, drawn in the current port's font
// over what is there (the port's text mode), and the size a text needs.
//
// Justification: -2 left one pixel in, 1 centred, -1 flush right, 0 left
// unless the system text runs right to left (then right); any other value
// left without offset.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

// A box at most one and a half lines high draws one line: the text up to
// its first carriage return (at most 1000 bytes), cut after the last
// character that ends within the width (at least one). A taller box draws
// line after line while a line's top is inside it: each carriage return
// starts a line, long lines break at the last blank within the width.
void MyTextBox(const uint8_t* text, int32_t length, const platform::Rect& r, int16_t justification);
// The width and height the text takes broken at maxWidth; answers the
// line height. No text: 0 x 0.
int16_t TextBoxSize(const uint8_t* text, int32_t length, int16_t* width, int16_t* height, int16_t maxWidth);
// The same for a length-prefixed string.
int16_t StringBoxSize(const unsigned char* text, int16_t* width, int16_t* height, int16_t maxWidth);
