#include "resources/CommitMark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"

static_assert(kCommitMarkSpan == container::kHeaderSize);

bool CommitMarkOf(const uint8_t* header, size_t size, CommitMark* mark)
{
    if (size < container::kHeaderSize) return false;
    // Either byte order: the magic read one way or the other.
    const uint32_t magic = platform::ReadBE32(header);
    const uint32_t swapped = (magic >> 24) | ((magic >> 8) & 0xFF00) | ((magic << 8) & 0xFF0000) | (magic << 24);
    if (!container::IsContainerMagic(magic) && !container::IsContainerMagic(swapped)) return false;
    std::copy(header + 4, header + 20, mark->begin());
    return true;
}

bool ReadCommitMark(const std::string& path, CommitMark* mark)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    uint8_t header[container::kHeaderSize];
    ssize_t got = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        do {
            got = ::pread(fd, header, sizeof header, 0);
        } while (got < 0 && errno == EINTR);
    }
    ::close(fd);
    return got == ssize_t(sizeof header) && CommitMarkOf(header, sizeof header, mark);
}
