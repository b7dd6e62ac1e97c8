#include "platform/files/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>

#include "platform/files/AppleDouble.h"
#include "platform/files/FileErrors.h"
#include "platform/files/Sidecar.h"

namespace platform {

bool NamesIn(const std::string& folder, std::vector<std::string>* names)
{
    names->clear();
    // Closed however the listing ends: memory may run out in it.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    while (const dirent* d = ::readdir(dir.get()))
        if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0) names->emplace_back(d->d_name);
    return true;
}

OSErr FSpListFolder(const FSSpec& folder, std::vector<FolderEntry>* entries)
{
    entries->clear();
    std::vector<std::string> all, names;
    if (!NamesIn(folder.path, &all)) return errno == ENOENT ? fnfErr : OSErrFromErrno(errno);
    std::set<std::string> sidecars;
    for (std::string& name : all) {
        if (IsSidecarName(name))
            sidecars.insert(name.substr(2));
        else
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());

    std::string base = folder.path == "/" ? "" : folder.path;
    for (const std::string& name : names) {
        FolderEntry e;
        e.name = name;
        e.fileSpec.path = base + "/" + name;
        struct stat st {};
        if (::lstat(e.fileSpec.path.c_str(), &st) != 0) continue;  // gone since the read
        e.isLink = S_ISLNK(st.st_mode);
        if (e.isLink && ::stat(e.fileSpec.path.c_str(), &st) != 0) e.brokenLink = true;
        if (!e.brokenLink) {
            e.kind = S_ISDIR(st.st_mode) ? EntryKind::Folder
                     : S_ISREG(st.st_mode) ? EntryKind::File
                                           : EntryKind::Other;
        }
        e.hidden = name[0] == '.';
        if (!e.hidden && sidecars.count(name)) {
            AppleDouble doc;
            bool present = false;
            if (ReadSidecar(e.fileSpec.path, &doc, &present) == noErr && present && doc.finderInfo)
                e.hidden = FInfoFromBytes(doc.finderInfo->data()).fdFlags & kIsInvisible;
        }
        entries->push_back(std::move(e));
    }
    return noErr;
}

}  // namespace platform
