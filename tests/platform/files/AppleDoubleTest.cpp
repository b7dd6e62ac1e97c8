#include "platform/files/AppleDouble.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"

using namespace platform;

TEST(AppleDouble, LayoutIsThePublishedOne)
{
    AppleDouble doc;
    doc.finderInfo = std::vector<uint8_t>(32, 0);
    FInfo info;
    info.fdType = FourCC("TEXT");
    info.fdCreator = FourCC("ttxt");
    info.fdFlags = kIsInvisible;
    info.fdLocation.v = -2;
    info.fdLocation.h = 0x0304;
    info.fdFldr = 0x0506;
    FInfoToBytes(info, doc.finderInfo->data());
    doc.resourceFork = std::vector<uint8_t>{1, 2, 3};
    doc.others.push_back({3, {'n', 'a', 'm', 'e'}});

    // An entry id twice is a damaged sidecar.
    AppleDouble twice = doc;
    twice.others.push_back({3, {'x'}});
    std::vector<uint8_t> dup = BuildAppleDouble(twice);
    AppleDouble refused;
    EXPECT_EQ(ParseAppleDouble(dup.data(), dup.size(), &refused), ioErr);

    std::vector<uint8_t> b = BuildAppleDouble(doc);
    ASSERT_EQ(b.size(), 26u + 3 * 12 + 32 + 4 + 3);
    EXPECT_EQ(ReadBE32(&b[0]), 0x00051607u);
    EXPECT_EQ(ReadBE32(&b[4]), 0x00020000u);
    EXPECT_EQ(ReadBE16(&b[24]), 3);
    EXPECT_EQ(ReadBE32(&b[26]), 9u);             // Finder information first
    EXPECT_EQ(ReadBE32(&b[30]), 62u);
    EXPECT_EQ(ReadBE32(&b[34]), 32u);
    EXPECT_EQ(ReadBE32(&b[62]), FourCC("TEXT"));
    EXPECT_EQ(ReadBE32(&b[66]), FourCC("ttxt"));
    EXPECT_EQ(ReadBE16(&b[70]), kIsInvisible);
    EXPECT_EQ(ReadBE16(&b[72]), 0xFFFE);  // the location, vertical first
    EXPECT_EQ(ReadBE16(&b[74]), 0x0304);
    EXPECT_EQ(ReadBE16(&b[76]), 0x0506);  // the folder
    EXPECT_EQ(ReadBE32(&b[50]), 2u);             // the resource fork last
    EXPECT_EQ(ReadBE32(&b[54]), 98u);
    EXPECT_EQ(b[98], 1);

    AppleDouble back;
    ASSERT_EQ(ParseAppleDouble(b.data(), b.size(), &back), noErr);
    EXPECT_EQ(FInfoFromBytes(back.finderInfo->data()), info);
    EXPECT_EQ(*back.resourceFork, (std::vector<uint8_t>{1, 2, 3}));
    ASSERT_EQ(back.others.size(), 1u);
    EXPECT_EQ(back.others[0].id, 3u);
    EXPECT_EQ(BuildAppleDouble(back), b);
}

TEST(AppleDouble, DamagedSidecarsAreRefused)
{
    AppleDouble doc;
    doc.finderInfo = std::vector<uint8_t>(32, 7);
    doc.resourceFork = std::vector<uint8_t>(100, 9);
    std::vector<uint8_t> good = BuildAppleDouble(doc);

    AppleDouble out;
    for (size_t cut = 0; cut < good.size(); ++cut)
        EXPECT_EQ(ParseAppleDouble(good.data(), cut, &out), ioErr) << cut;

    std::vector<uint8_t> bad = good;
    WriteBE32(&bad[0], 0x00051600);  // the single-file variant's magic is not ours
    EXPECT_EQ(ParseAppleDouble(bad.data(), bad.size(), &out), ioErr);
    bad = good;
    WriteBE16(&bad[24], 0xFFFF);
    EXPECT_EQ(ParseAppleDouble(bad.data(), bad.size(), &out), ioErr);
    bad = good;
    WriteBE32(&bad[42], 0xFFFFFFF0);  // offset of the resource fork
    EXPECT_EQ(ParseAppleDouble(bad.data(), bad.size(), &out), ioErr);
    bad = good;
    WriteBE32(&bad[34], 16);  // Finder information too short
    EXPECT_EQ(ParseAppleDouble(bad.data(), bad.size(), &out), ioErr);

    // Random damage never reads outside the buffer (the sanitizer watches).
    std::mt19937 rng(1234);
    for (int i = 0; i < 500; ++i) {
        bad = good;
        for (int k = 0; k < 4; ++k) bad[rng() % 50] = uint8_t(rng());
        AppleDouble any;
        ParseAppleDouble(bad.data(), bad.size(), &any);
    }
}
