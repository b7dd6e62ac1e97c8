// Theme drawing: the one look of this platform's widgets (buttons, menus,
// frames, separators, scroll bars and tracks), its colours and metrics,
// and the saving and restoring of the drawing state around it. Everything
// draws into the current port in its local coordinates.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/drawing/ThemeText.h"

namespace platform {

// ThemeDrawState and its values come with the theme's text.

using ThemeButtonKind = uint16_t;
enum : ThemeButtonKind {
    kThemePushButton = 0,
    kThemeCheckBox = 1,
    kThemeRadioButton = 2,
    kThemePopupButton = 5,
    kThemeSmallBevelButton = 8,
    kThemeListHeaderButton = 10,
    kThemeSmallCheckBox = 13,
    kThemeSmallRadioButton = 14,
};

using ThemeButtonValue = uint16_t;
enum : ThemeButtonValue { kThemeButtonOff = 0, kThemeButtonOn = 1, kThemeButtonMixed = 2 };

using ThemeButtonAdornment = uint16_t;
enum : ThemeButtonAdornment {
    kThemeAdornmentNone = 0,
    kThemeAdornmentDefault = 1,
    kThemeAdornmentFocus = 4,
    kThemeAdornmentRightToLeft = 16,
    kThemeAdornmentDrawIndicatorOnly = 32,
    kThemeAdornmentHeaderButtonLeftNeighborSelected = 64,
    kThemeAdornmentHeaderButtonRightNeighborSelected = 128,
    kThemeAdornmentHeaderButtonSortUp = 256,
};

struct ThemeButtonDrawInfo {
    ThemeDrawState state;
    ThemeButtonValue value;
    ThemeButtonAdornment adornment;
};

// Callbacks: erasing the background under a button; drawing its label in
// the rectangle the theme leaves for it; drawing a menu title or item's
// content.
using ThemeEraseProcPtr = void (*)(const Rect* bounds, uint32_t eraseData, int16_t depth, Boolean isColorDev);
using ThemeButtonDrawProcPtr = void (*)(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                                        uintptr_t userData, int16_t depth, Boolean isColorDev);
using MenuTitleDrawingProcPtr = void (*)(const Rect* bounds, int16_t depth, Boolean isColorDev, uintptr_t userData);
using MenuItemDrawingProcPtr = void (*)(const Rect* bounds, int16_t depth, Boolean isColorDev, uintptr_t userData);
using ThemeEraseUPP = ThemeEraseProcPtr;
using ThemeButtonDrawUPP = ThemeButtonDrawProcPtr;
using MenuTitleDrawingUPP = MenuTitleDrawingProcPtr;
using MenuItemDrawingUPP = MenuItemDrawingProcPtr;
inline ThemeButtonDrawUPP NewThemeButtonDrawUPP(ThemeButtonDrawProcPtr p) { return p; }
inline void DisposeThemeButtonDrawUPP(ThemeButtonDrawUPP) {}
inline ThemeEraseUPP NewThemeEraseUPP(ThemeEraseProcPtr p) { return p; }
inline void DisposeThemeEraseUPP(ThemeEraseUPP) {}

// Buttons: `previous` (may be null) is the state drawn before; the result
// does not depend on it. Without an erase procedure nothing is erased.
OSStatus DrawThemeButton(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                         const ThemeButtonDrawInfo* previous, ThemeEraseUPP eraseProc, ThemeButtonDrawUPP labelProc,
                         uintptr_t userData);
// The label's place in a button of that kind, as given to the label procedure.
OSStatus GetThemeButtonContentBounds(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                                     Rect* content);

// Menus.
using ThemeMenuBarState = uint16_t;
enum : ThemeMenuBarState { kThemeMenuBarNormal = 0, kThemeMenuBarSelected = 1 };
using ThemeMenuState = uint16_t;
enum : ThemeMenuState { kThemeMenuActive = 0, kThemeMenuSelected = 1, kThemeMenuDisabled = 3 };
using ThemeMenuType = uint16_t;
enum : ThemeMenuType {
    kThemeMenuTypePullDown = 0,
    kThemeMenuTypePopUp = 1,
    kThemeMenuTypeHierarchical = 2,
    kThemeMenuTypeInactive = 0x100,
};
using ThemeMenuItemType = uint16_t;
enum : ThemeMenuItemType {
    kThemeMenuItemPlain = 0,
    kThemeMenuItemHierarchical = 1,
    kThemeMenuItemScrollUpArrow = 2,
    kThemeMenuItemScrollDownArrow = 3,
    kThemeMenuItemNoBackground = 0x4000,
};
OSStatus DrawThemeMenuBarBackground(const Rect* bounds, ThemeMenuBarState state, uint32_t attributes);
OSStatus DrawThemeMenuTitle(const Rect* menuBarRect, const Rect* titleRect, ThemeMenuState state,
                            uint32_t attributes, MenuTitleDrawingUPP titleProc, uintptr_t titleData);
OSStatus DrawThemeMenuBackground(const Rect* menuRect, ThemeMenuType menuType);
OSStatus DrawThemeMenuItem(const Rect* menuRect, const Rect* itemRect, int16_t virtualMenuTop,
                           int16_t virtualMenuBottom, ThemeMenuState state, ThemeMenuItemType itemType,
                           MenuItemDrawingUPP drawProc, uintptr_t userData);
OSStatus DrawThemeMenuSeparator(const Rect* itemRect);
// The colour for a menu's text in that state (0x00RRGGBB).
uint32_t ThemeMenuTextColor(ThemeMenuState state, bool title);

// Frames and separators.
OSStatus DrawThemeEditTextFrame(const Rect* bounds, ThemeDrawState state);
OSStatus DrawThemeSeparator(const Rect* bounds, ThemeDrawState state);

// Scroll bars and tracks.
using ThemeTrackEnableState = uint8_t;
enum : ThemeTrackEnableState {
    kThemeTrackActive = 0,
    kThemeTrackDisabled = 1,
    kThemeTrackNothingToScroll = 2,
    kThemeTrackInactive = 3,
};
using ThemeTrackPressState = uint8_t;
enum : ThemeTrackPressState {
    kThemeLeftOutsideArrowPressed = 0x01,
    kThemeLeftInsideArrowPressed = 0x02,
    kThemeLeftTrackPressed = 0x04,
    kThemeThumbPressed = 0x08,
    kThemeRightTrackPressed = 0x10,
    kThemeRightInsideArrowPressed = 0x20,
    kThemeRightOutsideArrowPressed = 0x40,
};
using ThemeTrackKind = uint16_t;
enum : ThemeTrackKind {
    kThemeScrollBar = 0,
    kThemeSmallScrollBar = 1,
    kThemeSlider = 2,
    kThemeProgressBar = 3,
    kThemeIndeterminateBar = 4,
};
using ThemeTrackAttributes = uint16_t;
enum : ThemeTrackAttributes {
    kThemeTrackHorizontal = 1,
    kThemeTrackRightToLeft = 2,
    kThemeTrackShowThumb = 4,
    kThemeTrackThumbRgnIsNotGhost = 8,
    kThemeTrackNoScrollBarArrows = 16,
};
struct ScrollBarTrackInfo {
    int32_t viewsize;  // 0: a thumb of fixed length
    ThemeTrackPressState pressState;
};
struct ThemeTrackDrawInfo {
    ThemeTrackKind kind;
    Rect bounds;
    int32_t min;
    int32_t max;
    int32_t value;
    uint32_t reserved;
    ThemeTrackAttributes attributes;
    ThemeTrackEnableState enableState;
    uint8_t filler1;
    union {
        ScrollBarTrackInfo scrollbar;
        uint8_t progressPhase;
    } trackInfo;
};
// Draws an arrow at each end of the bar; *trackBounds gets what lies between.
OSStatus DrawThemeScrollBarArrows(const Rect* bounds, ThemeTrackEnableState enableState,
                                  ThemeTrackPressState pressState, Boolean isHorizontal, Rect* trackBounds);
// A ghost region (may be null) is outlined as the thumb being dragged.
OSStatus DrawThemeTrack(const ThemeTrackDrawInfo* info, RgnHandle ghost, ThemeEraseUPP eraseProc, uintptr_t eraseData);
// Where the thumb of a scroll bar or slider track lies.
bool GetThemeTrackThumbRect(const ThemeTrackDrawInfo* info, Rect* thumb);

using ThemeScrollBarThumbStyle = uint16_t;
using ThemeScrollBarArrowStyle = uint16_t;
enum : ThemeScrollBarThumbStyle { kThemeScrollBarThumbNormal = 0, kThemeScrollBarThumbProportional = 1 };
enum : ThemeScrollBarArrowStyle { kThemeScrollBarArrowsSingle = 0, kThemeScrollBarArrowsLowerRight = 1 };
OSStatus GetThemeScrollBarThumbStyle(ThemeScrollBarThumbStyle* style);
OSStatus GetThemeScrollBarArrowStyle(ThemeScrollBarArrowStyle* style);

// Colours and metrics.
using ThemeBrush = int16_t;
enum : ThemeBrush {
    kThemeBrushDialogBackgroundActive = 1,
    kThemeBrushDialogBackgroundInactive = 2,
    kThemeBrushAlertBackgroundActive = 3,
    kThemeBrushAlertBackgroundInactive = 4,
    kThemeBrushModelessDialogBackgroundActive = 5,
    kThemeBrushModelessDialogBackgroundInactive = 6,
    kThemeBrushUtilityWindowBackgroundActive = 7,
    kThemeBrushUtilityWindowBackgroundInactive = 8,
    kThemeBrushListViewSortColumnBackground = 9,
    kThemeBrushListViewBackground = 10,
    kThemeBrushIconLabelBackground = 11,
    kThemeBrushListViewSeparator = 12,
    kThemeBrushChasingArrows = 13,
    kThemeBrushDragHilite = 14,
    kThemeBrushDocumentWindowBackground = 15,
    kThemeBrushFinderWindowBackground = 16,
    kThemeBrushFocusHighlight = 19,
    kThemeBrushButtonFaceActive = 29,
    kThemeBrushButtonFaceInactive = 30,
    kThemeBrushButtonFacePressed = 31,
    kThemeBrushAlternatePrimaryHighlightColor = -5,
    kThemeBrushSecondaryHighlightColor = -4,
    kThemeBrushPrimaryHighlightColor = -3,
    kThemeBrushBlack = -2,
    kThemeBrushWhite = -1,
};
constexpr OSStatus themeInvalidBrushErr = -30562;
constexpr OSStatus themeHasNoAccentsErr = -30563;
OSStatus SetThemeBackground(ThemeBrush brush, int16_t depth, Boolean isColorDev);
OSStatus GetThemeBrushAsColor(ThemeBrush brush, int16_t depth, Boolean isColorDev, RGBColor* color);
// This look has no accent colours: themeHasNoAccentsErr.
OSStatus GetThemeAccentColors(CTabHandle* colors);

using ThemeMetric = uint32_t;
enum : ThemeMetric {
    kThemeMetricScrollBarWidth = 0,
    kThemeMetricSmallScrollBarWidth = 1,
    kThemeMetricCheckBoxHeight = 2,
    kThemeMetricRadioButtonHeight = 3,
    kThemeMetricEditTextWhitespace = 4,
    kThemeMetricEditTextFrameOutset = 5,
    kThemeMetricListBoxFrameOutset = 6,
    kThemeMetricFocusRectOutset = 7,
    kThemeMetricPushButtonHeight = 19,
    kThemeMetricListHeaderHeight = 20,
    kThemeMetricSmallCheckBoxHeight = 21,
    kThemeMetricDisclosureTriangleWidth = 26,
    kThemeMetricPopupButtonHeight = 30,
    kThemeMetricSmallRadioButtonHeight = 36,
};
// paramErr for a metric this look does not define.
OSStatus GetThemeMetric(ThemeMetric metric, int32_t* value);

// The drawing state: pen, colours, background pattern and text settings of
// the current port.
struct OpaqueThemeDrawingState;
using ThemeDrawingState = OpaqueThemeDrawingState*;
OSStatus GetThemeDrawingState(ThemeDrawingState* state);
OSStatus SetThemeDrawingState(ThemeDrawingState state, Boolean disposeNow);
OSStatus DisposeThemeDrawingState(ThemeDrawingState state);
// Plain pen, black on white, white background pattern, text in or mode.
OSStatus NormalizeThemeDrawingState();

}  // namespace platform
