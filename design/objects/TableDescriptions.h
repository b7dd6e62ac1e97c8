// The kernel's descriptions of a structure's tables, for the form code:
// each a copy of the table's 'FIQz' (never the loaded resource itself)
// with its form table and its subtables' descriptions beside it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/MacTypes.h"

struct TabCrit {
    TabCrit() = default;
    ~TabCrit();
    TabCrit(const TabCrit&) = delete;
    TabCrit& operator=(const TabCrit&) = delete;

    platform::Handle def = nullptr;         // the 'FIQz' bytes, big-endian
    platform::Handle formTable = nullptr;   // its 'TFQz', or null
    // Per field entry: the subtable's description (type 7 fields), or null.
    std::vector<std::unique_ptr<TabCrit>> subtables;

    int16_t TableNumber() const;
    void SetTableNumber(int16_t number);
};

// One of the kernel's table records: the description and the working
// values it starts with.
struct TableRecord {
    std::unique_ptr<TabCrit> description;
    int32_t word4 = 0;
    uint8_t byte8 = 0;
    int32_t value10 = -1;
    int32_t value14 = 0;
    int32_t value22 = 0;
    int16_t word26 = 0;
    int16_t word28 = 0;
};

// The structure parameters 'PRQz' 0 of the open document (a copy), and the
// table records: record n for table n, record 0 unused.
extern platform::Handle hparam;
extern std::vector<TableRecord> ef;

// Loads the description of 'FIQz' `id` from the current file into *out.
// A missing resource stops the loading where it is met: the part loaded
// stays in *out and the store's error is answered. A subtable chain deeper
// than kMaxDescriptionDepth (a table holding itself) stops the same way
// with mapReadErr.
constexpr int32_t kMaxDescriptionDepth = 16;
int16_t _lirecrit(std::unique_ptr<TabCrit>* out, int16_t id);
// Loads hparam and one record per table of the current file; stops at the
// first table that cannot be loaded and answers its error.
int16_t Init_ef();
void DisposeTableRecords();
