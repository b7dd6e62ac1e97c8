#include "network/StoreConnection.h"

#include "network/Requests.h"
#include "resources/server/ServerConnection.h"

void InstallStoreConnection()
{
    ResServerConnection& c = ServerConnection();
    c.sendxrequest = sendxrequest;
    c.requesterr = requesterr;
    c.readalone = readalone;
    c.serverByteSens = [] { return ServerByteSens; };
    c.lastRequestTicks = LastRequestTicks;
}
