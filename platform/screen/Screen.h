// The virtual screen: one 32-bit framebuffer showing the desktop, the
// windows in z-order (each from its own backing world, with the frame we
// draw around it), the menu bar, then an overlay that is xored over the
// result (drag outlines, splitter bars) and the cursor on top.
//
// The screen is composed on demand: for a screenshot, a pixel read, or the
// live backend's presenting.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

constexpr int16_t kDefaultScreenWidth = 1280;
constexpr int16_t kDefaultScreenHeight = 800;
constexpr int16_t kMenuBarHeight = 20;

// Makes (or remakes at a new size) the screen; the main device follows.
// Windows keep their places. Answers memFullErr when the pixels cannot be
// had, paramErr for sizes below 64 x 64 or above 4000 x 4000 (a row of
// 32-bit pixels must fit the row-bytes field).
OSErr InitScreen(int16_t width = kDefaultScreenWidth, int16_t height = kDefaultScreenHeight);
// Frees the screen's worlds (tests).
void DisposeScreen();

// The screen rectangle (global, top-left at 0, 0).
Rect ScreenBounds();
int16_t GetMBarHeight();
Rect MenuBarRect();
// The desktop below the menu bar, in a region the caller owns.
void GetDesktopRegion(RgnHandle into);

// Where the menu manager draws the menu bar (global coordinates).
CGrafPtr GetMenuBarPort();
// A screen-wide port in global coordinates whose pixels are xored over the
// composed screen: draw feedback in xor mode, draw it again to take it away.
// Starts black (no change).
CGrafPtr GetOverlayPort();
void ClearOverlay();

// The cursor: a 16 x 16 one-bit image with its mask and hot spot; a colour
// cursor also has its pixels (0x00RRGGBB), used where the mask is set.
struct ScreenCursor {
    uint16_t data[16];
    uint16_t mask[16];
    Point hotSpot;
    bool hasColor = false;
    uint32_t color[16][16] = {};
};
void SetScreenCursor(const ScreenCursor& cursor);
// The cursor set last.
const ScreenCursor& CurrentScreenCursor();
void SetScreenCursorVisible(bool visible);
// Hides the cursor until the mouse next moves.
void ObscureScreenCursor();
// Whether the cursor is drawn on the next composing.
bool ScreenCursorShown();

// The layer of open menus, above the windows and the menu bar and below
// the overlay: each open menu draws its pixels here, and closing one only
// takes its pixels away. Worlds are kept in the order they were added;
// the screen does not own them.
void AddMenuLayer(CGrafPtr world, Point topLeft);
void RemoveMenuLayer(CGrafPtr world);
void RemoveAllMenuLayers();
const ScreenCursor& ArrowScreenCursor();

// Composes the screen and answers its pixel map (0x00RRGGBB words).
const PixMap* ComposeScreen();
// A value that changes whenever the composed screen may have: drawing in
// any port, the windows' list, places, frames and titles, open menus, the
// overlay, the cursor and the mouse under it. Equal values, equal screens,
// so that a display shows the screen again only when it changed.
uint64_t ScreenChangeSignature();
uint32_t ScreenPixel(int16_t h, int16_t v);
// Composes and writes the screen as a PNG file.
OSErr WriteScreenPng(const std::string& path);

}  // namespace platform
