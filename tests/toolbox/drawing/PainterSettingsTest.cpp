// Settings of a painter: the standard settings of a new painter, looks,
// standard colours, patterns and fonts, and the brush memory that keeps
// repeated drawing from re-applying what is already in place.
#include "tests/toolbox/drawing/PainterTestSupport.h"

#include "platform/drawing/Patterns.h"
#include "platform/drawing/Shapes.h"

using namespace paintertest;
using platform::DrawingCall;

namespace {

bool SamePattern(const platform::Pattern& a, const uint8_t (&rows)[8]) { return std::memcmp(a.pat, rows, 8) == 0; }

std::u16string FontOf(const VPainter& painter)
{
    VStr<80> name;
    painter.GetFont(name);
    const auto* units = static_cast<const char16_t*>(name.LockAndGetCPointer());
    return std::u16string(units, size_t(name.GetLength()));
}

}  // namespace

TEST_F(PainterTest, NewPainterHasTheStandardSettingsOfTheBuiltInColoursWithoutALook)
{
    World world;
    VPainter painter(world.get(), true);
    EXPECT_EQ(painter.GetEraseColor(), 0xFFFFFFu);
    EXPECT_EQ(painter.GetLineColor(), 0u);
    EXPECT_EQ(painter.GetFillColor(), 0u);
    EXPECT_EQ(painter.GetTextColor(), 0u);
    const uint8_t black[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(SamePattern(painter.GetLinePattern(), black));
    EXPECT_TRUE(SamePattern(painter.GetFillPattern(), black));
    EXPECT_EQ(painter.GetLineWidth(), 1.0);
    EXPECT_EQ(painter.GetDrawingTransferMode(), 0);
    EXPECT_EQ(painter.GetTextTransferMode(), 1);
    EXPECT_EQ(FontOf(painter), u"Geneva");
    EXPECT_EQ(painter.GetFontSize(), 9.0);
    EXPECT_FALSE(painter.GetFontBold());
    EXPECT_EQ(painter.GetLook(), 5);
    EXPECT_EQ(painter.GetLookHandler(), nullptr);

    // Without the normalize flag nothing is set up.
    VPainter raw(world.get(), false);
    EXPECT_EQ(raw.GetFillColor(), kNoColor);
    EXPECT_EQ(raw.GetFontSize(), -1.0);
}

TEST_F(PainterTest, StandardSettingsComeFromTheLookOfThePainter)
{
    gLookHandlers[5] = new TestLook;
    World world;
    VPainter painter(world.get(), true);
    EXPECT_EQ(painter.GetLookHandler(), gLookHandlers[5]);
    EXPECT_EQ(painter.GetEraseColor(), 0x010000u);
    EXPECT_EQ(painter.GetLineColor(), 0x01000Au);
    EXPECT_EQ(painter.GetFillColor(), 0x01000Au);
    EXPECT_EQ(painter.GetTextColor(), 0x01000Au);
    EXPECT_EQ(FontOf(painter), u"Courier");
    EXPECT_EQ(painter.GetFontSize(), 15.0);
    EXPECT_TRUE(painter.GetFontBold());  // font 5 is bold in this look

    // A standard font of plain face clears the bold left by the last one.
    painter.SetStdFont(4);
    EXPECT_EQ(painter.GetFontSize(), 14.0);
    EXPECT_FALSE(painter.GetFontBold());
    // A font the look does not know is "Geneva" 9.
    painter.SetStdFont(9);
    EXPECT_EQ(FontOf(painter), u"Geneva");
    EXPECT_EQ(painter.GetFontSize(), 9.0);
}

TEST_F(PainterTest, LookIsAlwaysThreeOrFiveAndAnswersThePreviousOne)
{
    for (int16_t slot = 1; slot <= 7; ++slot) gLookHandlers[slot] = new TestLook;
    VPainter painter;
    EXPECT_EQ(painter.GetLook(), 5);
    EXPECT_EQ(painter.SetLook(2), 5);
    EXPECT_EQ(painter.GetLook(), 3);
    EXPECT_EQ(painter.GetLookHandler(), gLookHandlers[3]);
    EXPECT_EQ(painter.SetLook(3), 3);
    EXPECT_EQ(painter.SetLook(-2), 3);  // below -1: nothing changes
    EXPECT_EQ(painter.GetLook(), 3);
    for (StdLook look : {StdLook(-1), StdLook(0), StdLook(4), StdLook(7), StdLook(1), StdLook(8)}) {
        painter.SetLook(2);
        EXPECT_EQ(painter.SetLook(look), 3) << look;
        EXPECT_EQ(painter.GetLook(), 5) << look;
        EXPECT_EQ(painter.GetLookHandler(), gLookHandlers[5]) << look;
    }

    EXPECT_EQ(GetLookHandler(0), gLookHandlers[6]);
    EXPECT_EQ(GetLookHandler(8), gLookHandlers[6]);
    EXPECT_EQ(GetLookHandler(-5), gLookHandlers[6]);
    EXPECT_EQ(GetLookHandler(1), gLookHandlers[1]);
    EXPECT_EQ(GetLookHandler(7), gLookHandlers[7]);
    EXPECT_EQ(GetDefaultLookHandler(), gLookHandlers[6]);  // no host: look 0

    // One handler placed in two slots is deleted once.
    delete gLookHandlers[2];
    gLookHandlers[2] = gLookHandlers[3];
    ResetLookHandlers();
    EXPECT_EQ(GetLookHandler(2), nullptr);
    EXPECT_EQ(GetDefaultLookHandler(), nullptr);
}

// A look without the colour answers -1: taking it would paint white and
// look like "nothing applied" to the brush memory.
TEST_F(PainterTest, StandardColourTheLookLacksLeavesTheRecordedColour)
{
    gLookHandlers[5] = new TestLook;
    World world;
    OpenPainter painter(world.get(), true);
    painter.SetFillColor(0x0000FF);
    painter.SetLineColor(0x00FF00);
    painter.SetEraseColor(0xFF0000);
    painter.SetTextColor(0x123456);
    painter.SetFillStdColor(45);
    painter.SetLineStdColor(45);
    painter.SetEraseStdColor(45);
    painter.SetTextStdColor(45);
    EXPECT_EQ(painter.GetFillColor(), 0x0000FFu);
    EXPECT_EQ(painter.GetLineColor(), 0x00FF00u);
    EXPECT_EQ(painter.GetEraseColor(), 0xFF0000u);
    EXPECT_EQ(painter.GetTextColor(), 0x123456u);
    painter.FillVRect(0, 0, 4, 4);
    EXPECT_EQ(PixelAt(world.get(), 1, 1), 0xFF0000u);  // red, not white
    EXPECT_EQ(painter.fAppliedFore, 0x0000FFu);
    EXPECT_EQ(painter.GetStdColor(45), kNoColor);
    EXPECT_EQ(painter.GetStdColor(12), 0x01000Cu);

    // Without a look the built-in table answers, and lacks 17 and above.
    ResetLookHandlers();
    VPainter plain(world.get(), true);
    plain.SetFillColor(0x00FF00);
    plain.SetFillStdColor(20);
    EXPECT_EQ(plain.GetFillColor(), 0x00FF00u);
    plain.SetFillStdColor(13);
    EXPECT_EQ(plain.GetFillColor(), 0xFF0000u);
}

TEST_F(PainterTest, EveryPatternStyleGivesItsRowsAndOthersLeaveThePattern)
{
    const uint8_t rows[13][8] = {
        {0, 0, 0, 0, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 0, 0, 0},
        {0x88, 0x22, 0x88, 0x22, 0x88, 0x22, 0x88, 0x22},
        {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55},
        {0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        {0xFF, 0, 0, 0, 0xFF, 0, 0, 0},
        {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},
        {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},
        {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},
        {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},
        {0x82, 0x44, 0x28, 0x10, 0x28, 0x44, 0x82, 0x01},
    };
    World world;
    VPainter painter(world.get(), true);
    for (PatternStyle style = 0; style <= 12; ++style) {
        painter.SetFillStdPattern(style);
        painter.SetLineStdPattern(style);
        EXPECT_TRUE(SamePattern(painter.GetFillPattern(), rows[style])) << style;
        EXPECT_TRUE(SamePattern(painter.GetLinePattern(), rows[style])) << style;
    }
    for (PatternStyle style : {PatternStyle(13), PatternStyle(-1), PatternStyle(1000)}) {
        painter.SetFillStdPattern(style);
        painter.SetLineStdPattern(style);
        EXPECT_TRUE(SamePattern(painter.GetFillPattern(), rows[12])) << style;
        EXPECT_TRUE(SamePattern(painter.GetLinePattern(), rows[12])) << style;
    }

    // The pattern reaches the pixels: vertical lines every fourth column.
    painter.SetFillStdPattern(8);
    painter.FillVRect(0, 0, 16, 2);
    EXPECT_EQ(PixelAt(world.get(), 0, 0), kBlack);
    EXPECT_EQ(PixelAt(world.get(), 1, 0), kWhite);
    EXPECT_EQ(PixelAt(world.get(), 4, 1), kBlack);
}

TEST_F(PainterTest, FontChangesMarkTheFontOnlyWhenSomethingChanges)
{
    World world;
    OpenPainter painter(world.get(), true);
    auto settle = [&] { painter.fFontDirty = 0; };
    settle();
    painter.SetFontBold(true);
    EXPECT_EQ(painter.fFontDirty, 7);
    settle();
    painter.SetFontBold(true);
    EXPECT_EQ(painter.fFontDirty, 0);
    EXPECT_TRUE(painter.GetFontBold());
    painter.SetFontItalic(true);
    painter.SetFontUnderline(true);
    EXPECT_EQ(painter.fFontDirty, 7);
    EXPECT_TRUE(painter.GetFontItalic() && painter.GetFontUnderline() && !painter.GetFontOutline());
    settle();
    painter.SetFontBold(false);
    EXPECT_EQ(painter.fFontDirty, 7);
    EXPECT_FALSE(painter.GetFontBold());
    EXPECT_TRUE(painter.GetFontItalic());

    settle();
    painter.SetFontSize(9.0);  // unchanged
    VStr<31> geneva;
    geneva.FromCString(reinterpret_cast<const uint8_t*>("Geneva"), kCharSetMac);
    painter.SetFont(geneva);
    EXPECT_EQ(painter.fFontDirty, 0);
    VStr<31> times;
    times.FromCString(reinterpret_cast<const uint8_t*>("Times"), kCharSetMac);
    painter.SetFont(times);
    EXPECT_EQ(painter.fFontDirty, 7);
    EXPECT_EQ(FontOf(painter), u"Times");
    settle();
    painter.SetFontSize(12.5);
    EXPECT_EQ(painter.fFontDirty, 7);
    EXPECT_EQ(painter.GetFontSize(), 12.5);

    uint8_t r, g, b;
    painter.SetTextColor(0x10, 0x20, 0x30);
    EXPECT_EQ(painter.GetTextColor(), 0x302010u);
    painter.GetTextColor(r, g, b);
    EXPECT_EQ(r, 0x10);
    EXPECT_EQ(g, 0x20);
    EXPECT_EQ(b, 0x30);
    EXPECT_EQ(painter.SetTextTransferMode(2), 1);
    EXPECT_EQ(painter.SetDrawingTransferMode(1), 0);
    EXPECT_EQ(painter.SetDrawingTransferMode(0), 1);
}

// The line and fill brushes share the colours last applied; only a change
// reaches the port.
TEST_F(PainterTest, RepeatedShapesInOneColourApplyTheBrushOnce)
{
    World world;
    VPainter painter(world.get(), true);
    painter.SetFillColor(0x0000FF);
    platform::ResetDrawingCallCounts();
    for (int i = 0; i < 100; ++i) painter.FillVRect(i % 50, 0, 5, 5);
    EXPECT_EQ(Calls(DrawingCall::RGBForeColor), 1u);
    EXPECT_EQ(Calls(DrawingCall::PenPat), 1u);

    // Alternating colours apply each change.
    platform::ResetDrawingCallCounts();
    for (int i = 0; i < 10; ++i) {
        painter.SetFillColor(i % 2 ? 0x0000FF : 0x00FF00);
        painter.FillVRect(0, 0, 5, 5);
    }
    EXPECT_EQ(Calls(DrawingCall::RGBForeColor), 10u);

    // Fill then frame in other colours: only what differs from the colour
    // last applied reaches the port.
    painter.SetLineColor(0xFF0000);
    platform::ResetDrawingCallCounts();
    painter.DrawVRect(0, 0, 8, 8);  // the fill colour is still applied
    EXPECT_EQ(Calls(DrawingCall::RGBForeColor), 1u);
    painter.DrawVRect(0, 0, 8, 8);
    EXPECT_EQ(Calls(DrawingCall::RGBForeColor), 3u);
    painter.FrameVRect(0, 0, 8, 8);
    EXPECT_EQ(Calls(DrawingCall::RGBForeColor), 3u);
    // A new erase colour is the background of both brushes.
    platform::ResetDrawingCallCounts();
    painter.SetEraseColor(0x00FFFF);
    painter.FrameVRect(0, 0, 8, 8);
    EXPECT_EQ(Calls(DrawingCall::RGBBackColor), 1u);

    // Erasing paints the erase colour, gives the port the line colour back
    // and leaves the line brush to be applied again (its pen was changed).
    painter.EraseVRect(20, 20, 4, 4);
    EXPECT_EQ(PixelAt(world.get(), 21, 21), Pix(0x00FFFF));
    platform::RGBColor fore;
    platform::GetForeColor(&fore);
    EXPECT_EQ(platform::PackRGB(fore), Pix(0xFF0000));
    EXPECT_EQ(world.get()->pnMode, platform::srcCopy);
    painter.FrameVRect(30, 30, 8, 8);
    EXPECT_EQ(world.get()->pnMode, platform::patCopy);
    EXPECT_EQ(PixelAt(world.get(), 30, 30), Pix(0xFF0000));
    // A new line colour right after a frame: the next frame is in it.
    painter.SetLineColor(0x00FF00);
    painter.FrameVRect(30, 30, 8, 8);
    EXPECT_EQ(PixelAt(world.get(), 30, 30), Pix(0x00FF00));
}

TEST_F(PainterTest, TransferModesReachThePen)
{
    World world;
    VPainter painter(world.get(), true);
    painter.SetFillColor(0x000000);
    painter.FillVRect(0, 0, 10, 10);
    EXPECT_EQ(world.get()->pnMode, platform::patCopy);
    painter.SetDrawingTransferMode(2);
    painter.SetFillColor(0x0000FF);  // a change, so the brush runs again
    painter.FillVRect(0, 0, 10, 10);
    EXPECT_EQ(world.get()->pnMode, platform::srcXor);
    painter.SetDrawingTransferMode(8);
    painter.SetFillColor(0x000000);
    painter.FillVRect(0, 0, 10, 10);
    EXPECT_EQ(world.get()->pnMode, platform::srcOr);
}

TEST_F(PainterTest, ThemeStateGuardNormalisesThenGivesTheStateBack)
{
    World world;
    platform::SetPort(world.get());
    const platform::RGBColor red{0xFFFF, 0, 0};
    platform::RGBForeColor(&red);
    platform::PenSize(3, 3);
    {
        StNormalizeDrawingState guard;
        platform::RGBColor fore;
        platform::GetForeColor(&fore);
        EXPECT_EQ(platform::PackRGB(fore), kBlack);
        EXPECT_EQ(world.get()->pnSize.h, 1);
    }
    platform::RGBColor fore;
    platform::GetForeColor(&fore);
    EXPECT_EQ(platform::PackRGB(fore), 0xFF0000u);
    EXPECT_EQ(world.get()->pnSize.h, 3);
}
