#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Faults.h"
#include "platform/files/ColonPath.h"
#include "platform/files/ExtensionKinds.h"
#include "platform/files/FileErrors.h"
#include "platform/files/OpenForks.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"

namespace platform {
namespace {

// Lexically normal absolute path: no empty, "." or ".." names, no trailing '/'.
bool NormalisePath(const std::string& path, std::string* out)
{
    if (path.empty() || path[0] != '/') return false;
    std::vector<std::string> names;
    size_t pos = 1;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos) next = path.size();
        std::string name = path.substr(pos, next - pos);
        if (name == "..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(std::move(name));
        }
        pos = next + 1;
    }
    std::string result;
    for (const auto& name : names) result += "/" + name;
    *out = result.empty() ? "/" : result;
    return true;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool IsFolderPath(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The Finder information of an item: the sidecar's, else the extension's.
FInfo FinderInfoOf(const std::string& path, bool isFolder)
{
    AppleDouble doc;
    bool present = false;
    if (ReadSidecar(path, &doc, &present) == noErr && present && doc.finderInfo)
        return FInfoFromBytes(doc.finderInfo->data());
    FInfo info;
    if (!isFolder) KindFromExtension(FSpGetName(FSSpec{path}), &info.fdType, &info.fdCreator);
    return info;
}

// The record the extension implies, all other fields zero.
FInfo ImpliedFinderInfo(const std::string& name, bool isFolder)
{
    FInfo info;
    if (!isFolder) KindFromExtension(name, &info.fdType, &info.fdCreator);
    return info;
}

int Rename(const std::string& from, const std::string& to, bool noReplace)
{
    return fileops::Rename(from, to, noReplace ? RENAME_NOREPLACE : 0);
}

// Moves an item and its sidecar; the item's open forks follow it.
OSErr MoveItem(const std::string& from, const std::string& to)
{
    if (Rename(from, to, true) != 0) return OSErrFromErrno(errno);
    std::string fromSidecar = SidecarPath(from);
    if (::access(fromSidecar.c_str(), F_OK) == 0) {
        if (Rename(fromSidecar, SidecarPath(to), false) != 0) {
            OSErr err = OSErrFromErrno(errno);
            Rename(to, from, true);
            return err;
        }
    } else {
        RemoveSidecar(to);  // an orphan left where the item now stands
    }
    ItemPathChanged(from, to);
    return noErr;
}

OSErr CopyData(const std::string& from, const std::string& to)
{
    int in = ::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0) return OSErrFromErrno(errno);
    struct stat st {};
    OSErr err = ::fstat(in, &st) == 0 ? noErr : OSErrFromErrno(errno);
    if (err == noErr && !S_ISREG(st.st_mode)) err = notAFileErr;
    TemporaryFile out;
    if (err == noErr) err = out.Create(to, st.st_mode & 07777);
    if (err == noErr) err = out.SetMode(st.st_mode & 07777);
    std::vector<char> buffer(1 << 16);
    while (err == noErr) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = OSErrFromErrno(errno);
            break;
        }
        if (n == 0) break;
        if (ShouldFail(FaultKind::DiskFull)) {
            err = dskFulErr;
            break;
        }
        err = out.Write(buffer.data(), size_t(n));
    }
    ::close(in);
    if (err == noErr) err = out.Commit(true);
    return err;
}

// The sidecar of `source` (into `bytes`, when asked) as it goes onto
// `target`: whether there is one, and whether it is left out, the target's
// name being too long for one (only the Finder information may be). A
// damaged sidecar, or one that cannot be left out, is refused.
OSErr SidecarOnto(const FSSpec& source, const FSSpec& target, bool* present, bool* leftOut,
                  std::vector<uint8_t>* bytes = nullptr)
{
    std::vector<uint8_t> read;
    std::vector<uint8_t>& sidecar = bytes ? *bytes : read;
    OSErr err = ReadWholeFile(SidecarPath(source.path), &sidecar);
    *present = err == noErr;
    *leftOut = false;
    if (err == fnfErr) return noErr;
    if (err != noErr || FSpGetName(target).size() <= kLongestSidecarItemName) return err;
    AppleDouble doc;
    if ((err = ParseAppleDouble(sidecar.data(), sidecar.size(), &doc)) != noErr) return err;
    *leftOut = SidecarMayBeLeftOut(doc);
    return *leftOut ? noErr : bdNamErr;
}

}  // namespace

bool IsValidItemName(const std::string& name)
{
    return !name.empty() && name.size() <= 255 && name != "." && name != ".." &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos &&
           !IsSidecarName(name);
}

namespace {

OSErr MakeFSSpec(const std::string& posixPath, FSSpec* fileSpec)
{
    std::string path;
    if (!NormalisePath(posixPath, &path)) return bdNamErr;
    if (path != "/" && !IsValidItemName(FSpGetName(FSSpec{path}))) return bdNamErr;
    fileSpec->path = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return noErr;
    if (errno != ENOENT) return OSErrFromErrno(errno);
    return IsFolderPath(FSpGetParent(*fileSpec).path) ? fnfErr : dirNFErr;
}

}  // namespace

// Making the paths takes memory: running out answers memFullErr, as every
// entry of the file service does.
OSErr FSMakeFSSpec(const std::string& posixPath, FSSpec* fileSpec)
{
    try {
        return MakeFSSpec(posixPath, fileSpec);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSMakeFSSpec(const FSSpec& folder, const std::string& name, FSSpec* fileSpec)
{
    if (!IsValidItemName(name)) return bdNamErr;
    try {
        return MakeFSSpec(Join(folder.path.empty() ? "/" : folder.path, name), fileSpec);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSMakeFSSpecFromColonPath(const std::string& colonPath, FSSpec* fileSpec)
{
    try {
        std::string posix;
        OSErr err = ColonPathToPosix(colonPath, &posix);
        return err != noErr ? err : MakeFSSpec(posix, fileSpec);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSpGetColonPath(const FSSpec& fileSpec, std::string* colonPath)
{
    std::string path = fileSpec.path;
    if (path != "/" && IsFolderPath(path)) path += "/";
    return PosixPathToColon(path, colonPath);
}

OSErr FSpMakeFSRef(const FSSpec& fileSpec, FSRef* ref)
{
    ref->path.clear();
    struct stat st {};
    if (fileSpec.path.empty() || ::lstat(fileSpec.path.c_str(), &st) != 0) return fnfErr;
    ref->path = fileSpec.path;
    return noErr;
}

FSSpec FSRefMakeFSSpec(const FSRef& ref) { return FSSpec{ref.path}; }

std::string FSpGetName(const FSSpec& fileSpec)
{
    size_t slash = fileSpec.path.rfind('/');
    return slash == std::string::npos ? fileSpec.path : fileSpec.path.substr(slash + 1);
}

FSSpec FSpGetParent(const FSSpec& fileSpec)
{
    size_t slash = fileSpec.path.rfind('/');
    if (slash == std::string::npos || slash == 0) return FSSpec{"/"};
    return FSSpec{fileSpec.path.substr(0, slash)};
}

bool FSpExists(const FSSpec& fileSpec, bool* isFolder)
{
    struct stat st {};
    bool exists = ::stat(fileSpec.path.c_str(), &st) == 0;
    if (isFolder) *isFolder = exists && S_ISDIR(st.st_mode);
    return exists;
}

OSErr FSpGetCatInfo(const FSSpec& fileSpec, CatInfo* info)
{
    *info = CatInfo{};
    struct statx lx {};
    if (::statx(AT_FDCWD, fileSpec.path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &lx) != 0)
        return OSErrFromErrno(errno);
    info->isLink = S_ISLNK(lx.stx_mode);
    struct statx x = lx;
    if (info->isLink) {
        struct statx target {};
        if (::statx(AT_FDCWD, fileSpec.path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &target) == 0) x = target;
    }
    info->isFolder = S_ISDIR(x.stx_mode);
    info->dataSize = info->isFolder || S_ISLNK(x.stx_mode) ? 0 : int64_t(x.stx_size);
    info->permissions = uint16_t(x.stx_mode & 07777);
    int64_t created = (x.stx_mask & STATX_BTIME) ? x.stx_btime.tv_sec : x.stx_mtime.tv_sec;
    info->createDate = UnixToMacLocal(created);
    info->modDate = UnixToMacLocal(x.stx_mtime.tv_sec);
    info->nodeId = x.stx_ino;
    info->volumeId = (uint64_t(x.stx_dev_major) << 32) | x.stx_dev_minor;

    AppleDouble doc;
    bool present = false;
    if (ReadSidecar(fileSpec.path, &doc, &present) == noErr && present) {
        if (doc.finderInfo) info->finderInfo = FInfoFromBytes(doc.finderInfo->data());
        else info->finderInfo = ImpliedFinderInfo(FSpGetName(fileSpec), info->isFolder);
        if (doc.resourceFork) info->rsrcSize = int64_t(doc.resourceFork->size());
    } else {
        info->finderInfo = ImpliedFinderInfo(FSpGetName(fileSpec), info->isFolder);
    }
    std::string name = FSpGetName(fileSpec);
    info->isHidden = (!name.empty() && name[0] == '.') || (info->finderInfo.fdFlags & kIsInvisible);
    return noErr;
}

OSErr FSpGetFInfo(const FSSpec& fileSpec, FInfo* info)
{
    *info = FInfo{};
    bool isFolder = false;
    if (!FSpExists(fileSpec, &isFolder)) {
        struct stat st {};
        if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    }
    try {
        *info = FinderInfoOf(fileSpec.path, isFolder);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

OSErr FSpSetFInfo(const FSSpec& fileSpec, const FInfo& info)
{
    struct stat st {};
    if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    bool isFolder = IsFolderPath(fileSpec.path);
    AppleDouble doc;
    bool present = false;
    // A damaged sidecar is refused, never overwritten.
    if (OSErr err = ReadSidecar(fileSpec.path, &doc, &present); err != noErr) return err;

    bool extendedEmpty = true;
    if (doc.finderInfo)
        for (size_t i = 16; i < doc.finderInfo->size(); ++i)
            if ((*doc.finderInfo)[i]) extendedEmpty = false;
    if (info == ImpliedFinderInfo(FSpGetName(fileSpec), isFolder) && extendedEmpty) {
        doc.finderInfo.reset();
    } else {
        if (!doc.finderInfo) doc.finderInfo = std::vector<uint8_t>(kFinderInfoLength, 0);
        FInfoToBytes(info, doc.finderInfo->data());
    }
    if (!present && doc.Empty()) return noErr;
    return WriteSidecar(fileSpec.path, doc);
}

OSErr FSpGetPermissions(const FSSpec& fileSpec, uint16_t* mode)
{
    *mode = 0;
    struct stat st {};
    if (::stat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    *mode = uint16_t(st.st_mode & 07777);
    return noErr;
}

OSErr FSpSetPermissions(const FSSpec& fileSpec, uint16_t mode)
{
    if (::chmod(fileSpec.path.c_str(), mode_t(mode & 07777)) != 0) return OSErrFromErrno(errno);
    return noErr;
}

OSErr FSpCreate(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode)
{
    std::string name = FSpGetName(fileSpec);
    if (!IsValidItemName(name)) return bdNamErr;
    if (!IsFolderPath(FSpGetParent(fileSpec).path)) return dirNFErr;
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    int fd = fileops::Open(fileSpec.path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return OSErrFromErrno(errno);
    fileops::Close(fd);
    // Writing the new sidecar (or removing an orphan one) must succeed, or
    // the file would answer someone else's information; memory running out
    // on the way takes the new file away too.
    OSErr err = memFullErr;
    try {
        FInfo info;
        info.fdType = fileType;
        info.fdCreator = creator;
        AppleDouble doc;
        if (!(info == ImpliedFinderInfo(name, false))) {
            doc.finderInfo = std::vector<uint8_t>(kFinderInfoLength, 0);
            FInfoToBytes(info, doc.finderInfo->data());
        }
        err = WriteSidecar(fileSpec.path, doc);
    } catch (const std::bad_alloc&) {
        err = memFullErr;
    }
    // A sidecar written whole before its flush failed goes too.
    if (err != noErr) {
        fileops::Unlink(fileSpec.path);
        RemoveSidecar(fileSpec.path);
    }
    return err;
}

OSErr FSpDirCreate(const FSSpec& fileSpec)
{
    if (!IsValidItemName(FSpGetName(fileSpec))) return bdNamErr;
    if (!IsFolderPath(FSpGetParent(fileSpec).path)) return dirNFErr;
    if (ShouldFail(FaultKind::DiskFull)) return dskFulErr;
    if (fileops::MakeFolder(fileSpec.path, 0777) != 0) return OSErrFromErrno(errno);
    RemoveSidecar(fileSpec.path);
    return noErr;
}

OSErr FSpDelete(const FSSpec& fileSpec)
{
    struct stat st {};
    if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    if (S_ISDIR(st.st_mode)) {
        RemoveOrphanSidecars(fileSpec.path);
        if (fileops::RemoveFolder(fileSpec.path) != 0) return OSErrFromErrno(errno);
    } else {
        if (!S_ISLNK(st.st_mode) && IsItemOpen(fileSpec.path)) return fBsyErr;
        if (fileops::Unlink(fileSpec.path) != 0) return OSErrFromErrno(errno);
    }
    RemoveSidecar(fileSpec.path);
    return noErr;
}

OSErr FSpRename(const FSSpec& fileSpec, const std::string& newName)
{
    if (!IsValidItemName(newName)) return bdNamErr;
    struct stat st {};
    if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    if (newName == FSpGetName(fileSpec)) return noErr;
    return MoveItem(fileSpec.path, Join(FSpGetParent(fileSpec).path, newName));
}

OSErr FSpRenameOver(const FSSpec& source, const FSSpec& target)
{
    if (!IsValidItemName(FSpGetName(target))) return bdNamErr;
    if (!(FSpGetParent(source) == FSpGetParent(target))) return badMovErr;
    struct stat st {};
    if (::lstat(source.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    if (S_ISDIR(st.st_mode)) return notAFileErr;
    if (source == target) return noErr;
    if (::lstat(target.path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return notAFileErr;
        if (!S_ISLNK(st.st_mode) && IsItemOpen(target.path)) return fBsyErr;
    }
    // Read the source's sidecar before anything moves, so a damaged one
    // leaves both items as they were.
    bool hasSidecar = false, leftOut = false;
    if (OSErr err = SidecarOnto(source, target, &hasSidecar, &leftOut); err != noErr) return err;
    if (Rename(source.path, target.path, false) != 0) return OSErrFromErrno(errno);
    ItemPathChanged(source.path, target.path);
    if (leftOut) return RemoveSidecar(source.path);
    if (hasSidecar) {
        if (Rename(SidecarPath(source.path), SidecarPath(target.path), false) != 0)
            return OSErrFromErrno(errno);
    } else {
        RemoveSidecar(target.path);
    }
    return noErr;
}

OSErr FSpCatMove(const FSSpec& fileSpec, const FSSpec& destFolder)
{
    struct stat st {};
    if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    if (!IsFolderPath(destFolder.path)) return dirNFErr;
    std::string dest = Join(destFolder.path, FSpGetName(fileSpec));
    if (dest == fileSpec.path) return noErr;
    if (destFolder.path == fileSpec.path || destFolder.path.rfind(fileSpec.path + "/", 0) == 0) return badMovErr;
    return MoveItem(fileSpec.path, dest);
}

OSErr FSpCopyFile(const FSSpec& source, const FSSpec& dest)
{
    bool isFolder = false;
    if (!FSpExists(source, &isFolder)) return fnfErr;
    if (isFolder) return notAFileErr;
    if (!IsValidItemName(FSpGetName(dest))) return bdNamErr;
    if (!IsFolderPath(FSpGetParent(dest).path)) return dirNFErr;
    struct stat st {};
    if (::lstat(dest.path.c_str(), &st) == 0) return dupFNErr;

    std::vector<uint8_t> sidecar;
    bool hasSidecar = false, leftOut = false;
    OSErr err = SidecarOnto(source, dest, &hasSidecar, &leftOut, &sidecar);
    if (err != noErr) return err;
    if ((err = CopyData(source.path, dest.path)) != noErr) return err;
    err = hasSidecar && !leftOut ? WriteFileAtomically(SidecarPath(dest.path), sidecar.data(), sidecar.size())
                                 : RemoveSidecar(dest.path);
    if (err != noErr) fileops::Unlink(dest.path);
    return err;
}

OSErr FSpIsLink(const FSSpec& fileSpec, bool* isLink)
{
    *isLink = false;
    struct stat st {};
    if (::lstat(fileSpec.path.c_str(), &st) != 0) return OSErrFromErrno(errno);
    *isLink = S_ISLNK(st.st_mode);
    return noErr;
}

OSErr FSpResolveLink(const FSSpec& fileSpec, FSSpec* target, bool* targetIsFolder)
{
    if (targetIsFolder) *targetIsFolder = false;
    char* resolved = ::realpath(fileSpec.path.c_str(), nullptr);
    if (!resolved) return errno == ENOENT ? fnfErr : OSErrFromErrno(errno);
    target->path = resolved;
    std::free(resolved);
    if (targetIsFolder) *targetIsFolder = IsFolderPath(target->path);
    return noErr;
}

OSErr FSpLinkDestination(const FSSpec& fileSpec, FSSpec* destination)
{
    try {
        std::string path = fileSpec.path;
        for (int followed = 0; followed < 40; ++followed) {  // as far as the system follows a chain
            struct stat st {};
            if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
                destination->path = path;
                return noErr;
            }
            std::vector<char> text(size_t(st.st_size > 0 ? st.st_size : 4095) + 1);
            const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
            if (n <= 0 || size_t(n) >= text.size()) return n < 0 ? OSErrFromErrno(errno) : fnfErr;
            std::string next(text.data(), size_t(n));
            if (next[0] != '/') next = FSpGetParent(FSSpec{path}).path + "/" + next;
            if (!NormalisePath(next, &path)) return bdNamErr;
        }
        return fnfErr;  // links leading round in a loop
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr FSpGetFreeSpace(const FSSpec& fileSpec, int64_t* freeBytes, int64_t* totalBytes)
{
    struct statvfs vfs {};
    std::string path = fileSpec.path;
    // The item may not exist yet: ask its nearest existing folder.
    while (::statvfs(path.c_str(), &vfs) != 0) {
        if (errno != ENOENT || path == "/") return OSErrFromErrno(errno);
        path = FSpGetParent(FSSpec{path}).path;
    }
    *freeBytes = int64_t(vfs.f_bavail) * int64_t(vfs.f_frsize);
    if (totalBytes) *totalBytes = int64_t(vfs.f_blocks) * int64_t(vfs.f_frsize);
    return noErr;
}

}  // namespace platform
