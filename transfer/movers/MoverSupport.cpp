#include "transfer/CurrentFiles.h"
#include "transfer/movers/MoverSupport.h"

#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "transfer/driver/TransferSession.h"

namespace transfer {

namespace {

RoomProbe gRoomProbe = nullptr;

}  // namespace

void SetRoomProbe(RoomProbe probe) { gRoomProbe = probe; }

int16_t RoomFor(TMainDoc* dest, int64_t need)
{
    int64_t free = 0;
    if (gRoomProbe) free = gRoomProbe(dest);
    else if (platform::FSpGetFreeSpace(dest->fSpec, &free) != platform::noErr) return 0;
    return free < need ? platform::dskFulErr : 0;
}

int16_t StoreError() { return reserr ? reserr : platform::ioErr; }

platform::Handle CopyStoreRes(TMainDoc* doc, uint32_t type, int16_t id, int16_t* err)
{
    *err = 0;
    UsingStore store(doc->fResFile);
    platform::Handle h = xget1res(type, id);
    if (!h) {
        *err = reserr == platform::memFullErr ? platform::memFullErr : 0;
        return nullptr;
    }
    platform::Handle copy = h;
    if (platform::HandToHand(&copy) != platform::noErr) {
        *err = platform::memFullErr;
        return nullptr;
    }
    return copy;
}

int16_t AddStoreRes(TMainDoc* dest, platform::Handle contents, uint32_t type, int16_t id, const unsigned char* name)
{
    UsingStore store(dest->fResFile);
    if (!xaddres(contents, type, id)) {
        platform::DisposeHandle(contents);
        return StoreError();
    }
    if (name && !xsetresname(type, id, name, false)) return StoreError();
    return 0;
}

int16_t ReplaceStoreRes(TMainDoc* dest, platform::Handle contents, uint32_t type, int16_t id)
{
    UsingStore store(dest->fResFile);
    platform::Handle h = xget1res(type, id);
    if (!h) return AddStoreRes(dest, contents, type, id);
    // In place: the resource keeps its handle, name and attributes.
    const platform::Size size = platform::GetHandleSize(contents);
    platform::SetHandleSize(h, size);
    int16_t err = platform::MemError();
    if (err == 0) {
        if (size) std::memcpy(*h, *contents, size_t(size));
        if (!xwriteres(h)) err = StoreError();
    }
    platform::DisposeHandle(contents);
    return err;
}

int16_t NewStoreId(TMainDoc* dest, uint32_t type)
{
    UsingStore store(dest->fResFile);
    return uniqueresid(type);
}

int16_t CommitNoMap(TMainDoc* dest) { return updateresNoMap(dest->fResFile) ? 0 : StoreError(); }

void ClearDependencies(TObjQz* obj)
{
    while (obj->uses && obj->uses->Size() > 0) XDelRef(obj, obj->uses->At(0));
}

platform::Handle CopyWithRoom(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t id, int16_t* err)
{
    platform::Handle h = CopyStoreRes(source, type, id, err);
    if (!h) {
        if (*err == 0) *err = kRecordMissing;
        return nullptr;
    }
    if ((*err = RoomFor(dest, 2 * int64_t(platform::GetHandleSize(h)))) != 0) {
        platform::DisposeHandle(h);
        return nullptr;
    }
    return h;
}

int16_t ReplaceOwnResource(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, TObjQz* target)
{
    if (!target) return kRecordMissing;
    int16_t err = 0;
    platform::Handle h = CopyWithRoom(source, dest, type, sourceId, &err);
    if (!h) return err;
    NoteReplacedObj(target);
    if ((err = ReplaceStoreRes(dest, h, type, target->id)) != 0) return err;
    if ((err = CommitNoMap(dest)) != 0) return err;
    ClearDependencies(target);
    return 0;
}

}  // namespace transfer
