// POSIX errno values to the file service's result codes.
#pragma once

#include "platform/core/MacTypes.h"

namespace platform {

OSErr OSErrFromErrno(int err);

}  // namespace platform
