// Clicks on the main list from a scripted mouse on a headless timeline.
#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

#include "app/appl/CommandStacks.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/DocSupport.h"
#include "app/longlist/LongListHooks.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "browser/TransferDrop.h"
#include "design/documents/OpenQzB.h"
#include "platform/drawing/Ports.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/Events.h"
#include "platform/screen/Screen.h"
#include "tests/browser/BrowserFixture.h"
#include "tests/browser/ProgramFixture.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using browser::TLstPlane;

namespace browsertest {
namespace {

class Clicks : public BrowserFixture {
protected:
    void SetUp() override
    {
        BrowserFixture::SetUp();
        browser::InstallBrowserPanes();
    }
    void TearDown() override
    {
        run_.reset();
        ResetLongListHooks();
        BrowserFixture::TearDown();
    }
    // The window's content starts at (10, 40) global.
    static Point Global(int16_t h, int16_t v) { return Point{int16_t(v + 40), int16_t(h + 10)}; }
    Point RowPoint(TLstPlane* pane, int32_t row, int16_t dh)
    {
        const Rect r = GetCellRect(row, pane->fList);
        return Point{int16_t(r.top + 8), int16_t(r.left + dh)};
    }
    // Gives the next scripted press to the pane, as the window would.
    bool Click(TLstPlane* pane)
    {
        EventRecord e{};
        while (GetNextEvent(mUpMask, &e)) {
        }
        EXPECT_TRUE(platform::testing::NextEvent(mDownMask, &e));
        SetPortWindowPort(window_->fWindow);
        Point p = e.where;
        GlobalToLocal(&p);
        return pane->Click(p, 0);
    }
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

TEST_F(Clicks, SelectionChangesAndTheTriangleOpensAGroup)
{
    Make(4, "Alpha");
    Make(4, "Beta");
    TObjQz* member = Make(4, "Gamma");
    TGroupObjQz* group = Group("Grp", {member});
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    ASSERT_EQ(pane->fList->rowCount, 3);
    const int32_t g = browser::GetCellData(group, pane->fList);

    const Point beta = RowPoint(pane, 1, 60), triangle = RowPoint(pane, g, 8);
    const Point b = Global(beta.h, beta.v), t = Global(triangle.h, triangle.v);
    const uint32_t pause = GetDblTime() + 5;
    run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script()
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(b.h, b.v, shiftKey)
                                                      .Wait(pause)
                                                      .Click(t.h, t.v)
                                                      .Wait(pause));
    EXPECT_TRUE(Click(pane));
    EXPECT_EQ(pane->CurrentRow(), 1);
    // The selected row again, with and without Shift: it stays current.
    Click(pane);
    EXPECT_EQ(pane->CurrentRow(), 1);
    Click(pane);
    EXPECT_EQ(pane->CurrentRow(), 1);
    // The triangle opens the group: its member below, nothing selected anew.
    Click(pane);
    EXPECT_TRUE(IsOpenCell(g, pane->fList));
    EXPECT_EQ(LongLRowObject(g + 1, pane->fList), member);
    EXPECT_EQ(pane->fList->rowCount, 4);
    EXPECT_EQ(G_Plane, nullptr);
}

TEST_F(Clicks, CommandsFollowTheSelectionAndAClickInTheHeadIsThePanes)
{
    Make(4, "Alpha");
    Make(4, "Beta");
    TLstPlane* pane = OpenList();
    pane->SetDfltFilter(128);
    Rect list{}, header{}, popUp{};
    pane->GetBox(&list, &header, &popUp);
    const Point beta = RowPoint(pane, 1, 60), alpha = RowPoint(pane, 0, 60);
    const Point b = Global(beta.h, beta.v), a = Global(alpha.h, alpha.v);
    const Point h = Global(int16_t(header.left + 20), int16_t(header.top + 8));
    const uint32_t pause = GetDblTime() + 5;
    run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script()
                                                      .Click(b.h, b.v)
                                                      .Wait(pause)
                                                      .Click(a.h, a.v, shiftKey)
                                                      .Wait(pause)
                                                      .Click(h.h, h.v)
                                                      .Wait(pause));
    browser::DisableFunc(55);
    EXPECT_TRUE(Click(pane));
    EXPECT_TRUE(browser::CommandEnabled(55));
    // Two rows: no current object, the form commands off.
    browser::EnableFunc(75);
    browser::DisableFunc(55);
    EXPECT_TRUE(Click(pane));
    EXPECT_EQ(pane->CurrentObject(), nullptr);
    EXPECT_TRUE(browser::CommandEnabled(55));
    EXPECT_FALSE(browser::CommandEnabled(75));
    EXPECT_TRUE(Click(pane));
}

// Rows dragged within their document over a group row: that row alone is
// highlighted (inverted, or grey in a read-only document), and moving on to
// another row puts it back as it was.
TEST_F(Clicks, RowsDraggedOverAGroupRowHighlightItAlone)
{
    TObjQz* alpha = Make(4, "Alpha");
    TObjQz* beta = Make(4, "Beta");
    TGroupObjQz* group = Group("Grp", {});
    TLstPlane* pane = OpenList(Rect{0, 0, 100, 50});
    pane->SetDfltFilter(128);
    LongListHandle l = pane->fList;
    const int32_t a = browser::GetCellData(alpha, l), b = browser::GetCellData(beta, l),
                  g = browser::GetCellData(group, l);
    ASSERT_GE(std::min({a, b, g}), 0);
    LongLSetSelect(true, a, l);
    LongListRec* const dragging = G_LongListHdl;
    G_LongListHdl = l;
    auto pixels = [&](int32_t row) { return CellPixels(l, row); };
    auto over = [&](int32_t row) {
        const Point p = RowPoint(pane, row, 60), at = Global(p.h, p.v);
        run_.reset();
        run_ = std::make_unique<platform::testing::HeadlessRun>(platform::Script().Click(at.h, at.v).Wait(5));
        EventRecord e{};
        while (GetNextEvent(mUpMask, &e)) {
        }
        ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e));
        pane->DragCellSelect(true);
    };
    SetPortWindowPort(window_->fWindow);
    for (int32_t r = 0; r < l->rowCount; ++r) LongLDraw(r, l);
    const std::vector<uint32_t> plain = pixels(g);
    for (bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        doc_.fReadOnly = readOnly;
        over(g);
        EXPECT_EQ(G_Cell, g);
        const std::vector<uint32_t> lit = pixels(g);
        size_t changed = 0;
        for (size_t i = 0; i < lit.size(); ++i) changed += lit[i] != plain[i];
        if (readOnly) {
            EXPECT_GT(changed, plain.size() / 4);
            EXPECT_LT(changed, plain.size() * 3 / 4);
        } else {
            EXPECT_EQ(changed, plain.size());
        }
        over(b);
        EXPECT_EQ(G_Cell, -1);
        EXPECT_TRUE(pixels(g) == plain);
        pane->DragCellSelect(false);
    }
    doc_.fReadOnly = false;

    // Dragged on into another pane: the list's highlight goes, and no pane
    // is the target.
    auto* other = new browser::TCalledPlane;
    ASSERT_EQ(other->ITPlane(Rect{0, 50, 100, 100}, window_, doc_.fTypeList, nullptr, 0), 0);
    window_->AddPlane(other);
    over(g);
    ASSERT_EQ(G_Plane, pane);
    const Point inside = Global(int16_t((other->fRect.left + other->fRect.right) / 2),
                                int16_t((other->fRect.top + other->fRect.bottom) / 2));
    EXPECT_TRUE(other->DragCell(inside));
    EXPECT_EQ(G_Plane, nullptr);
    EXPECT_EQ(G_Cell, -1);
    EXPECT_TRUE(pixels(g) == plain);
    G_LongListHdl = dragging;
}

}  // namespace
}  // namespace browsertest

// The demo's browser window, and every way its highlighted rows or its rows
// change: after each, the current object is the one highlighted row's (none
// for none or several), the where-used and uses panes show its links, and
// Return, Rename and Edit Documentation act on it.
namespace browsertest {
namespace {

class OneCurrent;

struct Path {
    const char* name;
    void (*run)(OneCurrent& t);
    std::vector<std::string> highlighted;
    const char* current;  // the name of the current object, null for none
};

// A path shows as its name in the test's listing.
void PrintTo(const Path& path, std::ostream* os) { *os << path.name; }

std::string NameOf(TObjQz* obj)
{
    unsigned char n[256];
    obj->GetName(n);
    return P(n);
}

class OneCurrent : public ProgramFixture, public ::testing::WithParamInterface<Path> {
public:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(InitScreen(1280, 800), noErr);
        const docbuilder::BuildResult demo =
            docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
        ASSERT_EQ(demo.error, 0) << demo.message;
        Open(demo);
        ASSERT_EQ(Read(), 0);
        if (ObjListHdl commands = List(3)) ShellStrictSort(commands);
        window_ = OpenWindow(&doc_, 10);
        for (::TPlan* p = window_->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) main_ = static_cast<browser::TLstPlane*>(p);
            else if (p->IsMember(6)) preview_ = p;
        ASSERT_NE(main_, nullptr);
        uses_ = dynamic_cast<browser::TRefPlane*>(main_->fUses);
        usedBy_ = dynamic_cast<browser::TRefPlane*>(main_->fUsedBy);
        ASSERT_NE(uses_, nullptr);
        ASSERT_NE(usedBy_, nullptr);
        method_ = ObjectMethod("Listing", "Name");
        ASSERT_NE(method_, nullptr);
    }
    void TearDown() override
    {
        run_.reset();
        ::G_Plane = nullptr;
        ::G_Cell = -1;
        ClearDialogAnswers();
        while (TWindow* w = other_.fFirstWindow) {
            other_.RemoveWindow(w);
            w->Dispose();
        }
        if (other_.fTypeList) DisposeTypeList(other_.fTypeList);
        if (other_.fModuleManager) DisposeModuleMgr(other_.fModuleManager);
        if (other_.fResFile > 0 || other_.fRsrFile > 0) CloseQzB(other_.fRsrFile, other_.fResFile, -1, -1);
        ProgramFixture::TearDown();
        DisposeScreen();
    }

    // A browser window of the document as the program makes it, its left
    // edge at `left`.
    TRefWindow* OpenWindow(TMainDoc* doc, int16_t left)
    {
        Rect r{45, left, 445, int16_t(left + 600)};
        EXPECT_EQ(doc->NewRefWindow(&r, 1, PrefWindowKind(), -1, 0), 0);
        TRefWindow* w = doc->GetRefWindow();
        if (w) SizeWindow(w->fWindow, 600, 400, true), w->Resize();
        return w;
    }
    // The Listing form's object method of that name.
    TObjQz* ObjectMethod(const std::string& form, const std::string& name)
    {
        for (int32_t r = 0; r < main_->fList->rowCount; ++r) {
            auto* o = static_cast<TObjQz*>(LongLRowObject(r, main_->fList));
            if (o->kind == 25 && NameOf(o) == name && o->GetOwnerObj() && NameOf(o->GetOwnerObj()) == form) return o;
        }
        return nullptr;
    }
    TObjQz* Named(const std::string& name)
    {
        for (int32_t r = 0; r < main_->fList->rowCount; ++r) {
            auto* o = static_cast<TObjQz*>(LongLRowObject(r, main_->fList));
            if (NameOf(o) == name) return o;
        }
        return nullptr;
    }
    // Points of a row, window-local: its label, its icon, its triangle.
    Point OnRow(browser::TRefPlane* pane, int32_t row, int16_t dh)
    {
        const Rect cell = GetCellRect(row, pane->fList);
        return Point{int16_t(cell.top + 8), int16_t(cell.left + dh)};
    }
    Point Text(TObjQz* obj) { return OnRow(main_, Reveal(obj), 80); }
    Point Icon(TObjQz* obj) { return OnRow(main_, Reveal(obj), int16_t(24 + 16 * obj->GetLevel())); }
    Point Triangle(TObjQz* obj) { return OnRow(main_, Reveal(obj), 8); }
    int32_t Row(TObjQz* obj) { return browser::GetCellData(obj, main_->fList); }
    // The object's row, scrolled into the list's view when outside it.
    int32_t Reveal(TObjQz* obj)
    {
        const int32_t row = Row(obj);
        LongListHandle l = main_->fList;
        if (row < l->firstVisible || GetCellRect(row, l).bottom > l->rView.bottom) {
            main_->ScrollTo(row);
            LongLUpdate(nullptr, l);
        }
        return row;
    }
    Point Global(Point local, TWindow* w)
    {
        SetPortWindowPort(w->fWindow);
        LocalToGlobal(&local);
        return local;
    }
    // The scripted mouse from a press at `at` in `pane`, given to the pane
    // as its window would.
    void Press(browser::TRefPlane* pane, Point at, Script script)
    {
        run_ = std::make_unique<platform::testing::HeadlessRun>(std::move(script));
        EventRecord e{};
        ASSERT_TRUE(platform::testing::NextEvent(mDownMask, &e)) << run_->watchdogMessage;
        pane->Click(at, 0);
        if (e.what == mouseDown && platform::testing::NextEvent(mDownMask, &e)) pane->Click(at, 1);
    }
    void ClickAt(Point at, uint16_t modifiers = 0, browser::TRefPlane* pane = nullptr)
    {
        pane = pane ? pane : main_;
        const Point g = Global(at, pane->fWindow);
        Press(pane, at, Script().Wait(100).Click(g.h, g.v, modifiers).Wait(5));
    }
    void DoubleClickAt(Point at)
    {
        const Point g = Global(at, window_);
        Press(main_, at, Script().Wait(100).DoubleClick(g.h, g.v).Wait(5));
    }
    void DragTo(Point from, Point globalTo)
    {
        const Point g = Global(from, window_);
        Press(main_, from, Script().Wait(100).Drag(g.h, g.v, globalTo.h, globalTo.v, 40).Wait(5));
    }
    void Key(browser::TRefPlane* pane, uint8_t c)
    {
        EventRecord e{};
        e.what = keyDown;
        e.message = c;
        e.when = when_ += 2;
        pane->key(e);
    }
    // A form cleared in a second browser window of the demo, which then
    // goes behind the first again.
    void ClearInSecondWindow(const std::string& name)
    {
        TRefWindow* second = OpenWindow(&doc_, 40);
        browser::TLstPlane* list = nullptr;
        for (::TPlan* p = second->fFirstPlane; p; p = p->fNext)
            if (p->IsMember(2)) list = static_cast<browser::TLstPlane*>(p);
        ASSERT_NE(list, nullptr);
        list->SelectObj(Named(name));
        PushDialogAnswer(1);
        ASSERT_EQ(list->Do_Func(25), 0);
        ASSERT_EQ(Named(name), nullptr);
        // The first window in front again takes the menus back.
        SelectWindow(window_->fWindow);
        window_->fFirstPlane->SelectPlane();
    }
    // A structure of one method in a browser window right of the demo's.
    TRefWindow* OpenOther()
    {
        const docbuilder::BuildResult built = Build("structure Other\nmethod Elsewhere id 40\n");
        FSSpec data;
        FSMakeFSSpec(built.dataPath, &data);
        int16_t third = -1;
        unsigned char password[16] = {0};
        EXPECT_EQ(OpenQzB(1, data, &other_.fRsrFile, &other_.fResFile, &third, password), 0);
        EXPECT_EQ(NewTypeList(&other_.fTypeList), 0);
        EXPECT_EQ(ReadQzB(&other_, 1, 0), 0);
        TRefWindow* w = OpenWindow(&other_, 660);
        SelectWindow(window_->fWindow);
        return w;
    }

    TMainDoc& Doc() { return doc_; }
    TRefWindow* window_ = nullptr;
    browser::TLstPlane* main_ = nullptr;
    browser::TRefPlane* uses_ = nullptr;
    browser::TRefPlane* usedBy_ = nullptr;
    ::TPlan* preview_ = nullptr;
    TObjQz* method_ = nullptr;
    TMainDoc other_;
    uint32_t when_ = 10000;
    std::unique_ptr<platform::testing::HeadlessRun> run_;
};

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// The names of the objects of a links list, and of a pane's rows.
std::vector<std::string> Names(ObjListHdl list)
{
    std::vector<std::string> out;
    for (int32_t i = 0; list && i < list->Size(); ++i) out.push_back(NameOf(list->At(i)));
    return Sorted(out);
}

std::vector<std::string> Shown(browser::TRefPlane* pane)
{
    std::vector<std::string> out;
    for (int32_t r = 0; r < pane->fList->rowCount; ++r)
        out.push_back(NameOf(static_cast<TObjQz*>(LongLRowObject(r, pane->fList))));
    return Sorted(out);
}

TEST_P(OneCurrent, TheHighlightedRowIsWhatThePanesShowAndTheCommandsActOn)
{
    const Path& path = GetParam();
    path.run(*this);
    std::vector<std::string> lit;
    for (int32_t r = 0; LongLGetSelect(true, &r, main_->fList); ++r)
        lit.push_back(NameOf(static_cast<TObjQz*>(LongLRowObject(r, main_->fList))));
    if (int32_t(lit.size()) == main_->fList->rowCount && lit.size() > 1) lit = {"(every row)"};
    EXPECT_EQ(lit, path.highlighted);
    TObjQz* current = main_->CurrentObject();
    EXPECT_EQ(current ? NameOf(current) : "(none)", path.current ? path.current : "(none)");
    // The panes: given the current object, and showing its links.
    EXPECT_EQ(main_->fShown, current);
    EXPECT_EQ(Shown(usedBy_), current ? Names(current->usedBy) : std::vector<std::string>{});
    EXPECT_EQ(Shown(uses_), current && !current->TstFlag(9) ? Names(current->uses) : std::vector<std::string>{});
    // Rename and Edit Documentation are there for it alone; Return shows
    // it in the preview.
    EXPECT_EQ(browser::CommandEnabled(51), current && current->EnableReplace());
    EXPECT_EQ(browser::CommandEnabled(56), current && current->EnableDocEdit());
    preview_->SetObj(nullptr);
    Key(main_, 13);
    EXPECT_EQ(static_cast<browser::TDisplayPlane*>(preview_)->fObj, current);
}

// Opens [Customers] above the row clicked first.
void ClickThenOpenAbove(OneCurrent& t, TObjQz* clicked)
{
    t.ClickAt(t.Text(clicked));
    t.ClickAt(t.Triangle(t.Named("Customers")));
}

const Path kPaths[] = {
    // A triangle opened (and closed) above the current row, then the row
    // that took its place clicked, or every window brought up to date by a
    // command in another one.
    {"TriangleAbove", [](OneCurrent& t) { ClickThenOpenAbove(t, t.method_); }, {"Name"}, "Name"},
    {"TriangleAboveOpenedAndClosed",
     [](OneCurrent& t) {
         ClickThenOpenAbove(t, t.method_);
         t.ClickAt(t.Triangle(t.Named("Customers")));
     },
     {"Name"}, "Name"},
    {"RowNowAtTheOldPlace",
     [](OneCurrent& t) {
         const int32_t old = t.Row(t.Named("Close_Invoice"));
         ClickThenOpenAbove(t, t.Named("Close_Invoice"));
         t.ClickAt(t.OnRow(t.main_, old, 80));
     },
     {"Card"}, "Card"},
    {"ClearInAnotherWindowAfterTheTriangle",
     [](OneCurrent& t) {
         ClickThenOpenAbove(t, t.Named("Close_Invoice"));
         t.ClearInSecondWindow("Summary");
     },
     {"Close_Invoice"}, "Close_Invoice"},
    // A row taken by its icon: clicked, Shift-clicked, double-clicked,
    // dragged nowhere, onto the uses pane, onto another document's list.
    {"IconClick",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.ClickAt(t.Icon(t.Named("INPUT FORM")));
     },
     {"INPUT FORM"}, "INPUT FORM"},
    {"IconShiftClick",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("ALERT")));
         t.ClickAt(t.Icon(t.Named("INPUT FORM")), shiftKey);
     },
     {"ALERT", "ALL RECORDS", "INPUT FORM"}, nullptr},
    {"IconDoubleClick",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.DoubleClickAt(t.Icon(t.Named("INPUT FORM")));
     },
     {"INPUT FORM"}, "INPUT FORM"},
    {"IconDraggedNowhere",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.DragTo(t.Icon(t.Named("Towns")), Point{790, 1270});
     },
     {"Towns"}, "Towns"},
    {"IconDraggedOntoTheUsesPane",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         const Rect& r = t.uses_->fRect;
         t.DragTo(t.Icon(t.Named("Towns")),
                  t.Global(Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)}, t.window_));
     },
     {"Towns"}, "Towns"},
    {"IconDraggedOntoAnotherDocument",
     [](OneCurrent& t) {
         TRefWindow* other = t.OpenOther();
         t.ClickAt(t.Text(t.method_));
         browser::TRefPlane* list = nullptr;
         for (::TPlan* p = other->fFirstPlane; p; p = p->fNext)
             if (p->IsMember(2)) list = static_cast<browser::TRefPlane*>(p);
         const Rect& r = list->fList->rView;
         t.DragTo(t.Icon(t.Named("Towns")),
                  t.Global(Point{int16_t(r.top + 8), int16_t(r.right - 20)}, other));
         // The copy is posted to the other document.
         int16_t command = 0;
         while (GetFunc(&command) && command != browser::kDragObjCommand) {
         }
         EXPECT_EQ(command, browser::kDragObjCommand);
         void *dest = nullptr, *source = nullptr;
         int16_t option = -1;
         EXPECT_FALSE(PopPtr(&dest));  // false: popped
         EXPECT_FALSE(PopPtr(&source));
         EXPECT_FALSE(PopInteger(&option));
         EXPECT_EQ(dest, list);
         EXPECT_EQ(source, t.main_);
     },
     {"Towns"}, "Towns"},
    // Commands on the rows.
    {"SelectAll",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.main_->Do_Func(26);
     },
     {"(every row)"}, nullptr},
    {"KeepSelectedRowsOfOne",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.main_->Do_Func(55);
     },
     {"Name"}, "Name"},
    {"ControlClickOnTheHeader",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         Rect list{}, header{}, popUp{};
         t.main_->GetBox(&list, &header, &popUp);
         t.ClickAt(Point{int16_t(header.top + 8), int16_t(header.left + 20)}, controlKey);
     },
     {"Name"}, "Name"},
    {"GroupOfOneTakenApart",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("Close_Invoice")));
         t.run_ = std::make_unique<platform::testing::HeadlessRun>(Script().Wait(5).Type("Solo").Wait(2).Choose(1));
         t.main_->Do_Func(70);
         ASSERT_EQ(NameOf(t.main_->CurrentObject()), "Solo");
         t.main_->Do_Func(73);
     },
     {"Close_Invoice"}, "Close_Invoice"},
    {"FilterNarrowedWithOption",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.main_->ChooseFilter(2, optionKey);
     },
     {}, nullptr},
    {"OptionClickInTheUsesPaneOnAnObjectWithoutARow",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("Close_Invoice")));
         for (int32_t r = 0; r < t.uses_->fList->rowCount; ++r)
             if (NameOf(static_cast<TObjQz*>(LongLRowObject(r, t.uses_->fList))) == "Log_Event")
                 t.ClickAt(t.OnRow(t.uses_, r, 40), optionKey, t.uses_);
     },
     {"Close_Invoice"}, "Close_Invoice"},
    // Controls: paths that hold.
    {"TextClick", [](OneCurrent& t) { t.ClickAt(t.Text(t.method_)); }, {"Name"}, "Name"},
    {"ShiftClick",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("ALERT")));
         t.ClickAt(t.Text(t.Named("ALL RECORDS")), shiftKey);
     },
     {"ALERT", "ALL RECORDS"}, nullptr},
    {"CommandClickTakesTheOtherAway",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("ALERT")));
         t.ClickAt(t.Text(t.Named("ALL RECORDS")), shiftKey);
         t.ClickAt(t.Text(t.Named("ALERT")), cmdKey);
     },
     {"ALL RECORDS"}, "ALL RECORDS"},
    {"ArrowDown",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("ALERT")));
         t.Key(t.main_, 31);
     },
     {"ALL RECORDS"}, "ALL RECORDS"},
    {"TypeAhead",
     [](OneCurrent& t) {
         for (char c : std::string("INPUT")) t.Key(t.main_, uint8_t(c));
     },
     {"INPUT FORM"}, "INPUT FORM"},
    {"Find",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         WaitParamRec wait{};
         t.main_->SearchRows(::GetFilter(128), true, &wait);
     },
     {}, nullptr},
    {"Rename",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("Close_Invoice")));
         t.run_ = std::make_unique<platform::testing::HeadlessRun>(
             Script().Wait(5).Type("Close_Bill").Wait(2).Choose(1));
         t.main_->Do_Func(51);
     },
     {"Close_Bill"}, "Close_Bill"},
    {"DraggedOntoAGroupRow",
     [](OneCurrent& t) {
         const Point from = t.Icon(t.Named("Stamp"));
         t.DragTo(from, t.Global(t.Text(t.Named("Logging")), t.window_));
         ASSERT_EQ(t.Named("Stamp"), nullptr);
     },
     {}, nullptr},
    {"ReadStructureAgain",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.Doc().RazAll(reinterpret_cast<Handle>(t.Doc().fTypeList), true);
     },
     {}, nullptr},
    {"PlainFilter",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.method_));
         t.main_->ChooseFilter(2, 0);
     },
     {}, nullptr},
    {"Clear",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("Summary")));
         PushDialogAnswer(1);
         t.main_->Do_Func(25);
     },
     {}, nullptr},
    {"CommandInASecondWindow",
     [](OneCurrent& t) {
         t.ClickAt(t.Text(t.Named("Close_Invoice")));
         t.ClearInSecondWindow("Summary");
     },
     {"Close_Invoice"}, "Close_Invoice"},
};

INSTANTIATE_TEST_SUITE_P(EveryPath, OneCurrent, ::testing::ValuesIn(kPaths),
                         [](const ::testing::TestParamInfo<Path>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace browsertest
