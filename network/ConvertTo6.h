// The conversion of structures of an older container version. Nothing is
// converted here: the creator becomes the current one and the error global
// says the file keeps its older version.
#pragma once

#include "platform/files/FileTypes.h"

// Sets createur to 'Qz+6' and erreure to 4; the file is not touched.
void convert_to_6(const platform::FSSpec& fileSpec);
