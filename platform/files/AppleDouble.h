// The AppleDouble sidecar format: a big-endian header (magic 0x00051607,
// version 0x00020000, 16 filler bytes, an entry count) followed by entry
// descriptors (id, offset, length) and the entries' bytes. We use entry 9
// (Finder information) and entry 2 (the resource fork) and carry every
// other entry through unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

constexpr uint32_t kAppleDoubleMagic = 0x00051607;
constexpr uint32_t kAppleDoubleVersion = 0x00020000;
constexpr uint32_t kEntryResourceFork = 2;
constexpr uint32_t kEntryFinderInfo = 9;
constexpr size_t kFinderInfoLength = 32;

struct AppleDoubleEntry {
    uint32_t id = 0;
    std::vector<uint8_t> bytes;
};

struct AppleDouble {
    // The filler of the header, kept as read.
    uint8_t filler[16] = {};
    // Entry 9 (at least 32 bytes when present: Finder information, then the
    // extended Finder information; any longer tail is carried through).
    std::optional<std::vector<uint8_t>> finderInfo;
    std::optional<std::vector<uint8_t>> resourceFork;
    std::vector<AppleDoubleEntry> others;

    bool Empty() const { return !finderInfo && !resourceFork && others.empty(); }
};

// Parses a sidecar; every descriptor is checked against the bytes there
// are. A damaged sidecar gives ioErr and leaves *out untouched.
OSErr ParseAppleDouble(const uint8_t* bytes, size_t size, AppleDouble* out);
std::vector<uint8_t> BuildAppleDouble(const AppleDouble& doc);

// The Finder information record at the start of entry 9.
FInfo FInfoFromBytes(const uint8_t* bytes);
void FInfoToBytes(const FInfo& info, uint8_t* bytes);

}  // namespace platform
