// Ordering and equality of Mac Roman text under the Roman rules.
//
// CompareText decides level by level, each level only when the one before
// found the texts equal:
//   1. letters without case or diacritics (upper case of the stripped
//      letter), byte by byte; a text that is a prefix of the other comes first;
//   2. diacritics, at the first position where they differ: the plain letter
//      first ("resume" < "résumé");
//   3. case, at the first position where it differs: upper case first ("A" < "a");
//   4. the bytes themselves, so that only identical texts compare equal.
// This is a total order. It answers -1, 0 or 1.
#pragma once

#include <cstdint>

namespace platform {

int16_t CompareText(const uint8_t* a, int32_t aLength, const uint8_t* b, int32_t bLength);

// 0 when the texts are the same bytes, 1 otherwise.
int16_t IdenticalText(const uint8_t* a, int32_t aLength, const uint8_t* b, int32_t bLength);

}  // namespace platform
