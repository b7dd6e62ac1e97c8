// Controls at their edges: templates read field by field and refused one
// byte short, activation, the progress bar's animation and best sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/ControlTemplate.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/ThemeText.h"
#include "platform/theme/Theme.h"
#include "tests/platform/controls/ControlFixture.h"

namespace platform::testing {
namespace {

std::vector<uint8_t> Template(const std::string& title)
{
    std::vector<uint8_t> b(22, 0);
    const int16_t fields[] = {11, 22, 33, 44, 5};  // top, left, bottom, right, value
    for (size_t i = 0; i < 5; ++i) WriteBE16(&b[2 * i], uint16_t(fields[i]));
    b[10] = 1;                    // visible
    WriteBE16(&b[12], 300);       // maximum
    WriteBE16(&b[14], uint16_t(-7));  // minimum
    WriteBE16(&b[16], 1);         // procID
    WriteBE32(&b[18], 0x01020304);
    b.push_back(uint8_t(title.size()));
    b.insert(b.end(), title.begin(), title.end());
    return b;
}

TEST(ControlTemplates, EveryFieldIsReadFromItsPlaceAndTheTitleExactly)
{
    const std::vector<uint8_t> b = Template("Keep");
    ControlTemplate t;
    std::memset(t.title, 0xEE, sizeof t.title);
    ASSERT_TRUE(ParseControlTemplate(b.data(), b.size(), &t));
    EXPECT_EQ(t.bounds.top, 11);
    EXPECT_EQ(t.bounds.left, 22);
    EXPECT_EQ(t.bounds.bottom, 33);
    EXPECT_EQ(t.bounds.right, 44);
    EXPECT_EQ(t.value, 5);
    EXPECT_TRUE(t.visible);
    EXPECT_EQ(t.max, 300);
    EXPECT_EQ(t.min, -7);
    EXPECT_EQ(t.procID, 1);
    EXPECT_EQ(t.refCon, 0x01020304);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(t.title + 1), t.title[0]), "Keep");
    EXPECT_EQ(t.title[5], 0xEE) << "nothing copied past the title";

    // The size the title claims, exactly; a byte less is refused.
    struct Case {
        size_t size;
        bool ok;
    };
    for (const Case& k : {Case{27, true}, Case{26, false}, Case{23, false}, Case{22, false}, Case{0, false}})
        EXPECT_EQ(ParseControlTemplate(b.data(), k.size, &t), k.ok) << k.size;
    const std::vector<uint8_t> untitled = Template("");
    EXPECT_TRUE(ParseControlTemplate(untitled.data(), 23, &t));
    EXPECT_EQ(t.title[0], 0);
}

TEST_F(ControlTest, DeactivatedControlsAreInactiveUntilActivatedAgain)
{
    WindowRef w = Window();
    const Rect r{20, 20, 40, 100};
    ControlRef button = NewControl(w, &r, PStr("OK").get(), true, 0, 0, 1, pushButProc, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsControlActive(button));
    EXPECT_EQ(DeactivateControl(button), noErr);
    EXPECT_FALSE(IsControlActive(button));
    EXPECT_EQ(GetControlHilite(button), kControlInactivePart);
    const Point inside{30, 50};
    EXPECT_EQ(TestControl(button, inside), kControlNoPart) << "an inactive control is not hit";
    EXPECT_EQ(ActivateControl(button), noErr);
    EXPECT_TRUE(IsControlActive(button));
    EXPECT_EQ(GetControlHilite(button), 0);
    EXPECT_EQ(TestControl(button, inside), kControlButtonPart);
    DisposeControl(button);
    EXPECT_EQ(DeactivateControl(button), OSErr(errUnknownControl));
    EXPECT_EQ(ActivateControl(button), OSErr(errUnknownControl));
    EXPECT_EQ(DeactivateControl(nullptr), OSErr(errUnknownControl));
}

TEST_F(ControlTest, AnIndeterminateProgressBarMovesAtEachIdleAndADeterminateOneStays)
{
    WindowRef w = Window();
    const Rect r{20, 20, 36, 220};
    ControlRef bar = NewControl(w, &r, nullptr, true, 30, 0, 100, kControlProgressBarProc, 0);
    ASSERT_NE(bar, nullptr);
    SetPortWindowPort(w);
    auto pixels = [] {
        std::vector<uint32_t> out;
        for (int16_t v = 20; v < 36; ++v)
            for (int16_t h = 20; h < 220; ++h) {
                RGBColor c;
                GetCPixel(h, v, &c);
                out.push_back(PackRGB(c));
            }
        return out;
    };
    Draw1Control(bar);
    const std::vector<uint32_t> determinate = pixels();
    IdleControls(w);
    EXPECT_EQ(pixels(), determinate);

    Boolean on = true;
    ASSERT_EQ(SetControlData(bar, 0, kControlProgressBarIndeterminateTag, sizeof on, &on), noErr);
    Boolean read = false;
    Size actual = 0;
    ASSERT_EQ(GetControlData(bar, 0, kControlProgressBarIndeterminateTag, sizeof read, &read, &actual), noErr);
    EXPECT_TRUE(read);
    EXPECT_EQ(actual, Size(sizeof(Boolean)));
    const std::vector<uint32_t> first = pixels();
    EXPECT_NE(first, determinate);
    IdleControls(w);
    EXPECT_NE(pixels(), first) << "the stripes move a step";
    EXPECT_EQ(SetControlData(bar, 0, kControlProgressBarIndeterminateTag, 2, &on), paramErr) << "a wrong size";
}

TEST_F(ControlTest, BestSizesFollowTheTextOfEachKind)
{
    WindowRef w = Window();
    SetPortWindowPort(w);
    auto textSize = [](const std::u16string& text) {
        Point size{0, 0};
        int16_t baseline = 0;
        GetThemeTextDimensions(text, kThemeSystemFont, kThemeStateActive, false, &size, &baseline);
        return size;
    };
    int32_t buttonHeight = 0, checkHeight = 0, popupHeight = 0;
    GetThemeMetric(kThemeMetricPushButtonHeight, &buttonHeight);
    GetThemeMetric(kThemeMetricCheckBoxHeight, &checkHeight);
    GetThemeMetric(kThemeMetricPopupButtonHeight, &popupHeight);
    const std::u16string longTitle = u"A much longer title here";
    struct Case {
        int16_t proc;
        const char* title;
        int32_t width, height;
    };
    const Case cases[] = {
        {pushButProc, "OK", 69, buttonHeight},  // a short title: the narrowest button
        {pushButProc, "A much longer title here", textSize(longTitle).h + 24, buttonHeight},
        {checkBoxProc, "OK", textSize(u"OK").h + 22, checkHeight},
        {radioButProc, "OK", textSize(u"OK").h + 22, checkHeight},
    };
    const Rect r{10, 10, 30, 60};
    for (const Case& k : cases) {
        ControlRef c = NewControl(w, &r, PStr(k.title).get(), true, 0, 0, 1, k.proc, 0);
        Rect best{};
        int16_t baseline = 0;
        ASSERT_EQ(GetBestControlRect(c, &best, &baseline), noErr);
        EXPECT_EQ(best.left, 10);
        EXPECT_EQ(best.top, 10);
        EXPECT_EQ(best.right - best.left, k.width) << k.proc << " " << k.title;
        EXPECT_EQ(best.bottom - best.top, k.height) << k.proc << " " << k.title;
        DisposeControl(c);
    }
    // Static text measures its own text on one line, not its title.
    ControlRef text = NewControl(w, &r, PStr("x").get(), true, 0, 0, 0, kControlStaticTextProc, 0);
    const std::string words = "two words";
    ASSERT_EQ(SetControlData(text, 0, kControlStaticTextTextTag, Size(words.size()), words.data()), noErr);
    Rect best{};
    ASSERT_EQ(GetBestControlRect(text, &best, nullptr), noErr);
    EXPECT_EQ(best.right - best.left, textSize(u"two words").h);
    EXPECT_EQ(best.bottom - best.top, textSize(u"two words").v);
}

}  // namespace
}  // namespace platform::testing
