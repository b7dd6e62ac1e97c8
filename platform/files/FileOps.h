// The system calls by which the file service changes the disk: creating,
// writing, sizing, flushing, closing, renaming and removing. Each tells an
// observer what it did once it succeeded, so that tests can record every
// change of a session and rebuild the disk as a crash at any point of it
// would leave it. Without an observer they are the system's own calls.
#pragma once

#include <sys/types.h>
#include <sys/uio.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Each call does nothing unless an observer wants it.
class FileOpObserver {
public:
    virtual ~FileOpObserver() = default;
    // A descriptor opened for writing (`created`: the open made the file).
    virtual void Opened(int, const std::string&, bool) {}
    virtual void Wrote(int, uint64_t, const void*, size_t) {}
    virtual void Resized(int, uint64_t) {}
    // The file's bytes are on the disk.
    virtual void Synced(int) {}
    virtual void Closed(int) {}
    virtual void Renamed(const std::string&, const std::string&) {}
    // The two names swapped their files.
    virtual void Exchanged(const std::string&, const std::string&) {}
    virtual void Removed(const std::string&) {}
    // The names in the folder are on the disk.
    virtual void SyncedFolder(const std::string&) {}
    virtual void MadeFolder(const std::string&) {}
    // About to create (an open that may), rename, exchange or remove
    // `path`: a test stops here to let another program in.
    virtual void Changing(const std::string&) {}
    // Before a call makes, renames (either name), removes or flushes
    // `path`, or opens a lock file there: an errno fails the call with it,
    // as the system refuses what another user's files or folder forbid.
    virtual int Refusal(const std::string&) { return 0; }
    // Before a write or a flush through the descriptor: an errno fails it
    // with that, nothing done (ENOSPC: the disk full at that moment).
    virtual int WriteFailure(int) { return 0; }
};

// Null: none.
void SetFileOpObserver(FileOpObserver* observer);

namespace fileops {

// As the system calls of the same names; errno tells why on failure.
int Open(const std::string& path, int flags, mode_t mode = 0);
ssize_t Write(int fd, const void* data, size_t size);
ssize_t PWrite(int fd, const void* data, size_t size, off_t offset);
ssize_t PWriteV(int fd, const iovec* vec, int count, off_t offset);
int Truncate(int fd, off_t size);
int Sync(int fd);
int DataSync(int fd);
int Close(int fd);
int Rename(const std::string& from, const std::string& to, unsigned int flags);
// renameat2 with RENAME_EXCHANGE: the files at `a` and `b` swap names.
int Exchange(const std::string& a, const std::string& b);
int Unlink(const std::string& path);
int MakeFolder(const std::string& path, mode_t mode);
// 0, or the errno an observer fails a call on `path` with (Refusal): for
// the calls made outside this table, such as the opens of a lock file.
int Refused(const std::string& path);
int RemoveFolder(const std::string& path);
// fsync of the folder at `path` (EINVAL where the file system cannot).
int SyncFolder(const std::string& path);

}  // namespace fileops
}  // namespace platform
