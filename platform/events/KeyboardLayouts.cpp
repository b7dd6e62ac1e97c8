#include "platform/events/KeyboardLayouts.h"

#include "platform/events/KeyTranslate.h"
#include "platform/text/SingleByteSets.h"

namespace platform {

struct UCKeyboardLayout {
    int32_t identifier;
};

struct KeyboardLayout {
    int32_t identifier;
    int32_t group;
    int32_t kind;
    CFString name;
    UCKeyboardLayout keys;
};

namespace {

const KeyboardLayout& US()
{
    static const KeyboardLayout layout{kUSLayoutIdentifier, kRomanLayoutGroup, 0, CFStringCreateWithUTF8("U.S."),
                                       UCKeyboardLayout{kUSLayoutIdentifier}};
    return layout;
}

KeyboardLayoutRef gCurrent = nullptr;

}  // namespace

KeyboardLayoutRef USKeyboardLayout() { return &US(); }

OSStatus KLGetKeyboardLayoutWithIdentifier(int32_t identifier, KeyboardLayoutRef* layout)
{
    if (!layout) return paramErr;
    *layout = identifier == US().identifier ? &US() : nullptr;
    return *layout ? noErr : paramErr;
}

OSStatus KLGetKeyboardLayoutWithName(const CFString& name, KeyboardLayoutRef* layout)
{
    if (!layout) return paramErr;
    *layout = name == US().name ? &US() : nullptr;
    return *layout ? noErr : paramErr;
}

OSStatus KLGetCurrentKeyboardLayout(KeyboardLayoutRef* layout)
{
    if (!layout) return paramErr;
    *layout = gCurrent ? gCurrent : &US();
    return noErr;
}

OSStatus KLSetCurrentKeyboardLayout(KeyboardLayoutRef layout)
{
    if (layout != &US()) return paramErr;
    gCurrent = layout;
    return noErr;
}

OSStatus KLGetKeyboardLayoutProperty(KeyboardLayoutRef layout, KeyboardLayoutPropertyTag tag, const void** value)
{
    if (!value) return paramErr;
    *value = nullptr;
    if (layout != &US()) return paramErr;
    switch (tag) {
    case kKLuchrData: *value = &layout->keys; break;
    case kKLIdentifier: *value = &layout->identifier; break;
    case kKLGroupIdentifier: *value = &layout->group; break;
    case kKLKind: *value = &layout->kind; break;
    case kKLName:
    case kKLLocalizedName: *value = &layout->name; break;
    default: return paramErr;
    }
    return noErr;
}

OSStatus UCKeyTranslate(const UCKeyboardLayout* layout, uint16_t virtualKeyCode, uint16_t keyAction,
                        uint32_t modifierKeyState, uint32_t, uint32_t, uint32_t* deadKeyState,
                        uint32_t maxStringLength, uint32_t* actualStringLength, char16_t* unicodeString)
{
    if (actualStringLength) *actualStringLength = 0;
    if (!layout || !deadKeyState || !actualStringLength || keyAction > kUCKeyActionDisplay ||
        (maxStringLength > 0 && !unicodeString))
        return paramErr;
    uint16_t code = uint16_t(virtualKeyCode & 0x7F);
    if (modifierKeyState & kUCShiftKeyState) code |= kKeyTranslateShift;
    const uint8_t macChar = uint8_t(KeyTranslate(code, deadKeyState) & 0xFF);
    if (macChar == 0 || maxStringLength == 0) return noErr;
    unicodeString[0] = MacRomanToUnicode(macChar);
    *actualStringLength = 1;
    return noErr;
}

uint8_t LMGetKbdType() { return kANSIKeyboardType; }

void ResetKeyboardLayouts() { gCurrent = nullptr; }

}  // namespace platform
