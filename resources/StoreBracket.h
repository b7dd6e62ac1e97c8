// A change of one store file that lands whole or not at all. Begin commits
// what is pending and holds the file: inside the bracket the commits that
// callers ask for (updateres, updateresNoMap) only mark. Commit then
// writes everything with one commit; Drop, or a failed Commit, or leaving
// the scope without either, drops every change made inside (the file is
// as the last commit left it, see CPseudoResFile::DropHeld). A file of a
// server gets the writes at the commit, in one go (what a commit that
// failed on the way left there is kept, see CPseudoResFile::ServerChangeLeft).
//
// The bracket is one change of its document's files: the first write of
// either (the companion's, which a command writes first, or the commit)
// looks whether they are still those the program opened, and the rest of
// the change goes with that look (platform::ForkLook), so that a move
// between the two writes does not leave one file changed and the other
// refused.
#pragma once

#include <cstdint>

#include "platform/files/Forks.h"

class StoreBracket {
public:
    StoreBracket() = default;
    ~StoreBracket() { Drop(); }
    StoreBracket(const StoreBracket&) = delete;
    StoreBracket& operator=(const StoreBracket&) = delete;

    // 0, or the store's error (nothing is held then). A change dropped in
    // vain before is dropped first; while it cannot be, Begin fails.
    int16_t Begin(int16_t fileNumber);
    // 0, or the commit's error: the changes are then dropped (kResAdrift
    // when they cannot be). fileMovedErr too when the commit landed in
    // files no longer at the document's names (platform::ForkLook::End).
    int16_t Commit();
    // False when the changes could not be dropped (the disk could not be
    // read back, memory ran out): the file stays held, every commit asked
    // fails, closing it commits nothing, and the next Begin drops them.
    bool Drop();
    bool IsOpen() const { return fFile != 0; }

private:
    int16_t fFile = 0;
    platform::ForkLook fLook;
};
