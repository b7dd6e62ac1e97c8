// References to string-list items (":ID,INDEX") made and read back; the
// conversion of a literal text itself is TObjQz::DoItTxtStr.
#pragma once

#include <cstdint>
#include <vector>

class TObjQz;

// ":" id "," index, in decimal.
void StrRefText(int16_t listId, int16_t index, unsigned char* out);
// The item a reference names, from the resource chain: false (out
// untouched) when the text is no reference or its list lacks the item.
bool ListItemText(const unsigned char* text, unsigned char* out);
// The menu bars that hold any menu of `objs` use the string lists their
// menus' titles and items refer to, as a read of the document links them
// (a menu itself uses none). 0, or the first parse's error.
int16_t RelinkMenuBars(const std::vector<TObjQz*>& objs);
