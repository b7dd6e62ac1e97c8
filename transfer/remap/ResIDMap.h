// Where renumbered resources went.
//
// ResTableRec, local to one copy of one resource bundle, makes sure that a
// dialog, item list or icon that several elements of the bundle share is
// copied once and that every reference to it gets the same new id. A
// relocatable block, big-endian:
//
//  off size
//   0   2   row count
//   2   8n  rows {type: 4-character code; old id; new id}, in the order
//           added; never two rows of one (type, old id)
//
// ResIDMapMgr keeps (type, old id, new id) rows for a whole transfer or
// component install; the component code writes them out and reads them
// back (GetList). g_ResIDMapMgr is the map of the install under way,
// g_PictIDMapMgr the pictures already copied in the transfer under way;
// both are null when nothing runs.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VObject.h"

namespace transfer {

using ResTableHdl = platform::Handle;

constexpr int32_t kResTableHeader = 2;
constexpr int32_t kResTableRow = 8;

// A table holding a count of 0; null when memory runs out.
ResTableHdl NewResTable();
void DisposeResTable(ResTableHdl table);
// True, with *newId set, when a row for (type, old id) exists; a null
// table or no row leaves *newId alone.
bool IsMoved(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t* newId);
// Appends a row unless the table is null or the (type, old id) has one
// (which keeps its new id); -108 when the block cannot grow.
int16_t AddMoveTable(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t newId);
// The rows held (tests, the component code).
int16_t CountResTable(ResTableHdl table);

}  // namespace transfer

// One row of the map, by value in its list.
struct ResIDMap {
    platform::ResType type;
    int16_t oldId;
    int16_t newId;
};

class ResIDMapMgr : public VObject {
public:
    ResIDMapMgr();
    ~ResIDMapMgr() override;

    // Adds {type, old id, |new id|}, except when old id equals a new id
    // that is not negative: a caller that wants the row although the id
    // stays passes the new id negated. -32768 has no absolute value in 16
    // bits and is refused (paramErr); -108 when the list cannot grow.
    int16_t Add(platform::ResType type, int16_t oldId, int16_t newId);
    // The new id of the first row of (type, old id); -1 when none.
    int16_t GetMapResId(platform::ResType type, int16_t oldId) const;
    // Rows, 1-based; null when the list could not be made.
    VArrayListOf<ResIDMap>* GetList() const { return fList; }

private:
    VArrayListOf<ResIDMap>* fList;
};

extern ResIDMapMgr* g_ResIDMapMgr;
extern ResIDMapMgr* g_PictIDMapMgr;

namespace transfer {
// Deletes both maps and sets them back to null (tests, end of a run).
void ResetResIDMaps();
}  // namespace transfer
