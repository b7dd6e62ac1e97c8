// Theme text: Unicode strings drawn, measured and cut in the theme's fonts
// (or the current port's font), and the theme's text colours.
//
//   font                         family            size  style
//   system, views, menus, push   0 "Lucida Grande"  12   plain
//   button, window titles
//   emphasized, alert header     0                  12   bold
//   small system, label, mini    0                  10   plain
//   small emphasized             0                  10   bold
//   application                  1 (Geneva)         12   plain
//   current port (200)           the port's font, size and face
//
// Strings are UTF-16; lines end at a return or line feed, and are wrapped
// at spaces when asked.
#pragma once

#include <string>

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/drawing/TextLayout.h"

namespace platform {

using OSStatus = int32_t;
using ThemeFontID = uint16_t;
constexpr ThemeFontID kThemeSystemFont = 0;
constexpr ThemeFontID kThemeSmallSystemFont = 1;
constexpr ThemeFontID kThemeSmallEmphasizedSystemFont = 2;
constexpr ThemeFontID kThemeViewsFont = 3;
constexpr ThemeFontID kThemeEmphasizedSystemFont = 4;
constexpr ThemeFontID kThemeApplicationFont = 5;
constexpr ThemeFontID kThemeLabelFont = 6;
constexpr ThemeFontID kThemeMenuTitleFont = 100;
constexpr ThemeFontID kThemeMenuItemFont = 101;
constexpr ThemeFontID kThemeMenuItemMarkFont = 102;
constexpr ThemeFontID kThemeMenuItemCmdKeyFont = 103;
constexpr ThemeFontID kThemeWindowTitleFont = 104;
constexpr ThemeFontID kThemePushButtonFont = 105;
constexpr ThemeFontID kThemeUtilityWindowTitleFont = 106;
constexpr ThemeFontID kThemeAlertHeaderFont = 107;
constexpr ThemeFontID kThemeMiniSystemFont = 109;
constexpr ThemeFontID kThemeCurrentPortFont = 200;

using ThemeDrawState = uint32_t;
constexpr ThemeDrawState kThemeStateInactive = 0;
constexpr ThemeDrawState kThemeStateActive = 1;
constexpr ThemeDrawState kThemeStatePressed = 2;

// Justification of a text box.
constexpr int16_t teFlushDefault = 0;
constexpr int16_t teCenter = 1;
constexpr int16_t teFlushRight = -1;
constexpr int16_t teFlushLeft = -2;

using ThemeTextColor = int16_t;
constexpr ThemeTextColor kThemeTextColorWhite = -2;
constexpr ThemeTextColor kThemeTextColorBlack = -1;
constexpr ThemeTextColor kThemeTextColorDialogActive = 1;
constexpr ThemeTextColor kThemeTextColorDialogInactive = 2;
constexpr ThemeTextColor kThemeTextColorDocumentWindowTitleActive = 23;
constexpr ThemeTextColor kThemeTextColorDocumentWindowTitleInactive = 24;
constexpr ThemeTextColor kThemeTextColorRootMenuActive = 31;
constexpr ThemeTextColor kThemeTextColorRootMenuSelected = 32;
constexpr ThemeTextColor kThemeTextColorRootMenuDisabled = 33;
constexpr ThemeTextColor kThemeTextColorMenuItemActive = 34;
constexpr ThemeTextColor kThemeTextColorMenuItemSelected = 35;
constexpr ThemeTextColor kThemeTextColorMenuItemDisabled = 36;
constexpr ThemeTextColor kThemeTextColorSystemDetail = 48;

constexpr OSStatus themeInvalidFontErr = -30248;  // not a theme font
constexpr OSStatus themeBadTextColorErr = -30242;

// Family name, size and style of a theme font.
OSStatus GetThemeFont(ThemeFontID fontID, ScriptCode script, Str255 outFontName, int16_t* outFontSize,
                      Style* outStyle);

// Size of the text: width of its widest line by the lines' height. With
// wrapping, ioBounds->h on entry is the width to wrap to. outBaseline (may
// be null) is the base line of the last line from the bottom (negative).
OSStatus GetThemeTextDimensions(const std::u16string& text, ThemeFontID fontID, ThemeDrawState state,
                                Boolean wrapToWidth, Point* ioBounds, int16_t* outBaseline);
// Draws the text in the box with the port's fore colour, clipped to it.
OSStatus DrawThemeTextBox(const std::u16string& text, ThemeFontID fontID, ThemeDrawState state,
                          Boolean wrapToWidth, const Rect* box, int16_t just, void* context);
// Cuts the text to fit the width, with an ellipsis where it was cut.
OSStatus TruncateThemeText(std::u16string* text, ThemeFontID fontID, ThemeDrawState state, int16_t pixelWidthLimit,
                           TruncCode truncWhatWhere, Boolean* outTruncated);
// Inactive and disabled text is grey, selected menu text white, the rest
// black.
OSStatus GetThemeTextColor(ThemeTextColor color, int16_t depth, Boolean isColorDevice, RGBColor* outColor);

}  // namespace platform
