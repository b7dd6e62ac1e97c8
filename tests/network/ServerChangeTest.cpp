// A change of a server's file held in one bracket: nothing reaches the
// server before the commit, which sends the names first, then the
// resources added and written back, the member lists of groups in the
// order last written, and the resources removed; a write the server refuses
// takes back what went before it, a connection lost on the way leaves in
// memory what reached the server, and a change dropped puts the file back.
#include <map>

#include "resources/StoreBracket.h"
#include "tests/network/ServerFileSupport.h"

namespace serverfile {
namespace {

using Held = std::map<std::pair<uint32_t, int16_t>, Bytes>;

class ServerChange : public ServerFileTest {
protected:
    void Open(const TestServerConfig& config)
    {
        Start(config);
        ref_ = openres2(CacheSpec("Base.cache"), false);
        ASSERT_NE(ref_, 0) << reserr;
        // Read whole, as a structure's reader reads it.
        for (const Sample& sample : Samples()) ASSERT_NE(xget1res(sample.type, sample.id), nullptr);
        opened_ = ClientCodes().size();
    }
    // The client's writes since the open: code, type and id.
    std::vector<std::string> Writes()
    {
        std::vector<std::string> out;
        size_t n = 0;
        for (const JournalEntry& e : Journal()) {
            if (e.connection != 1 || n++ < opened_ || (e.code != 25 && e.code != 26 && e.code != 29)) continue;
            const uint32_t type = Little() ? platform::ReadLE32(&e.payload[4]) : platform::ReadBE32(&e.payload[4]);
            const uint16_t id = Little() ? platform::ReadLE16(&e.payload[8]) : platform::ReadBE16(&e.payload[8]);
            out.push_back(std::to_string(e.code) + " " + std::string(1, char(type >> 24)) + char(type >> 16) +
                          char(type >> 8) + char(type) + " " + std::to_string(int16_t(id)));
        }
        return out;
    }
    // Every resource of the structure as another client gets it, in the
    // server's order, its stamp left out. The actions the server sends that
    // client are not this one's.
    Held OnServer()
    {
        SetResActionProc(nullptr);
        Held held;
        for (const auto& [type, ids] : std::vector<std::pair<uint32_t, std::vector<int16_t>>>{
                 {FourCC("#GRP"), {128, 129, 130, 131}}, {FourCC("TEXT"), {128, 129}}, {FourCC("NAM#"), {128}}})
            for (int16_t id : ids) {
                Bytes b = Take(OnProbe(kReqGetRes, ResRequestRecord(kStructure, type, id), kTplResRequest, 0));
                if (probeErr_ == 0) held[{type, id}] = Bytes(b.begin(), b.end() - 4);
            }
        InstallStoreConnection();
        return held;
    }
    // The same as this client holds it.
    Held InMemory()
    {
        Held held;
        for (const auto& [key, bytes] : OnServer()) {
            (void)bytes;
            if (!xhas1res(key.first, key.second)) continue;
            Bytes b = Contents(xget1res(key.first, key.second));
            held[key] = InServerOrder(Little(), key.first, b);
        }
        return held;
    }
    // A removal, a write-back, two additions and a name, held in `change`.
    void Change(StoreBracket* change)
    {
        ASSERT_EQ(change->Begin(ref_), 0);
        ASSERT_TRUE(rmveresbyid(FourCC("TEXT"), 129, true));
        Handle group = xget1res(FourCC("#GRP"), 129);
        ASSERT_NE(group, nullptr);
        (*group)[1] = 9;
        ASSERT_TRUE(xwriteres(group));
        for (int16_t expected : {130, 131}) {
            // The server knows neither new id yet: the second is not the first.
            const int16_t id = uniqueresid(FourCC("#GRP"));
            EXPECT_EQ(id, expected);
            ASSERT_TRUE(xaddres(MakeHandle(Words({0, uint32_t(id)}, 2)), FourCC("#GRP"), id));
        }
        ASSERT_TRUE(xsetresname(FourCC("#GRP"), 130, P("Fresh"), false));
        EXPECT_TRUE(Writes().empty()) << "nothing before the commit";
    }
    static const unsigned char* P(const char* text)
    {
        static unsigned char out[256];
        out[0] = uint8_t(std::strlen(text));
        std::memcpy(out + 1, text, out[0]);
        return out;
    }

    int16_t ref_ = 0;
    size_t opened_ = 0;
};

// Member lists go in the order of their last writes, additions or not.
TEST_P(ServerChange, TheCommitSendsNamesMemberListsThenRemovals)
{
    Open(Config(Little()));
    StoreBracket change;
    Change(&change);
    EXPECT_EQ(change.Commit(), 0);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"25 NAM# 128", "26 #GRP 129", "25 #GRP 130", "25 #GRP 131",
                                                    "29 TEXT 129"}));
    EXPECT_EQ(InMemory(), OnServer());
    EXPECT_EQ(OnServer().count({FourCC("TEXT"), 129}), 0u);
    unsigned char name[256];
    EXPECT_TRUE(xgetresname(FourCC("#GRP"), 130, name, false));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Fresh");
    EXPECT_EQ(g_resManager->FindFile(ref_)->ServerChangeLeft(), CPseudoResFile::kNothingLeft);
}

// The server refuses the removal, the last write: the four before it are
// taken back, last first, and memory is as before the change.
TEST_P(ServerChange, AWriteTheServerRefusesTakesBackWhatWentBefore)
{
    TestServerConfig config = Config(Little());
    config.fault = ServerFault::Refuse;
    config.faultCode = kReqRemoveRes;
    Open(config);
    const Held before = OnServer();
    ASSERT_EQ(InMemory(), before);
    {
        StoreBracket change;
        Change(&change);
        EXPECT_NE(change.Commit(), 0);
    }
    EXPECT_EQ(Writes(), (std::vector<std::string>{"25 NAM# 128", "26 #GRP 129", "25 #GRP 130", "25 #GRP 131",
                                                    "29 TEXT 129", "29 #GRP 131", "29 #GRP 130", "26 #GRP 129",
                                                    "29 NAM# 128"}));
    EXPECT_EQ(OnServer(), before);
    EXPECT_EQ(InMemory(), before);
    EXPECT_FALSE(xhas1res(FourCC("#GRP"), 130));
    EXPECT_EQ(g_resManager->FindFile(ref_)->ServerChangeLeft(), CPseudoResFile::kNothingLeft);
}

// The connection closes in the reply to the write-back: the names and the
// write-back reached the server, the additions after it and the removal
// did not.
// Memory holds what the server holds, and the file says part is left.
TEST_P(ServerChange, AConnectionLostOnTheWayLeavesInMemoryWhatReachedTheServer)
{
    TestServerConfig config = Config(Little());
    config.fault = ServerFault::CloseMidReply;
    config.faultCode = kReqWriteRes;
    Open(config);
    Held inMemory;
    {
        StoreBracket change;
        Change(&change);
        EXPECT_EQ(change.Commit(), kNetConnectionLost);
        inMemory = InMemory();
    }
    EXPECT_EQ(takeserverchangenote(), CPseudoResFile::kPartLeft);
    EXPECT_EQ(takeserverchangenote(), 0) << "said once";
    EXPECT_EQ(serverchangeleft(ref_), CPseudoResFile::kPartLeft);
    const Held onServer = OnServer();
    EXPECT_EQ(onServer.count({FourCC("TEXT"), 129}), 1u);
    EXPECT_EQ(onServer.count({FourCC("#GRP"), 131}), 0u);
    EXPECT_EQ(onServer.at({FourCC("#GRP"), 129}), inMemory.at({FourCC("#GRP"), 129}));
    closeconnection();
    // Read from memory alone, without the server.
    EXPECT_EQ(InMemory(), onServer);
    forgetserverchange(ref_);
    EXPECT_EQ(serverchangeleft(ref_), 0);
}

// A change dropped sends nothing and leaves the file as it was: the
// removed resource back with its contents, the one written back with its
// earlier bytes, the added ones and the name gone.
TEST_P(ServerChange, ADroppedChangeSendsNothingAndPutsTheFileBack)
{
    Open(Config(Little()));
    const Held before = OnServer();
    {
        StoreBracket change;
        Change(&change);
        EXPECT_TRUE(change.Drop());
    }
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(InMemory(), before);
    EXPECT_FALSE(xhas1res(FourCC("#GRP"), 131));
    EXPECT_EQ(OnServer(), before);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ServerChange, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Little" : "Big"; });

}  // namespace
}  // namespace serverfile
