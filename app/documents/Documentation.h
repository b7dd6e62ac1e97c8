// The state of a printing run shared by the printed documentation and the
// printed object lists: the open document, its page, the height used on
// the page and the page number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/PrintEmulation.h"

extern int16_t P_CrtHeight;
extern int16_t P_PageTop;  // the first height below the header of the page
extern int16_t P_NoPage;
extern MyPrintContextRecord* P_Context;
extern platform::Rect P_PageRect;  // the printable page

// The documentation body that the program writes without the styled text
// converter: the 4-byte layout word, a 32-bit text length and the text
// (padded to even), then empty style blocks. False (and empty text) when
// the bytes do not hold what they announce.
bool ReadPlainDocBody(const uint8_t* bytes, size_t size, std::string* text);
platform::Handle MakePlainDocBody(const std::string& text);
