// The tri-state box (control definition 131): where it answers a click,
// and its three values drawn as the theme's check box draws them.
#include <string>

#include "browser/dialogs/TriStateBox.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/ThemeText.h"
#include "platform/theme/Theme.h"
#include "tests/browser/PanesFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class TriStateBoxTest : public PanesFixture {
protected:
    void SetUp() override
    {
        PanesFixture::SetUp();
        window_ = NewWindow();
        SetPortWindowPort(window_->fWindow);
    }
    ControlRef Box(int16_t variation, int16_t value, int16_t max = 2)
    {
        const Rect bounds{100, 100, 118, 300};
        ControlRef c = NewControl(window_->fWindow, &bounds, PName("Documented"), true, 0, 0, max,
                                  int16_t(browser::kTriStateDef * 16 + variation), 0);
        EXPECT_NE(c, nullptr);
        SetControlValue(c, value);
        return c;
    }
    static int32_t Hit(int16_t variation, ControlRef c, int16_t v, int16_t h)
    {
        return browser::TriStateProc(variation, c, testCntl, (intptr_t(v) << 16) | uint16_t(h));
    }
};

TEST_F(TriStateBoxTest, OnlyAnActiveBoxIsHitAndTheSmallVariationOnlyInItsBox)
{
    ControlRef whole = Box(0, 0), small = Box(browser::kTriStateBoxOnly, 0);
    struct Case {
        ControlRef c;
        int16_t variation, v, h;
        int32_t part;
    } cases[] = {
        {whole, 0, 100, 100, kControlCheckBoxPart}, {whole, 0, 117, 299, kControlCheckBoxPart},
        {whole, 0, 118, 200, 0},                    {whole, 0, 110, 300, 0},
        // The 12 x 12 box: top + 3 to + 15, left + 12 to + 24.
        {small, 8, 103, 112, kControlCheckBoxPart}, {small, 8, 114, 123, kControlCheckBoxPart},
        {small, 8, 102, 112, 0},                    {small, 8, 103, 111, 0},
        {small, 8, 115, 118, 0},                    {small, 8, 110, 124, 0},
        {small, 8, 110, 200, 0},  // inside the bounds, outside the box
    };
    for (const Case& c : cases) EXPECT_EQ(Hit(c.variation, c.c, c.v, c.h), c.part) << c.variation << " " << c.v << "," << c.h;
    HiliteControl(whole, 255);
    EXPECT_EQ(Hit(0, whole, 110, 200), 0);
    HiliteControl(whole, 0);
    EXPECT_EQ(Hit(0, whole, 110, 200), kControlCheckBoxPart);
}

// Each region message gives the control's bounds; the older message's
// region comes with its top bit set, which is no part of the address.
TEST_F(TriStateBoxTest, EveryRegionMessageGivesTheBounds)
{
    ControlRef box = Box(0, 0);
    const intptr_t topBit = intptr_t(uintptr_t(1) << (sizeof(intptr_t) * 8 - 1));
    for (const auto& [message, tag] : {std::pair{int16_t(calcCRgns), topBit}, std::pair{int16_t(calcCntlRgn), intptr_t(0)},
                                       std::pair{int16_t(calcThumbRgn), intptr_t(0)}}) {
        RgnHandle rgn = NewRgn();
        ASSERT_NE(rgn, nullptr);
        EXPECT_EQ(browser::TriStateProc(0, box, message, reinterpret_cast<intptr_t>(rgn) | tag), 0);
        Rect r{};
        GetRegionBounds(rgn, &r);
        EXPECT_EQ(r.top, 100) << message;
        EXPECT_EQ(r.left, 100) << message;
        EXPECT_EQ(r.bottom, 118) << message;
        EXPECT_EQ(r.right, 300) << message;
        DisposeRgn(rgn);
    }
    // Without a control every message answers 0.
    for (int16_t message : {int16_t(drawCntl), int16_t(testCntl), int16_t(calcCRgns)})
        EXPECT_EQ(browser::TriStateProc(0, nullptr, message, 0), 0) << message;
}

TEST_F(TriStateBoxTest, ValuesDrawAsTheThemeCheckBoxOffOnAndMixed)
{
    const Rect bounds{100, 100, 118, 300};
    const Rect reference{200, 100, 218, 300};
    struct Case {
        int16_t value;
        ThemeButtonValue drawn;
    } cases[] = {{0, kThemeButtonOff}, {1, kThemeButtonOn}, {2, kThemeButtonMixed}, {7, kThemeButtonMixed}};
    for (const Case& c : cases) {
        ControlRef box = Box(0, c.value, 7);
        PenSize(3, 2);
        Draw1Control(box);
        PenState pen{};
        GetPenState(&pen);
        EXPECT_EQ(pen.pnSize.h, 3) << "the pen comes back";
        PenNormal();
        // The theme's check box drawn straight, its title beside it.
        const ThemeButtonDrawInfo info{kThemeStateActive, c.drawn, kThemeAdornmentNone};
        DrawThemeButton(
            &reference, kThemeCheckBox, &info, nullptr, [](const Rect* r, uint32_t, int16_t, Boolean) { EraseRect(r); },
            [](const Rect* r, ThemeButtonKind, const ThemeButtonDrawInfo*, uintptr_t, int16_t, Boolean) {
                DrawThemeTextBox(u"Documented", kThemeSystemFont, kThemeStateActive, false, r, teFlushDefault, nullptr);
            },
            0);
        EXPECT_EQ(Pixels(bounds), Pixels(reference)) << c.value;
        DisposeControl(box);
    }
}

}  // namespace
}  // namespace browsertest
