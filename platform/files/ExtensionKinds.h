// File types and creators that follow from a name's extension, so that such
// files need no sidecar to answer their Finder information.
#pragma once

#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

// The type and creator the extension of `name` implies (ASCII letters
// compared without case); false when the extension is not known.
bool KindFromExtension(const std::string& name, OSType* type, OSType* creator);

// Adds or replaces an extension ("txt", without the dot) in the table.
void SetExtensionKind(const std::string& extension, OSType type, OSType creator);
// Back to the built-in table.
void ResetExtensionKinds();

}  // namespace platform
