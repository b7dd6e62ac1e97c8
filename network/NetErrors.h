// Result codes of the server connection.
#pragma once

#include "platform/core/MacTypes.h"

constexpr platform::OSErr kNetNotConnected = -10001;  // no connection, or it was lost
constexpr platform::OSErr kNetTimeout = -10002;       // the server did not answer in time
constexpr platform::OSErr kNetBadReply = -10066;      // the server's bytes make no sense
