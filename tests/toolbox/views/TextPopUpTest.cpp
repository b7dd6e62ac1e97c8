// A frame's text pop-up with the views layer's own commands: the choice
// comes back to the frame, a switch command toggles, the pop-up is drawn in
// the frame's look, and the menus stop listening once the pop-up is gone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"
#include "tests/toolbox/drawing/MenuTestSupport.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/views/MenuCommandLinks.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VDialQz.h"
#include "toolbox/views/VFrame.h"
#include "toolbox/views/VWindow.h"

using menutest::Res;
using menutest::Xmnu;

namespace {

class CommandFrame : public VFrame {
public:
    explicit CommandFrame(VView* parent = nullptr) : VFrame(parent, nullptr) {}
    VCommand* FindCommand(int32_t number) override
    {
        for (VCommand* c : {&plain, &toggle})
            if (c->GetNumber() == number) return c;
        return nullptr;
    }
    intptr_t DoCommand(VObject*, int32_t command, intptr_t param) override
    {
        got.push_back({command, param});
        return 1;
    }
    VCommand plain{10};
    VCommand toggle{20};
    std::vector<std::pair<int32_t, intptr_t>> got;
};

class TextPopUpTest : public platform::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        platform::ResetResourceManager();
        platform::ResetMenuManager();
    }
    void TearDown() override
    {
        SetMenuCommandHooks(MenuCommandHooks{});
        platform::ResetMenuManager();
        platform::ResetResourceManager();
        WindowTest::TearDown();
    }
    // Presses at the pop-up's corner, rests on item n and releases there.
    void Choose(int16_t x, int16_t y, int16_t lineHeight, int n)
    {
        Play(platform::Script()
                 .Press(int16_t(x + 3), int16_t(y + 3))
                 .Wait(2)
                 .Move(int16_t(x + 10), int16_t(y + 1 + (n - 1) * lineHeight + lineHeight / 2))
                 .Wait(2)
                 .Release());
        platform::EventRecord e{};
        ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
    }
};

TEST_F(TextPopUpTest, ChoicesComeBackToTheFrameThroughItsCommands)
{
    menutest::ResFile file({Res("XMNU", 128,
                                Xmnu("Pop", 10,
                                     {{"Plain", "TEXT", 10, 0, 4}, {"Toggle", "TEXT", 20, 0x80, 9}, {"Gone", "TEXT", 77}}))});
    CommandFrame frame;
    frame.toggle.SetLong(nullptr, 1, kRedrawNone);
    platform::WindowRef window = Document(10, 50, 400, 400);
    platform::SetPortWindowPort(window);

    // The line height the pop-up will use: measured as its size message does.
    InstallMenuCommandLinks();
    VTextMenu probe(&frame, nullptr, 0, file.get(), 128);
    VComputingPainter painter;
    int16_t w = 1000, h = 700;
    probe.MakeWidthHeight(&painter, w, h);
    const int16_t lh = probe.GetLineHeight();

    Choose(200, 150, lh, 2);
    frame.RunTextPopUp(file.get(), 128, 200, 150, false);
    ASSERT_EQ(frame.got.size(), 1u);
    EXPECT_EQ(frame.got[0].first, 20);
    EXPECT_EQ(frame.got[0].second, 9);
    EXPECT_EQ(frame.toggle.GetLong(), 0);  // the switch went from 1 to 0

    Choose(200, 150, lh, 1);
    frame.RunTextPopUp(file.get(), 128, 200, 150, false);
    ASSERT_EQ(frame.got.size(), 2u);
    EXPECT_EQ(frame.got[1].first, 10);
    EXPECT_EQ(frame.got[1].second, 4);

    // An item whose command the frame does not know chooses nothing.
    Choose(200, 150, lh, 3);
    frame.RunTextPopUp(file.get(), 128, 200, 150, false);
    EXPECT_EQ(frame.got.size(), 2u);
    EXPECT_EQ(platform::GetMenuHandle(1), nullptr);
}

TEST_F(TextPopUpTest, APopUpIsDrawnInTheLookOfItsFrame)
{
    menutest::ResFile file({Res("XMNU", 128, Xmnu("Pop", 10, {{"Plain", "TEXT", 10}, {"Toggle", "TEXT", 20}}))});
    platform::WindowRef window = Document(10, 50, 400, 400);
    platform::SetPortWindowPort(window);
    auto* owner = new VWindow(nullptr, window);
    auto* frame = new CommandFrame(owner);
    frame->SetLook(3);
    int32_t left = 0, top = 0;
    frame->GetPosInDesktop(left, top);
    // The screen once each pop-up is drawn; it closes without a choice.
    std::vector<std::vector<uint32_t>> shots;
    const auto open = [&](const std::function<void()>& run) {
        platform::HeadlessOptions options;
        options.screenshot = [&](const std::string&) {
            const platform::PixMap* pm = platform::ComposeScreen();
            const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
            shots.emplace_back(p, p + size_t(pm->rowBytes & platform::kRowBytesMask) / 4 *
                                          size_t(pm->bounds.bottom - pm->bounds.top));
            return platform::noErr;
        };
        Play(platform::Script()
                 .Press(int16_t(left + 203), int16_t(top + 153))
                 .Wait(20)
                 .Screenshot("open")
                 .Move(5, 5)
                 .Wait(2)
                 .Release(),
             std::move(options));
        platform::EventRecord e{};
        ASSERT_TRUE(platform::testing::NextEvent(platform::mDownMask, &e));
        run();
    };
    open([&] { frame->RunTextPopUp(file.get(), 128, 200, 150, false); });
    {
        InstallMenuCommandLinks();
        VTextMenu menu(frame, nullptr, 0, file.get(), 128);
        menu.SetLook(3);
        open([&] { menu.RunAsPopup(left + 200, top + 150, false); });
    }
    // The frame's pop-up looks like the same menu run in look 3.
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_TRUE(shots[0] == shots[1]);
    delete owner;
}

TEST_F(TextPopUpTest, MenusHearTheirCommandsOnlyWhileShownAndForgetThemWhenGone)
{
    menutest::ResFile file({Res("XMNU", 128, Xmnu("Bar", 10, {{"Plain", "TEXT", 10}, {"Toggle", "TEXT", 20}}))});
    InstallMenuCommandLinks();
    auto frame = std::make_unique<CommandFrame>();
    VTextMenu menu(frame.get(), nullptr, 0, file.get(), 128);
    VComputingPainter painter;
    // A regular menu listens to its commands and follows their state.
    menu.BuildMenuObject(&painter, false, false);
    ASSERT_NE(menu.GetMenuObject(), nullptr);
    EXPECT_TRUE(platform::IsMenuItemEnabled(menu.GetMenuObject(), 2));
    frame->toggle.SetEnabled(false, kRedrawNow);
    EXPECT_FALSE(platform::IsMenuItemEnabled(menu.GetMenuObject(), 2));
    // The commands go first: the menu forgets them and draws nothing stale.
    frame.reset();
    EXPECT_EQ(menu.GetVCommand(), nullptr);
    EXPECT_EQ(menu.GetNthItem(1)->GetCommand(), nullptr);
    menu.DeleteMenuObject(true);
}

TEST_F(TextPopUpTest, MenusReadCommandKeysOfFramesAndDialogsAndSetCommandValues)
{
    InstallMenuCommandLinks();
    CommandFrame frame;
    frame.plain.SetShortcut('P');
    VDialQz dialog;
    dialog.AddCommand(new VCommand(30, 'D'));
    dialog.AddCommand(new VCommand(31));
    struct Case {
        VFrame* frame;
        VDialQz* dialog;
        int32_t number;
        uint8_t key;  // 0: no key
    } cases[] = {{&frame, nullptr, 10, 'P'}, {&frame, nullptr, 20, 0}, {&frame, nullptr, 99, 0},
                 {nullptr, &dialog, 30, 'D'}, {nullptr, &dialog, 31, 0}, {nullptr, &dialog, 99, 0}};
    for (const Case& c : cases) {
        // What the menu held before is replaced whole.
        MenuShortcut out;
        out.modifiers = 0x08;
        out.specialKey = 7;
        out.keyText[0] = 2;
        out.keyText[2] = 'x';
        const bool found = c.frame ? menulink::FindShortcut(c.frame, c.number, out)
                                   : menulink::FindShortcut(c.dialog, c.number, out);
        EXPECT_EQ(found, c.key != 0) << c.number;
        if (!found) continue;
        EXPECT_EQ(out.modifiers, 0x80) << c.number;
        EXPECT_EQ(out.specialKey, 0) << c.number;
        EXPECT_EQ(out.keyText[0], 1) << c.number;
        EXPECT_EQ(out.keyText[1], c.key) << c.number;
        EXPECT_EQ(out.keyText[2], 0) << c.number;
    }
    menulink::SetValue(&frame.plain, new VLong(5), true);
    EXPECT_EQ(frame.plain.GetLong(), 5);
    VLong kept(7);
    menulink::SetValue(&frame.plain, &kept, false);
    EXPECT_EQ(frame.plain.GetLong(), 7);
}

}  // namespace
