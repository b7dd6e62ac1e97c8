#include "platform/drawing/Palettes.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;

namespace {

// A 'pltt' claiming `stated` entries and holding `held`; entry i is
// (i + 1, 2 (i + 1), 3 (i + 1)) in the high bytes.
std::vector<uint8_t> Pltt(uint16_t stated, int held)
{
    std::vector<uint8_t> b(16 + 16 * size_t(held));
    WriteBE16(b.data(), stated);
    for (int i = 0; i < held; ++i) {
        uint8_t* e = b.data() + 16 + 16 * i;
        WriteBE16(e, uint16_t((i + 1) << 8));
        WriteBE16(e + 2, uint16_t((2 * (i + 1)) << 8));
        WriteBE16(e + 4, uint16_t((3 * (i + 1)) << 8));
    }
    return b;
}

Handle AsHandle(const std::vector<uint8_t>& b)
{
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}

}  // namespace

TEST(Palettes, EntriesAreThoseTheBytesHold)
{
    Handle lying = AsHandle(Pltt(5, 2));  // claims five, holds two
    EXPECT_EQ(PaletteEntryCount(lying), 2);
    RGBColor c{7, 7, 7};
    EXPECT_TRUE(GetEntryColor(lying, 1, &c));
    EXPECT_EQ(c.red, 0x0200);
    EXPECT_EQ(c.blue, 0x0600);
    EXPECT_FALSE(GetEntryColor(lying, 2, &c));
    EXPECT_FALSE(GetEntryColor(lying, -1, &c));
    EXPECT_EQ(c.red, 0x0200);  // untouched by a refused entry
    DisposePalette(lying);

    Handle fewer = AsHandle(Pltt(1, 3));  // claims one, holds three
    EXPECT_EQ(PaletteEntryCount(fewer), 1);
    EXPECT_FALSE(GetEntryColor(fewer, 1, &c));
    DisposePalette(fewer);

    Handle shortHeader = AsHandle(std::vector<uint8_t>(10, 0xFF));
    EXPECT_EQ(PaletteEntryCount(shortHeader), 0);
    DisposeHandle(shortHeader);
    EXPECT_EQ(PaletteEntryCount(nullptr), 0);
    EXPECT_FALSE(GetEntryColor(nullptr, 0, &c));
}

TEST(Palettes, NewPaletteIsADetachedCopyOfTheResource)
{
    platform::testing::TempFolder dir;
    FSSpec fileSpec;
    FSMakeFSSpec(dir / "colours.rsrc", &fileSpec);
    FSpCreateResFile(fileSpec, FourCC("Qz  "), FourCC("rsrc"), 0, ResFileFork::Data);
    const int16_t ref = FSpOpenResFile(fileSpec, fsRdWrPerm, ResFileFork::Data);
    ASSERT_GT(ref, 0);
    AddResource(AsHandle(Pltt(3, 3)), FourCC("pltt"), 2000, nullptr);
    AddResource(AsHandle(Pltt(4, 0)), FourCC("pltt"), 2001, nullptr);
    ASSERT_EQ(ResError(), noErr);

    PaletteHandle palette = GetNewPalette(2000);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(PaletteEntryCount(palette), 3);
    EXPECT_EQ(GetNewPalette(2001), nullptr);  // no whole entry
    EXPECT_EQ(GetNewPalette(2002), nullptr);
    CloseResFile(ref);
    // Still readable once its file has gone.
    RGBColor c{};
    EXPECT_TRUE(GetEntryColor(palette, 2, &c));
    EXPECT_EQ(c.green, 0x0600);
    DisposePalette(palette);
    ResetResourceManager();
    CloseAllForks();
}
