// The program's last resort: memory ran out outside the commands the event
// loop runs, where nothing can be taken back, and the program cannot go
// on. Before it ends, the typing of every editor not yet saved is kept in
// a text file beside its document, and an alert says that the program
// ends and names those files.
#pragma once

namespace lastresort {

// Reads the alert's texts at start-up, so that saying them later needs no
// resource and no new block.
void Prepare();

// Keeps the editors' typing (the memory reserve given up first, so that
// the files and the alert have room), then says that the program ends.
// Nothing thrown leaves it; what could not be said goes to the standard
// error.
void EndForWantOfMemory();

}  // namespace lastresort
