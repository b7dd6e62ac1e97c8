// The movers of choice lists: the items 'List', the entry of the directory
// 'LEQz' 0 (a 6-byte header whose first word is the count, then 34-byte
// entries: a name in 32 bytes, the list's id) and the icons the items show.
#include "transfer/movers/ListMovers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemList.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "transfer/CurrentFiles.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"

namespace transfer {

namespace {

const uint32_t kItems = platform::FourCC("List"), kDirectory = platform::FourCC("LEQz");
constexpr size_t kDirHeader = 6, kDirEntry = 34, kNameRoom = 32;
constexpr int kMaxListDepth = 64;

bool OpenFile(int16_t file) { return file != -1 && platform::IsResFileOpen(file); }

// Whether `file` is an open document's companion: the source's, or one of
// the application's documents.
bool DocumentFile(int16_t file, const TMainDoc* source)
{
    if (file == source->fRsrFile) return true;
    for (TDocument* doc = MyAppl ? MyAppl->fDocList : nullptr; doc; doc = doc->fNext)
        if (auto* main = dynamic_cast<TMainDoc*>(doc); main && main->fRsrFile == file) return true;
    return false;
}

// Whether the destination shows (type, id) of its own: from its companion
// or a file every document shares (the application's, the system's), not
// from another document's companion that the chain also passes through
// (the source's, when it was opened first). The resource is not loaded.
bool DestinationHolds(const TMainDoc* source, const TMainDoc* dest, uint32_t type, int16_t id)
{
    UsingResFile current(dest->fRsrFile);
    platform::SetResLoad(false);
    platform::Handle h = platform::GetResource(type, id);
    platform::SetResLoad(true);
    if (!h) return false;
    const int16_t home = platform::HomeResFile(h);
    return home == dest->fRsrFile || !DocumentFile(home, source);
}

int16_t WalkIcons(TMainDoc* source, TMainDoc* dest, ItemHandle item, int depth)
{
    for (; item && *item; item = (*item)->next) {
        if (const int16_t err = MoveIcon(source, dest, (*item)->icon)) return err;
        if (depth >= kMaxListDepth) continue;
        if (const int16_t err = WalkIcons(source, dest, (*item)->firstChild, depth + 1)) return err;
        if (itemlistrec* sub = (*item)->subList)
            if (const int16_t err = WalkIcons(source, dest, sub->first, depth + 1)) return err;
    }
    return 0;
}

}  // namespace

int16_t MoveIconData(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t id)
{
    if (!OpenFile(dest->fRsrFile) || DestinationHolds(source, dest, type, id)) return 0;
    if (!OpenFile(source->fRsrFile)) return 0;
    platform::Handle copy = nullptr;
    unsigned char name[256] = {0};
    {
        UsingResFile current(source->fRsrFile);
        platform::Handle h = platform::GetResource(type, id);
        if (!h || !*h) return 0;
        int16_t ignoredId = 0;
        uint32_t ignoredType = 0;
        platform::GetResInfo(h, &ignoredId, &ignoredType, name);
        copy = h;
        if (platform::HandToHand(&copy) != platform::noErr) return platform::memFullErr;
    }
    if (const int16_t err = NoteCompanionChange(type, id)) {
        platform::DisposeHandle(copy);
        return err;
    }
    UsingResFile current(dest->fRsrFile);
    platform::AddResource(copy, type, id, name);
    if (const int16_t err = platform::ResError()) {
        platform::DisposeHandle(copy);
        return err;
    }
    platform::UpdateResFile(dest->fRsrFile);
    return platform::ResError();
}

int16_t MoveIcon(TMainDoc* source, TMainDoc* dest, int32_t reference)
{
    const auto id = int16_t(reference & 0xFFFF);
    switch (uint32_t(reference) >> 16) {
    case 0: return id ? MoveIconData(source, dest, platform::FourCC("cicn"), id) : 0;
    case 1: return MoveIconData(source, dest, platform::FourCC("PICT"), id);
    default: return 0;
    }
}

int16_t MoveListIcon(TMainDoc* source, TMainDoc* dest, int16_t id)
{
    itemlistrec list{};
    initqlist(&list, 0, 255);
    {
        UsingStore store(source->fResFile);
        LoadList(id, &list, false);
    }
    const int16_t err = WalkIcons(source, dest, list.first, 0);
    deinitqlist(&list);
    return err;
}

int16_t MoveResQzEnum(TMainDoc* source, TMainDoc* dest, int16_t id, const unsigned char* name, int16_t* newId,
                      int16_t* index)
{
    *newId = *index = 0;
    int16_t err = 0;
    platform::Handle items = CopyWithRoom(source, dest, kItems, id, &err);
    if (!items) return err;
    int16_t made = 0;
    if ((err = MoveListIcon(source, dest, id)) != 0 || (err = NewMappedStoreId(dest, kItems, id, &made)) != 0) {
        platform::DisposeHandle(items);
        return err;
    }
    if ((err = AddStoreRes(dest, items, kItems, made)) != 0) return err;
    std::vector<uint8_t> dir;
    if (!StoreBytes(dest, kDirectory, 0, &dir, &err) && err) return err;
    if (dir.size() < kDirHeader) dir.assign(kDirHeader, 0);
    const int32_t whole = int32_t((dir.size() - kDirHeader) / kDirEntry);
    const int32_t count = std::clamp<int32_t>(platform::ReadBES16(dir.data()), 0, whole);
    if (count >= INT16_MAX) return kRecordMissing;
    dir.resize(kDirHeader + kDirEntry * size_t(count + 1));
    uint8_t* entry = &dir[kDirHeader + kDirEntry * size_t(count)];
    PutFixedName(entry, kNameRoom, name);
    platform::WriteBE16(entry + kNameRoom, uint16_t(made));
    platform::WriteBE16(dir.data(), uint16_t(count + 1));
    if ((err = PutStoreBytes(dest, kDirectory, 0, dir)) != 0) return err;
    *newId = made;
    *index = int16_t(count + 1);
    return 0;
}

int16_t MoveList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    unsigned char name[256];
    ChosenName(newName, obj, kNameRoom - 1, name);
    int16_t id = 0, index = 0;
    if (const int16_t err = MoveResQzEnum(source, dest, obj->id, name, &id, &index)) return err;
    auto* made = dynamic_cast<TListObjQz*>(NewObj_Id(dest, 4, name, id, false));
    if (!made || made->id != id) return platform::memFullErr;
    made->listIndex = index;
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    if (!*destObj) return kRecordMissing;
    if (const int16_t err = MoveListIcon(source, dest, obj->id)) return err;
    return ReplaceOwnResource(source, dest, kItems, obj->id, *destObj);
}

}  // namespace transfer
