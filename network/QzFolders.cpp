#include "network/QzFolders.h"

#include "platform/files/FileSpec.h"

using platform::FSSpec;
using platform::OSErr;

OSErr CQzFolder::GetItemSpec(const std::string& name, FSSpec* item) const
{
    return platform::FSMakeFSSpec(fSpec, name, item);
}

CQzFolder* FindQzFolder(KindQzFolder kind, uint8_t create)
{
    FSSpec fileSpec;
    if (!FindQzFolder(kind, create, &fileSpec)) return nullptr;
    platform::CatInfo info;
    if (platform::FSpGetCatInfo(fileSpec, &info) != 0 || !info.isFolder) return nullptr;
    return new CQzFolder(fileSpec);
}
