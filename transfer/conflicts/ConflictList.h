// The conflict list of one copy between two documents: a growable list of
// conflict records laid out like an object list (count with the
// terminating null, free slots, growth step), whose entries are the
// records themselves. The list owns its records: DisposeC_List disposes
// of every record, sub-lists included. Growth that fails (of the list or
// of its indexes) answers -108 and leaves the list as it was.
//
// The look-ups by source go through indexes kept in step with the
// appends, so that a copy of n objects makes O(n) look-ups of O(1) each.
//
// A missing list is no error: the look-ups answer null or false.
#pragma once

#include <cstdint>

#include "platform/core/AddressTable.h"

class TConflict;
class TObjQz;

struct C_ListRec {
    int32_t count = 1;  // entries including the terminating null
    int32_t free = 0;   // free slots behind the terminator
    int16_t step = 1;   // slots added when none is free
    TConflict** entries = nullptr;  // count + free + 1 slots
    // The record whose sub-list this is; null for a list of its own.
    TConflict* holder = nullptr;
    // Per source: the first record among the list's own records, and
    // among them and the sub-lists below them in the order C_SearchInChain
    // walks them.
    struct Firsts {
        TConflict* own = nullptr;
        TConflict* inChain = nullptr;
    };
    platform::AddressTableOf<Firsts> firsts;
    Firsts withoutSource;  // the records of no source

    int32_t Size() const { return count - 1; }
    TConflict* At(int32_t index) const { return entries[index]; }  // 0-based
    // Slots held, the terminator's included: the stored list's size in
    // 4-byte entries after its 10-byte header.
    int32_t Capacity() const { return count + free + 1; }
};
using C_ListHdl = C_ListRec*;

namespace transfer {

// Every list of the transfer is made with this room.
constexpr int16_t kC_ListRoom = 30;

// An empty list with room for `room` records (below 1 counts as 1); *list
// is null and -108 answered when memory runs out.
int16_t NewC_List(C_ListHdl* list, int16_t room);
// Appends; -108 when the list cannot grow.
int16_t AddC_List(C_ListHdl list, TConflict* record);
// A top-level record has `obj` as its source.
bool IsInC_List(C_ListHdl list, const TObjQz* obj);
// The first top-level record whose source is `obj`.
TConflict* C_Search(C_ListHdl list, const TObjQz* obj);
// Depth first in list order, through the sub-lists of the records that
// can hold one: the first record whose source is `obj`.
TConflict* C_SearchInChain(C_ListHdl list, const TObjQz* obj);
// Disposes of every record in order, then of the list.
void DisposeC_List(C_ListHdl list);
// Some record is visible, looking under the invisible ones that hold a
// sub-list.
bool IsConflict(C_ListHdl list);

}  // namespace transfer
