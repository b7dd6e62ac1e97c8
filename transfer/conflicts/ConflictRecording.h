// Recording conflicts: a record of the class its code calls for, appended
// to a list, chained under a table's record, or a plain reference for a
// pair the movers have just made. A record that cannot be made or
// appended answers -108 and leaves the list as it was; no list is no
// error (0, nothing made).
#pragma once

#include <cstdint>

#include "transfer/conflicts/ConflictList.h"

class TConflict;
class TObjQz;

namespace transfer {

// A record of the class that belongs to `code`, not yet initialised; null
// when memory runs out.
TConflict* NewConflictOfCode(int16_t code);

int16_t RecordConflict(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice, C_ListHdl list, TConflict** out);
int16_t RecordC_Ref(TObjQz* source, TObjQz* copy, C_ListHdl list);
// *out stays null when `obj` is already chained under `parent`.
int16_t ChainConflict(TConflict* parent, TObjQz* obj, int16_t code, TConflict** out);

}  // namespace transfer
