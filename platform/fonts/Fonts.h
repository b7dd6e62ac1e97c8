// Font families by their classic numbers and names, each drawn with one of
// the pinned font files; the same mapping in every run:
//    0 "Lucida Grande" (system), 1 application (Geneva), 3 "Geneva" and
//   23 "Symbol" on DejaVu Sans; 4 "Monaco" on DejaVu Sans Mono; 2 "New
//   York", 20 "Times", "Times New Roman" on Liberation Serif; 21
//   "Helvetica", "Arial" on Liberation Sans; 22 "Courier", "Courier New"
//   on Liberation Mono; the hidden "%Menu" holds the menus' glyphs and
//   the hidden 102 "%Bullets" draws every character as a bullet (password
//   fields). Sizes are pixels at 72 dpi.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/fonts/FontFiles.h"

namespace platform {

constexpr int16_t systemFont = 0;
constexpr int16_t applFont = 1;
constexpr int16_t kFontIDNewYork = 2;
constexpr int16_t kFontIDGeneva = 3;
constexpr int16_t kFontIDMonaco = 4;
constexpr int16_t kFontIDTimes = 20;
constexpr int16_t kFontIDHelvetica = 21;
constexpr int16_t kFontIDCourier = 22;
constexpr int16_t kFontIDSymbol = 23;
constexpr int16_t kFontIDTimesNewRoman = 1024;
constexpr int16_t kFontIDArial = 1025;
constexpr int16_t kFontIDCourierNew = 1026;
constexpr int16_t kFontIDBullets = 102;      // "%Bullets"
constexpr int16_t kFontIDMenuGlyphs = 1100;  // "%Menu"

// Loads the pinned files and opens the system resource file with one
// named 'FOND' per visible family below every other open file. On failure
// answers an error and FontStartupMessage() says which package to install.
// Drawing before start-up loads the fonts on first use.
OSErr InitFonts();
const char* FontStartupMessage();
// True once the pinned files are loaded (loading them when not yet tried).
bool EnsureFonts();

// 0 for an unknown name (the system font); names compare without case.
void GetFNum(ConstStr255Param name, int16_t* familyID);
// An empty name for an unknown number; 1 answers the application font's.
void GetFontName(int16_t familyID, Str255 name);
// Every size of a known family is real: the files are scalable.
Boolean RealFont(int16_t fontNum, int16_t size);
int16_t GetDefFontSize();

// Every family with a number, visible ones first in number order, then the
// hidden ones (their names begin with "%").
struct FontFamilyEntry {
    int16_t number;
    const char* name;      // the classic name
    FileFamily file;       // the file family that draws it
    bool hidden;
    bool menuGlyphs;       // bytes are the menus' glyph codes, not Mac Roman
    bool bullets = false;  // every character that draws draws as a bullet
};
int32_t FontFamilyCount();
const FontFamilyEntry& FontFamilyAt(int32_t index);
// The family drawing a number: unknown numbers draw as the application font.
const FontFamilyEntry& ResolveFontFamily(int16_t number);

// The Unicode character a byte of the family's text stands for; 0 for a
// byte that draws nothing (control characters). A family of bullets
// answers the bullet for every byte that draws. A few menu glyphs are
// short texts drawn as one glyph: they answer a code past Unicode, which
// GlyphSequence spells out (null for any other character).
char32_t FontByteToUnicode(const FontFamilyEntry& family, uint8_t byte);
const char32_t* GlyphSequence(char32_t c);
// The character a family draws for `c`: the bullet in a family of bullets,
// the check mark for its control code 0x12.
char32_t FamilyChar(const FontFamilyEntry& family, char32_t c);

}  // namespace platform
