// The transfer driver: copies a list of design objects from one open
// document into another. It gathers their conflicts with the destination,
// applies the default choices, has the conflicts settled (the conflict
// dialog, or the component rules of an install), moves each object with
// its resources, rewrites the links of the copies and commits the
// destination once; a drop's destination windows then show the copies
// before it says what the copies name and could not bring
// (NotBrought.h; an install leaves that to its caller, which reads the
// destination again first). A transfer lands whole or not at all: on any
// error, cancel or failed write the destination's files, lists and
// objects are as they were before it (TransferSession).
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"
#include "transfer/conflicts/ConflictList.h"

class TMainDoc;
class TModuleObjQz;
class TObjQz;

namespace transfer {

// The memory kept free while the objects move, for the links and the end.
constexpr int32_t kCushionSize = 20480;
// Transfer lists longer than this (counting their terminating entry) show
// the wait dialog.
constexpr int32_t kWaitFromEntries = 20;
constexpr int16_t kTransferWaitDialog = 281;
constexpr int16_t kLockedAlert = 1009;

// Destination objects the movers replaced, to be deleted after a transfer
// of a component that succeeded; made and disposed by DoMove's caller.
extern ObjListHdl G_DeleteList;

// `list` (in the order of the moves) from `source` into `dest`. The
// component flag, the install flag and the installed module come from the
// component commands; a drop of rows passes none. 1001 when the conflicts
// were not settled, else 0 or the error.
int16_t DoMove(TMainDoc* source, TMainDoc* dest, ObjListHdl* list, bool component, bool install,
               TModuleObjQz* module);
// The moves keep the order of the list.
void SortByFileNum(ObjListHdl list);
// Asked by every object's copy before it starts: go on (0).
int16_t caution();

// The component rules that settle an install's conflicts (the component
// commands set them); without them an install goes on with its defaults.
using ModuleConflictsHook = bool (*)(ObjListHdl* list, C_ListHdl conflicts, TMainDoc* source, TMainDoc* dest,
                                     TModuleObjQz* module);
void SetModuleConflictsHook(ModuleConflictsHook hook);

// The component commands' own writes of an install (the module record,
// the older version taken apart), run after the links and before the one
// commit, so that they land with the copy or not at all: 0, or the error
// that takes the whole transfer back. Null: none.
using InstallFinishHook = int16_t (*)(void* context);
void SetInstallFinishHook(InstallFinishHook hook, void* context);

}  // namespace transfer
