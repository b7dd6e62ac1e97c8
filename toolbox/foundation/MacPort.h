// Making a drawing port current from toolbox code.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

// Makes `port` the current drawing port, with no device change.
void SetMacPort(platform::CGrafPtr port);
