// A field's type: byte +32 of its 66-byte entry in its table's 'FIQz'.
// The one table of the codes, for every writer and reader of a field's
// type (the SQL builder, the descriptions shown, form drawing, copying,
// the document builder).
#pragma once

#include <cstdint>

namespace fieldtype {

constexpr uint8_t kAlpha = 0;  // fixed length: the length at +34
constexpr uint8_t kReal = 1;
constexpr uint8_t kText = 2;
constexpr uint8_t kPicture = 3;
constexpr uint8_t kDate = 4;
constexpr uint8_t kBoolean = 6;
constexpr uint8_t kSubtable = 7;  // a nested table, not a field
constexpr uint8_t kInteger = 8;
constexpr uint8_t kLongInteger = 9;
constexpr uint8_t kTime = 11;
constexpr uint8_t kBlob = 30;

// The item of 'STR#' 1014 that names the type; 0 for a type without one.
constexpr int16_t NameItem(uint8_t type)
{
    switch (type) {
    case kAlpha: return 1;
    case kText: return 2;
    case kReal: return 3;
    case kInteger: return 4;
    case kLongInteger: return 5;
    case kDate: return 6;
    case kTime: return 7;
    case kBoolean: return 8;
    case kPicture: return 9;
    case kBlob: return 11;
    default: return 0;
    }
}

// A table holding a field of such a type (kept apart from the record)
// says so in byte 8 of its 'FIQz' header.
constexpr bool MarksTableHeader(uint8_t type) { return type == kText || type == kPicture; }

}  // namespace fieldtype
