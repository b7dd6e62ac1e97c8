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

}  // namespace
}  // namespace storetest
