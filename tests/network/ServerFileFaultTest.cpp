// Server-backed resource files against a server that misbehaves, and the
// same results from servers of either byte order.
#include "tests/network/ServerFileSupport.h"

namespace serverfile {
namespace {

class ServerFileFaults : public ServerFileTest {};

TEST_P(ServerFileFaults, BadMapRepliesFailTheOpenAndOnlyACutEndsTheSession)
{
    const ServerFault faults[] = {ServerFault::MapOverCap, ServerFault::MapTruncated, ServerFault::MapTooLong,
                                  ServerFault::CloseMidReply};
    for (ServerFault fault : faults) {
        TestServerConfig config = Config(Little());
        config.fault = fault;
        config.faultCode = kReqGetMap;
        Start(config);
        const size_t files = CPseudoResManager::Files().size();
        EXPECT_EQ(openres2(CacheSpec("Base.cache"), false), 0) << int(fault);
        EXPECT_NE(reserr, 0) << int(fault);
        EXPECT_EQ(CPseudoResManager::Files().size(), files);
        EXPECT_EQ(xcurres(), 0);

        // The fault happens once: the next open works over the same
        // connection, unless that connection was cut.
        const int16_t ref = openres2(CacheSpec("Base.cache"), false);
        if (fault == ServerFault::CloseMidReply) {
            EXPECT_EQ(ref, 0);
            EXPECT_EQ(reserr, kNetConnectionLost);
        } else {
            ASSERT_NE(ref, 0) << int(fault) << " " << reserr;
            EXPECT_EQ(Contents(xget1res(FourCC("QzQz"), 128)), Samples()[2].host);
            closeres(ref, false);
        }
        closeconnection();
        server_.Stop();
    }
}

TEST_P(ServerFileFaults, BrokenRepliesToAGetGiveAnErrorAndOnlyACutEndsTheSession)
{
    for (ServerFault fault : {ServerFault::CloseMidReply, ServerFault::JunkAfterReply}) {
        TestServerConfig config = Config(Little());
        config.fault = fault;
        config.faultCode = kReqGetRes;
        Start(config);
        const int16_t ref = openres2(CacheSpec("Base.cache"), false);
        ASSERT_NE(ref, 0) << reserr;
        Handle h = xget1res(FourCC("#GRP"), 128);
        if (fault == ServerFault::CloseMidReply) {
            EXPECT_EQ(h, nullptr);
            EXPECT_EQ(reserr, kNetConnectionLost);
            EXPECT_EQ(xget1res(FourCC("#GRP"), 129), nullptr);
            EXPECT_EQ(reserr, kNetConnectionLost);
        } else {
            // Bytes past the announced end are skipped, not taken as contents.
            EXPECT_EQ(Contents(h), Samples()[0].host);
            EXPECT_EQ(Contents(xget1res(FourCC("#GRP"), 128)), Samples()[0].host);
            EXPECT_EQ(Contents(xget1res(FourCC("#GRP"), 129)), Samples()[1].host);
            EXPECT_EQ(reserr, 0);
        }
        closeres(ref, false);
        closeconnection();
        server_.Stop();
    }
}

TEST_P(ServerFileFaults, EditsThatDoNotReachTheServerChangeNothing)
{
    Start(Config(Little()));
    const int16_t ref = openres2(CacheSpec("Base.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    Handle group = xget1res(FourCC("#GRP"), 128);
    ASSERT_NE(group, nullptr);
    server_.Stop();
    closeconnection();

    Handle fresh = MakeHandle(Words({1}, 4));
    EXPECT_FALSE(xaddres(fresh, FourCC("QzQz"), 300));
    EXPECT_NE(reserr, 0);
    int16_t id = 0;
    xgetresinfo(fresh, &id, nullptr);
    EXPECT_EQ(id, -10000);  // not kept by the store
    platform::DisposeHandle(fresh);
    EXPECT_EQ(compteres(FourCC("QzQz"), true), 1);
    EXPECT_FALSE(xwriteres(group));
    EXPECT_FALSE(rmveresbyid(FourCC("TEXT"), 128, true));
    EXPECT_EQ(compteres(FourCC("TEXT"), true), 2);
    EXPECT_EQ(uniqueresid(FourCC("QzQz")), 0);
    EXPECT_EQ(reserr, kNetNotConnected);
    closeres(ref, false);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ServerFileFaults, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Little" : "Big"; });

// Everything the client sees and sends, as plain bytes.
class ServerFileOrders : public ServerFileTest {
protected:
    Bytes Session(bool little)
    {
        Start(Config(little));
        Bytes seen;
        const int16_t ref = openres2(CacheSpec(little ? "little.cache" : "big.cache"), false);
        EXPECT_NE(ref, 0) << reserr;
        for (const Sample& s : Samples()) {
            Bytes c = Contents(xget1res(s.type, s.id));
            seen.insert(seen.end(), c.begin(), c.end());
            Bytes i = Contents(xgetindres(s.type, 1, true));
            seen.insert(seen.end(), i.begin(), i.end());
        }
        const Bytes added = Words({0x0A0B0C0D, 0x01020304}, 4);
        EXPECT_TRUE(xaddres(MakeHandle(added), FourCC("QzQz"), 77));
        seen.push_back(uint8_t(uniqueresid(FourCC("#GRP"))));
        const unsigned char name[] = "\x04Main";
        seen.push_back(uint8_t(g_resManager->GetResID(FourCC("#GRP"), name, false)));
        seen.push_back(uint8_t(ServerClient().structureFile));
        const Bytes raw = Take(OnProbe(kReqGetRes, ResRequestRecord(kStructure, FourCC("QzQz"), 77), kTplResRequest, 0));
        // The server holds the added contents in its own order.
        EXPECT_EQ(Bytes(raw.begin(), raw.begin() + 8), InServerOrder(little, FourCC("QzQz"), added));
        closeres(ref, false);
        closeconnection();
        server_.Stop();
        probe_.Close();
        return seen;
    }
};

TEST_F(ServerFileOrders, LittleEndianServerGivesTheSameResultsAsBigEndian)
{
    const Bytes big = Session(false);
    const Bytes little = Session(true);
    EXPECT_FALSE(big.empty());
    EXPECT_EQ(little, big);
}

}  // namespace
}  // namespace serverfile
