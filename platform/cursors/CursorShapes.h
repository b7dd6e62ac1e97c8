// The cursor shapes of our own: the system cursors 1-4 and the theme's.
#pragma once

#include "platform/cursors/Cursors.h"

namespace platform {

// Rows of 16 characters: 'X' black, 'o' white, '.' see-through.
Cursor CursorFromArt(const char* const rows[16], int16_t hotV, int16_t hotH);

const Cursor& SystemCursorShape(int16_t id);  // 1-4
// Theme cursors; `step` picks the frame of the animated ones.
bool ThemeCursorShape(ThemeCursor cursor, uint32_t step, Cursor* shape);

}  // namespace platform
