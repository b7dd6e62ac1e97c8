// The manager and the C-style API: the chain of files, lookups by handle,
// counts, unique ids, removal and attributes.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "resources/AppHooks.h"
#include "resources/ResKeySource.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "resources/container/ContainerLayout.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

class ManagerTest : public StoreTest {};

TEST_F(ManagerTest, ChainOfFilesAndTheCurrentFile)
{
    EXPECT_EQ(uniqueresid(FourCC("TYPE")), 0);
    EXPECT_EQ(reserr, -3);
    EXPECT_EQ(compteres(FourCC("TYPE"), true), 0);
    EXPECT_EQ(reserr, -3);
    EXPECT_EQ(xget1res(FourCC("TYPE"), 1), nullptr);
    EXPECT_EQ(reserr, -4);
    EXPECT_EQ(xgetindtyp(1), FourCC("????"));

    const int16_t older = CreateFile("older.qzb");
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(10, 1)), FourCC("OLDR"), 1));
    const int16_t newer = CreateFile("newer.qzb");
    ASSERT_NE(older, newer);
    EXPECT_EQ(xcurres(), newer);
    EXPECT_EQ(xget1res(FourCC("OLDR"), 1), nullptr);
    EXPECT_EQ(reserr, -5);
    Handle h = xgetres(FourCC("OLDR"), 1, true);
    EXPECT_EQ(Contents(h), Pattern(10, 1));
    EXPECT_EQ(g_resManager->HomeRes(h)->FileNumber(), older);

    EXPECT_FALSE(useres(999));
    EXPECT_EQ(reserr, -4);
    EXPECT_EQ(xcurres(), newer);
    EXPECT_EQ(reserr, 0);  // a call that succeeds clears the last error

    // A change notice for a local file (server file 0) reaches the change
    // hook, and leaves the last error as it was.
    static int notices = 0;
    CPseudoResManager::SetChangeHook([](ResType, int16_t id, int16_t marker, int16_t action) {
        if (id == 1 && marker == kResChangeMarker && action == 1) ++notices;
    });
    EXPECT_FALSE(useres(999));
    execresaction(FourCC("OLDR"), 1, 0, 1);
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(reserr, -4);
    CPseudoResManager::SetChangeHook(nullptr);
    ASSERT_TRUE(closeres(newer, true));
    EXPECT_EQ(xcurres(), older);
    EXPECT_FALSE(closeres(newer, false));
    EXPECT_EQ(reserr, -4);

    int16_t id = 0;
    ResType type = 0;
    Handle foreign = MakeHandle(Pattern(4, 4));
    xgetresinfo(foreign, &id, &type);
    EXPECT_EQ(id, -10000);
    EXPECT_EQ(type, FourCC("!!!!"));
    EXPECT_EQ(reserr, -5);
    EXPECT_FALSE(xwriteres(foreign));
    EXPECT_EQ(reserr, -3);
    EXPECT_EQ(xgetrestimestamp(foreign), 0u);
    platform::DisposeHandle(foreign);
    xgetresinfo(h, &id, &type);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(type, FourCC("OLDR"));

    // Closing a file in the middle of the chain keeps the ones on both sides.
    const int16_t middle = CreateFile("middle.qzb");
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(3, 2)), FourCC("MIDL"), 1));
    const int16_t top = CreateFile("top.qzb");
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(3, 3)), FourCC("TOPR"), 2));
    ASSERT_TRUE(closeres(middle, true));
    EXPECT_EQ(xcurres(), top);
    EXPECT_EQ(xgetres(FourCC("MIDL"), 1, true), nullptr);
    EXPECT_EQ(Contents(xgetres(FourCC("OLDR"), 1, true)), Pattern(10, 1));
    EXPECT_EQ(Contents(xgetres(FourCC("TOPR"), 2, true)), Pattern(3, 3));
    ASSERT_TRUE(closeres(top, true));
    EXPECT_EQ(xcurres(), older);
}

TEST_F(ManagerTest, FileNumbersSkipThoseInUse)
{
    const int16_t first = CreateFile("one.qzb");
    EXPECT_EQ(first, 1);
    for (int i = 0; i < 32766; ++i) CPseudoResManager::GetNextID();
    // The counter has wrapped: 1 is taken, so the next file gets 2.
    const int16_t second = CreateFile("two.qzb");
    EXPECT_EQ(second, 2);
    EXPECT_TRUE(islocalres(second));
    EXPECT_FALSE(islocalres(0));
}

TEST_F(ManagerTest, RecordsCountsAndRemoval)
{
    int16_t ref = CreateFile("records.qzb");
    const ResType type = FourCC("RECS");
    for (int16_t i = 1; i <= 3; ++i) ASSERT_TRUE(xaddres(MakeHandle(Pattern(20, uint32_t(i))), type, i));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(20, 9)), FourCC("OTHR"), 5));
    ASSERT_TRUE(closeres(ref, true));
    ref = openres(Spec("records.qzb"), false);
    EXPECT_EQ(comptetypes(), 2);
    EXPECT_EQ(xgetindtyp(1), type);
    EXPECT_EQ(xgetindtyp(0), FourCC("????"));
    EXPECT_EQ(xgetindtyp(3), FourCC("????"));

    // Enciphered records are counted only when asked, and their ids are taken.
    Handle two = xget1res(type, 2);
    ASSERT_TRUE(hcrypteres(two, true));
    EXPECT_EQ(compteres(type, false), 2);
    EXPECT_EQ(compteres(type, true), 3);
    EXPECT_EQ(xgetres(type, 2, false), nullptr);
    EXPECT_EQ(xgetres(type, 2, true), two);
    int16_t id = 0;
    EXPECT_TRUE(xiscryptedindres(type, 2, &id));
    EXPECT_EQ(id, 2);
    for (int i = 0; i < 50; ++i) {
        int16_t unique = uniqueresid(type);
        EXPECT_GT(unique, 0);
        EXPECT_NE(unique, 1);
        EXPECT_NE(unique, 2);
        EXPECT_NE(unique, 3);
    }

    // Attributes: the access counter starts at 254 and the purgeable bit
    // moves to was-purgeable at each get.
    CPseudoResFile* file = CPseudoResManager::Files().back();
    Handle three = xget1res(type, 3);
    EXPECT_EQ(file->GetIndResAttributes(type, 3, &id) & container::kAttrCounterMask, 255);
    ASSERT_TRUE(hpurgeres(three));
    xget1res(type, 3);
    EXPECT_TRUE(file->WasPurgeable(three));
    EXPECT_EQ(file->GetIndResAttributes(type, 3, &id) & container::kAttrCounterMask, 0);
    ASSERT_TRUE(detachres(three));
    EXPECT_FALSE(hlockres(three));
    EXPECT_EQ(reserr, -3);
    Handle reloaded = xget1res(type, 3);
    EXPECT_NE(reloaded, three);
    EXPECT_EQ(Contents(reloaded), Contents(three));
    platform::DisposeHandle(three);

    // Removing the last resource of a type removes the type.
    Handle other = xget1res(FourCC("OTHR"), 5);
    ASSERT_TRUE(rmveres(other));
    platform::DisposeHandle(other);
    EXPECT_EQ(comptetypes(), 1);
    VLongArray* types = file->GetTypeList();
    EXPECT_EQ(types->oGetNbElem(), 1);
    delete types;
    EXPECT_FALSE(rmveresbyid(FourCC("OTHR"), 5, true));
    EXPECT_EQ(reserr, -5);
    ASSERT_TRUE(updateres(ref));
    ASSERT_TRUE(closeres(ref, true));
    ASSERT_NE(openres(Spec("records.qzb"), false), 0);
    EXPECT_EQ(comptetypes(), 1);
    EXPECT_EQ(Contents(xget1res(type, 2)), Pattern(20, 2));
}

TEST_F(ManagerTest, UniqueIdGivesUpWhenEveryIdIsTaken)
{
    CreateFile("full.qzb");
    const ResType type = FourCC("FULL");
    for (int32_t id = 1; id <= 32767; ++id) ASSERT_TRUE(xaddres(nullptr, type, int16_t(id)));
    EXPECT_EQ(uniqueresid(type), 0);
    EXPECT_NE(reserr, 0);
    ASSERT_TRUE(rmveresbyid(type, 1234, true));
    EXPECT_EQ(uniqueresid(type), 1234);
}

TEST_F(ManagerTest, NamesFollowTheirResources)
{
    const int16_t file = CreateFile("names.qzb");
    const ResType type = FourCC("NAMD");
    const unsigned char alpha[] = "\x05" "alpha";
    const unsigned char tooLong[] = "\x28" "0123456789012345678901234567890123456789";
    EXPECT_FALSE(xsetresname(type, 1, alpha, false));
    EXPECT_EQ(reserr, -5);
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 1)), type, 1));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 2)), type, 2));
    ASSERT_TRUE(xsetresname(type, 1, alpha, false));
    ASSERT_TRUE(xsetresname(type, 2, tooLong, false));
    platform::Str255 name;
    ASSERT_TRUE(xgetresname(type, 2, name, false));
    EXPECT_EQ(name[0], 31);
    Handle list = CPseudoResManager::Files().back()->GetResNameList(type);
    ASSERT_EQ(platform::GetHandleSize(list), 64);
    EXPECT_EQ(std::string(*list + 1, 5), "alpha");
    platform::DisposeHandle(list);
    // The names are kept on disk as one table other builds read: a count of
    // types, then per type its code, a count and 34-byte entries (id, then a
    // 32-byte Pascal string), the newest name first.
    Handle table = CPseudoResManager::Files().back()->GetRes(FourCC("NAM#"), 128, true);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(platform::GetHandleSize(table), 4 + 8 + 2 * 34);
    const auto* t = reinterpret_cast<const uint8_t*>(*table);
    EXPECT_EQ(platform::ReadBE32(t), 1u);
    EXPECT_EQ(platform::ReadBE32(t + 4), type);
    EXPECT_EQ(platform::ReadBE32(t + 8), 2u);
    EXPECT_EQ(platform::ReadBE16(t + 12), 2);
    EXPECT_EQ(t[14], 31);
    EXPECT_EQ(platform::ReadBE16(t + 46), 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t + 48), 6), "\x05" "alpha");
    ASSERT_TRUE(rmveresbyid(type, 1, true));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 3)), type, 1));
    ASSERT_TRUE(xgetresname(type, 1, name, false));
    EXPECT_EQ(name[0], 0);
    // Without the memory to read the table, naming fails and leaves it.
    ASSERT_TRUE(closeres(file, true));
    ASSERT_NE(openres(Spec("names.qzb"), false), 0);
    platform::InjectFault(platform::FaultKind::Allocation, 0);
    EXPECT_FALSE(xsetresname(type, 1, alpha, false));
    EXPECT_EQ(reserr, -108);
    platform::ClearAllFaults();
    ASSERT_TRUE(xgetresname(type, 2, name, false));
    EXPECT_EQ(name[0], 31);
}

// Look-ups go through an index of the names table: every way the table
// changes must show in the next look-up.
TEST_F(ManagerTest, NamesReadAfterEveryChangeOfTheirTable)
{
    const int16_t file = CreateFile("index.qzb");
    const ResType type = FourCC("NAMI"), other = FourCC("NAMJ");
    auto nameOf = [](ResType t, int16_t id) {
        platform::Str255 name;
        if (!xgetresname(t, id, name, false)) return std::string("?");
        return std::string(reinterpret_cast<const char*>(name + 1), name[0]);
    };
    auto pstr = [](const std::string& s) {
        platform::Str255 p;
        p[0] = uint8_t(s.size());
        std::memcpy(p + 1, s.data(), s.size());
        return std::vector<unsigned char>(p, p + 1 + s.size());
    };
    for (int16_t id = 1; id <= 4; ++id) ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, uint32_t(id))), type, id));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 9)), other, 1));
    ASSERT_TRUE(xsetresname(type, 1, pstr("one").data(), false));
    ASSERT_TRUE(xsetresname(type, 2, pstr("two").data(), false));
    ASSERT_TRUE(xsetresname(other, 1, pstr("else").data(), false));
    EXPECT_EQ(nameOf(type, 1), "one");
    EXPECT_EQ(nameOf(type, 3), "");
    // A new name of the same length leaves the table's size as it was.
    ASSERT_TRUE(xsetresname(type, 1, pstr("uno").data(), false));
    EXPECT_EQ(nameOf(type, 1), "uno");
    ASSERT_TRUE(xsetresname(type, 3, pstr("three").data(), false));
    EXPECT_EQ(nameOf(type, 3), "three");
    // The table edited and written back by hand, same size: the name of 2
    // becomes the name of 4.
    Handle table = xget1res(FourCC("NAM#"), 128);
    ASSERT_NE(table, nullptr);
    auto* t = reinterpret_cast<uint8_t*>(*table);
    const int32_t size = platform::GetHandleSize(table);
    bool edited = false;
    for (int32_t at = 12; at + 34 <= size; at += 34)
        if (platform::ReadBE16(t + at) == 2 && t[at + 2] == 3) {
            platform::WriteBE16(t + at, 4);
            edited = true;
        }
    ASSERT_TRUE(edited);
    ASSERT_TRUE(xwriteres(table));
    EXPECT_EQ(nameOf(type, 4), "two");
    EXPECT_EQ(nameOf(type, 2), "");
    // A removed resource takes its name along.
    ASSERT_TRUE(rmveresbyid(type, 4, true));
    EXPECT_EQ(nameOf(type, 4), "?");
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 2)), type, 4));
    EXPECT_EQ(nameOf(type, 4), "");
    EXPECT_EQ(nameOf(other, 1), "else");
    // The whole table replaced: two groups of the type and an id twice
    // (the first entry counts), then a third group cut short.
    Bytes made(4 + 8 + 34 * 2 + 8 + 34 + 8 + 20, 0);
    platform::WriteBE32(&made[0], 3);
    platform::WriteBE32(&made[4], type);
    platform::WriteBE32(&made[8], 2);
    platform::WriteBE16(&made[12], 1);
    std::memcpy(&made[14], "\x05" "first", 6);
    platform::WriteBE16(&made[46], 1);
    std::memcpy(&made[48], "\x06second", 7);
    platform::WriteBE32(&made[80], type);
    platform::WriteBE32(&made[84], 1);
    platform::WriteBE16(&made[88], 3);
    std::memcpy(&made[90], "\x04late", 5);
    platform::WriteBE32(&made[122], other);
    platform::WriteBE32(&made[126], 1);
    platform::WriteBE16(&made[130], 1);
    ASSERT_TRUE(rmveresbyid(FourCC("NAM#"), 128, true));
    ASSERT_TRUE(xaddres(MakeHandle(made), FourCC("NAM#"), 128));
    EXPECT_EQ(nameOf(type, 1), "first");
    EXPECT_EQ(nameOf(type, 3), "late");
    EXPECT_EQ(nameOf(other, 1), "");
    // Committed, closed and opened again: the names read from the disk.
    ASSERT_TRUE(closeres(file, true));
    const int16_t again = openres(Spec("index.qzb"), false);
    ASSERT_NE(again, 0);
    EXPECT_EQ(nameOf(type, 1), "first");
    EXPECT_EQ(nameOf(type, 3), "late");
    // A detached table is the caller's: its changes are not the file's.
    Handle detached = xget1res(FourCC("NAM#"), 128);
    ASSERT_NE(detached, nullptr);
    ASSERT_TRUE(detachres(detached));
    (*detached)[15] = 'F';
    EXPECT_EQ(nameOf(type, 1), "first");
    platform::DisposeHandle(detached);
    EXPECT_EQ(nameOf(type, 1), "first");
    // Both entries of the id named twice go with its resource.
    ASSERT_TRUE(rmveresbyid(type, 1, true));
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, 1)), type, 1));
    ASSERT_TRUE(closeres(again, true));
    ASSERT_NE(openres(Spec("index.qzb"), false), 0);
    EXPECT_EQ(nameOf(type, 1), "");
    EXPECT_EQ(nameOf(type, 3), "late");
}

// The names table holds the same bytes whether its names came with a
// commit after each change or all in one: the types in the order they were
// first named, each with its newest name first, a renamed entry where it
// was, names of removed resources gone and types left without names kept.
TEST_F(ManagerTest, NamesTableIsTheSameWithOrWithoutCommitsBetween)
{
    const ResType a = FourCC("NAMA"), b = FourCC("NAMB"), c = FourCC("NAMC");
    auto name = [](ResType type, int16_t id, const std::string& text) {
        unsigned char p[256] = {uint8_t(text.size())};
        std::memcpy(p + 1, text.data(), text.size());
        return xsetresname(type, id, p, false);
    };
    const std::string longName = "0123456789012345678901234567890123456789";
    const std::vector<std::function<bool()>> steps = {
        [&] { return name(a, 1, "one") && name(a, 2, "two"); },
        [&] { return name(b, 1, "bee"); },
        [&] { return name(a, 3, longName) && name(a, 1, "uno"); },
        [&] { return rmveresbyid(a, 2, true); },
        [&] { return name(c, 1, "sea") && name(b, 2, "bee two"); },
        [&] { return rmveresbyid(b, 1, true) && rmveresbyid(b, 2, true); },
        [&] { return xaddres(MakeHandle(Pattern(8, 2)), a, 2) && name(a, 2, "again") && name(b, 3, "b3"); },
        [&] { return CPseudoResManager::Files().back()->RmveRes(c); },
    };
    // Count of types, then per type its code, its count and 34-byte
    // entries: the id, then the name as a 32-byte Pascal string.
    Bytes expected(4);
    platform::WriteBE32(&expected[0], 3);
    const std::vector<std::pair<ResType, std::vector<std::pair<int16_t, std::string>>>> table = {
        {a, {{2, "again"}, {3, longName.substr(0, 31)}, {1, "uno"}}}, {b, {{3, "b3"}}}, {c, {}}};
    for (const auto& [type, entries] : table) {
        size_t at = expected.size();
        expected.resize(at + 8 + 34 * entries.size());
        platform::WriteBE32(&expected[at], type);
        platform::WriteBE32(&expected[at + 4], uint32_t(entries.size()));
        at += 8;
        for (const auto& [id, text] : entries) {
            platform::WriteBE16(&expected[at], uint16_t(id));
            expected[at + 2] = uint8_t(text.size());
            std::memcpy(&expected[at + 3], text.data(), text.size());
            at += 34;
        }
    }
    for (const bool commitEach : {true, false}) {
        const std::string file = commitEach ? "each.qzb" : "once.qzb";
        int16_t ref = CreateFile(file);
        ASSERT_NE(ref, 0);
        for (ResType type : {a, b, c})
            for (int16_t id = 1; id <= 3; ++id) ASSERT_TRUE(xaddres(MakeHandle(Pattern(8, uint32_t(id))), type, id));
        for (size_t step = 0; step < steps.size(); ++step) {
            ASSERT_TRUE(steps[step]()) << file << " step " << step;
            if (commitEach) {
                ASSERT_TRUE(updateres(ref));
            }
        }
        ASSERT_TRUE(closeres(ref, true));
        ref = openres(Spec(file), false);
        ASSERT_NE(ref, 0);
        EXPECT_EQ(Contents(xget1res(FourCC("NAM#"), 128)), expected) << file;
        closeres(ref, false);
    }
}

}  // namespace
}  // namespace storetest

namespace {
int gHookCalls = 0;
}  // namespace

TEST(AppHooksTest, WindowAndDialogHooksAreCalledWhenSetAndSkippedWhenNot)
{
    AppHooks() = ResAppHooks{};
    int16_t item = 0;
    mySelectWindow(nullptr);
    myShowWindow(nullptr);
    myModalDialog(nullptr, &item);
    EXPECT_EQ(gHookCalls, 0);

    AppHooks().selectWindow = [](platform::WindowRef) { ++gHookCalls; };
    AppHooks().showWindow = [](platform::WindowRef) { gHookCalls += 10; };
    AppHooks().modalDialog = [](void*, int16_t* hit) { *hit = 7; };
    mySelectWindow(nullptr);
    myShowWindow(nullptr);
    myModalDialog(nullptr, &item);
    EXPECT_EQ(gHookCalls, 11);
    EXPECT_EQ(item, 7);
    AppHooks() = ResAppHooks{};
}

namespace storetest {
namespace {

// The kernel reaches the store through the entries installed here.
TEST_F(ManagerTest, KernelCodeReachesTheStoreThroughItsEntries)
{
    InstallKernelStoreAccess();
    EXPECT_FALSE(StoreHasCurrentFile());
    const int16_t file = CreateFile("kernel.qzb");
    const KernelStoreAccess& access = GetKernelStoreAccess();
    EXPECT_TRUE(StoreHasCurrentFile());
    EXPECT_EQ(access.xcurres(), file);
    ASSERT_TRUE(access.xaddres(MakeHandle(Pattern(5, 1)), FourCC("KERN"), 7));
    EXPECT_EQ(Contents(access.xgetres(FourCC("KERN"), 7, false)), Pattern(5, 1));
    EXPECT_NE(access.uniqueresid(FourCC("KERN")), 7);
    EXPECT_FALSE(useres(999));
    EXPECT_TRUE(updateresNoMap(file));  // blocks written: the failure before is forgotten
    EXPECT_EQ(access.lasterror(), 0);
    EXPECT_FALSE(useres(999));
    EXPECT_TRUE(access.updateres(file));
    EXPECT_EQ(access.lasterror(), 0);
    SetKernelStoreAccess({});
}

}  // namespace
}  // namespace storetest

namespace storetest {
namespace {

// Sizes come from the first file of the chain that holds the resource; a
// resource none holds has no size (-1), never an empty one.
TEST_F(ManagerTest, SizesAndListsSetTheirResult)
{
    const ResType type = FourCC("SIZE");
    CreateFile("sizes.qzb");
    ASSERT_TRUE(xaddres(MakeHandle(Pattern(21, 1)), type, 1));
    EXPECT_EQ(g_resManager->GetResSize(type, 1), 21);
    EXPECT_EQ(g_resManager->GetResSize(type, 2), -1);
    EXPECT_EQ(CPseudoResManager::LastError(), kResNotFound);

    // A list that succeeds clears the error an earlier call left.
    Handle list = CPseudoResManager::Files().back()->GetDuplicateIDs(nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(CPseudoResManager::LastError(), 0);
    platform::DisposeHandle(list);
}


// A key source that knows no key leaves the stamp-based keys in force: an
// enciphered resource written without one reads back the same with it.
TEST_F(ManagerTest, AKeySourceWithoutKeysKeepsStampKeys)
{
    const ResType type = FourCC("KEYD");
    int16_t ref = CreateFile("keys.qzb");
    ASSERT_NE(ref, 0);
    const Bytes payload = Pattern(40, 9);
    ASSERT_TRUE(xaddres(MakeHandle(payload), type, 1));
    ASSERT_TRUE(hcrypteres(xget1res(type, 1), true));
    ASSERT_TRUE(closeres(ref, true));

    ref = openres(Spec("keys.qzb"), false);
    ASSERT_NE(ref, 0);
    CPseudoResManager::Files().back()->SetComponentMgr(&NoComponentKeys());
    Handle h = xgetres(type, 1, true);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Contents(h), payload);
    CPseudoResManager::Files().back()->SetComponentMgr(nullptr);
    EXPECT_TRUE(closeres(ref, false));
}

}  // namespace
}  // namespace storetest
