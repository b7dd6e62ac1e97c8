// Multilingual objects in a window, driven by scripted clicks and keys:
// data in both encodings, echo mode, controls, undo, positions, text boxes,
// and a scripted session that draws the same pixels every time.
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Memory.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/scrap/Scrap.h"
#include "platform/screen/Screen.h"
#include "platform/textedit/MultilingualText.h"
#include "platform/textedit/UnicodeTextBox.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform::testing {
namespace {

class TxnTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetMultilingualText();
        ResetScrap();
        oldFlags = QDSwapTextFlags(0);
        window = Document(20, 60, 420, 360);
        Settle();
        SetPortWindowPort(window);
    }
    void TearDown() override
    {
        QDSwapTextFlags(oldFlags);
        ResetScrap();
        WindowTest::TearDown();
    }
    TXNObject New(const Rect& frame, TXNFrameOptions options = 0)
    {
        TXNObject o = nullptr;
        TXNFrameID id = 0;
        EXPECT_EQ(TXNNewObject(nullptr, window, &frame, options | kOutputTextInUnicodeEncodingMask, 1,
                               0x7478746E, kTXNUnicodeEncoding, &o, &id, nullptr),
                  noErr);
        EXPECT_EQ(id, 1u);
        return o;
    }
    static std::u16string Text(TXNObject o)
    {
        Handle h = nullptr;
        EXPECT_EQ(TXNGetData(o, kTXNStartOffset, kTXNEndOffset, &h), noErr);
        std::u16string out(size_t(GetHandleSize(h)) / 2, u'\0');
        std::memcpy(out.data(), *h, out.size() * 2);
        DisposeHandle(h);
        return out;
    }
    static void Key(TXNObject o, uint8_t c, uint16_t modifiers = 0)
    {
        EventRecord e{keyDown, c, 0, {0, 0}, modifiers};
        TXNKeyDown(o, &e);
    }
    // The window's pixels inside a local rectangle.
    std::vector<uint32_t> Area(const Rect& r)
    {
        std::vector<uint32_t> out;
        CGrafPtr port = GetWindowPort(window);
        Surface s = MakeSurface(GetPortBitMapForCopyBits(port));
        for (int32_t v = r.top; v < r.bottom; ++v)
            for (int32_t h = r.left; h < r.right; ++h) out.push_back(s.ReadRGB(h, v));
        return out;
    }
    WindowRef window = nullptr;
    uint32_t oldFlags = 0;
};

TEST_F(TxnTest, DataReadsBackInBothEncodingsAndEchoModeHidesOnlyThePixels)
{
    TXNObject o = New({10, 10, 60, 300});
    const std::u16string text = u"caf\u00E9 \u03A9";
    ASSERT_EQ(TXNSetData(o, kTXNUnicodeTextData, text.data(), ByteCount(text.size() * 2 + 1), kTXNStartOffset,
                         kTXNEndOffset),
              noErr);  // the odd byte is dropped
    EXPECT_EQ(Text(o), text);
    EXPECT_EQ(TXNDataSize(o), text.size() * 2);
    Handle roman = nullptr;
    ASSERT_EQ(TXNGetDataEncoded(o, kTXNStartOffset, kTXNEndOffset, &roman, kTXNTextData), noErr);
    ASSERT_EQ(GetHandleSize(roman), 6);
    EXPECT_EQ(uint8_t((*roman)[3]), 0x8E);  // é
    EXPECT_EQ(uint8_t((*roman)[5]), 0xBD);  // Ω
    DisposeHandle(roman);
    // Offsets past the end clamp; unknown types are refused.
    ASSERT_EQ(TXNSetData(o, kTXNTextData, "!", 1, 999, 999), noErr);
    EXPECT_EQ(Text(o), text + u"!");
    EXPECT_EQ(TXNSetData(o, 0x50494354, "x", 1, 0, 0), kTXNDataTypeNotAllowedErr);

    // Echo mode draws bullets while the data stays the text.
    TXNObject shown = New({70, 10, 120, 300});
    const std::u16string bullets(6, u'\u2022');
    TXNSetData(o, kTXNUnicodeTextData, u"secret", 12, kTXNStartOffset, kTXNEndOffset);
    TXNSetData(shown, kTXNUnicodeTextData, bullets.data(), 12, kTXNStartOffset, kTXNEndOffset);
    ASSERT_EQ(TXNEchoMode(o, 0x2022, 0x103, true), noErr);
    TXNDraw(o, nullptr);
    TXNDraw(shown, nullptr);
    EXPECT_EQ(Area({10, 10, 30, 120}), Area({70, 10, 90, 120}));
    EXPECT_EQ(Text(o), u"secret");
    TXNSetSelection(o, 0, 6);
    EXPECT_EQ(TXNCopy(o), kTXNCopyNotAllowedInEchoModeErr);
    TXNDeleteObject(o);
    TXNDeleteObject(shown);
}

TEST_F(TxnTest, RangesGivenBackwardsOrPastTheEndAndLinesPastTheLast)
{
    TXNObject o = New({10, 10, 60, 300});
    ASSERT_EQ(TXNSetData(o, kTXNTextData, "abcdef", 6, kTXNStartOffset, kTXNEndOffset), noErr);
    struct Case {
        TXNOffset start, end;
        const char16_t* data;
    };
    const Case cases[] = {{1, 3, u"bc"}, {3, 1, u"bc"}, {4, 99, u"ef"}, {6, 6, u""}, {0, 6, u"abcdef"}};
    for (const Case& k : cases) {
        Handle h = nullptr;
        ASSERT_EQ(TXNGetData(o, k.start, k.end, &h), noErr);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(*h), size_t(GetHandleSize(h)) / 2), k.data)
            << k.start << ".." << k.end;
        DisposeHandle(h);
        ASSERT_EQ(TXNSetSelection(o, k.start, k.end), noErr);
        TXNOffset a = 9, b = 9;
        TXNGetSelection(o, &a, &b);
        EXPECT_EQ(b - a, std::u16string(k.data).size()) << k.start << ".." << k.end;
    }
    ItemCount lines = 0;
    ASSERT_EQ(TXNGetLineCount(o, &lines), noErr);
    ASSERT_EQ(lines, 1u);
    Fixed width = 0, height = 0;
    EXPECT_EQ(TXNGetLineMetrics(o, 0, &width, &height), noErr);
    EXPECT_GT(width, 0);
    EXPECT_EQ(TXNGetLineMetrics(o, 1, &width, &height), kTXNOutsideOfLineErr) << "just past the last line";
    // The frame's last pixel is inside it, the next one outside.
    TXNOffset at = 0;
    EXPECT_EQ(TXNPointToOffset(o, Point{59, 12}, &at), kTXNOutsideOfLineErr);
    EXPECT_EQ(TXNPointToOffset(o, Point{60, 12}, &at), kTXNOutsideOfFrameErr);
    EXPECT_EQ(TXNPointToOffset(o, Point{12, 299}, &at), kTXNOutsideOfLineErr);
    EXPECT_EQ(TXNPointToOffset(o, Point{12, 300}, &at), kTXNOutsideOfFrameErr);
    EXPECT_EQ(TXNPointToOffset(o, Point{12, 10}, &at), noErr);
    EXPECT_EQ(at, 0u);
    TXNDeleteObject(o);
}

TEST_F(TxnTest, ControlsRefuseKeysUnwrapAndCentre)
{
    TXNObject o = New({10, 10, 110, 80});
    TXNFocus(o, true);
    TXNSetData(o, kTXNUnicodeTextData, u"one two three four", 36, 0, 0);
    ItemCount lines = 0;
    TXNGetLineCount(o, &lines);
    EXPECT_GT(lines, 1u);

    const TXNControlTag wrapTag[] = {kTXNWordWrapStateTag};
    TXNControlData one[] = {{1}};
    ASSERT_EQ(TXNSetTXNObjectControls(o, false, 1, wrapTag, one), noErr);
    TXNGetLineCount(o, &lines);
    EXPECT_EQ(lines, 1u);
    TXNControlData got[1] = {};
    TXNGetTXNObjectControls(o, 1, wrapTag, got);
    EXPECT_EQ(got[0].uValue, 1u);

    const TXNControlTag readOnly[] = {kTXNIOPrivilegesTag};
    TXNSetTXNObjectControls(o, false, 1, readOnly, one);
    TXNSetSelection(o, kTXNEndOffset, kTXNEndOffset);
    Key(o, 'x');
    Key(o, 8);
    EXPECT_EQ(Text(o), u"one two three four");
    EXPECT_EQ(TXNPaste(o), noErr);
    EXPECT_EQ(Text(o), u"one two three four");

    // Centred: the line's left edge is half the spare room in.
    TXNObject c = New({130, 10, 160, 210});
    TXNSetData(c, kTXNUnicodeTextData, u"mid", 6, 0, 0);
    const TXNControlTag just[] = {kTXNJustificationTag};
    TXNControlData centre[] = {{kTXNCenter}};
    TXNSetTXNObjectControls(c, false, 1, just, centre);
    Point p{};
    ASSERT_EQ(TXNOffsetToPoint(c, 0, &p), noErr);
    Fixed width = 0, height = 0;
    ASSERT_EQ(TXNGetLineMetrics(c, 0, &width, &height), noErr);
    EXPECT_EQ(p.h, 10 + (200 - (width >> 16)) / 2);
    EXPECT_EQ(p.v, 130);
    // Outside the frame, and beside the text inside it: errors.
    TXNOffset at = 0;
    EXPECT_EQ(TXNPointToOffset(c, Point{300, 300}, &at), kTXNOutsideOfFrameErr);
    EXPECT_EQ(TXNPointToOffset(c, Point{135, 12}, &at), kTXNOutsideOfLineErr);
    EXPECT_EQ(TXNPointToOffset(c, Point{int16_t(135), int16_t(p.h + 1)}, &at), noErr);
    EXPECT_EQ(at, 0u);
    TXNDeleteObject(o);
    TXNDeleteObject(c);
}

TEST_F(TxnTest, UndoTakesBackTypingAsOneStepAndRedoPutsItBack)
{
    TXNObject o = New({10, 10, 110, 200});
    TXNFocus(o, true);
    const uint32_t before = TXNGetChangeCount(o);
    Key(o, 'a');
    Key(o, 'b');
    Key(o, 'c');
    EXPECT_EQ(Text(o), u"abc");
    EXPECT_EQ(TXNGetChangeCount(o) - before, 3u);
    TXNActionKey action = 99;
    ASSERT_TRUE(TXNCanUndo(o, &action));
    EXPECT_EQ(action, kTXNTypingAction);
    TXNUndo(o);
    EXPECT_EQ(Text(o), u"");
    EXPECT_FALSE(TXNCanUndo(o, nullptr));
    ASSERT_TRUE(TXNCanRedo(o, nullptr));
    TXNRedo(o);
    EXPECT_EQ(Text(o), u"abc");
    // A cut is its own step; undoing it brings the text back selected.
    TXNSetSelection(o, 0, 2);
    EXPECT_EQ(TXNCut(o), noErr);
    EXPECT_EQ(Text(o), u"c");
    TXNUndo(o);
    EXPECT_EQ(Text(o), u"abc");
    TXNOffset s = 0, e = 0;
    TXNGetSelection(o, &s, &e);
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(e, 2u);
    // Paste takes the scrap's 'utxt'.
    TXNSetSelection(o, 3, 3);
    EXPECT_EQ(TXNPaste(o), noErr);
    EXPECT_EQ(Text(o), u"abcab");
    // Backspace over just-typed text shrinks the same step.
    Key(o, 'z');
    Key(o, 8);
    Key(o, 'y');
    TXNUndo(o);
    EXPECT_EQ(Text(o), u"abcab");
    // The paste undone and done again brings back what it inserted.
    TXNUndo(o);
    EXPECT_EQ(Text(o), u"abc");
    TXNRedo(o);
    EXPECT_EQ(Text(o), u"abcab");
    TXNDeleteObject(o);
}

TEST_F(TxnTest, StylesOfTheSelectionReportMixedAttributes)
{
    TXNObject o = New({10, 10, 110, 300});
    TXNSetData(o, kTXNUnicodeTextData, u"plain bold", 20, 0, 0);
    TXNTypeAttributes boldFace{kTXNQDFontStyleAttribute, 1, {}};
    boldFace.data.dataValue = bold;
    ASSERT_EQ(TXNSetTypeAttributes(o, 1, &boldFace, 6, 10), noErr);
    TXNSetSelection(o, 0, 10);
    TXNContinuousFlags flags = 0;
    TXNTypeAttributes ask[2] = {{kTXNQDFontStyleAttribute, 1, {}}, {kTXNQDFontSizeAttribute, 4, {}}};
    ASSERT_EQ(TXNGetContinuousTypeAttributes(o, &flags, 2, ask), noErr);
    EXPECT_EQ(flags & kTXNStyleContinuousMask, 0u);
    EXPECT_NE(flags & kTXNSizeContinuousMask, 0u);
    EXPECT_EQ(ask[1].data.dataValue, uint32_t(12 << 16));
    TXNSetSelection(o, 6, 10);
    TXNGetContinuousTypeAttributes(o, &flags, 1, ask);
    EXPECT_NE(flags & kTXNStyleContinuousMask, 0u);
    EXPECT_EQ(ask[0].data.dataValue, uint32_t(bold));
    TXNTypeAttributes unknown{0x78787878, 4, {}};
    EXPECT_EQ(TXNSetTypeAttributes(o, 1, &unknown, 0, 1), kTXNAttributeTagInvalidForRunErr);
    TXNDeleteObject(o);
}

TEST_F(TxnTest, UnicodeTextBoxesMeasureWrappedAndUnwrappedAndAlign)
{
    ATSUStyle style = nullptr;
    ASSERT_EQ(ATSUCreateStyle(&style), noErr);
    const ATSUFontID font = 1;
    const Fixed size = 12 << 16;
    const ATSUAttributeTag tags[] = {kATSUFontTag, kATSUSizeTag};
    const ByteCount sizes[] = {sizeof font, sizeof size};
    const ConstATSUAttributeValuePtr values[] = {&font, &size};
    ASSERT_EQ(ATSUSetAttributes(style, 2, tags, sizes, values), noErr);
    const ATSUAttributeTag bad[] = {kATSUSizeTag};
    const ByteCount badSize[] = {2};
    EXPECT_EQ(ATSUSetAttributes(style, 1, bad, badSize, values + 1), kATSUInvalidAttributeSizeErr);

    const std::u16string text = u"abc def";
    TXNTextBoxOptionsData measure{kTXNSetFlushnessMask | kTXNDontDrawTextMask, 0, 0, 0, nullptr};
    Rect box{0, 0, 100, 30};
    ASSERT_EQ(TXNDrawUnicodeTextBox(text.data(), UniCharCount(text.size()), &box, style, &measure), noErr);
    const int32_t wrapped = box.bottom - box.top;
    TXNTextBoxOptionsData unwrapped = measure;
    unwrapped.optionTags |= kTXNDontWrapTextMask;
    box = {0, 0, 100, 30};
    TXNDrawUnicodeTextBox(text.data(), UniCharCount(text.size()), &box, style, &unwrapped);
    const int32_t single = box.bottom - box.top;
    EXPECT_GT(single, 0);
    EXPECT_EQ(wrapped, 2 * single);
    const int32_t width = box.right - box.left;
    // Drawn end-aligned and centred in a 200-pixel box: the bounds say where.
    TXNTextBoxOptionsData right{kTXNSetFlushnessMask, kATSUEndAlignment, 0, 0, nullptr};
    box = {10, 0, 40, 200};
    TXNDrawUnicodeTextBox(text.data(), UniCharCount(text.size()), &box, style, &right);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.left, 200 - width);
    TXNTextBoxOptionsData centre{kTXNSetFlushnessMask, kATSUCenterAlignment, 0, 0, nullptr};
    box = {50, 0, 80, 200};
    TXNDrawUnicodeTextBox(text.data(), UniCharCount(text.size()), &box, style, &centre);
    EXPECT_EQ(box.left, (200 - width) / 2);
    ATSUDisposeStyle(style);
}

TEST_F(TxnTest, ScrollingByCallAndByTheBarStaysWithinTheText)
{
    const Rect frame{10, 10, 110, 200};
    TXNObject o = New(frame, kTXNWantVScrollBarMask);
    TXNFocus(o, true);
    std::u16string text;
    for (int i = 0; i < 30; ++i) text += u"line\r";
    TXNSetData(o, kTXNUnicodeTextData, text.data(), ByteCount(text.size() * 2), 0, 0);
    TXNSetSelection(o, 0, 0);
    TXNShowSelection(o, false);
    Fixed lineHeight = 0;
    TXNGetLineMetrics(o, 0, nullptr, &lineHeight);
    const int32_t lh = lineHeight >> 16;
    int32_t v = 2, h = 0;
    ASSERT_EQ(TXNScroll(o, kTXNScrollUnitsInLines, kTXNScrollUnitsInPixels, &v, &h), noErr);
    EXPECT_EQ(v, 2 * lh);
    EXPECT_EQ(h, 0);  // wrapped text has nothing to scroll sideways
    v = 100000;
    TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, nullptr);
    Point p{};
    TXNOffsetToPoint(o, TXNOffset(text.size()), &p);
    EXPECT_EQ(p.v + lh, frame.bottom);  // the last (empty) line at the bottom

    // The bar's up arrow, pressed for a few ticks, scrolls a line a tick;
    // the thumb dragged to the top brings the first line back.
    Point before{};
    TXNOffsetToPoint(o, 0, &before);
    HeadlessRun arrow(Script().Press(20 + 192, 60 + 12).Wait(2).Release());
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    TXNClick(o, &e);
    Point after{};
    TXNOffsetToPoint(o, 0, &after);
    EXPECT_GT(after.v, before.v);
    EXPECT_EQ((after.v - before.v) % lh, 0);
    // Released, the arrow is drawn as a full redraw draws it; larger type
    // redraws the bar for the taller text at once.
    const Rect bar{10, 184, 110, 200};
    const std::vector<uint32_t> released = Area(bar);
    TXNDraw(o, nullptr);
    EXPECT_EQ(Area(bar), released);
    TXNTypeAttributes size{kTXNQDFontSizeAttribute, 4, {}};
    size.data.dataValue = uint32_t(24) << 16;
    ASSERT_EQ(TXNSetTypeAttributes(o, 1, &size, 0, TXNOffset(text.size())), noErr);
    const std::vector<uint32_t> taller = Area(bar);
    EXPECT_NE(taller, released);
    TXNDraw(o, nullptr);
    EXPECT_EQ(Area(bar), taller);
    TXNDeleteObject(o);

    // The sideways bar's right arrow scrolls right.
    TXNObject wide = New(frame, kTXNWantHScrollBarMask);
    TXNFocus(wide, true);
    const TXNControlTag tag = kTXNWordWrapStateTag;
    TXNControlData noWrap{};
    noWrap.uValue = 1;
    ASSERT_EQ(TXNSetTXNObjectControls(wide, false, 1, &tag, &noWrap), noErr);
    const std::u16string line = u"a line far wider than the view of this object";
    TXNSetData(wide, kTXNUnicodeTextData, line.data(), ByteCount(line.size() * 2), 0, 0);
    TXNSetSelection(wide, 0, 0);
    TXNShowSelection(wide, false);
    TXNOffsetToPoint(wide, 0, &before);
    HeadlessRun right(Script().Press(20 + 195, 60 + 100).Release());
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    TXNClick(wide, &e);
    TXNOffsetToPoint(wide, 0, &after);
    EXPECT_LT(after.h, before.h);
    TXNDeleteObject(wide);
}

// A scripted session: click into the field, type 200 characters, select
// by dragging, make it bold, scroll with the bar. Answers the screen.
std::vector<uint32_t> Session(TXNObject o)
{
    TXNFocus(o, true);
    TXNActivate(o, 1, kScrollBarsAlwaysActive);
    TXNDraw(o, nullptr);
    std::string typed;
    for (int i = 0; i < 200; ++i) typed.push_back(i % 7 == 6 ? ' ' : char('a' + i % 26));
    Script script;
    script.Click(100, 100).Type(typed).Drag(90, 90, 200, 130, 8);
    script.Click(412, 100).Click(412, 100);  // the bar's lower track, twice
    HeadlessRun run(script);
    EventRecord e{};
    bool bolded = false;
    for (int idle = 0; idle < 40;) {
        if (WaitNextEvent(mDownMask | keyDownMask, &e, 1, nullptr)) {
            idle = 0;
            if (e.what == mouseDown) TXNClick(o, &e);
            else TXNKeyDown(o, &e);
            TXNOffset s = 0, end = 0;
            TXNGetSelection(o, &s, &end);
            if (!bolded && end > s) {
                TXNTypeAttributes b{kTXNQDFontStyleAttribute, 1, {}};
                b.data.dataValue = bold;
                TXNSetTypeAttributes(o, 1, &b, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
                bolded = true;
            }
        } else if (run.backend->ScriptOver()) {
            ++idle;
        }
    }
    EXPECT_TRUE(bolded);
    EXPECT_EQ(TXNDataSize(o), 400u);
    const PixMap* pm = ComposeScreen();
    const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
    return std::vector<uint32_t>(p, p + size_t(pm->rowBytes & kRowBytesMask) / 4 * size_t(pm->bounds.bottom));
}

TEST_F(TxnTest, AScriptedSessionDrawsTheSameScreenTwice)
{
    const Rect frame{10, 10, 60, 400};
    TXNObject first = New(frame, kTXNWantVScrollBarMask);
    const std::vector<uint32_t> a = Session(first);
    TXNDeleteObject(first);
    EraseRect(&frame);
    TXNObject second = New(frame, kTXNWantVScrollBarMask);
    const std::vector<uint32_t> b = Session(second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b);
    // The session scrolled: the first line is above the view.
    Point p{};
    TXNOffsetToPoint(second, 0, &p);
    EXPECT_LT(p.v, frame.top);
    TXNDeleteObject(second);
}

}  // namespace
}  // namespace platform::testing
