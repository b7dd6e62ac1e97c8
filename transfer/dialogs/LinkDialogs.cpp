// The link dialog (601) for tables, fields, forms and menu bars, its list
// builders and its event filter.
#include <cstring>

#include "app/appl/Menus.h"
#include "app/appl/AppObjects.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/CallPanes.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictTexts.h"
#include "transfer/dialogs/EditDialogs.h"

using namespace platform;

namespace transfer {

LongListHandle G2_LongListHdl = nullptr;

namespace {

// The open link dialog: one at a time, like every modal dialog.
struct LinkState {
    DialogRef dialog = nullptr;
    TConflict* record = nullptr;
    TObjQz* chosen = nullptr;
    // Tables and menu bars show nothing in item 5 once a click chose none.
    bool emptyWhenCleared = false;
    bool cleared = false;
    unsigned char caption[256] = {0};
    // The record's own drawing operation.
    void (*draw)(TConflict* record, DialogRef dialog) = nullptr;
};
LinkState gLink;

constexpr int16_t kRowHeight = 16;
constexpr int16_t kPickListDef = 1002;
constexpr int16_t kLinkText = 8;  // STR# 1018

Rect ItemRect(DialogRef dialog, int16_t item)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect r{};
    GetDialogItem(dialog, item, &type, &h, &r);
    return r;
}

// A list over item 9 holding `objects`; the chosen object's row selected.
template <class Each>
void BuildList(DialogRef dialog, TObjQz** chosen, LongListHandle* list, Each each)
{
    *list = nullptr;
    Rect view = ItemRect(dialog, kLinkListItem);
    InsetRect(&view, 1, 1);
    view.right = int16_t(view.right - 15);
    LongListHandle rows = LongLNew(&view, 0, kObjectRowLength, Point{kRowHeight, int16_t(view.right - view.left)},
                                   kPickListDef, GetDialogWindow(dialog), true, browser::CallProcIdProc);
    if (!rows) return;
    rows->selFlags |= kLongLSingleSelection;
    LongLDoDraw(false, rows);
    int32_t chosenRow = -1;
    each([&](TObjQz* obj) {
        const int32_t row = rows->rowCount;
        if (LongLAddRow(1, row, rows) < 0) return;
        LongLSetCell(&obj, kObjectRowLength, row, rows);
        if (obj == *chosen) chosenRow = row;
    });
    if (chosenRow < 0) {
        *chosen = static_cast<TObjQz*>(LongLRowObject(0, rows));
        if (*chosen) chosenRow = 0;
    }
    if (chosenRow >= 0) {
        LongLSetSelect(true, chosenRow, rows);
        LongLAutoScroll(rows);
    }
    LongLDoDraw(true, rows);
    *list = rows;
}

ObjListHdl TableList(TMainDoc* doc) { return doc && doc->fTypeList ? doc->fTypeList->lists[0] : nullptr; }

void ChosenText(unsigned char* out)
{
    out[0] = 0;
    if (gLink.cleared && !gLink.chosen && gLink.emptyWhenCleared) return;
    ListString(1018, kLinkText, out);
    unsigned char name[256];
    GetFullName(gLink.chosen, name);
    PAppend(out, name);
}

void DrawLink(TConflict* record, DialogRef dialog)
{
    record->DrawEditDialog(dialog);
    DrawDialog(dialog);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(dialog));
    const Rect list = ItemRect(dialog, kLinkListItem), caption = ItemRect(dialog, kLinkCaptionItem);
    Draw3DFrame(&list);
    Draw3DFrame(&caption);
    Rect text = caption;
    InsetRect(&text, 1, 3);
    UseListFont();
    if (gLink.caption[0]) TETextBox(gLink.caption + 1, gLink.caption[0], &text, teFlushLeft);
    TextFont(0);
    TextSize(12);
    TextFace(0);
    LongLUpdate(nullptr, G2_LongListHdl);
    unsigned char chosen[256];
    ChosenText(chosen);
    SetText(dialog, kLinkChosenItem, chosen);
    SetPort(saved);
}

// Runs the dialog over the rows `build` makes; on OK the record links to
// the chosen object (possibly none). True for OK.
template <class Build>
bool RunLink(TConflict* record, void (*draw)(TConflict*, DialogRef), bool emptyWhenCleared,
             const unsigned char* caption, Build build)
{
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kLinkDialog, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(kLinkDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    bool confirmed = false;
    if (dialog) {
        const LinkState outer = gLink;
        gLink = LinkState{};
        gLink.dialog = dialog;
        gLink.record = record;
        gLink.chosen = record->fDest;
        gLink.emptyWhenCleared = emptyWhenCleared;
        gLink.draw = draw;
        std::memcpy(gLink.caption, caption, size_t(caption[0]) + 1);
        LongListHandle outerList = G2_LongListHdl;
        LongListHandle rows = nullptr;
        build(dialog, &gLink.chosen, &rows);
        G2_LongListHdl = rows;
        ShowWindow(GetDialogWindow(dialog));
        SetDlogEditMenu();
        draw(record, dialog);
        int16_t hit = 0;
        while (rows && hit != 1 && hit != 2) {
            MyModalDialog(ListFilter, &hit);
            if (hit != kLinkListItem) continue;
            gLink.chosen = static_cast<TObjQz*>(LongLRowObject(LongLLastClick(rows), rows));
            if (!gLink.chosen) {
                gLink.cleared = true;
                LongLActivate(false, rows);
            }
            unsigned char chosen[256];
            ChosenText(chosen);
            SetText(dialog, kLinkChosenItem, chosen);
        }
        confirmed = hit == 1;
        if (confirmed) record->fDest = gLink.chosen;
        G2_LongListHdl = outerList;
        LongLDispose(rows);
        MyDisposDialog(dialog);
        gLink = outer;
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    return confirmed;
}

// The destination table a field or form record links within: its table
// record's destination.
TObjQz* ParentTable(const TConflict* record)
{
    TObjQz* table = record->fParent ? record->fParent->fDest : nullptr;
    return table && (table->kind == 1 || table->kind == 29) ? table : nullptr;
}

}  // namespace

TObjQz* LinkChosen() { return gLink.chosen; }

void SetFileList(DialogRef dialog, TMainDoc* doc, TObjQz** chosen, LongListHandle* list)
{
    BuildList(dialog, chosen, list, [&](auto add) {
        ObjListHdl tables = TableList(doc);
        for (int32_t i = 0; tables && i < tables->Size(); ++i)
            if (tables->At(i)->kind == 1 || tables->At(i)->kind == 29) add(tables->At(i));
    });
}

void SetCritList(DialogRef dialog, TObjQz* table, TObjQz** chosen, LongListHandle* list)
{
    BuildList(dialog, chosen, list, [&](auto add) {
        ObjListHdl tables = table ? TableList(table->owner) : nullptr;
        int32_t i = 0;
        while (tables && i < tables->Size() && tables->At(i) != table) ++i;
        for (++i; tables && i < tables->Size() && tables->At(i)->kind != 1; ++i)
            // A subtable's own fields follow it: they are not the table's.
            if (tables->At(i)->kind == 28 && tables->At(i)->GetOwnerObj() == table) add(tables->At(i));
    });
}

void SetFormList(DialogRef dialog, TObjQz* table, TObjQz** chosen, LongListHandle* list)
{
    BuildList(dialog, chosen, list, [&](auto add) {
        ObjListHdl forms = table ? static_cast<TFileObjQz*>(table)->forms : nullptr;
        for (int32_t i = 0; forms && i < forms->Size(); ++i) add(forms->At(i));
    });
}

void SetMBarList(DialogRef dialog, TMainDoc* doc, TObjQz** chosen, LongListHandle* list)
{
    BuildList(dialog, chosen, list, [&](auto add) {
        ObjListHdl bars = doc && doc->fTypeList ? GetObjListe(doc->fTypeList, 5) : nullptr;
        for (int32_t i = 0; bars && i < bars->Size(); ++i) add(bars->At(i));
    });
}

Boolean ListFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (DefaultFilter(dialog, event, item)) return true;
    if (event->what == updateEvt && reinterpret_cast<WindowRef>(event->message) == GetDialogWindow(dialog)) {
        // The list and the caption are not dialog items: the dialog is
        // drawn whole, then the platform's own drawing of it is not needed.
        BeginUpdate(GetDialogWindow(dialog));
        if (gLink.dialog == dialog && gLink.draw) gLink.draw(gLink.record, dialog);
        EndUpdate(GetDialogWindow(dialog));
        *item = 0;
        return true;
    }
    if (event->what != mouseDown || !G2_LongListHdl) return false;
    WindowRef window = nullptr;
    if (FindWindow(event->where, &window) != inContent || window != GetDialogWindow(dialog)) return false;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    Point local = event->where;
    GlobalToLocal(&local);
    const Rect list = ItemRect(dialog, kLinkListItem);
    bool inList = PtInRect(local, &list);
    if (inList) {
        LongLActivate(true, G2_LongListHdl);
        LongLClick(local, event->modifiers, G2_LongListHdl);
        TextFont(0);
        TextSize(12);
        TextFace(0);
        *item = kLinkListItem;
    }
    SetPort(saved);
    return inList;
}

}  // namespace transfer

void TFileConflict::Draw_FileLinkDialog(DialogRecord* dialog) { transfer::DrawLink(this, dialog); }

bool TFileConflict::FileLinkDialog(C_ListHdl, TMainDoc*, TMainDoc* dest)
{
    unsigned char caption[256], name[256] = {0};
    transfer::ListString(1001, 35, caption);
    if (dest) dest->GetDocName(name);
    PAppend(caption, name);
    auto draw = [](TConflict* r, DialogRef d) { static_cast<TFileConflict*>(r)->Draw_FileLinkDialog(d); };
    return transfer::RunLink(this, draw, true, caption, [&](DialogRef d, TObjQz** chosen, LongListHandle* list) {
        transfer::SetFileList(d, dest, chosen, list);
    });
}

bool TCritConflict::CritLinkDialog(C_ListHdl, TMainDoc*, TMainDoc*)
{
    TObjQz* table = transfer::ParentTable(this);
    if (!table) {
        SysBeep(1);
        return false;
    }
    unsigned char caption[256];
    table->GetName(caption);
    auto draw = [](TConflict* r, DialogRef d) { static_cast<TCritConflict*>(r)->Draw_CritLinkDialog(d); };
    return transfer::RunLink(this, draw, false, caption, [&](DialogRef d, TObjQz** chosen, LongListHandle* list) {
        transfer::SetCritList(d, table, chosen, list);
    });
}

void TCritConflict::Draw_CritLinkDialog(DialogRecord* dialog) { transfer::DrawLink(this, dialog); }

void TLayOutConflict::Draw_LayOutLinkDialog(DialogRecord* dialog) { transfer::DrawLink(this, dialog); }

bool TLayOutConflict::LayOutLinkDialog(C_ListHdl, TMainDoc*, TMainDoc*)
{
    TObjQz* table = transfer::ParentTable(this);
    if (!table) {
        SysBeep(1);
        return false;
    }
    unsigned char caption[256], name[256];
    transfer::ListString(1008, 1, caption);
    PAppendChar(caption, ' ');
    table->GetName(name);
    PAppend(caption, name);
    auto draw = [](TConflict* r, DialogRef d) { static_cast<TLayOutConflict*>(r)->Draw_LayOutLinkDialog(d); };
    return transfer::RunLink(this, draw, false, caption, [&](DialogRef d, TObjQz** chosen, LongListHandle* list) {
        transfer::SetFormList(d, table, chosen, list);
    });
}

void TMBarConflict::Draw_MBarLinkDialog(DialogRecord* dialog) { transfer::DrawLink(this, dialog); }

bool TMBarConflict::MBarLinkDialog(C_ListHdl, TMainDoc*, TMainDoc* dest)
{
    const unsigned char none[1] = {0};
    auto draw = [](TConflict* r, DialogRef d) { static_cast<TMBarConflict*>(r)->Draw_MBarLinkDialog(d); };
    return transfer::RunLink(this, draw, true, none, [&](DialogRef d, TObjQz** chosen, LongListHandle* list) {
        transfer::SetMBarList(d, dest, chosen, list);
    });
}
