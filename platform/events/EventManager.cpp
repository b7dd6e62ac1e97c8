#include <algorithm>
#include <cstdio>

#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/events/Backend.h"
#include "platform/events/EventQueue.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/text/Utf8.h"

namespace platform {
namespace {

constexpr uint32_t kDoubleClickTicks = 30;
constexpr uint32_t kCaretTicks = 30;

struct EventManagerState {
    EventQueue queue;
    InputState input;
    Backend* backend = nullptr;
    WindowEventSource* windows = nullptr;
    HighLevelEventInfo lastHighLevel;
    Point releasePoint{0, 0};
    std::vector<void (*)()> sourceHooks;
    // A termination request was taken: the program is ending.
    bool ending = false;
};

EventManagerState& State()
{
    static EventManagerState* state = new EventManagerState;
    return *state;
}

uint16_t CurrentModifiers()
{
    const InputState& in = State().input;
    return uint16_t(in.modifiers | (in.button ? 0 : btnState));
}

EventRecord Stamp(uint16_t what, uintptr_t message)
{
    EventRecord e{};
    e.what = what;
    e.message = message;
    e.when = EventTicks();
    e.where = State().input.mouse;
    e.modifiers = CurrentModifiers();
    return e;
}

void RunSourceHooks()
{
    for (auto hook : State().sourceHooks) hook();
}

void Pump()
{
    RunSourceHooks();
    if (Backend* b = State().backend) b->Pump();
}

void PollBackend()
{
    RunSourceHooks();
    if (Backend* b = State().backend) b->Poll();
}

// Activate events first, then the queue, then updates.
bool Fetch(uint16_t mask, EventRecord* event, bool remove)
{
    EventManagerState& s = State();
    EventRecord e{};
    bool found = false;
    if ((mask & activMask) && s.windows && s.windows->NextActivate(&e, remove)) {
        found = true;
    } else {
        std::vector<std::string> documents;
        bool termination = false;
        if (s.queue.Take(mask, &e, remove, &documents, &termination)) {
            found = true;
            s.ending = s.ending || (remove && termination);
            if (remove && e.what == kHighLevelEvent)
                s.lastHighLevel = {OSType(e.message), HighLevelEventID(e), std::move(documents)};
        } else if ((mask & updateMask) && s.windows && s.windows->NextUpdate(&e, remove)) {
            found = true;
        }
    }
    if (found && event) *event = e;
    return found;
}

void NullEvent(EventRecord* event)
{
    if (event) *event = Stamp(nullEvent, 0);
}

int gBusyPolls = 0;

void NoteIdle()
{
    if (gBusyPolls > 0) return;
    if (Backend* b = State().backend) b->NoteIdle();
}

}  // namespace

Backend* CurrentBackend() { return State().backend; }

BusyPoll::BusyPoll() { ++gBusyPolls; }
BusyPoll::~BusyPoll() { --gBusyPolls; }

void Backend::Stop(const std::string& message) { std::fprintf(stderr, "%s\n", message.c_str()); }
void SetBackend(Backend* backend) { State().backend = backend; }
void SetWindowEventSource(WindowEventSource* source) { State().windows = source; }

void AddInputSourceHook(void (*hook)())
{
    auto& hooks = State().sourceHooks;
    if (std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}
const InputState& CurrentInput() { return State().input; }

uint32_t EventTicks()
{
    Backend* b = State().backend;
    return b ? b->Now() : TickCount();
}

void ResetEventManager()
{
    EventManagerState& s = State();
    s.queue.Clear();
    s.input = InputState{};
    s.lastHighLevel = HighLevelEventInfo{};
    s.releasePoint = Point{0, 0};
    s.ending = false;
}

bool IsKeyDown(const KeyMap keys, uint8_t keyCode)
{
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(keys);
    return (bytes[keyCode >> 3] >> (keyCode & 7)) & 1;
}

Boolean WaitNextEvent(uint16_t mask, EventRecord* event, uint32_t sleep, RgnHandle mouseRgn)
{
    EventManagerState& s = State();
    const uint32_t budget = std::max<uint32_t>(sleep, 1);
    uint32_t waited = 0;
    Pump();
    const Point start = s.input.mouse;
    for (;;) {
        if (Fetch(mask, event, true)) return true;
        if (mouseRgn && (mask & osMask) && !PtInRgn(s.input.mouse, mouseRgn)) {
            if (event) *event = Stamp(osEvt, uint32_t(mouseMovedMessage) << 24);
            return true;
        }
        NoteIdle();
        if (waited >= budget || !s.backend || s.backend->Ended()) break;
        // A moved mouse ends a long sleep with a null event, so that the
        // cursor follows what is under it.
        if (waited > 0 && (s.input.mouse.h != start.h || s.input.mouse.v != start.v)) break;
        uint32_t passed = s.backend->Wait(budget - waited);
        waited += std::max<uint32_t>(passed, 1);
        RunSourceHooks();  // a quit signal that came during the sleep
    }
    NullEvent(event);
    return false;
}

Boolean GetNextEvent(uint16_t mask, EventRecord* event)
{
    PollBackend();
    if (Fetch(mask, event, true)) return true;
    NoteIdle();
    NullEvent(event);
    return false;
}

Boolean EventAvail(uint16_t mask, EventRecord* event)
{
    PollBackend();
    if (Fetch(mask, event, false)) return true;
    NoteIdle();
    NullEvent(event);
    return false;
}

void FlushEvents(uint16_t whichMask, uint16_t stopMask)
{
    Pump();
    State().queue.Flush(whichMask, stopMask);
}

OSErr PostEvent(uint16_t kind, uint32_t message)
{
    switch (kind) {
    case mouseDown: case mouseUp: case keyDown: case keyUp: case autoKey: case diskEvt: case osEvt:
        State().queue.Post(Stamp(kind, message));
        return noErr;
    default:
        return evtNotEnb;
    }
}

void PostHighLevelEvent(OSType eventClass, OSType eventID, const std::vector<std::string>& documents)
{
    EventRecord e = Stamp(kHighLevelEvent, eventClass);
    e.where.v = int16_t(eventID >> 16);
    e.where.h = int16_t(eventID & 0xFFFF);
    State().queue.Post(e, documents);
}

void PostTerminationRequest()
{
    EventRecord e = Stamp(kHighLevelEvent, kCoreEventClass);
    e.where.v = int16_t(kAEQuitApplication >> 16);
    e.where.h = int16_t(kAEQuitApplication & 0xFFFF);
    State().queue.Post(e, {}, true);
}

Boolean QuitRequestPending()
{
    RunSourceHooks();
    return State().queue.HasHighLevel(kAEQuitApplication);
}

Boolean TerminationRequestPending()
{
    RunSourceHooks();
    return State().ending || State().queue.HasHighLevel(kAEQuitApplication, true);
}

const HighLevelEventInfo& LastHighLevelEvent() { return State().lastHighLevel; }

OSType HighLevelEventID(const EventRecord& event)
{
    return (OSType(uint16_t(event.where.v)) << 16) | uint16_t(event.where.h);
}

// Polling calls read the state first and then let time move, so that a loop
// sees every tick of it.
Boolean Button()
{
    Pump();
    bool down = State().input.button;
    if (down) NoteIdle();  // as in StillDown: the program waits on the mouse
    PollBackend();
    return down;
}

// The button is held and no mouse event waits in the queue.
static bool ButtonStillDown(bool takeMouseUp)
{
    Pump();
    EventManagerState& s = State();
    bool down = s.input.button && !s.queue.Has(mDownMask | mUpMask);
    // A tracking loop waits for input as much as an empty event call does:
    // a script waiting for the program to go idle may go on.
    if (down) NoteIdle();
    if (!down) {
        EventRecord up{};
        s.releasePoint = s.queue.Take(mUpMask, &up, takeMouseUp) ? up.where : s.input.mouse;
    }
    PollBackend();
    return down;
}

Boolean StillDown() { return ButtonStillDown(false); }
Boolean WaitMouseUp() { return ButtonStillDown(true); }
Point MouseReleasePoint() { return State().releasePoint; }

void GetGlobalMouse(Point* mouse)
{
    Pump();
    if (mouse) *mouse = State().input.mouse;
    PollBackend();
}

void GetMouse(Point* mouse)
{
    GetGlobalMouse(mouse);
    GlobalToLocal(mouse);
}

void GetKeys(KeyMap keys)
{
    Pump();
    if (keys) std::copy_n(State().input.keys, 16, reinterpret_cast<uint8_t*>(keys));
    PollBackend();
}

uint32_t GetDblTime() { return kDoubleClickTicks; }
uint32_t GetCaretTime() { return kCaretTicks; }

// Feeding from backends.

void InputMouseMoved(Point where) { State().input.mouse = where; }

void InputModifiers(uint16_t modifiers)
{
    State().input.modifiers = uint16_t(modifiers & (cmdKey | shiftKey | alphaLock | optionKey | controlKey));
}

void InputButton(bool down, Point where, uint16_t modifiers)
{
    EventManagerState& s = State();
    s.input.mouse = where;
    InputModifiers(modifiers);
    if (s.input.button == down) return;
    s.input.button = down;
    s.queue.Post(Stamp(down ? mouseDown : mouseUp, 0));
}

void InputKeyState(uint8_t keyCode, bool down)
{
    if (keyCode >= 128) return;
    uint8_t& byte = State().input.keys[keyCode >> 3];
    const uint8_t bit = uint8_t(1u << (keyCode & 7));
    byte = down ? uint8_t(byte | bit) : uint8_t(byte & ~bit);
}

void InputKey(bool down, bool repeat, uint8_t charCode, uint8_t keyCode, uint16_t modifiers)
{
    EventManagerState& s = State();
    InputModifiers(modifiers);
    InputKeyState(keyCode, down);
    uint16_t kind = !down ? keyUp : repeat ? autoKey : keyDown;
    s.queue.Post(Stamp(kind, uint32_t(charCode) | (uint32_t(keyCode) << 8)));
}

int32_t InputText(std::string_view utf8, uint8_t keyCode, uint16_t modifiers)
{
    InputModifiers(modifiers);
    const auto* text = reinterpret_cast<const uint8_t*>(utf8.data());
    const int32_t length = int32_t(std::min<size_t>(utf8.size(), INT32_MAX));
    int32_t refused = 0;
    for (int32_t at = 0; at < length;) {
        uint8_t roman = 0;
        const ConversionResult r = Utf8ToMacRoman(text + at, length - at, &roman, 1, true);
        if (r.consumed <= 0) break;
        at += r.consumed;
        if (r.substituted) ++refused;
        else State().queue.Post(Stamp(keyDown, uint32_t(roman) | (uint32_t(keyCode) << 8)));
    }
    return refused;
}

void InputWheel(int16_t lines, bool horizontal)
{
    EventRecord e = Stamp(kMouseWheelEvent, uint16_t(lines));
    if (horizontal) e.modifiers |= shiftKey;
    State().queue.Post(e);
}

void InputSuspendResume(bool resume)
{
    uint32_t message = (uint32_t(suspendResumeMessage) << 24) | (resume ? resumeFlag : 0);
    State().queue.Post(Stamp(osEvt, message));
}

}  // namespace platform
