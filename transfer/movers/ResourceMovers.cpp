// Resource objects are not copied; documentation resources are.
#include "app/documents/MainDoc.h"
#include "platform/core/Memory.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

int16_t MoveResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    (void)source, (void)dest, (void)obj, (void)newName;
    *newObj = nullptr;
    return 0;
}

int16_t ReplaceResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    (void)source, (void)dest, (void)obj, (void)destObj;
    return 0;
}

int16_t MoveDocRes(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId)
{
    int16_t err = 0;
    platform::Handle doc = CopyStoreRes(source, type, sourceId, &err);
    if (!doc) return err;
    if ((err = ReplaceStoreRes(dest, doc, type, destId)) != 0) return err;
    return CommitNoMap(dest);
}

}  // namespace transfer
