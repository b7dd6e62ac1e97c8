#include <gtest/gtest.h>

#include "platform/backends/Script.h"
#include "platform/events/Events.h"
#include "platform/events/HostKeys.h"

using namespace platform;
using Kind = ScriptStep::Kind;

TEST(ScriptText, ReadsEveryStepKind)
{
    const char* text =
        "# a comment\n"
        "move 10 20\n"
        "press 1 2 cmd shift\n"
        "release\n"
        "click 3 4 control\n"
        "doubleclick 5 6\n"
        "drag 1 2 400 300 30 option\n"
        "type \"a \\\"q\\\" \\x8E\\n\"\n"
        "key left cmd\n"
        "\n"
        "wait 7\n"
        "idle\n"
        "screenshot \"/tmp/with space.png\"\n"
        "answer /tmp/doc\n"
        "choose 2\n"
        "send odoc /tmp/a /tmp/b\n"
        "end\n"
        "hold\n";
    Script s;
    std::string error;
    ASSERT_TRUE(ParseScript(text, &s, &error)) << error;
    const auto& st = s.Steps();
    ASSERT_EQ(st.size(), 16u);
    EXPECT_EQ(st[0].kind, Kind::Move);
    EXPECT_EQ(st[0].to.h, 10);
    EXPECT_EQ(st[0].to.v, 20);
    EXPECT_EQ(st[1].modifiers, cmdKey | shiftKey);
    EXPECT_EQ(st[3].modifiers, controlKey);
    EXPECT_EQ(st[5].kind, Kind::Drag);
    EXPECT_EQ(st[5].to.h, 400);
    EXPECT_EQ(st[5].ticks, 30u);
    EXPECT_EQ(st[5].modifiers, optionKey);
    EXPECT_EQ(st[6].text, std::string("a \"q\" \x8E\r"));
    EXPECT_EQ(st[7].charCode, 28);
    EXPECT_EQ(st[7].keyCode, vkey::kLeft);
    EXPECT_EQ(st[8].ticks, 7u);
    EXPECT_EQ(st[9].kind, Kind::WaitIdle);
    EXPECT_EQ(st[10].text, "/tmp/with space.png");
    EXPECT_EQ(st[11].kind, Kind::AnswerFileDialog);
    EXPECT_EQ(st[12].kind, Kind::ChooseItem);
    EXPECT_EQ(st[12].ticks, 2u);
    EXPECT_EQ(st[13].eventID, kAEOpenDocuments);
    EXPECT_EQ(st[13].documents.size(), 2u);
    EXPECT_EQ(st[14].kind, Kind::End);
    EXPECT_EQ(st[15].kind, Kind::Hold);
}

TEST(ScriptText, RefusesBadLinesWithTheirNumber)
{
    const char* bad[] = {
        "move 1\n", "move 1 x\n", "click 1 2 hyper\n", "drag 1 2 3 4 -5\n", "type \"open\n",
        "type \"\\xZZ\"\n", "key nosuch\n", "wait -1\n", "send toolong\n", "fly 1 2\n",
        "move 1 99999\n", "idle now\n", "hold on\n", "screenshot\n", "choose 0\n", "choose\n",
    };
    for (const char* text : bad) {
        Script s;
        std::string error;
        std::string twoLines = std::string("wait 1\n") + text;
        EXPECT_FALSE(ParseScript(twoLines, &s, &error)) << text;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
    Script s;
    std::string error;
    EXPECT_FALSE(LoadScriptFile("/nonexistent/script", &s, &error));
    EXPECT_FALSE(error.empty());
}

TEST(HostKeys, ModifiersAndButtonsMapToOurs)
{
    EXPECT_EQ(MacModifiersForHost(kHostCtrl), cmdKey);
    EXPECT_EQ(MacModifiersForHost(kHostAlt), optionKey);
    EXPECT_EQ(MacModifiersForHost(kHostSuper), controlKey);
    EXPECT_EQ(MacModifiersForHost(kHostShift | kHostCapsLock), shiftKey | alphaLock);
    EXPECT_EQ(MacModifiersForButton(HostButton::Right, 0), controlKey);
    EXPECT_EQ(MacModifiersForButton(HostButton::Left, kHostCtrl), cmdKey);
}

TEST(HostKeys, KeysGiveCharactersAndKeyCodes)
{
    struct Case { uint16_t usage; uint16_t mods; uint8_t ch; uint8_t code; };
    const Case cases[] = {
        {6, kHostCtrl, 'c', 0x08},      // Ctrl-C: 'c', the modifier says command
        {6, kHostShift, 'C', 0x08},
        {4, kHostCapsLock, 'A', 0x00},
        {30, kHostCapsLock, '1', 0x12},  // caps lock leaves digits alone
        {30, kHostShift, '!', 0x12},
        {80, 0, 28, vkey::kLeft}, {79, 0, 29, vkey::kRight},
        {82, 0, 30, vkey::kUp}, {81, 0, 31, vkey::kDown},
        {40, 0, 13, vkey::kReturn}, {88, 0, 3, vkey::kEnter},
        {41, 0, 27, vkey::kEscape}, {43, 0, 9, vkey::kTab},
        {42, 0, 8, vkey::kDelete}, {76, 0, 127, vkey::kForwardDelete},
    };
    for (const Case& c : cases) {
        MacKey key;
        ASSERT_TRUE(MacKeyForHidUsage(c.usage, c.mods, &key)) << c.usage;
        EXPECT_EQ(key.charCode, c.ch) << c.usage;
        EXPECT_EQ(key.keyCode, c.code) << c.usage;
        EXPECT_FALSE(key.modifier);
    }
    MacKey key;
    ASSERT_TRUE(MacKeyForHidUsage(224, 0, &key));
    EXPECT_TRUE(key.modifier);
    EXPECT_EQ(key.keyCode, vkey::kCommand);
    EXPECT_FALSE(MacKeyForHidUsage(0, 0, &key));
    EXPECT_FALSE(MacKeyForHidUsage(9999, 0, &key));

    uint8_t code = 0;
    bool shift = false;
    ASSERT_TRUE(KeyForCharacter('?', &code, &shift));
    EXPECT_EQ(code, 0x2C);
    EXPECT_TRUE(shift);
    ASSERT_TRUE(KeyForCharacter('7', &code, &shift));
    EXPECT_EQ(code, 0x1A);  // the top row, not the keypad
    EXPECT_FALSE(KeyForCharacter(0x8E, &code, &shift));
}
