// Installs the handlers of the open-application, open-documents,
// print-documents and quit events; each is installed only when the one
// before it was. Quit posts command 19.
#pragma once

#include "platform/appleevents/AppleEvents.h"

platform::OSErr InstallAppleEventHandlers();
