#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>

#include "app/appl/Preferences.h"
#include "app/documents/DocSupport.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "tests/app/AppFixture.h"
#include "tests/app/Fakes.h"
#include "tests/app/PrefImage.h"
#include "tests/platform/files/LockedFolder.h"

using namespace apptest;
using namespace platform;

namespace {

const char* kDefaults = R"(
'vers' 1 { version 2 1 0 stage final release 0 region 0 short "2.1" long "2.1" }
'FLT2' 128 "All" { $"0001 7FFF FDFE 0380 0000 0000 0000" }
'FLT2' 140 "b" { $"0000" }
'FLT2' 141 "A" { $"0001" }
'FLT2' 142 "c" { $"0002" }
'Oblk' 0 { $"0501 00" }
'C_PR' 0 { $"0102" }
'@FNT' 0 { $"000C 0003" $"000A 0004" }
)";

std::vector<uint8_t> ReadAll(const std::string& path)
{
    if (!std::filesystem::is_regular_file(path)) return {};
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class PreferencesTest : public AppFixture {
protected:
    std::string PrefPath() const { return prefsDir_ + "/Test Preferences"; }

    // A preferences file made beforehand with `add` run inside it.
    template <class Add>
    void MakePrefs(Add add)
    {
        FSSpec fileSpec;
        FSMakeFSSpec(PrefPath(), &fileSpec);
        FSpCreateResFile(fileSpec, FourCC("QzA6"), FourCC("pref"), 0, ResFileFork::Data);
        const int16_t saved = CurResFile();
        const int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
        ASSERT_GT(ref, 0);
        add();
        CloseResFile(ref);
        UseResFile(saved);
    }

    static void Add(ResType type, int16_t id, const std::vector<uint8_t>& bytes, const std::string& name = "")
    {
        Handle h = NewHandle(Size(bytes.size()));
        if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
        Str255 n;
        ToP(name, n);
        AddResource(h, type, id, n);
        WriteResource(h);
    }

    Handle Pref(ResType type, int16_t id)
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(type, id);
        UseResFile(saved);
        return h;
    }

    std::string PrefName(ResType type, int16_t id)
    {
        Handle h = Pref(type, id);
        if (!h) return "<none>";
        int16_t rid = 0;
        ResType t = 0;
        Str255 name;
        GetResInfo(h, &rid, &t, name);
        return P(name);
    }
};

TEST_F(PreferencesTest, AMissingFileIsMadeWithTheDefaultsAndTheAppFileIsUntouched)
{
    UseAppResources(kDefaults);
    const std::vector<uint8_t> before = ReadAll(appPath_);
    OpenPrefResFile();
    ASSERT_NE(G_PrefResFile, -1);
    FInfo info{};
    FSSpec fileSpec;
    FSMakeFSSpec(PrefPath(), &fileSpec);
    ASSERT_EQ(FSpGetFInfo(fileSpec, &info), noErr);
    EXPECT_EQ(info.fdType, FourCC("pref"));
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    // The file keeps the user's own permissions: nobody else may write.
    EXPECT_EQ(std::filesystem::status(PrefPath()).permissions() & std::filesystem::perms::others_write,
              std::filesystem::perms::none);

    Handle vers = Pref(FourCC("vers"), 1);
    ASSERT_NE(vers, nullptr);
    EXPECT_EQ(uint8_t((*vers)[0]), 2) << "the application's version";
    EXPECT_EQ(PrefName(FourCC("FLT2"), 128), "All") << "128 keeps its id";
    EXPECT_EQ(PrefName(FourCC("FLT2"), 129), "A");
    EXPECT_EQ(PrefName(FourCC("FLT2"), 130), "b");
    EXPECT_EQ(PrefName(FourCC("FLT2"), 131), "c");
    EXPECT_EQ(uint8_t((*Pref(FourCC("FLT2"), 129))[1]), 1) << "data moves with its name";
    EXPECT_EQ(PrefName(FourCC("FLT2"), 140), "<none>");
    EXPECT_NE(Pref(FourCC("Oblk"), 0), nullptr);
    EXPECT_NE(Pref(FourCC("C_PR"), 0), nullptr);
    EXPECT_EQ(CountFilters(), 4);
    EXPECT_TRUE(IsBlk_Pref());
    EXPECT_TRUE(IsC_Pref());
    ClosePrefResFile();

    // The application's file is read, never written.
    EXPECT_EQ(ReadAll(appPath_), before);
    // A second start finds the file and changes nothing it holds.
    OpenPrefResFile();
    EXPECT_EQ(CountFilters(), 4);
}

// Whatever holds the file's name, the settings are there. A file that does
// not read is set aside beside itself and a new one made with the defaults;
// one that cannot be written, nor saved in its folder, is read as it is,
// its changes kept in memory only; without a folder to keep a file in, the
// defaults live in memory. The notice names where to look. A link to a
// file not made yet has it made where it leads; one into a folder that is
// not there is set aside.
TEST_F(PreferencesTest, ADamagedOrUnwritableFileNeverLeavesTheSettingsOut)
{
    UseAppResources(kDefaults);
    MakePrefs([] { Add(FourCC("FLT2"), 128, {0, 7}, "Mine"); });
    const std::vector<uint8_t> sound = ReadAll(PrefPath());
    const std::string aside = PrefPath() + " (damaged)";
    auto write = [&](const std::vector<uint8_t>& bytes) {
        std::ofstream(PrefPath(), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    };
    const std::string xml = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>";
    const std::vector<uint8_t> cut(sound.begin(), sound.end() - 10), noise = {0x13, 0x57, 0x9B, 0xDF, 0x02, 0x46, 0x8A};
    int16_t writer = 0;
    std::optional<platform::testing::LockedFolder> locked;
    enum Outcome { kSetAside, kReadAsIs, kInMemory, kThroughLink };
    const std::string elsewhere = folder_ / "elsewhere/Real Preferences";
    struct Case {
        const char* what;
        std::function<void()> make;
        Outcome outcome;
    } cases[] = {
        {"cut by 10 bytes", [&] { write(cut); }, kSetAside},
        {"random bytes", [&] { write(noise); }, kSetAside},
        {"an XML file", [&] { write(std::vector<uint8_t>(xml.begin(), xml.end())); }, kSetAside},
        {"a folder", [&] { std::filesystem::create_directories(PrefPath() + "/inside"); }, kSetAside},
        {"held by another writer",
         [&] {
             write(sound);
             FSSpec prefs;
             FSMakeFSSpec(PrefPath(), &prefs);
             ASSERT_EQ(FSpOpenDF(prefs, fsRdWrPerm, &writer), noErr);
         },
         kReadAsIs},
        // Every save writes the file's replacement beside it.
        {"a writable file in a folder nobody may write into",
         [&] {
             write(sound);
             locked.emplace(prefsDir_);
         },
         kReadAsIs},
        {"a link to a file not made yet",
         [&] {
             std::filesystem::create_directories(folder_ / "elsewhere");
             std::filesystem::create_symlink(elsewhere, PrefPath());
         },
         kThroughLink},
        {"a link into a folder that is not there",
         [&] { std::filesystem::create_symlink(prefsDir_ + "/gone/Real Preferences", PrefPath()); }, kSetAside},
        {"a file where the folder should be",
         [&] {
             std::filesystem::remove_all(prefsDir_);
             std::ofstream(prefsDir_) << "not a folder";
         },
         kInMemory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClosePrefResFile();
        std::filesystem::remove_all(prefsDir_);
        std::filesystem::create_directories(prefsDir_);
        c.make();
        const std::string watched = c.outcome == kInMemory ? prefsDir_ : PrefPath();
        const std::vector<uint8_t> before = ReadAll(watched);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        std::vector<std::string> filters;
        for (int16_t i = 1; i <= CountFilters(); ++i) filters.push_back(PrefName(FourCC("FLT2"), int16_t(127 + i)));
        const std::vector<std::string> mine = {"Mine"}, defaults = {"All", "A", "b", "c"};
        EXPECT_EQ(filters, c.outcome == kReadAsIs ? mine : defaults);
        EXPECT_TRUE(IsBlk_Pref());
        EXPECT_TRUE(IsC_Pref());
        const std::string notice = PrefFileNotice();
        if (c.outcome == kThroughLink) {
            EXPECT_EQ(notice, "");
            ClosePrefResFile();
            EXPECT_TRUE(std::filesystem::is_symlink(PrefPath()));
            const std::vector<uint8_t> made = ReadAll(elsewhere);
            ResourceFileImage image;
            EXPECT_EQ(ParseResourceFile(made.data(), made.size(), &image), noErr);
            EXPECT_EQ(made, ReadAll(PrefPath())) << "the link finds it";
        } else if (c.outcome == kSetAside) {
            EXPECT_NE(notice.find(aside), std::string::npos) << notice;
            if (std::string(c.what) == "a folder") EXPECT_TRUE(std::filesystem::exists(aside + "/inside"));
            else EXPECT_EQ(ReadAll(aside), before) << "set aside whole";
            // The new file holds the defaults.
            const std::vector<uint8_t> made = ReadAll(PrefPath());
            ResourceFileImage image;
            EXPECT_EQ(ParseResourceFile(made.data(), made.size(), &image), noErr);
        } else {
            EXPECT_NE(notice.find(c.outcome == kReadAsIs ? PrefPath() : prefsDir_), std::string::npos) << notice;
            EXPECT_FALSE(std::filesystem::exists(aside));
            // Changes hold for the run and reach no disk.
            UseResFile(G_PrefResFile);
            Add(FourCC("PREF"), 0, {0, 0, 0, 0, 0, 0, 0x20, 0});
            UpdateResFile(G_PrefResFile);
            EXPECT_TRUE(GetPrefFlag(2));
            ClosePrefResFile();
            EXPECT_EQ(ReadAll(watched), before);
        }
        if (writer) FSClose(writer);
        writer = 0;
        locked.reset();
        std::filesystem::remove_all(prefsDir_);
    }
    // Damaged again: the first name set aside stays, the next is free.
    ClosePrefResFile();
    std::filesystem::create_directories(prefsDir_);
    write(noise);
    std::ofstream(aside) << "earlier";
    OpenPrefResFile();
    EXPECT_EQ(ReadAll(aside), std::vector<uint8_t>({'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
    EXPECT_EQ(ReadAll(PrefPath() + " (damaged 2)"), noise);
    EXPECT_EQ(CountFilters(), 4);
}

TEST_F(PreferencesTest, OldFiltersKeepTheDefaultsOut)
{
    UseAppResources(kDefaults);
    MakePrefs([] { Add(FourCC("FLTR"), 128, {0, 0}, "old"); });
    OpenPrefResFile();
    EXPECT_EQ(CountFilters(), 0);
    EXPECT_EQ(CountOldFilters(), 1);
}

TEST_F(PreferencesTest, AnOldOpenSpecialListIsConverted)
{
    UseAppResources(kDefaults);
    // Two entries in the old layout, and a count that claims three.
    std::vector<uint8_t> spc(86 + 2 * 142, 0);
    WriteBE16(spc.data() + 74, 0x1111);
    WriteBE16(spc.data() + 76, 0x2222);
    WriteBE32(spc.data() + 78, 0x33334444);
    spc[82] = 1;
    spc[83] = 0x55;
    WriteBE16(spc.data() + 84, 3);
    for (int e = 0; e < 2; ++e) {
        uint8_t* p = spc.data() + 86 + 142 * e;
        const std::string name = e ? "second" : "first", path = "Disk:Folder:";
        p[0] = uint8_t(name.size());
        std::memcpy(p + 1, name.data(), name.size());
        p[64] = uint8_t(path.size());
        std::memcpy(p + 65, path.data(), path.size());
        WriteBE32(p + 128, 77 + e);
        WriteBE32(p + 132, FourCC("BAS5"));
        p[136] = 1;
        p[137] = 2;
        WriteBE32(p + 138, 0x01020304);
    }
    MakePrefs([&] { Add(FourCC("SPC#"), 0, spc); });
    OpenPrefResFile();
    ASSERT_NE(G_Special, nullptr);
    ASSERT_EQ(GetHandleSize(G_Special), 1666);

    // The same list made by hand in the new layout.
    std::vector<uint8_t> want(1666, 0);
    WriteBE16(want.data() + 76, 0x1111);
    WriteBE16(want.data() + 78, 0x2222);
    WriteBE32(want.data() + 80, 0x33334444);
    want[84] = 1;
    want[85] = 0x55;
    WriteBE16(want.data() + 86, 2);
    for (int e = 0; e < 2; ++e) {
        uint8_t* p = want.data() + 88 + 526 * e;
        const std::string name = e ? "second" : "first", path = "Disk:Folder:";
        p[0] = uint8_t(name.size());
        std::memcpy(p + 1, name.data(), name.size());
        p[256] = uint8_t(path.size());
        std::memcpy(p + 257, path.data(), path.size());
        WriteBE32(p + 512, 77 + e);
        WriteBE32(p + 516, FourCC("BAS5"));
        p[520] = 1;
        p[521] = 2;
        WriteBE32(p + 522, 0x01020304);
    }
    EXPECT_EQ(std::vector<uint8_t>(*G_Special, *G_Special + 1666), want);
    EXPECT_NE(Pref(FourCC("SPC#"), 0), nullptr) << "the old list is kept";
    // The new list is in the file at once.
    const std::vector<uint8_t> file = ReadAll(PrefPath());
    ResourceFileImage onDisk;
    ASSERT_EQ(ParseResourceFile(file.data(), file.size(), &onDisk), noErr);
    const auto stored = std::find_if(onDisk.resources.begin(), onDisk.resources.end(),
                                     [](const ResourceImage& r) { return r.type == FourCC("SP2#") && r.id == 0; });
    ASSERT_NE(stored, onDisk.resources.end());
    EXPECT_EQ(stored->data, want);

    // A count far past the entries present sizes nothing by it.
    std::vector<uint8_t> lying(86, 0);
    WriteBE16(lying.data() + 84, 0xFFFF);
    Handle converted = ConvertSpecialList(lying.data(), lying.size());
    ASSERT_NE(converted, nullptr);
    EXPECT_EQ(GetHandleSize(converted), 614);
    DisposeHandle(converted);
}

TEST_F(PreferencesTest, FlagsFontsAndTextStyles)
{
    UseAppResources(kDefaults);
    MakePrefs([] { Add(FourCC("PREF"), 0, {0, 0, 0, 0, 0, 0, 0x20, 0}); });
    OpenPrefResFile();
    EXPECT_TRUE(GetPrefFlag(2)) << "mask 0x20 of byte 6";
    EXPECT_FALSE(GetPrefFlag(1));
    EXPECT_FALSE(GetPrefFlag(8));
    EXPECT_FALSE(GetPrefFlag(200)) << "past the resource";

    EXPECT_EQ(GetResSize(0), 12);
    EXPECT_EQ(GetResFont(0), 3);
    EXPECT_EQ(GetResSize(1), 10);
    EXPECT_EQ(GetResSize(2), 9) << "a category past the records";
    EXPECT_EQ(GetResFont(2), 1);

    // Styles: built in, then from a 'MeP#' 1000 long enough.
    SetDefaultTextStyles();
    const uint8_t styles[14] = {0, 0, 0, 0, 2, 1, 1, 3, 0, 0, 0, 0, 0, 4};
    EXPECT_EQ(std::vector<uint8_t>(g_styles, g_styles + 14), std::vector<uint8_t>(styles, styles + 14));
    EXPECT_EQ(g_colors[8].red, 4095);
    EXPECT_EQ(g_colors[7].red, 0);
    for (size_t size : {56u, 57u}) {
        SetDefaultTextStyles();
        std::vector<uint8_t> mep(size, 0);
        for (int i = 0; i < 14; ++i) {
            mep[4 * i] = uint8_t(i + 1);
            mep[4 * i + 3] = uint8_t(i + 20);
        }
        UseResFile(G_PrefResFile);
        Add(FourCC("MeP#"), 1000, mep);
        LoadTextStyle();
        Handle added = GetResource(FourCC("MeP#"), 1000);
        RemoveResource(added);
        DisposeHandle(added);
        AppTextStyle style;
        MyGetTextStyle(3, &style);
        if (size == 56) {
            EXPECT_EQ(style.face, 0) << "56 bytes are ignored";
        } else {
            EXPECT_EQ(style.face, 23);
            EXPECT_EQ(style.color.red, 4 << 8);
        }
    }
}

// Two programs share the preferences file. What the other one wrote since
// this one read it stays: this one writes back only what it changed (a
// filter removed, the blocking preferences, 'PREF' 0 field by field), its
// own 'PREF' 0 then holding the other's fields too; a quit that changed
// nothing more writes nothing.
TEST_F(PreferencesTest, TwoProgramsSharingTheFileKeepWhatEachChanged)
{
    UseAppResources(kDefaults);
    // Layout 128, 400 x 300, the open dialog and the about box at start.
    MakePrefs([] { Add(FourCC("PREF"), 0, {0, 128, 0x01, 0x90, 0x01, 0x2C, 0xC0, 0}); });
    OpenPrefResFile();
    ASSERT_NE(G_PrefResFile, -1);
    const std::pair<ResType, int16_t> pref{FourCC("PREF"), 0}, conflicts{FourCC("C_PR"), 0},
        blocking{FourCC("Oblk"), 0}, added{FourCC("FLT2"), 150}, removed{FourCC("FLT2"), 131};
    // The other program: a width of 500 and no about box, its own conflict
    // choices and a filter more.
    PrefImage expected = ReadPrefImage(PrefPath());
    ASSERT_EQ(expected.count(removed), 1u);
    expected[pref].second = {0, 128, 0x01, 0xF4, 0x01, 0x2C, 0x80, 0};
    expected[conflicts].second = {3, 3};
    expected[added] = {"Theirs", {0, 9}};
    WritePrefImage(PrefPath(), expected);
    // This one: a height of 350 and a question before the last window
    // closes, blocking changed, filter "c" removed.
    Handle own = Pref(FourCC("PREF"), 0);
    ASSERT_NE(own, nullptr);
    (*own)[4] = 0x01, (*own)[5] = 0x5E, (*own)[6] = char(0xE0);
    ChangedResource(own);
    Handle block = Pref(FourCC("Oblk"), 0);
    ASSERT_NE(block, nullptr);
    SetHandleSize(block, 3);
    std::memcpy(*block, "\x07\x01\x00", 3);
    ChangedResource(block);
    Handle filter = Pref(FourCC("FLT2"), 131);
    ASSERT_NE(filter, nullptr);
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    RemoveResource(filter);
    DisposeHandle(filter);
    UseResFile(saved);
    UpdateResFile(G_PrefResFile);
    ASSERT_EQ(ResError(), noErr);
    expected[pref].second = {0, 128, 0x01, 0xF4, 0x01, 0x5E, 0xA0, 0};
    expected[blocking].second = {7, 1, 0};
    expected.erase(removed);
    EXPECT_EQ(ReadPrefImage(PrefPath()), expected);
    EXPECT_EQ(std::vector<uint8_t>(*own, *own + GetHandleSize(own)), expected[pref].second);
    // The other program writes again; this one quits with nothing changed.
    expected[conflicts].second = {4, 4};
    WritePrefImage(PrefPath(), expected);
    const std::vector<uint8_t> theirs = ReadAll(PrefPath());
    ClosePrefResFile();
    EXPECT_EQ(ReadAll(PrefPath()), theirs);
}

TEST_F(PreferencesTest, TheApplicationsGeneralPreferencesAnswerWhenTheFileHasNone)
{
    UseAppResources(std::string(kDefaults) + R"('PREF' 0 { $"0000 0000 0000 2000" })");
    OpenPrefResFile();
    EXPECT_TRUE(GetPrefFlag(2));
    ClosePrefResFile();
    EXPECT_FALSE(GetPrefFlag(2)) << "no preferences file: false";
}

TEST_F(PreferencesTest, TheParameterBitsAreBuiltInMemory)
{
    UseAppResources(R"(
'APRM' -2 { $"00" }
'APRM' 0 { $"00" }
'APRM' 3 { $"00" }
'APRM' 9 { $"00" }
'xPRM' 0 { $"0000 0001" }
)");
    const std::vector<uint8_t> before = ReadAll(appPath_);
    Build_xPRM();
    Handle bits = GetxPRM();
    ASSERT_NE(bits, nullptr);
    ASSERT_EQ(GetHandleSize(bits), 4);
    EXPECT_EQ(uint8_t((*bits)[0]), 0x90) << "bits 0 and 3, counted from the most significant; none for -2";
    EXPECT_EQ(uint8_t((*bits)[1]), 0x40) << "bit 9";
    EXPECT_EQ(uint8_t((*bits)[3]), 0x01) << "what the stored array held";
    EXPECT_EQ(ReadAll(appPath_), before) << "the application's file is not written";
}

TEST_F(PreferencesTest, FontsDefaultWithoutTheirResource)
{
    UseAppResources("");
    EXPECT_EQ(GetResSize(0), 9);
    EXPECT_EQ(GetResFont(0), 1);
}

TEST_F(PreferencesTest, StartUpSwitchesOfThePreferences)
{
    UseAppResources(kDefaults);
    MakePrefs([] { Add(FourCC("PREF"), 0, {0, 0, 0, 0, 0, 0, 0x90, 0}); });
    OpenPrefResFile();
    auto* appl = new RecordingAppl;
    MakeAppl(appl);
    appl->handlers[2] = [appl] {
        appl->fQuit = true;
        return appl->OpenMainDoc();
    };
    appl->OpenAppl();
    appl->Run();
    ASSERT_FALSE(appl->commands.empty());
    EXPECT_EQ(appl->commands.front(), 2) << "the open dialog at the first null event";
}

// Every setting holds from the start on, whether the start opens a document
// (no open-application event comes) or not.
void ExpectEverySettingAfterAStart(TAppl* appl, bool withDocument)
{
    ASSERT_EQ(appl->ITAppl(), 0);
    if (!withDocument) appl->OpenAppl();
    const Rect r = appl->GetPrefWindowRect(0);
    EXPECT_EQ(std::vector<int>({G_ShowID, GetPrefFlag(2), PrefWindowKind(), r.right - r.left, r.bottom - r.top}),
              std::vector<int>({true, true, 129, 600, 400}));
    ASSERT_NE(G_SearchFilterHdl, nullptr);
    EXPECT_EQ(std::string(*G_SearchFilterHdl, size_t(GetHandleSize(G_SearchFilterHdl))),
              std::string("\x00\x01\x7F\xFF\xFD\xFE\x03\x80\x00\x00\x00\x00\x00\x00", 14));
}

TEST_F(PreferencesTest, EverySettingHoldsAtAStartWithADocument)
{
    UseAppResources(kDefaults);
    // Template 129, 600 x 400, ids shown, a question before the last window closes.
    MakePrefs([] { Add(FourCC("PREF"), 0, {0, 129, 2, 0x58, 1, 0x90, 0x30, 0}); });
    ExpectEverySettingAfterAStart(MakeAppl(), true);
}

TEST_F(PreferencesTest, EverySettingHoldsAtAStartWithoutADocument)
{
    UseAppResources(kDefaults);
    MakePrefs([] { Add(FourCC("PREF"), 0, {0, 129, 2, 0x58, 1, 0x90, 0x30, 0}); });
    ExpectEverySettingAfterAStart(MakeAppl(), false);
}

// The start reads the preferences: the search filter as a copy of its own,
// and the fonts and sizes of the lists and the pop-ups.
TEST_F(PreferencesTest, StartingTheApplicationTakesItsFilterAndFonts)
{
    UseAppResources(kDefaults);
    MakeAppl();
    ASSERT_EQ(appl_->ITAppl(), 0);
    Handle filter = GetFilter(128);
    ASSERT_NE(filter, nullptr);
    ASSERT_NE(G_SearchFilterHdl, nullptr);
    EXPECT_NE(G_SearchFilterHdl, filter);
    EXPECT_EQ(std::string(*G_SearchFilterHdl, size_t(GetHandleSize(G_SearchFilterHdl))),
              std::string(*filter, size_t(GetHandleSize(filter))));
    EXPECT_EQ(std::vector<int16_t>({MyApplSize, MyApplFont, PopSize, PopFont}), std::vector<int16_t>({12, 3, 10, 4}));
}

TEST_F(AppFixture, DialogColourComesFromItsEntryOrStaysWhite)
{
    UseAppResources(R"('xctb' 0 { $"0000 0000 0000 0005" $"0001 1111 1111 1111" $"0000 1234 5678 9ABC" })");
    LoadDialogColour();
    EXPECT_EQ(G_DlogContentColor.red, 0x1234) << "the part-0 entry, though the count claims more";
    EXPECT_EQ(G_DlogContentColor.blue, 0x9ABC);
    platform::ResetResourceManager();
    UseAppResources(R"('xctb' 0 { $"0000 0000 0000 0001" $"0002 1111 1111 1111" })");
    LoadDialogColour();
    EXPECT_EQ(G_DlogContentColor.red, 65535);
    EXPECT_EQ(G_DlogContentColor.green, 65535);
}

TEST_F(AppFixture, AStartWithoutTheProgramsResourcesStopsAtOnceWithItsMessage)
{
    const std::string empty = folder_ / "program";
    std::filesystem::create_directories(empty);
    qztest::ScopedEnvironment program("QZ_APPLICATION_DIR", empty);
    const platform::Handle commands = CmdStackHdl, functions = FuncStackHdl;
    EXPECT_NE(ApplInitAll(), 0);
    EXPECT_NE(std::string(ApplInitAllMessage()).find("Qz Resources.rsrc"), std::string::npos) << ApplInitAllMessage();
    EXPECT_EQ(GromMemHdl, nullptr) << "nothing after the failed step is made";
    CmdStackHdl = commands;
    FuncStackHdl = functions;
}

TEST_F(AppFixture, AStoreChangeMarksTheRemoteStructureOnly)
{
    MakeAppl();
    auto* local = new FakeDoc;
    local->fResFile = 5;
    auto* remote = new FakeDoc;
    remote->fRemote = true;
    auto* library = new FakeDoc(0);
    library->fRemote = true;
    appl_->AddDoc(remote);
    appl_->AddDoc(local);
    appl_->AddDoc(library);
    MyRESQzHOOK(FourCC("PICT"), 1, -31999, 1);
    EXPECT_FALSE(remote->fResChanged) << "not a design type";
    MyRESQzHOOK(FourCC("CCQz"), 1, -31999, 1);
    EXPECT_TRUE(remote->fResChanged);
    EXPECT_FALSE(local->fResChanged);
    EXPECT_FALSE(library->fResChanged) << "only structures";
    MyRESQzHOOK(FourCC("FIQz"), 1, 5, 1);
    EXPECT_TRUE(local->fResChanged);
}

TEST_F(AppFixture, EveryDesignTypeAndNoOtherMarksTheStructure)
{
    MakeAppl();
    auto* doc = new FakeDoc;
    doc->fResFile = 5;
    appl_->AddDoc(doc);
    const struct {
        char type[5];
        bool marks;
    } cases[] = {
        {"FIQz", true},  {"List", true},  {"BAQz", true},  {"MENQ", true},  {"CCQz", true},  {"FOQz", true},
        {"STQz", true},  {"HEQz", true},  {"WNQz", true},  {"TFQz", true},  {"TPQz", true},  {"FIQZ", false},
        {"LIST", false}, {"MENU", false}, {"STR#", false}, {"TFQ ", false}, {"PICT", false},
    };
    for (const auto& c : cases) {
        doc->fResChanged = false;
        MyRESQzHOOK(FourCC(c.type), 1, 5, 1);
        EXPECT_EQ(doc->fResChanged, c.marks) << c.type;
    }
}

}  // namespace
