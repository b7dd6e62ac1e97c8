// Keyboard layouts and key translation. Linux gives this system one layout,
// the classic US layout ("U.S.", identifier 0); the look-ups find it or
// answer paramErr and no layout. Selecting it is always allowed.
#pragma once

#include <cstdint>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"
#include "platform/text/CFString.h"

namespace platform {

struct KeyboardLayout;
using KeyboardLayoutRef = const KeyboardLayout*;
// The key-translation data of a layout: opaque, handed to UCKeyTranslate.
struct UCKeyboardLayout;

using KeyboardLayoutPropertyTag = uint32_t;
constexpr KeyboardLayoutPropertyTag kKLKCHRData = 0;
constexpr KeyboardLayoutPropertyTag kKLuchrData = 1;
constexpr KeyboardLayoutPropertyTag kKLIdentifier = 2;
constexpr KeyboardLayoutPropertyTag kKLIcon = 3;
constexpr KeyboardLayoutPropertyTag kKLLocalizedName = 4;
constexpr KeyboardLayoutPropertyTag kKLName = 5;
constexpr KeyboardLayoutPropertyTag kKLGroupIdentifier = 6;
constexpr KeyboardLayoutPropertyTag kKLKind = 7;

constexpr int32_t kUSLayoutIdentifier = 0;
constexpr int32_t kRomanLayoutGroup = 0;  // the layout's script

// The only layout there is (never null).
KeyboardLayoutRef USKeyboardLayout();

OSStatus KLGetKeyboardLayoutWithIdentifier(int32_t identifier, KeyboardLayoutRef* layout);
OSStatus KLGetKeyboardLayoutWithName(const CFString& name, KeyboardLayoutRef* layout);
OSStatus KLGetCurrentKeyboardLayout(KeyboardLayoutRef* layout);
OSStatus KLSetCurrentKeyboardLayout(KeyboardLayoutRef layout);
// *value points to: the UCKeyboardLayout (kKLuchrData), an int32_t
// (identifier, group, kind), a CFString (name); paramErr for other tags
// (there is no KCHR data or icon).
OSStatus KLGetKeyboardLayoutProperty(KeyboardLayoutRef layout, KeyboardLayoutPropertyTag tag, const void** value);

// Key actions of UCKeyTranslate.
constexpr uint16_t kUCKeyActionDown = 0;
constexpr uint16_t kUCKeyActionUp = 1;
constexpr uint16_t kUCKeyActionAutoKey = 2;
constexpr uint16_t kUCKeyActionDisplay = 3;
// Bit of modifierKeyState (the event modifiers' high byte).
constexpr uint32_t kUCShiftKeyState = 0x02;

// The characters of a virtual key on the layout: at most one here, the
// US layout's Mac Roman character as UTF-16. The layout has no dead keys:
// *deadKeyState is left at 0. A key without a character answers noErr
// with length 0; a null layout or buffer, or an action above Display,
// paramErr.
OSStatus UCKeyTranslate(const UCKeyboardLayout* layout, uint16_t virtualKeyCode, uint16_t keyAction,
                        uint32_t modifierKeyState, uint32_t keyboardType, uint32_t keyTranslateOptions,
                        uint32_t* deadKeyState, uint32_t maxStringLength, uint32_t* actualStringLength,
                        char16_t* unicodeString);

// The physical keyboard's type code: an ANSI keyboard, always.
constexpr uint8_t kANSIKeyboardType = 40;
uint8_t LMGetKbdType();

// Back to the US layout as the current one (tests).
void ResetKeyboardLayouts();

}  // namespace platform
