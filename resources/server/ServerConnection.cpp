#include "resources/server/ServerConnection.h"

ResServerConnection& ServerConnection()
{
    static ResServerConnection connection;
    return connection;
}

platform::Handle SendServerRequest(int16_t code, const void* data, int32_t length,
                                   int16_t sendTemplate, int16_t replyTemplate,
                                   platform::OSErr* err)
{
    const ResServerConnection& c = ServerConnection();
    if (!c.sendxrequest || !c.requesterr) {
        *err = kServerNotConnectedErr;
        return nullptr;
    }
    platform::Handle reply = c.sendxrequest(code, data, length, sendTemplate, replyTemplate);
    *err = c.requesterr();
    return reply;
}

bool ServerOtherOrder()
{
    const ResServerConnection& c = ServerConnection();
    return c.serverByteSens && c.serverByteSens() != 0;
}

bool LastRequestMayHaveLanded(platform::OSErr err)
{
    const ResServerConnection& c = ServerConnection();
    return IsConnectionFailure(err) && c.lastRequestSent && c.lastRequestSent();
}
