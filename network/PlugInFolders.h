// The plug-in folders: a folder named "Plugins" in one of six places.
//   0  the extensions folder ("Qz Extensions" beside the application)
//   1  the user's data folder
//   2  the data folder shared by every user
//   3  the preferences folder
//   4  none
//   5  the folder that holds the application
// Each place follows its environment switch (platform/files/SpecialFolders.h).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr platform::OSType kPlugInsFolderKind = 0x4D517A58;  // 'MQzX'
constexpr int16_t kPlugInsLocationCount = 6;

// The volume and folder id of the plug-in folder at `location` for folder
// kind 'MQzX': 0, or fnfErr (folder id 0) when there is no such folder,
// memFullErr (folder id 0) when memory runs out finding it, paramErr for
// another kind or location.
platform::OSErr GetPlugInsFolderRefs(int16_t location, platform::OSType folderKind, int16_t* vRefNum, int32_t* dirID);
