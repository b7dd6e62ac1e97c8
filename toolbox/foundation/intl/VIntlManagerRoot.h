// The owner of the shared international managers: one per dialect, one
// converter-data object per character-set family.
#pragma once

#include <map>

#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/intl/VIntlConverterData.h"
#include "toolbox/foundation/intl/VKeyboardManager.h"

class VIntlManagerRoot : public VObject {
public:
    explicit VIntlManagerRoot(DialectCode dialect);
    ~VIntlManagerRoot() override;

    // Makes the root if there is none and sets gDefaultIntl; answers it.
    static VIntlMgr* Init(DialectCode dialect);
    // Destroys the root and forgets gDefaultIntl (tests).
    static void Reset();

    VIntlMgr* RetainIntlManager(DialectCode dialect);
    // Null for codes outside 0..16.
    VIntlConverterData* RetainConverterData(MultiByteCode code);

    // Makes the dialect's manager the keyboard's and selects its keyboard.
    void SetKeyBoardIntlManager(DialectCode dialect, bool force);
    VIntlMgr* RetainKeyBoardIntlManager();
    // Loads the keyboard table, then selects the default dialect's keyboard.
    void InitKeyboardMapping();
    bool GetUniCharFromMacEvent(const platform::EventRecord& event, char16_t& ch)
    {
        return fKeyboard.GetUniCharFromMacEvent(event, ch);
    }
    VKeyboardManager& GetKeyboardManager() { return fKeyboard; }

    static int16_t GetSystemScriptCode();
    static int16_t GetApplicationScriptCode();
    static int16_t GetSystemScriptLang();
    // Rewrites the UTF-16 buffer in canonically composed form; the new byte length.
    static int32_t PrecomposeUnicodeBuffer(char16_t* buffer, int32_t byteLength);

    bool IsSystemDoubleByte() const { return fSystemDoubleByte; }
    DialectCode GetApplicationDialect() const { return fApplicationDialect; }
    VIntlMgr* GetDefaultManager() const { return fDefault; }

    static VIntlManagerRoot* sIntlManagerRoot;

private:
    std::map<DialectCode, VIntlMgr*> fManagers;
    VKeyboardManager fKeyboard;
    VIntlMgr* fDefault = nullptr;
    VIntlMgr* fKeyboardManager = nullptr;
    bool fSystemDoubleByte = false;
    DialectCode fApplicationDialect = kDialectNotSet;
    VIntlConverterData* fConverters[kMultiByteCodeCount] = {};
};

bool IsBidiScript(DialectCode dialect);
bool IsRTLScript(DialectCode dialect);
bool IsDoubleByteScript(DialectCode dialect);

// The dialect -2, -1 and 0 stand for: the system's language.
DialectCode _AdjustDialect(DialectCode dialect);
