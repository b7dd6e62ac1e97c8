// Makes the little-endian twin of a big-endian container: every word of
// the header, the page table, the map and the block headers reversed, and
// the contents converted by type (unscrambled first, scrambled again).
// The contents are converted by the byte-swap templates, which must be
// loaded. The document builder's little-endian option, the store's tests
// and the test database server all take the twin from here.
#pragma once

#include <cstdint>
#include <vector>

namespace docbuilder {

// Empty when the bytes are not a well-formed container.
std::vector<uint8_t> LittleEndianTwin(const std::vector<uint8_t>& be);

}  // namespace docbuilder
