// References to string-list items (":ID,INDEX") made and read back; the
// conversion of a literal text itself is TObjQz::DoItTxtStr.
#pragma once

#include <cstdint>

// ":" id "," index, in decimal.
void StrRefText(int16_t listId, int16_t index, unsigned char* out);
// The item a reference names, from the resource chain: false (out
// untouched) when the text is no reference or its list lacks the item.
bool ListItemText(const unsigned char* text, unsigned char* out);
