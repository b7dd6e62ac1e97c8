// Keystrokes, key names, undo words, clicks and commands.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "toolbox/drawing/VMenu.h"
#include "toolbox/foundation/VArrayBoolean.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VSystem.h"
#include "toolbox/views/VCommand.h"
#include "toolbox/views/VQzEvent.h"

using namespace viewstest;

namespace {

std::string Text(const VString& s)
{
    std::string out;
    for (int32_t i = 1; i <= s.GetLength(); ++i) out += char(s.GetChar(i));
    return out;
}

// A script in which 0x81 to 0x9F start a double-byte character.
int16_t ForcedDoubleByte(const uint8_t* text, int16_t offset)
{
    const uint8_t b = text[offset];
    if (offset > 0 && text[offset - 1] >= 0x81 && text[offset - 1] <= 0x9F) return 1;
    return b >= 0x81 && b <= 0x9F ? -1 : 0;
}

class KeysTest : public ViewsTest {
protected:
    void TearDown() override
    {
        VKeySwitch::SetByteTypeProc(nullptr);
        ViewsTest::TearDown();
    }
};

}  // namespace

TEST_F(KeysTest, ControlCharactersGiveNoCharacterButTheirKeyCodeAndName)
{
    VKeySwitch key;
    ASSERT_TRUE(key.FromEvent(KeyEvent(13, 0x24, platform::cmdKey | platform::shiftKey), true));
    EXPECT_EQ(key.GetChar(), 0);
    EXPECT_EQ(key.GetKeyCode(), 13);
    EXPECT_EQ(key.GetModifiers(), kKeyCommand | kKeyShift);
    EXPECT_EQ(key.GetMacNativeChar(), 13);
    VStr<255> name;
    key.GetKeyString(name);
    EXPECT_EQ(Text(name), "Return");

    ASSERT_TRUE(key.FromEvent(KeyEvent(9, 0x30), false));
    EXPECT_EQ(key.GetSpecialKeyItem(), 30);
    key.GetKeyString(name);
    EXPECT_EQ(Text(name), "Tab");
    ASSERT_TRUE(key.FromEvent(KeyEvent(0x1F, 0x7D), false));  // down arrow
    key.GetKeyString(name);
    EXPECT_EQ(Text(name), "Down Arrow");

    // The keypad digits name their digit, printable keys themselves.
    ASSERT_TRUE(key.FromEvent(KeyEvent('7', 0x59), false));
    EXPECT_EQ(key.GetKeyCode(), 135);
    key.GetKeyString(name);
    EXPECT_EQ(Text(name), "7");
    ASSERT_TRUE(key.FromEvent(KeyEvent('a', 0x00), false));
    EXPECT_EQ(key.GetChar(), u'a');
    key.GetKeyString(name);
    EXPECT_EQ(Text(name), "A");
    // A byte past ASCII is read as Mac Roman.
    ASSERT_TRUE(key.FromEvent(KeyEvent(0x8A, 0x00), true));
    EXPECT_EQ(key.GetChar(), u'\u00E4');
    EXPECT_EQ(key.GetMacNativeChar(), 0x8A);
}

TEST_F(KeysTest, ADoubleByteCharacterWaitsForItsSecondByteAndLeadBytesInARowNeverOverflow)
{
    VKeySwitch::SetByteTypeProc(ForcedDoubleByte);
    VKeySwitch key;
    EXPECT_FALSE(key.FromEvent(KeyEvent(0x82, 0x00), true));
    EXPECT_FALSE(key.IsFullEventSaved());
    EXPECT_EQ(key.GetChar(), 0);
    EXPECT_TRUE(key.FromEvent(KeyEvent(0x40, 0x00), true));
    EXPECT_TRUE(key.IsFullEventSaved());
    EXPECT_NE(key.GetChar(), 0);

    // Lead bytes in a row: each restarts the character.
    for (int i = 0; i < 50; ++i) EXPECT_FALSE(key.FromEvent(KeyEvent(0x83, 0x00), true));
    EXPECT_TRUE(key.FromEvent(KeyEvent(0x41, 0x00), true));
    EXPECT_TRUE(key.FromEvent(KeyEvent('z', 0x06), true));
    EXPECT_EQ(key.GetChar(), u'z') << "no byte left over from before";
}

TEST_F(KeysTest, FramesReadTheUndoAndRedoWords)
{
    VView root(nullptr);
    VStr<255> word;
    root.GetUndoString(word);
    EXPECT_EQ(Text(word), "Undo");
    root.GetRedoString(word);
    EXPECT_EQ(Text(word), "Redo");
}

TEST_F(KeysTest, ClicksCopyTheEventsKeysAndCountDoubleClicks)
{
    platform::EventRecord e{};
    e.what = platform::mouseDown;
    e.where = {30, 20};
    e.when = 500;
    e.modifiers = platform::optionKey | platform::cmdKey;
    VClic c(e, nullptr);
    int32_t x = 0, y = 0;
    c.GetPos(x, y);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    EXPECT_TRUE(c.IsAltKey());
    EXPECT_TRUE(c.IsCtrlKey());
    EXPECT_FALSE(c.IsRight());
    EXPECT_FALSE(c.IsUp());
    EXPECT_EQ(c.GetTicks(), 500u);
    c.SetPosByOffset(5, 5);
    c.GetFirstPos(x, y);
    EXPECT_EQ(x, 20) << "the first position is kept";

    e.what = platform::kMouseWheelEvent;
    e.message = uint16_t(-3);
    VClic w(e, nullptr);
    EXPECT_EQ(w.GetWheelDelta(), -3);

    VSystem* saved = gSystem;
    VSystem sys;
    gSystem = &sys;
    e.what = platform::mouseDown;
    VClic first(e, nullptr);
    EXPECT_EQ(first.Register(), 1);
    e.when += 5;
    e.where.h += 2;
    VClic second(e, nullptr);
    EXPECT_EQ(second.Register(), 2);
    EXPECT_TRUE(second.IsADoubleClic());
    gSystem = saved;
}

namespace {

struct Listener : VCommandListener {
    void RedrawValue(RedrawMode) override { ++redraws; }
    void CommandEnabled(bool on, RedrawMode) override { enabled = on; }
    void CommandGone(VCommand*) override { gone = true; }
    int redraws = 0;
    bool enabled = true;
    bool gone = false;
};

struct HeardMenu : VMenu {
    HeardMenu() : VMenu(nullptr, 0) {}
    void BuildMenuObject(VPainter*, bool, bool) override {}
    void UpdateCommand(VCommand* command) override
    {
        ++updates;
        heard = command->GetLong();
    }
    void CommandGone(VCommand* command) override
    {
        VMenu::CommandGone(command);
        gone = true;
    }
    int updates = 0;
    int32_t heard = 0;
    bool gone = false;
};

}  // namespace

TEST_F(KeysTest, CommandsKeepTheirValueAndTellTheirListenersOnce)
{
    Listener a;
    HeardMenu b, dropped;
    {
        VCommand cmd(42);
        cmd.AddListener(&a);
        cmd.AddListener(&a);
        cmd.AddListener(&b);
        cmd.AddListener(&b);
        cmd.AddListener(&dropped);
        cmd.DeleteListener(&dropped);
        cmd.SetLong(nullptr, 7, kRedrawInval);
        EXPECT_EQ(cmd.GetLong(), 7);
        EXPECT_EQ(a.redraws, 1) << "a listener is kept once";
        EXPECT_EQ(b.updates, 1) << "a menu is heard once";
        EXPECT_EQ(dropped.updates, 0);
        cmd.SetLong(nullptr, 7, kRedrawInval);
        EXPECT_EQ(a.redraws, 1) << "the same long changes nothing";
        VStr<255> text;
        cmd.GetString(text);
        EXPECT_EQ(Text(text), "7");
        VLong given(9);
        cmd.SetValue(nullptr, &given, false, kRedrawInval);
        EXPECT_NE(cmd.GetValue(), &given) << "copied unless adopted";
        EXPECT_EQ(cmd.GetLong(), 9);
        EXPECT_EQ(b.heard, 9) << "menus hear the value it has now";
        cmd.SetEnabled(false, kRedrawInval);
        EXPECT_FALSE(a.enabled);
        EXPECT_FALSE(cmd.IsEnabled());
        cmd.DeleteListener(&a);
    }
    EXPECT_FALSE(a.gone);
    EXPECT_TRUE(b.gone);
    EXPECT_FALSE(dropped.gone);

    // A borrowed choice list stays its owner's; an owned one goes with the command.
    {
        VArrayBoolean borrowed;
        VCommand cmd(43);
        cmd.SetChoiceList(&borrowed, true);
        EXPECT_EQ(cmd.GetChoiceList(), &borrowed);
        auto* owned = new VArrayBoolean;
        cmd.SetChoiceList(owned, false);
        EXPECT_EQ(cmd.GetChoiceList(), owned);
        cmd.SetChoiceList(owned, false);
        EXPECT_EQ(cmd.GetChoiceList(), owned);
    }

    // Found by number, not by position.
    VCommand c1(1), c5(5), c2(2);
    VCommandMgr mgr;
    mgr.AddCommand(&c5);
    mgr.AddCommand(&c1);
    mgr.AddCommand(&c2);
    EXPECT_EQ(mgr.FindCommand(1), &c1);
    EXPECT_EQ(mgr.FindCommand(2), &c2);
    EXPECT_EQ(mgr.FindCommand(3), nullptr);
    EXPECT_EQ(mgr.GetNth(1), &c5);
    EXPECT_EQ(mgr.GetNth(4), nullptr);
}

TEST_F(KeysTest, EventObjectsRetainTheirEventAndGoWithTheirLastRelease)
{
    platform::EventRecord record{};
    record.what = platform::keyDown;
    record.message = 'x';
    platform::EventRef ref = platform::CreateEventFromRecord(&record);
    auto* first = new VQzEvent(ref, nullptr);
    EXPECT_EQ(first->GetRecord().message, uint32_t('x')) << "converted from the event";
    EXPECT_EQ(platform::GetEventRetainCount(ref), 2u);
    auto* second = new VQzEvent(ref, &record);
    EXPECT_EQ(second->GetSequence(), first->GetSequence() + 1);
    EXPECT_EQ(VQzEvent::Retain(first), 2);
    EXPECT_EQ(VQzEvent::Release(first), 1);
    EXPECT_EQ(VQzEvent::Release(first), 0);
    EXPECT_EQ(VQzEvent::Release(second), 0);
    EXPECT_EQ(VQzEvent::Retain(nullptr), 0);
    EXPECT_EQ(VQzEvent::Release(nullptr), 0);
    EXPECT_EQ(platform::GetEventRetainCount(ref), 1u);
    platform::ReleaseEvent(ref);

    VQzEvent empty(nullptr, nullptr);
    EXPECT_EQ(empty.GetRecord().what, 0);
    EXPECT_EQ(empty.DoExecute(), 0);
}
