// The default choice of every conflict code during a transfer, and the
// copies those choices pull in.
//
// G_Filters holds one 16-bit entry per code 1 to 131 (entry code - 1; 0
// means no default). MakeCc_Dflt fills it from the user's pairs ('C_PR' 0
// of the preferences file: {code, choice} 16-bit pairs, the count being
// the size over 4; a later pair of a code wins), then gives every code
// still without one its factory default from 'C_Pm'. MakeCc_Replace takes
// only the program's 'C_PR' 1, the fixed defaults of the component
// commands. Codes outside 1 to 131 never get a default.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"
#include "transfer/conflicts/ConflictList.h"

class TMainDoc;
class TObjQz;

namespace transfer {

constexpr int16_t kConflictCodes = 131;

// The table of the transfer under way; null outside a transfer.
extern platform::Handle G_Filters;

// A new table of 131 zero entries; null when memory runs out.
platform::Handle NewFilters();
// Fill `filters` (grown to 131 entries when smaller); -108 when it cannot
// grow.
int16_t MakeCc_Dflt(platform::Handle filters);
int16_t MakeCc_Replace(platform::Handle filters);
// The entry of G_Filters for `code`; 0 without a table or outside 1-131.
int16_t Cc_Dflt(int16_t code);

// Applies the choices that pull further objects into the copy: every
// record whose choice is 9 (copy) puts its source in the transfer list and
// gathers what that object uses, until nothing more joins; then the list
// is sorted (ShellSortType). The order in which objects join is that of a
// depth-first walk in list order, each joined record's sub-list visited
// after everything it pulled in. Memory running out (or the reserve being
// gone) answers -108: the transfer must not go on without the objects the
// copies use.
int16_t MakeDfltCopy(TMainDoc* dest, ObjListHdl* transfer, C_ListHdl list);

// Adds `obj` to the transfer list (SelfAddObjList, mode 0) and sorts it.
int16_t JoinTransferList(ObjListHdl* transfer, TObjQz* obj);

}  // namespace transfer
