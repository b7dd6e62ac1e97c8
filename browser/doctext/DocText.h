// Documentation bodies: the resource that keeps an object's (or the
// structure's) documentation, and the text-edit record the editor shows.
//
// Version-1 body, big-endian, offsets from the start of the handle; the
// caller writes the first two words:
//  off          size  field
//   0            2    version 1                     0: the older body below
//   2            2    state 0, 1 or 2 (the caller's) other: read as 0 by callers
//   4            4    T, text length                past the handle, or 32,768
//                                                   and up: damaged
//   8            T    text, Mac Roman, returns end paragraphs
//   8+T          0/1  pad when T is odd (written 0)
//   8+T'         4    S, style record length         past the handle: damaged
//  12+T'         S    the text engine's style record (platform/textedit/StyleLayouts.h)
//  12+T'+S       0/1  pad when S is odd (written 0)
//  12+T'+S'      4    L, style table length          past the handle: damaged
//  16+T'+S'      L    the text engine's style table
// (T' and S' are T and S rounded up to even.) A style record shorter than
// its fixed part was written without styles: the text alone is read.
// Styles that do not fit the text or the table: damaged.
//
// Version-0 body (read only): the first word below 0x10000, then the same
// three blocks with no pad bytes.
//
// A damaged body is refused with kDamagedDoc and the record left as it was;
// memory running out answers -108. Styles move only while the machine type
// says styled text is there (G_MachineType 4 or more) and the record is
// styled; otherwise the text alone moves and the writer stores S = L = 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/textedit/TextEdit.h"

namespace browser {

// "An object or a document is missing or cannot be read."
constexpr int16_t kDamagedDoc = 1003;

// Where the three blocks of a body lie; false when a length does not fit
// what holds it. `padded`: the version-1 layout.
struct DocBodyBlocks {
    size_t textAt = 0, textLength = 0;
    size_t styleAt = 0, styleLength = 0;
    size_t tableAt = 0, tableLength = 0;
};
bool LocateDocBody(const uint8_t* bytes, size_t size, bool padded, DocBodyBlocks* out);

// Loads a body into the record: version 1, or version 0 through
// OldStyleResToHte; a null handle, a handle of 4 bytes or less and other
// versions leave the record as it was (0).
int16_t StyleResToHte(platform::Handle doc, platform::TEHandle te);
int16_t OldStyleResToHte(platform::Handle doc, platform::TEHandle te);
// Stores the record into the handle from offset 4 on, sizing it; a failed
// resize leaves the handle as it was and answers -108.
int16_t StyleHteToRes(platform::Handle doc, platform::TEHandle te);

// Plain bodies (plug-in documentation): the handle is the text.
int16_t ResToHte(platform::Handle doc, platform::TEHandle te);
int16_t HteToRes(platform::Handle doc, platform::TEHandle te);

}  // namespace browser
