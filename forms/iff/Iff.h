// Chunk files: nested groups (FORM, LIST, CAT, PROP) of chunks, each an
// 8-byte header (id, size) followed by its data and one pad byte when the
// size is odd. Everything is written big-endian; a file whose top group
// reads "MROF", "TSIL" or " TAC" was written in the other byte order and is
// read with its sizes, ids, words and longs turned.
//
// Contexts live in the caller's frame: open, use, close before the parent
// is used again. A writing context has at most one open chunk. Nothing
// throws: every call answers its code and leaves the context closable.
#pragma once

#include <cstdint>

#include "forms/iff/IOFile.h"
#include "forms/iff/IffCodes.h"

struct _ClientFrame;

// One open group; the top level of a file counts as one.
struct _GroupContext {
    _GroupContext* parent = nullptr;
    _ClientFrame* clientFrame = nullptr;  // the reader's (or a larger frame beginning with one)
    IOFile* file = nullptr;
    int32_t position = 0;    // absolute, in the target
    int32_t bound = 0;       // end of this group, or kSizeUnknown while writing
    IFFP ckId = 0;           // 0: no chunk open; after a failed header the code
    int32_t ckSize = 0;      // as stored, or kSizeUnknown while a writer does not know it
    IFFP subtype = 0;        // after a group's header
    int32_t bytesSoFar = 0;  // data of the current chunk read or written
    uint8_t byteReversed = 0;
    uint8_t depth = 0;       // open groups above and including this one
};

using IFFClientProc = IFFP (*)(_GroupContext* context);

// The reader's procedures, each given the context of the group holding the
// group just met.
struct _ClientFrame {
    IFFClientProc getList = nullptr;
    IFFClientProc getProp = nullptr;
    IFFClientProc getForm = nullptr;
    IFFClientProc getCat = nullptr;
};

// --- writing ---------------------------------------------------------------

IFFP OpenWIFF(IOFile* file, _GroupContext* context, int32_t limit);
IFFP StartWGroup(_GroupContext* parent, IFFP groupId, int32_t groupSize, IFFP subtype, _GroupContext* newContext);
IFFP OpenWGroup(_GroupContext* parent, _GroupContext* newContext);
IFFP PutCkHdr(_GroupContext* context, IFFP ckId, int32_t ckSize);
IFFP IFFWriteBytes(_GroupContext* context, const void* data, int32_t count);
// Back-patches a size written unknown, adds the pad byte, closes the chunk.
IFFP PutCkEnd(_GroupContext* context);
IFFP PutCk(_GroupContext* context, IFFP ckId, int32_t ckSize, const void* data);
// A whole chunk in one write: its `ckSize` data bytes lie at framed + 8,
// the header is put into the 8 bytes before them and, when the size is
// odd, the pad byte into the one after them. A refused or failed chunk
// leaves the context as it was.
IFFP PutCkFramed(_GroupContext* context, IFFP ckId, int32_t ckSize, uint8_t* framed);
IFFP CloseWGroup(_GroupContext* context);
IFFP EndWGroup(_GroupContext* context);

// --- reading ---------------------------------------------------------------

IFFP OpenRIFF(IOFile* file, _GroupContext* context, _ClientFrame* frame);
IFFP OpenRGroup(_GroupContext* parent, _GroupContext* newContext);
IFFP CloseRGroup(_GroupContext* context);
IFFP SkipFwd(_GroupContext* context, int32_t count);
// The next chunk id, END_MARK or a code; also left in context->ckId.
IFFP GetChunkHdr(_GroupContext* context);
// Never turns bytes; the Words and Longs forms turn each unit of a file
// written in the other byte order.
IFFP IFFReadBytes(_GroupContext* context, void* buffer, int32_t count);
IFFP IFFReadWords(_GroupContext* context, void* buffer, int32_t byteCount);
IFFP IFFReadLongs(_GroupContext* context, void* buffer, int32_t byteCount);
// A length byte and its text, padded to an even count; buffer holds 256.
IFFP IFFReadPaddedPString(_GroupContext* context, unsigned char* buffer);
// Reads the file's top group through the frame.
IFFP ReadIFF(IOFile* file, _ClientFrame* frame);
IFFP ReadIList(_GroupContext* parent, _ClientFrame* frame);
// GetChunkHdr, with nested groups read at once by the context's frame.
IFFP GetF1ChunkHdr(_GroupContext* context);

// The stock procedures: a group left alone, a list read with the frame,
// properties ignored.
IFFP SkipGroup(_GroupContext* context);
IFFP GetList(_GroupContext* context);
IFFP GetProp(_GroupContext* context);

// The data bytes left in the current chunk.
inline int32_t ChunkMoreBytes(const _GroupContext* context) { return context->ckSize - context->bytesSoFar; }

// Kernel start-up: a non-zero flag sets the small, message and big
// interface font sizes to three quarters of their value.
void AdjusteFontForPlatform(uint8_t flag);
