// The platform's keyboard and script calls as the keyboard manager makes
// them, one slot each. The slots start on the platform's functions; tests
// put counting fakes in their place to see which calls a switch makes.
#pragma once

#include <cstdint>

#include "platform/events/KeyboardLayouts.h"
#include "platform/text/ScriptManager.h"

struct KeyboardPlatformCalls {
    platform::OSStatus (*getTextServiceLanguage)(platform::ScriptLanguageRecord*) = platform::GetTextServiceLanguage;
    int32_t (*getScriptVariable)(platform::ScriptCode, int16_t) = platform::GetScriptVariable;
    platform::OSErr (*setScriptVariable)(platform::ScriptCode, int16_t, int32_t) = platform::SetScriptVariable;
    void (*keyScript)(int16_t) = platform::KeyScript;
    platform::OSStatus (*getCurrentLayout)(platform::KeyboardLayoutRef*) = platform::KLGetCurrentKeyboardLayout;
    platform::OSStatus (*setCurrentLayout)(platform::KeyboardLayoutRef) = platform::KLSetCurrentKeyboardLayout;
    platform::OSStatus (*layoutWithIdentifier)(int32_t, platform::KeyboardLayoutRef*) =
        platform::KLGetKeyboardLayoutWithIdentifier;
    platform::OSStatus (*layoutWithName)(const platform::CFString&, platform::KeyboardLayoutRef*) =
        platform::KLGetKeyboardLayoutWithName;
    platform::OSStatus (*layoutProperty)(platform::KeyboardLayoutRef, platform::KeyboardLayoutPropertyTag,
                                         const void**) = platform::KLGetKeyboardLayoutProperty;
    platform::OSStatus (*keyTranslate)(const platform::UCKeyboardLayout*, uint16_t, uint16_t, uint32_t, uint32_t,
                                       uint32_t, uint32_t*, uint32_t, uint32_t*, char16_t*) = platform::UCKeyTranslate;
    uint8_t (*kbdType)() = platform::LMGetKbdType;
};

const KeyboardPlatformCalls& KeyboardPlatform();
void SetKeyboardPlatform(const KeyboardPlatformCalls& calls);
void ResetKeyboardPlatform();
