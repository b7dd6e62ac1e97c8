#include "toolbox/foundation/intl/VKeyboardManager.h"

#include "platform/core/Memory.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/intl/DialectList.h"
#include "toolbox/foundation/intl/KeyboardPlatform.h"
#include "toolbox/foundation/intl/VKeyboardSettings.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

constexpr int16_t kJapaneseScript = 1;
constexpr int32_t kJapaneseLayoutId = 16384;
constexpr int32_t kUnicodeLayoutGroup = 126;
constexpr int16_t kUnicodeKeyScript = 254;

DialectCode DefaultDialect() { return gDefaultIntl ? gDefaultIntl->GetDialectCode() : 0; }

int16_t TextServiceScript()
{
    platform::ScriptLanguageRecord record;
    if (KeyboardPlatform().getTextServiceLanguage(&record) != platform::noErr) return platform::smRoman;
    return record.fScript;
}

int32_t LayoutNumber(platform::KeyboardLayoutRef layout, platform::KeyboardLayoutPropertyTag tag, int32_t otherwise)
{
    const void* value = nullptr;
    if (KeyboardPlatform().layoutProperty(layout, tag, &value) != platform::noErr || !value) return otherwise;
    return *static_cast<const int32_t*>(value);
}

}  // namespace

const platform::UCKeyboardLayout* VKeyboardManager::TranslationOf(int32_t identifier)
{
    platform::KeyboardLayoutRef layout = nullptr;
    if (KeyboardPlatform().layoutWithIdentifier(identifier, &layout) != platform::noErr || !layout) return nullptr;
    const void* keys = nullptr;
    if (KeyboardPlatform().layoutProperty(layout, platform::kKLuchrData, &keys) != platform::noErr) return nullptr;
    return static_cast<const platform::UCKeyboardLayout*>(keys);
}

platform::KeyboardLayoutRef VKeyboardManager::FindLayout(const VKeyboardInfo& entry)
{
    platform::KeyboardLayoutRef layout = nullptr;
    platform::OSStatus err = platform::paramErr;
    if (entry.GetKind() == kKeyboardByName)
        err = KeyboardPlatform().layoutWithName(platform::CFString{entry.GetLayoutName().GetCFString()}, &layout);
    else if (entry.GetKind() == kKeyboardByKCHR)
        err = KeyboardPlatform().layoutWithIdentifier(entry.GetKCHRId(), &layout);
    return err == platform::noErr ? layout : nullptr;
}

VKeyboardManager::VKeyboardManager()
{
    KeyboardPlatform().getCurrentLayout(&fCurrentLayout);
    fScript = TextServiceScript();
    fKCHRId = KeyboardPlatform().getScriptVariable(fScript, platform::smScriptKeys);
    fKeyLayout = TranslationOf(fKCHRId);
}

VKeyboardManager::~VKeyboardManager() { delete fSettings; }

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

void VKeyboardManager::SetDialectScript(DialectCode dialect, int32_t* script)
{
    *script = TextServiceScript();
    int32_t kchr = KeyboardPlatform().getScriptVariable(platform::ScriptCode(*script), platform::smScriptKeys);
    int32_t value = 0;
    if (VIntlMgr::GetMacScriptFromDialectCode(dialect, value)) *script = value;
    if (VIntlMgr::MAC_GetMacKCHRFromDialectCode(dialect, value)) kchr = value;
    KeyboardPlatform().setScriptVariable(platform::ScriptCode(*script), platform::smScriptKeys, kchr);
    KeyboardPlatform().setScriptVariable(platform::smCurrentScript, platform::smScriptKeys, kchr);
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
    platform::KeyboardLayoutRef layout = nullptr;
    if (found) {
        layout = found->GetLayout();
        if (!layout) {
            layout = FindLayout(*found);
            if (layout) found->SetLayout(layout);
        }
    }
    if (layout) {
        int32_t script = 0;
        SetDialectScript(dialect, &script);
        const int32_t group = LayoutNumber(layout, platform::kKLGroupIdentifier, 0);
        if (group == kUnicodeLayoutGroup) {
            KeyboardPlatform().setCurrentLayout(layout);
            KeyboardPlatform().keyScript(kUnicodeKeyScript);
            KeyboardPlatform().setCurrentLayout(layout);
        } else {
            KeyboardPlatform().keyScript(int16_t(group | 0x80));
            KeyboardPlatform().setCurrentLayout(layout);
        }
        fCurrentLayout = layout;
    }
    if (found) fKeyboardDialect = dialect;
    if (!layout && fKeyboardDialect != dialect) {
        // No layout: only the key script follows the dialect.
        int32_t script = 0;
        SetDialectScript(dialect, &script);
        KeyboardPlatform().keyScript(int16_t(script));
        fKeyboardDialect = dialect;
    }
    return layout != nullptr;
}

bool VKeyboardManager::GetUniCharFromMacEvent(const platform::EventRecord& event, char16_t& ch)
{
    const uint32_t message = uint32_t(event.message);
    if (event.modifiers == 0 &&
        (message == 0xB4 || message == 0x5C || message == 0x800000B4u || message == 0x8000005Cu))
        return false;
    fScript = TextServiceScript();
    int32_t id = kJapaneseLayoutId;
    if (fScript != kJapaneseScript) {
        platform::KeyboardLayoutRef current = nullptr;
        KeyboardPlatform().getCurrentLayout(&current);
        id = LayoutNumber(current, platform::kKLIdentifier, fKCHRId);
    }
    if (id != fKCHRId) {
        fKeyLayout = TranslationOf(id);
        fKCHRId = id;
    }
    if (VSystem::GetVersion() >= 0x1050 && fScript == kJapaneseScript) return false;
    if (!fKeyLayout) return false;
    // Only key events carry a key action.
    if (event.what < platform::keyDown || event.what > platform::autoKey) return false;
    uint32_t deadKeys = fDeadKeyState;
    uint32_t length = 0;
    const platform::OSStatus err = KeyboardPlatform().keyTranslate(
        fKeyLayout, uint16_t((message >> 8) & 0xFF), uint16_t(event.what - platform::keyDown),
        uint32_t(event.modifiers >> 8) & 0xFF, KeyboardPlatform().kbdType() & 0xFF, 0, &deadKeys, 16, &length,
        fBuffer);
    if (err != platform::noErr || length == 0) return false;
    ch = fBuffer[0];
    return true;
}
