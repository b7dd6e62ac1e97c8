// The kernel's session options that the form objects read while forms are
// read, converted and drawn. Each starts at 0.
#pragma once

#include <cstdint>

// Tips of fields and variables are read only while it is set; it also
// keeps the first flag of most variables when older forms are upgraded.
// Variable drawing saves it with the two bytes after it, clears all three
// and restores them (kernelOptionAfter).
extern uint8_t kernelOption;
extern uint8_t kernelOptionAfter[2];
// Read errors of older flat forms are shown to the user while it is set.
extern uint8_t showReadError;
// Fields of flat forms naming tables or fields the structure lacks are
// reported while it is set; the first such field clears it.
extern uint8_t checkBadFieldErr;
