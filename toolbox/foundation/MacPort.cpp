#include "toolbox/foundation/MacPort.h"

#include "platform/drawing/GWorlds.h"

void SetMacPort(platform::CGrafPtr port) { platform::SetGWorld(port, nullptr); }
