// Bundle tables: which resources belong to a plug-in routine ('QBND') or
// package ('QBNX'). Big-endian:
//  off        size  field
//   0          2    N, entries               negative, or entries past the
//                                            end: a damaged table, unread
//   2+8(i-1)   4    entry i: resource type
//   +4         2    count: 1 for an entry this program adds; type 'LOK!'
//                   with -1 marks a locked package
//   +6         2    resource id
// Bytes after the entries are kept as they are. A package's first entry
// names its routine list: the 'STR#' whose id stands at byte 8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

struct BundleEntry {
    uint32_t type = 0;
    int16_t count = 0;
    int16_t id = 0;
};

// The entries; false when the table does not fit its bytes.
bool ReadBundleTable(const uint8_t* bytes, size_t size, std::vector<BundleEntry>* entries);
bool ReadBundleTable(platform::Handle table, std::vector<BundleEntry>* entries);
// The first entry of type `type` of a sound table; false when the table
// does not fit or has none (reads without copying the entries).
bool FindBundleEntry(platform::Handle table, uint32_t type, BundleEntry* entry);
// Appends an entry to a sound table, or removes entry `index` (0-based);
// -108 when the handle cannot change size, 1003 for a damaged table.
int16_t AppendBundleEntry(platform::Handle table, const BundleEntry& entry);
int16_t RemoveBundleEntry(platform::Handle table, int32_t index);
// Rewrites the count of entry `index` of a sound table.
void SetBundleEntryCount(platform::Handle table, int32_t index, int16_t count);

// The strings of a 'STR#' (platform/resfiles/StringListBody.h); false when
// a string passes the end.
bool ReadStringList(platform::Handle list, std::vector<std::vector<uint8_t>>* strings);

// A plug-in routine's name: its text up to "(", then up to ":".
void RoutineName(const uint8_t* text, size_t length, unsigned char* name);
