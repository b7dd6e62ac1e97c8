#include "platform/backends/HeadlessBackend.h"

#include <cstdio>
#include <cstdlib>

#include <time.h>

#include <algorithm>

#include "platform/events/InputState.h"
#include "platform/events/Modals.h"
#include "platform/screen/Screen.h"

namespace platform {

HeadlessBackend::HeadlessBackend(Script script, HeadlessOptions options)
    : options_(std::move(options)),
      clock_(options_.startTicks),
      programClock_(*this),
      timeline_(std::move(script), options_.startTicks,
                options_.screenshot ? options_.screenshot
                                    : Timeline::ScreenshotWriter([](const std::string& path) {
                                          return WriteScreenPng(path);
                                      }))
{
}

HeadlessBackend::~HeadlessBackend() { Uninstall(); }

void HeadlessBackend::Install()
{
    SetClock(&programClock_);
    SetBackend(this);
    installed_ = true;
    timeline_.RunUntil(clock_.Ticks());
}

void HeadlessBackend::Uninstall()
{
    if (!installed_) return;
    installed_ = false;
    if (CurrentBackend() == this) SetBackend(nullptr);
    if (&CurrentClock() == &programClock_) SetClock(nullptr);
}

uint32_t HeadlessBackend::ProgramClock::Ticks()
{
    uint32_t now = owner_.clock_.Ticks();
    owner_.AdvanceBy(1, false);
    return now;
}

void HeadlessBackend::Pump() { timeline_.RunUntil(clock_.Ticks()); }

void HeadlessBackend::Poll()
{
    if (ended_) return;
    Pump();
    AdvanceBy(1, false);
    CountWaiting(1);
}

uint32_t HeadlessBackend::Wait(uint32_t ticks)
{
    if (ended_) return ticks;
    Pump();
    if (timeline_.Held()) {
        // Real time passes here; a signal cuts the sleep short, so that a
        // quit request is seen as soon as it comes.
        const uint32_t slice = std::min<uint32_t>(ticks, 30);
        const int64_t ns = int64_t(slice) * 16666667;
        struct timespec want{time_t(ns / 1000000000), long(ns % 1000000000)};
        ::nanosleep(&want, nullptr);
        return AdvanceBy(slice, true);
    }
    // A wait reaches no further than the tick that ends the run.
    if (const uint32_t limit = WaitingLimit(); timeline_.Over() && limit >= waitingAfterEnd_)
        ticks = std::min(ticks, limit - waitingAfterEnd_ + 1);
    uint32_t passed = AdvanceBy(ticks, true);
    CountWaiting(passed);
    return passed;
}

void HeadlessBackend::NoteIdle() { timeline_.NoteIdle(clock_.Ticks()); }

uint32_t HeadlessBackend::AdvanceBy(uint32_t ticks, bool stopAtInput)
{
    // Tick differences are compared as signed numbers: never jump further.
    ticks = std::min<uint32_t>(ticks, 0x7FFFFFFF);
    const uint32_t start = clock_.Ticks();
    const uint32_t target = start + ticks;
    for (;;) {
        const uint32_t now = clock_.Ticks();
        timeline_.RunUntil(now);
        if (now == target) break;
        uint32_t stepTo = target;
        std::optional<uint32_t> due = timeline_.NextDue();
        if (due && int32_t(*due - now) > 0 && int32_t(*due - target) < 0) stepTo = *due;
        clock_.Advance(stepTo - now);
        timeline_.RunUntil(stepTo);
        if (stopAtInput && stepTo != target) break;
    }
    return clock_.Ticks() - start;
}

uint32_t HeadlessBackend::WaitingLimit() const
{
    // Nobody is left to answer a modal loop: the run ends there within a
    // second, the time a click's tracking takes to finish.
    return CurrentModal() ? std::min(options_.watchdogTicks, kModalWatchdogTicks) : options_.watchdogTicks;
}

void HeadlessBackend::CountWaiting(uint32_t ticks)
{
    if (ended_ || !timeline_.Over() || timeline_.Held()) return;
    // A program with a quit request before it is busy, not waiting: the
    // request ends the run.
    if (QuitRequestPending()) return;
    // Only the ticks after the script's end: a wait may have begun before.
    waitingAfterEnd_ += std::min(ticks, clock_.Ticks() - timeline_.OverAt());
    if (waitingAfterEnd_ <= WaitingLimit()) return;
    const std::string* modal = CurrentModal();
    Stop("headless run: the script ended at tick " + std::to_string(timeline_.OverAt()) +
         " and the program was still waiting for input at tick " + std::to_string(clock_.Ticks()) +
         (modal ? " in the " + *modal : std::string()) + "; ending the run");
}

void HeadlessBackend::Stop(const std::string& message)
{
    if (ended_) return;
    ended_ = true;
    endMessage_ = message;
    // No release will come: let go of the button so that tracking loops end.
    const InputState& in = CurrentInput();
    if (in.button) InputButton(false, in.mouse, 0);
    if (options_.onWatchdog) {
        options_.onWatchdog(endMessage_);
        return;
    }
    std::fprintf(stderr, "%s\n", endMessage_.c_str());
    std::exit(CurrentModal() ? kLeftInModalExitStatus : kWatchdogExitStatus);
}

}  // namespace platform
