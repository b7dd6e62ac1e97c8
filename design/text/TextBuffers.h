// The styled text that method rendering builds before it hands it to a
// text record: a buffer of bytes with style runs (tText), the 14 styles of
// method text taken from the user's settings, and the printing of a text
// record a page part at a time.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/textedit/TextEdit.h"

// A buffer handle: the header below, then `runCapacity` runs. In memory
// only, never stored.
using tText = platform::Handle;

struct TextBufferRec {
    int16_t length;         // text bytes used
    int32_t textCapacity;   // bytes allocated in `text`
    int32_t runCapacity;    // runs allocated after the header
    int16_t runCount;
    platform::Handle text;
};
struct TextRun {
    int32_t start;  // offset of the run's first byte
    int32_t style;  // index into the style table
};
static_assert(sizeof(TextBufferRec) == 24 && sizeof(TextRun) == 8);

// Text and runs stay below these; a change that would reach one is ignored.
constexpr int32_t kTextLimit = 32767;
constexpr int32_t kRunLimit = 32767;
constexpr int32_t kTextStep = 1024;
constexpr int32_t kRunStep = 128;
// Entries of the style table of method text.
constexpr int32_t kMethodStyleCount = 14;

// Length 0, a 1,024-byte text handle, room for 128 runs; null when memory
// runs out.
tText NewText();
void DeleteText(tText buffer);
// Appends `count` bytes; false (the buffer unchanged) when the text would
// reach 32,767 bytes or memory runs out.
bool TextAppend(const void* bytes, int32_t count, tText buffer);
// Starts a run of `style` at the current length unless the last run has
// that style already; false when the change is ignored (limit or memory).
bool TextSetStyle(int32_t style, tText buffer);
// Back to an earlier length and run count (a line that did not fit).
void TextCutBack(tText buffer, int16_t length, int16_t runCount);

const TextBufferRec* TextOf(tText buffer);
const TextRun* TextRunsOf(tText buffer);
const uint8_t* TextBytesOf(tText buffer);

// Puts the buffer's text into the record and, with a style table and a
// styled record, each run's style (all attributes) from its start to the
// next run's start; the record is recalculated.
void TextTohTE(tText buffer, platform::TEHandle te, const platform::TETextStyle* styles);

// The 14 styles of method text: `font`, plain, `size`, then each entry's
// face and colour from the user's text style setting of the entry.
void MyTEInitStyles(platform::TETextStyle* styles, int16_t font, int16_t size);
// The setting each style entry takes.
int16_t MethodStyleSetting(int32_t entry);

// Prints from line *firstLine (0 the first) the lines whose height stays
// below `height`, at `top` of the current port; *firstLine moves past
// them and *printed takes their height (0 when none fit).
void TextPrint(platform::TEHandle te, int16_t top, int16_t height, int32_t* firstLine, int16_t* printed);

class TMainDoc;
// Prints the whole record from the current print height, 60 points in
// from the page's left edge, turning the document's pages as it fills
// them (30 points above the bottom), with a rule 50 points in beside each
// printed block unless the script runs right to left. A line taller than
// a page ends it.
void PrintTextPages(platform::TEHandle te, TMainDoc* doc);
