#include "browser/dialogs/CmdReplaceDialog.h"

#include <cstring>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/documents/MainDoc.h"
#include "browser/CallPanes.h"
#include "browser/ListAnswers.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"

using namespace platform;

namespace browser {

LongListHandle G_CmdList1 = nullptr;
LongListHandle G_CmdList2 = nullptr;

namespace {

constexpr int16_t kPickListDef = 1002;
constexpr int16_t kRowHeight = 16;
constexpr int16_t kScrollBar = 15;

struct CmdState {
    bool firstValid = false;
    bool secondValid = false;
    bool newName = false;
    TMainDoc* doc = nullptr;
};
CmdState* gCmd = nullptr;

LongListHandle NewPickList(DialogRef dialog, int16_t item)
{
    Rect view = ItemBox(dialog, item);
    InsetRect(&view, 1, 1);
    view.right = int16_t(view.right - kScrollBar);
    LongListHandle list = LongLNew(&view, 0, kObjectRowLength, Point{kRowHeight, int16_t(view.right - view.left)},
                                   kPickListDef, GetDialogWindow(dialog), true, CallProcIdProc);
    if (list) list->selFlags |= kLongLSingleSelection;
    return list;
}

TObjQz* SelectedObject(LongListHandle list)
{
    int32_t row = 0;
    return list && LongLGetSelect(true, &row, list) ? static_cast<TObjQz*>(LongLRowObject(row, list)) : nullptr;
}

// A name no variable bears and no variable's prefix begins.
bool FreeForMethod(const unsigned char* name)
{
    if (name[0] < 1 || name[0] > kLongestMethodName) return false;
    if (IsGlobalVarName(name) || IsLocalVarName(name)) return false;
    return !(gCmd->doc && Search_GlobVar(gCmd->doc, name));
}

// The text typed searched in the list: valid when the row found bears it.
bool TypedNamesRow(DialogRef dialog, int16_t textItem, LongListHandle list)
{
    Str255 text;
    GetText(text, dialog, textItem);
    const int32_t row = text[0] ? ListSearch(list, text) : -1;
    auto* obj = static_cast<TObjQz*>(LongLRowObject(row, list));
    if (!obj) return false;
    unsigned char name[256];
    obj->GetName(name);
    return SameNameNoCase(name, text);
}

void ShowChosen(DialogRef dialog, int16_t textItem, LongListHandle list)
{
    unsigned char name[256];
    TObjQz* obj = SelectedObject(list);
    if (!obj) return;
    obj->GetName(name);
    SetText(dialog, textItem, name);
    SelectDialogItemText(dialog, textItem, 0, 32767);
}

void EnableButtons(DialogRef dialog)
{
    EnableItem(dialog, kCmdReplaceOK, gCmd->firstValid && gCmd->secondValid);
    EnableItem(dialog, kCmdReplaceCreate, gCmd->firstValid && gCmd->newName);
}

void DrawList(DialogRef dialog, int16_t item, LongListHandle list)
{
    const Rect box = ItemBox(dialog, item);
    Draw3DFrame(&box);
    if (list) LongLUpdate(nullptr, list);
    RestoreDialogFont();
}

void DrawFirst(DialogRef dialog, DialogItemIndex) { DrawList(dialog, kCmdReplaceFirstList, G_CmdList1); }
void DrawSecond(DialogRef dialog, DialogItemIndex) { DrawList(dialog, kCmdReplaceSecondList, G_CmdList2); }

}  // namespace

int16_t ObjSearchProc(const void* rowData, const void* key, int16_t rowLength, int16_t keyLength)
{
    if (!rowData || rowLength < kObjectRowLength) return 1;
    TObjQz* obj = nullptr;
    std::memcpy(&obj, rowData, sizeof obj);
    if (!obj) return 1;
    unsigned char name[256];
    obj->GetName(name);
    if (name[0] < keyLength) return 1;
    const auto* typed = static_cast<const uint8_t*>(key);
    for (int16_t i = 0; i < keyLength; ++i)
        if (FoldForTyping(name[i + 1]) != FoldForTyping(typed[i])) return 1;
    return 0;
}

int32_t ListSearch(LongListHandle list, const unsigned char* text)
{
    int32_t row = 0;
    if (!list || list->rowCount == 0 || !LongLSearch(text + 1, text[0], ObjSearchProc, &row, list)) return -1;
    RazSelect(list);
    LongLSetSelect(true, row, list);
    LongLAutoScroll(list);
    LongLUpdate(nullptr, list);
    return row;
}

void SetList(LongListHandle list, ObjListHdl objects)
{
    if (!list) return;
    LongLDoDraw(false, list);
    if (list->rowCount > 0) LongLDelRow(list->rowCount, 0, list);
    const int32_t count = objects ? objects->Size() : 0;
    if (count > 0 && LongLAddRow(count, 0, list) == 0)
        for (int32_t i = 0; i < count; ++i) {
            TObjQz* obj = objects->At(i);
            LongLSetCell(&obj, kObjectRowLength, i, list);
        }
    LongLDoDraw(true, list);
}

void DrawCmd_ReplaceDial(DialogRef dialog) { ValidateDialog(dialog); }

Boolean Cmd_ReplaceFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (PressOnReturn(dialog, *event, kCmdReplaceOK, item)) return true;
    if (DrawOnUpdate(dialog, *event, item, DrawCmd_ReplaceDial)) return true;
    Point local{};
    if (!ContentClick(dialog, *event, &local)) return false;
    DialogPortScope port(dialog);
    for (const auto& [listItem, list] : {std::pair{kCmdReplaceFirstList, G_CmdList1}, {kCmdReplaceSecondList, G_CmdList2}}) {
        const Rect box = ItemBox(dialog, listItem);
        if (!list || !PtInRect(local, &box)) continue;
        LongLActivate(true, list);
        LongLClick(local, event->modifiers, list);
        RestoreDialogFont();
        *item = listItem;
        return true;
    }
    return false;
}

bool GetCmd_Replace(ObjListHdl first, ObjListHdl second, unsigned char* firstText, unsigned char* secondText,
                    uint8_t* newName)
{
    if (newName) *newName = 0;
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), kCmdReplaceDialog, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(kCmdReplaceDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    int16_t hit = 0;
    if (dialog) {
        CmdState state;
        for (ObjListHdl list : {first, second})
            if (list && list->Size() > 0 && !state.doc) state.doc = list->At(0)->owner;
        CmdState* outer = gCmd;
        const LongListHandle outer1 = G_CmdList1, outer2 = G_CmdList2;
        gCmd = &state;
        G_CmdList1 = NewPickList(dialog, kCmdReplaceFirstList);
        G_CmdList2 = NewPickList(dialog, kCmdReplaceSecondList);
        SetList(G_CmdList1, first);
        SetList(G_CmdList2, second);
        EnableButtons(dialog);
        SetItemDrawing(dialog, kCmdReplaceFirstList, DrawFirst);
        SetItemDrawing(dialog, kCmdReplaceSecondList, DrawSecond);
        ShowModal(dialog, kCmdReplaceOK, DrawCmd_ReplaceDial);
        while (G_CmdList1 && G_CmdList2 && hit != kCmdReplaceOK && hit != kCmdReplaceCancel &&
               hit != kCmdReplaceCreate) {
            MyModalDialog(Cmd_ReplaceFilter, &hit);
            switch (hit) {
            case kCmdReplaceFirstList:
                if (SelectedObject(G_CmdList1)) {
                    ShowChosen(dialog, kCmdReplaceFirstText, G_CmdList1);
                    state.firstValid = true;
                }
                break;
            case kCmdReplaceFirstText: state.firstValid = TypedNamesRow(dialog, kCmdReplaceFirstText, G_CmdList1); break;
            case kCmdReplaceSecondList:
                if (SelectedObject(G_CmdList2)) {
                    ShowChosen(dialog, kCmdReplaceSecondText, G_CmdList2);
                    state.secondValid = true;
                    state.newName = false;
                }
                break;
            case kCmdReplaceSecondText: {
                Str255 text;
                GetText(text, dialog, kCmdReplaceSecondText);
                state.newName = FreeForMethod(text);
                state.secondValid = TypedNamesRow(dialog, kCmdReplaceSecondText, G_CmdList2);
                if (state.secondValid) state.newName = false;
                break;
            }
            case kCmdReplaceOK:
            case kCmdReplaceCreate:
                if (!ItemEnabled(dialog, hit)) hit = 0;
                break;
            default: break;
            }
            EnableButtons(dialog);
        }
        if (hit == kCmdReplaceOK || hit == kCmdReplaceCreate) {
            GetText(firstText, dialog, kCmdReplaceFirstText);
            GetText(secondText, dialog, kCmdReplaceSecondText);
            if (newName) *newName = hit == kCmdReplaceCreate ? 1 : 0;
        }
        if (G_CmdList1) LongLDispose(G_CmdList1);
        if (G_CmdList2) LongLDispose(G_CmdList2);
        G_CmdList1 = outer1;
        G_CmdList2 = outer2;
        gCmd = outer;
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(26);
    SetPort(callerPort);
    return hit == kCmdReplaceOK || hit == kCmdReplaceCreate;
}

}  // namespace browser
