// Damaged containers: refused with their error or read safely, and never
// changed on disk; the open mark and the ordering of commits.
#include <random>

#include "resources/container/ContainerLayout.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

using namespace container;

class IntegrityTest : public StoreTest {
protected:
    // A committed file with a few resources, names included.
    Bytes MakeSample(const std::string& name)
    {
        int16_t ref = CreateFile(name);
        EXPECT_NE(ref, 0);
        for (int16_t id = 1; id <= 6; ++id)
            EXPECT_TRUE(xaddres(MakeHandle(Pattern(size_t(40 * id), uint32_t(id))), FourCC("SAMP"), id));
        const unsigned char name1[] = "\x05" "first";
        EXPECT_TRUE(xsetresname(FourCC("SAMP"), 1, name1, false));
        EXPECT_TRUE(closeres(ref, true));
        return ReadWholeFile(Path(name));
    }

    // Opens a damaged copy, reads what it can and closes it. The bytes on
    // disk stay as they were.
    void ExpectSafe(const Bytes& damaged, const std::string& what)
    {
        WriteWholeFile(Path("damaged.qzb"), damaged);
        int16_t ref = openres(Spec("damaged.qzb"), false);
        if (ref != 0) {
            Handle list = CPseudoResManager::Files().back()->GetResList();
            const Bytes entries = Contents(list);
            platform::DisposeHandle(list);
            for (size_t at = 0; at + 18 <= entries.size(); at += 18) {
                const ResType type = BE32(entries, at);
                const int16_t id = int16_t(platform::ReadBE16(&entries[at + 4]));
                if (Handle h = xget1res(type, id)) {
                    EXPECT_LE(platform::GetHandleSize(h), int32_t(damaged.size()));
                }
                platform::Str255 name;
                xgetresname(type, id, name, false);
            }
            closeres(ref, false);
        }
        EXPECT_EQ(ReadWholeFile(Path("damaged.qzb")), damaged) << what;
    }
};

TEST_F(IntegrityTest, MarkedOpenFilesAreRefusedUnlessAccepted)
{
    Bytes file = MakeSample("marked.qzb");
    file[23] = 1;
    platform::WriteBE32(&file[24], kFlagsMarker);
    WriteWholeFile(Path("marked.qzb"), file);
    EXPECT_EQ(g_resManager->OpenFile(Spec("marked.qzb"), false, false), nullptr);
    EXPECT_EQ(reserr, -1);
    platform::WriteBE32(&file[0], kMagicFirst);
    WriteWholeFile(Path("marked.qzb"), file);
    EXPECT_EQ(g_resManager->OpenFile(Spec("marked.qzb"), false, false), nullptr);
    EXPECT_EQ(reserr, 4);
    EXPECT_EQ(ReadWholeFile(Path("marked.qzb")), file);

    int16_t ref = openres(Spec("marked.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_TRUE(CPseudoResManager::Files().back()->WasMarkedOpen());
    EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), 3)), Pattern(120, 3));
    ASSERT_TRUE(closeres(ref, false));
    EXPECT_EQ(ReadWholeFile(Path("marked.qzb"))[23], 0);

    // Without the marker the flags word counts as 0.
    file[23] = 1;
    platform::WriteBE32(&file[24], 0);
    WriteWholeFile(Path("marked.qzb"), file);
    CPseudoResFile* f = g_resManager->OpenFile(Spec("marked.qzb"), false, false);
    ASSERT_NE(f, nullptr);
    f->Close(false);
    EXPECT_EQ(ReadWholeFile(Path("marked.qzb")), file) << "nothing written";
}

TEST_F(IntegrityTest, BlocksSharingUnitsAreRefused)
{
    const Bytes file = MakeSample("shared.qzb");
    const uint32_t map = BE32(file, 8);
    // The map's first type: records from map + 8, offset at +4, length at +8.
    auto recordAt = [&](int k) { return size_t(map + 8 + 20 * k); };
    const uint32_t first = BE32(file, recordAt(0) + 4);
    ASSERT_EQ(BE32(file, recordAt(0) + 8), 48u);  // one unit

    Bytes sameLast = file;
    platform::WriteBE32(&sameLast[recordAt(1) + 4], first);
    platform::WriteBE32(&sameLast[recordAt(1) + 8], 20);
    Bytes overlapping = file;
    const uint32_t third = BE32(file, recordAt(2) + 4);
    // The third block moved back one unit: it overlaps the second block's
    // last unit and ends in its own first unit.
    platform::WriteBE32(&overlapping[recordAt(2) + 4], third - 64);

    for (const Bytes* damaged : {&sameLast, &overlapping}) {
        WriteWholeFile(Path("shared.qzb"), *damaged);
        CPseudoResFile* f = new CPseudoResFile(Spec("shared.qzb"), true);
        EXPECT_FALSE(f->Init(true));
        EXPECT_EQ(reserr, -1);
        delete f;
        EXPECT_EQ(ReadWholeFile(Path("shared.qzb")), *damaged);
    }

    // A record without data passes.
    int16_t ref = openres(Spec("shared.qzb"), false);
    EXPECT_EQ(ref, 0);
    WriteWholeFile(Path("shared.qzb"), file);
    ref = openres(Spec("shared.qzb"), false);
    ASSERT_NE(ref, 0);
    ASSERT_TRUE(xaddres(nullptr, FourCC("NONE"), 1));
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("shared.qzb"), false);
    EXPECT_NE(ref, 0);
    EXPECT_TRUE(CPseudoResManager::Files().back()->HasGoodBitsTable(nullptr, nullptr));
}

TEST_F(IntegrityTest, TruncatedAndCorruptedFilesAreReadSafely)
{
    const Bytes file = MakeSample("sample.qzb");
    std::mt19937 random(20260);
    for (int i = 0; i < 50; ++i) {
        Bytes cut(file.begin(), file.begin() + std::uniform_int_distribution<size_t>(0, file.size() - 1)(random));
        ExpectSafe(cut, "cut at " + std::to_string(cut.size()));
    }
    const uint32_t map = BE32(file, 8), mapLength = BE32(file, 16);
    const std::pair<uint32_t, uint32_t> regions[] = {{0, 36}, {64, 72}, {4160, 4672}, {map, map + mapLength}};
    for (int i = 0; i < 200; ++i) {
        const auto& [from, to] = regions[i % 4];
        Bytes damaged = file;
        size_t at = std::uniform_int_distribution<size_t>(from, to - 1)(random);
        damaged[at] = uint8_t(damaged[at] ^ std::uniform_int_distribution<int>(1, 255)(random));
        ExpectSafe(damaged, "byte " + std::to_string(at));
    }
}

TEST_F(IntegrityTest, FailedCommitKeepsTheMarkAndThePreviousState)
{
    MakeSample("commit.qzb");
    int16_t ref = openres(Spec("commit.qzb"), false);
    ASSERT_NE(ref, 0);
    Handle h = xget1res(FourCC("SAMP"), 2);
    ASSERT_TRUE(hcrypteres(h, true));
    const Bytes before = Contents(h);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(3000, 9)), FourCC("SAMP"), 9));
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 1, -1);
        EXPECT_FALSE(updateres(ref));
        EXPECT_EQ(reserr, platform::dskFulErr);
        // The contents were scrambled in a copy only.
        EXPECT_EQ(Contents(h), before);
        // The close reports the failure and still releases the object.
        EXPECT_FALSE(closeres(ref, true));
        EXPECT_EQ(reserr, platform::dskFulErr);
        EXPECT_FALSE(updateres(ref));
        EXPECT_EQ(reserr, -4);
    }
    Bytes after = ReadWholeFile(Path("commit.qzb"));
    EXPECT_EQ(BE32(after, 20), 1u);
    EXPECT_EQ(g_resManager->OpenFile(Spec("commit.qzb"), false, false), nullptr);
    ref = openres(Spec("commit.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(xget1res(FourCC("SAMP"), 9), nullptr);
    EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), 4)), Pattern(160, 4));
    EXPECT_EQ(compteres(FourCC("SAMP"), true), 6);
    closeres(ref, false);
}

// Space given up since the last commit is not handed out again before the
// next one: the committed map may still point at it.
TEST_F(IntegrityTest, FreedSpaceIsReusedOnlyAfterTheCommit)
{
    MakeSample("reuse.qzb");
    int16_t ref = openres(Spec("reuse.qzb"), false);
    ASSERT_NE(ref, 0);
    ASSERT_TRUE(rmveresbyid(FourCC("SAMP"), 2, true));
    Handle moved = xget1res(FourCC("SAMP"), 3);
    platform::SetHandleSize(moved, 400);
    ASSERT_TRUE(xwriteres(moved));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(80, 7)), FourCC("SAMP"), 7));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(100, 8)), FourCC("SAMP"), 8));
    // The blocks reach the disk, then the program stops before the map and
    // the header are written.
    ASSERT_TRUE(updateresNoMap(ref));
    WriteWholeFile(Path("crashed.qzb"), ReadWholeFile(Path("reuse.qzb")));
    ASSERT_TRUE(closeres(ref, false));

    ref = openres(Spec("crashed.qzb"), false);
    ASSERT_NE(ref, 0);
    for (int16_t id = 1; id <= 6; ++id)
        EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), id)), Pattern(size_t(40 * id), uint32_t(id))) << id;
    closeres(ref, false);

    // After a commit the space is free again.
    ref = openres(Spec("reuse.qzb"), false);
    ASSERT_NE(ref, 0);
    auto offsetOf = [](int16_t id) {
        Handle list = CPseudoResManager::Files().back()->GetResList();
        const Bytes entries = Contents(list);
        platform::DisposeHandle(list);
        for (size_t at = 0; at + 18 <= entries.size(); at += 18)
            if (int16_t(platform::ReadBE16(&entries[at + 4])) == id) return BE32(entries, at + 10);
        return 0u;
    };
    const uint32_t offset6 = offsetOf(6);
    const uint32_t oldMap = BE32(ReadWholeFile(Path("reuse.qzb")), 8);
    auto givenUp = [&](uint32_t at) {
        return (at >= offset6 && at < offset6 + 248) || (at >= oldMap && at < oldMap + 1024);
    };
    ASSERT_TRUE(rmveresbyid(FourCC("SAMP"), 6, true));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(240, 10)), FourCC("SAMP"), 10));
    EXPECT_FALSE(givenUp(offsetOf(10)));
    ASSERT_TRUE(updateres(ref));
    // First fit reaches the given-up space once the holes below are taken.
    bool reused = false;
    for (int16_t id = 11; id <= 20; ++id) {
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(240, uint32_t(id))), FourCC("SAMP"), id));
        reused = reused || givenUp(offsetOf(id));
    }
    EXPECT_TRUE(reused);
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("reuse.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), 11)), Pattern(240, 11));
    EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), 10)), Pattern(240, 10));
    closeres(ref, false);
}

// A block written at once that fails to reach the disk leaves the map as it
// was: the commit after it keeps the previous contents.
TEST_F(IntegrityTest, FailedImmediateWriteLeavesTheRecordAsItWas)
{
    MakeSample("now.qzb");
    int16_t ref = openres(Spec("now.qzb"), false);
    ASSERT_NE(ref, 0);
    CPseudoResFile* file = CPseudoResManager::Files().back();
    const Bytes replacement = Pattern(500, 40);
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        EXPECT_FALSE(file->AddResNow(replacement.data(), 500, FourCC("SAMP"), 4, 1234));
        EXPECT_EQ(reserr, platform::dskFulErr);
        EXPECT_FALSE(file->AddResNow(replacement.data(), 500, FourCC("SAMP"), 12, 1234));
    }
    EXPECT_EQ(compteres(FourCC("SAMP"), true), 6);
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("now.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(FourCC("SAMP"), 4)), Pattern(160, 4));
    EXPECT_EQ(xget1res(FourCC("SAMP"), 12), nullptr);
    EXPECT_TRUE(CPseudoResManager::Files().back()->HasGoodBitsTable(nullptr, nullptr));
    closeres(ref, false);
}

}  // namespace
}  // namespace storetest
