#include "browser/dialogs/ModuleDialog.h"

#include <cstdio>
#include <cstring>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "browser/dialogs/DialogDrawing.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjList.h"
#include "kernel/collation/Compare.h"
#include "kernel/numtext/DateText.h"
#include "platform/core/FourCC.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kFolderNames[] = {5, 6, 7};  // STR# 1029: public, protected, private

void CopyP(unsigned char* dest, const unsigned char* text, uint8_t max)
{
    dest[0] = text[0] > max ? max : text[0];
    std::memmove(dest + 1, text + 1, dest[0]);
}

void NumberText(uint32_t value, unsigned char* text)
{
    text[0] = 0;
    if (value == 0) return;
    char digits[16];
    const int n = std::snprintf(digits, sizeof digits, "%u", value);
    text[0] = uint8_t(n);
    std::memcpy(text + 1, digits, size_t(n));
}

uint32_t TextNumber(const unsigned char* text)
{
    uint32_t value = 0;
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] >= '0' && text[i] <= '9') value = value * 10 + uint32_t(text[i] - '0');
    return value;
}

void ShowRename(DialogRef dialog, bool on)
{
    for (int16_t item : {kModulePrefix, kModulePrefixLabel}) on ? ShowDialogItem(dialog, item) : HideDialogItem(dialog, item);
    SetItemVal(dialog, kModuleRename, on ? 1 : 0);
}

// An edit item kept within `max` characters: true (and a beep) when it was
// longer; the caret goes to the end.
bool CutItem(DialogRef dialog, int16_t item, uint8_t max)
{
    unsigned char text[256];
    GetText(text, dialog, item);
    if (text[0] <= max) return false;
    SysBeep(1);
    text[0] = max;
    SetText(dialog, item, text);
    SelectDialogItemText(dialog, item, max, max);
    return true;
}

void KeepDigits(DialogRef dialog)
{
    unsigned char text[256], kept[256];
    GetText(text, dialog, kModuleNumber);
    std::memcpy(kept, text, size_t(text[0]) + 1);
    RemoveAlpha(kept);
    if (kept[0] > kModuleNumberDigits) {
        SysBeep(1);
        kept[0] = kModuleNumberDigits;
    }
    unsigned char shown[256];
    NumberText(TextNumber(kept), shown);
    if (std::memcmp(shown, text, size_t(text[0]) + 1) == 0) return;
    SetText(dialog, kModuleNumber, shown);
    SelectDialogItemText(dialog, kModuleNumber, shown[0], shown[0]);
}

bool OKAllowed(DialogRef dialog)
{
    unsigned char name[256], date[256], number[256], prefix[256];
    GetText(name, dialog, kModuleName);
    GetText(date, dialog, kModuleDate);
    GetText(number, dialog, kModuleNumber);
    GetText(prefix, dialog, kModulePrefix);
    const bool rename = GetItemVal(dialog, kModuleRename) != 0;
    return name[0] > 0 && TextNumber(number) != 0 && x_datevalide(date) && (!rename || prefix[0] > 0);
}

// A folder's name, or another component's of the document.
bool NameTaken(const ModuleStruct& record, const unsigned char* name)
{
    for (int16_t index : kFolderNames) {
        unsigned char folder[256];
        MyGetIndString(folder, 1029, index);
        if (folder[0] > 0 && rel2str(folder, name) == 0) return true;
    }
    ObjListHdl groups = record.doc ? GetObjListe(record.doc->fTypeList, 32) : nullptr;
    for (int32_t i = 0; groups && i < groups->Size(); ++i) {
        TObjQz* other = groups->At(i);
        if (other->kind != 32 || other == reinterpret_cast<TObjQz*>(record.component)) continue;
        if (rel2str(other->name, name) == 0) return true;
    }
    return false;
}

void Fill(DialogRef dialog, const ModuleStruct& record)
{
    unsigned char number[16];
    NumberText(record.versionNb, number);
    SetText(dialog, kModuleName, record.name);
    SetText(dialog, kModuleDate, record.date);
    SetText(dialog, kModuleVersion, record.version);
    SetText(dialog, kModulePrefix, record.prefix);
    SetText(dialog, kModuleNumber, number);
    SetText(dialog, kModuleComments, record.comments);
}

void ReadBack(DialogRef dialog, ModuleStruct* record)
{
    unsigned char text[256];
    GetText(text, dialog, kModuleName);
    CopyP(record->name, text, kModuleNameMax);
    GetText(text, dialog, kModuleDate);
    CopyP(record->date, text, 80);
    GetText(record->version, dialog, kModuleVersion);
    GetText(text, dialog, kModulePrefix);
    CopyP(record->prefix, text, kModulePrefixMax);
    GetText(text, dialog, kModuleNumber);
    record->versionNb = TextNumber(text);
    GetText(record->comments, dialog, kModuleComments);
    record->rename = GetItemVal(dialog, kModuleRename) != 0;
    record->emptyComponent = GetItemVal(dialog, kModuleEmpty) != 0;
}

// The loop of the editable dialog: true on a confirmed OK.
bool RunEditable(DialogRef dialog, ModuleStruct* record)
{
    for (;;) {
        EnableItem(dialog, kModuleOK, OKAllowed(dialog));
        int16_t hit = 0;
        MyModalDialog(ModuleFilter, &hit);
        switch (hit) {
        case kModuleCancel: return false;
        case kModuleName: CutItem(dialog, kModuleName, kModuleNameMax); break;
        case kModuleNumber: KeepDigits(dialog); break;
        case kModulePrefix: CutItem(dialog, kModulePrefix, kModulePrefixMax); break;
        case kModuleComments: {
            unsigned char text[256];
            GetText(text, dialog, kModuleComments);
            if (text[0] > kModuleCommentsMax) SysBeep(1);
            break;
        }
        case kModuleFromSelection:
        case kModuleEmpty:
            if (!GetItemVal(dialog, hit)) {
                SetItemVal(dialog, kModuleFromSelection, hit == kModuleFromSelection);
                SetItemVal(dialog, kModuleEmpty, hit == kModuleEmpty);
            }
            break;
        case kModuleRename: ShowRename(dialog, GetItemVal(dialog, kModuleRename) == 0); break;
        case kModuleOK: {
            if (!OKAllowed(dialog)) break;
            unsigned char name[256];
            GetText(name, dialog, kModuleName);
            if (NameTaken(*record, name)) {
                unsigned char text[256];
                MyGetIndString(text, 1002, 23);
                XAlert(1000, text, kStopAlert);
                SelectDialogItemText(dialog, kModuleName, 0, 32767);
                break;
            }
            ReadBack(dialog, record);
            return true;
        }
        default: break;
        }
    }
}

}  // namespace

bool x_datevalide(const unsigned char* date)
{
    datum d{0, 0, 0};
    evaldate(date, &d);
    if (d.day == 0 && d.month == 0 && d.year == 0) return false;
    return datevalide(d);
}

void RemoveAlpha(unsigned char* text)
{
    uint8_t kept = 0;
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] >= '0' && text[i] <= '9') text[++kept] = text[i];
    text[0] = kept;
}

void DrawModuleDial(DialogRef dialog) { ValidateDialog(dialog); }

Boolean ModuleFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (PressOnReturn(dialog, *event, kModuleOK, item)) return true;
    return DrawOnUpdate(dialog, *event, item, DrawModuleDial) || DefaultFilter(dialog, event, item);
}

bool GetModule(ModuleStruct* record)
{
    const int16_t id = record->readOnly ? kModuleViewDialog : kModuleDialog;
    Handle dlog = nullptr, bits = nullptr;
    Rect saved{};
    DLogSaveScreen(FourCC("DLOG"), id, &dlog, &bits, &saved);
    DialogRef dialog = MyGetNewDialog(id, nullptr, reinterpret_cast<WindowRef>(-1));
    bool confirmed = false;
    if (dialog) {
        if (!record->offerSelection || record->readOnly) {
            HideDialogItem(dialog, kModuleFromSelection);
            HideDialogItem(dialog, kModuleEmpty);
        } else {
            SetItemVal(dialog, kModuleEmpty, record->emptyComponent != 0);
            SetItemVal(dialog, kModuleFromSelection, record->emptyComponent == 0);
            EnableItem(dialog, kModuleFromSelection, record->selectionUsable != 0);
            EnableItem(dialog, kModuleEmpty, record->selectionUsable != 0);
        }
        ShowRename(dialog, record->rename != 0);
        Fill(dialog, *record);
        ShowModal(dialog, kModuleOK, DrawModuleDial);
        if (record->readOnly) {
            int16_t hit = 0;
            while (hit != kModuleOK && hit != kModuleCancel) MyModalDialog(ModuleFilter, &hit);
        } else {
            SelectDialogItemText(dialog, kModuleName, 0, 32767);
            confirmed = RunEditable(dialog, record);
        }
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saved, false);
    return confirmed;
}

}  // namespace browser
