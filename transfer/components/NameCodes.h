// The code names of a generated component's hidden members. A component
// keeps a name-code table ('cdQz', design/objects/NameTables.h): each
// member name renamed once keeps its code, so that every generation of
// the component gives a member the same code name.
#pragma once

#include <cstdint>

#include "design/objects/NameTables.h"

namespace transfer {

// More codes tried for one name than this ends the search (a table that
// holds every code a seed can give).
constexpr int32_t kMaxCodeTries = 65536;

// The table's counter of codes made (the header's otherwise unused word at
// offset 10), in host order.
uint32_t NameCodeCounter(NameCodeHdl table);
void SetNameCodeCounter(NameCodeHdl table, uint32_t value);

// The 8-character code of `seed` and `counter`: 10, the low three bytes of
// the seed, the four bytes of seed x counter, all big-endian; a character
// above 127 lowered by 127, then one below 10 raised by 10.
void MakeNameCode(uint32_t seed, uint32_t counter, unsigned char* code);

// The code name of member `name`: its variable marker taken off, then a
// leading `prefix`; the code the table holds for the rest, else a new one
// made from the seed and stored. *newName is the name's first character,
// the prefix and the code, with the marker put back. 0; -108 when the
// table cannot grow; -50 when no new code was found; 1003 for a damaged
// table (a header of neither byte order, or a code held for the name that
// is not eight characters long).
int16_t M_GetName(NameCodeHdl* table, const unsigned char* prefix, const unsigned char* name, unsigned char* newName,
                  uint32_t seed);

}  // namespace transfer
