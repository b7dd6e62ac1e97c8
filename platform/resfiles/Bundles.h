// Bundles: a folder that holds a program part with its resources. Its
// resource map is the plain resource file "Contents/Resources/NAME.rsrc"
// inside it, NAME being the folder's name without its extension
// ("Tools.plugin" keeps its map in "Contents/Resources/Tools.rsrc").
#pragma once

#include <optional>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/CFURL.h"

namespace platform {

struct CFBundle {
    std::string posixPath;  // the bundle folder
};

// The bundle at a directory URL whose folder exists; empty otherwise.
std::optional<CFBundle> CFBundleCreate(const CFURL& url);
// The path of the bundle's resource map, present or not.
std::string CFBundleResourceMapPath(const CFBundle& bundle);
// Opens the bundle's resource map read-only, on top of the chain and
// current, as FSpOpenResFile does; -1 when it has none or it cannot be
// opened (ResError says why).
int16_t CFBundleOpenBundleResourceMap(const CFBundle& bundle);

}  // namespace platform
