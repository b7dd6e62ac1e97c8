// The tables a form's fields (and inherited forms) are resolved against. A table's field list is
// the kernel's copy of its 'FIQz' record, big-endian in a handle:
//   0  2  field count          6  2  the table's number (set by the kernel)
//  30  -  per field 66 bytes, the field's type in byte 32 of its entry
// The design layer installs where the lists of the structure's tables are
// (SetTableFieldListProc) and the form model where its own table's list is
// (FormModelHooks.h, EditorCritRoot); until then there is none.
#pragma once

#include <cstdint>

#include "forms/objects/FormModelHooks.h"
#include "platform/core/MacTypes.h"

using TableFieldListProc = platform::Handle (*)(int16_t tableNumber);
void SetTableFieldListProc(TableFieldListProc proc);
// A table's form list, its 'TFQz' bytes: a count at 0, then 270-byte
// entries from 6, the form's name at 0 and its id at 32. Installed with
// the field lists.
void SetTableFormListProc(TableFieldListProc proc);
platform::Handle TableFormList(int16_t tableNumber);

// The field list of table n of the structure (1 to formTableCount), or null.
platform::Handle TableFieldList(int16_t tableNumber);

// Read from a field list; 0 for a null list or a field it does not hold.
int16_t FieldListCount(platform::Handle list);
int16_t FieldListTableNumber(platform::Handle list);
int16_t FieldListType(platform::Handle list, int16_t fieldNumber);
