// A component project generated into a real library file, the library
// installed into another structure through the command (its file dialog
// answered), updated by a newer version, refused, and uninstalled: each
// step checked in the documents' lists and stores, a refusal by the
// destination's bytes.
#include <filesystem>
#include <set>

#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/reading/ModuleManager.h"
#include "platform/core/Faults.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "resources/Companion.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "tests/transfer/ComponentFixture.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/components/Generate.h"
#include "transfer/components/Install.h"
#include "transfer/components/NewComponent.h"

namespace transfertest {
namespace {

namespace fs = std::filesystem;

// The project Tools renames its private objects with "tl".
constexpr const char* kProject = R"(structure Shop date 2024-03-01 seed 7
table Stock
  field Item alpha 20
method Print_Invoice id 31
  call Helper ( "x" )
method Layout id 32
  comment "lays out"
method Helper id 33
  comment "helps"
  local Step op 7 int32 1
component Tools id 20 number 1 prefix "tl" comments "Tools" rename
  public
    method Print_Invoice
  protected
    method Layout
  private
    method Helper
)";

constexpr const char* kTarget = R"(structure Target date 2024-03-01 seed 9
table Orders
  field Number longint
method Own id 40
  comment "the target's own"
)";

class ComponentLifecycle : public ComponentFixture {
protected:
    void SetUp() override
    {
        ComponentFixture::SetUp();
        // New libraries store their first preferences through it.
        InstallKernelStoreAccess();
        BuildPair(Project(), kTarget);
        tools_ = Component(&doc_, "Tools");
        ASSERT_NE(tools_, nullptr);
        folder_ = fs::path(src_.dataPath).parent_path();
    }
    void TearDown() override
    {
        platform::ClearFileDialogAnswers();
        platform::ClearAllFaults();
        ComponentFixture::TearDown();
    }

    virtual const char* Project() const { return kProject; }
    // The copy of a component and its folders comes from the group movers;
    // without them nothing is generated or installed.
    static bool CopiesComponents() { return CurrentTransferHooks().moveGroup != nullptr; }
    // The names in the preferences folder, where libraries are made.
    static std::set<std::string> WorkingFiles()
    {
        platform::FSSpec folder;
        std::set<std::string> names;
        if (platform::FindSpecialFolder(platform::SpecialFolder::Preferences, true, &folder) != 0) return names;
        for (const auto& e : fs::directory_iterator(folder.path)) names.insert(e.path().filename().string());
        return names;
    }
    // A built library under a name the install's file dialog offers.
    std::string AsComponentFile(const docbuilder::BuildResult& built, const std::string& stem)
    {
        const std::string path = (folder_ / (stem + ".QCP")).string();
        platform::FSSpec companion;
        EXPECT_TRUE(CompanionSpec(platform::FSSpec{path}, &companion));
        // Renamed, not copied: two data files beside one companion are
        // no document.
        fs::rename(built.dataPath, path);
        if (!fs::equivalent(built.companionPath, companion.path))
            fs::copy_file(built.companionPath, companion.path, fs::copy_options::overwrite_existing);
        return path;
    }
    // Generates version `number` of Tools, saved under its proposed name.
    std::string Generate(uint32_t number)
    {
        tools_->SetVersionNb(number);
        const std::string path = (folder_ / ("Tools-" + std::to_string(number) + ".QCP")).string();
        platform::PushFileDialogAnswer(path);
        platform::PushDialogAnswer(1);  // the note of the first generation
        EXPECT_EQ(transfer::GenerateComponent(&doc_, tools_), 0);
        platform::ClearDialogAnswers();
        return path;
    }
    // The library read as the install reads it.
    TLibDoc* OpenLibrary(const std::string& path)
    {
        auto* library = new TLibDoc;
        unsigned char name[256];
        apptest::ToP(fs::path(path).filename().string(), name);
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        EXPECT_EQ(library->InitDocument(name, MyAppl), 0);
        EXPECT_EQ(library->TDocument::Read(fileSpec, false, true), 0);
        EXPECT_EQ(library->OpenFile(fileSpec), 0);
        EXPECT_EQ(library->ReadFile(true), 0);
        return library;
    }
    int16_t Install(const std::string& path, std::initializer_list<int16_t> answers = {})
    {
        platform::FileDialogAnswer file;
        file.kind = path.empty() ? platform::FileDialogAnswer::Kind::Cancel : platform::FileDialogAnswer::Kind::Path;
        file.path = path;
        platform::PushFileDialogAnswer(file);
        for (int16_t a : answers) platform::PushDialogAnswer(a);
        platform::PushDialogAnswer(1);  // the structure brought to the current format
        ResetAlerts();
        const int16_t result = transfer::M_Install(&dest_);
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        return result;
    }
    // What the open destination says: every listed object by kind, the
    // components' folders with their members, the records the module
    // manager holds, and the contents of every resource of its store
    // (enciphered ones deciphered).
    std::vector<std::string> DestReading()
    {
        std::vector<std::string> out;
        for (int16_t kind = 1; kind <= 23; ++kind) {
            ObjListHdl list = dest_.fTypeList ? GetObjListe(dest_.fTypeList, kind) : nullptr;
            for (int32_t i = 0; list && i < list->Size(); ++i) {
                TObjQz* obj = list->At(i);
                std::string line = std::to_string(obj->kind) + ":" + readtest::P(obj->name);
                if (auto* c = dynamic_cast<TModuleObjQz*>(obj); c && obj->kind == 32)
                    for (TGroupObjQz* folder : {c->publicFolder, c->protectedFolder, c->privateFolder})
                        for (const std::string& m : Members(folder)) line += " " + m;
                out.push_back(line);
            }
        }
        out.push_back("records " + std::to_string(dest_.fModuleManager ? dest_.fModuleManager->CountModules() : -1));
        for (const std::string& line : StoreLines(&dest_)) out.push_back(line);
        return out;
    }
    std::string Item(int16_t list, int16_t item)
    {
        unsigned char text[256];
        MyGetIndString(text, list, item);
        return readtest::P(text);
    }

    TModuleObjQz* tools_ = nullptr;
    fs::path folder_;
};

TEST_F(ComponentLifecycle, TheLibraryHoldsOneComponentItsRecordAndItsMarkAndHidesItsPrivateNames)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    const std::string path = Generate(1);
    ASSERT_TRUE(fs::exists(path));
    TLibDoc* library = OpenLibrary(path);
    ObjListHdl groups = GetObjListe(library->fTypeList, 32);
    int32_t components = 0;
    for (int32_t i = 0; groups && i < groups->Size(); ++i) components += groups->At(i)->kind == 32;
    EXPECT_EQ(components, 1);
    TModuleObjQz* copy = Component(library, "Tools");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(StoreRes(library, FourCC("xmd@"), 1), Bytes(4, 0));
    EXPECT_FALSE(StoreRes(library, FourCC("MODQ"), copy->id).empty());
    EXPECT_NE(In(library, 2, "Print_Invoice"), nullptr);
    EXPECT_NE(In(library, 2, "Layout"), nullptr);
    EXPECT_EQ(In(library, 2, "Helper"), nullptr);
    // The private method: its first letter, the prefix, an eight-letter
    // code; its local, a member beside it, keeps its name.
    const std::vector<std::string> hidden = Members(copy->privateFolder);
    ASSERT_EQ(hidden.size(), 2u);
    EXPECT_EQ(hidden[0].substr(0, 3), "Htl");
    EXPECT_EQ(hidden[0].size(), 11u);
    EXPECT_EQ(hidden[1], "$Step");
    EXPECT_EQ(CallsOf(library, In(library, 2, "Print_Invoice")->id), std::vector<std::string>{hidden[0]});
    // The record's states: 1 public, 2 protected, 3 private.
    ASSERT_NE(library->fModuleManager, nullptr);
    const struct {
        TObjQz* member;
        int16_t state;
    } states[] = {{In(library, 2, "Print_Invoice"), 1}, {In(library, 2, "Layout"), 2}, {In(library, 2, hidden[0]), 3}};
    for (const auto& c : states) {
        ASSERT_NE(c.member, nullptr) << c.state;
        EXPECT_EQ(library->fModuleManager->GetObjState(c.member->GetOwnResType(), c.member->id), c.state);
    }
    library->Dispose();
    // The project keeps its own names.
    EXPECT_NE(Src(2, "Helper"), nullptr);
}

TEST_F(ComponentLifecycle, TheLibraryIsNamedByNameVersionAndNumber)
{
    const struct {
        const char *name, *version;
        uint32_t number;
        const char* library;
    } cases[] = {
        {"Tools", "", 1, "Tools-1"},
        {"Tools", "1.0", 1, "Tools 1.0-1"},
        {"Tools", "2.1", 4000000, "Tools 2.1-4000000"},
        {"In/Out", "1/2", 3, "In-Out 1-2-3"},
    };
    for (const auto& c : cases) {
        unsigned char text[256];
        apptest::ToP(c.name, tools_->name);
        apptest::ToP(c.version, text);
        tools_->SetVersion(text);
        tools_->SetVersionNb(c.number);
        transfer::LibraryName(tools_, text);
        EXPECT_EQ(readtest::P(text), c.library) << c.name << " " << c.version;
    }
}

// Each failing write of a generation in turn (and a copy that made no
// component): an error, and no working file left behind. At the chosen name
// there is no library while a write of its own fails; once they all
// succeeded (only the project's commit failed after them) it is whole.
TEST_F(ComponentLifecycle, AFailedGenerationLeavesNoLibraryOrAWholeOne)
{
    const std::string path = (folder_ / "Tools-1.QCP").string();
    const std::set<std::string> working = WorkingFiles();
    const auto expectWhole = [&](int32_t after) {
        TLibDoc* library = OpenLibrary(path);
        EXPECT_NE(Component(library, "Tools"), nullptr) << after;
        EXPECT_EQ(StoreRes(library, FourCC("xmd@"), 1), Bytes(4, 0)) << after;
        library->Dispose();
        fs::remove(path);
    };
    int32_t failed = 0;
    bool landed = false;
    for (int32_t after = 0; after < 400; ++after) {
        platform::PushFileDialogAnswer(path);
        platform::PushDialogAnswer(1);
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        const int16_t result = transfer::GenerateComponent(&doc_, tools_);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        EXPECT_EQ(WorkingFiles(), working) << after;
        if (result == 0) {
            // A write whose failure the library does not need: it is whole.
            EXPECT_TRUE(CopiesComponents());
            expectWhole(after);
            if (!fired) break;
            continue;
        }
        ++failed;
        landed = landed || fs::exists(path);
        EXPECT_EQ(fs::exists(path), landed) << after;
        if (landed) expectWhole(after);
        if (!fired) {
            EXPECT_EQ(result, kResourceMissing);
            EXPECT_FALSE(CopiesComponents());
            break;
        }
    }
    EXPECT_GE(failed, 1);
}

// A library must hold exactly one component; a cancelled file dialog
// installs nothing. The update mode is 4 again, the structure as before.
TEST_F(ComponentLifecycle, AnInstallFromALibraryWithoutExactlyOneComponentIsRefused)
{
    const auto none = Build("library Empty date 2024-03-01\nmethod Alone id 50\n  comment \"x\"\n");
    const auto two = Build(R"(library Two date 2024-03-01
method First id 50
  comment "x"
method Second id 51
  comment "y"
component One id 20 number 1 installed
  public
    method First
component Other id 21 number 1 installed
  public
    method Second
)");
    CloseDest();
    const auto before = DestFiles();
    const struct {
        const char* what;
        std::string library;
        int16_t item;  // of STR# 1002; 0 for none
    } cases[] = {
        {"no component", AsComponentFile(none, "Empty"), 71},
        {"two components", AsComponentFile(two, "Two"), 71},
        {"the dialog cancelled", "", 0},
    };
    for (const auto& c : cases) {
        OpenDest();
        G_ModuleUpdate = 4;
        EXPECT_EQ(Install(c.library), kCancelledByUser) << c.what;
        EXPECT_EQ(G_ModuleUpdate, 4) << c.what;
        EXPECT_EQ(AlertCount(), c.item ? 1 : 0) << c.what;
        if (c.item) {
            EXPECT_EQ(LastAlert().text, Item(1002, c.item)) << c.what;
        }
        EXPECT_EQ(Component(&dest_, "One"), nullptr) << c.what;
        CloseDest();
        EXPECT_EQ(DestFiles(), before) << c.what;
    }
    OpenDest();
}

TEST_F(ComponentLifecycle, AGeneratedLibraryIsOfferedByTheFileFilter)
{
    const struct {
        const char* name;
        platform::OSType type;
        bool folder, offered;
    } cases[] = {
        {"Tools-1.QCP", 0, false, true},    {"Tools", FourCC("QzMO"), false, true},
        {"Tools-1.QCP", 0, true, false},    {"Tools-1.QTL", 0, false, false},  {"Tools.QCPx", 0, false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(transfer::IsComponentFile(c.name, c.type, c.folder), c.offered) << c.name << " " << c.folder;
}

TEST_F(ComponentLifecycle, AnInstallAttachesTheFoldersWritesTheRecordsAndTheUninstallTakesThemAway)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    const std::string path = Generate(1);
    EXPECT_EQ(Install(path), 0);
    EXPECT_EQ(G_ModuleUpdate, 4);
    TModuleObjQz* installed = Component(&dest_, "Tools");
    ASSERT_NE(installed, nullptr);
    EXPECT_TRUE(installed->IsModule());
    EXPECT_FALSE(installed->IsModuleProject());
    EXPECT_EQ(Members(installed->publicFolder), std::vector<std::string>{"Print_Invoice"});
    EXPECT_EQ(Members(installed->protectedFolder), std::vector<std::string>{"Layout"});
    EXPECT_EQ(Dst(2, "Helper"), nullptr);
    for (uint32_t type : {FourCC("MODQ"), FourCC("MAPQ")}) EXPECT_TRUE(StoreHas(&dest_, type, installed->id)) << std::hex << type;
    ReopenDest();
    installed = Component(&dest_, "Tools");
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(dest_.fModuleManager->CountModules(), 1);
    // The install's start and end, stored with the properties.
    EXPECT_NE(installed->extra1, 0u);
    EXPECT_GE(installed->extra2, installed->extra1);
    const int16_t id = installed->id;
    TObjQz* rows[] = {installed};
    platform::PushDialogAnswer(1);
    EXPECT_EQ(transfer::UninstallComponents(&dest_, rows, 1), 0);
    EXPECT_EQ(Component(&dest_, "Tools"), nullptr);
    for (const char* gone : {"Print_Invoice", "Layout"}) EXPECT_EQ(Dst(2, gone), nullptr) << gone;
    EXPECT_NE(Dst(2, "Own"), nullptr);
    EXPECT_FALSE(StoreHas(&dest_, FourCC("MODQ"), id));
    ReopenDest();
    EXPECT_EQ(Component(&dest_, "Tools"), nullptr);
    EXPECT_EQ(dest_.fModuleManager->CountModules(), 0);
}

// Each refusal or declined question: the command answers a cancel, the
// update mode is back at 4 and the destination's files are as before.
TEST_F(ComponentLifecycle, ARefusedInstallLeavesTheDestinationByteIdentical)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    const std::string v1 = Generate(1), v2 = Generate(2);
    ASSERT_EQ(Install(v2), 0);
    CloseDest();
    const auto before = DestFiles();
    const struct {
        const char* what;
        std::string library;
        std::initializer_list<int16_t> answers;
        int16_t item;  // of STR# 1002; 0: a question declined
    } cases[] = {
        {"an older version", v1, {}, 54},
        {"the same version, declined", v2, {2}, 0},
        {"the file dialog cancelled", "", {}, 0},
    };
    for (const auto& c : cases) {
        OpenDest();
        EXPECT_EQ(Install(c.library, c.answers), kCancelledByUser) << c.what;
        EXPECT_EQ(G_ModuleUpdate, 4) << c.what;
        if (c.item) {
            EXPECT_EQ(LastAlert().text, Item(1002, c.item)) << c.what;
        }
        ASSERT_NE(Component(&dest_, "Tools"), nullptr) << c.what;
        EXPECT_EQ(Component(&dest_, "Tools")->GetVersionNb(), 2u) << c.what;
        CloseDest();
        EXPECT_EQ(DestFiles(), before) << c.what;
    }
    OpenDest();
}

TEST_F(ComponentLifecycle, AProjectOrADifferentRenameFlagRefusesTheInstall)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    const std::string v1 = Generate(1);
    const struct {
        const char* what;
        std::string target;
        int16_t item;
    } cases[] = {
        {"a project of that name", std::string(kTarget) + "component Tools id 30\n", 73},
        {"an installed one renaming otherwise", std::string(kTarget) + "component Tools id 30 number 1 installed keepnames\n", 74},
    };
    for (const auto& c : cases) {
        CloseDest();
        dst_ = Build(c.target);
        OpenDest();
        CloseDest();
        const auto before = DestFiles();
        OpenDest();
        EXPECT_EQ(Install(v1), kCancelledByUser) << c.what;
        EXPECT_EQ(LastAlert().text, Item(1002, c.item)) << c.what;
        EXPECT_EQ(G_ModuleUpdate, 4) << c.what;
        CloseDest();
        EXPECT_EQ(DestFiles(), before) << c.what;
        OpenDest();
    }
}

// A newer version replaces the installed one: the members it no longer
// has leave, the others are replaced, one record stays.
TEST_F(ComponentLifecycle, ANewerVersionReplacesTheInstalledOne)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    ASSERT_EQ(Install(Generate(1)), 0);
    // Version 2 no longer has Layout.
    ASSERT_EQ(Src(2, "Layout")->DelGroup(false, false), 0);
    ASSERT_EQ(Install(Generate(2), {1}), 0);
    EXPECT_EQ(G_ModuleUpdate, 4);
    // The question names both versions; an empty version text adds no
    // label and no doubled blank.
    ASSERT_EQ(AlertCount(), 1);
    const std::string asked = LastAlert().text;
    EXPECT_EQ(asked.rfind(Item(1029, 15) + "Tools" + Item(1029, 17), 0), 0u) << asked;
    EXPECT_EQ(asked.find(Item(1029, 18)), std::string::npos) << asked;
    EXPECT_EQ(asked.find("  "), std::string::npos) << asked;
    EXPECT_NE(asked.find(Item(1029, 19) + "1" + Item(1002, 56) + Item(1029, 16) + "Tools"), std::string::npos) << asked;
    EXPECT_EQ(asked.substr(asked.size() - Item(1029, 19).size() - 1 - Item(1024, 5).size()),
              Item(1029, 19) + "2" + Item(1024, 5));
    TModuleObjQz* installed = Component(&dest_, "Tools");
    ASSERT_NE(installed, nullptr);
    EXPECT_EQ(installed->GetVersionNb(), 2u);
    EXPECT_EQ(Members(installed->publicFolder), std::vector<std::string>{"Print_Invoice"});
    EXPECT_TRUE(Members(installed->protectedFolder).empty());
    EXPECT_EQ(Dst(2, "Layout"), nullptr);
    EXPECT_NE(Dst(2, "Own"), nullptr);
    ReopenDest();
    EXPECT_EQ(dest_.fModuleManager->CountModules(), 1);
    EXPECT_EQ(Component(&dest_, "Tools")->GetVersionNb(), 2u);
}

// Every failing write of an install in turn, a first one and an update:
// the structure's files stay byte for byte as they were (its format too,
// so that a first install asks about the format again) and the open
// structure reads as before, an older version whole with its record.
TEST_F(ComponentLifecycle, AFailingInstallLeavesTheStructureAsItWas)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    const std::string v1 = Generate(1), v2 = Generate(2);
    for (const bool update : {false, true}) {
        if (update) {
            OpenDest();
            ASSERT_EQ(Install(v1), 0);
        }
        const std::string& library = update ? v2 : v1;
        ReopenDest();
        const std::vector<std::string> reading = DestReading();
        CloseDest();
        const auto before = DestFiles();
        int32_t failed = 0;
        for (int32_t after = 0; after < 200; ++after) {
            OpenDest();
            platform::PushFileDialogAnswer(library);
            platform::PushDialogAnswer(1);
            ResetAlerts();
            platform::InjectFault(platform::FaultKind::DiskFull, after);
            const int16_t result = transfer::M_Install(&dest_);
            const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
            platform::ClearFault(platform::FaultKind::DiskFull);
            platform::ClearDialogAnswers();
            platform::ClearFileDialogAnswers();
            EXPECT_EQ(G_ModuleUpdate, 4) << update << " " << after;
            if (result == 0) {
                // Whole, where a failed write changed nothing the install needs.
                ASSERT_NE(Component(&dest_, "Tools"), nullptr) << update << " " << after;
                EXPECT_EQ(Component(&dest_, "Tools")->GetVersionNb(), update ? 2u : 1u) << after;
                CloseDest();
                const Bytes data = DestFiles().first;
                EXPECT_EQ(std::string(data.begin(), data.begin() + 4), "DDUY") << after;
                RestoreDest(before);
                if (!fired) break;
                continue;
            }
            ASSERT_TRUE(fired) << update << " " << result;
            ++failed;
            EXPECT_EQ(DestReading(), reading) << update << " " << after;
            if (!update) {
                TLibDoc* again = OpenLibrary(library);
                TModuleObjQz *component = nullptr, *installed = nullptr;
                ResetAlerts();
                platform::PushDialogAnswer(2);
                EXPECT_EQ(transfer::PlanInstall(&dest_, again, &component, &installed), transfer::InstallPlan::Declined)
                    << after;
                EXPECT_EQ(LastAlert().text, Item(1002, 76)) << after;
                platform::ClearDialogAnswers();
                again->Dispose();
            }
            CloseDest();
            EXPECT_EQ(DestFiles(), before) << update << " " << after;
            if (update) {
                OpenDest();
                TModuleObjQz* installed = Component(&dest_, "Tools");
                ASSERT_NE(installed, nullptr) << after;
                EXPECT_EQ(installed->GetVersionNb(), 1u) << after;
                EXPECT_EQ(Members(installed->protectedFolder), std::vector<std::string>{"Layout"}) << after;
                CloseDest();
            }
            RestoreDest(before);
        }
        EXPECT_GE(failed, 4) << update;
    }
    OpenDest();
}


// Tools with a table and its form among its protected members.
constexpr const char* kProjectWithTable = R"(structure Shop date 2024-03-01 seed 7
table Stock
  field Item alpha 20
table Ledger
  field Amount real
  form Entry iff
    field Amount
    method
      comment "enters"
method Print_Invoice id 31
  call Helper ( "x" )
method Layout id 32
  comment "lays out"
method Helper id 33
  comment "helps"
component Tools id 20 number 1 prefix "tl" comments "Tools" rename
  public
    method Print_Invoice
  protected
    method Layout
    table Ledger
    form Ledger.Entry
  private
    method Helper
)";

class ComponentTableLifecycle : public ComponentLifecycle {
protected:
    const char* Project() const override { return kProjectWithTable; }
};

// A table the newer version no longer holds stays in the structure as a
// deleted table, with its records; the method it dropped goes, and so does
// the table's form, with the table.
TEST_F(ComponentTableLifecycle, AnUpdateKeepsADroppedTableAsADeletedTable)
{
    if (!CopiesComponents()) GTEST_SKIP() << "no mover copies components here";
    ASSERT_EQ(Install(Generate(1)), 0);
    ASSERT_NE(Dst(1, "Ledger"), nullptr);
    const int32_t tables = GetObjListe(dest_.fTypeList, 1)->Size();
    ASSERT_EQ(static_cast<TFileObjQz*>(Src(1, "Ledger"))->forms->At(0)->DelGroup(false, false), 0);
    ASSERT_EQ(Src(1, "Ledger")->DelGroup(false, false), 0);
    ASSERT_EQ(Src(2, "Layout")->DelGroup(false, false), 0);
    ASSERT_EQ(Install(Generate(2), {1}), 0);
    EXPECT_EQ(Dst(1, "Ledger"), nullptr);
    EXPECT_NE(Dst(1, "Deleted_Table"), nullptr);
    EXPECT_EQ(Dst(2, "Layout"), nullptr);
    EXPECT_EQ(GetObjListe(dest_.fTypeList, 1)->Size(), tables);
    ReopenDest();
    EXPECT_NE(Dst(1, "Deleted_Table"), nullptr);
    EXPECT_EQ(Component(&dest_, "Tools")->GetVersionNb(), 2u);
}

}  // namespace
}  // namespace transfertest
