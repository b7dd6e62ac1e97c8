// Redraw modes, painting order and what an invisible view takes out.
#include "tests/toolbox/views/ViewsTestSupport.h"


using namespace viewstest;

namespace {

constexpr uint32_t kRed = 0x0000FF;   // colour longs are 0x00BBGGRR
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kRedPixel = 0xFF0000;
constexpr uint32_t kBluePixel = 0x0000FF;

class DrawingTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        window = MakeWindow(100, 100, 200, 150);
        const VRect all(0, 0, 200, 150);
        root = new RecordingView(window, &all);
        lower = new Probe(root, 10, 10, 60, 60, kRed);
        upper = new Probe(root, 40, 40, 60, 60, kBlue);
        PaintAll();
    }
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    void PaintAll()
    {
        VPainter* p = window->GetPainter();
        ASSERT_NE(p, nullptr);
        window->DoPaintChildren(p);
        window->ReleasePainter();
        platform::ValidWindowRect(window->GetParentMacHwnd(), nullptr);
        VWindow::SetValidRect(window->GetParentMacHwnd(), nullptr, true);
    }
    VWindow* window = nullptr;
    RecordingView* root = nullptr;
    Probe* lower = nullptr;
    Probe* upper = nullptr;
};

}  // namespace

TEST_F(DrawingTest, PaintNowOfTheLowerChildLeavesEveryPixelUnderTheUpperOne)
{
    EXPECT_EQ(Pixel(window, 20, 20), kRedPixel);
    EXPECT_EQ(Pixel(window, 50, 50), kBluePixel) << "painted bottom first";
    const int32_t lowerPaints = lower->paints, upperPaints = upper->paints;
    // Paint the upper one's area over in another colour, then redraw the
    // lower one at once: none of the upper one's pixels may change.
    lower->Redraw(kRedrawNow);
    EXPECT_EQ(lower->paints, lowerPaints + 1);
    EXPECT_EQ(upper->paints, upperPaints);
    for (int32_t y = 40; y < 100; ++y)
        for (int32_t x = 40; x < 100; ++x) ASSERT_EQ(Pixel(window, x, y), kBluePixel) << x << "," << y;
    EXPECT_EQ(Pixel(window, 20, 20), kRedPixel);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 0) << "a paint-now leaves its area valid";
}

TEST_F(DrawingTest, InvalidateMarksExactlyTheFrameWhichTheNextUpdatePaints)
{
    const int32_t before = lower->paints;
    lower->Redraw(kRedrawInval);
    const VRect area = UpdateArea(window);
    EXPECT_EQ(area.GetLeft(), 10);
    EXPECT_EQ(area.GetTop(), 10);
    EXPECT_EQ(area.GetWidth(), 60);
    EXPECT_EQ(area.GetHeight(), 60);
    EXPECT_EQ(lower->paints, before);
    RunScript(platform::Script().WaitIdle());
    EXPECT_EQ(lower->paints, before + 1);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 0);

    // Later climbs to the top, which invalidates.
    lower->Redraw(kRedrawLater);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 60);
}

TEST_F(DrawingTest, PaintNowMarksNothingWhenHiddenAndInvalidatesWhileThePainterIsLent)
{
    auto* covered = new Probe(root, 45, 45, 10, 10, kRed);
    root->RemoveChild(covered);
    root->RemoveChild(upper);
    root->AddChild(covered);
    root->AddChild(upper);  // covers it whole
    VWindow::SetValidRect(window->GetParentMacHwnd(), nullptr, true);
    const int32_t paints = covered->paints;
    covered->Redraw(kRedrawNow);
    EXPECT_EQ(covered->paints, paints);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 0);

    VPainter* lent = window->GetPainter();
    ASSERT_NE(lent, nullptr);
    EXPECT_EQ(window->GetPainter(), nullptr) << "lent to one user at a time";
    const int32_t lowerPaints = lower->paints;
    lower->Redraw(kRedrawNow);
    EXPECT_EQ(lower->paints, lowerPaints);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 60);
    window->ReleasePainter();
}

TEST_F(DrawingTest, AnInvisibleViewTakesItsSubtreeOutAndBringsBackOnlyVisibleFrames)
{
    const VRect panelRect(100, 10, 90, 90);
    auto* panel = new VView(root, &panelRect);
    auto* field = new Probe(panel, 0, 0, 40, 40, kRed);
    auto* closed = new Probe(panel, 50, 0, 40, 40, kRed);
    field->SetFocusable(true);
    closed->SetVisible(false);
    panel->SetVisible(false);
    EXPECT_FALSE(field->IsVisible());
    EXPECT_FALSE(field->CanTakeFocus());

    const int32_t paints = field->paints, idles = field->idles;
    PaintAll();
    window->DoIdleChildren(true);
    VClic click(110, 20);
    window->DoMouseChildren(click);
    EXPECT_EQ(field->paints, paints);
    EXPECT_EQ(field->idles, idles);
    EXPECT_TRUE(field->clicks.empty());
    EXPECT_NE(window->GetDropFrame(VPoint(110, 20)), field);
    EXPECT_EQ(window->GetTargetFrame(VPoint(110, 20), false), root);
    EXPECT_EQ(panel->GetTargetFrame(VPoint(10, 10), false), nullptr) << "asked itself, a hidden view answers none";
    panel->SetVisibleToUser(false);
    EXPECT_FALSE(panel->IsVisibleToUser());
    EXPECT_FALSE(field->IsVisibleToUser());
    panel->SetVisibleToUser(true);

    // A frame made visible, or added, while its panel is invisible stays
    // hidden: it takes neither focus nor typing.
    field->SetVisible(false);
    field->SetVisible(true);
    EXPECT_TRUE(field->IsHidden());
    auto* late = new Probe(panel, 0, 50, 40, 40);
    EXPECT_FALSE(late->IsVisible());
    late->SetFocusable(true);
    VKeySwitch tab;
    ASSERT_TRUE(tab.FromEvent(KeyEvent(9, 0x30), false));
    EXPECT_EQ(window->DoKey(tab), 1) << "nothing in the tab order can take the focus";
    EXPECT_EQ(window->GetFocusFrame(), nullptr);
    RunScript(platform::Script().Type("ab"));
    EXPECT_TRUE(field->keys.empty());
    EXPECT_FALSE(field->AskFocus() && field->IsVisible());

    panel->SetVisible(true);
    EXPECT_TRUE(field->IsVisible());
    EXPECT_TRUE(late->IsVisible());
    EXPECT_FALSE(closed->IsVisible()) << "its own flag keeps it out";
    window->DoIdleChildren(true);
    EXPECT_EQ(field->idles, idles + 1);
    PaintAll();
    EXPECT_EQ(field->paints, paints + 1);
    EXPECT_EQ(closed->paints, 0);
}

TEST_F(DrawingTest, ATransparentFrameShowsWhatIsUnderItAndAMoveInvalidatesOnlyWhenAsked)
{
    // A transparent frame painted at once shows what lies under it too.
    upper->SetTransparent(true);
    const int32_t lowerPaints = lower->paints, upperPaints = upper->paints;
    upper->Redraw(kRedrawNow);
    EXPECT_EQ(upper->paints, upperPaints + 1);
    EXPECT_EQ(lower->paints, lowerPaints + 1);

    lower->SetPos(100, 80, kRedrawNone);
    EXPECT_EQ(UpdateArea(window).GetWidth(), 0) << "moved without a redraw";
    lower->SetPos(120, 80, kRedrawInval);
    const VRect area = UpdateArea(window);
    EXPECT_EQ(area.GetLeft(), 100) << "from where it was";
    EXPECT_EQ(area.GetWidth(), 80) << "to where it is";
    struct {
        int32_t x, y;
        bool hit;
    } points[] = {{120, 80, true},  {179, 139, true}, {119, 80, false},
                  {180, 80, false}, {120, 79, false}, {120, 140, false}};
    for (const auto& p : points) EXPECT_EQ(lower->HitTest(VPoint(p.x, p.y)), p.hit) << p.x << "," << p.y;
}
