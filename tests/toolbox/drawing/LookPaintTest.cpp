// Pixels the self-drawn looks paint on offscreen worlds: the rules every
// look shares, the Mac look's buttons and arrows, the Windows look's list
// header and check boxes, and the Cop look's panels, arrows and thumbs.
#include <algorithm>
#include <tuple>
#include <utility>

#include "platform/core/FourCC.h"
#include "tests/toolbox/drawing/LookTestSupport.h"
#include "toolbox/drawing/LookCommon.h"
#include "toolbox/drawing/VCoplandLook.h"
#include "toolbox/drawing/VMacLookHandler.h"
#include "toolbox/drawing/VMacThemeLookHandler.h"
#include "toolbox/drawing/VWinLookHandler.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VStr.h"

using namespace looktest;

namespace {

constexpr int16_t kW = 60, kH = 20;

// A caption kept alive for the call that uses it.
const VString* Text(const char* s)
{
    static VStr<80> texts[4];
    static int next = 0;
    VStr<80>& t = texts[next++ % 4];
    t.FromCString(reinterpret_cast<const uint8_t*>(s), kCharSetMac);
    return &t;
}

class LookPaint : public LookTest {
protected:
    void SetUp() override
    {
        LookTest::SetUp();
        VPainter::Init();  // the painter's own standard colours: the Theme look's
        painter = std::make_unique<VPainter>(world.get(), true);
    }
    void TearDown() override
    {
        painter.reset();
        LookTest::TearDown();
    }
    uint32_t At(int32_t x, int32_t y) const { return PixelAt(world.get(), x, y); }
    // Pixels of the rectangle that are not rgb.
    int32_t CountNot(uint32_t rgb, int32_t l, int32_t t, int32_t r, int32_t b) const
    {
        return paintertest::CountNot(world.get(), rgb, l, t, r, b);
    }
    int32_t Count(uint32_t rgb, int32_t l, int32_t t, int32_t r, int32_t b) const
    {
        return (r - l) * (b - t) - CountNot(rgb, l, t, r, b);
    }
    void Clear() { Fill(world.get(), 0xFFFFFF, kW, kH); }
    bool Paint(VLookHandler& look, PaintMethod m, PaintStatus s, const VString* text = nullptr, void* extra = nullptr,
               int32_t w = kW, int32_t h = kH)
    {
        return look.Paint(painter.get(), m, s, 0, 0, w, h, text, extra);
    }

    World world{kW, kH};
    std::unique_ptr<VPainter> painter;
};

}  // namespace

TEST_F(LookPaint, EveryLookPaintsTheDefaultBoxForPartsItDoesNotDraw)
{
    VMacLookHandler mac;
    VWinLookHandler win;
    VCopLookHandler cop;
    VMacThemeLookHandler theme;
    VLookHandler* looks[] = {&mac, &win, &cop, &theme};
    for (VLookHandler* look : looks) {
        for (PaintMethod m : {38, 45, 200}) {
            Fill(world.get(), 0x123456, kW, kH);
            EXPECT_TRUE(Paint(*look, m, 0)) << m;
            EXPECT_EQ(CountNot(0x000000, 0, 0, kW, 1), 0) << m;        // framed in black
            EXPECT_EQ(CountNot(0x000000, 0, kH - 1, kW, kH), 0) << m;
            EXPECT_EQ(CountNot(0xFFFFFF, 1, 1, kW - 1, kH - 1), 0) << m;  // white inside
        }
    }
}

TEST_F(LookPaint, ANullCaptionSetsNoFontAndDrawsNothing)
{
    VMacLookHandler mac;
    VWinLookHandler win;
    VCopLookHandler cop;
    VMacThemeLookHandler theme;
    VLookHandler* looks[] = {&mac, &win, &cop, &theme};
    for (VLookHandler* look : looks) {
        painter->SetFont(*Text("Courier"));
        painter->SetFontSize(17);
        for (PaintMethod m : {2, 5, 6, 8, 9, 10, 11, 12, 13, 44}) Paint(*look, m, kStatusDisabled);
        VStr<80> name;
        painter->GetFont(name);
        EXPECT_EQ(name.CompareTo(*Text("Courier"), 1), 0);
        EXPECT_EQ(painter->GetFontSize(), 17);
        // The caption part alone: nothing at all.
        Clear();
        for (PaintStatus s : {0, 1, 2, -96, -100}) Paint(*look, kPaintButtonTitle, s);
        EXPECT_EQ(CountNot(0xFFFFFF, 0, 0, kW, kH), 0);
        // With a caption it is drawn, in the control font where the look sets one.
        Paint(*look, kPaintButtonTitle, 0, Text("Caption"));
        EXPECT_GT(CountNot(0xFFFFFF, 0, 0, kW, kH), 0);
    }
}

TEST_F(LookPaint, IconsAreLoadedOncePerHandlerAndAMissingOneLeavesTheArrowBare)
{
    const int32_t before = look::IconLoads();
    VMacLookHandler mac;
    for (int i = 0; i < 3; ++i) Paint(mac, kPaintScrollArrowUp, 0, nullptr, nullptr, 16, 16);
    Paint(mac, kPaintDropDownArrow, 0, nullptr, nullptr, 16, 16);
    Paint(mac, kPaintScrollArrowDown, 0, nullptr, nullptr, 16, 16);  // shares the drop-down arrow's icon
    EXPECT_EQ(look::IconLoads() - before, 2);
    VMacLookHandler other;
    Paint(other, kPaintScrollArrowUp, 0, nullptr, nullptr, 16, 16);
    EXPECT_EQ(look::IconLoads() - before, 3);
    VIcon* up = mac.MakeScrollIcon(painter.get(), kPaintScrollArrowUp);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->GetWidth(), 13);
    EXPECT_EQ(up->GetHeight(), 13);
    EXPECT_EQ(mac.MakeScrollIcon(painter.get(), kPaintPushButton), nullptr);

    // With the icon: black pixels inside the bevel. Without: only the face.
    Clear();
    Paint(mac, kPaintScrollArrowUp, 0, nullptr, nullptr, 16, 16);
    EXPECT_GT(Count(0x000000, 2, 2, 14, 14), 0);
    EXPECT_EQ(At(2, 2), Px(0xDDDDDD));  // outside the icon's mask the face shows
    OpenLookIcons(false);
    VMacLookHandler bare;
    Clear();
    EXPECT_TRUE(Paint(bare, kPaintScrollArrowUp, 0, nullptr, nullptr, 16, 16));
    EXPECT_EQ(CountNot(Px(0xDDDDDD), 2, 2, 14, 14), 0);
    VWinLookHandler win;
    EXPECT_TRUE(Paint(win, kPaintScrollArrowDown, 0, nullptr, nullptr, 16, 16));
    EXPECT_EQ(CountNot(Px(0xC0C0C0), 2, 2, 14, 14), 0);
}

// The arrow's icon is drawn where its part is, each time it is painted.
TEST_F(LookPaint, ScrollArrowIconsFollowTheirPart)
{
    VMacLookHandler mac;
    struct Ink {
        int32_t left = kW, top = kH, right = -1, bottom = -1;
    };
    auto ink = [&](int32_t l, int32_t t) {
        Clear();
        mac.Paint(painter.get(), kPaintScrollArrowUp, 0, l, t, 16, 16, nullptr, nullptr);
        Ink b;
        for (int32_t y = t + 1; y < t + 15; ++y)
            for (int32_t x = l + 1; x < l + 15; ++x)
                if (At(x, y) == 0x000000u) {
                    b.left = std::min(b.left, x), b.top = std::min(b.top, y);
                    b.right = std::max(b.right, x), b.bottom = std::max(b.bottom, y);
                }
        return b;
    };
    const Ink first = ink(0, 0);
    ASSERT_GE(first.right, first.left);
    for (const auto& [l, t] : {std::pair{30, 3}, std::pair{7, 1}}) {
        const Ink moved = ink(l, t);
        EXPECT_EQ(moved.left, first.left + l) << l;
        EXPECT_EQ(moved.top, first.top + t) << l;
        EXPECT_EQ(moved.right, first.right + l) << l;
        EXPECT_EQ(moved.bottom, first.bottom + t) << l;
    }
}

// Parts the Mac look shares with others, checked at the pixels where each
// line and fill lies.
TEST_F(LookPaint, MacSharedPartsPutEachColourOnItsOwnPixels)
{
    VMacLookHandler mac;
    struct Case {
        PaintMethod method;
        PaintStatus status;
        int32_t w, h;
        int32_t x, y;
        StdColor colour;
    };
    const Case cases[] = {
        {kPaintEditField, kStatusNormal, kW, kH, 1, 10, 10},  // inner top-left line
        {kPaintEditField, kStatusNormal, kW, kH, 30, 1, 10},
        {kPaintMenuItem, kStatusPushed, kW, kH, 30, 10, 34},
        {kPaintCentredSeparator, 0, 10, kH, 4, 1, 21},  // narrow: upright lines round the middle
        {kPaintCentredSeparator, 0, 10, kH, 4, 18, 21},
        {kPaintCentredSeparator, 0, 10, kH, 5, 10, 20},
        {kPaintCentredSeparator, 0, kW, kH, 1, 9, 21},  // wide: lying lines round the middle
        {kPaintCentredSeparator, 0, kW, kH, 58, 9, 21},
        {kPaintCentredSeparator, 0, kW, kH, 30, 10, 20},
        // The pop-up box sets its own line colour: the separator left 20.
        {kPaintPopUpBox, 0, kW, kH, 58, 10, 10},  // its right side, the shadow beyond
        {kPaintPopUpBox, 0, kW, kH, 57, 10, 0},
        {kPaintPopUpEditField, 0, kW, kH, 34, 10, 10},  // the box's left side after the field
    };
    for (const Case& c : cases) {
        Clear();
        Paint(mac, c.method, c.status, nullptr, nullptr, c.w, c.h);
        EXPECT_EQ(At(c.x, c.y), Px(mac.GetStdColor(c.colour))) << c.method << " at " << c.x << "," << c.y;
    }
    // The scroll track's checkerboard: colour 23, pushed 22.
    for (const auto& [status, on, off] : {std::tuple{0, 23, 22}, std::tuple{int(kStatusPushed), 22, 23}}) {
        Clear();
        Paint(mac, kPaintHScrollTrack, PaintStatus(status));
        EXPECT_GT(Count(Px(mac.GetStdColor(StdColor(on))), 0, 0, kW, kH), 0) << status;
        EXPECT_EQ(Count(Px(mac.GetStdColor(StdColor(off))), 0, 0, kW, kH), 0) << status;
    }
}

TEST_F(LookPaint, MacButtonsByStatus)
{
    VMacLookHandler mac;
    Paint(mac, kPaintPushButton, 0);
    EXPECT_EQ(At(0, 0), Px(0xEEEEEE));   // light top-left
    EXPECT_EQ(At(59, 19), 0x000000u);    // dark bottom-right
    EXPECT_EQ(At(58, 18), Px(0x666666)); // inner shadow
    EXPECT_EQ(At(30, 10), Px(0xDDDDDD)); // face

    // No face and no frame: only the caption, in colour 25.
    for (PaintStatus s : {-98, -95, 6, -101}) {
        Clear();
        Paint(mac, kPaintPushButton, s);
        EXPECT_EQ(CountNot(0xFFFFFF, 0, 0, kW, kH), 0) << s;
        Paint(mac, kPaintPushButton, s, Text("Go"));
        EXPECT_GT(Count(0x000000, 0, 0, kW, kH), 0) << s;
        EXPECT_EQ(At(0, 0), 0xFFFFFFu) << s;
        EXPECT_EQ(At(59, 19), 0xFFFFFFu) << s;
    }

    // A flat button: face alone at 0, the pushed bevel at -100.
    Clear();
    Paint(mac, kPaintFlatButton, 0);
    EXPECT_EQ(CountNot(Px(0xDDDDDD), 0, 0, kW, kH), 0);
    Paint(mac, kPaintFlatButton, -100);
    EXPECT_EQ(At(0, 0), 0x000000u);
    EXPECT_EQ(At(59, 19), Px(painter->GetStdColor(20)));
    EXPECT_EQ(At(1, 1), Px(0x666666));
    EXPECT_EQ(At(30, 10), Px(0xDDDDDD));

    // Mixed: a checkerboard face inside a one-pixel border of the background.
    Clear();
    Paint(mac, kPaintFlatButton, 2);
    EXPECT_NE(At(30, 10), At(31, 10));
    // A disabled caption is engraved: light copy below right, grey on top.
    Clear();
    Paint(mac, kPaintButtonTitle, -96, Text("Go"));
    EXPECT_GT(Count(Px(0xEEEEEE), 0, 0, kW, kH), 0);
    EXPECT_GT(Count(Px(0x888888), 0, 0, kW, kH), 0);
}

TEST_F(LookPaint, MacScrollArrowsShowTheirIconOnlyWhenNormalOrPushed)
{
    VMacLookHandler mac;
    for (PaintStatus s : {0, -100, 1, -99, -96}) {
        Clear();
        Paint(mac, kPaintScrollArrowLeft, s, nullptr, nullptr, 16, 16);
        const int32_t ink = Count(0x000000, 2, 2, 14, 14);
        if (s == 0 || s == -100) EXPECT_GT(ink, 10) << s;
        else EXPECT_EQ(ink, 0) << s;
    }
    // Disabled: the icon's pale shadow.
    Clear();
    Paint(mac, kPaintScrollArrowLeft, -96, nullptr, nullptr, 16, 16);
    EXPECT_GT(CountNot(Px(0xDDDDDD), 2, 2, 14, 14), 0);
}

TEST_F(LookPaint, MacCheckBoxIsACrossedBoxWithItsLabelBeside)
{
    VMacLookHandler mac;
    Paint(mac, kPaintCheckBox, 1, Text("Box"));
    const int32_t y = (kH - 12) >> 1;
    EXPECT_EQ(At(4, y), 0x000000u);          // the box
    EXPECT_EQ(At(10, y + 6), 0x000000u);     // the cross's middle
    EXPECT_GT(Count(0x000000, 20, 0, kW, kH), 0);  // the label
    Clear();
    Paint(mac, kPaintCheckBox, 2);  // mixed: filled with standard grey 3
    EXPECT_EQ(At(6, y + 2), Px(painter->GetStdColor(3)));
}

TEST_F(LookPaint, WindowsListHeaderDrawsOnlyTheAscendingArrowWhenBothBitsAreSet)
{
    VWinLookHandler win;
    uint16_t flags = 3;
    Paint(win, kPaintListHeaderItem, 0, nullptr, &flags);
    const uint32_t ink = Px(painter->GetStdColor(21));
    ASSERT_NE(ink, Px(0xC0C0C0));
    const int32_t x = kW - 12, y = (kH - 4) / 2;
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t col = x - 2; col <= x + 8; ++col) {
            const bool in = col >= x + 3 - row && col <= x + 3 + row;
            EXPECT_EQ(At(col, y + row) == ink, in) << col << "," << y + row;
        }
    for (int32_t col = x - 2; col <= x + 8; ++col) EXPECT_NE(At(col, y + 4), ink) << "four rows only";
    // Descending alone: the point at the bottom.
    Clear();
    flags = 2;
    Paint(win, kPaintListHeaderItem2, 0, nullptr, &flags);
    EXPECT_EQ(At(x + 3, y + 3), ink);
    EXPECT_NE(At(x, y + 3), ink);
    EXPECT_EQ(At(x, y), ink);
    // Without its flags word: a header with no arrow.
    Clear();
    EXPECT_TRUE(Paint(win, kPaintListHeaderItem, 0));
    EXPECT_EQ(At(x + 3, y), Px(0xC0C0C0));
    // Pushed: framed in colour 21; neighbour bits draw nothing of their own.
    Clear();
    flags = 12;
    Paint(win, kPaintListHeaderItem3, -100, nullptr, &flags);
    EXPECT_EQ(At(0, 0), Px(0x7F7F7F));
    EXPECT_EQ(At(x + 3, y), Px(0xC0C0C0));
}

// The Windows look's own edges, header lines and grip, at their pixels.
TEST_F(LookPaint, WindowsEdgesHeadersAndGripsAtTheirPixels)
{
    VWinLookHandler win;
    const uint32_t ground = 0x123456;
    struct Case {
        PaintMethod method;
        int32_t x, y;
        uint32_t rgb;
    };
    const Case cases[] = {
        {kPaintRaisedEdge, 0, 5, 0xE0E0E0},      // top and left light
        {kPaintRaisedEdge, 5, 0, 0xE0E0E0},
        {kPaintListHeaderItem, 1, kH - 1, 0x7F7F7F},  // the bottom line, from the left
        {kPaintGrip, 1, 1, 0xFFFFFF},           // a wide grip's top line starts one in
        {kPaintGrip, 0, 1, ground},
    };
    for (const Case& c : cases) {
        Fill(world.get(), ground, kW, kH);
        uint16_t flags = 0;
        Paint(win, c.method, 0, nullptr, c.method == kPaintListHeaderItem ? &flags : nullptr);
        EXPECT_EQ(At(c.x, c.y), c.rgb == ground ? ground : Px(c.rgb)) << c.method << " at " << c.x << "," << c.y;
    }
}

TEST_F(LookPaint, WindowsCheckBoxesUseTheBitmapOfTheirStatus)
{
    VWinLookHandler win;
    auto idOf = [](const char* name) {
        VStr<80> n;
        n.FromCString(reinterpret_cast<const uint8_t*>(name), kCharSetMac);
        return gResFile->GetResourceID(platform::FourCC("cicn"), n);
    };
    VIcon* normal = win.MakeCheckIcon(painter.get(), 0);
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->GetResID(), idOf("WinCheckNormal"));
    EXPECT_EQ(win.MakeCheckIcon(painter.get(), -98), normal);
    EXPECT_EQ(win.MakeCheckIcon(painter.get(), 3), normal);
    EXPECT_EQ(win.MakeCheckIcon(painter.get(), -95)->GetResID(), idOf("WinCheckDisabledChecked"));
    EXPECT_EQ(win.MakeCheckIcon(painter.get(), -94)->GetResID(), idOf("WinCheckDisabledMixed"));
    EXPECT_EQ(win.MakeRadioIcon(painter.get(), -97)->GetResID(), idOf("WinRadioPushedMixed"));
    EXPECT_EQ(normal->GetWidth(), 13);

    // -98 and 3 paint what 0 paints, caption and all.
    World first(kW, kH);
    VPainter p0(first.get(), true);
    win.Paint(&p0, kPaintCheckBox, 0, 0, 0, kW, kH, Text("Check"), nullptr);
    for (PaintStatus s : {-98, 3}) {
        Clear();
        Paint(win, kPaintCheckBox, s, Text("Check"));
        EXPECT_TRUE(SamePixels(first.get(), world.get(), kW, kH)) << s;
    }
    // Disabled while on or mixed: another bitmap, the caption as at 0 (colour
    // 25, not engraved); only -96 engraves.
    auto sameCaption = [&] {
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 18; x < kW; ++x)
                if (PixelAt(first.get(), x, y) != At(x, y)) return false;
        return true;
    };
    for (PaintStatus s : {-95, -94}) {
        Clear();
        Paint(win, kPaintCheckBox, s, Text("Check"));
        EXPECT_TRUE(sameCaption()) << s;
        EXPECT_FALSE(SamePixels(first.get(), world.get(), kW, kH)) << s;
    }
    Clear();
    Paint(win, kPaintCheckBox, -96, Text("Check"));
    EXPECT_FALSE(sameCaption());
    EXPECT_EQ(Count(0x000000, 20, 0, kW, kH), 0);
}

TEST_F(LookPaint, CopLookWithoutAppearance11)
{
    platform::OverrideGestalt(platform::FourCC("apvr"), 0x0100);
    VCopLookHandler old;
    EXPECT_FALSE(old.HasAppearance11());
    Fill(world.get(), 0x123456, kW, kH);
    Paint(old, kPaintPanel, 0);
    EXPECT_EQ(CountNot(0x123456, 0, 0, kW, kH), 0);
    EXPECT_EQ(old.GetStdBehaviour(0), 0);
    EXPECT_EQ(old.GetStdBehaviour(4), 0);
    platform::ClearGestaltOverrides();
    VCopLookHandler current;
    EXPECT_TRUE(current.HasAppearance11());
    Paint(current, kPaintPanel, 0);
    EXPECT_EQ(At(30, 10), Px(0xDDDDDD));
}

TEST_F(LookPaint, CopScrollArrowsAndThumbs)
{
    VCopLookHandler cop;
    Fill(world.get(), 0x123456, kW, kH);
    Paint(cop, kPaintScrollArrowUp, -93, nullptr, nullptr, 16, 16);
    EXPECT_EQ(CountNot(0x123456, 0, 0, kW, kH), 0);

    // Disabled: the face and a grey triangle, no bevel.
    Paint(cop, kPaintScrollArrowUp, -96, nullptr, nullptr, 16, 16);
    const int32_t cx = 8, cy = 8;
    EXPECT_EQ(At(1, 1), Px(0xDDDDDD));
    EXPECT_EQ(At(cx - 4, cy + 1), Px(0x777777));
    EXPECT_EQ(At(cx, cy - 2), Px(0x777777));
    EXPECT_EQ(At(cx + 1, cy - 2), Px(0xDDDDDD));
    // Normal: the white bevel and a black triangle.
    Paint(cop, kPaintScrollArrowUp, 0, nullptr, nullptr, 16, 16);
    EXPECT_EQ(At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(At(cx - 4, cy + 1), 0x000000u);

    // A thumb 9 pixels wide has no grip; 16 pixels wide has one.
    Clear();
    Paint(cop, kPaintVScrollThumb, 0, nullptr, nullptr, 9, 20);
    EXPECT_EQ(At(4, 10 - 4), Px(0xFF9999));  // a grip would draw its light row here
    Paint(cop, kPaintVScrollThumb, 0, nullptr, nullptr, 16, 20);
    EXPECT_EQ(At(8 - 3, 10 - 4), Px(0xFFCCCC));
    EXPECT_EQ(At(8 - 4, 10 - 4), Px(0xEEEEEE));
    EXPECT_EQ(At(8 + 3, 10 - 3), Px(0x993333));
    // Pushed: one step darker.
    Paint(cop, kPaintVScrollThumb, -100, nullptr, nullptr, 16, 20);
    EXPECT_EQ(At(8 - 3, 10 - 4), Px(0xFF9999));
    EXPECT_EQ(At(2, 15), Px(0xCC6666));
}

TEST_F(LookPaint, CopColour46IsPaintedAsMidGrey)
{
    VCopLookHandler cop;
    Paint(cop, kPaintScrollBarBackground, -96);
    EXPECT_EQ(At(0, 0), Px(0x555555));
    Paint(cop, kPaintSplitBar, 0);
    EXPECT_EQ(At(30, 10), Px(0x555555));
    EXPECT_EQ(At(0, 10), 0x000000u);
}

// The Cop look's edit field keeps a two-pixel margin inside its frame up to
// 17 pixels high and three from 18; its horizontal track has a mid-grey
// inner edge along the bottom; its right arrow's base is eight pixels tall;
// its pop-up box is light grey with a double arrow at the right.
TEST_F(LookPaint, CopFieldTrackArrowAndPopUpEdges)
{
    VCopLookHandler cop;
    struct Margin {
        int32_t h, in;
    };
    for (const Margin& m : {Margin{17, 2}, Margin{18, 3}}) {
        Clear();
        Paint(cop, kPaintEditField, 0, nullptr, nullptr, 40, m.h);
        const int32_t y = m.h / 2;
        EXPECT_EQ(At(m.in, y), At(20, y)) << m.h;
        EXPECT_NE(At(m.in - 1, y), At(20, y)) << m.h;
    }

    Clear();
    Paint(cop, kPaintHScrollTrack, 0, nullptr, nullptr, 40, 16);
    for (int32_t x = 2; x < 39; ++x) {
        EXPECT_EQ(At(x, 13), Px(0xBBBBBB)) << x;
        EXPECT_EQ(At(x, 14), Px(0xCCCCCC)) << x;
    }

    Clear();
    Paint(cop, kPaintScrollArrowRight, 0, nullptr, nullptr, 16, 16);
    EXPECT_EQ(At(6, 4), 0x000000u);
    EXPECT_EQ(At(6, 11), 0x000000u);
    EXPECT_NE(At(6, 3), 0x000000u);

    Clear();
    Paint(cop, kPaintPopUpBox, 0, nullptr, nullptr, 40, 20);
    const int32_t r = 40;
    EXPECT_EQ(At(5, 10), Px(0xDDDDDD));
    EXPECT_EQ(At(r - 10, 5), Px(0xDDDDDD));
    EXPECT_EQ(At(r - 12, 4), 0x000000u);
    for (int32_t x = r - 14; x <= r - 10; ++x) EXPECT_EQ(At(x, 6), 0x000000u) << x;
    for (int32_t x = r - 13; x <= r - 11; ++x) EXPECT_EQ(At(x, 5), 0x000000u) << x;
}
