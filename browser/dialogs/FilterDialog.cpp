#include "browser/dialogs/FilterDialog.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/SearchDialog.h"
#include "design/filters/FilterRecord.h"
#include "design/objects/NameTables.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

ListHandle G_ListHdl = nullptr;

namespace {

constexpr ResType kFLT2 = FourCC("FLT2");
constexpr int16_t kFilterListDef = 1004;
constexpr int16_t kDefaultId = 128;
constexpr uint8_t kLongestName = 31;
constexpr uint8_t kBackspace = 0x08;
constexpr int16_t kPaneBits[3] = {filterrec::kInUsedByPane, filterrec::kInListPane, filterrec::kInUsesPane};

EditFiltersLink* gLink = nullptr;
RowDrag gFlagDrag;

void GetRow(ListHandle list, int16_t row, uint8_t* cell)
{
    std::memset(cell, 0, kRowLength);
    int16_t length = kRowLength;
    LGetCell(cell, &length, Cell{row, 0}, list);
}

void PutRow(ListHandle list, int16_t row, const uint8_t* cell) { LSetCell(cell, kRowLength, Cell{row, 0}, list); }

// A row for `record` (slot `slot`) under `name` and `id`.
void MakeRow(const unsigned char* name, int16_t id, Handle record, int32_t slot, bool modified, uint8_t* cell)
{
    std::memset(cell, 0, kRowLength);
    std::memcpy(cell, name, size_t(name[0]) + 1);
    WriteBE16(cell + kRowId, uint16_t(id));
    const int16_t count = record && *record && GetHandleSize(record) >= 2 ? ReadBES16(*record) : 0;
    WriteBE16(cell + kRowCount, uint16_t(count));
    WriteBE32(cell + kRowSlot, uint32_t(slot));
    cell[kRowModified] = modified;
    for (int k = 0; k < 3; ++k) cell[kRowUsedBy + k] = filterrec::TstFlag(record, kPaneBits[k]);
}

int32_t FlagStateAt(Point relative)
{
    const int32_t column = (relative.h - kFlagColumnLeft);
    if (column < 0 || column >= 3 * kFlagColumnWidth) return -1;
    return kRowUsedBy + column / kFlagColumnWidth;
}

int16_t SelectedRow(ListHandle list)
{
    Cell cell{0, 0};
    return LGetSelect(true, &cell, list) ? cell.v : int16_t(-1);
}

void SelectRow(ListHandle list, int16_t row)
{
    for (int16_t r = 0; r < ListRows(list); ++r) LSetSelect(r == row, Cell{r, 0}, list);
    if (row >= 0) LAutoScroll(list);
}

Handle RecordOf(ListHandle list, int16_t row)
{
    const int32_t slot = RowSlot(list, row);
    return gLink && slot >= 0 && slot < int32_t(gLink->records.size()) ? gLink->records[size_t(slot)] : nullptr;
}

void SetModified(ListHandle list, int16_t row)
{
    if (row >= 0 && row < ListRows(list)) SetCellByte(list, row, kRowModified, 1);
}

// Edit, Rename and Delete after `row` was chosen (-1: none).
void EnableForRow(DialogRef dialog, int16_t row)
{
    const bool any = row >= 0;
    const bool stored = any && RowId(G_ListHdl, row) != kDefaultId;
    EnableItem(dialog, kFilterEdit, stored);
    EnableItem(dialog, kFilterRename, any);
    EnableItem(dialog, kFilterDelete, stored);
}

// The criteria dialog on the row's record; its OK marks the row.
void EditCriteria(DialogRef dialog, int16_t row)
{
    Handle record = RecordOf(G_ListHdl, row);
    if (!record) return;
    if (GetSearchFilter(record, nullptr, false) == 1) {
        SetModified(G_ListHdl, row);
        uint8_t cell[kRowLength];
        GetRow(G_ListHdl, row, cell);
        WriteBE16(cell + kRowCount, uint16_t(ReadBES16(*record)));
        PutRow(G_ListHdl, row, cell);
    }
    SetPortWindowPort(GetDialogWindow(dialog));
    EditFilters_DrawMyDialog(dialog);
    EnableItem(dialog, kFilterAdd, false);
}

// A record for the rows to show (with its bytes of the opening when it is
// a stored one); false, nothing added, when memory runs out.
bool AddSlot(EditFiltersLink& link, Handle record, bool loaded)
{
    try {
        std::vector<uint8_t> bytes;
        if (loaded) bytes.assign(reinterpret_cast<uint8_t*>(*record), reinterpret_cast<uint8_t*>(*record) + GetHandleSize(record));
        link.records.reserve(link.records.size() + 1);
        link.opened.reserve(link.opened.size() + 1);
        link.loaded.reserve(link.loaded.size() + 1);
        link.opened.push_back(std::move(bytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    link.records.push_back(record);
    link.loaded.push_back(loaded);
    return true;
}

// A copy of the default filter; a one-term record of no kind when there
// is none.
Handle CopyOfDefault()
{
    Handle copy = GetFilter(kDefaultId);
    if (copy && HandToHand(&copy) == noErr) return copy;
    copy = NewHandleClear(filterrec::kTextAt + 2);
    if (copy) WriteBE16(*copy, 1);
    return copy;
}

int16_t FreeId()
{
    int16_t id = Unique1ID(kFLT2);
    // Rows added in this session are not resources yet.
    for (int16_t row = 0; row < ListRows(G_ListHdl); ++row) id = std::max<int16_t>(id, int16_t(RowId(G_ListHdl, row) + 1));
    return std::max(id, kDefaultId);
}

void Add(DialogRef dialog)
{
    Str255 name;
    GetText(name, dialog, kFilterName);
    for (int16_t row = 0; row < ListRows(G_ListHdl); ++row) {
        Str255 other;
        RowName(G_ListHdl, row, other);
        if (!SameName(name, other)) continue;
        Str255 message;
        MyGetIndString(message, 1002, 25);
        XAlert(1000, message, kStopAlert);
        SetPortWindowPort(GetDialogWindow(dialog));
        SelectRow(G_ListHdl, row);
        EnableItem(dialog, kFilterOK, true);
        return;
    }
    Handle copy = CopyOfDefault();
    if (!copy) {
        ErrMsg(memFullErr);
        return;
    }
    if (!AddSlot(*gLink, copy, false)) {
        DisposeHandle(copy);
        ErrMsg(memFullErr);
        return;
    }
    uint8_t cell[kRowLength];
    MakeRow(name, FreeId(), copy, int32_t(gLink->records.size() - 1), true, cell);
    SelectRow(G_ListHdl, -1);
    const int16_t row = LAddRow(1, ListRows(G_ListHdl), G_ListHdl);
    PutRow(G_ListHdl, row, cell);
    SelectRow(G_ListHdl, row);
    for (int16_t item : {kFilterOK, kFilterEdit, kFilterRename, kFilterDelete}) EnableItem(dialog, item, true);
    EditCriteria(dialog, row);
}

void Rename(DialogRef dialog)
{
    const int16_t row = SelectedRow(G_ListHdl);
    if (row < 0) return;
    uint8_t cell[kRowLength];
    GetRow(G_ListHdl, row, cell);
    GetText(cell, dialog, kFilterName);
    cell[kRowModified] = 1;
    PutRow(G_ListHdl, row, cell);
}

void Delete(DialogRef dialog)
{
    const int16_t row = SelectedRow(G_ListHdl);
    if (row < 0 || RowId(G_ListHdl, row) == kDefaultId) return;
    LDelRow(1, row, G_ListHdl);
    EnableForRow(dialog, -1);
}

// A click reported in the list: the row's name into item 5; a second
// click on the same row soon after opens its criteria.
void ListClicked(DialogRef dialog, int16_t row)
{
    if (row < 0) {
        EnableForRow(dialog, -1);
        return;
    }
    Str255 name;
    RowName(G_ListHdl, row, name);
    SetText(dialog, kFilterName, name);
    EnableForRow(dialog, row);
    if (RowId(G_ListHdl, row) == kDefaultId) return;
    if (gLink->doubleClick) {
        gLink->lastTicks = 0;  // a third click starts anew
        EditCriteria(dialog, row);
    }
}

// An empty name dims Add, Edit and Rename; a name typed again gives the
// chosen row its buttons back (a name cleared and retyped renames it).
void NameTyped(DialogRef dialog)
{
    Str255 name;
    GetText(name, dialog, kFilterName);
    if (name[0]) {
        EnableItem(dialog, kFilterAdd, true);
        if (const int16_t row = SelectedRow(G_ListHdl); row >= 0) EnableForRow(dialog, row);
        return;
    }
    for (int16_t item : {kFilterAdd, kFilterEdit, kFilterRename}) EnableItem(dialog, item, false);
}

// Cancel: the loaded filters get their bytes of the opening back.
void RestoreOpened(EditFiltersLink& link)
{
    for (size_t slot = 0; slot < link.records.size(); ++slot) {
        Handle h = link.records[slot];
        if (!link.loaded[slot] || !h) continue;
        const auto& bytes = link.opened[slot];
        SetHandleSize(h, Size(bytes.size()));
        if (GetHandleSize(h) == Size(bytes.size()) && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    }
}

void DisposeCopies(EditFiltersLink& link)
{
    for (size_t slot = 0; slot < link.records.size(); ++slot)
        if (!link.loaded[slot] && link.records[slot]) DisposeHandle(link.records[slot]);
    link.records.clear();
}

// One row per stored filter, in id order; false when memory ran out (the
// dialog must not then save a part of them).
bool LoadRows(EditFiltersLink& link)
{
    struct Stored {
        int16_t id;
        Handle h;
        Str255 name;
    };
    std::vector<Stored> stored;
    const int16_t count = Count1Resources(kFLT2);
    try {
        stored.reserve(size_t(std::max<int16_t>(count, 0)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int32_t i = 1; i <= count; ++i) {
        Stored s{0, Get1IndResource(kFLT2, i), {0}};
        if (!s.h) continue;
        ResType type = 0;
        GetResInfo(s.h, &s.id, &type, s.name);
        stored.push_back(s);
    }
    std::sort(stored.begin(), stored.end(), [](const Stored& a, const Stored& b) { return a.id < b.id; });
    LSetDrawingMode(false, G_ListHdl);
    bool whole = true;
    for (const Stored& s : stored) {
        if (!(whole = AddSlot(link, s.h, true))) break;
        uint8_t cell[kRowLength];
        MakeRow(s.name, s.id, s.h, int32_t(link.records.size() - 1), false, cell);
        const int16_t row = LAddRow(1, ListRows(G_ListHdl), G_ListHdl);
        if (!(whole = row >= 0 && ListRows(G_ListHdl) == int16_t(link.records.size()))) break;
        PutRow(G_ListHdl, row, cell);
    }
    LSetDrawingMode(true, G_ListHdl);
    return whole;
}

void DrawListItem(DialogRef dialog, DialogItemIndex item) { DrawItemList(dialog, item, G_ListHdl); }

void DrawHeaderItem(DialogRef dialog, DialogItemIndex item)
{
    const Rect box = ItemBox(dialog, item);
    Draw3DFrame(&box);
    Str255 title;
    MyGetIndString(title, 1001, 10);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    Rect text{int16_t(box.top + 1), int16_t(box.left + 4), int16_t(box.bottom - 1), int16_t(box.left + kHeaderColumnLeft)};
    TETextBox(title + 1, title[0], &text, teFlushLeft);
    RestoreDialogFont();
    for (int16_t k = 0; k < 3; ++k) {
        const int16_t left = int16_t(box.left + kHeaderColumnLeft + kFlagColumnWidth * k);
        const Rect icon{int16_t(box.top + 1), left, int16_t(box.top + 17), int16_t(left + 16)};
        DrawSmallIcon(130, k, &icon);
    }
}

// The header column under a local point, -1 for none.
int16_t HeaderColumn(DialogRef dialog, Point local)
{
    const Rect box = ItemBox(dialog, kFilterHeader);
    for (int16_t k = 0; k < 3; ++k) {
        const Rect column{int16_t(box.top + 1), int16_t(box.left + kHeaderColumnLeft + kFlagColumnWidth * k),
                          int16_t(box.top + 17), int16_t(box.left + kHeaderColumnLeft + kFlagColumnWidth * (k + 1))};
        if (PtInRect(local, &column)) return k;
    }
    return -1;
}

Boolean KeyDown(DialogRef dialog, const EventRecord& event, DialogItemIndex* item)
{
    const uint8_t ch = uint8_t(event.message & charCodeMask);
    if (ch == 3 || ch == 13) {
        if (!ItemEnabled(dialog, kFilterOK)) return false;
        const Cell last = LLastClick(G_ListHdl);
        if (last.v >= 0 && last.v < ListRows(G_ListHdl)) return PressOnReturn(dialog, event, kFilterOK, item);
        *item = 0;
        return true;  // swallowed
    }
    if (event.modifiers & cmdKey) return false;
    Str255 name;
    GetText(name, dialog, kFilterName);
    if (name[0] >= kLongestName && ch != kBackspace) {
        SysBeep(1);
        *item = 0;
        return true;
    }
    return false;
}

}  // namespace

int16_t RowId(ListHandle list, int16_t row)
{
    uint8_t cell[kRowLength];
    GetRow(list, row, cell);
    return ReadBES16(cell + kRowId);
}

int32_t RowSlot(ListHandle list, int16_t row)
{
    uint8_t cell[kRowLength];
    GetRow(list, row, cell);
    return int32_t(ReadBE32(cell + kRowSlot));
}

void RowName(ListHandle list, int16_t row, unsigned char* name)
{
    uint8_t cell[kRowLength];
    GetRow(list, row, cell);
    std::memcpy(name, cell, size_t(cell[0]) + 1);
}

Boolean EditFilterClickLoop()
{
    gFlagDrag.Step();
    return true;
}

void EditFilters_DrawMyDialog(DialogRef dialog) { ValidateDialog(dialog); }

Boolean EditFilterListFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (event->what == keyDown || event->what == autoKey) return KeyDown(dialog, *event, item);
    if (event->what == updateEvt)
        return DrawOnUpdate(dialog, *event, item, EditFilters_DrawMyDialog) || DefaultFilter(dialog, event, item);
    Point local{};
    if (!ContentClick(dialog, *event, &local)) return false;
    DialogPortScope port(dialog);
    const Rect listBox = ItemBox(dialog, kFilterList);
    Boolean consumed = false;
    if (const int16_t column = HeaderColumn(dialog, local); column >= 0) {
        const uint8_t value = (event->modifiers & optionKey) ? 0 : 1;
        for (int16_t row = 0; row < ListRows(G_ListHdl); ++row) SetCellByte(G_ListHdl, row, kRowUsedBy + column, value);
        *item = 0;
        consumed = true;
    } else if (PtInRect(local, &listBox) && G_ListHdl) {
        gFlagDrag.Begin(G_ListHdl, FlagStateAt, local);
        LClick(local, event->modifiers, G_ListHdl);
        gFlagDrag.End();
        const int16_t row = RowOn(G_ListHdl, local);
        const Rect cells = ItemListCells(dialog, kFilterList);
        if (PtInRect(local, &cells)) SetModified(G_ListHdl, row);
        const uint32_t now = TickCount();
        gLink->doubleClick = row >= 0 && row == gLink->lastRow && now - gLink->lastTicks <= GetDblTime();
        gLink->lastRow = row;
        gLink->lastTicks = now;
        *item = kFilterList;
        consumed = true;
    }
    return consumed;
}

bool EditFilters()
{
    if (G_PrefResFile <= 0) return false;
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    const int16_t savedRes = CurResFile();
    const uint8_t hilite = LMGetHiliteMode();
    Handle savedSearch = G_SearchFilterHdl;
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kFilterDialog, &dlog, &bits, &saveRect);
    UseResFile(G_PrefResFile);
    DialogRef dialog = MyGetNewDialog(kFilterDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    bool saved = false;
    if (dialog) {
        EditFiltersLink link;
        link.dialog = dialog;
        EditFiltersLink* outer = gLink;
        ListHandle outerList = G_ListHdl;
        gLink = &link;
        for (int16_t item : {kFilterAdd, kFilterEdit, kFilterRename, kFilterDelete}) EnableItem(dialog, item, false);
        EnableItem(dialog, kFilterOK, true);
        G_ListHdl = NewItemList(dialog, kFilterList, kFilterListDef, EditFilterClickLoop);
        if (G_ListHdl && !LoadRows(link)) {
            // Saved, the filters left out would be lost.
            ErrMsg(memFullErr);
            LDispose(G_ListHdl);
            G_ListHdl = nullptr;
        }
        SetItemDrawing(dialog, kFilterList, DrawListItem);
        SetItemDrawing(dialog, kFilterHeader, DrawHeaderItem);
        ShowModal(dialog, kFilterOK, EditFilters_DrawMyDialog);
        int16_t hit = 0;
        while (G_ListHdl && hit != kFilterOK && hit != kFilterCancel) {
            MyModalDialog(EditFilterListFilter, &hit);
            switch (hit) {
            case kFilterName: NameTyped(dialog); break;
            case kFilterAdd: Add(dialog); break;
            case kFilterList: ListClicked(dialog, gLink->lastRow); break;
            case kFilterEdit:
                if (const int16_t row = SelectedRow(G_ListHdl); row >= 0) EditCriteria(dialog, row);
                break;
            case kFilterRename: Rename(dialog); break;
            case kFilterDelete: Delete(dialog); break;
            default: break;
            }
        }
        if (hit == kFilterOK && G_ListHdl) {
            // The default filter, first at opening, stays first.
            SortNameRes(G_ListHdl);
            const OSErr err = SaveFilters(G_ListHdl, link);
            saved = err == noErr;
            if (!saved) ErrMsg(err);
        }
        if (!saved) RestoreOpened(link);
        DisposeCopies(link);
        if (G_ListHdl) LDispose(G_ListHdl);
        G_ListHdl = outerList;
        gLink = outer;
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    UseResFile(savedRes);
    G_SearchFilterHdl = savedSearch;
    LMSetHiliteMode(hilite);
    SetPort(callerPort);
    return saved;
}

}  // namespace browser
