// Text files: those the program writes for people (exported lists,
// reports) and those it reads (scripts, declarations, templates). Text
// kept inside documents is Mac Roman and ends its lines with a carriage
// return; a text file on this platform is UTF-8 and ends them with a line
// feed. Every text file the program writes passes through here, so this is
// the one place that decides its encoding and how its lines end; a text
// file read may end its lines with CR, LF or CR LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

// How a line of a text file the program writes ends.
inline constexpr char kTextFileLineEnd = '\n';

// `size` bytes of Mac Roman text whose lines end as the documents end them
// (CR, or CR LF) as a text file's here: UTF-8, lines ended by LF.
std::string TextFileLines(const void* text, size_t size);

// FSWrite of Mac Roman text as a text file's. `count` stays the number of
// bytes given when they are all written.
OSErr FSWriteText(int16_t refNum, int64_t* count, const void* buffer);

// WriteFileAtomically of Mac Roman text as a text file's.
OSErr WriteTextFileAtomically(const std::string& path, const void* text, size_t size, uint32_t newMode = 0666);
// The same, then the file's type becomes 'TEXT' and its creator `creator`
// (0 keeps the one it has): an export or a report people open.
OSErr WriteTextDocument(const std::string& path, const void* text, size_t size, OSType creator);

// The bytes of a text read from a file before its first line end (CR or
// LF, which also begins CR LF); all of them when it has none.
size_t LineLength(const uint8_t* text, size_t size);

}  // namespace platform
