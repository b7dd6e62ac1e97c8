// What tells one commit of a store file from another on the disk: the
// header words each commit that changes anything writes anew (the logical
// end, the places and lengths of the map and the page table), as stored.
// A commit never writes its map where the commit before it has one, so the
// mark read before a commit and after it differ exactly when the commit
// reached the disk. The format tag and the open flags are left out: they
// change without a commit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

using CommitMark = std::array<uint8_t, 16>;

// The first bytes a store file's mark is read from.
constexpr size_t kCommitMarkSpan = 36;

// False when the file cannot be read, is no regular file (never waited
// on: a pipe under the name is answered at once) or holds no container.
bool ReadCommitMark(const std::string& path, CommitMark* mark);
// The mark of a store file whose first `size` bytes are `header`; false
// when they hold no container header.
bool CommitMarkOf(const uint8_t* header, size_t size, CommitMark* mark);
