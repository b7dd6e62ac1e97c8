// The toolbox's key numbering: scan codes to key codes, and the item
// numbers of the special keys.
#pragma once

#include <cstdint>

// Printable keys keep their character code; the others have codes from
// 0x80 up (keypad digits 0x80-0x89, navigation, function keys...).
using KeyCode = uint8_t;

// Only the low 7 bits of the scan code count.
KeyCode MacScanCodeToKeyCode(int16_t scanCode);

// The key's item in the list of special keys, 0 for any other key.
int32_t GetSpecialKeyItem(KeyCode key);
