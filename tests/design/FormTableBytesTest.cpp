// A table's form directory: entries found, removed and renamed in its
// bytes, the rest kept exactly.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "design/forms/FormTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Header: count, two positions; then entries of a name and an id.
Bytes Table(int16_t count, int16_t first, int16_t second, const std::vector<std::pair<std::string, int16_t>>& entries)
{
    Bytes t = {uint8_t(count >> 8), uint8_t(count), uint8_t(first >> 8), uint8_t(first), uint8_t(second >> 8),
               uint8_t(second)};
    for (const auto& [name, id] : entries) {
        Bytes e(kFormEntrySize, 0);
        e[0] = uint8_t(name.size());
        std::copy(name.begin(), name.end(), e.begin() + 1);
        e[kFormEntryIdAt] = uint8_t(id >> 8), e[kFormEntryIdAt + 1] = uint8_t(id);
        e[kFormEntrySize - 1] = 0xEE;
        t.insert(t.end(), e.begin(), e.end());
    }
    return t;
}

TEST(FormTableBytes, EntriesAreFoundRemovedAndRenamedKeepingTheRest)
{
    const std::string full(31, 'x');
    const Bytes table = Table(3, 3, 1, {{"A", 10}, {"B", 20}, {full, 30}});
    EXPECT_EQ(FindFormEntry(table, 30), 2);
    EXPECT_EQ(FindFormEntry(table, 40), -1);
    EXPECT_EQ(FindFormEntry(Table(2, 0, 0, {{"A", 10}, {"B", 20}, {"C", 30}}), 30), -1) << "past the count";
    EXPECT_EQ(FindFormEntry(Table(5, 0, 0, {{"A", 10}}), 0), -1) << "past the bytes";

    // Positions past the new count come down to it.
    EXPECT_EQ(WithoutFormEntry(table, 1), Table(2, 2, 1, {{"A", 10}, {full, 30}}));
    EXPECT_EQ(WithoutFormEntry(table, 0), Table(2, 2, 1, {{"B", 20}, {full, 30}}));
    for (const int32_t bad : {-1, 3}) {
        EXPECT_EQ(WithoutFormEntry(table, bad), table) << bad;
        EXPECT_EQ(WithFormName(table, bad, reinterpret_cast<const unsigned char*>("\x02Hi")), table) << bad;
    }
    // A shorter name leaves no trace of the longer one; a longer one is cut.
    EXPECT_EQ(WithFormName(table, 2, reinterpret_cast<const unsigned char*>("\x02Hi")),
              Table(3, 3, 1, {{"A", 10}, {"B", 20}, {"Hi", 30}}));
    unsigned char longName[41] = {40};
    for (int i = 1; i <= 40; ++i) longName[i] = uint8_t('a' + i % 26);
    EXPECT_EQ(WithFormName(table, 0, longName),
              Table(3, 3, 1, {{std::string(reinterpret_cast<char*>(longName + 1), 31), 10}, {"B", 20}, {full, 30}}));
}

}  // namespace
