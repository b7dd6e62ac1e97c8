#include "platform/resfiles/Bundles.h"

#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"

namespace platform {

std::optional<CFBundle> CFBundleCreate(const CFURL& url)
{
    bool isFolder = false;
    if (!url.isDirectory || !FSpExists(FSSpec{url.posixPath}, &isFolder) || !isFolder) return std::nullopt;
    return CFBundle{url.posixPath};
}

std::string CFBundleResourceMapPath(const CFBundle& bundle)
{
    std::string name = FSpGetName(FSSpec{bundle.posixPath});
    // A leading dot starts a name, not an extension.
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return bundle.posixPath + "/Contents/Resources/" + name + ".rsrc";
}

int16_t CFBundleOpenBundleResourceMap(const CFBundle& bundle)
{
    FSSpec map;
    const OSErr err = FSMakeFSSpec(CFBundleResourceMapPath(bundle), &map);
    if (err != noErr) {
        SetResError(err == dirNFErr ? fnfErr : err);
        return -1;
    }
    return FSpOpenResFile(map, fsRdPerm, ResFileFork::Data);
}

}  // namespace platform
