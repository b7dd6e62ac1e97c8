// Two sorted tables beside the object lists: the string table used when
// literal texts become string-list references, and a component's
// name-code table, also stored as 'cdQz'. Both are handles of big-endian
// records read through the accessors below.
//
// Name-code table, big-endian:
//  off size
//   0   4   count of entries (no terminator)
//   4   4   free entries behind the last
//   8   2   growth step; above 255: the header is in the other byte order
//  10   4   not used
//  14  68n  entries: name (length byte + 33) at 0, code (same form) at 34
// A stored table whose counters do not fit its size is read as holding the
// entries that fit.
//
// String table: 260-byte entries, no header: the text (length-prefixed,
// 256 bytes), the string-list id (16-bit) at 256, the index at 258.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/lists/Lists.h"

using NameCodeHdl = platform::Handle;
using StrListHdl = platform::Handle;

constexpr int32_t kNameCodeHeader = 14;
constexpr int32_t kNameCodeEntry = 68;
constexpr int32_t kStrListEntry = 260;

// Counters of a name-code table in host order (after CheckSwapCode), the
// count limited to the entries the handle holds.
int32_t NameCodeCount(NameCodeHdl table);
int16_t NameCodeStep(NameCodeHdl table);
const unsigned char* NameCodeName(NameCodeHdl table, int32_t index);  // 0-based
const unsigned char* NameCodeCode(NameCodeHdl table, int32_t index);

void CheckSwapCode(NameCodeHdl table);
int16_t NewNameCode(NameCodeHdl* table, int16_t room);
void SortNameCode(NameCodeHdl table);
bool SearchNameCode(NameCodeHdl* table, const unsigned char* name, int32_t* pos);
int16_t AddSortedNameCode(NameCodeHdl* table, const unsigned char* name, const unsigned char* code, int32_t index);
bool GetCode(NameCodeHdl table, const unsigned char* name, unsigned char* code);
bool IsNewCode(NameCodeHdl table, unsigned char* code);
int16_t SetCode(NameCodeHdl* table, const unsigned char* name, const unsigned char* code);

// Finds text: true with its id and index; otherwise inserts (text, id,
// index) at its place and answers false. When the table cannot grow it is
// emptied.
bool SearchStringList(const unsigned char* text, StrListHdl strList, int16_t* id, int16_t* index);
// The reference recorded for a text the table holds becomes (id, index);
// false when the table does not hold the text.
bool SetStringListRef(const unsigned char* text, StrListHdl strList, int16_t id, int16_t index);

// Sorts the rows of a one-column list of cells that begin with a
// length-prefixed name (ordinary collation); row 0 stays first.
void SortNameRes(platform::ListHandle list);
