// The main list over documents made by the document builder and read the
// way the program reads them.
#include <set>
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/longlist/LongList.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "browser/dialogs/NamingDialogs.h"
#include "browser/dialogs/StrListDialog.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FormReader.h"
#include "platform/core/Endian.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"
#include "transfer/InstallTransfer.h"
#include "tests/browser/StrListRows.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using readtest::Bytes;
using readtest::P;

namespace browsertest {
namespace {

class BuiltDocument : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
    }
    void TearDown() override
    {
        if (window_) {
            doc_.RemoveWindow(window_);
            window_->Dispose();
        }
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
    }
    browser::TLstPlane* OpenList()
    {
        window_ = new TRefWindow;
        EXPECT_EQ(window_->ITWindow(reinterpret_cast<const unsigned char*>("\x03" "Doc"), Rect{40, 10, 373, 611},
                                    true, 0, &doc_, 8),
                  0);
        doc_.AddWindow(window_);
        auto* pane = new browser::TLstPlane;
        EXPECT_EQ(pane->ITPlane(Rect{0, 0, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
        window_->AddPlane(pane);
        pane->SetFilter(128);
        return pane;
    }
    TRefWindow* window_ = nullptr;
};

// Where each kind stands in the list.
int Position(int16_t kind)
{
    browser::TypeNum order;
    int i = 0;
    for (int16_t k = order.Next(); k != -1; k = order.Next(), ++i)
        if (k == kind) return i;
    return -1;
}

// Every row of the demo names its object: a row that reads only its kind
// ("Command") is an object the program has no name for.
TEST_F(BuiltDocument, TheDemosRowsNameTheirObjects)
{
    docbuilder::BuildResult r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    transfer::InstallModuleManager();  // the demo's installed component is enciphered
    Open(r);
    ASSERT_EQ(Read(), 0);
    browser::TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    // Groups open, so that their members are rows too.
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        if (o->Openable() && !IsOpenCell(row, pane->fList)) pane->SwitchCellState(row);
    }
    int commands = 0;
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        unsigned char prefix[256], text[256], kind[256];
        browser::RowText(o, prefix, text);
        MyGetIndString(kind, 1012, o->kind);
        EXPECT_NE(readtest::P(text), readtest::P(kind) + " ") << "row " << row << " kind " << o->kind << " id " << o->id;
        commands += o->kind == 3;
    }
    EXPECT_EQ(commands, 5);
}

TEST_F(BuiltDocument, EveryKindInOrderAndEveryListedObjectOnce)
{
    const auto r = Build("structure Every seed 3\ngenerate 400\n");
    Open(r);
    ASSERT_EQ(Read(), 0);
    browser::TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_FALSE(pane->fCutShort);

    // What the rows must hold: every object of a listed kind that no
    // group holds, found by walking the document's lists and what tables
    // and forms own.
    std::set<TObjQz*> expected;
    auto consider = [&](TObjQz* o) {
        if (o && Position(o->kind) >= 0 && !o->TstFlag(kFlagGrouped) && !o->TstFlag(kFlagInTrash) &&
            !o->TstFlag(kFlagHidden))
            expected.insert(o);
    };
    auto each = [&](ObjListHdl l, auto f) {
        for (int32_t i = 0; l && i < l->Size(); ++i) f(l->At(i));
    };
    for (int16_t k = 1; k <= 23; ++k) each(List(k), consider);
    each(List(1), [&](TObjQz* t) {
        auto* table = dynamic_cast<TFileObjQz*>(t);
        if (!table) return;
        consider(table->method);
        each(table->balloons, consider);
        each(table->forms, [&](TObjQz* f) {
            consider(f);
            auto* form = static_cast<TLayoutObjQz*>(f);
            consider(form->formMethod);
            each(form->objMethods, consider);
        });
    });
    std::vector<TObjQz*> methods;
    for (TObjQz* o : expected)
        if (auto* m = dynamic_cast<TGnlProcObjQz*>(o)) methods.push_back(m);
    for (TObjQz* m : methods) each(static_cast<TGnlProcObjQz*>(m)->locals, consider);

    std::set<TObjQz*> seen;
    int lastPosition = -1;
    bool localsBegun = false;
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        ASSERT_NE(o, nullptr);
        EXPECT_TRUE(seen.insert(o).second) << "twice: row " << row;
        EXPECT_TRUE(expected.count(o)) << "not listed: row " << row << " kind " << o->kind;
        const int position = Position(o->kind);
        EXPECT_GE(position, lastPosition) << "row " << row;
        lastPosition = position;
        if (o->kind == 9) {
            const bool local = static_cast<TVarObjQz*>(o)->method != nullptr;
            EXPECT_FALSE(localsBegun && !local) << "a process variable after the locals: row " << row;
            localsBegun = localsBegun || local;
        }
    }
    EXPECT_EQ(seen.size(), expected.size());
    std::set<int16_t> kinds;
    for (TObjQz* o : seen) kinds.insert(o->kind);
    EXPECT_GE(kinds.size(), 12u);

    unsigned char header[256];
    pane->HeaderText(header);
    EXPECT_EQ(readtest::P(header), "Objects - All objects (" + std::to_string(pane->fList->rowCount) + ")");

    // A group opened shows its members just below, one level deeper.
    for (int32_t row = 0; row < pane->fList->rowCount; ++row) {
        auto* o = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        if (o->kind != 23 || !o->members || o->members->Size() == 0) continue;
        pane->SwitchCellState(row);
        auto* first = static_cast<TObjQz*>(LongLRowObject(row + 1, pane->fList));
        EXPECT_EQ(first->parent, o);
        EXPECT_EQ(first->GetLevel(), o->GetLevel() + 1);
        break;
    }
}

constexpr const char* kForms = R"(structure Forms
table Customers
  field Name alpha 40
  field Town alpha 30
  form Entry iff
    field Name
    field Town
  form Listing
    field Name
    field Town
table Lines
  field Product alpha 40
  form Line_Entry iff
    field Product
)";

const uint32_t kFOQz = FourCC("FOQz");

// Objects > Scale Forms over a structure of three forms: the dialog's
// choice, every selected form scaled in one commit, the document untouched
// when one fails.
class ScaleForms : public BuiltDocument {
protected:
    void SetUp() override
    {
        BuiltDocument::SetUp();
        built_ = Build(kForms);
    }
    // The document read and shown in a main list, the named forms' rows
    // selected.
    void ShowAndSelect(const std::vector<std::string>& names)
    {
        Open(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        pane_ = OpenList();
        pane_->SetDfltFilter(128);
        for (int32_t row = 0; row < pane_->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, pane_->fList));
            for (const std::string& n : names)
                if (obj->kind == 24 && P(obj->name) == n) LongLSetSelect(true, row, pane_->fList);
        }
        int32_t selected = 0;
        for (int32_t row = 0; LongLGetSelect(true, &row, pane_->fList); ++row) ++selected;
        ASSERT_EQ(selected, int32_t(names.size()));
    }
    TLayoutObjQz* Form(const std::string& name)
    {
        for (const char* table : {"Customers", "Lines"}) {
            auto* t = static_cast<TFileObjQz*>(Find(1, table));
            for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i)
                if (P(t->forms->At(i)->name) == name) return static_cast<TLayoutObjQz*>(t->forms->At(i));
        }
        return nullptr;
    }
    // "top,left" of each object of the form's first page, as stored.
    std::vector<std::string> Places(const std::string& name)
    {
        std::vector<std::string> out;
        Handle image = xget1res(kFOQz, Form(name)->formResId);
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, nullptr);
        if (!image || ReadFormImage(image, &frame) != 0) return {"unread"};
        PageEntry e;
        GetPage(frame.pages, 1, &e);
        for (LayoutObject* o = e.first; o; o = o->next)
            out.push_back(std::to_string(o->bounds[0]) + "," + std::to_string(o->bounds[1]));
        DestroyPages(frame.pages);
        return out;
    }
    // Objects > Scale Forms with the dialog's items chosen in turn.
    int16_t Scale(const std::vector<int16_t>& items)
    {
        Script s;
        s.Wait(5);
        for (int16_t item : items) s.Choose(item).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        const int16_t err = pane_->Do_Func(75);
        EXPECT_EQ(run.watchdogMessage, "");
        return err;
    }
    docbuilder::BuildResult built_;
    browser::TLstPlane* pane_ = nullptr;
};

TEST_F(ScaleForms, TheDialogGivesTheChosenScaleAndTheTextsFlag)
{
    // Items chosen, then (when `typed`) the number typed over the 100
    // shown and OK; a refused number beeps and the dialog stays (Cancel).
    struct Case {
        std::vector<int16_t> items;
        const char* typed;
        int16_t result, scale;
        uint8_t flag;
    } cases[] = {
        {{1}, nullptr, 0, 75, 0},       {{6, 1}, nullptr, 0, 134, 0},   {{6, 7, 1}, nullptr, 0, 75, 0},
        {{8, 1}, nullptr, 0, 100, 0},   {{9, 1}, nullptr, 0, 100, 0},   {{11, 6, 1}, nullptr, 0, 134, 1},
        {{11, 11, 1}, nullptr, 0, 75, 0}, {{6, 2}, nullptr, 1001, 5, 9},  {{8}, "1", 0, 1, 0},
        {{8}, "32767", 0, 32767, 0},    {{8}, "0", 1001, 5, 9},         {{8}, "32768", 1001, 5, 9},
        {{8}, "", 1001, 5, 9},          {{8}, "5x", 1001, 5, 9},
    };
    for (const Case& c : cases) {
        Script s;
        s.Wait(5);
        for (int16_t item : c.items) s.Choose(item).Wait(5);
        if (c.typed) {
            for (int i = 0; i < 3; ++i) s.Key("delete");
            s.Type(c.typed).Wait(2).Choose(1).Wait(5);
            if (c.result != 0) s.Choose(2).Wait(5);
        }
        const uint32_t beeps = SysBeepCount();
        platform::testing::HeadlessRun run(std::move(s));
        ScaleLayoutParmRec params{5, 9};
        const std::string what = std::to_string(c.items.size()) + " " + (c.typed ? c.typed : "-");
        EXPECT_EQ(browser::GetScaleLayoutParm(&params), c.result) << what;
        EXPECT_EQ(run.watchdogMessage, "");
        EXPECT_EQ(params.scale, c.scale) << what;
        EXPECT_EQ(params.flag, c.flag) << what;
        EXPECT_EQ(SysBeepCount() - beeps, c.typed && c.result ? 1u : 0u) << what;
    }
}

TEST_F(ScaleForms, EverySelectedFormIsScaledTheOthersStay)
{
    ShowAndSelect({"Entry", "Line_Entry"});
    // The builder lays the rows out from top 10, 26 apart, left 10.
    ASSERT_EQ(Places("Entry"), (std::vector<std::string>{"10,10", "36,10"}));
    const Bytes listing = Stored(kFOQz, Form("Listing")->formResId);
    EXPECT_EQ(Scale({6, 1}), 0);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"13,13", "48,13"}));  // 134 %, toward zero
    EXPECT_EQ(Places("Line_Entry"), (std::vector<std::string>{"13,13"}));
    EXPECT_EQ(Stored(kFOQz, Form("Listing")->formResId), listing);
    // On the disk: read again.
    doc_.RemoveWindow(window_);
    window_->Dispose();
    window_ = nullptr;
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    UseQzRes(doc_.fResFile);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"13,13", "48,13"}));
}

TEST_F(ScaleForms, CancelAFormThatDoesNotReadOrAFullDiskLeavesTheDocumentAsItWas)
{
    // Listing's data (an older flat layout) cut short in memory does not
    // read; then every form with the disk full.
    ShowAndSelect({"Entry", "Listing"});
    Handle listing = xget1res(kFOQz, Form("Listing")->formResId);
    ASSERT_NE(listing, nullptr);
    SetHandleSize(listing, GetHandleSize(listing) - 3);
    const Bytes before = FileBytes(built_.dataPath);
    const int32_t alerts = AlertCount();
    EXPECT_EQ(Scale({2}), 0);        // Cancel
    EXPECT_EQ(Scale({6, 1, 1}), 0);  // OK, then the error's OK
    EXPECT_EQ(AlertCount(), alerts + 1);
    for (int32_t row = 0; row < pane_->fList->rowCount; ++row)
        if (P(static_cast<TObjQz*>(LongLRowObject(row, pane_->fList))->name) == "Listing")
            LongLSetSelect(false, row, pane_->fList);
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        EXPECT_EQ(Scale({6, 1, 1}), 0);
    }
    EXPECT_EQ(AlertCount(), alerts + 2);
    EXPECT_EQ(FileBytes(built_.dataPath), before);
    EXPECT_EQ(Places("Entry"), (std::vector<std::string>{"10,10", "36,10"}));
}

// The demo in a main list for the group commands: rows dropped on a group
// row join it; a document of 2501 resources refuses the group commands
// and the texts' move into a string list before any dialog opens.
class DemoGroups : public BuiltDocument {
protected:
    void SetUp() override
    {
        BuiltDocument::SetUp();
        built_ = docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc",
                                               folder_.path());
        ASSERT_EQ(built_.error, 0) << built_.message;
        transfer::InstallModuleManager();
        Open(built_);
        ASSERT_EQ(Read(), 0);
        UseQzRes(doc_.fResFile);
        pane_ = OpenList();
        pane_->SetDfltFilter(128);
    }
    int32_t Row(TObjQz* obj) { return browser::GetCellData(obj, pane_->fList); }
    void Select(const std::vector<TObjQz*>& objects)
    {
        RazSelect(pane_->fList);
        for (TObjQz* o : objects) {
            ASSERT_GE(Row(o), 0) << P(o->name);
            LongLSetSelect(true, Row(o), pane_->fList);
        }
    }
    static std::set<std::string> Members(TObjQz* group)
    {
        std::set<std::string> out;
        for (int32_t i = 0; group && group->members && i < group->members->Size(); ++i)
            out.insert(P(group->members->At(i)->name));
        return out;
    }
    docbuilder::BuildResult built_;
    browser::TLstPlane* pane_ = nullptr;
};

TEST_F(DemoGroups, RowsDroppedOnAGroupRowJoinIt)
{
    TObjQz* accounting = Find(23, "Accounting");
    TObjQz* logging = Find(23, "Logging");
    TObjQz* start = Find(2, "Close_Invoice");
    TObjQz* header = Find(4, "Towns");
    ASSERT_NE(header, nullptr);
    ASSERT_NE(accounting, nullptr);
    ASSERT_NE(logging, nullptr);
    ASSERT_EQ(start->parent, nullptr);
    ASSERT_EQ(header->parent, nullptr);
    const std::set<std::string> before = Members(accounting), logged = Members(logging);
    // A group dropped on itself, or any drop while the list drags onto
    // itself as a group, changes nothing.
    Select({accounting});
    pane_->GroupQzObj(pane_, Row(accounting));
    EXPECT_EQ(Members(accounting), before);
    Select({start, header});
    browser::G_SelfGroup = true;
    pane_->GroupQzObj(pane_, Row(accounting));
    browser::G_SelfGroup = false;
    EXPECT_EQ(Members(accounting), before);
    // A row that is no group takes nothing.
    pane_->GroupQzObj(pane_, Row(Find(1, "Customers")));
    EXPECT_EQ(start->parent, nullptr);

    Select({start, header});
    pane_->GroupQzObj(pane_, Row(accounting));
    std::set<std::string> joined = before;
    joined.insert({"Close_Invoice", "Towns"});
    EXPECT_EQ(Members(accounting), joined);
    EXPECT_EQ(start->parent, accounting);
    EXPECT_EQ(header->parent, accounting);
    EXPECT_EQ(Members(logging), logged);
    // Stored: read again, the group holds them.
    Reopen(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Members(Find(23, "Accounting")), joined);
}

TEST_F(DemoGroups, TwoThousandFiveHundredAndOneResourcesRefuseBeforeAnyDialog)
{
    ErrMsg(1008);
    const std::string said = LastAlert().text;
    const int32_t count = CountTotResources(doc_.fRsrFile);
    ASSERT_LT(count, 2501);
    const int16_t saved = CurResFile();
    UseResFile(doc_.fRsrFile);
    for (int32_t i = count; i < 2501; ++i) {
        Handle h = NewHandleClear(2);
        AddResource(h, FourCC("Junk"), int16_t(1000 + i), reinterpret_cast<const unsigned char*>("\0"));
        ASSERT_EQ(ResError(), noErr);
    }
    UseResFile(saved);
    ASSERT_EQ(CountTotResources(doc_.fRsrFile), 2501);
    const size_t groups = List(23) ? size_t(List(23)->Size()) : 0;
    Select({Find(2, "Close_Invoice")});
    struct Case {
        int16_t command;
        int16_t result;
    } cases[] = {{70, 0}, {71, 0}, {72, 0}, {50, 1008}};
    for (const Case& c : cases) {
        const int32_t alerts = AlertCount();
        // Were a dialog to open, Cancel would end it.
        Script s;
        s.Wait(5).Choose(1).Wait(5).Choose(2);
        platform::testing::HeadlessRun run(std::move(s));
        EXPECT_EQ(pane_->Do_Func(c.command), c.result) << c.command;
        EXPECT_EQ(AlertCount(), alerts + 1) << c.command;
        EXPECT_EQ(LastAlert().text, said) << c.command;
    }
    EXPECT_EQ(List(23) ? size_t(List(23)->Size()) : 0, groups);
    EXPECT_EQ(Find(2, "Close_Invoice")->parent, nullptr);
}


// A group taken apart leaves its members selected; a full group holds
// the selected rows with what they use.
TEST_F(DemoGroups, UngroupingSelectsTheMembersAndAFullGroupHoldsTheRows)
{
    TObjQz* accounting = Find(23, "Accounting");
    ASSERT_NE(accounting, nullptr);
    const std::set<std::string> members = Members(accounting);
    ASSERT_FALSE(members.empty());
    Select({accounting});
    pane_->UnGroup();
    EXPECT_EQ(Find(23, "Accounting"), nullptr);
    std::set<std::string> selected;
    for (int32_t row = 0; LongLGetSelect(true, &row, pane_->fList); ++row)
        selected.insert(P(static_cast<TObjQz*>(LongLRowObject(row, pane_->fList))->name));
    EXPECT_EQ(selected, members);

    TObjQz* start = Find(2, "Close_Invoice");
    ASSERT_NE(start, nullptr);
    Select({start});
    {
        Script s;
        s.Wait(5).Type("Bundle").Wait(2).Choose(1).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        pane_->FullGroup();
        EXPECT_EQ(run.watchdogMessage, "");
    }
    TObjQz* bundle = Find(23, "Bundle");
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(Members(bundle).count("Close_Invoice"), 1u);
    EXPECT_EQ(start->parent, bundle);
}

// Moving the texts into a string list when the dialog gives no list
// changes nothing and says nothing; moving them back asks first with its
// own question.
TEST_F(DemoGroups, TheTextCommandsAskFirst)
{
    Select({Find(2, "Close_Invoice")});
    const int32_t alerts = AlertCount();
    {
        Script s;
        s.Wait(5).Choose(browser::kStrListCancel).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        EXPECT_EQ(pane_->Do_Func(50), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    EXPECT_EQ(AlertCount(), alerts);
    {
        Script s;
        s.Wait(5).Choose(2).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        EXPECT_EQ(pane_->Do_Func(77), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    EXPECT_EQ(AlertCount(), alerts + 1);
    unsigned char question[256];
    MyGetIndString(question, 1002, 46);
    EXPECT_EQ(LastAlert().text, P(question));
}


// Replace Text never cuts a method's quoted text: where the replacement
// would pass its 81 characters the method keeps its bytes, and the command
// says which objects kept texts whole.
TEST_F(DemoGroups, ReplaceTextLeavesATextItWouldMakeTooLongAndSaysWhere)
{
    TObjQz* close = Find(2, "Close_Invoice");
    Select({close});
    const Bytes before = Stored(FourCC("CCQz"), close->id);
    Script s;
    s.Wait(5).Type("e").Key("tab");
    s.Type(std::string(200, 'x')).Wait(2).Choose(1).Wait(5).Choose(1).Wait(5);
    {
        platform::testing::HeadlessRun run(std::move(s));
        EXPECT_EQ(pane_->Do_Func(76), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    EXPECT_EQ(Stored(FourCC("CCQz"), close->id), before);
    unsigned char said[256];
    MyGetIndString(said, 1036, 1);
    EXPECT_EQ(LastAlert().text, P(said) + "Close_Invoice");
}

// The string-list dialog of the texts' move offers the demo's own list,
// not the routine list ('STR#' 1) of its package Invoicing_Tools.
TEST_F(DemoGroups, TheTextsAreOfferedNoListOfAPlugIn)
{
    browser::RegisterListDefinitions();  // the dialog's list rows, as at start-up
    static std::vector<int16_t> offered;
    offered.clear();
    platform::SetScriptedAnswerObserver([](DialogRef) {
        offered = OfferedStringListIds();
    });
    Select({Find(2, "Close_Invoice")});
    {
        Script s;
        s.Wait(5).Choose(browser::kStrListCancel).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        EXPECT_EQ(pane_->Do_Func(50), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    platform::SetScriptedAnswerObserver(nullptr);
    EXPECT_EQ(offered, std::vector<int16_t>{15000});
}

// A prefix given to a process variable renames it everywhere, as the only
// variable of that name.
TEST_F(DemoGroups, APrefixedProcessVariableTakesItsNewName)
{
    TObjQz* count = Find(9, "vCustomer_Count");
    ASSERT_NE(count, nullptr);
    Select({count});
    const int32_t alerts = AlertCount();
    {
        Script s;
        s.Wait(5).Type("x").Wait(2).Choose(1).Wait(5);
        platform::testing::HeadlessRun run(std::move(s));
        pane_->Prefix();
        EXPECT_EQ(run.watchdogMessage, "");
    }
    EXPECT_EQ(AlertCount(), alerts);
    EXPECT_EQ(Find(9, "vCustomer_Count"), nullptr);
    EXPECT_EQ(Find(9, "xvCustomer_Count"), count);
}

}  // namespace
}  // namespace browsertest
