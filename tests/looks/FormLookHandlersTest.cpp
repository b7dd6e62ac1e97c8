// The look handlers of form objects: which toolbox look paints for a look
// number, the colours a context gets, widgets painted as the toolbox looks
// paint them, and the small services beside them.
#include <gtest/gtest.h>

#include <cstring>

#include "kernel/helpers/KernelColors.h"
#include "looks/FormLook.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VStr.h"

using namespace platform;

namespace {

constexpr int16_t kW = 60, kH = 24;

class FormLooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        VPainter::Init();
        const Rect r{0, 0, kH, kW};
        ASSERT_EQ(NewGWorld(&world_, 32, &r, nullptr, nullptr, 0), noErr);
        ASSERT_EQ(NewGWorld(&other_, 32, &r, nullptr, nullptr, 0), noErr);
        GetGWorld(&saved_, &device_);
        SetGWorld(world_, nullptr);
    }
    void TearDown() override
    {
        SetGWorld(saved_, device_);
        DisposeGWorld(world_);
        DisposeGWorld(other_);
        SetDBVIProc(0);
        ResetLookHandlers();
    }
    uint32_t Pixel(GWorldPtr w, int h, int v) const
    {
        return MakeSurface(GetPortBitMapForCopyBits(w)).ReadRGB(h, v) & 0xFFFFFF;
    }
    bool Same() const
    {
        for (int v = 0; v < kH; ++v)
            for (int h = 0; h < kW; ++h)
                if (Pixel(world_, h, v) != Pixel(other_, h, v)) return false;
        return true;
    }
    static void Clear(GWorldPtr w)
    {
        SetGWorld(w, nullptr);
        ForeColor(blackColor);
        BackColor(whiteColor);
        const Rect r{0, 0, kH, kW};
        EraseRect(&r);
    }

    GWorldPtr world_ = nullptr, other_ = nullptr;
    CGrafPtr saved_ = nullptr;
    GDHandle device_ = nullptr;
};

uint32_t Rgb(const RGBColor& c) { return uint32_t(c.red >> 8) << 16 | uint32_t(c.green >> 8) << 8 | (c.blue >> 8); }

uint32_t LookRgb(StdLook slot, StdColor c)
{
    const uint32_t l = GetLookHandler(slot)->GetStdColor(c);
    return ((l & 0xFF) << 16) | (l & 0xFF00) | ((l >> 16) & 0xFF);
}

}  // namespace

TEST_F(FormLooks, LookNumbersResolveToRegistrySlots)
{
    struct Case {
        int16_t structure, look, slot;
        uint8_t look95;
    } cases[] = {
        {0, 1, 1, 0},  {0, 4, 4, 0},  {0, 7, 7, 0},   {4, 0, 4, 0},  {2, -2, 2, 1}, {3, -3, 3, 1},
        {0, 0, 6, 0},  {-1, -1, 6, 0}, {9, 0, 6, 0},  {8, 5, 5, 0},  {7, -1, 7, 0},
    };
    for (const Case& c : cases) {
        SetDBVIProc(c.structure);
        EXPECT_EQ(VI_Manager::GetHandler(c.look)->PaintingLook(), c.slot) << c.structure << "/" << c.look;
        EXPECT_EQ(Look95, c.look95) << c.structure;
    }
    EXPECT_EQ(VI_Manager::GetHandler(8), nullptr);
    EXPECT_EQ(VI_Manager::GetHandler(-4), nullptr);
    EXPECT_EQ(VI_Manager::GetLookFromHandler(VI_Manager::GetHandler(-2)), -2);
    SetDBVIProc(6);
    EXPECT_TRUE(CompareLook(0, 6));
    EXPECT_TRUE(CompareLook(-1, 9));
    EXPECT_FALSE(CompareLook(1, 7));
    EXPECT_EQ(GetDBVIProc(), VI_Manager::GetHandler(6));
    SetDBVIProc(100);
    EXPECT_EQ(GetDBVIProc(), gVI) << "a look byte past the looks";
}

TEST_F(FormLooks, ContextColoursFallBackToTheLooks)
{
    struct Case {
        int16_t look;
        int16_t widget;
        int32_t fore, back;
        uint32_t wantFore, wantBack;
    } cases[] = {
        {1, kVIPushButton, -1, -2, LookRgb(1, 25), LookRgb(1, 17)},
        {2, kVIPushButton, -1, -2, LookRgb(2, 25), LookRgb(2, 17)},
        {2, kVIEditField, -1, -2, LookRgb(2, 25), LookRgb(2, 27)},
        {4, kVICheckBox, 0x123456, 0x654321, 0x123456, 0x654321},
    };
    for (const Case& c : cases) {
        VIObj context;
        context.widget = c.widget;
        context.foreColor = c.fore;
        context.backColor = c.back;
        VI_Manager::GetHandler(c.look)->SetCol(&context, kVIStateNormal);
        RGBColor fore{}, back{};
        GetForeColor(&fore);
        GetBackColor(&back);
        EXPECT_EQ(Rgb(fore), c.wantFore) << c.look << "/" << c.widget;
        EXPECT_EQ(Rgb(back), c.wantBack) << c.look << "/" << c.widget;
    }
    VIObj context;
    context.widget = kVIPushButton;
    context.foreColor = -1, context.backColor = -2;
    VI_Manager::GetPrintHandler()->SetCol(&context, kVIStateNormal);
    RGBColor fore{}, back{};
    GetForeColor(&fore);
    GetBackColor(&back);
    EXPECT_EQ(Rgb(fore), 0x000000u);
    EXPECT_EQ(Rgb(back), 0xFFFFFFu);
}

TEST_F(FormLooks, WidgetsArePaintedAsTheToolboxLooksPaintThem)
{
    struct Case {
        int16_t widget;
        PaintMethod method;
        bool enabled;
    } cases[] = {
        {kVIPushButton, kPaintPushButton, true},  {kVIPushButton, kPaintPushButton, false},
        {kVIEditField, kPaintEditField, true},    {kVIBackground, kPaintPanel, true},
        {kVIRaisedFrame, kPaintRaisedEdge, true}, {kVISunkenFrame, kPaintSunkenEdge, true},
    };
    unsigned char title[] = "\x02OK";
    VStr<255> text;
    text.FromPString(title, kCharSetMac);
    const Rect r{2, 3, 22, 57};
    for (int16_t look : {1, 2, 4}) {
        for (const Case& c : cases) {
            Clear(world_);
            VIObj context;
            context.widget = c.widget;
            context.SetRect(r);
            if (c.enabled) context.flags = kVIEnabled;
            const bool titled = c.widget == kVIPushButton || c.widget == kVIEditField;
            if (titled) context.SetTitle(title);
            context.VIDraw(kVIStateNormal, VI_Manager::GetHandler(look));

            Clear(other_);
            {
                VPainter painter(other_, false);
                painter.SetLook(look);
                painter.BeginPaint(other_);
                const PaintStatus status = c.enabled || c.widget == kVIBackground ? kStatusNormal : kStatusDisabled;
                GetLookHandler(look)->Paint(&painter, c.method, status, 3, 2, 54, 20, titled ? &text : nullptr,
                                            nullptr);
                painter.EndPaint();
            }
            EXPECT_TRUE(Same()) << "look " << look << " widget " << c.widget << " enabled " << c.enabled;
            // Frames, like shapes, leave their inside to the object's drawing.
            const bool frame = c.widget == kVIRaisedFrame || c.widget == kVISunkenFrame;
            EXPECT_EQ(context.plainToDo, frame) << "look " << look << " widget " << c.widget;
        }
    }
    // Shapes leave their inside to the object's own drawing.
    VIObj shape;
    shape.widget = kVIShape;
    shape.SetRect(r);
    shape.VIDraw(kVIStateNormal, VI_Manager::GetHandler(1));
    EXPECT_TRUE(shape.plainToDo);
    EXPECT_EQ(shape.inner.left, 5);
    EXPECT_EQ(shape.inner.bottom, 20);
}

TEST_F(FormLooks, ThePrintHandlerDrawsPlainBoxes)
{
    Clear(world_);
    VIObj context;
    context.widget = kVIPushButton;
    context.SetRect(Rect{2, 3, 22, 57});
    context.VIDraw(kVIStateNormal, VI_Manager::GetPrintHandler());
    EXPECT_EQ(Pixel(world_, 3, 2), 0x000000u);
    EXPECT_EQ(Pixel(world_, 56, 21), 0x000000u);
    EXPECT_EQ(Pixel(world_, 30, 12), 0xFFFFFFu);
    EXPECT_FALSE(context.plainToDo);
    Clear(world_);
    VI_Manager::GetPrintHandler()->DrawFakeScrollBar(Rect{0, 40, 24, 56});
    EXPECT_EQ(Pixel(world_, 40, 10), 0x000000u);
    EXPECT_EQ(Pixel(world_, 48, 10), 0xFFFFFFu);
}

TEST(LookServices, RectanglesPutInOrder)
{
    struct Case {
        Rect in, out;
        bool rising;
    } cases[] = {
        {{0, 0, 10, 20}, {0, 0, 10, 20}, false},
        {{10, 20, 0, 0}, {0, 0, 10, 20}, false},  // both axes backwards: the same line
        {{10, 0, 0, 20}, {0, 0, 10, 20}, true},
        {{0, 20, 10, 0}, {0, 0, 10, 20}, true},
        {{5, 5, 5, 5}, {5, 5, 5, 5}, false},
    };
    for (Case c : cases) {
        EXPECT_EQ(MakePositiveRect(&c.in), c.rising);
        EXPECT_EQ(c.in.top, c.out.top);
        EXPECT_EQ(c.in.left, c.out.left);
        EXPECT_EQ(c.in.bottom, c.out.bottom);
        EXPECT_EQ(c.in.right, c.out.right);
    }
}

TEST(LookServices, Justifications)
{
    const int16_t in[] = {-2, -1, 0, 1, 2, 3, 4, -3};
    const int16_t out[] = {-2, -1, 0, 1, -1, 1, 0, 0};
    for (size_t i = 0; i < std::size(in); ++i) EXPECT_EQ(TransformJustif(in[i]), out[i]) << in[i];
}

TEST(LookServices, TablesGrowByClearedElements)
{
    Handle t = NewTab(6);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(TabCount(t), 0);
    EXPECT_EQ(Add1Elem(t), 0);
    (*t)[8] = 7;
    EXPECT_EQ(Add1Elem(t), 1);
    EXPECT_EQ(TabCount(t), 2);
    EXPECT_EQ(GetHandleSize(t), 8 + 12);
    EXPECT_EQ((*t)[8], 7);
    for (int i = 14; i < 20; ++i) EXPECT_EQ((*t)[i], 0);
    WriteBE32(reinterpret_cast<uint8_t*>(*t), 5);  // a count the handle does not hold
    EXPECT_EQ(Add1Elem(t), -1);
    DisposeHandle(t);
    EXPECT_EQ(NewTab(0), nullptr);
    EXPECT_EQ(Add1Elem(nullptr), -1);
}

TEST_F(FormLooks, KernelLinesAndBooleans)
{
    struct Case {
        Rect r;
        int16_t pw, ph;
        bool reversed;
        int onH, onV, offH, offV;
    } cases[] = {
        {{0, 0, 10, 10}, 1, 1, false, 9, 9, 0, 9},
        {{0, 0, 10, 10}, 1, 1, true, 0, 9, 0, 0},
        {{0, 0, 10, 10}, 2, 2, false, 9, 9, 0, 9},  // the pen ends inside, covering the corner
        {{4, 0, 4, 20}, 1, 3, false, 19, 4, 19, 7},  // three pixels high, ending one pen width in
    };
    for (const Case& c : cases) {
        Clear(world_);
        PenNormal();
        drawtrait(c.r, c.pw, c.ph, c.reversed);
        EXPECT_EQ(Pixel(world_, c.onH, c.onV), 0x000000u) << c.onH << "," << c.onV;
        EXPECT_EQ(Pixel(world_, c.offH, c.offV), 0xFFFFFFu) << c.offH << "," << c.offV;
    }
    Clear(world_);
    drawbool(Rect{0, 0, 20, 50}, true, nullptr);
    EXPECT_EQ(Pixel(world_, 0, 5), 0x000000u);   // the box's top-left corner
    EXPECT_EQ(Pixel(world_, 9, 14), 0x000000u);  // its bottom-right corner
    EXPECT_EQ(Pixel(world_, 4, 4), 0xFFFFFFu);   // above the box
    EXPECT_EQ(Pixel(world_, 3, 8), 0x000000u);   // on the cross
}
