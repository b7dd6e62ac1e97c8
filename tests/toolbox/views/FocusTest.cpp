// Tab order, refusals, nested managers and notices.
#include "tests/toolbox/views/ViewsTestSupport.h"

using namespace viewstest;

namespace {

class FocusTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        window = MakeWindow(100, 100, 300, 200);
        const VRect all(0, 0, 300, 200);
        root = new RecordingView(window, &all);
        for (int i = 0; i < 3; ++i) {
            fields[i] = new Probe(root, 10 + 90 * i, 10, 80, 20);
            fields[i]->SetFocusable(true);
        }
        // Registered out of place order: the tab order is registration order.
        fields[1]->SetFocusable(false);
        fields[1]->SetFocusable(true);
    }
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    int32_t Tab(VWindow* w, bool shift = false)
    {
        VKeySwitch key;
        EXPECT_TRUE(key.FromEvent(KeyEvent(9, 0x30, shift ? platform::shiftKey : 0), false));
        return w->DoKey(key);
    }
    static platform::Script Tabs(int n)
    {
        platform::Script s;
        for (int i = 0; i < n; ++i) EXPECT_TRUE(s.Key("tab"));
        return s;
    }
    VWindow* window = nullptr;
    RecordingView* root = nullptr;
    Probe* fields[3] = {};
};

}  // namespace

TEST_F(FocusTest, TabWalksTheFieldsInRegistrationOrderAndWraps)
{
    RunScript(Tabs(1));
    EXPECT_EQ(window->GetFocusFrame(), fields[0]);
    EXPECT_TRUE(fields[0]->HasFocus());
    EXPECT_EQ(gCurFocus, window->GetFocusManager());
    RunScript(Tabs(2));
    EXPECT_EQ(window->GetFocusFrame(), fields[1]) << "registered last";
    EXPECT_FALSE(fields[0]->HasFocus());
    EXPECT_EQ(Tab(window), 0);
    EXPECT_EQ(window->GetFocusFrame(), fields[0]) << "wraps";
    // Keys go to the focus frame.
    RunScript(platform::Script().Type("q"));
    ASSERT_FALSE(fields[0]->keys.empty());
    EXPECT_EQ(fields[0]->keys.back(), u'q');
}

TEST_F(FocusTest, ALoneFieldKeepsTheFocusAndTabIsNotTaken)
{
    fields[1]->SetFocusable(false);
    fields[2]->SetFocusable(false);
    EXPECT_EQ(Tab(window), 0);
    EXPECT_EQ(Tab(window), 1);
    EXPECT_EQ(window->GetFocusFrame(), fields[0]);
}

TEST_F(FocusTest, AFieldRefusingToLoseTheFocusKeepsItAgainstTabAskingAndClicks)
{
    Tab(window);
    fields[0]->canLose = false;
    EXPECT_EQ(Tab(window), 1);
    EXPECT_FALSE(fields[1]->AskFocus());
    EXPECT_EQ(window->GetFocusFrame(), fields[0]);

    RunScript(platform::Script().Click(100 + 110, 100 + 15));
    EXPECT_TRUE(fields[1]->clicks.empty()) << "swallowed";
    RunScript(platform::Script().Click(100 + 20, 100 + 15));
    EXPECT_EQ(fields[0]->clicks.size(), 1u) << "inside itself the click goes on";

    VWindow* other = MakeWindow(500, 100, 100, 100);
    const VRect all(0, 0, 100, 100);
    auto* otherRoot = new VView(other, &all);
    auto* button = new Probe(otherRoot, 0, 0, 100, 100);
    gCurFocus = window->GetFocusManager();
    RunScript(platform::Script().Click(500 + 50, 100 + 50));
    EXPECT_TRUE(button->clicks.empty()) << "clicks in other windows are swallowed too";
    delete other;
}

TEST_F(FocusTest, ANestedManagerAnswersTwoAndThreeWhenTheTabLeavesIt)
{
    // A view keeping its own focus: it answers the focus numbers itself.
    struct Nesting : VView {
        Nesting(VView* parent, const VRect* r) : VView(parent, r), mgr(this) {}
        intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override
        {
            if ((command >= vcmd::kGetFocusMgr && command <= vcmd::kFocusLost) || command == vcmd::kLeaveTree)
                return mgr.DoCommand(sender, command, param);
            return VView::DoCommand(sender, command, param);
        }
        VFocusMgr mgr;
    };
    const VRect area(0, 100, 300, 100);
    auto* nestingView = new Nesting(root, &area);
    VFocusMgr& nested = nestingView->mgr;
    auto* inner = new Probe(nestingView, 10, 0, 80, 20);
    inner->SetFocusable(true);
    EXPECT_EQ(inner->GetFocusManager(), &nested);
    nested.MakeNextFocus(false);
    EXPECT_EQ(nested.GetFocus(), inner);
    VKeySwitch key;
    ASSERT_TRUE(key.FromEvent(KeyEvent(9, 0x30), false));
    EXPECT_EQ(nested.DoKey(key, false), 2);
    nested.MakeNextFocus(false);
    ASSERT_TRUE(key.FromEvent(KeyEvent(9, 0x30, platform::shiftKey), false));
    EXPECT_EQ(nested.DoKey(key, false), 3);
    EXPECT_EQ(nested.GetFocus(), nullptr);
    EXPECT_FALSE(inner->HasFocus());
}

TEST_F(FocusTest, ADestroyedFieldLeavesNoTrace)
{
    Tab(window);
    fields[0]->SetDefaultFocus();
    fields[0]->SetFocusNotify(true);
    VFocusMgr* mgr = window->GetFocusManager();
    delete fields[0];
    EXPECT_EQ(mgr->GetFocus(), nullptr);
    EXPECT_EQ(mgr->GetDefault(), nullptr);
    EXPECT_EQ(mgr->GetTabOrder().size(), 2u);
    EXPECT_TRUE(mgr->GetNotified().empty());
    EXPECT_EQ(Tab(window), 0);
    EXPECT_EQ(window->GetFocusFrame(), fields[2]);
}

TEST_F(FocusTest, ANoticeTurnedOffMidPassIsSkippedThenRemoved)
{
    fields[1]->SetFocusNotify(true);
    fields[2]->SetFocusNotify(true);
    fields[1]->stopNoticesOnce = true;
    // The first turns the third's notices off while the pass runs.
    struct Stopper : Probe {
        using Probe::Probe;
        Probe* victim = nullptr;
        void DoFocusNotify(VFrame* o, VFrame* n) override
        {
            Probe::DoFocusNotify(o, n);
            if (victim) victim->SetFocusNotify(false);
            victim = nullptr;
        }
    };
    auto* stopper = new Stopper(root, 0, 150, 10, 10);
    VFocusMgr* mgr = window->GetFocusManager();
    // Put the stopper first in the notified list.
    fields[1]->SetFocusNotify(false);
    fields[2]->SetFocusNotify(false);
    stopper->SetFocusNotify(true);
    fields[2]->SetFocusNotify(true);
    stopper->victim = fields[2];
    Tab(window);
    EXPECT_EQ(stopper->notices.size(), 1u);
    EXPECT_TRUE(fields[2]->notices.empty()) << "skipped for the rest of the pass";
    EXPECT_EQ(mgr->GetNotified().size(), 1u) << "removed once the pass ended";
    Tab(window);
    EXPECT_TRUE(fields[2]->notices.empty());
}

TEST_F(FocusTest, SettingTheSameManagerAgainOrTakingOverFromItselfChangesNothing)
{
    VFocusMgr* mgr = window->GetFocusManager();
    Tab(window);
    window->SetFocusManager(mgr);
    EXPECT_EQ(window->GetFocusManager(), mgr);
    EXPECT_EQ(mgr->GetFocus(), fields[0]);
    EXPECT_EQ(mgr->GetUsers(), 1);
    mgr->DoCommand(mgr, vcmd::kTakeOverFrames, 0);
    EXPECT_EQ(mgr->GetTabOrder().size(), 3u);

    // A shared manager counts its users.
    VWindow* second = MakeWindow(500, 300, 50, 50);
    auto* shared = new VFocusMgr(second);
    second->SetFocusManager(shared);
    window->SetFocusManager(shared);
    EXPECT_EQ(shared->GetUsers(), 3);
    delete second;
    EXPECT_EQ(shared->GetUsers(), 2);
    delete window;
    window = nullptr;
    EXPECT_EQ(shared->GetUsers(), 1);
    delete shared;
}

TEST_F(FocusTest, AFrameTakingTheFocusHoldsItAndTheWindowLosingItTellsTheListeners)
{
    VFocusMgr* mgr = window->GetFocusManager();
    window->DoTakeFocus();
    fields[2]->SetFocusNotify(true);
    fields[1]->DoTakeFocus();
    EXPECT_EQ(mgr->GetFocus(), fields[1]);
    fields[0]->DoTakeFocus();
    EXPECT_EQ(mgr->GetFocus(), fields[0]);
    fields[2]->notices.clear();
    // The manager tells, then the focus frame's own loss tells again.
    window->DoLoseFocus(nullptr);
    const std::vector<std::pair<VFrame*, VFrame*>> told = {{fields[0], nullptr}, {fields[0], nullptr}};
    EXPECT_EQ(fields[2]->notices, told);
    EXPECT_EQ(mgr->GetFocus(), nullptr);
}
