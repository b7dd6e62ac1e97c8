// Windows: the Edit menu and undo, grow limits, the window menu, the
// browser window's key fan-outs, drops and editors.
#include <gtest/gtest.h>

#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/TClipBoard.h"
#include "app/windows/PaneHooks.h"
#include "app/windows/TClipWindow.h"
#include "app/windows/TMainWindow.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/menus/Menus.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/TextEdit.h"
#include "tests/app/DocFakes.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace apptest;
using namespace platform;

namespace {

class WindowTest : public DocFixture {
protected:
    void SetUp() override
    {
        extraResources = R"(
'DLOG' 400 { bounds 0 0 100 200 title "" proc 5 visible items 400 }
'DITL' 400 { button 60 110 80 190 "OK" edit 10 10 30 190 "hello" }
)";
        DocFixture::SetUp();
        ResetScrap();
        PaneHooks() = AppPaneHooks();
    }
    void TearDown() override
    {
        PaneHooks() = AppPaneHooks();
        ResetScrap();
        DocFixture::TearDown();
    }
    uint8_t Mark(int16_t index)
    {
        MenuRef menu = nullptr;
        int16_t item = 0;
        GetMItem(34, index, &menu, &item);
        CharParameter mark = 0;
        GetItemMark(menu, MenuItemIndex(item), &mark);
        return uint8_t(mark);
    }
    std::string Item(int16_t index)
    {
        Str255 text;
        GetFuncItem(34, index, text);
        return P(text);
    }
    static EventRecord Active(bool on)
    {
        EventRecord e{};
        e.what = activateEvt;
        e.modifiers = on ? activeFlag : 0;
        return e;
    }
};

class LimitsWindow : public TWindow {
public:
    Rect Limits() const { return GrowLimits(); }
};

TEST_F(WindowTest, TheEditMenuFollowsTheSelectionAndTheClipboard)
{
    TestDoc* doc = NewDoc();
    TWindow* window = NewWindow(doc);
    auto* pane = new FakePane(2);
    window->AddPlane(pane);
    window->SetEditMenu();
    for (int16_t c : {22, 23, 25}) EXPECT_FALSE(IsFuncEnabled(c)) << c;
    EXPECT_EQ(IsFuncEnabled(24), TEGetScrapLength() != 0);
    pane->selection = true;
    ScrapRef scrap = nullptr;
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, 1, "x"), noErr);
    TEFromScrap();
    window->SetEditMenu();
    for (int16_t c : {22, 23, 25, 24}) EXPECT_TRUE(IsFuncEnabled(c)) << c;

    // A browser document's window: only Copy follows the selection.
    auto* main = NewWindow<TMainWindow>(doc, "Main");
    auto* mainPane = new FakePane(2);
    main->AddPlane(mainPane);
    for (int16_t c : {22, 23, 25}) DisableFunc(c);
    mainPane->selection = true;
    main->SetEditMenu();
    EXPECT_TRUE(IsFuncEnabled(23));
    EXPECT_FALSE(IsFuncEnabled(22));
    EXPECT_FALSE(IsFuncEnabled(25));
}

TEST_F(WindowTest, UndoRunsTheTableAndTheBaseOperationsLeaveNothingToUndo)
{
    TestDoc* doc = NewDoc();
    TWindow* window = NewWindow(doc);
    window->AddPlane(new FakePane(2));
    SetUndo(window->fUndo, 8, 8);  // a pane's cut
    EXPECT_TRUE(IsFuncEnabled(21));
    EXPECT_EQ(window->Do_Func(21), 0);
    EXPECT_EQ(UndoCode(window->fUndo), 7);
    EXPECT_EQ(window->Do_Func(21), 0);
    EXPECT_EQ(UndoCode(window->fUndo), 8);
    // Each undo turns into its redo and back; typing's own code undoes.
    const std::pair<int16_t, int16_t> steps[] = {{5, 6},   {6, 5},   {100, 5}, {7, 8},   {8, 7},  {9, 10},
                                                 {10, 9},  {11, 12}, {12, 11}, {13, 14}, {14, 13}};
    for (const auto& [from, to] : steps) {
        SetUndo(window->fUndo, from, from);
        EXPECT_EQ(window->Do_Func(21), 0) << from;
        EXPECT_EQ(UndoCode(window->fUndo), to) << from;
    }

    // Cut in a dialog window cuts its text; Undo stays disabled.
    DialogRef dialog = MyGetNewDialog(400, nullptr, reinterpret_cast<WindowRef>(-1));
    ASSERT_NE(dialog, nullptr);
    TWindow onDialog;
    onDialog.fWindow = GetDialogWindow(dialog);
    onDialog.fUndo = InitUndoHdl(2, 2);
    SelectDialogItemText(dialog, 2, 0, 5);
    EXPECT_EQ(onDialog.Do_Func(22), 0);
    DialogItemType type = 0;
    Handle item = nullptr;
    Rect box{};
    GetDialogItem(dialog, 2, &type, &item, &box);
    Str255 text;
    GetDialogItemText(item, text);
    EXPECT_EQ(P(text), "");
    EXPECT_EQ(UndoCode(onDialog.fUndo), 1);
    EXPECT_EQ(UndoTxtNum(onDialog.fUndo), kNothingToUndo);
    EXPECT_FALSE(IsFuncEnabled(21));
    DisposeHandle(onDialog.fUndo);
    onDialog.fWindow = nullptr;
    MyDisposDialog(dialog);
}

TEST_F(WindowTest, AnIdleNoPaneTakesGivesTheArrow)
{
    TestDoc* doc = NewDoc();
    TWindow* window = NewWindow(doc);
    window->AddPlane(new FakePane(2));
    Cursor other{};
    other.hotSpot = Point{3, 3};
    MySetCursor(&other);
    window->Idle(EventRecord{});
    EXPECT_EQ(CurrentAppCursor(), &GetQDGlobalsArrow());
    ResetAppCursor();
}

TEST_F(WindowTest, PanesRotateToTheHeadAndTakeClicksInOrder)
{
    TestDoc* doc = NewDoc();
    TWindow* window = NewWindow(doc);
    std::vector<std::string> log;
    FakePane* panes[4];
    for (int16_t i = 3; i >= 0; --i) window->AddPlane(panes[i] = new FakePane(i, &log));
    window->SetFirstPlane(panes[2]);
    std::vector<TPlan*> order;
    for (TPlan* p = window->fFirstPlane; p; p = p->fNext) order.push_back(p);
    EXPECT_EQ(order, (std::vector<TPlan*>{panes[2], panes[3], panes[0], panes[1]}));
    EXPECT_EQ(panes[1]->fNext, nullptr);
    EXPECT_EQ(panes[0]->fPrev, panes[3]);

    panes[3]->takeClick = true;
    EventRecord e{};
    e.where = Point{100, 100};
    window->Click(e, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"2 click", "3 click"}));
}

// Other windows keep numbers of their own in the reference: only a live
// window object naming this very window is taken for it.
TEST_F(WindowTest, AWindowIsOursOnlyWhenItsObjectNamesIt)
{
    TestDoc* doc = NewDoc();
    TWindow* ours = NewWindow(doc);
    ASSERT_NE(ours, nullptr);
    const Rect r{50, 50, 150, 250};
    const unsigned char none[1] = {0};
    WindowRef other = NewCWindow(nullptr, &r, none, true, 0, reinterpret_cast<WindowRef>(-1), false, 0);
    const std::pair<uintptr_t, TWindow*> cases[] = {
        {0, nullptr}, {4321, nullptr}, {reinterpret_cast<uintptr_t>(ours), nullptr}};
    for (const auto& [refCon, expected] : cases) {
        SetWRefCon(other, refCon);
        EXPECT_EQ(GetTWindow(other), expected) << refCon;
    }
    EXPECT_EQ(GetTWindow(ours->fWindow), ours);
    DisposeWindow(other);
}

TEST_F(WindowTest, GrowKeepsTheLimitsAndASameSizeGrowDoesNothing)
{
    LimitsWindow plain;
    EXPECT_EQ(plain.Limits().top, 200);
    EXPECT_EQ(plain.Limits().left, 200);
    EXPECT_EQ(plain.Limits().bottom, 800 - 24);
    EXPECT_EQ(plain.Limits().right, 1280);
    EXPECT_EQ(TEditDocWindow().GetMinWWide(), 100);
    EXPECT_EQ(TEditDocWindow().GetMinWHeight(), 50);

    TestDoc* doc = NewDoc();
    std::vector<std::string> log;
    TWindow* window = NewWindow(doc, "Base", Rect{100, 100, 500, 700});
    window->AddPlane(new FakePane(2, &log));
    platform::testing::HeadlessRun run(platform::Script()
                                 .Drag(698, 498, 698, 498, 5)
                                 .Drag(698, 498, 400, 200, 10));
    EventRecord e{};
    while (EventAvail(updateMask, &e)) {
        WindowRef w = reinterpret_cast<WindowRef>(e.message);
        BeginUpdate(w);
        EndUpdate(w);
    }
    ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
    window->grow(e);
    EXPECT_TRUE(log.empty()) << "same size";
    ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
    window->grow(e);
    Rect bounds{};
    GetWindowBounds(window->fWindow, kWindowContentRgn, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 302);
    EXPECT_EQ(bounds.bottom - bounds.top, 200) << "not under the minimum";
    EXPECT_EQ(log, (std::vector<std::string>{"2 resize", "2 update"}));
    EXPECT_FALSE(EventAvail(updateMask, &e)) << "no update follows a grow";
}

TEST_F(WindowTest, TheWindowMenuListsTitlesLiterallyAndMarksTheFrontWindow)
{
    TestDoc* doc = NewDoc();
    auto* base = NewWindow<TMainWindow>(doc, "Base");
    auto* other = NewWindow<TMainWindow>(doc, "a;b(c");
    ASSERT_EQ(NbSFunc(34), 2);
    EXPECT_EQ(Item(1), "Base");
    EXPECT_EQ(Item(2), "a;b(c");

    base->Activate(Active(false));
    other->Activate(Active(true));
    EXPECT_EQ(Mark(2), checkMark);
    EXPECT_EQ(Mark(1), 0);
    other->Activate(Active(false));
    base->Activate(Active(true));
    EXPECT_EQ(Mark(1), checkMark);
    EXPECT_EQ(Mark(2), 0);

    other->SetTitle(reinterpret_cast<const unsigned char*>("\x05" "Other"));
    EXPECT_EQ(Item(2), "Other");
    Str255 title;
    other->GetTitle(title);
    EXPECT_EQ(P(title), "Other");

    other->Close();
    ASSERT_EQ(NbSFunc(34), 1);
    EXPECT_EQ(Item(1), "Base");
    base->Hide();
    EXPECT_EQ(NbSFunc(34), 0);
    base->Show();
    EXPECT_EQ(Item(1), "Base");
}

TEST_F(WindowTest, TheFiltersAreWorkedOutFromThePanesOfTheirClasses)
{
    static std::vector<TPlan*> gFiltered;
    gFiltered.clear();
    PaneHooks().updateFilters = [](TPlan* a, TPlan* b, TPlan* c) { gFiltered = {a, b, c}; };
    auto* browser = NewWindow<TRefWindow>(NewDoc(), "Browser");
    FakePane* panes[3] = {new FakePane(5), new FakePane(2), new FakePane(4)};
    for (FakePane* pane : panes) browser->AddPlane(pane);
    browser->UpdateFilters();
    EXPECT_EQ(gFiltered, (std::vector<TPlan*>{panes[2], panes[1], panes[0]}));
}

TEST_F(WindowTest, CommandArrowsGiveTheListPaneTheUsesOrUsedByList)
{
    TestDoc* doc = NewDoc();
    auto* window = NewWindow<TRefWindow>(doc);
    auto* list = new FakePane(2);
    auto* usedBy = new FakePane(4);
    auto* uses = new FakePane(5);
    uses->list = reinterpret_cast<Handle>(0x10);
    usedBy->list = reinterpret_cast<Handle>(0x20);
    for (TPlan* p : {static_cast<TPlan*>(uses), static_cast<TPlan*>(usedBy), static_cast<TPlan*>(list)})
        window->AddPlane(p);
    EventRecord e{};
    e.what = keyDown;
    e.modifiers = cmdKey;
    for (uint8_t code : {28, 30}) {
        list->copied = nullptr;
        e.message = code;
        window->key(e);
        EXPECT_EQ(list->copied, uses->list);
    }
    for (uint8_t code : {29, 31}) {
        list->copied = nullptr;
        e.message = code;
        window->key(e);
        EXPECT_EQ(list->copied, usedBy->list);
    }
    list->copied = nullptr;
    e.message = 'a';
    window->key(e);
    EXPECT_EQ(list->copied, nullptr);
}

TEST_F(WindowTest, ClosingABrowserWindowClosesTheDocumentOnlyForTheLastOne)
{
    bool gone = false;
    TestDoc* doc = NewDoc("Base", &gone);
    auto* first = NewWindow<TRefWindow>(doc, "Base");
    auto* second = NewWindow<TRefWindow>(doc, "Base-2");
    first->fLinked = second;
    second->fLinked = first;
    auto* editor = NewWindow<TEditDocWindow>(doc, "Doc");
    ASSERT_EQ(doc->fFirstWindow, editor);

    // The window behind closes alone, and its link goes.
    EXPECT_EQ(first->Do_Func(3), 0);
    EXPECT_FALSE(gone);
    EXPECT_EQ(second->fLinked, nullptr);
    EXPECT_EQ(doc->CountWindow(), 2);
    EXPECT_EQ(NbSFunc(34), 2);

    // The last browser window takes its editors and the document along.
    EXPECT_EQ(second->Do_Func(3), 0);
    EXPECT_TRUE(gone);
    EXPECT_EQ(NbSFunc(34), 0);
}

TEST_F(WindowTest, TheGeneralDocumentationEditorOpensOnceBesideTheBrowser)
{
    TestDoc* doc = NewDoc();
    auto* window = NewWindow<TRefWindow>(doc, "Base", Rect{30, 10, 400, 600});
    std::vector<TWindow*> madeFor;
    PaneHooks().makeDocPlane = [](TWindow* editor, TWindow*, TPlan** pane) {
        *pane = new FakePane(9);
        (void)editor;
        return int16_t(0);
    };
    EXPECT_EQ(window->Do_Func(49), 0);
    auto* editor = doc->fFirstWindow;
    ASSERT_TRUE(editor->IsMember(5));
    ASSERT_NE(editor->FindPlane(9), nullptr);
    Rect r{};
    GetWindowBounds(editor->fWindow, kWindowContentRgn, &r);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right - r.left, 420);
    EXPECT_EQ(r.bottom - r.top, 180);

    window->SelectTWindow();
    EXPECT_EQ(window->Do_Func(49), 0);
    EXPECT_EQ(doc->CountWindow(), 2);
    EXPECT_EQ(GetTWindow(FrontWindow()), editor);

    // A pane that cannot be made takes its window with it.
    editor->Close();
    PaneHooks().makeDocPlane = [](TWindow*, TWindow*, TPlan**) { return int16_t(-108); };
    window->EditDoc();
    EXPECT_EQ(doc->CountWindow(), 1);
}

TEST_F(WindowTest, DropsFromAClosedWindowAreDropped)
{
    TestDoc* from = NewDoc("From");
    TestDoc* to = NewDoc("To");
    auto* source = NewWindow<TRefWindow>(from, "From");
    auto* sourcePane = new FakePane(2);
    source->AddPlane(sourcePane);
    auto* dest = NewWindow<TRefWindow>(to, "To");

    ASSERT_EQ(PushInteger(1), noErr);
    ASSERT_EQ(PushPtr(sourcePane), noErr);
    EXPECT_EQ(dest->GetDragObj(nullptr), 0);
    ASSERT_EQ(sourcePane->moved.size(), 1u);
    EXPECT_EQ(sourcePane->moved[0], std::make_pair(static_cast<TDocument*>(to), int16_t(1)));

    NewWindow<TRefWindow>(from, "From-2");
    source->Close();
    ASSERT_EQ(PushInteger(0), noErr);
    ASSERT_EQ(PushPtr(sourcePane), noErr);
    EXPECT_EQ(dest->GetDragObj(nullptr), 0);
    int16_t left = 0;
    EXPECT_TRUE(PopInteger(&left)) << "both arguments were taken";
}

TEST_F(WindowTest, AnEditorKeepsItsWindowWhenWritingBackFails)
{
    TestDoc* doc = NewDoc();
    NewWindow<TRefWindow>(doc, "Base");
    auto* editor = NewWindow<TEditStrWindow>(doc, "Strings");
    auto* pane = new FakePane(7);
    editor->AddPlane(pane);
    pane->modified = true;
    pane->writeResult = -34;
    PushDialogAnswer(1);
    EXPECT_EQ(editor->Do_Func(3), -34);
    EXPECT_TRUE(IsLiveWindow(editor));
    EXPECT_EQ(AlertCount(), 2) << "the question, then one error";
    EXPECT_EQ(pane->writes, 1);

    PushDialogAnswer(3);
    EXPECT_EQ(editor->Close(), 1001);
    EXPECT_TRUE(IsLiveWindow(editor));

    pane->writeResult = 0;
    PushDialogAnswer(1);
    EXPECT_EQ(editor->Close(), 0);
    EXPECT_FALSE(IsLiveWindow(editor));
    EXPECT_EQ(doc->CountWindow(), 1);
}

TEST_F(WindowTest, ClosingTheDocumentFromAnEditorWaitsForTheEditorToClose)
{
    bool gone = false;
    TestDoc* doc = NewDoc("Base", &gone);
    NewWindow<TRefWindow>(doc, "Base");
    auto* editor = NewWindow<TEditStrWindow>(doc, "Strings");
    auto* pane = new FakePane(7);
    editor->AddPlane(pane);
    pane->modified = true;
    // Cancelled: window and document stay.
    PushDialogAnswer(3);
    EXPECT_EQ(editor->Do_Func(4), 1001);
    EXPECT_TRUE(IsLiveWindow(editor));
    EXPECT_FALSE(gone);
    EXPECT_EQ(doc->CountWindow(), 2);
    EXPECT_EQ(pane->writes, 0);
    // Closed without saving: the document closes after it.
    PushDialogAnswer(2);
    EXPECT_EQ(editor->Do_Func(4), 0);
    EXPECT_TRUE(gone);
}

TEST_F(WindowTest, TheDocumentationEditorSavesWithoutAsking)
{
    TestDoc* doc = NewDoc();
    NewWindow<TRefWindow>(doc, "Base");
    auto* editor = NewWindow<TEditDocWindow>(doc, "Doc");
    auto* pane = new FakePane(9);
    editor->AddPlane(pane);
    pane->writeResult = -34;  // would be seen: an unchanged text is not written
    EXPECT_EQ(editor->Close(), 0);
    EXPECT_EQ(AlertCount(), 0);

    editor = NewWindow<TEditDocWindow>(doc, "Doc");
    pane = new FakePane(9);
    editor->AddPlane(pane);
    pane->modified = true;
    pane->writeResult = -34;
    // The failure is said, whoever closes the window (a quit too).
    EXPECT_EQ(editor->Close(), 1001);
    EXPECT_TRUE(IsLiveWindow(editor)) << "kept with its text";
    EXPECT_EQ(pane->writes, 1);
    EXPECT_EQ(AlertCount(), 1);
    pane->writeResult = 0;
    EXPECT_EQ(editor->Close(), 0);
    EXPECT_FALSE(IsLiveWindow(editor));
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(doc->CountWindow(), 1);
}

// The clipboard window shows each text in place of the one before, and
// lets go of the picture it holds when it goes.
TEST_F(WindowTest, TheClipboardWindowReplacesItsTextAndFreesItsPicture)
{
    ResetScrap();
    auto showAndClose = [this] {
        TClipBoard* clip = NewClipBoard(appl_);
        ASSERT_NE(clip, nullptr);
        TClipWindow* window = clip->Window();
        ScrapRef scrap = nullptr;
        for (const std::string text : {"hello", "bye"}) {
            ASSERT_EQ(ClearCurrentScrap(), noErr);
            ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
            ASSERT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, Size(text.size()), text.data()), noErr);
            window->SetData(nullptr, FourCC("TEXT"), 0, int32_t(text.size()));
            const TEHandle te = window->fText;
            EXPECT_EQ(std::string(*TEGetText(te), size_t((*te)->teLength)), text);
        }
        Handle picture = NewHandle(4);
        window->SetData(picture, FourCC("PICT"), 0, 4);
        DisposeHandle(picture);
        EXPECT_NE(window->fPicture, nullptr);
        clip->Dispose();
    };
    // The first round also makes what the text records keep for the process.
    showAndClose();
    const size_t handlesBefore = LiveHandleCount();
    showAndClose();
    EXPECT_EQ(LiveHandleCount(), handlesBefore);
    ResetScrap();
}

}  // namespace
