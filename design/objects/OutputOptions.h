// The options of printing and exporting objects, filled by the output
// dialog: six bytes, each 0 or 1. `rowClosed` is set by the list for each
// row whose group or table is not open, so that the object brings its
// members itself.
#pragma once

#include <cstdint>

struct OutPutParmRec {
    uint8_t contents = 0;       // 0: what the object holds
    uint8_t uses = 0;           // 1: the objects it uses
    uint8_t callers = 0;        // 2: the objects that use it
    uint8_t documentation = 0;  // 3: its documentation
    uint8_t oldFormat = 0;      // 4: the older export format
    uint8_t rowClosed = 0;      // 5: its sub-objects with it
};
