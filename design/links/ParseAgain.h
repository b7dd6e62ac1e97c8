// An object's links recorded again from what it stores, once objects it
// names changed under it: a table's fields replaced by another definition
// (named by their number), a menu replaced under the bars that hold it
// (whose links pass through its items). What it named that is gone, or is
// now another object, is then named as a fresh read of the document names
// it.
#pragma once

#include <cstdint>
#include <vector>

class TObjQz;

// The objects whose parse records what `user` uses: a method, a form, a
// menu bar or a table itself (a table's relations), a field's table, the
// menu bars that hold a menu (menus record nothing of their own). None for
// the kinds whose links name other objects by name or id alone.
std::vector<TObjQz*> LinkReaders(TObjQz* user);
// The objects whose links ParseAgain(reader) takes apart and records
// again: the reader, and a table's fields.
std::vector<TObjQz*> LinksParsedBy(TObjQz* reader);
// The reader's links (a table's: its relations) taken apart and recorded
// again by its parse. 0, or the parse's error.
int16_t ParseAgain(TObjQz* reader);
