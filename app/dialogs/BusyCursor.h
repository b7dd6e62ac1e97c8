// The busy cursor: long operations switch between the clock and the arrow.
#pragma once

#include <cstdint>

#include "platform/cursors/Cursors.h"

// Sets the clock cursor (the three values are not used).
void CursInstall(int16_t a = 0, int16_t b = 0, int16_t c = 0);
// Answers 0 and changes nothing; CursResume does nothing.
int16_t CursPause();
void CursResume(int16_t state);
// Back to the arrow.
void CursRmve();
// Sets `cursor` unless it is already the current one.
void MySetCursor(const platform::Cursor* cursor);
void SetArrowCursor();
// The cursor last set through MySetCursor, or null.
const platform::Cursor* CurrentAppCursor();
void ResetAppCursor();
