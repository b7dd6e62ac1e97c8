#include "design/documents/DocumentPairs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "design/documents/CompanionJournalFile.h"
#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FolderListing.h"
#include "platform/files/NameLock.h"
#include "platform/files/OpenForks.h"
#include "platform/files/Replacement.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"
#include "resources/Companion.h"

using platform::FSSpec;

FSSpec HiddenBeside(const FSSpec& item, const char* suffix)
{
    constexpr size_t kMaxName = 255;
    const std::string name = platform::FSpGetName(item);
    std::string made = ".qz." + name + suffix;
    if (made.size() > kMaxName) {
        char hash[20];
        std::snprintf(hash, sizeof hash, ".%016zx", std::hash<std::string>{}(name));
        const size_t keep = kMaxName - 4 - std::string(hash).size() - std::string(suffix).size();
        made = ".qz." + name.substr(0, keep) + hash + suffix;
    }
    std::string path = platform::FSpGetParent(item).path;
    if (path.size() == 1 && path[0] == '/') path.clear();
    path += '/';
    path += made;
    return FSSpec{path};
}

FSSpec PairLockFile(const FSSpec& dest)
{
    // Keyed by the companion, in one case whichever is on the disk: every
    // name that shares it (Demo.QzB, Demo.QTL, Demo) takes the one lock.
    FSSpec companion;
    if (!CompanionSpec(dest, &companion)) return HiddenBeside(dest, ".lock");
    companion.path.replace(companion.path.size() - 3, 3, "RSR");
    return HiddenBeside(companion, ".lock");
}

int16_t PairLock::Take(const FSSpec& dest)
{
    if (const int16_t err = name_.Take(PairLockFile(dest).path)) return err;
    FSSpec companion;
    if (platform::IsItemHeld(dest.path) || (CompanionSpec(dest, &companion) && platform::IsItemHeld(companion.path))) {
        name_.Release();
        return platform::fBsyErr;
    }
    return 0;
}

namespace {

bool Items(const FSSpec& dest, platform::Replacement items[2], FSSpec* journal)
{
    FSSpec companion;
    if (!CompanionSpec(dest, &companion)) return false;
    // The companion first: a reader takes the data file for the document.
    for (const auto& [item, target] : {std::pair{&items[0], companion}, std::pair{&items[1], dest}}) {
        *item = {HiddenBeside(target, ".new"), target, HiddenBeside(target, ".old"),
                 HiddenBeside(FSSpec{platform::SidecarPath(target.path)}, ".old")};
    }
    *journal = HiddenBeside(dest, ".replacing");
    return true;
}

// The building pair of `dest`: the data file under a hidden name of its
// own, its companion beside it as for any document. The names must leave
// room for the made pair of their creation and its sidecars (".qz." and
// ".new" around them, "._" before).
bool Building(const FSSpec& dest, FSSpec* data, FSSpec* companion)
{
    constexpr size_t kMaxBuildingName = 255 - 10;
    FSSpec destCompanion;
    if (!CompanionSpec(dest, &destCompanion)) return false;
    *data = HiddenBeside(dest, ".bld");
    return platform::FSpGetName(*data).size() <= kMaxBuildingName && CompanionSpec(*data, companion);
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

int16_t RenameIfThere(const std::string& from, const std::string& to)
{
    if (!Exists(from)) return 0;
    return platform::fileops::Rename(from, to, 0) == 0 ? int16_t(0) : platform::OSErrFromErrno(errno);
}

// A building never put in place: removed with what its creation left.
void RemoveBuilding(const FSSpec& dest)
{
    FSSpec data, companion;
    platform::Replacement items[2];
    FSSpec journal;
    if (!Building(dest, &data, &companion)) return;
    if (Items(data, items, &journal)) platform::FinishReplacement(items, 2, journal);
    for (const FSSpec& file : {data, companion}) {
        for (const std::string& path : {file.path, platform::SidecarPath(file.path)})
            if (Exists(path)) platform::fileops::Unlink(path);
        platform::RemoveTemporariesOf(file.path);
    }
}

// Whether a folder of these names may hold what a replacement, a building
// or a kept companion left behind: a hidden name of ours other than a lock
// file, or a name of the "._" kind that is no file's sidecar (a temporary,
// or the sidecar of a made file). The open of a document in a tidy folder
// looks no further.
bool MayHoldLeftovers(const std::vector<std::string>& names)
{
    const std::unordered_set<std::string_view> present(names.begin(), names.end());
    return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        const std::string_view view(name);
        if (view.starts_with(".qz.")) return !platform::IsLockFileName(name);
        return view.starts_with("._") && !present.count(view.substr(2));
    });
}

// The other names beside `dest` (in `folder`, which holds `names`) sharing
// its companion whose replacement a crash cut short: their journals decide
// the made companion too.
std::vector<FSSpec> SharersReplacing(const FSSpec& dest, const std::string& folder,
                                     const std::vector<std::string>& names)
{
    constexpr size_t kPrefix = 4;  // ".qz."
    const std::string suffix = ".replacing";
    const std::string inFolder = folder == "/" ? folder : folder + "/";
    const std::string ownLock = PairLockFile(dest).path;
    std::vector<FSSpec> sharers;
    for (const std::string& name : names) {
        if (name.size() <= kPrefix + suffix.size() || name.compare(0, kPrefix, ".qz.") != 0 ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const FSSpec sharer{inFolder + name.substr(kPrefix, name.size() - kPrefix - suffix.size())};
        // A name cut to fit (told apart by a hash) is not read back.
        if (sharer.path != dest.path && PairLockFile(sharer).path == ownLock &&
            HiddenBeside(sharer, ".replacing").path == inFolder + name)
            sharers.push_back(sharer);
    }
    return sharers;
}

}  // namespace

bool BuildingPair(const FSSpec& dest, FSSpec* data, FSSpec* companion) { return Building(dest, data, companion); }

int16_t PlaceBuilt(const FSSpec& dest)
{
    FSSpec data, companion, madeData, madeCompanion;
    if (!Building(dest, &data, &companion) || !MadePair(dest, &madeData, &madeCompanion)) return platform::bdNamErr;
    PairLock lock;
    if (const int16_t err = lock.Take(dest)) return err;
    if (!Exists(data.path) || !Exists(companion.path)) return platform::fnfErr;
    // The building becomes the made pair, on the disk before the
    // replacement's journal can be.
    int16_t err = 0;
    for (const auto& [from, to] : {std::pair{data, madeData}, std::pair{companion, madeCompanion}}) {
        if (!err) err = RenameIfThere(platform::SidecarPath(from.path), platform::SidecarPath(to.path));
        if (!err) err = RenameIfThere(from.path, to.path);
    }
    if (!err) err = platform::FlushFolderOf(dest.path);
    if (!err) err = ReplacePair(dest);
    // The building's leftovers go; a journal the failure could not take
    // back stays, with the made pair it finishes, for whoever finds it.
    platform::Replacement items[2];
    FSSpec journal;
    if (err && Items(dest, items, &journal) && !Exists(journal.path)) FinishPair(dest);
    return err;
}

bool MadePair(const FSSpec& dest, FSSpec* data, FSSpec* companion)
{
    platform::Replacement items[2];
    FSSpec journal;
    if (!Items(dest, items, &journal)) return false;
    *companion = items[0].made;
    *data = items[1].made;
    return true;
}

int16_t ReplacePair(const FSSpec& dest)
{
    platform::Replacement items[2];
    FSSpec journal;
    if (!Items(dest, items, &journal)) return platform::bdNamErr;
    const std::string madeSidecars[2] = {platform::SidecarPath(items[0].made.path),
                                         platform::SidecarPath(items[1].made.path)};
    int16_t err = 0;
    PairLock lock;
    FSSpec owner;
    if ((err = lock.Take(dest)) != 0) {
    } else if (CompanionOwner(items[0].target, dest, &owner)) {
        // Another document's companion is never taken over: it would lose it.
        err = platform::dupFNErr;
    } else {
        // A failure takes back what was done.
        err = platform::ReplaceTogether(items, 2, journal);
    }
    // Failed, the made pair goes, unless a journal stays to finish it.
    if (err != 0 && !Exists(journal.path))
        for (int i = 0; i < 2; ++i) {
            const std::string* paths[2] = {&items[i].made.path, &madeSidecars[i]};
            for (const std::string* path : paths)
                if (Exists(*path)) platform::fileops::Unlink(*path);
        }
    return err;
}

int16_t FinishPair(const FSSpec& dest, bool* unused)
{
    if (unused) *unused = false;
    platform::Replacement items[2];
    FSSpec journal;
    if (!Items(dest, items, &journal)) return 0;
    PairLock lock;
    if (const int16_t err = lock.Take(dest)) return err;
    // Another name's journal first: without it, the made companion it
    // still needs would be taken for a leftover of this name's.
    int16_t err = 0;
    try {
        // One listing of the folder: unreadable, every leftover name is tried.
        const std::string folder = platform::FSpGetParent(dest).path;
        std::vector<std::string> names;
        if (platform::NamesIn(folder, &names) && !MayHoldLeftovers(names)) return 0;
        for (const FSSpec& sharer : SharersReplacing(dest, folder, names)) {
            platform::Replacement theirs[2];
            FSSpec theirJournal;
            if (Items(sharer, theirs, &theirJournal) && (err = platform::FinishReplacement(theirs, 2, theirJournal)))
                break;
        }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    if (!err) err = platform::FinishReplacement(items, 2, journal);
    if (!err) err = FinishKeptCompanion(dest, unused);
    if (!err) RemoveBuilding(dest);
    return err;
}
