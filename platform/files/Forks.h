// Open forks: reading, writing, positioning and sizing the data fork of a
// file, or its resource fork (held in the sidecar and written back when the
// fork is flushed or closed). Sizes and positions are 64-bit.
//
// Opening for writing is exclusive: a second writer is refused with
// opWrErr unless both share (fsRdWrShPerm); readers are always let in.
// Writers also hold an advisory lock, so other processes see them too.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

OSErr FSpOpenDF(const FSSpec& fileSpec, SInt8 permission, int16_t* refNum);
OSErr FSpOpenRF(const FSSpec& fileSpec, SInt8 permission, int16_t* refNum);

// Reads up to *count bytes at the mark; fewer than asked gives eofErr.
// *count becomes the number of bytes moved.
OSErr FSRead(int16_t refNum, int64_t* count, void* buffer);
OSErr FSWrite(int16_t refNum, int64_t* count, const void* buffer);

OSErr GetFPos(int16_t refNum, int64_t* position);
// A position before the start gives posErr (the mark stays); one past the
// end gives eofErr with the mark at the end.
OSErr SetFPos(int16_t refNum, int16_t posMode, int64_t offset);
OSErr GetEOF(int16_t refNum, int64_t* logicalEOF);
OSErr SetEOF(int16_t refNum, int64_t logicalEOF);
// Positioned input and output for callers that keep their own positions:
// the mark is neither read nor moved, and the file's size is not asked for.
struct ForkSlice {
    const void* data = nullptr;
    int64_t size = 0;
};
// Reads exactly *count bytes at offset; fewer gives eofErr. *count becomes
// the number of bytes moved.
OSErr FSReadAt(int16_t refNum, int64_t offset, int64_t* count, void* buffer);
// Writes the slices one after another from offset, gathered into as few
// system calls as possible. Writing past the end extends the fork; a gap
// between the old end and offset reads as zeros.
OSErr FSWriteAt(int16_t refNum, int64_t offset, const ForkSlice* slices, int32_t count);

// Writes what is pending to disk (the resource fork's sidecar).
OSErr FSFlush(int16_t refNum);
OSErr FSClose(int16_t refNum);

// noErr while the open fork's file is still at the path it is known by
// (moves through this service follow it); fnfErr once it was moved or
// deleted behind the program's back: a write then would land where
// nobody finds it.
OSErr CheckForkPath(int16_t refNum);

// Puts `size` bytes whole in the place of the file of the open data fork
// `refNum` (written beside it, flushed, renamed over it) and keeps the fork
// open on the new file. The new file is opened, and so locked for writing,
// before it takes the name: no other program finds the file unheld in
// between, and none can keep the fork from going on. fnfErr when the file
// was moved or deleted behind the program's back; after any failure the
// fork is on whichever file the name holds, the old one unless the rename
// was done.
OSErr ReplaceDataFork(int16_t refNum, const void* bytes, size_t size);

// The FSSpec, the permission and whether it is the resource fork of
// an open fork.
OSErr GetForkInfo(int16_t refNum, FSSpec* fileSpec, SInt8* permission, bool* resourceFork);

// Closes every open fork (writing pending resource forks): for tests.
void CloseAllForks();

}  // namespace platform
