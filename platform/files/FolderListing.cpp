#include "platform/files/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>

#include "platform/files/AppleDouble.h"
#include "platform/files/FileErrors.h"
#include "platform/files/Sidecar.h"

namespace platform {

OSErr FSpListFolder(const FSSpec& folder, std::vector<FolderEntry>* entries)
{
    entries->clear();
    // Closed however the listing ends: memory may run out in it.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.path.c_str()), ::closedir);
    if (!dir) return errno == ENOENT ? fnfErr : OSErrFromErrno(errno);
    std::vector<std::string> names;
    std::set<std::string> sidecars;
    errno = 0;
    while (dirent* d = ::readdir(dir.get())) {
        std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        if (IsSidecarName(name))
            sidecars.insert(name.substr(2));
        else
            names.push_back(std::move(name));
    }
    dir.reset();
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
