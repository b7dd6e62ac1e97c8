// The network components of the program: started once at start-up and
// closed when the event loop ends. The only component is TCP.
#pragma once

// False when the system gives no TCP sockets: the program then cannot
// open a structure from a server.
bool initcommcode();
// Closes the current connection; a later request opens none by itself.
void deinitcomm();
