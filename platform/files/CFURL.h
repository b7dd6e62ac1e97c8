// File URLs of the platform's URL service, as plain values over POSIX
// paths: made from a path in either style or from a reference, turned
// back into a reference or a path. Colon paths go through the one
// colon-path mapping (ColonPath.h).
#pragma once

#include <optional>
#include <string>

#include "platform/files/FileTypes.h"
#include "platform/text/CFString.h"

namespace platform {

enum CFURLPathStyle : int32_t { kCFURLPOSIXPathStyle = 0, kCFURLHFSPathStyle = 1 };

struct CFURL {
    std::string posixPath;  // absolute and lexically normal, no trailing '/'
    bool isDirectory = false;

    bool operator==(const CFURL&) const = default;
};

// Empty for a relative path or one that does not map (a colon path
// starting with ':', a POSIX path holding "..").
std::optional<CFURL> CFURLCreateWithFileSystemPath(const CFString& filePath, CFURLPathStyle pathStyle,
                                                   bool isDirectory);
// Empty for a reference to nothing; a folder gives a directory URL, a
// symbolic link (an alias file) a file URL.
std::optional<CFURL> CFURLCreateFromFSRef(const FSRef& ref);
// False when no item stands at the URL's path.
bool CFURLGetFSRef(const CFURL& url, FSRef* ref);
// A directory's colon path ends with ':', as the file layer writes folders.
CFString CFURLCopyFileSystemPath(const CFURL& url, CFURLPathStyle pathStyle);

}  // namespace platform
