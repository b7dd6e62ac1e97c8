#include "design/objects/RenameHooks.h"

#include "app/dialogs/WaitDialog.h"

namespace {
RenameHooks gHooks;
}

void SetRenameHooks(const RenameHooks& hooks) { gHooks = hooks; }
void ResetRenameHooks() { gHooks = RenameHooks{}; }

int16_t AskNewName(TObjQz* obj, int16_t filter, int16_t maxLength, unsigned char* newName, ObjListHdl* users)
{
    *users = nullptr;
    if (!gHooks.getReplace) return kCancelledByUser;
    return gHooks.getReplace(obj, filter, maxLength, newName, users);
}
