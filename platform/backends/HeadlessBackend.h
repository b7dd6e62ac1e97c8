// The headless backend: a virtual clock and a scripted timeline of input.
// Time moves only when the program waits or polls: WaitNextEvent sleeps up
// to the next scripted action, and every polling call (Button, StillDown,
// GetMouse, GetKeys, GetNextEvent, EventAvail, TickCount) lets one tick
// pass, so tracking loops see the button held, the mouse move and the
// button released, the same way in every run.
//
// A watchdog ends a run whose script is over while the program still waits
// for input: after `watchdogTicks` ticks of such waiting, at most a second
// when it waits in a modal loop, it reports a clear message (naming the
// modal loop, if any), and from then on every wait returns at once. A program with a quit request in its
// queue is not waiting. A script ending on `hold` waits in real time,
// asleep until a signal or its next step.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/backends/Script.h"
#include "platform/backends/Timeline.h"
#include "platform/core/Clock.h"
#include "platform/events/Backend.h"

namespace platform {

struct HeadlessOptions {
    uint32_t startTicks = 0;
    uint32_t watchdogTicks = 600;
    // Called when the watchdog ends the run. Unset: the message goes to
    // standard error and the process exits with kWatchdogExitStatus.
    std::function<void(const std::string& message)> onWatchdog;
    // Writes the screen to a PNG file. Unset: the virtual screen's.
    Timeline::ScreenshotWriter screenshot;
};

constexpr int kWatchdogExitStatus = 3;
constexpr uint32_t kModalWatchdogTicks = 60;
// The run ended while the program waited in a modal loop (an alert, a
// dialog...) that nobody was left to answer.
constexpr int kLeftInModalExitStatus = 4;

class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(Script script, HeadlessOptions options = {});
    ~HeadlessBackend() override;

    // Puts this backend and its clock in place; the destructor takes them out.
    void Install();
    void Uninstall();

    uint32_t Now() override { return clock_.Ticks(); }
    void Pump() override;
    void Poll() override;
    uint32_t Wait(uint32_t ticks) override;
    void NoteIdle() override;
    bool Ended() const override { return ended_; }
    // Ends the run as the watchdog does, with this message.
    void Stop(const std::string& message) override;

    bool ScriptOver() const { return timeline_.Over(); }
    const std::string& EndMessage() const { return endMessage_; }
    int ScreenshotFailures() const { return timeline_.ScreenshotFailures(); }

private:
    // The clock the program reads: TickCount is a poll.
    class ProgramClock final : public Clock {
    public:
        explicit ProgramClock(HeadlessBackend& owner) : owner_(owner) {}
        uint32_t Ticks() override;
        uint32_t Seconds() override { return owner_.clock_.Seconds(); }
        void Wait(uint32_t ticks) override { owner_.AdvanceBy(ticks, false); }

    private:
        HeadlessBackend& owner_;
    };

    // Moves time on, stopping at each scripted action on the way; answers
    // the ticks that passed. With stopAtInput, stops after the first action.
    uint32_t AdvanceBy(uint32_t ticks, bool stopAtInput);
    void CountWaiting(uint32_t ticks);
    // The ticks of waiting after the script that end the run, in a modal or not.
    uint32_t WaitingLimit() const;

    HeadlessOptions options_;
    VirtualClock clock_;
    ProgramClock programClock_;
    Timeline timeline_;
    bool installed_ = false;
    bool ended_ = false;
    uint32_t waitingAfterEnd_ = 0;
    std::string endMessage_;
};

}  // namespace platform
