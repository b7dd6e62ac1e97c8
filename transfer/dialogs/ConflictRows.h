// Which records the conflict list shows, and in what rows. A filter is a
// number: 1 every record, 2 direct conflicts (0 < code < 100), 3 indirect
// ones (code 100 and up), 5 and up the records of one object type, the
// (filter - 5)-th byte of the program's 'C_mn' 0 (a zero-ended list of
// types; 7 counts as 8 and 5 as 6). A record whose code concerns type 7
// or 8 (plug-ins) never gets a row. Chained records follow their parent's
// row, whether the parent got one or not.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "transfer/conflicts/ConflictList.h"

class TConflict;

namespace transfer {

enum : int16_t { kAllFilter = 1, kDirectFilter = 2, kIndirectFilter = 3, kFirstTypeFilter = 5 };

// The object type filter `filter` stands for (7 counted as 8, 5 as 6); -1
// when it names no byte of 'C_mn' 0 before its end.
int16_t FilterType(int16_t filter);
// The object types of 'C_mn' 0, up to its end or its zero.
int16_t CountFilterTypes();
// `type` is FilterType (filter), looked up once for a whole list.
bool PassesFilter(const TConflict* record, int16_t filter, int16_t type);

// Appends a row per visible record that passes, from row *counter on, in
// list order, each record's sub-list right after it. *selectRow becomes the
// row of `select` when it got one.
void SetConflictList(C_ListHdl list, LongListHandle rows, int32_t* counter, const TConflict* select, int16_t filter,
                     int32_t* selectRow);
// Refills the rows, keeping the top row in view; `select` (or none) is
// selected and scrolled into view. -108 when the rows could not all be
// added (those that fit are shown).
int16_t SetC_List(LongListHandle rows, C_ListHdl list, const TConflict* select, int16_t filter);

}  // namespace transfer
