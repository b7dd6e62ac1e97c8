#include "platform/files/Forks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <map>
#include <new>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/OpenForks.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"

namespace platform {
namespace {

constexpr int16_t kMaxOpenForks = 348;
constexpr int64_t kMaxResourceFork = INT32_MAX;

struct Fork {
    std::string path;
    bool resource = false;
    SInt8 permission = fsRdPerm;
    dev_t device = 0;
    ino_t inode = 0;
    int fd = -1;                  // the data fork
    std::vector<uint8_t> bytes;   // the resource fork
    bool dirty = false;
    int64_t mark = 0;
    uint64_t serial = 0;          // tells a fork from a later one of its number
    // The other file of its document (BindForks): its fork while open, the
    // file it was on once closed; and whether this one is the companion.
    int16_t partner = 0;
    bool bound = false;
    bool companion = false;
    std::string partnerPath;
    dev_t partnerDevice = 0;
    ino_t partnerInode = 0;
    bool partnerWritable = false;  // the closed one was open for writing
    // On the document's data fork (or an unbound fork): the ForkLooks
    // open, and whether their look found the files in place.
    int looks = 0;
    bool seen = false;
    // The document was found moved, replaced or deleted (or its change
    // written away, into files no longer at its names): neither of its
    // files takes a write again while open, whatever stands at its names
    // later; each write is refused as the first was.
    enum class Refused : uint8_t { No, Moved, WrittenAway } refused = Refused::No;
};

std::map<int16_t, Fork>& Forks()
{
    static std::map<int16_t, Fork> forks;
    return forks;
}

bool CanRead(const Fork& f) { return f.permission != fsWrPerm; }
bool CanWrite(const Fork& f) { return f.permission != fsRdPerm; }

Fork* Find(int16_t refNum)
{
    auto it = Forks().find(refNum);
    return it == Forks().end() ? nullptr : &it->second;
}

// The fork that keeps the looks of its document: the data file's while
// open.
Fork& Keeper(Fork& f)
{
    if (f.companion)
        if (Fork* document = Find(f.partner)) return *document;
    return f;
}

// Whether the file is still the one opened as (device, inode) at `path`;
// for a document's file (`alone`), under no other name too, since a second
// name would keep one of its files and not the other. Only the file's
// identity is asked: a look at its times would make the next write stamp
// new ones, and so every flush after it commit the file system's journal.
// `mode`, when asked, gets the file's permissions from the same look.
bool InPlace(const std::string& path, dev_t device, ino_t inode, bool alone, mode_t* mode = nullptr)
{
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_INO | STATX_NLINK | STATX_MODE, &sx) != 0) return false;
    if (mode) *mode = sx.stx_mode;
    return makedev(sx.stx_dev_major, sx.stx_dev_minor) == device && sx.stx_ino == inode &&
           (!alone || sx.stx_nlink == 1);
}
bool InPlace(const Fork& f, mode_t* mode = nullptr) { return InPlace(f.path, f.device, f.inode, f.bound, mode); }

// The document's other file in place, open or closed; true without one.
bool PartnerInPlace(const Fork& f, mode_t* mode = nullptr)
{
    if (!f.bound) return true;
    if (const Fork* other = Find(f.partner)) return InPlace(*other, mode);
    return InPlace(f.partnerPath, f.partnerDevice, f.partnerInode, true, mode);
}

// The document a refusal of the fork names: its data file, open or closed.
const std::string& DocumentPath(Fork& f)
{
    const Fork& document = Keeper(f);
    return document.companion && document.bound ? document.partnerPath : document.path;
}

// Whether the open data file was deleted: no name is left to it, and no
// other file took its name.
bool Deleted(const Fork& f)
{
    struct stat held {}, named {};
    return f.fd >= 0 && ::fstat(f.fd, &held) == 0 && held.st_nlink == 0 && ::lstat(f.path.c_str(), &named) != 0 &&
           errno == ENOENT;
}

// The document refused for good: both of its files.
void Refuse(Fork& f, Fork::Refused why)
{
    f.refused = why;
    if (Fork* other = f.bound ? Find(f.partner) : nullptr) other->refused = why;
}

// The document's files found no longer in place: said, naming the
// document (its data file); the document is refused from then on.
OSErr Moved(Fork& f)
{
    if (f.refused == Fork::Refused::No) Refuse(f, Fork::Refused::Moved);
    const Fork& document = Keeper(f);
    if (document.companion && document.bound)
        NoteFileRefusal(fileMovedErr, document.partnerPath);
    else if (Deleted(document))
        NoteFileRefusal(fileMovedErr, document.path, {}, RefusedItem::Deleted);
    else
        NoteFileRefusal(fileMovedErr, document.path, OpenFileMovedTo(document.fd, document.path));
    return fileMovedErr;
}

// A change went into the document's files after they were taken from its
// names: said, naming the document and where its data file is now when
// known; the document is refused from then on.
OSErr WrittenAway(Fork& f)
{
    Refuse(f, Fork::Refused::WrittenAway);
    const Fork& document = Keeper(f);
    const bool data = !(document.companion && document.bound);
    NoteFileRefusal(fileMovedErr, DocumentPath(f), data ? OpenFileMovedTo(document.fd, document.path) : std::string(),
                    RefusedItem::WrittenAway);
    return fileMovedErr;
}

// The folder of the fork's file lets nothing be made or renamed in it:
// said, naming the document.
OSErr FolderRefused(Fork& f)
{
    NoteFileRefusal(permErr, DocumentPath(f), {}, RefusedItem::Folder);
    return permErr;
}

// Whether a document's file of mode `mode` was made read-only since it was
// opened: said, naming it. A new file under its name would pass over its
// permissions, and the held descriptor over the file's.
bool MadeReadOnly(const Fork& f, mode_t mode)
{
    if (!f.bound || (mode & 0222) != 0) return false;
    NoteFileRefusal(fLckdErr, f.path);
    return true;
}

// Whether the data file of the fork's document, of mode `mode`, opened
// for writing, was made read-only since: no change of the document, to
// either file, may land then (the companion's either, its data file closed
// first). Said, naming it.
bool DocumentMadeReadOnly(const Fork& f, mode_t mode)
{
    if (!f.bound || (mode & 0222) != 0) return false;
    if (!f.companion) return CanWrite(f) && MadeReadOnly(f, mode);
    const Fork* data = Find(f.partner);
    if (data ? !CanWrite(*data) : !f.partnerWritable) return false;
    NoteFileRefusal(fLckdErr, data ? data->path : f.partnerPath);
    return true;
}

// The look itself: the fork's file and its document's other file in
// place, and the document's data file not made read-only. The companion's
// own permissions are looked at where it is replaced.
OSErr LookAt(Fork& f)
{
    mode_t dataMode = 0222;
    if (!InPlace(f, f.companion ? nullptr : &dataMode) || !PartnerInPlace(f, f.companion ? &dataMode : nullptr))
        return Moved(f);
    return DocumentMadeReadOnly(f, dataMode) ? fLckdErr : noErr;
}

OSErr CheckWriters(dev_t device, ino_t inode, bool resource, bool shared)
{
    for (const auto& [ref, f] : Forks()) {
        if (f.device != device || f.inode != inode || f.resource != resource || !CanWrite(f)) continue;
        if (!shared || f.permission != fsRdWrShPerm) return opWrErr;
    }
    return noErr;
}

uint64_t NextSerial()
{
    static uint64_t serial = 0;
    return ++serial;
}

int16_t FreeRefNum()
{
    for (int32_t ref = 1; ref <= kMaxOpenForks; ++ref)
        if (!Forks().count(ref)) return ref;
    return 0;
}

OSErr WriteResourceFork(const Fork& f)
{
    AppleDouble doc;
    bool present = false;
    if (OSErr err = ReadSidecar(f.path, &doc, &present); err != noErr) return err;
    if (f.bytes.empty())
        doc.resourceFork.reset();
    else
        doc.resourceFork = f.bytes;
    if (!present && doc.Empty()) return noErr;
    return WriteSidecar(f.path, doc);
}

OSErr OpenOnce(const FSSpec& fileSpec, SInt8 permission, bool resource, int16_t* refNum)
{
    struct stat st {};
    if (::stat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    if (S_ISDIR(st.st_mode)) return notAFileErr;
    // Pipes, sockets and devices are no files: opening a pipe would wait
    // for a writer forever.
    if (!S_ISREG(st.st_mode)) return notAFileErr;
    bool write = permission != fsRdPerm;
    bool shared = permission == fsRdWrShPerm;
    if (ShouldFail(FaultKind::FileBusy)) return write ? opWrErr : fBsyErr;
    if (write) {
        if (OSErr err = CheckWriters(st.st_dev, st.st_ino, resource, shared); err != noErr) return err;
    }
    int16_t ref = FreeRefNum();
    if (!ref) return tmfoErr;

    Fork f;
    f.serial = NextSerial();
    f.path = fileSpec.path;
    f.resource = resource;
    f.permission = permission;
    f.device = st.st_dev;
    f.inode = st.st_ino;
    if (resource) {
        if (write && ::access(fileSpec.path.c_str(), W_OK) != 0) return OSErrFromErrno(errno);
        AppleDouble doc;
        bool present = false;
        if (OSErr err = ReadSidecar(fileSpec.path, &doc, &present); err != noErr) return err;
        if (doc.resourceFork) f.bytes = std::move(*doc.resourceFork);
    } else {
        int flags = permission == fsRdPerm ? O_RDONLY : permission == fsWrPerm ? O_WRONLY : O_RDWR;
        // Never waiting: something other than the file just looked at may
        // have taken the name since.
        f.fd = fileops::Open(fileSpec.path, flags | O_NONBLOCK | O_CLOEXEC);
        if (f.fd < 0) return OSErrFromErrno(errno);
        struct stat opened {};
        const int status = ::fcntl(f.fd, F_GETFL);
        if (::fstat(f.fd, &opened) != 0 || !S_ISREG(opened.st_mode) || status < 0 ||
            ::fcntl(f.fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
            fileops::Close(f.fd);
            return notAFileErr;
        }
        f.device = opened.st_dev;
        f.inode = opened.st_ino;
        if (write && ::flock(f.fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
            OSErr err = errno == EWOULDBLOCK ? opWrErr : OSErrFromErrno(errno);
            fileops::Close(f.fd);
            return err;
        }
    }
    // The table may fail to grow: the descriptor (and its lock) must not
    // outlive the failed open.
    try {
        Forks().emplace(ref, std::move(f));
    } catch (const std::bad_alloc&) {
        if (f.fd >= 0) fileops::Close(f.fd);
        return memFullErr;
    }
    *refNum = ref;
    return noErr;
}

OSErr Open(const FSSpec& fileSpec, SInt8 permission, bool resource, int16_t* refNum)
{
    *refNum = 0;
    if (permission < fsCurPerm || permission > fsRdWrShPerm) return paramErr;
    if (permission != fsCurPerm) return OpenOnce(fileSpec, permission, resource, refNum);
    OSErr err = OpenOnce(fileSpec, fsRdWrPerm, resource, refNum);
    if (err == permErr || err == vLckdErr || err == opWrErr)
        err = OpenOnce(fileSpec, fsRdPerm, resource, refNum);
    return err;
}

int64_t LengthOf(const Fork& f)
{
    if (f.resource) return int64_t(f.bytes.size());
    struct stat st {};
    return ::fstat(f.fd, &st) == 0 ? int64_t(st.st_size) : 0;
}

}  // namespace

OSErr FSpOpenDF(const FSSpec& fileSpec, SInt8 permission, int16_t* refNum)
{
    return Open(fileSpec, permission, false, refNum);
}

OSErr FSpOpenRF(const FSSpec& fileSpec, SInt8 permission, int16_t* refNum)
{
    return Open(fileSpec, permission, true, refNum);
}

OSErr FSRead(int16_t refNum, int64_t* count, void* buffer)
{
    Fork* f = Find(refNum);
    int64_t wanted = *count;
    *count = 0;
    if (!f) return rfNumErr;
    if (wanted < 0) return paramErr;
    if (!CanRead(*f)) return permErr;
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    if (f->resource) {
        int64_t left = int64_t(f->bytes.size()) - f->mark;
        done = left <= 0 ? 0 : (wanted < left ? wanted : left);
        if (done) std::memcpy(out, f->bytes.data() + f->mark, size_t(done));
    } else {
        while (done < wanted) {
            ssize_t n = ::pread(f->fd, out + done, size_t(wanted - done), off_t(f->mark + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                f->mark += done;
                *count = done;
                return OSErrFromErrno(errno);
            }
            if (n == 0) break;
            done += n;
        }
    }
    f->mark += done;
    *count = done;
    return done < wanted ? eofErr : noErr;
}

OSErr FSWrite(int16_t refNum, int64_t* count, const void* buffer)
{
    Fork* f = Find(refNum);
    int64_t wanted = *count;
    *count = 0;
    if (!f) return rfNumErr;
    if (wanted < 0) return paramErr;
    if (!CanWrite(*f)) return wrPermErr;
    if (wanted == 0) return noErr;
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    const auto* in = static_cast<const uint8_t*>(buffer);
    if (f->resource) {
        if (f->mark + wanted > kMaxResourceFork) return dskFulErr;
        try {
            if (size_t(f->mark + wanted) > f->bytes.size()) f->bytes.resize(size_t(f->mark + wanted));
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
        std::memcpy(f->bytes.data() + f->mark, in, size_t(wanted));
        f->dirty = true;
        f->mark += wanted;
        *count = wanted;
        return noErr;
    }
    int64_t done = 0;
    while (done < wanted) {
        ssize_t n = fileops::PWrite(f->fd, in + done, size_t(wanted - done), off_t(f->mark + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            f->mark += done;
            *count = done;
            return OSErrFromErrno(errno);
        }
        done += n;
    }
    f->mark += done;
    *count = done;
    return noErr;
}

OSErr FSReadAt(int16_t refNum, int64_t offset, int64_t* count, void* buffer)
{
    Fork* f = Find(refNum);
    const int64_t wanted = *count;
    *count = 0;
    if (!f) return rfNumErr;
    if (wanted < 0 || offset < 0) return paramErr;
    if (!CanRead(*f)) return permErr;
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    if (f->resource) {
        const int64_t left = int64_t(f->bytes.size()) - offset;
        done = left <= 0 ? 0 : std::min(wanted, left);
        if (done) std::memcpy(out, f->bytes.data() + offset, size_t(done));
    } else {
        while (done < wanted) {
            const ssize_t n = ::pread(f->fd, out + done, size_t(wanted - done), off_t(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                *count = done;
                return OSErrFromErrno(errno);
            }
            if (n == 0) break;
            done += n;
        }
    }
    *count = done;
    return done < wanted ? eofErr : noErr;
}

OSErr FSWriteAt(int16_t refNum, int64_t offset, const ForkSlice* slices, int32_t count)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    if (offset < 0 || count < 0) return paramErr;
    if (!CanWrite(*f)) return wrPermErr;
    int64_t total = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (slices[i].size < 0 || slices[i].size > INT64_MAX - offset - total) return paramErr;
        total += slices[i].size;
    }
    if (total == 0) return noErr;
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    if (f->resource) {
        if (offset + total > kMaxResourceFork) return dskFulErr;
        try {
            if (size_t(offset + total) > f->bytes.size()) f->bytes.resize(size_t(offset + total));
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
        int64_t at = offset;
        for (int32_t i = 0; i < count; ++i) {
            if (slices[i].size) std::memcpy(f->bytes.data() + at, slices[i].data, size_t(slices[i].size));
            at += slices[i].size;
        }
        f->dirty = true;
        return noErr;
    }
    // Up to IOV_MAX slices per call; a short write resumes inside the
    // slice it stopped in.
    constexpr int32_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
    iovec vec[kBatch];
    int32_t next = 0;      // first slice not yet handed over in full
    int64_t skip = 0;      // bytes of slice `next` already written
    int64_t at = offset;
    while (next < count) {
        int32_t n = 0;
        for (int32_t i = next; i < count && n < kBatch; ++i) {
            const int64_t from = i == next ? skip : 0;
            if (slices[i].size - from == 0) continue;
            vec[n].iov_base = const_cast<uint8_t*>(static_cast<const uint8_t*>(slices[i].data) + from);
            vec[n].iov_len = size_t(slices[i].size - from);
            ++n;
        }
        if (n == 0) break;
        const ssize_t written = fileops::PWriteV(f->fd, vec, n, off_t(at));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return OSErrFromErrno(errno);
        if (written == 0) return ioErr;
        at += written;
        // Step past what went out.
        int64_t left = written;
        while (next < count && left >= slices[next].size - skip) {
            left -= slices[next].size - skip;
            skip = 0;
            ++next;
        }
        skip += left;
    }
    return noErr;
}

OSErr GetFPos(int16_t refNum, int64_t* position)
{
    *position = 0;
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    *position = f->mark;
    return noErr;
}

OSErr SetFPos(int16_t refNum, int16_t posMode, int64_t offset)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    int64_t length = LengthOf(*f);
    int64_t base;
    switch (posMode) {
    case fsAtMark: return noErr;
    case fsFromStart: base = 0; break;
    case fsFromLEOF: base = length; break;
    case fsFromMark: base = f->mark; break;
    default: return paramErr;
    }
    if ((offset < 0 && base < -offset) || (offset > 0 && offset > INT64_MAX - base)) return posErr;
    int64_t position = base + offset;
    if (position > length) {
        f->mark = length;
        return eofErr;
    }
    f->mark = position;
    return noErr;
}

OSErr GetEOF(int16_t refNum, int64_t* logicalEOF)
{
    *logicalEOF = 0;
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    *logicalEOF = LengthOf(*f);
    return noErr;
}

OSErr SetEOF(int16_t refNum, int64_t logicalEOF)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    if (!CanWrite(*f)) return wrPermErr;
    if (logicalEOF < 0) return paramErr;
    if (logicalEOF > LengthOf(*f) && ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    if (f->resource) {
        if (logicalEOF > kMaxResourceFork) return dskFulErr;
        try {
            f->bytes.resize(size_t(logicalEOF));
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
        f->dirty = true;
    } else if (fileops::Truncate(f->fd, off_t(logicalEOF)) != 0) {
        return OSErrFromErrno(errno);
    }
    if (f->mark > logicalEOF) f->mark = logicalEOF;
    return noErr;
}

OSErr FSFlush(int16_t refNum)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    if (f->resource) {
        if (!f->dirty) return noErr;
        if (const OSErr moved = CheckForkPath(refNum); moved != noErr) return moved;
        OSErr err = WriteResourceFork(*f);
        if (err == noErr) f->dirty = false;
        return err;
    }
    if (CanWrite(*f) && fileops::DataSync(f->fd) != 0) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSClose(int16_t refNum)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    OSErr err = noErr;
    if (f->resource && f->dirty) {
        err = CheckForkPath(refNum);
        if (err == noErr) err = WriteResourceFork(*f);
    }
    if (f->fd >= 0 && fileops::Close(f->fd) != 0 && err == noErr) err = OSErrFromErrno(errno);
    // The other file goes on being looked at as the file it was on.
    if (Fork* other = f->bound ? Find(f->partner) : nullptr) {
        other->partner = 0;
        other->partnerPath = f->path;
        other->partnerDevice = f->device;
        other->partnerInode = f->inode;
        other->partnerWritable = CanWrite(*f);
    }
    Forks().erase(refNum);
    return err;
}

OSErr BindForks(int16_t document, int16_t companion)
{
    Fork* data = Find(document);
    Fork* other = Find(companion);
    if (!data || !other || document == companion) return rfNumErr;
    data->partner = companion;
    data->companion = false;
    other->partner = document;
    other->companion = true;
    data->bound = other->bound = true;
    data->partnerPath.clear();
    other->partnerPath.clear();
    return noErr;
}

OSErr CheckForkPath(int16_t refNum)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    if (f->refused == Fork::Refused::WrittenAway) return WrittenAway(*f);
    if (f->refused == Fork::Refused::Moved) return Moved(*f);
    Fork& keeper = Keeper(*f);
    if (keeper.looks && keeper.seen) return noErr;
    if (const OSErr err = LookAt(*f); err != noErr) return err;
    keeper.seen = keeper.looks > 0;
    ForgetFileRefusal();
    return noErr;
}

std::string DocumentMovedTo(int16_t refNum)
{
    Fork* f = Find(refNum);
    if (!f) return {};
    const Fork& document = Keeper(*f);
    return document.companion && document.bound ? std::string() : OpenFileMovedTo(document.fd, document.path);
}

void ForkLook::Open(int16_t refNum)
{
    Close();
    Fork* f = Find(refNum);
    if (!f) return;
    Fork& keeper = Keeper(*f);
    ++keeper.looks;
    refNum_ = &keeper == f ? refNum : f->partner;
    serial_ = keeper.serial;
}

OSErr ForkLook::End()
{
    Fork* keeper = Find(refNum_);
    const bool wrote = keeper && keeper->serial == serial_ && keeper->looks == 1 && keeper->seen;
    Close();
    if (!wrote || keeper->refused != Fork::Refused::No) return noErr;
    return InPlace(*keeper) && PartnerInPlace(*keeper) ? noErr : WrittenAway(*keeper);
}

void ForkLook::Close()
{
    Fork* keeper = Find(refNum_);
    if (keeper && keeper->serial == serial_ && keeper->looks > 0 && --keeper->looks == 0) keeper->seen = false;
    refNum_ = 0;
}

namespace {

// The temporary written whole, opened and locked as the fork's file is.
OSErr WriteHeld(const Fork& f, const std::string& target, const void* bytes, size_t size, TemporaryFile* file,
                int* fd)
{
    if (const OSErr err = WriteReplacement(target, bytes, size, 0666, file)) return err;
    const bool shared = f.permission == fsRdWrShPerm;
    *fd = fileops::Open(file->TemporaryPath(), (f.permission == fsWrPerm ? O_WRONLY : O_RDWR) | O_CLOEXEC);
    if (*fd < 0) return OSErrFromErrno(errno);
    // Nobody else knows the temporary's name: the lock is free.
    if (::flock(*fd, (shared ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) return OSErrFromErrno(errno);
    return noErr;
}

// The file the swap took out of the name goes back there: in the folder
// where the new file (held as `fd`) is now, should the folder have moved
// with both. Where it cannot (the folder lets nothing be renamed in it),
// it stays where the swap put it, which no sweep of this program removes,
// and that is said; `*kept` then.
OSErr PutBack(Fork& f, TemporaryFile* file, int fd, const std::string& target, bool* kept)
{
    std::string out = file->TemporaryPath();
    if (file->PutBack() == noErr) return noErr;
    if (const std::string now = OpenFileMovedTo(fd, target); !now.empty()) {
        const std::string there = now.substr(0, now.rfind('/') + 1) + out.substr(out.rfind('/') + 1);
        if (fileops::Rename(there, now, 0) == 0) return noErr;
        out = there;
    }
    // Taken away meanwhile: nothing is left to keep.
    if (struct stat st {}; ::lstat(out.c_str(), &st) != 0) return noErr;
    KeepFromSweeps(out);
    Refuse(f, Fork::Refused::Moved);
    NoteFileRefusal(fileMovedErr, DocumentPath(f), out, RefusedItem::Kept);
    *kept = true;
    return fileMovedErr;
}

// After the swap: the file that came out is the one the fork holds, under
// no other name and still writable, and the document's other file is in
// place (its data file still writable); else the file that was at the
// name goes back.
OSErr TakeOrPutBack(Fork& f, TemporaryFile* file, int fd, const std::string& target, bool* kept)
{
    struct stat out {};
    const bool mine = ::lstat(file->TemporaryPath().c_str(), &out) == 0 && out.st_dev == f.device &&
                      out.st_ino == f.inode && (!f.bound || out.st_nlink == 1);
    mode_t dataMode = 0222;
    if (!mine || !PartnerInPlace(f, f.companion ? &dataMode : nullptr)) {
        const OSErr err = PutBack(f, file, fd, target, kept);
        return err != noErr ? err : Moved(f);
    }
    if (MadeReadOnly(f, out.st_mode) || (f.companion && DocumentMadeReadOnly(f, dataMode))) {
        const OSErr err = PutBack(f, file, fd, target, kept);
        return err != noErr ? err : fLckdErr;
    }
    return file->Finish();
}

}  // namespace

OSErr ReplaceDataFork(int16_t refNum, const void* bytes, size_t size)
{
    Fork* f = Find(refNum);
    if (!f || f->resource) return rfNumErr;
    if (!CanWrite(*f)) return wrPermErr;
    if (const OSErr moved = CheckForkPath(refNum); moved != noErr) return moved;
    if (struct stat held {}; ::fstat(f->fd, &held) == 0 && MadeReadOnly(*f, held.st_mode)) return fLckdErr;
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    int fd = -1;
    std::string target;
    bool kept = false;
    OSErr err = noErr;
    try {
        err = ReplacedFile(f->path, &target);
        TemporaryFile file;
        if (err == noErr) err = WriteHeld(*f, target, bytes, size, &file, &fd);
        // No temporary could be made beside the file.
        if (err == permErr && file.TemporaryPath().empty()) err = FolderRefused(*f);
        if (err == noErr) {
            const std::string temporary = file.TemporaryPath();
            err = file.Exchange();
            if (err == permErr) {
                err = FolderRefused(*f);
            } else if (err == paramErr) {
                // A file system that cannot swap names: the new file goes
                // over the name, after the look above.
                fileops::Close(fd);
                fd = -1;
                err = WriteHeld(*f, target, bytes, size, &file, &fd);
                if (err == noErr) err = file.Commit(false);
            } else if (err == fnfErr) {
                // The folder may have gone with the temporary in it.
                if (const std::string now = OpenFileMovedTo(fd, temporary); !now.empty()) fileops::Unlink(now);
            } else if (err == noErr) {
                err = TakeOrPutBack(*f, &file, fd, target, &kept);
            }
        }
        // The names went since the look: the document was moved.
        if (err == fnfErr || err == dirNFErr) err = Moved(*f);
    } catch (const std::bad_alloc&) {
        // Memory running out once the new file took the name (the old
        // file's removal, the folder's flush) does not undo the write: the
        // look below finds it landed.
        err = memFullErr;
    }
    // The new file took the name (only the folder's flush may have
    // failed): the fork goes on with it, and a write that landed is not
    // said to have failed for want of memory after it. Not so beside a
    // file kept where the swap put it: the document is refused from then
    // on, as its alert says.
    struct stat opened {}, named {};
    if (fd >= 0 && !kept && !target.empty() && ::fstat(fd, &opened) == 0 && ::stat(target.c_str(), &named) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
        fileops::Close(f->fd);
        f->fd = fd;
        f->device = opened.st_dev;
        f->inode = opened.st_ino;
        return err == memFullErr ? noErr : err;
    }
    if (fd >= 0) fileops::Close(fd);
    return err == noErr ? ioErr : err;
}

OSErr GetForkInfo(int16_t refNum, FSSpec* fileSpec, SInt8* permission, bool* resourceFork)
{
    Fork* f = Find(refNum);
    if (!f) return rfNumErr;
    if (fileSpec) fileSpec->path = f->path;
    if (permission) *permission = f->permission;
    if (resourceFork) *resourceFork = f->resource;
    return noErr;
}

void CloseAllForks()
{
    while (!Forks().empty()) FSClose(Forks().begin()->first);
}

std::string OpenFileMovedTo(int fd, const std::string& path)
{
    if (fd < 0) return {};
    char link[PATH_MAX];
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(proc.c_str(), link, sizeof link - 1);
    if (n <= 0) return {};
    const std::string now(link, size_t(n));
    constexpr const char kDeleted[] = " (deleted)";
    if (now == path || now.front() != '/' ||
        (now.size() > sizeof kDeleted - 1 && now.compare(now.size() - (sizeof kDeleted - 1), std::string::npos, kDeleted) == 0))
        return {};
    return now;
}

bool IsItemOpen(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    for (const auto& [ref, f] : Forks())
        if (f.device == st.st_dev && f.inode == st.st_ino) return true;
    return false;
}

bool IsItemHeld(const std::string& path)
{
    if (IsItemOpen(path)) return true;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // Let go at once: the close ends a lock taken here.
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

void ItemPathChanged(const std::string& oldPath, const std::string& newPath)
{
    // Only a path that follows allocates.
    const auto follow = [&](std::string& path) {
        if (path == oldPath)
            path = newPath;
        else if (path.size() > oldPath.size() && path[oldPath.size()] == '/' &&
                 path.compare(0, oldPath.size(), oldPath) == 0)
            path = newPath + path.substr(oldPath.size());
    };
    for (auto& [ref, f] : Forks()) {
        follow(f.path);
        if (!f.partnerPath.empty()) follow(f.partnerPath);
    }
}

}  // namespace platform
