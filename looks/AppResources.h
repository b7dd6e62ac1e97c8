// Where the application's own resource file is: "Qz Resources.rsrc" in the
// folder that holds the extensions folder. The extensions folder is beside
// the executable unless QZ_EXTENSIONS_DIR names another, so the build tree
// runs as it is and tests point both at their own copies with one variable.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* kAppResourcesName = "Qz Resources.rsrc";

std::string ApplicationResourcesPath();
// Opens the file read-only and makes it the current resource file; its
// reference number, or -1 (ResError tells why).
int16_t OpenApplicationResources();
