// Open forks: reading, writing, positioning and sizing the data fork of a
// file, or its resource fork (held in the sidecar and written back when the
// fork is flushed or closed). Sizes and positions are 64-bit.
//
// Opening for writing is exclusive: a second writer is refused with
// opWrErr unless both share (fsRdWrShPerm); readers are always let in.
// Writers also hold an advisory lock, so other processes see them too.
#pragma once

#include <string>

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

// The two open data forks are the files of one document: `document` its
// data file, `companion` the file that goes with it. From now on a look at
// either looks at both, and a refusal names the document. It ends when
// either closes.
OSErr BindForks(int16_t document, int16_t companion);

// Whether the open fork's file is still the file it was opened on (its
// device and inode), at the path it is known by, and so is the other file
// of its document, each of a document under no second name: noErr, or
// fileMovedErr once either was moved, renamed, replaced, deleted or linked
// under another name behind the program's back (a write then would land
// where nobody finds it, or pair one document's file with another's).
// Moves made through this service follow the forks. Inside a ForkLook the
// first look that finds the files in place stands for the rest of it. The
// document's data file made read-only since it was opened (while open for
// writing) refuses every look, fLckdErr naming it. Once a look found the
// files moved, the document is refused until its files close: every later
// look fails as that one did.
OSErr CheckForkPath(int16_t refNum);

// Where the data file of the fork's document (the fork's own file when it
// is bound to none) is now, when it was moved elsewhere and the system
// tells; empty otherwise.
std::string DocumentMovedTo(int16_t refNum);

// One look at a document's files for a whole change (a commit, or a
// command writing both files): its first write looks, its other writes,
// to either file, take that look as theirs, and a change that writes
// nothing looks at nothing. Inside another look of the document, it is
// that one. A fork closed meanwhile ends nothing.
class ForkLook {
public:
    ForkLook() = default;
    explicit ForkLook(int16_t refNum) { Open(refNum); }
    ~ForkLook() { Close(); }
    ForkLook(const ForkLook&) = delete;
    ForkLook& operator=(const ForkLook&) = delete;

    void Open(int16_t refNum);
    // Ends the look without another.
    void Close();
    // Ends the look. The outermost look of a change that wrote looks once
    // more: when the files are no longer in place, the change went where
    // the document's names no longer reach (another program renamed other
    // files over them meanwhile). fileMovedErr then, noted naming the
    // document, which takes no write from then on.
    OSErr End();

private:
    int16_t refNum_ = 0;   // the fork keeping the look
    uint64_t serial_ = 0;  // and which one of that number
};

// Puts `size` bytes whole in the place of the file of the open data fork
// `refNum` (written beside it, flushed, and swapped with it by name) and
// keeps the fork open on the new file. The new file is opened, and so
// locked for writing, before it takes the name: no other program finds the
// file unheld in between, and none can keep the fork from going on. The
// file that comes out of the swap must be the fork's own (and, of a
// document, alone and still writable), and the document's other file still
// in place (CheckForkPath): otherwise the names are swapped back (where
// the folder went, should it have moved), and the files at both names keep
// every byte. fileMovedErr then, or fLckdErr for a document's file made
// read-only since it was opened, permErr for a folder that lets nothing be
// made or swapped in it; each noted naming the document. A file that cannot
// be swapped back stays where the swap put it, kept from every sweep, and
// the refusal says where. After any failure the fork is on its old file.
OSErr ReplaceDataFork(int16_t refNum, const void* bytes, size_t size);

// The FSSpec, the permission and whether it is the resource fork of
// an open fork.
OSErr GetForkInfo(int16_t refNum, FSSpec* fileSpec, SInt8* permission, bool* resourceFork);

// Closes every open fork (writing pending resource forks): for tests.
void CloseAllForks();

}  // namespace platform
