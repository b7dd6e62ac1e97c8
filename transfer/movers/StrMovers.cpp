// The movers of string lists, kept in the documents' companion files.
#include <cstring>
#include <string>

#include "transfer/CurrentFiles.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "design/plugins/BundleLinks.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

const uint32_t kList = platform::FourCC("STR#");
constexpr int16_t kFirstNewId = 15000, kLastNewId = 32000;

bool HasCompanion(TMainDoc* doc) { return doc->fRsrFile != -1 && platform::IsResFileOpen(doc->fRsrFile); }

// A list of the companion: its bytes, name and attributes.
struct StoredList {
    std::string bytes;
    unsigned char name[256] = {};
    int16_t attributes = 0;
};

int16_t ReadList(TMainDoc* doc, int16_t id, StoredList* out)
{
    if (!HasCompanion(doc)) return platform::resFNotFound;
    UsingResFile file(doc->fRsrFile);
    platform::Handle h = platform::Get1Resource(kList, id);
    if (!h) return platform::ResError() == platform::memFullErr ? platform::memFullErr : kRecordMissing;
    int16_t ignoredId = 0;
    uint32_t ignoredType = 0;
    platform::GetResInfo(h, &ignoredId, &ignoredType, out->name);
    out->attributes = platform::GetResAttrs(h);
    out->bytes.assign(*h, size_t(platform::GetHandleSize(h)));
    return 0;
}

bool ListThere(TMainDoc* doc, int16_t id)
{
    UsingResFile file(doc->fRsrFile);
    platform::SetResLoad(false);
    const bool there = platform::Get1Resource(kList, id) != nullptr;
    platform::SetResLoad(true);
    return there;
}

}  // namespace

int16_t MoveResQzStr(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t destId)
{
    if (!HasCompanion(dest)) return platform::resFNotFound;
    // A list of that id already there stays as it is.
    if (ListThere(dest, destId)) return 0;
    StoredList list;
    if (const int16_t err = ReadList(source, id, &list)) return err;
    if (const int16_t err = RoomFor(dest, 2 * int64_t(list.bytes.size()))) return err;
    if (const int16_t err = NoteCompanionChange(kList, destId)) return err;
    platform::Handle h = platform::NewHandle(platform::Size(list.bytes.size()));
    if (!h) return platform::memFullErr;
    if (!list.bytes.empty()) std::memcpy(*h, list.bytes.data(), list.bytes.size());
    UsingResFile file(dest->fRsrFile);
    platform::AddResource(h, kList, destId, list.name);
    if (const int16_t err = platform::ResError()) {
        platform::DisposeHandle(h);
        return err;
    }
    platform::UpdateResFile(dest->fRsrFile);
    return platform::ResError();
}

int16_t MoveStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId)
{
    *newObj = nullptr;
    if (!HasCompanion(dest)) return platform::resFNotFound;
    int16_t id = obj->id;
    // A list of that id that is no string list of the destination (one
    // that a plug-in's copy placed there), or a plug-in's own, is not this
    // list: the copy takes a new id rather than keeping that list under
    // this list's name.
    if (!newId && ListThere(dest, id) && (!SearchObj_Id(dest, 11, id) || IsBundledStringList(dest, id))) newId = true;
    if (newId) {
        id = 0;
        for (int16_t candidate = kFirstNewId; candidate <= kLastNewId && id == 0; ++candidate)
            if (!ListThere(dest, candidate)) id = candidate;
        if (id == 0) return platform::addResFailed;
    }
    if (TObjQz* existing = SearchObj_Id(dest, 11, id); existing && ListThere(dest, id)) {
        *newObj = existing;
        return 0;
    }
    if (const int16_t err = MoveResQzStr(source, dest, obj->id, id)) return err;
    TObjQz* made = NewObj_Id(dest, 11, obj->name, id, false);
    if (!made) return platform::memFullErr;
    *newObj = made;
    return 0;
}

int16_t ReplaceStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    TObjQz* target = *destObj;
    if (!target) return kRecordMissing;
    if (!HasCompanion(dest)) return platform::resFNotFound;
    StoredList list;
    if (const int16_t err = ReadList(source, obj->id, &list)) return err;
    if (const int16_t err = RoomFor(dest, 2 * int64_t(list.bytes.size()))) return err;
    if (const int16_t err = NoteCompanionChange(kList, target->id)) return err;
    UsingResFile file(dest->fRsrFile);
    platform::Handle h = platform::Get1Resource(kList, target->id);
    if (!h) return kRecordMissing;
    // In place: the list keeps its attributes and its name.
    platform::SetHandleSize(h, platform::Size(list.bytes.size()));
    if (const int16_t err = platform::MemError()) return err;
    if (!list.bytes.empty()) std::memcpy(*h, list.bytes.data(), list.bytes.size());
    NoteReplacedObj(target);
    platform::ChangedResource(h);
    if (const int16_t err = platform::ResError()) return err;
    platform::UpdateResFile(dest->fRsrFile);
    if (const int16_t err = platform::ResError()) return err;
    ClearDependencies(target);
    return 0;
}

}  // namespace transfer
