// Picture files of every imported format (PNG, JPEG, GIF, BMP, PICT) read
// as pictures through the platform's graphics importers. The drawing
// layer's picture values reach this through their import hook, installed
// at start-up.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/drawing/PictureImportHooks.h"

class VFile;

// The file's picture (the caller's), or null. error, when given: 0, 100
// when memory ran out, 600 for any other failure.
platform::Handle MacPictureFromFile(VFile& file, VError* error);

// Installs MacPictureFromFile as the drawing layer's picture import.
void InstallPictureImport();
