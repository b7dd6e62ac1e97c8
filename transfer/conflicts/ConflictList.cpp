#include "transfer/conflicts/ConflictList.h"

#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

TConflict** NewSlots(int32_t n)
{
    return reinterpret_cast<TConflict**>(
        platform::NewPtrClear(platform::Size(n) * platform::Size(sizeof(TConflict*))));
}

// The record holding the list that `record` is in; null at the top.
const TConflict* Holder(const TConflict* record) { return record->fList ? record->fList->holder : nullptr; }

int32_t Depth(const TConflict* record)
{
    int32_t depth = 0;
    for (const TConflict* r = Holder(record); r; r = Holder(r)) ++depth;
    return depth;
}

// `a` comes before `b` in the walk of a list that holds both: a record
// comes before its sub-list, which comes before the records after it.
bool WalkedBefore(const TConflict* a, const TConflict* b)
{
    int32_t depthA = Depth(a), depthB = Depth(b);
    const bool aDeeper = depthA > depthB;
    for (; depthA > depthB; --depthA) a = Holder(a);
    for (; depthB > depthA; --depthB) b = Holder(b);
    if (a == b) return !aDeeper;  // one holds the other
    while (a->fList != b->fList) {
        a = Holder(a);
        b = Holder(b);
    }
    return a->fPlace < b->fPlace;
}

// The list holding the record that holds `list`; null at the top.
C_ListHdl Above(C_ListHdl list) { return list->holder ? list->holder->fList : nullptr; }

// The source's entry, made when missing; throws std::bad_alloc.
C_ListRec::Firsts& EntryOf(C_ListHdl list, const TObjQz* source)
{
    if (!source) return list->withoutSource;
    if (C_ListRec::Firsts* held = list->firsts.Find(source)) return *held;
    list->firsts.Put(source, {});
    return *list->firsts.Find(source);
}

const C_ListRec::Firsts* FindEntry(C_ListHdl list, const TObjQz* source)
{
    return source ? list->firsts.Find(source) : &list->withoutSource;
}

// The entries that indexing `record` (and the records under it, when it
// holds a sub-list already) in `list` and the lists above it will fill:
// made before the append, so that filling them cannot fail. An entry left
// empty by a failure here answers as a missing one does. Throws
// std::bad_alloc.
void MakeEntries(C_ListHdl list, const TConflict* record)
{
    for (C_ListHdl l = list; l; l = Above(l)) EntryOf(l, record->fSource);
    if (!record->IsMember(1)) return;
    const C_ListHdl sub = static_cast<const TRConflict*>(record)->fSubList;
    for (int32_t i = 0; sub && i < sub->Size(); ++i) MakeEntries(list, sub->At(i));
}

// `record`, now reachable from the walk of `list`, and the records under
// it, in the chain indexes of `list` and of every list above it.
void IndexFromHere(C_ListHdl list, TConflict* record)
{
    for (C_ListHdl l = list; l; l = Above(l)) {
        TConflict*& first = EntryOf(l, record->fSource).inChain;  // made already
        if (!first || WalkedBefore(record, first)) first = record;
    }
    if (!record->IsMember(1)) return;
    const C_ListHdl sub = static_cast<TRConflict*>(record)->fSubList;
    for (int32_t i = 0; sub && i < sub->Size(); ++i) IndexFromHere(list, sub->At(i));
}

}  // namespace

int16_t NewC_List(C_ListHdl* list, int16_t room)
{
    *list = nullptr;
    // A room below 1 would leave a list that can never grow.
    if (room < 1) room = 1;
    void* block = platform::NewPtrClear(sizeof(C_ListRec));
    if (!block) return platform::memFullErr;
    auto* rec = new (block) C_ListRec;
    rec->entries = NewSlots(int32_t(room) + 1);
    if (!rec->entries) {
        platform::DisposePtr(static_cast<platform::Ptr>(block));
        return platform::memFullErr;
    }
    rec->count = 1;
    rec->free = room - 1;
    rec->step = room;
    *list = rec;
    return 0;
}

int16_t AddC_List(C_ListHdl list, TConflict* record)
{
    if (!list) return platform::memFullErr;
    try {
        MakeEntries(list, record);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    if (list->free <= 0) {
        // (step + count) entries and the terminator, as the stored list grows.
        const int32_t total = int32_t(list->step) + list->count + 1;
        TConflict** slots = NewSlots(total);
        if (!slots) return platform::memFullErr;
        std::memcpy(slots, list->entries, sizeof(TConflict*) * size_t(list->count));
        platform::DisposePtr(reinterpret_cast<platform::Ptr>(list->entries));
        list->entries = slots;
        list->free = list->step;
    }
    list->entries[list->count - 1] = record;
    list->entries[list->count] = nullptr;
    ++list->count;
    --list->free;
    record->fList = list;
    record->fPlace = list->Size() - 1;
    TConflict*& own = EntryOf(list, record->fSource).own;  // made already
    if (!own) own = record;
    IndexFromHere(list, record);
    return 0;
}

bool IsInC_List(C_ListHdl list, const TObjQz* obj) { return transfer::C_Search(list, obj) != nullptr; }

TConflict* C_Search(C_ListHdl list, const TObjQz* obj)
{
    const C_ListRec::Firsts* entry = list ? FindEntry(list, obj) : nullptr;
    return entry ? entry->own : nullptr;
}

TConflict* C_SearchInChain(C_ListHdl list, const TObjQz* obj)
{
    const C_ListRec::Firsts* entry = list ? FindEntry(list, obj) : nullptr;
    return entry ? entry->inChain : nullptr;
}

void DisposeC_List(C_ListHdl list)
{
    if (!list) return;
    for (int32_t i = 0; i < list->Size(); ++i) list->At(i)->Dispose();
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(list->entries));
    list->~C_ListRec();
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(list));
}

bool IsConflict(C_ListHdl list)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* record = list->At(i);
        if (record->fVisible) return true;
        if (record->IsMember(1) && IsConflict(static_cast<TRConflict*>(record)->fSubList)) return true;
    }
    return false;
}

}  // namespace transfer
