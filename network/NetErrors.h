// Result codes of the server connection.
#pragma once

#include "platform/core/MacTypes.h"

constexpr platform::OSErr kNetNotConnected = -10001;  // no connection, or it could not be made
constexpr platform::OSErr kNetTimeout = -10002;       // the server did not answer in time
// The connection failed (the server went silent or closed it) and stays
// closed: the session with the server, its login included, is over.
constexpr platform::OSErr kNetConnectionLost = -10003;
// The server stopped answering a request after the open: the connection is
// closed for good, as after kNetConnectionLost.
constexpr platform::OSErr kNetStoppedAnswering = -10004;
constexpr platform::OSErr kNetBadReply = -10066;      // the server's bytes make no sense
