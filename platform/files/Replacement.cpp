// The journal holds one byte per replaced file: 1 when its made file has
// a sidecar to take over the target's, 0 when the target's must go. It is
// written whole or not at all (a temporary renamed into place), so its
// size tells a journal of this replacement from anything else.
#include "platform/files/Replacement.h"

#include <sys/stat.h>

#include <cerrno>
#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/OpenForks.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"

namespace platform {
namespace {

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

OSErr RenameIfThere(const std::string& from, const std::string& to)
{
    if (!Exists(from)) return noErr;
    return fileops::Rename(from, to, 0) == 0 ? noErr : OSErrFromErrno(errno);
}

// A name too long to be there (the sidecar of a name of 254 or 255 bytes)
// is not there.
OSErr RemoveIfThere(const std::string& path)
{
    return fileops::Unlink(path) == 0 || errno == ENOENT || errno == ENAMETOOLONG ? noErr : OSErrFromErrno(errno);
}

// The renames of a journaled replacement, each done only if not done yet:
// whoever finds the journal can run them again after any crash. The
// replacement's own run finds every made file, or fails.
OSErr RollForward(const Replacement* items, int32_t count, const std::vector<uint8_t>& sidecars,
                  const FSSpec& journal, bool own)
{
    OSErr err = noErr;
    for (int32_t i = 0; i < count && err == noErr; ++i) {
        const std::string& made = items[i].made.path;
        const std::string& target = items[i].target.path;
        err = own && !Exists(made) ? fnfErr : RenameIfThere(made, target);
        if (err == noErr) {
            err = sidecars[size_t(i)] ? RenameIfThere(SidecarPath(made), SidecarPath(target))
                                      : RemoveIfThere(SidecarPath(target));
        }
        ItemPathChanged(made, target);
    }
    // The new names on the disk before the journal goes.
    if (err == noErr) err = FlushFolderOf(journal.path);
    if (err == noErr) err = RemoveIfThere(journal.path);
    if (err == noErr) err = FlushFolderOf(journal.path);
    return err;
}

void RemoveTemporaries(const Replacement* items, int32_t count, const FSSpec& journal)
{
    RemoveTemporariesOf(journal.path);
    for (int32_t i = 0; i < count; ++i)
        for (const std::string& path : {items[i].made.path, items[i].target.path}) {
            RemoveTemporariesOf(path);
            RemoveTemporariesOf(SidecarPath(path));
        }
}

OSErr Replace(const Replacement* items, int32_t count, const FSSpec& journal)
{
    std::vector<uint8_t> sidecars(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        if (!Exists(items[i].made.path)) return fnfErr;
        if (IsItemHeld(items[i].target.path) || IsItemHeld(items[i].made.path)) return fBsyErr;
        sidecars[size_t(i)] = Exists(SidecarPath(items[i].made.path)) ? 1 : 0;
    }
    // From the moment the journal is on the disk the replacement happens.
    if (const OSErr err = WriteFileAtomically(journal.path, sidecars.data(), sidecars.size())) return err;
    return RollForward(items, count, sidecars, journal, true);
}

OSErr Finish(const Replacement* items, int32_t count, const FSSpec& journal)
{
    std::vector<uint8_t> sidecars;
    const OSErr read = ReadWholeFile(journal.path, &sidecars, count);
    OSErr err = noErr;
    if (read == noErr && sidecars.size() == size_t(count)) {
        err = RollForward(items, count, sidecars, journal, false);
    } else if (read == fnfErr) {
        // Never journaled: the old files stand, the new ones are leftovers.
        for (int32_t i = 0; i < count && err == noErr; ++i) {
            err = RemoveIfThere(items[i].made.path);
            if (err == noErr) err = RemoveIfThere(SidecarPath(items[i].made.path));
        }
    } else {
        // Not a journal of this replacement: nothing is touched.
        return ioErr;
    }
    RemoveTemporaries(items, count, journal);
    return err;
}

}  // namespace

OSErr ReplaceTogether(const Replacement* items, int32_t count, const FSSpec& journal)
{
    if (count <= 0) return paramErr;
    try {
        return Replace(items, count, journal);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FinishReplacement(const Replacement* items, int32_t count, const FSSpec& journal)
{
    if (count <= 0) return paramErr;
    try {
        return Finish(items, count, journal);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace platform
