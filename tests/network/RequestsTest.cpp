#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/Wire.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "tests/network/ShippedTemplates.h"
#include "tests/network/TestServer.h"

using platform::FourCC;
using platform::Handle;

namespace {

struct Action {
    uint32_t type;
    int16_t id;
    uint32_t file;
    uint8_t code;
};
std::vector<Action> gActions;

void RecordAction(uint32_t type, int16_t id, uint32_t file, uint8_t code)
{
    gActions.push_back({type, id, file, code});
}

std::vector<uint8_t> Bytes(Handle h)
{
    if (!h) return {};
    std::vector<uint8_t> out(*h, *h + platform::GetHandleSize(h));
    platform::DisposeHandle(h);
    return out;
}

// A 12-byte request record in host order (big-endian).
std::vector<uint8_t> Record(uint32_t file, uint32_t type, int16_t id)
{
    std::vector<uint8_t> r(12, 0);
    platform::WriteBE32(r.data(), file);
    platform::WriteBE32(r.data() + 4, type);
    platform::WriteBE16(r.data() + 8, uint16_t(id));
    return r;
}

TestServerConfig Config(bool little)
{
    TestServerConfig config;
    config.littleEndian = little;
    config.files = {{7, FourCC("BAS5"), "Base"}, {8, FourCC("AlDB"), "Alt"}};
    ServerResource r;
    r.file = 7;
    r.type = FourCC("TEXT");
    r.id = 128;
    r.data = {'a', 'b', 'c'};
    r.stamp = 1000;
    r.name = "First";
    config.resources.push_back(r);
    r.id = 129;
    r.data = {'d'};
    config.resources.push_back(r);
    return config;
}

class Requests : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ResetRequestLayer();
        ASSERT_EQ(networktest::LoadShippedTemplates(), 0);
        SetResActionProc(RecordAction);
        gActions.clear();
    }
    void TearDown() override
    {
        second_.Close();
        ResetRequestLayer();
        server_.Stop();
        ResetSwapTemplates();
    }

    void StartServer(const TestServerConfig& config)
    {
        ASSERT_TRUE(server_.Start(config));
        ASSERT_EQ(OpenServerConnection("127.0.0.1", server_.Port()), 0);
        CurrentConnection()->SetTimeout(20000);
    }

    // Runs a request on a second connection to the same server.
    Handle OnSecond(int16_t code, const std::vector<uint8_t>& data, int16_t send, int16_t reply)
    {
        CQztcp* first = CurrentConnection();
        if (!second_.IsOpen()) {
            second_.SetTimeout(20000);
            EXPECT_EQ(second_.Open("127.0.0.1", server_.Port()), 0);
        }
        SetCurrentConnection(&second_);
        Handle h = sendxrequest(code, data.data(), int32_t(data.size()), send, reply);
        SetCurrentConnection(first);
        return h;
    }

    std::vector<JournalEntry> Journal()
    {
        CQztcp probe;
        probe.SetTimeout(20000);
        EXPECT_EQ(probe.Open("127.0.0.1", server_.Port()), 0);
        CQztcp* first = CurrentConnection();
        SetCurrentConnection(&probe);
        std::vector<uint8_t> bytes = Bytes(sendxrequest(kJournalRequest, nullptr, 0, 0, 0));
        SetCurrentConnection(first);
        return DecodeJournal(bytes.data(), bytes.size());
    }

    TestServer server_;
    CQztcp second_;
};

TEST(Wire, HeadersRoundTripAndRefuseForeignBytes)
{
    uint8_t bytes[wire::kHeaderSize];
    wire::ReplyHeader out{0xBEEF, -4444, wire::kFrameActions, 0x01020304};
    wire::EncodeReplyHeader(out, bytes);
    EXPECT_EQ(bytes[0], 0x51);
    EXPECT_EQ(bytes[1], 0x7A);
    EXPECT_EQ(bytes[8], 0x01);  // lengths are big-endian whatever the server
    wire::ReplyHeader in;
    ASSERT_TRUE(wire::DecodeReplyHeader(bytes, &in));
    EXPECT_EQ(in.sequence, 0xBEEF);
    EXPECT_EQ(in.error, -4444);
    EXPECT_EQ(in.kind, wire::kFrameActions);
    EXPECT_EQ(in.length, 0x01020304u);
    wire::RequestHeader request;
    EXPECT_FALSE(wire::DecodeRequestHeader(bytes, &request));
    bytes[1] ^= 0x01;
    EXPECT_FALSE(wire::DecodeReplyHeader(bytes, &in));

    uint8_t greeting[wire::kGreetingSize];
    bool little = false;
    wire::EncodeGreeting(true, greeting);
    ASSERT_TRUE(wire::DecodeGreeting(greeting, &little));
    EXPECT_TRUE(little);
    greeting[4] = 7;
    EXPECT_FALSE(wire::DecodeGreeting(greeting, &little));
}

TEST_P(Requests, RepliesConvertByTemplateInEitherOrder)
{
    bool little = GetParam();
    StartServer(Config(little));
    EXPECT_EQ(ServerByteSens, little ? 1 : 0);

    uint8_t one[2] = {0, 1};
    std::vector<uint8_t> time = Bytes(sendxrequest(127, one, 2, 39, 66));
    EXPECT_EQ(requesterr(), 0);
    ASSERT_EQ(time.size(), 4u);
    EXPECT_EQ(platform::ReadBE32(time.data()), 3000000000u);

    std::vector<uint8_t> unique =
        Bytes(sendxrequest(33, Record(7, FourCC("TEXT"), 0).data(), 12, 95, 39));
    ASSERT_EQ(unique.size(), 2u);
    EXPECT_EQ(platform::ReadBE16(unique.data()), 130);

    // The server saw the request record in its own order.
    std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[1].code, 33);
    const uint8_t* p = journal[1].payload.data();
    EXPECT_EQ(little ? platform::ReadLE32(p + 4) : platform::ReadBE32(p + 4), FourCC("TEXT"));

    // An empty reply is a null handle; the server's error passes through.
    EXPECT_EQ(sendxrequest(41, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(requesterr(), 0);
    EXPECT_EQ(sendxrequest(24, Record(7, FourCC("TEXT"), 99).data(), 12, 95, 0), nullptr);
    EXPECT_EQ(requesterr(), -192);
    EXPECT_NE(LastRequestTicks() + 1, 0u);
}

TEST_P(Requests, LocksAndChangeNoticesReachTheOtherClient)
{
    bool little = GetParam();
    StartServer(Config(little));
    std::vector<uint8_t> record = Record(7, FourCC("TEXT"), 128);

    std::vector<uint8_t> mine = Bytes(sendxrequest(42, record.data(), 12, 95, 0));
    EXPECT_EQ(requesterr(), 0);
    EXPECT_EQ(mine.size(), 3u + 4u);  // contents and stamp

    std::vector<uint8_t> theirs = Bytes(OnSecond(42, record, 95, 0));
    EXPECT_EQ(requesterr(), -4444);
    EXPECT_EQ(theirs, mine);
    std::vector<uint8_t> holder = Bytes(OnSecond(45, record, 95, 39));
    ASSERT_EQ(holder.size(), 2u);
    EXPECT_EQ(platform::ReadBE16(holder.data()), 1);

    // The second client writes back; the first hears of it before its next reply.
    std::vector<uint8_t> contents = record;
    contents.resize(10);
    contents.push_back('z');
    Bytes(OnSecond(26, contents, 95, 0));
    EXPECT_TRUE(gActions.empty());
    Bytes(sendxrequest(41, nullptr, 0, 0, 0));
    ASSERT_EQ(gActions.size(), 1u);
    EXPECT_EQ(gActions[0].type, FourCC("TEXT"));
    EXPECT_EQ(gActions[0].id, 128);
    EXPECT_EQ(gActions[0].file, 7u);
    EXPECT_EQ(gActions[0].code, 1);

    // Unloading frees the lock.
    Bytes(sendxrequest(43, record.data(), 12, 95, 0));
    Bytes(OnSecond(42, record, 95, 0));
    EXPECT_EQ(requesterr(), 0);
}

TEST_P(Requests, MapFurtherBytesAreReadAlone)
{
    StartServer(Config(GetParam()));
    std::vector<uint8_t> first = Bytes(sendxrequest(32, Record(7, 0, 0).data(), 12, 95, 0));
    ASSERT_EQ(first.size(), 4u + 8u);
    uint32_t further = GetParam() ? platform::ReadLE32(first.data()) : platform::ReadBE32(first.data());
    // Body: 2 + 2 + 4 + 2 * 2 + 2 * 4 = 20 bytes, 8 of them in the frame.
    ASSERT_EQ(further, 12u);
    std::vector<uint8_t> rest(further);
    readalone(rest.data(), int32_t(further));
    EXPECT_EQ(requesterr(), 0);
    // The connection is in step afterwards.
    Bytes(sendxrequest(41, nullptr, 0, 0, 0));
    EXPECT_EQ(requesterr(), 0);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Requests, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Little" : "Big"; });

class BadServer : public Requests {};

TEST_F(BadServer, ClosedMidReplyEndsTheSession)
{
    TestServerConfig config = Config(false);
    config.fault = ServerFault::CloseMidReply;
    config.faultCode = 24;
    StartServer(config);
    EXPECT_EQ(sendxrequest(24, Record(7, FourCC("TEXT"), 128).data(), 12, 95, 0), nullptr);
    EXPECT_EQ(requesterr(), kNetConnectionLost);
    // No new connection speaks for the lost one: nothing more reaches the server.
    EXPECT_EQ(sendxrequest(41, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(requesterr(), kNetConnectionLost);
    const std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].code, 24);
}

TEST_F(BadServer, StrayBytesAndPartActionRecordsLeaveTheConnectionInStep)
{
    TestServerConfig config = Config(true);
    config.fault = ServerFault::JunkAfterReply;
    config.faultCode = 127;
    StartServer(config);
    uint8_t one[2] = {1, 0};
    EXPECT_EQ(Bytes(sendxrequest(127, one, 2, 39, 66)).size(), 4u);
    std::vector<uint8_t> unique =
        Bytes(sendxrequest(33, Record(7, FourCC("TEXT"), 0).data(), 12, 95, 39));
    EXPECT_EQ(requesterr(), 0);
    ASSERT_EQ(unique.size(), 2u);
    EXPECT_EQ(platform::ReadBE16(unique.data()), 130);

    // A reply shorter than its template is refused, not read past.
    EXPECT_EQ(sendxrequest(33, Record(7, FourCC("TEXT"), 0).data(), 12, 95, 66), nullptr);
    EXPECT_EQ(requesterr(), kNetBadReply);
}

TEST_F(BadServer, PartActionRecordIsReportedAndWholeRecordsStillApply)
{
    TestServerConfig config = Config(false);
    config.fault = ServerFault::ActionsPartRecord;
    StartServer(config);
    std::vector<uint8_t> contents = Record(7, FourCC("TEXT"), 129);
    contents.resize(10);
    Bytes(OnSecond(25, contents, 95, 0));
    Bytes(sendxrequest(41, nullptr, 0, 0, 0));
    EXPECT_EQ(requesterr(), kNetBadReply);
    ASSERT_EQ(gActions.size(), 1u);
    EXPECT_EQ(gActions[0].code, 2);
    Bytes(sendxrequest(41, nullptr, 0, 0, 0));
    EXPECT_EQ(requesterr(), 0);
}

TEST_F(BadServer, NoServerAndBadArgumentsFailCleanly)
{
    EXPECT_EQ(sendxrequest(41, nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(requesterr(), kNetNotConnected);
    uint8_t buffer[4];
    readalone(buffer, 4);
    EXPECT_EQ(requesterr(), kNetNotConnected);

    StartServer(Config(false));
    EXPECT_EQ(sendxrequest(41, nullptr, -1, 0, 0), nullptr);
    EXPECT_EQ(requesterr(), platform::paramErr);
    server_.Stop();
    EXPECT_EQ(sendxrequest(41, nullptr, 0, 0, 0), nullptr);
    EXPECT_NE(requesterr(), 0);
    EXPECT_EQ(idlecomm(), 0);
    closeconnection();
    EXPECT_EQ(idlecomm(), 1);
}

}  // namespace
