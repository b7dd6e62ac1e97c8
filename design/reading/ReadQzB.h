// Reading an opened structure or library document into its design
// objects: every directory resource of the container (and the string lists
// and other resources of the companion file) becomes objects of the
// document's per-kind lists, the lists are parsed for links, groups and
// components are converted and read, and the components checked.
//
// Every count and length read from a directory is checked against the
// resource that holds it: a directory that claims more than it holds
// answers 1003 and nothing past it is read; the file is left as it was.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"

class TMainDoc;

// Results besides 0, -108 and 1001.
constexpr int16_t kResourceMissing = 1003;    // missing or unreadable
constexpr int16_t kCompiledNoSource = 1009;   // compiled without method sources
constexpr int16_t kComponentsRemoved = 1020;  // also: a generated component library
constexpr int16_t kModulesUnreadable1 = 1021;
constexpr int16_t kModulesUnreadable2 = 1022;

int16_t ReadQzB(TMainDoc* doc, uint8_t initialRead, uint8_t allowGenerated);
// One kind's directory into `list`; kinds without one answer 0.
int16_t ReadObj(TMainDoc* doc, platform::Handle param, int16_t kind, ObjListHdl* list, uint8_t allowGenerated);
int16_t ParseObj(ObjListHdl list);
// The resource objects of the companion's resources (type, id) listed in
// `changed`, brought to what a read makes of the companion now: made for
// one it holds (none for the types a read keeps out of the list), and put
// in *gone for one it no longer holds (the caller takes those out). 0 or
// -108.
int16_t ListCompanionResources(TMainDoc* doc, const std::vector<std::pair<uint32_t, int16_t>>& changed,
                               std::vector<TObjQz*>* gone);
// Moves the type's resources from the companion file into the container;
// the companion keeps them until the container has committed.
int16_t ConvertGroupes(TMainDoc* doc, uint32_t type);
// Makes the objects of every resource of the type (kind 23, 32 or 33).
int16_t MakeGroupes(TMainDoc* doc, uint32_t type, int16_t kind);
// Reads the member lists of the kind's groups (made by MakeGroupes), then
// makes the call lists of every group that no other group holds.
int16_t ReadGroupes(TMainDoc* doc, int16_t kind);
bool HasModule(TMainDoc* doc);
int16_t ModuleGroupVars(TMainDoc* doc);
int16_t CheckModuleObjQz(TMainDoc* doc);
void SetModulesVisibleItems(TMainDoc* doc);
int16_t DeleteModuleObjQz(TMainDoc* doc);
// The entries of the form tables ('TFQz'), the method table ('TPQz' 0)
// and the picture table ('PIC#' 128) whose resource is gone are dropped,
// and the store committed. 0 or the error.
int16_t DropDanglingEntries(TMainDoc* doc);
// Older enumerations 'ENQz' become choice lists 'List'; each 'ENQz' goes
// only once its list is saved.
int16_t convertEnumsToLists(TMainDoc* doc);
// 'LEQz' 0 of the document last converted by convertEnumsToLists, or null.
extern platform::Handle lrefenum;
// Disposes of lrefenum (tests, closing).
void ForgetEnumDirectory();
void GetMBarName(int16_t slot, int16_t id, unsigned char* name);
// 'CCQz', 'FIQz', 'FOQz' and 'BAQz' resources of the current container.
int32_t CountRes();
