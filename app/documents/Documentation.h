// The state of a printing run shared by the printed documentation and the
// printed object lists: the open document, its page, the height used on
// the page and the page number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/PrintEmulation.h"

extern int16_t P_CrtHeight;
extern int16_t P_PageTop;  // the first height below the header of the page
extern int16_t P_NoPage;
extern MyPrintContextRecord* P_Context;
extern platform::Rect P_PageRect;  // the printable page

class TMainDoc;

// Headings wait, undrawn, for the first thing placed under them, so that a
// heading never ends its page. A line held is `height` high and drawn by
// `draw` (given its top) once placed; a null `draw` holds an empty line.
void HoldHeadingLine(int16_t height, std::function<void(int16_t top)> draw);
// Places the held lines at P_CrtHeight before `height` of what they head
// is placed below them: first on a new page (`doc` turns it) when they and
// it do not fit above the bottom margin, unless they would begin the page.
// Held lines taller together than a page are placed line by line, each
// heading on the page of the first thing below it, none past the margin.
// A height of 0: nothing follows them (the print ends).
void PlaceHeldHeadings(TMainDoc* doc, int32_t height);
// The height of the held lines.
int32_t HeldHeadingsHeight();
// Forgets the held lines (a print begins).
void DropHeldHeadings();

// The documentation body that the program writes without the styled text
// converter: the 4-byte layout word, a 32-bit text length and the text
// (padded to even), then empty style blocks. False (and empty text) when
// the bytes do not hold what they announce.
bool ReadPlainDocBody(const uint8_t* bytes, size_t size, std::string* text);
platform::Handle MakePlainDocBody(const std::string& text);
