// A document's two files (the data file and its companion) replaced or
// made together: the new pair is made under names of its own beside the
// old one and takes its place all at once, so that a crash at any point
// leaves the old pair or the new one at the name. What a crash leaves
// half done is put right the next time the name is opened, moved or made.
//
// Between programs: only the holder of a pair's lock (PairLock) opens,
// replaces, makes or puts right the pair at a name, so that every other
// program finds the old pair or the new one, whole. A document open in a
// program is held there (its data file and companion are locked for
// writing) and is neither replaced nor put right by another.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"
#include "platform/files/NameLock.h"

// The lock of the pair at a name, held until it goes out of scope. It is
// the lock of the companion: every name whose companion it is (a structure
// and a library of one base name) takes the same one. Nested locks of one
// companion in this program share it.
class PairLock {
public:
    // 0, or fBsyErr when another program holds the companion's lock, or the
    // document there is open (here or in another program); lockNameErr when
    // something other than a lock file is at the lock's name.
    int16_t Take(const platform::FSSpec& dest);
    // Lets go before the scope ends (a refusal said after it keeps nobody
    // waiting).
    void Release() { name_.Release(); }

private:
    platform::NameLock name_;
};

// The lock file of the pair at `dest` (PairLock).
platform::FSSpec PairLockFile(const platform::FSSpec& dest);
// ".qz." NAME SUFFIX in the folder of `item`: the hidden name of a file
// that works on `item`. A name too long to take them is cut and told apart
// from others by a hash of it.
platform::FSSpec HiddenBeside(const platform::FSSpec& item, const char* suffix);
// The names the new pair of `dest` is made under before it takes its
// place; false when `dest` can have no companion.
bool MadePair(const platform::FSSpec& dest, platform::FSSpec* data, platform::FSSpec* companion);
// Puts the made pair of `dest` (complete, flushed) in the place of the
// pair at `dest`, if any. 0, or why not (fBsyErr: the document there is
// open; dupFNErr: the companion is another document's, CompanionOwner;
// permErr: the folder lets this user make files but not replace those
// there); after a failure the name holds the old pair and the made pair is
// gone, nothing left for another program to finish (but where the disk
// failed taking it back too: then its journal finishes the new pair whole).
// The caller holds the lock of `dest` since it began to make the pair.
int16_t ReplacePair(const platform::FSSpec& dest);
// The hidden names a new document for `dest` is built under (its data
// file and companion) before PlaceBuilt puts it at `dest`; false when the
// name is too long to take them.
bool BuildingPair(const platform::FSSpec& dest, platform::FSSpec* data, platform::FSSpec* companion);
// Puts the document built under the building names of `dest` (complete,
// flushed, closed) in the place of the pair at `dest`, if any. 0, or why
// not; after a failure or a crash the name holds the old pair or the new
// one, and a building left behind goes with the next FinishPair. The
// caller holds the lock of `dest` since it began to build.
int16_t PlaceBuilt(const platform::FSSpec& dest);
// Finishes or undoes what a crash left of a replacement at `dest`, or of a
// change of both its files (CompanionJournalFile), and removes the
// leftovers beside it (a building never put in place too). Nothing to do
// in the usual case; fBsyErr, with nothing touched, when the pair's lock
// cannot be taken. `*unused` (may be null) tells that a journal of the
// companion could not be used and was left beside the document.
int16_t FinishPair(const platform::FSSpec& dest, bool* unused = nullptr);
