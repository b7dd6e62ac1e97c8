// One keystroke in toolbox terms: a Unicode character (0 for control
// characters), a toolbox key code and modifier bits. A double-byte
// character arrives as two key events; the first only waits for the second.
#pragma once

#include <cstdint>

#include "platform/events/Events.h"
#include "toolbox/foundation/KeyCodes.h"
#include "toolbox/foundation/VObject.h"

class VString;

constexpr uint8_t kKeyShift = 0x08;
constexpr uint8_t kKeyOption = 0x20;
constexpr uint8_t kKeyCommand = 0x80;

class VKeySwitch : public VObject {
public:
    VKeySwitch() = default;

    // True once the keystroke is complete; false while it waits for the
    // second byte of a double-byte character.
    virtual bool FromEvent(const platform::EventRecord& event, bool unicode);
    // The event's character byte, or the character in Mac Roman.
    virtual uint8_t GetMacNativeChar() const;
    virtual bool IsFullEventSaved() const { return fFullEventSaved; }

    // The key's item in the list of key names, or 0.
    int32_t GetSpecialKeyItem() const { return ::GetSpecialKeyItem(fKeyCode); }
    // The key's name, the digit of a keypad key, or the key code itself.
    void GetKeyString(VString& text) const;

    char16_t GetChar() const { return fChar; }
    KeyCode GetKeyCode() const { return fKeyCode; }
    uint8_t GetModifiers() const { return fModifiers; }
    bool IsShift() const { return fModifiers & kKeyShift; }
    bool IsOption() const { return fModifiers & kKeyOption; }
    bool IsCommand() const { return fModifiers & kKeyCommand; }
    const platform::EventRecord& GetEvent() const { return fEvent; }

    // How the byte test sees the bytes gathered so far (the platform's
    // script system unless replaced, as tests do for a double-byte script).
    using ByteTypeProc = int16_t (*)(const uint8_t* text, int16_t offset);
    static void SetByteTypeProc(ByteTypeProc proc);

private:
    platform::EventRecord fEvent{};
    bool fFullEventSaved = false;
    platform::EventRecord fPendingEvent{};
    int8_t fByteCount = 0;
    uint8_t fBytes[3] = {};
    bool fUnicode = false;
    char16_t fChar = 0;
    KeyCode fKeyCode = 0;
    uint8_t fModifiers = 0;
};
