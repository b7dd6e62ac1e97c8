// How the keys and buttons of a PC keyboard and mouse stand for ours: Ctrl is
// the command key, Alt the option key, Shift the shift key, Super the control
// key; the right button is a click with the control key. Keys are named by
// their USB HID usage (the physical key); their characters are those of the
// desktop's layout where it names them, else of the US layout. What a key
// types as text comes from the desktop's text input instead. With num lock
// off the keypad's keys are the ones they show: arrows, Home, End, Page Up
// and Down, Insert and Delete.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// Host modifier bits.
enum : uint16_t {
    kHostShift = 0x01,
    kHostCtrl = 0x02,
    kHostAlt = 0x04,
    kHostSuper = 0x08,
    kHostCapsLock = 0x10,
    kHostNumLock = 0x20,  // on: the keypad types digits
};

enum class HostButton { Left, Middle, Right };

struct MacKey {
    uint8_t keyCode = 0;   // virtual key code
    uint8_t charCode = 0;  // Mac Roman character, 0 for modifier keys
    bool modifier = false; // a modifier key: changes state, posts no event
};

uint16_t MacModifiersForHost(uint16_t hostModifiers);
// A press of a host button: the modifiers it gives (the right button adds
// the control key).
uint16_t MacModifiersForButton(HostButton button, uint16_t hostModifiers);
// The key for a HID usage with the given host modifiers; false for keys we
// do not map. `layoutChar` is the character the desktop's layout gives the
// key unshifted (0 when it names none): a letter stays the layout's (shift
// or caps lock make it a capital), another character the layout places
// elsewhere than the US layout is taken in Mac Roman where it has one.
bool MacKeyForHidUsage(uint16_t usage, uint16_t hostModifiers, MacKey* key, char32_t layoutChar = 0);
// Whether the key's character comes from the desktop's text input rather
// than from the key: a key that types (not Return, Tab, Escape, Delete, the
// arrows, the function keys...) with neither Ctrl nor Super held.
bool KeyTypesText(uint16_t usage, uint16_t hostModifiers);
// The key that types a character in the US layout, and whether shift is
// needed; false for characters no single key gives.
bool KeyForCharacter(uint8_t charCode, uint8_t* keyCode, bool* shift);
// A key named in a script: "return", "enter", "escape", "tab", "space",
// "delete", "forwarddelete", "left", "right", "up", "down", "home", "end",
// "pageup", "pagedown", "help", "f1".."f15", or a single printable character.
bool NamedKey(std::string_view name, MacKey* key);

// Virtual key codes the code above names.
namespace vkey {
constexpr uint8_t kReturn = 0x24;
constexpr uint8_t kTab = 0x30;
constexpr uint8_t kSpace = 0x31;
constexpr uint8_t kDelete = 0x33;
constexpr uint8_t kEscape = 0x35;
constexpr uint8_t kCommand = 0x37;
constexpr uint8_t kShift = 0x38;
constexpr uint8_t kCapsLock = 0x39;
constexpr uint8_t kOption = 0x3A;
constexpr uint8_t kControl = 0x3B;
constexpr uint8_t kEnter = 0x4C;
constexpr uint8_t kHelp = 0x72;
constexpr uint8_t kHome = 0x73;
constexpr uint8_t kPageUp = 0x74;
constexpr uint8_t kForwardDelete = 0x75;
constexpr uint8_t kEnd = 0x77;
constexpr uint8_t kPageDown = 0x79;
constexpr uint8_t kLeft = 0x7B;
constexpr uint8_t kRight = 0x7C;
constexpr uint8_t kDown = 0x7D;
constexpr uint8_t kUp = 0x7E;
}  // namespace vkey

}  // namespace platform
