// The stored records of tables as copying them reads and rewrites them
// (big-endian):
//
// 'PRQz' 0   +0 table count (at most 255); table n's 14-byte entry at
//            78 + 14 (n - 1): +0 the id of its 'FIQz', the rest carried
// 'WNQz' 0   table n's name in the 32 bytes at 32 (n - 1)
// 'FIQz'     a 30-byte header: +0 field count (at most 511), +2 table
//            method id (0 none), +4 form table id (-1 none), +6 table
//            number, +14..+21 its box; then 66-byte entries: +0 name (32),
//            +32 type (7 subtable), +40 related table (0 none), +42
//            related field, +44 a word -1 in a new field, +46 choice list
//            id (-1 none), +48 attributes (a subtable: its 'FIQz' id in
//            +48..+49), +50 depth of the relation's path, +52 the path
// 'TFQz'     +0 form count, +2 and +4 the rows of the default input and
//            output forms; 270-byte rows from 6: +0 name (32), +32 form
//            id, +34 menu bar number, +40 form method id
// Field resources: 'F' 'i' and 'H' 'E' followed by the table's 'FIQz' id,
// the field number as id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kernel/fields/FieldTypes.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"

namespace tables {

constexpr size_t kParamEntries = 78, kParamEntrySize = 14;
constexpr int16_t kMaxTables = 255;
constexpr size_t kNameSize = 32;
constexpr size_t kHeaderSize = 30, kEntrySize = 66;
constexpr int16_t kMaxFields = 511;
constexpr size_t kMethodAt = 2, kFormTableAt = 4, kNumberAt = 6, kBoxAt = 14, kBoxSize = 8;
constexpr size_t kTypeAt = 32, kRelTableAt = 40, kRelFieldAt = 42, kNewWordAt = 44, kListAt = 46, kAttrAt = 48,
                 kSubIdAt = 48, kDepthAt = 50, kPathAt = 52;
constexpr uint8_t kSubtableType = fieldtype::kSubtable;
constexpr uint8_t kRelationBit = 0x80, kRelationMark = 0x02;
constexpr size_t kFormHeader = 6, kFormRowSize = 270, kFormIdAt = 32, kFormMethodAt = 40;
constexpr size_t kDefaultInputAt = 2, kDefaultOutputAt = 4;
constexpr int16_t kMaxPathDepth = 4;

const uint32_t kParams = platform::FourCC("PRQz"), kNames = platform::FourCC("WNQz"),
               kDefinition = platform::FourCC("FIQz"), kFormTable = platform::FourCC("TFQz"),
               kCode = platform::FourCC("CCQz");

inline int16_t S16(const std::vector<uint8_t>& b, size_t at) { return platform::ReadBES16(&b[at]); }
inline void Put16(std::vector<uint8_t>& b, size_t at, int16_t v) { platform::WriteBE16(&b[at], uint16_t(v)); }

// The 'F' 'i' and 'H' 'E' resource types of a table's fields.
inline uint32_t BalloonType(int16_t tableId) { return (uint32_t('F') << 24) | (uint32_t('i') << 16) | uint16_t(tableId); }
inline uint32_t FieldDocType(int16_t tableId) { return (uint32_t('H') << 24) | (uint32_t('E') << 16) | uint16_t(tableId); }

// A definition whose count fits its bytes; its field count, else -1.
inline int32_t FieldCount(const std::vector<uint8_t>& def)
{
    if (def.size() < kHeaderSize) return -1;
    const int32_t n = S16(def, 0);
    if (n < 0 || n > kMaxFields || kHeaderSize + size_t(n) * kEntrySize > def.size()) return -1;
    return n;
}
inline size_t EntryAt(int32_t k) { return kHeaderSize + size_t(k - 1) * kEntrySize; }

// A form table whose count fits its bytes; its form count, else -1.
inline int32_t FormCount(const std::vector<uint8_t>& table)
{
    if (table.size() < kFormHeader) return -1;
    const int32_t n = S16(table, 0);
    if (n < 0 || kFormHeader + size_t(n) * kFormRowSize > table.size()) return -1;
    return n;
}
inline size_t FormRowAt(int32_t row) { return kFormHeader + size_t(row - 1) * kFormRowSize; }

}  // namespace tables
