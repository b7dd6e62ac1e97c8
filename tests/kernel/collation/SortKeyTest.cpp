// Sort keys order texts exactly as the comparison does, under every
// collation that has keys, for both flags.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "kernel/collation/CustRecord.h"
#include "kernel/collation/SortKey.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

namespace {

void Selector(int16_t selector)
{
    if (!cust) cust = platform::NewHandleClear(kCustSize);
    platform::WriteBE16(*cust + kCustCollation, uint16_t(selector));
}

// A custom order: classes fold a-z onto A-Z; digits weigh after letters.
void CustomOrder()
{
    for (int c = 0; c < 256; ++c) {
        tabmajnodiac[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
        tabvalue[c] = uint8_t(c);
    }
    for (int c = '0'; c <= '9'; ++c) tabvalue[c] = uint8_t(0xF0 + c - '0');
    for (int c = 0xF0; c <= 0xF9; ++c) tabvalue[c] = uint8_t('0' + c - 0xF0);
    // Lower-case letters weigh just above their upper case, within the class.
    for (int c = 'a'; c <= 'z'; ++c) tabvalue[c] = uint8_t(c - 32);
    nouveaucomp = 1;
}

struct Mode {
    const char* name;
    std::function<void()> setUp;
};

const std::vector<Mode> kModes = {
    {"Roman", [] {}},
    {"German selector", [] { Selector(kCollateGerman); }},
    {"script selector", [] { Selector(kCollateScript); }},
    {"folding script selector", [] {
         scriptmanager = 1;
         Selector(11);
     }},
    {"custom order", [] { CustomOrder(); }},
    {"custom order, German selector", [] {
         CustomOrder();
         Selector(kCollateGerman);
     }},
};

// Names of mixed case, accents (Mac Roman), sharp s, "@", digits and the
// bytes at the ends of the range, short so that ties are frequent.
std::vector<std::string> RandomNames(uint32_t seed, int n)
{
    static const std::string alphabet = std::string("aAbBeEsS@0 9") + "\x87\xE7\x8E\x83\xA7\x9A\x85" + '\0' + '\1' +
                                        "\xFF";
    std::mt19937 random(seed);
    std::vector<std::string> names(static_cast<size_t>(n));
    for (auto& name : names) {
        name.resize(random() % 7);
        for (auto& c : name) c = alphabet[random() % alphabet.size()];
    }
    return names;
}

int16_t Compare(const std::string& a, const std::string& b, bool ordering)
{
    return CompareStringQz(reinterpret_cast<const uint8_t*>(a.data()), reinterpret_cast<const uint8_t*>(b.data()),
                           int32_t(a.size()), int32_t(b.size()), ordering);
}

int16_t KeyAnswer(const std::string& a, const std::string& b)
{
    const int c = a.compare(b);
    return c == 0 ? kEqual : c < 0 ? kSmaller : kGreater;
}

class SortKeys : public testing::TestWithParam<size_t> {
protected:
    void SetUp() override { ResetCollation(); }
    void TearDown() override { ResetCollation(); }
};

TEST_P(SortKeys, OrderTwentyThousandNamesAsTheComparisonDoes)
{
    const Mode& mode = kModes[GetParam()];
    mode.setUp();
    const std::vector<std::string> names = RandomNames(uint32_t(17 + GetParam()), 20000);
    for (bool ordering : {false, true}) {
        SCOPED_TRACE(std::string(mode.name) + (ordering ? ", ordering" : ", exact"));
        const CollationKeys keys(ordering);
        ASSERT_TRUE(keys.Available());
        std::vector<std::string> key(names.size());
        for (size_t i = 0; i < names.size(); ++i)
            keys.Append(reinterpret_cast<const uint8_t*>(names[i].data()), int32_t(names[i].size()), &key[i]);
        std::vector<size_t> sorted(names.size());
        for (size_t i = 0; i < sorted.size(); ++i) sorted[i] = i;
        std::sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) { return key[a] < key[b]; });
        // Neighbours in key order, and pairs taken at random.
        for (size_t i = 0; i + 1 < sorted.size(); ++i) {
            const size_t a = sorted[i], b = sorted[i + 1];
            ASSERT_EQ(KeyAnswer(key[a], key[b]), Compare(names[a], names[b], ordering))
                << testing::PrintToString(names[a]) << " " << testing::PrintToString(names[b]);
        }
        std::mt19937 random(99);
        for (int k = 0; k < 20000; ++k) {
            const size_t a = random() % names.size(), b = random() % names.size();
            ASSERT_EQ(KeyAnswer(key[a], key[b]), Compare(names[a], names[b], ordering))
                << testing::PrintToString(names[a]) << " " << testing::PrintToString(names[b]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCollation, SortKeys, testing::Range<size_t>(0, 6),
                         [](const testing::TestParamInfo<size_t>& info) {
                             std::string name = kModes[info.param].name;
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(uint8_t(c)); }, '_');
                             return name;
                         });

TEST(SortKeysWithout, TwoByteScriptsAndSplitClassesHaveNone)
{
    ResetCollation();
    specialjapon = 1;
    EXPECT_FALSE(CollationKeys(false).Available());
    scriptmanager = 1;
    EXPECT_FALSE(CollationKeys(true).Available());
    ResetCollation();
    // 'a' and 'b' share a class while 'c' weighs between them: no order of
    // the classes says what the exact comparison says.
    CustomOrder();
    tabmajnodiac[uint8_t('b')] = 'a';
    tabvalue[uint8_t('a')] = 10;
    tabvalue[uint8_t('c')] = 11;
    tabvalue[uint8_t('b')] = 12;
    EXPECT_FALSE(CollationKeys(false).Available());
    EXPECT_TRUE(CollationKeys(true).Available()) << "the ordering flag weighs classes only";
    std::string key = "x";
    CollationKeys(false).Append(reinterpret_cast<const uint8_t*>("ab"), 2, &key);
    EXPECT_EQ(key, "x") << "nothing appended";
    ResetCollation();
}

}  // namespace
