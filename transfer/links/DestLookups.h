// The destination counterpart of a source object during a transfer, by the
// conflict list: objects, forms (by their table when they have no record),
// fields and tables with the designation that names them there.
#pragma once

#include <cstdint>

#include "design/objects/ObjFactory.h"
#include "transfer/conflicts/ConflictList.h"

class TMainDoc;
class TObjQz;

namespace transfer {

// The designation of a field or subtable from its main table down: the
// place in the main table, the main table's number, the levels below it
// and the place at each. All zeros for no object or one without a table.
ChampOper MyGetChamp(TObjQz* obj);

// The destination of the record (at any depth) whose source is `obj`
// (a package's routine: the routine of its name in its package's, of its
// number among namesakes); null for none. Answers 0.
int16_t GetDestObj(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out);
// GetDestObj, else the form of the same name in the destination of the
// form's table.
int16_t GetDestForm(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** out);
// A field, subtable or table's destination and its designation there
// (zeros and null when it has none).
int16_t GetDestRub(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out,
                   ChampOper* designation);
// A table matched to a destination table: each of its fields with a record
// takes the field at the same place there as its destination; subtables
// likewise, and their fields.
int16_t ChainCrit(C_ListHdl list, TObjQz* sourceTable, TObjQz* destTable);

}  // namespace transfer
