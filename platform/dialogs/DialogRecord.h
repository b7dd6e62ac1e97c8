// The dialog record, shared by the dialog manager's files. Code outside
// goes through Dialogs.h.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/DialogTemplates.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/textedit/TextEdit.h"

namespace platform {

struct DialogItem {
    DialogItemType type = 0;  // with the disabled bit
    Rect box{0, 0, 0, 0};
    bool hidden = false;
    Handle text = nullptr;  // static and edit text, Mac Roman; the dialog's
    ControlRef control = nullptr;
    int16_t latentHilite = -1;  // a control's highlight while its dialog is inactive
    UserItemUPP proc = nullptr;
    Handle handle = nullptr;  // what SetDialogItem gave for other kinds
    int16_t resourceId = 0;
    // Edit text: the item's record of the text engine, made with the
    // dialog; the text handle above follows it.
    TEHandle te = nullptr;

    uint8_t Kind() const { return uint8_t(type & 0x7F); }
    bool Enabled() const { return !(type & itemDisable); }
    bool IsControl() const { return Kind() >= ctrlItem && Kind() <= ctrlItem + resCtrl; }
    bool IsEditText() const { return Kind() == editText; }
};

struct DialogRecord {
    WindowRef window = nullptr;
    std::vector<DialogItem> items;
    DialogItemIndex defaultItem = 1;
    DialogItemIndex cancelItem = 0;
    bool tracksCursor = false;
    DialogItemIndex focus = 0;  // the edit text taking keys, 0 none
    int16_t alertIcon = -1;     // an alert's icon, drawn top left
    int16_t alertID = 0;        // an alert's 'ALRT' resource, 0 for a dialog
    int16_t dialogID = 0;       // the 'DLOG' resource it was made from, 0 when none
    bool drawn = false;         // drawn once since it was shown
};

// The live dialogs, in the order they were made.
std::vector<DialogRef>& Dialogs();
bool IsLiveDialog(DialogRef dialog);
// Item n (from 1), or null.
DialogItem* ItemAt(DialogRef dialog, DialogItemIndex item);
// Makes a dialog on a window from an item list; null when memory runs out
// (the window is then disposed of).
DialogRef MakeDialog(WindowRef window, const std::vector<ItemTemplate>& items);
// The items of a 'DITL' image; false, with the resource error set, for a
// damaged or missing one.
bool ReadItemList(Handle items, std::vector<ItemTemplate>* list);
// NewDialog on items already read.
DialogRef NewDialogOfItems(const Rect& bounds, ConstStr255Param title, bool visible, int16_t procID, WindowRef behind,
                           bool goAwayFlag, uintptr_t refCon, const std::vector<ItemTemplate>& items);
// Static text with ^0..^3 replaced by the parameter texts.
std::string ExpandParams(const std::string& text);
std::string HandleText(Handle h);
// The height a static text takes in its item, wrapped to `width` (0 when
// it cannot be measured).
int16_t StaticTextHeight(const std::string& text, int16_t width);
// Draws one item in the dialog's port (current).
void DrawItem(DialogRef dialog, DialogItemIndex item);
// Erases and draws one item again, with the dialog's port made current.
void RedrawItem(DialogRef dialog, DialogItemIndex item);
// Presses a push button for the eye: 8 ticks highlighted.
void FlashButton(DialogRef dialog, DialogItemIndex item);

// Edit text items: their records, the keyboard focus, keys, clicks, the
// scrap. MakeEditTexts is false when memory runs out.
bool MakeEditTexts(DialogRef dialog);
// The item's text handle was given new text: the record takes it.
void SetEditText(DialogRef dialog, DialogItemIndex item);
void FocusEditText(DialogRef dialog, DialogItemIndex item, int16_t start, int16_t end);
bool EditTextKey(DialogRef dialog, const EventRecord& event);
void EditTextClick(DialogRef dialog, DialogItemIndex item, Point where, bool extend);
void DrawEditText(DialogRef dialog, DialogItemIndex item);
void EditTextIdle(DialogRef dialog);
void DisposeEditTexts(DialogRef dialog);

void ResetSysBeepCount();

}  // namespace platform
