// Runs of text turned into pixels: the one place where glyphs meet a
// surface. For the text services (port text, theme text, window titles).
//
// A run is laid out from the pen: each character advances by its hinted
// width plus the face's extra (bold made up +1, outline +1, shadow +2,
// extend +1, condense -1), spaces also by the space extra. Widths are
// summed in fixed point and rounded once, so the pen lands where measuring
// says. Ink is the glyphs' coverage (grey, or one bit), with underline,
// outline and shadow made from it; copy and the not forms also paint the
// text box (ascent above the base line to descent below it, pen to pen).
#pragma once

#include <pixman.h>

#include <cstdint>
#include <new>

#include "platform/core/Errors.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/fonts/GlyphCache.h"

namespace platform {

struct TextStyle {
    Strike* strike = nullptr;
    Style face = normal;
    int16_t extra = 0;  // pixels added to every advance by the face
    Fixed spaceExtra = 0;
    Fixed charExtra = 0;  // every character, spaces too
    bool oneBit = false;
};

// The style of a font, size (0: default) and face; null strike when the
// fonts are missing.
TextStyle MakeTextStyle(int16_t font, int16_t size, Style face, Fixed spaceExtra, Fixed charExtra = 0);
// The port's text settings, the size scaled by numer.v / denom.v.
TextStyle PortTextStyle(const GrafPort* port, Point numer = {1, 1}, Point denom = {1, 1});
FontInfo StyleFontInfo(const TextStyle& style);

// Text as Mac Roman bytes of the style's family, or as Unicode characters.
struct TextSpan {
    const uint8_t* bytes = nullptr;
    const char32_t* chars = nullptr;
    int32_t length = 0;
};

// Width of the first n characters, in 16.16 fixed point.
Fixed SpanWidthFixed(const TextStyle& style, const TextSpan& text);
int16_t SpanWidth(const TextStyle& style, const TextSpan& text);
// positions[i] = rounded width of the first i characters, i = 0..length.
void SpanPositions(const TextStyle& style, const TextSpan& text, int16_t* positions);

struct TextPaint {
    int16_t mode = srcOr;
    uint32_t fore = 0;
    uint32_t back = 0xFFFFFF;
    uint32_t hilite = 0xB5D5FF;
    uint32_t weight = 0x808080;
};

// Draws the run with its pen at (h, baseline), surface coordinates, inside
// `allowed` (surface coordinates; null: the whole surface). Answers the
// run's width.
int16_t PaintSpan(const Surface& surface, const pixman_region32_t* allowed, const TextStyle& style,
                  const TextSpan& text, int32_t h, int32_t baseline, const TextPaint& paint);

// The text calls are C-style entries: running out of memory ends the call
// with `onFail` and QDError() memFullErr rather than an exception.
template <typename R, typename F>
R TextGuarded(R onFail, F&& f)
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        SetQDError(memFullErr);
        return onFail;
    }
}

// Glyph rendering: one bit when the one-bit flag is set (QDSwapTextFlags).
bool OneBitGlyphs();
void SetOneBitGlyphs(bool oneBit);

}  // namespace platform
