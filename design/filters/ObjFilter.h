// List filters: stored records (kept in the preferences) naming kinds,
// documentation, use and blocking conditions and a name, date or caller
// count criterion. They decide which design objects a browser list shows;
// the same file keeps group members under their groups in those lists and
// holds the text matching and replacing the filters, search and replace use.
//
// A filter record (big-endian): a 16-bit entry count, then the entries,
// each of even length: kind bits (4; 0x80000000 >> k for kind k), condition
// bits (1), a contents-search bit 0x40 (1), criterion - 1 (1: name, date,
// callers), comparison - 1 (1), 2 bytes not read, then a length-prefixed
// pattern padded to an even length. The first entry's criterion and
// comparison hold for all.
#pragma once

#include <cstdint>

#include "app/longlist/LongList.h"
#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"

class TObjQz;

// Whether `obj` passes `filter`; with no filter every object passes but a
// hidden one or one in the trash. An entry that does not fit in the record
// ends the walk.
bool ObjFilter(platform::Handle filter, TObjQz* obj);
// The same over a record's bytes, for a caller that tests many objects
// against one record it holds still; no record: as no filter.
bool ObjFilter(const uint8_t* record, int32_t size, TObjQz* obj);
// The OR of the kind bits of every whole entry.
uint32_t GetOrFlags(platform::Handle filter);
// Empties the list and adds a row for each object of `objects` that passes.
// With no filter or no objects the list stays empty. -108 when a row could
// not be added (the rows so far are kept), else 0.
int16_t DoFilter(platform::Handle filter, LongListHandle list, ObjListHdl objects);
// Deletes the rows whose object passes (`remove`) or fails the filter.
void DoMoreFilter(platform::Handle filter, LongListHandle list, bool remove);
// The object whose row a member object goes under: the recorded owner of
// fields, subtables and plug-in packages, the group of any other kind.
TObjQz* ListOwner(TObjQz* obj);
// Inserts the row of member `obj` under its owner's row, adding the owner's
// row when it is missing. *row is the new row, -1 when none was added.
void AddOwner(TObjQz* obj, LongListHandle list, int32_t* row);
// Puts every member row under its owner's row.
void MajGroupList(LongListHandle list);

// Name against pattern (the wildcard is the kernel's): mode 1 equal, 2 and
// 3 contains (equal, starts, inside, ends), 4 starts with, 5 ends with.
bool StringMatch(const unsigned char* text, const unsigned char* pattern, int16_t mode);
// Whether the text run contains the pattern.
bool TextMatch(const uint8_t* text, int16_t length, const unsigned char* pattern, int16_t mode);
// Replaces the first `find` in `text` (cut to 255 characters); false when
// there is none.
bool ReplaceChars(unsigned char* text, const unsigned char* find, const unsigned char* replacement);
// Replaces every `find` in the buffer, the scan resuming behind each
// replacement. The buffer must have room for the grown text. Answers 0.
int16_t Do_TxtReplace(uint8_t* buffer, int32_t* length, const unsigned char* find, const unsigned char* replacement);
