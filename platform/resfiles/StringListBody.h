// The body of a string list ('STR#'): an unsigned 16-bit count, then that
// many strings, each a length byte and its characters. Every part of the
// program that reads a list's strings reads them here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The count the body declares, 0 to 65,535 (0 for fewer than two bytes).
uint32_t StringListCount(const uint8_t* bytes, size_t size);
// The strings the body holds, in order, as many as it declares and as far
// as its bytes go (a string the end cuts keeps what is there). False when
// the bytes end before the declared strings do.
bool ReadStringListBody(const uint8_t* bytes, size_t size, std::vector<std::string>* strings);

}  // namespace platform
