// The movers of tables, subtables and fields (kinds 1, 29 and 28).
//
// A table's definition 'FIQz' is copied under a new id with its table
// method (under a new id), a new empty form table 'TFQz' (its forms come on
// their own) and, level by level, its subtables' definitions, each new id
// written into its field; in every other field a relation mark (the top
// bit of the attributes) also sets bit 1 and the word at +44 becomes -1.
// Its fields' help and documentation resources follow under the new id.
// The whole definition is read and checked before anything is written: a
// count past its bytes, or a subtable met again on the way down, gives
// 1003 and nothing changes.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

constexpr int16_t kTooManyTables = 1004, kTooManyFields = 1006;

// A new table of the name (the source's when empty), its entry appended
// to 'PRQz' 0 and its name to 'WNQz' 0: 1004 when the destination holds
// 255 tables; -34 under twice the definitions' size free.
int16_t MoveQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveResQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                      int16_t* number);
// The definition `id` (with its subtables) under a new id, *newId.
int16_t MoveResQzCritere(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId);

// The source table's definition written over the destination table's,
// which keeps its id, number, form table, box and name; its members are
// rebuilt (ReplaceUpdate) and its links cleared.
int16_t ReplaceFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t ReplaceResQzFile(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz* target);
int16_t ReplaceResQzCritere(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t destId);

// A field or subtable appended to the destination table `destTable`
// (1006 when it holds 511 fields); a field's choice list is copied with it
// (MoveResQzEnum) and the field depends on the copy.
int16_t MoveCrit(TMainDoc* source, TMainDoc* dest, TObjQz* field, TObjQz* destTable, TObjQz** newObj);

}  // namespace transfer
