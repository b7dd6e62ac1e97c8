// The request layer against a peer that sends what a test scripts: frames
// nobody asked for, replies past the limit, requests from inside handlers.
#include <gtest/gtest.h>

#include <vector>

#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/Wire.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/network/ScriptedPeer.h"

using platform::FourCC;

namespace {

struct Seen {
    int16_t id;
    uint32_t file;
    uint8_t action;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> gSeen;
bool gTryInner = false;
bool gInnerRefused = false;

void Record(uint32_t, int16_t id, uint32_t file, uint8_t action)
{
    gSeen.push_back({id, file, action});
    if (gTryInner) {
        gTryInner = false;
        platform::Handle h = sendxrequest(41, nullptr, 0, 0, 0);
        gInnerRefused = h == nullptr && requesterr() == kNetNotConnected;
        if (h) platform::DisposeHandle(h);
    }
}

class PeerRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRequestLayer();
        SetResActionProc(Record);
        gSeen.clear();
        gTryInner = false;
        gInnerRefused = false;
    }
    void TearDown() override { ResetRequestLayer(); }
};

std::vector<uint8_t> Reply(uint16_t sequence, std::vector<uint8_t> payload)
{
    std::vector<uint8_t> out;
    ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameReply, payload);
    return out;
}

TEST_F(PeerRequests, IdleTakesEveryWaitingFrameAndPassesOnOnlyRealActions)
{
    std::vector<uint8_t> first, records;
    ScriptedPeer::Action(&records, FourCC("TEXT"), 128, 7, 1);
    ScriptedPeer::Action(&records, FourCC("TEXT"), 129, 0, 1);  // no file
    ScriptedPeer::Action(&records, FourCC("TEXT"), 130, 7, 0);  // no action
    ScriptedPeer::Action(&records, FourCC("TEXT"), 131, 7, 5);  // a stored procedure's
    ScriptedPeer::Frame(&first, 0, 0, wire::kFrameActions, records);
    records.clear();
    ScriptedPeer::Action(&records, FourCC("TEXT"), 132, 8, 2);
    ScriptedPeer::Frame(&first, 0, 0, wire::kFrameActions, records);
    ScriptedPeer peer(first, nullptr);
    ASSERT_EQ(OpenServerConnection("127.0.0.1", peer.Port()), 0);

    EXPECT_EQ(idlecomm(), 0);
    EXPECT_EQ(gSeen, (std::vector<Seen>{{128, 7, 1}, {132, 8, 2}}));
    EXPECT_TRUE(CurrentConnection()->IsOpen());
    closeconnection();
}

TEST_F(PeerRequests, IdleWithNothingWaitingAndRequestsFromHandlersLeaveTheConnectionInStep)
{
    ScriptedPeer peer({}, [](uint16_t sequence, int16_t) {
        std::vector<uint8_t> out, records;
        ScriptedPeer::Action(&records, FourCC("TEXT"), 128, 7, 1);
        ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameActions, records);
        ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameReply, {1, 2});
        return out;
    });
    ASSERT_EQ(OpenServerConnection("127.0.0.1", peer.Port()), 0);
    CQztcp* c = CurrentConnection();
    c->SetTimeout(2000);

    // Nothing waiting: an idle pass neither waits for bytes nor drops the line.
    EXPECT_EQ(idlecomm(), 0);
    EXPECT_TRUE(c->IsOpen());

    // A handler called during a request may not start another one.
    gTryInner = true;
    platform::Handle h = sendxrequest(41, nullptr, 0, 0, 0);
    EXPECT_EQ(requesterr(), 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(platform::GetHandleSize(h), 2);
    platform::DisposeHandle(h);
    EXPECT_TRUE(gInnerRefused);
    EXPECT_EQ(gSeen.size(), 1u);

    // Zero bytes read alone need no buffer.
    readalone(nullptr, 0);
    EXPECT_EQ(requesterr(), 0);

    // A request larger than the socket's buffers waits for room to send.
    std::vector<uint8_t> big(32u << 20, 0x5A);
    h = sendxrequest(50, big.data(), int32_t(big.size()), 0, 0);
    EXPECT_EQ(requesterr(), 0);
    ASSERT_NE(h, nullptr);
    platform::DisposeHandle(h);
    closeconnection();
}

TEST_F(PeerRequests, ReplyPastTheLimitIsRefusedAndClosesTheConnection)
{
    ScriptedPeer peer({}, [](uint16_t sequence, int16_t) {
        std::vector<uint8_t> out;
        ScriptedPeer::Frame(&out, sequence, 0, wire::kFrameReply, {}, wire::kMaxPayload + 1);
        return out;
    });
    ASSERT_EQ(OpenServerConnection("127.0.0.1", peer.Port()), 0);
    EXPECT_EQ(sendxrequest(41, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(requesterr(), kNetBadReply);
    EXPECT_FALSE(CurrentConnection()->IsOpen());
    closeconnection();
}

TEST_F(PeerRequests, ClosingABorrowedConnectionKeepsOurOwn)
{
    ScriptedPeer ours({}, [](uint16_t sequence, int16_t) { return Reply(sequence, {9}); });
    ScriptedPeer theirs({}, nullptr);
    ASSERT_EQ(OpenServerConnection("127.0.0.1", ours.Port()), 0);
    CQztcp* own = CurrentConnection();
    CQztcp borrowed;
    ASSERT_EQ(borrowed.Open("127.0.0.1", theirs.Port()), 0);

    SetCurrentConnection(&borrowed);
    closeconnection();
    EXPECT_EQ(CurrentConnection(), nullptr);
    EXPECT_FALSE(borrowed.IsOpen());
    EXPECT_TRUE(own->IsOpen());

    SetCurrentConnection(own);
    platform::Handle h = sendxrequest(41, nullptr, 0, 0, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(**h, 9);
    platform::DisposeHandle(h);
    closeconnection();
}

}  // namespace
