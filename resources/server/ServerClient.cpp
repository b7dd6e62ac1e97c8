#include "resources/server/ServerClient.h"

#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResManager.h"
#include "resources/server/ServerConnection.h"

using platform::Handle;
using platform::OSErr;

namespace {

// A reply of at least `size` bytes, read as a host-order value at `offset`
// (the reply template already put it in host order); false otherwise.
bool ReplyWord(Handle h, int32_t offset, int16_t* value)
{
    bool ok = h && platform::GetHandleSize(h) >= offset + 2;
    if (ok) *value = platform::ReadBES16(*h + offset);
    return ok;
}

void Dispose(Handle h)
{
    if (h) platform::DisposeHandle(h);
}

}  // namespace

ServerClientState& ServerClient()
{
    static ServerClientState state;
    return state;
}

void ResetServerClient() { ServerClient() = ServerClientState(); }

int16_t NextPseudoRef()
{
    ServerClientState& s = ServerClient();
    if (s.pseudoRefCounter < kFirstPseudoRef || s.pseudoRefCounter == INT16_MAX) s.pseudoRefCounter = kFirstPseudoRef;
    return s.pseudoRefCounter++;
}

OSErr AskServerTime()
{
    uint8_t one[2] = {0, 1};
    uint32_t local = 0;
    platform::ReadDateTime(&local);
    OSErr err = 0;
    Handle h = SendServerRequest(kReqServerTime, one, 2, kTplReplyWord, kTplReplyLong, &err);
    if (h && platform::GetHandleSize(h) >= 4)
        ServerClient().timeOffset = int32_t(local - platform::ReadBE32(*h));
    Dispose(h);
    return err;
}

OSErr AskFileList(ServerFileList* list)
{
    OSErr err = 0;
    Handle h = SendServerRequest(kReqFileList, nullptr, 0, 0, 0, &err);
    *list = h ? DecodeFileList(reinterpret_cast<const uint8_t*>(*h), platform::GetHandleSize(h),
                               ServerOtherOrder())
              : ServerFileList();
    Dispose(h);
    ServerClientState& s = ServerClient();
    s.structureFile = uint32_t(list->structureFile);
    s.alternativeFile = uint32_t(list->alternativeFile);
    s.pseudoRefCounter = kFirstPseudoRef;
    return err;
}

OSErr AnnounceClientFile()
{
    std::vector<uint8_t> payload = AnnounceClientPayload();
    OSErr err = 0;
    Dispose(SendServerRequest(kReqAnnounceClient, payload.data(), int32_t(payload.size()),
                              kTplResRequest, 0, &err));
    return err;
}

void PollServerChanges(bool getByTypeAndId)
{
    ServerClientState& s = ServerClient();
    uint32_t now = platform::TickCount();
    OSErr err = 0;
    if (getByTypeAndId && now - s.lastFullPoll >= kFullPollTicks) {
        uint8_t full[2] = {0, 0};
        s.lastFullPoll = now;
        Dispose(SendServerRequest(kReqChangePoll, full, 2, kTplReplyWord, 0, &err));
        return;
    }
    const ResServerConnection& c = ServerConnection();
    uint32_t last = c.lastRequestTicks ? c.lastRequestTicks() : 0;
    if (now - last > uint32_t(intervalresource))
        Dispose(SendServerRequest(kReqChangePoll, nullptr, 0, 0, 0, &err));
}

int16_t AskUniqueID(uint32_t serverFile, platform::ResType type, OSErr* err)
{
    std::vector<uint8_t> record = ResRequestRecord(serverFile, type, 0);
    Handle h = SendServerRequest(kReqUniqueID, record.data(), 12, kTplResRequest, kTplReplyWord, err);
    int16_t id = 0;
    // No id: the request's own error, or -1 when the server sent none.
    if (!ReplyWord(h, 0, &id)) {
        id = 0;
        if (*err == 0) *err = -1;
    }
    Dispose(h);
    return id;
}

int16_t AskWhoLocked(uint32_t serverFile, platform::ResType type, int16_t id, OSErr* err)
{
    std::vector<uint8_t> record = ResRequestRecord(serverFile, type, id);
    Handle h = SendServerRequest(kReqWhoLocked, record.data(), 12, kTplResRequest, kTplReplyWord, err);
    int16_t holder = 0;
    if (!ReplyWord(h, 0, &holder)) holder = 0;
    Dispose(h);
    return holder;
}

int16_t AskIdByName(platform::ResType type, const unsigned char* name, OSErr* err)
{
    std::vector<uint8_t> payload = IdByNamePayload(type, name);
    Handle h = SendServerRequest(kReqIdByName, payload.data(), int32_t(payload.size()), kTplNamedId,
                                 kTplNamedId, err);
    int16_t id = 0;
    if (!ReplyWord(h, 4, &id)) id = 0;
    Dispose(h);
    return id;
}

OSErr TellUnloaded(uint32_t serverFile, platform::ResType type, int16_t id)
{
    std::vector<uint8_t> record = ResRequestRecord(serverFile, type, id);
    OSErr err = 0;
    Dispose(SendServerRequest(kReqUnloadRes, record.data(), 12, kTplResRequest, 0, &err));
    return err;
}
