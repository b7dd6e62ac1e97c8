// Drawing an item list with the platform's drawing calls inside its area:
// as a scrolling list (dessliste, one row by dessitem) or as a pop-up that
// shows the selected item (DrawxPopup); the end of in-place editing; the
// icons of items; and the dialog user item that draws the lists of a
// registered dialog.
//
// Rows: row n (1-based) of the last layout is drawn at area top + row
// height x (n - first shown - 1), its text baseline the two baseline
// offsets lower; a row height of -1 makes one row fill the area. Only
// rows 1 to the visible count are ever drawn, and a text is never read
// past its item's handle.
#pragma once

#include <cstdint>

#include "forms/lists/ItemList.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/theme/Theme.h"

// Default disclosure icons ('cicn'); the open state uses the next id.
constexpr int16_t kListBoxIcon = 138;       // dotted-line style
constexpr int16_t kListTriangleIcon = 140;  // triangle style
// The square a disclosure icon is plotted in.
constexpr int16_t kDisclosureSquare = 32;
// The standard colours of a highlighted row: its text and its background.
constexpr int32_t kHiliteTextColour = 28;
constexpr int32_t kHiliteBackColour = 30;
// Mark -1 draws this string ('STR#' 1083 item 27).
constexpr int16_t kMarkStrings = 1083;
constexpr int16_t kCheckMarkIndex = 27;

// The current port's pen, colours and text settings, put back when this
// goes out of scope (the rows and the previews draw with their own).
class KeptDrawingState {
public:
    KeptDrawingState() { platform::GetThemeDrawingState(&state_); }
    ~KeptDrawingState()
    {
        if (state_) platform::SetThemeDrawingState(state_, true);
    }
    KeptDrawingState(const KeptDrawingState&) = delete;
    KeptDrawingState& operator=(const KeptDrawingState&) = delete;

private:
    platform::ThemeDrawingState state_ = nullptr;
};

// What a custom draw procedure is handed.
struct ItemDrawRecord {
    itemlistrec* list;
    ItemHandle item;
    bool selected;
};
// While a custom draw procedure runs: its item's number, and its list.
extern int16_t list_ll;
extern itemlistrec* CurListToDraw;

// Lays out when needed, erases the area and draws the rows shown, clipped
// to the area; then the edit frame's focus ring and the dialog's focus
// frame.
void dessliste(itemlistrec* list);
void dessliste_focusring(itemlistrec* list);
// Row n with its selection state; noLines leaves out the tree lines and
// the boxes of the dotted-line style. Nothing for a row not laid out.
void dessitem(itemlistrec* list, int32_t n, bool selected, bool noLines);
// Row n's rectangle across the area.
platform::Rect GetItemRowRect(itemlistrec* list, int32_t n);
// Row n from where its text (or its item's icon) starts to the area's right.
void gettextitemrect(itemlistrec* list, int32_t n, platform::Rect* r);
// The 50% pattern of the dotted lines: 0xAA55AA55 on even rows, 0x55AA55AA
// on odd ones, so that lines of consecutive rows join.
void BuildLinePattern(int32_t row, platform::Pattern* pattern);
// Erases r in the highlight background (with a grey frame in the
// dotted-line style).
void eraserecthilite(itemlistrec* list, const platform::Rect* r);
// Inverts row n with the platform's highlight while the list is shown.
void invertitem(itemlistrec* list, int32_t n);
// The selected item's text in a shadowed box of the area less 2 pixels.
void DrawxPopup(itemlistrec* list);

// Stores the edit frame's text into the selected item, remembers the row
// and sets the edited byte; hides and releases the edit frame and the
// second frame. Nothing without an edit frame.
void StopEditInList(itemlistrec* list);
// The list is drawn through native controls (always).
bool UseNatifControl();

// An icon reference's size: an icon family by its icons, a picture by its
// frame; 0 x 0 for none.
void GetListIconDims(int32_t reference, int16_t* width, int16_t* height);
// Draws a picture icon at r's top-left in its own size, black on white;
// icon families are left to the caller.
void DrawListIcon(int32_t reference, const platform::Rect* r);

// The dialog registry: the lists of a dialog's user items 1 to 50 by item
// number. Nothing registers dialogs yet, so the user item finds no list.
constexpr int16_t kLliMaxItems = 50;
struct LliRec {
    platform::DialogRef dialog;
    itemlistrec* lists[kLliMaxItems];
    int16_t count;    // lists registered
    int16_t focused;  // item number of the focused list
};
extern LliRec* llidlg;
extern int16_t nlli;
// The last entry (1-based) of the dialog, 0 when none.
int16_t quellli(platform::DialogRef dialog);
// The user-item procedure: draws the item's list, greyed while not shown.
void itemlist(platform::DialogRef dialog, platform::DialogItemIndex item);
