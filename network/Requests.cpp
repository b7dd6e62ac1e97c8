#include "network/Requests.h"

#include <cstring>
#include <memory>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Wire.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

using platform::Handle;
using platform::OSErr;

uint8_t ServerByteSens = 0;
int16_t reqerr = 0;

namespace {

constexpr int16_t kActionTemplate = 105;
constexpr uint8_t kStoredProcedureAction = 5;
// Bytes skipped while looking for the start of a frame, and frames of
// other requests skipped, before the connection is given up.
constexpr int32_t kMaxJunkBytes = 64 * 1024;
constexpr int32_t kMaxFramesPerRequest = 4096;
constexpr int32_t kMaxFramesPerIdle = 64;

struct State {
    std::unique_ptr<CQztcp> own;
    CQztcp* current = nullptr;
    NetSwapProc received = SwapBytes2;
    NetSwapProc sending = SwapBytesEnvoi2;
    ResActionProc action = nullptr;
    uint32_t lastRequestTicks = 0;
    uint32_t timeoutMs = CQztcp::kDefaultTimeoutMs;
    uint32_t failures = 0;
    OSErr lastFailure = 0;
    bool failureSaid = false;
    bool lastSent = false;
    bool busy = false;
};

State& S()
{
    static State state;
    return state;
}

void NoteOrder()
{
    ServerByteSens = S().current && S().current->ServerLittleEndian() ? 1 : 0;
}

// A connection that closed on an error has failed: every reader of the
// server's bytes closes it then. It is never opened again behind the
// user's back: a new connection would be a session in which the server
// knows neither the login nor the locks of this one. The failure keeps its
// cause: a damaged reply, a server that stopped answering, or a connection
// that was lost.
// The cause a failure of the connection is said as.
OSErr Said(OSErr failure)
{
    if (failure == kNetBadReply) return failure;
    return failure == kNetTimeout ? kNetStoppedAnswering : kNetConnectionLost;
}

OSErr Noted(CQztcp* c, OSErr err)
{
    if (err == 0 || c->IsOpen()) return err;
    ++S().failures;
    S().lastFailure = err;
    S().failureSaid = false;
    return Said(err);
}

// Why no bytes may be exchanged with `c`, 0 when they may: a connection
// that failed answers the failure's cause, whichever request met it (a
// change poll's failure, say, is nobody's to tell).
OSErr Unusable(const CQztcp* c)
{
    if (!c) return kNetNotConnected;
    if (c->IsOpen()) return 0;
    return S().lastFailure ? Said(S().lastFailure) : kNetConnectionLost;
}

bool Expected(const uint8_t* bytes, uint16_t sequence, wire::ReplyHeader* header)
{
    return wire::DecodeReplyHeader(bytes, header) && header->sequence == sequence &&
           (header->kind == wire::kFrameReply || header->kind == wire::kFrameActions);
}

// Reads the next frame header of request `sequence`, scanning past bytes
// that do not start one (the rest of a reply longer than it said, say).
OSErr ReadHeader(CQztcp* c, uint16_t sequence, wire::ReplyHeader* header)
{
    uint8_t bytes[wire::kHeaderSize];
    if (OSErr err = c->Receive(bytes, sizeof bytes)) return err;
    for (int32_t skipped = 0; !Expected(bytes, sequence, header); ++skipped) {
        if (skipped >= kMaxJunkBytes) {
            c->Close();
            return kNetBadReply;
        }
        std::memmove(bytes, bytes + 1, sizeof bytes - 1);
        if (OSErr err = c->Receive(bytes + sizeof bytes - 1, 1)) return err;
    }
    if (header->length > wire::kMaxPayload) {
        c->Close();  // cannot be skipped safely
        return kNetBadReply;
    }
    return 0;
}

// Reads the action records of one frame; a trailing part record is dropped
// and reported.
OSErr TakeActions(CQztcp* c, uint32_t length)
{
    uint32_t records = length / wire::kActionRecordSize;
    for (uint32_t i = 0; i < records; ++i) {
        uint8_t record[wire::kActionRecordSize];
        if (OSErr err = c->Receive(record, sizeof record)) return err;
        if (ServerByteSens && S().received &&
            S().received(kActionTemplate, record, -1, nullptr, sizeof record) != 0)
            continue;
        uint32_t type = platform::ReadBE32(record);
        int16_t id = platform::ReadBES16(record + 4);
        uint32_t file = platform::ReadBE32(record + 6);
        uint8_t action = record[10];
        if (file != 0 && action != 0 && action != kStoredProcedureAction && S().action)
            S().action(type, id, file, action);
    }
    uint32_t rest = length % wire::kActionRecordSize;
    if (rest == 0) return 0;
    if (OSErr err = c->Discard(rest)) return err;
    return kNetBadReply;
}

Handle ReadPayload(CQztcp* c, uint32_t length, int16_t replyTemplate, OSErr* err)
{
    Handle h = platform::NewHandle(platform::Size(length));
    if (!h) {
        *err = c->Discard(length);
        if (*err == 0) *err = platform::memFullErr;
        return nullptr;
    }
    *err = c->Receive(*h, length);
    if (*err == 0 && ServerByteSens && replyTemplate != 0 && S().received &&
        S().received(replyTemplate, *h, -1, nullptr, int32_t(length)) != 0)
        *err = kNetBadReply;  // shorter than its template
    if (*err != 0) {
        platform::DisposeHandle(h);
        return nullptr;
    }
    return h;
}

// Waits for the reply of request `sequence`, taking the action frames that
// come first.
Handle AwaitReply(CQztcp* c, uint16_t sequence, int16_t replyTemplate)
{
    OSErr actionsErr = 0;
    for (int32_t frames = 0; frames < kMaxFramesPerRequest; ++frames) {
        wire::ReplyHeader header;
        if (OSErr err = ReadHeader(c, sequence, &header)) {
            reqerr = err;
            return nullptr;
        }
        OSErr err = 0;
        if (header.kind == wire::kFrameActions) {
            err = TakeActions(c, header.length);
            if (err == kNetBadReply) {
                actionsErr = err;
                err = 0;
            }
            if (err) {
                reqerr = err;
                return nullptr;
            }
            continue;
        }
        Handle h = header.length ? ReadPayload(c, header.length, replyTemplate, &err) : nullptr;
        if (err) {
            reqerr = err;
            return nullptr;
        }
        reqerr = actionsErr ? actionsErr : header.error;
        return h;
    }
    c->Close();
    reqerr = kNetBadReply;
    return nullptr;
}

}  // namespace

void SetNetSwapProcs(NetSwapProc received, NetSwapProc sending)
{
    S().received = received;
    S().sending = sending;
}

void SetResActionProc(ResActionProc proc) { S().action = proc; }

OSErr OpenServerConnection(const std::string& address, uint16_t port)
{
    if (!S().own) S().own = std::make_unique<CQztcp>();
    S().current = S().own.get();
    S().own->SetTimeout(S().timeoutMs);
    OSErr err = S().own->Open(address, port);
    if (err != 0) closeconnection();  // none current: no session was lost
    // A new session: a failure of an earlier one is no more to be said.
    S().failureSaid = true;
    NoteOrder();
    return err;
}

void SetServerTimeout(uint32_t milliseconds) { S().timeoutMs = milliseconds; }

void closeconnection()
{
    if (S().current) S().current->Close();
    if (S().current == S().own.get()) S().own.reset();
    S().current = nullptr;
    NoteOrder();
}

void SetCurrentConnection(CQztcp* connection)
{
    S().current = connection;
    NoteOrder();
}

CQztcp* CurrentConnection() { return S().current; }

void ResetRequestLayer()
{
    State& s = S();
    s.own.reset();
    s.current = nullptr;
    s.received = SwapBytes2;
    s.sending = SwapBytesEnvoi2;
    s.action = nullptr;
    s.lastRequestTicks = 0;
    s.timeoutMs = CQztcp::kDefaultTimeoutMs;
    s.failures = 0;
    s.lastFailure = 0;
    s.failureSaid = false;
    s.lastSent = false;
    s.busy = false;
    ServerByteSens = 0;
    reqerr = 0;
}

Handle sendxrequest(int16_t code, const void* data, int32_t length, int16_t sendTemplate,
                    int16_t replyTemplate)
{
    State& s = S();
    s.lastSent = false;
    if (length < 0 || (length > 0 && !data) || uint32_t(length) > wire::kMaxPayload) {
        reqerr = platform::paramErr;
        return nullptr;
    }
    // Only one request at a time: an action handler may not send another.
    if (s.busy) {
        reqerr = kNetNotConnected;
        return nullptr;
    }
    if (OSErr err = Unusable(s.current)) {
        reqerr = err;
        return nullptr;
    }
    CQztcp* c = s.current;
    std::vector<uint8_t> frame(size_t(wire::kHeaderSize) + size_t(length));
    if (length > 0) std::memcpy(frame.data() + wire::kHeaderSize, data, size_t(length));
    if (ServerByteSens && sendTemplate != 0 && length > 0 && s.sending) {
        // Our own record: a template reaching past its end converts all it can.
        s.sending(sendTemplate, frame.data() + wire::kHeaderSize, -1, nullptr, length);
    }
    wire::RequestHeader header;
    header.sequence = c->NextSequence();
    header.code = code;
    header.length = uint32_t(length);
    wire::EncodeRequestHeader(header, frame.data());

    s.busy = true;
    s.lastRequestTicks = platform::TickCount();
    Handle reply = nullptr;
    if (OSErr err = c->Send(frame.data(), frame.size())) {
        reqerr = err;
    } else {
        s.lastSent = true;
        reply = AwaitReply(c, header.sequence, replyTemplate);
    }
    reqerr = Noted(c, reqerr);
    s.busy = false;
    return reply;
}

int16_t requesterr() { return reqerr; }

void readalone(void* buffer, int32_t length)
{
    if (length < 0 || (length > 0 && !buffer)) {
        reqerr = platform::paramErr;
        return;
    }
    CQztcp* c = S().current;
    reqerr = Unusable(c);
    if (reqerr == 0) reqerr = Noted(c, c->Receive(buffer, size_t(length)));
}

void actionresaction(int32_t length)
{
    CQztcp* c = S().current;
    reqerr = Unusable(c);
    if (reqerr != 0) return;
    if (length < 0) {
        reqerr = platform::paramErr;
        return;
    }
    reqerr = Noted(c, TakeActions(c, uint32_t(length)));
}

uint32_t LastRequestTicks() { return S().lastRequestTicks; }

bool LastRequestSent() { return S().lastSent; }

uint32_t ConnectionFailures() { return S().failures; }

int16_t LastConnectionFailure() { return S().lastFailure; }

void NoteConnectionFailureSaid() { S().failureSaid = true; }

int16_t TakeUnsaidConnectionFailure()
{
    State& s = S();
    if (s.lastFailure == 0 || s.failureSaid) return 0;
    s.failureSaid = true;
    return Said(s.lastFailure);
}

int16_t idlecomm()
{
    State& s = S();
    CQztcp* c = s.current;
    if (!c) return 1;
    if (s.busy) return 0;
    s.busy = true;
    for (int32_t frames = 0; frames < kMaxFramesPerIdle && c->IsOpen() && c->Readable(); ++frames) {
        wire::ReplyHeader header;
        if (Noted(c, ReadHeader(c, c->LastSequence(), &header)) != 0) break;
        OSErr err = header.kind == wire::kFrameActions ? TakeActions(c, header.length)
                                                       : c->Discard(header.length);
        if (Noted(c, err) != 0 && err != kNetBadReply) break;
    }
    s.busy = false;
    return 0;
}
