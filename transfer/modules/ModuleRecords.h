// The stored forms of module records, in either byte order.
//
// 'MODQ' (id = the component's id):
//   size  field
//    1    byte order: 1 big-endian, 2 little-endian (every later number
//         reversed)                               other: unreadable (1)
//    2    format version                          below 512: 1; above 1023: 2
//    str  name, second string, date, version text (at most 31 characters)
//    4    version number
//    str  comments (at most 255), seventh string (31)
//    40   format 768 and later: ten zero words, read and ignored; every
//         byte after them is enciphered (Module::Shake)
//    ..   ten member lists in Module's order: 4-byte count, then per
//         entry a 2-byte id, a 2-byte state and a 4-byte key (written 0,
//         and read as 0, for state 1)
// A toolbox string ("str"): 4-byte length; when above 0 a 4-byte
// character set (0 Mac Roman, 1 Windows, 2 UTF-16) and length + 1 units,
// the last a terminator; a negative length reads as empty.
//
// 'MAPQ' (the same id): byte order, 2-byte version (769), 4-byte count,
// per row a 4-byte type, a 2-byte old id and a 2-byte new id.
//
// Every count, length and string is checked against the bytes left and
// the field it fills: a record that does not fit is unreadable (1).
#pragma once

#include <cstdint>
#include <vector>

#include "transfer/modules/Module.h"

namespace transfer {

constexpr int16_t kModuleFormatCiphered = 768;  // from here on: the zeros and the cipher
constexpr int16_t kModuleFormatFirst = 512;
constexpr int16_t kModuleFormatLast = 1023;

// Fills `module` from a 'MODQ' and its 'MAPQ' (none: null, 0): 0, 1
// unreadable, 2 of a newer format, -108 when memory runs out.
int16_t ReadModule(const uint8_t* modq, int32_t modqSize, const uint8_t* mapq, int32_t mapqSize, Module* module);

// The stored forms; -108 when memory runs out.
int16_t EncodeModule(const Module& module, bool littleEndian, std::vector<uint8_t>* out);
int16_t EncodeResIDMap(VArrayListOf<ResIDMap>* map, bool littleEndian, std::vector<uint8_t>* out);

// Puts `bytes` as (type, id) into the current store file, removing an
// older one first; the store's error.
int16_t ReplaceStoreResource(platform::ResType type, int16_t id, const std::vector<uint8_t>& bytes);
// Marks the current store file as holding module records ('DDUY').
void UpgradeCurrentFile();

}  // namespace transfer
