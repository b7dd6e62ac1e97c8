// Comparisons of the two-byte-script paths: the platform's script-aware
// comparison with a wildcard at either end, and the Japanese and Korean
// comparison over the tables of kJapaneseTableType.
#pragma once

#include <cstdint>

// Text a against pattern b (kEqual, kGreater, kSmaller); the wildcard is
// `wildchar`, counted only as b's first or last character, and only with
// `wildcards` (sorting passes false).
int16_t scriptrelptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool wildcards = true);

// Japanese or Korean ordering: -1, 0 or 1.
int16_t Jrelptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength);
// Text a against pattern b: -1, 0 or 1. A negative bLength asks whether b
// (of the absolute length) starts a; with `noWildcard` clear the one-byte
// wildcard in b ends the comparison as equal.
int16_t Jegalstr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool noWildcard);
// 1-based byte position of pattern in text, 0 when absent; a negative
// textLength (absolute value used) asks for the pattern at the text's end.
int32_t Jinptr(const uint8_t* text, const uint8_t* pattern, int32_t textLength, int32_t patternLength,
               bool noWildcard);
