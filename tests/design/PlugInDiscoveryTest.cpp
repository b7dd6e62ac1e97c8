// Plug-in discovery: packages and routines from the document's companions
// and the plug-in folders, each file open exactly while objects use it.
#include <filesystem>
#include <fstream>

#include "app/dialogs/WaitDialog.h"

#include "design/plugins/PlugInFiles.h"
#include "design/plugins/PlugInLookup.h"
#include "design/plugins/PlugInNotices.h"
#include "design/reading/ReadQzB.h"
#include "network/PlugInFolders.h"
#include "platform/core/Faults.h"
#include "platform/files/WholeFile.h"
#include "tests/design/PlugInFixture.h"
#include "tests/platform/core/FailingNew.h"

namespace designtest {
namespace {

namespace fs = std::filesystem;

class PlugInDiscovery : public PlugInFixture {};

// A guard makes a file current for its scope and gives the current one back
// after, unless that one was closed meanwhile; no file is no change.
TEST_F(PlugInDiscovery, AGuardMakesAFileCurrentForItsScopeOnly)
{
    Companion({});
    const std::string path = PlugInFile("Other.rsrc", Identity(6));
    const int16_t other = platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(other, 0);
    platform::UseResFile(doc_.fRsrFile);
    for (const int16_t file : {other, doc_.fRsrFile, int16_t(0)}) {
        {
            const CurrentResFile guard(file);
            EXPECT_EQ(guard.Ok(), file > 0) << file;
            EXPECT_EQ(platform::CurResFile(), file > 0 ? file : doc_.fRsrFile) << file;
        }
        EXPECT_EQ(platform::CurResFile(), doc_.fRsrFile) << file;
    }
    {
        const CurrentResFile guard(other);
        platform::CloseResFile(doc_.fRsrFile);
    }
    EXPECT_EQ(platform::CurResFile(), other) << "a closed file is not made current again";
    EXPECT_EQ(platform::ResError(), platform::noErr);
    platform::CloseResFile(other);
    doc_.fRsrFile = -1;
}

TEST_F(PlugInDiscovery, BundlesAndDocumentPackagesMakePackagesWithTheirRoutines)
{
    Companion({{"QzPX", 15010, {0, 0}, "Invoicing"},
               {"QBNX", 15010, Table({{"STR#", 1, 300}})},
               {"STR#", 300, Strings({"Format_Amount(&R;&S):S", "@Hidden", "", "Total:R"})},
               // A package without a routine list, and a routine.
               {"QzPX", 15020, {0, 0}, "Bare"},
               {"QzEX", 5, {0, 0}, "Print_Label(&S)"}});
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("W", 20000, 400, {"Beep", "@Internal", "", "Round(&R):R"}) +
                                 // Unnamed bundles: the theme's name, its first string, the file's name.
                                 Bundle("", 20001, 401, {"A"}) + std::vector<Res>{{"THM#", 20001, {0, 0}, "Themed"}} +
                                 Bundle("", 20002, 402, {"B"}) + std::vector<Res>{{"THM#", 20002, {0, 1, 4, 'F', 'i', 'r', 's'}}} +
                                 Bundle("", 20003, 403, {"C"}) +
                                 // The document's package of that name comes first.
                                 Bundle("Invoicing", 20004, 404, {"Other"}));
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    ASSERT_EQ(ReadPlugInRoutines(&doc_), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Bare", "_Firs", "_Invoicing", "_Themed", "_Tools.rsrc", "_W"}));
    // A bundle skips "@" routines and empty strings; a document's package
    // keeps every string. Routines keep their string's number.
    EXPECT_EQ(Routines("_W"), (std::vector<std::string>{"1:Beep", "4:Round"}));
    EXPECT_EQ(Routines("_Invoicing"), (std::vector<std::string>{"1:Format_Amount", "2:@Hidden", "3:", "4:Total"}));
    EXPECT_EQ(Routines("_Bare"), std::vector<std::string>{});
    TObjQz* package = PackageObj("_Invoicing");
    TObjQz* routine = package->members->At(0);
    EXPECT_EQ(routine->kind, 7);
    EXPECT_EQ(routine->GetOwnerObj(), package);
    EXPECT_TRUE(routine->TstFlag(kFlagGrouped) && routine->TstFlag(kFlagGrouped2));
    EXPECT_FALSE(package->TstFlag(kFlagGrouped));
    EXPECT_EQ(routine->level, package->level + 1);
    EXPECT_EQ(static_cast<TExtObjQz*>(package)->GetPlugInFile(), doc_.fRsrFile);
    EXPECT_FALSE(static_cast<TExtObjQz*>(package)->fromBundle);
    EXPECT_TRUE(static_cast<TExtObjQz*>(PackageObj("_W"))->fromBundle);
    EXPECT_EQ(FindPackage(&doc_, 20000), PackageObj("_W"));
    EXPECT_EQ(P(PackageRoutine(static_cast<TPackagesObjQz*>(PackageObj("_W")), 4)->name), "Round");
    // The older routine, by its name alone.
    ObjListHdl routines = List(8);
    ASSERT_EQ(routines->Size(), 1);
    EXPECT_EQ(P(routines->At(0)->name), "Print_Label");
    EXPECT_EQ(routines->At(0)->id, 5);
    EXPECT_EQ(CountOpenPlugInFiles(), 1);
}

TEST_F(PlugInDiscovery, AGeneratedLibraryIsReadWithoutPlugIns)
{
    Companion({{"QzPX", 15010, {0, 0}, "Invoicing"}, {"QzEX", 5, {0, 0}, "Print_Label"}});
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("W", 20000, 400, {"A"}));
    for (int16_t kind : {7, 8}) {
        ASSERT_EQ(ReadObj(&doc_, nullptr, kind, nullptr, 1), 0);
        EXPECT_EQ(List(kind)->Size(), 0) << kind;
    }
    EXPECT_EQ(CountOpenPlugInFiles(), 0);
    for (int16_t kind : {7, 8}) ASSERT_EQ(ReadObj(&doc_, nullptr, kind, nullptr, 0), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Invoicing", "_W"}));
    EXPECT_EQ(List(8)->Size(), 1);
}

TEST_F(PlugInDiscovery, FilesAreOpenExactlyWhileObjectsUseThem)
{
    const int32_t before = platform::CountOpenResFiles();
    PlugInFile("a First.rsrc", Identity(6) + Bundle("Same", 20000, 400, {"One"}));
    // The same name again: passed over (-1), its file closed.
    PlugInFile("b Second.rsrc", Identity(6) + Bundle("Same", 20000, 400, {"Two"}));
    // No bundle at all, a file that is no resource file.
    PlugInFile("c Empty.rsrc", Identity(6));
    std::ofstream(Plugins() / "d Text.txt") << "not resources";
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Routines("_Same"), std::vector<std::string>{"1:One"});
    EXPECT_EQ(platform::CountOpenResFiles(), before + 1);
    EXPECT_EQ(CountOpenPlugInFiles(), 1);
    // The routines' pass opens every item and leaves none open.
    ASSERT_EQ(ReadPlugInRoutines(&doc_), 0);
    EXPECT_EQ(platform::CountOpenResFiles(), before + 1);

    // The package goes first: its routine still reads its file.
    auto* package = static_cast<TExtObjQz*>(PackageObj("_Same"));
    auto* routine = static_cast<TExtObjQz*>(package->members->At(0));
    const int16_t file = package->GetPlugInFile();
    EXPECT_EQ(PlugInFileUsers(file), 2);
    package->members->entries[0] = nullptr;  // the member list is the package's own
    package->ListRemove();
    package->Dispose();
    EXPECT_TRUE(platform::IsResFileOpen(file));
    EXPECT_EQ(routine->GetDocId(), -1);  // reads the open file
    routine->ListRemove();
    routine->Dispose();
    EXPECT_FALSE(platform::IsResFileOpen(file));
    EXPECT_EQ(platform::CountOpenResFiles(), before);
}

// The application's own file offers its bundles first, whatever number it
// has (here the first one).
TEST_F(PlugInDiscovery, TheApplicationsOwnBundlesComeFirst)
{
    platform::CloseResFile(G_MainResFile);
    UseAppResources(std::string(kDesignResources) + kAppIdentity + R"RES(
'QBNX' 20005 "Own" { $"0001 5354 5223 0001 01F4" }
'STR#' 500 { "Own_Routine(&S)" "@Hidden" }
)RES");
    ASSERT_EQ(G_MainResFile, 1);
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("W", 20000, 400, {"A"}));
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Own", "_W"}));
    EXPECT_EQ(Routines("_Own"), std::vector<std::string>{"1:Own_Routine"});
    EXPECT_EQ(static_cast<TExtObjQz*>(PackageObj("_Own"))->GetPlugInFile(), G_MainResFile);
}

// A file the discovery closed is forgotten: another file opened later
// under the same number is not the discovery's to close. The first number
// counts like any other (the application's file lets it go meanwhile).
TEST_F(PlugInDiscovery, AClosedPlugInFileIsForgotten)
{
    platform::CloseResFile(G_MainResFile);
    const int16_t mine = platform::OpenResFile(PlugInFile("a.rsrc", Identity(6)), platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_EQ(mine, 1);
    NotePlugInFileOpened(mine);
    EXPECT_EQ(CountOpenPlugInFiles(), 1);
    ClosePlugInFileIfUnused(mine);
    EXPECT_FALSE(platform::IsResFileOpen(mine));
    EXPECT_EQ(CountOpenPlugInFiles(), 0);
    const int16_t theirs = platform::OpenResFile(PlugInFile("b.rsrc", Identity(6)), platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_EQ(theirs, mine) << "the number is taken again";
    RetainPlugInFile(theirs);
    EXPECT_EQ(PlugInFileUsers(theirs), 1);
    ReleasePlugInFile(theirs);
    EXPECT_TRUE(platform::IsResFileOpen(theirs));
    EXPECT_EQ(CountOpenPlugInFiles(), 0);
    platform::CloseResFile(theirs);
    G_MainResFile = platform::OpenResFile(appPath_, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(G_MainResFile, 0);
}

TEST_F(PlugInDiscovery, ABundleThatDoesNotFitIsPassedOver)
{
    auto bundle = [](std::vector<uint8_t> table, std::vector<uint8_t> list) {
        return std::vector<Res>{{"QBNX", 20000, std::move(table), "P"}, {"STR#", 400, std::move(list)}};
    };
    const auto good = Table({{"STR#", 1, 400}});
    const auto two = Strings({"A", "B"});
    struct Case {
        const char* what;
        std::vector<Res> resources;
        std::vector<std::string> routines;  // {"none"}: no package
    } cases[] = {
        {"sound", bundle(good, two), {"1:A", "2:B"}},
        {"one entry more than held", bundle({0, 2, 'S', 'T', 'R', '#', 0, 1, 1, 0x90}, two), {"none"}},
        {"no entry", bundle({0, 0}, two), {"none"}},
        {"short of the list id", bundle({0, 1, 'S', 'T', 'R', '#', 0, 1, 1}, two), {"none"}},
        {"negative count", bundle({0xFF, 0xFF, 'S', 'T', 'R', '#', 0, 1, 1, 0x90}, two), {"none"}},
        {"a list claiming one string more", bundle(good, {0, 3, 1, 'A', 1, 'B'}), {"none"}},
        {"a string past the list", bundle(good, {0, 2, 1, 'A', 2, 'B'}), {"none"}},
        {"no list", std::vector<Res>{{"QBNX", 20000, good, "P"}}, {"none"}},
        {"empty list", bundle(good, {0, 0}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Plugins());
        PlugInFile("Tools.rsrc", Identity(6) + c.resources);
        ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
        if (c.routines == std::vector<std::string>{"none"}) {
            EXPECT_EQ(PackageObj("_P"), nullptr);
            EXPECT_EQ(CountOpenPlugInFiles(), 0);
        } else {
            EXPECT_EQ(Routines("_P"), c.routines);
        }
        FreshLists();
        EXPECT_EQ(CountOpenPlugInFiles(), 0);
    }
    // A theme whose first string passes its end names nothing.
    fs::remove_all(Plugins());
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("", 20000, 400, {"A"}) +
                                 std::vector<Res>{{"THM#", 20000, {0, 1, 5, 'L', 'o', 'n', 'g'}}});
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Packages(), std::vector<std::string>{"_Tools.rsrc"});
}

TEST_F(PlugInDiscovery, ReservedBundlesNeedAFileThatGoesWithTheApplication)
{
    struct Case {
        std::vector<Res> identity;
        int16_t bundle;
        bool read;
    } cases[] = {
        {Identity(6), 14000, true},         {Identity(0), 14000, true},
        {Identity(7), 14000, false},        {Identity(7), 15010, false},
        {Identity(7), 10128, false},        {Identity(7), 14001, true},
        {Identity(7), 20000, true},         {Identity(6, 2, 1), 14000, false},  // older than the application needs
        {Identity(6, 3), 14000, false},     // unknown to the application
        {Identity(0, 1), 14000, false},     // the application's own signature
        {{}, 12000, false},                 {{}, 12001, true},  // no identity at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases) + " " + std::to_string(c.bundle));
        fs::remove_all(Plugins());
        PlugInFile("Tools.rsrc", c.identity + Bundle("P", c.bundle, 400, {"A"}));
        ReadObjLink link;
        link.doc = &doc_;
        const int16_t file = platform::OpenResFile(Plugins() / "Tools.rsrc", platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(file, 0);
        EXPECT_EQ(ReadObj_SearchExtFolderPack(file, &link, PName("")), c.read ? 0 : -2);
        EXPECT_EQ(PackageObj("_P") != nullptr, c.read);
        FreshLists();
        platform::CloseResFile(file);
    }
}

TEST_F(PlugInDiscovery, BundleFoldersAliasesAndEveryPlace)
{
    // A bundle folder in the user's place, a link to a file in the shared
    // place, a plain file beside the application; location 4 is none.
    const fs::path bundle = Plugins(1) / "Kit.plugin" / "Contents" / "Resources";
    fs::create_directories(bundle);
    restest::WriteResFile((bundle / "Kit.rsrc").string(), Identity(6) + Bundle("Kit", 20000, 400, {"K"}));
    restest::WriteResFile((Folder() / "elsewhere.rsrc").string(), Identity(6) + Bundle("Linked", 20001, 401, {"L"}));
    fs::create_symlink(Folder() / "elsewhere.rsrc", Plugins(2) / "alias");
    fs::create_symlink(Folder() / "missing", Plugins(2) / "broken");
    PlugInFile("App.rsrc", Identity(6) + Bundle("Beside", 20002, 402, {"B"}), 5);
    PlugInFile("Prefs.rsrc", Identity(6) + Bundle("Prefs", 20003, 403, {"P"}), 3);
    // A file where the extensions folder's "Plugins" should be is none.
    std::ofstream(Folder() / "place0" / "Plugins") << "a file";
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Beside", "_Kit", "_Linked", "_Prefs"}));
    EXPECT_EQ(CountOpenPlugInFiles(), 4);
    int16_t volume = 1;
    int32_t folder = 1;
    for (const auto& [location, kind, result] : {std::tuple{0, kPlugInsFolderKind, platform::fnfErr}, {4, kPlugInsFolderKind, platform::fnfErr},
                                                 {6, kPlugInsFolderKind, platform::paramErr}, {1, kPlugInsFolderKind + 1, platform::paramErr}}) {
        EXPECT_EQ(GetPlugInsFolderRefs(int16_t(location), kind, &volume, &folder), result) << location;
        EXPECT_EQ(folder, 0);
    }
}

// What the package pass leaves without a package is named to the user once
// a run, the others listed: a damaged file, bytes that are no resource file,
// an empty file, a bundle without its map, one whose table does not fit, a
// link to nothing, a second copy of a package; and a routine another
// plug-in's has the name of, left out of its package. Hidden items are not
// named.
TEST_F(PlugInDiscovery, APlugInThatCannotBeReadIsNamedOnceTheOthersListed)
{
    const std::string good = PlugInFile("Good.rsrc", Identity(6) + Bundle("Good", 20000, 400, {"A"}));
    PlugInFile("Other tools.rsrc", Identity(6) + Bundle("Other", 20004, 404, {"A(&S)", "C"}));
    PlugInFile("Kit.rsrc", Identity(6) + Bundle("Kit", 20001, 401, {"K"}), 1);
    std::vector<std::string> passed = {PlugInFile("Second copy.rsrc", Identity(6) + Bundle("Good", 20002, 402, {"B"})),
                                       PlugInFile("Bad table.rsrc", Identity(6) + std::vector<Res>{{"QBNX", 20003, {0, 9}, "T"}})};
    std::vector<uint8_t> bytes;
    ASSERT_EQ(platform::ReadWholeFile(good, &bytes), platform::noErr);
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> damaged = {
        {"Cut.rsrc", std::vector<uint8_t>(bytes.begin(), bytes.end() - 10)},
        {"Noise.rsrc", {0x13, 0x57, 0x9B, 0xDF, 0x02, 0x46}},
        {"Empty.rsrc", {}},
    };
    for (const auto& [name, content] : damaged) {
        passed.push_back((Plugins() / name).string());
        std::ofstream(passed.back(), std::ios::binary).write(reinterpret_cast<const char*>(content.data()), content.size());
    }
    fs::create_directories(Plugins(2) / "Empty.plugin" / "Contents");
    passed.push_back((Plugins(2) / "Empty.plugin").string());
    fs::create_symlink(Folder() / "missing", Plugins(2) / "broken");
    passed.push_back((Plugins(2) / "broken").string());
    std::ofstream(Plugins() / ".hidden") << "the system's";

    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Good", "_Kit", "_Other"}));
    EXPECT_EQ(Routines("_Other"), std::vector<std::string>{"2:C"});
    ResetAlerts();
    const std::vector<std::string> texts = TellUnreadPlugIns();
    EXPECT_EQ(AlertCount(), int32_t(texts.size()));
    std::string said;
    for (const std::string& text : texts) {
        EXPECT_LE(text.size(), 255u);
        said += text;
    }
    // Each by its name after its folder's, a deep folder cut from its start
    // at a separator; the folders in the order met.
    for (const std::string& path : passed) {
        const size_t slash = path.rfind('/');
        const std::string whole = path.substr(0, slash);
        size_t folder = said.find(whole + ": ");
        for (size_t cut = whole.find('/', 1); folder == std::string::npos && cut != std::string::npos;
             cut = whole.find('/', cut + 1))
            folder = said.find("\xC9" + whole.substr(cut) + ": ");
        EXPECT_NE(folder, std::string::npos) << path << ": " << said;
        EXPECT_NE(said.find("\"" + path.substr(slash + 1) + "\"", folder), std::string::npos) << path << ": " << said;
    }
    // The routine after its plug-in's name (the words around it are the
    // application's, none here).
    const size_t routine = said.find("\"Other tools.rsrc\"A");
    ASSERT_NE(routine, std::string::npos) << said;
    EXPECT_NE(std::string(",.").find(said.at(routine + 19)), std::string::npos) << said;
    for (const std::string& quiet : {std::string("\"Good.rsrc\""), std::string("Kit"), std::string(".hidden")})
        EXPECT_EQ(said.find(quiet), std::string::npos) << quiet << ": " << said;
    // Another read of the same folders names nothing again.
    FreshLists();
    ASSERT_EQ(ReadPlugInPackages(&doc_), 0);
    EXPECT_EQ(Packages(), (std::vector<std::string>{"_Good", "_Kit", "_Other"}));
    EXPECT_TRUE(TellUnreadPlugIns().empty());
    EXPECT_EQ(AlertCount(), int32_t(texts.size()));
}

TEST_F(PlugInDiscovery, ReadingStopsForAStop)
{
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("W", 20000, 400, {"A", "B"}));
    WaitParamRec wait;
    wait.cancelled = 1;
    G_WaitParam = &wait;
    EXPECT_EQ(ReadPlugInPackages(&doc_), 1001);
    EXPECT_EQ(ReadPlugInRoutines(&doc_), 1001);
    G_WaitParam = nullptr;
    EXPECT_EQ(PackageObj("_W"), nullptr);
}

// Every allocation failing in turn, the platform's and the standard
// library's (thrown out; the read's entry answers it with -108), in every
// step of the read: the companions' packages, lists and routines, named and
// unnamed bundles with their themes, a bundle folder, a link, the folder
// listings. Each read answers -108 or is whole (memory running out is
// never taken for a missing plug-in), and once the objects are gone no
// file is left open.
TEST_F(PlugInDiscovery, AShortageStopsTheReadOrLeavesItWhole)
{
    Companion({{"QzPX", 15010, {0, 0}, "Invoicing"},
               {"QBNX", 15010, Table({{"STR#", 1, 300}})},
               {"STR#", 300, Strings({"Format(&R):S", "Total:R"})},
               {"QzEX", 5, {0, 0}, "Print_Label(&S)"}});
    PlugInFile("Tools.rsrc", Identity(6) + Bundle("W", 20000, 400, {"A", "B"}) + Bundle("", 20001, 401, {"C"}) +
                                 std::vector<Res>{{"THM#", 20001, {0, 0}, "Themed"}} + Bundle("", 20002, 402, {"D"}) +
                                 std::vector<Res>{{"THM#", 20002, {0, 1, 4, 'F', 'i', 'r', 's'}}});
    const fs::path kit = Plugins(1) / "Kit.plugin" / "Contents" / "Resources";
    fs::create_directories(kit);
    restest::WriteResFile((kit / "Kit.rsrc").string(), Identity(6) + Bundle("Kit", 20003, 403, {"K"}));
    restest::WriteResFile((Folder() / "elsewhere.rsrc").string(), Identity(6) + Bundle("Linked", 20004, 404, {"L"}));
    fs::create_symlink(Folder() / "elsewhere.rsrc", Plugins(2) / "alias");
    const auto read = [&](bool routines) { return routines ? ReadPlugInRoutines(&doc_) : ReadPlugInPackages(&doc_); };
    const auto seen = [&] {
        std::string out;
        for (const std::string& package : Packages()) {
            out += package + "(";
            for (const std::string& routine : Routines(package)) out += routine + " ";
            out += ") ";
        }
        for (int32_t i = 0; List(8) && i < List(8)->Size(); ++i) out += std::to_string(List(8)->At(i)->id) + ":" + P(List(8)->At(i)->name) + " ";
        return out;
    };
    const std::string whole[2] = {"_Firs(1:D ) _Invoicing(1:Format 2:Total ) _Kit(1:K ) _Linked(1:L ) _Themed(1:C ) _W(1:A 2:B ) ",
                                  "5:Print_Label "};
    const int32_t before = platform::CountOpenResFiles();
    for (const bool routines : {false, true}) {
        ASSERT_EQ(read(routines), 0);
        ASSERT_EQ(seen(), whole[routines]);
        FreshLists();
        for (const bool standard : {false, true}) {
            int stopped = 0;
            for (int32_t after = 0;; ++after) {
                ASSERT_LT(after, 100000);
                const std::string at = std::to_string(routines) + std::to_string(standard) + " " + std::to_string(after);
                standard ? testfaults::FailNthNew(after) : platform::InjectFault(platform::FaultKind::Allocation, after);
                int16_t result = 0;
                try {
                    result = read(routines);
                } catch (const std::bad_alloc&) {
                    result = -108;
                }
                const bool fired = standard ? !testfaults::NewFailurePending() : !platform::IsFaultArmed(platform::FaultKind::Allocation);
                testfaults::StopFailingNew();
                platform::ClearAllFaults();
                if (result == -108) {
                    EXPECT_TRUE(fired) << at;
                    ++stopped;
                } else {
                    EXPECT_EQ(result, 0) << at;
                    EXPECT_EQ(seen(), whole[routines]) << at;
                }
                FreshLists();
                EXPECT_EQ(platform::CountOpenResFiles(), before) << at;
                if (!fired) break;
            }
            EXPECT_GT(stopped, 0) << routines << standard;
        }
    }
}

}  // namespace
}  // namespace designtest
