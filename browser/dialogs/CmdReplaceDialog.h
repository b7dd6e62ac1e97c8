// The command-replace dialog (283): the command (or method) whose calls are
// replaced, picked in the first list or typed, and the project method that
// replaces it, picked in the second list or typed as the name of a new one.
//
// Items: 1 Replace (both chosen), 2 Cancel, 3 Create and Replace (a new
// method of the typed name), 4 the first list, 5 its text, 6 the second
// list, 7 its text. The lists' rows are pick-list rows (list definition
// 1002) of object pointers.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"

namespace browser {

constexpr int16_t kCmdReplaceDialog = 283;
enum : int16_t {
    kCmdReplaceOK = 1,
    kCmdReplaceCancel = 2,
    kCmdReplaceCreate = 3,
    kCmdReplaceFirstList = 4,
    kCmdReplaceFirstText = 5,
    kCmdReplaceSecondList = 6,
    kCmdReplaceSecondText = 7,
};
constexpr uint8_t kLongestMethodName = 31;

// The open dialog's lists.
extern LongListHandle G_CmdList1;
extern LongListHandle G_CmdList2;

// True on item 1 or 3 with both texts filled; *newName 1 for item 3 (the
// second text names a method to make), 0 for item 1.
bool GetCmd_Replace(ObjListHdl first, ObjListHdl second, unsigned char* firstText, unsigned char* secondText,
                    uint8_t* newName);

// The first row whose object's name begins with `text` (case and marks
// aside), selected alone and scrolled to; -1 (the selection as it was)
// when none. The rows need not be in name order.
int32_t ListSearch(LongListHandle list, const unsigned char* text);
// Whether the row's object is named by `key` as ListSearch compares: 0
// when it is.
int16_t ObjSearchProc(const void* rowData, const void* key, int16_t rowLength, int16_t keyLength);
// The list's rows become the objects of `objects`, one per row, in order.
void SetList(LongListHandle list, ObjListHdl objects);

platform::Boolean Cmd_ReplaceFilter(platform::DialogRef dialog, platform::EventRecord* event,
                                    platform::DialogItemIndex* item);
void DrawCmd_ReplaceDial(platform::DialogRef dialog);

}  // namespace browser
