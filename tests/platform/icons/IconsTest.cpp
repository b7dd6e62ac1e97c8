// Icons from resources: colour icons paint inside their mask, the
// transforms dim or darken, suites pick the icon for the size, and
// resources that claim more than they hold give no icon.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/WholeFile.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/icons/ColourIcon.h"
#include "tests/platform/pictures/PictureTestSupport.h"

namespace {

using namespace platform;
using drawingtest::kBlack;
using drawingtest::kWhite;
using drawingtest::World;
using icontest::ColourIcon;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

// 'ICN#' and 'ics#': every pixel inked, the mask on the top half.
std::vector<uint8_t> OneBitIcon(int side)
{
    int rowBytes = side / 8;
    std::vector<uint8_t> d(size_t(2 * rowBytes * side), 0xFF);
    for (int row = side / 2; row < side; ++row)
        for (int i = 0; i < rowBytes; ++i)
            d[size_t(rowBytes * side + row * rowBytes + i)] = 0;
    return d;
}

class Icons : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetResourceManager();
        ResourceFileImage image;
        auto add = [&](const char (&type)[5], int16_t id, std::vector<uint8_t> data) {
            ResourceImage r;
            r.type = FourCC(type);
            r.id = id;
            r.data = std::move(data);
            image.resources.push_back(r);
        };
        add("cicn", 128, ColourIcon());
        add("cicn", 129, ColourIcon(200));          // table entries past the end
        add("cicn", 130, ColourIcon(2, 2));         // rows too short for the width
        std::vector<uint8_t> cut = ColourIcon();
        cut.resize(cut.size() - 1);
        add("cicn", 131, cut);                      // pixels cut short
        add("ICN#", 128, OneBitIcon(32));
        add("ics#", 128, OneBitIcon(16));
        add("ICN#", 200, OneBitIcon(32));
        add("ICN#", 201, std::vector<uint8_t>(100, 0xFF));
        add("ICON", 128, std::vector<uint8_t>(128, 0xFF));
        add("ICON", 129, std::vector<uint8_t>(127, 0xFF));
        std::vector<uint8_t> bytes;
        ASSERT_EQ(BuildResourceFile(image, &bytes), noErr);
        ASSERT_EQ(WriteFileAtomically(dir_ / "icons.rsrc", bytes.data(), bytes.size()), noErr);
        ASSERT_GT(OpenResFile(dir_ / "icons.rsrc", fsRdPerm, ResFileFork::Data), 0);
    }
    void TearDown() override { ResetResourceManager(); }

    platform::testing::TempFolder dir_;
};

TEST_F(Icons, ColourIconPaintsInsideItsMaskOnly)
{
    World w(16, 16);
    RGBColor green{0, 0xFFFF, 0};
    RGBForeColor(&green);  // the port's colours do not tint the icon
    CIconHandle icon = GetCIcon(128);
    ASSERT_TRUE(icon);
    Rect r{0, 0, 8, 8};
    PlotCIcon(&r, icon);
    EXPECT_EQ(w.At(0, 0), kRed);
    EXPECT_EQ(w.At(7, 3), kBlue);
    EXPECT_EQ(w.At(0, 4), kWhite);
    EXPECT_EQ(w.At(7, 7), kWhite);
    EXPECT_EQ(w.At(8, 0), kWhite);
    // Scaled to a larger rectangle.
    Rect big{0, 8, 16, 16};
    PlotCIcon(&big, icon);
    EXPECT_EQ(w.At(8, 7), kRed);
    EXPECT_EQ(w.At(15, 0), kBlue);
    EXPECT_EQ(w.At(8, 8), kWhite);
    DisposeCIcon(icon);
}

TEST_F(Icons, ColourIconsWhoseCountsPassTheirEndGiveNull)
{
    EXPECT_EQ(GetCIcon(129), nullptr);
    EXPECT_EQ(QDError(), codecBadDataErr);
    EXPECT_EQ(GetCIcon(130), nullptr);
    EXPECT_EQ(GetCIcon(131), nullptr);
    EXPECT_EQ(GetCIcon(999), nullptr);
    EXPECT_EQ(QDError(), resNotFound);
    std::vector<uint8_t> good = ColourIcon();
    for (size_t n = 0; n < good.size(); n += 7) {
        CIconHandle icon = nullptr;
        EXPECT_EQ(CIconFromResource(good.data(), int32_t(n), &icon), codecBadDataErr) << n;
        EXPECT_EQ(icon, nullptr);
    }
    CIconHandle icon = nullptr;
    EXPECT_EQ(CIconFromResource(good.data(), int32_t(good.size()), &icon), noErr);
    DisposeCIcon(icon);
}

TEST_F(Icons, SuitesPickBySizeAndTransform)
{
    World w(64, 64);
    IconSuiteRef suite = nullptr;
    ASSERT_EQ(GetIconSuite(&suite, 200, kSelectorAllAvailableData), noErr);
    Rect r{0, 0, 32, 32};
    EXPECT_EQ(PlotIconSuite(&r, kAlignNone, kTransformNone, suite), noErr);
    EXPECT_EQ(w.At(0, 0), kBlack);
    EXPECT_EQ(w.At(31, 15), kBlack);
    EXPECT_EQ(w.At(0, 16), kWhite);
    Rect dimmed{32, 0, 64, 32};
    EXPECT_EQ(PlotIconSuite(&dimmed, kAlignNone, kTransformDisabled, suite), noErr);
    EXPECT_EQ(w.At(0, 32), 0x7F7F7Fu);
    Rect selected{32, 32, 64, 64};
    EXPECT_EQ(PlotIconSuite(&selected, kAlignNone, kTransformSelected, suite), noErr);
    EXPECT_EQ(w.At(32, 32), kBlack);
    EXPECT_EQ(DisposeIconSuite(suite, false), noErr);

    // The colour icon wins when the rectangle has room; the small icon is
    // centred in a rectangle of 20.
    World w2(64, 64);
    ASSERT_EQ(GetIconSuite(&suite, 128, kSelectorAllAvailableData), noErr);
    Rect large{0, 0, 32, 32};
    EXPECT_EQ(PlotIconSuite(&large, kAlignTop | kAlignLeft, kTransformDisabled, suite), noErr);
    EXPECT_EQ(w2.At(0, 0), 0xFF7F7Fu);
    Rect small{32, 32, 52, 52};
    EXPECT_EQ(PlotIconSuite(&small, kAlignNone, kTransformNone, suite), noErr);
    EXPECT_EQ(w2.At(34, 34), kBlack);
    EXPECT_EQ(w2.At(33, 33), kWhite);
    EXPECT_EQ(w2.At(34, 42), kWhite);
    EXPECT_EQ(DisposeIconSuite(suite, false), noErr);

    EXPECT_EQ(GetIconSuite(&suite, 201, kSelectorAllAvailableData), resNotFound);  // too short
    EXPECT_EQ(suite, nullptr);
    EXPECT_EQ(PlotIconID(&r, kAlignNone, kTransformNone, 777), resNotFound);
    EXPECT_EQ(PlotIconID(&r, kAlignNone, kTransformNone, 200), noErr);
}

TEST_F(Icons, BlackAndWhiteIconsAreCheckedForTheirSize)
{
    World w(40, 40);
    Handle icon = GetIcon(128);
    ASSERT_TRUE(icon);
    EXPECT_EQ(GetIcon(129), nullptr);
    Rect r{4, 4, 36, 36};
    PlotIcon(&r, icon);
    EXPECT_EQ(w.At(4, 4), kBlack);
    EXPECT_EQ(w.At(35, 35), kBlack);
    EXPECT_EQ(w.At(36, 36), kWhite);
}

}  // namespace
