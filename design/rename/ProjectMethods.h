// Project methods made by the browser's commands, and their directory
// records when they go.
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

// Takes the method's record out of its document's 'TPQz' 0 and commits.
// Inside MethodRecordsLeaveTogether the record is only noted.
void RemoveMethodRecord(TMainDoc* doc, int16_t id);

// Project methods deleted together (a component's): their records leave
// 'TPQz' 0 in one rewrite, when the outermost scope ends, rather than one
// rewrite of the whole directory each.
class MethodRecordsLeaveTogether {
public:
    MethodRecordsLeaveTogether();
    ~MethodRecordsLeaveTogether();
    MethodRecordsLeaveTogether(const MethodRecordsLeaveTogether&) = delete;
    MethodRecordsLeaveTogether& operator=(const MethodRecordsLeaveTogether&) = delete;
};
