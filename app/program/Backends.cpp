#include "app/program/Backends.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/backends/HeadlessBackend.h"
#include "platform/backends/Script.h"
#include "platform/events/Events.h"
#include "platform/events/Modals.h"
#ifdef QZ_HAVE_LIVE
#include "platform/live/LiveBackend.h"
#endif

using namespace platform;

namespace {

class HeadlessInput final : public ProgramInput {
public:
    explicit HeadlessInput(Script script)
    {
        HeadlessOptions options;
        // A script that leaves the program waiting ends the run: the
        // program is asked to end (waits no longer wait) and says why.
        options.onWatchdog = [this](const std::string& message) {
            if (CurrentModal()) {
                // Nobody will answer the modal, and its cancel answer could
                // lead to another (a quit that asks to save): the run ends
                // here, saying which modal it was left in.
                std::fprintf(stderr, "qzbrowser: %s\n", message.c_str());
                std::fflush(nullptr);
                ::_exit(kLeftInModalExitStatus);
            }
            watchdog_ = message;
            // Nobody is left: the program ends as on SIGTERM, even when a
            // document cannot close as it should.
            PostTerminationRequest();
        };
        backend_ = std::make_unique<HeadlessBackend>(std::move(script), std::move(options));
        backend_->Install();
    }
    ~HeadlessInput() override { backend_->Uninstall(); }
    int EndStatus() const override
    {
        if (watchdog_.empty()) return 0;
        std::fprintf(stderr, "qzbrowser: %s\n", watchdog_.c_str());
        return kWatchdogExitStatus;
    }

private:
    std::unique_ptr<HeadlessBackend> backend_;
    std::string watchdog_;
};

#ifdef QZ_HAVE_LIVE
class LiveInput final : public ProgramInput {
public:
    bool Start(std::string* error) { return backend_.Start("Qz Structure Browser", 0, error); }
    ~LiveInput() override { backend_.Stop(); }

private:
    LiveBackend backend_;
};
#endif

}  // namespace

std::unique_ptr<ProgramInput> StartInput(std::string* note, std::string* error)
{
    if (const char* path = std::getenv("QZ_SCRIPT"); path && *path) {
        Script script;
        std::string why;
        if (!LoadScriptFile(path, &script, &why)) {
            *error = std::string("the script ") + path + " cannot be used: " + why;
            return nullptr;
        }
        return std::make_unique<HeadlessInput>(std::move(script));
    }
    std::string why = "the live window is not built in";
#ifdef QZ_HAVE_LIVE
    auto live = std::make_unique<LiveInput>();
    if (live->Start(&why)) return live;
    live.reset();
#endif
    *note = "no display (" + why + "): running headless; the program quits once idle.";
    Script script;
    script.WaitIdle().End();
    return std::make_unique<HeadlessInput>(std::move(script));
}
