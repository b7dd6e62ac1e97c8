// The string list that literal texts move into (261): the lists of the
// structure's companion file, one row each (list definition 1003: name,
// id, number of strings), and a new one added by name and id.
//
// Items: 1 OK, 2 Cancel, 3 Add, 4 the lists, 5 the new list's name, 6 its
// id, 7 the columns' header, 11 a separator.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"

class TMainDoc;

namespace browser {

constexpr int16_t kStrListDialog = 261;
enum : int16_t {
    kStrListOK = 1,
    kStrListCancel = 2,
    kStrListAdd = 3,
    kStrListRows = 4,
    kStrListName = 5,
    kStrListId = 6,
    kStrListHeader = 7,
    kStrListSeparator = 11,
};
// The ids a new list may take.
constexpr int16_t kFirstListId = 15000;
constexpr int16_t kLastListId = 32000;
// A row: the name (256 bytes), the id and the string count, big-endian.
constexpr int32_t kStrRowId = 256;
constexpr int32_t kStrRowCount = 258;
constexpr int32_t kStrRowLength = 260;

// The rows while the dialog is open.
extern platform::ListHandle G_StrListHdl;

// The id of the list chosen, -1 on Cancel. The lists added in the dialog
// are created on OK (an empty list and its object in `doc`); one that
// cannot be made is said, its row goes and the dialog stays.
int16_t GetStrListID(TMainDoc* doc);

platform::Boolean GetStrListFilter(platform::DialogRef dialog, platform::EventRecord* event,
                                   platform::DialogItemIndex* item);
void GetStrListID_DrawStrDialog(platform::DialogRef dialog);

}  // namespace browser
