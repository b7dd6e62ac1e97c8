// The event manager: event records, the queue and the mouse and keyboard
// state that polling loops read.
//
// Input reaches the queue through the backend in use (headless or live);
// activate and update events are made on demand by the window manager.
// Every call that waits or polls lets the backend move time and input on, so
// that in headless runs tracking loops see the scripted button and mouse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Event kinds.
enum : uint16_t {
    nullEvent = 0,
    mouseDown = 1,
    mouseUp = 2,
    keyDown = 3,
    keyUp = 4,
    autoKey = 5,
    updateEvt = 6,
    diskEvt = 7,
    activateEvt = 8,
    osEvt = 15,
    kHighLevelEvent = 23,
    // The wheel: message low 16 bits = lines moved (signed), shift modifier
    // set for the horizontal axis.
    kMouseWheelEvent = 39,
};

// Event masks: bit n selects kind n.
enum : uint16_t {
    mDownMask = 0x0002,
    mUpMask = 0x0004,
    keyDownMask = 0x0008,
    keyUpMask = 0x0010,
    autoKeyMask = 0x0020,
    updateMask = 0x0040,
    diskMask = 0x0080,
    activMask = 0x0100,
    kMouseWheelMask = 0x0200,
    highLevelEventMask = 0x0400,
    osMask = 0x8000,
    everyEvent = 0xFFFF,
};

// Modifier bits.
enum : uint16_t {
    activeFlag = 0x0001,   // activate (set) or deactivate (clear)
    btnState = 0x0080,     // set while the mouse button is up
    cmdKey = 0x0100,
    shiftKey = 0x0200,
    alphaLock = 0x0400,
    optionKey = 0x0800,
    controlKey = 0x1000,
};

// Key messages: character code in the low byte, virtual key code above it.
constexpr uint32_t charCodeMask = 0x000000FF;
constexpr uint32_t keyCodeMask = 0x0000FF00;

// Operating-system events: the message's top byte says which.
constexpr uint32_t osEvtMessageMask = 0xFF000000;
constexpr uint8_t mouseMovedMessage = 0xFA;
constexpr uint8_t suspendResumeMessage = 0x01;
constexpr uint32_t resumeFlag = 1;

// PostEvent answers this for kinds that cannot be posted.
constexpr OSErr evtNotEnb = 1;

struct EventRecord {
    uint16_t what;
    // Pointer-sized: update and activate events carry the window here.
    uintptr_t message;
    uint32_t when;
    Point where;  // global coordinates
    uint16_t modifiers;
};

// 128 key states, key code k at bit (k & 7) of byte (k >> 3).
using KeyMap = uint32_t[4];
bool IsKeyDown(const KeyMap keys, uint8_t keyCode);

// High-level event classes and kinds.
constexpr OSType kCoreEventClass = 0x61657674;  // 'aevt'
constexpr OSType kAEOpenApplication = 0x6F617070;  // 'oapp'
constexpr OSType kAEOpenDocuments = 0x6F646F63;  // 'odoc'
constexpr OSType kAEPrintDocuments = 0x70646F63;  // 'pdoc'
constexpr OSType kAEQuitApplication = 0x71756974;  // 'quit'

// The queue. Each call that waits or polls lets input and time move on.
// With a mouse region, a mouse-moved event comes when the mouse is outside it.
Boolean WaitNextEvent(uint16_t mask, EventRecord* event, uint32_t sleep, RgnHandle mouseRgn);
Boolean GetNextEvent(uint16_t mask, EventRecord* event);
Boolean EventAvail(uint16_t mask, EventRecord* event);
void FlushEvents(uint16_t whichMask, uint16_t stopMask);
// Posts an event of kind mouseDown..autoKey, diskEvt or osEvt with the
// current time, mouse and modifiers.
OSErr PostEvent(uint16_t kind, uint32_t message);

// A high-level event: its class and kind travel in the record (message and
// where); the documents it names are read back with LastHighLevelEvent once
// the event has been taken.
void PostHighLevelEvent(OSType eventClass, OSType eventID, const std::vector<std::string>& documents);
struct HighLevelEventInfo {
    OSType eventClass = 0;
    OSType eventID = 0;
    std::vector<std::string> documents;  // POSIX paths, UTF-8
};
// The last high-level event handed out by WaitNextEvent or GetNextEvent.
const HighLevelEventInfo& LastHighLevelEvent();
// The kind of a high-level event record.
OSType HighLevelEventID(const EventRecord& event);

// Quit and termination requests wait in the queue until the program takes
// them (a full queue drops input, never a high-level event). A modal loop
// asks here whether it should answer with its cancel choice and let the
// quit go on; the posting sources are pumped first.
Boolean QuitRequestPending();
// Only the requests that come from the system (SIGTERM, SIGINT): a long
// operation stops for these, while a quit event waits until it is done.
// Once the program has taken one it is ending, and this stays true.
Boolean TerminationRequestPending();
// Posts a quit event marked as the system's request to end.
void PostTerminationRequest();

// Around the event calls of a busy program that only looks for a Stop
// between its steps (the wait dialog): finding no event there does not
// make the program idle, so a script waiting for idle waits for the end.
class BusyPoll {
public:
    BusyPoll();
    ~BusyPoll();
    BusyPoll(const BusyPoll&) = delete;
    BusyPoll& operator=(const BusyPoll&) = delete;
};

// Mouse and keyboard state.
Boolean Button();
Boolean StillDown();
Boolean WaitMouseUp();
// The mouse in the current port's local coordinates.
void GetMouse(Point* mouse);
// The mouse in global coordinates.
void GetGlobalMouse(Point* mouse);
void GetKeys(KeyMap keys);

uint32_t GetDblTime();
uint32_t GetCaretTime();

}  // namespace platform
