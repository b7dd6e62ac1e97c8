// Collections: tagged items of bytes, each under a tag and an id. Controls
// made from old-style parameters hand theirs to the definition this way.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace platform {

struct OpaqueCollection;
using Collection = OpaqueCollection*;

constexpr OSErr collectionItemNotFoundErr = -5751;

// Null when memory runs out.
Collection NewCollection();
void DisposeCollection(Collection c);

// Adds the item, or replaces the item of the same tag and id.
OSErr AddCollectionItem(Collection c, OSType tag, int32_t id, int32_t itemSize, const void* itemData);

// The item's size into *itemSize (when not null) and its bytes into itemData
// (when not null: room for the whole item).
OSErr GetCollectionItem(Collection c, OSType tag, int32_t id, int32_t* itemSize, void* itemData);

int32_t CountCollectionItems(Collection c);

}  // namespace platform
