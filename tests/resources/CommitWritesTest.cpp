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

}  // namespace
}  // namespace storetest
