// The standard colours, fonts and behaviours of every look, row by row,
// and what the toolbox's standard colours answer once the looks are made.
#include <array>

#include "platform/drawing/Ports.h"
#include "platform/drawing/ThemeText.h"
#include "platform/fonts/Fonts.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/theme/Theme.h"
#include "tests/toolbox/drawing/LookTestSupport.h"
#include "toolbox/drawing/VCoplandLook.h"
#include "toolbox/drawing/VMacLookHandler.h"
#include "toolbox/drawing/VMacThemeLookHandler.h"
#include "toolbox/drawing/VWinLookHandler.h"
#include "toolbox/foundation/Colors.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace looktest;

namespace {

constexpr uint32_t N = kNoColor;
constexpr uint32_t H = 0xFEEDFACE;  // the hilite colour
constexpr uint32_t A = 0xFEEDFACF;  // hilite rule A
constexpr uint32_t B = 0xFEEDFAD0;  // hilite rule B

// 0 to 16 alike in every look.
constexpr std::array<uint32_t, 17> kBase = {0xFFFFFF, 0xE6E6E6, 0xCCCCCC, 0xB3B3B3, 0x999999, 0x808080,
                                            0x686868, 0x4D4D4D, 0x343434, 0x1A1A1A, 0x000000, 0x0000FF,
                                            0x00FF00, 0xFF0000, 0x00FFFF, 0xFF0FFF, 0xFFFF00};

// 17 to 65.
constexpr std::array<uint32_t, 49> kMac = {
    0xDDDDDD, 0xDDDDDD, 0xEEEEEE, 0xEEEEEE, 0x666666, 0x666666, 0x999999, 0xFFFFFF, 0x000000, 0x000000,  // 17-26
    0xFFFFFF, 0x000000, 0x888888, H,        0x000000, 0xFFFFFF, 0xDDDDDD, 0x666666, 0xFFFFFF, 0xAAFFFF,  // 27-36
    N,        N,        N,        N,        N,        N,        N,        N,        N,        N,         // 37-46
    N,        N,        N,        N,        N,        N,        N,        N,        N,        N,         // 47-56
    N,        N,        N,        N,        0x000000, H,        N,        N,        0x888888};          // 57-65

constexpr std::array<uint32_t, 49> kWin = {
    0xC0C0C0, 0xC0C0C0, 0xE0E0E0, 0xE0E0E0, 0x7F7F7F, 0x7F7F7F, 0x999999, 0x000000, 0x000000, 0x000000,  // 17-26
    0xFFFFFF, 0xFFFFFF, 0xAAAAAA, 0x800000, 0x000000, 0xFFFFFF, 0xC0C0C0, 0x800000, 0xFFFFFF, 0xAAFFFF,  // 27-36
    N,        N,        N,        N,        N,        N,        N,        N,        N,        N,         // 37-46
    N,        N,        N,        N,        N,        N,        N,        N,        N,        N,         // 47-56
    N,        N,        0xE0E0E0, 0x505050, 0xFFFFFF, 0x800000, N,        N,        0xAAAAAA};          // 57-65

constexpr std::array<uint32_t, 49> kCop = {
    0xDDDDDD, 0xDDDDDD, 0xEEEEEE, 0xFFFFFF, 0x888888, 0x666666, 0x999999, 0xFFFFFF, 0x000000, 0x000000,  // 17-26
    0xFFFFFF, A,        0x888888, B,        0x000000, 0xFFFFFF, 0xDDDDDD, 0x993333, 0xFFFFFF, 0xAAFFFF,  // 27-36
    0xEEEEEE, 0xDDDDDD, 0xCCCCCC, 0xBBBBBB, 0xAAAAAA, 0x999999, 0x888888, 0x777777, 0x666666, 0x555555,  // 37-46
    0x444444, 0x222222, 0xEEEEEE, 0xFFCCCC, 0xFF9999, 0xCC6666, 0x993333, 0x880000, 0x550000, 0x000000,  // 47-56
    0xCC6666, 0x880000, N,        0xBBBBBB, A,        0xBBBBBB, N,        N,        0x888888};          // 57-65

void SetHilite(uint16_t red, uint16_t green, uint16_t blue)
{
    const platform::RGBColor c{red, green, blue};
    platform::HiliteColor(&c);
}

void ExpectTable(VLookHandler& look, const std::array<uint32_t, 49>& table, uint32_t hilite, const char* name)
{
    const uint32_t ruleA = hilite == 0 || hilite == 0xFFFFFF ? 0xFFFFFF : 0x000000;
    const uint32_t ruleB = hilite == 0xFFFFFF ? 0x000000 : hilite;
    for (StdColor c = 0; c <= 16; ++c) EXPECT_EQ(look.GetStdColor(c), kBase[c]) << name << " colour " << c;
    for (StdColor c = 17; c <= 65; ++c) {
        uint32_t want = table[c - 17];
        if (want == H) want = hilite;
        else if (want == A) want = ruleA;
        else if (want == B) want = ruleB;
        EXPECT_EQ(look.GetStdColor(c), want) << name << " colour " << c;
    }
    for (StdColor c : {66, 67, 1000, -1, -66}) EXPECT_EQ(look.GetStdColor(c), kNoColor) << name << " colour " << c;
}

std::string Name(const VString& s)
{
    uint8_t p[256];
    s.ToPString(p, 255, kCharSetMac);
    return std::string(reinterpret_cast<const char*>(p) + 1, p[0]);
}

std::string PlatformFontName(int16_t number)
{
    platform::Str255 name{};
    platform::GetFontName(number, name);
    return std::string(reinterpret_cast<const char*>(name) + 1, name[0]);
}

struct FontAnswer {
    bool known;
    std::string name;
    int16_t size;
    uint8_t bold, italic;
};

FontAnswer FontOf(VLookHandler& look, StdFont font)
{
    VStr<255> name;
    int16_t size = -1;
    uint8_t bold = 9, italic = 9;
    const bool known = look.GetStdFont(nullptr, font, name, size, bold, italic);
    return {known, Name(name), size, bold, italic};
}

}  // namespace

using LookTables = LookTest;

TEST_F(LookTables, ColoursOfTheSelfDrawnLooksRowByRow)
{
    VMacLookHandler mac;
    VWinLookHandler win;
    VCopLookHandler cop;
    World world;  // the hilite colour is the current port's
    platform::SetPort(world.get());
    // An ordinary hilite colour: read from the high bytes, red lowest.
    SetHilite(0x12FF, 0x5601, 0x9A80);
    ExpectTable(mac, kMac, 0x9A5612, "Mac");
    ExpectTable(win, kWin, 0x9A5612, "Windows");
    ExpectTable(cop, kCop, 0x9A5612, "Cop");
    // Pure white and pure black turn the Cop look's selected text around.
    SetHilite(0xFFFF, 0xFFFF, 0xFFFF);
    ExpectTable(cop, kCop, 0xFFFFFF, "Cop on white");
    SetHilite(0, 0, 0);
    ExpectTable(cop, kCop, 0x000000, "Cop on black");
    ExpectTable(mac, kMac, 0x000000, "Mac on black");
}

TEST_F(LookTables, TheThemeLookReadsFiveColoursFromTheThemeAndTheRestFromItsCopLook)
{
    VMacThemeLookHandler theme;
    World world;
    platform::SetPort(world.get());
    SetHilite(0x12FF, 0x5601, 0x9A80);
    auto brush = [](platform::ThemeBrush b) {
        platform::RGBColor c{};
        EXPECT_EQ(platform::GetThemeBrushAsColor(b, 32, true, &c), platform::noErr);
        return uint32_t(c.red >> 8) | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8) << 16;
    };
    auto text = [](platform::ThemeTextColor t) {
        platform::RGBColor c{};
        EXPECT_EQ(platform::GetThemeTextColor(t, 32, true, &c), platform::noErr);
        return uint32_t(c.red >> 8) | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8) << 16;
    };
    EXPECT_EQ(theme.GetStdColor(60), brush(platform::kThemeBrushSecondaryHighlightColor));
    EXPECT_EQ(theme.GetStdColor(61), brush(platform::kThemeBrushBlack));
    EXPECT_EQ(theme.GetStdColor(62), brush(platform::kThemeBrushAlternatePrimaryHighlightColor));
    EXPECT_EQ(theme.GetStdColor(63), text(platform::kThemeTextColorDialogActive));
    EXPECT_EQ(theme.GetStdColor(64), text(platform::kThemeTextColorDialogInactive));
    // The highlight brushes exist: no colour is left undefined.
    for (StdColor c = 60; c <= 64; ++c) EXPECT_NE(theme.GetStdColor(c), kNoColor) << c;
    for (StdColor c = -2; c <= 70; ++c) {
        if (c < 60 || c > 64) {
            EXPECT_EQ(theme.GetStdColor(c), theme.GetCopLook().GetStdColor(c)) << c;
        }
    }
}

TEST_F(LookTables, AccentColoursFallBackToFixedValuesWithoutAnAccentTable)
{
    VCopLookHandler cop;
    EXPECT_EQ(VCopLookHandler::fAccentTable, nullptr);
    EXPECT_EQ(cop.GetStdColor(34), 0x993333u);
    EXPECT_EQ(cop.GetStdColor(49), 0xEEEEEEu);
    EXPECT_EQ(cop.GetStdColor(56), 0x000000u);
}

TEST_F(LookTables, FontsOfEachLook)
{
    const std::string system = PlatformFontName(0), application = PlatformFontName(1);
    const int16_t systemSize = VSystem::MacGetSysFontSize();
    VMacLookHandler mac;
    VCopLookHandler cop;
    for (StdFont f = 0; f <= 7; ++f) {
        const bool sys = f == 0 || f == 2;
        const FontAnswer m = FontOf(mac, f), c = FontOf(cop, f);
        EXPECT_TRUE(m.known && c.known) << f;
        EXPECT_EQ(m.name, sys ? system : application) << f;
        EXPECT_EQ(m.size, sys ? systemSize : f == 6 ? 10 : 9) << f;
        EXPECT_EQ(m.bold, 0) << f;
        EXPECT_EQ(c.name, m.name) << f;
        EXPECT_EQ(c.size, m.size) << f;
        EXPECT_EQ(c.bold, f == 1 || f == 3) << f;
        EXPECT_EQ(m.italic + c.italic, 0) << f;
    }
    for (StdFont f : {8, 9, -1, 100}) {
        EXPECT_FALSE(FontOf(mac, f).known) << f;
        EXPECT_FALSE(FontOf(cop, f).known) << f;
    }
    // The Windows look knows every index.
    VWinLookHandler win;
    for (StdFont f : {-5, 0, 1, 5, 6, 7, 8, 300}) {
        const FontAnswer w = FontOf(win, f);
        EXPECT_TRUE(w.known);
        EXPECT_EQ(w.name, f == 6 ? "New York" : "Geneva") << f;
        EXPECT_EQ(w.size, f == 6 ? 10 : 9) << f;
        EXPECT_EQ(w.bold + w.italic, 0) << f;
    }
}

TEST_F(LookTables, TheThemeLookTakesItsFontsFromTheTheme)
{
    ASSERT_GE(VSystem::GetVersion(), 0x1000u);
    VMacThemeLookHandler theme;
    const platform::ThemeFontID ids[8] = {100, 100, 105, 105, 6, 1, 5, 0};
    for (StdFont f = 0; f <= 7; ++f) {
        platform::Str255 family{};
        int16_t size = 0;
        platform::Style style = 0;
        ASSERT_EQ(platform::GetThemeFont(ids[f], 0, family, &size, &style), platform::noErr);
        const FontAnswer t = FontOf(theme, f);
        EXPECT_TRUE(t.known);
        EXPECT_EQ(t.name, std::string(reinterpret_cast<const char*>(family) + 1, family[0])) << f;
        EXPECT_EQ(t.size, f == 1 || f == 3 ? size - 2 : size) << f;
        EXPECT_EQ(t.bold, style & 1) << f;
        EXPECT_EQ(t.italic, (style >> 1) & 1) << f;
    }
    EXPECT_FALSE(FontOf(theme, 8).known);
}

TEST_F(LookTables, BehavioursOfEachLook)
{
    VMacLookHandler mac;
    VWinLookHandler win;
    VCopLookHandler cop;
    VMacThemeLookHandler theme;
    int32_t barWidth = 0;
    ASSERT_EQ(platform::GetThemeMetric(platform::kThemeMetricScrollBarWidth, &barWidth), platform::noErr);
    ASSERT_EQ(barWidth, 16);
    platform::ThemeScrollBarThumbStyle thumb = 0;
    platform::ThemeScrollBarArrowStyle arrows = 0;
    platform::GetThemeScrollBarThumbStyle(&thumb);
    platform::GetThemeScrollBarArrowStyle(&arrows);
    const int32_t proportional = thumb == platform::kThemeScrollBarThumbProportional;
    const int32_t together = arrows == platform::kThemeScrollBarArrowsLowerRight;
    const int32_t kMacRows[13] = {0, 16, 16, 16, 0, 16, 0, 16, 16, 16, 18, 12, 0};
    const int32_t kWinRows[13] = {1, 16, 16, 10, 0, 16, 0, 16, 16, 16, 18, 12, 17};
    const int32_t kCopRows[13] = {proportional, 16, 16, 16, together, 16, 0, 24, 22, 22, 18, 0, 0};
    const int32_t kThemeRows[13] = {proportional, 16, 16, 16, together, 16, 1, 24, 22, 22, 18, 13, 17};
    for (StdBehaviour b = 0; b <= 12; ++b) {
        EXPECT_EQ(mac.GetStdBehaviour(b), kMacRows[b]) << b;
        EXPECT_EQ(win.GetStdBehaviour(b), kWinRows[b]) << b;
        EXPECT_EQ(cop.GetStdBehaviour(b), kCopRows[b]) << b;
        EXPECT_EQ(theme.GetStdBehaviour(b), kThemeRows[b]) << b;
    }
    for (StdBehaviour b : {-1, 13, 100}) {
        EXPECT_EQ(mac.GetStdBehaviour(b) + win.GetStdBehaviour(b) + cop.GetStdBehaviour(b) +
                      theme.GetStdBehaviour(b),
                  0)
            << b;
    }
}

TEST_F(LookTables, AfterStartUpTheStandardColoursComeFromTheThemeLook)
{
    VPainter::Init();
    for (StdLook look = 1; look <= 7; ++look) ASSERT_NE(GetLookHandler(look), nullptr) << look;
    EXPECT_NE(dynamic_cast<VMacLookHandler*>(GetLookHandler(1)), nullptr);
    EXPECT_NE(dynamic_cast<VMacLookHandler*>(GetLookHandler(7)), nullptr);
    EXPECT_NE(dynamic_cast<VWinLookHandler*>(GetLookHandler(2)), nullptr);
    EXPECT_NE(dynamic_cast<VWinLookHandler*>(GetLookHandler(3)), nullptr);
    for (StdLook look = 4; look <= 6; ++look)
        EXPECT_NE(dynamic_cast<VMacThemeLookHandler*>(GetLookHandler(look)), nullptr) << look;
    // Each slot its own object.
    for (StdLook a = 1; a <= 7; ++a)
        for (StdLook b = a + 1; b <= 7; ++b) EXPECT_NE(GetLookHandler(a), GetLookHandler(b)) << a << " " << b;

    EXPECT_EQ(MakeStdColor(36), 0xAAFFFFu);
    EXPECT_EQ(MakeStdColor(66), 0xFFFFFFFFu);
    EXPECT_EQ(MakeStdColor(46), 0x555555u);  // the Cop look's, under the Theme look

    // A new painter's standard settings come from the Theme look.
    World world;
    VPainter painter(world.get(), true);
    EXPECT_EQ(painter.GetStdColor(60), GetLookHandler(5)->GetStdColor(60));
    EXPECT_EQ(painter.GetEraseColor(), GetLookHandler(5)->GetStdColor(0));
    VStr<255> name;
    painter.GetFont(name);
    EXPECT_EQ(Name(name), FontOf(*GetLookHandler(5), kStdFontDefault).name);
    EXPECT_EQ(painter.GetFontSize(), FontOf(*GetLookHandler(5), kStdFontDefault).size);

    // Black on white and the normal theme state, whatever was set before.
    platform::SetPort(world.get());
    const platform::RGBColor red{0xFFFF, 0, 0}, green{0, 0xFFFF, 0};
    platform::RGBForeColor(&red);
    platform::RGBBackColor(&green);
    platform::PenSize(3, 3);
    calls.clear();
    SetBWCol();
    platform::RGBColor fore{}, back{};
    platform::GetForeColor(&fore);
    platform::GetBackColor(&back);
    EXPECT_EQ(fore.red + fore.green + fore.blue, 0);
    EXPECT_EQ(back.red & back.green & back.blue, 0xFFFF);
    platform::PenState pen{};
    platform::GetPenState(&pen);
    EXPECT_EQ(pen.pnSize.h, 1);
    EXPECT_EQ(CountCalls("NormalizeThemeDrawingState"), 1);
}
