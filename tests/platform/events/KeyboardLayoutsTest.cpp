#include <gtest/gtest.h>

#include "platform/events/KeyboardLayouts.h"
#include "platform/text/ScriptManager.h"

using namespace platform;

namespace {

class KeyboardLayouts : public ::testing::Test {
protected:
    void TearDown() override
    {
        ResetKeyboardLayouts();
        ResetScriptVariables();
    }
};

}  // namespace

TEST_F(KeyboardLayouts, TheUSLayoutIsFoundByItsNameAndIdentifierOnly)
{
    struct Case {
        const char* name;
        int32_t identifier;
        bool found;
    };
    const Case cases[] = {{"U.S.", 0, true}, {"u.s.", 1, false}, {"U.S", 16384, false}, {"", -1, false}};
    for (const Case& c : cases) {
        KeyboardLayoutRef byName = USKeyboardLayout(), byId = USKeyboardLayout();
        EXPECT_EQ(KLGetKeyboardLayoutWithName(CFStringCreateWithUTF8(c.name), &byName), c.found ? noErr : paramErr)
            << c.name;
        EXPECT_EQ(byName, c.found ? USKeyboardLayout() : nullptr) << c.name;
        EXPECT_EQ(KLGetKeyboardLayoutWithIdentifier(c.identifier, &byId), c.found ? noErr : paramErr);
        EXPECT_EQ(byId, c.found ? USKeyboardLayout() : nullptr) << c.identifier;
    }
    const void* value = nullptr;
    ASSERT_EQ(KLGetKeyboardLayoutProperty(USKeyboardLayout(), kKLGroupIdentifier, &value), noErr);
    EXPECT_EQ(*static_cast<const int32_t*>(value), kRomanLayoutGroup);
    EXPECT_EQ(KLGetKeyboardLayoutProperty(USKeyboardLayout(), kKLKCHRData, &value), paramErr);
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(KLSetCurrentKeyboardLayout(nullptr), paramErr);
    EXPECT_EQ(LMGetKbdType(), kANSIKeyboardType);
}

TEST_F(KeyboardLayouts, KeyTranslationFollowsShiftAndTheBufferSize)
{
    const void* keys = nullptr;
    ASSERT_EQ(KLGetKeyboardLayoutProperty(USKeyboardLayout(), kKLuchrData, &keys), noErr);
    const auto* layout = static_cast<const UCKeyboardLayout*>(keys);
    struct Case {
        uint16_t key;
        uint16_t action;
        uint32_t modifiers;
        uint32_t room;
        OSStatus result;
        uint32_t length;
        char16_t ch;
    };
    const Case cases[] = {
        {0x00, kUCKeyActionDown, 0, 4, noErr, 1, u'a'},
        {0x00, kUCKeyActionAutoKey, kUCShiftKeyState, 4, noErr, 1, u'A'},
        {0x12, kUCKeyActionDown, kUCShiftKeyState, 1, noErr, 1, u'!'},
        {0x0A, kUCKeyActionDown, 0, 4, noErr, 0, 0},       // a key without a character
        {0x00, kUCKeyActionDown, 0, 0, noErr, 0, 0},       // no room
        {0x00, kUCKeyActionDisplay + 1, 0, 4, paramErr, 0, 0},
    };
    for (const Case& c : cases) {
        uint32_t dead = 0, length = 99;
        char16_t out[4] = {};
        EXPECT_EQ(UCKeyTranslate(layout, c.key, c.action, c.modifiers, LMGetKbdType(), 0, &dead, c.room, &length, out),
                  c.result)
            << c.key;
        EXPECT_EQ(length, c.length) << c.key;
        EXPECT_EQ(out[0], c.ch) << c.key;
        EXPECT_EQ(dead, 0u);
    }
    uint32_t dead = 0, length = 0;
    char16_t out[1];
    EXPECT_EQ(UCKeyTranslate(nullptr, 0, 0, 0, 0, 0, &dead, 1, &length, out), paramErr);
}

TEST_F(KeyboardLayouts, ScriptVariablesAndTheKeyScriptAreReadBack)
{
    EXPECT_EQ(GetScriptVariable(smRoman, smScriptKeys), 0);
    EXPECT_EQ(SetScriptVariable(smCurrentScript, smScriptKeys, 16384), noErr);
    EXPECT_EQ(GetScriptVariable(smRoman, smScriptKeys), 16384) << "the current script is Roman";
    EXPECT_EQ(GetScriptVariable(smSystemScript, smScriptLang), langEnglish) << "other selectors stay";
    EXPECT_EQ(SetScriptVariable(1, smScriptKeys, 5), smBadVerb) << "Japanese is not enabled";
    EXPECT_EQ(GetScriptVariable(1, smScriptKeys), 0);

    // Only an enabled script becomes the key script; 0x80 | script names it too.
    const struct {
        int16_t code;
        int16_t keyScript;
    } cases[] = {{1, 0}, {254, 0}, {-1, 0}, {0x80, 0}};
    for (const auto& c : cases) {
        KeyScript(c.code);
        ScriptLanguageRecord record{7, 7};
        EXPECT_EQ(GetTextServiceLanguage(&record), noErr);
        EXPECT_EQ(record.fScript, c.keyScript) << c.code;
        EXPECT_EQ(record.fLanguage, langEnglish);
        EXPECT_EQ(GetScriptManagerVariable(smKeyScript), c.keyScript);
    }
    EXPECT_EQ(GetTextServiceLanguage(nullptr), paramErr);
    ResetScriptVariables();
    EXPECT_EQ(GetScriptVariable(smRoman, smScriptKeys), 0);
}
