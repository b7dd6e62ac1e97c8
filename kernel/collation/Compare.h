// The kernel's text comparison: three-way answers (kEqual, kGreater when a
// sorts after b, kSmaller when before), case and by default diacritics
// ignored, the second text may hold wildcards.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using platform::ConstStr255Param;

// Table-driven comparison with wildcard matching: `classes` folds bytes,
// `order` weighs the classes. A byte of b whose class is '@' matches any run
// of a (with strcmpbehavior only as b's first or last character).
int16_t relptr(const uint8_t* classes, const uint8_t* order, const uint8_t* a, const uint8_t* b,
               int32_t aLength, int32_t bLength);
// Exact comparison: classes first, then the weights of the bytes themselves.
int16_t relptrstrict(const uint8_t* classes, const uint8_t* order, const uint8_t* a,
                     const uint8_t* b, int32_t aLength, int32_t bLength);
// German comparison: the byte 167 counts as two letters s; not strict, the
// wildcard of b is active as in relptr.
int16_t relbetaptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool strict);

// The comparison every sorting caller goes through; `ordering` selects the
// collation order rather than the exact comparison. The wildcard plays no
// part: the answers form a total order, names holding '@' included.
int16_t CompareStringQz(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength,
                        bool ordering);
int16_t CompareStringQz(ConstStr255Param a, ConstStr255Param b, bool ordering);

// Text a against pattern b for match and search calls: the collation order
// with the wildcard of the pattern active (see relptr and scriptrelptr).
int16_t MatchStringQz(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength);
int16_t matchstr(ConstStr255Param text, ConstStr255Param pattern);

// Ordering comparison of length-prefixed strings; rel2str also compares
// compiled references as numbers when testcompilo_relstr is set.
int16_t rel2str(ConstStr255Param a, ConstStr255Param b);
int16_t relstr(ConstStr255Param a, ConstStr255Param b);
int16_t relxptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength);
