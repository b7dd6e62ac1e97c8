// The index beside an object list's rows that LongLFindRow answers from:
// the (object, row) pairs of the rows, in object order. The row calls keep
// it up to date as the rows change; after many changes with no question
// between them it is dropped and made again at the next question, so a
// rebuild of the rows costs no upkeep per row.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"

// `count` new (empty) rows at `position`.
void RowIndexRowsAdded(LongListHandle list, int32_t position, int32_t count);
// `count` rows gone from `position`.
void RowIndexRowsRemoved(LongListHandle list, int32_t position, int32_t count);
// The object of `row` changed from `before` to `after`.
void RowIndexCellSet(LongListHandle list, int32_t row, const void* before, const void* after);
// The rows were replaced as a whole.
void RowIndexDrop(LongListHandle list);
