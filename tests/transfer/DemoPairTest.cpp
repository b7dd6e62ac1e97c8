// The screenshot of the program opened on the demo and its destination
// (run_transfer_demo.sh): both documents opened here as the program opens
// them give the two browser windows in the same places; each window's
// title bar on the program's screen must match the one composed here,
// pixel for pixel. Skipped when not given a run.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "design/filters/ObjFilter.h"
#include "design/links/ParseSupport.h"
#include "design/transfer/TableRecords.h"
#include "design/objects/TransferHooks.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/Events.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/files/WholeFile.h"
#include "platform/menus/Menus.h"
#include "platform/imports/PngCodec.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "resources/ResourceApi.h"
#include "platform/windows/WindowRecord.h"
#include "tests/design/ReadFixture.h"
#include "tests/transfer/DemoPairFixture.h"
#include "tests/transfer/LinkPicksPlan.h"
#include "transfer/InstallTransfer.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictDialog.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/EditDialogs.h"

using namespace platform;

namespace transfertest {
namespace {


TEST_F(DemoPair, BothWindowsShowTheirTitlesWhereTheProgramPutThem)
{
    const char* work = std::getenv("QZ_DEMO_SCREENS");
    const char* pair = std::getenv("QZ_DEMO_PAIR");
    if (!work || !pair) GTEST_SKIP() << "checks the screenshot of the demo pair's run";
    const std::string paths(pair);
    const std::string demo = paths.substr(0, paths.find(':')), target = paths.substr(paths.find(':') + 1);
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/pair.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    const Rect screen = ScreenBounds();
    ASSERT_EQ(shot.width(), screen.right - screen.left);
    ASSERT_EQ(shot.height(), screen.bottom - screen.top);

    TRefWindow* first = OpenAsProgram(&doc_, demo);
    TRefWindow* second = OpenAsProgram(&other_, target);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    int32_t windows = 0;
    for (auto [window, name] : {std::pair{first, std::string("Demo.QzB")}, {second, std::string("DemoTarget.QzB")}}) {
        unsigned char title[256];
        GetWTitle(window->fWindow, title);
        const std::string text = readtest::P(title);
        EXPECT_EQ(text.substr(text.size() - name.size()), name);
        const Rect bar = TitleBarRect(*window->fWindow);
        ASSERT_GT(bar.right - bar.left, 100);
        int32_t differ = 0;
        for (int16_t v = bar.top; v < bar.bottom; ++v)
            for (int16_t h = bar.left; h < bar.right; ++h)
                if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                    ADD_FAILURE() << name << ": the title bar differs at (" << h - bar.left << ", " << v - bar.top
                                  << ")";
        EXPECT_EQ(differ, 0) << name;
        ++windows;
    }
    EXPECT_EQ(windows, 2);
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

std::vector<std::string> RowNames(const LongListRec* list)
{
    std::vector<std::string> names;
    for (int32_t r = 0; r < list->rowCount; ++r)
        names.push_back(readtest::P(static_cast<TObjQz*>(LongLRowObject(r, const_cast<LongListRec*>(list)))->name));
    return names;
}

// The demo's installed component, read as the program reads it: listed in
// the main list; of its members the lists may show the public and the
// protected one, never the private one; only the public one may be viewed.
TEST_F(DemoPair, TheInstalledComponentShowsItsPublicAndProtectedMembersOnly)
{
    // A copy: the build's demo is never opened, other tests copy it meanwhile.
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QZ_BUILD_DIR) + "/demo")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Demo.", 0) == 0 || name.rfind("._Demo.", 0) == 0)
            std::filesystem::copy_file(entry.path(), folder_ / name);
    }
    TRefWindow* window = OpenAsProgram(&doc_, folder_ / "Demo.QzB");
    ASSERT_NE(window, nullptr);
    browser::TLstPlane* main = nullptr;
    for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
        if (p->IsMember(2)) main = static_cast<browser::TLstPlane*>(p);
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> names = RowNames(main->fList);
    EXPECT_NE(std::find(names.begin(), names.end(), "Invoice_Reports"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Report_Core"), names.end());
    const std::tuple<const char*, int16_t, bool, bool> members[] = {
        {"Report_Header", 36, true, true}, {"Report_Totals", 37, true, false}, {"Report_Core", 38, false, false}};
    IModuleManager* manager = doc_.fModuleManager;
    ASSERT_NE(manager, nullptr);
    auto* preview = dynamic_cast<browser::TDisplayPlane*>(main->fPreview);
    ASSERT_NE(preview, nullptr);
    for (auto [name, id, listed, viewable] : members) {
        TObjQz* method = Find(2, name);
        ASSERT_NE(method, nullptr) << name;
        EXPECT_EQ(ObjFilter(nullptr, method), listed) << name;
        EXPECT_EQ(manager->Visible(FourCC("CCQz"), id), listed) << name;
        EXPECT_EQ(manager->Viewable(FourCC("CCQz"), id), viewable) << name;
        // The preview shows a method's text only when it may be viewed;
        // else its name alone.
        main->ShowInPreview(method);
        EXPECT_EQ(preview->fObj, method) << name;
        EXPECT_EQ(preview->fDisplay != nullptr, viewable) << name;
    }
}

}  // namespace
}  // namespace transfertest

// The program's drop of Close_Invoice from the demo onto DemoTarget
// (run_transfer_drop.sh). The plan opens both documents as the program
// does and writes the run's script with the places to click, type and
// drag; the check reads the destination the program saved and compares
// its window in the last screenshot with the same window made here.
// Both skip unless given a run.
namespace transfertest {
namespace {

class DropRun : public DemoPair {
protected:
    static browser::TLstPlane* MainList(TRefWindow* window)
    {
        for (::TPlan* p = window->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) return static_cast<browser::TLstPlane*>(p);
        return nullptr;
    }
    // Types the name into the list as the script's keys do (`when`: the
    // first key's tick, well after an earlier name's).
    static void TypeInto(browser::TLstPlane* list, const std::string& name, uint32_t when = 0)
    {
        EventRecord event{};
        event.what = keyDown;
        event.when = when;
        for (char c : name) {
            event.message = uint8_t(c);
            event.when += 2;
            list->key(event);
        }
    }
    static Point Global(TRefWindow* window, Point local)
    {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(window->fWindow);
        LocalToGlobal(&local);
        SetPort(saved);
        return local;
    }
    static TObjQz* Selected(browser::TLstPlane* list)
    {
        return static_cast<TObjQz*>(LongLRowObject(list->CurrentRow(), list->fList));
    }
    // A point of the window's title bar that the other window leaves free
    // and that is none of its boxes.
    static Point FreeTitlePoint(TRefWindow* window, TRefWindow* other)
    {
        const WindowRecord& w = *window->fWindow;
        const Rect bar = TitleBarRect(w);
        Rect frame{};
        GetWindowBounds(other->fWindow, kWindowStructureRgn, &frame);
        const Rect boxes[] = {CloseBoxRect(w), ZoomBoxRect(w), CollapseBoxRect(w)};
        for (int16_t h = int16_t(bar.left + 2); h < bar.right - 2; ++h) {
            const Point p{int16_t((bar.top + bar.bottom) / 2), h};
            bool free = !PtInRect(p, &frame);
            for (const Rect& box : boxes) free = free && !PtInRect(p, &box);
            if (free) return p;
        }
        ADD_FAILURE() << "no free point on the title bar";
        return Point{0, 0};
    }
    // Both windows and documents closed, ready to open them again.
    void CloseBoth()
    {
        for (TMainDoc* doc : {&doc_, &other_})
            while (TWindow* w = doc->fFirstWindow) {
                doc->RemoveWindow(w);
                w->Dispose();
            }
        if (other_.fTypeList) DisposeTypeList(other_.fTypeList);
        other_.fTypeList = nullptr;
        CloseQzB(other_.fRsrFile, other_.fResFile, -1, -1);
        other_.fRsrFile = other_.fResFile = -1;
        CloseDoc();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        MyAppl->fDefaultRect = DefaultWindowRect();
    }
};


TEST_F(DropRun, Plan)
{
    const char* plan = std::getenv("QZ_DROP_PLAN");
    const char* pair = std::getenv("QZ_DEMO_PAIR");
    if (!plan || !pair) GTEST_SKIP() << "plans the drop run";
    const std::string paths(pair);
    TRefWindow* demo = OpenAsProgram(&doc_, paths.substr(0, paths.find(':')));
    TRefWindow* target = OpenAsProgram(&other_, paths.substr(paths.find(':') + 1));
    ASSERT_NE(demo, nullptr);
    ASSERT_NE(target, nullptr);
    browser::TLstPlane* from = MainList(demo);
    browser::TLstPlane* to = MainList(target);
    ASSERT_NE(from, nullptr);
    ASSERT_NE(to, nullptr);
    // The table Invoices first (typed from the top, its row comes before
    // the menu of its name), then Close_Invoice further down.
    TypeInto(from, "Invoices");
    TObjQz* invoices = static_cast<TObjQz*>(LongLRowObject(from->CurrentRow(), from->fList));
    ASSERT_EQ(readtest::P(invoices->name), "Invoices");
    ASSERT_EQ(invoices->kind, 1);
    const Rect invoicesCell = GetCellRect(from->CurrentRow(), from->fList);
    TypeInto(from, "Close_Invoice", 1000);
    ASSERT_EQ(readtest::P(static_cast<TObjQz*>(LongLRowObject(from->CurrentRow(), from->fList))->name), "Close_Invoice");
    // The row's drag box: the icon column after the disclosure column.
    const Rect cell = GetCellRect(from->CurrentRow(), from->fList);
    // The demo's window is first dragged aside by its title bar, so that
    // DemoTarget's list lies open to the drop.
    constexpr int16_t kAside = 640;
    Point grabInvoices = Global(demo, Point{int16_t(invoicesCell.top + 8), int16_t(invoicesCell.left + 24)});
    grabInvoices.h = int16_t(grabInvoices.h + kAside);
    Point grab = Global(demo, Point{int16_t(cell.top + 8), int16_t(cell.left + 24)});
    grab.h = int16_t(grab.h + kAside);
    Rect list{}, header{}, popUp{};
    to->GetBox(&list, &header, &popUp);
    const Point drop = Global(target, Point{int16_t(list.top + 40), int16_t((list.left + list.right) / 2)});
    const Point demoBar = FreeTitlePoint(demo, target);
    Rect targetFrame{};
    GetWindowBounds(target->fWindow, kWindowStructureRgn, &targetFrame);
    ASSERT_GT(demoBar.h + kAside - (demoBar.h - TitleBarRect(*demo->fWindow).left), targetFrame.right);
    const Rect targetBar = TitleBarRect(*target->fWindow);
    const Point targetTitle{int16_t((targetBar.top + targetBar.bottom) / 2), int16_t((targetBar.left + targetBar.right) / 2)};
    // The dialogs open where they will in the program: the demo's window
    // is then aside, which moves neither.
    const LinkPicks picks = PlanLinkPicks(&doc_, &other_, invoices, 1, "Customers");
    ASSERT_FALSE(HasFailure());
    // Then the package _Invoicing_Tools and the group Accounting, each
    // typed (further down the list than the last) and dragged by its box.
    TypeInto(from, "_Invoicing_Tools", 2000);
    ASSERT_EQ(Selected(from)->kind, 7);
    Point grabPackage = Global(demo, Point{int16_t(GetCellRect(from->CurrentRow(), from->fList).top + 8),
                                           int16_t(GetCellRect(from->CurrentRow(), from->fList).left + 24)});
    grabPackage.h = int16_t(grabPackage.h + kAside);
    TypeInto(from, "Accounting", 3000);
    ASSERT_EQ(Selected(from)->kind, 23);
    Point grabGroup = Global(demo, Point{int16_t(GetCellRect(from->CurrentRow(), from->fList).top + 8),
                                         int16_t(GetCellRect(from->CurrentRow(), from->fList).left + 24)});
    grabGroup.h = int16_t(grabGroup.h + kAside);

    std::ofstream out(plan);
    out << "# Written by the checker's plan: the demo dragged aside and in front,\n"
        << "# the table Invoices selected and dragged with Option onto DemoTarget's list;\n"
        << "# Customers linked, Return accepts the conflicts; then Close_Invoice likewise\n"
        << "# with Return alone, and Return to the constant it could not bring; then the\n"
        << "# package _Invoicing_Tools and the group Accounting (its constant said too);\n"
        << "# DemoTarget then selects its copy.\n"
        << "move 1275 795\nidle\nwait 600\nidle\n"
        << "drag " << demoBar.h << " " << demoBar.v << " " << demoBar.h + kAside << " " << demoBar.v << " 20\n"
        << "wait 10\nidle\n"
        << "type \"Invoices\"\nwait 30\nidle\n"
        << "drag " << grabInvoices.h << " " << grabInvoices.v << " " << drop.h << " " << drop.v << " 30 option\n"
        << "wait 30\nidle\n"
        << "# Customers: \"link\" from its choices, DemoTarget's Customers in the link dialog.\n"
        << "press " << picks.box.h << " " << picks.box.v << "\nwait 5\n"
        << "move " << picks.box.h << " " << picks.box.v + picks.linkBelow << "\nwait 5\nrelease\n"
        << "wait 30\nidle\n"
        << "click " << picks.destRow.h << " " << picks.destRow.v << "\nwait 10\nidle\n"
        << "key return\nwait 30\nidle\nkey return\nwait 60\nidle\n"
        << "click " << demoBar.h + kAside << " " << demoBar.v << "\nwait 10\nidle\n"
        << "type \"Close_Invoice\"\nwait 30\nidle\n"
        << "drag " << grab.h << " " << grab.v << " " << drop.h << " " << drop.v << " 30 option\n"
        << "wait 30\nidle\nkey return\nwait 60\nidle\n"
        << "# Recalculate's constant, which stays with the demo, is said: OK.\n"
        << "key return\nwait 30\nidle\n"
        << "# The package _Invoicing_Tools, then the group Accounting, without Option.\n"
        << "click " << demoBar.h + kAside << " " << demoBar.v << "\nwait 10\nidle\n"
        << "type \"_Invoicing_Tools\"\nwait 30\nidle\n"
        << "drag " << grabPackage.h << " " << grabPackage.v << " " << drop.h << " " << drop.v << " 30\n"
        << "wait 30\nidle\nkey return\nwait 60\nidle\n"
        << "click " << demoBar.h + kAside << " " << demoBar.v << "\nwait 10\nidle\n"
        << "type \"Accounting\"\nwait 30\nidle\n"
        << "drag " << grabGroup.h << " " << grabGroup.v << " " << drop.h << " " << drop.v << " 30\n"
        << "wait 30\nidle\nkey return\nwait 60\nidle\nkey return\nwait 30\nidle\n"
        << "click " << targetTitle.h << " " << targetTitle.v << "\nwait 10\nidle\n"
        << "type \"Close_Invoice\"\nwait 30\nidle\nmove 1275 795\nidle\n"
        << "screenshot copied.png\nchoose 1\nend\n";
}

TEST_F(DropRun, Check)
{
    const char* work = std::getenv("QZ_DEMO_SCREENS");
    const char* pair = std::getenv("QZ_DEMO_PAIR");
    if (!work || !pair) GTEST_SKIP() << "checks the drop run";
    const std::string paths(pair);
    TRefWindow* demo = OpenAsProgram(&doc_, paths.substr(0, paths.find(':')));
    TRefWindow* target = OpenAsProgram(&other_, paths.substr(paths.find(':') + 1));
    ASSERT_NE(demo, nullptr);
    ASSERT_NE(target, nullptr);

    // The saved destination holds the copies, with their calls re-targeted.
    TObjQz* close = SearchObj_Name(&other_, 2, reinterpret_cast<const unsigned char*>("\x0D" "Close_Invoice"));
    ASSERT_NE(close, nullptr);
    std::set<std::string> calls;
    for (int32_t i = 0; close->uses && i < close->uses->Size(); ++i)
        if (close->uses->At(i)->kind == 2) calls.insert(readtest::P(close->uses->At(i)->name));
    EXPECT_EQ(calls, (std::set<std::string>{"Log_Event_2", "Recalculate"}));
    // The table came with its fields; the table it relates to was linked
    // to DemoTarget's own Customers (table 2, whose field 1 is Name), so
    // no second Customers came.
    TObjQz* invoices = SearchObj_Name(&other_, 1, reinterpret_cast<const unsigned char*>("\x08" "Invoices"));
    ASSERT_NE(invoices, nullptr);
    std::vector<std::string> fields;
    for (int32_t i = 0; invoices->members && i < invoices->members->Size(); ++i)
        fields.push_back(readtest::P(invoices->members->At(i)->name));
    EXPECT_EQ(fields, (std::vector<std::string>{"Number", "Customer", "Issued", "Total", "Terms"}));
    std::vector<std::string> tableNames;
    ObjListHdl all = GetObjListe(other_.fTypeList, 1);
    for (int32_t i = 0; all && i < all->Size(); ++i)
        if (all->At(i)->kind == 1) tableNames.push_back(readtest::P(all->At(i)->name));
    EXPECT_EQ(tableNames, (std::vector<std::string>{"Lines", "Customers", "Invoices"}));
    TObjQz* customers = SearchObj_Name(&other_, 1, reinterpret_cast<const unsigned char*>("\x09" "Customers"));
    ASSERT_NE(customers, nullptr);
    {
        ParseResFile current(&other_);
        Handle def = xget1res(tables::kDefinition, invoices->id);
        ASSERT_NE(def, nullptr);
        ASSERT_GE(GetHandleSize(def), int32_t(tables::EntryAt(3)));
        const auto* customer = reinterpret_cast<const uint8_t*>(*def) + tables::EntryAt(2);
        EXPECT_EQ(readtest::P(customer), "Customer");
        EXPECT_EQ(ReadBES16(customer + tables::kRelTableAt), 2);
        EXPECT_EQ(ReadBES16(customer + tables::kRelFieldAt), 1);
        EXPECT_EQ(ReadBES16(customer + tables::kDepthAt), 0);
    }
    // Linked, DemoTarget's Customers is used as it stands: its own fields,
    // none of the demo's (they would come only with a copy of the table).
    std::vector<std::string> customerFields;
    for (int32_t i = 0; customers->members && i < customers->members->Size(); ++i)
        customerFields.push_back(readtest::P(customers->members->At(i)->name));
    EXPECT_EQ(customerFields, (std::vector<std::string>{"Name", "Email", "Joined"}));
    bool usesCustomers = false;
    for (int32_t i = 0; invoices->uses && i < invoices->uses->Size(); ++i)
        usesCustomers = usesCustomers || invoices->uses->At(i) == customers;
    EXPECT_TRUE(usesCustomers);
    // The later drags: the group Accounting, whose members are DemoTarget's
    // objects (its own Lines, the copies the group brought, under new
    // names beside those Close_Invoice brought), and the package
    // _Invoicing_Tools.
    const auto membersOf = [](TObjQz* group, TMainDoc* doc, const std::map<std::string, std::string>& renamed) {
        std::set<std::string> out;
        for (int32_t i = 0; group->members && i < group->members->Size(); ++i) {
            TObjQz* member = group->members->At(i);
            EXPECT_EQ(member->owner, doc);
            const auto it = renamed.find(readtest::P(member->name));
            if (member->parent == group) out.insert(it == renamed.end() ? readtest::P(member->name) : it->second);
        }
        return out;
    };
    TObjQz* group = SearchObj_Name(&other_, 23, reinterpret_cast<const unsigned char*>("\x0A" "Accounting"));
    TObjQz* sourceGroup = SearchObj_Name(&doc_, 23, reinterpret_cast<const unsigned char*>("\x0A" "Accounting"));
    ASSERT_NE(group, nullptr);
    ASSERT_NE(sourceGroup, nullptr);
    const std::set<std::string> members = membersOf(group, &other_, {});
    EXPECT_EQ(members, membersOf(sourceGroup, &doc_,
                                 {{"Add_Tax", "Add_Tax_2"}, {"Recalculate", "Recalculate_2"}, {"Line_Entry", "Line_Entry_2"}}));
    EXPECT_TRUE(members.count("Lines") && members.count("Add_Tax_2")) << members.size();
    EXPECT_EQ(SearchObj_Name(&other_, 1, reinterpret_cast<const unsigned char*>("\x05" "Lines")),
              SearchListObj_Name(group->members, reinterpret_cast<const unsigned char*>("\x05" "Lines")));
    EXPECT_NE(SearchObj_Name(&other_, 7, reinterpret_cast<const unsigned char*>("\x10" "_Invoicing_Tools")), nullptr);

    // DemoTarget's window as the program left it: the copy selected, its
    // uses listed, pixel for pixel.
    browser::TLstPlane* list = MainList(target);
    ASSERT_NE(list, nullptr);
    target->SelectTWindow();
    TypeInto(list, "Close_Invoice");
    auto* uses = dynamic_cast<browser::TRefPlane*>(list->fUses);
    ASSERT_NE(uses, nullptr);
    std::vector<std::string> used;
    for (int32_t r = 0; r < uses->fList->rowCount; ++r)
        used.push_back(readtest::P(static_cast<TObjQz*>(LongLRowObject(r, uses->fList))->name));
    EXPECT_NE(std::find(used.begin(), used.end(), "Recalculate"), used.end());
    EXPECT_NE(std::find(used.begin(), used.end(), "Log_Event_2"), used.end());

    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/copied.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(target->fWindow);
    list->update();
    uses->update();
    SetPort(saved);
    const Surface composed = MakeSurface(reinterpret_cast<const BitMap*>(ComposeScreen()));
    // The uses pane's rows, and the main list's rows down to the copy's
    // (the rows after it list what the copies made besides, which a read
    // of the saved file makes only in part: a constant of a list the
    // destination lacks).
    Rect rows{}, header{}, popUp{};
    uses->GetBox(&rows, &header, &popUp);
    Rect mainRows{};
    list->GetBox(&mainRows, &header, &popUp);
    mainRows.bottom = GetCellRect(list->CurrentRow(), list->fList).bottom;
    for (const auto& [area, pane] : {std::pair{rows, "uses"}, std::pair{mainRows, "main list"}}) {
        const Point tl = Global(target, Point{area.top, area.left});
        const Point br = Global(target, Point{area.bottom, area.right});
        int32_t differ = 0;
        for (int16_t v = tl.v; v < br.v; ++v)
            for (int16_t h = tl.h; h < br.h; ++h)
                if ((shot.RGBAt(h, v) & 0xFFFFFF) != (composed.ReadRGB(h, v) & 0xFFFFFF) && differ++ == 0)
                    ADD_FAILURE() << "DemoTarget's " << pane << " differs at (" << h - tl.h << ", " << v - tl.v << ")";
        EXPECT_EQ(differ, 0) << pane;
    }
}

// A destination whose resource file holds 2500 resources still takes the
// drop; one more refuses it with error 1008 and nothing is copied.
TEST_F(DropRun, TheDropStopsPastTwoThousandFiveHundredResources)
{
    for (const auto& [total, copied] : {std::pair{2500, true}, std::pair{2501, false}}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(QZ_BUILD_DIR) + "/demo")) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("Demo", 0) == 0 || name.rfind("._Demo", 0) == 0)
                std::filesystem::copy_file(entry.path(), folder_ / name, std::filesystem::copy_options::overwrite_existing);
        }
        TRefWindow* demo = OpenAsProgram(&doc_, folder_ / "Demo.QzB");
        TRefWindow* target = OpenAsProgram(&other_, folder_ / "DemoTarget.QzB");
        ASSERT_NE(demo, nullptr);
        ASSERT_NE(target, nullptr);
        // The destination's resource file filled up to `total`.
        const int16_t saved = CurResFile();
        UseResFile(other_.fRsrFile);
        const int32_t held = CountTotResources(other_.fRsrFile);
        UseResFile(other_.fRsrFile);
        for (int32_t n = held; n < total; ++n) AddResource(NewHandle(2), FourCC("FILL"), int16_t(20000 + n), nullptr);
        UseResFile(saved);
        ASSERT_EQ(CountTotResources(other_.fRsrFile), total);
        browser::TLstPlane* from = MainList(demo);
        TypeInto(from, "Close_Invoice");
        ResetAlerts();
        PushDialogAnswer(1);
        EXPECT_EQ(from->MoveQzObj(&other_, 0), 0) << total;
        ClearDialogAnswers();
        TObjQz* copy = SearchObj_Name(&other_, 2, reinterpret_cast<const unsigned char*>("\x0D" "Close_Invoice"));
        EXPECT_EQ(copy != nullptr, copied) << total;
        if (!copied) {
            EXPECT_EQ(LastAlert().alertId, 1000);
            unsigned char text[256];
            ErrorMessage(1008, text);
            EXPECT_EQ(LastAlert().text, readtest::P(text));
        }
        CloseBoth();
    }
}

// Every write of a drop failing in turn, the group Accounting (the table
// Lines and its form, which go to DemoTarget's own Lines) onto DemoTarget
// and the form Summary alone (its list box with Parts' variables) onto
// Parts: each failed drop leaves both documents byte for byte and the
// destination's window listing what it listed before.
TEST_F(DropRun, EveryFailingWriteOfADropLeavesBothDocumentsAndTheListAsTheyWere)
{
    const auto snapshot = [&] {
        std::map<std::string, std::vector<uint8_t>> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.path()))
            if (entry.is_regular_file()) ReadWholeFile(entry.path().string(), &files[entry.path().filename().string()]);
        return files;
    };
    const auto fresh = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(QZ_BUILD_DIR) + "/demo"))
            if (entry.is_regular_file())
                std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename(),
                                           std::filesystem::copy_options::overwrite_existing);
    };
    for (const auto& [target, row] : {std::pair{"DemoTarget.QzB", "Accounting"}, std::pair{"Parts.QzB", "Summary"}}) {
        fresh();
        const auto pristine = snapshot();
        int32_t failed = 0;
        for (int32_t after = 0; after < 200; ++after) {
            TRefWindow* demo = OpenAsProgram(&doc_, folder_ / "Demo.QzB");
            TRefWindow* dest = OpenAsProgram(&other_, folder_ / target);
            ASSERT_NE(demo, nullptr);
            ASSERT_NE(dest, nullptr);
            const std::vector<std::string> listed = RowNames(MainList(dest)->fList);
            browser::TLstPlane* from = MainList(demo);
            TypeInto(from, row);
            ASSERT_EQ(readtest::P(Selected(from)->name), row);
            ResetAlerts();
            PushDialogAnswer(1);
            InjectFault(FaultKind::DiskFull, after);
            const int16_t result = from->MoveQzObj(&other_, 0);
            const bool fired = !IsFaultArmed(FaultKind::DiskFull);
            ClearAllFaults();
            ClearDialogAnswers();
            other_.UpdateAll();
            if (result != 0) {
                ++failed;
                EXPECT_EQ(RowNames(MainList(dest)->fList), listed) << target << " " << after;
            }
            CloseBoth();
            if (result != 0) {
                EXPECT_EQ(snapshot(), pristine) << target << " " << after;
            }
            fresh();
            if (!fired) break;
        }
        EXPECT_GE(failed, 4) << target;
    }
}

}  // namespace
}  // namespace transfertest
