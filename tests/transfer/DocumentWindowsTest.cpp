// The windows of a document after what the user does to it: read again
// from its files from every state its panes can be in, they show the
// document afresh; after a command, each shows what a fresh open shows.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <tuple>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <unistd.h>

#include "app/appl/CommandStacks.h"
#include "app/appl/MemoryShort.h"
#include "design/objects/OpenEditors.h"
#include "browser/dialogs/CmdReplaceDialog.h"
#include "design/objects/GroupChanges.h"
#include "design/objects/ObjFactory.h"
#include "app/dialogs/WaitDialog.h"
#include "platform/core/Faults.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"
#include "transfer/components/Generate.h"
#include "transfer/movers/MoverSupport.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/platform/core/FailingNew.h"
#include "tests/platform/files/FailingWrite.h"
#include "tests/platform/files/StopAt.h"
#include "tests/transfer/DocumentWindowsFixture.h"

namespace transfertest {
namespace {

using Fixture = DocumentWindows;
using Rows = std::vector<std::pair<int16_t, std::string>>;

// A state of the demo's windows (two, the second in front), reached before
// the document is read again.
struct PaneState {
    const char* name;
    std::function<void(Fixture*, TMainDoc*)> reach;
    const char* document = "Demo";
};

TWindow* Front(TMainDoc* doc) { return Fixture::Windows(doc).front(); }
TWindow* Back(TMainDoc* doc) { return Fixture::Windows(doc).back(); }

void Disclose(TWindow* w, int16_t kind, const std::string& name)
{
    browser::TLstPlane* main = Fixture::Main(w);
    const int32_t row = Fixture::RowOf(main, kind, name);
    ASSERT_GE(row, 0) << name;
    main->SwitchCellState(row);
}

void Keep(TWindow* w, const Rows& rows)
{
    Fixture::Select(Fixture::Main(w), rows);
    EXPECT_EQ(w->Do_Func(55), 0);
}

// A component command on the row of that component, its question answered.
void OnComponent(TWindow* w, const std::string& name, int16_t command)
{
    Fixture::Select(Fixture::Main(w), {{32, name}});
    platform::PushDialogAnswer(1);
    EXPECT_EQ(w->Do_Func(command), 0);
}

void Install(Fixture* f, TWindow* w)
{
    platform::PushFileDialogAnswer(f->InFolder("Reports-1.QCP"));
    platform::PushDialogAnswer(1);
    EXPECT_EQ(w->Do_Func(114), 0);
}

void Found(TWindow* w)
{
    WaitParamRec wait{};
    Fixture::Main(w)->SearchRows(::GetFilter(browser::kDefaultFilter), false, &wait);
}

const PaneState kStates[] = {
    {"tables disclosed", [](Fixture*, TMainDoc* doc) {
         Disclose(Front(doc), 1, "Invoices");
         Disclose(Back(doc), 1, "Customers");
     }},
    {"rows kept", [](Fixture*, TMainDoc* doc) { Keep(Front(doc), {{2, "Close_Invoice"}, {1, "Invoices"}}); }},
    {"rows kept twice", [](Fixture*, TMainDoc* doc) {
         Keep(Front(doc), {{2, "Close_Invoice"}, {1, "Invoices"}, {23, "Accounting"}});
         Keep(Front(doc), {{2, "Close_Invoice"}});
     }},
    {"search results", [](Fixture*, TMainDoc* doc) { Found(Front(doc)); }},
    {"a group open", [](Fixture*, TMainDoc* doc) { Disclose(Front(doc), 23, "Accounting"); }},
    {"a component open", [](Fixture*, TMainDoc* doc) { Disclose(Back(doc), 32, "Reports"); }},
    {"rows kept in the second window", [](Fixture*, TMainDoc* doc) { Keep(Back(doc), {{2, "Close_Invoice"}}); }},
    {"an object's links shown", [](Fixture*, TMainDoc* doc) {
         Disclose(Front(doc), 23, "Accounting");
         Fixture::Select(Fixture::Main(Front(doc)), {{2, "Recalculate"}});
     }},
    {"kept links", [](Fixture*, TMainDoc* doc) {
         Fixture::Select(Fixture::Main(Front(doc)), {{2, "Close_Invoice"}});
         auto* uses = Fixture::PaneOf<browser::TCallPlane>(Front(doc), 5);
         ASSERT_NE(uses, nullptr);
         LongLSetSelect(true, 0, uses->fList);
         uses->SeltoList();
     }},
    {"the preview showing a field", [](Fixture*, TMainDoc* doc) {
         Disclose(Front(doc), 1, "Invoices");
         browser::TLstPlane* main = Fixture::Main(Front(doc));
         const int32_t row = Fixture::RowOf(main, 28, "Number");
         ASSERT_GE(row, 0);
         Fixture::Preview(Front(doc))->SetObj(static_cast<TObjQz*>(LongLRowObject(row, main->fList)));
     }},
    {"a component uninstalled", [](Fixture*, TMainDoc* doc) {
         Keep(Back(doc), {{2, "Close_Invoice"}});
         OnComponent(Front(doc), "Invoice_Reports", 115);
     }},
    {"an install refused", [](Fixture* f, TMainDoc* doc) {
         Keep(Back(doc), {{2, "Close_Invoice"}});
         Install(f, Front(doc));
     }},
    {"a component installed and uninstalled", [](Fixture* f, TMainDoc* doc) {
         Install(f, Front(doc));
         Keep(Back(doc), {{32, "Reports"}});
         OnComponent(Front(doc), "Reports", 115);
     }, "DemoTarget"},
};

void PrintTo(const PaneState& s, std::ostream* os) { *os << s.name; }

class ReadAgain : public Fixture, public ::testing::WithParamInterface<PaneState> {};

TEST_P(ReadAgain, TheWindowsShowTheDocumentAfresh)
{
    TMainDoc* doc = OpenInTwoWindows(GetParam().document);
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(Windows(doc).size(), 2u);
    GetParam().reach(this, doc);
    ASSERT_EQ(appl_->Do_Func(74), 0);
    for (TRefWindow* w : Windows(doc)) w->update(platform::EventRecord{});
    ExpectShowsItsFiles(doc, GetParam().name);
}

std::string TestName(const char* text);

INSTANTIATE_TEST_SUITE_P(PaneStates, ReadAgain, ::testing::ValuesIn(kStates),
                         [](const ::testing::TestParamInfo<PaneState>& info) { return TestName(info.param.name); });

// The output dialog's check boxes of the lists of users and of used objects.
constexpr int16_t kCallers = 4, kUses = 5;

// A command of the File, Edit, Objects or Components menu chosen with the
// demo's second window in front, its rows chosen first, its dialogs
// answered by the script and its file dialogs by the paths.
struct MenuCommand {
    const char* name;
    int16_t command;
    bool writes;  // whether the document's files change
    Rows select;
    // Made when the command runs: it may need where a dialog will show.
    std::function<platform::Script()> script = [] { return platform::Script().Wait(5); };
    std::function<std::vector<platform::FileDialogAnswer>(Fixture*)> files = [](Fixture*) {
        return std::vector<platform::FileDialogAnswer>{};
    };
    std::function<void(Fixture*, TMainDoc*)> before = [](Fixture*, TMainDoc*) {};
    const char* document = "Demo";
};

std::function<platform::Script()> Answer(std::vector<int16_t> items)
{
    return [items] {
        platform::Script s;
        s.Wait(5);
        for (int16_t item : items) s.Choose(item).Wait(5);
        return s;
    };
}
std::function<platform::Script()> Typed(const std::string& text, std::vector<int16_t> items = {1})
{
    return [text, items] {
        platform::Script s;
        s.Wait(5).Type(text).Wait(2);
        for (int16_t item : items) s.Choose(item).Wait(5);
        return s;
    };
}
// The file dialog's answer: that file of the test's folder, or cancel.
std::function<std::vector<platform::FileDialogAnswer>(Fixture*)> Path(const std::string& name)
{
    return [name](Fixture* f) {
        platform::FileDialogAnswer answer;
        if (name == "cancel") answer.kind = platform::FileDialogAnswer::Kind::Cancel;
        else answer.path = f->InFolder(name);
        return std::vector<platform::FileDialogAnswer>{answer};
    };
}

// The components installed are those of the library Reports-1; a newer
// version is generated from the demo's project.
void InstallFirst(Fixture* f, TMainDoc* doc) { Install(f, Front(doc)); }
void InstallFirstAndMakeANewerVersion(Fixture* f, TMainDoc* doc)
{
    Install(f, Front(doc));
    TMainDoc* demo = f->OpenDoc(f->InFolder("Demo.QzB"));
    ASSERT_NE(demo, nullptr);
    ObjListHdl groups = GetObjListe(demo->fTypeList, 32);
    TModuleObjQz* reports = nullptr;
    for (int32_t i = 0; groups && i < groups->Size(); ++i)
        if (groups->At(i)->kind == 32 && readtest::P(groups->At(i)->name) == "Reports")
            reports = static_cast<TModuleObjQz*>(groups->At(i));
    ASSERT_NE(reports, nullptr);
    reports->SetVersionNb(reports->GetVersionNb() + 1);
    platform::PushFileDialogAnswer(f->InFolder("Reports-2.QCP"));
    platform::PushDialogAnswer(1);
    EXPECT_EQ(transfer::GenerateComponent(demo, reports), 0);
    platform::ClearDialogAnswers();
    EXPECT_EQ(demo->Close(), 0);
}

// The demo's list 15000 filled with other texts up to 255 items.
void FillInvoiceTexts(Fixture*, TMainDoc* doc)
{
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(doc->fRsrFile);
    platform::Handle list = platform::Get1Resource(platform::FourCC("STR#"), 15000);
    ASSERT_NE(list, nullptr);
    readtest::Bytes bytes(reinterpret_cast<uint8_t*>(*list), reinterpret_cast<uint8_t*>(*list) + platform::GetHandleSize(list));
    for (int n = bytes[0] << 8 | bytes[1]; n < 255; ++n) {
        const std::string text = "Filler " + std::to_string(n);
        bytes.push_back(uint8_t(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    bytes[0] = 0;
    bytes[1] = 255;
    platform::SetHandleSize(list, platform::Size(bytes.size()));
    std::memcpy(*list, bytes.data(), bytes.size());
    platform::ChangedResource(list);
    platform::WriteResource(list);
    platform::UpdateResFile(doc->fRsrFile);
    EXPECT_EQ(platform::ResError(), platform::noErr);
    platform::UseResFile(saved);
}

// Every object of the front window's list shown in its preview, every
// row opened.
void PreviewEveryObject(Fixture*, TMainDoc* doc)
{
    for (const auto& [key, obj] : Fixture::ObjectsOf(Fixture::Main(Front(doc))))
        Fixture::Preview(Front(doc))->SetObj(obj);
}

const MenuCommand kCommands[] = {
    {"New Library", 1, false, {}},
    {"New Structure", 20, false, {}},
    {"New Structure from SQL Script cancelled", 30, false, {}, Answer({}), Path("cancel")},
    {"Open", 2, false, {}, Answer({}), Path("DemoTarget.QzB")},
    {"Close", 3, false, {}},
    {"Close Document", 4, false, {}},
    // A look writes nothing, even once the document closes.
    {"Close Document after every preview", 4, false, {}, Answer({}),
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; }, PreviewEveryObject},
    {"Close Document after every preview of DemoTarget", 4, false, {}, Answer({}),
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; }, PreviewEveryObject, "DemoTarget"},
    {"Close all", 5, false, {}},
    {"Save", 18, false, {}},
    {"Read Structure Again", 74, false, {{2, "Close_Invoice"}}},
    {"Export List", 7, false, {}, Answer({1}), Path("export.txt")},
    // Every row with what uses it and what it uses, once a form that a
    // group's members use is gone.
    {"Export List after a form's deletion", 7, false, {{23, "Accounting"}}, Answer({kCallers, kUses, 1}),
     Path("export.txt"), [](Fixture*, TMainDoc* doc) {
         Fixture::Select(Fixture::Main(Front(doc)), {{24, "Invoice"}});
         platform::PushDialogAnswer(1);
         EXPECT_EQ(Front(doc)->Do_Func(25), 0);
     }},
    {"Page Setup cancelled", 9, false, {}, Answer({}), Path("cancel")},
    {"Print List cancelled", 10, false, {}, Answer({1}), Path("cancel")},
    {"Print List", 10, false, {}, Answer({1}), Path("printed.pdf")},
    {"Preferences", 13, false, {}, Answer({1})},
    {"Conflict Preferences", 15, false, {}, Answer({1})},
    {"Blocking Preferences", 16, false, {}, Answer({1})},
    {"Filters", 54, false, {}, Answer({1})},
    {"Undo", 21, false, {{2, "Close_Invoice"}}},
    {"Cut", 22, false, {{24, "Card"}}},
    {"Copy", 23, false, {{24, "Card"}}},
    {"Paste", 24, false, {{24, "Card"}}},
    {"Clear", 25, true, {{24, "Listing"}}, Answer({1})},
    {"Clear a form with a list box", 25, true, {{24, "Invoice"}}, Answer({1})},
    // Group Accounting is used by the form through its members; the group
    // made first holds the form Card, which uses the form.
    {"Clear a form that groups use", 25, true, {{24, "Invoice"}}, Answer({1}),
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; },
     [](Fixture*, TMainDoc* doc) {
         browser::TLstPlane* main = Fixture::Main(Front(doc));
         TObjQz* card = static_cast<TObjQz*>(LongLRowObject(Fixture::RowOf(main, 24, "Card"), main->fList));
         TGroupObjQz* group = nullptr;
         ASSERT_EQ(MakeGroupOf(doc, reinterpret_cast<const unsigned char*>("\x05" "Cards"), {card}, false, &group), 0);
     }},
    {"Select All", 26, false, {}},
    {"Keep Selected Rows", 55, false, {{2, "Close_Invoice"}, {1, "Invoices"}}},
    {"Edit Object", 52, false, {{11, "Invoice_Texts"}}},
    {"Edit Documentation", 56, true, {{2, "Close_Invoice"}}},
    {"Delete Documentation", 57, true, {{1, "Customers"}}, Answer({1})},
    {"Structure Documentation", 49, false, {}},
    {"Show Clipboard", 27, false, {}},
    {"Find", 53, false, {}, Answer({1})},
    {"Rename", 51, true, {{2, "Close_Invoice"}}, Typed("Close_Bill")},
    // A local of a method of Accounting becomes a process variable, its
    // user rewritten: the group uses it then.
    {"Rename a local onto a process variable", 51, true, {{9, "$Rate"}}, Typed("Tax_Rate", {5, 1}),
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; },
     [](Fixture*, TMainDoc* doc) { Disclose(Front(doc), 23, "Accounting"); }},
    {"Add a Prefix", 58, true, {{2, "Close_Invoice"}, {24, "Card"}}, Typed("x_")},
    {"Replace in Names", 59, true, {{2, "Close_Invoice"}}, Typed("Invoice\tBill")},
    {"Replace Text", 76, true, {{2, "Close_Invoice"}}, Typed("Closed\tShut")},
    {"Replace Command", 78, true, {{27, "Entry"}}, [] {
         // INPUT FORM, the third command, called by Log_Event instead.
         platform::Point third = Fixture::ItemPoint(browser::kCmdReplaceDialog, browser::kCmdReplaceFirstList, 8);
         third.v = int16_t(third.v + 2 * 16);
         const platform::Point second = Fixture::ItemPoint(browser::kCmdReplaceDialog, browser::kCmdReplaceSecondText);
         platform::Script s;
         s.Wait(5).Click(third.h, third.v).Wait(3).Click(second.h, second.v).Wait(2).Type("Log_Event").Wait(2);
         s.Choose(browser::kCmdReplaceCreate).Wait(5).Choose(browser::kCmdReplaceOK).Wait(5);
         return s;
     }},
    {"Texts to String List", 50, true, {{2, "Close_Invoice"}}, [] {
         const platform::Point id = Fixture::ItemPoint(261, 6), add = Fixture::ItemPoint(261, 3);
         platform::Script s;
         // The list 15000 is there: the alert, then OK with its row.
         s.Wait(5).Type("Texts").Click(id.h, id.v).Wait(2).Type("15000").Click(add.h, add.v).Wait(5);
         s.Choose(1).Wait(5).Choose(1).Wait(5);
         return s;
     }},
    // One item short of full, the list takes one text; the others go on
    // into a new list after it.
    {"Texts to String List into a list nearly full", 50, true, {{2, "Close_Invoice"}},
     [] { return Fixture::TextsIntoList15000(); },
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; }, FillInvoiceTexts},
    {"Texts to String List of menus", 50, true, {{6, "File"}}, [] {
         // Into a new list 15010, the first window showing the menu bar.
         const platform::Point id = Fixture::ItemPoint(261, 6), add = Fixture::ItemPoint(261, 3);
         platform::Script s;
         s.Wait(5).Type("Menus").Click(id.h, id.v).Wait(2).Type("15010").Click(add.h, add.v).Wait(5);
         s.Choose(1).Wait(5);
         return s;
     },
     [](Fixture*) { return std::vector<platform::FileDialogAnswer>{}; },
     [](Fixture*, TMainDoc* doc) { Fixture::Select(Fixture::Main(Back(doc)), {{5, "Main"}}); }},
    {"String List to Texts", 77, true, {{5, "Main"}}, Answer({1})},
    {"Scale Forms", 75, true, {{24, "Card"}}, Answer({1})},
    {"New Group", 71, true, {}, Typed("Fresh")},
    {"Make Group", 70, true, {{2, "Close_Invoice"}, {24, "Card"}}, Typed("Made")},
    {"Make Group with What It Uses", 72, true, {{2, "Close_Invoice"}}, Typed("Full")},
    {"Ungroup", 73, true, {{23, "Logging"}}},
    {"New Component of a form", 110, true, {{24, "Card"}}, [] {
         // Its hidden objects are renamed with a prefix, which it needs.
         const platform::Point prefix = Fixture::ItemPoint(110, 7);
         platform::Script s;
         s.Wait(5).Click(prefix.h, prefix.v).Wait(2).Type("nc").Wait(2).Choose(1).Wait(5);
         return s;
     }},
    {"Component Properties", 111, true, {{32, "Reports"}}, Typed("Reporting")},
    {"Generate Component", 112, true, {{32, "Reports"}}, Answer({1}), Path("Generated.QCP")},
    {"Delete Component Project", 113, true, {{32, "Reports"}}, Answer({1})},
    {"Install Component refused", 114, false, {}, Answer({1}), Path("Reports-1.QCP")},
    {"Install over objects of no version", 114, false, {}, Answer({1, 1}), Path("Reports-1.QCP"),
     [](Fixture*, TMainDoc* doc) {
         Fixture::Select(Fixture::Main(Front(doc)), {{32, "Reports"}});
         platform::PushDialogAnswer(1);
         EXPECT_EQ(Front(doc)->Do_Func(113), 0);
     }},
    {"Uninstall Component", 115, true, {{32, "Invoice_Reports"}}, Answer({1})},
    {"Install Component again", 114, true, {}, Answer({1}), Path("Reports-1.QCP"), InstallFirst, "DemoTarget"},
    {"Install a newer version", 114, true, {}, Answer({1}), Path("Reports-2.QCP"), InstallFirstAndMakeANewerVersion,
     "DemoTarget"},
    {"Install after an uninstall", 114, true, {}, Answer({1}), Path("Reports-1.QCP"),
     [](Fixture* f, TMainDoc* doc) {
         Install(f, Front(doc));
         OnComponent(Front(doc), "Reports", 115);
     },
     "DemoTarget"},
};

void PrintTo(const MenuCommand& c, std::ostream* os) { *os << c.name; }

// The first window shows a group open and a table disclosed (the target
// has no group of its own).
void DiscloseInFirst(const MenuCommand& c, TMainDoc* doc)
{
    const bool demo = std::string(c.document) == "Demo";
    if (demo) Disclose(Back(doc), 23, "Accounting");
    Disclose(Back(doc), 1, demo ? "Invoices" : "Lines");
}

class MenuCommands : public Fixture, public ::testing::WithParamInterface<MenuCommand> {
protected:
    // The command chosen from its menu, its dialogs answered by its script
    // and then by the items `more`. A dialog the script leaves waiting
    // ends the tests rather than hanging them.
    void Choose(const MenuCommand& c, const std::vector<int16_t>& more = {})
    {
        platform::HeadlessOptions options;
        options.onWatchdog = [](const std::string& message) {
            std::fprintf(stderr, "%s\n", message.c_str());
            std::_Exit(platform::kWatchdogExitStatus);
        };
        platform::Script script = c.script();
        for (int16_t item : more) script.Choose(item).Wait(5);
        platform::testing::HeadlessRun run(script, options);
        for (const platform::FileDialogAnswer& answer : c.files(this)) platform::PushFileDialogAnswer(answer);
        appl_->Do_Func(c.command);
    }
};

TEST_P(MenuCommands, EachWindowShowsWhatAFreshOpenShows)
{
    const MenuCommand& c = GetParam();
    TMainDoc* doc = OpenInTwoWindows(c.document);
    ASSERT_NE(doc, nullptr);
    const std::string data = doc->fSpec.path;
    const std::vector<readtest::Bytes> opened = FilesOf(data);
    DiscloseInFirst(c, doc);
    c.before(this, doc);
    if (!c.select.empty()) Select(Main(Front(doc)), c.select);
    const std::vector<readtest::Bytes> files = FilesOf(data);
    Choose(c);
    EXPECT_EQ(FilesOf(data) != files, c.writes);
    if (!IsOpen(doc)) return;
    for (TRefWindow* w : Windows(doc)) w->update(platform::EventRecord{});
    // A group made with what it uses prints as a fresh open does too.
    ExpectShowsItsFiles(doc, c.name, true, c.command == 72);
    // Nothing written since the open: nothing is left to write at the close.
    if (!c.writes && files == opened) {
        EXPECT_EQ(doc->Close(), 0);
        EXPECT_TRUE(FilesOf(data) == opened);
    }
}

std::string TestName(const char* text)
{
    std::string name;
    for (const char* c = text; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Menus, MenuCommands, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<MenuCommand>& info) { return TestName(info.param.name); });

// The commands of the Edit menu that delete and those of the Objects and
// Components menus, a write of the disk failing at each step in turn until
// the command goes through: after each, the program holds the graph its
// files give, and read again, nothing of a failed command stays in any
// window; at the end the windows show the files.
class FailingCommands : public MenuCommands {};

TEST_P(FailingCommands, ReadAgainAfterEachFailureTheWindowsShowTheFiles)
{
    const MenuCommand& c = GetParam();
    TMainDoc* doc = OpenInTwoWindows(c.document);
    ASSERT_NE(doc, nullptr);
    c.before(this, doc);
    int32_t failed = 0;
    for (int32_t after = 0; after < 60; ++after) {
        if (std::string(c.document) == "Demo") Disclose(Back(doc), 23, "Accounting");
        // A command that went through despite a failure has taken its rows.
        bool rows = true;
        for (const auto& [kind, name] : c.select) rows = rows && RowOf(Main(Front(doc)), kind, name) >= 0;
        if (!rows) break;
        if (!c.select.empty()) Select(Main(Front(doc)), c.select);
        // The failure's own alert is answered after the dialogs, and a
        // dialog the failure leaves open is cancelled.
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        Choose(c, {1, 2, 2});
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        // What the program holds is what its files hold, failed or not:
        // its companion's resources byte for byte, its graph.
        EXPECT_EQ(Companion(doc, true), Companion(doc, false)) << c.name << ", write " << after << " failing";
        ExpectShowsItsFiles(doc, std::string(c.name) + ", write " + std::to_string(after) + " failing", false);
        ASSERT_EQ(appl_->Do_Func(74), 0) << after;
        for (TRefWindow* w : Windows(doc)) w->update(platform::EventRecord{});
        if (!fired) break;
        ++failed;
    }
    // A command that writes met at least one failure on its way.
    if (c.writes) {
        EXPECT_GE(failed, 1);
    }
    ExpectShowsItsFiles(doc, c.name);
}

bool ObjectsOrComponents(const MenuCommand& c)
{
    for (int16_t command : {25, 57, 51, 58, 59, 76, 78, 50, 77, 75, 71, 70, 72, 73, 110, 111, 112, 113, 114, 115})
        if (c.command == command) return true;
    return false;
}

std::vector<MenuCommand> ObjectsAndComponents()
{
    std::vector<MenuCommand> out;
    for (const MenuCommand& c : kCommands)
        if (ObjectsOrComponents(c)) out.push_back(c);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Failures, FailingCommands, ::testing::ValuesIn(ObjectsAndComponents()),
                         [](const ::testing::TestParamInfo<MenuCommand>& info) { return TestName(info.param.name); });

const MenuCommand& CommandNamed(const std::string& name)
{
    for (const MenuCommand& c : kCommands)
        if (name == c.name) return c;
    throw std::invalid_argument(name);
}

// A command whose file writes and flushes fail each in turn, once (the
// disk full at that moment, room again at once), counted from a recording
// of them; then a second command. The first lands and says what it says
// when nothing fails, or says the failure once more and leaves the
// document as it was; the second lands; a fresh open holds what the
// program holds.
class WritesFailing : public MenuCommands {};

TEST_P(WritesFailing, TheCommandSaysItsFailureOnceAndTheNextOneLands)
{
    const MenuCommand& c = GetParam();
    const MenuCommand& then = CommandNamed(c.command == 71 ? "Rename" : "New Group");
    unsigned char full[256];
    ErrorMessage(platform::dskFulErr, full);
    int32_t calls = 0, usual = 0, failed = 0;
    for (int32_t nth = -1; nth < calls; ++nth) {
        const std::string trace = std::string(c.name) + ", call " + std::to_string(nth + 1) + " of " +
                                  std::to_string(calls) + " failing";
        CopyBuilt(c.document);
        TMainDoc* doc = OpenInTwoWindows(c.document);
        ASSERT_NE(doc, nullptr) << trace;
        const std::string data = doc->fSpec.path;
        DiscloseInFirst(c, doc);
        c.before(this, doc);
        if (!c.select.empty()) Select(Main(Front(doc)), c.select);
        const std::string graph = Graph(doc);
        const std::vector<readtest::Bytes> files = FilesOf(data);
        ResetAlerts();
        {
            filecrash::FailingWrite failing(folder_.path(), nth);
            Choose(c, {1, 2, 2});
            if (nth < 0) calls = failing.Count(), usual = AlertCount();
            else EXPECT_TRUE(failing.Met()) << trace;
        }
        if (AlertCount() == usual) {
            EXPECT_TRUE(FilesOf(data) != files) << trace;
            EXPECT_TRUE(Graph(doc) != graph) << trace;
        } else {
            ++failed;
            EXPECT_EQ(AlertCount(), usual + 1) << trace;
            EXPECT_EQ(::LastAlert().text, readtest::P(full)) << trace;
            EXPECT_TRUE(Graph(doc) == graph) << trace;
        }
        EXPECT_EQ(Companion(doc, true), Companion(doc, false)) << trace;
        ExpectShowsItsFiles(doc, trace, false);
        const std::vector<readtest::Bytes> between = FilesOf(data);
        ResetAlerts();
        if (!then.select.empty()) Select(Main(Front(doc)), then.select);
        Choose(then, {1, 2, 2});
        EXPECT_EQ(AlertCount(), 0) << trace << ", then " << then.name << ": " << ::LastAlert().text;
        EXPECT_TRUE(FilesOf(data) != between) << trace << ", then " << then.name;
        ExpectShowsItsFiles(doc, trace + ", then " + then.name, false);
        EXPECT_EQ(doc->Close(), 0) << trace;
    }
    EXPECT_GE(calls, 2) << c.name;
    EXPECT_GE(failed, 1) << c.name;
}

std::vector<MenuCommand> SaidFailures()
{
    std::vector<MenuCommand> out;
    for (const char* name : {"Rename", "Replace Text", "New Group", "Texts to String List"})
        out.push_back(CommandNamed(name));
    return out;
}

INSTANTIATE_TEST_SUITE_P(Writes, WritesFailing, ::testing::ValuesIn(SaidFailures()),
                         [](const ::testing::TestParamInfo<MenuCommand>& info) { return TestName(info.param.name); });

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

// What the drop said: the names a copy reads there as other objects (or
// as none), not copied.
std::string NotCopied(const std::vector<std::pair<std::string, std::string>>& readAs)
{
    unsigned char separator[256], notCopied[256], readThere[256], nothing[256];
    MyGetIndString(separator, 1024, 1);
    MyGetIndString(notCopied, 1018, 12);
    MyGetIndString(readThere, 1024, 9);
    MyGetIndString(nothing, 1024, 10);
    std::string text;
    for (const auto& [name, there] : readAs)
        text += (text.empty() ? "" : "; ") + name + readtest::P(readThere) + (there.empty() ? readtest::P(nothing) : there);
    return text + readtest::P(separator) + readtest::P(notCopied);
}

// The demo's constant, which DemoTarget reads as nothing; with its list
// 15000, which DemoTarget reads as its own list of the id.
std::string ConstantNotCopied() { return NotCopied({{"Constant VAT_Rate", ""}}); }
std::string ConstantAndTextsNotCopied()
{
    return NotCopied({{"Constant VAT_Rate", ""}, {"String list Invoice_Texts ID:15000", "String list Shop_Texts ID:15000"}});
}

TObjQz* FormNamed(TMainDoc* doc, const std::string& table, const std::string& name)
{
    ObjListHdl tables = GetObjListe(doc->fTypeList, 1);
    for (int32_t i = 0; tables && i < tables->Size(); ++i) {
        auto* t = dynamic_cast<TFileObjQz*>(tables->At(i));
        if (!t || readtest::P(t->name) != table) continue;
        for (int32_t f = 0; t->forms && f < t->forms->Size(); ++f)
            if (readtest::P(t->forms->At(f)->name) == name) return t->forms->At(f);
    }
    return nullptr;
}

TObjQz* Named(TMainDoc* doc, int16_t kind, const std::string& name)
{
    const std::string p = char(name.size()) + name;
    return SearchObj_Name(doc, kind, reinterpret_cast<const unsigned char*>(p.data()));
}

// What an object uses, by kind and name, in the order shown.
std::vector<std::string> UsesOf(TObjQz* obj, int16_t leftOut = -1)
{
    std::vector<std::string> out;
    const ShownLinks shown(obj ? obj->uses : nullptr);
    for (int32_t i = 0; shown.get() && i < shown.get()->Size(); ++i)
        if (TObjQz* used = shown.get()->At(i); used->kind != leftOut)
            out.push_back(std::to_string(used->kind) + ":" + readtest::P(used->name));
    return out;
}

// A flat form dropped: the copy names what the source names, and shows
// what it shows.
std::function<void(Fixture*, TMainDoc*, TMainDoc*)> FlatFormCopied(const std::string& copy)
{
    return [copy](Fixture*, TMainDoc* demo, TMainDoc* target) {
        TObjQz* from = FormNamed(demo, "Lines", "Line_Entry");
        TObjQz* to = FormNamed(target, "Lines", copy);
        ASSERT_TRUE(from && to) << copy;
        EXPECT_EQ(UsesOf(to), UsesOf(from));
        EXPECT_EQ(UsesOf(to), (std::vector<std::string>{"28:Product", "28:Quantity"}));
        const std::vector<uint32_t> shown = Fixture::PreviewPixels(from);
        EXPECT_TRUE(Fixture::PreviewPixels(to) == shown);
        EXPECT_NE(std::count(shown.begin(), shown.end(), 0xFFFFFFu), std::ptrdiff_t(shown.size()));
    };
}

// A drop of the demo's rows (its front window's, disclosed by `reach`) on
// DemoTarget's front window, the user's default choices `defaults`
// ({code, choice}) set first and every dialog answered with OK.
struct DropRow {
    const char* name;
    Rows rows = {};
    std::function<void(TMainDoc* demo)> reach = nullptr;
    std::vector<std::pair<int16_t, int16_t>> defaults = {};
    // The alert the drop shows once the copy has landed (none: no alert).
    std::function<std::string()> said = nullptr;
    bool printed = false;
    std::function<void(Fixture*, TMainDoc* demo, TMainDoc* target)> check = nullptr;
    // The destination built from this description instead of DemoTarget.
    const char* target = nullptr;
    // A write of the disk failing at each step in turn first: after each,
    // the destination shows what a fresh open of its files shows.
    bool failing = false;
    // DemoTarget's rows dropped on the demo instead (`reach` discloses
    // DemoTarget's).
    bool back = false;
    // Every row of the list dropped (Edit > Select All) instead of `rows`.
    bool all = false;
};

void PrintTo(const DropRow& d, std::ostream* os) { *os << d.name; }

void DiscloseAccounting(TMainDoc* demo) { Disclose(Front(demo), 23, "Accounting"); }
void DiscloseCustomers(TMainDoc* demo) { Disclose(Front(demo), 1, "Customers"); }

// The demo's Line_Entry, a flat form of one page, stored as the oldest
// layout: its records without the paged layout's header.
void LineEntryOfTheOldestLayout(TMainDoc* demo)
{
    DiscloseAccounting(demo);
    auto* form = dynamic_cast<TLayoutObjQz*>(FormNamed(demo, "Lines", "Line_Entry"));
    ASSERT_NE(form, nullptr);
    std::vector<uint8_t> image;
    int16_t err = 0;
    ASSERT_TRUE(transfer::StoreBytes(demo, platform::FourCC("FOQz"), form->formResId, &image, &err));
    ASSERT_TRUE(image.size() > 4 && image[0] == 13 && image[2] == 0 && image[3] == 1);
    image.erase(image.begin(), image.begin() + 4);
    ASSERT_EQ(transfer::PutStoreBytes(demo, platform::FourCC("FOQz"), form->formResId, image), 0);
    ASSERT_EQ(transfer::CommitNoMap(demo), 0);
}

// The note of a drop that copies nothing.
std::function<std::string()> Said(const std::string& why)
{
    return [why] { return "Nothing was copied. " + why; };
}
const std::string kComesWithItsUsers = "comes with the object that holds or uses it; drag that object instead.";

// DemoTarget with a choice list Towns of its own, which a field uses, and
// a menu Invoices equal to the demo's but for the picture an item shows,
// which a bar holds.
const char* const kShopTarget =
    "structure DemoTarget\nlist Towns\n  item \"Oslo\" number 1\n  item \"Bergen\" number 2\n"
    "table Customers\n  field Name alpha 60\n  field Town alpha 30 list Towns\n"
    "method Recalculate id 30\n  comment \"Adds up\"\nmethod Close_Invoice id 31\n  call Recalculate\n"
    "menu Invoices id 2\n  item \"Recalculate\" method Recalculate\n  item \"Close\" method Close_Invoice\n"
    "menubar Shop\n  menu Invoices\n";

const DropRow kDrops[] = {
    {"a table with its forms", {{1, "Invoices"}}},
    {"methods", {{2, "Close_Invoice"}, {2, "Recalculate"}}, DiscloseAccounting, {}, ConstantNotCopied},
    {"a form of chunks", {{24, "Invoice"}}, [](TMainDoc* demo) { Disclose(Front(demo), 1, "Invoices"); }, {},
     ConstantAndTextsNotCopied, true},
    {"a form of the flat layout", {{24, "Line_Entry"}}, DiscloseAccounting, {}, nullptr, true,
     FlatFormCopied("Line_Entry_2")},
    // The oldest flat layout, one list of records without the page header,
    // is made a chunk file too.
    {"a form of the oldest flat layout", {{24, "Line_Entry"}}, LineEntryOfTheOldestLayout, {}, nullptr, true,
     FlatFormCopied("Line_Entry_2")},
    // Replace for a form the destination table has of that name.
    {"a form of the flat layout over its namesake", {{24, "Line_Entry"}}, DiscloseAccounting, {{3, 3}}, nullptr,
     true, FlatFormCopied("Line_Entry"), nullptr, true},
    // Its menus come with it; its texts read DemoTarget's list of the id.
    {"a menu bar", {{5, "Main"}}, nullptr, {}, ConstantAndTextsNotCopied, false,
     [](Fixture*, TMainDoc* demo, TMainDoc* target) {
         TObjQz *from = Named(demo, 5, "Main"), *to = Named(target, 5, "Main");
         ASSERT_TRUE(from && to);
         EXPECT_EQ(to->GetSize(), from->GetSize());
         EXPECT_EQ(UsesOf(to, 11), UsesOf(from, 11));
         EXPECT_EQ(UsesOf(to, 2), (std::vector<std::string>{"6:File", "6:Invoices", "11:Shop_Texts", "18:Stamp"}));
     }},
    // What its copies name and DemoTarget cannot hold (a constant of the
    // demo's lists, which DemoTarget reads as nothing) is said; each row
    // of what it brings, current, shows its links as a fresh open does.
    {"a menu", {{6, "File"}}, nullptr, {}, ConstantNotCopied, false,
     [](Fixture* f, TMainDoc*, TMainDoc* target) {
         browser::TLstPlane* main = Fixture::Main(Front(target));
         Fixture::AllRows(main);
         for (int32_t row = 0; row < main->fList->rowCount; ++row) {
             auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
             const std::string name = readtest::P(obj->name);
             if (obj->kind != 6 && name != "Close_Invoice" && name != "Print_Invoice" && name != "Recalculate") continue;
             main->MoveCurrent(row);
             f->ExpectShowsItsFiles(target, Fixture::Key(obj));
         }
     }},
    {"a choice list", {{4, "Towns"}}},
    {"a help balloon", {{10, "Name_Help"}}},
    {"a string list", {{11, "Invoice_Texts"}}},
    {"a style", {{12, "Body"}}},
    {"a picture", {{18, "Logo"}}},
    {"a style sheet", {{19, "Standard"}}},
    {"a package", {{7, "_Invoicing_Tools"}}},
    {"a plug-in routine", {{8, "Print_Label"}}},
    {"a group", {{23, "Accounting"}}, nullptr, {}, ConstantNotCopied},
    // Replace for a method of the name: the command only the replaced code
    // called leaves with it.
    {"a method over its namesake", {{2, "Log_Event"}},
     [](TMainDoc* demo) { Disclose(Front(demo), 23, "Logging"); }, {{6, 3}}, nullptr, false, nullptr, nullptr, true},
    // Replace for a table of the name: its fields' help comes with it, and
    // the command only the replaced table method called leaves with it.
    {"a table over its namesake", {{1, "Customers"}}, nullptr, {{2, 3}}, nullptr, false, nullptr, nullptr, true},
    // Replace for a choice list, whose pictures come, and for a menu equal
    // to the destination's but for its picture, which the bar shows then.
    {.name = "a choice list over its namesake", .rows = {{4, "Towns"}}, .defaults = {{7, 3}}, .target = kShopTarget,
     .failing = true},
    {.name = "a menu over its namesake", .rows = {{6, "Invoices"}}, .defaults = {{15, 3}}, .target = kShopTarget,
     .failing = true},
    // Rows that are not copied: the drop says why, and the destination
    // stays as it was.
    {"a command", {{3, "Records in table"}}, nullptr, {}, Said("Command: part of the language, which every structure holds.")},
    {"a constant", {{17, "VAT_Rate"}}, nullptr, {},
     Said("Constant: read from the constant lists of the program and its plug-ins, not from a structure.")},
    {"a variable", {{9, "vCustomer_Count"}}, nullptr, {}, Said("Variable: " + kComesWithItsUsers)},
    {"a list box", {{21, "alLines"}}, nullptr, {}, Said("List box: " + kComesWithItsUsers)},
    {"a table method", {{26, ""}}, DiscloseCustomers, {}, Said("Table method: " + kComesWithItsUsers)},
    {"a component", {{32, "Reports"}}, nullptr, {},
     Said("Component: a component is brought by generating its library and installing that.")},
    {"a table over its namesake with a method", {{1, "Customers"}}, nullptr, {{2, 3}}, nullptr, false, nullptr,
     "structure DemoTarget\ntable Customers\n  field Name alpha 60 balloon \"Old\"\n  field Email alpha 80\n"
     "    doc \"Mail\" state 1\n  method\n    command 5 ( field Customers.Name )\n",
     true},
    // Each Replace the other way, DemoTarget's object over the demo's: the
    // demo's forms name the replaced table's fields by number, its bar
    // shows what the replaced menu's items show, its commands are not in
    // the order of their ids.
    {.name = "DemoTarget's table over the demo's namesake", .rows = {{1, "Customers"}}, .defaults = {{2, 3}},
     .failing = true, .back = true},
    {.name = "DemoTarget's form over the demo's namesake", .rows = {{24, "Line_Entry"}},
     .reach = [](TMainDoc* target) { Disclose(Front(target), 1, "Lines"); }, .defaults = {{3, 3}}, .failing = true,
     .back = true},
    {.name = "DemoTarget's method over the demo's namesake", .rows = {{2, "Log_Event"}}, .defaults = {{6, 3}},
     .failing = true, .back = true},
    {.name = "DemoTarget's choice list over the demo's namesake", .rows = {{4, "Towns"}}, .defaults = {{7, 3}},
     .target = kShopTarget, .failing = true, .back = true},
    {.name = "DemoTarget's menu over the demo's namesake", .rows = {{6, "Invoices"}}, .defaults = {{15, 3}},
     .target = kShopTarget, .failing = true, .back = true},
    // The whole demo, each of the five conflicts (the table Customers, the
    // form Line_Entry, the method Log_Event, the string list 15000 and the
    // style Heading) settled by its default, then by each other choice in
    // turn: the copies name the copied string list by its new id.
    {.name = "the whole demo by the defaults", .said = ConstantNotCopied, .all = true},
    {.name = "the whole demo, DemoTarget's Customers used", .defaults = {{2, 4}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Customers replaced", .defaults = {{2, 3}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, Customers linked to another table", .defaults = {{2, 8}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, Customers left out", .defaults = {{2, 7}}, .said = ConstantNotCopied, .all = true},
    {.name = "the whole demo, DemoTarget's Line_Entry replaced", .defaults = {{3, 3}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Line_Entry used", .defaults = {{3, 4}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Log_Event replaced", .defaults = {{6, 3}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Log_Event used", .defaults = {{6, 4}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's list 15000 replaced", .defaults = {{9, 3}}, .said = ConstantNotCopied,
     .all = true},
    // The copies read DemoTarget's own list of the id: that is said.
    {.name = "the whole demo, DemoTarget's list 15000 used", .defaults = {{9, 4}}, .said = ConstantAndTextsNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Heading replaced", .defaults = {{16, 3}}, .said = ConstantNotCopied,
     .all = true},
    {.name = "the whole demo, DemoTarget's Heading used", .defaults = {{16, 4}}, .said = ConstantNotCopied,
     .all = true},
};

class Drops : public Fixture, public ::testing::WithParamInterface<DropRow> {};

TEST_P(Drops, AfterEachTheDestinationShowsWhatAFreshOpenShows)
{
    const DropRow& d = GetParam();
    SetUserDefaults(d.defaults);
    if (d.target) Build(d.target);
    TMainDoc* demo = OpenInTwoWindows("Demo");
    TMainDoc* target = OpenInTwoWindows("DemoTarget");
    ASSERT_TRUE(demo && target);
    TMainDoc* from = d.back ? target : demo;
    TMainDoc* onto = d.back ? demo : target;
    if (d.reach) d.reach(from);
    for (int32_t after = d.failing ? 0 : -1;; ++after) {
        if (d.all) {
            Main(Front(from))->SelectAll();
        } else {
            Select(Main(Front(from)), d.rows);
        }
        ASSERT_EQ(PushInteger(0), 0);
        ASSERT_EQ(PushPtr(Main(Front(from))), 0);
        ResetAlerts();
        for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
        if (after >= 0) platform::InjectFault(platform::FaultKind::DiskFull, after);
        const int16_t result = Front(onto)->GetDragObj(nullptr);
        const bool fired = after >= 0 && !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        platform::ClearDialogAnswers();
        if (!fired) {
            EXPECT_EQ(result, 0);
            break;
        }
        ExpectShowsItsFiles(onto, std::string(d.name) + ", write " + std::to_string(after) + " failing");
    }
    const std::string said = d.said ? d.said() : "";
    EXPECT_EQ(AlertCount(), said.empty() ? 0 : 1);
    if (!said.empty()) {
        EXPECT_EQ(::LastAlert().text, said);
    }
    for (TRefWindow* w : Windows(onto)) w->update(platform::EventRecord{});
    ExpectShowsItsFiles(onto, d.name, true, d.printed);
    if (d.check) d.check(this, demo, target);
}

INSTANTIATE_TEST_SUITE_P(Demo, Drops, ::testing::ValuesIn(kDrops),
                         [](const ::testing::TestParamInfo<DropRow>& info) { return TestName(info.param.name); });

// A drop whose file writes and flushes fail each in turn, once (the disk
// full at that moment, room again at once), counted from a recording of
// them; then New Group in the destination. The drop lands and says
// nothing, or says the failure once and leaves the destination as it was;
// the group lands; a fresh open holds what the program holds.
class DropWritesFailing : public Drops {};

TEST_P(DropWritesFailing, TheDropSaysItsFailureOnceAndTheNextCommandLands)
{
    const DropRow& d = GetParam();
    SetUserDefaults(d.defaults);
    TMainDoc* demo = OpenInTwoWindows("Demo");
    ASSERT_NE(demo, nullptr);
    if (d.reach) d.reach(demo);
    unsigned char full[256];
    ErrorMessage(platform::dskFulErr, full);
    int32_t calls = 0, failed = 0;
    for (int32_t nth = -1; nth < calls; ++nth) {
        const std::string trace = std::string(d.name) + ", call " + std::to_string(nth + 1) + " of " +
                                  std::to_string(calls) + " failing";
        CopyBuilt("DemoTarget");
        TMainDoc* target = OpenInTwoWindows("DemoTarget");
        ASSERT_NE(target, nullptr) << trace;
        const std::string data = target->fSpec.path;
        Select(Main(Front(demo)), d.rows);
        ASSERT_EQ(PushInteger(0), 0);
        ASSERT_EQ(PushPtr(Main(Front(demo))), 0);
        const std::string graph = Graph(target);
        const std::vector<readtest::Bytes> files = FilesOf(data);
        ResetAlerts();
        for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
        {
            filecrash::FailingWrite failing(folder_.path(), nth);
            Front(target)->GetDragObj(nullptr);
            if (nth < 0) calls = failing.Count();
            else EXPECT_TRUE(failing.Met()) << trace;
        }
        platform::ClearDialogAnswers();
        if (AlertCount() == 0) {
            EXPECT_TRUE(FilesOf(data) != files) << trace;
            EXPECT_TRUE(Graph(target) != graph) << trace;
        } else {
            ++failed;
            EXPECT_EQ(AlertCount(), 1) << trace;
            EXPECT_EQ(::LastAlert().text, readtest::P(full)) << trace;
            EXPECT_TRUE(Graph(target) == graph) << trace;
        }
        EXPECT_EQ(Companion(target, true), Companion(target, false)) << trace;
        ExpectShowsItsFiles(target, trace, false);
        const std::vector<readtest::Bytes> between = FilesOf(data);
        ResetAlerts();
        {
            platform::testing::HeadlessRun run(platform::Script().Wait(5).Type("Fresh").Wait(2).Choose(1).Wait(5));
            Front(target)->Do_Func(71);
        }
        EXPECT_EQ(AlertCount(), 0) << trace << ", then New Group: " << ::LastAlert().text;
        EXPECT_TRUE(FilesOf(data) != between) << trace << ", then New Group";
        ExpectShowsItsFiles(target, trace + ", then New Group", false);
        EXPECT_EQ(target->Close(), 0) << trace;
        if (nth < 0) continue;
        // The disk full from that call to the drop's end: the drop says it
        // once, and what the window showed is what the files hold once the
        // document is closed and opened again.
        CopyBuilt("DemoTarget");
        target = OpenInTwoWindows("DemoTarget");
        ASSERT_NE(target, nullptr) << trace;
        Select(Main(Front(demo)), d.rows);
        ASSERT_EQ(PushInteger(0), 0);
        ASSERT_EQ(PushPtr(Main(Front(demo))), 0);
        ResetAlerts();
        for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
        {
            filecrash::FailingWrite failing(folder_.path(), nth, true);
            Front(target)->GetDragObj(nullptr);
        }
        platform::ClearDialogAnswers();
        EXPECT_EQ(AlertCount(), 1) << trace << " and on";
        EXPECT_EQ(::LastAlert().text, readtest::P(full)) << trace << " and on";
        const std::string shown = Graph(target);
        EXPECT_TRUE(shown == graph) << trace << " and on";
        EXPECT_EQ(target->Close(), 0) << trace << " and on";
        target = OpenDoc(data);
        ASSERT_NE(target, nullptr) << trace << " and on";
        EXPECT_TRUE(Graph(target) == shown) << trace << " and on";
        EXPECT_EQ(target->Close(), 0) << trace << " and on";
    }
    EXPECT_GE(calls, 2);
    EXPECT_GE(failed, 1);
}

std::vector<DropRow> DropsWritingBothFiles()
{
    std::vector<DropRow> out;
    for (const DropRow& d : kDrops)
        if (std::string(d.name) == "a string list") out.push_back(d);
    return out;
}

INSTANTIATE_TEST_SUITE_P(Writes, DropWritesFailing, ::testing::ValuesIn(DropsWritingBothFiles()),
                         [](const ::testing::TestParamInfo<DropRow>& info) { return TestName(info.param.name); });

namespace fs = std::filesystem;
using Point = filecrash::StopPoint;

// What another program does to an open document's files, as a file
// manager, a sync or restore tool or another user of a shared folder does
// it: in the document's folder, its files STEM.QzB and STEM.RSR; answers
// the folder the document's files are in afterwards.
struct Meddling {
    const char* what;
    std::function<std::string(Fixture*, const std::string& folder, const std::string& stem)> act;
    // Where the alert says the data file is now, in that folder ("": not said).
    const char* now = "";
    // What the alert says: the document moved or replaced, its companion
    // or its folder made read-only (a change of the data file alone then
    // lands), its data file made read-only, its data file deleted.
    enum class Says { Moved, CompanionLocked, FolderLocked, DataLocked, Deleted } says = Says::Moved;
    // Also done right after a change's first write, its look made.
    bool midway = false;
    // What puts the files back as they were, once the command is refused.
    std::function<void(const std::string& folder, const std::string& stem)> back = nullptr;
};

const Meddling kMeddlings[] = {
    {"both files moved",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::rename(folder + "/" + stem + ".QzB", folder + "/Moved.QzB");
         fs::rename(folder + "/" + stem + ".RSR", folder + "/Moved.RSR");
         return folder;
     },
     "Moved.QzB", Meddling::Says::Moved, false,
     [](const std::string& folder, const std::string& stem) {
         fs::rename(folder + "/Moved.QzB", folder + "/" + stem + ".QzB");
         fs::rename(folder + "/Moved.RSR", folder + "/" + stem + ".RSR");
     }},
    {"the data file alone moved",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::rename(folder + "/" + stem + ".QzB", folder + "/Moved.QzB");
         return folder;
     },
     "Moved.QzB"},
    {"the companion alone moved",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::rename(folder + "/" + stem + ".RSR", folder + "/Moved.RSR");
         return folder;
     }},
    {"the companion alone replaced",
     [](Fixture* f, const std::string& folder, const std::string& stem) {
         fs::copy_file(f->InFolder("Reports-1.RSR"), folder + "/incoming");
         fs::rename(folder + "/incoming", folder + "/" + stem + ".RSR");
         return folder;
     }},
    {"another pair renamed over both",
     [](Fixture* f, const std::string& folder, const std::string& stem) {
         for (const char* ext : {".QCP", ".RSR"}) {
             fs::copy_file(f->InFolder(std::string("Reports-1") + ext), folder + "/incoming");
             fs::rename(folder + "/incoming", folder + "/" + stem + (ext == std::string(".QCP") ? ".QzB" : ext));
         }
         return folder;
     },
     "", Meddling::Says::Moved, true},
    {"the folder renamed",
     [](Fixture*, const std::string& folder, const std::string&) {
         fs::rename(folder, folder + " moved");
         return folder + " moved";
     },
     "=QzB"},
    {"a hard link made to both",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         for (const char* ext : {".QzB", ".RSR"}) fs::create_hard_link(folder + "/" + stem + ext, folder + "/Copy" + ext);
         return folder;
     }},
    {"the companion made read-only",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::permissions(folder + "/" + stem + ".RSR", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
         return folder;
     },
     "", Meddling::Says::CompanionLocked},
    {"the data file made read-only",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::permissions(folder + "/" + stem + ".QzB", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
         return folder;
     },
     "", Meddling::Says::DataLocked},
    {"the folder made read-only", [](Fixture*, const std::string& folder, const std::string&) { return folder; }, "",
     Meddling::Says::FolderLocked},
    {"the data file deleted",
     [](Fixture*, const std::string& folder, const std::string& stem) {
         fs::remove(folder + "/" + stem + ".QzB");
         return folder;
     },
     "", Meddling::Says::Deleted},
};

// The other program at its moment; a folder it made read-only refuses
// this program every change in it from then on, as the system does.
class Other : public filecrash::StopAt {
public:
    using StopAt::StopAt;
    int Refusal(const std::string& path) override
    {
        return !locked.empty() && path.rfind(locked + "/", 0) == 0 ? EACCES : 0;
    }
    std::string locked;
};

// The documents of a row: the one written, copied into a folder of its
// own; for a drop, the demo it comes from too.
struct Documents {
    TMainDoc* doc = nullptr;
    TMainDoc* source = nullptr;
};

// Each command that writes a document's files, made ready before the other
// program's doing (an editor opened, its text typed), then run as the user
// runs it, every alert answered.
struct Write {
    const char* what;
    // Whether it puts a new companion in place (then the other program
    // also acts in the moment between its look and the swap).
    bool companion;
    std::function<void(Fixture*, Documents&)> ready;
    std::function<void(Fixture*, Documents&)> run;
    // It changes the data file alone: a read-only companion keeps it from
    // nothing.
    bool storeOnly = false;
    const char* document = "Demo";
};

platform::EventRecord EditorKey(uint8_t ch)
{
    platform::EventRecord e{};
    e.what = platform::keyDown;
    e.message = ch;
    return e;
}

void AnswerAll(int16_t item)
{
    for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(item);
}

// The command chosen with its dialogs answered by the script, then every
// alert answered.
void ChooseCommand(Fixture*, int16_t command, platform::Script script)
{
    for (int i = 0; i < 4; ++i) script.Choose(1).Wait(5);
    platform::testing::HeadlessRun run(script);
    MyAppl->Do_Func(command);
}

// The pane of the document's editor window of that kind (4 string lists,
// 5 documentation) that `command` opens on the row, a key typed in it.
void TypeInEditor(Documents& d, const Rows& row, int16_t command, int16_t kind, int16_t pane)
{
    Fixture::Select(Fixture::Main(Front(d.doc)), row);
    ASSERT_EQ(Front(d.doc)->Do_Func(command), 0);
    TPlan* editor = nullptr;
    for (TWindow* w = d.doc->fFirstWindow; w && !editor; w = w->fNextWindow)
        if (w->IsMember(kind)) editor = w->FindPlane(pane);
    ASSERT_NE(editor, nullptr);
    editor->key(EditorKey('x'));
}

void EditStrings(Fixture*, Documents& d) { TypeInEditor(d, {{11, "Invoice_Texts"}}, 52, 4, 7); }

// The front editor closed, its text saved.
void SaveAndClose(Fixture*, Documents&)
{
    AnswerAll(1);
    MyAppl->Do_Func(3);
    platform::ClearDialogAnswers();
}

const Write kWrites[] = {
    {"a string-list save", true, EditStrings, SaveAndClose},
    {"a documentation save", false,
     [](Fixture*, Documents& d) { TypeInEditor(d, {{2, "Close_Invoice"}}, 56, 5, 9); },
     SaveAndClose, true},
    {"Texts to String List", true,
     [](Fixture*, Documents& d) { Fixture::Select(Fixture::Main(Front(d.doc)), {{2, "Close_Invoice"}}); },
     [](Fixture* f, Documents&) {
         const platform::Point id = Fixture::ItemPoint(261, 6), add = Fixture::ItemPoint(261, 3);
         platform::Script s;
         s.Wait(5).Type("Texts").Click(id.h, id.v).Wait(2).Type("15000").Click(add.h, add.v).Wait(5);
         s.Choose(1).Wait(5).Choose(1).Wait(5);
         ChooseCommand(f, 50, s);
     }},
    {"a rename", false,
     [](Fixture*, Documents& d) { Fixture::Select(Fixture::Main(Front(d.doc)), {{2, "Close_Invoice"}}); },
     [](Fixture* f, Documents&) { ChooseCommand(f, 51, platform::Script().Wait(5).Type("Close_Bill").Wait(2)); },
     true},
    {"a choice list's rename", false,
     [](Fixture*, Documents& d) { Fixture::Select(Fixture::Main(Front(d.doc)), {{4, "Towns"}}); },
     [](Fixture* f, Documents&) { ChooseCommand(f, 51, platform::Script().Wait(5).Type("Regions").Wait(2)); },
     true},
    {"New Group", false, nullptr,
     [](Fixture* f, Documents&) { ChooseCommand(f, 71, platform::Script().Wait(5).Type("Fresh").Wait(2)); }, true},
    {"a drop", true,
     [](Fixture*, Documents& d) { Fixture::Select(Fixture::Main(Front(d.source)), {{11, "Invoice_Texts"}}); },
     [](Fixture*, Documents& d) {
         ASSERT_EQ(PushInteger(0), 0);
         ASSERT_EQ(PushPtr(Fixture::Main(Front(d.source))), 0);
         AnswerAll(1);
         Front(d.doc)->GetDragObj(nullptr);
         platform::ClearDialogAnswers();
     },
     false, "DemoTarget"},
    // A change for the compiler that landed before: the close counts it
    // in the companion.
    {"the close", true,
     [](Fixture* f, Documents& d) {
         EditStrings(f, d);
         SaveAndClose(f, d);
     },
     [](Fixture*, Documents&) {
         AnswerAll(1);
         MyAppl->Do_Func(4);
         platform::ClearDialogAnswers();
     }},
};

struct MeddlingRow {
    const Meddling* meddling;
    const Write* write;
    // When the other program acts: before the command, in the moment
    // between the companion's look and its swap, or right after the
    // command's first write.
    enum class Moment { Before, AtTheSwap, AfterTheFirstWrite } moment;
};

void PrintTo(const MeddlingRow& r, std::ostream* os)
{
    using Moment = MeddlingRow::Moment;
    *os << r.write->what << ", " << r.meddling->what
        << (r.moment == Moment::AtTheSwap            ? " at the swap"
            : r.moment == Moment::AfterTheFirstWrite ? " after the first write"
                                                     : "");
}

std::vector<MeddlingRow> MeddlingRows()
{
    using Moment = MeddlingRow::Moment;
    std::vector<MeddlingRow> rows;
    for (const Write& w : kWrites)
        for (const Meddling& m : kMeddlings) {
            rows.push_back({&m, &w, Moment::Before});
            if (w.companion) rows.push_back({&m, &w, Moment::AtTheSwap});
            if (w.storeOnly && m.midway) rows.push_back({&m, &w, Moment::AfterTheFirstWrite});
        }
    return rows;
}

// The files of a folder by name; with `work`, the files of a change under
// way (its temporary, its journal) too.
std::map<std::string, readtest::Bytes> FolderFiles(const std::string& folder, bool work)
{
    std::map<std::string, readtest::Bytes> out;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (!work && (platform::IsTemporaryName(name) || name.rfind(".qz.", 0) == 0)) continue;
        platform::ReadWholeFile(e.path().string(), &out[name]);
    }
    return out;
}

std::string Text1037(int16_t index)
{
    unsigned char text[256];
    MyGetIndString(text, 1037, index);
    return readtest::P(text);
}

// `before`, the path cut as a message cuts it in the room the rest leaves,
// then `after`.
std::string WithPlace(const std::string& before, const std::string& path, const std::string& after)
{
    return before + PathToFit(path, int32_t(255 - before.size() - after.size())) + after;
}

class AnotherProgram : public Fixture, public ::testing::WithParamInterface<MeddlingRow> {};

// Each way another program changes an open document's files, before each
// command that writes them, while it puts a new companion in place
// (between its look and the swap), or right after the first write of a
// change of the data file: the command writes nothing anywhere (or, with a
// read-only companion, the data file alone when it changes nothing else;
// or the change goes into the files no name reaches now), the files at the
// old names and the moved or replacing ones keep every byte, and the alert
// names the document and where it is now. The window shows what the files
// hold, and nothing is written to them afterwards, the quit included.
TEST_P(AnotherProgram, ChangingAnOpenDocumentsFilesLeavesThemAsTheyWereAndIsSaid)
{
    using Moment = MeddlingRow::Moment;
    const Meddling& m = *GetParam().meddling;
    const Write& w = *GetParam().write;
    const Moment moment = GetParam().moment;
    Documents d;
    const std::string stem = w.document, folder = InFolder("shared");
    if (std::string(w.document) == "DemoTarget") {
        d.source = OpenDoc(InFolder("Demo.QzB"));
        ASSERT_NE(d.source, nullptr);
    }
    d.doc = OpenCopy(InFolder(stem + ".QzB"), "shared");
    ASSERT_NE(d.doc, nullptr);
    if (w.ready) w.ready(this, d);
    std::string now = folder;
    std::map<std::string, readtest::Bytes> during;
    const std::string temporary = "/._" + stem + ".RSR.";
    Other* observer = nullptr;
    const auto meddle = [&] {
        now = m.act(this, folder, stem);
        if (m.says == Meddling::Says::FolderLocked) observer->locked = folder;
        during = FolderFiles(now, false);
    };
    Other other(moment == Moment::AtTheSwap            ? Point{Point::Opened, temporary.c_str()}
                : moment == Moment::AfterTheFirstWrite ? Point{Point::Wrote, ""}
                                                       : Point{},
                meddle);
    observer = &other;
    if (moment == Moment::Before) meddle();
    platform::SetFileOpObserver(&other);
    ResetAlerts();
    w.run(this, d);
    platform::SetFileOpObserver(nullptr);
    ASSERT_FALSE(during.empty()) << "the other program never came";

    using Says = Meddling::Says;
    // A folder that lets nothing be removed keeps the temporary of a write
    // it refused at the swap, for the next open to sweep.
    std::map<std::string, readtest::Bytes> after = FolderFiles(now, m.says != Says::FolderLocked);
    const bool lands =
        (m.says == Says::CompanionLocked || m.says == Says::FolderLocked) && w.storeOnly && moment == Moment::Before;
    if (lands) {
        EXPECT_NE(after[stem + ".QzB"], during[stem + ".QzB"]) << "the data file's change";
        after[stem + ".QzB"] = during[stem + ".QzB"];
    }
    EXPECT_EQ(after, during) << "the files were written";
    if (now != folder) {
        EXPECT_FALSE(fs::exists(folder)) << "something came back at the old place";
    }
    const std::string place = *m.now == '=' ? now + "/" + stem + "." + (m.now + 1) : *m.now ? now + "/" + m.now : "";
    std::string said = Text1037(1) + stem + ".QzB";
    if (lands) {
        said.clear();
    } else if (moment == Moment::AfterTheFirstWrite) {
        said += Text1037(18);
    } else if (m.says == Says::DataLocked) {
        said = Text1037(5) + stem + ".QzB" + Text1037(7);
    } else if (m.says == Says::CompanionLocked) {
        said = Text1037(5) + stem + ".RSR" + Text1037(7);
    } else if (m.says == Says::FolderLocked) {
        said = WithPlace(Text1037(13), folder, Text1037(14) + stem + ".QzB" + Text1037(15));
    } else if (m.says == Says::Deleted) {
        said += Text1037(12);
    } else {
        said += Text1037(2);
        if (!place.empty()) said = WithPlace(said + Text1037(3), place, Text1037(4));
    }
    EXPECT_EQ(AlertCount() > 0 ? ::LastAlert().text : "", said);

    // The window shows what the files hold: those at the names, or, where
    // the command was refused, those as they were before it.
    if (lands && m.says == Says::CompanionLocked)
        fs::permissions(now + "/" + stem + ".RSR", fs::perms::owner_write, fs::perm_options::add);
    if (IsOpen(d.doc))
        ExpectShowsItsFiles(d.doc, "after the command", true, false, lands ? "" : InFolder(stem + ".QzB"));
    // The other program puts the files back, and the system ends the
    // program, every editor's text let go: nothing more is written to a
    // refused document.
    if (m.back && !lands) {
        m.back(now, stem);
        during = FolderFiles(now, false);
    }
    AnswerAll(2);
    platform::SetFileOpObserver(&other);
    platform::PostTerminationRequest();
    EXPECT_EQ(appl_->Do_Func(19), 0);
    platform::ResetEventManager();
    platform::SetFileOpObserver(nullptr);
    platform::ClearDialogAnswers();
    if (!lands) {
        EXPECT_EQ(FolderFiles(now, false), during) << "the files were written after the command";
    }
}

INSTANTIATE_TEST_SUITE_P(Meddlings, AnotherProgram, ::testing::ValuesIn(MeddlingRows()),
                         [](const ::testing::TestParamInfo<MeddlingRow>& info) {
                             std::ostringstream name;
                             PrintTo(info.param, &name);
                             return TestName(name.str().c_str());
                         });

// Another program at a string-list save's swap: it renames another
// version's companion over the document's as the new one is made, then,
// once the swap has taken that file out of the name, makes the folder
// read-only or renames it.
class OtherAtTheSwap : public Other {
public:
    OtherAtTheSwap(const std::string& folder, const std::string& theirs, bool rename)
        : Other({Point::Opened, "/._Demo.RSR."},
                [=] {
                    fs::copy_file(theirs, folder + "/incoming");
                    fs::rename(folder + "/incoming", folder + "/Demo.RSR");
                }),
          folder_(folder), rename_(rename)
    {
    }
    void Exchanged(const std::string&, const std::string&) override
    {
        if (std::exchange(swapped_, true)) return;
        if (rename_) fs::rename(folder_, folder_ + " moved");
        else locked = folder_;
    }

private:
    std::string folder_;
    bool rename_, swapped_ = false;
};

// The file the swap took out goes back to its name where the folder lets
// it (the folder renamed: there), else stays where the swap put it; the
// alert says where, and it is there, whole, after the document is opened
// again.
TEST_F(DocumentWindows, AnotherProgramsFileASwapTookOutIsPutBackOrKeptAndSaid)
{
    const std::string folder = InFolder("shared"), moved = folder + " moved";
    const readtest::Bytes theirs = FileBytes(InFolder("DemoTarget.RSR"));
    for (const bool renamed : {false, true}) {
        SCOPED_TRACE(renamed ? "the folder renamed" : "the folder made read-only");
        fs::remove_all(moved);
        Documents d;
        d.doc = OpenCopy(InFolder("Demo.QzB"), "shared");
        ASSERT_NE(d.doc, nullptr);
        std::map<std::string, readtest::Bytes> expected = FolderFiles(folder, true);
        EditStrings(this, d);
        OtherAtTheSwap other(folder, InFolder("DemoTarget.RSR"), renamed);
        platform::SetFileOpObserver(&other);
        ResetAlerts();
        SaveAndClose(this, d);
        platform::SetFileOpObserver(nullptr);

        const std::string now = renamed ? moved : folder;
        std::map<std::string, readtest::Bytes> files = FolderFiles(now, true);
        std::string kept = now + "/Demo.RSR", said = Text1037(1) + "Demo.QzB";
        if (renamed) {
            said = WithPlace(said + Text1037(2) + Text1037(3), now + "/Demo.QzB", Text1037(4));
        } else {
            for (const auto& [name, bytes] : files)
                if (platform::IsTemporaryName(name)) kept = now + "/" + name;
            said = WithPlace(said + Text1037(16), kept, Text1037(17));
            // The companion holds what this program wrote.
            EXPECT_NE(files["Demo.RSR"], expected["Demo.RSR"]);
            expected["Demo.RSR"] = files["Demo.RSR"];
        }
        expected[fs::path(kept).filename()] = theirs;
        EXPECT_EQ(files, expected);
        EXPECT_EQ(::LastAlert().text, said);

        AnswerAll(2);
        EXPECT_EQ(d.doc->Close(), 0);
        platform::ClearDialogAnswers();
        TMainDoc* again = OpenDoc(now + "/Demo.QzB");
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(FileBytes(kept), theirs);
        EXPECT_EQ(again->Close(), 0);
    }
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

// A command as the event loop runs it, one allocation failing at a time
// at points spread over it: the first, the last, the middle, those around
// each file write and a few just after the last. After each the program
// goes on, says at most one thing more than the command says when it goes
// through (a save that landed nothing more), and holds what its files
// hold, every window showing what a fresh open shows. Each row's line in
// the log says what every point left (landed, undone) and what it said.
struct ShortRow {
    const char* name;
    // The command, given the demo open in two windows (DemoTarget too).
    std::function<void(Fixture*, TMainDoc* demo, TMainDoc* target)> command;
    // Run before the command and before its allocations are counted.
    std::function<void(Fixture*, TMainDoc* demo)> before = nullptr;
    // The command saves typing whose every change is the save's: once the
    // files changed, it went through.
    bool saves = false;
};

void PrintTo(const ShortRow& r, std::ostream* os) { *os << r.name; }

// Where the allocations stood at each file write of the counting run.
std::vector<int64_t> gWrites;
constexpr int64_t kCountFrom = int64_t(1) << 40;

void NoteWrite(platform::FaultKind kind)
{
    if (kind == platform::FaultKind::DiskFull && testfaults::NewFailurePending())
        gWrites.push_back(kCountFrom - testfaults::gNewFault.countdown);
}

// The allocation that fails, counted from the command's start (kCountFrom:
// none, the allocations counted); what the command made; whether it failed.
int64_t gFailAt = kCountFrom;
int64_t gUsed = 0;
bool gFired = false;

// What the user has of the program: each document with its windows'
// titles, and whether the program ends; and apart, every file of the
// test's folder (where the documents are). A document read again after
// memory ran out keeps no selection: it is left out.
std::string gFolder;
struct Snapshot {
    std::string held;
    std::map<std::string, size_t> files;  // name: a hash of what it holds
};
// The files that are not as in `base`: times written in them aside, a
// command changes the same files each time.
std::set<std::string> ChangedFiles(const Snapshot& now, const Snapshot& base)
{
    std::set<std::string> out;
    for (const auto& [name, hash] : now.files)
        if (auto it = base.files.find(name); it == base.files.end() || it->second != hash) out.insert(name);
    for (const auto& [name, hash] : base.files)
        if (!now.files.count(name)) out.insert(name);
    return out;
}
// As `as`, or as `base` (the command's files changed or not).
bool Same(const Snapshot& now, const Snapshot& as, const Snapshot& base)
{
    return now.held == as.held && ChangedFiles(now, base) == ChangedFiles(as, base);
}
// The resources of a store file as its last commit left them, read from
// a copy (the document holds the file); empty when it is no store.
std::string StoreHeld(const std::filesystem::path& path)
{
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() / ("qz-sweep-" + std::to_string(::getpid()) + path.extension().string());
    std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
    platform::FSSpec copied;
    platform::FSMakeFSSpec(copy.string(), &copied);
    const int16_t saved = xcurres();
    const int16_t file = openres(copied, true);
    std::string out;
    if (file != 0 && useres(file)) {
        std::map<std::pair<uint32_t, int16_t>, std::string> resources;
        const int32_t types = comptetypes();
        for (int32_t t = 1; t <= types; ++t) {
            const uint32_t type = xgetindtyp(t);
            const int16_t count = compteres(type, true);
            for (int32_t i = 1; i <= count; ++i) {
                platform::Handle h = xgetindres(type, i, true);
                if (!h) continue;
                int16_t id = 0;
                platform::ResType back = 0;
                xgetresinfo(h, &id, &back);
                unsigned char name[256] = {};
                xgetresname(type, id, name, true);
                resources[{type, id}] = readtest::P(name) + ":" +
                                        std::string(*h, size_t(platform::GetHandleSize(h)));
            }
        }
        for (const auto& [key, text] : resources)
            out += std::to_string(key.first) + " " + std::to_string(key.second) + " " + text + "\n";
    }
    if (file != 0) closeres(file, false);
    useres(saved);
    std::filesystem::remove(copy);
    return out;
}
// Every file of the test's folder by what it holds: a companion by its
// resources, a store by what its last commit holds (blocks written and
// never committed leave either as it was).
std::map<std::string, std::string> FilesHeld()
{
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(gFolder)) {
        if (!e.is_regular_file()) continue;
        readtest::Bytes b;
        platform::ReadWholeFile(e.path().string(), &b);
        std::string content(b.begin(), b.end());
        platform::ResourceFileImage image;
        if (e.path().extension() == ".RSR" && platform::ParseResourceFile(b.data(), b.size(), &image) == 0) {
            std::map<std::pair<uint32_t, int16_t>, std::string> resources;
            for (const platform::ResourceImage& r : image.resources)
                resources[{r.type, r.id}] = r.name + ":" + std::string(r.data.begin(), r.data.end());
            content.clear();
            for (const auto& [key, text] : resources)
                content += std::to_string(key.first) + " " + std::to_string(key.second) + " " + text + "\n";
        }
        const std::string ext = e.path().extension().string();
        if (ext == ".QzB" || ext == ".QTL" || ext == ".QCP") {
            if (std::string held = StoreHeld(e.path()); !held.empty()) content = held;
        }
        out[e.path().filename().string()] = content;
    }
    return out;
}
Snapshot Now()
{
    std::ostringstream held;
    for (TDocument* d = MyAppl->fDocList; d; d = d->fNext) {
        if (d == MyAppl->fClipBoard) continue;
        held << readtest::P(d->fName) << ":";
        for (TWindow* w = d->fFirstWindow; w; w = w->fNextWindow) {
            unsigned char title[256];
            w->GetTitle(title);
            held << " [" << readtest::P(title) << "]";
        }
        held << "\n";
    }
    held << (MyAppl->fQuit ? "ends\n" : "");
    Snapshot out{held.str(), {}};
    for (const auto& [name, content] : FilesHeld()) out.files[name] = std::hash<std::string>{}(content);
    return out;
}
std::string MemoryText()
{
    unsigned char text[256];
    ErrorMessage(platform::memFullErr, text);
    return readtest::P(text);
}
// The program as the command found it, and the alerts said before it.
Snapshot gBefore;
int32_t gAlertsBefore = 0;

template <class Work>
void Armed(Work work)
{
    gBefore = Now();
    gAlertsBefore = AlertCount();
    testfaults::FailNthNew(gFailAt);
    work();
    gUsed = gFailAt - testfaults::gNewFault.countdown;
    gFired = !testfaults::NewFailurePending();
    testfaults::StopFailingNew();
}

// An event the user makes with the mouse, taken as the loop takes it.
void Mouse(TAppl* appl, platform::Script script)
{
    platform::testing::HeadlessRun run(std::move(script));
    platform::EventRecord e{};
    ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    Armed([&] { appl->DoEvent(e); });
}
platform::Point Middle(const platform::Rect& r)
{
    return platform::Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)};
}
platform::Point BoxOf(TWindow* w, platform::WindowRegionCode code)
{
    platform::Rect r{};
    platform::GetWindowBounds(w->fWindow, code, &r);
    return Middle(r);
}
// The menu command with those rows chosen, its dialogs answered by the
// script, run as the loop runs a posted command.
std::function<void(Fixture*, TMainDoc*, TMainDoc*)> Posted(int16_t command, Rows rows,
                                                          std::function<platform::Script()> script)
{
    return [=](Fixture*, TMainDoc* demo, TMainDoc*) {
        if (!rows.empty()) Fixture::Select(Fixture::Main(Front(demo)), rows);
        platform::testing::HeadlessRun run(script());
        Armed([&] { RunCommand([&] { MyAppl->Do_Func(command); }); });
    };
}
// The editor of that class open on the object of the row, a key typed.
TWindow* EditorOn(TMainDoc* doc, int16_t kind, const std::string& name, int16_t windowClass)
{
    browser::TLstPlane* main = Fixture::Main(Front(doc));
    auto* obj = static_cast<TObjQz*>(LongLRowObject(Fixture::RowOf(main, kind, name), main->fList));
    return obj ? OpenEditor(doc, obj, windowClass) : nullptr;
}
std::function<void(Fixture*, TMainDoc*)> TypedIn(int16_t command, int16_t kind, const char* name, int16_t windowClass)
{
    return [=](Fixture*, TMainDoc* doc) {
        Fixture::Select(Fixture::Main(Front(doc)), {{kind, name}});
        EXPECT_EQ(Front(doc)->Do_Func(command), 0);
        TWindow* editor = EditorOn(doc, kind, name, windowClass);
        ASSERT_NE(editor, nullptr);
        platform::EventRecord key{};
        key.what = platform::keyDown;
        key.message = 'Z';
        editor->fFirstPlane->key(key);
    };
}
// The editor closed and its typing saved, as its question answers.
std::function<void(Fixture*, TMainDoc*, TMainDoc*)> SavedOnClose(int16_t kind, const char* name, int16_t windowClass)
{
    return [=](Fixture*, TMainDoc* demo, TMainDoc*) {
        TWindow* editor = EditorOn(demo, kind, name, windowClass);
        ASSERT_NE(editor, nullptr);
        platform::testing::HeadlessRun run(platform::Script().Wait(5));
        platform::PushDialogAnswer(1);
        Armed([&] { RunCommand([&] { editor->Close(); }); });
    };
}

// The command, its files then set beside what it leaves when it goes
// through (the counting runs) by all they hold, not only by which of them
// changed: memory running out leaves them as they were or as the command
// leaves them, whole, and nothing beside them. A command that `writes`
// nothing leaves them as they were every time.
std::map<std::string, std::string> gLandedFiles;
std::function<void(Fixture*, TMainDoc*, TMainDoc*)> Whole(std::function<void(Fixture*, TMainDoc*, TMainDoc*)> command,
                                                          bool writes = true)
{
    return [=](Fixture* f, TMainDoc* demo, TMainDoc* target) {
        const std::map<std::string, std::string> before = FilesHeld();
        command(f, demo, target);
        const std::map<std::string, std::string> now = FilesHeld();
        if (gFailAt == kCountFrom) gLandedFiles = writes ? now : before;
        if (now == before || now == gLandedFiles) return;
        std::set<std::string> names;
        for (const auto& files : {before, now, gLandedFiles})
            for (const auto& [name, content] : files) names.insert(name);
        std::string odd;
        for (const std::string& name : names) {
            auto held = [&](const std::map<std::string, std::string>& files) {
                const auto it = files.find(name);
                return it == files.end() ? std::string("(none)") : it->second;
            };
            if (held(now) == held(before) && held(now) == held(gLandedFiles)) continue;
            odd += " " + name + (held(now) == held(before)          ? " (as before)"
                                 : held(now) == held(gLandedFiles) ? " (as gone through)"
                                                                   : " (neither)");
        }
        ADD_FAILURE() << "the files are neither as before nor as the command leaves them:" << odd;
    };
}

// A new library made (none saved under its name yet), in front.
void NewLibrary(Fixture*, TMainDoc*)
{
    for (const auto& e : std::filesystem::directory_iterator(gFolder))
        if (e.path().filename().string().find("Saved") != std::string::npos) std::filesystem::remove(e.path());
    ASSERT_EQ(MyAppl->Do_Func(1), 0);
}

const ShortRow kShortRows[] = {
    {"Open", [](Fixture* f, TMainDoc*, TMainDoc* target) {
         const std::string path = target->fSpec.path;
         ASSERT_EQ(target->Close(), 0);
         platform::FSSpec document;
         platform::FSMakeFSSpec(path, &document);
         Armed([&] { RunCommand([&] { MyAppl->OpenNamedDoc(document, 0); }); });
         (void)f;
     }},
    {"A menu opened and left", [](Fixture*, TMainDoc*, TMainDoc*) {
         platform::Rect title{};
         ASSERT_TRUE(platform::GetMenuTitleRect(platform::GetMenuID(TheMenus[2]->menu), &title));
         const platform::Point p = Middle(title);
         Mouse(MyAppl, platform::Script().Press(p.h, p.v).Move(p.h, 300).Wait(2).Move(900, 700).Wait(2).Release());
     }},
    {"New Library picked in the File menu", [](Fixture*, TMainDoc*, TMainDoc*) {
         platform::Rect title{};
         ASSERT_TRUE(platform::GetMenuTitleRect(platform::GetMenuID(TheMenus[2]->menu), &title));
         const platform::Point p = Middle(title);
         // Released inside the menu's first item, a few points under the bar.
         Mouse(MyAppl, platform::Script().Press(p.h, p.v).Move(p.h, int16_t(title.bottom + 8)).Wait(2).Release());
     }},
    {"Select All by its key", [](Fixture*, TMainDoc*, TMainDoc*) {
         platform::EventRecord e{};
         e.what = platform::keyDown;
         e.message = 'a';
         e.modifiers = platform::cmdKey;
         Armed([&] { MyAppl->DoEvent(e); });
     }},
    {"Texts to String List", Posted(50, {{2, "Close_Invoice"}}, [] { return Fixture::TextsIntoList15000(); })},
    {"Zoom", [](Fixture*, TMainDoc* demo, TMainDoc*) {
         const platform::Point p = BoxOf(Front(demo), platform::kWindowZoomBoxRgn);
         Mouse(MyAppl, platform::Script().Press(p.h, p.v).Wait(2).Release());
     }},
    {"Close a window", [](Fixture*, TMainDoc* demo, TMainDoc*) {
         const platform::Point p = BoxOf(Front(demo), platform::kWindowCloseBoxRgn);
         Mouse(MyAppl, platform::Script().Press(p.h, p.v).Wait(2).Release());
     }},
    {"Close Document", Posted(4, {}, [] { return platform::Script().Wait(5); })},
    {"Quit", Posted(19, {}, [] { return platform::Script().Wait(5); })},
    {"Open the string-list editor", Posted(52, {{11, "Invoice_Texts"}}, [] { return platform::Script().Wait(5); })},
    {"Open the documentation editor",
     Whole(Posted(56, {{2, "Close_Invoice"}}, [] { return platform::Script().Wait(5); }))},
    {"Save the string-list editor", SavedOnClose(11, "Invoice_Texts", 4), TypedIn(52, 11, "Invoice_Texts", 4), true},
    {"Save the documentation editor", Whole(SavedOnClose(2, "Close_Invoice", 5)), TypedIn(56, 2, "Close_Invoice", 5),
     true},
    {"Save a new library", Whole([](Fixture*, TMainDoc*, TMainDoc*) {
         platform::testing::HeadlessRun run(platform::Script().Wait(5));
         platform::PushFileDialogAnswer(gFolder + "/Saved.QTL");
         Armed([&] { RunCommand([&] { MyAppl->Do_Func(18); }); });
     }),
     NewLibrary},
    {"Rename", Posted(51, {{2, "Close_Invoice"}}, Typed("Close_Bill"))},
    {"New Group", Posted(71, {}, Typed("Fresh"))},
    {"A drop", [](Fixture*, TMainDoc* demo, TMainDoc* target) {
         Fixture::Select(Fixture::Main(Front(demo)), {{2, "Close_Invoice"}});
         ASSERT_EQ(PushInteger(0), 0);
         ASSERT_EQ(PushPtr(Fixture::Main(Front(demo))), 0);
         platform::testing::HeadlessRun run(platform::Script().Wait(5));
         for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
         Armed([&] { RunCommand([&] { Front(target)->GetDragObj(nullptr); }); });
     }},
};

class ShortOfMemory : public Fixture, public ::testing::WithParamInterface<ShortRow> {
protected:
    void TearDown() override
    {
        platform::SetFaultProbe(nullptr);
        testfaults::StopFailingNew();
        Fixture::TearDown();
    }
    // Every document closed, the files copied anew, the demo and
    // DemoTarget open (the demo in two windows, in front) and the row's
    // preparation done.
    std::pair<TMainDoc*, TMainDoc*> Fresh(const ShortRow& row)
    {
        appl_->fQuit = false;
        while (TDocument* doc = FirstDocument()) {
            platform::testing::HeadlessRun run(platform::Script().Wait(5));
            platform::PushDialogAnswer(2);
            if (doc->Close() != 0) break;
        }
        for (const char* stem : {"Demo", "DemoTarget"}) CopyBuilt(stem);
        TMainDoc* target = OpenDoc(InFolder("DemoTarget.QzB"));
        TMainDoc* demo = OpenInTwoWindows("Demo");
        if (demo && row.before) row.before(this, demo);
        ResetAlerts();
        return {demo, target};
    }
    TDocument* FirstDocument() const
    {
        for (TDocument* d = appl_->fDocList; d; d = d->fNext)
            if (d != appl_->fClipBoard) return d;
        return nullptr;
    }
};

TEST_P(ShortOfMemory, TheProgramGoesOnWithItsDocumentsAsTheirFilesAndSaysItOnce)
{
    const ShortRow& row = GetParam();
    gFolder = folder_.path();
    // The counting run: the command's allocations and where its writes come.
    // Run twice: the first run fills caches later runs find filled.
    auto [demo, target] = Fresh(row);
    ASSERT_TRUE(demo && target);
    gFailAt = kCountFrom;
    row.command(this, demo, target);
    std::tie(demo, target) = Fresh(row);
    ASSERT_TRUE(demo && target);
    gWrites.clear();
    platform::SetFaultProbe(NoteWrite);
    row.command(this, demo, target);
    const int64_t count = gUsed;
    platform::SetFaultProbe(nullptr);
    const int32_t said = AlertCount();
    // What the command leaves when it goes through; what a failure leaves
    // is set beside it in the row's line of the log.
    const Snapshot untouched = gBefore, landed = Now();
    const std::string saidThrough = AlertCount() > gAlertsBefore ? LastAlert().text : "";
    std::string line = std::string(row.name) + " (" + std::to_string(count) + " allocations; gone through: " +
                       (Same(landed, untouched, untouched) ? "no change" : "changed") +
                       (saidThrough.empty() ? "" : ", says \"" + saidThrough.substr(0, 40) + "\"") + "):";
    ASSERT_GT(count, 0);
    std::set<int64_t> points{0, count / 2, count - 1};
    const std::vector<int64_t> writes = gWrites;
    for (size_t i = 0; i < writes.size(); ++i) {
        // Around the first two writes and the last.
        if (i >= 2 && i + 1 < writes.size()) continue;
        for (int64_t d : {-1, 0, 1}) points.insert(std::clamp<int64_t>(writes[i] + d, 0, count - 1));
    }
    // Just after the last write took its place (a save that landed).
    for (int64_t d = 2; !writes.empty() && d <= 64; d *= 2) points.insert(std::min(writes.back() + d, count - 1));
    size_t fired = 0;
    for (const int64_t point : points) {
        const std::string what = std::string(row.name) + ", allocation " + std::to_string(point) + " of " +
                                 std::to_string(count) + " failing";
        SCOPED_TRACE(what);
        std::tie(demo, target) = Fresh(row);
        ASSERT_TRUE(demo && target);
        gFailAt = point;
        row.command(this, demo, target);
        gFailAt = kCountFrom;
        // A command may make fewer allocations another time (caches kept).
        fired += gFired ? 1 : 0;
        const Snapshot now = Now();
        const std::string says = AlertCount() > gAlertsBefore ? LastAlert().text : "";
        const std::set<std::string> changed = ChangedFiles(now, untouched);
        const bool saved = !changed.empty() && changed == ChangedFiles(landed, untouched);
        line += " " + std::to_string(point) + (gFired ? "" : " (none failed)") + " " +
                (Same(landed, untouched, untouched) ? (Same(now, untouched, untouched) ? "as before" : "changed")
                 : Same(now, landed, untouched)     ? "landed"
                 : Same(now, untouched, untouched)  ? "undone"
                 : saved                            ? "saved, windows not"
                                                    : "partly") +
                (says.empty()                  ? ""
                 : says == saidThrough         ? ", says as through"
                 : says == MemoryText()        ? ", says memory"
                                               : ", says \"" + says.substr(0, 40) + "\"") +
                ";";
        // The files are as before or as the command leaves them, and
        // nothing is left beside them.
        EXPECT_TRUE(changed.empty() || saved) << what;
        // A command that went through, files and windows (a save: files)
        // as it meant, is not said to have failed.
        if (saved && (row.saves || Same(now, landed, untouched))) {
            EXPECT_TRUE(says.empty() || says == saidThrough) << says;
        }
        // At most one thing said beyond what the command says; memory
        // running short said at most once, and as itself.
        EXPECT_LE(AlertCount(), said + 1);
        EXPECT_TRUE(says.empty() || says == saidThrough || says == MemoryText()) << says;
        // Every document open holds what its files hold, and each window
        // shows what a fresh open shows.
        for (TDocument* d = appl_->fDocList; d; d = d->fNext) {
            if (d == appl_->fClipBoard || !d->IsMember(2)) continue;
            auto* doc = static_cast<TMainDoc*>(d);
            EXPECT_FALSE(doc->fBusy);
            EXPECT_EQ(Companion(doc, true), Companion(doc, false)) << doc->fSpec.path;
            EXPECT_FALSE(Windows(doc).empty()) << doc->fSpec.path;
            for (TRefWindow* w : Windows(doc)) w->update(platform::EventRecord{});
            // A new library's window shows its name, not its working file's.
            const bool untitled = doc->IsMember(3) && static_cast<TLibDoc*>(doc)->fWorkName[0] != 0;
            ExpectShowsItsFiles(doc, what + ", " + readtest::P(doc->fName), !untitled);
        }
    }
    EXPECT_GE(fired, 1u);
    std::cout << line << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Commands, ShortOfMemory, ::testing::ValuesIn(kShortRows),
                         [](const ::testing::TestParamInfo<ShortRow>& info) { return TestName(info.param.name); });

}  // namespace
}  // namespace transfertest
