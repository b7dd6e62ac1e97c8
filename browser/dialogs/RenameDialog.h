// The rename dialog: a new name for one object and, for the kinds that
// let the person choose, which of its users are rewritten (262 with the
// users, 263 the name alone). The kinds' Replace reach it through the
// design layer's rename hooks (design/objects/RenameHooks.h).
//
// Items: 1 Rename, 2 Cancel, 3 the new name, 4 the prompt, 5 every user, 7
// the users (pick-list rows of list definition 1002), 8 the list's header,
// whose pop-up chooses the filter that narrows the users shown.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"
#include "platform/dialogs/Dialogs.h"

class TMainDoc;
class TObjQz;

namespace browser {

constexpr int16_t kRenameWithUsers = 262;
constexpr int16_t kRenameOnly = 263;
enum : int16_t {
    kRenameOK = 1,
    kRenameCancel = 2,
    kRenameName = 3,
    kRenamePrompt = 4,
    kRenameAllUsers = 5,
    kRenameUsers = 7,
    kRenameHeader = 8,
};

// Kept between renames (cleared at start-up): every user is rewritten.
extern bool G_ReplaceAll;
// While the dialog is open: the ids of every stored filter, their count,
// the filter the users are shown with (128 at opening), the caller's
// users and the rows.
extern platform::Handle G_Filters;
extern int16_t G_NbFilters;
extern int16_t G_DfltFilter;
extern ObjListHdl G_HeadList;
extern LongListHandle G_LongListHdl;
// The list filter the kind asked for (1 variables, 4 project methods, 5
// the others); the dialog opens on filter 128 whatever it is.
extern int16_t G_CurFilter;

// Whether `name` may name an object of `kind`: never empty; a variable's
// name holds one variable prefix at most (any name under a two-byte
// script).
bool GoodWord(int16_t kind, const unsigned char* name);

// `name` in: the current name, out: the new one (cut to the maximum, the
// variable prefix not counted). `mode` in: 1 the name alone, 0 choose the
// users; out: 1 when every user is to be rewritten. *rewrite the users to
// rewrite (the caller's to dispose of); null on Cancel. `number`: the
// object's number, for a variable its scope (1 process, 2 interprocess,
// else local to `ownerObj`). True on Rename.
bool GetReplace(TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name, int16_t number, uint8_t* mode,
                ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength);

// The dialog's event filter and drawing: Return and Enter press Rename,
// Select All checks every user, clicks reach the list and the pop-up.
platform::Boolean ReplaceFilter(platform::DialogRef dialog, platform::EventRecord* event,
                                platform::DialogItemIndex* item);
void DrawListBox(platform::DialogRef dialog);
// The default button's outline, then the dialog drawn.
void DrawOkDialog(platform::DialogRef dialog);

// The rename hooks of the design layer filled with this dialog.
void InstallRenameDialog();

}  // namespace browser
