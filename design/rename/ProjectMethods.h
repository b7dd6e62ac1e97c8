// Project methods made by the browser's commands.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

// 'TPQz' 0: one 44-byte record per project method, big-endian: the name
// (length byte and 31 characters) at 0, the method's 'CCQz' id at 32, a
// flags word at 34, then words the reader does not interpret.
constexpr int32_t kProcRecordSize = 44;

// A new project method named `name` (cut to 31) whose text is one comment,
// `comment`: its text under a new id and its record appended to 'TPQz' 0,
// zero-filled but for the name and the id, land in one commit; then its
// object is made. 0 or the error (nothing then stored or made).
int16_t NewProjectMethod(TMainDoc* doc, const unsigned char* name, const unsigned char* comment, TObjQz** out);
