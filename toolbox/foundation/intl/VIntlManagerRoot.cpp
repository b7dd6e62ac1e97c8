#include "toolbox/foundation/intl/VIntlManagerRoot.h"

#include <algorithm>
#include <vector>

#include "platform/text/ScriptManager.h"
#include "platform/text/CompositionPairs.h"

VIntlManagerRoot* VIntlManagerRoot::sIntlManagerRoot = nullptr;

namespace {

// A new manager for the dialect; on missing tables, one retry with fallback.
VIntlMgr* MakeManager(DialectCode dialect, DialectCode fallback)
{
    auto* mgr = new VIntlMgr(dialect);
    if (mgr->InitUnicode(dialect) == kIntlTablesMissing && fallback != dialect) {
        mgr->DeInitUnicode();
        mgr->InitUnicode(fallback);
    }
    return mgr;
}

struct LanguageDialect {
    int32_t language;
    DialectCode dialect;
};

constexpr LanguageDialect kSystemLanguages[] = {
    {1, 0x40C},  {2, 0x407},  {3, 0x410},  {4, 0x413},  {5, 0x41D},  {6, 0xC0A},  {7, 0x406},   {8, 0x816},
    {9, 0x414},  {10, 0x40D}, {11, 0x411}, {12, 0x401}, {13, 0x40B}, {14, 0x408}, {15, 0x40F},  {17, 0x41F},
    {18, 0x41A}, {19, 0x404}, {22, 0x41E}, {23, 0x412}, {24, 0x427}, {25, 0x415}, {26, 0x40E},  {28, 0x426},
    {30, 0x438}, {31, 0x429}, {32, 0x419}, {33, 0x804}, {36, 0x41C}, {37, 0x418}, {38, 0x405},  {39, 0x41B},
    {40, 0x424}, {44, 0x402}, {45, 0x422}, {46, 0x423}, {80, 0x42A}, {81, 0x421}, {129, 0x42D}, {130, 0x403},
    {141, 0x436},
};

constexpr int32_t kUnspecifiedLanguage = -128;
constexpr int32_t kSerbianLanguage = 42;
constexpr int32_t kCyrillicScript = 7;

}  // namespace

DialectCode _AdjustDialect(DialectCode dialect)
{
    if (dialect == kDialectNotSet) dialect = 0;
    if (dialect != -1 && dialect != 0) return dialect;
    const int32_t language = VIntlManagerRoot::GetSystemScriptLang();
    if (language == kSerbianLanguage)
        return VIntlManagerRoot::GetSystemScriptCode() == kCyrillicScript ? 0xC1A : 0x81A;
    if (language == kUnspecifiedLanguage) {
        const DialectCode code = VIntlMgr::MAC_GetDialectCodeFromMacScript(VIntlManagerRoot::GetSystemScriptCode());
        return code == kDialectNotSet ? kDialectEnglishUS : code;
    }
    for (const auto& row : kSystemLanguages)
        if (row.language == language) return row.dialect;
    return kDialectEnglishUS;
}

VIntlManagerRoot::VIntlManagerRoot(DialectCode dialect)
{
    sIntlManagerRoot = this;
    fSystemDoubleByte = (platform::GetScriptVariable(platform::smSystemScript, platform::smScriptFlags) &
                         platform::smsfSingByte) == 0;
    fApplicationDialect = VIntlMgr::MAC_GetDialectCodeFromMacScript(GetApplicationScriptCode());
    fDefault = MakeManager(dialect, kDialectEnglishUS);
    fManagers[0] = fDefault;
    fDefault->Retain();  // the map's reference
}

VIntlManagerRoot::~VIntlManagerRoot()
{
    if (fKeyboardManager != nullptr) fKeyboardManager->Release();
    for (auto& [code, mgr] : fManagers) mgr->Release();
    if (fDefault != nullptr) fDefault->Release();
    for (VIntlConverterData*& data : fConverters) {
        if (data != nullptr) data->Release();
        data = nullptr;
    }
    if (sIntlManagerRoot == this) sIntlManagerRoot = nullptr;
}

VIntlMgr* VIntlManagerRoot::Init(DialectCode dialect)
{
    if (sIntlManagerRoot == nullptr) new VIntlManagerRoot(dialect);
    if (gDefaultIntl == nullptr) gDefaultIntl = sIntlManagerRoot->RetainIntlManager(0);
    return gDefaultIntl;
}

void VIntlManagerRoot::Reset()
{
    if (gDefaultIntl != nullptr) gDefaultIntl->Release();
    gDefaultIntl = nullptr;
    delete sIntlManagerRoot;
    sIntlManagerRoot = nullptr;
    VIntlMgr::ForgetDialectCodes();
}

VIntlMgr* VIntlManagerRoot::RetainIntlManager(DialectCode dialect)
{
    const DialectCode key = dialect < 0 ? 0 : dialect;
    auto it = fManagers.find(key);
    if (it == fManagers.end()) {
        VIntlMgr* mgr = MakeManager(key, fDefault->GetDialectCode());
        it = fManagers.emplace(key, mgr).first;
    }
    it->second->Retain();
    return it->second;
}

VIntlConverterData* VIntlManagerRoot::RetainConverterData(MultiByteCode code)
{
    if (code < 0 || code >= kMultiByteCodeCount) return nullptr;
    if (fConverters[code] == nullptr) fConverters[code] = new VIntlConverterData(code);
    fConverters[code]->Retain();
    return fConverters[code];
}

void VIntlManagerRoot::SetKeyBoardIntlManager(DialectCode dialect, bool force)
{
    VIntlMgr* mgr = RetainIntlManager(dialect);
    if (fKeyboardManager != nullptr) fKeyboardManager->Release();
    fKeyboardManager = mgr;
    fKeyboard.SwitchKeyboard(dialect, force);
}

void VIntlManagerRoot::InitKeyboardMapping()
{
    fKeyboard.LoadKeyboardMapping();
    SetKeyBoardIntlManager(0, false);
}

VIntlMgr* VIntlManagerRoot::RetainKeyBoardIntlManager()
{
    if (fKeyboardManager != nullptr) fKeyboardManager->Retain();
    return fKeyboardManager;
}

int16_t VIntlManagerRoot::GetSystemScriptCode()
{
    return int16_t(platform::GetScriptManagerVariable(platform::smSysScript));
}

int16_t VIntlManagerRoot::GetApplicationScriptCode() { return GetSystemScriptCode(); }

int16_t VIntlManagerRoot::GetSystemScriptLang()
{
    // The platform answers the language of its one script; there are no
    // further preferences to consult.
    return int16_t(platform::GetScriptVariable(platform::smSystemScript, platform::smScriptLang));
}

int32_t VIntlManagerRoot::PrecomposeUnicodeBuffer(char16_t* buffer, int32_t byteLength)
{
    if (buffer == nullptr || byteLength <= 0) return 0;
    const int32_t count = byteLength / 2;
    std::vector<char16_t> out;
    out.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i) {
        const char16_t ch = buffer[i];
        if (!out.empty()) {
            if (const char16_t composite = platform::ComposedPair(out.back(), ch)) {
                out.back() = composite;
                continue;
            }
        }
        out.push_back(ch);
    }
    if (int32_t(out.size()) == count) return byteLength;
    std::copy(out.begin(), out.end(), buffer);
    return int32_t(out.size()) * 2 + (byteLength & 1);
}

namespace {

template <typename Answer>
bool AskManager(DialectCode dialect, Answer answer)
{
    if (VIntlManagerRoot::sIntlManagerRoot == nullptr) return false;
    VIntlMgr* mgr = VIntlManagerRoot::sIntlManagerRoot->RetainIntlManager(dialect);
    const bool result = answer(*mgr);
    mgr->Release();
    return result;
}

}  // namespace

bool IsBidiScript(DialectCode dialect)
{
    return AskManager(dialect, [](const VIntlMgr& m) { return m.IsBidi(); });
}

bool IsRTLScript(DialectCode dialect)
{
    return AskManager(dialect, [](const VIntlMgr& m) { return m.IsRightToLeft(); });
}

bool IsDoubleByteScript(DialectCode dialect)
{
    return AskManager(dialect, [](const VIntlMgr& m) {
        return m.GetConverterData() != nullptr && m.GetConverterData()->GetWidthKind() == 2;
    });
}

VIntlMgr* RetainIntlManager(DialectCode dialect)
{
    if (VIntlManagerRoot::sIntlManagerRoot == nullptr) return nullptr;
    return VIntlManagerRoot::sIntlManagerRoot->RetainIntlManager(dialect);
}

VIntlMgr* InitDefaultIntlManager() { return VIntlManagerRoot::Init(kDialectNotSet); }
