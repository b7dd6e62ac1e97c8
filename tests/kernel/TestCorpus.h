// Deterministic test data for the block compressors.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testdata {

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = uint8_t(rng() >> 24);
    return v;
}

// Words from a small vocabulary with punctuation and line ends: compresses
// like prose.
inline std::vector<uint8_t> Text(size_t n, uint32_t seed)
{
    static const char* const kWords[] = {
        "the", "table", "field", "form", "method", "of", "and", "to", "a", "record",
        "structure", "index", "value", "when", "is", "not", "every", "list", "name", "object"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        s += kWords[rng() % 20];
        const uint32_t r = rng() % 16;
        s += r == 0 ? ".\r" : r == 1 ? ", " : " ";
    }
    s.resize(n);
    return {s.begin(), s.end()};
}

// Text, random runs and repeated records mixed, so that blocks see every
// kind of code.
inline std::vector<uint8_t> Mixed(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> v;
    while (v.size() < n) {
        const size_t chunk = 500 + rng() % 3000;
        std::vector<uint8_t> part;
        switch (rng() % 3) {
        case 0: part = Text(chunk, rng()); break;
        case 1: part = RandomBytes(chunk / 4, rng()); break;
        default:
            for (size_t i = 0; i < chunk; ++i) part.push_back(uint8_t((i % 37) < 30 ? i % 7 : rng()));
        }
        v.insert(v.end(), part.begin(), part.end());
    }
    v.resize(n);
    return v;
}

}  // namespace testdata
