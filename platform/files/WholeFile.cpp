#include "platform/files/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileTypes.h"
#include "platform/files/TemporaryFile.h"

namespace platform {

OSErr ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, int64_t maxSize)
{
    // Never blocking: a pipe placed under the name would otherwise wait for
    // a writer forever before its type could be checked.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);
    struct stat st {};
    OSErr err = noErr;
    if (::fstat(fd, &st) != 0) {
        err = OSErrFromErrno(errno);
    } else if (S_ISDIR(st.st_mode)) {
        err = notAFileErr;
    } else if (!S_ISREG(st.st_mode)) {
        err = fnfErr;  // pipes, sockets and devices hold no file
    } else if (st.st_size > maxSize) {
        err = memFullErr;
    } else {
        std::vector<uint8_t> data(size_t(st.st_size));
        size_t done = 0;
        while (done < data.size()) {
            ssize_t n = ::read(fd, data.data() + done, data.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                err = OSErrFromErrno(errno);
                break;
            }
            if (n == 0) break;  // the file shrank under us: keep what is there
            done += size_t(n);
        }
        data.resize(done);
        if (err == noErr) *bytes = std::move(data);
    }
    ::close(fd);
    return err;
}

OSErr WriteFileAtomically(const std::string& path, const void* bytes, size_t size, uint32_t newMode)
{
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    try {
        std::string target;
        TemporaryFile file;
        OSErr err = ReplacedFile(path, &target);
        if (err == noErr) err = WriteReplacement(target, bytes, size, newMode, &file);
        if (err == noErr) err = file.Commit(false);
        return err;
    } catch (const std::bad_alloc&) {
        // The temporary goes with its object; the file is the old one (the
        // rename and the folder's flush after it take no memory).
        return memFullErr;
    }
}

OSErr ReplacedFile(const std::string& path, std::string* target)
{
    *target = path;
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0 || !S_ISLNK(named.st_mode)) return noErr;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return OSErrFromErrno(errno);
    *target = resolved;
    std::free(resolved);
    return noErr;
}

OSErr WriteReplacement(const std::string& target, const void* bytes, size_t size, uint32_t newMode,
                       TemporaryFile* file)
{
    OSErr err = file->Create(target, newMode);
    if (err != noErr) return err;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) err = file->SetMode(old.st_mode & 07777);
    if (err == noErr) err = file->Write(bytes, size);
    return err;
}

}  // namespace platform
