#include "platform/files/NameLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileTypes.h"
#include "platform/files/FolderListing.h"

namespace platform {
namespace {

struct Holding {
    int fd = -1;  // -1: a folder where no lock file can be made
    int count = 0;
};

std::map<std::string, Holding>& HeldNames()
{
    static std::map<std::string, Holding> held;
    return held;
}

std::string& RefusedLock()
{
    static std::string path;
    return path;
}

// The lock file at `path`, never waited on, never through a link. A test
// may refuse it as another user's (fileops::Refused).
int OpenLockFile(const std::string& path, int flags)
{
    if (const int why = fileops::Refused(path)) {
        errno = why;
        return -1;
    }
    return ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
}

// Whether `path` still names the open file `opened` describes: a holder
// that let go meanwhile removed it.
bool StillNamed(const std::string& path, const struct stat& opened)
{
    struct stat named {};
    return ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A held lock file let go: removed while still locked, so that whoever
// opened it meanwhile finds, once it gets the lock, that the name no longer
// leads to it.
void LetGo(const std::string& path, const Holding& holding)
{
    if (holding.fd < 0) return;
    ::unlink(path.c_str());
    ::close(holding.fd);
}

// The lock file at `path`, locked, and still at `path` once locked.
OSErr Lock(const std::string& path, int* out)
{
    *out = -1;
    for (int attempt = 0; attempt < 8; ++attempt) {
        // Only a plain file is a lock file: a folder, a link or a pipe at
        // the name is somebody else's, and is said as such.
        struct stat there {};
        if (::lstat(path.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) return lockNameErr;
        int fd = OpenLockFile(path, O_RDWR | O_CREAT);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            // Names here change only for those who may write the folder:
            // one of them may hold the lock all the same.
            fd = OpenLockFile(path, O_RDONLY);
            if (fd < 0 && errno == ENOENT) return noErr;
            // Another user's lock file, closed to this one: whether it is
            // held cannot be told.
            if (fd < 0 && (errno == EACCES || errno == EPERM)) return lockDeniedErr;
        }
        // Something other than a plain file took the name since the look.
        if (fd < 0 && (errno == EISDIR || errno == ELOOP || errno == ENXIO)) return lockNameErr;
        if (fd < 0) return errno == ENOENT ? noErr : OSErrFromErrno(errno);
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return lockNameErr;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            ::close(fd);
            return why == EWOULDBLOCK ? fBsyErr : OSErrFromErrno(why);
        }
        if (StillNamed(path, opened)) {
            // Every user must open a lock file to learn whether it is
            // held: one made under a strict umask is opened to all to
            // read (it holds nothing).
            if (opened.st_uid == ::geteuid() && (opened.st_mode & 0444) != 0444)
                ::fchmod(fd, (opened.st_mode & 07777) | 0444);
            *out = fd;
            return noErr;
        }
        ::close(fd);
    }
    return fBsyErr;
}

// The lock files beside `path` that nobody holds: a killed program's, or
// one of a name no longer used. Whoever gets a lock file's lock may remove
// it (as its holder does when letting go): one who opened it meanwhile
// finds, once locked, that the name no longer leads to it.
void RemoveUnheldBeside(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return;
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    std::vector<std::string> names;
    if (!NamesIn(folder, &names)) return;
    for (const std::string& name : names) {
        if (!IsLockFileName(name)) continue;
        const std::string other = path.substr(0, slash + 1) + name;
        if (HeldNames().count(other)) continue;
        const int fd = OpenLockFile(other, O_RDONLY);
        if (fd < 0) continue;
        struct stat opened {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            StillNamed(other, opened))
            ::unlink(other.c_str());
        ::close(fd);
    }
}

}  // namespace

OSErr NameLock::Take(const std::string& lockPath)
{
    Release();
    try {
        std::string path = lockPath;
        auto it = HeldNames().find(path);
        if (it == HeldNames().end()) {
            it = HeldNames().emplace(path, Holding{}).first;
            if (const OSErr err = Lock(path, &it->second.fd)) {
                HeldNames().erase(it);
                if (err == lockNameErr || err == lockDeniedErr) RefusedLock() = path;
                return err;
            }
            if (it->second.fd >= 0) RemoveUnheldBeside(path);
        }
        ++it->second.count;
        path_ = std::move(path);
    } catch (const std::bad_alloc&) {
        // A lock taken before memory ran out stays counted by nobody.
        const auto it = HeldNames().find(lockPath);
        if (it != HeldNames().end() && it->second.count == 0) {
            LetGo(lockPath, it->second);
            HeldNames().erase(it);
        }
        return memFullErr;
    }
    return noErr;
}

const std::string& RefusedLockFile() { return RefusedLock(); }

bool IsLockFileName(const std::string& name)
{
    constexpr size_t kPrefix = 4, kSuffix = 5;  // ".qz." and ".lock"
    return name.size() > kPrefix + kSuffix && name.compare(0, kPrefix, ".qz.") == 0 &&
           name.compare(name.size() - kSuffix, kSuffix, ".lock") == 0;
}

void NameLock::Release()
{
    if (path_.empty()) return;
    const auto it = HeldNames().find(path_);
    if (it != HeldNames().end() && --it->second.count == 0) {
        LetGo(path_, it->second);
        HeldNames().erase(it);
    }
    path_.clear();
}

}  // namespace platform
