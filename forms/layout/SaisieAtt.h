// The entry attributes of a field or variable object (`saisieatt`), a
// 326-byte record kept big-endian in a handle, and its chunk "SATT".
//
// Record, offsets (the kernel's 71-byte record and the filter's text):
//   0  2  choice list id              "SATT" chunk, offsets:
//   2  1  choice list set               0  2  choice list id
//   3  1  spare                         2  1  set      3 1 spare
//   4  2  required list id              4  2  required list id
//   6  2  spare                         6  2  spare
//   8  2  excluded list id              8  2  excluded list id
//  10  1  minimum type                 10  1  minimum type, 11 1 spare
//  11  1  spare                        12 10  minimum: an 80-bit real for
//  12 10  minimum: an 8-byte real             types 1 and 11, else the 8
//         for types 1 and 11, else            value bytes and 2 more
//         8 value bytes and 2 more     22  1  maximum type, 23 1 spare
//  22  1  maximum type, 23 spare       24 10  maximum, same rule
//  24 10  maximum                      34  1  editable, 35 1 next byte
//  34  1  editable, 35 next byte       36 1+n default text
//  36 32  default text (Str31)       37+n 1+m entry filter
//  68  2  two further bytes         38+n+m 2  byte 69 and the filter's
//  70 256 entry filter (Str255)               length once more (optional)
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"
#include "kernel/helpers/EntryAttributes.h"
#include "platform/core/MacTypes.h"

constexpr int32_t kSaisieAttSize = 326;

// Reads the "SATT" chunk just opened into a new cleared record; null with
// the code in *result when the chunk is damaged or memory is short. A
// default text of more than 31 characters keeps 31.
platform::Handle ReadSattObject(_GroupContext* context, IFFP* result);
// The form reader's name for it.
inline platform::Handle ReadSaisieAtt(_GroupContext* context, IFFP* result) { return ReadSattObject(context, result); }
// Writes the record (71 bytes and more: the kernel's record, or the
// reader's 326) as a "SATT" chunk.
IFFP WriteSattObject(platform::Handle record, _GroupContext* context);

int16_t SattWord(platform::Handle record, int32_t offset);
uint8_t SattByte(platform::Handle record, int32_t offset);
// A length-prefixed text of the record (the default text or the filter).
void SattText(platform::Handle record, int32_t offset, unsigned char* out);
