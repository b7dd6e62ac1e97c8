// Installs the handlers of the open-application, open-documents,
// print-documents and quit events; each is installed only when the one
// before it was. Quit posts command 19.
#pragma once

#include "platform/appleevents/AppleEvents.h"

platform::OSErr InstallAppleEventHandlers();
// A quit asked for and not yet done: its event waits, or the event came
// and its command 19 waits. Documents asked for meanwhile, whichever came
// first, are neither opened nor printed.
bool QuitAsked();
