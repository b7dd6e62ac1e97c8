// A table's place in its document's table list: the table, then its
// fields and subtables in field order, each subtable followed by its own
// (its block). Copies add to a block and replacements rebuild it.
#pragma once

#include <cstdint>
#include <vector>

#include "design/objects/ObjList.h"

class TObjQz;
class TFileObjQz;

namespace tables {

// The entries after `table` that belong to it, at any depth, in order;
// none when the table is not listed.
std::vector<TObjQz*> BlockOf(TObjQz* table);
// The entries after `table` become `entries` (each at most once, in
// their order); entries of the block left out leave the list. -108 leaves
// the list as it was.
int16_t SetBlock(TObjQz* table, const std::vector<TObjQz*>& entries);
// Field or subtable `k` of `table` made from its 66-byte entry (a subtable
// read as a copy reads it, with its own fields), placed at the end of the
// table's block and appended to its members. 0, -108, or the subtable's
// reading error; *out is the object (still listed) when one was made.
int16_t AddTableMember(TFileObjQz* table, int16_t k, const uint8_t* entry, TObjQz** out);

}  // namespace tables
