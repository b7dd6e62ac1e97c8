#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "kernel/formhooks/FormServices.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "resources/caches/AIcon.h"
#include "resources/caches/APictArray.h"
#include "tests/platform/files/TempFolder.h"

using platform::FourCC;
using platform::Handle;

namespace {

// Pictures held in memory by the test, as a form would hold them.
std::map<int16_t, Handle> gPictures;

Handle TestPicture(int16_t id, int32_t) { return gPictures.count(id) ? gPictures[id] : nullptr; }

bool Purgeable(Handle h) { return (platform::HGetState(h) & platform::kHandlePurgeableBit) != 0; }

class PictureCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int16_t id = -1; id >= -3; --id) gPictures[id] = platform::NewHandleClear(16);
        SetGetStaticPictProc(TestPicture);
    }
    void TearDown() override
    {
        ResetStaticPicts();
        SetGetStaticPictProc(nullptr);
        for (auto& [id, h] : gPictures) platform::DisposeHandle(h);
        gPictures.clear();
    }
};

}  // namespace

TEST_F(PictureCache, UsesAreCountedAndUnusedPicturesPurged)
{
    APictArray cache(false);
    EXPECT_EQ(cache.aAccessResource(-1, 0), gPictures[-1]);
    EXPECT_EQ(cache.aAccessResource(-1, 0), gPictures[-1]);
    cache.aReleaseResource(-1, nullptr);
    ACachedResource entry = cache.aGetEntry(cache.aFindByID(-1));
    EXPECT_EQ(entry.useCount, 1);
    EXPECT_EQ(entry.handle, gPictures[-1]);
    EXPECT_FALSE(Purgeable(gPictures[-1]));

    cache.aReleaseResource(-1, nullptr);
    cache.aReleaseResource(-1, nullptr);  // one release too many stays at 0
    entry = cache.aGetEntry(cache.aFindByID(-1));
    EXPECT_EQ(entry.useCount, 0);
    EXPECT_EQ(entry.handle, gPictures[-1]);

    EXPECT_EQ(cache.aPurge(0), 4);
    EXPECT_EQ(cache.aGetEntry(0).handle, nullptr);
    EXPECT_TRUE(Purgeable(gPictures[-1]));

    EXPECT_EQ(cache.aAccessResourceByIndex(-1, 0), 0);  // reloaded
    EXPECT_EQ(cache.aGetEntry(0).useCount, 1);
    EXPECT_FALSE(Purgeable(gPictures[-1]));
}

TEST_F(PictureCache, PurgeStopsAtTheAmountAndSkipsPinnedEntries)
{
    APictArray cache(false);
    for (int16_t id = -3; id <= -1; ++id) {
        cache.aAccessResource(id, 0);
        cache.aReleaseResource(0, gPictures[id]);  // found by its handle
    }
    EXPECT_EQ(cache.oGetNbElem(), 3);
    EXPECT_EQ(cache.aGetEntry(0).id, -3);  // kept in order of id
    EXPECT_EQ(cache.aPurge(4), 4);
    EXPECT_EQ(cache.aGetEntry(0).handle, nullptr);
    EXPECT_NE(cache.aGetEntry(1).handle, nullptr);
    EXPECT_NE(cache.aGetEntry(2).handle, nullptr);

    static_cast<ACachedResource*>(cache.oGetPtrOnFirstElem())[1].useCount = kPinnedUseCount;
    for (int i = 0; i < 3; ++i) cache.aAccessResource(-2, 0);
    for (int i = 0; i < 5; ++i) cache.aReleaseResource(-2, nullptr);
    EXPECT_EQ(cache.aGetEntry(1).useCount, kPinnedUseCount);
    EXPECT_EQ(cache.aPurge(0), 4);  // only -1 was left to free
    EXPECT_NE(cache.aGetEntry(1).handle, nullptr);

    cache.oReinitArray();
    EXPECT_EQ(cache.oGetNbElem(), 0);
    EXPECT_TRUE(Purgeable(gPictures[-2]));
}

// Dropping everything hands each picture back to its owner once and
// forgets it, so a second drop hands nothing back again.
TEST_F(PictureCache, DeleteAllHandsEachPictureBackOnce)
{
    APictArray cache(false);
    for (int16_t id = -3; id <= -1; ++id) cache.aAccessResource(id, 0);
    cache.xDeleteAll();
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(cache.aGetEntry(i).handle, nullptr) << i;
    for (int16_t id = -3; id <= -1; ++id) EXPECT_TRUE(Purgeable(gPictures[id])) << id;
    platform::HNoPurge(gPictures[-2]);
    cache.xDeleteAll();
    EXPECT_FALSE(Purgeable(gPictures[-2]));
}

TEST_F(PictureCache, ReleaseWhenUnusedAndMissingPictures)
{
    gPictArray = new APictArray();
    EXPECT_TRUE(gPictArray->GetReleaseWhenUnused());
    gPictArray->aAccessResource(-2, 0);
    gPictArray->aReleaseResource(-2, nullptr);
    EXPECT_EQ(gPictArray->aGetEntry(0).handle, nullptr);
    EXPECT_TRUE(Purgeable(gPictures[-2]));
    EXPECT_EQ(PurgeStaticPicts(0), 0);

    EXPECT_EQ(gPictArray->aAccessResource(-9, 0), nullptr);
    EXPECT_EQ(gPictArray->aAccessResourceByIndex(-9, 0), -1);
    EXPECT_EQ(gPictArray->oGetNbElem(), 1);
    gPictArray->aReleaseResource(-9, nullptr);  // nothing to do

    // The cache gives the pictures back to their owners; it never frees them.
    gPictArray->aAccessResource(-3, 0);
    ResetStaticPicts();
    EXPECT_TRUE(platform::IsValidHandle(gPictures[-3]));
    EXPECT_TRUE(Purgeable(gPictures[-3]));
    EXPECT_EQ(PurgeStaticPicts(0), 0);
}

namespace {

int gPlots = 0;
platform::Rect gLastRect{};
int16_t gLastLevel = 0;

void CountPlot(const platform::Rect& r, Handle)
{
    ++gPlots;
    gLastRect = r;
}

void CountDimmed(const platform::Rect& r, Handle, int16_t level)
{
    CountPlot(r, nullptr);
    gLastLevel = level;
}

std::vector<uint8_t> ColourIcon(int16_t width, int16_t height)
{
    std::vector<uint8_t> b(82 + 64, 0);
    platform::WriteBE16(&b[10], uint16_t(height));
    platform::WriteBE16(&b[12], uint16_t(width));
    return b;
}

class Icons : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        platform::ResourceFileImage image;
        image.resources = {{FourCC("cicn"), 300, false, "", 0, ColourIcon(24, 16)},
                           {FourCC("cicn"), 301, false, "", 0, {1, 2, 3}}};  // too short
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        ASSERT_EQ(platform::WriteFileAtomically(dir / "icons.rsrc", bytes.data(), bytes.size()), platform::noErr);
        ASSERT_NE(platform::OpenResFile(dir / "icons.rsrc", platform::fsRdPerm, platform::ResFileFork::Data), -1);
        services.plot = CountPlot;
        services.plotDisabled = CountPlot;
        services.plotDimmed = CountDimmed;
        SetIconLookServices(&services);
        gPlots = 0;
    }
    void TearDown() override
    {
        SetIconLookServices(nullptr);
        platform::ResetResourceManager();
    }

    platform::testing::TempFolder dir;
    AIconLookServices services;
};

}  // namespace

TEST_F(Icons, ColourIconIsMeasuredCentredAndReleased)
{
    platform::GetResource(FourCC("cicn"), 300);  // loaded before counting
    size_t handles = platform::LiveHandleCount();
    {
        AIcon icon(300, false);
        ASSERT_NE(icon.GetColourIcon(), nullptr);
        int16_t w, h;
        icon.aGetDimensions(&w, &h);
        EXPECT_EQ(w, 24);
        EXPECT_EQ(h, 16);
        icon.aDraw({0, 0, 41, 101}, false, true);
        EXPECT_EQ(gPlots, 1);
        EXPECT_EQ(gLastRect.left, 38);  // (101 - 24) / 2
        EXPECT_EQ(gLastRect.top, 12);   // (41 - 16) / 2
        EXPECT_EQ(gLastRect.right, 62);
        icon.aDrawDimmed({5, 6, 7, 8}, false, 3);
        EXPECT_EQ(gLastRect.left, 6);
        EXPECT_EQ(gLastLevel, 3);
        icon.aDrawChangedCol({0, 0, 10, 10}, false);  // no such service installed
        EXPECT_EQ(gPlots, 2);
    }
    EXPECT_EQ(platform::LiveHandleCount(), handles);
}

TEST_F(Icons, MissingOrDamagedIconsDrawNothing)
{
    for (int16_t id : {299, 301}) {
        AIcon icon(id, false);
        int16_t w = 9, h = 9;
        icon.aGetDimensions(&w, &h);
        EXPECT_EQ(w, 0);
        EXPECT_EQ(h, 0);
        icon.aDraw({0, 0, 32, 32}, false, true);
    }
    EXPECT_EQ(gPlots, 0);
}
