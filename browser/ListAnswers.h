// Answers about the rows of an object list that would otherwise walk every
// row at every question, kept beside the list (its companion) and worked
// out again only when the rows or the objects' lists have changed since:
// whether some row's form or menu uses a string list, and the rows'
// names for type-ahead.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"

namespace browser {

// Some row, selected or not, holds a form (kind 24) or menu (kind 6) whose
// uses hold a string list (kind 11).
bool RowsUseStringLists(LongListHandle list);

// Type-ahead: the first row at or after `from` whose object's name starts
// with `typed` (`length` characters), without regard to case or
// diacritical marks; -1 when none does.
int32_t FindTypedRow(const uint8_t* typed, int32_t length, int32_t from, LongListHandle list);

// A Mac Roman character without case or diacritical mark.
uint8_t FoldForTyping(uint8_t c);

}  // namespace browser
