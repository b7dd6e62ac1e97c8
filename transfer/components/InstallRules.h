// The rules that settle an install's conflicts without the conflict
// dialog: a component's objects may replace only objects of the component
// they update. A broken rule refuses the install (alert 1008) and leaves a
// report beside the structure naming each object that refused; an
// interface table without a counterpart is asked about (alert 1006).
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "transfer/conflicts/ConflictList.h"

class TConflict;
class TMainDoc;
class TModuleObjQz;
class TObjQz;

namespace transfer {

constexpr int16_t kRefusedAlert = 1008;
constexpr int16_t kInterfaceTableAlert = 1006;
enum : int16_t { kKeepTable = 1, kStopInstall = 2, kLinkTable = 3 };

// One of the 13 variables of the language ("OK", "Error", "MouseX" ...).
bool IsSystemVar(const TObjQz* var);
// Whether the install may replace `obj`: false without a module; a
// variable when nothing uses it or only the module's objects do; anything
// else when the module holds it (folders searched).
bool IsUpdating(TModuleObjQz* module, TObjQz* obj);
// Whether a top-level record refuses the install.
bool RefusesInstall(TConflict* record, TModuleObjQz* module);
// A table none of whose fields another object uses.
bool IsInterfaceTable(TObjQz* table);

// The rules over the conflict list: false to stop the install.
bool ModuleConflicts(ObjListHdl* list, C_ListHdl conflicts, TMainDoc* source, TMainDoc* dest, TModuleObjQz* module);
// The report of the refusing records: "<destination name><STR# 1029 item
// 13>" beside the destination, one source full name a line. Replaced
// whole; a failure is shown.
void SaveModuleConflicts(C_ListHdl conflicts, TMainDoc* dest, TModuleObjQz* module);

}  // namespace transfer
