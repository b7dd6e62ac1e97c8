// The rename dialog, which the browser above this folder builds and
// installs at start-up (SetRenameHooks). The kinds' Replace call it
// through GetReplace; until it is installed no dialog opens and nothing
// is renamed.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"

class TMainDoc;
class TObjQz;

struct RenameHooks {
    // Shows the dialog with the list filter `listFilter` for the users:
    // `name` in is the current name, out the new one; `mode` in 1 renames
    // only, 0 lets the user choose users, out what was chosen; `rewrite`
    // gets the users to rewrite (the caller disposes of it). True on OK.
    bool (*getReplace)(int16_t listFilter, TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name,
                       int16_t number, uint8_t* mode, ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength) = nullptr;
};

void SetRenameHooks(const RenameHooks& hooks);
void ResetRenameHooks();

// False (cancelled) without an installed dialog.
bool GetReplace(int16_t listFilter, TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name, int16_t number,
                uint8_t* mode, ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength);
