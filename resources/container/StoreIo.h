// The one road by which the store changes a container file on disk:
// positioned writes of one or more adjacent pieces, size changes and
// flushes. Until a table is installed every slot is the platform's own
// call. Tests install a table to record every operation of a session (and
// rebuild the file at any point of it) or to make one operation fail.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace container {

// One piece of a gathered write; the pieces lie one after another.
struct IoPiece {
    const void* data = nullptr;
    uint32_t size = 0;
};

struct StoreIoHooks {
    // Writes every piece, in order, from `offset`. The write may start
    // past the end of the file: the file grows, the gap reading as zeros.
    platform::OSErr (*write)(int16_t refNum, uint64_t offset, const IoPiece* pieces, uint32_t count) = nullptr;
    // Sets the physical size of the file (a larger size adds zeros).
    platform::OSErr (*setSize)(int16_t refNum, uint64_t size) = nullptr;
    // Returns once everything written so far is on the disk.
    platform::OSErr (*flush)(int16_t refNum) = nullptr;
};

void SetStoreIoHooks(const StoreIoHooks& hooks);
void ResetStoreIoHooks();

// The store calls these.
platform::OSErr StoreWrite(int16_t refNum, uint64_t offset, const IoPiece* pieces, uint32_t count);
platform::OSErr StoreSetSize(int16_t refNum, uint64_t size);
platform::OSErr StoreFlush(int16_t refNum);

// The platform's own operations, for tables that pass calls on.
platform::OSErr PlatformWrite(int16_t refNum, uint64_t offset, const IoPiece* pieces, uint32_t count);
platform::OSErr PlatformSetSize(int16_t refNum, uint64_t size);
platform::OSErr PlatformFlush(int16_t refNum);

}  // namespace container
