#include "platform/files/CFURL.h"

#include "platform/files/ColonPath.h"
#include "platform/files/FileSpec.h"

namespace platform {

std::optional<CFURL> CFURLCreateWithFileSystemPath(const CFString& filePath, CFURLPathStyle pathStyle,
                                                   bool isDirectory)
{
    std::string posix = CFStringGetUTF8(filePath);
    if (pathStyle == kCFURLHFSPathStyle) {
        std::string converted;
        if (ColonPathToPosix(posix, &converted) != noErr) return std::nullopt;
        posix = converted.empty() ? "/" : converted;
    }
    FSSpec fileSpec;
    const OSErr err = FSMakeFSSpec(posix, &fileSpec);
    if (err != noErr && err != fnfErr && err != dirNFErr) return std::nullopt;
    return CFURL{fileSpec.path, isDirectory};
}

std::optional<CFURL> CFURLCreateFromFSRef(const FSRef& ref)
{
    if (ref.path.empty()) return std::nullopt;
    bool isFolder = false, isLink = false;
    if (FSpIsLink(FSRefMakeFSSpec(ref), &isLink) != noErr) return std::nullopt;
    // A link is an alias file, whatever it leads to (or even when its
    // target is missing): its URL is a file's.
    if (!isLink) FSpExists(FSRefMakeFSSpec(ref), &isFolder);
    return CFURL{ref.path, isFolder};
}

bool CFURLGetFSRef(const CFURL& url, FSRef* ref)
{
    return FSpMakeFSRef(FSSpec{url.posixPath}, ref) == noErr;
}

CFString CFURLCopyFileSystemPath(const CFURL& url, CFURLPathStyle pathStyle)
{
    if (pathStyle != kCFURLHFSPathStyle) return CFStringCreateWithUTF8(url.posixPath);
    std::string colon;
    const std::string posix = url.isDirectory && url.posixPath != "/" ? url.posixPath + "/" : url.posixPath;
    if (PosixPathToColon(posix, &colon) != noErr) return CFString{};
    return CFStringCreateWithUTF8(colon);
}

}  // namespace platform
