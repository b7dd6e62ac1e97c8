#include "platform/files/NameLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <new>

#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"

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

// The lock file at `path`, locked, and still at `path` once locked: a
// holder that let go in between removed the file this open found.
OSErr Lock(const std::string& path, int* out)
{
    *out = -1;
    for (int attempt = 0; attempt < 8; ++attempt) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            // Names here change only for those who may write the folder:
            // one of them may hold the lock all the same.
            fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) return noErr;
        }
        if (fd < 0) return errno == ENOENT ? noErr : OSErrFromErrno(errno);
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int why = errno;
            ::close(fd);
            return why == EWOULDBLOCK ? fBsyErr : OSErrFromErrno(why);
        }
        struct stat opened {}, named {};
        if (::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino) {
            *out = fd;
            return noErr;
        }
        ::close(fd);
    }
    return fBsyErr;
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
                return err;
            }
        }
        ++it->second.count;
        path_ = std::move(path);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

void NameLock::Release()
{
    if (path_.empty()) return;
    const auto it = HeldNames().find(path_);
    if (it != HeldNames().end() && --it->second.count == 0) {
        // Removed while still locked: whoever opened it meanwhile finds,
        // once it gets the lock, that the name no longer leads to it.
        if (it->second.fd >= 0) {
            ::unlink(path_.c_str());
            ::close(it->second.fd);
        }
        HeldNames().erase(it);
    }
    path_.clear();
}

}  // namespace platform
