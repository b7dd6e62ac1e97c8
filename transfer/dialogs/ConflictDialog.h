// The conflict dialog (dialog 276): every visible record of a transfer's
// conflict list as a row with its choice, a filter, an export of the list,
// OK and Cancel. The user's picks change the records as they go; Cancel
// only answers "do not go on". The conflict preferences show the same
// dialog on records without objects, where a pick edits a default.
//
// Items: 1 OK, 2 Cancel, 3 Export, 4 the list, 5 the filter pop-up. The
// filter lives in the dialog window's reference value, the list in
// G_LongListHdl while the dialog is open. The dialog can be made taller
// (200 pixels at least, the screen's height less 24 at most) but keeps
// its width; its close box confirms.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "platform/dialogs/Dialogs.h"
#include "transfer/conflicts/ConflictList.h"

class TMainDoc;

namespace transfer {

constexpr int16_t kConflictDialog = 276;
enum : int16_t { kC_OK = 1, kC_Cancel = 2, kC_Export = 3, kC_List = 4, kC_FilterPopUp = 5 };
constexpr int16_t kC_MinHeight = 200;

// Shows the visible records of a transfer and answers whether to go on:
// true at once when no record is visible; else true exactly for OK (or
// the close box). A pick of choice 1, 8, 9 or 12 runs the record's Edit.
bool SolveConflicts(ObjListHdl* transfer, C_ListHdl list, TMainDoc* source, TMainDoc* dest);
// The preferences' form: true when confirmed; false without showing
// anything when no record is visible.
bool SolveC_Pref(C_ListHdl list);

// The steps of both, apart so that the open dialog can be looked at. Open
// disables the menus (the caller enables them again) and answers null when
// the dialog cannot be made; Run answers OK or Cancel; Close disposes of
// the dialog and its list.
platform::DialogRef OpenConflictDialog(const unsigned char* title, C_ListHdl list, ObjListHdl* transfer,
                                       TMainDoc* source, TMainDoc* dest, bool preferences);
int16_t RunConflictDialog(platform::DialogRef dialog);
void CloseConflictDialog(platform::DialogRef dialog);

// The dialog's event filter: Return and Enter press OK; a click on the
// filter's arrow picks a filter (item 5, or 0 when none is chosen); a
// click in the list is the list's, item 4 when it changed a choice (or
// picked rename or link again), else 0.
platform::Boolean C_Filter(platform::DialogRef dialog, platform::EventRecord* event, platform::DialogItemIndex* item);
// Draws the items, their frames, the filter's text with `count` rows, and
// the rows.
void C_DrawListBox(platform::DialogRef dialog, int32_t count);
// Lays the items out for the window's new size: the buttons keep their
// distance from the bottom right, the filter widens, the list grows.
void C_SizeListBox(platform::DialogRef dialog, const platform::Rect& newWindowRect);

// STR# 1001 item 30, the source's name, item 31, the destination's name.
void ConflictTitle(TMainDoc* source, TMainDoc* dest, unsigned char* out);

// The filter the dialog shows (its window's reference value).
int16_t DialogFilter(platform::DialogRef dialog);
// The text of item 5: STR# 1001 item 32, the filter's name and the count.
void FilterText(int16_t filter, int32_t count, unsigned char* out);

}  // namespace transfer
