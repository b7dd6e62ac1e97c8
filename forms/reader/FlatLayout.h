// Forms of the older flat layout: runs of records, each led by a 2-byte
// word whose first byte is the object's kernel type (1 field, 2 rectangle,
// 3 rounded rectangle, 4 oval, 5 text, 6 line, 9 variable, 10 picture, 11
// subform, 18 group, 19 matrix, 20 group box). A type 0, or any other,
// ends the run; a group's members are the run that follows its record.
// The records themselves: FlatRecords.cpp.
#pragma once

#include <cstdint>

class LayoutEditor;
class LayoutObject;

// Groups nest at most this deep; a record deeper fails the reading.
constexpr int32_t kMaxFlatGroupDepth = 64;

// Reads records from *data until the run ends, advancing *data and
// *remaining past what was read. A record that does not fit, or fails,
// ends the reading with *remaining -1 (the objects before it are kept; the
// message of list 91, item 14 shows while showReadError is set). Fields
// whose table the structure lacks (0: the form model's own) or whose field
// number is not in their table are left out; the first such field clears
// checkBadFieldErr while showReadError is set. Objects are named as the
// chunk reader names them. The first object of the run; *last its last.
LayoutObject* ReadLayoutData(char** data, int32_t* remaining, LayoutEditor* editor, LayoutObject** last);
