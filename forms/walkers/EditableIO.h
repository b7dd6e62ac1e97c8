// The part that "FILD" and "VAR " chunks begin with (EditableIOStruct):
//   off size
//    0   8   bounds: top, left, bottom, right
//    8   1   entry option       9  1  display option
//   10   2   record word 1     12  2  tip kind (help tip id, 0: none)
//   14   2   object method id (0: none)
//   16   -   display format, length-prefixed, padded to an even size
// The 16 bytes are eight words; in a file of the other byte order the two
// option bytes are put back after the words are turned.
#pragma once

#include <cstdint>

#include "forms/iff/Iff.h"

struct EditableIOStruct {
    int16_t bounds[4] = {};
    uint8_t entryOption = 0, displayOption = 0;
    int16_t recordWord1 = 0, tipKind = 0, objectMethodID = 0;
    unsigned char format[256] = {};
};

IFFP ReadEditableIO(_GroupContext* context, EditableIOStruct* out);
