// Forms in the older flat layout: a version byte 13, a page count, then
// each page's records (a type word, the record, its trailing parts) up to
// a type word 0.
#pragma once

#include <vector>

#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

struct FormRecord {
    FormItemSpec::Kind kind = FormItemSpec::Field;
    std::string name, text;
    bool interprocess = false;
    uint8_t objectKind = 0;
    int16_t balloon = 0;
    int16_t listId = 0;       // 0: none
    int16_t methodId = 0;     // object method, 0: none
    int16_t fieldNumber = 0;
    int16_t tableNumber = 0;
    int16_t subformTable = 0;
};

struct FormContext {
    const TableSpec* table = nullptr;
    int16_t tableNumber = 0;
    std::vector<FormRecord> records;
};

// One page holding the records top to bottom, in the order given (type
// words, names and patterns are bytes in both orders).
Bytes FlatForm(const std::vector<FormRecord>& records, ByteOrder order = ByteOrder::Big);

}  // namespace docbuilder
