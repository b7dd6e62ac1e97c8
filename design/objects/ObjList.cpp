#include "design/objects/ObjList.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/dialogs/BusyCursor.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjBlocks.h"
#include "design/objects/ListIndexes.h"
#include "design/objects/ObjKinds.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

namespace {

uint64_t gGeneration = 0;
uint64_t gStamp = 0;
uint64_t gIdGeneration = 0;

void Touch(ObjListRec* list)
{
    ++gGeneration;
    list->stamp = list->rewritten = ++gStamp;
}

// An entry added at the end: what was held stays held.
void TouchAppended(ObjListRec* list)
{
    ++gGeneration;
    list->stamp = ++gStamp;
}

TObjQz** NewSlots(int32_t n)
{
    return reinterpret_cast<TObjQz**>(platform::NewPtrClear(platform::Size(n) * platform::Size(sizeof(TObjQz*))));
}

// A list is made as one block: the record, then room for its first slots.
// Most lists (an object's uses and users) never outgrow it, so a list
// costs one allocation, not two.
TObjQz** FirstSlots(ObjListRec* list) { return reinterpret_cast<TObjQz**>(list + 1); }

// The first slot the list's block holds (entries may start further on).
TObjQz** BaseSlots(ObjListRec* list) { return list->entries - list->head; }

void FreeSlots(ObjListRec* list)
{
    if (BaseSlots(list) != FirstSlots(list)) platform::DisposePtr(reinterpret_cast<platform::Ptr>(BaseSlots(list)));
    list->head = 0;
}

// Removes the entry at `index`, moving the entries before it up when they
// are fewer than those after it.
void RemoveAt(ObjListRec* list, int32_t index)
{
    Touch(list);
    const int32_t size = list->count - 1;
    if (index < size / 2) {
        std::memmove(list->entries + 1, list->entries, sizeof(TObjQz*) * size_t(index));
        ++list->entries;
        ++list->head;
        --list->room;
    } else {
        std::memmove(list->entries + index, list->entries + index + 1, sizeof(TObjQz*) * size_t(size - index));
        ++list->free;
    }
    --list->count;
}

// A list this long that moves its entries takes room for half as many
// again; a shorter one takes what its step asks.
constexpr int32_t kSpareFrom = 256;

// Gives the list `step` free slots when none is free; the list is
// untouched on failure.
int16_t Grow(ObjListRec* list)
{
    if (list->free > 0) return 0;
    const int64_t needed = int64_t(list->count) + list->step + 1;
    if (needed > INT32_MAX / int64_t(sizeof(TObjQz*))) return platform::memFullErr;
    if (needed > list->room) {
        const int64_t spare = list->count >= kSpareFrom ? list->count / 2 : 0;
        const int64_t more = std::min<int64_t>(INT32_MAX / int64_t(sizeof(TObjQz*)), needed + spare);
        TObjQz** slots = NewSlots(int32_t(more));
        if (!slots) return platform::memFullErr;
        std::memcpy(slots, list->entries, sizeof(TObjQz*) * size_t(list->count));
        FreeSlots(list);
        list->entries = slots;
        list->room = int32_t(more);
    }
    list->free = list->step;
    return 0;
}

}  // namespace

int16_t NewObjList(ObjListHdl* list, int16_t room)
{
    *list = nullptr;
    // A room below 1 would leave a list that can never grow.
    if (room < 1) room = 1;
    void* block = NewObjBlock(sizeof(ObjListRec) + sizeof(TObjQz*) * (size_t(room) + 1));
    if (!block) return platform::memFullErr;
    auto* rec = new (block) ObjListRec;
    rec->entries = FirstSlots(rec);
    rec->room = room + 1;
    rec->head = 0;
    rec->stamp = rec->rewritten = ++gStamp;
    rec->count = 1;
    rec->free = room - 1;
    rec->step = room;
    *list = rec;
    return 0;
}

uint64_t ObjListGeneration() { return gGeneration; }
void NoteObjListChanged() { ++gGeneration; }
void StampObjList(ObjListHdl list)
{
    if (list) list->stamp = list->rewritten = ++gStamp;
}
uint64_t ObjIdGeneration() { return gIdGeneration; }
void NoteObjIdChanged() { ++gIdGeneration; }

void FreeObjList(ObjListHdl list)
{
    if (!list) return;
    NoteObjListChanged();
    FreeSlots(list);
    list->~ObjListRec();
    DisposeObjBlock(list);
}

void RazObjList(ObjListHdl list)
{
    if (!list) return;
    // Back to the first slots, which hold step + 1 entries.
    Touch(list);
    FreeSlots(list);
    list->entries = FirstSlots(list);
    list->room = list->step + 1;
    list->free = list->step - 1;
    list->count = 1;
    list->entries[0] = nullptr;
}

int16_t AddObjList(ObjListHdl* list, TObjQz* obj)
{
    if (!*list) {
        const int16_t err = NewObjList(list, 10);
        if (err) return err;
    }
    ObjListRec* l = *list;
    if (const int16_t err = Grow(l)) return err;
    TouchAppended(l);
    l->entries[l->count - 1] = obj;
    l->entries[l->count] = nullptr;
    ++l->count;
    --l->free;
    return 0;
}

int16_t SetObjListEntries(ObjListHdl list, TObjQz* const* objs, int32_t n)
{
    if (!list || n < 0) return platform::paramErr;
    if (n + 1 > list->room) {
        TObjQz** slots = NewSlots(n + 1 + list->step);
        if (!slots) return platform::memFullErr;
        FreeSlots(list);
        list->entries = slots;
        list->room = n + 1 + list->step;
    }
    Touch(list);
    if (n) std::memmove(list->entries, objs, sizeof(TObjQz*) * size_t(n));
    list->entries[n] = nullptr;
    list->count = n + 1;
    list->free = list->room - list->count - 1 > 0 ? list->room - list->count - 1 : 0;
    return 0;
}

int16_t AddSortedObjList(ObjListHdl* list, TObjQz* obj, int32_t index)
{
    if (!*list) {
        const int16_t err = NewObjList(list, 10);
        if (err) return err;
    }
    ObjListRec* l = *list;
    if (index < 0) index = 0;
    if (index > l->count - 1) index = l->count - 1;
    if (const int16_t err = Grow(l)) return err;
    Touch(l);
    std::memmove(l->entries + index + 1, l->entries + index, sizeof(TObjQz*) * size_t(l->count - index));
    l->entries[index] = obj;
    ++l->count;
    --l->free;
    return 0;
}

int16_t AddSortPtrList(ObjListHdl* list, TObjQz* obj)
{
    int32_t lo = 0, hi = *list ? (*list)->count - 1 : 0;
    // Ascending addresses: the first index whose entry is not below obj.
    while (lo < hi) {
        const int32_t mid = (lo + hi) / 2;
        if (std::less<TObjQz*>()((*list)->entries[mid], obj))
            lo = mid + 1;
        else
            hi = mid;
    }
    if (*list && lo < (*list)->count - 1 && (*list)->entries[lo] == obj) return 0;
    return AddSortedObjList(list, obj, lo);
}

int16_t MergeSortedObjList(ObjListHdl* list, TObjQz* const* objs, int32_t n)
{
    if (n <= 0) return 0;
    if (!*list) {
        const int16_t err = NewObjList(list, 10);
        if (err) return err;
    }
    ObjListRec* l = *list;
    auto before = [](const unsigned char* a, const unsigned char* b) { return rel2str(a, b) == kSmaller; };
    // The collation is costly and many objects share a name: the objects
    // are grouped by their name's bytes, only the groups are put in
    // collation order, and each is placed by one binary search.
    std::unordered_map<std::string_view, uint32_t> index;
    std::vector<uint32_t> groupOf(static_cast<size_t>(n));
    std::vector<const TObjQz*> first;   // a group's first object
    std::vector<uint32_t> sizes;
    for (int32_t i = 0; i < n; ++i) {
        const std::string_view key(reinterpret_cast<const char*>(objs[i]->name + 1), objs[i]->name[0]);
        const auto [it, fresh] = index.emplace(key, uint32_t(first.size()));
        if (fresh) {
            first.push_back(objs[i]);
            sizes.push_back(0);
        }
        groupOf[size_t(i)] = it->second;
        ++sizes[it->second];
    }
    std::vector<uint32_t> order(first.size());
    for (uint32_t g = 0; g < order.size(); ++g) order[g] = g;
    std::stable_sort(order.begin(), order.end(),
                     [&](uint32_t a, uint32_t b) { return before(first[a]->name, first[b]->name); });
    // Each group's place in the sorted objects, then the objects there in
    // the order given.
    std::vector<uint32_t> start(first.size());
    uint32_t total = 0;
    for (uint32_t g : order) {
        start[g] = total;
        total += sizes[g];
    }
    std::vector<TObjQz*> added(static_cast<size_t>(n));
    std::vector<uint32_t> next = start;
    for (int32_t i = 0; i < n; ++i) added[next[groupOf[size_t(i)]]++] = objs[i];
    TObjQz** slots = NewSlots(l->count + n + l->step + 1);
    if (!slots) return platform::memFullErr;
    TObjQz** const end = l->entries + (l->count - 1);
    TObjQz** from = l->entries;
    TObjQz** out = slots;
    for (uint32_t g : order) {
        const unsigned char* name = first[g]->name;
        TObjQz** place =
            std::upper_bound(from, end, name, [&](const unsigned char* key, const TObjQz* e) { return before(key, e->name); });
        out = std::copy(from, place, out);
        out = std::copy(added.begin() + std::ptrdiff_t(start[g]), added.begin() + std::ptrdiff_t(start[g] + sizes[g]), out);
        from = place;
    }
    std::copy(from, end, out);
    Touch(l);
    FreeSlots(l);
    l->entries = slots;
    l->room = l->count + n + l->step + 1;
    l->count += n;
    l->free = l->step;
    l->entries[l->count - 1] = nullptr;
    return 0;
}

int16_t DelObjList(ObjListHdl list, TObjQz* obj)
{
    if (!list || !obj) return 0;
    for (int32_t i = 0; i < list->count - 1; ++i)
        if (list->entries[i] == obj) {
            RemoveAt(list, i);
            return 0;
        }
    return 0;
}

void DelObjListAt(ObjListHdl list, int32_t index)
{
    if (!list || index < 0 || index >= list->count - 1) return;
    RemoveAt(list, index);
}

void SwapOutObjListAt(ObjListHdl list, int32_t index)
{
    if (!list || index < 0 || index >= list->count - 1) return;
    Touch(list);
    const int32_t last = list->count - 2;
    list->entries[index] = list->entries[last];
    list->entries[last] = nullptr;
    --list->count;
    ++list->free;
}

bool IsInList(ObjListHdl list, const TObjQz* obj)
{
    if (!list || !obj) return false;
    if (bool held = false; listindex::Holds(list, obj, &held)) return held;
    for (int32_t i = 0; i < list->count - 1; ++i)
        if (list->entries[i] == obj) return true;
    return false;
}

void DisposeObjList(ObjListHdl list)
{
    if (!list) return;
    // Each leaves its group as it goes, which edits other lists, never
    // this one, so the walk holds.
    for (int32_t i = 0; i < list->count - 1; ++i) list->entries[i]->Dispose();
    FreeObjList(list);
}

int16_t NewTypeList(TypeListHdl* typeList)
{
    *typeList = nullptr;
    void* block = platform::NewPtrClear(sizeof(TypeListRec));
    if (!block) return platform::memFullErr;
    *typeList = new (block) TypeListRec;
    return 0;
}

int16_t ListKindOf(int16_t kind)
{
    switch (kind) {
    case 28: case 29: return 1;
    case 30: return 10;
    case 32: case 33: return 23;
    default: return kind >= 1 && kind <= 23 ? kind : 0;
    }
}

ObjListHdl GetObjListe(TypeListHdl typeList, int16_t kind)
{
    const int16_t k = ListKindOf(kind);
    if (!typeList || k == 0) return nullptr;
    ObjListHdl& list = typeList->lists[k - 1];
    if (!list) NewObjList(&list, 30);
    return list;
}

void DisposeTypeList(TypeListHdl typeList)
{
    if (!typeList) return;
    // Every object goes: none takes its links apart one by one.
    LinksTornDown goingTogether;
    G_ModuleUpdate = 3;
    CursInstall(1, 5, 60);
    // Members and groups let go of each other first, so that whichever goes
    // first leaves the other pointing at nothing freed (a member that no
    // list holds, a method's local or a form's method, goes before its
    // group and finds the group's list empty).
    for (ObjListHdl list : typeList->lists)
        for (int32_t i = 0; list && i < list->count - 1; ++i) {
            TObjQz* obj = list->entries[i];
            obj->parent = nullptr;
            if (IsGroupKind(obj) && obj->members) RazObjList(obj->members);
        }
    for (ObjListHdl& list : typeList->lists) {
        DisposeObjList(list);
        list = nullptr;
    }
    typeList->~TypeListRec();
    platform::DisposePtr(reinterpret_cast<platform::Ptr>(typeList));
    platform::PurgeMem(0);
    platform::CompactMem(0);
    CursRmve();
    G_ModuleUpdate = 4;
}
