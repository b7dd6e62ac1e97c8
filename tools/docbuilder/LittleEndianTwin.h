// The little-endian form of a big-endian container.
//
// LittleEndianFraming reverses every word of the header, the page table,
// the map and the block headers, and of the names the store keeps for its
// resources ('NAM#'); every other payload stays as it is: the document
// builder writes its little-endian documents this way, their records
// already written field by field in that order.
//
// LittleEndianTwin also converts each payload by its type with the store's
// own conversion (unscrambled first, scrambled again), which needs the
// byte-swap templates: the twin of a container that the builder did not
// write, for tests of the store in the other order.
#pragma once

#include <cstdint>
#include <vector>

namespace docbuilder {

// Both empty when the bytes are not a well-formed container.
std::vector<uint8_t> LittleEndianFraming(const std::vector<uint8_t>& be);
std::vector<uint8_t> LittleEndianTwin(const std::vector<uint8_t>& be);

}  // namespace docbuilder
