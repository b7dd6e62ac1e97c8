// The rename dialog that the objects' Replace operations ask (GetReplace,
// shown by the browser, which installs it). Until then no object is
// renamed through Replace: it answers 0 and no object.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"

class TObjQz;

struct RenameHooks {
    // Asks for `obj`'s new name (at most maxLength characters) and the users
    // to rewrite, the list filtered by `filter`; 0, or 1001 when cancelled.
    // *users is the caller's to dispose of.
    int16_t (*getReplace)(TObjQz* obj, int16_t filter, int16_t maxLength, unsigned char* newName,
                          ObjListHdl* users) = nullptr;
};

void SetRenameHooks(const RenameHooks& hooks);
void ResetRenameHooks();
// The wrapper: 1001 (nothing asked) without a dialog.
int16_t AskNewName(TObjQz* obj, int16_t filter, int16_t maxLength, unsigned char* newName, ObjListHdl* users);
