#include "platform/events/Modals.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace platform {
namespace {

struct Modals {
    std::vector<std::pair<uint32_t, std::string>> up;
    uint32_t lastToken = 0;
};

Modals& State()
{
    static auto* state = new Modals;
    return *state;
}

}  // namespace

uint32_t PushModal(std::string what)
{
    Modals& s = State();
    const uint32_t token = ++s.lastToken;
    try {
        s.up.emplace_back(token, std::move(what));
    } catch (const std::bad_alloc&) {
        return 0;  // not named; the pop finds nothing to take
    }
    return token;
}

void PopModal(uint32_t token)
{
    auto& up = State().up;
    auto found = std::find_if(up.begin(), up.end(), [&](const auto& m) { return m.first == token; });
    if (found != up.end()) up.erase(found);
}

const std::string* CurrentModal() { return State().up.empty() ? nullptr : &State().up.back().second; }

}  // namespace platform
