// Fitting text to a width in the current port's font: truncation with an
// ellipsis, line breaking and the visible length of a line.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

using TruncCode = int16_t;
constexpr TruncCode truncEnd = 0;
constexpr TruncCode truncMiddle = 0x4000;
constexpr TruncCode smTruncEnd = truncEnd;
constexpr TruncCode smTruncMiddle = truncMiddle;

// Results of the truncation calls.
constexpr int16_t notTruncated = 0;
constexpr int16_t truncated = 1;
constexpr int16_t truncErr = -1;

// The Mac Roman ellipsis put where text was cut.
constexpr uint8_t kEllipsisByte = 0xC9;

// Cuts the text (at its end or in its middle) and puts an ellipsis where
// it was cut, so that it fits `width` pixels. Text too narrow for even the
// ellipsis becomes empty. Answers notTruncated, truncated or truncErr.
int16_t TruncString(int16_t width, Str255 theString, TruncCode truncWhere);
int16_t TruncText(int16_t width, Ptr textPtr, int16_t* length, TruncCode truncWhere);

// Where a line ends within one run of text [textStart, textEnd) of the
// text: on entry *textWidth is the width left on the line and *textOffset
// non-zero when the run is the first on the line.
//  - smBreakOverflow: the whole run fits; *textWidth is reduced by its
//    width and *textOffset is textEnd;
//  - smBreakWord: the line ends at *textOffset, after a word and the
//    spaces following it, or after a return (textStart: nothing of this
//    run fits);
//  - smBreakChar: no word fits on a line of its own: it is cut between
//    characters (at least one character stays on the line).
enum StyledLineBreakCode : int8_t { smBreakWord = 0, smBreakChar = 1, smBreakOverflow = 2 };
StyledLineBreakCode StyledLineBreak(Ptr textPtr, int32_t textLen, int32_t textStart, int32_t textEnd, int32_t flags,
                                    Fixed* textWidth, int32_t* textOffset);

// The length of the text without its trailing spaces, tabs and line ends.
int32_t VisibleLength(Ptr textPtr, int32_t textLength);

}  // namespace platform
