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
        "# a comment with one \" and a \\x escape \\xZZ\n"
        "   \t# an indented comment \"\n"
        "move 10 20\n"
        "press 1 2 cmd shift\n"
        "release\n"
        "click 3 4 control\n"
        "doubleclick 5 6\n"
        "drag 1 2 400 300 30 option\n"
        "type \"a \\\"q\\\" \\x8E\\n\"\n"
        "text \"\xC3\xA9\xE6\x97\xA5\"\n"
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
    ASSERT_EQ(st.size(), 17u);
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
    EXPECT_EQ(st[7].kind, Kind::Text);
    EXPECT_EQ(st[7].text, "\xC3\xA9\xE6\x97\xA5");
    EXPECT_EQ(st[8].charCode, 28);
    EXPECT_EQ(st[8].keyCode, vkey::kLeft);
    EXPECT_EQ(st[9].ticks, 7u);
    EXPECT_EQ(st[10].kind, Kind::WaitIdle);
    EXPECT_EQ(st[11].text, "/tmp/with space.png");
    EXPECT_EQ(st[12].kind, Kind::AnswerFileDialog);
    EXPECT_EQ(st[13].kind, Kind::ChooseItem);
    EXPECT_EQ(st[13].ticks, 2u);
    EXPECT_EQ(st[14].eventID, kAEOpenDocuments);
    EXPECT_EQ(st[14].documents.size(), 2u);
    EXPECT_EQ(st[15].kind, Kind::End);
    EXPECT_EQ(st[16].kind, Kind::Hold);
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
    // The layout's own character for the key (0: none named, the US one);
    // whether the key's character comes as text rather than with the key.
    struct Case { uint16_t usage; uint16_t mods; char32_t layout; uint8_t ch; uint8_t code; bool text; };
    const Case cases[] = {
        {6, kHostCtrl, 0, 'c', 0x08, false},  // Ctrl-C: 'c', the modifier says command
        {6, kHostShift, 0, 'C', 0x08, true},
        {4, kHostCapsLock, 0, 'A', 0x00, true},
        {30, kHostCapsLock, 0, '1', 0x12, true},  // caps lock leaves digits alone
        {30, kHostShift, 0, '!', 0x12, true},
        {80, 0, 0, 28, vkey::kLeft, false}, {79, 0, 0, 29, vkey::kRight, false},
        {82, 0, 0, 30, vkey::kUp, false}, {81, 0, 0, 31, vkey::kDown, false},
        {40, 0, 0, 13, vkey::kReturn, false}, {88, 0, 0, 3, vkey::kEnter, false},
        {41, 0, 0, 27, vkey::kEscape, false}, {43, 0, 0, 9, vkey::kTab, false},
        {42, 0, 0, 8, vkey::kDelete, false}, {76, 0, 0, 127, vkey::kForwardDelete, false},
        {44, 0, ' ', ' ', vkey::kSpace, true},
        // German: Y and Z trade places, the key right of L is ö.
        {28, kHostCtrl, 'z', 'z', 0x10, false}, {29, kHostCtrl | kHostShift, 'y', 'Y', 0x06, false},
        {51, kHostCtrl, U'\u00F6', 0x9A, 0x29, false}, {28, 0, 'z', 'z', 0x10, true},
        // French: A and Q, Z and W trade places; the top row's first key is &.
        {4, kHostCtrl, 'q', 'q', 0x00, false}, {20, kHostCtrl | kHostCapsLock, 'a', 'A', 0x0C, false},
        {26, kHostCtrl, 'z', 'z', 0x0D, false}, {30, kHostCtrl, '&', '&', 0x12, false},
        {5, kHostSuper, 'b', 'b', 0x0B, false},  // the US letter where both agree
        {30, kHostCtrl, U'\U0001F600', '1', 0x12, false},  // none in Mac Roman: the US one
        // The keypad types digits with num lock on, else is the keys it shows.
        {89, kHostNumLock, '1', '1', 0x53, true}, {95, 0, 0, 1, vkey::kHome, false},
        {99, kHostShift, '.', 127, vkey::kForwardDelete, false},
    };
    for (const Case& c : cases) {
        MacKey key;
        ASSERT_TRUE(MacKeyForHidUsage(c.usage, c.mods, &key, c.layout)) << c.usage;
        EXPECT_EQ(key.charCode, c.ch) << c.usage;
        EXPECT_EQ(key.keyCode, c.code) << c.usage;
        EXPECT_FALSE(key.modifier);
        EXPECT_EQ(KeyTypesText(c.usage, c.mods), c.text) << c.usage;
    }
    MacKey key;
    ASSERT_TRUE(MacKeyForHidUsage(224, 0, &key));
    EXPECT_TRUE(key.modifier);
    EXPECT_EQ(key.keyCode, vkey::kCommand);
    EXPECT_FALSE(MacKeyForHidUsage(0, 0, &key));
    EXPECT_FALSE(MacKeyForHidUsage(93, 0, &key)) << "the keypad's 5 shows no key";
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
