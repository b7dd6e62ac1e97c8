// The modal loops that are up (alerts, dialogs, file dialogs, the wait
// dialog), innermost last: a run that ends while one is up says which, and
// the menu bar offers only what the innermost one allows.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Notes a modal from its start to its end; `what` names it for a person
// ("alert 1002 \"Save the changes?\""); `editsText`: it has text items that
// the Edit menu's commands serve. The token ends that one, whatever was
// noted after it.
uint32_t PushModal(std::string what, bool editsText = false);
void PopModal(uint32_t token);
// The innermost modal, or null when the program waits in no modal loop.
const std::string* CurrentModal();
bool CurrentModalEditsText();

// Every modal loop asks this before it waits for input, and ends with its
// Cancel answer when it is true: nobody is left to answer (the headless
// run is over), or the program was asked to quit (a quit event, SIGTERM,
// SIGINT). The request stays queued and the main loop serves it once the
// modal is gone; after a termination request every modal is answered so.
bool ModalMustCancel();

// A modal loop for the length of a scope.
class ModalScope {
public:
    explicit ModalScope(std::string what, bool editsText = false) : token_(PushModal(std::move(what), editsText)) {}
    ~ModalScope() { PopModal(token_); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    uint32_t token_;
};

}  // namespace platform
