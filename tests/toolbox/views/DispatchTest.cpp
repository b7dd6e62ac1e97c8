// Clicks and the wheel through the frame tree, from scripted input.
#include "tests/toolbox/views/ViewsTestSupport.h"

using namespace viewstest;

namespace {

class DispatchTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        window = MakeWindow(100, 100, 300, 200);
        const VRect all(0, 0, 300, 200);
        root = new RecordingView(window, &all);
        earlier = new Probe(root, 10, 10, 100, 100);
        later = new Probe(root, 50, 50, 100, 100);
    }
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    VWindow* window = nullptr;
    RecordingView* root = nullptr;
    Probe* earlier = nullptr;
    Probe* later = nullptr;
};

}  // namespace

TEST_F(DispatchTest, ClickInTheOverlapReachesTheLaterThenTheEarlierEachInItsOwnCoordinates)
{
    later->takes = false;
    // Skipped on top: one that takes no clicks and one that is hidden.
    auto* deaf = new Probe(root, 0, 0, 300, 200);
    deaf->SetClickable(false);
    auto* hidden = new Probe(root, 0, 0, 300, 200);
    hidden->SetVisible(false);

    RunScript(platform::Script().Click(100 + 60, 100 + 70));
    ASSERT_EQ(later->clicks.size(), 1u);
    EXPECT_EQ(later->clicks[0].x, 10);
    EXPECT_EQ(later->clicks[0].y, 20);
    ASSERT_EQ(earlier->clicks.size(), 1u);
    EXPECT_EQ(earlier->clicks[0].x, 50);
    EXPECT_EQ(earlier->clicks[0].y, 60);
    EXPECT_TRUE(deaf->clicks.empty());
    EXPECT_TRUE(hidden->clicks.empty());

    // Taken by the later one, the earlier one never hears of it.
    later->takes = true;
    RunScript(platform::Script().Click(100 + 60, 100 + 70));
    EXPECT_EQ(later->clicks.size(), 2u);
    EXPECT_EQ(earlier->clicks.size(), 1u);

    // A control-click is a right click.
    RunScript(platform::Script().Click(100 + 60, 100 + 70, platform::controlKey));
    EXPECT_EQ(later->rightClicks, 1);
}

TEST_F(DispatchTest, TheWheelStopsAtTheChildUnderItAndScrollsByFortyEightPixelsALine)
{
    RunScript(platform::Script().Move(100 + 60, 100 + 70).Wheel(1));
    EXPECT_EQ(later->wheels, 1);
    EXPECT_EQ(root->ownWheels, 0) << "a child that ignores the wheel keeps it from the view";
    EXPECT_TRUE(root->commands.empty());

    RunScript(platform::Script().Move(100 + 250, 100 + 180).Wheel(1));
    EXPECT_EQ(root->ownWheels, 1);
    ASSERT_EQ(root->commands.size(), 3u);
    EXPECT_EQ(root->commands[0].first, vcmd::kBeginScrollStep);
    EXPECT_EQ(root->commands[1].first, vcmd::kScrollV);
    EXPECT_EQ(root->commands[1].second, -48);
    EXPECT_EQ(root->commands[2].first, vcmd::kEndScrollStep);

    root->commands.clear();
    RunScript(platform::Script().Move(100 + 250, 100 + 180).Wheel(1, false, platform::shiftKey));
    ASSERT_EQ(root->commands.size(), 3u);
    EXPECT_EQ(root->commands[1].first, vcmd::kScrollH);
    EXPECT_EQ(root->commands[1].second, -48);

    root->commands.clear();
    RunScript(platform::Script().Move(100 + 250, 100 + 180).Wheel(-2, true));
    ASSERT_EQ(root->commands.size(), 3u);
    EXPECT_EQ(root->commands[1].first, vcmd::kScrollH) << "the sideways wheel";
    EXPECT_EQ(root->commands[1].second, 96);
}

TEST_F(DispatchTest, AFrameFivePixelsHighIgnoresTheWheel)
{
    auto* thin = new Probe(root, 200, 10, 50, 5);
    thin->passWheel = true;
    RunScript(platform::Script().Move(100 + 210, 100 + 12).Wheel(3));
    EXPECT_EQ(thin->wheels, 1);
    EXPECT_TRUE(root->commands.empty());
    thin->SetSize(50, 6, kRedrawNone);
    RunScript(platform::Script().Move(100 + 210, 100 + 12).Wheel(3));
    EXPECT_EQ(root->commands.size(), 3u);
}

TEST_F(DispatchTest, ScriptsReadTheWheelStep)
{
    platform::Script s;
    std::string error;
    ASSERT_TRUE(platform::ParseScript("wheel -3 horizontal shift\nwheel 2\n", &s, &error)) << error;
    ASSERT_EQ(s.Steps().size(), 2u);
    EXPECT_EQ(s.Steps()[0].kind, platform::ScriptStep::Kind::Wheel);
    EXPECT_EQ(s.Steps()[0].lines, -3);
    EXPECT_TRUE(s.Steps()[0].horizontal);
    EXPECT_EQ(s.Steps()[0].modifiers, platform::shiftKey);
    EXPECT_FALSE(s.Steps()[1].horizontal);
    EXPECT_FALSE(platform::ParseScript("wheel\n", &s, &error));
    EXPECT_FALSE(platform::ParseScript("wheel 1 sideways\n", &s, &error));
}
