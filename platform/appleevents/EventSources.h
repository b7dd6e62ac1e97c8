// Where the program's high-level events come from besides the live window
// and the script: its command line and the quit signals.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Reads the arguments after the program's name: document paths give one
// open-documents event, "--print" and paths one print-documents event,
// nothing an open-application event. Relative paths are taken from the
// current folder. False with *error for anything else (an unknown option,
// "--print" without a document); nothing is posted then.
bool PostCommandLineEvents(const std::vector<std::string>& arguments, std::string* error);
// The same reading without posting anything: false with *error exactly
// when PostCommandLineEvents would refuse the arguments.
bool CheckCommandLine(const std::vector<std::string>& arguments, std::string* error);

// SIGINT and SIGTERM: the first only notes the request and the next poll
// of the event manager posts one quit event; a second signal, before the
// first was served or after, takes the signal's default action.
void InstallQuitSignals();
// True when a signal came and its quit event was not posted yet.
bool QuitSignalPending();

}  // namespace platform
