// The bitmap check of an opened container: every allocated structure and
// every resource block must own allocated units that nothing else owns.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "resources/ResTypes.h"

namespace container {

class BitmapPages;
class ResourceMap;

// 0 when the bitmaps agree with the map; -7 when a unit is free or claimed
// twice; -1 for a block outside the file; -128 when the callback stops it.
// Works on a private copy of the pages.
platform::OSErr CheckUnits(const BitmapPages& bitmaps, uint32_t pageTableOffset, uint32_t mapOffset,
                           uint32_t mapLength, const ResourceMap& map, ResProgressProc progress,
                           void* data);

}  // namespace container
