// The frame of the form walkers: one generic form reader (IFF_GetForm)
// hands every chunk of a stored form to a handler of the frame, chosen by
// chunk id. Each walker fills a frame with its own handlers and state and
// runs the chunk reader over the form's image; a rewriting walker writes a
// complete new image into a second handle as it goes.
//
// Handlers get the context of the chunk, its header read and the read
// position at the start of its data, and answer a chunk-library code; they
// reach the frame through the context's client-frame pointer.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "platform/core/MacTypes.h"

class TLayoutObjQz;
class TMainDoc;
struct C_ListRec;

// A walk that met any error answers this; its output must not be stored.
constexpr int16_t kFormWalkFailed = 10001;

struct WalkerFrame {
    _ClientFrame client;                 // 1-4: WalkerGetList, WalkerGetProp, IFF_GetForm, WalkerGetCat
    IFFClientProc flag = SkipGroup;      // 5 "FLAG"
    IFFClientProc text = SkipGroup;      // 6 "TEXT"
    IFFClientProc var = SkipGroup;       // 7 "VAR "
    IFFClientProc field = SkipGroup;     // 8 "FILD"
    IFFClientProc mult = SkipGroup;      // 9 "MULT"
    IFFClientProc satt = SkipGroup;      // 10 "SATT"
    IFFClientProc font = SkipGroup;      // 11 "FONT"
    IFFClientProc draw = SkipGroup;      // 12 "DRAW"
    IFFClientProc groupBox = SkipGroup;  // 13 "GRPB"
    IFFClientProc staticPict = SkipGroup;  // 14 "SPIC"
    IFFClientProc other = SkipGroup;     // 15 any other id, and header errors
    IFFClientProc formStart = SkipGroup;  // 16 before each FORM's chunks
    void* reserved = nullptr;            // 17
    IFFClientProc listBox = SkipGroup;   // 18 "GDTL"
    TLayoutObjQz* target = nullptr;      // 19 receives the cross-references
    TLayoutObjQz* source = nullptr;      // 20 whose document is searched
    TMainDoc* sourceDoc = nullptr;       // 21 the method mover's documents
    TMainDoc* destDoc = nullptr;         // 22
    C_ListRec* conflicts = nullptr;      // 23 of the copy in progress
    platform::Handle pendingSatt = nullptr;  // 24 the last "SATT" read
    void* state = nullptr;               // 25 the walker's own
    _GroupContext* output = nullptr;     // 26 the innermost open output group
    uint8_t writeOutput = 0;             // 27 FORMs and handlers write to the output
    uint8_t found = 0;                   // 28 search: the text matched

    WalkerFrame();
};

inline WalkerFrame* WalkerFrameOf(_GroupContext* context) { return reinterpret_cast<WalkerFrame*>(context->clientFrame); }

// Walks a FORM 'LAYO', 'OBJG' or 'OBJS' whose header `parent` has just
// read, chunk by chunk. A FORM of any other subtype is not walked; a
// rewriting walk writes it to the output as stored, so that no group of
// the form is lost.
IFFP IFF_GetForm(_GroupContext* parent);
// The group readers of the frame: a LIST's FORMs are walked, a rewriting
// walk reproducing its header and its PROPs as stored around them; a CAT
// is not walked and is copied as stored.
IFFP WalkerGetList(_GroupContext* parent);
IFFP WalkerGetProp(_GroupContext* list);
IFFP WalkerGetCat(_GroupContext* parent);
// Writes the chunk whose header was just read, unchanged, to the output;
// the read position stays.
IFFP CopyGroup(_GroupContext* context);
// The context's position in the form image.
int32_t IFFGetpos(_GroupContext* context);
// Patches `count` bytes of the form image at `position` in place;
// CLIENT_ERROR for bytes outside the image.
IFFP IFFOverWrite(_GroupContext* context, int32_t position, const void* data, int32_t count);

// Runs the frame over the image in `form`. With `output` (emptied first),
// the walk writes the rewritten image there. 0, -108 when memory ran out
// (reading or writing), or kFormWalkFailed for any other error of the
// reader, a handler or the output (the output is then empty). A pending "SATT" left by the walk is released. A rewriting walk
// refuses an image stored in the other byte order (kFormWalkFailed): the
// chunks it keeps as stored would not match the headers it writes.
int16_t RunFormWalker(platform::Handle form, WalkerFrame* frame, platform::Handle output);
