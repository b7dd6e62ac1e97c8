#include "browser/dialogs/NamingDialogs.h"

#include <cstring>
#include <functional>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "browser/Panes.h"
#include "browser/dialogs/DialogDrawing.h"
#include "browser/dialogs/RenameDialog.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"
#include "platform/text/NumberStrings.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kErrors = 1002;
constexpr int16_t kTooLongQuestion = 33;
constexpr int16_t kNameTaken = 23;

// A variable's prefix (empty for other objects and names without one).
void VariableMarker(TObjQz* obj, const unsigned char* name, unsigned char* marker)
{
    marker[0] = 0;
    if (obj->kind != 9) return;
    if (IsGlobalVarName(name)) std::memcpy(marker, stglobglob, size_t(stglobglob[0]) + 1);
    else if (IsLocalVarName(name)) std::memcpy(marker, stlocalvar, size_t(stlocalvar[0]) + 1);
}

void Prepend(unsigned char* name, const unsigned char* front)
{
    unsigned char out[256];
    CutName(out, front, 255);
    const int n = std::min<int>(name[0], 255 - out[0]);
    std::memcpy(out + 1 + out[0], name + 1, size_t(n));
    out[0] = uint8_t(out[0] + n);
    std::memcpy(name, out, size_t(out[0]) + 1);
}

void Drop(unsigned char* name, uint8_t n)
{
    n = std::min(n, name[0]);
    std::memmove(name + 1, name + 1 + n, size_t(name[0] - n));
    name[0] = uint8_t(name[0] - n);
}

// Each selected row's object that can be renamed, in row order.
void EachRenamable(LongListHandle selection, const std::function<bool(TObjQz*)>& each)
{
    for (int32_t row = 0; selection && LongLGetSelect(true, &row, selection); ++row) {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, selection));
        if (obj && obj->EnableReplace() && !each(obj)) return;
    }
}

// True when no name grows too long, or the person goes on anyway.
bool LengthsAccepted(LongListHandle selection, const std::function<bool(TObjQz*, unsigned char*)>& newName)
{
    bool tooLong = false;
    EachRenamable(selection, [&](TObjQz* obj) {
        unsigned char name[256];
        tooLong = newName(obj, name) && TooLong(obj, name);
        return !tooLong;
    });
    if (!tooLong) return true;
    Str255 text;
    MyGetIndString(text, kErrors, kTooLongQuestion);
    return XAlert(1002, text, kCautionAlert) != 2;
}

// A text typed past `longest` beeps and is cut.
void CutTyped(DialogRef dialog, int16_t item, uint8_t longest)
{
    Str255 text;
    GetText(text, dialog, item);
    if (text[0] <= longest) return;
    SysBeep(1);
    text[0] = longest;
    SetText(dialog, item, text);
    SelectDialogItemText(dialog, item, longest, longest);
}

// A text that begins as a variable's name beeps and loses its first
// character.
void DropVariablePrefix(DialogRef dialog, int16_t item)
{
    Str255 text;
    GetText(text, dialog, item);
    if (!IsGlobalVarName(text) && !IsLocalVarName(text)) return;
    SysBeep(1);
    Drop(text, 1);
    SetText(dialog, item, text);
    SelectDialogItemText(dialog, item, text[0], text[0]);
}

void DrawNaming(DialogRef dialog) { ValidateDialog(dialog); }

// Runs dialog `id` until OK is accepted or Cancel hit; `onItem` sees each
// item hit and answers false to keep the dialog open on OK. `prepare`
// sets the items before the dialog shows.
bool RunNaming(int16_t id, ModalFilterUPP filter, void (*draw)(DialogRef),
               const std::function<bool(DialogRef, int16_t)>& onItem,
               const std::function<void(DialogRef)>& prepare = nullptr)
{
    GrafPtr callerPort = nullptr;
    GetPort(&callerPort);
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), id, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(id, nullptr, reinterpret_cast<WindowRef>(-1));
    bool confirmed = false;
    if (dialog) {
        if (prepare) prepare(dialog);
        ShowModal(dialog, kNamingOK, draw);
        int16_t hit = 0;
        while (hit != kNamingOK && hit != kNamingCancel) {
            MyModalDialog(filter, &hit);
            if (!onItem(dialog, hit)) hit = 0;
        }
        confirmed = hit == kNamingOK;
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    DisableFunc(26);
    SetPort(callerPort);
    return confirmed;
}

Boolean NamingFilter(DialogRef dialog, EventRecord* event, DialogItemIndex* item)
{
    if (PressOnReturn(dialog, *event, kNamingOK, item)) return true;
    return DrawOnUpdate(dialog, *event, item, DrawNaming);
}

}  // namespace

void GetPrefix_DrawPrefixDialog(DialogRef dialog) { DrawNaming(dialog); }
void GetSel_Replace_DrawSel_ReplaceDialog(DialogRef dialog) { DrawNaming(dialog); }

void PrefixedName(TObjQz* obj, const unsigned char* prefix, unsigned char* out)
{
    obj->GetName(out);
    unsigned char marker[256];
    VariableMarker(obj, out, marker);
    Drop(out, marker[0]);
    Prepend(out, prefix);
    Prepend(out, marker);
}

bool ReplacedName(TObjQz* obj, const unsigned char* find, const unsigned char* replacement, unsigned char* out)
{
    obj->GetName(out);
    unsigned char marker[256];
    VariableMarker(obj, out, marker);
    Drop(out, marker[0]);
    if (!ReplaceChars(out, find, replacement)) return false;
    Prepend(out, marker);
    return true;
}

bool TooLong(TObjQz* obj, const unsigned char* name)
{
    unsigned char marker[256];
    VariableMarker(obj, name, marker);
    return name[0] - marker[0] > obj->MaxNameLen();
}

void CutToRoom(TObjQz* obj, unsigned char* name)
{
    unsigned char marker[256];
    VariableMarker(obj, name, marker);
    CutName(name, name, int16_t(obj->MaxNameLen() + marker[0]));
}

bool EmptyBehindMarker(TObjQz* obj, const unsigned char* name)
{
    unsigned char marker[256];
    VariableMarker(obj, name, marker);
    return name[0] <= marker[0];
}

bool GetGroupName(TMainDoc* doc, unsigned char* name)
{
    Str255 typed{0};
    const bool confirmed = RunNaming(
        kGroupNameDialog, NamingFilter, DrawNaming,
        [&](DialogRef dialog, int16_t item) {
            if (item == kNamingText) CutTyped(dialog, kNamingText, kLongestGroupName);
            if (item != kNamingOK) return true;
            GetText(typed, dialog, kNamingText);
            if (typed[0] == 0) {
                SysBeep(1);
                return false;
            }
            if (doc && SearchObj_Name(doc, 23, typed)) {
                Str255 text;
                MyGetIndString(text, kErrors, kNameTaken);
                XAlert(1000, text, kStopAlert);
                SelectDialogItemText(dialog, kNamingText, 0, 32767);
                return false;
            }
            return true;
        });
    if (confirmed) CutName(name, typed, kLongestGroupName);
    return confirmed;
}

bool GetPrefix(unsigned char* prefix, LongListHandle selection)
{
    Str255 typed{0};
    const bool confirmed = RunNaming(
        kPrefixDialog, ReplaceFilter, GetPrefix_DrawPrefixDialog,
        [&](DialogRef dialog, int16_t item) {
            if (item == kNamingText) CutTyped(dialog, kNamingText, kLongestNamePart);
            if (item != kNamingOK) return true;
            GetText(typed, dialog, kNamingText);
            return LengthsAccepted(selection, [&](TObjQz* obj, unsigned char* name) {
                PrefixedName(obj, typed, name);
                return true;
            });
        });
    if (confirmed) std::memcpy(prefix, typed, size_t(typed[0]) + 1);
    return confirmed;
}

bool GetSel_Replace(unsigned char* find, unsigned char* replacement, LongListHandle selection)
{
    Str255 found{0}, replaced{0};
    const bool confirmed = RunNaming(
        kSelReplaceDialog, ReplaceFilter, GetSel_Replace_DrawSel_ReplaceDialog,
        [&](DialogRef dialog, int16_t item) {
            if (item == kNamingText || item == kNamingReplacement) {
                CutTyped(dialog, item, kLongestNamePart);
                DropVariablePrefix(dialog, item);
            }
            if (item != kNamingOK) return true;
            GetText(found, dialog, kNamingText);
            GetText(replaced, dialog, kNamingReplacement);
            return LengthsAccepted(selection, [&](TObjQz* obj, unsigned char* name) {
                return ReplacedName(obj, found, replaced, name);
            });
        });
    if (confirmed) {
        std::memcpy(find, found, size_t(found[0]) + 1);
        std::memcpy(replacement, replaced, size_t(replaced[0]) + 1);
    }
    return confirmed;
}

bool GetTxt_Replace(unsigned char* find, unsigned char* replacement)
{
    Str255 found{0}, replaced{0};
    const bool confirmed = RunNaming(
        kTxtReplaceDialog, nullptr, DrawNaming,
        [&](DialogRef dialog, int16_t item) {
            if (item == kNamingOK) {
                GetText(found, dialog, kNamingText);
                GetText(replaced, dialog, kNamingReplacement);
            }
            return true;
        });
    if (confirmed) {
        std::memcpy(find, found, size_t(found[0]) + 1);
        std::memcpy(replacement, replaced, size_t(replaced[0]) + 1);
    }
    return confirmed;
}

}  // namespace browser

namespace browser {

namespace {

void ChooseScale(DialogRef dialog, int16_t button)
{
    for (int16_t item : {kScaleEnlarge, kScaleReduce, kScaleTyped}) SetItemVal(dialog, item, item == button);
}

// The scale typed in the dialog: digits only, 1 to 32767.
bool TypedScale(DialogRef dialog, int16_t* scale)
{
    Str255 text;
    GetText(text, dialog, kScaleNumber);
    if (text[0] == 0 || text[0] > 5) return false;
    for (int i = 1; i <= text[0]; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    int32_t n = 0;
    StringToNum(text, &n);
    if (n < 1 || n > 32767) return false;
    *scale = int16_t(n);
    return true;
}

}  // namespace

int16_t GetScaleLayoutParm(ScaleLayoutParmRec* params)
{
    ScaleLayoutParmRec chosen;
    const bool confirmed = RunNaming(
        kScaleDialog, NamingFilter, DrawNaming,
        [&](DialogRef dialog, int16_t item) {
            if (item == kScaleEnlarge || item == kScaleReduce || item == kScaleTyped) ChooseScale(dialog, item);
            if (item == kScaleNumber) ChooseScale(dialog, kScaleTyped);
            if (item == kScaleTexts) SetItemVal(dialog, kScaleTexts, GetItemVal(dialog, kScaleTexts) ? 0 : 1);
            if (item != kNamingOK) return true;
            chosen.flag = GetItemVal(dialog, kScaleTexts) ? 1 : 0;
            if (GetItemVal(dialog, kScaleEnlarge)) chosen.scale = 134;
            else if (GetItemVal(dialog, kScaleReduce)) chosen.scale = 75;
            else if (!TypedScale(dialog, &chosen.scale)) {
                SysBeep(1);
                SelectDialogItemText(dialog, kScaleNumber, 0, 32767);
                return false;
            }
            return true;
        },
        [](DialogRef dialog) { ChooseScale(dialog, kScaleReduce); });
    if (!confirmed) return kScaleCancelled;
    *params = chosen;
    return 0;
}

}  // namespace browser
