// How a commit reaches the disk: the blocks of many changed resources go
// out in a few gathered writes in order of their places, and a file grows
// by those writes alone, never by a size change.
#include "resources/ResourceApi.h"
#include "tests/resources/StoreIoRecorder.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

constexpr ResType kTypeA = FourCC("CWTA");
constexpr ResType kTypeB = FourCC("CWTB");

class CommitWritesTest : public StoreTest {};

// 3,000 small resources of two interleaved types (so that the map's order
// is not the order of their places), enough pieces for several system
// calls, and two blocks larger than one gathered write.
TEST_F(CommitWritesTest, ManyBlocksGoOutInAFewGatheredWritesAndReadBackWhole)
{
    auto payload = [](int16_t id) {
        return id == 1500 || id == 2500 ? Pattern(size_t(5) << 20, uint32_t(id)) : Pattern(size_t(1 + id % 150), uint32_t(id));
    };
    int16_t ref = CreateFile("many.qzb");
    ASSERT_NE(ref, 0);
    for (int16_t id = 1; id <= 3000; ++id)
        ASSERT_TRUE(xaddres(MakeHandle(payload(id)), id % 2 ? kTypeA : kTypeB, id));
    size_t writes = 0, sizeChanges = 0;
    {
        StoreIoTable io;
        io.Record(true);
        ASSERT_TRUE(closeres(ref, true)) << reserr;
        for (const IoOp& op : io.Ops()) {
            writes += op.kind == IoOp::Write;
            sizeChanges += op.kind == IoOp::SetSize;
        }
    }
    // Written one by one, the blocks alone would take 3,000 writes; the
    // rest are the map, the header and some 40 bitmap pages.
    EXPECT_EQ(sizeChanges, 0u);
    EXPECT_LT(writes, 120u);

    ref = openres(Spec("many.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    for (int16_t id = 1; id <= 3000; ++id)
        ASSERT_EQ(Contents(xget1res(id % 2 ? kTypeA : kTypeB, id)), payload(id)) << id;

    // Every tenth one changes, and moves to a new place.
    for (int16_t id = 1; id <= 3000; id += 10) {
        Handle h = xget1res(id % 2 ? kTypeA : kTypeB, id);
        ASSERT_NE(h, nullptr);
        (*h)[0] = char(~(*h)[0]);
        ASSERT_TRUE(xwriteres(h));
    }
    ASSERT_TRUE(closeres(ref, true)) << reserr;
    ref = openres(Spec("many.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    for (int16_t id = 1; id <= 3000; ++id) {
        Bytes want = payload(id);
        if (id % 10 == 1) want[0] = uint8_t(~want[0]);
        ASSERT_EQ(Contents(xget1res(id % 2 ? kTypeA : kTypeB, id)), want) << id;
    }
    closeres(ref, false);
}

// A resource rewritten larger again and again between two commits, with
// small resources added in between: the places it outgrows are taken again
// at once, so the file holds about what the last commit reaches, and every
// resource reads back whole from the places that were taken again.
TEST_F(CommitWritesTest, AResourceGrowingBetweenCommitsLeavesNoTrailBehind)
{
    int16_t ref = CreateFile("grow.qzb");
    ASSERT_NE(ref, 0);
    Handle grown = MakeHandle(Pattern(64, 1));
    ASSERT_TRUE(xaddres(grown, kTypeA, 1));
    ASSERT_TRUE(updateres(ref));
    constexpr int kSteps = 300;
    for (int i = 1; i <= kSteps; ++i) {
        const Bytes bytes = Pattern(64 + size_t(i) * 40, uint32_t(i));
        ASSERT_EQ(platform::PtrToXHand(bytes.data(), grown, platform::Size(bytes.size())), 0);
        ASSERT_TRUE(xwriteres(grown));
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(32, uint32_t(1000 + i))), kTypeB, int16_t(i)));
        if (i % 100 == 0) {
            ASSERT_TRUE(updateres(ref));
        }
    }
    ASSERT_TRUE(closeres(ref, true));
    // Every size the resource had, kept to the commit, would be 1.8 MB.
    EXPECT_LT(ReadWholeFile(Path("grow.qzb")).size(), 160u * 1024);

    ref = openres(Spec("grow.qzb"), true);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(kTypeA, 1)), Pattern(64 + size_t(kSteps) * 40, kSteps));
    for (int i = 1; i <= kSteps; ++i)
        ASSERT_EQ(Contents(xget1res(kTypeB, int16_t(i))), Pattern(32, uint32_t(1000 + i))) << i;
    closeres(ref, false);
}

// A held file writes nothing until released: commits are put off, a close
// puts back the header found at opening (a mark left there too), and a
// release that cannot commit keeps the file held.
TEST_F(CommitWritesTest, AHeldFileWritesNothingUntilReleased)
{
    int16_t ref = CreateFile("held.qzb");
    ASSERT_NE(ref, 0);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(100, 1)), kTypeA, 1));
    ASSERT_TRUE(closeres(ref, true));
    Bytes clean = ReadWholeFile(Path("held.qzb"));
    Bytes marked = clean;
    marked[23] |= 1;  // the open mark, as a killed session leaves it
    struct Case {
        const char* what;
        const Bytes& start;
        bool release;      // released before the close
        bool diskFull;     // the release's commit fails
    };
    const Case cases[] = {
        {"closed while held", clean, false, false},
        {"marked, closed while held", marked, false, false},
        {"released", clean, true, false},
        {"released on a full disk", clean, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteWholeFile(Path("held.qzb"), c.start);
        ref = openres(Spec("held.qzb"), false);
        ASSERT_NE(ref, 0);
        ASSERT_TRUE(holdres(ref, true));
        ASSERT_TRUE(xaddres(MakeHandle(Pattern(3000, 2)), kTypeB, 2));
        ASSERT_TRUE(updateres(ref));
        ASSERT_TRUE(updateresNoMap(ref));
        EXPECT_EQ(ReadWholeFile(Path("held.qzb")).size(), c.start.size()) << "nothing written while held";
        bool released = true;
        if (c.release) {
            platform::ScopedFault full(platform::FaultKind::DiskFull, 0, c.diskFull ? -1 : 0);
            released = holdres(ref, false);
        }
        EXPECT_EQ(released, !c.diskFull);
        ASSERT_TRUE(closeres(ref, true));
        const bool stored = c.release && !c.diskFull;
        // A commit that failed may have left blocks no header reaches.
        if (!c.release) EXPECT_EQ(ReadWholeFile(Path("held.qzb")), c.start);
        ref = openres(Spec("held.qzb"), true);
        ASSERT_NE(ref, 0);
        EXPECT_EQ(Contents(xget1res(kTypeB, 2)), stored ? Pattern(3000, 2) : Bytes{});
        EXPECT_EQ(Contents(xget1res(kTypeA, 1)), Pattern(100, 1));
        closeres(ref, false);
    }
}

}  // namespace
}  // namespace storetest
