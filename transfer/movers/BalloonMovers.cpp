// The movers of help balloons: the text 'HEQz' and the entry of the
// balloon directory 'LiHe' 0 (18-byte entries: a name in 16 bytes, the id).
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/transfer/ObjMove.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

using platform::FourCC;

const uint32_t kText = FourCC("HEQz"), kDirectory = FourCC("LiHe");
constexpr size_t kEntrySize = 18, kIdAt = 16;

std::vector<uint8_t> Directory(TMainDoc* doc, bool* present, int16_t* err)
{
    platform::Handle h = CopyStoreRes(doc, kDirectory, 0, err);
    *present = h != nullptr;
    if (!h) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    std::vector<uint8_t> bytes(p, p + platform::GetHandleSize(h));
    platform::DisposeHandle(h);
    return bytes;
}

}  // namespace

int16_t MoveResQzBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                         int16_t* index)
{
    *newId = *index = 0;
    int16_t err = 0;
    bool present = false;
    const std::vector<uint8_t> from = Directory(source, &present, &err);
    if (err) return err;
    if (!present) return platform::memFullErr;
    bool listed = false;
    for (size_t at = 0; at + kEntrySize <= from.size() && !listed; at += kEntrySize)
        listed = platform::ReadBES16(&from[at + kIdAt]) == obj->id;
    if (!listed) return kRecordMissing;
    platform::Handle text = CopyStoreRes(source, kText, obj->id, &err);
    if (!text) return err ? err : kRecordMissing;
    if ((err = RoomFor(dest, 2 * int64_t(platform::GetHandleSize(text)))) != 0) {
        platform::DisposeHandle(text);
        return err;
    }
    std::vector<uint8_t> to = Directory(dest, &present, &err);
    if (err) {
        platform::DisposeHandle(text);
        return err;
    }
    // A new library's 2 bytes hold no entry.
    to.resize(to.size() - to.size() % kEntrySize);
    const int16_t id = NewStoreId(dest, kText);
    if ((err = AddStoreRes(dest, text, kText, id)) != 0) return err;
    uint8_t entry[kEntrySize] = {};
    entry[0] = uint8_t(std::min<size_t>(name[0], TFieldBalloonObjQz::kStoredNameLen));
    std::memcpy(entry + 1, name + 1, entry[0]);
    platform::WriteBE16(entry + kIdAt, uint16_t(id));
    to.insert(to.end(), entry, entry + kEntrySize);
    platform::Handle h = platform::NewHandle(platform::Size(to.size()));
    if (!h) return platform::memFullErr;
    std::memcpy(*h, to.data(), to.size());
    if ((err = ReplaceStoreRes(dest, h, kDirectory, 0)) != 0) return err;
    *newId = id;
    *index = int16_t(to.size() / kEntrySize);
    return 0;
}

int16_t MoveBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    // The copy bears the name its entry keeps, which no other balloon of
    // the destination bears.
    unsigned char name[256];
    FreeObjName(dest, 10, newName && newName[0] ? newName : obj->name, name);
    int16_t id = 0, index = 0;
    if (const int16_t err = MoveResQzBalloon(source, dest, obj, name, &id, &index)) return err;
    TObjQz* made = NewObj_Id(dest, 10, name, id, false);
    auto* balloon = dynamic_cast<TFieldBalloonObjQz*>(made);
    if (!balloon || made->id != id) return platform::memFullErr;
    balloon->balloonIndex = index;
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    return ReplaceOwnResource(source, dest, kText, obj->id, *destObj);
}

}  // namespace transfer
