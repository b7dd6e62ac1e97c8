// The record put beside objects copied to the clipboard ('ObLQ', 16
// bytes): u16 1; u32 the source file's token; u32 0; u32 0; u16 the source
// form id. The token is this run's number (high word) and the file's
// number in the resource store (low word): the clipboard outlives the run
// and is read by other programs, so it never carries an address, and a
// record of another run names no file.
#pragma once

#include <cstdint>

constexpr int32_t kSourceRecordSize = 16;

// Not 0, fixed for the run.
uint16_t ScrapRunNumber();
void MakeSourceRecord(int16_t fileNumber, int16_t formId, uint8_t out[kSourceRecordSize]);
// The open file the record names, 0 when it names none (another size or
// version, another run, a file closed since); *formId its form id.
int16_t SourceRecordFile(const uint8_t* record, int32_t size, int16_t* formId);
// Tests: the run number to use from now on.
void SetScrapRunNumber(uint16_t number);
