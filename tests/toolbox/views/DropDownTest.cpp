#include "tests/toolbox/views/ViewsTestSupport.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VDropDown.h"
#include "toolbox/views/VTextDropDownList.h"
#include "toolbox/views/VViewScroller.h"

using namespace viewstest;

namespace {

class CommandView : public RecordingView {
public:
    CommandView(VView* parent, const VRect* r) : RecordingView(parent, r) {}
    VCommand* FindCommand(int32_t number) override { return number == 10 ? &choose : nullptr; }
    VCommand choose{10};
};

// A drop-down whose list is a text list of the strings given.
class TextDropDown : public VDropDown {
public:
    TextDropDown(VView* parent, const VRect* r) : VDropDown(parent, 10, r) { SetFocusable(true); }
    bool CanDropDown() override { return true; }
    int32_t GetDropWindowWidth(int32_t screen) override
    {
        return listWidth ? listWidth : VDropDown::GetDropWindowWidth(screen);
    }
    void DoDropDown(VClic& clic) override { HandleDropDown(clic); }
    void DoInitDropDown(VWindow* window) override
    {
        openedAt = VRect(window->GetX(), window->GetY(), window->GetWidth(), window->GetHeight());
        auto* scroller = new VViewScroller(window, true, false, false);
        list = new VTextDropDownList(scroller, &strings, false);
        scroller->SetSize(window->GetWidth(), window->GetHeight(), kRedrawNone);
        list->ResetVSize(true);
        if (hideOwner) platform::HideWindow(GetParentMacHwnd());
    }
    void DoDeInitDropDown() override
    {
        if (list) closedAt = list->GetVirtualY();
        list = nullptr;
        ++deinits;
    }
    int32_t DoKey(VKeySwitch& key) override { return list ? list->DoKey(key) : 1; }
    bool CanLoseFocus() override { return !keepsFocus; }

    VArrayString strings;
    VTextDropDownList* list = nullptr;
    VRect openedAt;
    int32_t listWidth = 0;
    int32_t deinits = 0;
    int32_t closedAt = -1;
    bool hideOwner = false;
    bool keepsFocus = false;
};

class DropDownTest : public ViewsTest {
protected:
    struct Setup {
        VWindow* window;
        CommandView* root;
        TextDropDown* control;
    };
    static Setup Make(int32_t x, int32_t y, std::initializer_list<const char16_t*> items)
    {
        VWindow* w = MakeWindow(x, y, 120, 20);
        w->DoTakeFocus();
        const VRect all(0, 0, 120, 20);
        auto* root = new CommandView(w, &all);
        auto* control = new TextDropDown(root, &all);
        for (const char16_t* item : items) {
            auto* s = new VStr<255>;
            s->AppendUniCString(item);
            control->strings.AppendVString(s, 1);
        }
        control->strings.SetCurrent(0);
        return {w, root, control};
    }
};

TEST_F(DropDownTest, ArrowAndEditAreasFollowTheLooksArrowWidth)
{
    const VRect r(0, 0, 120, 20);
    VDropDown control(nullptr, 0, &r);
    control.SetLook(1);
    VRect arrow, edit;
    control.MakeArrowRect(arrow);
    control.MakeEditRect(edit);
    EXPECT_EQ(arrow.GetLeft(), 104);
    EXPECT_EQ(arrow.GetTop(), 2);
    EXPECT_EQ(arrow.GetWidth(), 14);
    EXPECT_EQ(arrow.GetHeight(), 16);
    EXPECT_EQ(edit.GetLeft(), 2);
    EXPECT_EQ(edit.GetTop(), 2);
    EXPECT_EQ(edit.GetWidth(), 102);
    EXPECT_EQ(edit.GetHeight(), 16);
    control.SetBordered(false);
    control.MakeArrowRect(arrow);
    control.MakeEditRect(edit);
    EXPECT_EQ(arrow.GetTop(), 1);
    EXPECT_EQ(edit.GetLeft(), 1);
    EXPECT_EQ(edit.GetWidth(), 103);
    EXPECT_EQ(edit.GetHeight(), 18);
}

TEST_F(DropDownTest, ListOpensBelowOrAboveRightAlignedAndAnOutsideClickCancels)
{
    Setup a = Make(100, 100, {u"one", u"two"});
    platform::Script s;
    s.Click(110, 110).Wait(5).Click(600, 500).Wait(5);
    RunScript(s);
    EXPECT_EQ(a.control->openedAt.GetLeft(), 102);
    EXPECT_EQ(a.control->openedAt.GetTop(), 122);
    EXPECT_EQ(a.control->openedAt.GetWidth(), 116);
    EXPECT_EQ(a.control->openedAt.GetHeight(), 70);
    EXPECT_TRUE(a.control->IsCancelled());
    EXPECT_FALSE(a.control->IsOpen());
    EXPECT_EQ(a.control->deinits, 1);
    EXPECT_EQ(a.control->GetDropWindow(), nullptr);
    // The click ended the loop and reached nothing else.
    platform::EventRecord e{};
    EXPECT_FALSE(platform::EventAvail(platform::mDownMask | platform::keyDownMask, &e));
    EXPECT_EQ(a.window->DoCommand(nullptr, vcmd::kIsActive, 0), 1);
    EXPECT_EQ(a.control->strings.GetCurrent(), 0);
    delete a.window;

    Setup b = Make(1150, 760, {u"only"});
    b.control->listWidth = 200;
    platform::Script s2;
    s2.Click(1160, 770).Wait(5).Click(20, 400).Wait(5);
    RunScript(s2);
    EXPECT_EQ(b.control->openedAt.GetLeft(), 1068);
    EXPECT_EQ(b.control->openedAt.GetTop(), 688);
    delete b.window;

    // The events ending while the list is open close it with no choice.
    Setup c = Make(100, 100, {u"one", u"two"});
    RunScript(platform::Script().Click(110, 110).Wait(5));
    EXPECT_EQ(c.control->deinits, 1);
    EXPECT_FALSE(c.control->IsOpen());
    EXPECT_TRUE(c.control->IsCancelled());
    delete c.window;

    // So does its window going out of sight.
    Setup d = Make(100, 100, {u"one", u"two"});
    d.control->hideOwner = true;
    RunScript(platform::Script().Click(110, 110).Wait(5));
    EXPECT_EQ(d.control->deinits, 1);
    EXPECT_TRUE(d.control->IsCancelled());
    delete d.window;
}

TEST_F(DropDownTest, AClickOnALineChoosesItAndClosesTheList)
{
    Setup a = Make(100, 100, {u"one", u"two", u"three"});
    platform::Script s;
    // The list opens at (102, 122); its second line is at 14..27.
    s.Click(110, 110).Wait(5).Move(120, 140).Wait(3).Click(120, 140).Wait(5);
    RunScript(s);
    EXPECT_FALSE(a.control->IsOpen());
    EXPECT_FALSE(a.control->IsCancelled());
    EXPECT_EQ(a.control->strings.GetCurrent(), 2);
    EXPECT_EQ(a.window->DoCommand(nullptr, vcmd::kIsActive, 0), 1);
    delete a.window;

    // A control that will not give its focus up still gets its list's
    // presses: one held below the list scrolls it to its end.
    Setup b = Make(100, 100, {u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9", u"10"});
    b.control->keepsFocus = true;
    b.control->DoTakeFocus();
    platform::Script s2;
    s2.Click(110, 110).Wait(5).Press(120, 128).Wait(2).Move(120, 260).Wait(30).Release().Wait(5);
    RunScript(s2);
    EXPECT_FALSE(b.control->IsCancelled());
    EXPECT_EQ(b.control->closedAt, 140 - 70);
    delete b.window;
}

// The edit commands go to the edit frame; those it sends back climb on.
class EchoFrame : public VFrame {
public:
    explicit EchoFrame(VView* parent) : VFrame(parent, nullptr) {}
    intptr_t DoCommand(VObject*, int32_t command, intptr_t param) override
    {
        ++seen;
        return fParent ? fParent->DoCommand(this, command, param) : 0;
    }
    int32_t seen = 0;
};
class EditingDropDown : public VDropDown {
public:
    EditingDropDown(VView* parent, const VRect* r) : VDropDown(parent, 10, r)
    {
        SetFocusable(true);
        SetCanEdit(true);
    }
    VFrame* MakeEditFrame() override { return new EchoFrame(this); }
};

TEST_F(DropDownTest, EditCommandsComingBackFromTheEditFrameClimbOn)
{
    VWindow* w = MakeWindow(100, 100, 120, 20);
    const VRect all(0, 0, 120, 20);
    auto* root = new CommandView(w, &all);
    auto* control = new EditingDropDown(root, &all);
    control->DoTakeFocus();
    auto* edit = dynamic_cast<EchoFrame*>(control->GetEditFrame());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetX(), 2);
    EXPECT_EQ(edit->GetWidth(), 102);
    control->SetSize(160, 24, kRedrawNone);
    EXPECT_EQ(edit->GetWidth(), 142) << "the edit area follows the control's size";
    EXPECT_EQ(edit->GetHeight(), 20);
    control->SetSize(120, 20, kRedrawNone);
    EXPECT_TRUE(control->HasFocus());
    edit->seen = 0;
    root->commands.clear();
    control->DoCommand(nullptr, 5, 0);
    EXPECT_EQ(edit->seen, 1);
    ASSERT_EQ(root->commands.size(), 1u);
    EXPECT_EQ(root->commands[0].first, 5);
    control->DoLoseFocus(nullptr);
    EXPECT_EQ(control->GetEditFrame(), nullptr);
    delete w;
}

// A scroller that records what its list sends it.
class ListScroller : public VViewScroller {
public:
    explicit ListScroller(VView* parent) : VViewScroller(parent, true, false, false) {}
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override
    {
        sent.push_back(command);
        return VViewScroller::DoCommand(sender, command, param);
    }
    std::vector<int32_t> sent;
};

class TextListTest : public ViewsTest {
protected:
    void Fill(std::initializer_list<const char16_t*> items)
    {
        for (const char16_t* item : items) {
            auto* s = new VStr<255>;
            s->AppendUniCString(item);
            strings.AppendVString(s, 1);
        }
        strings.SetCurrent(0);
    }
    VTextDropDownList* Make(int32_t height)
    {
        window = MakeWindow(100, 100, 200, height);
        scroller = new ListScroller(window);
        list = new VTextDropDownList(scroller, &strings, false);
        scroller->SetSize(200, height, kRedrawNone);
        list->ResetVSize(false);
        return list;
    }
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    int32_t Key(uint8_t ch, uint8_t scan)
    {
        VKeySwitch key;
        EXPECT_TRUE(key.FromEvent(KeyEvent(ch, scan), true));
        return list->DoKey(key);
    }
    VArrayString strings;
    VWindow* window = nullptr;
    ListScroller* scroller = nullptr;
    VTextDropDownList* list = nullptr;
};

TEST_F(TextListTest, BarOnlyWhenTheLinesOverflowAndMovesRoundToLines)
{
    Fill({u"a", u"b", u"c", u"d", u"e"});
    Make(70);
    EXPECT_EQ(scroller->GetVScrollBar(), nullptr);
    EXPECT_EQ(list->GetVirtualHeight(), 70);
    delete window;
    Fill({u"f"});
    Make(70);
    EXPECT_NE(scroller->GetVScrollBar(), nullptr);
    EXPECT_EQ(list->GetVirtualHeight(), 84);
    EXPECT_EQ(list->AdjustVAmount(5), 14);
    EXPECT_EQ(list->AdjustVAmount(-3), -14);
    EXPECT_EQ(list->AdjustVAmount(30), 28);
}

TEST_F(TextListTest, ArrowsStopAtTheEndsAndHoveringPastTheLastLineChangesNothing)
{
    platform::testing::HeadlessRun run(platform::Script{});
    Fill({u"one", u"two", u"three"});
    Make(70);
    EXPECT_EQ(Key(0x1F, 0x7D), 0);  // down with none current: the first
    EXPECT_EQ(strings.GetCurrent(), 1);
    scroller->sent.clear();
    EXPECT_EQ(Key(0x1E, 0x7E), 0);  // up on the first
    EXPECT_EQ(strings.GetCurrent(), 1);
    EXPECT_TRUE(scroller->sent.empty());
    strings.SetCurrent(3);
    EXPECT_EQ(Key(0x1F, 0x7D), 0);  // down on the last
    EXPECT_EQ(strings.GetCurrent(), 3);
    EXPECT_TRUE(scroller->sent.empty());
    EXPECT_EQ(Key(0x1E, 0x7E), 0);
    EXPECT_EQ(strings.GetCurrent(), 2);
    EXPECT_EQ(scroller->sent, std::vector<int32_t>{VDropDown::kCurrentChanged});
    EXPECT_EQ(Key(0x1E, 0x7E), 0);
    EXPECT_EQ(strings.GetCurrent(), 1) << "up to the first";
    // No current line: nothing to scroll to.
    scroller->sent.clear();
    list->MakeCurrentElement(0);
    EXPECT_TRUE(scroller->sent.empty());
    strings.SetCurrent(2);

    VPoint past(10, 3 * 14 + 3);
    list->DoCursorMove(past);
    EXPECT_EQ(strings.GetCurrent(), 2);
    VPoint above(10, -5);
    list->DoCursorMove(above);
    EXPECT_EQ(strings.GetCurrent(), 2);
    VPoint first(10, 5);
    list->DoCursorMove(first);
    EXPECT_EQ(strings.GetCurrent(), 1);
}

TEST_F(TextListTest, TypeAheadFindsTheNextEntryStartingSoAndWraps)
{
    platform::testing::HeadlessRun run(platform::Script{});
    Fill({u"apple", u"boat", u"bone", u"cherry", u"bold"});
    Make(70);
    strings.SetCurrent(3);
    EXPECT_EQ(Key('b', 0x0B), 0);
    EXPECT_EQ(strings.GetCurrent(), 5);  // "bold", after the current one
    EXPECT_EQ(Key('o', 0x1F), 0);
    EXPECT_EQ(strings.GetCurrent(), 2);  // "bo" again: wraps to "boat"
    EXPECT_EQ(Key('n', 0x2D), 0);
    EXPECT_EQ(strings.GetCurrent(), 3);  // "bon"
    // A key long after starts over.
    for (int i = 0; i < 20; ++i) VSystem::GetCurrentTicks();
    EXPECT_EQ(Key('c', 0x08), 0);
    EXPECT_EQ(strings.GetCurrent(), 4);
    // Return and tab are not taken and empty the buffer.
    EXPECT_EQ(Key(13, 0x24), 1);
    EXPECT_EQ(Key(9, 0x30), 1);
    EXPECT_EQ(strings.GetCurrent(), 4);
}

}  // namespace

namespace {

TEST_F(DropDownTest, PaintsTheFrameTheArrowAndTheDisabledLook)
{
    Setup a = Make(100, 100, {u"one"});
    // The test look fills each part with its method number as a colour
    // (0x00BBGGRR); the screen holds it as 0xRRGGBB.
    auto screen = [](uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    const uint32_t frame = screen(4 * 0x050301u), arrow = screen(30 * 0x050301u);
    auto paint = [&] {
        VPainter* p = a.window->GetPainter();
        ASSERT_NE(p, nullptr);
        a.window->DoPaintChildren(p);
        a.window->ReleasePainter();
    };
    paint();
    EXPECT_EQ(Pixel(a.window, 110, 10) & 0xFFFFFF, arrow);
    EXPECT_EQ(Pixel(a.window, 50, 10) & 0xFFFFFF, frame);
    EXPECT_EQ(Pixel(a.window, 103, 10) & 0xFFFFFF, frame);  // just left of the arrow
    // The look draws a disabled control in its own status; the test look
    // paints both statuses alike, so the state is what is checked.
    a.root->choose.SetEnabled(false, kRedrawNone);
    EXPECT_FALSE(a.control->IsEnabled());
    // A click on a disabled control is taken and opens nothing.
    VClic clic(110, 10);
    EXPECT_TRUE(a.control->DoLeftMouse(clic));
    EXPECT_EQ(a.control->deinits, 0);
    delete a.window;
}

}  // namespace
