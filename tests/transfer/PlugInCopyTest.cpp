// Plug-ins copied into another structure's companion: the ids the code,
// bundle and elements take, the dialogs and items renumbered and shared
// ones copied once, and what a damaged bundle or a failing replace leaves.
#include <map>
#include <set>

#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/PlugInMovers.h"

namespace transfertest {
namespace {

using platform::Handle;

const char* kTools = "structure Tools\npackage Kit id 15010\n  routine \"Sum(&R):R\"\n  routine \"Show\"\n";

Bytes Item(uint8_t type, const Bytes& data)
{
    Bytes b(12, 0);
    b.push_back(type);
    b.push_back(uint8_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1) b.push_back(0);
    return b;
}

Bytes Id(int16_t id) { return {uint8_t(uint16_t(id) >> 8), uint8_t(id)}; }

uint32_t Type(const std::string& t) { return platform::ReadBE32(reinterpret_cast<const uint8_t*>(t.data())); }

class PlugInCopyTest : public CopyFixture {
protected:
    // The source package's bundle made to list its routine list, then
    // these elements; the dialogs and their items added to its file.
    void Elements(const std::vector<std::pair<std::string, int16_t>>& elements)
    {
        platform::UseResFile(doc_.fRsrFile);
        Add("ICON", 128, Bytes(128, 0x5A));
        Add("PICT", 129, Bytes(40, 0x11));
        Bytes items = {0, 2};  // three items
        for (const Bytes& item : {Item(4, {'O', 'K'}), Item(32, Id(128)), Item(64 | 128, Id(129))})
            items.insert(items.end(), item.begin(), item.end());
        Add("DITL", 200, items);
        Bytes dialog(20, 0);
        platform::WriteBE16(&dialog[18], 200);
        Add("DLOG", 300, dialog);
        Bytes alert(12, 0);
        platform::WriteBE16(&alert[8], 200);
        Add("ALRT", 301, alert);
        Add("FON#", 15010, Bytes(6, 1));
        Handle bundle = platform::Get1Resource(FourCC("QBNX"), 15010);
        ASSERT_NE(bundle, nullptr);
        Bytes b(*bundle, *bundle + platform::GetHandleSize(bundle));
        b.resize(10);
        for (const auto& [type, id] : elements) {
            for (char c : type) b.push_back(uint8_t(c));
            b.insert(b.end(), {0, 1, uint8_t(uint16_t(id) >> 8), uint8_t(id)});
        }
        platform::WriteBE16(b.data(), uint16_t(1 + elements.size()));
        platform::SetHandleSize(bundle, platform::Size(b.size()));
        std::memcpy(*bundle, b.data(), b.size());
        platform::ChangedResource(bundle);
    }
    void Add(const std::string& type, int16_t id, const Bytes& bytes)
    {
        Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        platform::AddResource(h, Type(type), id, nullptr);
    }
    static Bytes In(int16_t file, const std::string& type, int16_t id)
    {
        platform::UseResFile(file);
        Handle h = platform::Get1Resource(Type(type), id);
        return h && *h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }
    Bytes Dest(const std::string& type, int16_t id) const { return In(dest_.fRsrFile, type, id); }
    // Every resource of the destination's companion: type, id, name, bytes.
    std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> Companion() const
    {
        platform::UseResFile(dest_.fRsrFile);
        std::map<std::pair<uint32_t, int16_t>, std::pair<std::string, Bytes>> all;
        for (int16_t t = 1; t <= platform::Count1Types(); ++t) {
            platform::ResType type = 0;
            platform::Get1IndType(&type, t);
            for (int16_t i = 1; i <= platform::Count1Resources(type); ++i) {
                Handle h = platform::Get1IndResource(type, i);
                int16_t id = 0;
                unsigned char name[256] = {0};
                platform::GetResInfo(h, &id, &type, name);
                all[{type, id}] = {readtest::P(name), h && *h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{}};
            }
        }
        return all;
    }
    TObjQz* Package() { return Src(7, "_Kit"); }
};

// Code and bundle share the first id from 15000 at which neither (and for
// a package neither 'FON#' nor 'THM#') is taken.
TEST_F(PlugInCopyTest, CodeAndBundleShareTheFirstFreeId)
{
    struct Case {
        std::vector<std::pair<const char*, int16_t>> taken;
        int16_t id;
    };
    for (const Case& c : {Case{{}, 15000}, Case{{{"QBNX", 15000}}, 15001},
                          Case{{{"FON#", 15000}, {"QzPX", 15001}, {"THM#", 15002}}, 15003}}) {
        BuildPair(kTools, "structure Target\n");
        platform::UseResFile(dest_.fRsrFile);
        for (const auto& [type, id] : c.taken) Add(type, id, {0, 0});
        TObjQz* made = nullptr;
        ASSERT_EQ(transfer::MovePackage(&doc_, &dest_, Package(), &made, nullptr), 0);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->id, c.id);
        EXPECT_FALSE(Dest("QzPX", c.id).empty());
        EXPECT_FALSE(Dest("QBNX", c.id).empty());
        // The routines come with it.
        ASSERT_NE(made->members, nullptr);
        EXPECT_EQ(made->members->Size(), 2);
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// The dialog's item list moves, its new id at byte 18 of the 'DLOG' and
// byte 8 of the 'ALRT' that share it, copied once in either order; its
// icon and picture items are renumbered; a 'FON#' takes the bundle's id.
TEST_F(PlugInCopyTest, DialogsAndTheirItemsAreRenumberedAndCopiedOnce)
{
    for (const bool alertFirst : {false, true}) {
        BuildPair(kTools, "structure Target\n");
        std::vector<std::pair<std::string, int16_t>> elements{{"DLOG", 300}, {"ALRT", 301}, {"FON#", 15010}};
        if (alertFirst) std::swap(elements[0], elements[1]);
        Elements(elements);
        TObjQz* made = nullptr;
        ASSERT_EQ(transfer::MovePackage(&doc_, &dest_, Package(), &made, nullptr), 0) << alertFirst;
        const Bytes bundle = Dest("QBNX", made->id);
        ASSERT_EQ(platform::ReadBES16(bundle.data()), 4);
        auto element = [&](int i) { return platform::ReadBES16(&bundle[2 + 8 * size_t(i) + 6]); };
        const int16_t dialogId = element(alertFirst ? 2 : 1), alertId = element(alertFirst ? 1 : 2);
        EXPECT_EQ(element(3), made->id);
        const Bytes dialog = Dest("DLOG", dialogId), alert = Dest("ALRT", alertId);
        ASSERT_EQ(dialog.size(), 20u);
        ASSERT_EQ(alert.size(), 12u);
        const int16_t items = platform::ReadBES16(&dialog[18]);
        EXPECT_EQ(platform::ReadBES16(&alert[8]), items);
        EXPECT_GE(items, 15000);
        platform::UseResFile(dest_.fRsrFile);
        EXPECT_EQ(platform::Count1Resources(FourCC("DITL")), 1);
        const Bytes list = Dest("DITL", items);
        ASSERT_EQ(list.size(), In(doc_.fRsrFile, "DITL", 200).size());
        const int16_t icon = platform::ReadBES16(&list[2 + 16 + 14]), picture = platform::ReadBES16(&list[2 + 16 + 16 + 14]);
        EXPECT_EQ(Dest("ICON", icon), In(doc_.fRsrFile, "ICON", 128));
        EXPECT_EQ(Dest("PICT", picture), In(doc_.fRsrFile, "PICT", 129));
        EXPECT_EQ(Dest("FON#", made->id), In(doc_.fRsrFile, "FON#", 15010));
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// A bundle whose count or item list lies, or that names a missing
// element, copies nothing: the destination's companion stays byte for
// byte; so does one that has too little room.
TEST_F(PlugInCopyTest, ADamagedBundleOrTooLittleRoomWritesNothing)
{
    struct Case {
        const char* what;
        int16_t result;
    };
    for (const Case c : {Case{"count", transfer::kRecordMissing}, Case{"items", transfer::kRecordMissing},
                         Case{"missing", transfer::kRecordMissing}, Case{"room", platform::dskFulErr}}) {
        BuildPair(kTools, "structure Target\n");
        Elements({{"DLOG", 300}});
        const std::string what = c.what;
        if (what == "count") {
            Handle b = platform::Get1Resource(FourCC("QBNX"), 15010);
            platform::WriteBE16(reinterpret_cast<uint8_t*>(*b), 3);
        } else if (what == "items") {
            Handle d = platform::Get1Resource(FourCC("DITL"), 200);
            platform::SetHandleSize(d, platform::GetHandleSize(d) - 3);
        } else if (what == "missing") {
            platform::RemoveResource(platform::Get1Resource(FourCC("ICON"), 128));
            platform::RemoveResource(platform::Get1Resource(FourCC("DLOG"), 300));
        } else {
            int64_t size = 0;
            ASSERT_EQ(transfer::ExternalSize(Package(), &size), 0);
            static int64_t free;
            free = 2 * size - 1;
            transfer::SetRoomProbe([](TMainDoc*) { return free; });
        }
        CloseDest();
        const auto before = DestFiles();
        OpenDest();
        TObjQz* made = nullptr;
        EXPECT_EQ(transfer::MovePackage(&doc_, &dest_, Package(), &made, nullptr), c.result) << what;
        EXPECT_EQ(made, nullptr);
        platform::UseResFile(dest_.fRsrFile);
        EXPECT_EQ(platform::Count1Resources(FourCC("QzPX")), 0) << what;
        CloseDest();
        EXPECT_EQ(DestFiles(), before) << what;
        transfer::SetRoomProbe(nullptr);
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// Replacing the destination's package: the new resources are written
// before the old go, so each write failing in turn leaves its old package
// byte for byte; the one that lands leaves only the new.
TEST_F(PlugInCopyTest, AFailingReplaceKeepsTheOldPackage)
{
    const char* target = "structure Target\npackage Kit id 15005\n  routine \"Old\"\n";
    BuildPair(kTools, target);
    const auto resources = Companion();
    CloseDest();
    const auto pristine = DestFiles();
    int32_t failed = 0;
    for (int32_t after = 0; after < 20; ++after) {
        OpenDest();
        TObjQz* old = Dst(7, "_Kit");
        ASSERT_NE(old, nullptr);
        // As the driver runs it: inside a transfer that lands whole or not.
        transfer::TransferSession session;
        ASSERT_EQ(session.Begin(&dest_), 0);
        int16_t result = 0;
        {
            platform::ScopedFault fault(platform::FaultKind::DiskFull, after);
            result = transfer::ReplacePackage(&doc_, &dest_, Package(), &old);
            if (result == 0) result = session.Commit();
        }
        if (result != 0) session.RollBack();
        CloseDest();
        if (result == 0) {
            OpenDest();
            EXPECT_TRUE(Dest("QzPX", 15005).empty());
            EXPECT_EQ(Dest("QzPX", 15000), In(doc_.fRsrFile, "QzPX", 15010));
            ASSERT_NE(Dst(7, "_Kit"), nullptr);
            EXPECT_EQ(Dst(7, "_Kit")->id, 15000);
            CloseDest();
            break;
        }
        ++failed;
        // The store byte for byte; the companion holds what it held (its
        // map may be laid out anew).
        EXPECT_EQ(DestFiles().first, pristine.first) << after;
        OpenDest();
        EXPECT_EQ(Companion(), resources) << after;
        ASSERT_NE(Dst(7, "_Kit"), nullptr);
        EXPECT_EQ(Dst(7, "_Kit")->id, 15005) << after;
        CloseDest();
        RestoreDest(pristine);
    }
    EXPECT_GE(failed, 1);
}

// Deleting a routine's resources from a companion takes its code, bundle,
// the bundle's elements, a dialog's or alert's item list and the items'
// resources, and nothing else; a short dialog keeps its list (no id to
// read), a list whose count lies gives up the items before the damage.
TEST_F(PlugInCopyTest, DeletingARoutineTakesItsElementsDialogsAndItems)
{
    auto list = [](const std::vector<Bytes>& items, int16_t countWord) {
        Bytes b{uint8_t(uint16_t(countWord) >> 8), uint8_t(countWord)};
        for (const Bytes& item : items) b.insert(b.end(), item.begin(), item.end());
        return b;
    };
    const Bytes whole = list({Item(32, Id(15003)), Item(64, Id(15005))}, 1);
    // Says three items; the second's odd text has no pad and ends the list.
    Bytes lying = list({Item(32, Id(15003)), Item(8, {'x'})}, 2);
    lying.pop_back();
    struct Case {
        const char* what;
        const char* dialogType;
        size_t dialogSize, itemsAt;
        Bytes items;
        std::vector<std::pair<const char*, int16_t>> left;
    };
    const Case cases[] = {
        {"dialog", "DLOG", 20, 18, whole, {}},
        {"alert", "ALRT", 12, 8, whole, {}},
        {"short dialog", "DLOG", 19, 0, whole, {{"DITL", 15002}, {"ICON", 15003}, {"PICT", 15005}}},
        {"lying list", "DLOG", 20, 18, lying, {{"PICT", 15005}}},
        {"one byte list", "DLOG", 20, 18, Bytes{0}, {{"ICON", 15003}, {"PICT", 15005}}},
    };
    for (const Case& c : cases) {
        BuildPair("structure Tools\n", "structure Target\n");
        platform::UseResFile(dest_.fRsrFile);
        Add("QzEX", 15000, Bytes(10, 0x4E));
        Bytes bundle{0, 2};
        for (const auto& [type, id] : {std::pair{c.dialogType, int16_t(15001)}, std::pair{"STR#", int16_t(15006)}}) {
            bundle.insert(bundle.end(), type, type + 4);
            bundle.insert(bundle.end(), {0, 1, uint8_t(uint16_t(id) >> 8), uint8_t(id)});
        }
        Add("QBND", 15000, bundle);
        Bytes dialog(c.dialogSize, 0);
        if (c.itemsAt) platform::WriteBE16(&dialog[c.itemsAt], 15002);
        Add(c.dialogType, 15001, dialog);
        Add("DITL", 15002, c.items);
        Add("ICON", 15003, Bytes(128, 1));
        Add("ICON", 15004, Bytes(128, 2));  // no element's
        Add("PICT", 15005, Bytes(12, 3));
        Add("STR#", 15006, {0, 0});
        Add("QzEX", 15007, Bytes(4, 5));  // another routine's
        const std::set<std::pair<std::string, int16_t>> kept{{"ICON", 15004}, {"QzEX", 15007}};
        std::set<std::pair<std::string, int16_t>> want = kept;
        for (const auto& [type, id] : c.left) want.insert({type, id});

        platform::UseResFile(dest_.fRsrFile);
        EXPECT_EQ(transfer::DeleteResQzExternal(FourCC("QzEX"), FourCC("QBND"), 15000), 0) << c.what;
        std::set<std::pair<std::string, int16_t>> now;
        for (const auto& [key, value] : Companion()) {
            const uint8_t t[4] = {uint8_t(key.first >> 24), uint8_t(key.first >> 16), uint8_t(key.first >> 8),
                                  uint8_t(key.first)};
            const std::string type(t, t + 4);
            if (key.second >= 15000) now.insert({type, key.second});
        }
        EXPECT_EQ(now, want) << c.what;
        EXPECT_EQ(Dest("ICON", 15004), Bytes(128, 2)) << c.what;
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

// A method calling a package's routine dropped with what it uses: its
// call names the destination's package and, in it, the routine of its
// name (the destination's namesake package, used as it is there, lists
// its routines in another order); the copy uses that routine alone, as a
// read of the destination's files finds it.
TEST_F(PlugInCopyTest, ACopiedCallNamesTheDestinationsRoutineOfItsName)
{
    struct Case {
        const char* dest;
        int16_t package, routine;
    };
    for (const Case& c : {Case{"structure Target\n", 15000, 1},
                          Case{"structure Target\npackage Kit id 15003\n  routine \"Show\"\n  routine \"Sum(&R):R\"\n",
                               15003, 2}}) {
        BuildPair(std::string(kTools) + "method Calc id 40\n  plugin 15010 1\n", c.dest);
        platform::PushDialogAnswer(1);
        ASSERT_EQ(Drop({Src(2, "Calc")}, 1), 0);
        TObjQz* calc = Dst(2, "Calc");
        ASSERT_NE(calc, nullptr);
        std::vector<std::pair<int16_t, int16_t>> calls;
        for (const champoper& t : StoredTokens(&dest_, calc->id))
            if (t.Kind() == 22) calls.emplace_back(platform::ReadBES16(t.Text(2) + 2), platform::ReadBES16(t.Text(2) + 4));
        EXPECT_EQ(calls, (std::vector<std::pair<int16_t, int16_t>>{{c.package, c.routine}})) << c.dest;
        EXPECT_EQ(Uses(calc), (std::set<std::string>{"7:Sum"})) << c.dest;
        ReopenDest();
        EXPECT_EQ(Uses(Dst(2, "Calc")), (std::set<std::string>{"7:Sum"})) << c.dest;
        ClosePair();
    }
}

// A package of id 14500 is the application's: met by name (12) or not
// (13), it is used as the destination has it (choice 4).
TEST_F(PlugInCopyTest, TheApplicationsPackageIsNeverCopied)
{
    for (const bool namesake : {true, false}) {
        BuildPair("structure Tools\npackage Kit id 14500\n  routine \"Sum\"\n",
                  namesake ? "structure Target\npackage Kit id 15003\n  routine \"Sum\"\n" : "structure Target\n");
        C_ListHdl list = nullptr;
        ASSERT_EQ(transfer::NewC_List(&list, 10), 0);
        ASSERT_EQ(Package()->Dir_Conflicts(&dest_, list, nullptr), 0);
        ASSERT_EQ(list->Size(), 1);
        EXPECT_EQ(list->At(0)->fCode, namesake ? 12 : 13);
        EXPECT_EQ(list->At(0)->fChoice, 4);
        transfer::DisposeC_List(list);
        CloseDest();
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
}

}  // namespace
}  // namespace transfertest
