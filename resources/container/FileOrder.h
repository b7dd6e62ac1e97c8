// Byte order of a container file. Everything is kept in memory in stored
// big-endian order; a little-endian file (swap flag -1) has its header,
// page table, map and block headers reversed on the way in and out, and
// its contents converted by resource type. A swap flag of 0 changes
// nothing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

namespace container {

constexpr int32_t kBigEndianFile = 0;
constexpr int32_t kLittleEndianFile = -1;

// The 36-byte header.
void HeaderToHost(uint8_t* header, int32_t swapFlag);
void HeaderToFile(uint8_t* header, int32_t swapFlag);
// One 20-byte map record.
void MapRecordToHost(uint8_t* record, int32_t swapFlag);
void MapRecordToFile(uint8_t* record, int32_t swapFlag);
// A type list's count and type (6 bytes).
void TypeListHeaderToHost(uint8_t* header, int32_t swapFlag);
void TypeListHeaderToFile(uint8_t* header, int32_t swapFlag);
// Single 16-bit and 32-bit words (the map's type count, page-table entries,
// block headers).
void MapWordsToHost(uint8_t* word, uint32_t width, int32_t swapFlag);
void MapWordsToFile(uint8_t* word, uint32_t width, int32_t swapFlag);

// Resource contents by type, in place. False when the conversion ran past
// the contents or the type is unknown; the contents are then as the
// converter left them.
bool ContentsToHost(platform::ResType type, uint8_t* contents, int32_t size, int32_t swapFlag);
bool ContentsToFile(platform::ResType type, uint8_t* contents, int32_t size, int32_t swapFlag);

}  // namespace container
