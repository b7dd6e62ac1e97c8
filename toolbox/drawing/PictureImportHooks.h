// Reading picture files of every imported format is the views layer's: it
// installs the import at start-up. Until then no file imports (600).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class VFile;

// A toolbox error code: 0 none, 100 out of memory, 600 a failed import.
using VError = int16_t;

struct PictureImportHooks {
    // The picture of the file, or null; error: 0, 100 out of memory, else
    // 600.
    platform::Handle (*macPictureFromFile)(VFile& file, VError* error) = nullptr;
};
void SetPictureImportHooks(const PictureImportHooks& hooks);
void ResetPictureImportHooks();

// The file's picture through the installed import; error may be null.
platform::Handle QT_MacPictureFromFile(VFile& file, VError* error);
// Pictures need no conversion here: the handle comes back as it is.
platform::Handle QT_QTPictureToMacPicture(platform::Handle picture, platform::Handle unused = nullptr);
