#include "tests/toolbox/views/ViewsTestSupport.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/startup/InitVToolBox.h"
#include "toolbox/views/MenuCommandLinks.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VControl.h"

using namespace viewstest;

namespace {

// A view that holds commands and records those that climb to it.
class CommandView : public RecordingView {
public:
    CommandView(VView* parent, const VRect* r) : RecordingView(parent, r) {}
    VCommand* FindCommand(int32_t number) override
    {
        for (VCommand* c : {&save, &other})
            if (c->GetNumber() == number) return c;
        return nullptr;
    }
    VCommand save{10, 'S'};
    VCommand other{20};
};

std::vector<std::string> gTips;
void TipHost(int16_t selector, parm* block)
{
    if (selector != kSelCreateTip) return;
    gTips.emplace_back(reinterpret_cast<const char*>(block->text310 + 1), block->text310[0]);
}

class ControlTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        InstallMenuCommandLinks();
        savedHost_ = gCallQz;
        gCallQz = TipHost;
        if (!gTip) gTip = new VTip;
        gTip->Close(1);
        gTips.clear();
    }
    void TearDown() override
    {
        gCallQz = savedHost_;
        ViewsTest::TearDown();
    }
    HostEntryProc savedHost_ = nullptr;
};

TEST_F(ControlTest, ControlFollowsItsCommandAndSendsItsNumber)
{
    VWindow* w = MakeWindow(100, 100, 200, 100);
    const VRect all(0, 0, 200, 100);
    auto* root = new CommandView(w, &all);
    const VRect r(10, 10, 50, 20);
    auto* control = new VListControl(root, 10, &r);
    auto* loose = new VListControl(root, 99, &r);
    EXPECT_EQ(control->GetCommand(), &root->save);
    EXPECT_EQ(loose->GetCommand(), nullptr);

    root->save.SetEnabled(false, kRedrawInval);
    EXPECT_FALSE(control->IsEnabled());
    EXPECT_FALSE(control->CanTakeFocus());
    root->save.SetEnabled(true, kRedrawInval);
    EXPECT_TRUE(control->IsEnabled());

    VClic clic(5, 5);
    EXPECT_TRUE(control->DoLeftMouse(clic));
    ASSERT_EQ(root->commands.size(), 1u);
    EXPECT_EQ(root->commands[0].first, 10);
    // Without a command a click is taken and nothing climbs.
    EXPECT_TRUE(loose->DoLeftMouse(clic));
    EXPECT_EQ(root->commands.size(), 1u);

    // A value is made when the command has none; value changes reach it.
    EXPECT_NE(control->MakeValue(), nullptr);
    control->ClearValueChanged();
    root->save.SetLong(nullptr, 4, kRedrawNone);
    EXPECT_TRUE(control->GetValueChanged());
    VStr<255> text;
    control->MakeValueString(text);
    EXPECT_EQ(text.GetLength(), 1);

    // A clone listens to the same command.
    VFrame* copy = control->Clone(root, nullptr);
    root->save.SetEnabled(false, kRedrawNone);
    EXPECT_FALSE(static_cast<VControl*>(copy)->IsEnabled());
    delete w;
    // The controls went with the window: the command has no listener left
    // to call.
    root = nullptr;
}

TEST_F(ControlTest, ACommandGoingFirstLeavesTheControlWithout)
{
    const VRect r(0, 0, 10, 10);
    auto* command = new VCommand(5);
    VListControl control(nullptr, 0, &r);
    struct Binder : VListControl {
        using VListControl::BindCommand;
        using VListControl::VListControl;
    };
    static_cast<Binder&>(control).BindCommand(command);
    delete command;
    EXPECT_EQ(control.GetCommand(), nullptr);
    VClic clic(1, 1);
    EXPECT_TRUE(control.DoLeftMouse(clic));
}

TEST_F(ControlTest, TipOpensAfterTheDelayAndClosesOnLeavingOrAfterTenDelays)
{
    VWindow* w = MakeWindow(100, 100, 300, 100);
    w->DoTakeFocus();
    ASSERT_EQ(w->DoCommand(nullptr, vcmd::kIsActive, 0), 1);
    const VRect all(0, 0, 300, 100);
    auto* root = new CommandView(w, &all);
    VStr<255> name;
    name.AppendUniCString(u"Save");
    root->save.SetName(name);
    const VRect r(10, 10, 50, 20);
    auto* control = new VListControl(root, 10, &r);

    // The tip states the control goes through, with the tips opened by then.
    std::vector<std::pair<int, size_t>> states;
    platform::Point last{-1, -1};
    auto idle = [&] {
        // The cursor is tracked only when the mouse moved, as the
        // application's loop does.
        platform::Point p{};
        platform::GetGlobalMouse(&p);
        if (p.h != last.h || p.v != last.v) {
            last = p;
            VClic c(p.h - w->GetX(), p.v - w->GetY());
            c.SetUp(true);
            w->DoCursor(c);
        }
        w->DoIdleChildren(false);
        if (states.empty() || states.back().first != control->GetTipState())
            states.push_back({control->GetTipState(), gTips.size()});
    };
    platform::Script s;
    s.Move(120, 120).Wait(40);   // rests: the tip opens after the delay
    s.Move(250, 180).Wait(2);    // leaves: closed
    s.Move(121, 121).Wait(400);  // back: at once, then ten delays close it
    s.Move(125, 121).Wait(2);    // moving within waits for a tip again
    s.Move(250, 180).Wait(2);
    RunScript(s, idle);
    ASSERT_GE(gTips.size(), 1u);
    // The command key's sign has no byte in the host's character set.
    EXPECT_EQ(gTips[0].substr(0, 6), "Save (");
    EXPECT_EQ(gTips[0].substr(gTips[0].size() - 2), "S)");
    const std::vector<std::pair<int, size_t>> expected = {
        {VControl::kTipWaiting, 0}, {VControl::kTipShown, 1}, {VControl::kTipIdle, 1},
        {VControl::kTipShown, 2}, {VControl::kTipFinished, 2}, {VControl::kTipWaiting, 2},
        {VControl::kTipIdle, 2}};
    EXPECT_EQ(states, expected);
    delete w;
}

}  // namespace
