// The steps the records' Edit shares: a copy that pulls an object and what
// it uses into the transfer, the members that follow their table's new
// choice, and the fall-back of a link left without an object.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "transfer/conflicts/ConflictList.h"

class TConflict;
class TMainDoc;
class TObjQz;
class TRConflict;

namespace transfer {

// `obj` joins the transfer list (sorted), its indirect conflicts are
// gathered and the default copies run again. A failure is shown and
// answered (-108 when memory ran out).
int16_t CopyIntoTransfer(TObjQz* obj, ObjListHdl* transferList, C_ListHdl list, TMainDoc* dest);
// Each record chained under `record` settles again under its choice (not
// quietly); one that now copies (9 or 12) has its object copied.
void UpdateSubList(TRConflict* record, ObjListHdl* transferList, C_ListHdl list, TMainDoc* dest);
// A record with no destination object takes its code's default choice.
void FallBackWithoutDest(TConflict* record);

}  // namespace transfer
