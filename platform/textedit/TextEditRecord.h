// Inside the classic face: the state behind a record, and the entry
// wrapper that takes the caller's changes to the record first, runs the
// call, and writes the engine's state back into the record's fields and
// handles. Shared by the files of the face only.
#pragma once

#include <new>
#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/textedit/TextEdit.h"
#include "platform/textedit/TextEngine.h"

namespace platform::textedit {

struct RecordState {
    explicit RecordState(const TextAttributes& base) : engine(base), base(base) {}
    TextEngine engine;
    TextAttributes base;  // the record's default style
    bool styled = false;
    Handle styleHandle = nullptr;
    Handle styleTable = nullptr;
    uint32_t styleRefCon = 0;
    std::vector<int16_t> lineStarts;
    // What was last written into the record, to see callers' changes.
    std::vector<uint8_t> text, style, table;
    int16_t length = 0;
    uint32_t publishedChange = ~0u;
};

RecordState* StateOf(TEHandle te);
void SetLastError(OSErr err);
// Takes the caller's changes to the record (text and length, styles,
// selection, rectangles, alignment, click loop).
void Sync(TEHandle te);
// Writes the engine's state into the record.
void Publish(TEHandle te);

std::u16string FromMacRoman(const uint8_t* bytes, int32_t length);
std::vector<uint8_t> ToMacRoman(const std::u16string& text);

// Runs `call` on a live record between Sync and Publish; memory
// exhaustion becomes memFullErr.
template <class F>
void Entry(TEHandle te, F call)
{
    SetLastError(noErr);
    RecordState* s = StateOf(te);
    if (!s) {
        SetLastError(paramErr);
        return;
    }
    try {
        Sync(te);
        call(*s);
        Publish(te);
    } catch (const std::bad_alloc&) {
        SetLastError(memFullErr);
    }
}

}  // namespace platform::textedit
