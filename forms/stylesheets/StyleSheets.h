// Style-sheet tables: 'Stlx' 128 of the structure and its older form
// 'Styl' 128, brought to the current layout.
//
// Table, big-endian: u16 count; u16 entry size (376 once loaded); then the
// entries. Entry, 376 bytes:
//   0   32  name (length byte, at most 31 characters)
//  32    2  style-sheet id
//  34    2  number of font blocks (5)
//  36  340  five font blocks of 68 bytes, one per platform
// Font block: 64 bytes of name (length byte and text; a negative length c
// is a built-in font numbered -2 - c); i16 font number; u8 size; u8 face.
// Older entry, 238 bytes: name (32), id (2), three font blocks.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int32_t kStyleSheetHeaderSize = 4;
constexpr int32_t kStyleSheetEntrySize = 376;
constexpr int32_t kOldStyleSheetEntrySize = 238;
constexpr int32_t kFontBlockSize = 68;
constexpr int16_t kFontBlockCount = 5;

// (size - 4) is a multiple of 238.
bool Is67xStyleSheet(platform::Handle table);
// (size - 4) is a multiple of 376 and not of 238, or the table is empty,
// or every entry has 5 font blocks.
bool Is68xStyleSheet(platform::Handle table);
// The table in the 376-byte layout: the handle itself when it is one, a new
// converted table when it is in the 238-byte layout, null otherwise (also
// when its count claims more entries than it holds, or on a memory error).
platform::Handle ConvertStyleSheet(platform::Handle table);
