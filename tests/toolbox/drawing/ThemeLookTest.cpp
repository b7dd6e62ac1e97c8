// The Theme look: which theme parts it asks for and in which states, its
// fall-back to the Cop look on older systems, captions placed by the
// theme's label rectangle, and theme drawing on ports that record
// pictures or print, which goes through an offscreen copy.
#include <array>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/pictures/Pictures.h"
#include "platform/theme/Theme.h"
#include "tests/toolbox/drawing/LookTestSupport.h"
#include "toolbox/drawing/VCoplandLook.h"
#include "toolbox/drawing/VMacThemeLookHandler.h"
#include "toolbox/foundation/VStr.h"

using namespace looktest;
using platform::Rect;

namespace {

constexpr int16_t kW = 80, kH = 24;

const VString* Text(const char* s)
{
    static VStr<80> texts[4];
    static int next = 0;
    VStr<80>& t = texts[next++ % 4];
    t.FromCString(reinterpret_cast<const uint8_t*>(s), kCharSetMac);
    return &t;
}

class PrinterPainter : public VPainter {
public:
    using VPainter::VPainter;
    bool IsPrinterPainter() const override { return true; }
};

// The port each theme call drew in.
std::vector<platform::GrafPtr> gCallPorts;

class ThemeLook : public LookTest {
protected:
    void SetUp() override
    {
        LookTest::SetUp();
        VPainter::Init();
    }
    const Call& Only(const std::string& name)
    {
        EXPECT_EQ(CountCalls(name), 1) << name;
        static const Call none{};
        const Call* c = FindCall(name);
        return c ? *c : none;
    }
    // The scroll bar record: maximum, value, page size and pressed part.
    void ScrollBar(VLookHandler& look, VPainter& p, PaintStatus status, int32_t maximum, int32_t value, int32_t page,
                   int32_t part)
    {
        int32_t record[5] = {0, maximum, value, page, part};
        calls.clear();
        look.Paint(&p, kPaintWholeScrollBar, status, 0, 0, kW, 16, nullptr, record);
    }
};

}  // namespace

TEST_F(ThemeLook, BeforeAppearance11EveryPartIsTheCopLooks)
{
    platform::OverrideGestalt(platform::FourCC("apvr"), 0x010F);
    VMacThemeLookHandler theme;
    VCopLookHandler cop;
    World a(kW, kH), b(kW, kH);
    int32_t record[5] = {0, 10, 3, 4, 5};
    for (PaintMethod m = 0; m <= 44; ++m)
        for (PaintStatus s : {0, 1, -96, -100}) {
            Fill(a.get(), 0x336699, kW, kH);
            Fill(b.get(), 0x336699, kW, kH);
            VPainter pa(a.get(), true), pb(b.get(), true);
            calls.clear();
            EXPECT_TRUE(theme.Paint(&pa, m, s, 2, 1, kW - 4, kH - 2, Text("Ab"), record));
            EXPECT_EQ(CountCalls("DrawThemeButton") + CountCalls("DrawThemeTrack"), 0) << m;
            cop.Paint(&pb, m, s, 2, 1, kW - 4, kH - 2, Text("Ab"), record);
            EXPECT_TRUE(SamePixels(a.get(), b.get(), kW, kH)) << "method " << m << " status " << s;
        }
    EXPECT_EQ(theme.GetStdBehaviour(0), 0);
    EXPECT_EQ(theme.GetStdBehaviour(4), 0);
}

TEST_F(ThemeLook, AFlatButtonAtRestOnlyErasesWithTheDialogBackground)
{
    VMacThemeLookHandler theme;
    World w(kW, kH);
    VPainter p(w.get(), true);
    for (PaintStatus s : {0, -96}) {
        Fill(w.get(), 0x336699, kW, kH);
        calls.clear();
        theme.Paint(&p, kPaintFlatButton, s, 0, 0, kW, kH, Text("Flat"), nullptr);
        EXPECT_EQ(Only("SetThemeBackground").args.kind, platform::kThemeBrushDialogBackgroundActive);
        EXPECT_EQ(CountCalls("DrawThemeButton"), 0);
        platform::RGBColor c{};
        platform::GetThemeBrushAsColor(platform::kThemeBrushDialogBackgroundActive, 32, true, &c);
        const uint32_t rgb = uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | (c.blue >> 8);
        EXPECT_EQ(paintertest::CountNot(w.get(), rgb, 0, 0, kW, kH), 0) << s;
    }
    // Pressed: a small bevel button, pressed, then its caption.
    calls.clear();
    theme.Paint(&p, kPaintFlatButton, -100, 0, 0, kW, kH, nullptr, nullptr);
    const Call& button = Only("DrawThemeButton");
    EXPECT_EQ(button.args.kind, platform::kThemeSmallBevelButton);
    EXPECT_EQ(button.args.state, int32_t(platform::kThemeStatePressed));
    // Push buttons: pressed at 1 and 4 too, inactive when disabled.
    const std::array<std::pair<PaintStatus, platform::ThemeDrawState>, 6> states = {{
        {1, platform::kThemeStatePressed},
        {4, platform::kThemeStatePressed},
        {-99, platform::kThemeStatePressed},
        {-96, platform::kThemeStateInactive},
        {0, platform::kThemeStateActive},
        {2, platform::kThemeStateActive},
    }};
    for (const auto& [status, state] : states) {
        calls.clear();
        theme.Paint(&p, kPaintPushButton, status, 0, 0, kW, kH, nullptr, nullptr);
        EXPECT_EQ(Only("DrawThemeButton").args.state, int32_t(state)) << status;
    }
}

TEST_F(ThemeLook, CheckBoxesAndRadioButtonsAskTheThemeByHeightAndState)
{
    VMacThemeLookHandler theme;
    World w(kW, kH);
    VPainter p(w.get(), true);
    struct Case {
        PaintMethod method;
        int32_t height;
        PaintStatus status;
        platform::ThemeButtonKind kind;
        platform::ThemeButtonValue value;
        platform::ThemeDrawState state;
    };
    const Case cases[] = {
        {kPaintCheckBox, 16, 0, platform::kThemeSmallCheckBox, 0, platform::kThemeStateActive},
        {kPaintCheckBox, 17, 1, platform::kThemeCheckBox, 1, platform::kThemeStateActive},
        {kPaintRadioButton, 16, -97, platform::kThemeSmallRadioButton, 2, platform::kThemeStatePressed},
        {kPaintRadioButton, 20, -95, platform::kThemeRadioButton, 1, platform::kThemeStateInactive},
        {kPaintCheckBox, 12, -94, platform::kThemeSmallCheckBox, 2, platform::kThemeStateInactive},
        {kPaintCheckBox, 12, -98, platform::kThemeSmallCheckBox, 0, platform::kThemeStateActive},
    };
    for (const Case& c : cases) {
        calls.clear();
        theme.Paint(&p, c.method, c.status, 0, 0, kW, c.height, nullptr, nullptr);
        const Call& b = Only("DrawThemeButton");
        EXPECT_EQ(b.args.kind, c.kind) << c.status;
        EXPECT_EQ(b.args.value, c.value) << c.status;
        EXPECT_EQ(b.args.state, int32_t(c.state)) << c.status;
    }
}

TEST_F(ThemeLook, TheCaptionOfACheckBoxStartsAtTheThemesLabelRectangle)
{
    VMacThemeLookHandler theme;
    World bare(kW, kH), labelled(kW, kH);
    VPainter pb(bare.get(), true), pl(labelled.get(), true);
    theme.Paint(&pb, kPaintCheckBox, 0, 0, 4, kW, 16, nullptr, nullptr);
    theme.Paint(&pl, kPaintCheckBox, 0, 0, 4, kW, 16, Text("Label"), nullptr);
    const platform::ThemeButtonDrawInfo info{platform::kThemeStateActive, 0, 0};
    const Rect bounds{4, 0, 20, kW};
    Rect label{};
    ASSERT_EQ(platform::GetThemeButtonContentBounds(&bounds, platform::kThemeSmallCheckBox, &info, &label),
              platform::noErr);
    ASSERT_GT(label.left, 0);
    int32_t first = kW;
    for (int32_t x = 0; x < kW && first == kW; ++x)
        for (int32_t y = 0; y < kH; ++y)
            if (PixelAt(bare.get(), x, y) != PixelAt(labelled.get(), x, y)) {
                first = x;
                break;
            }
    EXPECT_GE(first, label.left);
    EXPECT_LT(first, label.left + 4);

    // The label procedure only copies what the platform gives it: a caption
    // is placed by the button's own rectangle until the platform says more.
    Rect kept{1, 2, 3, 4};
    MACTheme_DrawProc_RadioCheck(nullptr, 0, &info, reinterpret_cast<uintptr_t>(&kept), 32, true);
    EXPECT_EQ(kept.left, 2);
    MACTheme_DrawProc_RadioCheck(&label, 0, &info, reinterpret_cast<uintptr_t>(&kept), 32, true);
    EXPECT_EQ(kept.left, label.left);
    MACTheme_DrawProc_RadioCheck(&label, 0, &info, 0, 32, true);  // no place to keep it: nothing
}

TEST_F(ThemeLook, WholeScrollBarStates)
{
    VMacThemeLookHandler theme;
    World w(kW, 16);
    VPainter p(w.get(), true);
    ScrollBar(theme, p, -100, 50, 10, 20, 5);
    EXPECT_EQ(CountCalls("NormalizeThemeDrawingState"), 1);
    EXPECT_EQ(Only("DrawThemeScrollBarArrows").args.adornment, platform::kThemeThumbPressed);
    EXPECT_EQ(Only("DrawThemeScrollBarArrows").args.kind, 1);  // horizontal
    const Call& track = Only("DrawThemeTrack");
    EXPECT_EQ(track.args.adornment, platform::kThemeThumbPressed);
    EXPECT_EQ(track.args.state, platform::kThemeTrackActive);
    EXPECT_EQ(track.args.maximum, 50);
    EXPECT_EQ(track.args.value, 10);
    EXPECT_EQ(track.args.attributes, platform::kThemeTrackShowThumb | platform::kThemeTrackHorizontal);
    EXPECT_EQ(track.args.viewSize, theme.GetStdBehaviour(0) ? 20 : 0);
    // The track lies between the arrows.
    EXPECT_GT(track.args.bounds.left, 0);
    EXPECT_LT(track.args.bounds.right, kW);

    ScrollBar(theme, p, -100, 50, 10, 20, 1);
    EXPECT_EQ(Only("DrawThemeTrack").args.adornment, 0x21);
    ScrollBar(theme, p, -100, 50, 10, 20, 2);
    EXPECT_EQ(Only("DrawThemeTrack").args.adornment, 0x42);
    ScrollBar(theme, p, 0, 50, 10, 20, 5);  // pressed parts count only when pushed
    EXPECT_EQ(Only("DrawThemeTrack").args.adornment, 0);

    ScrollBar(theme, p, 0, 0, 0, 20, 0);
    EXPECT_EQ(Only("DrawThemeTrack").args.state, platform::kThemeTrackNothingToScroll);
    EXPECT_EQ(Only("DrawThemeTrack").args.viewSize, 0);
    ScrollBar(theme, p, -93, 50, 10, 20, 0);
    EXPECT_EQ(Only("DrawThemeTrack").args.state, platform::kThemeTrackInactive);
    ScrollBar(theme, p, -96, 50, 0, 20, 0);
    EXPECT_EQ(Only("DrawThemeTrack").args.state, platform::kThemeTrackInactive);
    ScrollBar(theme, p, -96, 0, 0, 20, 0);
    EXPECT_EQ(Only("DrawThemeTrack").args.state, platform::kThemeTrackNothingToScroll);
    calls.clear();
    theme.Paint(&p, kPaintWholeScrollBar, 0, 0, 0, 16, kW, nullptr, nullptr);  // no record: all zero
    EXPECT_EQ(Only("DrawThemeTrack").args.state, platform::kThemeTrackNothingToScroll);
    EXPECT_EQ(Only("DrawThemeTrack").args.attributes, platform::kThemeTrackShowThumb);
}

TEST_F(ThemeLook, ListHeadersMenusFramesAndBars)
{
    VMacThemeLookHandler theme;
    World w(kW, kH);
    VPainter p(w.get(), true);
    auto header = [&](PaintStatus s, uint16_t flags) {
        calls.clear();
        theme.Paint(&p, kPaintListHeaderItem, s, 0, 0, kW, kH, nullptr, &flags);
        return Only("DrawThemeButton").args;
    };
    platform::ThemeCall c = header(0, 1 | 4);
    EXPECT_EQ(c.kind, platform::kThemeListHeaderButton);
    EXPECT_EQ(c.value, 1);
    EXPECT_EQ(c.adornment, 0x100 | 0x40);
    c = header(-100, 2 | 8);
    EXPECT_EQ(c.value, 1);
    EXPECT_EQ(c.adornment, 0x80);
    EXPECT_EQ(c.state, int32_t(platform::kThemeStatePressed));
    c = header(0, 2);
    EXPECT_EQ(c.adornment, 0) << "sorted, no neighbour selected";
    c = header(-96, 0);
    EXPECT_EQ(c.value + c.adornment, 0);
    EXPECT_EQ(c.state, int32_t(platform::kThemeStateInactive));

    calls.clear();
    theme.Paint(&p, kPaintEditField, -96, 0, 0, kW, kH, Text("Field"), nullptr);
    const Call& frame = Only("DrawThemeEditTextFrame");
    EXPECT_EQ(frame.args.state, int32_t(platform::kThemeStateInactive));
    EXPECT_EQ(frame.args.bounds.left, 2);
    EXPECT_EQ(frame.args.bounds.bottom, kH - 2);

    calls.clear();
    theme.Paint(&p, kPaintMenuItem, -100, 0, 0, kW, kH, Text("Item"), nullptr);
    EXPECT_EQ(Only("DrawThemeMenuItem").args.state, platform::kThemeMenuSelected);
    EXPECT_EQ(Only("DrawThemeTextBox").args.kind, platform::kThemeMenuItemFont);
    EXPECT_EQ(Only("DrawThemeTextBox").args.state, int32_t(platform::kThemeStatePressed));
    calls.clear();
    theme.Paint(&p, kPaintMenuTitle, -96, 0, 0, kW, kH, Text("Title"), nullptr);
    EXPECT_EQ(Only("DrawThemeMenuTitle").args.state, platform::kThemeMenuDisabled);
    EXPECT_EQ(Only("DrawThemeTextBox").args.adornment, platform::teCenter);

    calls.clear();
    theme.Paint(&p, kPaintCentredSeparator, 0, 0, 0, kW, kH, nullptr, nullptr);
    theme.Paint(&p, kPaintMenuBarBackground, 0, 0, 0, kW, kH, nullptr, nullptr);
    theme.Paint(&p, kPaintPopUpBox, -100, 0, 0, kW, kH, nullptr, nullptr);
    EXPECT_EQ(CountCalls("DrawThemeSeparator"), 1);
    EXPECT_EQ(CountCalls("DrawThemeMenuBarBackground"), 1);
    EXPECT_EQ(Only("DrawThemeButton").args.kind, platform::kThemePopupButton);
    // Far outside the 16-bit plane the rectangle is clamped, not wrapped
    // round onto the port.
    calls.clear();
    theme.Paint(&p, kPaintCentredSeparator, 0, 40000, 70000, kW, kH, nullptr, nullptr);
    EXPECT_EQ(Only("DrawThemeSeparator").args.bounds.left, INT16_MAX);
    EXPECT_EQ(Only("DrawThemeSeparator").args.bounds.top, INT16_MAX);
    // A list header without its flags word: no flags.
    calls.clear();
    theme.Paint(&p, kPaintListHeaderItem2, 0, 0, 0, kW, kH, nullptr, nullptr);
    EXPECT_EQ(Only("DrawThemeButton").args.value, 0);
    // Parts the theme does not draw are the Cop look's.
    calls.clear();
    theme.Paint(&p, kPaintVScrollThumb, 0, 0, 0, 16, kH, nullptr, nullptr);
    EXPECT_TRUE(calls.empty());
}

TEST_F(ThemeLook, PartsOnAPictureOrAPrinterAreDrawnOffscreenAndCopiedBack)
{
    VMacThemeLookHandler theme;
    int32_t record[5] = {0, 100, 30, 20, 0};
    auto drawAll = [&](VPainter& p) {
        theme.Paint(&p, kPaintWholeScrollBar, 0, 0, 0, kW, 16, nullptr, record);
        theme.Paint(&p, kPaintPushButton, 0, 4, 16, 40, 8, nullptr, nullptr);
    };
    auto listenPorts = [](const platform::ThemeCall& call, void*) {
        if (std::string(call.name).rfind("Draw", 0) == 0) {
            platform::GrafPtr port = nullptr;
            platform::GetPort(&port);
            gCallPorts.push_back(port);
        }
    };

    // Drawn straight onto a plain port.
    World direct(kW, kH);
    Fill(direct.get(), 0x336699, kW, kH);
    gCallPorts.clear();
    platform::SetThemeCallListener(listenPorts, nullptr);
    {
        VPainter p(direct.get(), true);
        drawAll(p);
    }
    ASSERT_FALSE(gCallPorts.empty());
    for (platform::GrafPtr port : gCallPorts) EXPECT_EQ(port, direct.get());

    // Recorded into a picture: the theme draws elsewhere, the picture holds bits.
    World recorded(kW, kH);
    Fill(recorded.get(), 0x336699, kW, kH);
    platform::SetPort(recorded.get());
    const platform::OpenCPicParams params{Rect{0, 0, kH, kW}, 72 << 16, 72 << 16, -2, 0, 0};
    platform::PicHandle picture = platform::OpenCPicture(&params);
    ASSERT_NE(picture, nullptr);
    gCallPorts.clear();
    {
        VPainter p(recorded.get(), true);
        drawAll(p);
    }
    platform::SetPort(recorded.get());
    platform::ClosePicture();
    ASSERT_FALSE(gCallPorts.empty());
    for (platform::GrafPtr port : gCallPorts) EXPECT_NE(port, recorded.get());
    EXPECT_TRUE(SamePixels(direct.get(), recorded.get(), kW, kH));
    bool bits = false;
    const int32_t size = platform::GetHandleSize(reinterpret_cast<platform::Handle>(picture));
    const uint8_t* data = reinterpret_cast<const uint8_t*>(*picture);
    for (int32_t i = 10; i + 1 < size; i += 2) bits |= data[i] == 0x00 && (data[i + 1] & 0xF8) == 0x98;
    EXPECT_TRUE(bits);
    // Played back over the same background: the same pixels.
    World replay(kW, kH);
    Fill(replay.get(), 0x336699, kW, kH);
    platform::SetPort(replay.get());
    const Rect frame{0, 0, kH, kW};
    platform::DrawPicture(picture, &frame);
    EXPECT_TRUE(SamePixels(direct.get(), replay.get(), kW, kH));
    platform::KillPicture(picture);

    // A printer painter likewise.
    World printed(kW, kH);
    Fill(printed.get(), 0x336699, kW, kH);
    gCallPorts.clear();
    {
        PrinterPainter p(printed.get(), true);
        drawAll(p);
    }
    ASSERT_FALSE(gCallPorts.empty());
    for (platform::GrafPtr port : gCallPorts) EXPECT_NE(port, printed.get());
    EXPECT_TRUE(SamePixels(direct.get(), printed.get(), kW, kH));
    platform::SetThemeCallListener(nullptr, nullptr);
}
