#include "platform/resfiles/ResourceFileFormat.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

ResourceFileImage SampleImage()
{
    ResourceFileImage image;
    image.reserved[0] = 0xAB;
    image.resources.push_back({FourCC("STR#"), 128, true, "Messages", 0, {0, 1, 2, 'h', 'i'}});
    image.resources.push_back({FourCC("MENU"), 129, false, "", resPurgeable, {9, 8, 7}});
    image.resources.push_back({FourCC("STR#"), 130, false, "", 0, {}});
    return image;
}

}  // namespace

TEST(ResourceFileFormat, LayoutIsTheClassicOne)
{
    std::vector<uint8_t> f;
    ASSERT_EQ(BuildResourceFile(SampleImage(), &f), noErr);
    uint32_t dataOffset = ReadBE32(&f[0]), mapOffset = ReadBE32(&f[4]);
    uint32_t dataLength = ReadBE32(&f[8]), mapLength = ReadBE32(&f[12]);
    EXPECT_EQ(dataOffset, 256u);
    EXPECT_EQ(dataLength, 4u + 5 + 4 + 0 + 4 + 3);  // grouped by type: STR# 128, STR# 130, MENU 129
    EXPECT_EQ(mapOffset, dataOffset + dataLength);
    EXPECT_EQ(mapOffset + mapLength, f.size());
    EXPECT_EQ(f[16], 0xAB);

    const uint8_t* map = &f[mapOffset];
    EXPECT_EQ(ReadBE32(map), dataOffset);  // the header's copy
    EXPECT_EQ(ReadBE16(map + 24), 28);
    const uint8_t* types = map + 28;
    EXPECT_EQ(ReadBE16(types), 1);  // two types, stored as count - 1
    EXPECT_EQ(ReadBE32(types + 2), FourCC("STR#"));
    EXPECT_EQ(ReadBE16(types + 6), 1);
    EXPECT_EQ(ReadBE32(types + 10), FourCC("MENU"));
    const uint8_t* refs = types + ReadBE16(types + 8);
    EXPECT_EQ(ReadBES16(refs), 128);
    EXPECT_EQ(ReadBE16(refs + 2), 0);  // first name in the name list
    EXPECT_EQ(refs[7], 0);             // data offset 0
    const uint8_t* names = map + ReadBE16(map + 26);
    EXPECT_EQ(names[0], 8);
    EXPECT_EQ(std::string(names + 1, names + 9), "Messages");
    EXPECT_EQ(ReadBE32(&f[dataOffset]), 5u);

    ResourceFileImage back;
    ASSERT_EQ(ParseResourceFile(f.data(), f.size(), &back), noErr);
    ASSERT_EQ(back.resources.size(), 3u);
    EXPECT_EQ(back.resources[0].name, "Messages");
    EXPECT_EQ(back.resources[1].id, 130);
    EXPECT_EQ(back.resources[2].data, (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(back.resources[2].attributes, resPurgeable);
    std::vector<uint8_t> again;
    BuildResourceFile(back, &again);
    EXPECT_EQ(again, f);

    // Data offsets are 24 bits: one past 64 KB keeps its high byte.
    ResourceFileImage large;
    large.resources.push_back({FourCC("DATA"), 1, false, "", 0, std::vector<uint8_t>(0x10000, 1)});
    large.resources.push_back({FourCC("DATA"), 2, false, "", 0, {5, 6}});
    ASSERT_EQ(BuildResourceFile(large, &f), noErr);
    const uint8_t* second = &f[ReadBE32(&f[4]) + 28 + 2 + 8 + 12];
    EXPECT_EQ(ReadBES16(second), 2);
    EXPECT_EQ((second[5] << 16) | (second[6] << 8) | second[7], 0x10004);
    ASSERT_EQ(ParseResourceFile(f.data(), f.size(), &back), noErr);
    EXPECT_EQ(back.resources[1].data, (std::vector<uint8_t>{5, 6}));

    ResourceFileImage empty;
    ASSERT_EQ(BuildResourceFile(empty, &f), noErr);
    EXPECT_EQ(ReadBE16(&f[256 + 28]), 0xFFFF);
    ASSERT_EQ(ParseResourceFile(f.data(), f.size(), &back), noErr);
    EXPECT_TRUE(back.resources.empty());
}

TEST(ResourceFileFormat, DamagedFilesAreRefusedWithoutStrayReads)
{
    std::vector<uint8_t> good;
    BuildResourceFile(SampleImage(), &good);
    ResourceFileImage out;
    for (size_t cut = 0; cut < good.size(); ++cut) {
        // The copy has exactly `cut` bytes, so the sanitizer sees any read past it.
        std::vector<uint8_t> part(good.begin(), good.begin() + cut);
        EXPECT_EQ(ParseResourceFile(part.data(), part.size(), &out), mapReadErr) << cut;
    }

    uint32_t map = ReadBE32(&good[4]);
    auto damaged = [&](size_t at, uint32_t value, int width) {
        std::vector<uint8_t> bad = good;
        if (width == 4) WriteBE32(&bad[at], value);
        else WriteBE16(&bad[at], uint16_t(value));
        return ParseResourceFile(bad.data(), bad.size(), &out);
    };
    EXPECT_EQ(damaged(8, 0x7FFFFFFF, 4), mapReadErr);       // data length
    // The last resource's length one byte past the data area: the map that
    // follows is still in the file, so only the check can tell.
    uint32_t dataEnd = 256 + ReadBE32(&good[8]);
    EXPECT_EQ(damaged(dataEnd - 7, 3, 4), noErr);
    EXPECT_EQ(damaged(dataEnd - 7, 4, 4), mapReadErr);
    EXPECT_EQ(damaged(map + 24, 0xFFF0, 2), mapReadErr);    // type list offset
    EXPECT_EQ(damaged(map + 28, 40, 2), mapReadErr);        // type count
    EXPECT_EQ(damaged(map + 34, 0x2000, 2), mapReadErr);    // reference count
    EXPECT_EQ(damaged(map + 38, FourCC("STR#"), 4), mapReadErr);  // a type twice

    std::mt19937 rng(42);
    int refused = 0;
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> bad = good;
        int hits = 1 + int(rng() % 4);
        for (int k = 0; k < hits; ++k) {
            size_t at = rng() % 3 ? map + rng() % (bad.size() - map) : rng() % 16;
            bad[at] = uint8_t(rng());
        }
        if (rng() % 4 == 0) bad.resize(rng() % bad.size());
        if (ParseResourceFile(bad.data(), bad.size(), &out) != noErr) ++refused;
    }
    EXPECT_GT(refused, 0);
}

