#include "platform/text/ScriptManager.h"

#include <map>

namespace platform {

namespace {

// Variables set by the program, by selector, over the built-in answers.
struct ScriptState {
    ScriptCode keyScript = smRoman;
    std::map<int16_t, int32_t> romanVariables;
};

ScriptState& State()
{
    static ScriptState state;
    return state;
}

bool IsRoman(ScriptCode script) { return script == smRoman || script == smSystemScript || script == smCurrentScript; }

}  // namespace

int32_t GetScriptManagerVariable(int16_t selector)
{
    switch (selector) {
    case smEnabled:
        return 1;
    case smKeyScript:
        return State().keyScript;
    default:  // Roman for the system, default and last scripts; nothing forced
        return 0;
    }
}

int32_t GetScriptVariable(ScriptCode script, int16_t selector)
{
    if (!IsRoman(script))
        return 0;
    const auto set = State().romanVariables.find(selector);
    if (set != State().romanVariables.end())
        return set->second;
    switch (selector) {
    case smScriptEnabled:
        return 1;
    case smScriptFlags:
        return smsfSingByte;
    case smScriptLang:
        return langEnglish;
    default:  // left to right, U.S. keyboard layout 0
        return 0;
    }
}

OSErr SetScriptVariable(ScriptCode script, int16_t selector, int32_t value)
{
    if (!IsRoman(script))
        return smBadVerb;
    State().romanVariables[selector] = value;
    return noErr;
}

void KeyScript(int16_t code)
{
    if (code < 0)
        return;
    const ScriptCode script = ScriptCode(code & 0x7F);
    if (script == smRoman)
        State().keyScript = script;
}

OSStatus GetTextServiceLanguage(ScriptLanguageRecord* record)
{
    if (!record)
        return paramErr;
    record->fScript = State().keyScript;
    record->fLanguage = int16_t(GetScriptVariable(record->fScript, smScriptLang));
    return noErr;
}

void ResetScriptVariables() { State() = ScriptState(); }

int16_t CharacterByteType(const uint8_t*, int16_t, ScriptCode) { return smSingleByte; }

int16_t CharByte(const uint8_t*, int16_t) { return smSingleByte; }

namespace {
int16_t gSysDirection = 0;
}

int16_t GetSysDirection() { return gSysDirection; }
void SetSysDirection(int16_t direction) { gSysDirection = direction; }

}  // namespace platform
