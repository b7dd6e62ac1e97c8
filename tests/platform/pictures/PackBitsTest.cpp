// PackBits to the byte: runs and literals at their 128-item limits, the
// last two equal items, words, and rows that end early, exactly or late.
#include "platform/pictures/PackBits.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Packed(const Bytes& items, size_t itemSize = 1)
{
    Bytes out;
    platform::PackBits(items.data(), items.size() / itemSize, itemSize, &out);
    return out;
}

Bytes Distinct(size_t n)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t(i);
    return b;
}

TEST(PackBits, RunsAndLiteralsAreCutAtTheirLimits)
{
    struct Case {
        Bytes items;
        Bytes packed;
    };
    Bytes literal128 = {127};
    const Bytes first128 = Distinct(128);
    literal128.insert(literal128.end(), first128.begin(), first128.end());
    Bytes literal129 = literal128;
    literal129.push_back(0);
    literal129.push_back(128);
    const Case cases[] = {
        {{}, {}},
        {{7}, {0, 7}},
        {{7, 7}, {255, 7}},              // the last two equal: a run
        {{7, 7, 8}, {2, 7, 7, 8}},       // two equal then more: literals
        {{7, 7, 7}, {254, 7}},
        {{1, 7, 7, 7}, {0, 1, 254, 7}},  // literals stop before a run of three
        {Bytes(128, 5), {129, 5}},
        {Bytes(129, 5), {129, 5, 0, 5}},
        {Bytes(130, 5), {129, 5, 255, 5}},
        {Distinct(128), literal128},
        {Distinct(129), literal129},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(Packed(k.items), k.packed) << k.items.size() << " items";
        Bytes back(k.items.size());
        EXPECT_TRUE(platform::UnpackBits(k.packed.data(), k.packed.size(), 1, back.data(), back.size()));
        EXPECT_EQ(back, k.items);
    }
    // Items past the count are never looked at, even when they would
    // lengthen a run or start one.
    const Bytes wider = {7, 7, 7, 1, 2, 2, 2};
    Bytes out;
    platform::PackBits(wider.data(), 2, 1, &out);
    EXPECT_EQ(out, (Bytes{255, 7}));
    out.clear();
    platform::PackBits(wider.data() + 3, 3, 1, &out);
    EXPECT_EQ(out, (Bytes{2, 1, 2, 2}));

    // Words: equal pairs of bytes make a run.
    EXPECT_EQ(Packed({1, 2, 1, 2, 1, 2}, 2), (Bytes{254, 1, 2}));
    EXPECT_EQ(Packed({1, 2, 1, 3}, 2), (Bytes{1, 1, 2, 1, 3}));
}

TEST(PackBits, RowsThatEndEarlyOrRunPastTheirRoomAreDamage)
{
    struct Case {
        Bytes packed;
        size_t room;
        size_t itemSize;
        bool ok;
        Bytes row;
    };
    const Case cases[] = {
        {{2, 1, 2, 3}, 3, 1, true, {1, 2, 3}},            // a literal run filling the row exactly
        {{2, 1, 2, 3}, 2, 1, false, {}},                  // one item past the row
        {{2, 1, 2}, 3, 1, false, {}},                     // the literal cut short
        {{128, 255, 9}, 2, 1, true, {9, 9}},              // the no-op flag is skipped
        {{128}, 1, 1, false, {}},                         // only the no-op: the row never fills
        {{254, 4}, 3, 1, true, {4, 4, 4}},                // a repeat filling the row exactly
        {{253, 4}, 3, 1, false, {}},                      // a repeat one past it
        {{254}, 3, 1, false, {}},                         // a repeat with no item
        {{0, 1, 0, 2, 77, 77}, 2, 1, true, {1, 2}},       // bytes left after a full row are padding
        {{255, 1, 2}, 4, 2, true, {1, 2, 1, 2}},          // a repeated word
        {{255, 1}, 4, 2, false, {}},                      // half a word
        {{0, 1, 2, 3}, 2, 2, true, {1, 2}},               // one literal word, then padding
        {{}, 0, 1, true, {}},
        {{}, 1, 1, false, {}},
    };
    for (const Case& k : cases) {
        Bytes out(k.room + 2, 0xEE);
        const bool ok = platform::UnpackBits(k.packed.data(), k.packed.size(), k.itemSize, out.data(), k.room);
        EXPECT_EQ(ok, k.ok) << k.packed.size() << " bytes into " << k.room;
        EXPECT_EQ(out[k.room], 0xEE) << "nothing written past the row";
        EXPECT_EQ(out[k.room + 1], 0xEE);
        if (k.ok) {
            EXPECT_EQ(Bytes(out.begin(), out.begin() + std::ptrdiff_t(k.room)), k.row);
        }
    }
}

}  // namespace
