// The entry attributes of a field or variable object (`saisieatt`), a
// 326-byte record kept big-endian in a handle, and its chunk "SATT".
//
// Record, offsets:                  "SATT" chunk, offsets:
//   0  2  choice list id              0  2  choice list id
//   2  1  choice list set             2  1  set      3 1 spare
//   3  1  spare                       4  2  required list id
//   4  2  required list id            6  2  spare
//   6  2  spare                       8  2  excluded list id
//   8  2  excluded list id           10  1  minimum type, 11 1 spare
//  10  1  minimum type               12 10  minimum: an 80-bit real for
//  11  1  spare                             types 1 and 11, else the 8
//  12 10  minimum: an 8-byte real           value bytes and 2 more
//         for types 1 and 11, else   22  1  maximum type, 23 1 spare
//         8 value bytes and 2 more   24 10  maximum, same rule
//  22  1  maximum type, 23 spare     34  1  editable, 35 1 next byte
//  24 10  maximum                    36 1+n default text
//  34  1  editable, 35 next byte   37+n 1+m entry filter
//  36 256 default text (Str255)   38+n+m 2  byte 292 and the filter's
// 292  1  the byte before the filter        length once more (optional)
// 293 33  entry filter (Str32)
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "platform/core/MacTypes.h"

constexpr int32_t kSaisieAttSize = 326;

namespace satt {
constexpr int32_t kChoiceList = 0, kChoiceSet = 2, kRequiredList = 4, kExcludedList = 8;
constexpr int32_t kMinType = 10, kMinValue = 12, kMaxType = 22, kMaxValue = 24;
constexpr int32_t kEditable = 34, kNextByte = 35, kDefaultText = 36, kBeforeFilter = 292, kEntryFilter = 293;
constexpr int32_t kDefaultTextMax = 255, kEntryFilterMax = 32;
}  // namespace satt

// Reads the "SATT" chunk just opened into a new cleared record; null with
// the code in *result when the chunk is damaged or memory is short.
platform::Handle ReadSattObject(_GroupContext* context, IFFP* result);
// Writes the record as a "SATT" chunk.
IFFP WriteSattObject(platform::Handle record, _GroupContext* context);

int16_t SattWord(platform::Handle record, int32_t offset);
uint8_t SattByte(platform::Handle record, int32_t offset);
// A length-prefixed text of the record (the default text or the filter).
void SattText(platform::Handle record, int32_t offset, unsigned char* out);
