#include "platform/events/HostKeys.h"

#include <cctype>
#include <string>

#include "platform/events/Events.h"
#include "platform/events/KeyTranslate.h"
#include "platform/text/SingleByteSets.h"

namespace platform {
namespace {

struct KeyRow {
    uint16_t usage;
    uint8_t keyCode;
};

// The keys by HID usage; their characters come from the keyboard layout.
constexpr KeyRow kKeys[] = {
    {4, 0x00}, {5, 0x0B}, {6, 0x08}, {7, 0x02},
    {8, 0x0E}, {9, 0x03}, {10, 0x05}, {11, 0x04},
    {12, 0x22}, {13, 0x26}, {14, 0x28}, {15, 0x25},
    {16, 0x2E}, {17, 0x2D}, {18, 0x1F}, {19, 0x23},
    {20, 0x0C}, {21, 0x0F}, {22, 0x01}, {23, 0x11},
    {24, 0x20}, {25, 0x09}, {26, 0x0D}, {27, 0x07},
    {28, 0x10}, {29, 0x06},
    {30, 0x12}, {31, 0x13}, {32, 0x14}, {33, 0x15},
    {34, 0x17}, {35, 0x16}, {36, 0x1A}, {37, 0x1C},
    {38, 0x19}, {39, 0x1D},
    {40, vkey::kReturn}, {41, vkey::kEscape}, {42, vkey::kDelete},
    {43, vkey::kTab}, {44, vkey::kSpace},
    {45, 0x1B}, {46, 0x18}, {47, 0x21}, {48, 0x1E},
    {49, 0x2A}, {51, 0x29}, {52, 0x27}, {53, 0x32},
    {54, 0x2B}, {55, 0x2F}, {56, 0x2C},
    {58, 0x7A}, {59, 0x78}, {60, 0x63}, {61, 0x76},
    {62, 0x60}, {63, 0x61}, {64, 0x62}, {65, 0x64},
    {66, 0x65}, {67, 0x6D}, {68, 0x67}, {69, 0x6F},
    {73, vkey::kHelp}, {74, vkey::kHome}, {75, vkey::kPageUp},
    {76, vkey::kForwardDelete}, {77, vkey::kEnd}, {78, vkey::kPageDown},
    {79, vkey::kRight}, {80, vkey::kLeft}, {81, vkey::kDown},
    {82, vkey::kUp},
    {83, 0x47},  // num lock stands for the keypad's clear key
    {84, 0x4B}, {85, 0x43}, {86, 0x4E}, {87, 0x45},
    {88, vkey::kEnter},
    {89, 0x53}, {90, 0x54}, {91, 0x55}, {92, 0x56},
    {93, 0x57}, {94, 0x58}, {95, 0x59}, {96, 0x5B},
    {97, 0x5C}, {98, 0x52}, {99, 0x41}, {103, 0x51},
    {104, 0x69}, {105, 0x6B}, {106, 0x71},
    {117, vkey::kHelp},
};

struct ModifierRow {
    uint16_t usage;
    uint8_t keyCode;
};

constexpr ModifierRow kModifierKeys[] = {
    {57, vkey::kCapsLock},
    {224, vkey::kCommand}, {225, vkey::kShift}, {226, vkey::kOption}, {227, vkey::kControl},
    {228, 0x36}, {229, 0x3C}, {230, 0x3D}, {231, 0x3E},
};

struct NameRow {
    const char* name;
    uint16_t usage;
};

constexpr NameRow kNames[] = {
    {"return", 40}, {"enter", 88}, {"escape", 41}, {"tab", 43}, {"space", 44},
    {"delete", 42}, {"forwarddelete", 76}, {"left", 80}, {"right", 79}, {"up", 82},
    {"down", 81}, {"home", 74}, {"end", 77}, {"pageup", 75}, {"pagedown", 78}, {"help", 117},
    {"f1", 58}, {"f2", 59}, {"f3", 60}, {"f4", 61}, {"f5", 62}, {"f6", 63}, {"f7", 64},
    {"f8", 65}, {"f9", 66}, {"f10", 67}, {"f11", 68}, {"f12", 69}, {"f13", 104},
    {"f14", 105}, {"f15", 106},
};

uint8_t Plain(const KeyRow& row) { return uint8_t(KeyTranslate(row.keyCode, nullptr)); }
uint8_t Shifted(const KeyRow& row) { return uint8_t(KeyTranslate(uint16_t(row.keyCode | kKeyTranslateShift), nullptr)); }

const KeyRow* RowOf(uint16_t usage)
{
    for (const KeyRow& row : kKeys)
        if (row.usage == usage) return &row;
    return nullptr;
}

bool IsLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The key a keypad key is with num lock off (keypad 1 to 9, 0 and the
// decimal point: End, Down, Page Down, Left, none, Right, Home, Up,
// Page Up, Insert, Delete); 0 for none, the usage itself for other keys.
uint16_t KeyShown(uint16_t usage, uint16_t hostModifiers)
{
    constexpr uint16_t kNavigation[] = {77, 81, 78, 80, 0, 79, 74, 82, 75, 73, 76};
    if (usage < 89 || usage > 99 || (hostModifiers & kHostNumLock)) return usage;
    return kNavigation[usage - 89];
}

// The key's character on the layout, or 0 to take the US layout's.
uint8_t LayoutCharacter(const KeyRow& row, char32_t layoutChar, bool shift)
{
    if (IsLetter(layoutChar)) {
        const char lower = char(layoutChar | 0x20);
        return uint8_t(shift ? lower - 'a' + 'A' : lower);
    }
    // Where the layout agrees with the US one, the US shifted character too.
    uint8_t roman = 0;
    if (layoutChar < 0x20 || layoutChar == 0x7F || layoutChar == Plain(row) || layoutChar > 0xFFFF ||
        !UnicodeToMacRoman(char16_t(layoutChar), &roman))
        return 0;
    return roman;
}

}  // namespace

uint16_t MacModifiersForHost(uint16_t host)
{
    uint16_t mac = 0;
    if (host & kHostCtrl) mac |= cmdKey;
    if (host & kHostAlt) mac |= optionKey;
    if (host & kHostShift) mac |= shiftKey;
    if (host & kHostSuper) mac |= controlKey;
    if (host & kHostCapsLock) mac |= alphaLock;
    return mac;
}

uint16_t MacModifiersForButton(HostButton button, uint16_t hostModifiers)
{
    uint16_t mac = MacModifiersForHost(hostModifiers);
    if (button == HostButton::Right) mac |= controlKey;
    return mac;
}

bool MacKeyForHidUsage(uint16_t usage, uint16_t hostModifiers, MacKey* key, char32_t layoutChar)
{
    for (const ModifierRow& row : kModifierKeys) {
        if (row.usage != usage) continue;
        if (key) *key = MacKey{row.keyCode, 0, true};
        return true;
    }
    const uint16_t shown = KeyShown(usage, hostModifiers);
    const KeyRow* row = RowOf(shown);
    if (!row) return false;
    // A keypad key standing for another types what that one does.
    if (shown != usage) layoutChar = 0;
    bool shift = hostModifiers & kHostShift;
    // Caps lock shifts letters only.
    const bool letter = IsLetter(layoutChar) || (!layoutChar && IsLetter(Plain(*row)));
    if ((hostModifiers & kHostCapsLock) && letter) shift = !shift;
    uint8_t ch = LayoutCharacter(*row, layoutChar, shift);
    if (!ch) ch = shift ? Shifted(*row) : Plain(*row);
    if (key) *key = MacKey{row->keyCode, ch, false};
    return true;
}

bool KeyTypesText(uint16_t usage, uint16_t hostModifiers)
{
    const KeyRow* row = RowOf(KeyShown(usage, hostModifiers));
    return row && !(hostModifiers & (kHostCtrl | kHostSuper)) && Plain(*row) >= 0x20 && Plain(*row) != 0x7F;
}

bool KeyForCharacter(uint8_t charCode, uint8_t* keyCode, bool* shift)
{
    // The main keyboard first, so digits come from the top row.
    for (const KeyRow& row : kKeys) {
        if (Plain(row) == 16 || row.usage >= 84) continue;
        if (Plain(row) == charCode || Shifted(row) == charCode) {
            if (keyCode) *keyCode = row.keyCode;
            if (shift) *shift = Plain(row) != charCode;
            return true;
        }
    }
    if (charCode == 3) {
        if (keyCode) *keyCode = vkey::kEnter;
        if (shift) *shift = false;
        return true;
    }
    return false;
}

bool NamedKey(std::string_view name, MacKey* key)
{
    std::string lower(name);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    for (const NameRow& row : kNames)
        if (lower == row.name) return MacKeyForHidUsage(row.usage, 0, key);
    if (name.size() == 1) {
        uint8_t c = uint8_t(name[0]);
        uint8_t code = 0;
        bool shift = false;
        if (c < 32 || c > 126 || !KeyForCharacter(c, &code, &shift)) return false;
        if (key) *key = MacKey{code, c, false};
        return true;
    }
    return false;
}

}  // namespace platform
