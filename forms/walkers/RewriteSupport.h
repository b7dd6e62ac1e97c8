// What the rewriting walkers share: the frame that copies every chunk,
// name comparison, the interprocess prefix, and the rewriting of the
// fields most of them change.
#pragma once

#include <cstdint>
#include <string>

#include "forms/walkers/ChunkRewrite.h"
#include "forms/walkers/StoredFields.h"
#include "forms/walkers/WalkerFrame.h"

// Every chunk handler CopyGroup: the frame of a walk that changes only
// the chunks whose handlers it then sets.
void CopyEveryChunk(WalkerFrame* frame);

// Two names are the same name when rel2str says so.
bool SameName(const unsigned char* a, const unsigned char* b);
bool SameName(const std::string& a, const unsigned char* b);

// The prefix of interprocess variable names (item 39 of list 104).
void GetInterprocessPrefix(unsigned char* prefix);
// Whether `name` begins with `prefix` (an empty prefix never).
bool HasPrefix(const unsigned char* name, const unsigned char* prefix);
// `name` with `prefix` in front, held to 255 characters.
void PutPrefix(const unsigned char* prefix, const unsigned char* name, unsigned char* out);

// `text` cut to `max` characters.
void CopyCut(unsigned char* out, const unsigned char* text, int32_t max);

// The length-prefixed field `field` of the edited chunk made `text`
// (padded to an even size when `padded`, as display formats are).
bool RespellText(ChunkEdit& edit, const StoredText& field, const unsigned char* text, bool padded);
// A static text's long length and its characters made `text`.
bool RespellStaticText(ChunkEdit& edit, const StoredStaticText& stored, const std::string& text);
// Rewrites the chunk open in `context`: `edit` reads what it needs of the
// chunk and records its changes in the ChunkEdit it is given, answering a
// read's error or IFF_OKAY; the chunk is then written to the walk's
// output, changed or as stored.
template <typename Edit>
IFFP RewriteChunk(_GroupContext* context, Edit edit)
{
    StoredChunk chunk;
    if (!TakeStoredChunk(context, &chunk)) return BAD_IFF;
    ChunkEdit changes(chunk);
    if (const IFFP err = edit(changes)) return err;
    return changes.Write(WalkOutput(context));
}

// IFF_OKAY for edits recorded; an edit refused (a field not where the
// chunk was read to hold it) fails the walk.
inline IFFP Edited(bool recorded) { return recorded ? IFFP(IFF_OKAY) : IFFP(BAD_FORM); }

// The handlers of a walker of a form's visible texts: the form text
// ("FLAG"), static texts and group box titles ("TEXT", "GRPB"), variables
// ("VAR ") and list boxes ("GDTL").
struct TextHandlers {
    IFFClientProc flag, text, var, listBox;
};
// Runs `frame` with those handlers over `source`; with an output, every
// other chunk is copied to it.
int16_t RunTextWalker(WalkerFrame* frame, platform::Handle source, platform::Handle output,
                      const TextHandlers& handlers);
