// The stored layout of a resource container: header, allocation units,
// bitmap pages, page table, map records and resource blocks.
#pragma once

#include <cstdint>

#include "platform/core/FourCC.h"

namespace container {

// Space is handed out in 64-byte units; unit 0 holds the header.
constexpr uint32_t kUnitSize = 64;
constexpr uint32_t kHeaderSize = 36;

// One bitmap page: 512 bytes, one bit per unit, 4096 units (256 KiB).
constexpr uint32_t kPageBytes = 512;
constexpr uint32_t kUnitsPerPage = kPageBytes * 8;
constexpr uint32_t kBytesPerPage = kUnitsPerPage * kUnitSize;
// The page table may hold at most this many pages, so the logical extent
// stays within 2 GiB.
constexpr uint32_t kMaxPages = 8192;

// A new file keeps its page table at 64 with room for 1024 entries; at the
// first commit with 1023 or more entries it moves to a 32 KiB area.
constexpr uint32_t kFirstPageTableOffset = 64;
constexpr uint32_t kFirstPageTableBytes = 4096;
constexpr uint32_t kPageTableMoveAt = 1023;
constexpr uint32_t kMovedPageTableBytes = kMaxPages * 4;

// The map's area is a whole number of 1 KiB steps.
constexpr uint32_t kMapAreaStep = 1024;
constexpr uint32_t kMapRecordSize = 20;
constexpr uint32_t kTypeListHeaderSize = 6;

// Every resource block opens with a marker, its type and its id.
constexpr uint32_t kBlockHeaderSize = 8;
constexpr uint16_t kBlockMarker = 0x4446;

// Version words: 'DDUU' to 'DDUY'; new files are 'DDUX'.
constexpr uint32_t kMagicFirst = platform::FourCC("DDUU");
constexpr uint32_t kMagicLast = platform::FourCC("DDUY");
constexpr uint32_t kMagicNew = platform::FourCC("DDUX");
// Marks the flags word as meaningful.
constexpr uint32_t kFlagsMarker = platform::FourCC("Mgic");
constexpr uint32_t kFlagOpenForWriting = 0x0001;

// Record attributes. Only changed, enciphered and key variant are stored.
constexpr uint16_t kAttrLocked = 0x8000;
constexpr uint16_t kAttrPurgeable = 0x4000;
constexpr uint16_t kAttrChanged = 0x2000;
constexpr uint16_t kAttrWasPurgeable = 0x1000;
constexpr uint16_t kAttrEnciphered = 0x0800;
constexpr uint16_t kAttrKeyVariant = 0x0400;
constexpr uint16_t kAttrCounterMask = 0x03FF;
constexpr uint16_t kAttrStoredMask = kAttrChanged | kAttrEnciphered | kAttrKeyVariant;
constexpr uint16_t kCounterOnLoad = 254;

// A stored time stamp that is not known; replaced by the time of opening.
constexpr uint32_t kUnknownStamp = 0xFFFFFFFFu;

// Layout of a new file.
constexpr uint32_t kNewPageZeroOffset = 4160;
constexpr uint32_t kNewMapOffset = 4672;
constexpr uint32_t kNewLogicalEnd = 5696;
constexpr uint32_t kNewFileSize = kNewLogicalEnd + kPageBytes;
constexpr uint32_t kEmptyMapLength = 2;

inline bool IsContainerMagic(uint32_t magic) { return magic >= kMagicFirst && magic <= kMagicLast; }

inline uint64_t RoundUp(uint64_t value, uint64_t step) { return (value + step - 1) / step * step; }
inline uint32_t UnitsFor(uint32_t bytes) { return uint32_t(RoundUp(bytes, kUnitSize) / kUnitSize); }
inline uint32_t PagesFor(uint32_t logicalEnd) { return uint32_t(RoundUp(logicalEnd, kBytesPerPage) / kBytesPerPage); }
inline uint32_t MapAreaFor(uint32_t mapLength) { return uint32_t(RoundUp(mapLength, kMapAreaStep)); }
// The room given to what a commit writes anew each time (the map and the
// names table): 1 KiB times the smallest power of two that holds it. A map
// that grows then fits the room its commit before last gave up, and is
// moved to fresh space only when it doubles.
inline uint32_t GrowRoom(uint32_t bytes)
{
    uint64_t room = kMapAreaStep;
    while (room < bytes) room *= 2;
    return room > (uint64_t(1) << 30) ? MapAreaFor(bytes) : uint32_t(room);
}

// The header words, in the order they are stored.
struct ContainerHeader {
    uint32_t magic = kMagicNew;
    uint32_t logicalEnd = 0;
    uint32_t mapOffset = 0;
    uint32_t pageTableOffset = 0;
    uint32_t mapLength = 0;
    uint32_t flags = 0;
    uint32_t flagsMarker = 0;

    // From / to the 36 stored bytes, big-endian. A header without the
    // marker reads as flags 0.
    static ContainerHeader FromBlockRes(const uint8_t* bytes);
    void ToBlockRes(uint8_t* bytes) const;
};

}  // namespace container
