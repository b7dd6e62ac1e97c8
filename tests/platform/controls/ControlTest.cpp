#include <gtest/gtest.h>

#include <vector>

#include "platform/controls/ControlRecord.h"
#include "platform/controls/ControlTemplate.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Regions.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/screen/Screen.h"
#include "tests/platform/controls/ControlFixture.h"

namespace platform::testing {
namespace {

std::vector<ControlPartCode> gParts;
std::vector<int32_t> gValues;

void StepDown(ControlRef c, ControlPartCode part)
{
    gParts.push_back(part);
    if (part == kControlDownButtonPart) SetControlValue(c, int16_t(GetControlValue(c) + 1));
    gValues.push_back(GetControl32BitValue(c));
}

// Scroll bar at local (10, 10)-(210, 26): arrows 16 high at each end, a
// 168-pixel track between.
const Rect kBar{10, 10, 210, 26};
constexpr int16_t kBarH = 18 + kOrigin;

class ScrollBarTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        gParts.clear();
        gValues.clear();
    }
};

TEST_F(ScrollBarTest, HeldArrowRepeatsTheActionWhileTheValueSteps)
{
    WindowRef w = Window();
    ControlRef bar = NewControl(w, &kBar, nullptr, true, 10, 0, 100, scrollBarProc, 0);
    ASSERT_NE(bar, nullptr);
    Play(Script().Press(kBarH, 200 + kOrigin).Wait(30).Release());
    const Point p = NextClick();
    ControlRef hit = nullptr;
    ASSERT_EQ(FindControl(p, w, &hit), kControlDownButtonPart);
    ASSERT_EQ(hit, bar);
    EXPECT_EQ(TrackControl(bar, p, StepDown), kControlDownButtonPart);
    ASSERT_GE(gParts.size(), 12u);  // a call every tick or two for 30 ticks
    for (ControlPartCode part : gParts) EXPECT_EQ(part, kControlDownButtonPart);
    for (size_t i = 0; i < gValues.size(); ++i) EXPECT_EQ(gValues[i], int32_t(11 + i));
    EXPECT_EQ(GetControlHilite(bar), 0);
}

TEST_F(ScrollBarTest, AnActionThatDisposesOfItsControlEndsTheTracking)
{
    WindowRef w = Window();
    ControlRef bar = NewControl(w, &kBar, nullptr, true, 10, 0, 100, scrollBarProc, 0);
    const Rect second{10, 40, 210, 56};
    ControlRef live = NewControl(w, &second, nullptr, true, 10, 0, 100, kControlScrollBarLiveProc, 0);
    ControlActionUPP dispose = [](ControlRef c, ControlPartCode) { DisposeControl(c); };
    Play(Script()
             .Press(kBarH, 200 + kOrigin)
             .Wait(5)
             .Release()
             .Press(kOrigin + 48, 49 + kOrigin)
             .Move(kOrigin + 48, 90 + kOrigin)
             .Wait(2)
             .Release());
    EXPECT_EQ(TrackControl(bar, NextClick(), dispose), kControlNoPart);
    EXPECT_EQ(GetControlValue(bar), 0);  // gone: a dead control answers nothing
    EXPECT_EQ(TrackControl(live, NextClick(), dispose), kControlNoPart);
    EXPECT_EQ(GetFirstControl(w), nullptr);
}

TEST_F(ScrollBarTest, EachPartStartsAtItsFirstPixel)
{
    WindowRef w = Window();
    ControlRef bar = NewControl(w, &kBar, nullptr, true, 10, 0, 100, scrollBarProc, 0);
    ASSERT_NE(bar, nullptr);
    struct Case {
        int16_t v;
        ControlPartCode part;
    };
    // The thumb at 10 spans 41..57.
    const Case cases[] = {
        {10, kControlUpButtonPart},   {25, kControlUpButtonPart},   {26, kControlPageUpPart},
        {40, kControlPageUpPart},     {41, kControlIndicatorPart},  {56, kControlIndicatorPart},
        {57, kControlPageDownPart},   {193, kControlPageDownPart},  {194, kControlDownButtonPart},
        {209, kControlDownButtonPart},
    };
    for (const Case& k : cases) EXPECT_EQ(TestControl(bar, Point{k.v, 18}), k.part) << k.v;

    // Nothing to scroll: no part at all.
    SetControl32BitMaximum(bar, 0);
    EXPECT_EQ(GetControl32BitValue(bar), 0);
    for (const int16_t v : {10, 100, 209}) EXPECT_EQ(TestControl(bar, Point{v, 18}), kControlNoPart) << v;
    // A maximum below the minimum is the minimum; a minimum past the
    // maximum takes the maximum and the value along.
    SetControl32BitMaximum(bar, -5);
    EXPECT_EQ(GetControl32BitMaximum(bar), 0);
    SetControl32BitMinimum(bar, 30);
    EXPECT_EQ(GetControl32BitMaximum(bar), 30);
    EXPECT_EQ(GetControl32BitValue(bar), 30);
    SetControl32BitMaximum(bar, 60);
    SetControl32BitValue(bar, 61);
    EXPECT_EQ(GetControl32BitValue(bar), 60);
    SetControl32BitValue(bar, 29);
    EXPECT_EQ(GetControl32BitValue(bar), 30);
    SetControl32BitMaximum(bar, 100000);
    SetControl32BitMinimum(bar, -100000);
    SetControl32BitValue(bar, -70000);
    EXPECT_EQ(GetControlValue(bar), INT16_MIN) << "the 16-bit value pins at its limit";
    EXPECT_EQ(GetControlMinimum(bar), INT16_MIN);
}

TEST_F(ScrollBarTest, ThumbPlacesRoundToTheNearestValueAndStopAtTheTrack)
{
    WindowRef w = Window();
    ControlRef bar = NewControl(w, &kBar, nullptr, true, 10, 0, 100, scrollBarProc, 0);
    // The track is 26..194 and the thumb 16 high: 152 pixels of room.
    struct Case {
        int32_t top, value;
    };
    for (const Case& k : {Case{26, 0}, Case{27, 1}, Case{25, 0}, Case{-500, 0}, Case{102, 50}, Case{177, 99},
                          Case{178, 100}, Case{300, 100}})
        EXPECT_EQ(ScrollBarValueAt(*bar, k.top), k.value) << k.top;

    // Held in the page area, the action repeats with that part.
    Play(Script().Press(kBarH, 150 + kOrigin).Wait(10).Release());
    const Point p = NextClick();
    EXPECT_EQ(TrackControl(bar, p, StepDown), kControlPageDownPart);
    ASSERT_GE(gParts.size(), 2u);
    for (ControlPartCode part : gParts) EXPECT_EQ(part, kControlPageDownPart);
}

TEST_F(ScrollBarTest, LiveThumbFollowsTheMousePlainThumbDragsAnOutline)
{
    // The thumb at 10 spans 41..57; its middle dragged to the track's middle
    // (110) puts the value at 50.
    for (const int16_t proc : {kControlScrollBarLiveProc, scrollBarProc}) {
        SCOPED_TRACE(proc);
        gParts.clear();
        WindowRef w = Window();
        ControlRef bar = NewControl(w, &kBar, nullptr, true, 10, 0, 100, proc, 0);
        int32_t during = -1;
        uint32_t outline = 0;
        PlayWithProbe(Script()
                          .Press(kBarH, 49 + kOrigin)
                          .Move(kBarH, 70 + kOrigin)
                          .Move(kBarH, 90 + kOrigin)
                          .Wait(2)
                          .Screenshot("probe")
                          .Move(kBarH, 110 + kOrigin)
                          .Release(),
                      [&](const std::string&) {
                          during = GetControl32BitValue(bar);
                          // The outline's left edge, the thumb's height below 82.
                          outline = ScreenPixel(kOrigin + 10, kOrigin + 88);
                      });
        const Point p = NextClick();
        EXPECT_EQ(FindControl(p, w, nullptr), kControlIndicatorPart);
        EXPECT_EQ(TrackControl(bar, p, StepDown), kControlIndicatorPart);
        EXPECT_EQ(GetControlValue(bar), 50);
        EXPECT_FALSE(bar->ghost) << "the outline goes with the button";
        EXPECT_EQ(GetControlHilite(bar), 0);
        if (proc == kControlScrollBarLiveProc) {
            EXPECT_GT(during, 10);
            EXPECT_LT(during, 50);
            ASSERT_FALSE(gParts.empty());
            EXPECT_EQ(gParts.front(), kControlIndicatorPart);
        } else {
            EXPECT_EQ(during, 10);
            EXPECT_EQ(outline, 0x4F86D6u);  // the theme's focus colour
            EXPECT_TRUE(gParts.empty());
        }
        DisposeWindow(w);
    }
}

TEST_F(ControlTest, PushButtonAnswersOnlyWhenReleasedInside)
{
    WindowRef w = Window();
    const Rect r{20, 20, 40, 100};
    ControlRef button = NewControl(w, &r, PStr("OK").get(), true, 0, 0, 1, pushButProc, 0);
    Play(Script().Press(150, 130).Move(300, 300).Release().Click(150, 130));
    Point p = NextClick();
    EXPECT_EQ(TrackControl(button, p, nullptr), kControlNoPart);
    p = NextClick();
    EXPECT_EQ(TrackControl(button, p, nullptr), kControlButtonPart);

    HiliteControl(button, kControlInactivePart);
    ControlRef found = nullptr;
    EXPECT_EQ(FindControl(Point{30, 50}, w, &found), kControlNoPart);
    EXPECT_EQ(TrackControl(button, Point{30, 50}, nullptr), kControlNoPart);
    HiliteControl(button, 0);
    EXPECT_EQ(FindControl(Point{30, 50}, w, &found), kControlButtonPart);
    EXPECT_EQ(found, button);
}

TEST_F(ControlTest, DimmedControlsAreNotHitButHideThoseBehindThem)
{
    WindowRef w = Window();
    const Rect r{20, 20, 40, 120};
    ControlRef back = NewControl(w, &r, PStr("Back").get(), true, 0, 0, 1, pushButProc, 0);
    ControlRef front = NewControl(w, &r, PStr("Front").get(), true, 0, 0, 1, pushButProc, 0);
    const Point inside{30, 50};
    for (const ControlPartCode dim : {ControlPartCode(kControlInactivePart), ControlPartCode(kControlDisabledPart)}) {
        HiliteControl(front, dim);
        EXPECT_EQ(TestControl(front, inside), kControlNoPart) << int(dim);
        ControlRef found = nullptr;
        EXPECT_EQ(FindControl(inside, w, &found), kControlNoPart) << int(dim);
        EXPECT_EQ(found, front) << int(dim);
    }
    HiliteControl(front, 0);
    ControlRef found = nullptr;
    EXPECT_EQ(FindControl(inside, w, &found), kControlButtonPart);
    EXPECT_EQ(found, front);
    EXPECT_EQ(TestControl(back, inside), kControlButtonPart);
}

TEST_F(ControlTest, HandleControlClickTogglesCheckBoxesAndTurnsRadiosOn)
{
    WindowRef w = Window();
    const Rect r1{20, 20, 36, 160}, r2{40, 20, 56, 160};
    ControlRef check = NewControl(w, &r1, PStr("Check").get(), true, 0, 0, 1, checkBoxProc, 0);
    ControlRef radio = NewControl(w, &r2, PStr("Radio").get(), true, 0, 0, 1, radioButProc, 0);
    Play(Script().Click(130, 128).Click(130, 128).Click(130, 148).Click(130, 148));
    HandleControlClick(check, NextClick(), 0, nullptr);
    EXPECT_EQ(GetControlValue(check), 1);
    HandleControlClick(check, NextClick(), 0, nullptr);
    EXPECT_EQ(GetControlValue(check), 0);
    HandleControlClick(radio, NextClick(), 0, nullptr);
    HandleControlClick(radio, NextClick(), 0, nullptr);
    EXPECT_EQ(GetControlValue(radio), 1);
}

// Test definitions standing in for the tri-state check box (131) and the
// arrow stepper (1001).
std::vector<int16_t> gMessages;
bool gConverted = false;
uintptr_t gConvertedRef = 0;

int32_t TriState(int16_t varCode, ControlRef c, int16_t message, intptr_t param)
{
    gMessages.push_back(message);
    if (message != testCntl || GetControlHilite(c) == kControlInactivePart) return 0;
    const Point p{int16_t(uint32_t(param) >> 16), int16_t(param & 0xFFFF)};
    Rect bounds;
    GetControlBounds(c, &bounds);
    Rect zone = bounds;
    if (varCode == 8) zone = Rect{int16_t(bounds.top + 9 - 6), int16_t(bounds.left + 10 + 2), int16_t(bounds.top + 9 + 6),
                                  int16_t(bounds.left + 10 + 14)};
    return PtInRect(p, &zone) ? kControlCheckBoxPart : 0;
}

int32_t Stepper(int16_t, ControlRef c, int16_t message, intptr_t param)
{
    gMessages.push_back(message);
    if (message != testCntl) return 0;
    const Point p{int16_t(uint32_t(param) >> 16), int16_t(param & 0xFFFF)};
    Rect bounds;
    GetControlBounds(c, &bounds);
    if (!PtInRect(p, &bounds)) return 0;
    return (p.h - bounds.left) / 16 + 1;
}

OSStatus Convert(const Rect*, int16_t, Boolean, int16_t, int16_t, int16_t, uintptr_t refCon, ConstStr255Param,
                 void* collection)
{
    gConverted = collection != nullptr;
    gConvertedRef = refCon;
    return noErr;
}

TEST_F(ControlTest, RegisteredDefinitionsAreInitialisedDrawnAndHitTested)
{
    gMessages.clear();
    ControlDefSpec tri{kControlDefProcPtr, TriState}, step{kControlDefProcPtr, Stepper};
    ASSERT_EQ(RegisterControlDefinition(131, &tri, Convert), noErr);
    ASSERT_EQ(RegisterControlDefinition(1001, &step, Convert), noErr);
    WindowRef w = Window();
    const Rect r{20, 20, 40, 140};
    ControlRef box = NewControl(w, &r, PStr("Mixed").get(), true, 2, 0, 2, 131 * 16 + 8, 0);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(gMessages.front(), initCntl);
    gMessages.clear();
    Draw1Control(box);
    EXPECT_EQ(gMessages, std::vector<int16_t>{drawCntl});
    // Its zone: 12 x 12 at (32..44, 23..35).
    EXPECT_EQ(TestControl(box, Point{29, 38}), kControlCheckBoxPart);
    EXPECT_EQ(TestControl(box, Point{29, 100}), kControlNoPart);
    Play(Script().Click(138, 129).Click(200, 129));
    EXPECT_EQ(TrackControl(box, NextClick(), nullptr), kControlCheckBoxPart);
    EXPECT_EQ(TrackControl(box, NextClick(), nullptr), kControlNoPart);

    const Rect s{60, 20, 76, 84};
    ControlRef stepper = NewControl(w, &s, nullptr, true, 5, 0, 10, 1001 * 16, 0);
    ASSERT_NE(stepper, nullptr);
    Play(Script().Click(100 + 20 + 40, 168));
    const Point p = NextClick();
    EXPECT_EQ(FindControl(p, w, nullptr), 3);
    EXPECT_EQ(TrackControl(stepper, p, nullptr), 3);
    DisposeControl(stepper);
    EXPECT_EQ(gMessages.back(), dispCntl);
}

TEST_F(ControlTest, ReferenceConstantKeepsAllItsBitsAlsoWhenFlattened)
{
    gConverted = false;
    ControlDefSpec tri{kControlDefProcPtr, TriState};
    ASSERT_EQ(RegisterControlDefinition(131, &tri, Convert), noErr);
    WindowRef w = Window();
    const Rect r{20, 20, 40, 140};
    const uintptr_t ref = uintptr_t(0x12345678ABCDEF01ull);
    ControlRef box = NewControl(w, &r, nullptr, true, 0, 0, 2, 131 * 16, ref);
    EXPECT_EQ(GetControlReference(box), ref);
    SetControlReference(box, ref + 1);
    EXPECT_EQ(GetControlReference(box), ref + 1);
    DrawControls(w);
    HiliteControl(box, 0);
    DisposeWindow(w);  // its controls go with it
    EXPECT_TRUE(gConverted);
    EXPECT_EQ(gConvertedRef, ref);
}

TEST_F(ControlTest, ValuesStayInRangeAndDataReachesTheStandardKinds)
{
    WindowRef w = Window();
    const Rect r{20, 20, 36, 200};
    ControlRef bar = NewControl(w, &r, nullptr, true, 500, 0, 100, scrollBarProc, 0);
    EXPECT_EQ(GetControlValue(bar), 100);
    SetControl32BitMaximum(bar, 100000);
    SetControl32BitValue(bar, 70000);
    EXPECT_EQ(GetControl32BitValue(bar), 70000);
    EXPECT_EQ(GetControlValue(bar), INT16_MAX);
    SetControl32BitMaximum(bar, 50);
    EXPECT_EQ(GetControl32BitValue(bar), 50);

    ControlRef text = NewControl(w, &r, nullptr, true, 0, 0, 0, kControlStaticTextProc, 0);
    ASSERT_EQ(SetControlData(text, 0, kControlStaticTextTextTag, 5, "hello"), noErr);
    char buffer[16] = {};
    Size n = 0;
    ASSERT_EQ(GetControlData(text, 0, kControlStaticTextTextTag, sizeof buffer, buffer, &n), noErr);
    EXPECT_EQ(std::string(buffer, size_t(n)), "hello");
    EXPECT_EQ(SetControlData(bar, 0, kControlStaticTextTextTag, 5, "hello"), errDataNotSupported);

    static int drawn = 0;
    drawn = 0;
    ControlRef pane = NewControl(w, &r, nullptr, true, 0, 0, 0, kControlUserPaneProc, 0);
    ControlUserPaneDrawProcPtr draw = [](ControlRef, ControlPartCode) { ++drawn; };
    ASSERT_EQ(SetControlData(pane, 0, kControlUserPaneDrawProcTag, sizeof draw, &draw), noErr);
    Draw1Control(pane);
    EXPECT_EQ(drawn, 1);

    const ControlID id{FourCC("test"), 7};
    SetControlID(text, &id);
    ControlID back;
    EXPECT_EQ(GetControlID(text, &back), noErr);
    EXPECT_EQ(back.signature, id.signature);
    EXPECT_EQ(back.id, 7);
    Rect best;
    ControlRef button = NewControl(w, &r, PStr("Button").get(), true, 0, 0, 1, pushButProc, 0);
    ASSERT_EQ(GetBestControlRect(button, &best, nullptr), noErr);
    EXPECT_EQ(best.bottom - best.top, 20);
    EXPECT_GE(best.right - best.left, 69);
}

TEST_F(ControlTest, ControlTemplatesAreCheckedAgainstTheirLength)
{
    std::vector<uint8_t> cntl(22, 0);
    WriteBE16(&cntl[0], 10);
    WriteBE16(&cntl[2], 10);
    WriteBE16(&cntl[4], 30);
    WriteBE16(&cntl[6], 90);
    cntl[10] = 1;
    WriteBE16(&cntl[12], 1);
    WriteBE16(&cntl[16], checkBoxProc);
    cntl.push_back(4);
    for (char c : std::string("Keep")) cntl.push_back(uint8_t(c));
    ResourceFileImage image;
    image.resources.push_back(ResourceImage{FourCC("CNTL"), 128, false, "", 0, cntl});
    std::vector<uint8_t> shortOne(cntl.begin(), cntl.end() - 2);
    image.resources.push_back(ResourceImage{FourCC("CNTL"), 129, false, "", 0, shortOne});
    ASSERT_NE(OpenResFileImageBelow(image), -1);

    WindowRef w = Window();
    ControlRef c = GetNewControl(128, w);
    ASSERT_NE(c, nullptr);
    Str255 title;
    GetControlTitle(c, title);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(title + 1), title[0]), "Keep");
    EXPECT_EQ(GetControlMaximum(c), 1);
    EXPECT_EQ(GetNewControl(129, w), nullptr);
    EXPECT_EQ(ResError(), resNotFound);
    EXPECT_EQ(GetNewControl(130, w), nullptr);
}

}  // namespace
}  // namespace platform::testing

namespace platform::testing {
namespace {

TEST_F(ControlTest, PopUpButtonTakesTheChosenItemAndShowsItsTitle)
{
    MenuRef menu = NewMenu(200, PStr("Kinds").get());
    AppendMenu(menu, PStr("One;Two;Three").get());
    InsertMenu(menu, -1);
    CalcMenuSize(menu);
    const int16_t itemHeight = int16_t(GetMenuHeight(menu) / 3);
    WindowRef w = Window();
    const Rect r{20, 20, 40, 220};
    // The title takes 60 pixels at the left; the menu id travels in the minimum.
    ControlRef popup = NewControl(w, &r, PStr("Kind:").get(), true, 0, 200, 60, kControlPopupButtonProc, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetControlPopupMenuHandle(popup), menu);
    EXPECT_EQ(GetControlValue(popup), 1);
    EXPECT_EQ(GetControlMaximum(popup), 3);
    int16_t id = 0;
    ASSERT_EQ(GetControlData(popup, 0, kControlPopupButtonMenuIDTag, sizeof id, &id, nullptr), noErr);
    EXPECT_EQ(id, 200);
    // Item 1 opens under the mouse at the button's top; item 3 is two rows down.
    const int16_t top = kOrigin + 20;
    Play(Script()
             .Press(kOrigin + 120, int16_t(top + 4))
             .Wait(2)
             .Move(kOrigin + 120, int16_t(top + 2 * itemHeight + itemHeight / 2))
             .Wait(2)
             .Release());
    EXPECT_EQ(HandleControlClick(popup, NextClick(), 0, nullptr), kControlMenuPart);
    EXPECT_EQ(GetControlValue(popup), 3);
    EXPECT_EQ(GetControlHilite(popup), 0) << "no longer highlighted once the menu closes";
    // The title's column is white with dark text; the button starts after it.
    SetPortWindowPort(w);
    int inked = 0;
    for (int16_t h = 20; h < 80; ++h)
        for (int16_t v = 20; v < 40; ++v) {
            RGBColor c;
            GetCPixel(h, v, &c);
            if (PackRGB(c) != 0xFFFFFF) ++inked;
        }
    EXPECT_GT(inked, 10);
    DisposeMenu(menu);
}

}  // namespace
}  // namespace platform::testing

namespace platform::testing {
namespace {

// A definition whose drawing reaches 4 pixels past its bounds, and says so.
int32_t Halo(int16_t, ControlRef c, int16_t message, intptr_t param)
{
    Rect r;
    GetControlBounds(c, &r);
    InsetRect(&r, -4, -4);
    if (message == drawCntl) PaintRect(&r);
    if (message == calcCntlRgn) RectRgn(reinterpret_cast<RgnHandle>(param), &r);
    return 0;
}

TEST_F(ControlTest, HidingErasesWhatTheDefinitionCallsItsRegion)
{
    const ControlDefSpec defSpec{kControlDefProcPtr, Halo};
    ASSERT_EQ(RegisterControlDefinition(140, &defSpec, nullptr), noErr);
    WindowRef w = Window();
    const Rect r{40, 40, 60, 60};
    ControlRef c = NewControl(w, &r, nullptr, true, 0, 0, 0, 140 * 16, 0);
    Draw1Control(c);
    RgnHandle region = NewRgn();
    ASSERT_EQ(GetControlRegion(c, kControlStructureMetaPart, region), noErr);
    Rect got;
    GetRegionBounds(region, &got);
    EXPECT_EQ(got.left, 36);
    DisposeRgn(region);
    auto pixel = [&](int16_t h, int16_t v) {
        SetPortWindowPort(w);
        RGBColor color;
        GetCPixel(h, v, &color);
        return PackRGB(color);
    };
    EXPECT_EQ(pixel(37, 50), 0x000000u);
    HideControl(c);
    EXPECT_EQ(pixel(37, 50), 0xFFFFFFu);
    EXPECT_EQ(pixel(50, 50), 0xFFFFFFu);
}

}  // namespace
}  // namespace platform::testing
