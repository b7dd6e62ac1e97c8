// What the kinds' printing and export share: the print style (the
// program's style 2), the line height of the current font, and the lines
// of an object's members for a row that does not show them.
#pragma once

#include <cstdint>

#include "design/objects/ObjQz.h"
#include "platform/drawing/QuickDrawTypes.h"

constexpr int16_t kPrintStyle = 2;

// The font and size of style 2 in `face`.
void UsePrintStyle(platform::StyleField face);
// Ascent + descent + leading of the current font.
int16_t CurrentLineHeight();

// The heading of `obj` (the base frame's); when contents are asked and it
// is not enciphered, `lines` lines are first kept together on the page.
// True when the contents are to follow.
bool PrintHeadingKeeping(TObjQz* obj, OutPutParmRec* options, int16_t lines);

// A member the list would show: neither hidden nor in the trash.
bool ShownMember(TObjQz* member);
// One printed line per shown member (full name and information line),
// lined at the member's level.
void PrintMemberLines(TObjQz* obj);
// The same lines exported, two spaces in; the first failed write ends them.
int16_t SaveMemberLines(TObjQz* obj, int16_t file);
