// The container of a stored form: a FORM 'LAYO' holding, in order,
//
//   # id      size  contents
//   1 "Vers"    6   u16 form version (3), u32 version long (older: 2 bytes)
//   2 "KhPr"   12   the KhPr words in the order 2, 1, 3, 4, 5, 6
//   3 "Layr"    -   the layers (LayoutInfo.h)
//   4 "Nam#"   84   the 21 object-naming counters, u32 each
//   5 "DRAW"   32   the form's default drawing properties
//   6 "FONT"   12   the form's default font properties
//   7 "FLAG"    -   the form's flags and names (LayoutInfo.h)
//   8 "PAG#"    2   i16 last page index N
//   9 per page p = 0..N: its objects, then "PAGE" (i16 p)
//
// Readers take the container chunks in any order and skip what they do
// not know. Objects copied to the scrap travel in a FORM 'OBJS'; the
// members of a group object in a FORM 'OBJG' after its "GRUP".
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "forms/layout/ReadingFrame.h"

namespace formchunk {
constexpr IFFP LAYO = IFFP(platform::FourCC("LAYO"));
constexpr IFFP OBJS = IFFP(platform::FourCC("OBJS"));
constexpr IFFP OBJG = IFFP(platform::FourCC("OBJG"));
constexpr IFFP Vers = IFFP(platform::FourCC("Vers"));
constexpr IFFP KhPr = IFFP(platform::FourCC("KhPr"));
constexpr IFFP Layr = IFFP(platform::FourCC("Layr"));
constexpr IFFP NamS = IFFP(platform::FourCC("Nam#"));
constexpr IFFP DRAW = IFFP(platform::FourCC("DRAW"));
constexpr IFFP FONT = IFFP(platform::FourCC("FONT"));
constexpr IFFP FLAG = IFFP(platform::FourCC("FLAG"));
constexpr IFFP PAGS = IFFP(platform::FourCC("PAG#"));
constexpr IFFP PAGE = IFFP(platform::FourCC("PAGE"));
}  // namespace formchunk

constexpr int16_t kFormVersion = 3;
constexpr int32_t kNamingCounters = 21;

// The next number for naming a new object, per kernel object type.
extern int32_t objIndex4Name[kNamingCounters];

// Reads a container chunk just opened into the frame (and "Nam#" into
// `counters`, null: objIndex4Name). *handled is false for any other id,
// which is then left alone. "PAG#" with a negative index or after another
// "PAG#", or "PAGE" before any "PAG#", is BAD_FORM; a "PAGE" past the
// announced pages is ignored.
IFFP ReadContainerChunk(CustomClientFrame* frame, _GroupContext* context, int32_t* counters, bool* handled);

// "DRAW" and "FONT" into the reading frame's current properties.
inline IFFP ReadDrawingProperties(CustomClientFrame* frame, _GroupContext* context)
{
    return ReadDrawingProperties(&frame->curDrawing, context);
}
inline IFFP ReadFontProperties(CustomClientFrame* frame, _GroupContext* context)
{
    return ReadFontProperties(&frame->curFont, context);
}

// Writes "Vers", "KhPr", "Layr", "Nam#" and the forced "DRAW" and "FONT".
IFFP WriteContainerHead(_GroupContext* form, const LayoutInfo& info, const int32_t* counters);

// The frame of a reader given its defaults: the kernel's drawing and font
// properties, the layout info's defaults.
void InitReadingFrame(CustomClientFrame* frame);

// Writes the 'LAYO' container of `pages` into `h` (emptied first); null
// counters: objIndex4Name. False at the first error, the handle then
// holding what was written.
bool PackFormat(platform::Handle h, platform::Handle pages, const LayoutInfo& info, const int32_t* counters);
