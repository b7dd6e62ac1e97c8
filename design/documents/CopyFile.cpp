// Moving a document with its companion.
//
// (1) whatever a crash left of an earlier move at either name is put
//     right; (2) both files are copied under the names of the new pair
//     beside the destination and flushed; (3) the new pair takes the
//     destination's place at once (DocumentPairs); (4) the sources are
//     deleted. A failure before (3) removes only the copies: the sources
//     and any document already at the destination stay as they were.
//     After (3) the move has gone through, whatever (4) meets.
#include "design/documents/CreateQzLib.h"
#include "design/documents/DocumentPairs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"

using platform::FSSpec;
using platform::Handle;
using platform::OSErr;

namespace {

constexpr int32_t kBlockSize = 4096;

// The same file whatever its names: same device, same inode.
bool SameFile(const FSSpec& a, const FSSpec& b)
{
    if (a.path == b.path) return true;
    struct stat sa, sb;
    if (::stat(a.path.c_str(), &sa) != 0 || ::stat(b.path.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// An open fork closed however the copy ends.
struct OpenFork {
    int16_t ref = 0;
    ~OpenFork()
    {
        if (ref) platform::FSClose(ref);
    }
    OSErr Close()
    {
        const OSErr err = platform::FSClose(ref);
        ref = 0;
        return err;
    }
};

OSErr CopyFork(const FSSpec& from, const FSSpec& to, bool resourceFork, Handle buffer)
{
    OpenFork in, out;
    OSErr err = resourceFork ? platform::FSpOpenRF(from, platform::fsRdPerm, &in.ref)
                             : platform::FSpOpenDF(from, platform::fsRdPerm, &in.ref);
    if (err) return err;
    err = resourceFork ? platform::FSpOpenRF(to, platform::fsWrPerm, &out.ref)
                       : platform::FSpOpenDF(to, platform::fsWrPerm, &out.ref);
    if (!err) {
        err = DoCopy(in.ref, out.ref, kBlockSize, buffer);
        // On disk before the copy is renamed over the destination and the
        // source deleted: else a crash could leave neither.
        if (!err) err = platform::FSFlush(out.ref);
        const OSErr closeErr = out.Close();
        if (!err) err = closeErr;
    }
    return err;
}

// The made pair's files (and their sidecars), removed when their copy
// fails or memory runs out before ReplacePair answers (which leaves the
// made pair gone after a failure, or kept for its journal).
class MadeFiles {
public:
    MadeFiles(const FSSpec& data, const FSSpec& companion)
        : paths_{data.path, platform::SidecarPath(data.path), companion.path, platform::SidecarPath(companion.path)}
    {
    }
    ~MadeFiles()
    {
        if (!kept_)
            for (const std::string& path : paths_) platform::fileops::Unlink(path);
    }
    MadeFiles(const MadeFiles&) = delete;
    MadeFiles& operator=(const MadeFiles&) = delete;
    void Keep() { kept_ = true; }

private:
    std::string paths_[4];
    bool kept_ = false;
};

// The copy buffer, released however the move ends.
struct Buffer {
    Handle h = platform::NewHandle(kBlockSize);
    ~Buffer()
    {
        if (h) platform::DisposeHandle(h);
    }
};

// Copies both forks and the Finder information of `from` to the new file
// `to`; on failure `to` is removed.
OSErr CopyOne(const FSSpec& from, const FSSpec& to, Handle buffer)
{
    platform::CatInfo info;
    OSErr err = platform::FSpGetCatInfo(from, &info);
    if (!err && info.isFolder) err = platform::notAFileErr;
    if (!err) err = platform::FSpCreate(to, info.finderInfo.fdCreator, info.finderInfo.fdType, -1);
    if (err) return err;
    err = CopyFork(from, to, false, buffer);
    if (!err && info.rsrcSize > 0) err = CopyFork(from, to, true, buffer);
    if (!err) {
        platform::FInfo finder = info.finderInfo;
        err = platform::FSpSetFInfo(to, finder);
    }
    if (err) platform::FSpDelete(to);
    return err;
}

}  // namespace

int16_t DoCopy(int16_t source, int16_t dest, int32_t blockSize, Handle buffer)
{
    if (blockSize <= 0 || !buffer || !*buffer || platform::GetHandleSize(buffer) < blockSize) return platform::paramErr;
    for (;;) {
        // The block size stays as asked: a short read that is not the end
        // must not shrink every later read (down to none at all).
        int64_t count = blockSize;
        const OSErr readErr = platform::FSRead(source, &count, *buffer);
        if (readErr && readErr != platform::eofErr) return readErr;
        if (count > 0) {
            const OSErr writeErr = platform::FSWrite(dest, &count, *buffer);
            if (writeErr) return writeErr;
        }
        if (readErr == platform::eofErr) return 0;
    }
}

namespace {

int16_t Move(const FSSpec& source, const FSSpec& dest)
{
    if (SameFile(source, dest)) return 0;
    FSSpec sourceCompanion, destCompanion, madeData, madeCompanion;
    if (!CompanionSpec(source, &sourceCompanion) || !MadePair(dest, &madeData, &madeCompanion))
        return platform::bdNamErr;
    // Both names held to the end: no other program opens, moves or puts
    // right either pair meanwhile, and neither document is open anywhere.
    PairLock sourceLock, destLock;
    if (const int16_t err = sourceLock.Take(source)) return err;
    if (const int16_t err = destLock.Take(dest)) return err;
    // (1)
    OSErr err = FinishPair(source);
    if (!err) err = FinishPair(dest);
    if (err) return err;
    const Buffer held;
    const Handle buffer = held.h;
    if (!buffer) return platform::memFullErr;

    // (2)
    MadeFiles made(madeData, madeCompanion);
    err = CopyOne(source, madeData, buffer);
    if (!err) err = CopyOne(sourceCompanion, madeCompanion, buffer);
    // (3)
    if (!err) {
        err = ReplacePair(dest);
        made.Keep();
    }
    if (err) return err;
    // (4) The move is done: what follows only tidies, and a source it
    // cannot delete (the disk or memory failing) stays as a copy. The data
    // file first: a companion left alone is no document, a data file
    // without its companion would open with objects missing.
    try {
        if (platform::FSpDelete(source) == 0) platform::FSpDelete(sourceCompanion);
        platform::FlushFolderOf(source.path);
    } catch (const std::bad_alloc&) {
    }
    return 0;
}

}  // namespace

int16_t CopyFile(const FSSpec& source, const FSSpec& dest)
{
    try {
        return Move(source, dest);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}
