// Reading documentation into a text-edit record: the objects' own
// documentation resources (version 1 through the document hooks' body
// reader, and the older stream form tagged 'HECO'), and texts kept as
// 'TEXT' with an optional 'styl' scrap in a resource file of the platform.
//
// Stream form (read only), big-endian 32-bit values unless said:
//  off   size  field
//   0     4    'HECO'                      other: nothing read
//   4     4    128                         other: nothing read
//   8     4    N, style scrap length       past the end: damaged
//  12     N    style scrap: a 16-bit count and 20-byte elements; an
//              element whose face byte (10) is 0 takes byte 11 as its face
//  12+N   4    X, text length              past the end, or 32,768 and up: damaged
//  16+N   X    text, Mac Roman
//  16+N+X 16   selection point h, v; selection start and end (left out:
//              the selection stays where the insertion put it)
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/textedit/TextEdit.h"

// Whether `type` names an object's documentation: 'GRHE', 'CCHE', 'BAHE',
// 'QzHE', 'FOHE', 'FIHE', 'MEHE', 'IHHE' and those beginning with 'H','E'.
bool IsDocumentationType(uint32_t type);

// Reads documentation `type` `id`: documentation types from the current
// store container (the whole record first takes font 1, bold, size 9),
// 'TEXT' and 'styl' from the platform resource file `resFile`. 0; the
// body reader's refusal (1003) or -108 with the text as it was.
int16_t GetTe(platform::TEHandle te, int16_t resFile, uint32_t type, int16_t id);

// The stream form alone, from its first byte.
int16_t ReadDocStream(const uint8_t* bytes, size_t size, platform::TEHandle te);
// Inserts text at the selection with the runs of a style scrap (the
// scrap's faces fixed as the stream form says); a damaged scrap leaves the
// text in the style where it lands.
int16_t InsertStyledText(platform::TEHandle te, const uint8_t* text, size_t length, const uint8_t* scrap,
                         size_t scrapSize);
