#include "resources/container/UnitCheck.h"

#include <utility>
#include <vector>

#include "resources/container/BitmapPages.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/ResourceMap.h"

namespace container {

using namespace platform;

OSErr UnclaimedUnits::Claim(uint64_t offset, uint64_t length)
{
    if (length == 0) return noErr;
    for (uint64_t u = offset / kUnitSize; u <= (offset + length - 1) / kUnitSize; ++u) {
        uint64_t page = u / kUnitsPerPage;
        if (page >= pages_.size()) return kResNotContainer;
        uint8_t& byte = pages_[page].bits[(u % kUnitsPerPage) >> 3];
        uint8_t mask = uint8_t(1u << (u & 7));
        if (!(byte & mask)) return kResBadUnits;
        byte = uint8_t(byte & ~mask);
    }
    return noErr;
}

bool UnclaimedUnits::TakeIfAll(uint64_t offset, uint64_t length)
{
    if (length == 0) return true;
    for (uint64_t u = offset / kUnitSize; u <= (offset + length - 1) / kUnitSize; ++u) {
        const uint64_t page = u / kUnitsPerPage;
        if (page >= pages_.size() || !(pages_[page].bits[(u % kUnitsPerPage) >> 3] & (1u << (u & 7)))) return false;
    }
    return Claim(offset, length) == noErr;
}

OSErr CheckUnits(const BitmapPages& bitmaps, uint32_t pageTableOffset, uint32_t mapOffset,
                 uint32_t mapLength, const ResourceMap& map, ResProgressProc progress, void* data,
                 UnclaimedUnits* left)
{
    const uint64_t logicalEnd = bitmaps.LogicalEnd();
    UnclaimedUnits claims(bitmaps);
    OSErr err = claims.Claim(0, kUnitSize);
    if (err == noErr)
        err = claims.Claim(pageTableOffset, pageTableOffset == kFirstPageTableOffset ? kFirstPageTableBytes
                                                                                     : kMovedPageTableBytes);
    for (uint32_t offset : bitmaps.Table())
        if (err == noErr) err = claims.Claim(offset, kPageBytes);
    if (err == noErr) err = claims.Claim(mapOffset, MapAreaFor(mapLength));
    if (err != noErr) return err;

    int32_t total = 0;
    for (int32_t t = 0; t < map.TypeCount(); ++t) total += int32_t(map.TypeAt(t).records.size());
    if (progress && progress(0, total, data) != 0) return kResCancelled;
    int32_t done = 0;
    for (int32_t t = 0; t < map.TypeCount(); ++t) {
        for (const MapRecord& rec : map.TypeAt(t).records) {
            ++done;
            if (progress && progress(done, total, data) != 0) return kResCancelled;
            if (rec.offset > logicalEnd) return kResNotContainer;
            if (rec.length == 0) continue;
            if (rec.offset % kUnitSize != 0 || rec.offset < kUnitSize || rec.length < kBlockHeaderSize ||
                uint64_t(rec.offset) + rec.length > logicalEnd)
                return kResNotContainer;
            err = claims.Claim(rec.offset, rec.length);
            if (err != noErr) return err;
        }
    }
    if (progress && progress(total, total, data) != 0) return kResCancelled;
    if (left) *left = std::move(claims);
    return noErr;
}

}  // namespace container
