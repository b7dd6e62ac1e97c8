// The classic 120-byte print record, big-endian:
//   0 version        2 device      4 vertical and 6 horizontal resolution
//   8 page rectangle (top, left, bottom, right)    16 paper rectangle
//  24 style: device 2, paper height 2 and width 2 (1/120 inch), port 1, feed 1
//  32 a second copy of the information at 2..15
//  46 band information (16 bytes)
//  62 job: first page 2, last page 2, copies 2, loop 1, from user 1,
//     idle procedure 4, file name 4, file volume 2, file version 1, extra 1
//  82 19 extension words
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/printing/PrintObjects.h"

namespace platform {

constexpr int16_t kOldPrintRecordVersion = 3;
constexpr uint16_t kOldPrintLastPageAll = 9999;

void MakeOldPrintRecord(const PMSettingsObject& settings, const PMFormatObject& format, uint8_t record[120]);
// Reads any 120 bytes into valid settings and page format: each field out
// of range or at odds with the others takes its default.
void ReadOldPrintRecord(const uint8_t record[120], PMSettingsObject* settings, PMFormatObject* format);

}  // namespace platform
