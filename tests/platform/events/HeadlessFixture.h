// A headless run for a test: installs the backend and its clock on a
// script, and takes them out again.
#pragma once

#include <memory>
#include <string>

#include "platform/backends/HeadlessBackend.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/events/InputState.h"

namespace platform::testing {

class HeadlessRun {
public:
    explicit HeadlessRun(Script script, HeadlessOptions options = {})
    {
        ResetEventManager();
        ClearFileDialogAnswers();
        ClearDialogAnswers();
        if (!options.onWatchdog)
            options.onWatchdog = [this](const std::string& message) { watchdogMessage = message; };
        backend = std::make_unique<HeadlessBackend>(std::move(script), std::move(options));
        backend->Install();
    }
    ~HeadlessRun()
    {
        backend.reset();
        ResetEventManager();
    }

    std::unique_ptr<HeadlessBackend> backend;
    std::string watchdogMessage;
};

// Waits for the next event of the mask, giving up after `limit` calls.
inline bool NextEvent(uint16_t mask, EventRecord* event, int limit = 1000)
{
    for (int i = 0; i < limit; ++i)
        if (WaitNextEvent(mask, event, 1, nullptr)) return true;
    return false;
}

}  // namespace platform::testing
