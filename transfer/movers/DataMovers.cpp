// The movers of pictures and style sheets.
//
// 'PIC#' 128: a count, then 34-byte entries (a name in 32 bytes, the
// picture's id). 'Stlx' 128 (or an older 'Styl' 128, brought to the
// current layout): a count, the last id given, then 376-byte entries (a
// name in 32 bytes, the id at +32).
#include "transfer/movers/DataMovers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/transfer/ObjMove.h"
#include "forms/stylesheets/StyleSheets.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/remap/NewResIds.h"
#include "transfer/remap/ResIDMap.h"

namespace transfer {

namespace {

using platform::FourCC;

const uint32_t kPict = FourCC("PICT"), kWizard = FourCC("PIWZ"), kPictNames = FourCC("PIC#");
const uint32_t kSheets = FourCC("Stlx"), kOldSheets = FourCC("Styl");
constexpr int16_t kTableId = 128;
constexpr size_t kNameRoom = 32, kPictEntry = 34, kSheetHeader = 4, kSheetEntry = 376, kIdAt = 32;

// Entries of a table of fixed entries after a header whose first word is
// the count: the bytes, and the count of whole entries it holds.
struct EntryTable {
    std::vector<uint8_t> bytes;
    size_t header = 2, entry = kPictEntry;
    int32_t Count() const
    {
        const int32_t whole = bytes.size() >= header ? int32_t((bytes.size() - header) / entry) : 0;
        return std::clamp<int32_t>(bytes.size() >= 2 ? platform::ReadBES16(bytes.data()) : 0, 0, whole);
    }
    uint8_t* At(int32_t i) { return &bytes[header + entry * size_t(i)]; }
    // The entry (0-based) holding `id` at +32; -1 for none.
    int32_t Find(int16_t id)
    {
        for (int32_t i = 0; i < Count(); ++i)
            if (platform::ReadBES16(At(i) + kIdAt) == id) return i;
        return -1;
    }
    uint8_t* Append()
    {
        const int32_t n = Count();
        bytes.resize(header + entry * size_t(n + 1), 0);
        platform::WriteBE16(bytes.data(), uint16_t(n + 1));
        return At(n);
    }
};

int16_t LoadPictNames(TMainDoc* doc, EntryTable* table)
{
    int16_t err = 0;
    if (!StoreBytes(doc, kPictNames, kTableId, &table->bytes, &err) && err) return err;
    if (table->bytes.size() < 2) table->bytes.assign(2, 0);
    return 0;
}

// The id a picture takes in the destination (7.107's rule); *copy false
// when this transfer copied it there already.
int16_t PictureId(TMainDoc* dest, int16_t oldId, bool newId, int16_t* id, bool* copy)
{
    *copy = true;
    int16_t mapped = -1;
    if (!newId && !HasStoreRes(dest, kPict, oldId)) {
        *id = oldId;
    } else if (!newId && g_PictIDMapMgr && (mapped = g_PictIDMapMgr->GetMapResId(kPict, oldId)) != -1) {
        *id = mapped;
        *copy = false;
        return 0;
    } else {
        *id = 0;
        for (int32_t candidate = kFirstCopyId; candidate <= INT16_MAX && *id == 0; ++candidate)
            if (!HasStoreRes(dest, kPict, int16_t(candidate))) *id = int16_t(candidate);
        if (*id == 0) return platform::addResFailed;
    }
    if (g_PictIDMapMgr)
        if (const int16_t err = g_PictIDMapMgr->Add(kPict, oldId, int16_t(-*id))) return err;
    return g_ResIDMapMgr ? g_ResIDMapMgr->Add(kPict, oldId, int16_t(-*id)) : 0;
}

// 'PICT' and 'PIWZ' of the source's `from` as the destination's `to`, an
// entry named `name` in 'PIC#' 128 and, with `object`, the picture object.
int16_t CopyPicture(TMainDoc* source, TMainDoc* dest, int16_t from, int16_t to, const unsigned char* name,
                    bool object, TObjQz** made)
{
    *made = nullptr;
    int16_t err = 0;
    platform::Handle pict = CopyWithRoom(source, dest, kPict, from, &err);
    if (!pict) return err;
    if ((err = AddStoreRes(dest, pict, kPict, to)) != 0) return err;
    if (HasStoreRes(source, kWizard, from) && (err = CopyStoreResAs(source, dest, kWizard, from, to)) != 0) return err;
    if (!object) return 0;
    EntryTable names;
    if ((err = LoadPictNames(dest, &names)) != 0) return err;
    uint8_t* entry = names.Append();
    PutFixedName(entry, kNameRoom, name);
    platform::WriteBE16(entry + kIdAt, uint16_t(to));
    if ((err = PutStoreBytes(dest, kPictNames, kTableId, names.bytes)) != 0) return err;
    *made = NewObj_Id(dest, 18, name, to, false);
    return *made && (*made)->id == to ? 0 : platform::memFullErr;
}

// The destination's style-sheet table, in the current layout; a new one
// (count 0, last id 0) when it has none.
int16_t LoadSheets(TMainDoc* doc, EntryTable* table)
{
    table->header = kSheetHeader;
    table->entry = kSheetEntry;
    int16_t err = 0;
    if (!StoreBytes(doc, kSheets, kTableId, &table->bytes, &err) && !StoreBytes(doc, kOldSheets, kTableId, &table->bytes, &err)) {
        if (err) return err;
        table->bytes.assign(kSheetHeader, 0);
        return 0;
    }
    platform::Handle raw = nullptr;
    if (platform::PtrToHand(table->bytes.data(), &raw, platform::Size(table->bytes.size())) != 0) return platform::memFullErr;
    platform::Handle converted = ConvertStyleSheet(raw);
    if (!converted) {
        platform::DisposeHandle(raw);
        return kRecordMissing;
    }
    const auto* p = reinterpret_cast<const uint8_t*>(*converted);
    table->bytes.assign(p, p + platform::GetHandleSize(converted));
    if (converted != raw) platform::DisposeHandle(converted);
    platform::DisposeHandle(raw);
    if (table->bytes.size() < kSheetHeader) return kRecordMissing;
    return 0;
}

// The source's entry of the style sheet (its id and name).
int16_t SourceSheet(TMainDoc* source, TObjQz* obj, std::vector<uint8_t>* entry)
{
    EntryTable from;
    if (const int16_t err = LoadSheets(source, &from)) return err;
    for (int32_t i = 0; i < from.Count(); ++i) {
        const uint8_t* e = from.At(i);
        if (platform::ReadBES16(e + kIdAt) != obj->id || e[0] != obj->name[0] ||
            std::memcmp(e + 1, obj->name + 1, e[0]) != 0)
            continue;
        entry->assign(e, e + kSheetEntry);
        return 0;
    }
    return kRecordMissing;
}

}  // namespace

int16_t MovePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId)
{
    *newObj = nullptr;
    int16_t id = 0;
    bool copy = true;
    if (const int16_t err = PictureId(dest, obj->id, newId, &id, &copy)) return err;
    if (!copy) {
        *newObj = SearchObj_Id(dest, 18, id);
        return 0;
    }
    const int16_t err = CopyPicture(source, dest, obj->id, id, obj->name, true, newObj);
    return err ? err : CommitNoMap(dest);
}

int16_t MovePictureFlipFlop(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId)
{
    *newId = id;
    if (!HasStoreRes(source, kPict, id)) return 0;
    bool copy = true;
    if (const int16_t err = PictureId(dest, id, false, newId, &copy)) return err;
    if (!copy) return 0;
    TObjQz* obj = SearchObj_Id(source, 18, id);
    TObjQz* made = nullptr;
    const unsigned char none[1] = {0};
    const int16_t err = CopyPicture(source, dest, id, *newId, obj ? obj->name : none, obj != nullptr, &made);
    return err ? err : CommitNoMap(dest);
}

int16_t ReplacePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    TObjQz* target = *destObj;
    if (!target) return kRecordMissing;
    int16_t err = 0;
    platform::Handle pict = CopyWithRoom(source, dest, kPict, obj->id, &err);
    if (!pict) return err;
    if ((err = RemoveStoreRes(dest, kWizard, target->id)) != 0 || (err = ReplaceStoreRes(dest, pict, kPict, target->id)) != 0)
        return err;
    if (HasStoreRes(source, kWizard, obj->id) && (err = CopyStoreResAs(source, dest, kWizard, obj->id, target->id)) != 0)
        return err;
    EntryTable names;
    if ((err = LoadPictNames(dest, &names)) != 0) return err;
    if (const int32_t at = names.Find(target->id); at >= 0) {
        PutFixedName(names.At(at), kNameRoom, obj->name);
        if ((err = PutStoreBytes(dest, kPictNames, kTableId, names.bytes)) != 0) return err;
    }
    RenameObj(target, obj->name);
    return CommitNoMap(dest);
}

int16_t MoveStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    std::vector<uint8_t> entry;
    EntryTable to;
    int16_t err = 0;
    if ((err = SourceSheet(source, obj, &entry)) != 0 || (err = LoadSheets(dest, &to)) != 0) return err;
    if (to.Count() >= INT16_MAX) return kRecordMissing;
    unsigned char name[256];
    // A style sheet's name is its own in the destination.
    FreeObjName(dest, 19, newName && newName[0] ? newName : obj->name, name);
    const int16_t id = int16_t(platform::ReadBES16(&to.bytes[2]) + 1);
    if (id <= 0) return kRecordMissing;
    uint8_t* e = to.Append();
    std::memcpy(e, entry.data(), kSheetEntry);
    PutFixedName(e, kNameRoom, name);
    platform::WriteBE16(e + kIdAt, uint16_t(id));
    platform::WriteBE16(&to.bytes[2], uint16_t(id));
    if ((err = PutStoreBytes(dest, kSheets, kTableId, to.bytes)) != 0) return err;
    TObjQz* made = NewObj_Id(dest, 19, name, id, false);
    if (!made || made->id != id) return platform::memFullErr;
    if ((err = CommitNoMap(dest)) != 0) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    TObjQz* target = *destObj;
    if (!target) return kRecordMissing;
    std::vector<uint8_t> entry;
    EntryTable to;
    int16_t err = 0;
    if ((err = SourceSheet(source, obj, &entry)) != 0 || (err = LoadSheets(dest, &to)) != 0) return err;
    const int32_t at = to.Find(target->id);
    if (at < 0) return kRecordMissing;
    std::memcpy(to.At(at), entry.data(), kSheetEntry);
    platform::WriteBE16(to.At(at) + kIdAt, uint16_t(target->id));
    if ((err = PutStoreBytes(dest, kSheets, kTableId, to.bytes)) != 0) return err;
    RenameObj(target, obj->name);
    return CommitNoMap(dest);
}

}  // namespace transfer
