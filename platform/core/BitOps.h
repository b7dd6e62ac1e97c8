// Bits of a byte array in the classic numbering: bit 0 is the most
// significant bit of the first byte, bit 8 the most significant of the
// second. List filters, selection arrays and preference flags are read and
// written through these alone, so that every caller counts the same way.
#pragma once

#include <cstdint>

namespace platform {

// Negative bit numbers name nothing: BitTst answers false, the others do
// nothing. Callers check n against their array's size.
bool BitTst(const void* bytes, int32_t n);
void BitSet(void* bytes, int32_t n);
void BitClr(void* bytes, int32_t n);

}  // namespace platform
