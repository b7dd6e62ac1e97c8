// A group joining a list of objects to copy: itself, then its members.
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/Groups.h"
#include "platform/core/Errors.h"

namespace {

constexpr int32_t kMaxResources = 2500;
constexpr int16_t kTooManyResources = 1008;

}  // namespace

int16_t TGroupObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    if (id == 0) return 0;
    if (!list || !*list) return platform::memFullErr;
    if (owner && owner->fRsrFile != -1 && CountTotResources(owner->fRsrFile) > kMaxResources) return kTooManyResources;
    // A group met again (member lists naming each other) adds nothing more.
    if (IsInList(*list, this)) return 0;
    if (const int16_t err = AddObjList(list, this)) return err;
    for (int32_t i = 0; members && i < members->Size(); ++i)
        if (const int16_t err = members->At(i)->SelfAddObjList(list, mode)) return err;
    return 0;
}
