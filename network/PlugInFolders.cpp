#include "network/PlugInFolders.h"

#include "kernel/standins/QzFolders.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"

platform::OSErr GetPlugInsFolderRefs(int16_t location, platform::OSType folderKind, int16_t* vRefNum, int32_t* dirID)
{
    *vRefNum = 0;
    *dirID = 0;
    if (folderKind != kPlugInsFolderKind || location < 0 || location >= kPlugInsLocationCount) return platform::paramErr;
    static constexpr KindQzFolder kPlaces[] = {kQzExtensionsFolder, kQzUserDataFolder, kQzSystemDataFolder,
                                               kQzPreferencesFolder, KindQzFolder(0), kQzApplicationFolder};
    if (!kPlaces[location]) return platform::fnfErr;  // no place
    // The place's error tells a missing place from memory running out.
    platform::FSSpec place, folder;
    platform::OSErr err = LocateQzFolder(kPlaces[location], 0, &place);
    bool isFolder = false;
    if (err == platform::noErr && !(platform::FSpExists(place, &isFolder) && isFolder)) err = platform::fnfErr;
    if (err == platform::noErr) err = platform::FSMakeFSSpec(place, "Plugins", &folder);
    // A link to a folder stands for the folder.
    isFolder = false;
    if (err == platform::noErr && !(platform::FSpExists(folder, &isFolder) && isFolder)) err = platform::fnfErr;
    if (err == platform::noErr) err = platform::FSpGetDirID(folder, vRefNum, dirID);
    if (err != platform::noErr) {
        *vRefNum = 0;
        *dirID = 0;
        // Memory running out is no missing folder.
        return err == platform::memFullErr ? err : platform::fnfErr;
    }
    return platform::noErr;
}
