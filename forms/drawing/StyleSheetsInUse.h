// The style sheets forms are drawn with: the structure's table ('Stlx' 128,
// StyleSheets.h gives its layout) loaded once per store into curStyles,
// with the font number of this platform's block filled in from its name,
// and the font settings of a style sheet looked up by id.
//
// Loading (CreateStyleSheet), when no table is loaded:
//   1. the 'Stlx' 128 of the companion file "StyleSheets" beside the
//      structure, when there is one, in place of the structure's;
//   2. the structure's 'Stlx' 128, or its 'Styl' 128 converted;
//   3. else one entry made from the application's 'Styl' 803 (one entry in
//      the current layout).
// The table is held here alone: drawing a form adds nothing to the
// structure, whose own table stays what its style-sheet objects show.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// The loaded table (owned here); null until CreateStyleSheet.
extern platform::Handle curStyles;

// The font block drawn with on this platform.
constexpr int16_t kPlatformFontBlock = 3;
// The companion file's name.
constexpr const char* kStyleSheetCompanion = "StyleSheets";

// Loads curStyles from the current store (nothing when that store's is
// loaded; another store's is dropped first).
void CreateStyleSheet();
// Fills the font number of this platform's block of every entry from its
// name: a negative length byte c names the built-in font -2 - c.
void InitStyleSheet(platform::Handle table);
// The font, size and face of style sheet `id`: the last entry with that id;
// -1 or an id not in the table gives font 1, size 0, face 0 (false), and -1
// also forgets the cached look-up.
bool GetStyleInfo(int16_t id, int16_t* font, int16_t* size, int16_t* face);
// The port's font, size and face (face OR extraFace) from the style sheet.
void SetupStyle(int16_t id, int16_t extraFace);
// Ascent + descent + leading of the style (the port's font kept); -1 when
// no style sheet of that id is loaded. GetStyleSheetHeight
// (forms/objects/ObjectWriting.h) answers it.
int16_t StyleSheetLineHeight(int16_t id);
// Makes a saved table current again, as the current store's (curStyles
// takes it; the previous one goes back to its owner, the caller) and
// forgets the cached look-up.
void RestoreStyleSheet(platform::Handle table);
// Drops curStyles (a structure closes, tests).
void DisposeStyleSheets();
