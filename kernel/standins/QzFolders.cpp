#include "kernel/standins/QzFolders.h"

#include "platform/files/SpecialFolders.h"

platform::OSErr LocateQzFolder(KindQzFolder kind, uint8_t create, platform::FSSpec* folder)
{
    platform::SpecialFolder which;
    switch (kind) {
    case kQzPreferencesFolder: which = platform::SpecialFolder::Preferences; break;
    case kQzExtensionsFolder: which = platform::SpecialFolder::Extensions; break;
    case kQzApplicationFolder: which = platform::SpecialFolder::Application; break;
    case kQzUserDataFolder: which = platform::SpecialFolder::UserData; break;
    case kQzSystemDataFolder: which = platform::SpecialFolder::SystemData; break;
    default: return platform::paramErr;
    }
    return platform::FindSpecialFolder(which, create != 0, folder);
}

bool FindQzFolder(KindQzFolder kind, uint8_t create, platform::FSSpec* folder)
{
    return LocateQzFolder(kind, create, folder) == platform::noErr;
}
