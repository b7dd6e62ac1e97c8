// Classic records and multilingual objects at their edges: the fields a
// new record publishes, an arrow up from the last line, a held click inside
// the view that never asks the click loop, a click whose highlight stays in
// the record's port, text sizes given as Fixed, and scrolling sideways.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/pictures/Pictures.h"
#include "platform/scrap/Scrap.h"
#include "platform/screen/Screen.h"
#include "platform/textedit/MultilingualText.h"
#include "tests/platform/textedit/EditorFixture.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform::testing {
namespace {

TEST_F(EditorTest, NewRecordsPublishTheirLinesAndAnArrowUpGoesOneLine)
{
    const Rect r{10, 10, 110, 200};
    TEHandle plain = TENew(&r, &r);
    FontInfo fi;
    GetFontInfo(&fi);
    EXPECT_EQ((*plain)->nLines, 1);
    EXPECT_EQ((*plain)->lineHeight, fi.ascent + fi.descent + fi.leading);
    EXPECT_EQ((*plain)->destRect.right, 200);
    TEHandle styled = TEStyleNew(&r, &r);
    EXPECT_EQ((*styled)->lineHeight, -1) << "styled records measure each line";
    EXPECT_EQ((*styled)->fontAscent, -1);
    TEDispose(styled);

    TESetText("ab\rcd\ref", 8, plain);
    TESetSelect(8, 8, plain);
    TEKey(0x1E, plain);  // up arrow
    EXPECT_EQ((*plain)->selStart, 5) << "the end of the middle line";
    TEDispose(plain);
}

TEST_F(EditorTest, ScrollingUpdatesAndPicturesKeepTheRecordAndThePenWhereTheyBelong)
{
    const Rect r{10, 10, 110, 200};
    TEHandle te = TENew(&r, &r);
    TESetText("Hello there", 11, te);
    TEScroll(-10, -4, te);
    EXPECT_EQ((*te)->destRect.left, 0);
    EXPECT_EQ((*te)->destRect.right, 190) << "the whole destination moves";
    EXPECT_EQ((*te)->destRect.bottom, 106);
    TEScroll(10, 4, te);

    PenSize(3, 2);
    MoveTo(7, 8);
    EraseRect(&r);
    TEUpdate(&r, te);
    PenState pen;
    GetPenState(&pen);
    EXPECT_EQ(pen.pnSize.h, 3);
    EXPECT_EQ(pen.pnLoc.h, 7);
    EXPECT_EQ(pen.pnLoc.v, 8);
    PenNormal();

    // Drawn into a picture, the record shows as it does in the port.
    const std::string onScreen = Pixels();
    const Rect all{0, 0, 200, 300};
    PicHandle pic = OpenPicture(&all);
    TEUpdate(&r, te);
    ClosePicture();
    EraseRect(&all);
    DrawPicture(pic, &all);
    EXPECT_EQ(Pixels(), onScreen);
    KillPicture(pic);
    TEDispose(te);

    // A reset forgets the scrap's styles: plain text goes out alone.
    ResetTextEdit();
    ASSERT_EQ(TEToScrap(), noErr);
    ScrapRef scrap = nullptr;
    GetCurrentScrap(&scrap);
    Size size = 0;
    EXPECT_NE(GetScrapFlavorSize(scrap, 0x7374796C, &size), noErr) << "no 'styl'";
}

int gLoopCalls = 0;
Boolean CountLoop(TEPtr)
{
    ++gLoopCalls;
    return true;
}

TEST_F(EditorTest, AHeldClickInsideTheViewNeverAsksTheClickLoopAndDrawsInTheRecordsPort)
{
    const Rect r{10, 10, 110, 200};
    TEHandle te = TENew(&r, &r);
    TESetText("some text here", 14, te);
    TEActivate(te);
    TESetClickLoop(CountLoop, te);
    gLoopCalls = 0;
    GWorldPtr other = nullptr;
    const Rect otherBounds{0, 0, 200, 300};
    ASSERT_EQ(NewGWorld(&other, 32, &otherBounds, nullptr, nullptr, 0), noErr);
    SetGWorld(other, nullptr);
    SetOrigin(-40, 0);  // the caller's port maps the mouse elsewhere
    SetGWorld(world, nullptr);
    const std::string before = Pixels();
    Play(Script().Press(20, 20).Move(60, 20).Wait(3).Move(70, 20).Wait(3).Release(), [&](const EventRecord& e) {
        if (e.what != mouseDown) return;
        Point p = e.where;
        GlobalToLocal(&p);
        SetGWorld(other, nullptr);  // the caller's port is another one
        TEClick(p, false, te);
    });
    EXPECT_EQ(gLoopCalls, 0);
    EXPECT_EQ((*te)->selStart, TEGetOffset(Point{20, 20}, te));
    EXPECT_EQ((*te)->selEnd, TEGetOffset(Point{20, 70}, te));
    EXPECT_GT((*te)->selEnd, (*te)->selStart);
    EXPECT_NE(Pixels(), before) << "the selection is shown in the record's port";
    Surface s = MakeSurface(GetPortBitMapForCopyBits(other));
    int inked = 0;
    for (int32_t v = s.bounds.top; v < s.bounds.bottom; ++v)
        for (int32_t h = s.bounds.left; h < s.bounds.right; ++h) inked += s.ReadRGB(h, v) != 0xFFFFFF;
    EXPECT_EQ(inked, 0) << "nothing drawn into the caller's port";
    SetGWorld(world, nullptr);
    DisposeGWorld(other);
    TEDispose(te);
}

class TxnEdges : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetMultilingualText();
        window = Document(20, 60, 420, 360);
        Settle();
        SetPortWindowPort(window);
    }
    TXNObject New(const Rect& frame)
    {
        TXNObject o = nullptr;
        TXNFrameID id = 0;
        EXPECT_EQ(TXNNewObject(nullptr, window, &frame, kOutputTextInUnicodeEncodingMask, 1, 0x7478746E,
                               kTXNUnicodeEncoding, &o, &id, nullptr),
                  noErr);
        return o;
    }
    // Pixels of the window's content inside `r` that are not white.
    int Inked(const Rect& r)
    {
        int n = 0;
        for (int16_t v = r.top; v < r.bottom; ++v)
            for (int16_t h = r.left; h < r.right; ++h) {
                RGBColor c;
                GetCPixel(h, v, &c);
                n += PackRGB(c) != 0xFFFFFF;
            }
        return n;
    }
    WindowRef window = nullptr;
};

TEST_F(TxnEdges, TheCursorOverTheTextIsTheIBeamWhateverPortIsCurrent)
{
    SetThemeCursor(kThemeIBeamCursor);
    const ScreenCursor ibeam = CurrentScreenCursor();
    SetThemeCursor(kThemeArrowCursor);
    TXNObject o = New({10, 10, 110, 200});
    Point p{100, 190};  // inside the text, near its bottom right
    LocalToGlobal(&p);
    Play(Script().Move(p.h, p.v));
    GWorldPtr other = nullptr;
    const Rect bounds{0, 0, 10, 10};
    ASSERT_EQ(NewGWorld(&other, 32, &bounds, nullptr, nullptr, 0), noErr);
    SetGWorld(other, nullptr);
    TXNAdjustCursor(o, nullptr);
    SetPortWindowPort(window);
    DisposeGWorld(other);
    EXPECT_EQ(std::memcmp(CurrentScreenCursor().data, ibeam.data, sizeof ibeam.data), 0);
    TXNDeleteObject(o);
}

TEST_F(TxnEdges, AHiddenObjectDrawsNothingAndNewBoundsDrawOnlyWhenAsked)
{
    const Rect frame{10, 10, 60, 200};
    TXNObject o = New(frame);
    const TXNControlTag tag = kTXNVisibilityTag;
    TXNControlData off{};
    ASSERT_EQ(TXNSetTXNObjectControls(o, false, 1, &tag, &off), noErr);
    TXNSetData(o, kTXNUnicodeTextData, u"hidden", 12, 0, 0);
    TXNDraw(o, nullptr);
    EXPECT_EQ(Inked(frame), 0);

    TXNControlData on{};
    on.uValue = 1;
    ASSERT_EQ(TXNSetTXNObjectControls(o, false, 1, &tag, &on), noErr);
    TXNDraw(o, nullptr);
    EXPECT_GT(Inked(frame), 0);
    const Rect moved{70, 10, 120, 200};
    TXNSetRectBounds(o, &moved, nullptr, false);
    EXPECT_EQ(Inked(moved), 0) << "moved without an update";
    TXNSetRectBounds(o, &moved, nullptr, true);
    EXPECT_GT(Inked(moved), 0);
    TXNDeleteObject(o);
}

TEST_F(TxnEdges, SizesComeInPointsOrAsFixedAndUnwrappedTextScrollsSideways)
{
    TXNObject o = New({10, 10, 110, 200});
    TXNSetData(o, kTXNUnicodeTextData, u"a line far wider than the view of this object", 90, 0, 0);
    struct Case {
        ByteCount size;
        uint32_t value;
        uint32_t read;
    };
    for (const Case& k : {Case{4, 14u << 16, 14u << 16}, Case{2, 9, 9u << 16}}) {
        TXNTypeAttributes size{kTXNQDFontSizeAttribute, k.size, {}};
        size.data.dataValue = k.value;
        ASSERT_EQ(TXNSetTypeAttributes(o, 1, &size, 0, 45), noErr);
        TXNSetSelection(o, 0, 45);
        TXNContinuousFlags flags = 0;
        TXNTypeAttributes ask{kTXNQDFontSizeAttribute, 4, {}};
        ASSERT_EQ(TXNGetContinuousTypeAttributes(o, &flags, 1, &ask), noErr);
        EXPECT_EQ(ask.data.dataValue, k.read) << k.size;
    }

    const TXNControlTag tag = kTXNWordWrapStateTag;
    TXNControlData noWrap{};
    noWrap.uValue = 1;
    ASSERT_EQ(TXNSetTXNObjectControls(o, false, 1, &tag, &noWrap), noErr);
    int32_t v = 0, h = 10;
    ASSERT_EQ(TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h), noErr);
    EXPECT_EQ(h, 10);
    h = -100000;
    TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
    EXPECT_EQ(h, -10) << "no further left than the start";
    v = 1;
    TXNScroll(o, kTXNScrollUnitsInLines, kTXNScrollUnitsInPixels, &v, nullptr);
    v = 0;
    h = -1;
    TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
    EXPECT_EQ(h, 0) << "a scroll asked only downwards stays at the left";
    h = 100000;
    TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
    EXPECT_GT(h, 10) << "the line's end";
    h = 1;
    TXNScroll(o, kTXNScrollUnitsInPixels, kTXNScrollUnitsInPixels, &v, &h);
    EXPECT_EQ(h, 0) << "no further right than the end";
    TXNDeleteObject(o);
}

TEST_F(TxnEdges, ANarrowerFrameWrapsAgainAndARedoPutsBackWhatWasInserted)
{
    TXNObject o = New({10, 10, 110, 300});
    TXNSetData(o, kTXNUnicodeTextData, u"one two three four five six", 54, 0, 0);
    ItemCount wide = 0, narrow = 0;
    TXNGetLineCount(o, &wide);
    TXNSetFrameBounds(o, 10, 10, 110, 60, 1);
    TXNGetLineCount(o, &narrow);
    EXPECT_EQ(wide, 1u);
    EXPECT_GT(narrow, 2u) << "the text wraps in the narrower frame";

    TXNSetData(o, kTXNUnicodeTextData, u"XY", 4, 0, 3);
    TXNUndo(o);
    TXNRedo(o);
    Handle h = nullptr;
    ASSERT_EQ(TXNGetData(o, 0, 4, &h), noErr);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(*h), 4), u"XY t");
    DisposeHandle(h);
    TXNDeleteObject(o);
}

}  // namespace
}  // namespace platform::testing
