// How many items a search over the kinds a filter chooses will examine,
// counted before it starts so that the wait dialog can show its progress.
// Counts are the stored counts of object lists, each including its
// terminating entry; a missing list counts 0.
#pragma once

#include <cstdint>

#include "design/objects/ObjList.h"
#include "platform/core/MacTypes.h"

// The sum over the kinds of the main list that the filter's entries name
// (all of them without a filter): kinds 1 to 8, 11 to 17 and 23 count
// their list, methods (9) add every method's local variables, field
// balloons (10) every table's balloons, forms (24), object methods (25),
// table methods (26) and form methods (27) what the tables hold; the
// others add nothing.
int32_t Count_Obj(platform::Handle filter, TypeListHdl lists);

// The stored count of the document's list of that kind, as a 16-bit number.
int16_t Count_List(TypeListHdl lists, int16_t kind);
// The local variables of every project method, table method, form method
// and object method.
int32_t Count_LocalVar(TypeListHdl lists);
// The field balloons of every table.
int32_t Count_FileBalloon(TypeListHdl lists);
// The forms of every table.
int32_t Count_Layout(TypeListHdl lists);
// The object methods of every form of every table.
int32_t Count_Scripts(TypeListHdl lists);
// The tables that have a table method.
int32_t Count_FileProc(TypeListHdl lists);
// The forms of tables that have a form method.
int32_t Count_LayOutProc(TypeListHdl lists);
