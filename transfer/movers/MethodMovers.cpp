// The movers of project and database methods: their code, their
// properties and their place in the directory 'TPQz' 0 or the slots of
// 'DBPR' 0.
#include "transfer/movers/Movers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <unordered_map>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/documents/OpenQzB.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "transfer/CurrentFiles.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"

namespace transfer {

namespace {

using platform::FourCC;

constexpr size_t kRecordSize = 44, kNameField = 32, kIdAt = 32;
constexpr size_t kDbSlots = 10;
const uint32_t kCode = FourCC("CCQz"), kProperties = FourCC("PrTo"), kDirectory = FourCC("TPQz"),
               kDbSlotsType = FourCC("DBPR");

// Where a method is listed in its document.
struct MethodPlace {
    bool project = false;
    std::array<uint8_t, kRecordSize> record{};  // its 'TPQz' record
    int32_t slot = -1;            // its 'DBPR' slot (0-based)
};

std::vector<uint8_t> Bytes(platform::Handle h)
{
    if (!h || !*h) return {};
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

// Where each method id stands in a document's directory, kept while the
// directory's handle and bytes stay the same: a transfer of many methods
// looks each up in the same large directory.
struct DirectoryIndex {
    const void* contents = nullptr;
    platform::Size size = -1;
    std::unordered_map<int16_t, size_t> at;
};
DirectoryIndex gIndex;

int16_t FindPlace(TMainDoc* doc, int16_t id, MethodPlace* place)
{
    const int16_t saved = xcurres();
    useres(doc->fResFile);
    platform::Handle dir = xget1res(kDirectory, 0);
    const int16_t err = dir ? 0 : reserr;
    platform::Handle slots = dir ? xget1res(kDbSlotsType, 0) : nullptr;
    useres(saved);
    if (!dir || !*dir) return err == 0 || err == platform::memFullErr ? platform::memFullErr : err;
    const platform::Size size = platform::GetHandleSize(dir);
    try {
        if (gIndex.contents != *dir || gIndex.size != size) {
            gIndex = DirectoryIndex{};
            for (size_t at = 0; at + kRecordSize <= size_t(size); at += kRecordSize)
                gIndex.at.emplace(platform::ReadBES16(reinterpret_cast<const uint8_t*>(*dir) + at + kIdAt), at);
            gIndex.contents = *dir;
            gIndex.size = size;
        }
    } catch (const std::bad_alloc&) {
        gIndex = DirectoryIndex{};
        return platform::memFullErr;
    }
    if (auto found = gIndex.at.find(id); found != gIndex.at.end()) {
        const auto* record = reinterpret_cast<const uint8_t*>(*dir) + found->second;
        place->project = true;
        std::copy(record, record + kRecordSize, place->record.begin());
        return 0;
    }
    const ByteView ids = ByteView::Of(slots);
    for (size_t k = 0; ids.Has(2 * k, 2); ++k) {
        int16_t slotId = 0;
        if (ids.S16(2 * k, &slotId) && slotId == id) {
            place->slot = int32_t(k);
            return 0;
        }
    }
    return kRecordMissing;
}

void PutName(uint8_t* field, const unsigned char* name)
{
    std::memset(field, 0, kNameField);
    const size_t n = std::min<size_t>(name[0], kNameField - 1);
    field[0] = uint8_t(n);
    std::memcpy(field + 1, name + 1, n);
}

// The destination's directory with one more record, or its slots with the
// new id in the source's slot (at least ten slots, new ones empty).
int16_t ListMethod(TMainDoc* dest, const MethodPlace& place, const unsigned char* name, int16_t id)
{
    int16_t err = 0;
    if (place.project) {
        std::array<uint8_t, kRecordSize> record = place.record;
        PutName(record.data(), name);
        platform::WriteBE16(&record[kIdAt], uint16_t(id));
        const int16_t saved = xcurres();
        useres(dest->fResFile);
        platform::Handle dir = xget1res(kDirectory, 0);
        useres(saved);
        if (!dir) {
            platform::Handle h = platform::NewHandle(platform::Size(kRecordSize));
            if (!h) return platform::memFullErr;
            std::memcpy(*h, record.data(), kRecordSize);
            return AddStoreRes(dest, h, kDirectory, 0);
        }
        // Appended in place; a new library's 2 bytes hold no record.
        const platform::Size size = platform::GetHandleSize(dir);
        const platform::Size kept = size - size % platform::Size(kRecordSize);
        platform::SetHandleSize(dir, kept + platform::Size(kRecordSize));
        if (platform::MemError() != 0) return platform::memFullErr;
        std::memcpy(*dir + kept, record.data(), kRecordSize);
        useres(dest->fResFile);
        const bool written = xwriteres(dir);
        useres(saved);
        return written ? 0 : StoreError();
    }
    platform::Handle slots = CopyStoreRes(dest, kDbSlotsType, 0, &err);
    if (err) return err;
    std::vector<uint8_t> bytes = Bytes(slots);
    if (slots) platform::DisposeHandle(slots);
    bytes.resize(bytes.size() & ~size_t(1));
    const size_t want = std::max(2 * kDbSlots, 2 * size_t(place.slot) + 2);
    while (bytes.size() < want) bytes.insert(bytes.end(), {0xFF, 0xFF});
    platform::WriteBE16(&bytes[2 * size_t(place.slot)], uint16_t(id));
    platform::Handle h = platform::NewHandle(platform::Size(bytes.size()));
    if (!h) return platform::memFullErr;
    std::memcpy(*h, bytes.data(), bytes.size());
    return ReplaceStoreRes(dest, h, kDbSlotsType, 0);
}

}  // namespace

int16_t MoveResQzScript(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId)
{
    *newId = 0;
    int16_t err = 0;
    platform::Handle code = CopyStoreRes(source, kCode, id, &err);
    if (!code) return err ? err : kRecordMissing;
    platform::Handle properties = CopyStoreRes(source, kProperties, id, &err);
    if (err == 0) err = RoomFor(dest, 2 * int64_t(platform::GetHandleSize(code)));
    if (err != 0) {
        platform::DisposeHandle(code);
        if (properties) platform::DisposeHandle(properties);
        return err;
    }
    const int16_t made = NewStoreId(dest, kCode);
    err = AddStoreRes(dest, code, kCode, made);
    if (err == 0 && properties) err = AddStoreRes(dest, properties, kProperties, made);
    else if (properties) platform::DisposeHandle(properties);
    if (err == 0) *newId = made;
    return err;
}

int16_t MoveProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    unsigned char name[256];
    std::memcpy(name, newName && newName[0] ? newName : obj->name, size_t((newName && newName[0] ? newName : obj->name)[0]) + 1);
    name[0] = std::min<uint8_t>(name[0], uint8_t(kNameField - 1));
    MethodPlace place;
    if (const int16_t err = FindPlace(source, obj->id, &place)) return err;
    // The code goes first: the directory never names a code that is not there.
    int16_t id = 0;
    if (const int16_t err = MoveResQzScript(source, dest, obj->id, &id)) return err;
    TObjQz* made = NewObj_Id(dest, place.project ? 2 : 16, name, id, false);
    if (!made) return platform::memFullErr;
    if (const int16_t err = ListMethod(dest, place, name, id)) return err;
    made->Read(place.project ? place.record.data() : nullptr);
    // The flags come along, but for the group the copy is not in and the
    // documentation window it has no part of.
    made->flags = int16_t(obj->flags & ~((1 << kFlagGrouped) | (1 << kFlagGrouped2) | (1 << kFlagDocOpen)));
    if (GetDBType(dest->fResFile) == 2) {
        const int16_t saved = xcurres();
        useres(dest->fResFile);
        SetDatabaseDirtyForCompiler();
        useres(saved);
    }
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    TObjQz* target = *destObj;
    MethodPlace place;
    int16_t err = target ? FindPlace(source, obj->id, &place) : kRecordMissing;
    if (err == 0) err = ReplaceOwnResource(source, dest, kCode, obj->id, target);
    if (err != 0) return err;
    if (platform::Handle properties = CopyStoreRes(source, kProperties, obj->id, &err))
        err = ReplaceStoreRes(dest, properties, kProperties, target->id);
    else if (err == 0)
        // The destination's own went with the code it described.
        err = RemoveStoreRes(dest, kProperties, target->id);
    if (err == 0 && place.project) {
        // The source's record over the destination's, which keeps its id.
        const UsingStore store(dest->fResFile);
        platform::Handle dir = xget1res(kDirectory, 0);
        const platform::Size size = dir ? platform::GetHandleSize(dir) : 0;
        for (platform::Size at = 0; at + platform::Size(kRecordSize) <= size; at += platform::Size(kRecordSize)) {
            auto* record = reinterpret_cast<uint8_t*>(*dir) + at;
            if (platform::ReadBES16(record + kIdAt) != target->id) continue;
            std::memcpy(record, place.record.data(), kRecordSize);
            platform::WriteBE16(record + kIdAt, uint16_t(target->id));
            if (!xwriteres(dir)) err = StoreError();
            break;
        }
    }
    return err == 0 ? CommitNoMap(dest) : err;
}

}  // namespace transfer
