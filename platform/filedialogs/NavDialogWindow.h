// The file dialog's window on the virtual screen: the folder pop-up, the
// list of what the dialog shows, the type pop-up (open) or the name field
// (save), the custom area for the caller's buttons, and the buttons.
#pragma once

#include "platform/filedialogs/NavDialogModel.h"

namespace platform {

// Item numbers of the dialog's own items.
enum : int16_t {
    kNavItemAction = 1,
    kNavItemCancel = 2,
    kNavItemMessage = 3,
    kNavItemList = 4,
    kNavItemName = 5,  // the save name (save dialogs)
    kNavItemNewFolder = 6,
};

// Makes the window (hidden until shown); false when it cannot be made.
bool NavOpenWindow(NavDialogRef dialog);
// Sizes the window for the custom area the caller asked for and shows it.
void NavShowWindow(NavDialogRef dialog);
void NavCloseWindow(NavDialogRef dialog);
// Lists the folder again and rebuilds the folder pop-up.
void NavRefreshWindow(NavDialogRef dialog);
// An event the caller's callback did not end the dialog with.
void NavWindowEvent(NavDialogRef dialog, EventRecord* event);
// Where an item of the dialog's list lies (global), for scripts and tests;
// false when the row is not shown.
bool NavRowCentre(NavDialogRef dialog, int16_t row, Point* where);

}  // namespace platform
