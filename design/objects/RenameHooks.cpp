#include "design/objects/RenameHooks.h"

namespace {

RenameHooks gHooks;

}  // namespace

void SetRenameHooks(const RenameHooks& hooks) { gHooks = hooks; }
void ResetRenameHooks() { gHooks = RenameHooks{}; }

bool GetReplace(int16_t listFilter, TMainDoc* doc, int16_t kind, TObjQz* ownerObj, unsigned char* name, int16_t number,
                uint8_t* mode, ObjListHdl users, ObjListHdl* rewrite, int16_t maxLength)
{
    if (rewrite) *rewrite = nullptr;
    return gHooks.getReplace &&
           gHooks.getReplace(listFilter, doc, kind, ownerObj, name, number, mode, users, rewrite, maxLength);
}
