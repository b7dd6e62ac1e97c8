// The movers of tables, subtables and fields (layouts in
// design/transfer/TableRecords.h).
#include "transfer/movers/TableMovers.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/transfer/ObjMove.h"
#include "design/transfer/TableMembers.h"
#include "design/transfer/TableRecords.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/ListMovers.h"
#include "transfer/movers/MoverSupport.h"
#include "transfer/movers/Movers.h"

namespace transfer {

namespace {

using namespace tables;

// Deeper than any real structure: the reader refuses the same.
constexpr int kMaxDepth = 32;

// A definition and its subtables' as read from the source, checked whole
// before anything is written.
struct Definition {
    int16_t id = 0;
    std::vector<uint8_t> bytes;
    std::vector<Definition> subs;  // in the order of their entries
};

int16_t LoadTree(TMainDoc* doc, int16_t id, Definition* out, std::vector<int16_t>* seen, int depth, int64_t* total)
{
    if (depth > kMaxDepth || std::find(seen->begin(), seen->end(), id) != seen->end()) return kRecordMissing;
    int16_t err = 0;
    try {
        seen->push_back(id);
        out->id = id;
        if (!StoreBytes(doc, kDefinition, id, &out->bytes, &err)) return err ? err : kRecordMissing;
        const int32_t count = FieldCount(out->bytes);
        if (count < 0) return kRecordMissing;
        *total += int64_t(out->bytes.size());
        for (int32_t k = 1; k <= count; ++k) {
            const size_t e = EntryAt(k);
            if (out->bytes[e + kTypeAt] != kSubtableType) continue;
            out->subs.emplace_back();
            if ((err = LoadTree(doc, S16(out->bytes, e + kSubIdAt), &out->subs.back(), seen, depth + 1, total)))
                return err;
        }
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    return 0;
}

int16_t LoadChecked(TMainDoc* source, TMainDoc* dest, int16_t id, Definition* def, int64_t extra = 0)
{
    std::vector<int16_t> seen;
    int64_t total = extra;
    if (const int16_t err = LoadTree(source, id, def, &seen, 0, &total)) return err;
    return RoomFor(dest, 2 * total);
}

// A relation mark also sets bit 1; the word at +44 is that of a new field.
void MarkField(uint8_t* entry)
{
    if (entry[kAttrAt] & kRelationBit) entry[kAttrAt] |= kRelationMark;
    platform::WriteBE16(entry + kNewWordAt, 0xFFFF);
}

// The source's (type, id), when there, in place of the destination's
// (type, destId), which goes otherwise.
int16_t CopyOver(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t id, uint32_t destType, int16_t destId)
{
    if (const int16_t err = RemoveStoreRes(dest, destType, destId)) return err;
    if (!HasStoreRes(source, type, id)) return 0;
    if (type == destType) return CopyStoreResAs(source, dest, type, id, destId);
    std::vector<uint8_t> bytes;
    int16_t err = 0;
    if (!StoreBytes(source, type, id, &bytes, &err)) return err;
    return PutStoreBytes(dest, destType, destId, bytes);
}

// The help and documentation resources of field `k` of table `from` as
// those of field `to` of table `into`.
int16_t CopyFieldResources(TMainDoc* source, TMainDoc* dest, int16_t from, int32_t k, int16_t into, int32_t to)
{
    int16_t err = CopyOver(source, dest, BalloonType(from), int16_t(k), BalloonType(into), int16_t(to));
    if (err == 0) err = CopyOver(source, dest, FieldDocType(from), int16_t(k), FieldDocType(into), int16_t(to));
    return err;
}

// The entries of a definition made the destination's: subtables copied
// (their new ids written in), the other fields marked.
int16_t EmitTree(TMainDoc* source, TMainDoc* dest, Definition& d, int16_t number, int16_t* newId);

int16_t EmitEntries(TMainDoc* source, TMainDoc* dest, Definition& d)
{
    const int32_t count = FieldCount(d.bytes);
    auto sub = d.subs.begin();
    for (int32_t k = 1; k <= count; ++k) {
        uint8_t* e = &d.bytes[EntryAt(k)];
        if (e[kTypeAt] != kSubtableType) {
            MarkField(e);
            continue;
        }
        int16_t subId = 0;
        if (const int16_t err = EmitTree(source, dest, *sub, 0, &subId)) return err;
        platform::WriteBE16(&d.bytes[EntryAt(k) + kSubIdAt], uint16_t(subId));
        ++sub;
    }
    return 0;
}

int16_t EmitTree(TMainDoc* source, TMainDoc* dest, Definition& d, int16_t number, int16_t* newId)
{
    std::vector<uint8_t>& b = d.bytes;
    int16_t err = 0;
    if (const int16_t method = S16(b, kMethodAt); method != 0) {
        int16_t made = 0;
        err = MoveResQzScript(source, dest, method, &made);
        if (err == kRecordMissing) err = 0;
        if (err) return err;
        Put16(b, kMethodAt, made);
    }
    int16_t forms = 0;
    if ((err = NewMappedStoreId(dest, kFormTable, S16(b, kFormTableAt), &forms)) != 0 ||
        (err = PutStoreBytes(dest, kFormTable, forms, std::vector<uint8_t>(kFormHeader, 0))) != 0)
        return err;
    Put16(b, kFormTableAt, forms);
    if (number > 0) Put16(b, kNumberAt, number);
    if ((err = EmitEntries(source, dest, d)) != 0) return err;
    if ((err = NewMappedStoreId(dest, kDefinition, d.id, newId)) != 0 ||
        (err = PutStoreBytes(dest, kDefinition, *newId, b)) != 0)
        return err;
    const int32_t count = FieldCount(b);
    for (int32_t k = 1; k <= count && err == 0; ++k) err = CopyFieldResources(source, dest, d.id, k, *newId, k);
    return err;
}

// The definition `id` of the destination with its subtables, form table
// and fields' resources leaves the store (a damaged one leaves alone).
int16_t RemoveTree(TMainDoc* dest, int16_t id, int depth)
{
    std::vector<uint8_t> b;
    int16_t err = 0;
    if (depth > kMaxDepth || !StoreBytes(dest, kDefinition, id, &b, &err)) return err;
    const int32_t count = FieldCount(b);
    for (int32_t k = 1; k <= count && err == 0; ++k) {
        if (b[EntryAt(k) + kTypeAt] == kSubtableType) err = RemoveTree(dest, S16(b, EntryAt(k) + kSubIdAt), depth + 1);
        if (err == 0) err = RemoveStoreRes(dest, BalloonType(id), int16_t(k));
        if (err == 0) err = RemoveStoreRes(dest, FieldDocType(id), int16_t(k));
    }
    if (err == 0 && count >= 0 && S16(b, kFormTableAt) != -1) err = RemoveStoreRes(dest, kFormTable, S16(b, kFormTableAt));
    return err == 0 ? RemoveStoreRes(dest, kDefinition, id) : err;
}

int16_t ReplaceMethod(TMainDoc* source, TMainDoc* dest, int16_t from, int16_t over)
{
    for (uint32_t type : {kCode, platform::FourCC("PrTo")}) {
        std::vector<uint8_t> bytes;
        int16_t err = 0;
        if (StoreBytes(source, type, from, &bytes, &err)) err = PutStoreBytes(dest, type, over, bytes);
        if (err) return err;
    }
    return 0;
}

// The source's definition `d` written as the destination's `destId`,
// whose form table, number and box stay; its old subtables and its
// fields' resources go.
int16_t WriteOver(TMainDoc* source, TMainDoc* dest, Definition& d, int16_t destId, const std::vector<uint8_t>& old)
{
    std::vector<uint8_t>& b = d.bytes;
    std::memcpy(&b[kFormTableAt], &old[kFormTableAt], 4);
    std::memcpy(&b[kBoxAt], &old[kBoxAt], kBoxSize);
    const int16_t from = S16(b, kMethodAt), over = S16(old, kMethodAt);
    int16_t err = 0;
    if (from != 0 && over != 0) {
        err = ReplaceMethod(source, dest, from, over);
        Put16(b, kMethodAt, over);
    } else if (from != 0) {
        int16_t made = 0;
        err = MoveResQzScript(source, dest, from, &made);
        if (err == kRecordMissing) err = 0;
        Put16(b, kMethodAt, made);
    } else {
        Put16(b, kMethodAt, over);
    }
    if (err == 0) err = EmitEntries(source, dest, d);
    const int32_t oldCount = FieldCount(old), count = FieldCount(b);
    for (int32_t k = 1; k <= oldCount && err == 0; ++k)
        if (old[EntryAt(k) + kTypeAt] == kSubtableType) err = RemoveTree(dest, S16(old, EntryAt(k) + kSubIdAt), 1);
    for (int32_t k = 1; k <= count && err == 0; ++k) err = CopyFieldResources(source, dest, d.id, k, destId, k);
    for (int32_t k = count + 1; k <= oldCount && err == 0; ++k) {
        err = RemoveStoreRes(dest, BalloonType(destId), int16_t(k));
        if (err == 0) err = RemoveStoreRes(dest, FieldDocType(destId), int16_t(k));
    }
    return err ? err : PutStoreBytes(dest, kDefinition, destId, b);
}

void ClearTableLinks(TObjQz* table)
{
    ClearDependencies(table);
    for (TObjQz* entry : BlockOf(table)) ClearDependencies(entry);
}

int16_t FieldNumberOf(TObjQz* obj)
{
    if (auto* field = dynamic_cast<TCritObjQz*>(obj)) return field->fieldNumber;
    if (auto* sub = dynamic_cast<TFileObjQz*>(obj)) return sub->fieldNumber;
    return 0;
}

// A copy of the field's choice list under a free name; the new list
// object, the entry's id rewritten.
int16_t CopyFieldList(TMainDoc* source, TMainDoc* dest, uint8_t* entry, TObjQz** list)
{
    *list = nullptr;
    const int16_t id = platform::ReadBES16(entry + kListAt);
    if (id == -1) return 0;
    TObjQz* srcList = SearchObj_Id(source, 4, id);
    unsigned char name[256];
    FreeObjName(dest, 4, srcList ? srcList->name : reinterpret_cast<const unsigned char*>("\x04List"), name);
    int16_t made = 0, index = 0;
    const int16_t err = MoveResQzEnum(source, dest, id, name, &made, &index);
    if (err == kRecordMissing) {
        // A list the source lacks is named by no one.
        platform::WriteBE16(entry + kListAt, 0xFFFF);
        return 0;
    }
    if (err) return err;
    auto* obj = dynamic_cast<TListObjQz*>(NewObj_Id(dest, 4, name, made, false));
    if (!obj || obj->id != made) return platform::memFullErr;
    obj->listIndex = index;
    platform::WriteBE16(entry + kListAt, uint16_t(made));
    *list = obj;
    return 0;
}

}  // namespace

int16_t MoveResQzCritere(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId)
{
    *newId = 0;
    Definition def;
    if (const int16_t err = LoadChecked(source, dest, id, &def)) return err;
    return EmitTree(source, dest, def, 0, newId);
}

int16_t MoveResQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                      int16_t* number)
{
    *newId = *number = 0;
    std::vector<uint8_t> params, names, from;
    int16_t err = 0;
    if (!StoreBytes(dest, kParams, 0, &params, &err)) return err ? err : platform::memFullErr;
    if (params.size() < 2 || S16(params, 0) < 0 || S16(params, 0) > kMaxTables) return kRecordMissing;
    const int16_t count = S16(params, 0);
    if (count >= kMaxTables) return kTooManyTables;
    // The source's entry of the table: by its number, else by its id.
    if (!StoreBytes(source, kParams, 0, &from, &err)) return err ? err : kRecordMissing;
    const int32_t held = from.size() >= kParamEntries ? int32_t((from.size() - kParamEntries) / kParamEntrySize) : 0;
    const int32_t fromCount = std::min<int32_t>(from.size() >= 2 ? S16(from, 0) : 0, held);
    auto* table = dynamic_cast<TFileObjQz*>(obj);
    int32_t n = table ? table->tableNumber : 0;
    if (n < 1 || n > fromCount || S16(from, kParamEntries + kParamEntrySize * size_t(n - 1)) != obj->id) {
        n = 0;
        for (int32_t i = 1; i <= fromCount && n == 0; ++i)
            if (S16(from, kParamEntries + kParamEntrySize * size_t(i - 1)) == obj->id) n = i;
    }
    if (n == 0) return kRecordMissing;
    Definition def;
    if ((err = LoadChecked(source, dest, obj->id, &def)) != 0) return err;
    int16_t made = 0;
    if ((err = EmitTree(source, dest, def, int16_t(count + 1), &made)) != 0) return err;

    const size_t entry = kParamEntries + kParamEntrySize * size_t(count);
    if (params.size() < entry + kParamEntrySize) params.resize(entry + kParamEntrySize, 0);
    std::memcpy(&params[entry], &from[kParamEntries + kParamEntrySize * size_t(n - 1)], kParamEntrySize);
    Put16(params, entry, made);
    Put16(params, 0, int16_t(count + 1));
    if ((err = PutStoreBytes(dest, kParams, 0, params)) != 0) return err;
    if (!StoreBytes(dest, kNames, 0, &names, &err) && err) return err;
    if (names.size() < kNameSize * size_t(count + 1)) names.resize(kNameSize * size_t(count + 1), 0);
    PutFixedName(&names[kNameSize * size_t(count)], kNameSize, name);
    if ((err = PutStoreBytes(dest, kNames, 0, names)) != 0) return err;
    *newId = made;
    *number = int16_t(count + 1);
    return 0;
}

int16_t MoveQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName)
{
    *newObj = nullptr;
    unsigned char name[256];
    ChosenName(newName, obj, kNameSize - 1, name);
    int16_t id = 0, number = 0;
    if (const int16_t err = MoveResQzFile(source, dest, obj, name, &id, &number)) return err;
    auto* made = dynamic_cast<TFileObjQz*>(NewCritObj(dest, 1, name, id));
    if (!made) return platform::memFullErr;
    made->flags = int16_t(obj->flags & ~((1 << kFlagGrouped) | (1 << kFlagGrouped2) | (1 << kFlagDocOpen)));
    if (const int16_t err = made->ReadMover(&number)) return err;
    if (const int16_t err = CommitNoMap(dest)) return err;
    *newObj = made;
    return 0;
}

int16_t ReplaceResQzCritere(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t destId)
{
    std::vector<uint8_t> old;
    int16_t err = 0;
    if (!StoreBytes(dest, kDefinition, destId, &old, &err) || FieldCount(old) < 0) return err ? err : kRecordMissing;
    Definition def;
    if ((err = LoadChecked(source, dest, id, &def)) != 0) return err;
    return WriteOver(source, dest, def, destId, old);
}

int16_t ReplaceResQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz* target)
{
    auto* table = dynamic_cast<TFileObjQz*>(target);
    if (!table || table->kind != 1) return kRecordMissing;
    std::vector<uint8_t> old;
    int16_t err = 0;
    if (!StoreBytes(dest, kDefinition, table->id, &old, &err) || FieldCount(old) < 0) return err ? err : kRecordMissing;
    Definition def;
    if ((err = LoadChecked(source, dest, obj->id, &def)) != 0) return err;
    NoteChangedTable(table);
    if ((err = WriteOver(source, dest, def, table->id, old)) != 0) return err;
    // The links go before the members are read again: a field's help is
    // linked as it is read.
    ClearTableLinks(table);
    std::vector<TObjQz*> dropped;
    err = table->ReplaceUpdate(&dropped);
    DropObjs(dropped);
    if (err) return err;
    // The table uses its method, as a read links them.
    if ((err = XRef(table, table->method)) != 0) return err;
    return CommitNoMap(dest);
}

int16_t ReplaceFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj)
{
    return ReplaceResQzFile(source, dest, obj, *destObj);
}

int16_t MoveCrit(TMainDoc* source, TMainDoc* dest, TObjQz* field, TObjQz* destTable, TObjQz** newObj)
{
    *newObj = nullptr;
    auto* table = dynamic_cast<TFileObjQz*>(destTable);
    TObjQz* srcTable = field ? field->GetOwnerObj() : nullptr;
    const int16_t k = FieldNumberOf(field);
    if (!table || !srcTable) return kRecordMissing;
    std::vector<uint8_t> from, def;
    int16_t err = 0;
    if (!StoreBytes(source, kDefinition, srcTable->id, &from, &err) || k < 1 || k > FieldCount(from))
        return err ? err : kRecordMissing;
    if (!StoreBytes(dest, kDefinition, table->id, &def, &err) || FieldCount(def) < 0) return err ? err : kRecordMissing;
    const int32_t count = FieldCount(def);
    if (count >= kMaxFields) return kTooManyFields;
    std::vector<uint8_t> entry(from.begin() + ptrdiff_t(EntryAt(k)), from.begin() + ptrdiff_t(EntryAt(k) + kEntrySize));
    const bool sub = entry[kTypeAt] == kSubtableType;
    Definition subDef;
    if (sub) err = LoadChecked(source, dest, S16(entry, kSubIdAt), &subDef, int64_t(kEntrySize));
    else err = RoomFor(dest, 2 * int64_t(kEntrySize));
    if (err) return err;

    NoteChangedTable(table);
    TObjQz* list = nullptr;
    if (sub) {
        int16_t subId = 0;
        if ((err = EmitTree(source, dest, subDef, 0, &subId)) != 0) return err;
        Put16(entry, kSubIdAt, subId);
    } else {
        MarkField(entry.data());
        if ((err = CopyFieldList(source, dest, entry.data(), &list)) != 0) return err;
    }
    def.resize(EntryAt(count + 1) + kEntrySize);
    std::memcpy(&def[EntryAt(count + 1)], entry.data(), kEntrySize);
    Put16(def, 0, int16_t(count + 1));
    if ((err = PutStoreBytes(dest, kDefinition, table->id, def)) != 0) return err;
    if ((err = CopyFieldResources(source, dest, srcTable->id, k, table->id, count + 1)) != 0) return err;
    TObjQz* made = nullptr;
    err = AddTableMember(table, int16_t(count + 1), entry.data(), &made);
    if (err == 0 && list) err = XRef(made, list);
    if (err == 0 && list) err = XRef(table, list);
    if (err == 0) err = CommitNoMap(dest);
    if (err == 0) *newObj = made;
    return err;
}

}  // namespace transfer
