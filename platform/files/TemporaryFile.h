// A file that replaces (or newly takes) a path only once it is safe on disk:
// it is written beside the path under a hidden temporary name, flushed,
// renamed into place, and the folder is flushed so that the rename itself
// survives a power loss. A temporary never committed is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the temporary beside `path` with the permission bits `mode`
    // less the process umask (applied by the system, never changed here).
    OSErr Create(const std::string& path, uint32_t mode);
    // Appends every byte, retrying interrupted and partial writes.
    OSErr Write(const void* bytes, size_t size);
    OSErr SetMode(uint32_t mode);
    // Flushes the bytes, renames the temporary to the path (refused with
    // dupFNErr when `noReplace` and the path exists) and flushes the folder.
    // Any failure removes the temporary; the path keeps its old contents
    // unless the rename was done.
    OSErr Commit(bool noReplace);
    // Flushes the bytes and swaps the names of the temporary and the file
    // at the path, so that the file the path held stays, under the
    // temporary's name, for the caller to look at before it goes: Finish
    // removes it, PutBack renames it over the new file. fnfErr when nothing
    // is at the path, paramErr when the file system cannot swap names:
    // nothing changed, and the temporary is removed.
    OSErr Exchange();
    // After Exchange: the file that came out is removed and the folder
    // flushed.
    OSErr Finish();
    // After Exchange: the file that came out takes the path again, in the
    // place of the new one.
    OSErr PutBack();
    // The temporary's name until it is committed or discarded.
    const std::string& TemporaryPath() const { return temp_; }

private:
    void Discard();

    std::string path_;
    std::string folder_;  // path_'s
    std::string temp_;
    int fd_ = -1;
};

// Flushes the folder holding `path`, so that the names created, removed or
// renamed in it are durable.
OSErr FlushFolderOf(const std::string& path);
// The same for `folder` itself; needs no memory.
OSErr FlushFolder(const std::string& folder);
// Removes the temporaries a killed process left while replacing `path`,
// but for the files kept from sweeps.
void RemoveTemporariesOf(const std::string& path);
// Keeps the file now at `path`, of a temporary's name, from every later
// sweep of this program: another program's file that a swap took from its
// name and that could not go back.
void KeepFromSweeps(const std::string& path);
// Whether a name in a folder is one a temporary is made under
// ("._NAME.", then eight hexadecimal digits).
bool IsTemporaryName(const std::string& name);

}  // namespace platform
