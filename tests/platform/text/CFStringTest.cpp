#include <gtest/gtest.h>

#include <string>

#include "platform/text/CFString.h"

using namespace platform;

TEST(CFStringCompare, OrdersByUnitsThenLength)
{
    const struct {
        std::u16string a, b;
        CFComparisonResult want;
    } cases[] = {
        {u"", u"", kCFCompareEqualTo},
        {u"", u"a", kCFCompareLessThan},
        {u"a", u"", kCFCompareGreaterThan},
        {u"PDF", u"PDF", kCFCompareEqualTo},
        {u"PDF", u"PDF ", kCFCompareLessThan},  // a prefix first
        {u"abd", u"abc", kCFCompareGreaterThan},
        {u"pdf", u"PDF", kCFCompareGreaterThan},  // case counts
        {u"\u00E9", u"e\u0301", kCFCompareGreaterThan},  // no canonical folding
        {u"\uFFFF", u"\U00010000", kCFCompareGreaterThan},  // units, not code points
        {std::u16string(1, u'\0'), u"", kCFCompareGreaterThan},
    };
    int row = 0;
    for (const auto& c : cases) EXPECT_EQ(CFStringCompare(CFString{c.a}, CFString{c.b}), c.want) << "row " << row++;
}
