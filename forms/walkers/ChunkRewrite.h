// Rewriting one chunk of a stored form: the chunk is written again with
// every byte as stored but the fields a walker changes. Fields a shorter,
// older chunk lacks stay absent, bytes this program does not read stay as
// they were, and the size is patched when the chunk ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "forms/iff/Iff.h"

// The chunk a handler was handed, where it lies in the form image (which
// does not move while the walk runs).
struct StoredChunk {
    IFFP id = 0;
    const uint8_t* data = nullptr;
    int32_t size = 0;
};

// The chunk open in `context`, taken before any of it is read; false when
// its data is not all in the image.
bool TakeStoredChunk(_GroupContext* context, StoredChunk* out);

// The changes to one stored chunk, each a run of its bytes replaced by
// others, given in the order of the chunk.
class ChunkEdit {
public:
    explicit ChunkEdit(const StoredChunk& chunk) : chunk_(chunk) {}

    // Bytes at..at+length of the chunk's data become `bytes`. An edit
    // that overlaps the one before it or passes the chunk is refused.
    bool Replace(int32_t at, int32_t length, std::string bytes);
    bool Changed() const { return !edits_.empty(); }
    // The chunk written to `output`: unchanged when nothing was edited.
    IFFP Write(_GroupContext* output) const;
    // The size the chunk's data will have.
    int64_t NewSize() const;

private:
    struct Edit {
        int32_t at, length;
        std::string bytes;
    };
    StoredChunk chunk_;
    std::vector<Edit> edits_;
};

// A length byte and its characters, as fields store them.
std::string PStrBytes(const unsigned char* text);
// The same, padded to an even count as display formats are.
std::string PaddedPStrBytes(const unsigned char* text);
// The stored size of a padded length-prefixed string of `length`.
inline int32_t PaddedPStrSize(int32_t length) { return (length + 2) & ~1; }

// The frame's output group, null when the walk writes none.
_GroupContext* WalkOutput(_GroupContext* context);
