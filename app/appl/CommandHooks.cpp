#include "app/appl/CommandHooks.h"

namespace {

AppCommandHooks gHooks;

}  // namespace

AppCommandHooks& CommandHooks() { return gHooks; }

void ResetCommandHooks() { gHooks = AppCommandHooks{}; }
