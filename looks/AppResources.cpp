#include "looks/AppResources.h"

#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/resfiles/Resources.h"

std::string ApplicationResourcesPath()
{
    platform::FSSpec extensions;
    // A missing extensions folder still names where it would be.
    platform::FindSpecialFolder(platform::SpecialFolder::Extensions, false, &extensions);
    return platform::FSpGetParent(extensions).path + "/" + kAppResourcesName;
}

int16_t OpenApplicationResources()
{
    const int16_t ref =
        platform::OpenResFile(ApplicationResourcesPath(), platform::fsRdPerm, platform::ResFileFork::Data);
    if (ref != -1) platform::UseResFile(ref);
    return ref;
}
