// Where the application's own resource file is: "Qz Resources.rsrc" in the
// program's folder (beside the executable, unless QZ_APPLICATION_DIR names
// another, so that tests point at their own copy). The extensions folder
// has no say in it.
#pragma once

#include <cstdint>
#include <string>

constexpr const char* kAppResourcesName = "Qz Resources.rsrc";

std::string ApplicationResourcesPath();
// Opens the file read-only and makes it the current resource file; its
// reference number, or -1 (ResError tells why).
int16_t OpenApplicationResources();
