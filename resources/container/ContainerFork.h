// The data fork of a container file: every read and write of the store
// goes through here, and every change through the store's I/O table
// (StoreIo.h). The fork keeps the file's length itself (the store is its
// only writer), so neither reads nor writes ask the system for it. A write
// may start past the physical end, but below the logical end plus one
// bitmap page; the file grows by the write itself, the gap reading as
// zeros.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "platform/files/Forks.h"
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
    // Whether a write was tried since the open (it may have landed in part).
    bool Written() const { return written_; }
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
    // The same, never taken back by RollBack.
    platform::OSErr WriteForGood(uint64_t offset, const void* buffer, uint32_t count, uint32_t logicalEnd);
    // Writes everything pending through to the disk.
    platform::OSErr Flush();

    // Every write first looks whether the document's files are still those
    // it opened, in place (platform::CheckForkPath), and fails with
    // fileMovedErr once they were moved, replaced or deleted behind the
    // program's back (a change then would land where nobody finds it). A
    // PlaceLook makes that one look for a whole change (a commit): its
    // first write looks, its other writes take that look as theirs, and a
    // change that writes nothing looks at nothing. Inside another look of
    // the document, it is that one.
    class PlaceLook {
    public:
        explicit PlaceLook(ContainerFork& fork) : look_(fork.refNum_) {}
        // platform::ForkLook::End.
        platform::OSErr End() { return look_.End(); }

    private:
        platform::ForkLook look_;
    };

    // From now on every write first keeps the bytes it overwrites below
    // the present length (a write whose bytes cannot be kept fails), so
    // that RollBack can put them back and cut the file to that length.
    void StartUndo();
    // Puts the kept bytes back, last write first, cuts the file and
    // flushes; the first error, and the undo ends.
    platform::OSErr RollBack();
    // Forgets the kept bytes.
    void EndUndo();
    bool Undoing() const { return undoing_; }

private:
    platform::OSErr KeepBeforeWrite(uint64_t offset, uint64_t total);


    int16_t refNum_ = 0;
    bool writable_ = false;
    bool written_ = false;
    uint64_t length_ = 0;  // the physical size
    bool undoing_ = false;
    uint64_t undoLength_ = 0;
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> kept_;
};

}  // namespace container
