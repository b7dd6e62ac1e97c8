#include "design/documents/DocumentPairs.h"

#include <cstdio>
#include <functional>
#include <string>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Replacement.h"
#include "resources/Companion.h"

using platform::FSSpec;

namespace {

constexpr size_t kMaxName = 255;

// ".qz." NAME SUFFIX in the folder of `item`; a name too long to take
// them is cut and told apart from others by a hash of it.
FSSpec Beside(const FSSpec& item, const char* suffix)
{
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

bool Items(const FSSpec& dest, platform::Replacement items[2], FSSpec* journal)
{
    FSSpec companion;
    if (!CompanionSpec(dest, &companion)) return false;
    // The companion first: a reader takes the data file for the document.
    items[0] = {Beside(companion, ".new"), companion};
    items[1] = {Beside(dest, ".new"), dest};
    *journal = Beside(dest, ".replacing");
    return true;
}

}  // namespace

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
    const int16_t err = platform::ReplaceTogether(items, 2, journal);
    // Half done: finished when the journal made it, else undone.
    if (err) platform::FinishReplacement(items, 2, journal);
    return err;
}

int16_t FinishPair(const FSSpec& dest)
{
    platform::Replacement items[2];
    FSSpec journal;
    if (!Items(dest, items, &journal)) return 0;
    return platform::FinishReplacement(items, 2, journal);
}
