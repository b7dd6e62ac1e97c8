// Window selection, the cursor and the shift key for kernel code.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"

// Brings the window to the front and makes it active.
void myselectwindow(platform::WindowRef window);
// Sets the cursor (null: the arrow), unless a window is given and the
// mouse is over another window that is highlighted.
void mysetcursor(const platform::ScreenCursor* cursor, platform::WindowRef window);
// True while a shift key is down.
bool shiftenfoncee();
// The current port's font metrics.
void mygetfontinfo(platform::FontInfo* info);
