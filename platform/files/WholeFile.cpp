#include "platform/files/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileTypes.h"

namespace platform {

OSErr ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, int64_t maxSize)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);
    struct stat st {};
    OSErr err = noErr;
    if (::fstat(fd, &st) != 0) {
        err = OSErrFromErrno(errno);
    } else if (S_ISDIR(st.st_mode)) {
        err = notAFileErr;
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
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A hidden sidecar-like name, so that a left-over temporary never lists.
    std::string temp = folder + "._" + name + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return OSErrFromErrno(errno);

    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = mode_t(newMode) & ~mask;
    }
    OSErr err = noErr;
    const auto* p = static_cast<const uint8_t*>(bytes);
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = OSErrFromErrno(errno);
            break;
        }
        done += size_t(n);
    }
    if (err == noErr && ::fchmod(fd, mode) != 0) err = OSErrFromErrno(errno);
    if (err == noErr && ::fsync(fd) != 0) err = OSErrFromErrno(errno);
    if (::close(fd) != 0 && err == noErr) err = OSErrFromErrno(errno);
    if (err == noErr && ::rename(temp.c_str(), path.c_str()) != 0) err = OSErrFromErrno(errno);
    if (err != noErr) ::unlink(temp.c_str());
    return err;
}

}  // namespace platform
