// Document windows with a window-menu item, and the browser window.
#include "app/windows/TMainWindow.h"

#include <algorithm>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/TAppl.h"
#include "app/appl/UndoRecords.h"
#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/menus/Menus.h"

using namespace platform;

namespace {

constexpr int16_t kWindowMenu = 34;

}  // namespace

// Window menu.

void TMainWindow::AppendMenuItem()
{
    if (fInMenu) return;
    // Put in as a space and then named, so that no character of the title
    // is read as a menu metacharacter.
    InsFuncItem(kWindowMenu, reinterpret_cast<const unsigned char*>("\x01 "), 32767, 0);
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(kWindowMenu, NbSFunc(kWindowMenu), &menu, &item);
    Str255 title;
    GetTitle(title);
    if (menu && item > 0) SetMenuItemText(menu, MenuItemIndex(item), title);
    fInMenu = true;
}

void TMainWindow::RemoveMenuItem()
{
    if (!fInMenu) return;
    fInMenu = false;
    Str255 title;
    GetTitle(title);
    const int16_t index = GetNamedFuncItem(kWindowMenu, title);
    if (index > 0) DelFuncItem(kWindowMenu, index);
}

int16_t TMainWindow::ITWindow(const unsigned char* title, const Rect& rect, bool visible, int16_t word,
                              TDocument* doc, int16_t kind)
{
    if (const int16_t result = TWindow::ITWindow(title, rect, visible, word, doc, kind); result != 0) return result;
    if (visible) AppendMenuItem();
    fTicks = TickCount();
    fFlag = 0;
    return 0;
}

void TMainWindow::Show()
{
    TWindow::Show();
    AppendMenuItem();
}

void TMainWindow::Hide()
{
    RemoveMenuItem();
    TWindow::Hide();
}

void TMainWindow::Dispose()
{
    RemoveMenuItem();
    TWindow::Dispose();
}

void TMainWindow::SetTitle(const unsigned char* title)
{
    Str255 old;
    GetTitle(old);
    const int16_t index = GetNamedFuncItem(kWindowMenu, old);
    if (index > 0) {
        MenuRef menu = nullptr;
        int16_t item = 0;
        GetMItem(kWindowMenu, index, &menu, &item);
        if (menu && item > 0) SetMenuItemText(menu, MenuItemIndex(item), title);
    }
    TWindow::SetTitle(title);
}

void TMainWindow::MakeActive()
{
    Str255 title;
    GetTitle(title);
    const int16_t index = GetNamedFuncItem(kWindowMenu, title);
    if (index > 0) SetFuncMark(kWindowMenu, index, checkMark);
    TWindow::MakeActive();
}

void TMainWindow::MakeInActive()
{
    Str255 title;
    GetTitle(title);
    const int16_t index = GetNamedFuncItem(kWindowMenu, title);
    if (index > 0) SetFuncMark(kWindowMenu, index, 0);
    TWindow::MakeInActive();
}

void TMainWindow::SetEditMenu()
{
    IsSelection() ? EnableFunc(23) : DisableFunc(23);
    SetUndoMenu(fUndo);
}

void TMainWindow::Idle(const EventRecord& event)
{
    TWindow::Idle(event);
    if (fDoc && fDoc->fBadParse) BadParseIdle(int32_t(fTicks), fFlag);
}

int16_t TMainWindow::GetDragObj(TPlan*)
{
    void* source = nullptr;
    int16_t option = 0;
    if (PopPtr(&source)) return 0;
    if (PopInteger(&option)) return 0;
    auto* pane = static_cast<TPlan*>(source);
    // The window the selection came from may have closed since the drop.
    if (!IsLivePane(pane) || !fDoc) return 0;
    const int16_t result = pane->MoveQzObj(fDoc, option);
    fDoc->SetWasModif();
    fDoc->UpdateAll();
    return result;
}

// Browser window.

int16_t TRefWindow::ITWindow(const unsigned char* title, const Rect& rect, bool visible, int16_t word,
                             TDocument* doc, int16_t kind)
{
    const int16_t result = TMainWindow::ITWindow(title, rect, visible, word, doc, kind);
    fLinked = nullptr;
    return result;
}

void TRefWindow::Dispose()
{
    for (int16_t c : {53, 10, 7, 49, 74}) DisableFunc(c);
    TMainWindow::Dispose();
}

int16_t TRefWindow::Close()
{
    bool otherBrowser = false;
    if (fDoc)
        for (TWindow* w = fDoc->fFirstWindow; w; w = w->fNextWindow)
            otherBrowser = otherBrowser || (w != this && w->IsMember(3));
    if (!otherBrowser && fDoc) {
        // The document's last browser window: its editors go with it.
        for (TWindow* w = fDoc->fFirstWindow; w;) {
            TWindow* next = w->fNextWindow;
            if (w != this && !w->IsMember(3)) {
                const int16_t result = w->Close();
                if (result != 0) return result;
            }
            w = next;
        }
        return fDoc->Failed_Func(4);
    }
    RemoveMenuItem();
    if (fLinked && fLinked->fLinked == this) fLinked->fLinked = nullptr;
    if (fDoc)
        for (TWindow* w = fDoc->fFirstWindow; w; w = w->fNextWindow)
            if (w->IsMember(3) && static_cast<TRefWindow*>(w)->fLinked == this)
                static_cast<TRefWindow*>(w)->fLinked = nullptr;
    TDocument* doc = fDoc;
    if (doc) doc->RemoveWindow(this);
    if (doc) doc->RenumberRefWindows();
    Dispose();
    return 0;
}

void TRefWindow::MakeActive()
{
    for (int16_t c : {24, 22}) DisableFunc(c);
    if (!G_LowMem && !G_NoMem)
        for (int16_t c : {53, 10, 7, 49, 74}) EnableFunc(c);
    TMainWindow::MakeActive();
}

void TRefWindow::MakeInActive()
{
    TMainWindow::MakeInActive();
    for (int16_t c : {24, 22, 53, 10, 7, 49, 74}) DisableFunc(c);
}

void TRefWindow::key(const EventRecord& event)
{
    if (!(event.modifiers & cmdKey)) {
        TMainWindow::key(event);
        return;
    }
    const uint8_t code = uint8_t(event.message & charCodeMask);
    TPlan* from = nullptr;
    if (code == 30 || code == 28) from = FindPlane(5);
    else if (code == 29 || code == 31) from = FindPlane(4);
    else return;
    TPlan* list = FindPlane(2);
    if (from && list) list->CopyList(from->GetList());
}

void TRefWindow::WindEraseGrowIcon() { SqrEraseGrowIcon(fWindow); }
void TRefWindow::WindDrawGrowIcon() { SqrDrawGrowIcon(fWindow); }

void TRefWindow::Resize()
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow);
    Rect whole{};
    GetPortBounds(GetWindowPort(fWindow), &whole);
    ClipRect(&whole);
    EraseRect(&whole);
    SetPort(saved);
    TMainWindow::Resize();
}

void TRefWindow::PlaneResize()
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext) {
        p->Resize();
        p->update();
    }
}

void TRefWindow::DisplayObj(TObjQz* obj)
{
    if (TPlan* preview = FindPlane(6)) {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPortWindowPort(fWindow);
        preview->SetObj(obj);
        SetPort(saved);
    }
}

void TRefWindow::LstObj(TObjQz* obj)
{
    if (TPlan* list = FindPlane(2)) list->SelectObj(obj);
}

void TRefWindow::ShowLinks(TObjQz* obj, int16_t paneClass, bool callers)
{
    TPlan* pane = FindPlane(paneClass);
    if (!pane) return;
    pane->SelectPlane();
    Handle filter = PaneHooks().filterRecord ? PaneHooks().filterRecord(pane->GetFilter()) : nullptr;
    Handle links = PaneHooks().objectLinks ? PaneHooks().objectLinks(obj, callers) : nullptr;
    pane->SetList(filter, links);
}

void TRefWindow::CalledObj(TObjQz* obj) { ShowLinks(obj, 5, false); }
void TRefWindow::CallingObj(TObjQz* obj) { ShowLinks(obj, 4, true); }

void TRefWindow::UpdateList()
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->UpdateList();
}

void TRefWindow::UpdateAll()
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->UpdateAll();
}

void TRefWindow::RazAll(Handle list, bool flag)
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->RazAll(list, flag);
}

void TRefWindow::UpdateDisplay()
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->IsMember(6)) p->UpdateAll();
}

void TRefWindow::DelObjMsg(TObjQz* obj)
{
    // Every pane lets go of the object: list rows as well as previews.
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->DelObjMsg(obj);
}

void TRefWindow::UpdateFilters()
{
    if (PaneHooks().updateFilters) PaneHooks().updateFilters(FindPlane(4), FindPlane(2), FindPlane(5));
}

void TRefWindow::EditDoc()
{
    if (!fDoc) return;
    for (TWindow* w = fDoc->fFirstWindow; w; w = w->fNextWindow)
        if (w->IsMember(5) && !static_cast<TEditDocWindow*>(w)->fObj) {
            w->SelectTWindow();
            return;
        }
    Str255 title;
    MyGetIndString(title, 1001, 38);
    const uint8_t room = uint8_t(std::min<int>(255 - title[0], fDoc->fName[0]));
    std::copy(fDoc->fName + 1, fDoc->fName + 1 + room, title + 1 + title[0]);
    title[0] = uint8_t(title[0] + room);
    Rect r{};
    GetWindowBounds(fWindow, kWindowContentRgn, &r);
    if (r.top < 50) OffsetRect(&r, 0, int16_t(50 - r.top));
    if (r.left < 50) OffsetRect(&r, int16_t(50 - r.left), 0);
    r.top = int16_t(r.top + 30);
    r.left = int16_t(r.left + 20);
    r.bottom = int16_t(r.top + 180);
    r.right = int16_t(r.left + 420);
    auto* editor = new (std::nothrow) TEditDocWindow;
    if (const int16_t err = fDoc->NewTWindow(editor, &r, title, true, 8); err != 0) {
        ErrMsg(err);
        return;
    }
    if (!PaneHooks().makeDocPlane) return;
    TPlan* pane = nullptr;
    if (PaneHooks().makeDocPlane(editor, this, &pane) == 0 && pane) {
        editor->AddPlane(pane);
        editor->update(EventRecord{});
    } else {
        fDoc->RemoveWindow(editor);
        editor->Dispose();
    }
}
