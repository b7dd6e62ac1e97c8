#include "network/PlugInFolders.h"

#include "network/QzFolders.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"

platform::OSErr GetPlugInsFolderRefs(int16_t location, platform::OSType folderKind, int16_t* vRefNum, int32_t* dirID)
{
    *vRefNum = 0;
    *dirID = 0;
    if (folderKind != kPlugInsFolderKind || location < 0 || location >= kPlugInsLocationCount) return platform::paramErr;
    static constexpr KindQzFolder kPlaces[] = {kQzExtensionsFolder, kQzUserDataFolder, kQzSystemDataFolder,
                                               kQzPreferencesFolder, KindQzFolder(0), kQzApplicationFolder};
    CQzFolder* place = kPlaces[location] ? FindQzFolder(kPlaces[location], 0) : nullptr;
    if (!place) return platform::fnfErr;
    platform::FSSpec folder;
    platform::OSErr err = place->GetItemSpec("Plugins", &folder);
    place->Release();
    // A link to a folder stands for the folder.
    bool isFolder = false;
    if (err == platform::noErr && !(platform::FSpExists(folder, &isFolder) && isFolder)) err = platform::fnfErr;
    if (err == platform::noErr) err = platform::FSpGetDirID(folder, vRefNum, dirID);
    if (err != platform::noErr) {
        *vRefNum = 0;
        *dirID = 0;
        return platform::fnfErr;
    }
    return platform::noErr;
}
