#include "platform/files/TemporaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <new>
#include <utility>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FolderListing.h"
#include "platform/files/OpenForks.h"

namespace platform {
namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr size_t kKeptOfName = 200;
constexpr size_t kSuffixDigits = 8;

std::string TemporaryPrefix(const std::string& name) { return "._" + name.substr(0, kKeptOfName) + "."; }

// A name nobody else is likely to pick: the process, a count and the clock.
std::string TemporaryName(const std::string& path, uint32_t attempt)
{
    static uint32_t counter = 0;
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const uint32_t mix = uint32_t(::getpid()) * 2654435761u ^ uint32_t(now.tv_nsec) ^ (++counter << 20) ^ attempt;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", mix);
    // A sidecar-like name, so that a left-over temporary is never listed;
    // the item's name is cut so that the whole stays a valid name.
    return folder + TemporaryPrefix(name) + suffix;
}

// The files kept from sweeps, by identity: they stay kept wherever their
// folder goes.
std::vector<std::pair<dev_t, ino_t>>& Kept()
{
    static std::vector<std::pair<dev_t, ino_t>> kept;
    return kept;
}

bool IsKept(const std::string& path)
{
    struct stat st {};
    if (Kept().empty() || ::lstat(path.c_str(), &st) != 0) return false;
    return std::find(Kept().begin(), Kept().end(), std::pair{st.st_dev, st.st_ino}) != Kept().end();
}

}  // namespace

TemporaryFile::~TemporaryFile()
{
    Discard();
}

void TemporaryFile::Discard()
{
    // A folder moved meanwhile took the temporary with it: it goes there.
    const std::string moved = fd_ >= 0 && !temp_.empty() ? OpenFileMovedTo(fd_, temp_) : std::string();
    if (fd_ >= 0) fileops::Close(fd_);
    fd_ = -1;
    if (!temp_.empty() && fileops::Unlink(temp_) != 0 && errno == ENOENT && !moved.empty()) fileops::Unlink(moved);
    temp_.clear();
}

OSErr TemporaryFile::Create(const std::string& path, uint32_t mode)
{
    Discard();
    path_ = path;
    // Known before anything is written: once the rename has landed, the
    // folder's flush needs no memory.
    folder_ = FolderOf(path);
    for (uint32_t attempt = 0; attempt < 64; ++attempt) {
        std::string temp = TemporaryName(path, attempt);
        int fd = fileops::Open(temp, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode & 07777));
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(temp);
            return noErr;
        }
        if (errno != EEXIST) return OSErrFromErrno(errno);
    }
    return dupFNErr;
}

OSErr TemporaryFile::Write(const void* bytes, size_t size)
{
    const auto* p = static_cast<const uint8_t*>(bytes);
    size_t done = 0;
    while (done < size) {
        ssize_t n = fileops::Write(fd_, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return OSErrFromErrno(errno);
        if (n == 0) return ioErr;
        done += size_t(n);
    }
    return noErr;
}

OSErr TemporaryFile::SetMode(uint32_t mode)
{
    return ::fchmod(fd_, mode_t(mode & 07777)) == 0 ? noErr : OSErrFromErrno(errno);
}

OSErr TemporaryFile::Commit(bool noReplace)
{
    OSErr err = fileops::Sync(fd_) == 0 ? noErr : OSErrFromErrno(errno);
    if (fileops::Close(fd_) != 0 && err == noErr) err = OSErrFromErrno(errno);
    fd_ = -1;
    if (err == noErr && fileops::Rename(temp_, path_, noReplace ? RENAME_NOREPLACE : 0) != 0)
        err = errno == EEXIST ? dupFNErr : OSErrFromErrno(errno);
    if (err != noErr) {
        Discard();
        return err;
    }
    temp_.clear();
    return FlushFolder(folder_);
}

OSErr TemporaryFile::Exchange()
{
    OSErr err = fileops::Sync(fd_) == 0 ? noErr : OSErrFromErrno(errno);
    if (fileops::Close(fd_) != 0 && err == noErr) err = OSErrFromErrno(errno);
    fd_ = -1;
    if (err == noErr && fileops::Exchange(temp_, path_) != 0)
        err = errno == ENOENT                                               ? fnfErr
              : errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ? paramErr
                                                                            : OSErrFromErrno(errno);
    if (err != noErr) Discard();
    return err;
}

OSErr TemporaryFile::Finish()
{
    Discard();
    return FlushFolder(folder_);
}

OSErr TemporaryFile::PutBack()
{
    // The file that came out goes back over the new one; should that fail,
    // it stays where it is rather than be removed as a temporary.
    const OSErr err = fileops::Rename(temp_, path_, 0) == 0 ? noErr : OSErrFromErrno(errno);
    temp_.clear();
    return err;
}

void RemoveTemporariesOf(const std::string& path)
{
    const std::string folder = FolderOf(path);
    const size_t slash = path.rfind('/');
    const std::string prefix = TemporaryPrefix(slash == std::string::npos ? path : path.substr(slash + 1));
    std::vector<std::string> names, leftovers;
    if (!NamesIn(folder, &names)) return;
    for (const std::string& name : names)
        if (name.size() == prefix.size() + kSuffixDigits && name.compare(0, prefix.size(), prefix) == 0 &&
            IsTemporaryName(name) && !IsKept(folder + "/" + name))
            leftovers.push_back(folder + "/" + name);
    for (const std::string& leftover : leftovers) fileops::Unlink(leftover);
}

void KeepFromSweeps(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return;
    try {
        Kept().emplace_back(st.st_dev, st.st_ino);
    } catch (const std::bad_alloc&) {
        // Without memory to note it, a later sweep may take it for a
        // leftover.
    }
}

bool IsTemporaryName(const std::string& name)
{
    const size_t digits = name.size() - kSuffixDigits;
    return name.size() > kSuffixDigits + 3 && name.compare(0, 2, "._") == 0 && name[digits - 1] == '.' &&
           std::all_of(name.begin() + std::ptrdiff_t(digits), name.end(),
                       [](char c) { return std::isxdigit(uint8_t(c)) != 0; });
}

OSErr FlushFolder(const std::string& folder)
{
    // Some file systems cannot flush a folder (EINVAL): they keep names safe
    // by other means.
    if (fileops::SyncFolder(folder) != 0 && errno != EINVAL) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FlushFolderOf(const std::string& path) { return FlushFolder(FolderOf(path)); }

}  // namespace platform
