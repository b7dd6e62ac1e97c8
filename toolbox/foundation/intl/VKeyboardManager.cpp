#include "toolbox/foundation/intl/VKeyboardManager.h"

#include "platform/core/Memory.h"
#include "platform/events/KeyTranslate.h"
#include "platform/text/ScriptManager.h"
#include "platform/text/SingleByteSets.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/intl/DialectList.h"
#include "toolbox/foundation/intl/VKeyboardSettings.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr int16_t kJapaneseScript = 1;
constexpr int16_t kJapaneseLayoutId = 16384;
// The US layout, the platform's only one.
constexpr int16_t kPlatformLayoutId = 0;
constexpr uint32_t kPlatformLayout = 1;

int16_t TextServiceScript() { return int16_t(platform::GetScriptManagerVariable(platform::smKeyScript)); }

int16_t ScriptLayoutId(int16_t script)
{
    return int16_t(platform::GetScriptVariable(script, platform::smScriptKeys));
}

DialectCode DefaultDialect() { return gDefaultIntl ? gDefaultIntl->GetDialectCode() : 0; }

// The platform layout of a name or an identifier; 0 when there is none to
// select. The platform offers none but the one in use.
uint32_t FindLayout(const VKeyboardInfo&) { return 0; }

}  // namespace

VKeyboardManager::VKeyboardManager()
{
    fCurrentLayout = kPlatformLayout;
    fScript = TextServiceScript();
    fKCHRId = ScriptLayoutId(fScript);
    fHasTranslation = LayoutTranslates(fKCHRId);
}

VKeyboardManager::~VKeyboardManager() { delete fSettings; }

bool VKeyboardManager::LayoutTranslates(int16_t kchrId) { return kchrId == kPlatformLayoutId; }

void VKeyboardManager::ReplaceSettings(VKeyboardSettingsV2* settings)
{
    delete fSettings;
    fSettings = settings;
}

void VKeyboardManager::LoadKeyboardMapping()
{
    ReplaceSettings(new VKeyboardSettingsV2);
    if (!fSettings) return;
    char** stored = nullptr;
    if (VEngine::ReadKeybordMappingV2(stored) == 0) {
        int32_t storedVersion = 0;
        if (stored) {
            fSettings->FromSettings(stored);
            if (*stored && platform::GetHandleSize(stored) >= platform::Size(sizeof(sKeyboardSettings)))
                storedVersion = reinterpret_cast<const sKeyboardSettings*>(*stored)->version;
        }
        // A host without a table gets the default one as well.
        if (fSettings->fEntries.GetCount() == 0 || storedVersion == -1) _InitDefaultMapping(true);
        fSettingsDialect = fSettings->fDialect;
        if (stored) VEngine::DisposeKeybordMappingV2(stored);
        return;
    }
    VKeyboardSettings* old = VEngine::ReadKeybordMapping();
    if (old) {
        fSettings->fVersion = old->fVersion;
        fSettings->fEnabled = old->fEnabled;
        fSettings->fEntries.Destroy(kListDeleteData);
        for (int32_t i = 1; i <= old->fEntries.GetCount(); ++i) {
            auto* copy = new VKeyboardInfo(*old->fEntries.GetNth(i));
            if (copy) fSettings->fEntries.AddTail(copy);
        }
        delete old;
    }
    if (fSettings->fEntries.GetCount() == 0) _InitDefaultMapping(true);
}

void VKeyboardManager::_InitDefaultMapping(bool write)
{
    if (!fSettings) {
        fSettings = new VKeyboardSettingsV2;
        if (!fSettings) return;
    }
    for (const DialectRecord& row : sDialectList) {
        VText layoutName, dialectName;
        layoutName.FromMacCString(reinterpret_cast<const uint8_t*>(row.layoutName));
        dialectName.FromMacCString(reinterpret_cast<const uint8_t*>(row.name));
        auto* info = new VKeyboardInfo(layoutName, row.kchrId, row.code, dialectName, int16_t(row.keyboardKind));
        if (info) fSettings->fEntries.AddTail(info);
    }
    if (write) VEngine::WriteKeybordMapping(fSettings);
}

bool VKeyboardManager::SwitchKeyboard(DialectCode dialect, bool force)
{
    if (!fSettings || fSettings->fEnabled == 0) return false;
    if (dialect == kDialectNotSet) dialect = DefaultDialect();
    VKeyboardInfo* found = nullptr;
    if (dialect != fKeyboardDialect || force) {
        const DialectCode wanted = dialect == 0 ? DefaultDialect() : dialect;
        for (int32_t i = 1; i <= fSettings->fEntries.GetCount() && !found; ++i)
            if (fSettings->fEntries.GetNth(i)->GetDialect() == wanted) found = fSettings->fEntries.GetNth(i);
    }
    uint32_t layout = 0;
    if (found) {
        layout = found->GetLayout();
        if (layout == 0 && (found->GetKind() == kKeyboardByName || found->GetKind() == kKeyboardByKCHR)) {
            layout = FindLayout(*found);
            if (layout) found->SetLayout(layout);
        }
        fKeyboardDialect = dialect;
        if (layout) {
            fCurrentLayout = layout;
            return true;
        }
        return false;
    }
    // No layout: only the key script follows the dialect, and this system
    // has a single script.
    if (fKeyboardDialect != dialect) fKeyboardDialect = dialect;
    return false;
}

bool VKeyboardManager::GetUniCharFromMacEvent(const platform::EventRecord& event, char16_t& ch)
{
    const uint32_t message = uint32_t(event.message);
    if (event.modifiers == 0 &&
        (message == 0xB4 || message == 0x5C || message == 0x800000B4u || message == 0x8000005Cu))
        return false;
    fScript = TextServiceScript();
    const int16_t id = fScript == kJapaneseScript ? kJapaneseLayoutId : ScriptLayoutId(fScript);
    if (id != fKCHRId) {
        fHasTranslation = LayoutTranslates(id);
        fKCHRId = id;
    }
    if (VSystem::GetVersion() >= 0x1050 && fScript == kJapaneseScript) return false;
    if (!fHasTranslation) return false;
    if (event.what < platform::keyDown || event.what > platform::autoKey) return false;
    const uint16_t keyCode = uint16_t((message >> 8) & 0x7F);
    uint32_t deadKeys = fDeadKeyState;
    const uint32_t translated =
        platform::KeyTranslate(uint16_t(keyCode | (event.modifiers & platform::shiftKey)), &deadKeys);
    const uint8_t macChar = uint8_t(translated & 0xFF);
    if (macChar == 0) return false;
    fBuffer[0] = platform::MacRomanToUnicode(macChar);
    fBuffer[1] = 0;
    ch = fBuffer[0];
    return true;
}
