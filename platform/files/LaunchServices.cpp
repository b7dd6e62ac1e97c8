#include "platform/files/LaunchServices.h"

#include <new>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"

namespace platform {

OSStatus LSCopyItemInfoForRef(const FSRef* ref, LSRequestedInfo which, LSItemInfoRecord* info)
{
    if (!ref || !info)
        return paramErr;
    *info = LSItemInfoRecord{};
    try {
        bool isFolder = false;
        if (!FSpExists(FSSpec{ref->path}, &isFolder))
            return fnfErr;
        if (isFolder) {
            info->flags = kLSItemInfoIsContainer;
            // A package is a folder that says what it is.
            bool infoIsFolder = true;
            if (FSpExists(FSSpec{ref->path + "/Contents/PkgInfo"}, &infoIsFolder) && !infoIsFolder)
                info->flags |= kLSItemInfoIsPackage;
        } else {
            info->flags = kLSItemInfoIsPlainFile;
        }
        if (which == kLSRequestBasicFlagsOnly)
            return noErr;
        if ((which & kLSRequestTypeCreator) && !isFolder) {
            FInfo finder;
            if (OSErr err = FSpGetFInfo(FSSpec{ref->path}, &finder))
                return err;
            info->filetype = finder.fdType;
            info->creator = finder.fdCreator;
        }
        if (which & kLSRequestExtension) {
            const size_t slash = ref->path.find_last_of('/');
            const std::string name = slash == std::string::npos ? ref->path : ref->path.substr(slash + 1);
            const size_t dot = name.rfind('.');
            // A leading dot starts a hidden name, not an extension.
            if (dot != std::string::npos && dot > 0)
                info->extension = name.substr(dot + 1);
        }
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace platform
