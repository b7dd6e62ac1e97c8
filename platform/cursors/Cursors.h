// The cursor: the shape shown at the mouse, from 'CURS' and 'crsr'
// resources or the theme's set, with a counted hide level.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct Cursor {
    uint16_t data[16];
    uint16_t mask[16];
    Point hotSpot;  // v, h inside the 16 x 16 square
};
using CursPtr = Cursor*;
using CursHandle = Cursor**;

// A colour cursor: the one-bit shape (for displays without colour) and the
// pixels of the colour image, 0x00RRGGBB.
struct CCrsr {
    Cursor bw;
    uint32_t pixels[16][16];
};
using CCrsrPtr = CCrsr*;
using CCrsrHandle = CCrsr**;

// The system's cursors (in the system resource file, ids 1-4).
enum : int16_t { iBeamCursor = 1, crossCursor = 2, plusCursor = 3, watchCursor = 4 };

using ThemeCursor = uint32_t;
enum : ThemeCursor {
    kThemeArrowCursor = 0,
    kThemeCopyArrowCursor = 1,
    kThemeAliasArrowCursor = 2,
    kThemeContextualMenuArrowCursor = 3,
    kThemeIBeamCursor = 4,
    kThemeCrossCursor = 5,
    kThemePlusCursor = 6,
    kThemeWatchCursor = 7,
    kThemeClosedHandCursor = 8,
    kThemeOpenHandCursor = 9,
    kThemePointingHandCursor = 10,
    kThemeCountingUpHandCursor = 11,
    kThemeCountingDownHandCursor = 12,
    kThemeCountingUpAndDownHandCursor = 13,
    kThemeSpinningCursor = 14,
    kThemeResizeLeftCursor = 15,
    kThemeResizeRightCursor = 16,
    kThemeResizeLeftRightCursor = 17,
    kThemeNotAllowedCursor = 18,
};
constexpr OSStatus themeBadCursorIndexErr = -30565;

// The arrow, shown, with the hide level back at 0.
void InitCursor();
const Cursor& GetQDGlobalsArrow();
void SetCursor(const Cursor* cursor);
// The 'CURS' resource `id` of the open files: the manager owns the handle and
// keeps it valid; a file's own cursor of that id gives another. Ids 1-4 are in the
// system file, opened for them when it is not open yet. Null when missing
// or shorter than 68 bytes.
CursHandle GetCursor(int16_t id);
// Each hide needs a show; the cursor shows at level 0.
void HideCursor();
void ShowCursor();
// Hidden until the mouse next moves.
void ObscureCursor();
// The hide level: 0 shown, below 0 hidden.
int32_t CursorLevel();

// 'crsr' resources: a new handle owned by the caller (DisposeCCursor); null
// when missing or damaged.
CCrsrHandle GetCCursor(int16_t id);
void SetCCursor(CCrsrHandle cursor);
void DisposeCCursor(CCrsrHandle cursor);

OSStatus SetThemeCursor(ThemeCursor cursor);
// The animated theme cursors (watch, counting hands, spinning) show frame
// `step` of their cycle; other cursors answer themeBadCursorIndexErr.
OSStatus SetAnimatedThemeCursor(ThemeCursor cursor, uint32_t step);

// Reading the stored forms (outside bytes).
bool ReadCursorResource(const uint8_t* bytes, size_t size, Cursor* cursor);
bool ReadColorCursorResource(const uint8_t* bytes, size_t size, CCrsr* cursor);

// The system cursors 1-4 in their stored 'CURS' form (68 bytes), for the
// system resource file.
const uint8_t* SystemCursorResource(int16_t id);

}  // namespace platform
