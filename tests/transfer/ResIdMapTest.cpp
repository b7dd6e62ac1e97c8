// Where renumbered resources went: the bundle table, the id maps and the
// rules that choose new ids in the destination.
#include "transfer/remap/NewResIds.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

using transfer::AddMoveTable;
using transfer::IsMoved;

TEST(ResTable, ATypeAndOldIdKeepTheirFirstNewId)
{
    int16_t out = 77;
    EXPECT_FALSE(IsMoved(nullptr, FourCC("DITL"), 1, &out));
    EXPECT_EQ(out, 77);
    EXPECT_EQ(AddMoveTable(nullptr, FourCC("DITL"), 1, 2), 0);

    transfer::ResTableHdl table = transfer::NewResTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(platform::GetHandleSize(table), 2);
    EXPECT_EQ(AddMoveTable(table, FourCC("DITL"), 128, 15000), 0);
    EXPECT_EQ(AddMoveTable(table, FourCC("ICON"), 128, 15001), 0);
    EXPECT_EQ(AddMoveTable(table, FourCC("DITL"), 128, 15002), 0);  // kept: the first stands
    EXPECT_EQ(transfer::CountResTable(table), 2);
    const Bytes stored(reinterpret_cast<uint8_t*>(*table), reinterpret_cast<uint8_t*>(*table) + platform::GetHandleSize(table));
    EXPECT_EQ(stored, (Bytes{0, 2, 'D', 'I', 'T', 'L', 0, 128, 0x3A, 0x98, 'I', 'C', 'O', 'N', 0, 128, 0x3A, 0x99}));
    const std::tuple<platform::ResType, int16_t, bool, int16_t> rows[] = {{FourCC("DITL"), 128, true, 15000},
                                                                          {FourCC("ICON"), 128, true, 15001},
                                                                          {FourCC("ICON"), 129, false, 77},
                                                                          {FourCC("CNTL"), 128, false, 77}};
    for (auto [type, old, found, id] : rows) {
        out = 77;
        EXPECT_EQ(IsMoved(table, type, old, &out), found) << old;
        EXPECT_EQ(out, id) << old;
    }
    // A count that claims more rows than the block holds reads only those.
    platform::WriteBE16(*table, 40);
    EXPECT_EQ(transfer::CountResTable(table), 2);
    EXPECT_FALSE(IsMoved(table, FourCC("PICT"), 1, &out));
    transfer::DisposeResTable(table);
}

TEST(ResIDMapMgrTest, RowsAreKeptOnlyForChangedOrNegatedIds)
{
    ResIDMapMgr map;
    const platform::ResType pict = FourCC("PICT");
    struct Row {
        int16_t oldId, newId, result, count;
    };
    const Row rows[] = {
        {200, 200, 0, 0},    // unchanged: nothing
        {200, -200, 0, 1},   // negated: kept as (200, 200)
        {300, 15000, 0, 2},
        {200, 15001, 0, 3},  // a second row of one (type, old id)
        {0, 0, 0, 3},
        {400, -32768, platform::paramErr, 3},  // no absolute value in 16 bits
        {400, -32767, 0, 4},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(map.Add(pict, row.oldId, row.newId), row.result) << row.oldId << "/" << row.newId;
        EXPECT_EQ(map.GetList()->GetCount(), row.count) << row.oldId << "/" << row.newId;
    }
    EXPECT_EQ(map.GetMapResId(pict, 200), 200);  // the first row of the two
    EXPECT_EQ(map.GetMapResId(pict, 300), 15000);
    EXPECT_EQ(map.GetMapResId(pict, 400), 32767);
    EXPECT_EQ(map.GetMapResId(pict, 201), -1);
    EXPECT_EQ(map.GetMapResId(FourCC("STR#"), 300), -1);
}

class NewIdTest : public TransferFixture {
protected:
    // The destination: the current resource file, holding these resources.
    void Destination(const std::vector<std::pair<const char*, int16_t>>& held)
    {
        platform::ResourceFileImage image;
        for (auto [type, id] : held) {
            platform::ResourceImage r;
            r.type = uint32_t(uint8_t(type[0])) << 24 | uint32_t(uint8_t(type[1])) << 16 |
                     uint32_t(uint8_t(type[2])) << 8 | uint8_t(type[3]);
            r.id = id;
            r.data = {1, 2};
            image.resources.push_back(r);
        }
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), 0);
        const std::string path = folder_ / "dest.rsrc";
        ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), 0);
        ASSERT_GT(platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data), 0);
    }
};

TEST_F(NewIdTest, CopiesTakeTheFirstFreeIdsFrom15000AndTheBundleTableKeepsThem)
{
    Destination({{"DITL", 15000}, {"DITL", 15001}, {"ICON", 15000}, {"QBND", 15000}, {"QzEX", 15001},
                 {"THM#", 15002}, {"STR#", 1000}, {"PICT", 128}, {"PICT", 15000}});
    g_ResIDMapMgr = new ResIDMapMgr;
    transfer::ResTableHdl table = transfer::NewResTable();
    int16_t id = 0;
    bool copy = false;
    ASSERT_EQ(transfer::NewBundleElementId(table, FourCC("DITL"), 300, &id, &copy), 0);
    EXPECT_EQ(id, 15002);
    EXPECT_TRUE(copy);
    // Shared by a second element of the bundle: the same id, not copied again.
    ASSERT_EQ(transfer::NewBundleElementId(table, FourCC("DITL"), 300, &id, &copy), 0);
    EXPECT_EQ(id, 15002);
    EXPECT_FALSE(copy);
    ASSERT_EQ(transfer::NewBundleElementId(table, transfer::ItemResType(32 | 128), 7, &id, &copy), 0);
    EXPECT_EQ(id, 15001);  // 'ICON'
    ASSERT_EQ(transfer::NewFontThemeId(table, FourCC("FON#"), 9, 15005), 0);
    int16_t moved = 0;
    EXPECT_TRUE(IsMoved(table, FourCC("FON#"), 9, &moved));
    EXPECT_EQ(moved, 15005);
    EXPECT_EQ(g_ResIDMapMgr->GetMapResId(FourCC("DITL"), 300), 15002);
    EXPECT_EQ(g_ResIDMapMgr->GetMapResId(FourCC("ICON"), 7), 15001);
    EXPECT_EQ(g_ResIDMapMgr->GetList()->GetCount(), 3);

    // A routine and its bundle share the first id free for both; a package
    // also needs 'FON#' and 'THM#' free there.
    ASSERT_EQ(transfer::NewCodeBundleId(FourCC("QzEX"), FourCC("QBND"), false, 5, &id), 0);
    EXPECT_EQ(id, 15002);
    ASSERT_EQ(transfer::NewCodeBundleId(FourCC("QzPX"), FourCC("QBNX"), true, 6, &id), 0);
    EXPECT_EQ(id, 15000);
    EXPECT_EQ(g_ResIDMapMgr->GetMapResId(FourCC("QBND"), 5), 15002);
    EXPECT_EQ(g_ResIDMapMgr->GetMapResId(FourCC("QzEX"), 5), 15002);

    EXPECT_FALSE(transfer::StrListIdFree(1000));
    EXPECT_TRUE(transfer::StrListIdFree(1001));
    EXPECT_EQ(transfer::ItemResType(7), FourCC("CNTL"));
    EXPECT_EQ(transfer::ItemResType(64), FourCC("PICT"));
    EXPECT_EQ(transfer::ItemResType(4), 0u);
    transfer::DisposeResTable(table);
}

TEST_F(NewIdTest, APictureKeepsAFreeIdElseItsIdInThisTransferElseOneFrom15000)
{
    Destination({{"PICT", 128}, {"PICT", 15000}});
    g_ResIDMapMgr = new ResIDMapMgr;
    g_PictIDMapMgr = new ResIDMapMgr;
    const platform::ResType pict = FourCC("PICT");
    int16_t id = 0;
    bool copy = false;
    ASSERT_EQ(transfer::NewPictureId(200, &id, &copy), 0);
    EXPECT_EQ(id, 200);
    EXPECT_TRUE(copy);
    EXPECT_EQ(g_PictIDMapMgr->GetMapResId(pict, 200), 200);  // kept although unchanged
    ASSERT_EQ(transfer::NewPictureId(128, &id, &copy), 0);
    EXPECT_EQ(id, 15001);
    EXPECT_TRUE(copy);
    ASSERT_EQ(transfer::NewPictureId(128, &id, &copy), 0);  // asked again in the same transfer
    EXPECT_EQ(id, 15001);
    EXPECT_FALSE(copy);
    EXPECT_EQ(g_ResIDMapMgr->GetMapResId(pict, 128), 15001);
    EXPECT_EQ(g_ResIDMapMgr->GetList()->GetCount(), 2);
}

}  // namespace
}  // namespace transfertest
