// The stored forms of styled text, as the classic text editor publishes
// them; every stored style in the system goes through here. All numbers
// are big-endian; the handle slots have no meaning once stored (written as
// zero, ignored when read): the live handles sit beside the record.
//
// Style record, 20 bytes and the runs:
//  off size
//   0   2   run count n                    below 1: damaged
//   2   2   style count (table entries)    above the table's entries: damaged
//   4   4   style table handle slot        written 0
//   8   4   line height table handle slot  written 0
//  12   4   reference constant             kept as it is
//  16   4   null style handle slot         written 0
//  20   4   run: start character (i16), style index (i16), n of them,
//           starts rising from 0 within the text, indices inside the table;
//           then one more run whose start is the text's length + 1
//
// Style table entry, 18 bytes:
//   0 2 reference count   2 2 line height   4 2 ascent   6 2 font number
//   8 1 face  9 1 (filler)  10 2 size  12 6 colour (red, green, blue)
//
// Style scrap ('styl'): a 2-byte element count, then 20-byte elements:
//   0 4 start character   4 2 line height   6 2 ascent   8 2 font number
//  10 1 face  11 1 (filler)  12 2 size  14 6 colour
// Starts rise within the text; the first run starts at 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/textedit/TextEngine.h"

namespace platform {

constexpr size_t kStyleRecordFixedSize = 20;
constexpr size_t kStyleRunSize = 4;
constexpr size_t kStyleTableEntrySize = 18;
constexpr size_t kScrapStyleElementSize = 20;

// The record for runs over a text of `length` characters.
std::vector<uint8_t> WriteStyleRecord(const std::vector<StyleRun>& runs, int32_t length, uint32_t refCon,
                                      int32_t styleCount);
std::vector<uint8_t> WriteStyleTable(const std::vector<StyleSlot>& table);

// Reads a stored record and table for a text of `length` characters.
// False, with the outputs untouched, unless the run count fits the
// record's size, the starts rise from 0 within the text, every index lies
// inside the table and the table holds the entries the record counts.
bool ReadStoredStyles(const uint8_t* record, size_t recordSize, const uint8_t* table, size_t tableSize,
                      int32_t length, std::vector<StyleRun>* runs, std::vector<StyleSlot>* slots,
                      uint32_t* refCon);

// A scrap of the fragment's runs; metrics from the engine's measure.
std::vector<uint8_t> WriteStyleScrap(const StyledFragment& fragment);
// The runs of a scrap over a text of `length` characters; false (and no
// runs) when damaged: the text then comes without styles.
bool ReadStyleScrap(const uint8_t* bytes, size_t size, int32_t length,
                    std::vector<std::pair<int32_t, TextAttributes>>* runs);

}  // namespace platform
