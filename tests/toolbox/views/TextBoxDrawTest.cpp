// Text boxes drawn through the shared hidden frames and the editor's own
// box drawing: ellipses that fit, vertical placement, alignment, wide
// right-justified text, trailing spaces and measuring that draws nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/drawing/Ports.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/NativeTextBox.h"
#include "toolbox/views/VFrameTextEdit.h"

namespace {

using drawingtest::World;

struct Ink {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    bool Empty() const { return left > right; }
};

Ink InkOf(const World& w, int32_t width, int32_t height)
{
    Ink ink;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (w.At(x, y) != drawingtest::kWhite) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

bool SamePixels(const World& a, const World& b, int32_t width, int32_t height)
{
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            if (a.At(x, y) != b.At(x, y)) return false;
    return true;
}

VText Text(const char* s)
{
    VText t;
    t.FromCString(reinterpret_cast<const uint8_t*>(s), kCharSetMac);
    return t;
}

std::u16string Units(const VString& s)
{
    std::u16string u(size_t(s.GetLength()), u'\0');
    u.resize(size_t(s.ToUniBlock(u.data(), 0, int32_t(u.size()))));
    return u;
}

constexpr int32_t kW = 320, kH = 120;

class TextBoxDrawTest : public ::testing::Test {
protected:
    void SetUp() override { VFrameTextEdit::InitDrawTextBox(); }
    void TearDown() override { VFrameTextEdit::DisposeDrawTextBox(); }

    // One box drawn in a fresh world.
    static void Draw(World& w, const char* text, AlignStyle h, AlignStyle v, const VRect& r, bool ellipsis,
                     bool oneLine = false)
    {
        VPainter painter(w.get(), true);
        painter.SetTextColor(0);
        painter.SetFontSize(12);
        VFrameTextEdit::DrawTextBox(&painter, Text(text), h, v, r, ellipsis, false, oneLine, nullptr);
    }
    static int32_t Measure(const char* text, bool multiline, int32_t width, int32_t* height = nullptr)
    {
        VFrameTextEdit* f = VFrameTextEdit::GetDrawTextBox(multiline);
        f->SetSize(width, 100, kRedrawNone);
        int32_t w = 0, h = 0;
        const VText t = Text(text);
        f->GetTextBoxSize(w, h, &t);
        if (height) *height = h;
        return w;
    }
};

TEST_F(TextBoxDrawTest, AFittingTextIsDrawnWholeAndALongerOneEndsInAnEllipsisThatFits)
{
    const VRect box(10, 10, 120, 20);
    World plain(kW, kH), cut(kW, kH);
    Draw(plain, "Short", 0, 0, box, false);
    Draw(cut, "Short", 0, 0, box, true);
    EXPECT_FALSE(InkOf(plain, kW, kH).Empty());
    EXPECT_TRUE(SamePixels(plain, cut, kW, kH)) << "the ellipsis flag changes nothing when it fits";

    const char* longer = "A label much too long to fit in its box";
    World drawn(kW, kH);
    Draw(drawn, longer, 0, 0, box, true);
    VText expected = Text(longer);
    VFrameTextEdit::_GetElipsedText(expected, 120, 0);
    const std::u16string shown = Units(expected);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
    World byHand(kW, kH);
    const std::string asBytes(shown.begin(), shown.end());
    Draw(byHand, asBytes.c_str(), 0, 0, box, false);
    EXPECT_TRUE(SamePixels(drawn, byHand, kW, kH));
    const Ink ink = InkOf(drawn, kW, kH);
    EXPECT_LE(ink.right, 10 + 120);

    // The longest prefix: one character more would not fit.
    const std::string prefix = asBytes.substr(0, asBytes.size() - 3);
    EXPECT_LE(Measure((prefix + "...").c_str(), false, 120), 120);
    const std::string more = std::string(longer).substr(0, prefix.size() + 1) + "...";
    EXPECT_GT(Measure(more.c_str(), false, 120), 120);

    // Narrower than "..." itself: the dots alone, clipped by the box.
    VText tiny = Text(longer);
    VFrameTextEdit::_GetElipsedText(tiny, 4, 0);
    EXPECT_EQ(Units(tiny), u"...");

    // A prefix exactly as wide as the room left beside the dots is kept.
    const int32_t exact = Measure("abc", false, 1000) + Measure("...", false, 1000);
    VText fit = Text("abcdef");
    VFrameTextEdit::_GetElipsedText(fit, exact, 0);
    EXPECT_EQ(Units(fit), u"abc...");
}

TEST_F(TextBoxDrawTest, VerticalPlacementAndTheOneLineBox)
{
    const VRect box(10, 10, 200, 80);
    int32_t textHeight = 0;
    Measure("Bottom", true, 200, &textHeight);
    ASSERT_GT(textHeight, 0);
    World bottom(kW, kH), top(kW, kH);
    Draw(bottom, "Bottom", 0, 2, box, false);
    Draw(top, "Bottom", 0, 0, VRect(10, 10 + 80 - textHeight, 200, 80), false);
    EXPECT_TRUE(SamePixels(bottom, top, kW, kH)) << "its bottom at the box's";
    World middle(kW, kH), lower(kW, kH);
    Draw(middle, "Bottom", 0, 1, box, false);
    Draw(lower, "Bottom", 0, 0, VRect(10, 10 + (80 - textHeight) / 2 + 1, 200, 80), false);
    EXPECT_TRUE(SamePixels(middle, lower, kW, kH)) << "centred, a pixel low";

    int32_t lineHeight = 0;
    Measure("One", false, 200, &lineHeight);
    World oneLine(kW, kH), placed(kW, kH);
    Draw(oneLine, "One", 0, 0, box, false, true);
    Draw(placed, "One", 0, 0, VRect(10, 10 + 80 / 2 - lineHeight / 2 - 1, 200, lineHeight), false);
    EXPECT_TRUE(SamePixels(oneLine, placed, kW, kH));
    EXPECT_FALSE(InkOf(oneLine, kW, kH).Empty());
}

TEST_F(TextBoxDrawTest, AlignmentsZeroOneAndTwoAreLeftCentreAndRight)
{
    const VRect box(20, 10, 240, 20);
    World left(kW, kH), centre(kW, kH), right(kW, kH);
    Draw(left, "Aligned", 0, 0, box, false);
    Draw(centre, "Aligned", 1, 0, box, false);
    Draw(right, "Aligned", 2, 0, box, false);
    const Ink l = InkOf(left, kW, kH), c = InkOf(centre, kW, kH), r = InkOf(right, kW, kH);
    const int32_t width = l.right - l.left;
    EXPECT_LE(l.left - 20, 3);
    EXPECT_LE(std::abs((c.left + c.right) / 2 - (20 + 120)), 3);
    EXPECT_LE(20 + 240 - 1 - r.right, 3);
    EXPECT_EQ(c.right - c.left, width);
    EXPECT_EQ(r.right - r.left, width);
}

// The editor's own box drawing, without a window.
class EditorBoxTest : public ::testing::Test {
protected:
    EditorBoxTest() : editor(platform::Rect{0, 0, 30, 100}, nullptr, 0) {}
    void DrawIn(World& w, const char* text, const platform::Rect& box)
    {
        const VText t = Text(text);
        editor.Draw(w.get(), box, nullptr, &t, false);
    }
    NativeTextEditMac editor;
};

TEST_F(EditorBoxTest, RightJustifiedTextWiderThanItsBoxStartsAtItsLeftAndKeepsTrailingSpacesInside)
{
    editor.SetJustification(kJustRight, false);
    editor.SetProperty(kPropTransparent, 1);
    const platform::Rect box{10, 20, 40, 120};
    World wide(kW, kH);
    DrawIn(wide, "A right-justified text far wider than its box", box);
    const Ink w = InkOf(wide, kW, kH);
    ASSERT_FALSE(w.Empty());
    EXPECT_LE(w.left - box.left, 3) << "shown from its start";
    EXPECT_GE(w.right, box.right - 2) << "and cut by the box";

    // Each trailing space takes one space's room inside the box, the first
    // as much as the others.
    std::vector<Ink> inks;
    for (const char* text : {"ab", "ab ", "ab  ", "ab   "}) {
        World spaced(kW, kH);
        DrawIn(spaced, text, box);
        inks.push_back(InkOf(spaced, kW, kH));
        ASSERT_FALSE(inks.back().Empty()) << text;
        EXPECT_EQ(inks.back().right - inks.back().left, inks[0].right - inks[0].left) << text;
    }
    const Ink b = inks[0];
    EXPECT_GE(b.right, box.right - 3);
    const int32_t space = inks[0].right - inks[1].right;
    EXPECT_GT(space, 1);
    EXPECT_EQ(inks[1].right - inks[2].right, space);
    EXPECT_EQ(inks[2].right - inks[3].right, space);
    World blank(kW, kH);
    DrawIn(blank, "                    ", box);
    EXPECT_TRUE(InkOf(blank, kW, kH).Empty()) << "spaces alone show nothing";
}

TEST_F(EditorBoxTest, MeasuringDrawsNothingAndASizeOfZeroDrawsAsTwelvePoints)
{
    World w(kW, kH);
    editor.Move(platform::Rect{0, 0, 30, 200});
    int32_t width = 0, height = 0;
    const VText t = Text("measured, not drawn");
    editor.GetTextBoxSize(width, height, &t);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_EQ(w.CountNot(drawingtest::kWhite), 0);

    // A window-less editor keeps the size it is given for its boxes; 0
    // stands for 12 points there too.
    editor.SetAllTextFont(nullptr, 0, -1);
    editor.SetJustification(kJustRight, false);
    editor.SetProperty(kPropTransparent, 1);
    const std::string many(3000, 'm');
    World drawn(kW, kH);
    DrawIn(drawn, many.c_str(), platform::Rect{10, 10, 40, 300});
    EXPECT_FALSE(InkOf(drawn, kW, kH).Empty());

    // Without a size of its own, the size of the editor's text decides how
    // many characters a centred box keeps: 16000 / 24 of them, from its
    // middle.
    editor.SetUnicode(u"x", 1, false);
    editor.Select(0, 1);
    editor.SetTextSelectionFont(nullptr, 24, -1);
    editor.SetJustification(kJustCentre, false);
    World cut(kW, kH), kept(kW, kH);
    DrawIn(cut, std::string(3000, 'm').c_str(), platform::Rect{10, 10, 40, 300});
    DrawIn(kept, std::string(16000 / 24, 'm').c_str(), platform::Rect{10, 10, 40, 300});
    EXPECT_FALSE(InkOf(kept, kW, kH).Empty());
    EXPECT_TRUE(SamePixels(cut, kept, kW, kH));
}

TEST_F(TextBoxDrawTest, WithoutAPainterTheBoxTakesThePortsColourAndRightAlignmentStays)
{
    World w(kW, kH);
    platform::SetGWorld(w.get(), nullptr);
    const platform::RGBColor fore{0, 0x8000, 0xFFFF};
    platform::RGBForeColor(&fore);
    VFrameTextEdit::DrawTextBox(nullptr, Text("MMMM"), 2, 0, VRect(10, 10, 200, 20), false, false, false, nullptr);
    VFrameTextEdit* used = VFrameTextEdit::GetDrawTextBox(false);
    EXPECT_EQ(used->GetEditor()->GetAllTextColor(), 0xFF7F00) << "each 16-bit component over 257";
    EXPECT_EQ(used->GetJustification(), 2);

    // A painter with no port of its own draws nowhere, not in the current one.
    World current(kW, kH);
    platform::SetGWorld(current.get(), nullptr);
    VPainter portless;
    const VText t = Text("MMMM");
    used->Draw(&portless, VRect(10, 40, 200, 20), false, &t);
    EXPECT_TRUE(InkOf(current, kW, kH).Empty());
}

}  // namespace
