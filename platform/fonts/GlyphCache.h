// Sized fonts ("strikes") and their glyphs, rendered once by FreeType and
// kept. Glyphs are light-hinted outlines: grey coverage by default, or one
// bit (0 or 255) for exact pixels. Advances are the hinted ones, rounded to
// whole pixels; metrics are rounded outward. Both the strikes and the
// glyph images are bounded: past the bounds the oldest work is dropped, so
// a pointer answered here lives until the next call into the cache.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"

namespace platform {

struct FontFamilyEntry;
struct Strike;

struct StrikeMetrics {
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t leading = 0;
    int16_t widMax = 0;
};

struct GlyphImage {
    int16_t left = 0;    // from the pen to the image's left column
    int16_t top = 0;     // from the base line up to the image's top row
    uint16_t width = 0;
    uint16_t rows = 0;
    const uint8_t* coverage = nullptr;  // width * rows, 0..255
};

// The strike of a family number at a size (0: the default size) with bold
// and italic (other face bits are drawn, not looked up). Null when the
// fonts are not loaded.
Strike* FindStrike(int16_t family, int16_t size, bool bold, bool italic);
const StrikeMetrics& MetricsOf(const Strike* strike);
// Advance of a byte of the family's text, and of a Unicode character.
int16_t ByteAdvance(Strike* strike, uint8_t byte);
int16_t CharAdvance(Strike* strike, char32_t c);
// The image of a byte or character; an empty image for what draws nothing.
const GlyphImage& ByteGlyph(Strike* strike, uint8_t byte, bool oneBit);
const GlyphImage& CharGlyph(Strike* strike, char32_t c, bool oneBit);
char32_t StrikeByteChar(const Strike* strike, uint8_t byte);

// Drops every strike and glyph (fonts reloaded, tests).
void ResetGlyphCache();
size_t GlyphCacheBytes();

}  // namespace platform
