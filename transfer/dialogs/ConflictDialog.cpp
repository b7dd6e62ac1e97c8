#include "transfer/dialogs/ConflictDialog.h"

#include <string>

#include "app/appl/AppObjects.h"
#include "app/appl/Menus.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/longlist/LongListHooks.h"
#include "design/objects/ObjText.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/Modals.h"
#include "platform/menus/Menus.h"
#include "platform/screen/Screen.h"
#include "platform/text/Utf8.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictExport.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictRows.h"
#include "transfer/dialogs/ConflictTexts.h"
#include "transfer/dialogs/EditDialogs.h"

using namespace platform;

namespace transfer {

namespace {

constexpr int16_t kFilterMenu = 1000;
constexpr int16_t kArrowWidth = 16;
// The loop wakes every tick, as the platform's modal loop does: an answer
// a script gives comes with no event, and must be seen before the script
// goes on to what follows it.
constexpr uint32_t kSleep = 1;

// What the open dialog works on: the records, and for a transfer the
// objects and documents the records' Edit needs (none for preferences).
struct Session {
    DialogRef dialog = nullptr;
    C_ListHdl list = nullptr;
    ObjListHdl* transfer = nullptr;
    TMainDoc* source = nullptr;
    TMainDoc* dest = nullptr;
    bool preferences = false;
    // The window's size the items are laid out for.
    int16_t width = 0, height = 0;
};
Session gSession;

Rect ItemRect(DialogRef dialog, int16_t item)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDialogItem(dialog, item, &type, &h, &r);
    return r;
}

void MoveItem(DialogRef dialog, int16_t item, const Rect& r)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect old{};
    GetDialogItem(dialog, item, &type, &h, &old);
    SetDialogItem(dialog, item, type, h, &r);
}

Rect ListView(DialogRef dialog)
{
    Rect view = ItemRect(dialog, kC_List);
    InsetRect(&view, 1, 1);
    view.right = int16_t(view.right - 15);
    return view;
}

Rect FilterArrow(DialogRef dialog)
{
    Rect r = ItemRect(dialog, kC_FilterPopUp);
    r.left = int16_t(r.right - kArrowWidth);
    return r;
}

Rect PortRect(DialogRef dialog)
{
    Rect r{};
    GetPortBounds(GetDialogPort(dialog), &r);
    return r;
}

void FilterName(int16_t filter, unsigned char* out)
{
    if (filter >= kAllFilter && filter <= kIndirectFilter) ListString(1020, filter, out);
    else if (const int16_t type = FilterType(filter); type >= 0) KindName(type, out);
    else out[0] = 0;
}

// Menu 1000 with the three filters, a line, and one item per object type.
int16_t PickFilter(DialogRef dialog, int16_t current)
{
    MenuRef menu = GetMenu(kFilterMenu);
    if (!menu) {
        const unsigned char none[1] = {0};
        menu = NewMenu(kFilterMenu, none);
    }
    if (!menu) return 0;
    unsigned char text[256];
    for (int16_t f = kAllFilter; f <= kIndirectFilter; ++f) {
        ListString(1020, f, text);
        AppendMenuItemText(menu, text);
    }
    AppendMenu(menu, reinterpret_cast<const unsigned char*>("\x02(-"));
    const int16_t types = CountFilterTypes();
    for (int16_t f = kFirstTypeFilter; f < kFirstTypeFilter + types; ++f) {
        FilterName(f, text);
        if (text[0] == 0) PSet(text, " ");
        AppendMenuItemText(menu, text);
    }
    unsigned char mark[256];
    ListString(1024, 2, mark);
    if (mark[0] > 0 && current >= 1 && current <= CountMenuItems(menu))
        SetItemMark(menu, MenuItemIndex(current), mark[1]);
    const Rect item = ItemRect(dialog, kC_FilterPopUp);
    const int16_t chosen = Pop(menu, Point{item.top, item.left}, current);
    return chosen == 4 ? int16_t(0) : chosen;  // the line is no filter
}

// A scripted answer, or Cancel when the loop must end (a run that is
// over, a quit request).
bool ScriptedItem(int16_t* item)
{
    if (TakeDialogAnswer(item)) return true;
    if (!ModalMustCancel()) return false;
    *item = kC_Cancel;
    return true;
}

void Redraw(DialogRef dialog)
{
    C_DrawListBox(dialog, G_LongListHdl ? G_LongListHdl->rowCount : 0);
}

void Refill(DialogRef dialog, const TConflict* select)
{
    SetC_List(G_LongListHdl, gSession.list, select, DialogFilter(dialog));
    Redraw(dialog);
}

void Resize(DialogRef dialog, int16_t width, int16_t height)
{
    WindowRef w = GetDialogWindow(dialog);
    SizeWindow(w, width, height, true);
    Rect content{};
    GetWindowBounds(w, kWindowContentRgn, &content);
    C_SizeListBox(dialog, content);
    Redraw(dialog);
}

// The window's own parts; answers the item a part ends the dialog with.
int16_t WindowPart(DialogRef dialog, WindowPartCode part, const EventRecord& e)
{
    WindowRef w = GetDialogWindow(dialog);
    const Rect screen = ScreenBounds();
    const Rect port = PortRect(dialog);
    const int16_t width = int16_t(port.right - port.left);
    switch (part) {
    case inDrag: {
        Rect limits = screen;
        InsetRect(&limits, 4, 4);
        limits.top = int16_t(screen.top + 24);
        DragWindow(w, e.where, &limits);
        return 0;
    }
    case inGrow: {
        const Rect limits{kC_MinHeight, width, int16_t(screen.bottom - screen.top - 24), width};
        if (const uint32_t size = GrowWindow(w, e.where, &limits))
            Resize(dialog, int16_t(size & 0xFFFF), int16_t(size >> 16));
        return 0;
    }
    case inZoomIn:
    case inZoomOut:
        if (TrackBox(w, e.where, part)) {
            const Rect usable = GetWScreenRect(w);
            Rect content{};
            GetWindowBounds(w, kWindowContentRgn, &content);
            MoveWindow(w, content.left, usable.top, false);
            Resize(dialog, width, int16_t(usable.bottom - usable.top));
        }
        return 0;
    case inGoAway: return TrackGoAway(w, e.where) ? kC_OK : 0;
    default: return 0;
    }
}

// The modal loop: the item that ended it (OK or Cancel).
int16_t RunLoop(DialogRef dialog)
{
    WindowRef window = GetDialogWindow(dialog);
    Str255 title{};
    GetWTitle(window, title);
    ModalScope modal("conflict dialog '" + MacRomanToUtf8String(title + 1, title[0]) + "'");
    for (;;) {
        int16_t item = 0;
        EventRecord e{};
        if (!ScriptedItem(&item)) {
            // High-level events (quit, open documents) wait for the main loop.
            if (!WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &e, kSleep, nullptr)) e.what = nullEvent;
            WindowRef hit = nullptr;
            const WindowPartCode part = e.what == mouseDown ? FindWindow(e.where, &hit) : WindowPartCode(inDesk);
            if (e.what == mouseDown && part == inMenuBar) {
                SelectFromMenuBar(e.where);
                HiliteMenu(0);
                continue;
            }
            if (e.what == mouseDown && hit == window && part != inContent) {
                item = WindowPart(dialog, part, e);
            } else if (e.what == mouseDown && hit != window) {
                // The application's other windows may be resized; nothing
                // else happens behind a modal dialog.
                if (TWindow* other = GetTWindow(hit); other && part == inGrow) other->grow(e);
                else SysBeep(1);
                continue;
            } else if (e.what == updateEvt && reinterpret_cast<WindowRef>(e.message) != window) {
                if (!ServeUpdate(e, window)) {
                    BeginUpdate(reinterpret_cast<WindowRef>(e.message));
                    EndUpdate(reinterpret_cast<WindowRef>(e.message));
                }
                continue;
            } else if (e.what == osEvt) {
                HiliteWindow(window, (e.message & resumeFlag) != 0);
                continue;
            } else if (IsCancelKey(e)) {
                item = kC_Cancel;
            } else if (C_Filter(dialog, &e, &item)) {
                // taken: item says what it was
            } else if (e.what == updateEvt) {
                BeginUpdate(window);
                Redraw(dialog);
                EndUpdate(window);
                continue;
            } else {
                DialogRef which = nullptr;
                DialogItemIndex hitItem = 0;
                if (DialogSelect(&e, &which, &hitItem) && which == dialog) item = hitItem;
            }
        }
        SetPortWindowPort(window);
        switch (item) {
        case kC_OK:
        case kC_Cancel: return item;
        case kC_Export: {
            unsigned char name[256], title[256];
            ListString(1001, 44, name);
            GetWTitle(FrontWindow(), title);
            ExportC_List(name, title, gSession.list);
            SetPortWindowPort(window);
            Redraw(dialog);
            break;
        }
        case kC_List: {
            if (gSession.preferences) break;  // the pick is stored already
            auto* record = static_cast<TConflict*>(LongLRowObject(LongLLastClick(G_LongListHdl), G_LongListHdl));
            if (record) {
                record->fClicked = true;
                const bool changed = record->Edit(gSession.transfer, gSession.list, gSession.source, gSession.dest);
                SetPortWindowPort(window);
                if (changed) SetC_List(G_LongListHdl, gSession.list, record, DialogFilter(dialog));
            }
            Redraw(dialog);
            break;
        }
        case kC_FilterPopUp: Refill(dialog, nullptr); break;
        default: break;
        }
    }
}

// What an open dialog hides while it runs, given back when it closes.
struct Outer {
    Session session;
    LongListHandle rows = nullptr;
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
};
Outer gOuter;

bool Run(const unsigned char* title, const Session& session)
{
    if (!IsConflict(session.list)) return !session.preferences;
    DialogRef dialog = OpenConflictDialog(title, session.list, session.transfer, session.source, session.dest,
                                          session.preferences);
    const int16_t item = dialog ? RunConflictDialog(dialog) : int16_t(kC_Cancel);
    CloseConflictDialog(dialog);
    return item == kC_OK;
}

}  // namespace

DialogRef OpenConflictDialog(const unsigned char* title, C_ListHdl list, ObjListHdl* transfer, TMainDoc* source,
                             TMainDoc* dest, bool preferences)
{
    SetArrowCursor();
    Outer outer{gSession, G_LongListHdl};
    DLogSaveScreen(FourCC("DLOG"), kConflictDialog, &outer.dlog, &outer.bits, &outer.saveRect);
    DialogRef dialog = MyGetNewDialog(kConflictDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    LongListHandle rows = nullptr;
    if (dialog) {
        WindowRef window = GetDialogWindow(dialog);
        SetWTitle(window, title);
        SetDialogDefaultItem(dialog, kC_OK);
        const Rect port = PortRect(dialog);
        SetPortWindowPort(window);
        const Rect view = ListView(dialog);
        rows = LongLNew(&view, 0, kObjectRowLength, Point{ConflictCellHeight(), int16_t(view.right - view.left)},
                        kConflictListDef, window, true, C_ListLDEFProc);
        if (!rows) {
            MyDisposDialog(dialog);
            dialog = nullptr;
        } else {
            gSession = Session{dialog, list, transfer, source, dest, preferences, int16_t(port.right - port.left),
                               int16_t(port.bottom - port.top)};
            rows->selFlags |= kLongLSingleSelection;
            G_LongListHdl = rows;
            SetWRefCon(window, uintptr_t(kAllFilter));
            SetC_List(rows, list, nullptr, kAllFilter);
            ShowWindow(window);
            SelectWindow(window);
            SetDlogEditMenu();
            Redraw(dialog);
            ValidWindowRect(window, &port);
        }
    }
    if (!dialog) DLogRestoreScreen(outer.dlog, outer.bits, &outer.saveRect, false);
    else gOuter = outer;
    return dialog;
}

int16_t RunConflictDialog(DialogRef dialog) { return RunLoop(dialog); }

void CloseConflictDialog(DialogRef dialog)
{
    if (!dialog) return;
    LongLDispose(G_LongListHdl);
    MyDisposDialog(dialog);
    const Outer outer = gOuter;
    G_LongListHdl = outer.rows;
    gSession = outer.session;
    DLogRestoreScreen(outer.dlog, outer.bits, &outer.saveRect, false);
}

int16_t DialogFilter(DialogRef dialog) { return int16_t(GetWRefCon(GetDialogWindow(dialog))); }

void FilterText(int16_t filter, int32_t count, unsigned char* out)
{
    ListString(1001, 32, out);
    unsigned char name[256];
    FilterName(filter, name);
    PAppend(out, name);
    PAppend(out, " (" + std::to_string(count) + ")");
}

void ConflictTitle(TMainDoc* source, TMainDoc* dest, unsigned char* out)
{
    unsigned char name[256];
    ListString(1001, 30, out);
    if (source) source->GetDocName(name);
    else name[0] = 0;
    PAppend(out, name);
    ListString(1001, 31, name);
    PAppend(out, name);
    if (dest) dest->GetDocName(name);
    else name[0] = 0;
    PAppend(out, name);
}

bool SolveConflicts(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    FreeNewNames(list, dest);
    unsigned char title[256];
    ConflictTitle(source, dest, title);
    Session session;
    session.list = list;
    session.transfer = transfer;
    session.source = source;
    session.dest = dest;
    return Run(title, session);
}

bool SolveC_Pref(C_ListHdl list)
{
    unsigned char title[256];
    ListString(1001, 42, title);
    Session session;
    session.list = list;
    session.preferences = true;
    return Run(title, session);
}

Boolean C_Filter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DefaultFilter(dialog, event, item)) return true;
    if (event->what != mouseDown) return false;
    WindowRef window = nullptr;
    if (FindWindow(event->where, &window) != inContent || window != GetDialogWindow(dialog)) return false;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    Point local = event->where;
    GlobalToLocal(&local);
    bool taken = false;
    const Rect arrow = FilterArrow(dialog), list = ItemRect(dialog, kC_List);
    if (PtInRect(local, &arrow)) {
        const int16_t filter = PickFilter(dialog, DialogFilter(dialog));
        if (filter > 0) SetWRefCon(window, uintptr_t(filter));
        *item = filter > 0 ? kC_FilterPopUp : 0;
        taken = true;
    } else if (PtInRect(local, &list) && G_LongListHdl) {
        *item = LongLC_Click(local, event->modifiers, G_LongListHdl) ? kC_List : 0;
        taken = true;
    }
    SetPort(saved);
    return taken;
}

void C_DrawListBox(DialogRef dialog, int32_t count)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(dialog));
    DrawDialog(dialog);
    const Rect list = ItemRect(dialog, kC_List), filter = ItemRect(dialog, kC_FilterPopUp);
    Draw3DFrame(&list);
    Draw3DFrame(&filter);
    unsigned char text[256];
    FilterText(DialogFilter(dialog), count, text);
    Rect box = filter;
    InsetRect(&box, 1, 3);
    box.right = int16_t(box.right - kArrowWidth);
    UseListFont();
    TETextBox(text + 1, text[0], &box, teFlushLeft);
    const Rect arrowArea = FilterArrow(dialog);
    const Rect arrow{int16_t(arrowArea.top + (arrowArea.bottom - arrowArea.top - 16) / 2), arrowArea.left,
                     int16_t(arrowArea.top + (arrowArea.bottom - arrowArea.top - 16) / 2 + 16), arrowArea.right};
    DrawSmallIcon(128, 0, &arrow);
    TextFont(0);
    TextSize(12);
    TextFace(0);
    LongLUpdate(nullptr, G_LongListHdl);
    SqrDrawGrowIcon(GetDialogWindow(dialog));
    SetPort(saved);
}

void C_SizeListBox(DialogRef dialog, const Rect& newWindowRect)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(dialog));
    const Rect port = PortRect(dialog);
    EraseRect(&port);
    const int16_t width = int16_t(newWindowRect.right - newWindowRect.left);
    const int16_t height = int16_t(newWindowRect.bottom - newWindowRect.top);
    const int16_t dw = int16_t(width - gSession.width), dh = int16_t(height - gSession.height);
    for (int16_t item : {kC_OK, kC_Cancel, kC_Export}) {
        Rect r = ItemRect(dialog, item);
        OffsetRect(&r, dw, dh);
        MoveItem(dialog, item, r);
    }
    Rect filter = ItemRect(dialog, kC_FilterPopUp);
    filter.right = int16_t(filter.right + dw);
    MoveItem(dialog, kC_FilterPopUp, filter);
    Rect list = ItemRect(dialog, kC_List);
    list.right = int16_t(list.right + dw);
    list.bottom = int16_t(list.bottom + dh);
    MoveItem(dialog, kC_List, list);
    gSession.width = width;
    gSession.height = height;
    if (LongListHandle rows = G_LongListHdl) {
        const Rect view = ListView(dialog);
        const int16_t viewWidth = int16_t(view.right - view.left);
        LongLDoDraw(false, rows);
        LongLSize(viewWidth, int16_t(view.bottom - view.top), rows);
        rows->cellSize.h = viewWidth;
        LongLDoDraw(true, rows);
    }
    SetPort(saved);
}

}  // namespace transfer
