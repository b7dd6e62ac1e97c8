#include "resources/Companion.h"

#include <string>

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
    return true;
}
