#include "resources/Companion.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <string>
#include <vector>

#include "platform/files/FolderListing.h"
#include "resources/CommitMark.h"

bool CompanionSpec(const platform::FSSpec& fileSpec, platform::FSSpec* companion)
{
    const std::string& path = fileSpec.path;
    const size_t slash = path.rfind('/');
    const size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    size_t end = path.size();
    for (size_t i = path.size(); i > nameAt && i + 4 > path.size(); --i)
        if (path[i - 1] == '.') {
            end = i - 1;
            break;
        }
    // A name this long cannot take the extension: the companion would be
    // the data file itself.
    if (end - nameAt + 4 > 255) return false;
    companion->path = path.substr(0, end) + ".RSR";
    // One named in lower case, as other systems may have written it, is
    // the companion when there is none in upper case.
    struct stat st {};
    const std::string lower = path.substr(0, end) + ".rsr";
    if (::lstat(companion->path.c_str(), &st) != 0 && errno == ENOENT && ::lstat(lower.c_str(), &st) == 0)
        companion->path = lower;
    return true;
}

bool CompanionOwner(const platform::FSSpec& companion, const platform::FSSpec& except, platform::FSSpec* owner)
{
    const size_t slash = companion.path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : companion.path.substr(0, slash);
    const std::string prefix = slash == std::string::npos ? "" : companion.path.substr(0, slash + 1);
    try {
        std::vector<std::string> listed, names;
        if (!platform::NamesIn(folder, &listed)) return false;
        for (const std::string& name : listed) {
            // Sidecars, temporaries and the work files of the program.
            if (name.rfind("._", 0) == 0 || name.rfind(".qz.", 0) == 0) continue;
            platform::FSSpec theirs;
            const platform::FSSpec candidate{prefix + name};
            if (candidate.path != companion.path && candidate.path != except.path &&
                CompanionSpec(candidate, &theirs) && theirs.path == companion.path)
                names.push_back(candidate.path);
        }
        std::sort(names.begin(), names.end());
        CommitMark mark;
        for (const std::string& path : names)
            if (ReadCommitMark(path, &mark)) {
                owner->path = path;
                return true;
            }
        return false;
    } catch (const std::bad_alloc&) {
        // Not known to be free: taken.
        owner->path.clear();
        return true;
    }
}
