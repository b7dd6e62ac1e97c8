// What the browser's lists ask of a component object.
#include "design/objects/Groups.h"

bool TModuleObjQz::IsModule() { return TstFlag(kFlagInComponent); }

bool TModuleObjQz::IsModuleProject() { return !IsModule(); }
