// A toolbox string inside a chunk: a u32 count n, then for n of 1 or more
// the n UTF-16 units and a 0 unit, big-endian words (turned in a file
// written in the other byte order). A count below 1 stores nothing more.
#pragma once

#include "forms/iff/Iff.h"

class VString;

IFFP WriteVStringToIFF(_GroupContext* context, const VString& text);
// A count whose units pass the chunk answers SHORT_CHUNK before anything
// is allocated; the string is then left empty.
IFFP ReadVStringFromIFF(_GroupContext* context, VString& text);
