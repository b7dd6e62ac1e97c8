// What the event manager asks of a backend: the source of input and time.
// The headless backend plays a script on a virtual clock; the live backend
// reads a real window. Exactly one backend is installed at a time.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Backend {
public:
    virtual ~Backend() = default;
    // The time in ticks, read without letting time pass.
    virtual uint32_t Now() = 0;
    // Brings input up to now: posts what has happened and updates the mouse
    // and key state.
    virtual void Pump() = 0;
    // One polling call of the program (Button, StillDown, GetNextEvent...):
    // lets a moment pass and pumps.
    virtual void Poll() = 0;
    // The program waits for input for at most `ticks` ticks (at least one).
    // Answers the ticks that passed; returns early when input arrives.
    virtual uint32_t Wait(uint32_t ticks) = 0;
    // The program asked for an event and found none pending.
    virtual void NoteIdle() {}
    // True once the run is over (the headless watchdog fired): waits then
    // return at once.
    virtual bool Ended() const { return false; }
    // Ends the run with a message because its script asked for something
    // that cannot be (a dialog answered with a path it would not show).
    virtual void Stop(const std::string& message);
};

// The installed backend, or null: then no input ever arrives and waits
// return at once.
Backend* CurrentBackend();
void SetBackend(Backend* backend);

}  // namespace platform
