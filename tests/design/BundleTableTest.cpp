// The bundle tables of plug-in routines and packages and their string
// lists: exact fits read, damage read as damage, edits keeping the rest.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "design/plugins/BundleTable.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

// Two entries: 'STR#' count 3 id 0x0102, 'PICT' count -2 id 7.
const Bytes kTwo = {0, 2, 'S', 'T', 'R', '#', 0, 3, 1, 2, 'P', 'I', 'C', 'T', 0xFF, 0xFE, 0, 7};

platform::Handle Make(const Bytes& b)
{
    platform::Handle h = platform::NewHandle(platform::Size(b.size()));
    if (!b.empty()) std::copy(b.begin(), b.end(), reinterpret_cast<uint8_t*>(*h));
    return h;
}

std::vector<std::tuple<uint32_t, int16_t, int16_t>> Entries(platform::Handle h)
{
    std::vector<BundleEntry> entries;
    std::vector<std::tuple<uint32_t, int16_t, int16_t>> out;
    if (!ReadBundleTable(h, &entries)) out.emplace_back(0, -1, -1);
    for (const BundleEntry& e : entries) out.emplace_back(e.type, e.count, e.id);
    return out;
}

TEST(BundleTable, ExactFitsAreReadAndShortOrNegativeCountsAreDamage)
{
    const Bytes past = [] { Bytes b = kTwo; b.push_back(9); return b; }();
    const Bytes shortBy1(kTwo.begin(), kTwo.end() - 1);
    const Bytes negative = {0x80, 0, 'S', 'T', 'R', '#', 0, 3, 1, 2};
    struct Case {
        const char* what;
        Bytes bytes;
        bool sound;
    };
    const Case cases[] = {{"exact fit", kTwo, true},     {"a byte past the entries", past, true},
                          {"one byte short", shortBy1, false}, {"negative count", negative, false},
                          {"count only", {0, 0}, true},   {"one byte", {0}, false}};
    for (const Case& c : cases) {
        std::vector<BundleEntry> entries(1);
        EXPECT_EQ(ReadBundleTable(c.bytes.data(), c.bytes.size(), &entries), c.sound) << c.what;
        const size_t expected = c.sound ? size_t(c.bytes[1]) : 0;
        ASSERT_EQ(entries.size(), expected) << c.what;
        if (expected == 2) {
            EXPECT_EQ(std::tuple(entries[1].type, entries[1].count, entries[1].id), std::tuple(FourCC("PICT"), int16_t(-2), int16_t(7)));
            EXPECT_EQ(std::tuple(entries[0].count, entries[0].id), std::tuple(int16_t(3), int16_t(0x0102)));
        }
        platform::Handle h = Make(c.bytes);
        BundleEntry found;
        EXPECT_EQ(FindBundleEntry(h, FourCC("PICT"), &found), c.sound && expected == 2) << c.what;
        if (c.sound && expected == 2) {
            EXPECT_EQ(std::tuple(found.count, found.id), std::tuple(int16_t(-2), int16_t(7)));
        }
        EXPECT_EQ(AppendBundleEntry(h, {FourCC("TEXT"), 1, 1}), c.sound ? 0 : 1003) << c.what;
        platform::DisposeHandle(h);
    }
    std::vector<BundleEntry> none;
    EXPECT_FALSE(ReadBundleTable(nullptr, 0, &none));
}

TEST(BundleTable, AddingRemovingAndRecountingKeepTheOtherEntriesAndTrailingBytes)
{
    Bytes bytes = kTwo;
    bytes.push_back(0xAB);
    platform::Handle h = Make(bytes);
    ASSERT_EQ(AppendBundleEntry(h, {FourCC("TEXT"), 5, 9}), 0);
    EXPECT_EQ(platform::GetHandleSize(h), 2 + 3 * 8 + 1);
    EXPECT_EQ(uint8_t((*h)[2 + 3 * 8]), 0xAB) << "bytes after the entries stay after them";
    using E = std::tuple<uint32_t, int16_t, int16_t>;
    EXPECT_EQ(Entries(h), (std::vector<E>{{FourCC("STR#"), 3, 0x0102}, {FourCC("PICT"), -2, 7}, {FourCC("TEXT"), 5, 9}}));
    for (const int32_t bad : {-1, 3}) EXPECT_EQ(RemoveBundleEntry(h, bad), 1003) << bad;
    ASSERT_EQ(RemoveBundleEntry(h, 0), 0);
    SetBundleEntryCount(h, 1, 11);
    SetBundleEntryCount(h, 2, 12);
    EXPECT_EQ(Entries(h), (std::vector<E>{{FourCC("PICT"), -2, 7}, {FourCC("TEXT"), 11, 9}}));
    EXPECT_EQ(uint8_t((*h)[2 + 2 * 8]), 0xAB);
    platform::DisposeHandle(h);
}

TEST(BundleTable, StringListsEndingExactlyAtTheEndAreReadAndLongerOnesAreDamage)
{
    struct Case {
        Bytes bytes;
        bool sound;
        size_t strings;
    };
    const Case cases[] = {{{0, 2, 1, 'a', 2, 'b', 'c'}, true, 2}, {{0, 2, 1, 'a', 2, 'b'}, false, 0},
                          {{0, 2, 1, 'a'}, false, 0},           {{0, 0}, true, 0},
                          {{0xFF, 0xFF}, false, 0},             {{0, 1, 0}, true, 1}};
    for (const Case& c : cases) {
        platform::Handle h = Make(c.bytes);
        std::vector<std::vector<uint8_t>> strings;
        EXPECT_EQ(ReadStringList(h, &strings), c.sound) << c.bytes.size();
        EXPECT_EQ(strings.size(), c.sound ? c.strings : strings.size());
        platform::DisposeHandle(h);
    }
}

}  // namespace
