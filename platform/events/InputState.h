// The mouse and keyboard as the backend last saw them, and the calls through
// which a backend feeds the event manager.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/events/Events.h"

namespace platform {

struct InputState {
    Point mouse{0, 0};     // global
    bool button = false;
    uint16_t modifiers = 0;  // cmdKey, shiftKey, alphaLock, optionKey, controlKey
    uint8_t keys[16] = {};   // key code k at bit (k & 7) of byte (k >> 3)
};

const InputState& CurrentInput();
// Where the button came up, as the last StillDown or WaitMouseUp that
// answered false saw it: the mouse-up event's point when one was waiting.
Point MouseReleasePoint();

// The time for stamping events: the backend's clock, read without letting
// time pass.
uint32_t EventTicks();

// Called by backends. Each updates the state and posts the matching event
// stamped with the current time.
void InputMouseMoved(Point where);
void InputButton(bool down, Point where, uint16_t modifiers);
void InputKey(bool down, bool repeat, uint8_t charCode, uint8_t keyCode, uint16_t modifiers);
// Text the desktop's text input gives (a key of any layout, an input
// method's result), UTF-8: each character Mac Roman holds becomes a key-down
// of that character with `keyCode`; the others are refused. Answers how many
// were refused, for the backend to beep.
int32_t InputText(std::string_view utf8, uint8_t keyCode, uint16_t modifiers);
void InputModifiers(uint16_t modifiers);
// A modifier key's state in the key map, without an event.
void InputKeyState(uint8_t keyCode, bool down);
void InputWheel(int16_t lines, bool horizontal);
void InputSuspendResume(bool resume);

// Where activate and update events come from (the window manager).
class WindowEventSource {
public:
    virtual ~WindowEventSource() = default;
    virtual bool NextActivate(EventRecord* event, bool remove) = 0;
    virtual bool NextUpdate(EventRecord* event, bool remove) = 0;
};
void SetWindowEventSource(WindowEventSource* source);

// A source of input besides the backend (the quit signals): called on every
// pump, before the backend, to post what it has. Added once each.
void AddInputSourceHook(void (*hook)());

// Empties the queue and forgets the input state (tests).
void ResetEventManager();

}  // namespace platform
