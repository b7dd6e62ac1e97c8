// Document windows: their panes, events, the Edit menu and undo, and the
// place of the next new window.
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/dialogs/BusyCursor.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/TAppl.h"
#include "app/appl/UndoRecords.h"
#include "app/appl/Utilities.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/menus/Menus.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace {

// The window's port, clipped to the window, for the life of the object.
class WindowPort {
public:
    explicit WindowPort(WindowRef window)
    {
        GetPort(&saved_);
        if (!window) return;
        SetPortWindowPort(window);
        Rect r{};
        GetPortBounds(GetWindowPort(window), &r);
        ClipRect(&r);
    }
    ~WindowPort() { SetPort(saved_); }

private:
    GrafPtr saved_ = nullptr;
};

Rect PortRect(WindowRef window)
{
    Rect r{};
    if (window) GetPortBounds(GetWindowPort(window), &r);
    return r;
}

bool Shown(int16_t result) { return result != 0 && result != 1001 && result != -1; }

}  // namespace

int16_t TWindow::WindowSet(int16_t, TDocument* doc)
{
    {
        WindowPort port(fWindow);
    }
    SetWRefCon(fWindow, reinterpret_cast<uintptr_t>(this));
    fNextWindow = fPrevWindow = nullptr;
    fFirstPlane = nullptr;
    fDoc = doc;
    fUndo = InitUndoHdl(2, 2);
    PostFunc(32000);
    return 0;
}

int16_t TWindow::ITWindow(const unsigned char* title, const Rect& rect, bool visible, int16_t word, TDocument* doc,
                          int16_t kind)
{
    WindowRef behind = visible ? reinterpret_cast<WindowRef>(-1) : nullptr;
    fWindow = NewCWindow(nullptr, &rect, title, false, kind, behind, true, reinterpret_cast<uintptr_t>(this));
    if (!fWindow) return memFullErr;
    if (visible) ShowWindow(fWindow);
    return WindowSet(word, doc);
}

void TWindow::Dispose()
{
    for (int16_t c : {22, 23, 25, 24, 21, 3, 18}) DisableFunc(c);
    while (TPlan* pane = fFirstPlane) {
        RemovePlane(pane);
        pane->Dispose();
    }
    WKillControls();
    if (MyAppl) {
        // The next new window opens one step back, within the first place.
        Rect& r = MyAppl->fDefaultRect;
        const int16_t dh = int16_t(r.left - 20 < 15 ? 15 - r.left : -20);
        const int16_t dv = int16_t(r.top - 22 < 45 ? 45 - r.top : -22);
        OffsetRect(&r, dh, dv);
    }
    if (fWindow) DisposeWindow(fWindow);
    fWindow = nullptr;
    if (fUndo) DisposeHandle(fUndo);
    fUndo = nullptr;
    PostFunc(GetTWindow(FrontWindow()) ? 32000 : 32001);
    delete this;
}

int16_t TWindow::Close()
{
    // Only the document's one window closes the document.
    if (fDoc && fDoc->CountWindow() <= 1) return fDoc->Failed_Func(4);
    if (fDoc) fDoc->RemoveWindow(this);
    Dispose();
    return 0;
}

void TWindow::AddPlane(TPlan* pane)
{
    if (!pane) return;
    pane->fPrev = nullptr;
    pane->fNext = fFirstPlane;
    if (fFirstPlane) fFirstPlane->fPrev = pane;
    fFirstPlane = pane;
    pane->fWindow = this;
}

void TWindow::RemovePlane(TPlan* pane)
{
    if (!pane) return;
    bool listed = false;
    for (TPlan* p = fFirstPlane; p; p = p->fNext) listed = listed || p == pane;
    if (!listed) return;
    if (pane->fPrev) pane->fPrev->fNext = pane->fNext;
    else fFirstPlane = pane->fNext;
    if (pane->fNext) pane->fNext->fPrev = pane->fPrev;
    pane->fNext = pane->fPrev = nullptr;
}

void TWindow::SetFirstPlane(TPlan* pane)
{
    if (!pane || pane == fFirstPlane) return;
    bool listed = false;
    for (TPlan* p = fFirstPlane; p; p = p->fNext) listed = listed || p == pane;
    if (!listed) return;
    // The chain from the pane to the tail, then the former head up to the
    // pane's predecessor.
    TPlan* tail = pane;
    while (tail->fNext) tail = tail->fNext;
    TPlan* before = pane->fPrev;
    before->fNext = nullptr;
    tail->fNext = fFirstPlane;
    fFirstPlane->fPrev = tail;
    pane->fPrev = nullptr;
    fFirstPlane = pane;
}

TPlan* TWindow::FindPlane(int16_t classNumber) const
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->IsMember(classNumber)) return p;
    return nullptr;
}

bool TWindow::IsSelection() { return fFirstPlane && fFirstPlane->IsSelection(); }

bool TWindow::EmptyClipBoard() { return TEGetScrapLength() == 0; }

void TWindow::EditStep(int16_t code, void (*op)(DialogRef))
{
    // Code 1 leaves nothing to undo: its text keeps Undo disabled.
    SetUndo(fUndo, code == 1 ? kNothingToUndo : code, code);
    if (op)
        if (DialogRef dialog = GetDialogFromWindow(fWindow)) op(dialog);
}

void TWindow::doCut() { EditStep(1, DialogCut); }
void TWindow::DoCopy() { EditStep(1, DialogCopy); }
void TWindow::doPaste() { EditStep(1, DialogPaste); }
void TWindow::doClear() { EditStep(1, DialogDelete); }
void TWindow::UndoCut() { EditStep(7, DialogPaste); }
void TWindow::UndoCopy() { EditStep(9, DialogCopy); }
void TWindow::UndoPaste() { EditStep(11, DialogCut); }
void TWindow::UndoClear() { EditStep(13, nullptr); }
void TWindow::UndoKey() { EditStep(5, nullptr); }
void TWindow::RedoCut() { EditStep(8, DialogCut); }
void TWindow::RedoCopy() { EditStep(10, DialogCopy); }
void TWindow::RedoPaste() { EditStep(12, DialogPaste); }
void TWindow::RedoClear() { EditStep(14, DialogDelete); }
void TWindow::RedoKey() { EditStep(6, nullptr); }

void TWindow::Undo()
{
    switch (UndoCode(fUndo)) {
    case 5: RedoKey(); break;
    case 6:
    case 100: UndoKey(); break;
    case 7: RedoCut(); break;
    case 8: UndoCut(); break;
    case 9: RedoCopy(); break;
    case 10: UndoCopy(); break;
    case 11: RedoPaste(); break;
    case 12: UndoPaste(); break;
    case 13: RedoClear(); break;
    case 14: UndoClear(); break;
    default: break;
    }
    SetEditMenu();
}

void TWindow::SetEditMenu()
{
    const bool selection = IsSelection();
    for (int16_t c : {22, 23, 25}) selection ? EnableFunc(c) : DisableFunc(c);
    EmptyClipBoard() ? DisableFunc(24) : EnableFunc(24);
    SetUndoMenu(fUndo);
}

void TWindow::MakeActive()
{
    if (fDoc) {
        fDoc->SetFirstWindow(this);
        fDoc->MakeActive();
    }
    {
        WindowPort port(fWindow);
        if (fFirstPlane) fFirstPlane->SelectPlane();
        for (TPlan* p = fFirstPlane; p; p = p->fNext) p->MakeActive();
    }
    WHiliteControls(1);
    SetEditMenu();
    SetUndoMenu(fUndo);
    EnableFunc(3);
}

void TWindow::MakeInActive()
{
    if (fDoc) fDoc->MakeInActive();
    {
        WindowPort port(fWindow);
        if (fFirstPlane) fFirstPlane->DeSelectPlane();
        for (TPlan* p = fFirstPlane; p; p = p->fNext) p->MakeInActive();
    }
    WHiliteControls(0);
    for (int16_t c : {22, 23, 25, 24, 21, 3}) DisableFunc(c);
}

void TWindow::Activate(const EventRecord& event)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (event.modifiers & activeFlag) MakeActive();
    else MakeInActive();
    SetPort(saved);
}

bool TWindow::DragCell(Point where)
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->DragCell(where)) return true;
    return false;
}

void TWindow::Click(const EventRecord& event, int16_t word)
{
    if (fWindow != FrontWindow()) SelectTWindow();
    WindowPort port(fWindow);
    Point where = event.where;
    GlobalToLocal(&where);
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->Click(where, word)) break;
}

void TWindow::key(const EventRecord& event)
{
    if (fFirstPlane) fFirstPlane->key(event);
}

void TWindow::update(const EventRecord&)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow);
    WDrawControls();
    WindDrawGrowIcon();
    DrawContent();
    SetPort(saved);
}

void TWindow::DrawContent()
{
    WindowPort port(fWindow);
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->update();
}

void TWindow::WindEraseGrowIcon() {}

void TWindow::WindDrawGrowIcon()
{
    if (fWindow) DrawGrowIcon(fWindow);
}

void TWindow::WHiliteControls(int16_t state)
{
    if (state == 0 || state == 1) WindDrawGrowIcon();
}

Rect TWindow::GrowLimits() const
{
    const Rect screen = MyScreenRect();
    return Rect{GetMinWHeight(), GetMinWWide(), int16_t(screen.bottom - screen.top - 24),
                int16_t(screen.right - screen.left)};
}

void TWindow::AfterResize()
{
    Resize();
    DrawContent();
    const Rect whole = PortRect(fWindow);
    ValidWindowRect(fWindow, &whole);
}

void TWindow::grow(const EventRecord& event)
{
    if (fWindow != FrontWindow()) SelectTWindow();
    const Rect limits = GrowLimits();
    const uint32_t size = GrowWindow(fWindow, event.where, &limits);
    const Rect now = PortRect(fWindow);
    const int16_t width = int16_t(size & 0xFFFF), height = int16_t(size >> 16);
    if (size == 0 || (width == now.right - now.left && height == now.bottom - now.top)) return;
    WindowPort port(fWindow);
    WindEraseGrowIcon();
    SizeWindow(fWindow, width, height, true);
    AfterResize();
}

void TWindow::SelectTWindow()
{
    if (fWindow != FrontWindow()) SelectWindow(fWindow);
    SetPortWindowPort(fWindow);
}

void TWindow::Drag(const EventRecord& event)
{
    if (fWindow != FrontWindow()) SelectTWindow();
    const Rect screen = MyScreenRect();
    const Rect limits{24, int16_t(screen.left + 4), int16_t(screen.bottom - 4), int16_t(screen.right - 4)};
    DragWindow(fWindow, event.where, &limits);
}

bool TWindow::visible() const { return fWindow && IsWindowVisible(fWindow); }

void TWindow::SwapShowHide(bool show)
{
    if (show && !visible()) Show();
    else if (!show && visible()) Hide();
}

void TWindow::Show()
{
    ShowWindow(fWindow);
    SelectWindow(fWindow);
}

void TWindow::Hide() { HideWindow(fWindow); }

void TWindow::Resize()
{
    WindowPort port(fWindow);
    WDrawControls();
    for (TPlan* p = fFirstPlane; p; p = p->fNext) p->Resize();
    WindDrawGrowIcon();
}

void TWindow::Zoom(const EventRecord& event, int16_t part)
{
    if (!TrackBox(fWindow, event.where, WindowPartCode(part))) return;
    WindowPort port(fWindow);
    const Rect whole = PortRect(fWindow);
    EraseRect(&whole);
    ZoomWindow(fWindow, WindowPartCode(part), false);
    AfterResize();
}

void TWindow::Idle(const EventRecord&)
{
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->Idle()) return;
    SetArrowCursor();
}

int16_t TWindow::Do_If_MyFunc(int16_t command)
{
    TPlan* list = nullptr;
    for (TPlan* p = fFirstPlane; p; p = p->fNext)
        if (p->IsMember(2)) list = p;
    switch (command) {
    case 3:
        // What the close answers (a failed save) is shown, not dropped.
        return Close();
    case 7:
    case 10: {
        if (!list) return -1;
        for (int32_t k = 2; k <= NbMenus; ++k)
            if (TheMenus[k]) DisableMenuItem(TheMenus[k]->menu, 0);
        DrawMenuBar();
        const int16_t result = list->Output(command == 10);
        for (int32_t k = 2; k <= NbMenus; ++k)
            if (TheMenus[k]) EnableMenuItem(TheMenus[k]->menu, 0);
        DrawMenuBar();
        return result;
    }
    case 21:
        Undo();
        return 0;
    case 49:
        EditDoc();
        return 0;
    case 53:
        return list ? list->Search() : int16_t(-1);
    default:
        return -1;
    }
}

int16_t TWindow::Do_Func(int16_t command)
{
    int16_t result = Do_If_MyFunc(command);
    if (result == -1 && fFirstPlane) result = fFirstPlane->Do_Func(command);
    if (result == -1) {
        // The edit operations of the window itself (a dialog's text).
        switch (command) {
        case 22: doCut(); result = 0; break;
        case 23: DoCopy(); result = 0; break;
        case 24: doPaste(); result = 0; break;
        case 25: doClear(); result = 0; break;
        default: break;
        }
    }
    if (result == -1 && fDoc) result = fDoc->Failed_Func(command);
    if (Shown(result)) ErrMsg(result);
    return result;
}

void TWindow::GetTitle(unsigned char* title) const
{
    title[0] = 0;
    if (fWindow) GetWTitle(fWindow, title);
}

void TWindow::SetTitle(const unsigned char* title)
{
    Str255 now;
    GetTitle(now);
    if (std::memcmp(now, title, size_t(title[0]) + 1) != 0) SetWTitle(fWindow, title);
}
