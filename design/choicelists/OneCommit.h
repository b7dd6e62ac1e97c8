// Changes to a document's store that land in one commit or not at all.
// From construction the container's commits are put off (unless a change
// around this one already holds them, which then commits); the resources
// the change may touch are copied first with Keep. Commit carries out the
// one commit put off. When a step or the commit fails, the store drops
// what the change did and is again what its last commit left on disk, byte
// for byte; where it cannot (changes were waiting for a commit that could
// not be made first, or the disk cannot be read back) the copies are put
// back instead, so that the store in memory says again what the disk says.
// When a copy cannot be put back either, memory keeps part of the change:
// the store is left owing the drop (CPseudoResFile::DropHeld), so that it
// commits nothing until a later change can make it, and the change answers
// kResAdrift.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class OneCommit {
public:
    explicit OneCommit(int16_t container);
    // A change neither committed nor undone is undone.
    ~OneCommit();
    OneCommit(const OneCommit&) = delete;
    OneCommit& operator=(const OneCommit&) = delete;

    // Copies the resource as it is now (or notes that it is absent);
    // false when memory runs out or the resource cannot be read.
    bool Keep(platform::ResType type, int16_t id);
    // 0, or the error of a commit that failed (the copies are then back),
    // or kResAdrift when the change could not be undone.
    int16_t Commit();
    // Puts the copies back: 0, or kResAdrift when memory and disk may now
    // differ.
    int16_t Undo();

private:
    struct Copy {
        platform::ResType type;
        int16_t id;
        bool present;
        // The bytes as a handle made when kept: putting a copy back then
        // needs no memory, which a failed commit may have run out of.
        platform::Handle restore = nullptr;
        uint16_t attributes = 0;  // the store's, for the enciphering
        std::vector<uint8_t> name;  // a Pascal string; empty when unnamed
    };
    int16_t container_;
    int16_t refused_ = 0;  // the store could not begin a change
    bool holding_ = false;  // this change put the commits off
    bool droppable_ = false;  // and nothing was waiting for a commit then
    bool finished_ = false;
    std::vector<Copy> copies_;
};
