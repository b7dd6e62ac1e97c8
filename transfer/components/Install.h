// Installing a component library into a structure: a new component, or a
// newer version of one installed, replacing it. The copy, the older
// version taken apart and the new module record land in one commit, or
// the structure stays as it was. The module update mode is 0 while the
// command runs and 4 again however it ends.
#pragma once

#include <cstdint>

class TLibDoc;
class TMainDoc;
class TModuleObjQz;

namespace transfer {

// What the checks before an install decided.
enum class InstallPlan { Refused, Declined, Install };

// Steps 3 to 5: the library must hold exactly one component; a component
// of that name in the structure must be an installed one, of a version not
// newer than the library's and with the same rename flag (a same or an
// older version asks, and is refused while an editor shows one of the
// installed version's objects); a structure not yet of the current format
// asks. *library's component and *installed (null when none) are set.
InstallPlan PlanInstall(TMainDoc* doc, TMainDoc* library, TModuleObjQz** component, TModuleObjQz** installed);

// The copy of `component` (of `library`) into `doc` over `installed`
// (null for a first install). 0 or the error; the document read again,
// its editors open, then what the copies could not bring said.
int16_t InstallComponent(TMainDoc* doc, TMainDoc* library, TModuleObjQz* component, TModuleObjQz* installed);

// Command 114: the file dialog, the library read, PlanInstall, then
// InstallComponent. 0, 1001, or the error (shown).
int16_t M_Install(TMainDoc* doc);

}  // namespace transfer
