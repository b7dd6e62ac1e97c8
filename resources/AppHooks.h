// What the store needs of the application framework, which is built above
// it: the resource-change hook and three window calls. The application
// installs them at start-up; until then each call does nothing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/windows/Windows.h"
#include "resources/ResTypes.h"

struct ResAppHooks {
    void (*selectWindow)(platform::WindowRef window) = nullptr;
    void (*showWindow)(platform::WindowRef window) = nullptr;
    // Runs the front dialog once; the hit item goes to *item.
    void (*modalDialog)(void* filterProc, int16_t* item) = nullptr;
};

ResAppHooks& AppHooks();

// The application's resource-change hook, called after the store applied a
// server action: the one installed with CPseudoResManager::SetChangeHook.
void resQzhook(platform::ResType type, int16_t id, int16_t marker, int16_t action);
void mySelectWindow(platform::WindowRef window);
void myShowWindow(platform::WindowRef window);
// Without an installed call the item stays as it was.
void myModalDialog(void* filterProc, int16_t* item);
