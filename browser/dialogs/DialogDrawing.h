// What the browser's modal dialogs share: item boxes and their enabling,
// the default button's outline, framed captions, name comparison, the
// check lists they keep in a user item, and the drag over a list's rows
// that gives every row passed the inverse of the first one's state.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"

namespace browser {

// The item's rectangle (local); empty for an item the dialog lacks.
platform::Rect ItemBox(platform::DialogRef dialog, int16_t item);
// Enabled buttons answer clicks; dimmed ones (highlight 255) do not.
void EnableItem(platform::DialogRef dialog, int16_t item, bool enabled);
bool ItemEnabled(platform::DialogRef dialog, int16_t item);
// The default button takes its outline (and Return presses it).
void OutlineDefault(platform::DialogRef dialog, int16_t item);
// A user item drawn by `draw` whenever the dialog draws its items.
void SetItemDrawing(platform::DialogRef dialog, int16_t item, platform::UserItemProcPtr draw);
// The dialog made ready for its loop: the default button outlined, the
// window shown, the Edit menu set for a dialog, the whole drawn.
void ShowModal(platform::DialogRef dialog, int16_t defaultItem, void (*draw)(platform::DialogRef dialog));
// A mouse-down in the dialog's content: true with the point in the
// dialog's coordinates (the current port is left as it was).
bool ContentClick(platform::DialogRef dialog, const platform::EventRecord& event, platform::Point* local);
// A 3-D frame around the item and the caption STR# `list` item `index`
// centred in it, in the list font.
void FramedCaption(platform::DialogRef dialog, int16_t item, int16_t list, int16_t index);

// The dialog's port current while this lives; the port before it after.
class DialogPortScope {
public:
    explicit DialogPortScope(platform::DialogRef dialog);
    ~DialogPortScope();
    DialogPortScope(const DialogPortScope&) = delete;
    DialogPortScope& operator=(const DialogPortScope&) = delete;

private:
    platform::GrafPtr fSaved = nullptr;
};

// The port's text settings (font, size, face, mode, extra space), given
// back when this goes.
class SavedPortText {
public:
    SavedPortText();
    ~SavedPortText();
    SavedPortText(const SavedPortText&) = delete;
    SavedPortText& operator=(const SavedPortText&) = delete;

private:
    int16_t fFont = 0, fSize = 0, fMode = 0;
    platform::Fixed fExtra = 0;
    platform::StyleField fFace = 0;
    bool fValid = false;
};
// The port's text back to the system font, 12 points, plain.
void RestoreDialogFont();
// Return or Enter: presses `button` (8 ticks of highlight) when it is
// enabled; true for either key, which is then consumed.
bool PressOnReturn(platform::DialogRef dialog, const platform::EventRecord& event, int16_t button,
                   platform::DialogItemIndex* item);

// Byte for byte; and as the document's look-ups compare names (without
// regard to case).
bool SameName(const unsigned char* a, const unsigned char* b);
bool SameNameNoCase(const unsigned char* a, const unsigned char* b);

// Subtracts `from` from *point in place (vertical and horizontal).
void subpt(platform::Point from, platform::Point* point);

// A one-column list of the definition inside the item (inset by 1, the
// vertical scroll bar's 15 pixels inside it), its rows as high as the
// list font's line; no horizontal scrolling. Null when it cannot be made.
platform::ListHandle NewItemList(platform::DialogRef dialog, int16_t item, int16_t listDef,
                                 platform::ListClickLoopUPP clickLoop);
// The rows' area of such a list (the item inset by 1, without the bar).
platform::Rect ItemListCells(platform::DialogRef dialog, int16_t item);
// A 3-D frame around the item and the list drawn in the window's visible
// region.
void DrawItemList(platform::DialogRef dialog, int16_t item, platform::ListHandle list);
// The window validated and the dialog drawn whole (its user items draw
// the frames, pop-ups and lists); the port's font back to the system's.
void ValidateDialog(platform::DialogRef dialog);
// Select All (command 26) enabled while the dialog is active, disabled
// when it is not; the menu bar drawn again.
void SelectAllWhileActive(platform::DialogRef dialog, const platform::EventRecord& event);
// An update of the dialog's own window: drawn by `draw`, answered with
// no item. False for any other event.
bool DrawOnUpdate(platform::DialogRef dialog, const platform::EventRecord& event, platform::DialogItemIndex* item,
                  void (*draw)(platform::DialogRef dialog));

// The drag of a click loop over a check list: the clicked row takes the
// inverse of its state and every row the mouse then passes takes that
// value. The clicked row is settled at the click itself, so that a click
// shorter than the loop's first turn counts, and a mouse already moved on
// by then does not make another row the first.
class RowDrag {
public:
    // Where in a cell the state a point changes lies: its byte offset, or
    // -1 where a point changes nothing. The point is relative to the
    // list's view.
    using StateAt = int32_t (*)(platform::Point relative);
    // Starts with the click (local): a point on a row settles it.
    void Begin(platform::ListHandle list, StateAt stateAt, platform::Point clicked);
    // One step with the mouse where it is now (the click loop's).
    void Step();
    void End() { fList = nullptr; }

private:
    void At(platform::Point local);

    platform::ListHandle fList = nullptr;
    StateAt fStateAt = nullptr;
    bool fStarted = false;
    uint8_t fValue = 0;
};

// The rows of a one-column list.
int16_t ListRows(platform::ListHandle list);
// The row under a point of the list's view, clamped into the rows; -1 for
// a list without rows.
int16_t RowAt(platform::ListHandle list, platform::Point local);
// The row under a point inside the view; -1 outside it or below the rows.
int16_t RowOn(platform::ListHandle list, platform::Point local);
// A byte of a cell; 0 past the cell's data.
uint8_t CellByte(platform::ListHandle list, int16_t row, int32_t offset);
void SetCellByte(platform::ListHandle list, int16_t row, int32_t offset, uint8_t value);

}  // namespace browser
