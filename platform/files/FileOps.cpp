#include "platform/files/FileOps.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

FileOpObserver* gObserver = nullptr;

// Whether the observer refuses a call on `path`: errno is then set.
bool Refuse(const std::string& path)
{
    const int why = gObserver ? gObserver->Refusal(path) : 0;
    if (why != 0) errno = why;
    return why != 0;
}

bool WriteFails(int fd)
{
    const int why = gObserver ? gObserver->WriteFailure(fd) : 0;
    if (why != 0) errno = why;
    return why != 0;
}

}  // namespace

void SetFileOpObserver(FileOpObserver* observer) { gObserver = observer; }

namespace fileops {

int Refused(const std::string& path)
{
    return Refuse(path) ? errno : 0;
}

int Open(const std::string& path, int flags, mode_t mode)
{
    if (gObserver && (flags & O_CREAT)) {
        gObserver->Changing(path);
        if (Refuse(path)) return -1;
    }
    const int fd = ::open(path.c_str(), flags, mode);
    if (fd >= 0 && gObserver && (flags & O_ACCMODE) != O_RDONLY) {
        // O_EXCL proves the file new; without it, an open that creates
        // cannot tell, and the recorder finds out from what it knows.
        gObserver->Opened(fd, path, (flags & O_CREAT) && (flags & O_EXCL));
    }
    return fd;
}

ssize_t Write(int fd, const void* data, size_t size)
{
    if (WriteFails(fd)) return -1;
    const off_t at = gObserver ? ::lseek(fd, 0, SEEK_CUR) : 0;
    const ssize_t n = ::write(fd, data, size);
    if (n > 0 && gObserver) gObserver->Wrote(fd, uint64_t(at), data, size_t(n));
    return n;
}

ssize_t PWrite(int fd, const void* data, size_t size, off_t offset)
{
    if (WriteFails(fd)) return -1;
    const ssize_t n = ::pwrite(fd, data, size, offset);
    if (n > 0 && gObserver) gObserver->Wrote(fd, uint64_t(offset), data, size_t(n));
    return n;
}

ssize_t PWriteV(int fd, const iovec* vec, int count, off_t offset)
{
    if (WriteFails(fd)) return -1;
    const ssize_t n = ::pwritev(fd, vec, count, offset);
    if (n > 0 && gObserver) {
        // What went out, piece by piece.
        size_t left = size_t(n);
        uint64_t at = uint64_t(offset);
        for (int i = 0; i < count && left > 0; ++i) {
            const size_t part = vec[i].iov_len < left ? vec[i].iov_len : left;
            if (part) gObserver->Wrote(fd, at, vec[i].iov_base, part);
            at += part;
            left -= part;
        }
    }
    return n;
}

int Truncate(int fd, off_t size)
{
    const int r = ::ftruncate(fd, size);
    if (r == 0 && gObserver) gObserver->Resized(fd, uint64_t(size));
    return r;
}

int Sync(int fd)
{
    if (WriteFails(fd)) return -1;
    const int r = ::fsync(fd);
    if (r == 0 && gObserver) gObserver->Synced(fd);
    return r;
}

int DataSync(int fd)
{
    if (WriteFails(fd)) return -1;
    const int r = ::fdatasync(fd);
    if (r == 0 && gObserver) gObserver->Synced(fd);
    return r;
}

int Close(int fd)
{
    // The descriptor is free again however the close ends.
    if (gObserver) gObserver->Closed(fd);
    return ::close(fd);
}

int Rename(const std::string& from, const std::string& to, unsigned int flags)
{
    if (gObserver) gObserver->Changing(from);
    if (Refuse(from) || Refuse(to)) return -1;
    const int r = ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), flags);
    if (r == 0 && gObserver) gObserver->Renamed(from, to);
    return r;
}

int Exchange(const std::string& a, const std::string& b)
{
    if (gObserver) gObserver->Changing(a);
    if (Refuse(a) || Refuse(b)) return -1;
    const int r = ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE);
    if (r == 0 && gObserver) gObserver->Exchanged(a, b);
    return r;
}

int Unlink(const std::string& path)
{
    if (gObserver) gObserver->Changing(path);
    if (Refuse(path)) return -1;
    const int r = ::unlink(path.c_str());
    if (r == 0 && gObserver) gObserver->Removed(path);
    return r;
}

int MakeFolder(const std::string& path, mode_t mode)
{
    if (Refuse(path)) return -1;
    const int r = ::mkdir(path.c_str(), mode);
    if (r == 0 && gObserver) gObserver->MadeFolder(path);
    return r;
}

int RemoveFolder(const std::string& path)
{
    if (Refuse(path)) return -1;
    const int r = ::rmdir(path.c_str());
    if (r == 0 && gObserver) gObserver->Removed(path);
    return r;
}

int SyncFolder(const std::string& path)
{
    if (Refuse(path)) return -1;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    const int r = ::fsync(fd);
    const int saved = errno;
    ::close(fd);
    if (r == 0 && gObserver) gObserver->SyncedFolder(path);
    errno = saved;
    return r;
}

}  // namespace fileops
}  // namespace platform
