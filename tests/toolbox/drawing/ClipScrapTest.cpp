// The clipboard: kinds registered and found on the system clipboard, data
// read into new and given handles, pictures brought down to 8-bit
// components on their way out, and copies made by other programs noticed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"
#include "toolbox/drawing/ScrapCalls.h"
#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace platform;

namespace {

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetScrap();
        ResetScrapState();
    }
    void TearDown() override
    {
        ResetScrap();
        ResetScrapState();
        VSystem::sVersion = 0;
    }
};

void PutText(const std::string& text)
{
    ScrapRef scrap = nullptr;
    ASSERT_EQ(ClearCurrentScrap(), noErr);
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    ASSERT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, Size(text.size()), text.data()), noErr);
}

TEST_F(Clipboard, KindsAreRegisteredOnceAndCountedAsTheClipboardHoldsThem)
{
    VClipScrap scrap;
    ASSERT_EQ(scrap.CountKinds(), 2);
    EXPECT_EQ(scrap.GetKind(1), FourCC("TEXT"));
    EXPECT_EQ(scrap.GetKind(2), FourCC("PICT"));
    EXPECT_EQ(scrap.GetKind(3), 0u);
    EXPECT_TRUE(scrap.RegisterKind(FourCC("TEXT")));
    EXPECT_EQ(scrap.CountKinds(), 2);
    EXPECT_EQ(scrap.GetRegistrationCount(FourCC("TEXT")), 2);
    EXPECT_EQ(scrap.GetRegistrationCount(FourCC("PICT")), 1);
    EXPECT_EQ(scrap.GetRegistrationCount(FourCC("snd ")), 0);

    PutText("hello");
    EXPECT_EQ(scrap.CountAvailableKinds(), 1);
    EXPECT_TRUE(scrap.WasAvailable(FourCC("TEXT")));
    EXPECT_FALSE(scrap.WasAvailable(FourCC("PICT")));

    // A kind registered later is counted once the clipboard holds it.
    EXPECT_TRUE(scrap.RegisterKind(FourCC("OBQz")));
    EXPECT_TRUE(scrap.PutData(FourCC("OBQz"), "FORM", 4));
    EXPECT_TRUE(scrap.PutData(FourCC("PICT"), "pict", 4)) << "puts do not clear";
    EXPECT_EQ(scrap.CountAvailableKinds(), 3);
    EXPECT_FALSE(scrap.PutData(FourCC("PICT"), "again", 5)) << "a kind is put once";
    EXPECT_FALSE(scrap.PutData(FourCC("xxxx"), nullptr, 3));
    ASSERT_EQ(ClearCurrentScrap(), noErr);
    EXPECT_EQ(scrap.CountAvailableKinds(), 0);
    EXPECT_FALSE(scrap.WasAvailable(FourCC("TEXT")));

    MakeStartupScrap();
    VClipScrap* first = gScrap;
    ASSERT_NE(first, nullptr);
    MakeStartupScrap();
    EXPECT_EQ(gScrap, first) << "made once";
    delete gScrap;
    gScrap = nullptr;
}

TEST_F(Clipboard, DataComesInNewHandlesTheCallerOwns)
{
    VClipScrap scrap;
    PutText("some text");
    EXPECT_EQ(scrap.GetDataSize(FourCC("TEXT")), 9);
    EXPECT_EQ(scrap.GetDataSize(FourCC("PICT")), 0);
    EXPECT_EQ(scrap.GetData(FourCC("PICT")), nullptr);
    char** h = scrap.GetData(FourCC("TEXT"));
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(GetHandleSize(h), 9);
    EXPECT_EQ(std::string(*h, 9), "some text");
    char** second = scrap.GetData(FourCC("TEXT"));
    EXPECT_NE(second, h);
    DisposeHandle(h);
    DisposeHandle(second);

    // An empty flavour is a handle of no bytes, not a missing one.
    EXPECT_TRUE(scrap.PutData(FourCC("none"), "", 0));
    char** empty = scrap.GetData(FourCC("none"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetHandleSize(empty), 0);
    DisposeHandle(empty);
}

TEST_F(Clipboard, OldScrapCallsReadIntoHandlesAndEmptyThemOnFailure)
{
    PutText("abc");
    Handle h = NewHandle(100);
    EXPECT_EQ(myGetScrap(h, FourCC("TEXT")), 3);
    ASSERT_EQ(GetHandleSize(h), 3);
    EXPECT_EQ(std::memcmp(*h, "abc", 3), 0);
    EXPECT_EQ(myGetScrap(nullptr, FourCC("TEXT")), 3) << "the size alone";
    EXPECT_LT(myGetScrap(h, FourCC("PICT")), 0);
    EXPECT_EQ(GetHandleSize(h), 0);
    EXPECT_LT(myGetScrap(nullptr, FourCC("PICT")), 0);

    // Filled while locked, then given back unlocked, as it came.
    EXPECT_EQ(myGetScrap(h, FourCC("TEXT")), 3);
    EXPECT_EQ(HGetState(h) & kHandleLockedBit, 0);
    DisposeHandle(h);

    EXPECT_EQ(myPutScrap(4, FourCC("styl"), const_cast<char*>("wxyz")), noErr);
    EXPECT_EQ(myGetScrap(nullptr, FourCC("TEXT")), 3) << "putting does not clear";
    EXPECT_EQ(myZeroScrap(), noErr);
    EXPECT_LT(myGetScrap(nullptr, FourCC("TEXT")), 0);
}

TEST_F(Clipboard, CopiesByOtherProgramsAreNoticed)
{
    mySaveScrapState();
    EXPECT_FALSE(myScrapHasChanged());
    EXPECT_FALSE(myScrapHasChanged());
    EXPECT_EQ(myPutScrap(3, FourCC("TEXT"), const_cast<char*>("own")), noErr);
    EXPECT_FALSE(myScrapHasChanged()) << "a put keeps the clipboard's identity";
    ExternalClipboardChanged("from elsewhere");
    EXPECT_TRUE(myScrapHasChanged());
    mySaveScrapState();
    EXPECT_FALSE(myScrapHasChanged());
    myZeroScrap();
    EXPECT_TRUE(myScrapHasChanged());
}

// A version 2 picture: header, a rectangular clip region, then
// DirectBitsRects of 2 x 2 unpacked 16-bit pixels with the given cmpSize.
std::vector<uint8_t> DirectPicture(std::initializer_list<int16_t> componentSizes)
{
    std::vector<uint8_t> p(40, 0);
    WriteBE16(&p[6], 2);  // frame bottom
    WriteBE16(&p[8], 2);  // frame right
    WriteBE16(&p[10], 0x0011);
    WriteBE16(&p[12], 0x02FF);
    WriteBE16(&p[14], 0x0C00);
    WriteBE16(&p[16], 0xFFFE);
    auto add16 = [&](uint16_t v) {
        p.push_back(uint8_t(v >> 8));
        p.push_back(uint8_t(v));
    };
    auto add32 = [&](uint32_t v) {
        add16(uint16_t(v >> 16));
        add16(uint16_t(v));
    };
    auto addRect = [&] {
        add16(0), add16(0), add16(2), add16(2);
    };
    add16(0x0001);
    add16(10);
    addRect();
    for (int16_t cmpSize : componentSizes) {
        add16(0x009A);
        add32(0x000000FF);        // base address
        add16(0x8000 | 4);        // rowBytes
        addRect();                // bounds
        add16(0), add16(1);       // pmVersion, packType: unpacked
        add32(0);                 // packSize
        add32(0x00480000), add32(0x00480000);
        add16(16), add16(16);     // pixelType, pixelSize
        add16(3), add16(uint16_t(cmpSize));
        add32(0), add32(0), add32(0);
        addRect(), addRect();     // source, destination
        add16(0);                 // mode
        for (int i = 0; i < 8; ++i) p.push_back(uint8_t(0x11 * i));
    }
    add16(0x00FF);
    WriteBE16(&p[0], uint16_t(p.size()));
    return p;
}

TEST_F(Clipboard, PicturesAreBroughtDownTo8BitComponentsFrom103On)
{
    const std::vector<uint8_t> picture = DirectPicture({16, 16});
    const size_t first = 52 + 38, second = 52 + 78 + 38;
    ASSERT_EQ(ReadBE16(&picture[first]), 16);
    ASSERT_EQ(ReadBE16(&picture[second]), 16);

    VSystem::sVersion = 0x1050;
    std::vector<uint8_t> bytes = picture;
    EXPECT_EQ(myPutScrap(int32_t(bytes.size()), FourCC("PICT"), bytes.data()), noErr);
    EXPECT_EQ(ReadBE16(&bytes[first]), 8) << "in the caller's bytes";
    EXPECT_EQ(ReadBE16(&bytes[second]), 8);
    Handle put = NewHandle(0);
    ASSERT_EQ(myGetScrap(put, FourCC("PICT")), int32_t(bytes.size()));
    EXPECT_EQ(std::memcmp(*put, bytes.data(), bytes.size()), 0);

    // Other kinds, and systems before 10.3, are put as they are.
    myZeroScrap();
    std::vector<uint8_t> other = picture;
    EXPECT_EQ(myPutScrap(int32_t(other.size()), FourCC("PIC2"), other.data()), noErr);
    EXPECT_EQ(other, picture);
    VSystem::sVersion = 0x1020;
    std::vector<uint8_t> old = picture;
    EXPECT_EQ(myPutScrap(int32_t(old.size()), FourCC("PICT"), old.data()), noErr);
    EXPECT_EQ(old, picture);
    ASSERT_EQ(myGetScrap(put, FourCC("PICT")), int32_t(picture.size()));
    EXPECT_EQ(std::memcmp(*put, picture.data(), picture.size()), 0);
    DisposeHandle(put);

    // Components of 8 or less are left alone.
    VSystem::sVersion = 0x1050;
    myZeroScrap();
    const std::vector<uint8_t> small = DirectPicture({5, 8});
    std::vector<uint8_t> kept = small;
    EXPECT_EQ(myPutScrap(int32_t(kept.size()), FourCC("PICT"), kept.data()), noErr);
    EXPECT_EQ(kept, small);
}

// The menus ask once whether menus keep properties: they do, so a menu can
// carry a pointer-sized link to its object.
TEST(ClipScrap, MenusFindPropertySupport)
{
    VMenu::Init();
    EXPECT_TRUE(VMenu::HasMenuFeature());
}

}  // namespace
