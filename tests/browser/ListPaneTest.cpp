#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/dialogs/WaitDialog.h"
#include "browser/Panes.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/ObjBlocks.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/windows/Windows.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/browser/PanesFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using browser::TLstPlane;

namespace browsertest {
namespace {

using PaneGeometry = BrowserFixture;

TEST_F(PaneGeometry, PercentPlacesBarsContentAndList)
{
    Rect out{};
    const Rect bounds{0, 0, 333, 601}, percent{10, 33, 50, 100};
    browser::SizedRect(&out, &bounds, &percent);
    EXPECT_EQ(R(out), R(33, 198, 166, 601));

    TLstPlane* pane = OpenList(percent);
    EXPECT_EQ(R(pane->fRect), R(33, 198, 166, 601));
    Rect left{}, top{};
    pane->GetSplitRect(&left, &top);
    EXPECT_EQ(R(left), R(33, 198, 166, 201));
    EXPECT_EQ(R(top), R(33, 198, 36, 601));
    EXPECT_EQ(R(pane->GetWRect()), R(36, 201, 166, 601));
    Rect list{}, header{}, popUp{};
    pane->GetBox(&list, &header, &popUp);
    EXPECT_EQ(R(list), R(57, 202, 165, 586));
    EXPECT_EQ(R(header), R(35, 201, 54, 586));
    EXPECT_EQ(R(popUp), R(35, 586, 54, 601));

    // A second pane reaching the bottom is 14 pixels shorter there; a
    // click in its bar never makes it current.
    auto* lower = new TLstPlane;
    ASSERT_EQ(lower->ITPlane(Rect{50, 33, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
    window_->AddPlane(lower);
    EXPECT_EQ(lower->fRect.bottom, 333 - 14);
    pane->SelectPlane();
    ASSERT_EQ(window_->fFirstPlane, pane);
    EXPECT_TRUE(lower->Click(Point{int16_t(lower->fRect.top + 1), 300}, 0));
    EXPECT_EQ(window_->fFirstPlane, pane);
    EXPECT_TRUE(lower->Click(Point{int16_t(lower->fRect.top + 30), 300}, 0));
    EXPECT_EQ(window_->fFirstPlane, lower);
}

TEST_F(PaneGeometry, MemoryRunningOutWhileMakingThePaneKeepsNothing)
{
    window_ = new TRefWindow;
    ASSERT_EQ(window_->ITWindow(PName("Doc"), Rect{40, 10, 373, 611}, true, 0, &doc_, 8), 0);
    doc_.AddWindow(window_);
    // Every allocation of the pane's making fails in turn.
    int failures = 0;
    for (int32_t after = 0; after < 40; ++after) {
        InjectFault(FaultKind::Allocation, after);
        auto* pane = new TLstPlane;
        const int16_t result = pane->ITPlane(Rect{0, 0, 100, 100}, window_, doc_.fTypeList, nullptr, 0);
        const bool fired = !IsFaultArmed(FaultKind::Allocation);
        ClearAllFaults();
        if (result != 0) {
            ++failures;
            EXPECT_EQ(result, -108);
            EXPECT_EQ(pane->fList, nullptr);
            EXPECT_EQ(pane->fFilterMenu, nullptr);
            EXPECT_EQ(pane->fSavedClip, nullptr);
        }
        pane->Dispose();
        if (!fired) break;
    }
    EXPECT_GE(failures, 3);
}

TEST_F(PaneGeometry, AFilterMenuThatCannotGrowKeepsItsEntries)
{
    TLstPlane* pane = OpenList();
    ASSERT_EQ(pane->fMenuCount, 2);
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        pane->AddMenuFilter(130);
    }
    EXPECT_EQ(pane->fMenuCount, 2);
    EXPECT_EQ(GetHandleSize(pane->fFilterMenu), 6);
    int16_t ids[2];
    std::memcpy(ids, *pane->fFilterMenu + 2, 4);
    EXPECT_EQ(ids[0], 128);
    EXPECT_EQ(ids[1], 129);
    pane->AddMenuFilter(130);
    EXPECT_EQ(pane->fMenuCount, 3);
}

class MainList : public BrowserFixture {
protected:
    // Every listed kind, a group with two members, a table with fields and
    // a form with its methods, and a local variable.
    void Populate()
    {
        table_ = static_cast<TFileObjQz*>(Make(1, "Clients", 1));
        NewObjList(&table_->members, 4);
        for (const char* f : {"Name", "City"}) {
            TObjQz* field = Owned(&table_->members, 28, f, table_);
            (void)field;
        }
        NewObjList(&table_->forms, 4);
        form_ = static_cast<TLayoutObjQz*>(Owned(&table_->forms, 24, "Input", table_, 5));
        NewObjList(&form_->objMethods, 4);
        objMethod_ = Owned(&form_->objMethods, 25, "bOK", form_, 7);
        method_ = Make(2, "DoIt", 5);
        for (int16_t k : {3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}) Make(k, "K" + std::to_string(k));
        NewObjList(&static_cast<TGnlProcObjQz*>(method_)->locals, 4);
        auto* local = static_cast<TVarObjQz*>(Owned(&static_cast<TGnlProcObjQz*>(method_)->locals, 9, "$tmp", nullptr));
        local->method = method_;
        Make(9, "vGlobal");
        member1_ = Make(2, "Alpha");
        member2_ = Make(2, "Beta");
        group_ = Group("Grp", {member1_, member2_});
    }

    TFileObjQz* table_ = nullptr;
    TLayoutObjQz* form_ = nullptr;
    TObjQz* objMethod_ = nullptr;
    TObjQz* method_ = nullptr;
    TObjQz* member1_ = nullptr;
    TObjQz* member2_ = nullptr;
    TGroupObjQz* group_ = nullptr;
};

TEST_F(MainList, RowsDraggedNearAnEdgeScrollOneRowAndStopAtTheTop)
{
    for (int i = 0; i < 40; ++i) Make(4, "L" + std::to_string(100 + i));
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    LongListHandle l = pane->fList;
    ASSERT_EQ(l->rowCount, 40);
    Rect list{}, header{}, popUp{};
    pane->GetBox(&list, &header, &popUp);
    // The strips 15 pixels deep just outside the list's top and bottom.
    auto dragAt = [&](int v) {
        SetPortWindowPort(window_->fWindow);
        Point p{int16_t(v), int16_t(list.left + 20)};
        LocalToGlobal(&p);
        pane->DragCell(p);
        return l->firstVisible;
    };
    const struct {
        int v;
        int32_t first;
    } steps[] = {{list.bottom, 1}, {list.bottom + 14, 2}, {list.bottom + 15, 2}, {list.top - 1, 1},
                 {list.top - 15, 0}, {list.top - 1, 0}, {list.top - 16, 0}};
    for (const auto& s : steps) EXPECT_EQ(dragAt(s.v), s.first) << s.v;
}

TEST_F(MainList, KindsInDisplayOrderGroupsLastMembersOnlyUnderTheirGroup)
{
    Populate();
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    std::vector<int16_t> kinds;
    for (int32_t r = 0; r < pane->fList->rowCount; ++r)
        kinds.push_back(static_cast<TObjQz*>(LongLRowObject(r, pane->fList))->kind);
    const std::vector<int16_t> expected = {1, 24, 2, 16, 25, 7, 8, 3, 4, 5, 6, 9, 9, 10, 11, 12, 19, 13, 14, 15, 18, 17, 23};
    EXPECT_EQ(kinds, expected);
    const auto rows = Rows(pane);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), "Alpha"), 0);
    // Process variables before locals.
    EXPECT_EQ(rows[11], "vGlobal");
    EXPECT_EQ(rows[12], "$tmp");
    EXPECT_EQ(P(pane->fTitle), "Objects");
    EXPECT_EQ(P(pane->fFilterTitle), "All objects");

    // Objects in the trash never show.
    member1_->SetFlag(kFlagGrouped, false);
    member1_->SetFlag(kFlagInTrash, true);
    pane->SetDfltFilter(128);
    EXPECT_EQ(pane->fList->rowCount, int32_t(expected.size()));
}

TEST_F(MainList, AHundredAndThirtyObjectsMakeExactlyThatManyRows)
{
    for (int i = 0; i < 130; ++i) Make(2, "M" + std::to_string(1000 + i));
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    EXPECT_EQ(pane->fList->rowCount, 130);
    EXPECT_FALSE(pane->fCutShort);
}

TEST_F(MainList, GroupsAndTablesOpenBelowTheirRowAndStayOpenOverARebuild)
{
    Populate();
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    int32_t g = browser::GetCellData(group_, pane->fList);
    ASSERT_GE(g, 0);
    pane->SwitchCellState(g);
    EXPECT_EQ(LongLRowObject(g + 1, pane->fList), member1_);
    EXPECT_EQ(LongLRowObject(g + 2, pane->fList), member2_);
    pane->UpdateAll();
    g = browser::GetCellData(group_, pane->fList);
    EXPECT_TRUE(IsOpenCell(g, pane->fList));
    EXPECT_EQ(LongLRowObject(g + 2, pane->fList), member2_);
    const int32_t before = pane->fList->rowCount;
    pane->SwitchCellState(g);
    EXPECT_EQ(pane->fList->rowCount, before - 2);

    // A table shows its fields; not when it may not be opened.
    pane->SwitchCellState(0);
    EXPECT_EQ(static_cast<TObjQz*>(LongLRowObject(1, pane->fList))->kind, 28);
    pane->SwitchCellState(0);
    EXPECT_EQ(static_cast<TObjQz*>(LongLRowObject(1, pane->fList))->kind, 24);
    table_->SetFlag(2, true);
    pane->SwitchCellState(0);
    EXPECT_EQ(static_cast<TObjQz*>(LongLRowObject(1, pane->fList))->kind, 24);

    // Search results are flat: members at the top level.
    G_SearchFilterHdl = NewHandle(0);
    const auto bytes = FilterBytes(Kind(2));
    PtrToHand(bytes.data(), &G_SearchFilterHdl, Size(bytes.size()));
    pane->SetList(G_SearchFilterHdl, pane->fSource);
    const auto rows = Rows(pane);
    EXPECT_NE(std::find(rows.begin(), rows.end(), "Alpha"), rows.end());
    DisposeHandle(G_SearchFilterHdl);
    G_SearchFilterHdl = nullptr;
}

TEST_F(MainList, FiltersTitlesNarrowingAndRemoval)
{
    Populate();
    AddFilter(129, "Project methods and more", FilterBytes(Kind(2)));
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    const int32_t all = pane->fList->rowCount;

    pane->SetDfltFilter(browser::kSearchFilter);
    EXPECT_EQ(P(pane->fFilterTitle), "Search results");
    EXPECT_EQ(pane->fList->rowCount, all);
    pane->SetDfltFilter(128);
    pane->SetDfltFilter(400);  // no such record: rows kept
    EXPECT_EQ(pane->fList->rowCount, all);
    pane->SetDfltFilter(128);

    // The current filter again, same Option state: nothing.
    LongLSetSelect(true, 0, pane->fList);
    pane->ChooseFilter(1, 0);
    EXPECT_TRUE(LongLSel(pane->fList));

    // Option narrows to project methods, the title cut to 15.
    pane->ChooseFilter(2, optionKey);
    EXPECT_EQ(P(pane->fFilterTitle), "Project methods");
    EXPECT_EQ(Rows(pane), (std::vector<std::string>{"DoIt"}));

    // Option-Shift removes just the admitted rows; the old id is kept as
    // the previous one.
    pane->SetDfltFilter(128);
    pane->fNarrowing = false;
    pane->ChooseFilter(2, optionKey | shiftKey);
    EXPECT_EQ(pane->fList->rowCount, all - 1);
    EXPECT_EQ(P(pane->fFilterTitle), "Selected rows");
    EXPECT_EQ(pane->GetFilter(), browser::kNarrowedFilter);
    EXPECT_EQ(pane->fPrevFilter, 128);

    // The document read again: the rows come back through the filter
    // chosen before the narrowed ones, or through the one chosen last.
    pane->RazAll(pane->fSource, true);
    EXPECT_EQ(pane->GetFilter(), 128);
    EXPECT_EQ(pane->fList->rowCount, all);
    pane->SetDfltFilter(129);
    pane->RazAll(pane->fSource, true);
    EXPECT_EQ(P(pane->fFilterTitle), "Project methods and more");
    EXPECT_EQ(Rows(pane), (std::vector<std::string>{"DoIt"}));

    // Selecting an object the filter rejects goes back to 128.
    pane->SelectObj(table_);
    EXPECT_EQ(pane->GetFilter(), 128);
    EXPECT_EQ(pane->CurrentRow(), 0);
}

// A search narrows the rows shown, or searches the whole document and
// lists what it finds flat, members of groups too.
TEST_F(MainList, SearchNarrowsTheShownRowsOrSearchesTheWholeDocument)
{
    Populate();
    AddFilter(129, "Project methods", FilterBytes(Kind(2)));
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(129);
    ASSERT_EQ(Rows(pane), (std::vector<std::string>{"DoIt"}));
    Handle record = nullptr;
    const auto bytes = FilterBytes(Kind(2));
    ASSERT_EQ(PtrToHand(bytes.data(), &record, Size(bytes.size())), noErr);
    struct Case {
        bool shownOnly;
        std::vector<std::string> rows;
    } cases[] = {{true, {"DoIt"}}, {false, {"Alpha", "Beta", "DoIt"}}, {true, {"Alpha", "Beta", "DoIt"}}};
    G_SearchFilterHdl = record;
    for (const Case& c : cases) {
        WaitParamRec wait;
        pane->SearchRows(record, c.shownOnly, &wait);
        std::vector<std::string> rows = Rows(pane);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.rows) << c.shownOnly;
        EXPECT_EQ(pane->GetFilter(), browser::kSearchFilter);
    }

    G_SearchFilterHdl = nullptr;
    DisposeHandle(record);
}

// The Search command: the dialog on the search record, then the rows of
// the whole document; the wait dialog is gone once the search is done.
using SearchCommand = PanesFixture;

TEST_F(SearchCommand, TheDialogThenTheWholeDocumentAndNoWaitDialogLeft)
{
    Make(2, "DoIt");
    Group("Grp", {Make(2, "Alpha")});
    OpenPanes();
    Handle record = nullptr;
    const auto bytes = FilterBytes(Kind(2));
    ASSERT_EQ(PtrToHand(bytes.data(), &record, Size(bytes.size())), noErr);
    std::vector<WindowRef> before;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) before.push_back(w);
    G_SearchFilterHdl = record;
    {
        platform::testing::HeadlessRun run(Script().Wait(5).Choose(1).Wait(5));
        EXPECT_EQ(main_->Search(), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    std::vector<WindowRef> after;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) after.push_back(w);
    EXPECT_EQ(after, before);
    EXPECT_EQ(main_->GetFilter(), browser::kSearchFilter);
    std::vector<std::string> rows = Rows(main_);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"Alpha", "DoIt"}));
    G_SearchFilterHdl = nullptr;
    DisposeHandle(record);
}

TEST_F(MainList, ARebuildCutShortSaysSoInItsHeader)
{
    for (int i = 0; i < 20; ++i) Make(2, "M" + std::to_string(10 + i));
    TLstPlane* pane = OpenList();
    DisposeHandle(GromMemHdl);
    GromMemHdl = nullptr;
    pane->SetDfltFilter(128);
    EXPECT_TRUE(pane->fCutShort);
    EXPECT_EQ(P(pane->fFilterTitle), "Selected rows");
    EXPECT_EQ(pane->GetFilter(), 128);
    GromMemHdl = NewHandle(64);
    pane->SetDfltFilter(128);
    EXPECT_FALSE(pane->fCutShort);
    EXPECT_EQ(pane->fList->rowCount, 20);

    // Stopped from a wait dialog: cut short the same way.
    WaitParamRec wait;
    SetWaitDialog(&wait, 1, PName("Doc").bytes, 0, 20, 281, -1);
    wait.cancelled = 1;
    G_WaitParam = &wait;
    pane->SetDfltFilter(128);
    G_WaitParam = nullptr;
    ReSetWaitDialog(&wait);
    EXPECT_TRUE(pane->fCutShort);
    EXPECT_LT(pane->fList->rowCount, 20);
}

TEST_F(MainList, ARowThatCannotBeAddedIsReportedOnce)
{
    for (int i = 0; i < 120; ++i) Make(2, "M" + std::to_string(100 + i));
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_EQ(pane->fList->rowCount, 120);
    // One allocation fails, later and later, until it hits the growth of
    // the rows.
    bool hit = false;
    for (int32_t after = 0; after < 60 && !hit; ++after) {
        ResetAlerts();
        InjectFault(FaultKind::Allocation, after, 1);
        pane->SetList(GetFilter(128), pane->fSource);
        ClearAllFaults();
        if (!pane->fCutShort) continue;
        hit = true;
        EXPECT_EQ(P(pane->fFilterTitle), "Selected rows");
        EXPECT_EQ(pane->GetFilter(), 128);
        EXPECT_LT(pane->fList->rowCount, 120);
        EXPECT_EQ(AlertCount(), 1);
    }
    EXPECT_TRUE(hit);
}

EventRecord Key(uint8_t c, uint32_t when, uint16_t modifiers = 0)
{
    EventRecord e{};
    e.what = keyDown;
    e.message = c;
    e.when = when;
    e.modifiers = modifiers;
    return e;
}

TEST_F(MainList, ArrowsWrapAndTypeAheadFindsNamesIgnoringCaseAndMarks)
{
    for (const char* n : {"Zed", "abacus", "Abbey", "able"}) Make(2, n);
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    const auto rows = Rows(pane);
    ASSERT_EQ(rows.size(), 4u);
    pane->key(Key(31, 10));
    EXPECT_EQ(pane->CurrentRow(), 0);
    pane->key(Key(30, 20));
    EXPECT_EQ(pane->CurrentRow(), 3);
    pane->key(Key(31, 30));
    EXPECT_EQ(pane->CurrentRow(), 0);

    // "Áb" typed quickly (Mac Roman): the first name beginning "ab".
    RazSelect(pane->fList);
    pane->key(Key(0xE7, 100));
    pane->key(Key('b', 105));
    ASSERT_GE(pane->CurrentRow(), 0);
    EXPECT_EQ(rows[size_t(pane->CurrentRow())], "abacus");
    const int32_t found = pane->CurrentRow();
    // A pause starts again: "z".
    pane->key(Key('z', 105 + GetDblTime() + 1));
    ASSERT_GE(pane->CurrentRow(), 0);
    EXPECT_EQ(rows[size_t(pane->CurrentRow())], "Zed");
    EXPECT_NE(pane->CurrentRow(), found);
    // From the current row down, then from the first row: a name some row
    // holds is found, however many of its letters matched further down.
    for (char c : std::string("abl")) pane->key(Key(uint8_t(c), 2000));
    ASSERT_EQ(rows[size_t(pane->CurrentRow())], "able");
    for (char c : std::string("abb")) pane->key(Key(uint8_t(c), 3000));
    ASSERT_GE(pane->CurrentRow(), 0);
    EXPECT_EQ(rows[size_t(pane->CurrentRow())], "Abbey");
    // Sixteen characters: the 16th is ignored.
    for (int i = 0; i < 16; ++i) pane->key(Key('q', 1000 + uint32_t(i)));
    EXPECT_EQ(pane->fTypeAhead[0], 15);
}

TEST_F(MainList, DeletingAFormWithItsMethodSelectedAsksOnceAndFreesNothingTwice)
{
    Populate();
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    const int32_t f = browser::GetCellData(form_, pane->fList);
    const int32_t m = browser::GetCellData(objMethod_, pane->fList);
    ASSERT_GE(f, 0);
    ASSERT_GE(m, 0);
    LongLSetSelect(true, f, pane->fList);
    LongLSetSelect(true, m, pane->fList);

    // Answer 2 changes nothing.
    PushDialogAnswer(2);
    pane->DeleteObj();
    EXPECT_EQ(LastAlert().text, "Delete the selected objects?");
    EXPECT_EQ(browser::GetCellData(form_, pane->fList), f);

    // A pane that hears of the form's deletion drops its row.
    const int32_t rows = pane->fList->rowCount;
    pane->DelObjMsg(form_);
    EXPECT_EQ(browser::GetCellData(form_, pane->fList), -1);
    EXPECT_EQ(pane->fList->rowCount, rows - 1);

    // One row asks with the object's full name.
    RazSelect(pane->fList);
    LongLSetSelect(true, 0, pane->fList);
    PushDialogAnswer(2);
    pane->DeleteObj();
    EXPECT_EQ(LastAlert().text.substr(0, 7), "Delete ");
    EXPECT_EQ(LastAlert().text.back(), '?');
}

// Kinds that may be deleted; the form leaves its table's list of forms.
struct DeletableForm : TLayoutObjQz {
    bool EnableDelete() override { return true; }
    void ListRemove() override
    {
        if (auto* t = dynamic_cast<TFileObjQz*>(ownerObj)) DelObjList(t->forms, this);
    }
};
struct DeletableScript : TScriptObjQz {
    bool EnableDelete() override { return true; }
};

template <class T>
T* Construct(TMainDoc* doc, const std::string& name, int16_t id)
{
    T* obj = new (NewObjBlock(sizeof(T))) T;  // where the factory makes objects, so that Dispose frees it
    obj->init(doc, PName(name), id);
    return obj;
}

TEST_F(MainList, DeletingAFormAndItsObjectMethodTogetherAsksEachOnce)
{
    Populate();
    auto* form = Construct<DeletableForm>(&doc_, "Dialog", 8);
    form->kind = 24;
    form->ownerObj = table_;
    AddObjList(&table_->forms, form);
    NewObjList(&form->objMethods, 2);
    auto* script = Construct<DeletableScript>(&doc_, "bCancel", 9);
    script->kind = 25;
    script->ownerObj = form;
    AddObjList(&form->objMethods, script);

    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    const int32_t rows = pane->fList->rowCount;
    LongLSetSelect(true, browser::GetCellData(form, pane->fList), pane->fList);
    LongLSetSelect(true, browser::GetCellData(script, pane->fList), pane->fList);
    PushDialogAnswer(1);
    pane->DeleteObj();
    EXPECT_EQ(pane->fList->rowCount, rows - 2);
    EXPECT_EQ(table_->forms->Size(), 1);
    EXPECT_FALSE(LongLSel(pane->fList));
}

TEST_F(MainList, WindowsTellEveryPaneOfADeletedObject)
{
    Populate();
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_GE(browser::GetCellData(method_, pane->fList), 0);
    doc_.DelObjMsg(method_);
    EXPECT_EQ(browser::GetCellData(method_, pane->fList), -1);

    // The current row follows its object up, from just below the deleted
    // rows and from further down; it goes with the deleted row itself.
    TObjQz* a = Make(4, "Zz_A");
    TObjQz* b = Make(4, "Zz_B");
    TObjQz* c = Make(4, "Zz_C");
    const struct {
        TObjQz* current;
        TObjQz* expected;
    } cases[] = {{b, b}, {c, c}, {a, nullptr}};
    for (const auto& k : cases) {
        pane->SetDfltFilter(128);
        const int32_t row = browser::GetCellData(k.current, pane->fList);
        ASSERT_GE(row, 0);
        LongLSetSelect(true, row, pane->fList);
        pane->DelObjMsg(a);
        EXPECT_EQ(pane->CurrentObject(), k.expected) << P(k.current->name);
    }
}

}  // namespace
}  // namespace browsertest
