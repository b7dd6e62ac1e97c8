// The bitmap check of an opened container: every allocated structure and
// every resource block must own allocated units that nothing else owns.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"
#include "resources/ResTypes.h"
#include "resources/container/BitmapPages.h"

namespace container {

class ResourceMap;

// Allocated units not yet claimed, on a private copy of the pages.
class UnclaimedUnits {
public:
    UnclaimedUnits() = default;
    explicit UnclaimedUnits(const BitmapPages& bitmaps) : pages_(bitmaps.Pages()) {}
    // Claims every unit of (offset, length): each must still be unclaimed
    // (kResBadUnits when one is free or claimed; kResNotContainer past the
    // pages).
    platform::OSErr Claim(uint64_t offset, uint64_t length);
    // Claims (offset, length) when all its units are still unclaimed;
    // false, claiming nothing, otherwise.
    bool TakeIfAll(uint64_t offset, uint64_t length);

private:
    std::vector<BitmapPage> pages_;
};

// 0 when the bitmaps agree with the map; -7 when a unit is free or claimed
// twice; -1 for a block outside the file; -128 when the callback stops it.
// Works on a private copy of the pages; `left`, when given, receives the
// units still unclaimed after a successful check: what a crash left
// allocated, and the room a place was given to grow into.
platform::OSErr CheckUnits(const BitmapPages& bitmaps, uint32_t pageTableOffset, uint32_t mapOffset,
                           uint32_t mapLength, const ResourceMap& map, ResProgressProc progress,
                           void* data, UnclaimedUnits* left = nullptr);

}  // namespace container
