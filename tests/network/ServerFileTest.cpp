// Server-backed resource files against the test server over loopback, in
// both byte orders: opening, the cache, locks, change notices and edits.
#include "tests/network/ServerFileSupport.h"

#include <algorithm>

namespace serverfile {
namespace {

struct Change {
    ResType type;
    int16_t id;
    int16_t marker;
    int16_t action;
};
std::vector<Change> gChanges;

void RecordChange(ResType type, int16_t id, int16_t marker, int16_t action)
{
    gChanges.push_back({type, id, marker, action});
}

TEST_P(ServerFileTest, OpeningAsksTimeMapAndAnnouncesTheClient)
{
    Start(Config(Little()));
    const int16_t local = createres(CacheSpec("local.qzb"), FourCC("QzA6"), FourCC("QzDB"));
    ASSERT_NE(local, 0);
    const int16_t ref = openres2(CacheSpec("Base.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    EXPECT_EQ(reserr, 0);
    EXPECT_EQ(xcurres(), ref);
    EXPECT_FALSE(islocalres(ref));
    EXPECT_TRUE(islocalres(local));
    EXPECT_EQ(g_resManager->FindFile(ref)->RefNum(), kFirstPseudoRef);
    EXPECT_EQ(CPseudoResManager::ServerDBFile(), kStructure);
    EXPECT_EQ(ServerClient().alternativeFile, kAlternative);
    EXPECT_EQ(CPseudoResManager::ServerTimeOffset(), 100u);

    // The map is the server's: types, counts and stamps.
    EXPECT_EQ(comptetypes(), 3);
    EXPECT_EQ(compteres(FourCC("#GRP"), true), 2);
    EXPECT_EQ(compteres(FourCC("TEXT"), true), 2);
    Handle text = xget1res(FourCC("TEXT"), 129);
    EXPECT_EQ(xgetrestimestamp(text), kStamp + 4);
    // Contents arrive converted by type, whatever the server's order.
    for (const Sample& s : Samples()) EXPECT_EQ(Contents(xget1res(s.type, s.id)), s.host) << s.id;
    // Older files stay behind it in the chain.
    EXPECT_EQ(xget1res(FourCC("ZZZZ"), 1), nullptr);

    const std::vector<JournalEntry> journal = Journal();
    ASSERT_GE(journal.size(), 4u);
    EXPECT_EQ(journal[0].code, kReqFileList);
    EXPECT_EQ(journal[1].code, kReqServerTime);
    EXPECT_EQ(journal[2].code, kReqGetMap);
    EXPECT_EQ(journal[3].code, kReqAnnounceClient);
    Bytes announce = {0xFF, 0xFF, 0xEE, 0xA4, 0, 0, 0, 0, 0, 0, 0, 0};
    if (Little()) std::reverse(announce.begin(), announce.begin() + 4);
    EXPECT_EQ(journal[3].payload, announce);

    // The client file closes with its cache and leaves the local file current.
    EXPECT_TRUE(closeres(ref, true));
    EXPECT_EQ(xcurres(), local);
}

TEST_P(ServerFileTest, CacheOfAnotherVersionIsMadeAnew)
{
    Start(Config(Little()));
    const FSSpec fileSpec = CacheSpec("Base.cache");
    int16_t ref = createres(fileSpec, FourCC("QzA6"), FourCC("LOCQ"));
    ASSERT_NE(ref, 0);
    const Bytes stale = Words({0x00010000}, 4);  // version 0 in its low word
    ASSERT_TRUE(g_resManager->AddResNow(stale.data(), 4, FourCC("pver"), 0, 1));
    ASSERT_TRUE(g_resManager->AddResNow("junk", 4, FourCC("TEXT"), 128, kStamp + 3));
    ASSERT_TRUE(closeres(ref, true));

    ref = openres2(fileSpec, false);
    ASSERT_NE(ref, 0) << reserr;
    // Nothing of the old cache is used: the text comes from the server.
    EXPECT_EQ(Contents(xget1res(FourCC("TEXT"), 128)), Samples()[3].host);
    ASSERT_TRUE(closeres(ref, true));

    platform::FInfo info;
    ASSERT_EQ(platform::FSpGetFInfo(fileSpec, &info), 0);
    EXPECT_EQ(info.fdType, FourCC("LOCQ"));
    ref = openres(fileSpec, true);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(FourCC("pver"), 0)), Words({0x0807}, 4));
    // The fetched text was cached with the server's stamp.
    Handle cached = xget1res(FourCC("TEXT"), 128);
    EXPECT_EQ(Contents(cached), Samples()[3].host);
    EXPECT_EQ(xgetrestimestamp(cached), kStamp + 3);
    closeres(ref, false);
}

TEST_P(ServerFileTest, ServersOwnVersionRecordIsNeverCached)
{
    TestServerConfig config = Config(Little());
    ServerResource version;
    version.file = kStructure;
    version.type = FourCC("pver");
    version.id = 0;
    version.data = InServerOrder(Little(), version.type, Words({0x00010000}, 4));
    version.stamp = kStamp;
    config.resources.push_back(version);
    Start(config);
    const FSSpec fileSpec = CacheSpec("Base.cache");
    for (int round = 0; round < 2; ++round) {
        const int16_t ref = openres2(fileSpec, false);
        ASSERT_NE(ref, 0) << reserr;
        EXPECT_EQ(Contents(xget1res(FourCC("pver"), 0)), Words({0x00010000}, 4));
        ASSERT_TRUE(closeres(ref, true));
    }
    // Fetched twice: the cache kept its own version, not the server's.
    int32_t fetched = 0;
    for (const JournalEntry& e : Journal()) fetched += e.code == kReqGetRes;
    EXPECT_EQ(fetched, 2);
    const int16_t ref = openres(fileSpec, true);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(FourCC("pver"), 0)), Words({0x0807}, 4));
    closeres(ref, false);
}

TEST_P(ServerFileTest, CachedStampsWithin30SecondsAreKept)
{
    Start(Config(Little()));
    const FSSpec fileSpec = CacheSpec("Base.cache");
    int16_t ref = createres(fileSpec, FourCC("QzA6"), FourCC("LOCQ"));
    ASSERT_NE(ref, 0);
    const Bytes version = Words({0x0806}, 4);
    ASSERT_TRUE(g_resManager->AddResNow(version.data(), 4, FourCC("pver"), 0, 1));
    // Server stamps: TEXT 128 kStamp + 3, TEXT 129 kStamp + 4.
    ASSERT_TRUE(g_resManager->AddResNow("kept", 4, FourCC("TEXT"), 128, kStamp + 3 - 30));
    ASSERT_TRUE(g_resManager->AddResNow("gone", 4, FourCC("TEXT"), 129, kStamp + 4 - 31));
    ASSERT_TRUE(closeres(ref, true));

    ref = openres2(fileSpec, false);
    ASSERT_NE(ref, 0) << reserr;
    EXPECT_EQ(Contents(xget1res(FourCC("TEXT"), 128)), Bytes({'k', 'e', 'p', 't'}));
    EXPECT_EQ(Contents(xget1res(FourCC("TEXT"), 129)), Samples()[4].host);
    int32_t fetched = 0;
    for (const JournalEntry& e : Journal())
        if (e.code == kReqGetRes) {
            ++fetched;
            EXPECT_EQ(e.payload[Little() ? 8 : 9], 129);
        }
    EXPECT_EQ(fetched, 1);
    closeres(ref, false);
}

TEST_P(ServerFileTest, EditLocksOfAnotherClientAnswerLockedWithTheContents)
{
    Start(Config(Little()));
    const int16_t ref = openres2(CacheSpec("Base.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    const Bytes record = ResRequestRecord(kStructure, FourCC("#GRP"), 128);
    Take(OnProbe(kReqGetResLock, record, kTplResRequest, 0));
    ASSERT_EQ(probeErr_, 0);

    bool locked = false;
    Handle h = xgetreslock(FourCC("#GRP"), 128, &locked, true);
    EXPECT_TRUE(locked);
    EXPECT_EQ(reserr, 0);
    EXPECT_EQ(Contents(h), Samples()[0].host);
    EXPECT_EQ(g_resManager->FindFile(ref)->WhoLockedRes(FourCC("#GRP"), 128), 2);

    // A free resource is locked for this client; unloading gives it back.
    h = xgetreslock(FourCC("#GRP"), 129, &locked, true);
    EXPECT_FALSE(locked);
    EXPECT_EQ(Contents(h), Samples()[1].host);
    Take(OnProbe(kReqGetResLock, ResRequestRecord(kStructure, FourCC("#GRP"), 129), kTplResRequest, 0));
    EXPECT_EQ(probeErr_, kServerLockedErr);
    EXPECT_TRUE(unloadres(FourCC("#GRP"), 129));
    Take(OnProbe(kReqGetResLock, ResRequestRecord(kStructure, FourCC("#GRP"), 129), kTplResRequest, 0));
    EXPECT_EQ(probeErr_, 0);
    closeres(ref, false);
}

TEST_P(ServerFileTest, ChangeNoticeMakesTheNextGetAskTheServer)
{
    Start(Config(Little()));
    const int16_t ref = openres2(CacheSpec("Base.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    CPseudoResManager::SetChangeHook(RecordChange);
    gChanges.clear();
    const ResType type = FourCC("QzQz");
    Handle h = xget1res(type, 128);
    ASSERT_NE(h, nullptr);
    const size_t before = ClientCodes().size();
    EXPECT_EQ(xget1res(type, 128), h);  // loaded: no request
    EXPECT_EQ(ClientCodes().size(), before);

    const Bytes changed = Words({0x11223344}, 4);
    Bytes payload = ResContentsRecord(kStructure, type, 128, nullptr, 0);
    const Bytes wire = InServerOrder(Little(), type, changed);
    payload.insert(payload.end(), wire.begin(), wire.end());
    Take(OnProbe(kReqWriteRes, payload, kTplResRequest, 0));
    ASSERT_EQ(probeErr_, 0);

    clock_.Advance(481);  // quiet longer than the poll interval
    EXPECT_EQ(xget1res(type, 128), h);
    EXPECT_EQ(Contents(h), changed);
    const std::vector<int16_t> codes = ClientCodes();
    ASSERT_EQ(codes.size(), before + 2);
    EXPECT_EQ(codes[before], kReqChangePoll);
    EXPECT_EQ(codes[before + 1], kReqGetRes);
    ASSERT_EQ(gChanges.size(), 1u);
    EXPECT_EQ(gChanges[0].type, type);
    EXPECT_EQ(gChanges[0].id, 128);
    EXPECT_EQ(gChanges[0].marker, kResChangeMarker);
    EXPECT_EQ(gChanges[0].action, 1);
    closeres(ref, false);
}

TEST_P(ServerFileTest, EditsReachTheServerAndASecondClientSeesThem)
{
    Start(Config(Little()));
    int16_t ref = openres2(CacheSpec("Base.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    const Bytes added = Words({0xCAFEF00D, 5}, 4);
    ASSERT_TRUE(xaddres(MakeHandle(added), FourCC("QzQz"), 200));
    EXPECT_EQ(uniqueresid(FourCC("QzQz")), 129);
    Handle group = xget1res(FourCC("#GRP"), 129);
    const Bytes longer = Words({9, 8, 7}, 2);
    ASSERT_EQ(platform::PtrToXHand(longer.data(), group, platform::Size(longer.size())), 0);
    ASSERT_TRUE(xwriteres(group));
    ASSERT_TRUE(rmveresbyid(FourCC("TEXT"), 128, true));
    EXPECT_EQ(xget1res(FourCC("TEXT"), 128), nullptr);
    EXPECT_EQ(reserr, kResNotFound);
    ASSERT_TRUE(closeres(ref, true));

    // On the server, contents are kept in its order.
    const Bytes raw = Take(OnProbe(kReqGetRes, ResRequestRecord(kStructure, FourCC("QzQz"), 200), kTplResRequest, 0));
    ASSERT_EQ(raw.size(), added.size() + 4);
    EXPECT_EQ(Bytes(raw.begin(), raw.begin() + 8), InServerOrder(Little(), FourCC("QzQz"), added));

    closeconnection();
    Connect();
    ref = openres2(CacheSpec("Second.cache"), false);
    ASSERT_NE(ref, 0) << reserr;
    EXPECT_EQ(Contents(xget1res(FourCC("QzQz"), 200)), added);
    EXPECT_EQ(Contents(xget1res(FourCC("#GRP"), 129)), longer);
    EXPECT_EQ(xget1res(FourCC("TEXT"), 128), nullptr);
    EXPECT_EQ(compteres(FourCC("TEXT"), true), 1);
    closeres(ref, false);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ServerFileTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Little" : "Big"; });

}  // namespace
}  // namespace serverfile
