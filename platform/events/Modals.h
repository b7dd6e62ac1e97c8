// The modal loops that are up (alerts, dialogs, file dialogs, the wait
// dialog), innermost last: a run that ends while one is up says which.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Notes a modal from its start to its end; `what` names it for a person
// ("alert 1002 \"Save the changes?\""). The token ends that one, whatever
// was noted after it.
uint32_t PushModal(std::string what);
void PopModal(uint32_t token);
// The innermost modal, or null when the program waits in no modal loop.
const std::string* CurrentModal();

// A modal loop for the length of a scope.
class ModalScope {
public:
    explicit ModalScope(std::string what) : token_(PushModal(std::move(what))) {}
    ~ModalScope() { PopModal(token_); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    uint32_t token_;
};

}  // namespace platform
