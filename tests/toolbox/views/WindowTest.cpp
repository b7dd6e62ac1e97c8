// Toolbox windows: styles, the window list, commands, sizing, zoom and the
// cursor frame.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "platform/windows/WindowRecord.h"
#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/foundation/VStr.h"

using namespace viewstest;

namespace {

class WindowTest : public ViewsTest {};

struct Parent : VView {
    Parent() : VView(nullptr) {}
    intptr_t DoCommand(VObject*, int32_t command, intptr_t) override
    {
        heard.push_back(command);
        return answer;
    }
    std::vector<int32_t> heard;
    intptr_t answer = 0;
};

struct Bar : VMenuBar {
    bool DoCommand(VObject*, int32_t command, intptr_t) override
    {
        heard.push_back(command);
        return command == answered;
    }
    void WindowClosed(VObject*) override { ++closed; }
    std::vector<int32_t> heard;
    int closed = 0;
    int32_t answered = 0;
};

}  // namespace

TEST_F(WindowTest, StylesChooseBoxesLevelsAndActivation)
{
    VWindow doc(nullptr, 5, true, true, true);
    EXPECT_TRUE(doc.HasCloseBox());
    EXPECT_TRUE(doc.HasGrowIcon());
    EXPECT_TRUE(doc.HasZoomBox());
    EXPECT_TRUE(doc.HasTitleBar());
    platform::WindowAttributes attributes = 0;
    platform::GetWindowAttributes(doc.GetParentMacHwnd(), &attributes);
    EXPECT_EQ(attributes, platform::kWindowStandardDocumentAttributes);
    EXPECT_FALSE(doc.IsVisible()) << "made hidden";
    EXPECT_EQ(doc.GetX(), -500) << "and off-screen";

    VWindow plain(nullptr, 5, false, false, false);
    platform::GetWindowAttributes(plain.GetParentMacHwnd(), &attributes);
    EXPECT_EQ(attributes, platform::kWindowCollapseBoxAttribute);

    VWindow floating(nullptr, 6, false, false, true);
    platform::WindowClass cls = 0;
    platform::GetWindowClass(floating.GetParentMacHwnd(), &cls);
    EXPECT_EQ(cls, platform::kFloatingWindowClass);
    EXPECT_EQ(floating.GetLevel(), 2);

    VWindow help(nullptr, 7, true, true, true);
    platform::GetWindowClass(help.GetParentMacHwnd(), &cls);
    EXPECT_EQ(cls, platform::kHelpWindowClass);
    help.SetPos(10, 60, kRedrawNone);
    help.SetVisible(true);
    EXPECT_FALSE(help.DoCommand(&help, vcmd::kIsActive, 0)) << "never activates";
    help.DoCommand(&help, vcmd::kActivate, 0);
    EXPECT_FALSE(help.DoCommand(&help, vcmd::kIsActive, 0));

    // A style with no class makes no window, and the object stays inert.
    VWindow none(nullptr, 9, true, true, true);
    EXPECT_EQ(none.GetParentMacHwnd(), nullptr);
    none.SetPos(10, 10, kRedrawInval);
    none.SetSize(100, 100, kRedrawInval);
    none.SetVisible(true);
    none.MinMax();
    EXPECT_EQ(none.GetPainter(), nullptr);
    EXPECT_EQ(VWindow::FindWindow(nullptr), nullptr);
}

TEST_F(WindowTest, UnansweredCommandsClimbToTheCommandParentThenTheMenuBarThenYieldZero)
{
    Parent parent;
    Bar bar;
    {
        VWindow w(&parent, 5, false, false, false);
        const VRect r(0, 0, 10, 10);
        VView inside(&w, &r);
        EXPECT_EQ(inside.DoCommand(&inside, 1234, 0), 0);
        EXPECT_EQ(parent.heard, std::vector<int32_t>{1234});
        VWindow orphan(nullptr, 5, false, false, false);
        orphan.SetMenuBar(&bar);
        EXPECT_EQ(orphan.DoCommand(&orphan, 77, 0), 0);
        EXPECT_EQ(bar.heard, std::vector<int32_t>{77});
        EXPECT_EQ(orphan.FindCommand(77), nullptr);
        bar.answered = 78;
        EXPECT_EQ(orphan.DoCommand(&orphan, 78, 0), 1) << "the bar's answer comes back";
    }
    EXPECT_EQ(bar.closed, 1) << "the bar hears that its window went";
}

TEST_F(WindowTest, TheLaterOfTwoWindowsOnOnePlatformWindowIsFoundUntilItGoes)
{
    VWindow first(nullptr, 5, false, false, false);
    platform::WindowRef ref = first.GetParentMacHwnd();
    EXPECT_EQ(VWindow::FindWindow(ref), &first);
    EXPECT_EQ(platform::GetWRefCon(ref), reinterpret_cast<uintptr_t>(&first));
    {
        VWindow second(nullptr, ref);
        EXPECT_TRUE(second.IsForeign());
        EXPECT_EQ(second.GetX(), first.GetX());
        EXPECT_EQ(VWindow::FindWindow(ref), &second);
        EXPECT_EQ(second.GetOlderWindow(), &first);
        EXPECT_EQ(first.GetNewerWindow(), &second);
        second.SetPos(0, 0, kRedrawNone);
        EXPECT_EQ(first.GetX(), -500) << "a foreign window is never moved";
    }
    EXPECT_EQ(VWindow::FindWindow(ref), &first);
    EXPECT_EQ(first.GetNewerWindow(), nullptr);
    EXPECT_TRUE(platform::IsValidWindowPtr(ref)) << "nor disposed";
}

TEST_F(WindowTest, AOneChildWindowKeepsTheChildFillingItAndZoomGoesBack)
{
    VWindow* w = MakeWindow(100, 100, 200, 100);
    const VRect r(5, 5, 20, 20);
    auto* child = new VView(w, &r);
    w->SetSize(300, 250, kRedrawInval);
    EXPECT_EQ(child->GetX(), 0);
    EXPECT_EQ(child->GetY(), 0);
    EXPECT_EQ(child->GetWidth(), 300);
    EXPECT_EQ(child->GetHeight(), 250);

    w->MinMax();
    EXPECT_EQ(w->GetX(), 10);
    EXPECT_EQ(w->GetY(), 50);
    EXPECT_EQ(w->GetWidth(), 1260);
    EXPECT_EQ(w->GetHeight(), 740);
    EXPECT_EQ(child->GetWidth(), 1260);
    w->MinMax();
    EXPECT_EQ(w->GetX(), 100);
    EXPECT_EQ(w->GetY(), 100);
    EXPECT_EQ(w->GetWidth(), 300);
    EXPECT_EQ(w->GetHeight(), 250);
    EXPECT_TRUE(w->IsVisible());
    delete w;
}

TEST_F(WindowTest, TitlesReachThePlatformWindowAndClonesCopyTheirTree)
{
    VWindow* w = MakeWindow(100, 100, 200, 100);
    VStr<255> title;
    title.FromCString(reinterpret_cast<const uint8_t*>("Tables"));
    w->SetTitle(title);
    unsigned char pascal[256] = {};
    platform::GetWTitle(w->GetParentMacHwnd(), pascal);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(pascal + 1), pascal[0]), "Tables");
    VString* back = w->GetTitle();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetLength(), 6);
    delete back;

    const VRect all(0, 0, 200, 100);
    auto* root = new VView(w, &all);
    const VRect panelRect(10, 10, 80, 60);
    auto* panel = new VView(root, &panelRect);
    const VRect fieldRect(5, 5, 30, 20);
    auto* field = new VFrame(panel, &fieldRect);
    field->SetTitle("Name");
    field->SetFocusable(true);
    field->SetCursor(9009);
    VFrame* copy = panel->Clone(root, nullptr);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->IsAView());
    auto* copyView = static_cast<VView*>(copy);
    ASSERT_EQ(copyView->CountChildren(), 1);
    VFrame* copied = copyView->GetNthChild(1);
    EXPECT_EQ(copied->GetX(), 5);
    EXPECT_EQ(copied->GetWidth(), 30);
    EXPECT_EQ(copied->GetCursor(), 9009u);
    ASSERT_NE(copied->GetTitle(), nullptr);
    EXPECT_EQ(copied->GetTitle()->GetLength(), 4);
    EXPECT_EQ(w->GetFocusManager()->GetTabOrder().size(), 2u) << "the copy joins the tab order";
    delete w;
}
