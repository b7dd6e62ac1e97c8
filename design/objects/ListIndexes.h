// Look-up tables worked out from one object list and kept while the list
// keeps its stamp (and, for ids, while no listed object took another id).
// Reading a structure looks objects up by id and tables by name once per
// link: a walk of the whole list each time made the read grow with the
// square of the structure. A table is made only once a list has served a
// few look-ups unchanged, so that a list that changes between look-ups is
// walked as before; every answer is the one the walk gives.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"

namespace listindex {

// True when a kept table answers: `at` is then the 0-based place of the
// first entry with that id, or -1 when none has it. False when no table is
// kept for the list (yet, or memory for one is short): the caller walks.
bool FirstWithId(ObjListHdl list, int16_t id, int32_t* at);

// The 0-based places of the list's tables (kind 1), in list order, or
// null when no table is kept for the list (yet).
const int32_t* TablePlaces(ObjListHdl list, int32_t* count);

// True when a kept set answers whether `obj` is in the list (*held). A
// long list's set is kept across appends at its end, so that a list
// gathered one object at a time, each first looked for, is not walked
// for every object. False when no set is kept (a short list, too few
// look-ups since its last other change, or memory short).
bool Holds(ObjListHdl list, const TObjQz* obj, bool* held);

}  // namespace listindex
