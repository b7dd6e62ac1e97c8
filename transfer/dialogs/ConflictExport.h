// The conflict list as a text file ('TEXT', creator 'MACA'): the dialog's
// title, two line ends, then per record three lines and an empty one:
//
//   <prefix><full name> (<code>) 
//        * <what the code means>
//          -> <choice>[ <new name or linked object>]
//
// Lines end with a carriage return. A chained record's lines begin with
// "       |" when its parent is shown. Each top-level record that is
// visible is written with its whole sub-list; one that is not shown
// writes only those of its members that are (without its own lines).
//
// The file is written whole beside its place and then takes it: an
// existing file is replaced only once the new one is complete.
#pragma once

#include <cstdint>
#include <vector>

#include "transfer/conflicts/ConflictList.h"

namespace transfer {

using ExportText = std::vector<uint8_t>;

// The whole text of the list under `title`.
void ConflictListText(const unsigned char* title, C_ListHdl list, ExportText* out);
// Asks for the file (save dialog, STR# 1013 item 11, `defaultName`) and
// writes the list. A cancelled dialog answers its code and writes
// nothing; a failure to write is shown (ErrMsg) and answered, the old
// file left as it was.
int16_t ExportC_List(const unsigned char* defaultName, const unsigned char* firstLine, C_ListHdl list);

}  // namespace transfer
