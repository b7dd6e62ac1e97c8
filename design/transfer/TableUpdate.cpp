// A table's members in its document's table list, as copies add to them
// and replacements rebuild them.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/MoverReading.h"
#include "design/reading/ReadQzB.h"
#include "design/transfer/TableMembers.h"
#include "design/transfer/TableRecords.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace tables {

namespace {

ObjListHdl TableList(TObjQz* table)
{
    return table && table->owner && table->owner->fTypeList ? table->owner->fTypeList->lists[0] : nullptr;
}

bool Within(TObjQz* entry, TObjQz* table)
{
    for (TObjQz* o = entry ? entry->GetOwnerObj() : nullptr; o; o = o->GetOwnerObj())
        if (o == table) return true;
    return false;
}

// [at, end) of the table's block, `at` just after the table; at is -1 when
// the table is not listed. Entries from `limit` on are not looked at.
void BlockRange(ObjListHdl list, TObjQz* table, int32_t limit, int32_t* at, int32_t* end)
{
    *at = *end = -1;
    int32_t i = 0;
    while (i < limit && list->At(i) != table) ++i;
    if (i >= limit) return;
    *at = *end = i + 1;
    while (*end < limit && Within(list->At(*end), table)) ++*end;
}

void FieldName(const uint8_t* entry, unsigned char* out)
{
    const uint8_t n = std::min<uint8_t>(entry[0], uint8_t(kNameSize - 1));
    std::memcpy(out + 1, entry + 1, n);
    out[0] = n;
}

// Field `k` of `table` read from its entry as a read of the table reads
// it: its attributes, its documentation mark, its help.
int16_t ReadField(TFileObjQz* table, TCritObjQz* field, int16_t k, const uint8_t* entry)
{
    field->fieldNumber = k;
    field->Read(const_cast<uint8_t*>(entry));
    field->SetDocFlag();
    return ReadFieldBalloon(table, field, k);
}

}  // namespace

std::vector<TObjQz*> BlockOf(TObjQz* table)
{
    std::vector<TObjQz*> out;
    ObjListHdl list = TableList(table);
    if (!list) return out;
    int32_t at = 0, end = 0;
    BlockRange(list, table, list->Size(), &at, &end);
    for (int32_t i = at; at >= 0 && i < end; ++i) out.push_back(list->At(i));
    return out;
}

int16_t SetBlock(TObjQz* table, const std::vector<TObjQz*>& entries)
{
    ObjListHdl list = TableList(table);
    if (!list) return platform::memFullErr;
    int32_t at = 0, end = 0;
    BlockRange(list, table, list->Size(), &at, &end);
    if (at < 0) return 0;
    std::unordered_set<TObjQz*> placed(entries.begin(), entries.end());
    std::vector<TObjQz*> all;
    all.reserve(size_t(list->Size()) + entries.size());
    for (int32_t i = 0; i < at; ++i)
        if (!placed.count(list->At(i))) all.push_back(list->At(i));
    all.insert(all.end(), entries.begin(), entries.end());
    for (int32_t i = end; i < list->Size(); ++i)
        if (!placed.count(list->At(i))) all.push_back(list->At(i));
    return SetObjListEntries(list, all.data(), int32_t(all.size()));
}

int16_t AddTableMember(TFileObjQz* table, int16_t k, const uint8_t* entry, TObjQz** out)
{
    *out = nullptr;
    TMainDoc* doc = table->owner;
    ObjListHdl list = GetObjListe(doc->fTypeList, 1);
    if (!list) return platform::memFullErr;
    const int32_t before = list->Size();
    unsigned char name[kNameSize];
    FieldName(entry, name);
    const bool sub = entry[kTypeAt] == kSubtableType;
    TObjQz* obj = NewCritObj(doc, sub ? 29 : 28, name, sub ? platform::ReadBES16(entry + kSubIdAt) : k);
    if (!obj) return platform::memFullErr;
    *out = obj;
    int16_t err = 0;
    if (sub) {
        auto* s = static_cast<TFileObjQz*>(obj);
        s->ownerObj = table;
        s->fieldNumber = k;
        err = obj->ReadMover(nullptr);
    } else {
        static_cast<TCritObjQz*>(obj)->ownerObj = table;
    }
    obj->SetFlag(kFlagGrouped, true);
    obj->SetFlag(kFlagGrouped2, true);
    obj->level = uint8_t(table->level + 1);
    // What was appended (the member and, for a subtable, its own) goes to
    // the end of the table's block.
    list = doc->fTypeList->lists[0];
    int32_t at = 0, end = 0;
    BlockRange(list, table, before, &at, &end);
    if (at >= 0 && end < before) {
        std::vector<TObjQz*> all(list->entries, list->entries + list->Size());
        std::rotate(all.begin() + end, all.begin() + before, all.end());
        if (const int16_t e = SetObjListEntries(list, all.data(), int32_t(all.size()))) return e;
    }
    if (const int16_t e = AddObjList(&table->members, obj)) return e;
    if (err == 0 && !sub) err = ReadField(table, static_cast<TCritObjQz*>(obj), k, entry);
    return err;
}

}  // namespace tables

int16_t TFileObjQz::ReplaceUpdate(std::vector<TObjQz*>* dropped)
{
    using namespace tables;
    if (!owner) return kResourceMissing;
    useres(owner->fResFile);
    platform::Handle h = xget1res(kDefinition, id);
    if (!h) return reserr == platform::memFullErr ? platform::memFullErr : kResourceMissing;
    const std::vector<uint8_t> def(reinterpret_cast<const uint8_t*>(*h),
                                   reinterpret_cast<const uint8_t*>(*h) + platform::GetHandleSize(h));
    const int32_t count = FieldCount(def);
    if (count < 0) return kResourceMissing;
    methodId = S16(def, kMethodAt);
    if (const int16_t err = MakeTableMethod(this)) return err;

    std::vector<TObjQz*> old, now, gone, leaving;
    for (int32_t i = 0; members && i < members->Size(); ++i) old.push_back(members->At(i));
    // The fields' help is read again with them: the balloons there were leave.
    for (int32_t i = 0; balloons && i < balloons->Size(); ++i) leaving.push_back(balloons->At(i));
    if (balloons && SetObjListEntries(balloons, nullptr, 0) != 0) return platform::memFullErr;
    int16_t err = 0;
    for (int32_t k = 1; k <= count && err == 0; ++k) {
        const uint8_t* e = &def[EntryAt(k)];
        const bool sub = e[kTypeAt] == kSubtableType;
        TObjQz* m = size_t(k) <= old.size() ? old[size_t(k - 1)] : nullptr;
        if (m && m->kind == (sub ? 29 : 28)) {
            unsigned char name[kNameSize];
            FieldName(e, name);
            m->SetName(name);
            if (sub) {
                auto* s = static_cast<TFileObjQz*>(m);
                const int16_t subId = platform::ReadBES16(e + kSubIdAt);
                if (s->id != subId) {
                    s->id = subId;
                    NoteObjIdChanged();
                }
                s->fieldNumber = int16_t(k);
                err = s->ReplaceUpdate(dropped);
            } else {
                err = ReadField(this, static_cast<TCritObjQz*>(m), int16_t(k), e);
            }
            now.push_back(m);
            continue;
        }
        if (m) gone.push_back(m);
        TObjQz* made = nullptr;
        err = AddTableMember(this, int16_t(k), e, &made);
        if (made) now.push_back(made);
    }
    for (size_t i = size_t(count); i < old.size(); ++i) gone.push_back(old[i]);
    if (err != 0) return err;

    // The block in field order; the members left out leave it, with theirs.
    std::vector<TObjQz*> block;
    for (TObjQz* m : now) {
        block.push_back(m);
        if (m->kind == 29)
            for (TObjQz* below : BlockOf(m)) block.push_back(below);
    }
    for (TObjQz* m : gone) {
        leaving.push_back(m);
        if (m->kind == 29)
            for (TObjQz* below : BlockOf(m)) leaving.push_back(below);
    }
    if (!members && (err = NewObjList(&members, 10)) != 0) return err;
    if ((err = SetObjListEntries(members, now.data(), int32_t(now.size()))) != 0) return err;
    if ((err = SetBlock(this, block)) != 0) return err;
    if (dropped) {
        dropped->insert(dropped->end(), leaving.begin(), leaving.end());
    } else {
        for (TObjQz* m : leaving) m->Unlink();
        for (TObjQz* m : leaving) m->Dispose();
    }
    MajRefLevel();
    return 0;
}

bool TFileObjQz::IsInterfaceFile()
{
    for (int32_t i = 0; members && i < members->Size(); ++i)
        if (members->At(i)->Used()) return false;
    return true;
}
