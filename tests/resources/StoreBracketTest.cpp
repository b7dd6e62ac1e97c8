// A change bracketed on a store file lands whole or not at all: dropped, or
// failing at any write of its one commit, it leaves the file's resources,
// its bytes and the handles others hold as they were.
#include "resources/StoreBracket.h"

#include <cstring>
#include <string>
#include <vector>

#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResKeySource.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

constexpr ResType kType = FourCC("BRKT");

class StoreBracketTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        const int16_t ref = CreateFile("doc.qzb");
        ASSERT_NE(ref, 0);
        for (int16_t id = 1; id <= 3; ++id) ASSERT_TRUE(xaddres(MakeHandle(Pattern(40u * id, id)), kType, id));
        const unsigned char name[] = "\x05" "first";
        ASSERT_TRUE(xsetresname(kType, 1, name, false));
        ASSERT_TRUE(closeres(ref, true));
        base_ = ReadWholeFile(Path("doc.qzb"));
    }

    // Inside the bracket: one resource added, one grown in place through
    // its handle, one removed, one renamed, one named; the commits asked
    // only mark.
    void Change()
    {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(5000, 9)), kType, 4));
        Handle two = xget1res(kType, 2);
        ASSERT_NE(two, nullptr);
        platform::SetHandleSize(two, 300);
        std::memset(*two, 0x5A, 300);
        ASSERT_TRUE(xwriteres(two));
        ASSERT_TRUE(rmveresbyid(kType, 3, true));
        const unsigned char renamed[] = "\x07" "renamed";
        ASSERT_TRUE(xsetresname(kType, 1, renamed, false));
        ASSERT_TRUE(xsetresname(kType, 2, renamed, false));
        ASSERT_TRUE(updateres(xcurres()));
    }

    void ExpectAsBefore(int16_t ref)
    {
        EXPECT_EQ(xget1res(kType, 4), nullptr);
        for (int16_t id = 1; id <= 3; ++id) EXPECT_EQ(Contents(xget1res(kType, id)), Pattern(40u * id, id)) << id;
        platform::Str255 name;
        ASSERT_TRUE(xgetresname(kType, 1, name, false));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "first");
        ASSERT_TRUE(xgetresname(kType, 2, name, false));
        EXPECT_EQ(name[0], 0);
        ASSERT_TRUE(closeres(ref, false));
        EXPECT_EQ(ReadWholeFile(Path("doc.qzb")), base_);
    }

    Bytes base_;
};

TEST_F(StoreBracketTest, ADropPutsBackEveryChangeAndTheContentsOfHeldHandles)
{
    const int16_t ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    Handle held = xget1res(kType, 2);
    ASSERT_NE(held, nullptr);
    StoreBracket bracket;
    ASSERT_EQ(bracket.Begin(ref), 0);
    Change();
    // Nothing reached the disk but the open mark.
    const Bytes during = ReadWholeFile(Path("doc.qzb"));
    EXPECT_EQ(Bytes(during.begin() + 36, during.end()), Bytes(base_.begin() + 36, base_.end()));
    // Memory short, the drop cannot be made: every commit asked fails, so
    // that nothing of the change lands, and the next bracket drops it first.
    testfaults::FailNthNew(0);
    EXPECT_FALSE(bracket.Drop());
    testfaults::StopFailingNew();
    EXPECT_FALSE(updateres(ref));
    EXPECT_EQ(reserr, kResAdrift);
    StoreBracket next;
    ASSERT_EQ(next.Begin(ref), 0);
    EXPECT_TRUE(next.Drop());
    // The handle held before the bracket is still the resource's, with its
    // committed contents.
    EXPECT_EQ(xget1res(kType, 2), held);
    EXPECT_EQ(Contents(held), Pattern(80, 2));
    ExpectAsBefore(ref);
}

TEST_F(StoreBracketTest, ACommitLandsEveryChangeOnce)
{
    int16_t ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    StoreBracket bracket;
    ASSERT_EQ(bracket.Begin(ref), 0);
    Change();
    EXPECT_EQ(bracket.Commit(), 0);
    EXPECT_FALSE(bracket.IsOpen());
    ASSERT_TRUE(closeres(ref, false));
    ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(kType, 4)), Pattern(5000, 9));
    EXPECT_EQ(Contents(xget1res(kType, 2)), Bytes(300, 0x5A));
    EXPECT_EQ(xget1res(kType, 3), nullptr);
    ASSERT_TRUE(closeres(ref, false));
}

// Each write of the commit fails in turn, until the commit goes through.
// A disk that fails once leaves the file as it was. One that stays full
// keeps what the commit wrote in place, out of the last commit's reach:
// the store still reads as that commit, and the next change lands, the
// store in memory being what the file gives once closed.
TEST_F(StoreBracketTest, EveryWriteOfTheCommitFailingLeavesTheFileAsItWas)
{
    // Every resource of the type, with its name, as "id name bytes".
    const auto held = [] {
        std::vector<std::string> out;
        for (int16_t id = 1; id <= 5; ++id) {
            platform::Str255 name = {0};
            const Bytes bytes = Contents(xget1res(kType, id));
            if (bytes.empty()) continue;
            xgetresname(kType, id, name, false);
            out.push_back(std::to_string(id) + " " + std::string(reinterpret_cast<char*>(name + 1), name[0]) + " " +
                          std::string(bytes.begin(), bytes.end()));
        }
        return out;
    };
    for (const int32_t count : {1, -1}) {
        int32_t failures = 0;
        for (int32_t after = 0; after < 200; ++after) {
            WriteWholeFile(Path("doc.qzb"), base_);
            int16_t ref = openres(Spec("doc.qzb"), false);
            ASSERT_NE(ref, 0);
            const std::vector<std::string> before = held();
            StoreBracket bracket;
            ASSERT_EQ(bracket.Begin(ref), 0);
            Change();
            platform::InjectFault(platform::FaultKind::DiskFull, after, count);
            const int16_t err = bracket.Commit();
            platform::ClearFault(platform::FaultKind::DiskFull);
            if (err == 0) {
                EXPECT_GT(after, 0);
                ASSERT_TRUE(closeres(ref, false));
                break;
            }
            ++failures;
            EXPECT_EQ(err, platform::dskFulErr) << "write " << after;
            if (count > 0) {
                ExpectAsBefore(ref);
                continue;
            }
            EXPECT_EQ(held(), before) << "write " << after;
            StoreBracket next;
            ASSERT_EQ(next.Begin(ref), 0) << "write " << after;
            ASSERT_TRUE(xaddres(MakeHandle(Pattern(70, 5)), kType, 5));
            EXPECT_EQ(next.Commit(), 0) << "write " << after;
            const std::vector<std::string> landed = held();
            EXPECT_EQ(landed.size(), before.size() + 1) << "write " << after;
            ASSERT_TRUE(closeres(ref, false));
            ref = openres(Spec("doc.qzb"), false);
            ASSERT_NE(ref, 0);
            EXPECT_EQ(held(), landed) << "write " << after;
            ASSERT_TRUE(closeres(ref, false));
        }
        // The commit writes the blocks, the map, the bitmaps and the header.
        EXPECT_GE(failures, 4) << count;
    }
}

TEST_F(StoreBracketTest, ABracketOnAFileWithChangesPendingCommitsThemFirst)
{
    const int16_t ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(64, 7)), kType, 7));
    StoreBracket bracket;
    ASSERT_EQ(bracket.Begin(ref), 0);
    Change();
    EXPECT_TRUE(bracket.Drop());
    EXPECT_EQ(Contents(xget1res(kType, 7)), Pattern(64, 7));
    EXPECT_EQ(xget1res(kType, 4), nullptr);
    ASSERT_TRUE(closeres(ref, false));
}

// A file closed while still held (its commit failed and nothing dropped
// the hold) keeps what the session's last commit wrote, not the header it
// had when it was opened.
TEST_F(StoreBracketTest, AFileClosedHeldKeepsItsLastCommit)
{
    int16_t ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(64, 7)), kType, 7));
    ASSERT_TRUE(updateres(ref));
    ASSERT_TRUE(holdres(ref, true));
    ASSERT_TRUE(rmveresbyid(kType, 1, true));
    ASSERT_TRUE(updateres(ref));
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        EXPECT_FALSE(holdres(ref, false));
    }
    closeres(ref, true);
    ref = openres(Spec("doc.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(kType, 7)), Pattern(64, 7));
    EXPECT_EQ(Contents(xget1res(kType, 1)), Pattern(40, 1));
    ASSERT_TRUE(closeres(ref, false));
}

// One key for every resource, as a component's record gives its members'.
class OneKey : public ResKeySource {
public:
    explicit OneKey(uint32_t key) : key_(key) {}
    uint32_t GetKey(ResType, int16_t) override { return key_; }
    uint32_t key_;
};

// Enciphered resources whose key source changes inside the bracket (a
// component's record replaced by a newer one's): dropped, or failing at any
// write of its commit, the bracket leaves the held handle with the committed
// contents deciphered with the key they were written with, and the file as
// it was.
TEST_F(StoreBracketTest, ADropDeciphersTheCommittedBlocksWithTheirKeys)
{
    constexpr ResType kCrypt = FourCC("CRPT");
    OneKey committed(0x1234567u);
    int16_t ref = CreateFile("keys.qzb");
    ASSERT_NE(ref, 0);
    CPseudoResManager::Files().back()->SetComponentMgr(&committed);
    for (int16_t id = 1; id <= 2; ++id) {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(60u * id, 20u + id)), kCrypt, id));
        ASSERT_TRUE(hcrypteres(xget1res(kCrypt, id), id == 2));
    }
    ASSERT_TRUE(closeres(ref, true));
    const Bytes base = ReadWholeFile(Path("keys.qzb"));
    const struct {
        const char* what;
        int32_t failAt;  // the write of the commit that fails; -1: dropped
        bool detached;   // the key source leaves the file meanwhile
    } cases[] = {
        {"dropped", -1, false}, {"dropped, source detached", -1, true}, {"first write fails", 0, false},
        {"second write fails", 1, false}, {"third write fails", 2, true}, {"fourth write fails", 3, false},
    };
    for (const auto& c : cases) {
        OneKey newer(0x7654321u);
        ref = openres(Spec("keys.qzb"), false);
        ASSERT_NE(ref, 0);
        CPseudoResFile* file = CPseudoResManager::Files().back();
        file->SetComponentMgr(&committed);
        Handle held = xgetres(kCrypt, 1, true);
        ASSERT_NE(held, nullptr);
        StoreBracket bracket;
        ASSERT_EQ(bracket.Begin(ref), 0);
        platform::SetHandleSize(held, 200);
        std::memset(*held, 0x3C, 200);
        ASSERT_TRUE(xwriteres(held));
        ASSERT_TRUE(hcrypteres(xgetres(kCrypt, 2, true), false));
        file->SetComponentMgr(c.detached ? nullptr : &newer);
        int16_t err = 0;
        if (c.failAt < 0) {
            EXPECT_TRUE(bracket.Drop()) << c.what;
        } else {
            platform::InjectFault(platform::FaultKind::DiskFull, c.failAt);
            err = bracket.Commit();
            platform::ClearFault(platform::FaultKind::DiskFull);
            EXPECT_NE(err, 0) << c.what;
        }
        // The document read again gives the file its committed keys.
        file->SetComponentMgr(&committed);
        EXPECT_EQ(xgetres(kCrypt, 1, true), held) << c.what;
        EXPECT_EQ(Contents(held), Pattern(60, 21)) << c.what;
        EXPECT_EQ(Contents(xgetres(kCrypt, 2, true)), Pattern(120, 22)) << c.what;
        ASSERT_TRUE(closeres(ref, false));
        EXPECT_EQ(ReadWholeFile(Path("keys.qzb")), base) << c.what;
    }
}

}  // namespace
}  // namespace storetest
