// Commands of the application whose work is built above this folder: the
// program fills these calls at start-up, as it fills the document hooks.
// A call left empty makes its command do nothing (answer 0).
#pragma once

#include <cstdint>

struct AppCommandHooks {
    // The conflict preferences (command 15): 0, or the error it showed.
    int16_t (*conflictPreferences)() = nullptr;
    // The blocking preferences (command 16): 0, or the error it showed.
    int16_t (*blockingPreferences)() = nullptr;
};

AppCommandHooks& CommandHooks();
// Forgets every call (tests).
void ResetCommandHooks();
