#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/text/ScriptManager.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/intl/KeyboardPlatform.h"
#include "toolbox/foundation/intl/VKeyboardManager.h"
#include "toolbox/foundation/intl/VKeyboardSettings.h"

namespace {

// Every platform call the keyboard manager makes, counted by name, each
// then passed on to the platform.
std::map<std::string, int32_t> gCalls;

KeyboardPlatformCalls CountingCalls()
{
    KeyboardPlatformCalls c;
    c.getTextServiceLanguage = [](platform::ScriptLanguageRecord* r) {
        ++gCalls["language"];
        return platform::GetTextServiceLanguage(r);
    };
    c.setScriptVariable = [](platform::ScriptCode s, int16_t sel, int32_t v) {
        ++gCalls["setScriptVariable"];
        return platform::SetScriptVariable(s, sel, v);
    };
    c.keyScript = [](int16_t code) {
        ++gCalls["keyScript:" + std::to_string(code)];
        platform::KeyScript(code);
    };
    c.setCurrentLayout = [](platform::KeyboardLayoutRef l) {
        ++gCalls["setCurrentLayout"];
        return platform::KLSetCurrentKeyboardLayout(l);
    };
    c.layoutWithName = [](const platform::CFString& n, platform::KeyboardLayoutRef* l) {
        ++gCalls["byName"];
        return platform::KLGetKeyboardLayoutWithName(n, l);
    };
    c.layoutWithIdentifier = [](int32_t id, platform::KeyboardLayoutRef* l) {
        ++gCalls["byId"];
        return platform::KLGetKeyboardLayoutWithIdentifier(id, l);
    };
    c.keyTranslate = [](const platform::UCKeyboardLayout* l, uint16_t k, uint16_t a, uint32_t m, uint32_t t,
                        uint32_t o, uint32_t* d, uint32_t n, uint32_t* len, char16_t* s) {
        ++gCalls["translate"];
        return platform::UCKeyTranslate(l, k, a, m, t, o, d, n, len, s);
    };
    return c;
}

class KeyboardPlatformTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gCallQz = [](int16_t, parm*) {};
        gCalls.clear();
        SetKeyboardPlatform(CountingCalls());
    }
    void TearDown() override
    {
        ResetKeyboardPlatform();
        platform::ResetKeyboardLayouts();
        platform::ResetScriptVariables();
        gCallQz = nullptr;
    }
    int32_t Calls() const
    {
        int32_t n = 0;
        for (const auto& [name, count] : gCalls) n += name == "language" ? 0 : count;
        return n;
    }
};

}  // namespace

TEST_F(KeyboardPlatformTest, SwitchesCallThePlatformOnlyWhenTheyHaveSomethingToDo)
{
    VKeyboardManager manager;
    manager.LoadKeyboardMapping();
    ASSERT_EQ(manager.GetSettings()->fEntries.GetCount(), 105);

    // English (U.S.) names the one layout there is: it is selected, and the
    // Roman key script with it.
    gCalls.clear();
    EXPECT_TRUE(manager.SwitchKeyboard(0x409, false));
    EXPECT_EQ(gCalls["byName"], 1);
    EXPECT_EQ(gCalls["keyScript:128"], 1) << "the layout's group with the high bit";
    EXPECT_EQ(gCalls["setCurrentLayout"], 1);
    EXPECT_EQ(gCalls["setScriptVariable"], 2);
    EXPECT_EQ(manager.GetKeyboardDialect(), 0x409);

    // The current keyboard dialect again, without force: nothing at all.
    gCalls.clear();
    EXPECT_FALSE(manager.SwitchKeyboard(0x409, false));
    EXPECT_EQ(Calls(), 0);
    // With force the entry's kept layout is used: no second look-up.
    EXPECT_TRUE(manager.SwitchKeyboard(0x409, true));
    EXPECT_EQ(gCalls["byName"], 0);
    EXPECT_EQ(gCalls["setCurrentLayout"], 1);

    // French names a layout Linux lacks: the dialect is recorded, no layout
    // is selected, and since the entry was found the key script is left.
    gCalls.clear();
    EXPECT_FALSE(manager.SwitchKeyboard(0x40C, false));
    EXPECT_EQ(gCalls["byName"], 1);
    EXPECT_EQ(gCalls["setCurrentLayout"], 0);
    EXPECT_EQ(manager.GetKeyboardDialect(), 0x40C);

    // An entry without a keyboard looks up no layout at all.
    DialectCode bare = 0;
    for (int32_t i = 1; i <= manager.GetSettings()->fEntries.GetCount() && !bare; ++i)
        if (manager.GetSettings()->fEntries.GetNth(i)->GetKind() == kKeyboardNone)
            bare = manager.GetSettings()->fEntries.GetNth(i)->GetDialect();
    gCalls.clear();
    EXPECT_FALSE(manager.SwitchKeyboard(bare, false));
    EXPECT_EQ(gCalls["byName"] + gCalls["byId"], 0);

    // A dialect without an entry only moves the key script.
    gCalls.clear();
    EXPECT_FALSE(manager.SwitchKeyboard(0x7777, false));
    EXPECT_EQ(gCalls["setScriptVariable"], 2);
    EXPECT_EQ(gCalls["setCurrentLayout"], 0);
    EXPECT_EQ(manager.GetKeyboardDialect(), 0x7777);

    // Disabled settings: every switch is false and calls nothing.
    manager.GetSettings()->fEnabled = 0;
    gCalls.clear();
    for (DialectCode d : {0x409, 0x40C, -2, 0}) {
        EXPECT_FALSE(manager.SwitchKeyboard(d, true)) << d;
    }
    EXPECT_EQ(Calls(), 0);
}

TEST_F(KeyboardPlatformTest, TheBareBackslashMessagesNeverReachTranslation)
{
    VKeyboardManager manager;
    platform::EventRecord event{};
    event.what = platform::keyDown;
    char16_t ch = 0;
    for (uint32_t message : {0xB4u, 0x5Cu, 0x800000B4u, 0x8000005Cu}) {
        event.message = int32_t(message);
        event.modifiers = 0;
        EXPECT_FALSE(manager.GetUniCharFromMacEvent(event, ch)) << message;
        EXPECT_EQ(gCalls["translate"], 0) << message;
        event.modifiers = platform::optionKey;
        manager.GetUniCharFromMacEvent(event, ch);
        EXPECT_EQ(gCalls["translate"], 1) << message;
        gCalls["translate"] = 0;
    }
    // Key up and auto-key are translated too; other events are not.
    event.modifiers = 0;
    event.message = (0x01 << 8) | 's';
    for (int16_t what : {platform::keyUp, platform::autoKey}) {
        event.what = what;
        ch = 0;
        EXPECT_TRUE(manager.GetUniCharFromMacEvent(event, ch));
        EXPECT_EQ(ch, u's');
    }
    event.what = platform::nullEvent;
    EXPECT_FALSE(manager.GetUniCharFromMacEvent(event, ch));
}
