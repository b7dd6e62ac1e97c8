#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/ThemeText.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "toolbox/drawing/MacRomanRun.h"
#include "toolbox/drawing/VFontBuffer.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/foundation/intl/VIntlConverterData.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"

using namespace paintertest;

namespace {

// What reaches the port's text procedures: where each run starts, its
// bytes and the port's size then, and how many measures are taken.
struct TextLog {
    std::vector<platform::Point> pens;
    std::vector<int16_t> sizes;
    std::string bytes;
    int32_t measures = 0;
};
TextLog* gLog = nullptr;

void LogText(int16_t count, const void* text, platform::Point numer, platform::Point denom)
{
    platform::Point pen;
    platform::GetPen(&pen);
    gLog->pens.push_back(pen);
    gLog->sizes.push_back(platform::GetPortTextSize(platform::GetQDGlobalsThePort()));
    gLog->bytes.append(static_cast<const char*>(text), size_t(count));
    platform::StdText(count, text, numer, denom);
}

int16_t LogMeasure(int16_t count, const void* text, platform::Point* numer, platform::Point* denom,
                   platform::FontInfo* info)
{
    if (count > 0) ++gLog->measures;
    return platform::StdTxMeas(count, text, numer, denom, info);
}

class TextPainter : public VPainter {
public:
    using VPainter::fTextPos;
    using VPainter::VPainter;
};

VStr<255> Str(const char* text)
{
    VStr<255> s;
    s.FromCString(reinterpret_cast<const uint8_t*>(text), kCharSetMac);
    return s;
}

// Colours by index as the tests want them; Paint answers as told.
class BoxLook : public TestLook {
public:
    explicit BoxLook(bool paints) : paints_(paints) {}
    bool Paint(VPainter*, PaintMethod, PaintStatus, int32_t, int32_t, int32_t, int32_t, const VString*,
               void*) override
    {
        ++paints;
        return paints_;
    }
    uint32_t GetStdColor(StdColor color) override
    {
        if (color == 0) return 0xDDEEFF;  // 0x00BBGGRR
        if (color == 10) return 0x332211;
        return TestLook::GetStdColor(color);
    }
    int32_t paints = 0;

private:
    bool paints_;
};

class PainterTextTest : public PainterTest {
protected:
    void SetUp() override
    {
        PainterTest::SetUp();
        gLookHandlers[5] = new TestLook;
        gLog = &log;
        procs.textProc = LogText;
        procs.txMeasProc = LogMeasure;
        previousFlags = platform::QDSwapTextFlags(0);  // one-bit glyphs: exact pixels
    }
    void TearDown() override
    {
        platform::QDSwapTextFlags(previousFlags);
        gLog = nullptr;
        PainterTest::TearDown();
    }
    void Watch(platform::CGrafPtr port) { port->grafProcs = &procs; }
    // The width of a run in the font the painter applied to the port.
    static int16_t PortWidth(platform::CGrafPtr port, const char* text, int16_t size = 0)
    {
        platform::SetGWorld(port, nullptr);
        if (size) platform::TextSize(size);
        return platform::TextWidth(text, 0, int16_t(std::strlen(text)));
    }

    TextLog log;
    platform::QDProcs procs;
    uint32_t previousFlags = 0;
};

TEST_F(PainterTextTest, RunsStartAtTheTextPositionAndLeaveItAtTheirEnd)
{
    World port(200, 100);
    Watch(port.get());
    TextPainter painter(port.get(), true);
    painter.SetFont(Str("Geneva"));
    painter.SetFontSize(12);
    painter.AddOffset(5, 5);
    painter.SetTextPos(10, 20);
    painter.DrawText("Wil", 3, kCharSetMac, 1.0);
    ASSERT_EQ(log.pens.size(), 1u);
    EXPECT_EQ(log.pens[0].h, 15);
    EXPECT_EQ(log.pens[0].v, 25);
    double x, y;
    painter.GetTextPos(x, y);
    EXPECT_EQ(x, 10 + PortWidth(port.get(), "Wil"));
    EXPECT_EQ(y, 20);
    EXPECT_EQ(painter.GetTextAdvance(), 0);
    EXPECT_EQ(painter.GetTextWidth("Wil", 0, kCharSetMac, 1.0), 0.0f);
    EXPECT_EQ(painter.GetTextWidth("Wil", 3, kCharSetMac, 2.0), 2.0f * PortWidth(port.get(), "Wil", 12));
}

TEST_F(PainterTextTest, ScaledRunsPlaceEachCharacterAtItsScaledAdvance)
{
    for (double scale : {2.0, 1.5, 1.25}) {
        World port(300, 100);
        Watch(port.get());
        TextPainter painter(port.get(), true);
        painter.SetFont(Str("Geneva"));
        painter.SetFontSize(13);
        painter.SetTextPos(10, 30);
        log = TextLog{};
        painter.DrawText("Wilma", 5, kCharSetMac, scale);
        ASSERT_EQ(log.pens.size(), 5u);
        // Each character at the rounded scaled sum of the advances before
        // it: the rounding never accumulates.
        platform::SetGWorld(port.get(), nullptr);
        platform::TextSize(13);
        int16_t locs[6];
        platform::MeasureText(5, "Wilma", locs);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(log.pens[size_t(i)].h, std::lround(10 + scale * locs[i])) << scale << " char " << i;
            EXPECT_EQ(log.sizes[size_t(i)], int16_t(13 * scale));
        }
        double x, y;
        painter.GetTextPos(x, y);
        EXPECT_EQ(x, std::round(10 + scale * locs[5]));
        EXPECT_NEAR(painter.GetTextAdvance(), 10 + scale * locs[5] - x, 1e-9);
        // The next plain run is drawn at the recorded size again.
        log = TextLog{};
        painter.DrawText("a", 1, kCharSetMac, 1.0);
        ASSERT_EQ(log.sizes.size(), 1u);
        EXPECT_EQ(log.sizes[0], 13);
    }
}

TEST_F(PainterTextTest, CharacterWidthsAreMeasuredOncePerFontAndSize)
{
    World port(100, 100);
    Watch(port.get());
    TextPainter painter(port.get(), true);
    painter.SetFont(Str("Geneva"));
    painter.SetFontSize(12);
    const float first = painter.GetTextWidth(char16_t(u'\u00E9'), 1.0);
    EXPECT_GT(first, 0.0f);
    EXPECT_EQ(log.measures, 1);
    EXPECT_EQ(painter.GetTextWidth(char16_t(u'\u00E9'), 1.0), first);
    EXPECT_EQ(log.measures, 1) << "cached";
    EXPECT_EQ(first, PortWidth(port.get(), "\x8E"));
    log.measures = 0;

    // Another size: the widths of the old one are no use.
    const int16_t at24 = PortWidth(port.get(), "\x8E", 24);
    log.measures = 0;
    EXPECT_EQ(painter.GetTextWidth(char16_t(u'\u00E9'), 2.0), at24);
    EXPECT_EQ(log.measures, 1);
    EXPECT_EQ(painter.GetTextWidth(char16_t(u'\u00E9'), 1.0), first) << "replaced, not reused";
    EXPECT_EQ(log.measures, 2);

    const int16_t ascent = painter.GetFontAscent();
    painter.SetFontSize(30);
    EXPECT_GT(painter.GetFontAscent(), ascent) << "new metrics with the new size";
    EXPECT_GT(painter.GetTextWidth(char16_t(u'\u00E9'), 1.0), first);
    EXPECT_EQ(log.measures, 3);
    EXPECT_GT(painter.GetFontHeight(), painter.GetFontAscent());
    EXPECT_FALSE(painter.IsSymbolFont());
}

TEST_F(PainterTextTest, AFontBufferFreesTheWidthPagesItFilled)
{
    World port(100, 100);
    TextPainter painter(port.get(), true);
    painter.SetFontSize(12);
    const char16_t chars[] = {char16_t(0x00FF), u'\u2022'};
    float widths[2];
    for (int i = 0; i < 2; ++i) widths[i] = painter.GetTextWidth(chars[i], 1.0);
    const size_t before = platform::LivePtrCount();
    {
        VFontBuffer buffer(0, 0, 12, 0);
        {
            platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0);
            EXPECT_EQ(buffer.GetUnicharWidth(u'a', &painter, port.get(), 1.0), 0) << "no page, no width";
        }
        // The last character of a page is measured like the first.
        for (int i = 0; i < 2; ++i) EXPECT_EQ(buffer.GetUnicharWidth(chars[i], &painter, port.get(), 1.0), widths[i]);
        EXPECT_EQ(platform::LivePtrCount(), before + 2) << "a page for each";
    }
    EXPECT_EQ(platform::LivePtrCount(), before);
}

TEST_F(PainterTextTest, SavedTextPositionsComeBackWithoutTheirFraction)
{
    World port(10, 10);
    TextPainter painter(port.get(), true);
    painter.fTextPos = {12.6, 0.4, 7.2};
    painter.SaveTextPos();
    painter.SetTextPos(50, 60);
    painter.RestoreTextPos();
    double x, y;
    painter.GetTextPos(x, y);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 7);
    EXPECT_EQ(painter.GetTextAdvance(), 0);
    painter.RestoreTextPos();
    painter.GetTextPos(x, y);
    EXPECT_EQ(x, 0) << "an empty stack gives zeros";
}

// The shipped converters, so that UTF-16 text finds its Mac Roman bytes.
class IntlRoot {
public:
    IntlRoot()
    {
        platform::ResetResourceManager();
        const std::string path = dir_ / "tables.rsrc";
        platform::FSpCreateResFile(platform::FSSpec{path}, 0, 0, 0, platform::ResFileFork::Data);
        platform::OpenResFile(path, platform::fsRdWrPerm, platform::ResFileFork::Data);
        VIntlManagerRoot::Reset();
        const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
        SetConverterFolder(std::string(root ? root : ".") + "/resources/extensions/Language Support");
        VIntlManagerRoot::Init(0x409);
    }
    ~IntlRoot()
    {
        VIntlManagerRoot::Reset();
        SetConverterFolder("");
        platform::ResetResourceManager();
    }

private:
    platform::testing::TempFolder dir_;
};

TEST_F(PainterTextTest, AnsiAndUnicodeRunsDrawAsMacRoman)
{
    IntlRoot intl;
    for (int32_t length : {10, 2000}) {
        std::string ansi, mac;
        std::u16string uni;
        for (int32_t i = 0; i < length; ++i) {
            const int k = i % 3;
            ansi += k == 0 ? 'a' : k == 1 ? '\xE9' : '\x80';
            mac += k == 0 ? 'a' : k == 1 ? '\x8E' : '\xDB';
            uni += k == 0 ? u'a' : k == 1 ? u'\u00E9' : u'\u20AC';
        }
        World port(100, 40);
        Watch(port.get());
        VPainter painter(port.get(), true);
        log = TextLog{};
        painter.DrawText(ansi.data(), length, kCharSetAnsi, 1.0);
        EXPECT_EQ(log.bytes, mac) << length;
        log = TextLog{};
        painter.SetTextPos(0, 0);
        painter.DrawText(uni.data(), length, kCharSetUnicode, 1.0);
        EXPECT_EQ(log.bytes, mac) << length;
        EXPECT_EQ(painter.GetTextWidth(uni.data(), length, kCharSetUnicode, 1.0),
                  painter.GetTextWidth(mac.data(), length, kCharSetMac, 1.0));
        VText text;
        text.FromUniCString(uni.c_str());
        log = TextLog{};
        painter.DrawText(text);
        EXPECT_EQ(log.bytes, mac);
    }
}

// Before any international manager: ASCII passes, the rest becomes '?',
// and neither the count nor the room is overrun.
TEST(MacRomanFromUnicodeAlone, AsciiPassesAndTheRoomIsKept)
{
    VIntlMgr* saved = gDefaultIntl;
    gDefaultIntl = nullptr;
    const char16_t text[] = u"A\u007F\u0080\u00E9z";
    struct Case {
        int32_t count, room;
        std::vector<uint8_t> out;
    };
    for (const Case& c : {Case{5, 8, {'A', 0x7F, '?', '?', 'z'}}, Case{5, 3, {'A', 0x7F, '?'}},
                          Case{2, 8, {'A', 0x7F}}, Case{0, 8, {}}}) {
        uint8_t buffer[8];
        std::fill(buffer, buffer + 8, 0xEE);
        const char16_t* src = text;
        uint8_t* dst = buffer;
        MacRomanFromUnicode(src, dst, buffer + c.room, c.count);
        EXPECT_EQ(std::vector<uint8_t>(buffer, dst), c.out) << c.count << " in " << c.room;
        EXPECT_EQ(src - text, std::ptrdiff_t(c.out.size()));
        EXPECT_EQ(buffer[c.out.size()], 0xEE) << "nothing written past the converted units";
    }
    gDefaultIntl = saved;
}

// --- boxes ---------------------------------------------------------------

// The ink of a port: rows and columns holding anything but the colour.
struct Ink {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
};
Ink InkOf(platform::CGrafPtr port, int32_t w, int32_t h, uint32_t paper)
{
    Ink ink;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            if (PixelAt(port, x, y) != paper) {
                ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x + 1);
                ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y + 1);
            }
    return ink;
}

TEST_F(PainterTextTest, EmptyBoxesAndTextsDrawNothing)
{
    World port(100, 100);
    VPainter painter(port.get(), true);
    painter.DrawTextBox(Str("Hello"), 0, 0, 10, 10, 0, 40, false);
    painter.DrawTextBox(Str("Hello"), 0, 0, 10, 10, 40, 0, true);
    painter.DrawTextBox(Str(""), 0, 0, 10, 10, 40, 40, false);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 100, 100), 0);
}

TEST_F(PainterTextTest, WrappedBoxesAreAsTallAsTheirLinesAndCentred)
{
    World port(300, 300);
    VPainter painter(port.get(), true);
    painter.SetTextColor(kBlack);
    painter.SetFont(Str("Geneva"));
    painter.SetFontSize(12);
    const char* words = "one two three four five six seven eight nine";
    const int32_t tw = int32_t(painter.GetTextWidth(words, int32_t(std::strlen(words)), kCharSetMac, 1.0));
    const int32_t lh = painter.GetFontHeight();
    const int32_t w = tw / 2, h = 8 * lh;
    ASSERT_EQ(tw / w, 2);
    painter.DrawTextBox(Str(words), 0, 1, 20, 30, w, h, false);
    // Three lines' height, centred: the ink lies within them and reaches
    // the second line.
    const int32_t top = 30 + (h - 3 * lh) / 2;
    const Ink ink = InkOf(port.get(), 300, 300, kWhite);
    EXPECT_GE(ink.top, top);
    EXPECT_LE(ink.bottom, top + 3 * lh);
    EXPECT_GT(ink.bottom, top + lh) << "wrapped";
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + w);
}

TEST_F(PainterTextTest, TransparentBoxesKeepTheirBackground)
{
    World port(200, 60);
    platform::SetGWorld(port.get(), nullptr);
    const platform::RGBColor blue{0, 0, 0xFFFF};
    platform::RGBForeColor(&blue);
    const platform::Rect all{0, 0, 60, 200};
    platform::PaintRect(&all);
    VPainter painter(port.get(), true);
    painter.SetTextColor(kBlack);
    painter.DrawTextBox(Str("Over blue"), 0, 0, 10, 10, 150, 40, false);
    EXPECT_EQ(PixelAt(port.get(), 158, 48), 0x0000FF) << "the box is not erased";
    EXPECT_EQ(CountNot(port.get(), 0x0000FF, 0, 0, 200, 60) > 0, true);
    // The platform's own box erases: the transparent one is what differs.
    platform::SetGWorld(port.get(), nullptr);
    const platform::Rect box{10, 10, 50, 160};
    platform::TETextBox("Over blue", 9, &box, platform::teFlushDefault);
    EXPECT_NE(PixelAt(port.get(), 158, 48), 0x0000FF);
}

class AnglePainter : public VPainter {
public:
    using VPainter::VPainter;
    void SetAngle(float angle) { fTextAngle = angle; }
};

TEST_F(PainterTextTest, ClippedAndTurnedTransparentBoxes)
{
    const char* text = "WWWWWWWWWW";
    {
        World port(200, 60);
        AnglePainter painter(port.get(), true);
        painter.SetTextColor(kBlack);
        painter.SetFontSize(20);
        painter._UpdateFont(7, 1.0);
        const LongRect box{10, 10, 50, 190}, clip{0, 0, 60, 60};
        painter._TransparentTextBox(text, 10, box, 0, &clip, false);
        const Ink ink = InkOf(port.get(), 200, 60, kWhite);
        EXPECT_LE(ink.right, 60) << "cut at the clip";
        EXPECT_GT(ink.right, 40);
    }
    {
        World port(200, 200);
        AnglePainter painter(port.get(), true);
        painter.SetTextColor(kBlack);
        painter.SetEraseColor(kWhite);
        painter.SetFontSize(20);
        painter.SetAngle(90);
        const LongRect box{150, 80, 180, 200};
        painter._TransparentTextBox(text, 10, box, 0, nullptr, true);
        // A quarter turn left: the line runs upward from the box's corner.
        const Ink ink = InkOf(port.get(), 200, 200, kWhite);
        ASSERT_LT(ink.left, ink.right);
        EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
        painter.SetAngle(0);
        World flat(200, 200);
        AnglePainter level(flat.get(), true);
        level.SetTextColor(kBlack);
        level.SetFontSize(20);
        level._TransparentTextBox(text, 10, box, 0, nullptr, true);
        const Ink along = InkOf(flat.get(), 200, 200, kWhite);
        EXPECT_GT(along.right - along.left, 2 * (along.bottom - along.top)) << "no angle: drawn as it is";
    }
}

TEST_F(PainterTextTest, ThemeBoxesAreCutWithAnEllipsisAndCentredOnce)
{
    const char* label = "A label far too long for its box";
    for (int32_t w : {60, 400}) {
        World port(420, 80), expected(420, 80);
        VPainter painter(port.get(), true);
        painter.SetTextColor(kBlack);
        painter.DrawTextBox(Str(label), 1, 1, 10, 20, w, 40, true);

        // The same label placed by hand: cut to the width, centred in both
        // directions, drawn flush left from there.
        platform::SetGWorld(expected.get(), nullptr);
        platform::TextFont(platform::GetPortTextFont(port.get()));
        platform::TextSize(platform::GetPortTextSize(port.get()));
        platform::TextFace(platform::GetPortTextFace(port.get()));
        std::u16string text;
        for (const char* c = label; *c; ++c) text += char16_t(*c);
        platform::Point size{0, 0};
        platform::GetThemeTextDimensions(text, platform::kThemeCurrentPortFont, 1, false, &size, nullptr);
        const int16_t th = size.v;
        if (size.h > w) {
            platform::Boolean cut = false;
            platform::TruncateThemeText(&text, platform::kThemeCurrentPortFont, 1, int16_t(w), platform::truncEnd, &cut);
            EXPECT_TRUE(cut);
            EXPECT_EQ(text.back(), u'\u2026');
            platform::GetThemeTextDimensions(text, platform::kThemeCurrentPortFont, 1, false, &size, nullptr);
        }
        const int16_t x = int16_t(10 + (w - size.h) / 2), y = int16_t(20 + (40 - th) / 2);
        const platform::Rect box{y, x, 60, int16_t(10 + w)};
        platform::DrawThemeTextBox(text, platform::kThemeCurrentPortFont, 1, false, &box, platform::teFlushLeft, nullptr);
        EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 420, 80), CountNot(expected.get(), kWhite, 0, 0, 420, 80));
        for (int32_t py = 0; py < 80; ++py)
            for (int32_t px = 0; px < 420; ++px)
                ASSERT_EQ(PixelAt(port.get(), px, py), PixelAt(expected.get(), px, py)) << w << " at " << px << "," << py;
        const Ink ink = InkOf(port.get(), 420, 80, kWhite);
        EXPECT_LE(ink.right, 10 + w);
        EXPECT_GE(ink.top, 20);
        EXPECT_LE(ink.bottom, 60);
    }
}

TEST_F(PainterTextTest, StandardPaintFallsBackToACaptionedBox)
{
    auto* look = new BoxLook(false);
    delete gLookHandlers[5];
    gLookHandlers[5] = look;
    World port(120, 60);
    VPainter painter(port.get(), true);
    const VStr<255> caption = Str("OK");
    EXPECT_TRUE(painter.StandardPaint(kPaintPushButton, kStatusNormal, 10, 10, 100, 40, &caption, nullptr));
    EXPECT_EQ(look->paints, 1);
    EXPECT_EQ(PixelAt(port.get(), 10, 10), Pix(0x332211)) << "framed in 10";
    EXPECT_EQ(PixelAt(port.get(), 109, 49), Pix(0x332211));
    EXPECT_EQ(PixelAt(port.get(), 12, 12), Pix(0xDDEEFF)) << "filled with 0";
    // The caption in 10, centred vertically in the box.
    int32_t inked = 0;
    for (int32_t y = 12; y < 48; ++y)
        for (int32_t x = 12; x < 108; ++x) inked += PixelAt(port.get(), x, y) == Pix(0x332211);
    EXPECT_GT(inked, 10);
    EXPECT_EQ(CountNot(port.get(), kWhite, 0, 0, 120, 10), 0);

    auto* painting = new BoxLook(true);
    delete gLookHandlers[5];
    gLookHandlers[5] = painting;
    World other(120, 60);
    VPainter second(other.get(), true);
    EXPECT_TRUE(second.StandardPaint(kPaintPushButton, kStatusNormal, 10, 10, 100, 40, &caption, nullptr));
    EXPECT_EQ(CountNot(other.get(), kWhite, 0, 0, 120, 60), 0) << "the look painted: nothing of ours";
}

}  // namespace
