// The screenshots of the program's form-preview run (form_preview.txt):
// the demo's forms Card and Summary (which inherits Invoice), each
// double-clicked in the main list, show in the preview pane as built
// offscreen here, every shown row pixel for pixel. Skipped when not given
// a run.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "kernel/formhooks/FormServices.h"
#include "looks/LookManager.h"
#include "platform/drawing/Text.h"
#include "toolbox/drawing/VPainter.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "tests/design/ReadFixture.h"
#include "tests/forms/DrawnPage.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace browsertest {
namespace {

class FormPreviewScreens : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        OpenPrefResFile();
        MakeAppl();
        transfer::InstallModuleManager();
        // What the program's start-up does for forms.
        VPainter::Init();
        InstallFormModelHooks();
        InitVI();
        InstallStaticPictures();
    }
    void TearDown() override
    {
        ResetFormModelHooks();
        SetGetStaticPictProc(nullptr);
        ClosePrefResFile();
        ReadFixture::TearDown();
    }
    void CheckShown(TLayoutObjQz* form, const std::string& shotFile, int16_t pages);
};

constexpr int16_t kSide = 700;
constexpr int32_t kAnchorRows = 12;
const unsigned char kCard[] = "\x04" "Card";
const unsigned char kSummary[] = "\x07" "Summary";

}  // namespace

// The form's preview built offscreen is found in the screenshot by its
// first rows that are not all background; every row the pane shows must
// then equal it. `pages` is the page count the pane is told (0: none).
void FormPreviewScreens::CheckShown(TLayoutObjQz* form, const std::string& shotFile, int16_t pages)
{
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(shotFile, &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    const Rect big{0, 0, kSide, kSide};
    drawntest::Page world(kSide, kSide);
    Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 1;
    const std::vector<uint32_t> drawn = world.Drawn([&] {
        ASSERT_EQ(form->InitDisplay(&display, big, &width, &height, &pageMin, &pageMax, &page, false), 0);
        form->Display(display, big);
        form->DisposeDisplay(&display);
    });
    EXPECT_EQ(pageMin, pages ? 1 : 0);
    EXPECT_EQ(pageMax, pages);
    EXPECT_EQ(page, pages ? 1 : 0);
    ASSERT_GT(height, kAnchorRows);
    ASSERT_LE(width, kSide);
    auto same = [&](int32_t x0, int32_t y0, int32_t top, int32_t bottom, int32_t w) {
        for (int32_t v = top; v < bottom; ++v)
            for (int32_t h = 0; h < w; ++h)
                if (drawn[size_t(v * kSide + h)] != (shot.RGBAt(x0 + h, y0 + v) & 0xFFFFFF)) return false;
        return true;
    };
    // The anchor: the first rows holding more than the background.
    int32_t first = 0;
    for (bool plain = true; plain && first + kAnchorRows < height; first += plain ? 1 : 0)
        for (int32_t h = 1; h < width && plain; ++h) plain = drawn[size_t(first * kSide + h)] == drawn[0];
    const int32_t anchorWidth = std::min<int32_t>(width, 300);
    int32_t x0 = -1, y0 = -1;
    for (int32_t y = first; y + kAnchorRows <= int32_t(shot.height()) && x0 < 0; ++y)
        for (int32_t x = 0; x + anchorWidth <= int32_t(shot.width()); ++x)
            if (same(x, y - first, first, first + kAnchorRows, anchorWidth)) {
                x0 = x, y0 = y - first;
                break;
            }
    ASSERT_GE(x0, 0) << "the form's first rows are nowhere on " << shotFile;
    // Every row down to the pane's bottom (the window's scroll bar row).
    const int32_t shownWidth = std::min<int32_t>(width, int32_t(shot.width()) - 16 - x0);
    const int32_t shownRows = std::min<int32_t>(height, int32_t(shot.height()) - 22 - y0);
    ASSERT_GT(shownRows, 100);
    for (int32_t v = 0; v < shownRows; ++v)
        EXPECT_TRUE(same(x0, y0, v, v + 1, shownWidth)) << shotFile << ": row " << v << " differs";
}

TEST_F(FormPreviewScreens, CardAndSummaryShowAsBuiltOffscreen)
{
    const char* work = std::getenv("QZ_FORM_PREVIEW_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshots of the form-preview run";
    Open(demo);
    ASSERT_EQ(Read(), 0);
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    auto* customers = dynamic_cast<TFileObjQz*>(Find(1, "Customers"));
    auto* invoices = dynamic_cast<TFileObjQz*>(Find(1, "Invoices"));
    ASSERT_TRUE(customers && invoices);
    auto* card = dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(customers->forms, kCard));
    auto* summary = dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(invoices->forms, kSummary));
    ASSERT_TRUE(card && summary);
    CheckShown(card, std::string(work) + "/card.png", 2);
    CheckShown(summary, std::string(work) + "/summary.png", 0);
}

}  // namespace browsertest
