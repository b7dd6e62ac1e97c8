#include "network/QzFolders.h"

#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"

using platform::FSSpec;
using platform::OSErr;

OSErr CQzFolder::GetItemSpec(const std::string& name, FSSpec* item) const
{
    return platform::FSMakeFSSpec(fSpec, name, item);
}

CQzFolder* FindQzFolder(KindQzFolder kind, uint8_t create)
{
    platform::SpecialFolder place;
    switch (kind) {
    case kQzPreferencesFolder: place = platform::SpecialFolder::Preferences; break;
    case kQzExtensionsFolder: place = platform::SpecialFolder::Extensions; break;
    default: return nullptr;
    }
    FSSpec spec;
    if (platform::FindSpecialFolder(place, create != 0, &spec) != 0) return nullptr;
    platform::CatInfo info;
    if (platform::FSpGetCatInfo(spec, &info) != 0 || !info.isFolder) return nullptr;
    return new CQzFolder(spec);
}
