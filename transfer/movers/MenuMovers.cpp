// The movers of menus and menu bars.
#include <cstring>
#include <vector>

#include "transfer/CurrentFiles.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

using platform::FourCC;

const uint32_t kMenu = FourCC("MENQ"), kBar = FourCC("BAQz"), kBarSlots = FourCC("LIBA"), kBarPicts = FourCC("MEPI");
constexpr int16_t kPictsIdBase = 500;

int16_t SlotOf(TObjQz* bar)
{
    auto* b = dynamic_cast<TMBarObjQz*>(bar);
    return b ? b->libaSlot : 0;
}

// Puts the bar's id in the first free slot of 'LIBA' 0, else a new one.
int16_t TakeSlot(TMainDoc* dest, int16_t id, int16_t* slot)
{
    int16_t err = 0;
    platform::Handle h = CopyStoreRes(dest, kBarSlots, 0, &err);
    if (err) return err;
    std::vector<uint8_t> bytes(2, 0);
    if (h) {
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        bytes.assign(p, p + platform::GetHandleSize(h));
        platform::DisposeHandle(h);
    }
    if (bytes.size() < 2) bytes.assign(2, 0);
    int16_t count = platform::ReadBES16(bytes.data());
    if (count < 0 || 2 + 2 * size_t(count) > bytes.size()) return kRecordMissing;
    *slot = 0;
    for (int32_t k = 1; k <= count && *slot == 0; ++k)
        if (platform::ReadBES16(&bytes[2 * size_t(k)]) == -1) *slot = k;
    if (*slot == 0) {
        if (count == 32767) return kRecordMissing;
        *slot = ++count;
        bytes.insert(bytes.begin() + 2 * std::ptrdiff_t(count), {0, 0});
        platform::WriteBE16(bytes.data(), uint16_t(count));
    }
    platform::WriteBE16(&bytes[2 * size_t(*slot)], uint16_t(id));
    platform::Handle out = platform::NewHandle(platform::Size(bytes.size()));
    if (!out) return platform::memFullErr;
    std::memcpy(*out, bytes.data(), bytes.size());
    return ReplaceStoreRes(dest, out, kBarSlots, 0);
}

int16_t ResName(TMainDoc* doc, uint32_t type, int16_t id, unsigned char* name)
{
    UsingStore store(doc->fResFile);
    if (!xgetresname(type, id, name, false)) name[0] = 0;
    if (name[0] > 31) name[0] = 31;
    return 0;
}

}  // namespace

int16_t MoveMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    (void)newName;  // a menu is named by its title
    *newObj = nullptr;
    int16_t err = 0;
    platform::Handle menu = CopyWithRoom(source, dest, kMenu, obj->id, &err);
    if (!menu) return err;
    const int16_t id = NewStoreId(dest, kMenu);
    if ((err = AddStoreRes(dest, menu, kMenu, id)) != 0) return err;
    TObjQz* made = NewObj_Id(dest, 6, obj->name, id, false);
    if (!made || made->id != id) return platform::memFullErr;
    if ((err = CommitNoMap(dest)) != 0) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    return ReplaceOwnResource(source, dest, kMenu, obj->id, *destObj);
}

int16_t MoveResQzMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                      int16_t* slot, unsigned char* barName)
{
    *newId = *slot = 0;
    barName[0] = 0;
    int16_t err = 0;
    platform::Handle bar = CopyWithRoom(source, dest, kBar, obj->id, &err);
    if (!bar) return err;
    const int16_t sourceSlot = SlotOf(obj);
    platform::Handle picts = sourceSlot > 0 ? CopyStoreRes(source, kBarPicts, int16_t(sourceSlot + kPictsIdBase), &err)
                                            : nullptr;
    if (err) {
        platform::DisposeHandle(bar);
        return err;
    }
    unsigned char own[256];
    if (name && name[0]) std::memcpy(own, name, size_t(name[0]) + 1);
    else ResName(source, kBar, obj->id, own);
    if (own[0] > 31) own[0] = 31;
    const int16_t id = NewStoreId(dest, kBar);
    err = AddStoreRes(dest, bar, kBar, id, own[0] ? own : nullptr);
    if (err == 0) err = TakeSlot(dest, id, slot);
    if (err == 0 && picts) {
        err = ReplaceStoreRes(dest, picts, kBarPicts, int16_t(*slot + kPictsIdBase));
        picts = nullptr;
    } else if (err == 0) {
        // A free slot's pictures were its former bar's.
        err = RemoveStoreRes(dest, kBarPicts, int16_t(*slot + kPictsIdBase));
    }
    if (picts) platform::DisposeHandle(picts);
    if (err) return err;
    *newId = id;
    UsingStore store(dest->fResFile);
    GetMBarName(*slot, id, barName);
    return 0;
}

int16_t MoveMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    int16_t id = 0, slot = 0;
    unsigned char name[256];
    if (const int16_t err = MoveResQzMBar(source, dest, obj, newName, &id, &slot, name)) return err;
    TObjQz* made = NewObj_Id(dest, 5, name, id, false);
    if (!made || made->id != id) return platform::memFullErr;
    made->Read(&slot);
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    TObjQz* target = *destObj;
    if (const int16_t err = ReplaceOwnResource(source, dest, kBar, obj->id, target)) return err;
    // The bar takes the source's name when that has one.
    unsigned char name[256];
    ResName(source, kBar, obj->id, name);
    if (!name[0]) return 0;
    UsingStore store(dest->fResFile);
    if (!xsetresname(kBar, target->id, name, false)) return StoreError();
    target->SetName(name);
    return CommitNoMap(dest);
}

}  // namespace transfer
