// The dialog manager: dialogs and alerts built from 'DLOG', 'ALRT' and
// 'DITL' resources, their items (buttons, check boxes, radio buttons,
// 'CNTL' controls, static and editable text, icons, pictures and user
// items drawn by the application), the modal loop with its filter, and the
// system beep.
//
// Item rectangles are in the dialog window's local coordinates; items are
// numbered from 1 in their 'DITL' order.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls/Controls.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"

namespace platform {

struct DialogRecord;
using DialogRef = DialogRecord*;
using DialogPtr = DialogRecord*;
using DialogItemIndex = int16_t;
using DialogItemType = int16_t;

// Item types; +128 disables an item (it is drawn but answers nothing).
enum : DialogItemType {
    userItem = 0,
    helpItem = 1,
    ctrlItem = 4,
    btnCtrl = 0,
    chkCtrl = 1,
    radCtrl = 2,
    resCtrl = 3,
    statText = 8,
    editText = 16,
    iconItem = 32,
    picItem = 64,
    itemDisable = 128,
    kButtonDialogItem = ctrlItem + btnCtrl,
    kCheckBoxDialogItem = ctrlItem + chkCtrl,
    kRadioButtonDialogItem = ctrlItem + radCtrl,
    kResourceControlDialogItem = ctrlItem + resCtrl,
    kStaticTextDialogItem = statText,
    kEditTextDialogItem = editText,
    kIconDialogItem = iconItem,
    kPictureDialogItem = picItem,
    kUserDialogItem = userItem,
};

// Alert icons in the system file ('ICON').
enum : int16_t { kStopIcon = 0, kNoteIcon = 1, kCautionIcon = 2 };

using ModalFilterProcPtr = Boolean (*)(DialogRef dialog, EventRecord* event, DialogItemIndex* itemHit);
using ModalFilterUPP = ModalFilterProcPtr;
inline ModalFilterUPP NewModalFilterUPP(ModalFilterProcPtr p) { return p; }
inline void DisposeModalFilterUPP(ModalFilterUPP) {}
using UserItemProcPtr = void (*)(DialogRef dialog, DialogItemIndex item);
using UserItemUPP = UserItemProcPtr;
inline UserItemUPP NewUserItemUPP(UserItemProcPtr p) { return p; }
inline void DisposeUserItemUPP(UserItemUPP) {}

// A user item's handle is its drawing procedure.
inline Handle UserItemHandle(UserItemUPP proc) { return reinterpret_cast<Handle>(proc); }

// Creation. `behind` as for windows. Null when the resources are missing
// or damaged (ResError says which) or memory runs out.
DialogRef GetNewDialog(int16_t dialogID, void* storage, WindowRef behind);
// A dialog on items given as a 'DITL' image in a handle (the dialog keeps a
// copy).
DialogRef NewDialog(void* storage, const Rect* bounds, ConstStr255Param title, Boolean visible, int16_t procID,
                    WindowRef behind, Boolean goAwayFlag, uintptr_t refCon, Handle items);
void DisposeDialog(DialogRef dialog);
WindowRef GetDialogWindow(DialogRef dialog);
CGrafPtr GetDialogPort(DialogRef dialog);
// Null when the window is not a dialog's.
DialogRef GetDialogFromWindow(WindowRef window);

// Drawing.
void DrawDialog(DialogRef dialog);
// The items meeting the region (local coordinates).
void UpdateDialog(DialogRef dialog, RgnHandle region);

// Events.
Boolean IsDialogEvent(const EventRecord* event);
// Handles an event of a dialog; true with the dialog and the item when an
// enabled item was hit.
Boolean DialogSelect(const EventRecord* event, DialogRef* dialog, DialogItemIndex* itemHit);
// Runs the front dialog (the newest one when the front window is not a
// dialog) until an enabled item is hit; answers 0 when there is no dialog.
// The filter sees every event first; then Return and Enter press the
// default item, Escape and Command-period the cancel item.
void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit);
// Called with a dialog or alert that a scripted answer ends, while it still
// shows: headless tests read what it said. Null: nobody is told.
using ScriptedAnswerObserver = void (*)(DialogRef dialog);
void SetScriptedAnswerObserver(ScriptedAnswerObserver observer);
OSErr GetStdFilterProc(ModalFilterUPP* proc);
// Escape (its key, or clear) and Command-period: the keys that press a
// dialog's cancel item before any filter of the caller sees them.
bool IsCancelKey(const EventRecord& event);
OSErr SetDialogDefaultItem(DialogRef dialog, DialogItemIndex item);
OSErr SetDialogCancelItem(DialogRef dialog, DialogItemIndex item);
OSErr SetDialogTracksCursor(DialogRef dialog, Boolean tracks);

// Items.
void GetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType* type, Handle* handle, Rect* box);
void SetDialogItem(DialogRef dialog, DialogItemIndex item, DialogItemType type, Handle handle, const Rect* box);
OSErr GetDialogItemAsControl(DialogRef dialog, DialogItemIndex item, ControlRef* control);
void HideDialogItem(DialogRef dialog, DialogItemIndex item);
void ShowDialogItem(DialogRef dialog, DialogItemIndex item);
// The item under the point (local), counted from 0; -1 for none.
DialogItemIndex FindDialogItem(DialogRef dialog, Point where);
int16_t CountDITL(DialogRef dialog);

// Text of static and edit text items, through the item's handle.
void GetDialogItemText(Handle item, Str255 text);
// The text an item shows: a static item's with ^0-^3 put in as drawn.
void GetDialogItemShownText(DialogRef dialog, DialogItemIndex item, Str255 text);
void SetDialogItemText(Handle item, ConstStr255Param text);
void SelectDialogItemText(DialogRef dialog, DialogItemIndex item, int16_t start, int16_t end);
DialogItemIndex GetDialogKeyboardFocusItem(DialogRef dialog);
// The text record of the edit text item with the keyboard focus (each
// edit text item has its own); null when none has it.
TEHandle GetDialogTextEditHandle(DialogRef dialog);
void DialogCut(DialogRef dialog);
void DialogCopy(DialogRef dialog);
void DialogPaste(DialogRef dialog);
void DialogDelete(DialogRef dialog);

// ^0 to ^3 in static text become these when drawn (null keeps one as it
// is); the texts themselves are not expanded again.
void ParamText(ConstStr255Param p0, ConstStr255Param p1, ConstStr255Param p2, ConstStr255Param p3);

// Alerts from 'ALRT' `alertID`: answers the item hit, -1 when the
// resources are missing or damaged. The alert is centred a third of the way
// down the screen unless its template gives another position. A static
// text longer than its item wraps, and the item, what lies below it and
// the alert grow to hold it: no text is cut. Each call in
// a row with the same alert moves one stage on (up to the fourth), each
// stage beeping as it says; every stage shows the alert.
DialogItemIndex Alert(int16_t alertID, ModalFilterUPP filter);
DialogItemIndex StopAlert(int16_t alertID, ModalFilterUPP filter);
DialogItemIndex NoteAlert(int16_t alertID, ModalFilterUPP filter);
DialogItemIndex CautionAlert(int16_t alertID, ModalFilterUPP filter);

// An alert made of its texts (Mac Roman, as every item's) and one or two
// buttons, for the platform's own questions and notices: item 1 is the
// default text's button ("OK" when none is given), item 2 the cancel
// text's, when given; the icon by the type (none for a plain alert).
using AlertType = int16_t;
enum : AlertType { kAlertStopAlert = 0, kAlertNoteAlert = 1, kAlertCautionAlert = 2, kAlertPlainAlert = 3 };
enum : DialogItemIndex { kAlertStdAlertOKButton = 1, kAlertStdAlertCancelButton = 2 };
struct AlertStdAlertParamRec {
    std::string defaultText;
    std::string cancelText;
    DialogItemIndex defaultButton = kAlertStdAlertOKButton;  // the one Return presses
};
OSErr StandardAlert(AlertType type, const std::string& error, const std::string& explanation,
                    const AlertStdAlertParamRec* param, DialogItemIndex* outItemHit);
int16_t GetAlertStage();
void ResetAlertStage();

// The beep: counted; in a live run the menu bar flashes.
void SysBeep(int16_t duration);
uint32_t SysBeepCount();

// Forgets the dialogs' shared state: parameter texts, alert stage, beeps
// (tests).
void ResetDialogManager();

}  // namespace platform
