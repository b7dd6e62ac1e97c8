// New component projects: a component (kind 32) with its public,
// protected and private folders (kind 33), empty or holding the selected
// objects with what they use. The whole lands in one commit of the
// document's store; when that fails nothing of it stays, on disk or in
// memory.
#pragma once

#include <cstdint>
#include <vector>

#include "browser/dialogs/ModuleDialog.h"

class TMainDoc;
class TObjQz;
class TGroupObjQz;
class TModuleObjQz;
class TModuleGroupObjQz;

namespace transfer {

// More resources than this in the document's resource file refuse a new
// component (error 1008).
constexpr int32_t kMaxComponentResources = 2500;
constexpr int16_t kTooManyResources = 1008;

// STR# 1029 item 3 when no component bears it, else item 3, "_" and the
// first counter from 1 that no component bears.
void DefaultComponentName(TMainDoc* doc, unsigned char* name);

// The dialog's properties given to the component (not written).
void SetProperties(TModuleObjQz* component, const browser::ModuleStruct& record);

// A new object of the kind (a component or a folder): id -1 until it is
// written, a member list of room 10, written. Null when memory runs out.
TGroupObjQz* M_NewObjQz(TMainDoc* doc, int16_t kind, const unsigned char* name);

// Where M_Group put an object, and the group it came from.
struct GroupMove {
    TObjQz* obj;
    TGroupObjQz* from;
};

// The selected objects with what they use go into the folders: tables
// and the selected objects into the protected one, the others into the
// private one; variables, database methods, packages and routines stay
// where they are. `moves` records each change. 0 or the error.
int16_t M_Group(TMainDoc* doc, const std::vector<TObjQz*>& selection, TModuleObjQz* component,
                TModuleGroupObjQz* publicFolder, TModuleGroupObjQz* protectedFolder,
                TModuleGroupObjQz* privateFolder, std::vector<GroupMove>* moves);

// Makes the component the dialog described, from `selection` unless the
// record asks for an empty one. 0 with *made, or the error (*made null).
int16_t NewComponent(TMainDoc* doc, const browser::ModuleStruct& record, const std::vector<TObjQz*>& selection,
                     TModuleObjQz** made);

// Command 110: the dialog, then NewComponent; errors shown.
int16_t M_New(TMainDoc* doc, TObjQz* const* rows, int32_t count, bool modulable, TObjQz** made);

}  // namespace transfer
