// The journal holds one byte per replaced file: 1 when its made file has
// a sidecar to take over the target's, 0 when the target's must go. It is
// written whole or not at all (a temporary renamed into place), so its
// size tells a journal of this replacement from anything else.
//
// Each replaced file (and its sidecar) is renamed aside before its made
// file takes the name. Whoever finds the journal only needs the made
// files: it renames those still there over their targets, whatever was set
// aside meanwhile. The run that wrote the journal takes its own renames
// back when a later step fails, each on the disk before the next, and
// removes the journal last.
#include "platform/files/Replacement.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <new>
#include <string>
#include <utility>
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

// The names one replaced file and its sidecar go through.
struct Names {
    std::string made, target, aside, madeSidecar, targetSidecar, asideSidecar;
};

std::vector<Names> NamesOf(const Replacement* items, int32_t count)
{
    std::vector<Names> names(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const Replacement& item = items[i];
        names[size_t(i)] = {item.made.path,          item.target.path,          item.aside.path,
                            SidecarPath(item.made.path), SidecarPath(item.target.path), item.asideSidecar.path};
    }
    return names;
}

void RemoveMade(const std::vector<Names>& names)
{
    for (const Names& n : names) {
        RemoveIfThere(n.made);
        RemoveIfThere(n.madeSidecar);
    }
}

// What a finished replacement set aside: the old files.
void RemoveSetAside(const std::vector<Names>& names)
{
    for (const Names& n : names) {
        RemoveIfThere(n.aside);
        RemoveIfThere(n.asideSidecar);
    }
}

// The renames of a journaled replacement, each done only if not done yet:
// whoever finds the journal can run them again after any crash.
OSErr RollForward(const std::vector<Names>& names, const std::vector<uint8_t>& sidecars, const FSSpec& journal)
{
    OSErr err = noErr;
    for (size_t i = 0; i < names.size() && err == noErr; ++i) {
        const Names& n = names[i];
        err = RenameIfThere(n.made, n.target);
        if (err == noErr) err = sidecars[i] ? RenameIfThere(n.madeSidecar, n.targetSidecar) : RemoveIfThere(n.targetSidecar);
        ItemPathChanged(n.made, n.target);
    }
    // The new names on the disk before the journal goes.
    if (err == noErr) err = FlushFolderOf(journal.path);
    if (err == noErr) err = RemoveIfThere(journal.path);
    if (err == noErr) err = FlushFolderOf(journal.path);
    if (err == noErr) RemoveSetAside(names);
    return err;
}

// The renames the replacement's own run made, so that it can take them
// back. Room for all of them is taken before the first.
class Renames {
public:
    explicit Renames(size_t most) { done_.reserve(most); }

    // `from` (when there) renamed to `to`.
    OSErr Move(const std::string& from, const std::string& to)
    {
        if (!Exists(from)) return noErr;
        if (fileops::Rename(from, to, 0) != 0) return OSErrFromErrno(errno);
        done_.emplace_back(&from, &to);
        ItemPathChanged(from, to);
        return noErr;
    }
    // Every name back, last first. What was done is on the disk first, and
    // each rename back before the next: a crash meanwhile leaves the
    // journal a state from which it finishes the replacement whole.
    OSErr TakeBack(const std::string& inFolder)
    {
        OSErr err = FlushFolderOf(inFolder);
        while (err == noErr && !done_.empty()) {
            const auto [from, to] = done_.back();
            if (fileops::Rename(*to, *from, RENAME_NOREPLACE) != 0) return OSErrFromErrno(errno);
            ItemPathChanged(*to, *from);
            done_.pop_back();
            err = FlushFolderOf(inFolder);
        }
        return err;
    }

private:
    std::vector<std::pair<const std::string*, const std::string*>> done_;
};

OSErr Replace(const std::vector<Names>& names, const FSSpec& journal)
{
    std::vector<uint8_t> sidecars(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        if (!Exists(names[i].made)) return fnfErr;
        if (IsItemHeld(names[i].target) || IsItemHeld(names[i].made)) return fBsyErr;
        sidecars[i] = Exists(names[i].madeSidecar) ? 1 : 0;
    }
    Renames renames(4 * names.size());
    // From the moment the journal is on the disk the replacement happens:
    // done here, or taken back here, or finished by whoever finds it.
    OSErr err = WriteFileAtomically(journal.path, sidecars.data(), sidecars.size());
    // Memory running out once the journal is there fails the step like any
    // other: what was done is taken back.
    try {
        for (size_t i = 0; i < names.size() && err == noErr; ++i) {
            const Names& n = names[i];
            err = renames.Move(n.target, n.aside);
            if (err == noErr) err = renames.Move(n.targetSidecar, n.asideSidecar);
            if (err == noErr) err = Exists(n.made) ? renames.Move(n.made, n.target) : fnfErr;
            if (err == noErr && sidecars[i]) err = renames.Move(n.madeSidecar, n.targetSidecar);
        }
        // The new names on the disk before the journal goes; once it is
        // gone the replacement is done, whatever follows.
        if (err == noErr) err = FlushFolderOf(journal.path);
        if (err == noErr) err = RemoveIfThere(journal.path);
    } catch (const std::bad_alloc&) {
        err = memFullErr;
    }
    if (err != noErr) {
        // Taken back, the journal last: while it stays, the made files
        // stay for whoever finds it.
        try {
            if (renames.TakeBack(journal.path) == noErr && RemoveIfThere(journal.path) == noErr)
                FlushFolderOf(journal.path);
        } catch (const std::bad_alloc&) {
        }
        return err;
    }
    // Done: what follows only tidies.
    try {
        FlushFolderOf(journal.path);
    } catch (const std::bad_alloc&) {
    }
    RemoveSetAside(names);
    return noErr;
}

OSErr Finish(const std::vector<Names>& names, const FSSpec& journal)
{
    std::vector<uint8_t> sidecars;
    const OSErr read = ReadWholeFile(journal.path, &sidecars, int64_t(names.size()));
    OSErr err = noErr;
    if (read == noErr && sidecars.size() == names.size()) {
        err = RollForward(names, sidecars, journal);
    } else if (read == fnfErr) {
        // Never journaled, or done: the files at the names stand, the
        // others are leftovers.
        RemoveMade(names);
        RemoveSetAside(names);
    } else {
        // Not a journal of this replacement: nothing is touched.
        return ioErr;
    }
    RemoveTemporariesOf(journal.path);
    for (const Names& n : names)
        for (const std::string* path : {&n.made, &n.target, &n.madeSidecar, &n.targetSidecar})
            RemoveTemporariesOf(*path);
    return err;
}

}  // namespace

OSErr ReplaceTogether(const Replacement* items, int32_t count, const FSSpec& journal)
{
    if (count <= 0) return paramErr;
    // Not replaced, and nothing left for another program to finish: the
    // made files go (their names kept from before anything can fail).
    std::vector<Names> names;
    try {
        names = NamesOf(items, count);
    } catch (const std::bad_alloc&) {
        for (int32_t i = 0; i < count; ++i) RemoveIfThere(items[i].made.path);
        return memFullErr;
    }
    OSErr err = memFullErr;
    try {
        err = Replace(names, journal);
    } catch (const std::bad_alloc&) {
    }
    if (err != noErr && !Exists(journal.path)) RemoveMade(names);
    return err;
}

OSErr FinishReplacement(const Replacement* items, int32_t count, const FSSpec& journal)
{
    if (count <= 0) return paramErr;
    try {
        return Finish(NamesOf(items, count), journal);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace platform
