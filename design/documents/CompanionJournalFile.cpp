// The journal, big-endian, written whole or not at all (a temporary renamed
// into place):
//   0  'QzCK'
//   4  the data file's commit mark before the change (16 bytes)
//  20  the new companion's size (8) and 28 its hash (8)
//  36  the old companion's size (8) and 44 its hash (8)
//  52  the hash of bytes 0 to 51 (8)
//  60  the old companion's bytes, to the end of the file
// Hashes are 64-bit FNV-1a: any one byte changed, or any length cut,
// shows. A journal of the layout before ('QzCJ', the mark, the new size and
// hash, then the old bytes at 36) carries no check of its old bytes: it is
// used only when they are a whole resource file written as this program
// writes one (its parse built again gives every byte back).
#include "design/documents/CompanionJournalFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "design/documents/DocumentPairs.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/OpenForks.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "resources/CommitMark.h"
#include "resources/Companion.h"

using platform::FSSpec;

namespace {

constexpr uint32_t kMagic = platform::FourCC("QzCK");
constexpr uint32_t kOldMagic = platform::FourCC("QzCJ");
constexpr size_t kHeader = 60;
constexpr size_t kChecked = 52;  // the header bytes its own hash covers
constexpr size_t kOldHeader = 36;
// No companion is larger than a resource file can be.
constexpr uint64_t kMaxCompanion = INT32_MAX;

uint64_t Hash(const uint8_t* bytes, size_t size)
{
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    return h;
}
uint64_t Hash(const std::vector<uint8_t>& bytes) { return Hash(bytes.data(), bytes.size()); }

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int16_t Remove(const std::string& path)
{
    if (platform::fileops::Unlink(path) != 0 && errno != ENOENT) return platform::OSErrFromErrno(errno);
    return platform::FlushFolderOf(path);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Exactly `size` bytes at `offset`, or false.
bool ReadAt(int fd, uint64_t offset, uint8_t* out, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, out + done, size - done, off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// A regular file at `path` (no link followed, never waited on) and its
// size; -1 when there is none.
int OpenFile(const std::string& path, int64_t* size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    *size = int64_t(st.st_size);
    return fd;
}

struct Journal {
    CommitMark mark{};
    uint64_t newSize = 0, newHash = 0;
    std::vector<uint8_t> old;
};

enum class Found { None, Unusable, Journal };

// Whether `body` is a resource file as this program writes one, whole.
bool WholeResourceFile(const std::vector<uint8_t>& body)
{
    platform::ResourceFileImage image;
    std::vector<uint8_t> again;
    return platform::ParseResourceFile(body.data(), body.size(), &image) == platform::noErr &&
           platform::BuildResourceFile(image, &again) == platform::noErr && again == body;
}

// The journal at `path`, read only as far as its checks allow: a size that
// does not add up is never read on.
Found Load(const std::string& path, Journal* j)
{
    int64_t size = 0;
    const Fd fd(OpenFile(path, &size));
    if (fd.get() < 0) return errno == ENOENT ? Found::None : Found::Unusable;
    uint8_t header[kHeader];
    if (size < int64_t(kOldHeader) || !ReadAt(fd.get(), 0, header, kOldHeader)) return Found::Unusable;
    const uint32_t magic = platform::ReadBE32(header);
    uint64_t oldSize = 0, oldHash = 0;
    size_t bodyAt = 0;
    if (magic == kMagic) {
        if (size < int64_t(kHeader) || !ReadAt(fd.get(), kOldHeader, header + kOldHeader, kHeader - kOldHeader) ||
            platform::ReadBE64(header + kChecked) != Hash(header, kChecked))
            return Found::Unusable;
        oldSize = platform::ReadBE64(header + 36);
        oldHash = platform::ReadBE64(header + 44);
        bodyAt = kHeader;
    } else if (magic == kOldMagic) {
        oldSize = uint64_t(size) - kOldHeader;
        uint8_t resourceHeader[16];
        if (oldSize < sizeof resourceHeader || !ReadAt(fd.get(), kOldHeader, resourceHeader, sizeof resourceHeader) ||
            !platform::IsResourceFileHeader(resourceHeader, oldSize))
            return Found::Unusable;
        bodyAt = kOldHeader;
    } else {
        return Found::Unusable;
    }
    if (oldSize > kMaxCompanion || uint64_t(size) != bodyAt + oldSize) return Found::Unusable;
    j->old.resize(size_t(oldSize));
    if (!ReadAt(fd.get(), bodyAt, j->old.data(), j->old.size())) return Found::Unusable;
    if (magic == kMagic ? Hash(j->old) != oldHash : !WholeResourceFile(j->old)) return Found::Unusable;
    std::memcpy(j->mark.data(), header + 4, j->mark.size());
    j->newSize = platform::ReadBE64(header + 20);
    j->newHash = platform::ReadBE64(header + 28);
    return Found::Journal;
}

enum class Now { Journaled, Other, Unreadable };

// Whether the companion holds what the journaled change wrote: one that is
// missing, no file or larger than that (memFullErr) does not.
Now CompanionNow(const std::string& path, const Journal& j)
{
    std::vector<uint8_t> bytes;
    switch (platform::ReadWholeFile(path, &bytes, int64_t(std::min(j.newSize, kMaxCompanion)))) {
    case platform::noErr: return bytes.size() == j.newSize && Hash(bytes) == j.newHash ? Now::Journaled : Now::Other;
    case platform::fnfErr:
    case platform::notAFileErr:
    case platform::memFullErr: return Now::Other;
    default: return Now::Unreadable;
    }
}

int16_t Keep(const FSSpec& data, const std::vector<uint8_t>& newBytes, bool* kept)
{
    *kept = false;
    FSSpec companion;
    CommitMark mark;
    if (!CompanionSpec(data, &companion) || !ReadCommitMark(data.path, &mark)) return 0;
    std::vector<uint8_t> old;
    if (const int16_t err = platform::ReadWholeFile(companion.path, &old)) return err;
    if (old == newBytes) return 0;
    // Whatever is there was left unused by an open: not written over.
    const FSSpec path = KeptCompanionJournal(data);
    if (Exists(path.path)) return platform::dupFNErr;
    std::vector<uint8_t> journal(kHeader);
    platform::WriteBE32(&journal[0], kMagic);
    std::memcpy(&journal[4], mark.data(), mark.size());
    platform::WriteBE64(&journal[20], newBytes.size());
    platform::WriteBE64(&journal[28], Hash(newBytes));
    platform::WriteBE64(&journal[36], old.size());
    platform::WriteBE64(&journal[44], Hash(old));
    platform::WriteBE64(&journal[kChecked], Hash(journal.data(), kChecked));
    journal.insert(journal.end(), old.begin(), old.end());
    if (const int16_t err = platform::WriteFileAtomically(path.path, journal.data(), journal.size())) return err;
    *kept = true;
    return 0;
}

// The decision, the document held (its data file open as `ref`).
int16_t Decide(const FSSpec& companion, const FSSpec& path, int16_t ref, bool* unused)
{
    platform::RemoveTemporariesOf(path.path);
    Journal j;
    switch (Load(path.path, &j)) {
    case Found::None: return 0;
    case Found::Unusable: *unused = true; return 0;
    case Found::Journal: break;
    }
    uint8_t header[kCommitMarkSpan];
    int64_t count = sizeof header;
    const int16_t read = platform::FSReadAt(ref, 0, &count, header);
    if (read != platform::noErr && read != platform::eofErr) return read;
    // A data file that holds no container does not open: nothing to decide.
    CommitMark mark;
    if (!CommitMarkOf(header, size_t(count), &mark)) return 0;
    if (mark == j.mark) {
        switch (CompanionNow(companion.path, j)) {
        case Now::Journaled:
            if (const int16_t put = platform::WriteFileAtomically(companion.path, j.old.data(), j.old.size()))
                return put;
            break;
        case Now::Other: break;
        case Now::Unreadable: *unused = true; return 0;
        }
    }
    return Remove(path.path);
}

int16_t Finish(const FSSpec& data, bool* unused)
{
    const FSSpec path = KeptCompanionJournal(data);
    FSSpec companion;
    if (!CompanionSpec(data, &companion)) return 0;
    // Held here: the change under way decides.
    if (platform::IsItemOpen(data.path) || platform::IsItemOpen(companion.path)) return 0;
    // A journal whose document is gone is a leftover.
    if (!Exists(data.path)) {
        platform::RemoveTemporariesOf(path.path);
        struct stat st {};
        return ::lstat(path.path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? Remove(path.path) : int16_t(0);
    }
    // Held the way a program holds the document it opened; held elsewhere
    // (or no file to hold: the open refuses it), the journal is not ours.
    int16_t ref = 0;
    if (platform::FSpOpenDF(data, platform::fsRdWrPerm, &ref) != platform::noErr) return 0;
    int16_t err = 0;
    try {
        err = Decide(companion, path, ref, unused);
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    platform::FSClose(ref);
    return err;
}

}  // namespace

FSSpec KeptCompanionJournal(const FSSpec& data) { return HiddenBeside(data, ".companion"); }

int16_t KeepCompanion(const FSSpec& data, const std::vector<uint8_t>& newBytes, bool* kept)
{
    try {
        return Keep(data, newBytes, kept);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

int16_t ForgetKeptCompanion(const FSSpec& data)
{
    // Called once a change landed: memory running out leaves the old bytes
    // beside, which the next open finds committed over and removes.
    try {
        return Remove(KeptCompanionJournal(data).path);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

int16_t ForgetKeptCompanionAt(const std::string& journal, const std::string& folder)
{
    if (platform::fileops::Unlink(journal) != 0 && errno != ENOENT) return platform::OSErrFromErrno(errno);
    return platform::FlushFolder(folder);
}

int16_t FinishKeptCompanion(const FSSpec& data, bool* unused)
{
    bool ignored = false;
    if (!unused) unused = &ignored;
    *unused = false;
    try {
        return Finish(data, unused);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}
