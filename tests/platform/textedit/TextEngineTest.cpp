// The engine itself: incremental layout after edits matches a full
// layout, runs stay minimal and counted, and words are letters and digits.
#include <gtest/gtest.h>

#include <string>

#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"
#include "platform/textedit/TextEngine.h"

namespace platform {
namespace {

void ExpectSameLines(const TextEngine& a, const TextEngine& b, int round)
{
    ASSERT_EQ(a.Lines().size(), b.Lines().size()) << "round " << round;
    for (size_t i = 0; i < a.Lines().size(); ++i) {
        EXPECT_EQ(a.Lines()[i].start, b.Lines()[i].start) << "round " << round << " line " << i;
        EXPECT_EQ(a.Lines()[i].top, b.Lines()[i].top) << "round " << round << " line " << i;
        EXPECT_EQ(a.Lines()[i].height, b.Lines()[i].height) << "round " << round << " line " << i;
        EXPECT_EQ(a.Lines()[i].width, b.Lines()[i].width) << "round " << round << " line " << i;
    }
}

TEST(TextEngine, LinesAfterEachEditAreThoseOfAFullLayout)
{
    ResetDrawingState();
    TextAttributes base;
    base.font = 1;
    base.size = 12;
    TextEngine e(base);
    e.dest = e.view = {0, 0, 400, 120};
    StyledFragment start;
    for (int i = 0; i < 60; ++i) start.text += (i % 11 == 10) ? u"para\r" : u"word two ";
    e.Replace(0, 0, start);
    e.Layout();
    uint32_t seed = 7;
    auto next = [&](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int round = 0; round < 300; ++round) {
        const int32_t at = int32_t(next(uint32_t(e.Length()) + 1));
        const uint32_t op = next(4);
        switch (op) {
        case 0: {
            StyledFragment f;
            const char16_t pick[] = {u'x', u' ', u'\r', u'y'};
            for (uint32_t k = 0, n = 1 + next(12); k < n; ++k) f.text += pick[next(4)];
            e.Replace(at, at, f);
            break;
        }
        case 1: e.Replace(at, at + int32_t(next(30)), StyledFragment{}); break;
        case 2: {
            TextAttributes s;
            s.size = int16_t(9 + next(20));
            s.face = Style(next(2) ? bold : normal);
            e.SetStyle(kStyleSize | kStyleFace, s, at, at + int32_t(next(40)));
            break;
        }
        default: {
            StyledFragment f;
            f.text = u"ab cd";
            TextAttributes big = base;
            big.size = 24;
            f.runs = {{0, base}, {3, big}};
            e.Replace(at, at + int32_t(next(5)), f);
            break;
        }
        }
        TextEngine fresh(base);
        fresh.dest = e.dest;
        fresh.view = e.view;
        fresh.Replace(0, 0, e.Extract(0, e.Length()));
        fresh.Layout();
        ExpectSameLines(e, fresh, round);
        // Runs stay joined, rising, and counted in the table.
        const auto& runs = e.Runs();
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs.front().start, 0);
        std::vector<int32_t> counts(e.Styles().size(), 0);
        for (size_t i = 0; i < runs.size(); ++i) {
            ++counts[size_t(runs[i].style)];
            if (i > 0) {
                EXPECT_LT(runs[i - 1].start, runs[i].start);
                EXPECT_NE(runs[i - 1].style, runs[i].style);
                EXPECT_LT(runs[i].start, e.Length());
            }
        }
        for (size_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], e.Styles()[i].count);
        if (HasFailure()) break;
    }
}

TEST(TextEngine, WordsAreLettersAndDigitsAndLimitsCutWholeCharacters)
{
    TextEngine e(TextAttributes{});
    StyledFragment f;
    f.text = u"r\u00E9sum\u00E9-2 x_y \u03A9mega";
    e.Replace(0, 0, f);
    EXPECT_EQ(e.WordStart(3), 0);
    EXPECT_EQ(e.WordEnd(3), 6);   // the hyphen ends the word
    EXPECT_EQ(e.WordEnd(7), 8);   // "2"
    EXPECT_EQ(e.WordEnd(9), 10);  // the underscore is no letter
    EXPECT_EQ(e.WordEnd(13), 18);

    // A limit never keeps half of a surrogate pair.
    TextEngine limited(TextAttributes{});
    limited.SetMaxLength(3);
    StyledFragment pair;
    pair.text = u"ab\U0001F600";
    EXPECT_EQ(limited.Replace(0, 0, pair), 2);
    EXPECT_EQ(limited.Text(), u"ab");
    EXPECT_EQ(limited.Replace(0, 0, pair), 1);
    EXPECT_EQ(limited.Text(), u"aab");
    // The replaced range makes room; a whole text set at once is cut the
    // same way.
    limited.SetMaxLength(3);
    StyledFragment three;
    three.text = u"XYZ";
    EXPECT_EQ(limited.Replace(1, 3, three), 2);
    EXPECT_EQ(limited.Text(), u"aXY");
    limited.SetMaxLength(2);
    limited.SetPlainText(u"a\U0001F600", TextAttributes{});
    EXPECT_EQ(limited.Text(), u"a");
}

TEST(TextEngine, ReplacedRangesClampAndTheSelectionStaysOnItsText)
{
    ResetDrawingState();
    // An end past the text stops at the text's end; an end before the
    // start removes nothing. The selection keeps to the text it was on: an
    // edge at the start of the replaced range stays there, an edge inside
    // it goes to the end of what came in, an edge after it moves along.
    struct Case {
        int32_t from, to;
        int32_t selStart, selEnd;
        const char16_t* result;
        int32_t wantStart, wantEnd;
    };
    const Case cases[] = {
        {2, 99, 0, 1, u"abXYZ", 0, 1},
        {3, 1, 0, 8, u"abcXYZdefgh", 0, 11},
        {2, 4, 2, 6, u"abXYZefgh", 2, 7},
        {2, 4, 3, 8, u"abXYZefgh", 5, 9},
        {2, 4, 1, 2, u"abXYZefgh", 1, 2},
    };
    for (const Case& k : cases) {
        TextEngine e(TextAttributes{});
        StyledFragment start, in;
        start.text = u"abcdefgh";
        in.text = u"XYZ";
        e.Replace(0, 0, start);
        e.SetSelection(k.selStart, k.selEnd);
        EXPECT_EQ(e.Replace(k.from, k.to, in), 3);
        EXPECT_EQ(e.Text(), k.result) << k.from << ".." << k.to;
        EXPECT_EQ(e.SelStart(), k.wantStart) << k.from << ".." << k.to;
        EXPECT_EQ(e.SelEnd(), k.wantEnd) << k.from << ".." << k.to;
    }

    // Each character moves the caret by its own width, never by the next.
    TextAttributes base;
    base.font = 1;
    base.size = 12;
    TextEngine e(base);
    e.dest = e.view = {0, 0, 100, 400};
    StyledFragment same;
    same.text = u"mmmm";
    e.Replace(0, 0, same);
    e.Layout();
    int32_t one = 0, h = 0;
    e.PointOf(1, &one, nullptr);
    ASSERT_GT(one, 0);
    for (int32_t k = 0; k <= 4; ++k) {
        e.PointOf(k, &h, nullptr);
        EXPECT_EQ(h, k * one) << k;
    }
}


// Keys as the engine takes them: arrows, deletion and typing.
constexpr uint8_t kLeftArrow = 28, kRightArrow = 29, kUpArrow = 30, kDownArrow = 31, kBackspaceKey = 8,
                  kDeleteKey = 127;

TextEngine Plain(const std::u16string& text, int32_t width = 400)
{
    TextAttributes base;
    base.font = 1;
    base.size = 12;
    TextEngine e(base);
    e.dest = e.view = {0, 0, 200, width};
    e.SetPlainText(text, base);
    e.Layout();
    return e;
}

TEST(TextEngine, CaretKeysAndDeletionStepOverWholeSurrogatePairs)
{
    ResetDrawingState();
    const std::u16string text = u"a\U0001F600b";  // a, the pair at 1..2, b at 3
    struct Case {
        int32_t caret;
        uint8_t key;
        int32_t after;
        const char16_t* left;
    };
    const Case cases[] = {
        {1, kRightArrow, 3, nullptr}, {3, kLeftArrow, 1, nullptr}, {0, kLeftArrow, 0, nullptr},
        {4, kRightArrow, 4, nullptr}, {3, kBackspaceKey, 1, u"ab"},  {1, kDeleteKey, 1, u"ab"},
        {4, kBackspaceKey, 3, u"a\U0001F600"},                       {0, kDeleteKey, 0, u"\U0001F600b"},
    };
    for (const Case& k : cases) {
        TextEngine e = Plain(text);
        e.SetSelection(k.caret, k.caret);
        EXPECT_TRUE(e.Key(k.key, 0, 0));
        EXPECT_EQ(e.SelStart(), k.after) << k.caret << " key " << int(k.key);
        EXPECT_EQ(e.SelEnd(), k.after) << k.caret << " key " << int(k.key);
        EXPECT_EQ(e.Text(), k.left ? std::u16string(k.left) : text) << k.caret << " key " << int(k.key);
    }
    // A selection collapses to its own edge on an arrow.
    TextEngine e = Plain(u"abcd");
    e.SetSelection(1, 3);
    e.Key(kLeftArrow, 0, 0);
    EXPECT_EQ(e.SelStart(), 1);
    e.SetSelection(1, 3);
    e.Key(kRightArrow, 0, 0);
    EXPECT_EQ(e.SelEnd(), 3);
    EXPECT_EQ(e.SelStart(), 3);

    // Typing fills the limit exactly and no further.
    TextEngine limited = Plain(u"ab");
    limited.SetMaxLength(3);
    limited.SetSelection(2, 2);
    EXPECT_TRUE(limited.Key('x', u'x', 0));
    EXPECT_FALSE(limited.Key('y', u'y', 0));
    limited.SetSelection(0, 1);
    EXPECT_TRUE(limited.Key('z', u'z', 0)) << "the selection typed over makes room";
    EXPECT_EQ(limited.Text(), u"zbx");

    // Command-right stops before a line's return; controls type nothing; a
    // single-line text refuses returns.
    TextEngine lines = Plain(u"abc\rdef");
    lines.SetSelection(1, 1);
    EXPECT_TRUE(lines.Key(kRightArrow, 0, cmdKey));
    EXPECT_EQ(lines.SelStart(), 3);
    lines.SetSelection(5, 5);
    lines.Key(kRightArrow, 0, cmdKey);
    EXPECT_EQ(lines.SelStart(), 7) << "the last line runs to the end";
    EXPECT_FALSE(lines.Key(0x1A, 0x1F, 0)) << "the last control character";
    EXPECT_FALSE(lines.Key(0x1B, 0x1B, 0));
    EXPECT_FALSE(lines.Key(0x1A, 0x7F, 0));
    EXPECT_TRUE(lines.Key(' ', u' ', 0));
    EXPECT_EQ(lines.Text(), u"abc\rdef ");
    lines.singleLine = true;
    EXPECT_FALSE(lines.Key(13, u'\r', 0));
    EXPECT_EQ(lines.Text(), u"abc\rdef ");
    lines.singleLine = false;
    EXPECT_TRUE(lines.Key(13, u'\r', 0));
    EXPECT_EQ(lines.Text(), u"abc\rdef \r");
}

TEST(TextEngine, ALineAsWideAsTheDestinationStaysWhole)
{
    ResetDrawingState();
    const int32_t wide = Plain(u"ab cd").WidthOf(0, 5);
    struct Case {
        int32_t width;
        size_t lines;
    };
    for (const Case& k : {Case{wide, 1}, Case{wide + 1, 1}, Case{wide - 1, 2}}) {
        TextEngine e = Plain(u"ab cd", k.width);
        EXPECT_EQ(e.Lines().size(), k.lines) << k.width;
    }
    // Right of a wrapped line the caret stands before its last space, not
    // at the start of the next line.
    TextEngine wrapped = Plain(u"ab cd", wide - 1);
    ASSERT_EQ(wrapped.Lines().size(), 2u);
    EXPECT_EQ(wrapped.Lines()[1].start, 3);
    EXPECT_EQ(wrapped.OffsetAt(wide + 50, 2), 2);
    EXPECT_EQ(wrapped.OffsetAt(wide + 50, wrapped.Lines()[1].top + 2), 5);
}

TEST(TextEngine, UpAndDownStopAtTheFirstAndLastLines)
{
    ResetDrawingState();
    TextEngine e = Plain(u"abc\rabc\rabc");
    struct Case {
        int32_t caret;
        uint8_t key;
        int32_t after;
    };
    const Case cases[] = {
        {1, kUpArrow, 0},     // the first line: to the text's start
        {9, kDownArrow, 11},  // the last line: to the text's end
        {5, kDownArrow, 9},   {9, kUpArrow, 5},
    };
    for (const Case& k : cases) {
        e.SetSelection(k.caret, k.caret);
        e.Key(k.key, 0, 0);
        EXPECT_EQ(e.SelStart(), k.after) << k.caret << " key " << int(k.key);
    }
}

TEST(TextEngine, AlignedLinesLeaveOutTheirTrailingSpacesAndClicksRoundToTheNearerEdge)
{
    ResetDrawingState();
    TextEngine e = Plain(u"ab   ");
    const int32_t word = e.WidthOf(0, 2);
    ASSERT_GT(word, 0);
    EXPECT_GT(e.WidthOf(0, 5), word) << "spaces have a width";
    EXPECT_EQ(e.Lines()[0].width, word);
    e.align = Alignment::Right;
    EXPECT_EQ(e.LineLeft(0), 400 - word);
    e.align = Alignment::Center;
    EXPECT_EQ(e.LineLeft(0), (400 - word) / 2);

    // The right half of a character puts the caret after it.
    TextEngine m = Plain(u"mil");
    for (int32_t i = 0; i < 3; ++i) {
        const int32_t x = m.WidthOf(0, i), a = m.WidthOf(i, i + 1);
        ASSERT_GT(a, 1) << i;
        EXPECT_EQ(m.OffsetAt(x + (a + 1) / 2 - 1, 5), i) << i;
        EXPECT_EQ(m.OffsetAt(x + (a + 1) / 2, 5), i + 1) << i;
    }
    bool inside = true;
    const int32_t all = m.WidthOf(0, 3);
    EXPECT_EQ(m.OffsetAt(all - 1, 5, &inside), 3);
    EXPECT_TRUE(inside);
    EXPECT_EQ(m.OffsetAt(all, 5, &inside), 3);
    EXPECT_FALSE(inside) << "the first pixel past the text";
    EXPECT_EQ(m.OffsetAt(all - 1, m.TotalHeight(), &inside), 3) << "below the last line: on it";
    EXPECT_FALSE(inside);
    m.OffsetAt(all - 1, m.TotalHeight() - 1, &inside);
    EXPECT_TRUE(inside);
}

TEST(TextEngine, EmptyLinesTakeTheFullLineHeightOfTheirStyle)
{
    ResetDrawingState();
    TextEngine full = Plain(u"x");
    const int16_t height = full.Lines()[0].height;
    ASSERT_GT(height, 0);
    TextEngine empty = Plain(u"");
    ASSERT_EQ(empty.Lines().size(), 1u);
    EXPECT_EQ(empty.Lines()[0].height, height);
    TextEngine trailing = Plain(u"x\r");
    ASSERT_EQ(trailing.Lines().size(), 2u) << "a return ends with an empty line";
    EXPECT_EQ(trailing.Lines()[1].height, height);
    EXPECT_EQ(trailing.Lines()[1].top, height);
    EXPECT_EQ(trailing.TotalHeight(), 2 * height);
}

}  // namespace
}  // namespace platform
