// The pages of a form in memory: a handle holding the last page index N
// (i16, padded to 8 bytes) and N + 1 pairs of object pointers, the first
// and the last object of each page's chain. Page 0 holds the objects shown
// on every page.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class LayoutObject;

struct PageEntry {
    LayoutObject* first = nullptr;
    LayoutObject* last = nullptr;
};

// A cleared table for pages 0 to lastIndex; null for a negative index or
// when memory is short.
platform::Handle NewPageTable(int16_t lastIndex);
// -1 for no table.
int16_t LastPageIndex(platform::Handle pages);
// False outside 0..N.
bool GetPage(platform::Handle pages, int32_t page, PageEntry* out);
bool SetPage(platform::Handle pages, int32_t page, const PageEntry& entry);
