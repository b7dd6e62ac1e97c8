// The program's start-up sequence: the toolbox, the byte-swap templates,
// the kernel globals and the date window, in that order. It lives here, in
// the highest layer it needs, so that it can install the services of the
// layers above the kernel before the kernel's start-up calls them.
#pragma once

#include <cstdint>

// 0 when everything started; otherwise the failed step's error, with a
// message for the person starting the program.
int16_t StartQz();
const char* StartQzMessage();
