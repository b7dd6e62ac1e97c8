// Whole numbers as text and back: signs, the first character that is no
// digit, and the ends of 32 bits.
#include "platform/text/NumberStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

using namespace platform;

TEST(NumberStrings, TextReadsToTheFirstOtherCharacterAndHoldsAtTheEnds)
{
    const std::pair<std::string, int32_t> cases[] = {
        {"12", 12}, {"-7", -7}, {"+3", 3}, {"", 0}, {"-", 0}, {"x12", 0}, {"12pt", 12}, {"007", 7},
        {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"99999999999999999999", 2147483647},
        {"-2147483648", std::numeric_limits<int32_t>::min()}, {"-99999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& [text, want] : cases) {
        Str255 p;
        p[0] = uint8_t(text.size());
        std::memcpy(p + 1, text.data(), text.size());
        int32_t n = -1;
        StringToNum(p, &n);
        EXPECT_EQ(n, want) << text;
    }
    for (int32_t n : {0, 9, -1, 255, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        Str255 p;
        NumToString(n, p);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(p + 1), p[0]), std::to_string(n));
        int32_t back = 0;
        StringToNum(p, &back);
        EXPECT_EQ(back, n);
    }
}

}  // namespace
