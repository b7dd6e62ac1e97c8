// Choice lists kept as 'List' resources of the current store file, loaded
// into and saved from a hierarchical item list.
//
// 'List', big-endian in documents of either byte order (the store leaves
// its contents as they are):
//  off size
//   0   44  header: 32 zero bytes; +32 i16 first setting; +34 0;
//           +36 -1 when written; +37 u8 third setting; +38 i16 second
//           setting; +40 4 zero bytes
//   44  ..  the top level: per item a u16 1 and its 50-byte record, the
//           level ended by a u16 0
// Item record, 50 bytes:
//   0   4   icon reference          8  1  face
//   4   2   item number             9  1  second caller byte
//   6   2   0                      10 36  text (length byte, at most 35) when
//                                         shorter than 32 characters, else empty
//  46   1   1: a branch follows    47  1  1: the text follows as a string
//  48   2   0
// A long text follows its record as a length-prefixed string; a branch
// follows at once (after the long text), written as a level of its own.
// A record, string or marker cut short by the end of the resource stops
// the reading with the buffer's error.
#pragma once

#include <cstdint>

#include "forms/lists/ItemList.h"

struct buffertemp;

constexpr int32_t kListHeaderSize = 44;
constexpr int32_t kListItemRecordSize = 50;
// Byte-swap templates the records name in the serialisation buffer.
constexpr int32_t kListHeaderTemplate = 131;
constexpr int32_t kListItemTemplate = 130;

// Empties the list, reads 'List' id, takes its settings (the third only
// when asked), its items, lays the list out and selects row 1 (none when
// empty). 0, the resource error of a missing resource, or the buffer's
// error of a damaged one: the list keeps what was read before the damage.
int16_t LoadList(int16_t id, itemlistrec* list, bool withThirdSetting);
// Writes the header and the items into a new buffer; on success any 'List'
// id is replaced by it; on failure the old resource stays. 0 or the error.
int16_t SaveList(int16_t id, itemlistrec* list);

// One level and the branches below it: the items read, their count, and
// in *err the buffer's error (0 when the level ended with its marker).
int16_t readlistfrombuf(buffertemp* buffer, ItemHandle* first, int16_t* err);
// Writes the chain (and its branches) as one level; the buffer's error.
int16_t writelisttobuf(buffertemp* buffer, ItemHandle first);
