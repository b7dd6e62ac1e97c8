// The filter dialog (268): lists the stored filters ('FLT2' of the
// preferences file), adds, renames, deletes them, opens the criteria
// dialog on one, and chooses in three columns the panes whose filter menu
// offers each (where-used, main list, uses). OK saves the whole set; the
// filter that was first (id 128, the default) stays first, the others
// follow in name order from 129. Cancel leaves the file and the loaded
// filters as they were at opening.
//
// Items: 1 OK, 2 Cancel, 3 Add, 4 the list, 5 the name, 6 the column
// header, 10 Edit criteria, 11 Rename, 15 Delete.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"

class TPlan;

namespace browser {

constexpr int16_t kFilterDialog = 268;
enum : int16_t {
    kFilterOK = 1,
    kFilterCancel = 2,
    kFilterAdd = 3,
    kFilterList = 4,
    kFilterName = 5,
    kFilterHeader = 6,
    kFilterEdit = 10,
    kFilterRename = 11,
    kFilterDelete = 15,
};

// A row of the list (268 bytes, big-endian): the name, the resource id,
// the term count, which record of the dialog it shows (its slot), set
// when it changed, then the three pane flags.
enum : int32_t {
    kRowId = 256,
    kRowCount = 258,
    kRowSlot = 260,
    kRowModified = 264,
    kRowUsedBy = 265,  // bit 38
    kRowList = 266,    // bit 39
    kRowUses = 267,    // bit 40
    kRowLength = 268,
};

// The flag columns from the list's left edge: 16 pixels each, clicked
// where they are drawn.
constexpr int16_t kFlagColumnLeft = 158;
constexpr int16_t kFlagColumnWidth = 16;
// The header's column boxes (and its icons) from the header's left.
constexpr int16_t kHeaderColumnLeft = 152;

// The dialog's state while it runs.
struct EditFiltersLink {
    platform::DialogRef dialog = nullptr;
    // Per slot: the loaded resource, or a new copy of the default filter.
    std::vector<platform::Handle> records;
    // The bytes of each loaded resource at opening (Cancel puts them back).
    std::vector<std::vector<uint8_t>> opened;
    std::vector<bool> loaded;
    int16_t lastRow = -1;
    uint32_t lastTicks = 0;
    bool doubleClick = false;
};

// The list while the dialog is open.
extern platform::ListHandle G_ListHdl;

// True when OK saved the filters anew.
bool EditFilters();
platform::Boolean EditFilterListFilter(platform::DialogRef dialog, platform::EventRecord* event,
                                       platform::DialogItemIndex* item);
platform::Boolean EditFilterClickLoop();
void EditFilters_DrawMyDialog(platform::DialogRef dialog);
// List definition 1004.
void FilterListIdProc(int16_t message, platform::Boolean selected, platform::Rect* cell, platform::Cell where,
                      int32_t dataOffset, int16_t dataLength, platform::ListHandle list);

// Saving: the rows in list order take ids 128, 129... The new set is
// added whole under spare ids before the old filters go, then takes its
// ids, in one update of the preferences file. On any failure the old
// filters stay (in memory and on disk) and the error is answered.
platform::OSErr SaveFilters(platform::ListHandle list, const EditFiltersLink& link);

// Refills the filter menus of a browser window's three panes (any may be
// null) from the stored filters and resets each to the default filter.
void DoUpdateFilters(::TPlan* usedBy, ::TPlan* list, ::TPlan* uses);

// Row fields.
int16_t RowId(platform::ListHandle list, int16_t row);
int32_t RowSlot(platform::ListHandle list, int16_t row);
void RowName(platform::ListHandle list, int16_t row, unsigned char* name);

}  // namespace browser
