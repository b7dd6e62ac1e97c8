// Builders of resource contents in host order for the conversion tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/byteswap/SwapTemplates.h"

namespace swapfix {

using Bytes = std::vector<uint8_t>;

class Builder {
public:
    Builder& W(uint16_t v) { return Put(v, 2); }
    Builder& L(uint32_t v) { return Put(v, 4); }
    Builder& B(uint8_t v)
    {
        b.push_back(v);
        return *this;
    }
    Builder& Fill(size_t n, uint8_t start = 1)
    {
        for (size_t i = 0; i < n; ++i) b.push_back(uint8_t(start + i * 7));
        return *this;
    }
    // A length-prefixed string, padded to an even length with its length byte.
    Builder& Padded(const std::string& s)
    {
        b.push_back(uint8_t(s.size()));
        b.insert(b.end(), s.begin(), s.end());
        if (s.size() % 2 == 0) b.push_back(0);
        return *this;
    }
    Bytes b;

private:
    Builder& Put(uint32_t v, int width)
    {
        for (int i = width - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
};

// Templates the dedicated routines use, with layouts made up for the tests.
inline int16_t LoadTestTemplates()
{
    const char* text =
        "PRQz 11\nlong\nword [3]\nend\n"
        "Pair 200\nword\nlong\nend\n"
        "FIQz 13\nword n\narrayof n Pair\nend\n"
        "TPQz 16\nlong [11]\nend\n"
        "LiHe 17\nword [3]\nlong [3]\nend\n"
        "Page19 24\nword [19]\nend\n"
        "Page9 25\nword [4]\nskip [6]\nlong [6]\nword [2]\nend\n"
        "Attr 27\nlong [17]\nend\n"
        "Page5 28\nword [14]\nend\n"
        "Page1 29\nlong [7]\nend\n"
        "Page11 30\nword [24]\nend\n"
        "Line 31\nword\nword tokens\nlong [3]\nend\n"
        "Page2 32\nword [17]\nend\n"
        "F48 33\nlong [12]\nend\n"
        "User 38\nlong [28]\nend\n"
        "OldUser 107\nlong [24]\nend\n"
        "Member 201\nword\nend\n"
        "Group 40\nskip [32]\nword members\nskip [2]\narrayof members Member\nend\n";
    return InitTokensFromText(text, int32_t(std::string(text).size()));
}

}  // namespace swapfix
