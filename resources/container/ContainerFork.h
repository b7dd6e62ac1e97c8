// The data fork of a container file: every read and write of the store
// goes through here, and every change through the store's I/O table
// (StoreIo.h). The fork keeps the file's length itself (the store is its
// only writer), so neither reads nor writes ask the system for it. A write
// may start past the physical end, but below the logical end plus one
// bitmap page; the file grows by the write itself, the gap reading as
// zeros.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "resources/container/StoreIo.h"

namespace container {

class ContainerFork {
public:
    ContainerFork() = default;
    ~ContainerFork();
    ContainerFork(const ContainerFork&) = delete;
    ContainerFork& operator=(const ContainerFork&) = delete;

    // Opens for reading and writing, or for reading only. A writable open
    // of a locked or protected file falls back to reading only.
    platform::OSErr OpenRealFile(const platform::FSSpec& fileSpec, bool writable);
    platform::OSErr Close();
    bool IsOpen() const { return refNum_ != 0; }
    bool IsWritable() const { return writable_; }
    int16_t RefNum() const { return refNum_; }

    // The physical size of the fork.
    platform::OSErr PhysicalSize(uint64_t* size) const;
    // Reads exactly count bytes at offset (eofErr when the file is shorter).
    platform::OSErr ReadAt(uint64_t offset, void* buffer, uint32_t count);
    // Writes count bytes at offset; logicalEnd bounds how far past the
    // physical end a write may start.
    platform::OSErr WriteAt(uint64_t offset, const void* buffer, uint32_t count, uint32_t logicalEnd);
    // Writes the pieces one after another from offset, in one operation.
    platform::OSErr WriteAt(uint64_t offset, const IoPiece* pieces, uint32_t count, uint32_t logicalEnd);
    // Writes everything pending through to the disk.
    platform::OSErr Flush();

private:
    int16_t refNum_ = 0;
    bool writable_ = false;
    uint64_t length_ = 0;  // the physical size
};

}  // namespace container
