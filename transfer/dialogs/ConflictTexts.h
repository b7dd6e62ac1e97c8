// The texts the conflict dialogs and the export show for a record: the
// full names of objects, the code's description, the row's description
// line and the choice line. Every text is a length-prefixed string cut at
// 255 characters, however long the qualified names that go into it.
#pragma once

#include <cstdint>

class TConflict;
class TObjQz;

namespace transfer {

// A table as "[Name]" (STR# 104 items 2 and 3); a subtable as its
// table's name, STR# 104 item 6 and its own; a field after its table's
// (or subtable's, joined by item 6) file name; others by name.
void GetFileName(TObjQz* obj, unsigned char* out);
// What rows and exports call an object: a form as its table's name, STR#
// 1019 item 2 and the form's name (STR# 1024 item 3 for a form without
// table); tables, subtables and fields as GetFileName; others by name.
void GetFullName(TObjQz* obj, unsigned char* out);

// String `index` of 'STR#' `listId`, empty for index 0.
void ListString(int16_t listId, int16_t index, unsigned char* out);
// The name of object kind `kind` (STR# 1008).
void KindName(int16_t kind, unsigned char* out);
// What the record's code means: STR# 1016 (codes below 100) or 1017, or
// for a record without object STR# 1021 or 1022, at the code's text index.
void CodeText(const TConflict* record, unsigned char* out);
// The code's description as the dialogs and the export give it for a
// record with an object: STR# 1016 or 1017 whatever the record holds.
void CodeDescription(int16_t code, unsigned char* out);
// The row's description: kind name, a blank, the full name, STR# 1024 item
// 1 and the code text; the code text alone without object.
void DescriptionText(TConflict* record, unsigned char* out);
// The choice's text (STR# 1018), then for a record with an object a blank
// and the new name (choice 1) or the destination's full name (choice 8).
void ChoiceText(TConflict* record, unsigned char* out);
// The prefix of a record's name line: STR# 1001 item 33 (codes below 100)
// or 34.
void NamePrefix(int16_t code, unsigned char* out);

}  // namespace transfer
