// The vocabulary shared by painters and looks: which look, which widget
// part in which state, and the standard colour, font, behaviour, pattern
// and transfer-mode selectors. Values are stored and passed as they are;
// each look reads them as its tables say.
#pragma once

#include <cstdint>

#include "toolbox/foundation/Colors.h"  // StdColor (0 to 65)

// 1 Mac, 2 and 3 Windows, 4 to 6 theme, 7 Mac; a painter only ever has 3
// or 5.
using StdLook = int16_t;
// 0 to 7: menu, small menu, control, small control, label, list and
// default text, views, system.
using StdFont = int16_t;
// 0 to 12: layout questions (scroll bar width, thumb length...).
using StdBehaviour = int16_t;

enum StdFontIndex : StdFont {
    kStdFontMenu = 0,
    kStdFontSmallMenu = 1,
    kStdFontControl = 2,
    kStdFontSmallControl = 3,
    kStdFontLabel = 4,
    kStdFontDefault = 5,
    kStdFontViews = 6,
    kStdFontSystem = 7,
};

// The widget part a look paints (0 to 44).
using PaintMethod = int16_t;
enum PaintMethodIndex : PaintMethod {
    kPaintPanel = 0,
    kPaintSeparatorLine = 1,
    kPaintCaptionPanel = 2,
    kPaintListLine = 3,
    kPaintEditField = 4,
    kPaintMenuItem = 5,
    kPaintSmallMenuItem = 6,
    kPaintMenuSeparator = 7,
    kPaintMenuTitle = 8,
    kPaintPushButton = 9,
    kPaintFlatButton = 10,
    kPaintButtonTitle = 11,
    kPaintRadioButton = 12,
    kPaintCheckBox = 13,
    kPaintGrip = 14,
    kPaintCentredSeparator = 15,
    kPaintRaisedEdge = 16,
    kPaintSunkenEdge = 17,
    kPaintEtchedFrame = 18,
    kPaintHScrollTrack = 19,
    kPaintVScrollTrack = 20,
    kPaintHScrollThumb = 21,
    kPaintVScrollThumb = 22,
    kPaintScrollBarBackground = 23,
    kPaintSplitBar = 24,
    kPaintSplitBarOther = 25,
    kPaintScrollArrowLeft = 26,
    kPaintScrollArrowRight = 27,
    kPaintScrollArrowUp = 28,
    kPaintScrollArrowDown = 29,
    kPaintDropDownArrow = 30,
    kPaintDarkFill = 31,
    kPaintPopUpBox = 32,
    kPaintPopUpText = 33,
    kPaintPopUpEditField = 34,
    kPaintPopUpTextOther = 35,
    kPaintWholeScrollBar = 36,
    kPaintMenuBarBackground = 37,
    kPaintUnused = 38,
    kPaintListHeaderItem = 39,
    kPaintListHeaderItem2 = 40,
    kPaintListHeaderItem3 = 41,
    kPaintSortArrowUp = 42,
    kPaintSortArrowDown = 43,
    kPaintHeaderCell = 44,
    kPaintLastMethod = 44,
};

// The state of the part.
using PaintStatus = int16_t;
enum PaintStatusValue : PaintStatus {
    kStatusNormal = 0,
    kStatusOn = 1,
    kStatusMixed = 2,
    kStatusButton3 = 3,
    kStatusButton4 = 4,
    kStatusButton5 = 5,
    kStatusPushed = -100,
    kStatusPushedOn = -99,
    kStatusNoFace = -98,
    kStatusPushedMixed = -97,
    kStatusDisabled = -96,
    kStatusDisabledOn = -95,
    kStatusDisabledMixed = -94,
    kStatusInactive = -93,
};

inline bool IsOnStatus(PaintStatus s) { return s == kStatusOn || s == kStatusPushedOn || s == kStatusDisabledOn; }
inline bool IsMixedStatus(PaintStatus s)
{
    return s == kStatusMixed || s == kStatusPushedMixed || s == kStatusDisabledMixed;
}
inline bool IsDisabledStatus(PaintStatus s) { return uint16_t(s + 96) <= 2; }

// Standard 8 x 8 patterns (0 to 12); any other value leaves a pattern as
// it was.
using PatternStyle = int16_t;
enum PatternStyleIndex : PatternStyle {
    kPatternWhite = 0,
    kPatternLightGrey = 2,
    kPatternGrey = 3,
    kPatternDarkGrey = 4,
    kPatternBlack = 6,
    kPatternHorizontal = 7,
    kPatternVertical = 8,
    kPatternGrid = 9,
    kPatternRising = 10,
    kPatternFalling = 11,
    kPatternCross = 12,
};

// How shapes and text combine with what is under them: 0 copy, 1 or,
// 2 xor, 8 or.
using TransferMode = int16_t;
enum TransferModeValue : TransferMode {
    kTransferCopy = 0,
    kTransferOr = 1,
    kTransferXor = 2,
    kTransferOr8 = 8,
};

// The colour long that marks a colour not known (never a real colour).
constexpr uint32_t kNoColor = 0xFFFFFFFFu;
