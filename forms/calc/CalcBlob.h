// The object-method store: a method's calc records kept as one blob in its
// 'CCQz' resource. A calc record is the line of tokens the kernel runs.
//
// 'CCQz', big-endian:
//  off size
//   0   8   top, left, bottom, right of the method's stored rectangle
//   8   2   count, kept with its sign (|count| records follow)
//  10   ..  per record: u16 length L, then L bytes
// Record (the L bytes, also the record's handle in memory):
//   0   2   0
//   2   2   n, the token bytes
//   4   12  0
//  16   n   the tokens, then padding
// A reader takes L from 16 up, with the n token bytes inside L; the
// writer writes L = n + 18 (two zero bytes after the tokens). A record made
// in memory is 20 bytes with n = 0.
//
// Results go to the kernel error (erreure): -1 a damaged blob, else the
// resource or memory error.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

constexpr int32_t kCalcBlobHeaderSize = 10;
constexpr int32_t kCalcRecordHeaderSize = 16;
constexpr int32_t kNewCalcRecordSize = 20;
constexpr int16_t kBadCalcBlob = -1;

// Reads a blob from the cursor up to end: the records (a handle of record
// handles; null when there are none or on an error), their count with its
// sign, and the rectangle. A record of length 0, one shorter than its
// header or than its tokens, or one passing the end frees everything and
// gives kBadCalcBlob. True on success.
bool LoadCalcFromPtr(const void* data, int32_t size, platform::Handle* records, int16_t* count,
                     platform::Rect* rect);
// The records of 'CCQz' id of the current store file, with their count and
// the rectangle (rect may be null); null with erreure set when missing or
// damaged.
platform::Handle getcalc(int16_t id, int16_t* count, platform::Rect* rect);

// Writes the blob into `blob` (resized to fit); true on success.
bool SaveCalcAsBlob(const platform::Rect* rect, int16_t count, platform::Handle records, platform::Handle blob);
// The same, telling why it failed: memFullErr, or kBadCalcBlob for a damaged
// record in memory; the blob is left as it was either way.
int16_t WriteCalcBlob(const platform::Rect* rect, int16_t count, platform::Handle records, platform::Handle blob);
// Stores the records as 'CCQz' *id; id 0, or an id without a resource,
// takes a new resource of a new id and *id is updated. rect may be null
// (a zero rectangle). erreure holds the result.
void putcalc(int16_t* id, platform::Handle records, int16_t count, const platform::Rect* rect);

// A new empty record (20 bytes, no tokens); null when out of memory.
platform::Handle NewCalcRecord();
// The record handle at index (0-based) of a records handle, or null.
platform::Handle CalcRecordAt(platform::Handle records, int32_t index);

// A cursor over flat data that never moves past its end.
struct CalcCursor {
    const uint8_t* at;
    const uint8_t* end;
};
// Copies count bytes and advances; false (nothing copied) when fewer remain.
bool getcalc_getca(void* dst, int32_t count, CalcCursor* cursor);
// Appends count bytes at *offset of h, growing it; advances *offset. 0 or the memory error.
int16_t putcalc_putca(platform::Handle h, int32_t* offset, const void* src, int32_t count);
