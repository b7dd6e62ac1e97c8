#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/StoreConnection.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"
#include "tests/network/ShippedTemplates.h"
#include "tests/network/TestServer.h"

using platform::FourCC;

namespace {

class ServerClientTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ResetRequestLayer();
        ResetServerClient();
        ASSERT_EQ(networktest::LoadShippedTemplates(), 0);
        InstallStoreConnection();
        platform::SetClock(&clock_);

        TestServerConfig config;
        config.littleEndian = GetParam();
        config.serverTime = clock_.Seconds() - 100;
        config.files = {{7, FourCC("BAS5"), "Base"}, {8, FourCC("AlDB"), "Alt"}};
        ServerResource r;
        r.file = 7;
        r.type = FourCC("MENU");
        r.id = 300;
        r.name = "Main";
        config.resources.push_back(r);
        ASSERT_TRUE(server_.Start(config));
        ASSERT_EQ(OpenServerConnection("127.0.0.1", server_.Port()), 0);
        CurrentConnection()->SetTimeout(20000);
    }
    void TearDown() override
    {
        ResetRequestLayer();
        ResetServerClient();
        ServerConnection() = ResServerConnection();
        platform::SetClock(nullptr);
        server_.Stop();
        ResetSwapTemplates();
    }
    std::vector<JournalEntry> Journal()
    {
        CQztcp probe;
        probe.SetTimeout(20000);
        EXPECT_EQ(probe.Open("127.0.0.1", server_.Port()), 0);
        CQztcp* first = CurrentConnection();
        SetCurrentConnection(&probe);
        platform::Handle h = sendxrequest(kJournalRequest, nullptr, 0, 0, 0);
        SetCurrentConnection(first);
        std::vector<JournalEntry> out;
        if (h) out = DecodeJournal(reinterpret_cast<const uint8_t*>(*h), platform::GetHandleSize(h));
        if (h) platform::DisposeHandle(h);
        return out;
    }

    platform::VirtualClock clock_{100000};
    TestServer server_;
};

TEST_P(ServerClientTest, OpeningSendsTimeMapAndAnnouncementInTheServersOrder)
{
    ServerFileList files;
    ASSERT_EQ(AskFileList(&files), 0);
    EXPECT_EQ(ServerClient().structureFile, 7u);
    EXPECT_EQ(ServerClient().alternativeFile, 8u);
    EXPECT_EQ(ServerClient().pseudoRefCounter, kFirstPseudoRef);

    ASSERT_EQ(AskServerTime(), 0);
    EXPECT_EQ(ServerClient().timeOffset, 100);
    std::vector<ServerMapType> map;
    ASSERT_EQ(FetchServerMap(7, &map), 0);
    ASSERT_EQ(AnnounceClientFile(), 0);

    std::vector<JournalEntry> journal = Journal();
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[1].code, 127);
    EXPECT_EQ(journal[2].code, 32);
    EXPECT_EQ(journal[3].code, 34);
    std::vector<uint8_t> announce = {0xFF, 0xFF, 0xEE, 0xA4, 0, 0, 0, 0, 0, 0, 0, 0};
    if (GetParam()) std::reverse(announce.begin(), announce.begin() + 4);
    EXPECT_EQ(journal[3].payload, announce);
}

TEST_P(ServerClientTest, SmallRequestsAnswerInHostOrder)
{
    platform::OSErr err = 1;
    EXPECT_EQ(AskUniqueID(7, FourCC("MENU"), &err), 128);
    EXPECT_EQ(err, 0);
    const unsigned char name[] = "\x04Main";
    EXPECT_EQ(AskIdByName(FourCC("MENU"), name, &err), 300);
    EXPECT_EQ(err, 0);
    const unsigned char other[] = "\x05Other";
    EXPECT_EQ(AskIdByName(FourCC("MENU"), other, &err), 0);
    EXPECT_EQ(AskWhoLocked(7, FourCC("MENU"), 300, &err), 0);
    closeconnection();
    EXPECT_EQ(AskUniqueID(7, FourCC("MENU"), &err), 0);
    EXPECT_EQ(err, kNetNotConnected) << "the request's own error";
}

TEST_P(ServerClientTest, ChangePollsFollowTheClock)
{
    auto polls = [&] {
        int32_t n = 0;
        for (const JournalEntry& e : Journal()) n += e.code == kReqChangePoll;
        return n;
    };
    PollServerChanges(true);  // the first full poll is due at once
    PollServerChanges(true);
    PollServerChanges(false);
    EXPECT_EQ(polls(), 1);
    clock_.Advance(481);  // quiet longer than the interval: the short poll
    PollServerChanges(false);
    PollServerChanges(false);
    EXPECT_EQ(polls(), 2);
    clock_.Advance(3601);
    PollServerChanges(true);
    std::vector<JournalEntry> journal = Journal();
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().payload.size(), 2u);  // the full poll's payload
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ServerClientTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Little" : "Big"; });

}  // namespace
