#include "platform/appleevents/EventSources.h"

#include <csignal>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/events/Events.h"
#include "platform/events/InputState.h"

namespace platform {
namespace {

volatile std::sig_atomic_t gQuitSignal = 0;

void OnQuitSignal(int)
{
    gQuitSignal = 1;
}

void PostSignalQuit()
{
    if (!gQuitSignal) return;
    gQuitSignal = 0;
    PostTerminationRequest();
}

std::string Absolute(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

// The documents and whether to print them; false with *error for a
// command line the program does not take.
bool ParseCommandLine(const std::vector<std::string>& arguments, bool* print, std::vector<std::string>* documents,
                      std::string* error)
{
    bool optionsOver = false;
    for (const std::string& a : arguments) {
        if (!optionsOver && a == "--print") {
            *print = true;
        } else if (!optionsOver && a == "--") {
            optionsOver = true;
        } else if (!optionsOver && a.size() > 1 && a[0] == '-') {
            *error = "unknown option '" + a + "' (the program takes documents, or --print and documents)";
            return false;
        } else if (a.empty()) {
            *error = "an empty document path";
            return false;
        } else {
            documents->push_back(Absolute(a));
        }
    }
    if (*print && documents->empty()) {
        *error = "--print needs the documents to print";
        return false;
    }
    return true;
}

bool ReadCommandLine(const std::vector<std::string>& arguments, std::string* error)
{
    std::string scratch;
    if (!error) error = &scratch;
    bool print = false;
    std::vector<std::string> documents;
    if (!ParseCommandLine(arguments, &print, &documents, error)) return false;
    if (documents.empty()) PostHighLevelEvent(kCoreEventClass, kAEOpenApplication, {});
    else PostHighLevelEvent(kCoreEventClass, print ? kAEPrintDocuments : kAEOpenDocuments, documents);
    return true;
}

}  // namespace

bool CheckCommandLine(const std::vector<std::string>& arguments, std::string* error)
{
    std::string scratch;
    bool print = false;
    std::vector<std::string> documents;
    try {
        return ParseCommandLine(arguments, &print, &documents, error ? error : &scratch);
    } catch (const std::bad_alloc&) {
        if (error) *error = "not enough memory for the command line";
        return false;
    }
}

bool PostCommandLineEvents(const std::vector<std::string>& arguments, std::string* error)
{
    try {
        return ReadCommandLine(arguments, error);
    } catch (const std::bad_alloc&) {
        if (error) *error = "not enough memory for the command line";
        return false;
    }
}

void InstallQuitSignals()
{
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // The handler runs once: the next signal finds the default action.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    AddInputSourceHook(PostSignalQuit);
}

bool QuitSignalPending() { return gQuitSignal != 0; }

}  // namespace platform
