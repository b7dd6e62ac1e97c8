// The object list pane: its list, header, clicks, keys and refreshing.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/longlist/LongListHooks.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/windows/TMainWindow.h"
#include "browser/CallPanes.h"
#include "browser/ListAnswers.h"
#include "browser/TransferDrop.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/resfiles/Resources.h"
#include "platform/controls/Controls.h"
#include "platform/menus/Menus.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

void PAppend(unsigned char* text, const unsigned char* more)
{
    const int n = std::min<int>(255 - text[0], more[0]);
    std::memcpy(text + 1 + text[0], more + 1, size_t(n));
    text[0] = uint8_t(text[0] + n);
}

void PAppend(unsigned char* text, const std::string& more)
{
    unsigned char p[256];
    p[0] = uint8_t(std::min<size_t>(255, more.size()));
    std::memcpy(p + 1, more.data(), p[0]);
    PAppend(text, p);
}

}  // namespace

int16_t TRefPlane::ITPlane(const Rect& rect, TWindow* window, TypeListRec* typeList, const uint8_t* record,
                           int32_t length)
{
    if (const int16_t err = TPlan::ITPlane(rect, window, typeList, record, length); err != 0) return err;
    if (fLayout.bottom == 100) fRect.bottom = int16_t(fRect.bottom - 14);
    fNarrowing = false;
    fTypeAhead[0] = 0;
    fFilterTitle[0] = 0;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    InsetRect(&list, 1, 1);
    Point cell;
    cell.v = 16;
    cell.h = int16_t(list.right - list.left);
    fList = LongLNew(&list, 0, kObjectRowLength, cell, IsMember(2) ? 1001 : 1002, window ? window->fWindow : nullptr,
                     true, IsMember(2) ? ListProcIdProc : CallProcIdProc);
    fFilterMenu = fList ? NewHandleClear(2) : nullptr;
    if (!fList || !fFilterMenu) {
        // Nothing is kept: the window that asked goes without this pane.
        if (fList) LongLDispose(fList);
        fList = nullptr;
        if (fSavedClip) DisposeRgn(fSavedClip);
        fSavedClip = nullptr;
        return memFullErr;
    }
    fList->userHandle = reinterpret_cast<Handle>(this);
    fMenuCount = 0;
    return 0;
}

void TRefPlane::Dispose()
{
    if (fList) LongLDispose(fList);
    fList = nullptr;
    if (fFilterMenu) DisposeHandle(fFilterMenu);
    fFilterMenu = nullptr;
    for (int16_t c : {50, 77, 51, 52, 56, 25, 57, 58, 59, 70, 72, 73, 71, 75, 76, 78, 110, 113, 111, 112, 114, 115})
        DisableFunc(c);
    StringFunc(23, 3);
    TPlan::Dispose();
}

void TRefPlane::GetBox(Rect* list, Rect* header, Rect* popUp) const
{
    const Rect w = GetWRect();
    *list = Rect{int16_t(w.top + 21), int16_t(w.left + 1), int16_t(w.bottom - 1), int16_t(w.right - 15)};
    *header = Rect{int16_t(w.top - 1), w.left, int16_t(w.top + 18), int16_t(w.right - 15)};
    *popUp = Rect{int16_t(w.top - 1), int16_t(w.right - 15), int16_t(w.top + 18), w.right};
}

bool TRefPlane::ReadOnly() const
{
    return fWindow && fWindow->fDoc && fWindow->fDoc->fReadOnly;
}

int32_t TRefPlane::CurrentRow() const
{
    int32_t row = 0;
    if (!LongLGetSelect(true, &row, fList)) return -1;
    int32_t next = row + 1;
    return LongLGetSelect(true, &next, fList) ? -1 : row;
}

TObjQz* TRefPlane::CurrentObject() const
{
    const int32_t row = CurrentRow();
    return row < 0 ? nullptr : static_cast<TObjQz*>(LongLRowObject(row, fList));
}

void TRefPlane::FollowSelection()
{
    if (!fWindow || fWindow->fFirstPlane != this) return;
    TObjQz* obj = CurrentObject();
    obj && obj->EnableReplace() ? EnableFunc(51) : DisableFunc(51);
    obj && obj->EnableEdit() ? EnableFunc(52) : DisableFunc(52);
    obj && obj->EnableDocEdit() ? EnableFunc(56) : DisableFunc(56);
    obj && obj->EnableDelete() ? EnableFunc(25) : DisableFunc(25);
    SelectionDoc(fList) ? EnableFunc(57) : DisableFunc(57);
    LongLSel(fList) ? EnableFunc(55) : DisableFunc(55);
}

void TRefPlane::MakeActive()
{
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    if (fWindow && fWindow->fWindow) {
        InvalWindowRect(fWindow->fWindow, &header);
        InvalWindowRect(fWindow->fWindow, &popUp);
    }
    TPlan::MakeActive();
    LongLActivate(true, fList);
}

void TRefPlane::MakeInActive()
{
    TPlan::MakeInActive();
    LongLActivate(false, fList);
}

void TRefPlane::Resize()
{
    TPlan::Resize();
    if (fLayout.bottom == 100) fRect.bottom = int16_t(fRect.bottom - 14);
    InitDraw();
    EraseRect(&fRect);
    RestoreDraw();
    if (!fList) return;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    InsetRect(&list, 1, 1);
    LongLDoDraw(false, fList);
    fList->rView = list;
    LongLSize(int16_t(list.right - list.left), int16_t(list.bottom - list.top), fList);
    Point cell;
    cell.v = 16;
    cell.h = int16_t(list.right - list.left);
    LongLCellSize(cell, fList);
    if (fList->vScroll) {
        MoveControl(fList->vScroll, list.right, int16_t(list.top - 1));
        SizeControl(fList->vScroll, 16, int16_t(list.bottom - list.top + 2));
    }
    LongLDoDraw(true, fList);
}

void TRefPlane::DrawSelect(bool on)
{
    if (fHilited == on) return;
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    Rect both{};
    UnionRect(&header, &popUp, &both);
    both.top = int16_t(both.top + 1);
    InitDraw();
    LMSetHiliteMode(0);
    InvertRect(&both);
    RestoreDraw();
    fHilited = on;
}

void TRefPlane::SelectPlane()
{
    TPlan::SelectPlane();
    EnableFunc(26);
    LongLSel(fList) ? EnableFunc(55) : DisableFunc(55);
}

void TRefPlane::DeSelectPlane()
{
    TPlan::DeSelectPlane();
    DisableFunc(55);
    DisableFunc(26);
}

void TRefPlane::update()
{
    InitDraw();
    PenNormal();
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    EraseRect(&header);
    EraseRect(&popUp);
    Rect frame = list;
    Draw3DFrame(&frame);
    // Header: title, separator, filter title and the row count.
    unsigned char text[256];
    HeaderText(text);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(0);
    Rect inner = header;
    InsetRect(&inner, 2, 0);
    TruncString(int16_t(inner.right - inner.left - 4), text, smTruncEnd);
    FontInfo fi{};
    GetFontInfo(&fi);
    const int16_t width = StringWidth(text);
    const int16_t h = int16_t(inner.left + std::max(0, (inner.right - inner.left - width) / 2));
    const int16_t v = int16_t(header.top + (header.bottom - header.top + fi.ascent + fi.descent) / 2 - fi.descent);
    MoveTo(h, v);
    DrawString(text);
    Rect icon = popUp;
    icon.bottom = int16_t(icon.top + 16);
    icon.right = int16_t(icon.left + 16);
    OffsetRect(&icon, 0, 2);
    DrawSmallIcon(128, fMenuCount < 2 ? 1 : 0, &icon);
    if (fHilited) {
        fHilited = false;
        DrawSelect(true);
    }
    TMainDoc* doc = Doc();
    if (fList && !(doc && doc->fBusy)) LongLUpdate(nullptr, fList);
    RestoreDraw();
    TPlan::update();
}

void TRefPlane::HeaderText(unsigned char* text) const
{
    text[0] = 0;
    PAppend(text, fTitle);
    unsigned char sep[256];
    MyGetIndString(sep, 1024, 1);
    PAppend(text, sep);
    PAppend(text, fFilterTitle);
    PAppend(text, " (" + std::to_string(fList ? fList->rowCount : 0) + ")");
}

bool TRefPlane::Click(Point where, int16_t clicks)
{
    fRowClick = false;
    if (!TPlan::Click(where, clicks)) return false;
    if (fBarHit) return true;
    LongLActivate(true, fList);
    Rect list{}, header{}, popUp{};
    GetBox(&list, &header, &popUp);
    const uint16_t modifiers = CurrentInput().modifiers;
    if (PtInRect(where, &popUp)) {
        fDoubleClick = false;
        MenuRef menu = NewMenu(1000, reinterpret_cast<const unsigned char*>("\0"));
        if (!menu) return true;
        const int16_t* ids = fFilterMenu ? reinterpret_cast<const int16_t*>(*fFilterMenu + 2) : nullptr;
        int16_t marked = 0;
        for (int16_t i = 0; i < fMenuCount; ++i) {
            unsigned char name[256] = {0};
            if (Handle h = ::GetFilter(ids[i])) {
                int16_t id = 0;
                ResType type = 0;
                GetResInfo(h, &id, &type, name);
            }
            AppendMenuItemText(menu, name);
            if (ids[i] == fFilter) marked = int16_t(i + 1);
        }
        if (marked) {
            unsigned char mark[256];
            MyGetIndString(mark, 1024, 2);
            SetItemMark(menu, MenuItemIndex(marked), mark[0] ? CharParameter(mark[1]) : CharParameter(0x12));
        }
        const int16_t chosen = Pop(menu, Point{popUp.top, popUp.left}, marked);
        if (chosen > 0 && chosen <= fMenuCount) ChooseFilter(chosen, modifiers);
        return true;
    }
    if (where.v < list.top) return true;
    fDoubleClick = IsMember(2) ? LongLClick_Drag(where, modifiers, fList) : LongLClick(where, modifiers, fList);
    const int32_t clicked = LongLLastClick(fList);
    ::TPlan* target = G_Plane;
    const int32_t targetRow = G_Cell;
    G_Plane = nullptr;
    G_Cell = -1;
    if (target == kPlaneDone && targetRow != -1) {
        // The row's disclosure triangle.
        SwitchCellState(clicked);
        return true;
    }
    if (target && target != kPlaneDone) {
        // Rows dropped inside the list on a pane of another document that
        // accepts them are copied there; on a group row of the same
        // document they join it.
        TDocument* other = IsLivePane(target) && target->fWindow ? target->fWindow->fDoc : nullptr;
        const bool onRow = clicked >= 0 && clicked < fList->rowCount;
        if (other && other != fWindow->fDoc && !other->fReadOnly && onRow) {
            G_SelfGroup = false;
            PostDrop(this, target, modifiers);
            return true;
        }
        if (other == fWindow->fDoc && !other->fReadOnly && targetRow >= 0 && onRow) {
            GroupQzObj(target, targetRow);
            G_SelfGroup = false;
            return true;
        }
        G_SelfGroup = false;
    }
    // Anything else is a plain click on the rows, a press on a row's icon
    // that took the rows nowhere too.
    fRowClick = true;
    return true;
}

void TRefPlane::ChooseFilter(int16_t item, uint16_t modifiers)
{
    if (!fFilterMenu || item < 1 || item > fMenuCount) return;
    const int16_t id = reinterpret_cast<const int16_t*>(*fFilterMenu + 2)[item - 1];
    const bool option = (modifiers & optionKey) != 0;
    if (id == fFilter && option == fNarrowing) return;
    G_Pop = true;
    fNarrowing = option;
    if (!option) SetDfltFilter(id);
    else MoreFilter(id, (modifiers & shiftKey) != 0);
    G_Pop = false;
    FollowSelection();
}

void TRefPlane::ShowInPreview(TObjQz* obj)
{
    if (!obj) return;
    if (fPreviewNumber != 0) {
        if (TMainDoc* doc = Doc(); doc && fWindow->IsMember(3))
            doc->DisplayObj(static_cast<TRefWindow*>(fWindow), obj, fPreviewNumber);
    } else if (fPreview) {
        fPreview->SetObj(obj);
    }
}

void TRefPlane::MoveCurrent(int32_t row)
{
    // The rows that lose the selection are drawn plain again.
    DoSelect(row, 0, fList, true, row);
    LongLAutoScroll(fList);
    FollowSelection();
}

void TRefPlane::key(const EventRecord& event)
{
    const uint8_t c = uint8_t(event.message & 0xFF);
    const int32_t rows = fList ? fList->rowCount : 0;
    const int32_t current = CurrentRow();
    switch (c) {
    case 13:
    case 3:
        if (rows > 0) ShowInPreview(CurrentObject());
        break;
    case 9:
        if (event.modifiers & shiftKey) {
            ::TPlan* tail = this;
            while (tail->fNext) tail = tail->fNext;
            if (tail != this) tail->SelectPlane();
        } else if (fNext) {
            fNext->SelectPlane();
        }
        break;
    case 30:
        fTypeAhead[0] = 0;
        if (rows > 0) MoveCurrent(current <= 0 ? rows - 1 : current - 1);
        break;
    case 31:
        fTypeAhead[0] = 0;
        if (rows > 0) MoveCurrent(current < 0 || current >= rows - 1 ? 0 : current + 1);
        break;
    default: {
        if (event.when - fLastKey > GetDblTime()) fTypeAhead[0] = 0;
        if (fTypeAhead[0] < 15 && rows > 0) {
            fTypeAhead[++fTypeAhead[0]] = c;
            // From the current row down, then from the first row: a name
            // some row holds is always found.
            const int32_t from = std::max<int32_t>(0, current);
            int32_t row = FindTypedRow(fTypeAhead + 1, fTypeAhead[0], from, fList);
            if (row < 0 && from > 0) row = FindTypedRow(fTypeAhead + 1, fTypeAhead[0], 0, fList);
            if (row >= 0) MoveCurrent(row);
        }
        break;
    }
    }
    if (fList) fList->lastClick = CurrentRow();
    fLastKey = event.when;
}

bool TRefPlane::Idle()
{
    if (!TPlan::Idle()) return false;
    if (!IsMember(2) || !fList || !fWindow || !fWindow->fWindow) return true;
    Point mouse{};
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(fWindow->fWindow);
    GetMouse(&mouse);
    SetPort(saved);
    if (!PtInRect(mouse, &fList->rView)) return true;
    bool drag = false, open = false, close = false;
    CellState(mouse, fList, &drag, &open, &close);
    if (drag && DragableCursor && *DragableCursor) MySetCursor(*DragableCursor);
    else SetArrowCursor();
    return true;
}

void TRefPlane::UpdateList()
{
    if (!fList) return;
    InitDraw();
    LongLUpdate(nullptr, fList);
    RestoreDraw();
}

void TRefPlane::ScrollTo(int32_t first)
{
    const int32_t max = MaxCtlValue(fList);
    first = std::clamp<int32_t>(first, 0, max);
    if (fList->vScroll) {
        SetLongCtlMax(fList->vScroll, max);
        SetLongCtlValue(fList->vScroll, first);
    } else {
        fList->longMax = max;
        fList->longValue = first;
    }
    fList->firstVisible = first;
    fList->lastVisible = first + (fList->cellSize.v > 0 ? (fList->rView.bottom - fList->rView.top) / fList->cellSize.v : 0);
}

void TRefPlane::UpdateAll()
{
    if (!fList) return;
    Handle record = CurrentRecord();
    if (!record) {
        UpdateList();
        return;
    }
    TObjQz* top = static_cast<TObjQz*>(LongLRowObject(fList->firstVisible, fList));
    const bool drawing = (fList->drawFlags & kLongLDrawOn) != 0;
    LongLDoDraw(false, fList);
    SetList(record, fSource);
    const int32_t row = top ? GetCellData(top, fList) : -1;
    LongLDoDraw(drawing, fList);
    ScrollTo(row < 0 ? 0 : row);
    UpdateList();
}

void TRefPlane::RazAll(Handle, bool redraw)
{
    if (redraw) SetList(CurrentRecord(), nullptr);
    fSource = nullptr;
}

void TRefPlane::SelectAll()
{
    if (!fList) return;
    for (int32_t r = fList->firstVisible; r <= fList->lastVisible && r < fList->rowCount; ++r)
        LongLSetSelect(true, r, fList);
    for (int32_t r = 0; r < fList->rowCount; ++r) LongLSetSelect(true, r, fList);
}

void TRefPlane::DelObjMsg(TObjQz* obj)
{
    if (!fList || !obj) return;
    // Every row of the object goes, with the rows below it that hang from it.
    for (int32_t row = GetCellData(obj, fList); row >= 0; row = GetCellData(obj, fList)) {
        const uint8_t level = obj->level;
        int32_t end = row + 1;
        const bool group = IsGroupKind(obj);
        while (end < fList->rowCount) {
            auto* below = static_cast<TObjQz*>(LongLRowObject(end, fList));
            const bool hangs = below && ((group && below->level > level) || below->GetOwnerObj() == obj);
            if (!hangs) break;
            ++end;
        }
        LongLDelRow(end - row, row, fList);
    }
}

}  // namespace browser
