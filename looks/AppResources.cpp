#include "looks/AppResources.h"

#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/resfiles/Resources.h"

std::string ApplicationResourcesPath()
{
    platform::FSSpec folder;
    // A missing folder still names where it would be.
    platform::FindSpecialFolder(platform::SpecialFolder::Application, false, &folder);
    return folder.path + "/" + kAppResourcesName;
}

int16_t OpenApplicationResources()
{
    const int16_t ref =
        platform::OpenResFile(ApplicationResourcesPath(), platform::fsRdPerm, platform::ResFileFork::Data);
    if (ref != -1) platform::UseResFile(ref);
    return ref;
}
