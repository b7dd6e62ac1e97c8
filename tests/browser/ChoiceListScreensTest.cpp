// The screenshot of the program's choice-list run (run_choice_list.sh): the
// demo's list Towns, double-clicked in the uses pane of the table
// Customers, shows in the preview pane. Its drawing made offscreen here is
// found on the screen by its underlined name; then each item's text strip
// and icon must be on the screen, pixel for pixel, below it. Skipped when
// not given a run.
#include <cstdlib>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/choicelists/ChoiceListItems.h"
#include "forms/lists/ItemDrawing.h"
#include "platform/drawing/Text.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/PngCodec.h"
#include "tests/design/ReadFixture.h"
#include "tests/forms/DrawnPage.h"
#include "transfer/InstallTransfer.h"

using namespace platform;

namespace browsertest {
namespace {

class ChoiceListScreens : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        OpenPrefResFile();
        // The demo holds an installed component: read as the program does.
        MakeAppl();
        transfer::InstallModuleManager();
    }
    void TearDown() override
    {
        ClosePrefResFile();
        ReadFixture::TearDown();
    }
};

// A strip of the offscreen drawing: what it shows and where.
struct Strip {
    std::string what;
    int32_t top, bottom;
};

// The strips of the items below `items`, each text a line high and each
// icon its height below the text, as the preview lays them out.
void ItemStrips(ItemHandle items, int32_t* v, int16_t line, std::vector<Strip>* out)
{
    for (ItemHandle item = items; item; item = (*item)->next) {
        const std::string text(reinterpret_cast<const char*>(ItemText(item) + 1), size_t(ItemTextLength(item)));
        out->push_back({"the text of " + text, *v, *v + line});
        *v += line;
        int16_t w = 0, h = 0;
        if ((*item)->icon) GetListIconDims((*item)->icon, &w, &h);
        if (h > 0) {
            out->push_back({"the icon of " + text, *v, *v + h});
            *v += h;
        }
        ItemStrips((*item)->firstChild, v, line, out);
    }
}

}  // namespace

TEST_F(ChoiceListScreens, TheListsNameAndEachItemShowInThePreview)
{
    const char* work = std::getenv("QZ_CHOICE_LIST_SCREENS");
    const char* demo = std::getenv("QZ_DEMO_STRUCTURE");
    if (!work || !demo) GTEST_SKIP() << "checks the screenshot of the choice-list run";
    std::vector<uint8_t> png;
    PictPixels shot;
    ASSERT_EQ(ReadWholeFile(std::string(work) + "/towns.png", &png), noErr);
    ASSERT_EQ(DecodePng(png.data(), png.size(), &shot), ImageReadResult::Ok);
    Open(demo);
    ASSERT_EQ(Read(), 0);
    auto* towns = dynamic_cast<TListObjQz*>(Find(4, "Towns"));
    ASSERT_NE(towns, nullptr);

    // The preview drawn offscreen, in the program's text font and size.
    MyApplFont = GetResFont(0);
    MyApplSize = GetResSize(0);
    const Rect big{0, 0, 400, 400};
    drawntest::Page world(400, 400);
    Handle display = nullptr;
    int16_t width = 0, height = 0, a = 0, b = 0, c = 0;
    int16_t line = 0;
    const std::vector<uint32_t> drawn = world.Drawn([&] {
        ASSERT_EQ(towns->InitDisplay(&display, big, &width, &height, &a, &b, &c, false), 0);
        towns->Display(display, big);
        towns->DisposeDisplay(&display);
        TextFont(MyApplFont);
        TextSize(MyApplSize);
        FontInfo fi{};
        GetFontInfo(&fi);
        line = int16_t(fi.ascent + fi.descent + fi.leading);
    });
    auto same = [&](int32_t x0, int32_t y0, int32_t top, int32_t bottom) {
        for (int32_t v = top; v < bottom; ++v)
            for (int32_t h = 0; h < width; ++h)
                if (drawn[size_t(v * 400 + h)] != (shot.RGBAt(x0 + h, y0 + v) & 0xFFFFFF)) return false;
        return true;
    };

    // The name's strip anchors the preview on the screen.
    int32_t x0 = -1, y0 = -1;
    for (int32_t y = 0; y + height <= int32_t(shot.height()) && x0 < 0; ++y)
        for (int32_t x = 0; x + width <= int32_t(shot.width()); ++x)
            if (same(x, y, 10, 10 + line)) {
                x0 = x, y0 = y;
                break;
            }
    ASSERT_GE(x0, 0) << "the list's name is nowhere on the screen";

    std::vector<Strip> strips;
    int32_t v = 10 + line;
    useres(doc_.fResFile);
    LoadedChoiceList items(towns->id);
    ItemStrips(items.First(), &v, line, &strips);
    ASSERT_EQ(strips.size(), 10u);  // eight items, two of them with an icon
    EXPECT_EQ(v, height);
    for (const Strip& s : strips) EXPECT_TRUE(same(x0, y0, s.top, s.bottom)) << s.what << " differs";
}

}  // namespace browsertest
