// The theme's drawing: every button kind, value and state is stable and
// distinct where it must be; label places, tracks and the drawing state.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace {

class ThemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDrawingState();
        const Rect bounds{0, 0, 40, 120};
        ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
        SetGWorld(world, nullptr);
    }
    void TearDown() override
    {
        SetGWorld(nullptr, nullptr);
        DisposeGWorld(world);
    }
    std::vector<uint32_t> Draw(ThemeButtonKind kind, ThemeButtonValue value, ThemeDrawState state,
                               ThemeButtonAdornment adornment = 0)
    {
        const Rect all{0, 0, 40, 120};
        EraseRect(&all);
        const Rect button{10, 10, 30, 110};
        ThemeButtonDrawInfo info{state, value, adornment};
        EXPECT_EQ(DrawThemeButton(&button, kind, &info, nullptr, nullptr, nullptr, 0), noErr);
        const PixMap* pm = *GetGWorldPixMap(world);
        const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
        return std::vector<uint32_t>(p, p + size_t(pm->rowBytes & kRowBytesMask) / 4 * 40);
    }
    GWorldPtr world = nullptr;
};

TEST_F(ThemeTest, EveryKindValueAndStateDrawsTheSameTwiceAndShowsItsValue)
{
    const ThemeButtonKind kinds[] = {kThemePushButton,       kThemeCheckBox,         kThemeRadioButton,
                                     kThemePopupButton,      kThemeSmallBevelButton, kThemeListHeaderButton,
                                     kThemeSmallCheckBox,    kThemeSmallRadioButton};
    for (ThemeButtonKind kind : kinds) {
        for (ThemeDrawState state : {kThemeStateInactive, kThemeStateActive, kThemeStatePressed}) {
            for (ThemeButtonValue value : {kThemeButtonOff, kThemeButtonOn, kThemeButtonMixed})
                EXPECT_EQ(Draw(kind, value, state), Draw(kind, value, state)) << kind << " " << state << " " << value;
            const auto off = Draw(kind, kThemeButtonOff, state);
            const auto on = Draw(kind, kThemeButtonOn, state);
            const auto mixed = Draw(kind, kThemeButtonMixed, state);
            EXPECT_NE(mixed, on) << kind << " " << state;
            EXPECT_NE(mixed, off) << kind << " " << state;
        }
        EXPECT_NE(Draw(kind, kThemeButtonOff, kThemeStatePressed), Draw(kind, kThemeButtonOff, kThemeStateActive)) << kind;
        EXPECT_NE(Draw(kind, kThemeButtonOff, kThemeStateActive, kThemeAdornmentFocus),
                  Draw(kind, kThemeButtonOff, kThemeStateActive)) << kind;
    }
    EXPECT_NE(Draw(kThemePushButton, 0, kThemeStateActive, kThemeAdornmentDefault), Draw(kThemePushButton, 0, kThemeStateActive));
    EXPECT_NE(Draw(kThemeListHeaderButton, kThemeButtonOn, kThemeStateActive, kThemeAdornmentHeaderButtonSortUp),
              Draw(kThemeListHeaderButton, kThemeButtonOn, kThemeStateActive));
    const Rect button{10, 10, 30, 110};
    ThemeButtonDrawInfo info{kThemeStateActive, 0, 0};
    EXPECT_EQ(DrawThemeButton(&button, 3, &info, nullptr, nullptr, nullptr, 0), paramErr);
}

Rect gLabel;
int gErased = 0;
void Label(const Rect* bounds, ThemeButtonKind, const ThemeButtonDrawInfo*, uintptr_t, int16_t, Boolean) { gLabel = *bounds; }
void Erase(const Rect*, uint32_t, int16_t, Boolean) { ++gErased; }

TEST_F(ThemeTest, LabelsGetTheRoomBesideTheIndicator)
{
    const Rect button{10, 10, 30, 110};
    ThemeButtonDrawInfo info{kThemeStateActive, kThemeButtonOn, 0};
    gErased = 0;
    ASSERT_EQ(DrawThemeButton(&button, kThemeCheckBox, &info, nullptr, Erase, Label, 0), noErr);
    EXPECT_EQ(gErased, 1);
    EXPECT_GT(gLabel.left, button.left + 12);
    EXPECT_EQ(gLabel.right, button.right);
    info.adornment = kThemeAdornmentRightToLeft;
    DrawThemeButton(&button, kThemeRadioButton, &info, nullptr, nullptr, Label, 0);
    EXPECT_EQ(gLabel.left, button.left);
    EXPECT_LT(gLabel.right, button.right - 12);
    info.adornment = 0;
    DrawThemeButton(&button, kThemePopupButton, &info, nullptr, nullptr, Label, 0);
    EXPECT_LT(gLabel.right, button.right - 18);
}

TEST_F(ThemeTest, ScrollBarsLeaveTheTrackBetweenTheArrowsAndPlaceTheThumb)
{
    const Rect bar{0, 0, 16, 120};
    Rect track;
    ASSERT_EQ(DrawThemeScrollBarArrows(&bar, kThemeTrackActive, 0, true, &track), noErr);
    EXPECT_EQ(track.left, 16);
    EXPECT_EQ(track.right, 104);
    ThemeTrackDrawInfo info{};
    info.kind = kThemeScrollBar;
    info.bounds = track;
    info.min = 0;
    info.max = 100;
    info.value = 100;
    info.attributes = kThemeTrackShowThumb | kThemeTrackHorizontal;
    info.trackInfo.scrollbar.viewsize = 100;
    Rect thumb;
    ASSERT_TRUE(GetThemeTrackThumbRect(&info, &thumb));
    EXPECT_EQ(thumb.right, track.right);  // at the maximum, at the end
    EXPECT_EQ(thumb.right - thumb.left, 44);  // half the track for half the content
    EXPECT_EQ(DrawThemeTrack(&info, nullptr, nullptr, 0), noErr);
    info.max = 0;
    EXPECT_FALSE(GetThemeTrackThumbRect(&info, &thumb));  // nothing to scroll
}

TEST_F(ThemeTest, MetricsColoursAndDrawingState)
{
    int32_t v = 0;
    EXPECT_EQ(GetThemeMetric(kThemeMetricScrollBarWidth, &v), noErr);
    EXPECT_EQ(v, 16);
    EXPECT_EQ(GetThemeMetric(kThemeMetricListHeaderHeight, &v), noErr);
    EXPECT_EQ(v, 17);
    EXPECT_EQ(GetThemeMetric(kThemeMetricDisclosureTriangleWidth, &v), noErr);
    EXPECT_EQ(v, 13);
    EXPECT_EQ(GetThemeMetric(999, &v), paramErr);
    RGBColor c;
    EXPECT_EQ(GetThemeBrushAsColor(kThemeBrushDialogBackgroundActive, 32, true, &c), noErr);
    EXPECT_EQ(GetThemeBrushAsColor(500, 32, true, &c), themeInvalidBrushErr);
    CTabHandle accents = reinterpret_cast<CTabHandle>(1);
    EXPECT_EQ(GetThemeAccentColors(&accents), themeHasNoAccentsErr);
    EXPECT_EQ(accents, nullptr);

    ThemeDrawingState saved = nullptr;
    ASSERT_EQ(GetThemeDrawingState(&saved), noErr);
    const RGBColor red{0xFFFF, 0, 0};
    RGBForeColor(&red);
    PenSize(3, 3);
    TextSize(24);
    ASSERT_EQ(SetThemeBackground(kThemeBrushDialogBackgroundActive, 32, true), noErr);
    ASSERT_EQ(SetThemeDrawingState(saved, true), noErr);
    RGBColor fore;
    GetForeColor(&fore);
    EXPECT_EQ(fore.red, 0);
    PenState pen;
    GetPenState(&pen);
    EXPECT_EQ(pen.pnSize.h, 1);
    EXPECT_EQ(GetPortTextSize(world), 0);
    RGBForeColor(&red);
    NormalizeThemeDrawingState();
    GetForeColor(&fore);
    EXPECT_EQ(fore.red, 0);
}

}  // namespace
}  // namespace platform
