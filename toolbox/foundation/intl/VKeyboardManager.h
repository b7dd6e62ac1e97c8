// The keyboard side of the international managers: loads the dialect-to-
// keyboard table from the host (or builds the default one), selects the
// keyboard of a dialect and turns key events into UTF-16 characters.
//
// This system has one keyboard layout, the platform's US layout, and no
// others to select: a switch only records the keyboard dialect and answers
// false.
#pragma once

#include <cstdint>

#include "platform/events/Events.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VObject.h"

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
    // The layout of an identifier and its translation (none: false).
    static bool LayoutTranslates(int16_t kchrId);

    uint32_t fCurrentLayout = 0;
    int16_t fScript = 0;
    int16_t fKCHRId = 0;
    uint32_t fDeadKeyState = 0;
    bool fHasTranslation = false;
    char16_t fBuffer[16] = {};
    int32_t fSettingsDialect = -1;
    DialectCode fKeyboardDialect = 0;
    VKeyboardSettingsV2* fSettings = nullptr;
};
