// What the store needs of the server connection, which is built above it:
// the connection layer installs its calls here at start-up (and tests
// install them too). Until then every server request fails with
// kServerNotConnectedErr.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr platform::OSErr kServerNotConnectedErr = -10001;
constexpr platform::OSErr kServerBadReplyErr = -10066;

// Whether a request's error is its connection's (no connection, no answer
// in time, the connection lost, a reply that could not be read) rather
// than the server's answer.
constexpr bool IsConnectionFailure(platform::OSErr err)
{
    return (err <= kServerNotConnectedErr && err >= kServerNotConnectedErr - 3) || err == kServerBadReplyErr;
}

struct ResServerConnection {
    platform::Handle (*sendxrequest)(int16_t code, const void* data, int32_t length,
                                     int16_t sendTemplate, int16_t replyTemplate) = nullptr;
    int16_t (*requesterr)() = nullptr;
    void (*readalone)(void* buffer, int32_t length) = nullptr;
    // Non-zero when the server's payloads are in the other byte order.
    uint8_t (*serverByteSens)() = nullptr;
    // Ticks of the last request of any kind.
    uint32_t (*lastRequestTicks)() = nullptr;
    // Whether the last request went out whole.
    bool (*lastRequestSent)() = nullptr;
};

ResServerConnection& ServerConnection();

// Sends one request through the installed connection; *err receives the
// request's error (0 on success).
platform::Handle SendServerRequest(int16_t code, const void* data, int32_t length,
                                   int16_t sendTemplate, int16_t replyTemplate,
                                   platform::OSErr* err);
bool ServerOtherOrder();
// Whether the server may have carried out the last request although it
// failed: it went out whole and only the connection failed afterwards.
bool LastRequestMayHaveLanded(platform::OSErr err);
