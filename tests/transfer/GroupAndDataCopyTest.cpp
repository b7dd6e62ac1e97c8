// Groups, pictures and style sheets copied into another structure: the
// records the movers write, the ids they choose and the members a group's
// copy gathers.
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/movers/DataMovers.h"
#include "transfer/movers/ListMovers.h"
#include "transfer/movers/Movers.h"
#include "transfer/remap/ResIDMap.h"

namespace transfertest {
namespace {

const char* kStudio = R"(structure Studio
picture Logo id 7 size 16 16
picture Stamp id 9 size 8 8
stylesheet Body id 3 font Geneva size 10
method Draw id 40
  comment "draws"
method Paint id 41
  call Draw
group Art
  method Draw
  method Paint
)";

class GroupAndDataCopyTest : public CopyFixture {};

TEST_F(GroupAndDataCopyTest, AGroupComesEmptyUnderAGroupIdOfItsKind)
{
    BuildPair(kStudio, "structure Gallery\ngroup Old\n  method Keep\nmethod Keep id 5\n  comment \"k\"\n");
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveGroup(&doc_, &dest_, Src(23, "Art"), &made, nullptr), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->kind, 23);
    EXPECT_NE(made->id, Dst(23, "Old")->id);
    EXPECT_EQ(StoreRes(&dest_, FourCC("#GRP"), made->id), (Bytes{0, 0}));
    useres(dest_.fResFile);
    unsigned char name[256];
    ASSERT_TRUE(xgetresname(FourCC("#GRP"), made->id, name, false));
    EXPECT_EQ(readtest::P(name), "Art");
}

// Dropped with Option, the group's copy holds the copies of its members;
// dropped where a group of its name exists (5, merge), they join that one.
TEST_F(GroupAndDataCopyTest, TheCopysMembersAreTheCopiesOfTheMembers)
{
    for (const bool namesake : {false, true}) {
        BuildPair(kStudio, namesake ? "structure Gallery\ngroup Art\n  method Keep\nmethod Keep id 5\n  comment \"k\"\n"
                                    : "structure Gallery\n");
        platform::PushDialogAnswer(1);
        ASSERT_EQ(Drop({Src(23, "Art")}, 1), 0) << namesake;
        platform::ClearDialogAnswers();
        TObjQz* group = Dst(23, "Art");
        ASSERT_NE(group, nullptr);
        std::set<std::string> members;
        for (int32_t i = 0; group->members && i < group->members->Size(); ++i)
            members.insert(readtest::P(group->members->At(i)->name));
        std::set<std::string> expected{"Draw", "Paint"};
        if (namesake) expected.insert("Keep");
        EXPECT_EQ(members, expected) << namesake;
        EXPECT_EQ(Dst(2, "Draw")->parent, group);
        ReopenDest();
        group = Dst(23, "Art");
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->members ? group->members->Size() : 0, int32_t(expected.size())) << namesake;
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// A picture keeps its id when free there; taken, it takes the first free
// from 15000; copied again in the same transfer, the id it took and no
// second copy. Each row is in both maps, the new id negated.
TEST_F(GroupAndDataCopyTest, APicturesIdByItsOwnTheTransfersOrTheFirstFree)
{
    BuildPair(kStudio, "structure Gallery\npicture Other id 9 size 4 4\npicture Taken id 15000 size 4 4\n");
    g_PictIDMapMgr = new ResIDMapMgr;
    g_ResIDMapMgr = new ResIDMapMgr;
    struct Case {
        const char* picture;
        int16_t id;
        int32_t rows;
    };
    for (const Case c : {Case{"Logo", 7, 1}, Case{"Stamp", 15001, 2}, Case{"Stamp", 15001, 2}}) {
        TObjQz* made = nullptr;
        ASSERT_EQ(transfer::MovePicture(&doc_, &dest_, Src(18, c.picture), &made, false), 0) << c.picture;
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->id, c.id) << c.picture;
        EXPECT_EQ(StoreRes(&dest_, FourCC("PICT"), c.id), StoreRes(&doc_, FourCC("PICT"), Src(18, c.picture)->id));
        EXPECT_EQ(g_PictIDMapMgr->GetList()->GetCount(), c.rows);
        EXPECT_EQ(g_ResIDMapMgr->GetList()->GetCount(), c.rows);
        EXPECT_EQ(g_PictIDMapMgr->GetMapResId(FourCC("PICT"), Src(18, c.picture)->id), c.id);
    }
    // The destination's own picture 9 is as it was; 'PIC#' 128 names both.
    EXPECT_EQ(readtest::P(SearchObj_Id(&dest_, 18, 9)->name), "Other");
    const Bytes names = StoreRes(&dest_, FourCC("PIC#"), 128);
    EXPECT_EQ(platform::ReadBES16(names.data()), 4);
    transfer::ResetResIDMaps();
}

// A picture a button names comes by the same rule: its own id when free,
// the id this transfer gave it, else the first free from 15000; with its
// object and 'PIC#' row when the source lists it, bare when not; one the
// source lacks keeps its id and nothing is written. Too little room
// writes nothing.
TEST_F(GroupAndDataCopyTest, AButtonsPictureComesOnceByThePictureRule)
{
    BuildPair(kStudio, "structure Gallery\npicture Other id 9 size 4 4\npicture Taken id 15000 size 4 4\n");
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("PICT"), 11, Bytes(14, 0x2B)), 0);
    ASSERT_EQ(transfer::PutStoreBytes(&doc_, FourCC("PIWZ"), 7, Bytes(6, 0x5E)), 0);
    ASSERT_EQ(transfer::CommitNoMap(&doc_), 0);
    g_PictIDMapMgr = new ResIDMapMgr;
    struct Case {
        int16_t id, newId;
        const char* object;  // the destination's object under the new id
        int16_t names;       // 'PIC#' 128 rows after
    };
    const Case cases[] = {{7, 7, "Logo", 3}, {9, 15001, "Stamp", 4}, {9, 15001, "Stamp", 4},
                          {11, 11, nullptr, 4}, {12, 12, nullptr, 4}};
    for (const Case& c : cases) {
        int16_t newId = 0;
        ASSERT_EQ(transfer::MovePictureFlipFlop(&doc_, &dest_, c.id, &newId), 0) << c.id;
        EXPECT_EQ(newId, c.newId) << c.id;
        EXPECT_EQ(StoreRes(&dest_, FourCC("PICT"), newId), StoreRes(&doc_, FourCC("PICT"), c.id)) << c.id;
        TObjQz* obj = SearchObj_Id(&dest_, 18, newId);
        EXPECT_EQ(obj ? readtest::P(obj->name) : "", c.object ? c.object : "") << c.id;
        EXPECT_EQ(platform::ReadBES16(StoreRes(&dest_, FourCC("PIC#"), 128).data()), c.names) << c.id;
    }
    EXPECT_EQ(StoreRes(&dest_, FourCC("PIWZ"), 7), Bytes(6, 0x5E));
    EXPECT_EQ(readtest::P(SearchObj_Id(&dest_, 18, 9)->name), "Other");
    EXPECT_EQ(g_PictIDMapMgr->GetMapResId(FourCC("PICT"), 12), -1);
    transfer::ResetResIDMaps();

    // Room for twice the picture less one byte: -34 and the files as they were.
    CloseDest();
    const auto before = DestFiles();
    OpenDest();
    static int64_t room = 0;
    room = 2 * int64_t(StoreRes(&doc_, FourCC("PICT"), 7).size()) - 1;
    transfer::SetRoomProbe([](TMainDoc*) { return room; });
    int16_t newId = 0;
    EXPECT_EQ(transfer::MovePictureFlipFlop(&doc_, &dest_, 7, &newId), platform::dskFulErr);
    transfer::SetRoomProbe(nullptr);
    CloseDest();
    EXPECT_EQ(DestFiles(), before);
}

// A list item's icon reference: high word 0 a colour icon (id 0 none), 1 a
// picture, anything else none. Copied under its id with its name when the
// destination lacks it; the destination's own, or one the source lacks,
// leaves the destination as it was.
TEST_F(GroupAndDataCopyTest, AnItemsIconComesUnderItsIdWhenTheDestinationLacksIt)
{
    BuildPair(kStudio, "structure Gallery\n");
    auto add = [](int16_t file, const char* type, int16_t id, const Bytes& bytes, const unsigned char* name) {
        platform::UseResFile(file);
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        platform::AddResource(h, platform::ReadBE32(reinterpret_cast<const uint8_t*>(type)), id, name);
        platform::UpdateResFile(file);
    };
    auto in = [](int16_t file, const char* type, int16_t id) {
        platform::UseResFile(file);
        platform::Handle h = platform::Get1Resource(platform::ReadBE32(reinterpret_cast<const uint8_t*>(type)), id);
        unsigned char name[256] = {0};
        int16_t ignoredId = 0;
        platform::ResType ignoredType = 0;
        if (h) platform::GetResInfo(h, &ignoredId, &ignoredType, name);
        return std::pair{h && *h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{}, readtest::P(name)};
    };
    add(doc_.fRsrFile, "cicn", 3000, Bytes(30, 1), reinterpret_cast<const unsigned char*>("\x04Star"));
    add(doc_.fRsrFile, "PICT", 3001, Bytes(20, 2), nullptr);
    add(doc_.fRsrFile, "cicn", 3002, Bytes(30, 3), nullptr);
    add(dest_.fRsrFile, "cicn", 3002, Bytes(30, 4), nullptr);
    struct Case {
        int32_t reference;
        const char* type;
        int16_t id;
        Bytes bytes;  // the destination's after
        std::string name;
    };
    const Case cases[] = {
        {0x00000BB8, "cicn", 3000, Bytes(30, 1), "Star"}, {0x00010BB9, "PICT", 3001, Bytes(20, 2), ""},
        {0x00000BBA, "cicn", 3002, Bytes(30, 4), ""},     {0x00000BBB, "cicn", 3003, {}, ""},
        {0x00020BB8, "cicn", 3000, Bytes(30, 1), "Star"}, {0x00010BB8, "PICT", 3000, {}, ""},
        {0x00000000, "cicn", 0, {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(transfer::MoveIcon(&doc_, &dest_, c.reference), 0) << std::hex << c.reference;
        EXPECT_EQ(in(dest_.fRsrFile, c.type, c.id), (std::pair{c.bytes, c.name})) << std::hex << c.reference;
    }
    // A picture the destination's chain lacks, then holds: copied once.
    EXPECT_EQ(transfer::MoveIconData(&doc_, &dest_, FourCC("PICT"), 3001), 0);
    platform::UseResFile(dest_.fRsrFile);
    EXPECT_EQ(platform::Count1Resources(FourCC("PICT")), 1);
    EXPECT_EQ(platform::Count1Resources(FourCC("cicn")), 2);
}

// A style sheet joins the destination's table under its next id, with a
// name free there; replacing one keeps the destination's id and takes the
// source's name and styles.
TEST_F(GroupAndDataCopyTest, StyleSheetsTakeTheNextIdAndAFreeName)
{
    BuildPair(kStudio, "structure Gallery\nstylesheet Body id 4 font Times size 12\n");
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveStyleSheet(&doc_, &dest_, Src(19, "Body"), &made, nullptr), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(readtest::P(made->name), "Body_2");
    EXPECT_EQ(made->id, 5);
    const Bytes table = StoreRes(&dest_, FourCC("Stlx"), 128), source = StoreRes(&doc_, FourCC("Stlx"), 128);
    ASSERT_EQ(table.size(), 4u + 2 * 376);
    EXPECT_EQ(platform::ReadBES16(&table[2]), 5);
    // The copy's styles are the source's, byte for byte after the id.
    EXPECT_TRUE(std::equal(table.begin() + 4 + 376 + 34, table.end(), source.begin() + 4 + 34));
    TObjQz* target = Dst(19, "Body");
    ASSERT_EQ(transfer::ReplaceStyleSheet(&doc_, &dest_, Src(19, "Body"), &target), 0);
    const Bytes after = StoreRes(&dest_, FourCC("Stlx"), 128);
    EXPECT_EQ(platform::ReadBES16(&after[4 + 32]), 4);
    EXPECT_TRUE(std::equal(after.begin() + 4 + 34, after.begin() + 4 + 376, source.begin() + 4 + 34));
}

}  // namespace
}  // namespace transfertest
