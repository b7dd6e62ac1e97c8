// The movers of choice lists (kind 4) and of the icons their items show.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

// 'List' under a new id, an entry (name, id) appended to the destination's
// 'LEQz' 0 (its place is *index), the items' icons copied first; -34
// under twice the list's size free.
int16_t MoveResQzEnum(TMainDoc* source, TMainDoc* dest, int16_t id, const unsigned char* name, int16_t* newId,
                      int16_t* index);
// A new list object of the name (the source's when empty).
int16_t MoveList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
// The source's items over the destination list's, which keeps its id.
int16_t ReplaceList(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
// The icons that the items of the source's 'List' `id` show, sub-lists
// and branches walked: each copied into the destination's companion under
// its own id when the destination lacks it (MoveIconData).
int16_t MoveListIcon(TMainDoc* source, TMainDoc* dest, int16_t id);
// One item's icon reference (high word 0 an icon, 'cicn'; 1 a picture of
// the resource chain, 'PICT'); other references are the link step's.
int16_t MoveIcon(TMainDoc* source, TMainDoc* dest, int32_t reference);
// (type, id) of the source's chain into the destination's companion,
// unless the destination holds it: in its companion or a file every
// document shares, not another document's companion.
int16_t MoveIconData(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t id);

}  // namespace transfer
