#include "platform/files/ColonPath.h"

#include <vector>

#include "platform/core/Errors.h"

namespace platform {
namespace {

// Splits on `sep`; a leading or trailing separator gives no empty name.
bool SplitNames(const std::string& path, char sep, size_t start, std::vector<std::string>* names,
                bool* trailing)
{
    names->clear();
    *trailing = path.size() > start && path.back() == sep;
    size_t end = *trailing ? path.size() - 1 : path.size();
    size_t pos = start;
    while (pos < end) {
        size_t next = path.find(sep, pos);
        if (next == std::string::npos || next > end) next = end;
        std::string name = path.substr(pos, next - pos);
        if (name.empty() || name == "." || name == "..") return false;
        names->push_back(std::move(name));
        pos = next + 1;
    }
    return true;
}

std::string SwapSeparators(std::string name)
{
    for (char& c : name) {
        if (c == '/')
            c = ':';
        else if (c == ':')
            c = '/';
    }
    return name;
}

}  // namespace

std::string ColonNameToPosix(const std::string& name) { return SwapSeparators(name); }
std::string PosixNameToColon(const std::string& name) { return SwapSeparators(name); }

OSErr ColonPathToPosix(const std::string& colonPath, std::string* posixPath)
{
    posixPath->clear();
    if (colonPath.empty()) {
        *posixPath = "/";
        return noErr;
    }
    if (colonPath[0] == ':') return bdNamErr;
    std::vector<std::string> names;
    bool trailing = false;
    if (!SplitNames(colonPath, ':', 0, &names, &trailing) || names.empty()) return bdNamErr;
    std::string result;
    for (const std::string& name : names) result += "/" + SwapSeparators(name);
    // A bare volume name is the volume's root folder.
    if (trailing || names.size() == 1) result += "/";
    *posixPath = std::move(result);
    return noErr;
}

OSErr PosixPathToColon(const std::string& posixPath, std::string* colonPath)
{
    colonPath->clear();
    if (posixPath.empty() || posixPath[0] != '/') return bdNamErr;
    std::vector<std::string> names;
    bool trailing = false;
    if (!SplitNames(posixPath, '/', 1, &names, &trailing)) return bdNamErr;
    std::string result;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i) result += ":";
        result += SwapSeparators(names[i]);
    }
    if (!names.empty() && (trailing || names.size() == 1)) result += ":";
    *colonPath = std::move(result);
    return noErr;
}

}  // namespace platform
