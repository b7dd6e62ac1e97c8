#include "browser/dialogs/DialogDrawing.h"

#include <algorithm>
#include <cstring>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "browser/Panes.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kScrollBarWidth = 15;
constexpr int32_t kLargestCell = 1024;

}  // namespace

Rect ItemBox(DialogRef dialog, int16_t item)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect r{0, 0, 0, 0};
    if (dialog && item >= 1 && item <= CountDITL(dialog)) GetDialogItem(dialog, item, &type, &h, &r);
    return r;
}

void EnableItem(DialogRef dialog, int16_t item, bool enabled) { SetHiLight(dialog, item, enabled ? 0 : 255); }

bool ItemEnabled(DialogRef dialog, int16_t item) { return GetHiLight(dialog, item) != 255; }

void OutlineDefault(DialogRef dialog, int16_t item) { SetDialogDefaultItem(dialog, item); }

void SetItemDrawing(DialogRef dialog, int16_t item, UserItemProcPtr draw)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(dialog, item, &type, &h, &box);
    SetDialogItem(dialog, item, type, UserItemHandle(draw), &box);
}

void ShowModal(DialogRef dialog, int16_t defaultItem, void (*draw)(DialogRef dialog))
{
    OutlineDefault(dialog, defaultItem);
    ShowWindow(GetDialogWindow(dialog));
    SetDlogEditMenu();
    draw(dialog);
}

bool ContentClick(DialogRef dialog, const EventRecord& event, Point* local)
{
    WindowRef hit = nullptr;
    if (event.what != mouseDown || FindWindow(event.where, &hit) != inContent || hit != GetDialogWindow(dialog))
        return false;
    DialogPortScope port(dialog);
    *local = event.where;
    GlobalToLocal(local);
    return true;
}

void FramedCaption(DialogRef dialog, int16_t item, int16_t list, int16_t index)
{
    const Rect box = ItemBox(dialog, item);
    Draw3DFrame(&box);
    Str255 text;
    MyGetIndString(text, list, index);
    if (!text[0]) return;
    SavedPortText keep;
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    Rect inside = box;
    InsetRect(&inside, 2, 1);
    TETextBox(text + 1, text[0], &inside, teCenter);
}

DialogPortScope::DialogPortScope(DialogRef dialog)
{
    GetPort(&fSaved);
    SetPortWindowPort(GetDialogWindow(dialog));
}

DialogPortScope::~DialogPortScope() { SetPort(fSaved); }

SavedPortText::SavedPortText()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!port) return;
    fFont = GetPortTextFont(port);
    fSize = GetPortTextSize(port);
    fFace = GetPortTextFace(port);
    fMode = port->txMode;
    fExtra = port->spExtra;
    fValid = true;
}

SavedPortText::~SavedPortText()
{
    if (!fValid) return;
    TextFont(fFont);
    TextSize(fSize);
    TextFace(fFace);
    TextMode(fMode);
    SpaceExtra(fExtra);
}

void RestoreDialogFont()
{
    TextFont(0);
    TextSize(12);
    TextFace(0);
}

bool PressOnReturn(DialogRef dialog, const EventRecord& event, int16_t button, DialogItemIndex* item)
{
    if (event.what != keyDown && event.what != autoKey) return false;
    const uint8_t ch = uint8_t(event.message & charCodeMask);
    if (ch != 3 && ch != 13) return false;
    if (ItemEnabled(dialog, button)) {
        *item = button;
        SetHiLight(dialog, button, 1);
        uint32_t end = 0;
        Delay(8, &end);
        SetHiLight(dialog, button, 0);
    }
    return true;
}

bool SameName(const unsigned char* a, const unsigned char* b) { return std::memcmp(a, b, size_t(a[0]) + 1) == 0; }

// The kernel's strict comparison tells letters' case apart: names are the
// same as the document's look-ups take them, which do not.
bool SameNameNoCase(const unsigned char* a, const unsigned char* b) { return SameName(a, b) || rel2str(a, b) == kEqual; }

void subpt(Point from, Point* point)
{
    point->v = int16_t(point->v - from.v);
    point->h = int16_t(point->h - from.h);
}

Rect ItemListCells(DialogRef dialog, int16_t item)
{
    Rect view = ItemBox(dialog, item);
    InsetRect(&view, 1, 1);
    view.right = int16_t(view.right - kScrollBarWidth);
    return view;
}

ListHandle NewItemList(DialogRef dialog, int16_t item, int16_t listDef, ListClickLoopUPP clickLoop)
{
    const Rect view = ItemListCells(dialog, item);
    DialogPortScope port(dialog);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    FontInfo info{};
    GetFontInfo(&info);
    RestoreDialogFont();
    const int16_t height = int16_t(std::max(1, info.ascent + info.descent + info.leading));
    const ListBounds bounds{0, 0, 0, 1};
    ListHandle list = LNew(&view, &bounds, Point{height, int16_t(view.right - view.left)}, listDef,
                           GetDialogWindow(dialog), true, false, false, true);
    if (list) {
        SetListSelectionFlags(list, lOnlyOne);
        if (clickLoop) SetListClickLoop(list, clickLoop);
        if (ControlRef bar = GetListHorizontalScrollBar(list)) SetControlMaximum(bar, 0);
    }
    return list;
}

void DrawItemList(DialogRef dialog, int16_t item, ListHandle list)
{
    const Rect box = ItemBox(dialog, item);
    Draw3DFrame(&box);
    if (!list) return;
    RgnHandle visible = NewRgn();
    GetPortVisibleRegion(GetDialogPort(dialog), visible);
    LUpdate(visible, list);
    DisposeRgn(visible);
}

void ValidateDialog(DialogRef dialog)
{
    DialogPortScope port(dialog);
    Rect all{};
    GetPortBounds(GetDialogPort(dialog), &all);
    ValidWindowRect(GetDialogWindow(dialog), &all);
    DrawDialog(dialog);
    RestoreDialogFont();
}

void SelectAllWhileActive(DialogRef dialog, const EventRecord& event)
{
    if (event.what != activateEvt || reinterpret_cast<WindowRef>(event.message) != GetDialogWindow(dialog)) return;
    (event.modifiers & activeFlag) ? EnableFunc(26) : DisableFunc(26);
    DrawMenuBar();
}

bool DrawOnUpdate(DialogRef dialog, const EventRecord& event, DialogItemIndex* item, void (*draw)(DialogRef dialog))
{
    WindowRef window = GetDialogWindow(dialog);
    if (event.what != updateEvt || reinterpret_cast<WindowRef>(event.message) != window) return false;
    BeginUpdate(window);
    draw(dialog);
    EndUpdate(window);
    *item = 0;
    return true;
}

namespace {

// The first row shown and the rows' height.
void RowMetrics(ListHandle list, Rect* view, int16_t* top, int16_t* height, int16_t* rows)
{
    GetListViewBounds(list, view);
    ListBounds visible{}, bounds{};
    GetListVisibleCells(list, &visible);
    GetListDataBounds(list, &bounds);
    Rect first{};
    LGetCellRect(Cell{visible.top, 0}, &first, list);
    *top = visible.top;
    *height = std::max<int16_t>(1, int16_t(first.bottom - first.top));
    *rows = bounds.bottom;
}

}  // namespace

int16_t ListRows(ListHandle list)
{
    ListBounds bounds{};
    GetListDataBounds(list, &bounds);
    return bounds.bottom;
}

int16_t RowAt(ListHandle list, Point local)
{
    Rect view{};
    int16_t top = 0, height = 1, rows = 0;
    RowMetrics(list, &view, &top, &height, &rows);
    if (rows <= 0) return -1;
    Point relative{std::clamp<int16_t>(local.v, view.top, int16_t(view.bottom - 1)), local.h};
    subpt(Point{view.top, view.left}, &relative);
    return int16_t(std::clamp<int32_t>(relative.v / height + top, 0, rows - 1));
}

int16_t RowOn(ListHandle list, Point local)
{
    Rect view{};
    int16_t top = 0, height = 1, rows = 0;
    RowMetrics(list, &view, &top, &height, &rows);
    if (!PtInRect(local, &view)) return -1;
    const int32_t row = (local.v - view.top) / height + top;
    return row < rows ? int16_t(row) : int16_t(-1);
}

uint8_t CellByte(ListHandle list, int16_t row, int32_t offset)
{
    uint8_t cell[kLargestCell];
    int16_t length = sizeof cell;
    LGetCell(cell, &length, Cell{row, 0}, list);
    return offset >= 0 && offset < length ? cell[offset] : 0;
}

void SetCellByte(ListHandle list, int16_t row, int32_t offset, uint8_t value)
{
    uint8_t cell[kLargestCell];
    int16_t length = sizeof cell;
    LGetCell(cell, &length, Cell{row, 0}, list);
    if (offset < 0 || offset >= length || cell[offset] == value) return;
    cell[offset] = value;
    LSetCell(cell, length, Cell{row, 0}, list);
}

void RowDrag::Begin(ListHandle list, StateAt stateAt, Point clicked)
{
    fList = list;
    fStateAt = stateAt;
    fStarted = false;
    fValue = 0;
    if (list && RowOn(list, clicked) >= 0) At(clicked);
}

void RowDrag::At(Point local)
{
    if (!fList || !fStateAt) return;
    const int16_t row = RowAt(fList, local);
    if (row < 0) return;
    Rect view{};
    GetListViewBounds(fList, &view);
    Point relative = local;
    subpt(Point{view.top, view.left}, &relative);
    const int32_t offset = fStateAt(relative);
    if (offset < 0) return;
    if (!fStarted) {
        fValue = CellByte(fList, row, offset) ? 0 : 1;
        fStarted = true;
    }
    SetCellByte(fList, row, offset, fValue);
}

void RowDrag::Step()
{
    if (!fList) return;
    Point mouse{};
    GetMouse(&mouse);
    At(mouse);
}

}  // namespace browser
