#include "platform/cursors/CursorShapes.h"

#include <cstring>

#include "platform/screen/Screen.h"

namespace platform {
namespace {

const char* const kIBeam[16] = {
    ".XXX.XXX........", "....X...........", "....X...........", "....X...........",
    "....X...........", "....X...........", "....X...........", "....X...........",
    "....X...........", "....X...........", "....X...........", "...XXX..........",
    "....X...........", "....X...........", "....X...........", ".XXX.XXX........",
};
const char* const kCross[16] = {
    ".....o..........", ".....X..........", ".....X..........", ".....X..........",
    ".....X..........", "oXXXXXXXXXo.....", ".....X..........", ".....X..........",
    ".....X..........", ".....X..........", ".....o..........", "................",
    "................", "................", "................", "................",
};
const char* const kPlus[16] = {
    "....oooo........", "....oXXo........", "....oXXo........", "....oXXo........",
    "ooooXXXXoooo....", "oXXXXXXXXXXo....", "oXXXXXXXXXXo....", "ooooXXXXoooo....",
    "....oXXo........", "....oXXo........", "....oXXo........", "....oooo........",
    "................", "................", "................", "................",
};
// The watch, its hand at the hour of each frame (12, 3, 6, 9).
const char* const kWatch[4][16] = {
    {"..XXXXXX........", "..XXXXXX........", "..XXXXXX........", ".XXXXXXXX.......",
     "XXooooooXX......", "XooooXoooX......", "XooooXoooXX.....", "XooooXoooXX.....",
     "XoooooooooX.....", "XoooooooooX.....", "XXooooooXX......", ".XXXXXXXX.......",
     "..XXXXXX........", "..XXXXXX........", "..XXXXXX........", "................"},
    {"..XXXXXX........", "..XXXXXX........", "..XXXXXX........", ".XXXXXXXX.......",
     "XXooooooXX......", "XoooooooooX.....", "XoooooooooXX....", "XooooXXXXoXX....",
     "XoooooooooX.....", "XoooooooooX.....", "XXooooooXX......", ".XXXXXXXX.......",
     "..XXXXXX........", "..XXXXXX........", "..XXXXXX........", "................"},
    {"..XXXXXX........", "..XXXXXX........", "..XXXXXX........", ".XXXXXXXX.......",
     "XXooooooXX......", "XoooooooooX.....", "XoooooooooXX....", "XooooXoooXXX....",
     "XooooXoooX......", "XooooXoooX......", "XXooooooXX......", ".XXXXXXXX.......",
     "..XXXXXX........", "..XXXXXX........", "..XXXXXX........", "................"},
    {"..XXXXXX........", "..XXXXXX........", "..XXXXXX........", ".XXXXXXXX.......",
     "XXooooooXX......", "XoooooooooX.....", "XoooooooooXX....", "XoXXXXoooXXX....",
     "XoooooooooX.....", "XoooooooooX.....", "XXooooooXX......", ".XXXXXXXX.......",
     "..XXXXXX........", "..XXXXXX........", "..XXXXXX........", "................"},
};
const char* const kOpenHand[16] = {
    ".......XX.......", "...XX.XooXXX....", "..XooXXooXooX...", "..XooXXooXooX.X.",
    "...XooXooXooXXoX", "...XooXooXooXooX", ".XX.XoooooooXooX", "XooXXoooooooooX.",
    "XoooXooooooooooX", ".XoooooooooooooX", "..XooooooooooooX", "..XoooooooooooX.",
    "...XooooooooooX.", "....XoooooooooX.", ".....XoooooooX..", ".....XoooooooX..",
};
const char* const kClosedHand[16] = {
    "................", "................", "................", "....XX.XX.XX....",
    "...XooXooXooXX..", "...XooooooooXoX.", "....XoooooooooX.", "...XXoooooooooX.",
    "..XooooooooooooX", "..XooooooooooooX", "...XoooooooooooX", "...XooooooooooX.",
    "....XoooooooooX.", ".....XoooooooX..", "......XoooooooX.", "......XoooooooX.",
};
const char* const kPointingHand[16] = {
    ".....XX.........", "....XooX........", "....XooX........", "....XooX........",
    "....XooXXX......", "....XooXooXXX...", "..XXXooXooXooXX.", ".XooXoooooooooX.",
    ".XooooooooooooX.", "..XoooooooooooX.", "..XoooooooooooX.", "...XooooooooooX.",
    "...XoooooooooX..", "....XooooooooX..", "....XooooooooX..", "....XXXXXXXXXX..",
};
const char* const kResizeLeft[16] = {
    "................", "......oXo.......", "......oXo.......", "...o..oXo.......",
    "..oXo.oXo.......", ".oXXooXXo.......", "oXXXXXXXo.......", ".oXXooXXo.......",
    "..oXo.oXo.......", "...o..oXo.......", "......oXo.......", "......oXo.......",
    "................", "................", "................", "................",
};
const char* const kResizeRight[16] = {
    "................", ".......oXo......", ".......oXo......", ".......oXo..o...",
    ".......oXo.oXo..", ".......oXXooXXo.", ".......oXXXXXXXo", ".......oXXooXXo.",
    ".......oXo.oXo..", ".......oXo..o...", ".......oXo......", ".......oXo......",
    "................", "................", "................", "................",
};
const char* const kResizeLeftRight[16] = {
    "................", "......oXoXo.....", "......oXoXo.....", "...o..oXoXo..o..",
    "..oXo.oXoXo.oXo.", ".oXXooXXoXXooXXo", "oXXXXXXXoXXXXXXX", ".oXXooXXoXXooXXo",
    "..oXo.oXoXo.oXo.", "...o..oXoXo..o..", "......oXoXo.....", "......oXoXo.....",
    "................", "................", "................", "................",
};
const char* const kNotAllowed[16] = {
    ".....XXXXXX.....", "...XXooooooXX...", "..XooXXXXXXooX..", ".XoXXooooooXXoX.",
    ".XoXXXoooooXXoX.", "XoXXoXXoooooXXoX", "XoXooXXXooooXXoX", "XoXoooXXXoooXXoX",
    "XoXooooXXXooXXoX", "XoXoooooXXXoXXoX", "XoXXoooooXXXXXoX", ".XoXXoooooXXXoX.",
    ".XoXXooooooXXoX.", "..XooXXXXXXooX..", "...XXooooooXX...", ".....XXXXXX.....",
};

// A small sign over the arrow's lower right for the copy, alias and
// contextual-menu arrows.
void AddBadge(Cursor* c, const char* const rows[6])
{
    for (int r = 0; r < 6; ++r)
        for (int col = 0; col < 6; ++col) {
            const char ch = rows[r][col];
            const uint16_t bit = uint16_t(0x8000u >> (10 + col));
            if (ch == '.') continue;
            c->mask[10 + r] |= bit;
            if (ch == 'X') c->data[10 + r] |= bit;
            else c->data[10 + r] &= uint16_t(~bit);
        }
}
const char* const kCopyBadge[6] = {"oooooo", "ooXXoo", "oXXXXo", "oXXXXo", "ooXXoo", "oooooo"};
const char* const kAliasBadge[6] = {"oooooo", "oXXXoo", "ooooXo", "oXXXXo", "oooXXo", "oooooo"};
const char* const kMenuBadge[6] = {"oooooo", "oXXXXo", "oooooo", "oXXXXo", "oooooo", "oXXXXo"};

Cursor ArrowCursorShape()
{
    Cursor c{};
    const ScreenCursor& a = ArrowScreenCursor();
    std::memcpy(c.data, a.data, sizeof c.data);
    std::memcpy(c.mask, a.mask, sizeof c.mask);
    c.hotSpot = a.hotSpot;
    return c;
}

}  // namespace

Cursor CursorFromArt(const char* const rows[16], int16_t hotV, int16_t hotH)
{
    Cursor c{};
    for (int r = 0; r < 16; ++r)
        for (int col = 0; col < 16; ++col) {
            const uint16_t bit = uint16_t(0x8000u >> col);
            if (rows[r][col] == 'X') c.data[r] |= bit;
            if (rows[r][col] != '.') c.mask[r] |= bit;
        }
    c.hotSpot = Point{hotV, hotH};
    return c;
}

const Cursor& SystemCursorShape(int16_t id)
{
    static const Cursor shapes[4] = {
        CursorFromArt(kIBeam, 8, 4), CursorFromArt(kCross, 5, 5),
        CursorFromArt(kPlus, 6, 6), CursorFromArt(kWatch[0], 8, 5),
    };
    return shapes[(id >= 1 && id <= 4) ? id - 1 : 0];
}

bool ThemeCursorShape(ThemeCursor cursor, uint32_t step, Cursor* shape)
{
    Cursor c = ArrowCursorShape();
    switch (cursor) {
    case kThemeArrowCursor: break;
    case kThemeCopyArrowCursor: AddBadge(&c, kCopyBadge); break;
    case kThemeAliasArrowCursor: AddBadge(&c, kAliasBadge); break;
    case kThemeContextualMenuArrowCursor: AddBadge(&c, kMenuBadge); break;
    case kThemeIBeamCursor: c = SystemCursorShape(iBeamCursor); break;
    case kThemeCrossCursor: c = SystemCursorShape(crossCursor); break;
    case kThemePlusCursor: c = SystemCursorShape(plusCursor); break;
    case kThemeWatchCursor:
    case kThemeSpinningCursor: c = CursorFromArt(kWatch[step % 4], 8, 5); break;
    case kThemeClosedHandCursor: c = CursorFromArt(kClosedHand, 8, 8); break;
    case kThemeOpenHandCursor: c = CursorFromArt(kOpenHand, 8, 8); break;
    case kThemePointingHandCursor: c = CursorFromArt(kPointingHand, 0, 5); break;
    case kThemeCountingUpHandCursor:
    case kThemeCountingDownHandCursor:
    case kThemeCountingUpAndDownHandCursor: {
        // The hand with as many fingers' marks as the frame counts.
        uint32_t frame = step % 4;
        if (cursor == kThemeCountingDownHandCursor) frame = 3 - frame;
        if (cursor == kThemeCountingUpAndDownHandCursor) frame = (step % 6) < 4 ? step % 6 : 6 - step % 6;
        c = CursorFromArt(kOpenHand, 8, 8);
        for (uint32_t i = 0; i < frame; ++i) c.data[12 - 2 * i] |= 0x0700;
        break;
    }
    case kThemeResizeLeftCursor: c = CursorFromArt(kResizeLeft, 6, 7); break;
    case kThemeResizeRightCursor: c = CursorFromArt(kResizeRight, 6, 8); break;
    case kThemeResizeLeftRightCursor: c = CursorFromArt(kResizeLeftRight, 6, 8); break;
    case kThemeNotAllowedCursor: c = CursorFromArt(kNotAllowed, 8, 8); break;
    default: return false;
    }
    *shape = c;
    return true;
}

}  // namespace platform
