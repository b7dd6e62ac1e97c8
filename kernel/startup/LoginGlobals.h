// The kernel's globals of the login to a structure that a server
// publishes: a user name and password given at start-up (cleared once
// used), the structure's default user, and the switches of the runtime
// configuration and of the user groups.
#pragma once

#include <cstdint>

// Length-prefixed, at most 31 characters; the password in scrambled form.
extern unsigned char gStartupUserName[32];
extern unsigned char gStartupPassword[32];
// The user logged in without a dialog when asked to, 0 for none.
extern int16_t DefaultDBUser;
// The runtime configuration never opens a design.
extern uint8_t gIsRuntime;
// Group tests go to the external password system instead of the tables.
extern uint8_t DisableQzGroups;

// Back to the starting values (tests).
void ResetLoginGlobals();
