// Keyboard layout translation: the character a virtual key code gives on
// the classic US keyboard layout, with or without the shift key.
#pragma once

#include <cstdint>

namespace platform {

// Modifier bit of the key code argument, as in the event modifiers.
constexpr uint16_t kKeyTranslateShift = 0x0200;

// keyCode: the virtual key code in the low 7 bits, modifier bits above
// (only shift counts). The character code (Mac Roman) is in the low byte of
// the result, 0 when the key gives none. The US layout has no dead keys, so
// *deadKeyState is left at 0.
uint32_t KeyTranslate(uint16_t keyCode, uint32_t* deadKeyState);

}  // namespace platform
