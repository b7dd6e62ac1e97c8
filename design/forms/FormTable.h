// A table's form table 'TFQz' and the structure's tables as the kernel's
// form code sees them, for the operations of a form object.
//
// 'TFQz', big-endian:
//   off size
//    0   2   count of forms
//    2   2   a form position      4  2  another (both kept within the count)
//    6   ..  per form 270 bytes: name (length byte, 31 characters) at 0,
//            form id at 32, menu bar number at 34, form method id at 40
// Bytes after the last entry are kept as they are.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"

class TMainDoc;
class TObjQz;

constexpr int32_t kFormTableHeader = 6, kFormEntrySize = 270, kFormEntryIdAt = 32, kFormEntryNameMax = 31;

// The entry (0-based) of form id `formId`, -1 when none; only the entries
// the bytes hold and the count claims are looked at.
int32_t FindFormEntry(const std::vector<uint8_t>& table, int16_t formId);
// The table without entry `index`: what follows it moves up by one entry,
// the count goes down by one and each position larger than the new count
// becomes it. The table as it is for an index it does not hold.
std::vector<uint8_t> WithoutFormEntry(const std::vector<uint8_t>& table, int32_t index);
// The table with entry `index` named `name`, cut to 31 characters.
std::vector<uint8_t> WithFormName(const std::vector<uint8_t>& table, int32_t index, const unsigned char* name);

// The 'TFQz' id of a table (its 'FIQz' at 4) in the current file; -1 when
// none.
int16_t FormTableIdOf(TObjQz* table);

// The kernel's records of the document's tables (Init_ef) while it lives:
// the document's container current for the kernel (numresfalse), the
// previous one back after.
class DocTables {
public:
    explicit DocTables(TMainDoc* doc);
    ~DocTables();
    DocTables(const DocTables&) = delete;
    DocTables& operator=(const DocTables&) = delete;

private:
    int16_t savedContainer_;
    int16_t savedFile_;
    platform::Handle savedParams_;
};
