// The keyboard side of the international managers: loads the dialect-to-
// keyboard table from the host (or builds the default one), selects the
// keyboard of a dialect and turns key events into UTF-16 characters.
//
// Every platform call goes through the slots of KeyboardPlatform(). This
// system has one keyboard layout, the platform's US layout: the dialects
// whose entry names it ("U.S.", or identifier 0) select it; the others only
// set the key script.
#pragma once

#include <cstdint>

#include "platform/events/Events.h"
#include "platform/events/KeyboardLayouts.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VObject.h"

class VKeyboardInfo;
class VKeyboardSettingsV2;

class VKeyboardManager : public VObject {
public:
    VKeyboardManager();
    ~VKeyboardManager() override;
    VKeyboardManager(const VKeyboardManager&) = delete;
    VKeyboardManager& operator=(const VKeyboardManager&) = delete;

    // New settings from the host's table; the default table when the host
    // has none or an empty one (and then the host is given it).
    void LoadKeyboardMapping();
    // Appends one entry per dialect-list row; with write the settings go
    // to the host.
    void _InitDefaultMapping(bool write);
    // True when a keyboard layout was selected. -2 is the default
    // manager's dialect; so is 0 when looking up the table.
    bool SwitchKeyboard(DialectCode dialect, bool force);
    // The character of a key event through the current layout; false when
    // the event gives none.
    bool GetUniCharFromMacEvent(const platform::EventRecord& event, char16_t& ch);

    VKeyboardSettingsV2* GetSettings() const { return fSettings; }
    DialectCode GetKeyboardDialect() const { return fKeyboardDialect; }
    int32_t GetSettingsDialect() const { return fSettingsDialect; }

private:
    void ReplaceSettings(VKeyboardSettingsV2* settings);
    // The key-translation data of the layout of an identifier; null when
    // the look-up or the property fails.
    static const platform::UCKeyboardLayout* TranslationOf(int32_t identifier);
    // The layout an entry names, by its kind; null when none is found.
    static platform::KeyboardLayoutRef FindLayout(const VKeyboardInfo& entry);
    // The key script and the keyboard layout id of a dialect (those in use
    // where the dialect-code table has none), set for the script and for
    // the current script.
    void SetDialectScript(DialectCode dialect, int32_t* script);

    platform::KeyboardLayoutRef fCurrentLayout = nullptr;
    int16_t fScript = 0;
    int32_t fKCHRId = 0;
    uint32_t fDeadKeyState = 0;
    const platform::UCKeyboardLayout* fKeyLayout = nullptr;
    char16_t fBuffer[16] = {};
    int32_t fSettingsDialect = -1;
    DialectCode fKeyboardDialect = 0;
    VKeyboardSettingsV2* fSettings = nullptr;
};
