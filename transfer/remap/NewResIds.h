// The ids that copied resources take in the destination, as the movers
// ask for them. "Free" means the current resource file (the destination's,
// made current by the mover) holds no resource of that type and id; the
// probe runs with resource loading switched off and switches it back on.
//
// Every rule that gives a new id adds the row (type, old id, new id) to
// g_ResIDMapMgr when an install is under way; the bundle rules also add it
// to the bundle's table. An id is 0 when every id up to 32767 is taken.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "transfer/remap/ResIDMap.h"

namespace transfer {

constexpr int16_t kFirstCopyId = 15000;

bool IdTaken(platform::ResType type, int16_t id);
// The first free id from 15000 up.
int16_t FirstFreeFrom15000(platform::ResType type);

// The resource a dialog item of this type carries ('ICON' for 32, 'CNTL'
// for 7, 'PICT' for 64, the type masked with 127), 0 for none.
platform::ResType ItemResType(uint8_t itemType);

// A dialog item's resource, a dialog's item list, or a bundle element
// other than 'FON#' and 'THM#': the id the bundle copy already gave it
// (*copy false: it is not copied again), else the first free id from
// 15000 (*copy true). -108 when the rows cannot be added.
int16_t NewBundleElementId(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t* newId, bool* copy);
// A 'FON#' or 'THM#' element: the new id of the bundle itself.
int16_t NewFontThemeId(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t bundleNewId);
// The code of a routine ('QzEX', bundle 'QBND') or package ('QzPX',
// bundle 'QBNX') and its bundle share one id: the first from 15000 at
// which neither type is taken (for a package neither 'FON#' nor 'THM#'
// either).
int16_t NewCodeBundleId(platform::ResType code, platform::ResType bundle, bool package, int16_t oldId,
                        int16_t* newId);
// A string list keeps the id its caller chose: false when the destination
// already has it (nothing is copied, the list there stands).
bool StrListIdFree(int16_t id);
// A picture named by a picture button: its own id when free; else the id
// this transfer already gave it (*copy false); else the first id from
// 15000 that no open resource file holds. The row goes to both maps with
// the new id negated, so that it exists even when the id stays.
int16_t NewPictureId(int16_t oldId, int16_t* newId, bool* copy);
// Methods, forms, menus and the other kinds of the document's store: an
// unused id from the store.
int16_t NewStoreResId(platform::ResType type, int16_t oldId, int16_t* newId);

}  // namespace transfer
