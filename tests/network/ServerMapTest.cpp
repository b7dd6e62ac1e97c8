#include <gtest/gtest.h>

#include <cstdlib>

#include "kernel/byteswap/SwapTemplates.h"
#include "network/CQztcp.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/StoreConnection.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/server/ServerConnection.h"
#include "resources/server/ServerReplies.h"
#include "tests/network/ShippedTemplates.h"
#include "tests/network/TestServer.h"

using platform::FourCC;

namespace {

TestServerConfig Config(bool little)
{
    TestServerConfig config;
    config.littleEndian = little;
    config.files = {{7, FourCC("BAS5"), "Base"}, {9, FourCC("PRCS"), "Other"},
                    {8, FourCC("AlDB"), "Alt"}};
    for (int16_t id = 128; id < 140; ++id) {
        ServerResource r;
        r.file = 7;
        r.type = id < 134 ? FourCC("TEXT") : FourCC("STR#");
        r.id = id;
        r.data = {uint8_t(id)};
        r.stamp = 7000u + uint32_t(id);
        config.resources.push_back(r);
    }
    config.mapBytesInFrame = 6;
    return config;
}

class ServerMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetRequestLayer();
        ASSERT_EQ(networktest::LoadShippedTemplates(), 0);
        InstallStoreConnection();
    }
    void TearDown() override
    {
        ResetRequestLayer();
        ServerConnection() = ResServerConnection();
        server_.Stop();
        ResetSwapTemplates();
    }
    void Start(const TestServerConfig& config)
    {
        ASSERT_TRUE(server_.Start(config));
        ASSERT_EQ(OpenServerConnection("127.0.0.1", server_.Port()), 0);
        CurrentConnection()->SetTimeout(20000);
    }
    // The connection still answers a request after a failure.
    void ExpectUsable()
    {
        platform::OSErr err = 1;
        platform::Handle h = SendServerRequest(kReqChangePoll, nullptr, 0, 0, 0, &err);
        EXPECT_EQ(err, 0);
        if (h) platform::DisposeHandle(h);
    }
    TestServer server_;
};

TEST_F(ServerMap, FileListAndMapAreTheSameFromEitherByteOrder)
{
    std::vector<ServerMapType> maps[2];
    for (bool little : {false, true}) {
        Start(Config(little));
        platform::OSErr err = 1;
        platform::Handle h = SendServerRequest(kReqFileList, nullptr, 0, 0, 0, &err);
        ASSERT_NE(h, nullptr);
        ServerFileList files = DecodeFileList(reinterpret_cast<const uint8_t*>(*h),
                                              platform::GetHandleSize(h), ServerOtherOrder());
        platform::DisposeHandle(h);
        EXPECT_EQ(files.files.size(), 3u);
        EXPECT_EQ(files.structureFile, 7);
        EXPECT_EQ(files.alternativeFile, 8);

        ASSERT_EQ(FetchServerMap(7, &maps[little]), 0);
        ExpectUsable();
        closeconnection();
        server_.Stop();
    }
    ASSERT_EQ(maps[0].size(), 2u);
    EXPECT_EQ(maps[0][0].type, FourCC("TEXT"));
    EXPECT_EQ(maps[0][0].ids.size(), 6u);
    EXPECT_EQ(maps[0][1].stamps.back(), 7139u);
    for (size_t t = 0; t < 2; ++t) {
        EXPECT_EQ(maps[0][t].type, maps[1][t].type);
        EXPECT_EQ(maps[0][t].ids, maps[1][t].ids);
        EXPECT_EQ(maps[0][t].stamps, maps[1][t].stamps);
    }
}

TEST_F(ServerMap, BadMapRepliesGiveAnErrorAndLeaveTheClientUsableUnlessCut)
{
    const ServerFault faults[] = {ServerFault::MapOverCap, ServerFault::MapTruncated,
                                  ServerFault::MapTooLong, ServerFault::CloseMidReply};
    for (ServerFault fault : faults) {
        TestServerConfig config = Config(fault == ServerFault::MapTruncated);
        config.fault = fault;
        config.faultCode = 32;
        Start(config);
        std::vector<ServerMapType> map;
        platform::OSErr err = FetchServerMap(7, &map);
        EXPECT_NE(err, 0) << int(fault);
        EXPECT_TRUE(map.empty());
        if (fault == ServerFault::CloseMidReply) {
            EXPECT_EQ(err, kNetConnectionLost);  // and stays so
        } else {
            EXPECT_EQ(err, kServerBadReplyErr);
            ExpectUsable();
        }
        closeconnection();
        server_.Stop();
    }
}

}  // namespace
