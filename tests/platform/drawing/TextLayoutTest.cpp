// Fitting text to widths: truncation, line breaks, visible length, and the
// theme's text boxes, dimensions and colours.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextLayout.h"
#include "platform/drawing/ThemeText.h"
#include "platform/fonts/Fonts.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

namespace {

using namespace platform;
using drawingtest::kWhite;
using drawingtest::World;

struct Str {
    explicit Str(const char* s)
    {
        bytes[0] = uint8_t(std::strlen(s));
        std::memcpy(bytes + 1, s, bytes[0]);
    }
    std::string text() const { return std::string(reinterpret_cast<const char*>(bytes + 1), bytes[0]); }
    Str255 bytes{};
};

struct LayoutWorld : World {
    LayoutWorld() : World(120, 60)
    {
        TextFont(applFont);
        TextSize(12);
    }
};

TEST(TextFitting, TruncationKeepsWhatFitsAndMarksTheCut)
{
    LayoutWorld w;
    Str s("Hello world");
    const int16_t full = StringWidth(s.bytes);
    EXPECT_EQ(TruncString(full, s.bytes, truncEnd), notTruncated);
    EXPECT_EQ(s.text(), "Hello world");

    EXPECT_EQ(TruncString(int16_t(full - 1), s.bytes, truncEnd), truncated);
    ASSERT_GT(s.bytes[0], 1);
    EXPECT_EQ(s.bytes[s.bytes[0]], kEllipsisByte);
    EXPECT_LE(StringWidth(s.bytes), full - 1);
    EXPECT_EQ(s.text().substr(0, s.bytes[0] - 1), std::string("Hello world").substr(0, s.bytes[0] - 1));

    Str m("abcdefghijklmnop");
    EXPECT_EQ(TruncString(40, m.bytes, truncMiddle), truncated);
    EXPECT_LE(StringWidth(m.bytes), 40);
    const std::string t = m.text();
    const size_t cut = t.find(char(kEllipsisByte));
    ASSERT_NE(cut, std::string::npos);
    EXPECT_EQ(t[0], 'a');
    EXPECT_EQ(t.back(), 'p') << "the middle goes, both ends stay";

    Str tiny("Hello");
    EXPECT_EQ(TruncString(1, tiny.bytes, truncEnd), truncated);
    EXPECT_EQ(tiny.bytes[0], 0) << "not even the ellipsis fits";
    EXPECT_EQ(TruncString(10, tiny.bytes, 7), truncErr);

    char buf[] = "Hello world";
    int16_t len = 11;
    EXPECT_EQ(TruncText(30, buf, &len, truncEnd), truncated);
    EXPECT_LE(TextWidth(buf, 0, len), 30);
    EXPECT_LT(len, 11);
    EXPECT_EQ(uint8_t(buf[len - 1]), kEllipsisByte);
    int16_t bad = -1;
    EXPECT_EQ(TruncText(30, buf, &bad, truncEnd), truncErr);

    // Bold, italic, outlined and extended with a negative space extra: the
    // parts kept, measured apart, fit where the text joined with its
    // ellipsis does not.
    TextFont(3);
    TextSize(4);
    TextFace(0x4B);
    SpaceExtra(Fixed(-3) << 14);
    const uint32_t flags = QDSwapTextFlags(kQDSupportedFlags);
    const char styled[] = "\x00\xFF" "Bne\xFE\x05,\x10 SBne\xFF\x05,Bne\xFF\x05,P x\xE5";
    for (TruncCode where : {truncEnd, truncMiddle}) {
        char cut[sizeof styled];
        std::memcpy(cut, styled, sizeof styled);
        int16_t length = int16_t(sizeof styled - 1);
        EXPECT_EQ(TruncText(70, cut, &length, where), truncated);
        EXPECT_LE(TextWidth(cut, 0, length), 70) << where;
    }
    QDSwapTextFlags(flags);
}

TEST(TextFitting, LinesBreakAfterWordsOrInsideAWordTooLong)
{
    LayoutWorld w;
    char text[] = "one two three";
    const Fixed wOneTwo = Fixed(TextWidth(text, 0, 7)) << 16;
    // Room for "one two" only: the line ends before "three", after its space.
    Fixed width = wOneTwo + (2 << 16);
    int32_t offset = 1;
    EXPECT_EQ(StyledLineBreak(text, 13, 0, 13, 0, &width, &offset), smBreakWord);
    EXPECT_EQ(offset, 8);
    // Everything fits: the width left shrinks by the run's width.
    width = Fixed(500) << 16;
    offset = 1;
    EXPECT_EQ(StyledLineBreak(text, 13, 0, 13, 0, &width, &offset), smBreakOverflow);
    EXPECT_EQ(width, (Fixed(500) << 16) - (Fixed(TextWidth(text, 0, 13)) << 16));
    EXPECT_EQ(offset, 13);
    // A word wider than the line is cut between characters, keeping one.
    char word[] = "abcdefghij";
    width = Fixed(TextWidth(word, 0, 3)) << 16;
    offset = 1;
    EXPECT_EQ(StyledLineBreak(word, 10, 0, 10, 0, &width, &offset), smBreakChar);
    EXPECT_EQ(offset, 3);
    width = 0;
    offset = 1;
    EXPECT_EQ(StyledLineBreak(word, 10, 0, 10, 0, &width, &offset), smBreakChar);
    EXPECT_EQ(offset, 1);
    // Not the first run on its line: the line ends before it.
    width = 0;
    offset = 0;
    EXPECT_EQ(StyledLineBreak(word, 10, 2, 10, 0, &width, &offset), smBreakWord);
    EXPECT_EQ(offset, 2);
    // A return ends the line after it.
    char lines[] = "ab\rcd";
    width = Fixed(500) << 16;
    offset = 1;
    EXPECT_EQ(StyledLineBreak(lines, 5, 0, 5, 0, &width, &offset), smBreakWord);
    EXPECT_EQ(offset, 3);
    // A run past the text is refused rather than read.
    offset = 1;
    EXPECT_EQ(StyledLineBreak(lines, 5, 0, 50, 0, &width, &offset), smBreakWord);
    EXPECT_EQ(offset, 0);

    char trail[] = "word  \t\r";
    EXPECT_EQ(VisibleLength(trail, 8), 4);
    EXPECT_EQ(VisibleLength(trail, 0), 0);
    EXPECT_EQ(VisibleLength(nullptr, 5), 0);
}

TEST(ThemeText, FontsDimensionsAndTruncation)
{
    LayoutWorld w;
    Str255 name{};
    int16_t size = 0;
    Style style = 0xFF;
    EXPECT_EQ(GetThemeFont(kThemeSystemFont, 0, name, &size, &style), noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Lucida Grande");
    EXPECT_EQ(size, 12);
    EXPECT_EQ(style, normal);
    EXPECT_EQ(GetThemeFont(kThemeSmallSystemFont, 0, name, &size, &style), noErr);
    EXPECT_EQ(size, 10);
    EXPECT_EQ(GetThemeFont(kThemeLabelFont, 0, name, &size, &style), noErr);
    EXPECT_EQ(size, 10);
    TextFont(kFontIDCourier);
    TextSize(9);
    EXPECT_EQ(GetThemeFont(kThemeCurrentPortFont, 0, name, &size, &style), noErr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Courier");
    EXPECT_EQ(size, 9);
    EXPECT_EQ(GetThemeFont(999, 0, name, &size, &style), themeInvalidFontErr);

    // Dimensions in the port's font match the port's own measures.
    Point bounds{0, 0};
    int16_t baseline = 0;
    EXPECT_EQ(GetThemeTextDimensions(u"Hello", kThemeCurrentPortFont, kThemeStateActive, false, &bounds, &baseline),
              noErr);
    FontInfo info{};
    GetFontInfo(&info);
    EXPECT_EQ(bounds.h, TextWidth("Hello", 0, 5));
    EXPECT_EQ(bounds.v, info.ascent + info.descent + info.leading);
    EXPECT_EQ(baseline, -(info.descent + info.leading));
    // Two lines, and wrapping to a narrow width makes more.
    EXPECT_EQ(GetThemeTextDimensions(u"a\rb", kThemeCurrentPortFont, 1, false, &bounds, nullptr), noErr);
    EXPECT_EQ(bounds.v, 2 * (info.ascent + info.descent + info.leading));
    bounds = {0, int16_t(TextWidth("Hello", 0, 5) + 2)};
    EXPECT_EQ(GetThemeTextDimensions(u"Hello Hello Hello", kThemeCurrentPortFont, 1, true, &bounds, nullptr), noErr);
    EXPECT_EQ(bounds.v, 3 * (info.ascent + info.descent + info.leading));

    std::u16string text = u"A long label of a control";
    Boolean cut = false;
    EXPECT_EQ(TruncateThemeText(&text, kThemeSystemFont, 1, 60, truncEnd, &cut), noErr);
    EXPECT_TRUE(cut);
    EXPECT_EQ(text.back(), u'\u2026');
    bounds = {0, 0};
    GetThemeTextDimensions(text, kThemeSystemFont, 1, false, &bounds, nullptr);
    EXPECT_LE(bounds.h, 60);
    std::u16string shortText = u"Ok";
    EXPECT_EQ(TruncateThemeText(&shortText, kThemeSystemFont, 1, 60, truncEnd, &cut), noErr);
    EXPECT_FALSE(cut);
    EXPECT_EQ(shortText, u"Ok");
}

TEST(ThemeText, BoxesAreDrawnInsideThemselvesAsJustified)
{
    LayoutWorld w;
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs);
    Rect box{10, 10, 30, 110};
    // Left, centred and right: the ink moves right, and stays in the box.
    int32_t firstInk[3] = {};
    const int16_t justs[3] = {teFlushLeft, teCenter, teFlushRight};
    for (int i = 0; i < 3; ++i) {
        Rect all{0, 0, 60, 120};
        EraseRect(&all);
        EXPECT_EQ(DrawThemeTextBox(u"Label", kThemeSystemFont, kThemeStateActive, false, &box, justs[i], nullptr),
                  noErr);
        firstInk[i] = -1;
        for (int h = 0; h < 120 && firstInk[i] < 0; ++h)
            for (int v = 0; v < 60; ++v)
                if (w.At(h, v) != kWhite) {
                    EXPECT_TRUE(h >= box.left && h < box.right && v >= box.top && v < box.bottom);
                    firstInk[i] = h;
                    break;
                }
    }
    EXPECT_GE(firstInk[0], 10);
    EXPECT_GT(firstInk[1], firstInk[0]);
    EXPECT_GT(firstInk[2], firstInk[1]);
    // Text longer than the box is clipped to it.
    Rect all{0, 0, 60, 120};
    EraseRect(&all);
    Rect narrow{10, 10, 30, 40};
    DrawThemeTextBox(u"A much longer label", kThemeSystemFont, 1, false, &narrow, teFlushLeft, nullptr);
    for (int v = 0; v < 60; ++v)
        for (int h = 40; h < 120; ++h) EXPECT_EQ(w.At(h, v), kWhite);
    QDSwapTextFlags(kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics);
}

TEST(ThemeText, ColoursGreyTheInactiveAndWhitenTheSelected)
{
    RGBColor c{};
    EXPECT_EQ(GetThemeTextColor(kThemeTextColorDialogActive, 32, true, &c), noErr);
    EXPECT_EQ(c.red, 0);
    EXPECT_EQ(GetThemeTextColor(kThemeTextColorDialogInactive, 32, true, &c), noErr);
    EXPECT_EQ(c.red, 0x7F7F);
    EXPECT_EQ(GetThemeTextColor(kThemeTextColorDocumentWindowTitleInactive, 32, true, &c), noErr);
    EXPECT_EQ(c.red, 0x7F7F);
    EXPECT_EQ(GetThemeTextColor(kThemeTextColorMenuItemSelected, 32, true, &c), noErr);
    EXPECT_EQ(c.red, 0xFFFF);
    EXPECT_EQ(GetThemeTextColor(kThemeTextColorMenuItemDisabled, 32, true, &c), noErr);
    EXPECT_EQ(c.green, 0x7F7F);
    EXPECT_EQ(GetThemeTextColor(12 + 1, 32, true, &c), noErr) << "an inactive push button";
    EXPECT_EQ(c.blue, 0x7F7F);
    EXPECT_EQ(GetThemeTextColor(500, 32, true, &c), themeBadTextColorErr);
}

}  // namespace
