#include "transfer/CurrentFiles.h"
#include "transfer/movers/MoverSupport.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Clock.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/remap/NewResIds.h"

namespace transfer {

namespace {

RoomProbe gRoomProbe = nullptr;

// The volume's free space as last asked: a transfer checks the room for
// each object it copies, and asking the file system each time cost more
// than the copy of a small object.
struct FreeSpaceSeen {
    std::string path;
    uint32_t tick = 0;
    int64_t free = 0;
};
FreeSpaceSeen gSeen;

}  // namespace

void SetRoomProbe(RoomProbe probe) { gRoomProbe = probe; }

int16_t RoomFor(TMainDoc* dest, int64_t need)
{
    int64_t free = 0;
    if (gRoomProbe) {
        free = gRoomProbe(dest);
    } else {
        // Asked again once a tick has passed, or for another file.
        const uint32_t now = platform::TickCount();
        if (gSeen.path.empty() || gSeen.tick != now || gSeen.path != dest->fSpec.path) {
            gSeen.path.clear();
            if (platform::FSpGetFreeSpace(dest->fSpec, &free) != platform::noErr) return 0;
            try {
                gSeen.path = dest->fSpec.path;
            } catch (const std::bad_alloc&) {
                return free < need ? platform::dskFulErr : 0;
            }
            gSeen.tick = now;
            gSeen.free = free;
        }
        free = gSeen.free;
    }
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

bool StoreBytes(TMainDoc* doc, uint32_t type, int16_t id, std::vector<uint8_t>* out, int16_t* err)
{
    *err = 0;
    UsingStore store(doc->fResFile);
    platform::Handle h = xget1res(type, id);
    if (!h) {
        if (reserr == platform::memFullErr) *err = platform::memFullErr;
        return false;
    }
    try {
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        out->assign(p, p + platform::GetHandleSize(h));
    } catch (const std::bad_alloc&) {
        *err = platform::memFullErr;
        return false;
    }
    return true;
}

bool HasStoreRes(TMainDoc* doc, uint32_t type, int16_t id)
{
    UsingStore store(doc->fResFile);
    return xhas1res(type, id);
}

int16_t PutStoreBytes(TMainDoc* dest, uint32_t type, int16_t id, const std::vector<uint8_t>& bytes,
                      const unsigned char* name)
{
    platform::Handle h = platform::NewHandle(platform::Size(bytes.size()));
    if (!h) return platform::memFullErr;
    if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    if (HasStoreRes(dest, type, id)) return ReplaceStoreRes(dest, h, type, id);
    return AddStoreRes(dest, h, type, id, name && name[0] ? name : nullptr);
}

int16_t RemoveStoreRes(TMainDoc* dest, uint32_t type, int16_t id)
{
    if (!HasStoreRes(dest, type, id)) return 0;
    UsingStore store(dest->fResFile);
    return rmveresbyid(type, id, true) ? 0 : StoreError();
}

int16_t CopyStoreResAs(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId)
{
    int16_t err = 0;
    platform::Handle h = CopyStoreRes(source, type, sourceId, &err);
    if (!h) return err;
    unsigned char name[256] = {0};
    {
        UsingStore store(source->fResFile);
        if (!xgetresname(type, sourceId, name, false)) name[0] = 0;
    }
    return AddStoreRes(dest, h, type, destId, name[0] ? name : nullptr);
}

int16_t NewMappedStoreId(TMainDoc* dest, uint32_t type, int16_t oldId, int16_t* newId)
{
    UsingStore store(dest->fResFile);
    return NewStoreResId(type, oldId, newId);
}

void ChosenName(const unsigned char* name, const TObjQz* obj, size_t maxLen, unsigned char* out)
{
    const unsigned char* given = name && name[0] ? name : obj->name;
    const size_t n = std::min<size_t>(given[0], maxLen);
    std::memmove(out + 1, given + 1, n);
    out[0] = uint8_t(n);
}

void PutFixedName(uint8_t* field, size_t room, const unsigned char* name)
{
    std::memset(field, 0, room);
    const size_t n = std::min<size_t>(name[0], room - 1);
    field[0] = uint8_t(n);
    std::memcpy(field + 1, name + 1, n);
}

}  // namespace transfer
