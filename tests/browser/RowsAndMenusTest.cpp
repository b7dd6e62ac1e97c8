#include <cstring>
#include <string>
#include <vector>

#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "browser/CellDrawers.h"
#include "browser/Panes.h"
#include "browser/TransferDrop.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "tests/browser/BrowserFixture.h"

using namespace platform;
using browser::TLstPlane;

namespace browsertest {
namespace {

// A method whose text can be searched and replaced, or not.
struct TextMethod : TProcObjQz {
    explicit TextMethod(bool replaceable) : yes(replaceable) { kind = 2; }
    bool EnableReplaceTxt() override { return yes; }
    bool yes;
};

// Objects put straight into rows, selected as asked.
struct RowSet {
    explicit RowSet(TLstPlane* pane) : list(pane->fList) { LongLDelRow(list->rowCount, 0, list); }
    RowSet& Add(TObjQz* obj, bool selected)
    {
        const int32_t row = list->rowCount;
        LongLAddRow(1, row, list);
        LongLSetCell(&obj, kObjectRowLength, row, list);
        LongLSetSelect(selected, row, list);
        return *this;
    }
    LongListHandle list;
};

using Predicates = BrowserFixture;

TEST_F(Predicates, SelectionQuestionsFollowTheirRules)
{
    TLstPlane* pane = OpenList();
    TObjQz* listA = Make(4, "ListA");
    TObjQz* listB = Make(4, "ListB");
    TObjQz* module = Make(32, "Comp", 3);
    module->SetFlag(kFlagInComponent, true);
    TObjQz* group = Make(23, "Grp", 4);
    TObjQz* inGroupA = Make(4, "InGroupA");
    TObjQz* inGroupB = Make(4, "InGroupB");
    inGroupA->SetFlag(kFlagGrouped, true);
    inGroupB->SetFlag(kFlagGrouped, true);
    auto* table = static_cast<TFileObjQz*>(Make(1, "T", 1));
    NewObjList(&table->forms, 2);
    TObjQz* form = Owned(&table->forms, 24, "F", table, 1);
    TObjQz* strings = Make(11, "S", 2);
    NewObjList(&form->uses, 2);
    AddObjList(&form->uses, strings);
    TextMethod refuses(false), accepts(true);
    refuses.uses = accepts.uses = nullptr;

    struct Case {
        const char* what;
        std::vector<std::pair<TObjQz*, bool>> rows;
        bool (*predicate)(LongListHandle);
        bool expected;
    };
    const std::vector<Case> cases = {
        {"two draggable and a module, module last", {{listA, true}, {listB, true}, {module, true}},
         browser::SelectionGroupable, false},
        {"a single group", {{group, true}}, browser::SelectionGroupable, false},
        {"a group among draggable rows", {{group, true}, {listA, true}}, browser::SelectionGroupable, true},
        {"one draggable row", {{listA, true}}, browser::SelectionGroupable, true},
        {"rows all in groups already", {{inGroupA, true}, {inGroupB, true}}, browser::SelectionGroupable, false},
        {"nothing selected", {{listA, false}}, browser::SelectionGroupable, false},
        {"a form using strings, nothing selected", {{form, false}}, browser::Selection_StrList, true},
        {"no form", {{listA, true}}, browser::Selection_StrList, false},
        {"module, empty selection", {{module, false}}, browser::Selection_Module, false},
        {"module project, empty selection", {{module, false}}, browser::Selection_ModuleProject, false},
        {"an installed component", {{module, true}}, browser::Selection_Module, true},
        {"an installed component is no project", {{module, true}}, browser::Selection_ModuleProject, false},
        {"the first method answers", {{&refuses, true}, {&accepts, true}}, browser::Selection_Proc, false},
        {"a later method is not asked", {{listA, true}, {&accepts, true}, {&refuses, true}}, browser::Selection_Proc,
         true},
        {"any method accepting text", {{&refuses, true}, {&accepts, true}}, browser::Selection_TxtReplace, true},
        {"a form with a preview", {{form, true}}, browser::Selection_Layout, true},
    };
    for (const Case& c : cases) {
        RowSet rows(pane);
        for (const auto& [obj, selected] : c.rows) rows.Add(obj, selected);
        EXPECT_EQ(c.predicate(pane->fList), c.expected) << c.what;
    }
    EXPECT_FALSE(browser::SelectionGroupable(nullptr));
    EXPECT_EQ(browser::GetCellData(strings, pane->fList), -1);
    LongLDelRow(pane->fList->rowCount, 0, pane->fList);
    // With no row selected the group commands are the pane's all the same;
    // a command between them is not.
    EXPECT_EQ(pane->Do_Func(73), 0);
    EXPECT_EQ(pane->Do_Func(74), -1);

    // A new component is made of every selected row, the first one too.
    static std::vector<TObjQz*> given;
    given.clear();
    const browser::PaneTransferHooks saved = browser::CurrentPaneTransferHooks();
    browser::PaneTransferHooks hooks = saved;
    hooks.newComponent = [](TMainDoc*, TObjQz* const* rows, int32_t count, bool, TObjQz** made) -> int16_t {
        given.assign(rows, rows + count);
        *made = nullptr;
        return 0;
    };
    browser::SetPaneTransferHooks(hooks);
    RowSet(pane).Add(listA, true).Add(listB, false).Add(group, true);
    pane->M_New();
    EXPECT_EQ(given, (std::vector<TObjQz*>{listA, group}));
    // Without the component code installed the command does nothing.
    hooks.newComponent = nullptr;
    browser::SetPaneTransferHooks(hooks);
    given.clear();
    pane->M_New();
    browser::SetPaneTransferHooks(saved);
    EXPECT_TRUE(given.empty());
    // Uninstalling passes every selected row; properties need one.
    hooks.uninstallComponents = [](TMainDoc*, TObjQz* const* rows, int32_t count) -> int16_t {
        given.assign(rows, rows + count);
        return 0;
    };
    hooks.componentProperties = [](TMainDoc*, TObjQz* component) -> int16_t {
        given.push_back(component);
        return 1;
    };
    browser::SetPaneTransferHooks(hooks);
    pane->M_UnInstall();
    EXPECT_EQ(given, (std::vector<TObjQz*>{listA, group}));
    given.clear();
    RazSelect(pane->fList);
    pane->M_Properties();
    browser::SetPaneTransferHooks(saved);
    EXPECT_TRUE(given.empty());
    LongLDelRow(pane->fList->rowCount, 0, pane->fList);
}

using Menus = BrowserFixture;

TEST_F(Menus, ReadOnlyDocumentsLibrariesAndComponentProjects)
{
    TLstPlane* pane = OpenList();
    TObjQz* projectA = Make(32, "ProjA", 5);
    TObjQz* projectB = Make(32, "ProjB", 6);
    RowSet(pane).Add(projectA, true);
    pane->DisableMenu();
    pane->EnableMenu();
    EXPECT_TRUE(browser::CommandEnabled(111));
    EXPECT_TRUE(browser::CommandEnabled(112));
    EXPECT_TRUE(browser::CommandEnabled(114));
    EXPECT_TRUE(browser::CommandEnabled(50));
    RowSet(pane).Add(projectA, true).Add(projectB, true);
    pane->DisableMenu();
    pane->EnableMenu();
    EXPECT_FALSE(browser::CommandEnabled(111));
    EXPECT_TRUE(browser::CommandEnabled(113));
    // Two forms and no current row: Clear follows the selection alone.
    auto* table = static_cast<TFileObjQz*>(Make(1, "T", 1));
    NewObjList(&table->forms, 2);
    TObjQz* formA = Owned(&table->forms, 24, "FormA", table, 1);
    TObjQz* formB = Owned(&table->forms, 24, "FormB", table, 2);
    RowSet(pane).Add(formA, true).Add(formB, true);
    pane->DisableMenu();
    pane->EnableMenu();
    EXPECT_TRUE(browser::CommandEnabled(25));
    EXPECT_FALSE(browser::CommandEnabled(24));

    doc_.fReadOnly = true;
    pane->DisableMenu();
    pane->EnableMenu();
    pane->SetGroupFunc(nullptr, 1, true);
    for (int16_t c : {50, 70, 71, 72, 73, 75, 76, 77, 78, 110, 111, 112, 113, 114, 115})
        EXPECT_FALSE(browser::CommandEnabled(c)) << c;
    LongLDelRow(pane->fList->rowCount, 0, pane->fList);
}

TEST_F(Menus, ALibraryKeepsInstallOffAndClosingRestoresCopy)
{
    TLibDoc library;
    library.fLibrary = true;
    NewTypeList(&library.fTypeList);
    TLstPlane* pane = OpenList(Rect{0, 0, 100, 100}, &library);
    pane->DisableMenu();
    pane->EnableMenu();
    EXPECT_FALSE(browser::CommandEnabled(114));
    EXPECT_TRUE(browser::CommandEnabled(110));

    StringFunc(23, 1);
    window_->RemovePlane(pane);
    pane->Dispose();
    unsigned char text[256];
    GetFuncItem(23, 1, text);
    EXPECT_EQ(P(text), "Copy");
    library.RemoveWindow(window_);
    window_->Dispose();
    window_ = nullptr;
    DisposeTypeList(library.fTypeList);
    library.fTypeList = nullptr;
}

class RowDrawing : public BrowserFixture {
protected:
    // The pixels of the first row's cell, as colours.
    std::vector<uint32_t> Cell(TLstPlane* pane, int32_t row = 0) { return CellPixels(pane->fList, row); }
    static bool Any(const std::vector<uint32_t>& px, uint32_t colour)
    {
        return std::find(px.begin(), px.end(), colour) != px.end();
    }
    void Draw(TLstPlane* pane, int32_t row = 0)
    {
        SetPortWindowPort(window_->fWindow);
        LongLDraw(row, pane->fList);
    }
};

TEST_F(RowDrawing, TextsIdsAndMemberCounts)
{
    TObjQz* method = Make(2, "Calc", 5);
    TObjQz* variable = Make(9, "vTotal", 7);
    unsigned char prefix[256], text[256], shown[256];
    browser::RowText(method, prefix, text);
    EXPECT_EQ(P(text), "Method Calc");
    G_ShowID = true;
    browser::DisplayText(method, text, shown);
    EXPECT_EQ(P(shown), "Method Calc (5)");
    browser::RowText(variable, prefix, text);
    browser::DisplayText(variable, text, shown);
    EXPECT_EQ(P(shown), "vTotal");
    G_ShowID = false;

    TObjQz* member = Make(4, "L");
    TGroupObjQz* one = Group("One", {member});
    TGroupObjQz* none = Group("None", {});
    browser::RowText(one, prefix, text);
    browser::DisplayText(one, text, shown);
    EXPECT_EQ(P(shown), "Group One (1 member)");
    browser::RowText(none, prefix, text);
    browser::DisplayText(none, text, shown);
    EXPECT_EQ(P(shown), "Group None (empty)");

    // A local variable of an object method: the table, form and object
    // path in front of its name.
    TFileObjQz* table = static_cast<TFileObjQz*>(Make(1, "T", 1));
    NewObjList(&table->forms, 2);
    auto* form = static_cast<TLayoutObjQz*>(Owned(&table->forms, 24, "F", table, 3));
    NewObjList(&form->objMethods, 2);
    auto* script = static_cast<TGnlProcObjQz*>(Owned(&form->objMethods, 25, "b1", form, 4));
    NewObjList(&script->locals, 2);
    auto* local = static_cast<TVarObjQz*>(Owned(&script->locals, 9, "$x", nullptr));
    local->method = script;
    browser::RowText(local, prefix, text);
    EXPECT_EQ(P(prefix), "[T]: F, b1 ");
    EXPECT_EQ(P(text), "$x");
}

TEST_F(RowDrawing, OwnerPathsOfEveryFamily)
{
    ObjListHdl owned = nullptr;
    NewObjList(&owned, 2);
    auto own = [&](int16_t kind, const std::string& name, TObjQz* owner) {
        TObjQz* o = kind <= 23 ? Make(kind, name) : Owned(&owned, kind, name, owner);
        if (auto* s = dynamic_cast<TStructObjQz*>(o)) s->ownerObj = owner;
        return o;
    };
    TObjQz* table = own(1, "T", nullptr);
    TObjQz* sub = own(1, "S", table);
    TObjQz* form = own(24, "Fm", table);
    const struct {
        TObjQz* obj;
        const char* text;
    } cases[] = {
        {table, "[T]"},
        {sub, "[T]S"},
        {own(28, "F", sub), "[T]S'F"},
        {own(28, "G", table), "[T]G"},
        {own(26, "TM", table), "[T]"},
        {own(26, "TM", nullptr), "(no table)"},
        {form, "Form [T]: Fm"},
        {own(24, "Lone", nullptr), "Form (no table): Lone"},
        {own(27, "FM", form), "Form method [T]: Fm"},
        {own(27, "FM", nullptr), "Form method (no table)"},
        {own(25, "b1", form), "Object method [T]: Fm, b1"},
        {own(25, "b2", table), "Object method (no table), b2"},
        {own(25, "b3", nullptr), "Object method (no table), b3"},
        {own(30, "TB", table), "Balloon TB"},
        {Make(7, "Pk"), "Package Pk"},
        {Make(4, "L"), "List L"},
    };
    for (const auto& c : cases) {
        unsigned char prefix[256], text[256];
        std::memset(prefix, 'x', sizeof prefix);
        browser::RowText(c.obj, prefix, text);
        EXPECT_EQ(P(text), c.text);
        EXPECT_EQ(P(prefix), "") << c.text;
    }

    // The space shown in an empty column is one blank, nothing past it.
    unsigned char space[4] = {'x', 'x', 'x', 'x'};
    browser::DoSpace(space);
    EXPECT_EQ(P(space), " ");
    EXPECT_EQ(space[2], 'x');
}

TEST_F(RowDrawing, UnusedRedDocumentedUnderlinedIconsTrianglesAndHighlight)
{
    TObjQz* unused = Make(4, "Lonely");
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_EQ(pane->fList->rowCount, 1);
    Draw(pane);
    const std::vector<uint32_t> plain = Cell(pane);
    EXPECT_TRUE(Any(plain, 0xFF0000));

    // Used by another object: black text, and underlined when documented.
    TObjQz* user = Make(6, "User");
    NewObjList(&unused->usedBy, 2);
    AddObjList(&unused->usedBy, user);
    Draw(pane);
    const std::vector<uint32_t> used = Cell(pane);
    EXPECT_FALSE(Any(used, 0xFF0000));
    unused->SetFlag(kFlagHasDoc, true);
    Draw(pane);
    const std::vector<uint32_t> documented = Cell(pane);
    const Rect cell = GetCellRect(0, pane->fList);
    const int width = cell.right - cell.left;
    auto black = [&](const std::vector<uint32_t>& px, int v, int h) { return px[size_t(v * width + h)] == 0; };
    int underline = 0;
    for (int h = 40; h < 80; ++h) underline += black(documented, 13, h) && !black(used, 13, h);
    EXPECT_GT(underline, 20);

    // The icon at L + 16 for level 0, L + 32 for level 1.
    auto inked = [&](const std::vector<uint32_t>& px, int from, int to) {
        int n = 0;
        for (int v = 0; v < 16; ++v)
            for (int h = from; h < to; ++h) n += px[size_t(v * width + h)] != 0xFFFFFF;
        return n;
    };
    EXPECT_GT(inked(used, 16, 32), 20);
    EXPECT_EQ(inked(used, 0, 16), 0);
    // Pixel for pixel the kind's icon plotted alone in its square.
    auto sameIcon = [&](const std::vector<uint32_t>& px, int left) {
        SetPortWindowPort(window_->fWindow);
        EraseRect(&cell);
        const Rect square{cell.top, int16_t(cell.left + left), int16_t(cell.top + 16), int16_t(cell.left + left + 16)};
        browser::MyPlotIcon(&square, unused->GetIconID(), false);
        const std::vector<uint32_t> alone = Cell(pane);
        for (int v = 0; v < 16; ++v)
            for (int h = 0; h < left + 16; ++h)
                if (px[size_t(v * width + h)] != alone[size_t(v * width + h)]) return false;
        return true;
    };
    EXPECT_TRUE(sameIcon(used, 16));
    unused->level = 1;
    Draw(pane);
    const std::vector<uint32_t> deeper = Cell(pane);
    EXPECT_EQ(inked(deeper, 16, 32), 0);
    EXPECT_GT(inked(deeper, 32, 48), 20);
    unused->level = 2;
    Draw(pane);
    EXPECT_TRUE(sameIcon(Cell(pane), 48));
    unused->level = 0;

    // Select, then deselect: every pixel as before.
    Draw(pane);
    const std::vector<uint32_t> before = Cell(pane);
    LongLSetSelect(true, 0, pane->fList);
    Draw(pane);
    EXPECT_NE(Cell(pane), before);
    LongLSetSelect(false, 0, pane->fList);
    Draw(pane);
    EXPECT_EQ(Cell(pane), before);
}

TEST_F(RowDrawing, TrianglesShowClosedAndOpenGroups)
{
    TObjQz* member = Make(4, "L");
    TGroupObjQz* group = Group("Grp", {member});
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_EQ(browser::GetCellData(group, pane->fList), 0);
    Draw(pane);
    const std::vector<uint32_t> closed = Cell(pane);
    pane->SwitchCellState(0);
    Draw(pane);
    const std::vector<uint32_t> open = Cell(pane);
    const Rect cell = GetCellRect(0, pane->fList);
    const int width = cell.right - cell.left;
    int differ = 0, inkClosed = 0;
    for (int v = 0; v < 16; ++v)
        for (int h = 0; h < 16; ++h) {
            differ += closed[size_t(v * width + h)] != open[size_t(v * width + h)];
            inkClosed += closed[size_t(v * width + h)] != 0xFFFFFF;
        }
    EXPECT_GT(inkClosed, 5);
    EXPECT_GT(differ, 5);
}


// Rows dropped on another document's window: the drop posts the copy with
// its option, and the copy hands the selected rows to the transfer code
// with the menus off while it runs.
using Drops = BrowserFixture;

TEST_F(Drops, ADropPostsItsArgumentsAndTheCopyGetsTheSelectedRows)
{
    TLstPlane* pane = OpenList();
    struct Post {
        uint16_t modifiers;
        int16_t option;
        bool hidden;
    } posts[] = {{0, 0, false}, {optionKey, 1, false}, {controlKey, 0, true}, {optionKey | controlKey, 1, true}};
    for (const Post& p : posts) {
        G_C_Hide = !p.hidden;
        browser::PostDrop(pane, nullptr, p.modifiers);
        EXPECT_EQ(G_C_Hide, p.hidden) << p.modifiers;
        int16_t command = 0, option = -1;
        void *dest = pane, *source = nullptr;
        ASSERT_TRUE(GetFunc(&command));
        EXPECT_EQ(command, browser::kDragObjCommand);
        ASSERT_FALSE(PopPtr(&dest));  // false: nothing wrong
        ASSERT_FALSE(PopPtr(&source));
        ASSERT_FALSE(PopInteger(&option));
        EXPECT_EQ(dest, nullptr);
        EXPECT_EQ(source, pane);
        EXPECT_EQ(option, p.option) << p.modifiers;
    }
    G_C_Hide = false;

    TObjQz* a = Make(4, "A");
    TObjQz* b = Make(4, "B");
    TObjQz* c = Make(4, "C");
    RowSet(pane).Add(a, true).Add(b, false).Add(c, true);
    static std::vector<TObjQz*> given;
    static std::vector<int> seen;  // option, menus on while moving, source, dest
    static TMainDoc* sourceSeen;
    static TMainDoc* destSeen;
    given.clear();
    seen.clear();
    const browser::PaneTransferHooks saved = browser::CurrentPaneTransferHooks();
    browser::SetMoveObjectsHook([](TMainDoc* source, TMainDoc* dest, TObjQz* const* rows, int32_t count,
                                   int16_t option) -> int16_t {
        given.assign(rows, rows + count);
        seen = {option, IsMenuItemEnabled(TheMenus[1]->menu, 0) ? 1 : 0};
        sourceSeen = source;
        destSeen = dest;
        return 7;
    });
    TMainDoc other;
    ASSERT_EQ(other.fRsrFile, -1);
    ASSERT_GE(NbMenus, 1);
    EXPECT_EQ(pane->MoveQzObj(&other, 1), 7);
    EXPECT_EQ(given, (std::vector<TObjQz*>{a, c}));
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
    EXPECT_EQ(sourceSeen, &doc_);
    EXPECT_EQ(destSeen, &other);
    EXPECT_TRUE(IsMenuItemEnabled(TheMenus[1]->menu, 0));
    // No document to drop on: nothing is moved.
    given.clear();
    EXPECT_EQ(pane->MoveQzObj(nullptr, 1), 0);
    EXPECT_TRUE(given.empty());
    browser::SetPaneTransferHooks(saved);
    LongLDelRow(pane->fList->rowCount, 0, pane->fList);
}

}  // namespace
}  // namespace browsertest
