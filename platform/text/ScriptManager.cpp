#include "platform/text/ScriptManager.h"

namespace platform {

int32_t GetScriptManagerVariable(int16_t selector)
{
    switch (selector) {
    case smEnabled:
        return 1;
    default:  // Roman for the system, default, last and key scripts; nothing forced
        return 0;
    }
}

int32_t GetScriptVariable(ScriptCode script, int16_t selector)
{
    if (script != smRoman && script != smSystemScript && script != smCurrentScript)
        return 0;
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

int16_t CharacterByteType(const uint8_t*, int16_t, ScriptCode) { return smSingleByte; }

int16_t CharByte(const uint8_t*, int16_t) { return smSingleByte; }

namespace {
int16_t gSysDirection = 0;
}

int16_t GetSysDirection() { return gSysDirection; }
void SetSysDirection(int16_t direction) { gSysDirection = direction; }

}  // namespace platform
