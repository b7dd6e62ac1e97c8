// The tables of the Unicode reference conversion between UTF-8 and UTF-16,
// read by VIntlMgr::UTF8ToUTF16 and VIntlMgr::UTF16ToUTF8.
#pragma once

#include <cstdint>

// Trailing bytes of a sequence by its first byte (0xC0-0xDF: 1, 0xE0-0xEF:
// 2, 0xF0-0xF7: 3, 0xF8-0xFB: 4, 0xFC-0xFF: 5, others 0).
extern const uint8_t gUTFBytes[256];
// What the accumulated bytes of a sequence of n + 1 bytes carry beyond the
// value: the lead and continuation marks.
extern const uint32_t gUTFOffsets[6];
// The mark of the first byte of a sequence of n bytes.
extern const uint8_t gFirstByteMark[7];
