// The component commands on structures built for them: new projects with
// their folders (empty or made of the selection), the default name, the
// resource limit and a commit that fails; deleting a project; uninstalling
// an installed component; the install rules over a conflict list.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/dialogs/Messages.h"
#include "design/objects/VarObjQz.h"
#include "design/reading/ModuleManager.h"
#include "platform/core/Faults.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "tests/transfer/ComponentFixture.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/components/InstallRules.h"
#include "transfer/components/NewComponent.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

using platform::FourCC;

// A project Reports: Print_Invoice calls Helper (in the group Misc) and
// uses the table Invoices and the variable vTotal.
constexpr const char* kShop = R"(structure Shop date 2024-03-01 seed 7
table Invoices
  field Number longint
method Print_Invoice id 31
  call Helper ( "x" ) ; var vTotal op 7 long 1 ; kw 14 field Invoices.Number
method Helper id 32
  comment "helps"
method Loose id 33
  comment "alone"
group Misc
  method Helper
component Billing id 20 version "1.0" prefix "rp"
  public
    method Loose
)";

// An installed component with a table, a method in each folder and a
// renumbered picture in its id map.
constexpr const char* kInstalled = R"(structure Host date 2024-03-01 seed 9
picture Seal id 15000 size 8 8
table Ledger
  field Amount real
method Outside id 40
  call Report_Header
method Report_Header id 41
  call Report_Totals
method Report_Totals id 42
  call Report_Core
method Report_Core id 43
  comment "core"
component Reports id 21 version "2.1" number 201 installed
  public
    method Report_Header
  protected
    method Report_Totals
    table Ledger
  private
    method Report_Core
  map PICT 128 15000
)";

class Components : public ComponentFixture {
protected:
    browser::ModuleStruct Record(const std::string& name, bool empty)
    {
        browser::ModuleStruct r;
        apptest::ToP(name, r.name);
        apptest::ToP("1/3/2024", r.date);
        apptest::ToP("2.0", r.version);
        apptest::ToP("rp", r.prefix);
        apptest::ToP("Reporting", r.comments);
        r.versionNb = 3;
        r.doc = &doc_;
        r.emptyComponent = empty;
        return r;
    }
    std::string DefaultName()
    {
        unsigned char name[256];
        transfer::DefaultComponentName(&doc_, name);
        return readtest::P(name);
    }
};

TEST_F(Components, TheFirstFreeNameIsProposed)
{
    OpenOne(kShop);
    EXPECT_EQ(DefaultName(), "Component");
    const struct {
        std::string made, next;
    } steps[] = {{"Component", "Component_1"}, {"Component_2", "Component_1"}, {"Component_1", "Component_3"}};
    for (const auto& s : steps) {
        TModuleObjQz* made = nullptr;
        ASSERT_EQ(transfer::NewComponent(&doc_, Record(s.made, true), {}, &made), 0);
        EXPECT_EQ(DefaultName(), s.next) << s.made;
    }
}

TEST_F(Components, AnEmptyComponentHasItsThreeFoldersAndItsProperties)
{
    OpenOne(kShop);
    TModuleObjQz* made = nullptr;
    ASSERT_EQ(transfer::NewComponent(&doc_, Record("Tools", true), {}, &made), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Members(made), (std::vector<std::string>{"Private", "Protected", "Public"}));
    EXPECT_EQ(readtest::P(made->publicFolder->name), "Public");
    EXPECT_EQ(readtest::P(made->privateFolder->name), "Private");
    // What was written reads back.
    const int16_t id = made->id;
    Reopen(src_);
    ASSERT_EQ(Read(), 0);
    TModuleObjQz* read = Component(&doc_, "Tools");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->id, id);
    unsigned char text[256];
    read->GetPrefix(text);
    EXPECT_EQ(readtest::P(text), "rp");
    read->GetVersion(text);
    EXPECT_EQ(readtest::P(text), "2.0");
    EXPECT_EQ(read->GetVersionNb(), 3u);
    EXPECT_EQ(read->prefixSet, 1);
    ASSERT_NE(read->protectedFolder, nullptr);
    EXPECT_EQ(readtest::P(read->protectedFolder->name), "Protected");
}

TEST_F(Components, TheSelectionGoesToTheProtectedFolderAndWhatItUsesToThePrivateOne)
{
    OpenOne(kShop);
    TObjQz* print = Src(2, "Print_Invoice");
    TModuleObjQz* made = nullptr;
    ASSERT_EQ(transfer::NewComponent(&doc_, Record("Tools", false), {print}, &made), 0);
    // The variable joined its user's folder; the table is reached through
    // its field only, which brings nothing along.
    EXPECT_EQ(Members(made->protectedFolder), (std::vector<std::string>{"Print_Invoice", "vTotal"}));
    // Helper left the group Misc.
    EXPECT_EQ(Members(made->privateFolder), (std::vector<std::string>{"Helper"}));
    EXPECT_EQ(Members(In(&doc_, 23, "Misc")), std::vector<std::string>{});
    EXPECT_EQ(Src(9, "vTotal")->parent, made->protectedFolder);
}

// Every write failing in turn, the last ones once the component and its
// folders are made: nothing of it stays, on disk or in memory.
TEST_F(Components, ACommitThatFailsLeavesNoComponentOnDiskOrInMemory)
{
    OpenOne(kShop);
    CloseDoc();
    const Bytes before = FileBytes(src_.dataPath), companion = FileBytes(src_.companionPath);
    int32_t failed = 0;
    for (int32_t after = 0; after < 50; ++after) {
        Reopen(src_);
        ASSERT_EQ(Read(), 0);
        TModuleObjQz* made = nullptr;
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        const int16_t err = transfer::NewComponent(&doc_, Record("Tools", false), {Src(2, "Print_Invoice")}, &made);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearAllFaults();
        if (err == 0) {
            EXPECT_NE(made, nullptr);
            CloseDoc();
            for (const auto& [path, bytes] : {std::pair{src_.dataPath, before}, {src_.companionPath, companion}})
                ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), 0);
            if (!fired) break;
            continue;
        }
        ++failed;
        EXPECT_EQ(made, nullptr) << after;
        EXPECT_EQ(Component(&doc_, "Tools"), nullptr) << after;
        EXPECT_EQ(In(&doc_, 33, "Public"), nullptr) << after;
        EXPECT_EQ(Members(In(&doc_, 23, "Misc")), (std::vector<std::string>{"Helper"})) << after;
        EXPECT_EQ(Src(2, "Helper")->parent, In(&doc_, 23, "Misc")) << after;
        CloseDoc();
        EXPECT_EQ(FileBytes(src_.dataPath), before) << after;
        EXPECT_EQ(FileBytes(src_.companionPath), companion) << after;
    }
    EXPECT_GE(failed, 2);
}

TEST_F(Components, PastTwoThousandFiveHundredResourcesNoComponentIsMade)
{
    OpenOne(kShop);
    for (const auto& [total, refused] : {std::pair{2500, false}, std::pair{2501, true}}) {
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(doc_.fRsrFile);
        for (int32_t n = CountTotResources(doc_.fRsrFile); n < total; ++n)
            platform::AddResource(platform::NewHandle(2), FourCC("FILL"), int16_t(20000 + n), nullptr);
        platform::UseResFile(saved);
        ResetAlerts();
        platform::PushDialogAnswer(2);  // the dialog, when it opens, cancelled
        TObjQz* made = nullptr;
        EXPECT_EQ(transfer::M_New(&doc_, nullptr, 0, false, &made), 0);
        platform::ClearDialogAnswers();
        unsigned char text[256];
        ErrorMessage(transfer::kTooManyResources, text);
        EXPECT_EQ(AlertCount(), refused ? 1 : 0) << total;
        if (refused) {
            EXPECT_EQ(LastAlert().text, readtest::P(text));
        }
    }
}

TEST_F(Components, DeletingAProjectKeepsItsMembersAndTakesItsRecordsAway)
{
    OpenOne(kShop);
    TModuleObjQz* made = nullptr;
    ASSERT_EQ(transfer::NewComponent(&doc_, Record("Tools", false), {Src(2, "Print_Invoice")}, &made), 0);
    const int16_t id = made->id, folder = made->privateFolder->id;
    made->GetNameCodeHandle();
    ASSERT_TRUE(StoreHas(&doc_, FourCC("cdQz"), id));
    TObjQz* rows[] = {made};
    platform::PushDialogAnswer(2);
    EXPECT_EQ(transfer::M_Delete(&doc_, rows, 1), 0);
    EXPECT_NE(Component(&doc_, "Tools"), nullptr) << "declined";
    platform::PushDialogAnswer(1);
    EXPECT_EQ(transfer::M_Delete(&doc_, rows, 1), 0);
    EXPECT_EQ(Component(&doc_, "Tools"), nullptr);
    for (auto [type, rid] : {std::pair{FourCC("#MOD"), id}, {FourCC("moQz"), id}, {FourCC("cdQz"), id}, {FourCC("#GMO"), folder}})
        EXPECT_FALSE(StoreHas(&doc_, type, rid)) << std::hex << type;
    for (const char* name : {"Print_Invoice", "Helper"}) {
        TObjQz* m = In(&doc_, 2, name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(m->parent, nullptr) << name;
    }
    Reopen(src_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(In(&doc_, 33, "Private"), nullptr);
    EXPECT_NE(In(&doc_, 2, "Helper"), nullptr);
}

TEST_F(Components, UninstallingTakesTheMembersTheRecordAndTheMappedPicturesAway)
{
    OpenOne(kInstalled);
    TModuleObjQz* reports = Component(&doc_, "Reports");
    ASSERT_NE(reports, nullptr);
    ASSERT_TRUE(reports->IsModule());
    const int16_t id = reports->id;
    TObjQz* rows[] = {reports};
    platform::PushDialogAnswer(1);
    EXPECT_EQ(transfer::UninstallComponents(&doc_, rows, 1), 0);
    EXPECT_EQ(G_ModuleUpdate, 4);
    EXPECT_EQ(Component(&doc_, "Reports"), nullptr);
    for (const char* gone : {"Report_Header", "Report_Totals", "Report_Core"}) EXPECT_EQ(In(&doc_, 2, gone), nullptr) << gone;
    for (auto [type, rid] : {std::pair{FourCC("MODQ"), id}, {FourCC("MAPQ"), id}, {FourCC("#MOD"), id},
                             {FourCC("moQz"), id}, {FourCC("PICT"), int16_t(15000)}, {FourCC("CCQz"), int16_t(41)},
                             {FourCC("CCQz"), int16_t(43)}})
        EXPECT_FALSE(StoreHas(&doc_, type, rid)) << std::hex << type << " " << std::dec << rid;
    // The table stays, renamed and readable; what is outside stays.
    EXPECT_EQ(In(&doc_, 1, "Ledger"), nullptr);
    ASSERT_NE(In(&doc_, 1, "Deleted_Table"), nullptr);
    EXPECT_NE(In(&doc_, 2, "Outside"), nullptr);
    Reopen(src_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Component(&doc_, "Reports"), nullptr);
    EXPECT_NE(In(&doc_, 1, "Deleted_Table"), nullptr);
    EXPECT_EQ(doc_.fModuleManager->CountModules(), 0);
}

// The install's start and end are stored with the properties and read
// back as the range in which its members were written by the install.
TEST_F(Components, AnInstalledComponentReadsItsInstallTimesBack)
{
    OpenOne(kInstalled);
    TModuleObjQz* reports = Component(&doc_, "Reports");
    ASSERT_NE(reports, nullptr);
    reports->extra1 = 3000000000u;
    reports->extra2 = 3000000060u;
    ASSERT_EQ(reports->WriteProperties(), 0);
    Reopen(src_);
    ASSERT_EQ(Read(), 0);
    reports = Component(&doc_, "Reports");
    ASSERT_NE(reports, nullptr);
    EXPECT_EQ(reports->dateFrom, 3000000000u);
    EXPECT_EQ(reports->dateTo, 3000000060u);
}

class InstallRules : public ComponentFixture {
protected:
    void SetUp() override
    {
        ComponentFixture::SetUp();
        BuildPair(R"(structure Lib date 2024-03-01 seed 3
table Codes
  field Code alpha 10
method Report_Header id 41
  var MouseX op 7 long 1 ; var vShared op 7 long 1 ; var vOwn op 7 long 1
method Outside id 40
)",
                  kInstalled + std::string(R"(method Uses_Shared id 44
  var vShared op 7 long 2
method Own_User id 45
  var vOwn op 7 long 2
)"));
        module_ = Component(&dest_, "Reports");
        ASSERT_NE(module_, nullptr);
        // vOwn only used inside the module.
        ASSERT_EQ(Dst(2, "Own_User")->AddGroup(module_->privateFolder, false), 0);
        list_ = NewList();
    }
    void TearDown() override
    {
        transfer::DisposeC_List(list_);
        ComponentFixture::TearDown();
    }
    C_ListHdl NewList()
    {
        C_ListHdl list = nullptr;
        EXPECT_EQ(transfer::NewC_List(&list, transfer::kC_ListRoom), 0);
        return list;
    }
    TConflict* Record(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice = 3)
    {
        TConflict* r = nullptr;
        EXPECT_EQ(transfer::RecordConflict(source, dest, code, choice, list_, &r), 0);
        return r;
    }
    std::string Report()
    {
        unsigned char name[256];
        dest_.GetDocName(name);
        std::ifstream in(std::filesystem::path(dst_.dataPath).parent_path() / (readtest::P(name) + " Conflicts.txt"));
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TModuleObjQz* module_ = nullptr;
    C_ListHdl list_ = nullptr;
};

TEST_F(InstallRules, OnlyObjectsOfTheModuleMayBeReplaced)
{
    const struct {
        const char* what;
        TObjQz* source;
        TObjQz* dest;
        int16_t code;
        bool refuses;
    } cases[] = {
        {"a method of the module", Src(2, "Report_Header"), Dst(2, "Report_Header"), 6, false},
        {"a method outside", Src(2, "Outside"), Dst(2, "Outside"), 6, true},
        {"a system variable", Src(9, "MouseX"), Dst(9, "vShared"), 23, false},
        {"a variable used outside", Src(9, "vShared"), Dst(9, "vShared"), 23, true},
        {"a variable used only inside", Src(9, "vOwn"), Dst(9, "vOwn"), 23, false},
        {"a style sheet of id 0", Src(2, "Outside"), Dst(2, "Outside"), 20, false},
        {"no destination", Src(2, "Outside"), nullptr, 6, false},
        {"a code that replaces nothing", Src(2, "Outside"), Dst(2, "Outside"), 9, false},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.source, nullptr) << c.what;
        const int16_t savedId = c.source->id;
        if (c.code == 20) c.source->id = 0;
        EXPECT_EQ(transfer::RefusesInstall(Record(c.source, c.dest, c.code), module_), c.refuses) << c.what;
        c.source->id = savedId;
    }
    EXPECT_TRUE(transfer::IsSystemVar(Src(9, "MouseX")));
    EXPECT_FALSE(transfer::IsSystemVar(Src(9, "vOwn")));
    EXPECT_FALSE(transfer::IsUpdating(nullptr, Dst(2, "Report_Header")));
}

TEST_F(InstallRules, ARefusalShowsItsAlertAndListsEachRefusingSourceInTheReport)
{
    Record(Src(2, "Report_Header"), Dst(2, "Report_Header"), 6);
    Record(Src(2, "Outside"), Dst(2, "Outside"), 6);
    Record(Src(9, "vShared"), Dst(9, "vShared"), 23);
    ResetAlerts();
    EXPECT_FALSE(transfer::ModuleConflicts(nullptr, list_, &doc_, &dest_, module_));
    EXPECT_EQ(LastAlert().alertId, transfer::kRefusedAlert);
    unsigned char name[256], full[256], var[256];
    dest_.GetDocName(name);
    EXPECT_EQ(LastAlert().text, readtest::P(name));
    Src(2, "Outside")->GetFullName(full);
    Src(9, "vShared")->GetFullName(var);
    EXPECT_EQ(Report(), readtest::P(full) + "\n" + readtest::P(var) + "\n");
}

TEST_F(InstallRules, AnInterfaceTableWithoutCounterpartIsAskedAbout)
{
    TObjQz* codes = Src(1, "Codes");
    ASSERT_NE(codes, nullptr);
    const struct {
        std::vector<int16_t> answers;  // the alert's, the link dialog's, ...
        bool goesOn;
        int32_t alerts;
    } cases[] = {
        {{transfer::kKeepTable}, true, 1},
        {{transfer::kStopInstall}, false, 1},
        // Link, then Cancel in the link dialog: the alert comes back.
        {{transfer::kLinkTable, 2, transfer::kStopInstall}, false, 2},
    };
    for (const auto& c : cases) {
        transfer::DisposeC_List(list_);
        list_ = NewList();
        TConflict* r = Record(codes, nullptr, 103, 9);
        ResetAlerts();
        for (int16_t a : c.answers) platform::PushDialogAnswer(a);
        EXPECT_EQ(transfer::ModuleConflicts(nullptr, list_, &doc_, &dest_, module_), c.goesOn);
        platform::ClearDialogAnswers();
        EXPECT_EQ(AlertCount(), c.alerts);
        EXPECT_EQ(LastAlert().alertId, transfer::kInterfaceTableAlert);
        EXPECT_EQ(r->fDest, nullptr);
    }
}

}  // namespace
}  // namespace transfertest
