// Generating component libraries: each selected component project is
// copied with its members into a new library document, its hidden members
// renamed by code and its module record written; the user saves the
// library ("Name-1.QCP"), which is marked as generated ('xmd@' 1) so that
// it never opens as a structure.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/filedialogs/NavServices.h"
#include "toolbox/foundation/VArrayList.h"
#include "transfer/remap/ResIDMap.h"

class Module;
class TGroupObjQz;
class TLibDoc;
class TMainDoc;
class TModuleObjQz;
class TObjQz;

namespace transfer {

// The component's name, then a blank and the version text when there is
// one, then "-" and the version number; a "/" (which no file name holds)
// becomes "-".
void LibraryName(TModuleObjQz* component, unsigned char* name);

// Copies the component and its members into `library` (the defaults of the
// component commands settle the conflicts); the copy gets the copies of
// the folders. 0 or the error.
int16_t M_Move(TMainDoc* library, TModuleObjQz* component);

// The component's module record: its members by folder (private 3, public
// 1, protected 2) with their states set (hidden members enciphered), and
// the component in state 1; with `install` the folders written; the id map
// when there is one, then the record, under the component's id. 0 or the
// error.
int16_t M_GenereModule(TMainDoc* doc, TModuleObjQz* component, VArrayListOf<ResIDMap>* map, bool install);

// The folder's members into the record with `state`: tables by their
// number, commands, variables, sets, selections, semaphores and constants
// left out, the others by their own resource (their comments removed for
// that state); then the folder itself.
int16_t M_Genere(Module* record, TGroupObjQz* folder, int16_t state);

// In the library's copy of `component`, the private members and the
// protected variables that can be hidden take their code names (the
// project's name-code table, written back); project methods keep their
// own name where their text asked for it. 0 or the error.
int16_t M_Rename(TMainDoc* library, TModuleObjQz* component);

// One component project into a new library, saved where the user says.
// 0, 1001 when the user did not save, or the error (shown).
int16_t GenerateComponent(TMainDoc* doc, TModuleObjQz* component);

// Command 112 over the selected rows, until an error.
int16_t M_Generate(TMainDoc* doc, TObjQz* const* rows, int32_t count);

// The file dialog's filter of component libraries: files (no folders)
// named "*.QCP" or of type 'QzMO'.
platform::Boolean CompFileFilter(platform::AEDesc* item, void* info, void* userData, platform::NavFilterModes mode);
// The same for a name and a Finder type.
bool IsComponentFile(const std::string& macRomanName, platform::OSType type, bool folder);

}  // namespace transfer
