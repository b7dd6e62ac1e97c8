// Canonical compositions of two characters into one, sorted by first then
// second character (CompositionPairs.cpp is generated).
#pragma once

#include <cstdint>

struct CompositionPair {
    char16_t first;
    char16_t second;
    char16_t composite;
};

constexpr int32_t kCompositionPairCount = 928;
extern const CompositionPair kCompositionPairs[kCompositionPairCount];

namespace platform {

// The one character `first` followed by `second` composes into, or 0.
char16_t ComposedPair(char16_t first, char16_t second);

}  // namespace platform
