// The tables a form's fields are resolved against. A table's field list is
// the kernel's copy of its 'FIQz' record, big-endian in a handle:
//   0  2  field count          6  2  the table's number (set by the kernel)
//  30  -  per field 66 bytes, the field's type in byte 32 of its entry
// The design layer installs where the lists of the structure's tables are
// (SetTableFieldListProc) and the form model where its own table's list is
// (SetEditorCritRootProc); until then there is none.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class LayoutEditor;

using TableFieldListProc = platform::Handle (*)(int16_t tableNumber);
using EditorCritRootProc = platform::Handle (*)(LayoutEditor* editor);
void SetTableFieldListProc(TableFieldListProc proc);
void SetEditorCritRootProc(EditorCritRootProc proc);

// The field list of table n of the structure (1 to formTableCount), or null.
platform::Handle TableFieldList(int16_t tableNumber);
// The form model's own table's field list, or null (no model, no list).
platform::Handle EditorCritRoot(LayoutEditor* editor);

// Read from a field list; 0 for a null list or a field it does not hold.
int16_t FieldListCount(platform::Handle list);
int16_t FieldListTableNumber(platform::Handle list);
int16_t FieldListType(platform::Handle list, int16_t fieldNumber);
