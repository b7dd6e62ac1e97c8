#include "platform/events/HostKeys.h"

#include <cctype>
#include <string>

#include "platform/events/Events.h"

namespace platform {
namespace {

struct KeyRow {
    uint16_t usage;
    uint8_t keyCode;
    uint8_t plain;    // character without shift
    uint8_t shifted;  // character with shift
};

// US layout, by HID usage.
constexpr KeyRow kKeys[] = {
    {4, 0x00, 'a', 'A'}, {5, 0x0B, 'b', 'B'}, {6, 0x08, 'c', 'C'}, {7, 0x02, 'd', 'D'},
    {8, 0x0E, 'e', 'E'}, {9, 0x03, 'f', 'F'}, {10, 0x05, 'g', 'G'}, {11, 0x04, 'h', 'H'},
    {12, 0x22, 'i', 'I'}, {13, 0x26, 'j', 'J'}, {14, 0x28, 'k', 'K'}, {15, 0x25, 'l', 'L'},
    {16, 0x2E, 'm', 'M'}, {17, 0x2D, 'n', 'N'}, {18, 0x1F, 'o', 'O'}, {19, 0x23, 'p', 'P'},
    {20, 0x0C, 'q', 'Q'}, {21, 0x0F, 'r', 'R'}, {22, 0x01, 's', 'S'}, {23, 0x11, 't', 'T'},
    {24, 0x20, 'u', 'U'}, {25, 0x09, 'v', 'V'}, {26, 0x0D, 'w', 'W'}, {27, 0x07, 'x', 'X'},
    {28, 0x10, 'y', 'Y'}, {29, 0x06, 'z', 'Z'},
    {30, 0x12, '1', '!'}, {31, 0x13, '2', '@'}, {32, 0x14, '3', '#'}, {33, 0x15, '4', '$'},
    {34, 0x17, '5', '%'}, {35, 0x16, '6', '^'}, {36, 0x1A, '7', '&'}, {37, 0x1C, '8', '*'},
    {38, 0x19, '9', '('}, {39, 0x1D, '0', ')'},
    {40, vkey::kReturn, 13, 13}, {41, vkey::kEscape, 27, 27}, {42, vkey::kDelete, 8, 8},
    {43, vkey::kTab, 9, 9}, {44, vkey::kSpace, ' ', ' '},
    {45, 0x1B, '-', '_'}, {46, 0x18, '=', '+'}, {47, 0x21, '[', '{'}, {48, 0x1E, ']', '}'},
    {49, 0x2A, '\\', '|'}, {51, 0x29, ';', ':'}, {52, 0x27, '\'', '"'}, {53, 0x32, '`', '~'},
    {54, 0x2B, ',', '<'}, {55, 0x2F, '.', '>'}, {56, 0x2C, '/', '?'},
    {58, 0x7A, 16, 16}, {59, 0x78, 16, 16}, {60, 0x63, 16, 16}, {61, 0x76, 16, 16},
    {62, 0x60, 16, 16}, {63, 0x61, 16, 16}, {64, 0x62, 16, 16}, {65, 0x64, 16, 16},
    {66, 0x65, 16, 16}, {67, 0x6D, 16, 16}, {68, 0x67, 16, 16}, {69, 0x6F, 16, 16},
    {73, vkey::kHelp, 5, 5}, {74, vkey::kHome, 1, 1}, {75, vkey::kPageUp, 11, 11},
    {76, vkey::kForwardDelete, 127, 127}, {77, vkey::kEnd, 4, 4}, {78, vkey::kPageDown, 12, 12},
    {79, vkey::kRight, 29, 29}, {80, vkey::kLeft, 28, 28}, {81, vkey::kDown, 31, 31},
    {82, vkey::kUp, 30, 30},
    {83, 0x47, 27, 27},  // num lock stands for the keypad's clear key
    {84, 0x4B, '/', '/'}, {85, 0x43, '*', '*'}, {86, 0x4E, '-', '-'}, {87, 0x45, '+', '+'},
    {88, vkey::kEnter, 3, 3},
    {89, 0x53, '1', '1'}, {90, 0x54, '2', '2'}, {91, 0x55, '3', '3'}, {92, 0x56, '4', '4'},
    {93, 0x57, '5', '5'}, {94, 0x58, '6', '6'}, {95, 0x59, '7', '7'}, {96, 0x5B, '8', '8'},
    {97, 0x5C, '9', '9'}, {98, 0x52, '0', '0'}, {99, 0x41, '.', '.'}, {103, 0x51, '=', '='},
    {104, 0x69, 16, 16}, {105, 0x6B, 16, 16}, {106, 0x71, 16, 16},
    {117, vkey::kHelp, 5, 5},
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

bool MacKeyForHidUsage(uint16_t usage, uint16_t hostModifiers, MacKey* key)
{
    for (const ModifierRow& row : kModifierKeys) {
        if (row.usage != usage) continue;
        if (key) *key = MacKey{row.keyCode, 0, true};
        return true;
    }
    for (const KeyRow& row : kKeys) {
        if (row.usage != usage) continue;
        bool shift = hostModifiers & kHostShift;
        // Caps lock shifts letters only.
        if ((hostModifiers & kHostCapsLock) && row.plain >= 'a' && row.plain <= 'z') shift = !shift;
        if (key) *key = MacKey{row.keyCode, shift ? row.shifted : row.plain, false};
        return true;
    }
    return false;
}

bool KeyForCharacter(uint8_t charCode, uint8_t* keyCode, bool* shift)
{
    // The main keyboard first, so digits come from the top row.
    for (const KeyRow& row : kKeys) {
        if (row.plain == 16 || row.usage >= 84) continue;
        if (row.plain == charCode || row.shifted == charCode) {
            if (keyCode) *keyCode = row.keyCode;
            if (shift) *shift = row.plain != charCode;
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
