#include "platform/files/Sidecar.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FolderListing.h"
#include "platform/files/WholeFile.h"

namespace platform {

std::string SidecarPath(const std::string& itemPath)
{
    size_t slash = itemPath.rfind('/');
    if (slash == std::string::npos) return "._" + itemPath;
    return itemPath.substr(0, slash + 1) + "._" + itemPath.substr(slash + 1);
}

bool IsSidecarName(const std::string& name) { return name.size() > 2 && name.compare(0, 2, "._") == 0; }

namespace {

// Whether the item's name leaves no room for a sidecar's.
bool TooLongForSidecar(const std::string& itemPath)
{
    const size_t slash = itemPath.rfind('/');
    return itemPath.size() - (slash == std::string::npos ? 0 : slash + 1) > kLongestSidecarItemName;
}

}  // namespace

OSErr ReadSidecar(const std::string& itemPath, AppleDouble* doc, bool* present)
{
    *present = false;
    *doc = AppleDouble{};
    if (TooLongForSidecar(itemPath)) return noErr;
    std::vector<uint8_t> bytes;
    OSErr err = ReadWholeFile(SidecarPath(itemPath), &bytes);
    if (err == fnfErr) return noErr;
    if (err != noErr) return err;
    err = ParseAppleDouble(bytes.data(), bytes.size(), doc);
    if (err == noErr) *present = true;
    return err;
}

bool SidecarMayBeLeftOut(const AppleDouble& doc) { return !doc.resourceFork && doc.others.empty(); }

OSErr WriteSidecar(const std::string& itemPath, const AppleDouble& doc)
{
    if (doc.Empty()) return RemoveSidecar(itemPath);
    if (TooLongForSidecar(itemPath)) return SidecarMayBeLeftOut(doc) ? noErr : bdNamErr;
    std::vector<uint8_t> bytes = BuildAppleDouble(doc);
    return WriteFileAtomically(SidecarPath(itemPath), bytes.data(), bytes.size(), 0666);
}

OSErr RemoveSidecar(const std::string& itemPath)
{
    // A name too long for a sidecar of its own has none to remove.
    if (fileops::Unlink(SidecarPath(itemPath)) != 0 && errno != ENOENT && errno != ENAMETOOLONG)
        return OSErrFromErrno(errno);
    return noErr;
}

void RemoveOrphanSidecars(const std::string& folderPath)
{
    std::vector<std::string> names, orphans;
    if (!NamesIn(folderPath, &names)) return;
    for (const std::string& name : names) {
        if (!IsSidecarName(name)) continue;
        struct stat st {};
        const std::string item = folderPath + "/" + name.substr(2);
        if (::lstat(item.c_str(), &st) != 0 && errno == ENOENT) orphans.push_back(folderPath + "/" + name);
    }
    for (const std::string& path : orphans) fileops::Unlink(path);
}

}  // namespace platform
