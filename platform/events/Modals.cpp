#include "platform/events/Modals.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "platform/events/Backend.h"
#include "platform/events/Events.h"
#include "platform/menus/MenuRecord.h"

namespace platform {
namespace {

struct Modal {
    uint32_t token;
    std::string what;
    bool editsText;
};

struct Modals {
    std::vector<Modal> up;
    uint32_t lastToken = 0;
};

Modals& State()
{
    static auto* state = new Modals;
    return *state;
}

// The bar's titles are dimmed while a modal is up.
void BarOffersChanged()
{
    if (!menus::BarMenus().empty()) menus::MenuBarChanged();
}

}  // namespace

uint32_t PushModal(std::string what, bool editsText)
{
    Modals& s = State();
    const uint32_t token = ++s.lastToken;
    try {
        s.up.push_back({token, std::move(what), editsText});
    } catch (const std::bad_alloc&) {
        return 0;  // not named; the pop finds nothing to take
    }
    BarOffersChanged();
    return token;
}

void PopModal(uint32_t token)
{
    auto& up = State().up;
    auto found = std::find_if(up.begin(), up.end(), [&](const Modal& m) { return m.token == token; });
    if (found == up.end()) return;
    up.erase(found);
    BarOffersChanged();
}

const std::string* CurrentModal() { return State().up.empty() ? nullptr : &State().up.back().what; }

bool CurrentModalEditsText() { return !State().up.empty() && State().up.back().editsText; }

bool ModalMustCancel()
{
    Backend* backend = CurrentBackend();
    return !backend || backend->Ended() || QuitRequestPending() || TerminationRequestPending();
}

}  // namespace platform
