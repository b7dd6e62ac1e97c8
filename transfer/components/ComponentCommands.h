// The component commands of the list pane, as the transfer layer carries
// them out: properties (111), delete (113) and uninstall (115) here; new
// (110) in NewComponent.h, generate (112) in Generate.h, install (114) in
// Install.h. InstallComponentCommands hands them to the pane.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;
class TModuleObjQz;

namespace transfer {

// The component dialog for the component (read-only for an installed
// one); OK renames it and stores its properties in one commit. 0, 1001 when
// nothing changed, or the error (shown; the component as it was).
int16_t M_Properties(TMainDoc* doc, TObjQz* obj);

// Each selected component project, once confirmed: its name-code table
// goes, its members leave its folders and stay, its folders and itself are
// deleted; one commit each. 0 or the first error (shown).
int16_t M_Delete(TMainDoc* doc, TObjQz* const* rows, int32_t count);

// The component's members deleted pass by pass (tables, forms, the rest),
// then the component itself, in the module update mode 3 (4 again after).
int16_t M_UnInstall(TModuleObjQz* component);

// One installed component taken out of the document: M_UnInstall, the
// resources its record still lists, the pictures of its id map, the
// directory entries left without their resource, its record; one commit.
int16_t UninstallComponent(TMainDoc* doc, TModuleObjQz* component);

// Each selected installed component, once confirmed, through
// UninstallComponent; the document read again when any went.
int16_t UninstallComponents(TMainDoc* doc, TObjQz* const* rows, int32_t count);

// Fills the pane's hook table with the component commands.
void InstallComponentCommands();

}  // namespace transfer
