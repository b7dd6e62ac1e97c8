// The system resource file: read-only, in memory, below the application's
// file. It holds one 'FOND' per visible font family, named by the family
// and numbered by it, so that font menus find the families as resources,
// the system's cursors 'CURS' 1-4 and the alert icons 'ICON' 0-2.
#pragma once

#include <vector>

#include "platform/core/MacTypes.h"

namespace platform {

// Opens the file unless it is open already; answers noErr or the resource
// manager's error.
OSErr OpenSystemResFile();
int16_t SystemResFileRef();  // -1 when not open

// A family's 'FOND' record (big-endian, the classic family layout with one
// scalable entry in its association table).
std::vector<uint8_t> BuildFond(int16_t number, int16_t ascent, int16_t descent, int16_t leading, int16_t widMax);

}  // namespace platform
