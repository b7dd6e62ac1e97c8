// A form's stored data made ready to edit. Only a big-endian chunk file is
// ready as it is; a form of the older flat layouts, or one stored in the
// other byte order, needs the form model to be written anew, and is
// refused here.
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Memory.h"

bool TLayoutObjQz::ConvertLayout(platform::Handle form)
{
    if (!form || !*form || platform::GetHandleSize(form) == 0) return false;
    if (!GromMemHdl || !CheckMem(platform::GetHandleSize(form))) return false;
    return platform::GetHandleSize(form) >= 4 && std::memcmp(*form, "FORM", 4) == 0;
}
