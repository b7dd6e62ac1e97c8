#include "browser/dialogs/StrListDialog.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/Preferences.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjText.h"
#include "design/plugins/BundleLinks.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/NumberStrings.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace browser {

ListHandle G_StrListHdl = nullptr;

namespace {

constexpr ResType kList = FourCC("STR#");
constexpr int16_t kErrors = 1002;
constexpr int16_t kOutOfRange = 21;
constexpr int16_t kIdTaken = 22;
constexpr int16_t kIdBundled = 80;
constexpr int16_t kResListDef = 1003;
constexpr int16_t kStringListKind = 11;
constexpr int16_t kLongestListName = 32;
constexpr uint8_t kBackspace = 8;

struct Row {
    unsigned char name[256] = {0};
    int16_t id = 0;
    int16_t count = 0;
};

int16_t RowCount()
{
    ListBounds bounds{};
    if (G_StrListHdl) GetListDataBounds(G_StrListHdl, &bounds);
    return bounds.bottom;
}

Row RowAt(int16_t row)
{
    uint8_t cell[kStrRowLength] = {0};
    int16_t length = kStrRowLength;
    LGetCell(cell, &length, Cell{row, 0}, G_StrListHdl);
    Row r;
    std::memcpy(r.name, cell, size_t(std::min<int>(cell[0], 255)) + 1);
    r.id = int16_t(ReadBE16(cell + kStrRowId));
    r.count = int16_t(ReadBE16(cell + kStrRowCount));
    return r;
}

void AddRow(const Row& r)
{
    uint8_t cell[kStrRowLength] = {0};
    std::memcpy(cell, r.name, size_t(r.name[0]) + 1);
    WriteBE16(cell + kStrRowId, uint16_t(r.id));
    WriteBE16(cell + kStrRowCount, uint16_t(r.count));
    const int16_t row = LAddRow(1, RowCount(), G_StrListHdl);
    LSetCell(cell, kStrRowLength, Cell{row, 0}, G_StrListHdl);
}

// The selected row, -1 when none.
int16_t SelectedRow()
{
    Cell cell{0, 0};
    return G_StrListHdl && LGetSelect(true, &cell, G_StrListHdl) ? cell.v : int16_t(-1);
}

void SelectRow(int16_t row)
{
    for (int16_t r = 0; r < RowCount(); ++r) LSetSelect(r == row, Cell{r, 0}, G_StrListHdl);
    if (row >= 0) LAutoScroll(G_StrListHdl);
}

bool Bundled(const std::vector<int16_t>& bundled, int32_t id)
{
    return std::find(bundled.begin(), bundled.end(), id) != bundled.end();
}

// One row per list of the current file, in index order, but the lists
// that belong to a plug-in.
void FillRows()
{
    const std::vector<int16_t> bundled = BundledStringLists();
    const int16_t count = Count1Resources(kList);
    for (int32_t i = 1; i <= count; ++i) {
        Handle h = Get1IndResource(kList, i);
        if (!h) continue;
        Row r;
        ResType type = 0;
        GetResInfo(h, &r.id, &type, r.name);
        if (Bundled(bundled, r.id)) continue;
        r.count = *h && GetHandleSize(h) >= 2 ? int16_t(ReadBE16(reinterpret_cast<uint8_t*>(*h))) : 0;
        AddRow(r);
    }
}

// The id typed: a number, or 0 for text that is none.
int32_t TypedId(DialogRef dialog)
{
    Str255 text;
    GetText(text, dialog, kStrListId);
    if (text[0] == 0 || text[0] > 9) return 0;
    for (int32_t i = 1; i <= text[0]; ++i)
        if (text[i] < '0' || text[i] > '9') return 0;
    int32_t n = 0;
    StringToNum(text, &n);
    return n;
}

bool InRange(int32_t id) { return id >= kFirstListId && id <= kLastListId; }

int16_t RowWithId(int32_t id)
{
    for (int16_t row = 0; row < RowCount(); ++row)
        if (RowAt(row).id == id) return row;
    return -1;
}

void Add(DialogRef dialog)
{
    const int32_t id = TypedId(dialog);
    Str255 text;
    // A plug-in's list is no list to fill: its id is refused.
    const bool bundled = InRange(id) && IsBundledStringList(int16_t(id));
    if (!InRange(id) || bundled) {
        MyGetIndString(text, kErrors, bundled ? kIdBundled : kOutOfRange);
        XAlert(1000, text, kStopAlert);
        SetText(dialog, kStrListId, reinterpret_cast<const unsigned char*>("\0"));
        EnableItem(dialog, kStrListAdd, false);
        return;
    }
    if (const int16_t row = RowWithId(id); row >= 0) {
        MyGetIndString(text, kErrors, kIdTaken);
        PAppend(text, std::to_string(id));
        XAlert(1000, text, kStopAlert);
        SelectRow(row);
        EnableItem(dialog, kStrListOK, true);
        return;
    }
    Row r;
    GetText(r.name, dialog, kStrListName);
    r.id = int16_t(id);
    AddRow(r);
    SelectRow(int16_t(RowCount() - 1));
    EnableItem(dialog, kStrListOK, true);
}

// An empty list of the row's id and name in the current file, written.
OSErr CreateList(const Row& r)
{
    Handle empty = NewHandleClear(2);
    if (!empty) return memFullErr;
    AddResource(empty, kList, r.id, r.name);
    OSErr err = ResError();
    if (err != noErr) {
        DisposeHandle(empty);
        return err;
    }
    ChangedResource(empty);
    WriteResource(empty);
    if ((err = ResError()) == noErr) {
        UpdateResFile(CurResFile());
        err = ResError();
    }
    if (err != noErr) {
        // The list is not on disk: it goes from the file, as from the rows.
        RemoveResource(empty);
        DisposeHandle(empty);
        UpdateResFile(CurResFile());
    }
    return err;
}

// Creates the rows' lists that the file lacks and their objects. False,
// with the failure said and its row gone, when one cannot be made.
bool CreateMissing(TMainDoc* doc)
{
    for (int16_t row = 0; row < RowCount(); ++row) {
        const Row r = RowAt(row);
        SetResLoad(false);
        const bool there = Get1Resource(kList, r.id) != nullptr;
        SetResLoad(true);
        if (there) continue;
        if (const OSErr err = CreateList(r)) {
            ErrMsg(err);
            LDelRow(1, row, G_StrListHdl);
            return false;
        }
        unsigned char name[256];
        std::memcpy(name, r.name, size_t(std::min<int>(r.name[0], kLongestListName)) + 1);
        name[0] = uint8_t(std::min<int>(r.name[0], kLongestListName));
        if (doc && !NewObj_Id(doc, kStringListKind, name, r.id, true)) {
            ErrMsg(memFullErr);
            return false;
        }
    }
    return true;
}

void DrawHeader(DialogRef dialog, DialogItemIndex)
{
    const Rect box = ItemBox(dialog, kStrListHeader);
    Draw3DFrame(&box);
    SavedPortText keep;
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    // Over the rows' columns: the name from 4, the id up to 170, the count
    // up to the right (list definition 1003).
    const int16_t left = int16_t(box.left + 1);
    Str255 title;
    MyGetIndString(title, 1001, 46);
    Rect r{int16_t(box.top + 1), int16_t(left + 4), int16_t(box.bottom - 1), int16_t(left + 110)};
    TETextBox(title + 1, title[0], &r, teFlushLeft);
    MyGetIndString(title, 1001, 11);
    r.left = int16_t(left + 110);
    r.right = int16_t(left + 170);
    TETextBox(title + 1, title[0], &r, teFlushRight);
    MyGetIndString(title, 1001, 12);
    r.left = int16_t(left + 170);
    r.right = int16_t(box.right - 16);
    TETextBox(title + 1, title[0], &r, teFlushRight);
}

void DrawRows(DialogRef dialog, DialogItemIndex) { DrawItemList(dialog, kStrListRows, G_StrListHdl); }

void DrawSeparator(DialogRef dialog, DialogItemIndex)
{
    const Rect box = ItemBox(dialog, kStrListSeparator);
    Draw3dLine(Point{box.top, box.left}, Point{box.top, box.right});
}

}  // namespace

void GetStrListID_DrawStrDialog(DialogRef dialog) { ValidateDialog(dialog); }

Boolean GetStrListFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DrawOnUpdate(dialog, *event, item, GetStrListID_DrawStrDialog)) return true;
    if (event->what == keyDown || event->what == autoKey) {
        const uint8_t ch = uint8_t(event->message & charCodeMask);
        if (ch == 3 || ch == 13) {
            if (ItemEnabled(dialog, kStrListOK) && SelectedRow() >= 0) PressOnReturn(dialog, *event, kStrListOK, item);
            return true;
        }
        if (GetDialogKeyboardFocusItem(dialog) == kStrListId && !(ch >= '0' && ch <= '9') && ch != kBackspace) {
            SysBeep(1);
            *item = 0;
            return true;
        }
        return false;
    }
    Point local{};
    if (!G_StrListHdl || !ContentClick(dialog, *event, &local)) return false;
    const Rect rows = ItemBox(dialog, kStrListRows);
    if (!PtInRect(local, &rows)) return false;
    DialogPortScope port(dialog);
    const bool twice = LClick(local, event->modifiers, G_StrListHdl);
    RestoreDialogFont();
    const bool chosen = SelectedRow() >= 0;
    EnableItem(dialog, kStrListOK, chosen);
    *item = twice && chosen ? kStrListOK : kStrListRows;
    return true;
}

int16_t GetStrListID(TMainDoc* doc)
{
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    const int16_t savedFile = CurResFile();
    if (doc && doc->fRsrFile != -1) UseResFile(doc->fRsrFile);
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kStrListDialog, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(kStrListDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    int16_t result = -1;
    if (dialog) {
        if (doc && doc->fRsrFile != -1) UseResFile(doc->fRsrFile);
        const ListHandle outer = G_StrListHdl;
        G_StrListHdl = NewItemList(dialog, kStrListRows, kResListDef, nullptr);
        if (G_StrListHdl) {
            LSetDrawingMode(false, G_StrListHdl);
            FillRows();
            LSetDrawingMode(true, G_StrListHdl);
        }
        EnableItem(dialog, kStrListOK, false);
        EnableItem(dialog, kStrListAdd, false);
        SetItemDrawing(dialog, kStrListRows, DrawRows);
        SetItemDrawing(dialog, kStrListHeader, DrawHeader);
        SetItemDrawing(dialog, kStrListSeparator, DrawSeparator);
        SelectDialogItemText(dialog, kStrListName, 0, 32767);
        ShowModal(dialog, kStrListOK, GetStrListID_DrawStrDialog);
        int16_t hit = 0;
        while (G_StrListHdl && hit != kStrListOK && hit != kStrListCancel) {
            MyModalDialog(GetStrListFilter, &hit);
            switch (hit) {
            case kStrListId: EnableItem(dialog, kStrListAdd, InRange(TypedId(dialog))); break;
            case kStrListAdd:
                if (ItemEnabled(dialog, kStrListAdd)) Add(dialog);
                break;
            case kStrListOK:
                if (!ItemEnabled(dialog, kStrListOK) || SelectedRow() < 0 || !CreateMissing(doc)) {
                    EnableItem(dialog, kStrListOK, SelectedRow() >= 0);
                    hit = 0;
                    break;
                }
                result = RowAt(SelectedRow()).id;
                break;
            default: break;
            }
        }
        if (G_StrListHdl) LDispose(G_StrListHdl);
        G_StrListHdl = outer;
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(26);
    UseResFile(savedFile);
    SetPort(callerPort);
    return result;
}

}  // namespace browser
