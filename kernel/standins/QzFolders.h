// The program's own folders by kind, until the server connection layer
// takes them over.
#pragma once

#include <cstdint>

#include "platform/files/FileTypes.h"

enum KindQzFolder : uint8_t {
    kQzPreferencesFolder = 5,  // the folder of the preferences file
    kQzExtensionsFolder = 6,   // "Qz Extensions" beside the application
    kQzApplicationFolder = 7,  // the folder that holds the application
    kQzUserDataFolder = 8,     // the user's data folder
    kQzSystemDataFolder = 9    // the data folder shared by every user
};

// Fills *folder and returns true when the folder exists (or was made, with
// create); false otherwise.
bool FindQzFolder(KindQzFolder kind, uint8_t create, platform::FSSpec* folder);
// The same, answering why a folder was not found: memFullErr apart from a
// folder that is not there, paramErr for an unknown kind.
platform::OSErr LocateQzFolder(KindQzFolder kind, uint8_t create, platform::FSSpec* folder);
