// The stored form: a new file byte by byte, the open mark, unit
// allocation, the map's area and the page table's move.
#include <algorithm>
#include <vector>

#include "resources/container/ContainerFork.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/ResourceMap.h"
#include "resources/container/UnitCheck.h"
#include "resources/CPseudoResManager.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

using namespace container;

class ContainerFormatTest : public StoreTest {};

bool UnitSet(const Bytes& file, uint32_t pageOffset, uint32_t unit)
{
    return (file[pageOffset + ((unit % kUnitsPerPage) >> 3)] >> (unit & 7)) & 1;
}

TEST_F(ContainerFormatTest, NewFileLayoutAndOpenMark)
{
    int16_t ref = CreateFile("new.qzb");
    ASSERT_NE(ref, 0);
    EXPECT_EQ(reserr, 0);
    Bytes file = ReadWholeFile(Path("new.qzb"));
    ASSERT_EQ(file.size(), 6208u);
    const Bytes head = {0x44, 0x44, 0x55, 0x58, 0, 0, 0x16, 0x40, 0, 0, 0x12, 0x40, 0, 0, 0, 0x40, 0, 0, 0, 2};
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 20), head);
    for (size_t i = 20; i < 64; ++i) EXPECT_EQ(file[i], 0) << i;
    EXPECT_EQ(BE32(file, 64), 0x1040u);
    for (size_t i = 68; i < 4160; ++i) ASSERT_EQ(file[i], 0) << i;
    for (size_t i = 4160; i < 4171; ++i) EXPECT_EQ(file[i], 0xFF) << i;
    EXPECT_EQ(file[4171], 0x01);
    for (size_t i = 4172; i < 4672; ++i) ASSERT_EQ(file[i], 0) << i;
    for (size_t i = 4672; i < 5696; ++i) ASSERT_EQ(file[i], 0) << i;
    EXPECT_TRUE(std::equal(file.begin() + 5696, file.end(), file.begin() + 4160));

    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("new.qzb"), false);
    ASSERT_NE(ref, 0);
    // Marked from the first write of a session to its clean close; a
    // commit with nothing to commit writes nothing.
    file = ReadWholeFile(Path("new.qzb"));
    ASSERT_TRUE(updateres(ref));
    EXPECT_EQ(ReadWholeFile(Path("new.qzb")), file);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(10, 1)), FourCC("SAMP"), 1));
    ASSERT_TRUE(updateres(ref));
    file = ReadWholeFile(Path("new.qzb"));
    EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 28), (Bytes{0, 0, 0, 1, 0x4D, 0x67, 0x69, 0x63}));
    ASSERT_TRUE(closeres(ref, true));
    file = ReadWholeFile(Path("new.qzb"));
    EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 28), (Bytes{0, 0, 0, 0, 0x4D, 0x67, 0x69, 0x63}));

    // A read-only open never writes the mark.
    ref = openres(Spec("new.qzb"), true);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(ReadWholeFile(Path("new.qzb")), file);
    closeres(ref, false);
    EXPECT_EQ(ReadWholeFile(Path("new.qzb")), file);

    // Opened for writing and closed without a commit, a file keeps every
    // byte, even header words this store would write otherwise.
    Bytes odd = file;
    odd[27] = 0;  // no flags marker: the flags are not read
    for (size_t i = 28; i < 36; ++i) odd[i] = 0xA5;
    WriteWholeFile(Path("new.qzb"), odd);
    ref = openres(Spec("new.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(ReadWholeFile(Path("new.qzb")), odd) << "unmarked while nothing is written";
    ASSERT_TRUE(closeres(ref, false));
    EXPECT_EQ(ReadWholeFile(Path("new.qzb")), odd);
}

TEST_F(ContainerFormatTest, CreateOverExistingFiles)
{
    int16_t ref = CreateFile("doc.qzb");
    ASSERT_TRUE(closeres(ref, false));
    ref = CreateFile("doc.qzb");
    EXPECT_NE(ref, 0);
    EXPECT_EQ(reserr, 0);
    closeres(ref, false);

    WriteWholeFile(Path("text.txt"), Bytes(100, 'x'));
    EXPECT_EQ(CreateFile("text.txt"), 0);
    EXPECT_EQ(reserr, -48);
    EXPECT_EQ(ReadWholeFile(Path("text.txt")), Bytes(100, 'x'));
    EXPECT_EQ(xcurres(), 0);
}

TEST_F(ContainerFormatTest, UnitsOfBlocksAndRewrites)
{
    int16_t ref = CreateFile("units.qzb");
    const ResType type = FourCC("TEST");
    Handle a = MakeHandle(Pattern(56, 1));
    Handle b = MakeHandle(Pattern(57, 2));
    ASSERT_TRUE(xaddres(a, type, 1));
    ASSERT_TRUE(xaddres(b, type, 2));
    ASSERT_TRUE(xaddres(nullptr, type, 3));
    Handle list = CPseudoResManager::Files().back()->GetResList();
    ASSERT_EQ(platform::GetHandleSize(list), 3 * 18);
    const Bytes entries = Contents(list);
    platform::DisposeHandle(list);
    const uint32_t offsetA = BE32(entries, 10), offsetB = BE32(entries, 18 + 10);
    EXPECT_EQ(offsetB, offsetA + 64);  // 56 + 8 bytes fit one unit
    EXPECT_EQ(BE32(entries, 36 + 6), 0u);
    EXPECT_EQ(BE32(entries, 36 + 10), 0u);
    // A block not yet committed is rewritten where it is while it fits.
    CPseudoResFile* file = CPseudoResManager::Files().back();
    auto offsetOfB = [&] {
        Handle h = file->GetResList();
        const uint32_t at = BE32(Contents(h), 18 + 10);
        platform::DisposeHandle(h);
        return at;
    };
    platform::SetHandleSize(b, 100);
    ASSERT_TRUE(xwriteres(b));
    EXPECT_EQ(offsetOfB(), offsetB);
    ASSERT_TRUE(updateres(ref));

    // Once committed it is never overwritten: contents that still fit its
    // two units go to a new place like contents that grow.
    platform::SetHandleSize(b, 120);
    ASSERT_TRUE(xwriteres(b));
    const uint32_t moved = offsetOfB();
    EXPECT_NE(moved, offsetB);
    ASSERT_TRUE(closeres(ref, true));

    Bytes bytes = ReadWholeFile(Path("units.qzb"));
    const uint32_t page0 = BE32(bytes, 64);
    EXPECT_TRUE(UnitSet(bytes, page0, offsetA / 64));
    EXPECT_FALSE(UnitSet(bytes, page0, offsetB / 64));
    EXPECT_FALSE(UnitSet(bytes, page0, offsetB / 64 + 1));
    for (uint32_t u = moved / 64; u < moved / 64 + 2; ++u) EXPECT_TRUE(UnitSet(bytes, page0, u));

    // The file passes the bitmap check on reopen, the empty record included.
    ref = openres(Spec("units.qzb"), false);
    ASSERT_NE(ref, 0);
    Handle again = xget1res(type, 2);
    const Bytes read = Contents(again);
    ASSERT_EQ(read.size(), 120u);
    EXPECT_EQ(Bytes(read.begin(), read.begin() + 57), Pattern(57, 2));
    Handle empty = xget1res(type, 3);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(platform::GetHandleSize(empty), 0);
    closeres(ref, false);
}

TEST_F(ContainerFormatTest, MapAreaGrowsInSteps)
{
    int16_t ref = CreateFile("map.qzb");
    const ResType type = FourCC("MAPT");
    for (int16_t id = 1; id <= 50; ++id) ASSERT_TRUE(xaddres(nullptr, type, id));
    // Growing inside its 1 KiB area, the map still goes to a new area; the
    // old one is freed once the header is written.
    ASSERT_TRUE(updateres(ref));
    Bytes file = ReadWholeFile(Path("map.qzb"));
    const uint32_t first = BE32(file, 8);
    EXPECT_NE(first, 4672u);
    EXPECT_EQ(BE32(file, 16), 1008u);

    ASSERT_TRUE(xaddres(nullptr, type, 51));
    ASSERT_TRUE(updateres(ref));
    file = ReadWholeFile(Path("map.qzb"));
    const uint32_t mapOffset = BE32(file, 8);
    EXPECT_NE(mapOffset, first);
    EXPECT_EQ(BE32(file, 16), 1028u);
    const uint32_t page0 = BE32(file, 64);
    for (uint32_t u = first / 64; u < (first + 1024) / 64; ++u) EXPECT_FALSE(UnitSet(file, page0, u)) << u;
    for (uint32_t u = mapOffset / 64; u < (mapOffset + 2048) / 64; ++u) EXPECT_TRUE(UnitSet(file, page0, u)) << u;
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("map.qzb"), false);
    EXPECT_EQ(compteres(type, true), 51);
    closeres(ref, false);
}

// A commit writes the map and the names table anew; with room to grow,
// each goes where the commit before last had it, and the file grows only
// when one of them doubles. A reopened file finds that room again.
TEST_F(ContainerFormatTest, MapAndNamesReuseTheSpaceTheCommitBeforeLastGaveUp)
{
    const ResType type = FourCC("ROOM");
    int16_t ref = CreateFile("room.qzb");
    std::vector<uint32_t> maps, ends;
    auto commit = [&] {
        ASSERT_TRUE(updateres(ref)) << reserr;
        const Bytes file = ReadWholeFile(Path("room.qzb"));
        maps.push_back(BE32(file, 8));
        ends.push_back(BE32(file, 4));
    };
    for (int16_t c = 0; c < 40; ++c) {
        // Records without data: only the map and the names change.
        for (int16_t k = 0; k < 3; ++k) ASSERT_TRUE(xaddres(nullptr, type, int16_t(100 + 3 * c + k)));
        const unsigned char name[] = "\x05" "named";
        ASSERT_TRUE(xsetresname(type, int16_t(100 + 3 * c), name, false));
        commit();
    }
    int grew = 0, alternated = 0;
    for (size_t k = 2; k < maps.size(); ++k) {
        grew += ends[k] != ends[k - 1];
        alternated += maps[k] == maps[k - 2] && maps[k] != maps[k - 1];
    }
    // The map (to 2.4 KiB) and the names (to 1.4 KiB) double a few times;
    // every other commit takes turns between two places.
    EXPECT_LE(grew, 6);
    EXPECT_GE(alternated, 28);
    ASSERT_TRUE(closeres(ref, true));

    // Reopened: the next commits take turns again, within the same file.
    const uint32_t end = BE32(ReadWholeFile(Path("room.qzb")), 4);
    ref = openres(Spec("room.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    for (int16_t c = 0; c < 4; ++c) {
        ASSERT_TRUE(xaddres(nullptr, type, int16_t(500 + c)));
        const unsigned char name[] = "\x04" "more";
        ASSERT_TRUE(xsetresname(type, int16_t(500 + c), name, false));
        commit();
        EXPECT_EQ(ends.back(), end) << "commit " << c << " after reopening";
    }
    EXPECT_TRUE(g_resManager->FindFile(ref)->HasGoodBitsTable(nullptr, nullptr));
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("room.qzb"), false);
    EXPECT_EQ(compteres(type, true), 124);
    unsigned char name[256];
    xgetresname(type, 503, name, false);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "more");
    closeres(ref, false);
}

// Units after a place count as its room only when nothing else claims
// them; a block right after the map stays the block's.
TEST(UnclaimedUnits, RoomIsTakenOnlyFromUnitsNothingClaims)
{
    BitmapPages bitmaps;
    bitmaps.InitNew();  // units 0-88: header, page table, page 0, map
    uint32_t block = 0, spare = 0;
    ASSERT_EQ(bitmaps.FindPlace(128, &block), platform::noErr);  // units 89-90, right after the map
    ASSERT_EQ(bitmaps.FindPlace(64, &spare), platform::noErr);   // unit 91, reached by nothing
    ResourceMap map;
    int32_t t = 0, r = 0;
    MapRecord rec;
    rec.id = 1;
    rec.offset = block;
    rec.length = 128;
    map.Add(FourCC("BLCK"), rec, &t, &r);
    UnclaimedUnits left;
    ASSERT_EQ(CheckUnits(bitmaps, kFirstPageTableOffset, kNewMapOffset, kEmptyMapLength, map, nullptr, nullptr, &left),
              platform::noErr);
    EXPECT_FALSE(left.TakeIfAll(block, 64)) << "the block's own unit";
    EXPECT_FALSE(left.TakeIfAll(spare - 64, 128)) << "the block's last unit and the spare one";
    EXPECT_TRUE(left.TakeIfAll(spare, 64));
    EXPECT_FALSE(left.TakeIfAll(spare, 64)) << "taken once";
    EXPECT_FALSE(left.TakeIfAll(spare + 64, 64)) << "a free unit";
    EXPECT_TRUE(left.TakeIfAll(spare, 0));
}

// A container whose logical extent spans `pages` full pages, written
// sparse: only the header, the page table and the pages hold data.
void WriteSpanningContainer(const std::string& path, uint32_t pages)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    auto put = [&](uint64_t at, const Bytes& bytes) {
        out.seekp(std::streamoff(at));
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    Bytes header(64, 0);
    platform::WriteBE32(&header[0], kMagicNew);
    platform::WriteBE32(&header[4], pages * kBytesPerPage);
    platform::WriteBE32(&header[8], kNewMapOffset);
    platform::WriteBE32(&header[12], 64);
    platform::WriteBE32(&header[16], 2);
    put(0, header);
    Bytes table(4 * pages);
    for (uint32_t p = 0; p < pages; ++p) platform::WriteBE32(&table[4 * p], p == 0 ? kNewPageZeroOffset : p * kBytesPerPage);
    put(64, table);
    put(kNewMapOffset, Bytes(kMapAreaStep, 0));
    for (uint32_t p = 0; p < pages; ++p) put(p == 0 ? kNewPageZeroOffset : p * kBytesPerPage, Bytes(kPageBytes, 0xFF));
}

TEST_F(ContainerFormatTest, PageTableMovesOnceAtTheFirstCommitWith1023Pages)
{
    WriteSpanningContainer(Path("big.qzb"), 1020);
    int16_t ref = openres(Spec("big.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    const ResType type = FourCC("BIGT");
    auto pagesOnDisk = [&] {
        Bytes head(64);
        std::ifstream in(Path("big.qzb"), std::ios::binary);
        in.read(reinterpret_cast<char*>(head.data()), 64);
        return std::make_pair(BE32(head, 12), (BE32(head, 4) + kBytesPerPage - 1) / kBytesPerPage);
    };
    ASSERT_TRUE(xaddres(platform::NewHandleClear(int32_t(kBytesPerPage) - 8), type, 1));
    ASSERT_TRUE(updateres(ref));
    auto [tableAt, pages] = pagesOnDisk();
    EXPECT_EQ(tableAt, 64u);
    EXPECT_LT(pages, 1023u);

    ASSERT_TRUE(xaddres(platform::NewHandleClear(2 * int32_t(kBytesPerPage)), type, 2));
    ASSERT_TRUE(updateres(ref));
    auto [movedTo, pagesAfter] = pagesOnDisk();
    EXPECT_NE(movedTo, 64u);
    EXPECT_GE(pagesAfter, 1023u);

    ASSERT_TRUE(xaddres(platform::NewHandleClear(int32_t(kBytesPerPage)), type, 3));
    ASSERT_TRUE(closeres(ref, true));
    EXPECT_EQ(pagesOnDisk().first, movedTo);
    ref = openres(Spec("big.qzb"), true);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(compteres(type, true), 3);
    Handle h = xget1res(type, 3);
    EXPECT_EQ(platform::GetHandleSize(h), int32_t(kBytesPerPage));
    closeres(ref, false);
}

}  // namespace
}  // namespace storetest

namespace storetest {
namespace {

// The fork under the container: a failed open leaves nothing open, and a
// write is never let to grow the file far past the logical end (a damaged
// offset would otherwise make a huge file).
TEST_F(ContainerFormatTest, ForkOpensOrSaysWhyAndBoundsItsGrowth)
{
    container::ContainerFork fork;
    EXPECT_EQ(fork.OpenRealFile(platform::FSSpec{Path("none")}, true), platform::fnfErr);
    EXPECT_FALSE(fork.IsOpen());

    WriteWholeFile(Path("raw"), Bytes(container::kPageBytes, 0));
    ASSERT_EQ(fork.OpenRealFile(platform::FSSpec{Path("raw")}, true), platform::noErr);
    const uint8_t byte = 1;
    const uint32_t logicalEnd = container::kPageBytes;
    EXPECT_EQ(fork.WriteAt(uint64_t(logicalEnd) + container::kPageBytes, &byte, 1, logicalEnd), platform::eofErr);
    uint64_t size = 0;
    ASSERT_EQ(fork.PhysicalSize(&size), platform::noErr);
    EXPECT_EQ(size, container::kPageBytes);
    EXPECT_EQ(fork.WriteAt(uint64_t(logicalEnd) + container::kPageBytes - 1, &byte, 1, logicalEnd), platform::noErr);
    fork.Close();
}

}  // namespace
}  // namespace storetest

// When memory for the map's indexes runs out, look-ups walk the lists: they
// must give the same answers, a missing handle or id included.
TEST(ResourceMapLookUps, WithoutMemoryForIndexesGiveTheSameAnswers)
{
    const platform::ResType type = platform::FourCC("LOOK");
    container::ResourceMap map;
    container::MapRecord first, second;
    first.id = 1;
    second.id = 2;
    int32_t t = -1, r = -1;
    map.Add(type, first, &t, &r);
    map.Add(type, second, &t, &r);
    platform::Handle loaded = platform::NewHandle(4);
    platform::Handle stranger = platform::NewHandle(4);
    map.SetContents(t, r, loaded);
    for (bool starved : {true, false}) {
        SCOPED_TRACE(starved ? "without indexes" : "with indexes");
        auto arm = [&] {
            if (starved) testfaults::FailNthNew(0);
        };
        arm();
        EXPECT_FALSE(map.FindRes(stranger, &t, &r));
        arm();
        ASSERT_TRUE(map.FindRes(loaded, &t, &r));
        EXPECT_EQ(r, 1);
        arm();
        ASSERT_TRUE(map.FindID(type, 2, true, &t, &r));
        EXPECT_EQ(r, 1);
        arm();
        EXPECT_FALSE(map.FindID(type, 3, true, &t, &r));
        testfaults::StopFailingNew();
    }
    map.SetContents(t, r, nullptr);
    platform::DisposeHandle(loaded);
    platform::DisposeHandle(stranger);
}

// Records removed one by one from anywhere in their lists, ids repeated and
// some loaded: every look-up by id and by handle answers the place a walk
// of the lists finds.
TEST(ResourceMapLookUps, RemovalsLeaveEveryAnswerThatOfAWalk)
{
    container::ResourceMap map;
    std::vector<char> loaded(120);  // stand-ins for handles: only their addresses are looked up
    for (int16_t i = 0; i < 120; ++i) {
        container::MapRecord rec;
        rec.id = int16_t(i % 50);
        rec.contents = i % 3 ? nullptr : reinterpret_cast<platform::Handle>(&loaded[size_t(i)]);
        int32_t t = -1, r = -1;
        map.Add(platform::FourCC(i % 2 ? "LOOK" : "SEEK"), rec, &t, &r);
    }
    for (uint32_t seed = 11, round = 0; round < 100; ++round) {
        seed = seed * 1103515245u + 12345u;
        const int32_t t = int32_t(seed >> 16) % map.TypeCount();
        const int32_t r = int32_t(seed >> 8) % int32_t(map.TypeAt(t).records.size());
        const platform::Handle gone = map.At(t, r).contents;
        map.Remove(t, r);
        int32_t ft = -1, fr = -1;
        EXPECT_FALSE(map.FindRes(gone, &ft, &fr)) << round;
        for (int32_t lt = 0; lt < map.TypeCount(); ++lt) {
            const auto& records = map.TypeAt(lt).records;
            for (int16_t id = 0; id < 50; ++id) {
                const auto first = std::find_if(records.begin(), records.end(), [&](auto& rec) { return rec.id == id; });
                const bool held = first != records.end();
                EXPECT_EQ(map.HoldsID(lt, id), held) << round;
                EXPECT_EQ(map.FindID(map.TypeAt(lt).type, id, true, &ft, &fr) ? fr : -1,
                          held ? int32_t(first - records.begin()) : -1) << round;
            }
            for (int32_t i = 0; i < int32_t(records.size()); ++i) {
                const platform::Handle h = records[size_t(i)].contents;
                EXPECT_EQ(h && map.FindRes(h, &ft, &fr) ? fr : -1, h ? i : -1) << round;
            }
        }
    }
}
