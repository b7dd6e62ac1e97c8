// The print path of text boxes: line breaks measured in the port's font,
// one-line boxes cut at the first return and to their width, aligned
// lines, and the port and clip given back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "tests/platform/drawing/DrawingTestSupport.h"
#include "toolbox/views/NativeFontScript.h"
#include "toolbox/views/NativeTextBox.h"

namespace {

using drawingtest::World;

const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }
int16_t Width(const std::string& s) { return platform::TextWidth(s.data(), 0, int16_t(s.size())); }

struct Line {
    std::string text;
    int16_t x;  // from the box's left
    int16_t row;
};

// The same world with the lines drawn directly, as the box should.
bool SamePixels(const World& got, const std::vector<Line>& lines, const platform::Rect& box)
{
    World want(200, 80);
    platform::FontInfo info{};
    platform::GetFontInfo(&info);
    const int16_t height = int16_t(info.ascent + info.descent + info.leading);
    for (const Line& l : lines) {
        platform::MoveTo(int16_t(box.left + l.x), int16_t(box.top + l.row * height + info.ascent + info.leading));
        platform::DrawText(l.text.data(), 0, int16_t(l.text.size()));
    }
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 200; ++x)
            if (got.At(x, y) != want.At(x, y)) return false;
    return true;
}

TEST(NativeTextBox, LineBreaksFallAfterBlanksAndInsideWordsTooLong)
{
    World world(200, 80);
    const std::string words = "aaaa bbbb cccc";
    EXPECT_EQ(TEGetLineBreak(Bytes(words), int32_t(words.size()), Width("aaaa bb")), 5)
        << "the line ends after the last blank that fits";
    EXPECT_EQ(TEGetLineBreak(Bytes(words), int32_t(words.size()), 1000), int32_t(words.size()));
    const std::string word = "abcdefghij";
    EXPECT_EQ(TEGetLineBreak(Bytes(word), int32_t(word.size()), Width("abc")), 3) << "cut inside the word";
    EXPECT_EQ(TEGetLineBreak(Bytes(word), int32_t(word.size()), 0), 1) << "never below one byte";
    EXPECT_EQ(TEGetLineBreak(Bytes(word), 0, 100), 0);

    std::vector<int16_t> positions(word.size() + 1, -1);
    EXPECT_EQ(WinMeasureText(int16_t(word.size()), Bytes(word), positions.data(), Width("abcd")), 4);
    EXPECT_EQ(positions[0], 0);
    EXPECT_EQ(positions[4], Width("abcd"));
    EXPECT_EQ(WinMeasureText(3, Bytes(word), positions.data(), 1000), 3) << "at most the count";
    EXPECT_EQ(WinMeasureText(int16_t(word.size()), Bytes(word), positions.data(), 0), 0);
    positions.assign(positions.size(), -1);
    EXPECT_EQ(WinMeasureText(0, Bytes(word), positions.data(), 100), 0);
    EXPECT_EQ(positions[0], 0) << "no text still gives its start";
}

TEST(NativeTextBox, OneLineBoxDrawsUpToTheFirstReturnCutToFit)
{
    World world(200, 80);
    platform::FontInfo info{};
    platform::GetFontInfo(&info);
    const int16_t height = int16_t(info.ascent + info.descent + info.leading);
    const platform::Rect box{10, 20, int16_t(10 + height), int16_t(20 + Width("abcdef") + 1)};
    const std::string text = "abcdefghij\rsecond";
    MyTextBox(world.get(), box, nullptr, Bytes(text), int32_t(text.size()), kJustLeft);
    EXPECT_TRUE(SamePixels(world, {{"abcdef", 1, 0}}, box));

    World centred(200, 80);
    const std::string shortText = "ab\rcd";
    MyTextBox(centred.get(), box, nullptr, Bytes(shortText), int32_t(shortText.size()), kJustCentre);
    EXPECT_TRUE(SamePixels(centred, {{"ab", int16_t((box.right - box.left - Width("ab")) / 2), 0}}, box));
}

TEST(NativeTextBox, TallBoxTakesLinesAlignedWithoutTheirTrailingBlanks)
{
    World world(200, 80);
    platform::FontInfo info{};
    platform::GetFontInfo(&info);
    const int16_t height = int16_t(info.ascent + info.descent + info.leading);
    const int16_t width = int16_t(Width("aaaa bb"));
    const platform::Rect box{2, 4, int16_t(2 + height * 2), int16_t(4 + width)};
    const std::string text = "aaaa bbbb\rcc";
    // Right-aligned: "aaaa " breaks softly, shown without its blank; the
    // third line has no room.
    MyTextBox(world.get(), box, nullptr, Bytes(text), int32_t(text.size()), kJustRight);
    EXPECT_TRUE(SamePixels(world, {{"aaaa", int16_t(width - Width("aaaa")), 0},
                                   {"bbbb", int16_t(width - Width("bbbb")), 1}},
                           box));

    World left(200, 80);
    const platform::Rect tall{2, 4, int16_t(2 + height * 3), int16_t(4 + width)};
    MyTextBox(left.get(), tall, nullptr, Bytes(text), int32_t(text.size()), kJustDefault);
    EXPECT_TRUE(SamePixels(left, {{"aaaa ", 1, 0}, {"bbbb", 1, 1}, {"cc", 1, 2}}, tall));
    // Only blanks are skipped after a soft break: the next line keeps its "!".
    World bang(200, 80);
    const std::string exclaim = "aaaa !bbb";
    MyTextBox(bang.get(), tall, nullptr, Bytes(exclaim), int32_t(exclaim.size()), kJustDefault);
    EXPECT_TRUE(SamePixels(bang, {{"aaaa ", 1, 0}, {"!bbb", 1, 1}}, tall));
}

TEST(NativeTextBox, PortAndClipComeBack)
{
    World other(20, 20);
    World target(200, 80);
    platform::SetGWorld(other.get(), nullptr);
    platform::GrafPtr before = nullptr;
    platform::GetPort(&before);
    const platform::Rect box{0, 0, 40, 100};
    const platform::Rect clip{0, 0, 5, 5};
    const std::string text = "abc";
    MyTextBox(target.get(), box, &clip, Bytes(text), 3, kJustLeft);
    platform::GrafPtr after = nullptr;
    platform::GetPort(&after);
    EXPECT_EQ(after, before);
    // Drawing clipped to a 5-pixel corner leaves the rest of the line blank.
    World whole(200, 80);
    MyTextBox(whole.get(), box, nullptr, Bytes(text), 3, kJustLeft);
    EXPECT_LT(target.CountNot(0xFFFFFF), whole.CountNot(0xFFFFFF));
    platform::SetGWorld(target.get(), nullptr);
    platform::RgnHandle rgn = platform::NewRgn();
    platform::GetClip(rgn);
    platform::Rect bounds{};
    platform::GetRegionBounds(rgn, &bounds);
    EXPECT_GT(bounds.right - bounds.left, 5) << "the clip is put back";
    platform::DisposeRgn(rgn);
}

}  // namespace

namespace {

TEST(NativeFontScript, CharacterSetsAndEncodingsMapBothWays)
{
    // Character set, its encoding, and the set the encoding maps back to.
    const int32_t table[][3] = {{0, 0, 0},      {2, 33, 2},     {128, 1, 128},  {129, 3, 129},  {130, 3, 129},
                                {136, 2, 136},  {161, 6, 161},  {162, 35, 162}, {163, 30, 163}, {177, 5, 177},
                                {178, 4, 178},  {186, 29, 238}, {204, 7, 204},  {222, 21, 222}, {238, 29, 238}};
    for (const auto& row : table) {
        EXPECT_EQ(MacFontScript(row[0]), row[1]) << row[0];
        EXPECT_EQ(WinFontScript(row[1]), row[2]) << row[1];
    }
    for (int32_t set : {1, 77, 127, 160, 176, 239})
        EXPECT_EQ(MacFontScript(set), 0) << "unknown sets: the application's encoding " << set;
    EXPECT_EQ(WinFontScript(99), 1);
}

}  // namespace
