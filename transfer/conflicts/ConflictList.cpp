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
    return 0;
}

bool IsInC_List(C_ListHdl list, const TObjQz* obj) { return transfer::C_Search(list, obj) != nullptr; }

TConflict* C_Search(C_ListHdl list, const TObjQz* obj)
{
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i)->fSource == obj) return list->At(i);
    return nullptr;
}

TConflict* C_SearchInChain(C_ListHdl list, const TObjQz* obj)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* record = list->At(i);
        if (record->fSource == obj) return record;
        if (record->IsMember(1))
            if (TConflict* found = transfer::C_SearchInChain(static_cast<TRConflict*>(record)->fSubList, obj)) return found;
    }
    return nullptr;
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
