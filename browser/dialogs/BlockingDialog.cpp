#include "browser/dialogs/BlockingDialog.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/SearchDialog.h"
#include "design/objects/DesignGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kKindListDef = 1005;
ListHandle gBlockList = nullptr;

void SetAll(bool blocked)
{
    for (int16_t row = 0; row < ListRows(gBlockList); ++row) SetCellByte(gBlockList, row, kKindCellChecked, blocked);
}

void DrawHeader(DialogRef dialog, DialogItemIndex item) { FramedCaption(dialog, item, 1001, 43); }

void DrawList(DialogRef dialog, DialogItemIndex item) { DrawItemList(dialog, item, gBlockList); }

// With the preferences file current: 0, or the error, the resource then
// holding its old bytes again (the file on disk was not replaced).
int16_t Save(Handle pairs)
{
    std::vector<uint8_t> old;
    try {
        old.assign(reinterpret_cast<uint8_t*>(*pairs), reinterpret_cast<uint8_t*>(*pairs) + GetHandleSize(pairs));
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    OSErr err = WriteBlockRows(gBlockList, pairs);
    if (err != noErr) return err;
    ChangedResource(pairs);
    WriteResource(pairs);
    err = ResError();
    if (err == noErr) {
        UpdateResFile(G_PrefResFile);
        err = ResError();
    }
    if (err != noErr) {
        SetHandleSize(pairs, Size(old.size()));
        if (GetHandleSize(pairs) == Size(old.size()) && !old.empty()) std::memcpy(*pairs, old.data(), old.size());
    }
    return err;
}

}  // namespace

void AddBlockRows(ListHandle list, const uint8_t* pairs, int32_t size)
{
    for (int32_t at = 0; pairs && at < size && pairs[at] != 0; at += 2) {
        uint8_t cell[kKindCellLength] = {0};
        MyGetIndString(cell, 1008, pairs[at]);
        if (cell[0] == 0) continue;  // a kind without a name has no row
        WriteBE16(cell + kKindCellKind, pairs[at]);
        // The last pair may have lost its second byte: not blocked.
        cell[kKindCellChecked] = at + 1 < size && pairs[at + 1] != 0;
        const int16_t row = LAddRow(1, ListRows(list), list);
        LSetCell(cell, kKindCellLength, Cell{row, 0}, list);
    }
}

OSErr WriteBlockRows(ListHandle list, Handle pairs)
{
    if (!pairs) return memFullErr;
    const int32_t rows = ListRows(list);
    const int32_t needed = 2 * rows + 1;
    if (GetHandleSize(pairs) < needed) {
        SetHandleSize(pairs, needed);
        if (MemError() != noErr || GetHandleSize(pairs) != needed) return memFullErr;
    }
    auto* p = reinterpret_cast<uint8_t*>(*pairs);
    for (int16_t row = 0; row < rows; ++row) {
        p[2 * row] = CellByte(list, row, kKindCellKind + 1);
        p[2 * row + 1] = CellByte(list, row, kKindCellChecked) ? 1 : 0;
    }
    p[2 * rows] = 0;
    return noErr;
}

void DrawBlockDial(DialogRef dialog) { ValidateDialog(dialog); }

Boolean BlockFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DefaultFilter(dialog, event, item) || DrawOnUpdate(dialog, *event, item, DrawBlockDial)) return true;
    SelectAllWhileActive(dialog, *event);
    Point local{};
    if (!ContentClick(dialog, *event, &local)) return false;
    DialogPortScope port(dialog);
    const Rect header = ItemBox(dialog, kBlockHeader), list = ItemBox(dialog, kBlockList);
    bool consumed = false;
    if (PtInRect(local, &header)) {
        SetAll(!(event->modifiers & optionKey));
        consumed = true;
    } else if (PtInRect(local, &list) && gBlockList) {
        ClickKindList(gBlockList, local, event->modifiers);
        const Rect cells = ItemListCells(dialog, kBlockList);
        if (PtInRect(local, &cells)) *item = kBlockList;
        consumed = true;
    }
    return consumed;
}

int16_t BlockingPref()
{
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    const int16_t savedRes = CurResFile();
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kBlockingDialog, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(kBlockingDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    int16_t result = 0;
    if (dialog) {
        ListHandle outer = gBlockList;
        gBlockList = NewItemList(dialog, kBlockList, kKindListDef, SearchClickLoop);
        Handle pairs = nullptr;
        if (G_PrefResFile > 0) {
            UseResFile(G_PrefResFile);
            pairs = Get1Resource(FourCC("Oblk"), 0);
        }
        if (gBlockList) {
            LSetDrawingMode(false, gBlockList);
            if (pairs && *pairs) {
                HLock(pairs);
                AddBlockRows(gBlockList, reinterpret_cast<const uint8_t*>(*pairs), int32_t(GetHandleSize(pairs)));
                HUnlock(pairs);
            }
            LSetDrawingMode(true, gBlockList);
        }
        SetItemDrawing(dialog, kBlockHeader, DrawHeader);
        SetItemDrawing(dialog, kBlockList, DrawList);
        ShowModal(dialog, kBlockOK, DrawBlockDial);
        int16_t hit = 0;
        while (gBlockList && hit != kBlockOK && hit != kBlockCancel) MyModalDialog(BlockFilter, &hit);
        if (hit == kBlockOK && pairs) {
            result = Save(pairs);
            if (result != 0) ErrMsg(result);
        }
        if (gBlockList) LDispose(gBlockList);
        gBlockList = outer;
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(26);
    UseResFile(savedRes);
    SetPort(callerPort);
    SetBlockArray();
    return result;
}

}  // namespace browser
