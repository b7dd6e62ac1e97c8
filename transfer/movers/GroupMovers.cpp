// The mover of groups, components and component folders: an empty member
// list under a group id free for all three types; the members join when
// the links are made.
#include "app/documents/MainDoc.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

constexpr int64_t kGroupRoom = 10240;

}  // namespace

int16_t MoveGroup(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    (void)source;
    *newObj = nullptr;
    if (obj->kind != 23 && obj->kind != 32 && obj->kind != 33) return kRecordMissing;
    if (const int16_t err = RoomFor(dest, kGroupRoom)) return err;
    unsigned char name[256];
    ChosenName(newName, obj, size_t(obj->MaxNameLen()), name);
    const uint32_t type = obj->GetOwnResType();
    int16_t idErr = 0;
    const int16_t id = UniqueGroupID(dest, &idErr);
    if (idErr) return idErr;
    // An empty list: a count of 0.
    if (const int16_t err = PutStoreBytes(dest, type, id, std::vector<uint8_t>(2, 0), name)) return err;
    TObjQz* made = NewObj_Id(dest, obj->kind, name, id, false);
    if (!made || made->id != id) return platform::memFullErr;
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

}  // namespace transfer
