#include "network/StoreConnection.h"

#include "network/Requests.h"
#include "resources/ResourceApi.h"
#include "resources/ServerHooks.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"

void InstallStoreConnection()
{
    ResServerConnection& c = ServerConnection();
    c.sendxrequest = sendxrequest;
    c.requesterr = requesterr;
    c.readalone = readalone;
    c.serverByteSens = [] { return ServerByteSens; };
    c.lastRequestTicks = LastRequestTicks;
    c.lastRequestSent = LastRequestSent;

    ResServerHooks& hooks = ServerHooks();
    hooks.changePoll = [](CPseudoResFile*, bool longPoll) { PollServerChanges(longPoll); };
    hooks.idByName = [](CPseudoResFile*, platform::ResType type, const unsigned char* name, platform::OSErr* err) {
        return AskIdByName(type, name, err);
    };
    SetResActionProc([](uint32_t type, int16_t id, uint32_t serverFile, uint8_t action) {
        execresaction(type, id, serverFile, action);
    });
}
