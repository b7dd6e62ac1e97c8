// The ports form drawing treats apart: the print port (drawn plain, no
// transparent copies, no tiling through bitmaps) and the off-screen bitmap
// world that drawing may go through (kind -4), with the fast-screen mode
// (kind -5) that keeps it between uses.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

constexpr int16_t kOffScreenBitmap = -4;
constexpr int16_t kOffScreenFast = -5;

// The port pages are printed into while a form prints (null: none).
void SetPrintPort(platform::CGrafPtr port);
platform::CGrafPtr GetPrintPort();
// Whether the current port is the print port.
bool DrawingToPrintPort();
// Whether the current port records a picture.
bool RecordingPicture();

// Makes the off-screen bitmap world of r's size for drawing meant for
// `window` (the current port stays); reuses an open one of that size. Null
// when it cannot be made. Each open counts one user.
platform::GWorldPtr OpenBitmapPort(platform::CGrafPtr window, const platform::Rect& r);
// One user less; the world stays for the next until disposed.
void CloseBitmapPort();
// Chooses the next kind and answers the previous next one. -4 counts as 0.
// Without users, leaving -4 for anything but -5 disposes the world, and
// leaving -5 while the fast-screen level is below 1 disposes it and resets
// the level.
int16_t SetOffScreenType(int16_t kind);
// Nesting of the fast-screen mode.
void EnterFastScreen();
void LeaveFastScreen();
// The open bitmap world, else null.
platform::GWorldPtr GetBitmapPort();
// The window behind the bitmap world when given that world, else the port.
platform::CGrafPtr GetNonBMPort(platform::CGrafPtr port);
void xDisposeBitmap();
