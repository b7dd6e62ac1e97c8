// The colour menu: a menu definition showing the application palette
// (palette 2000) as a grid of swatches, one item per colour. The grid is
// set by the number of colours: 16 or 256; any other number gives a menu
// of size 0 and no swatches.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/menus/Menus.h"

// Draws with the item in *whichItem selected.
constexpr int16_t kColorMenuDrawSelectedMsg = 0x4247;

void CustomColorMenu(int16_t message, platform::MenuRef menu, platform::Rect* menuRect, platform::Point hitPt,
                     int16_t* whichItem);
// The colour submenu `id` with this definition; null when memory runs out.
platform::MenuRef NewColorMenu(int16_t id);

// The grid the swatches are laid out in.
struct ColorGrid {
    int16_t colorsWide = 0, colorsHigh = 0;  // columns and rows
    int16_t hGap = 0, vGap = 0;              // between swatches
    int16_t hMargin = 0, vMargin = 0;        // around them
    int16_t itemWidth = 0, itemHeight = 0;   // one swatch
};
// The process-wide grid, set by the number of colours.
extern ColorGrid gColorGrid;

// The process-wide number of colours (256 unless a test says otherwise).
void SetColorMenuColors(int16_t numColors);
int16_t ColorMenuColors();

void CalcColorMSize(int16_t* width, int16_t* height);
platform::Rect CalcColorRect(int16_t item, const platform::Rect* menuRect);
int16_t FindColorItem(platform::Point where, const platform::Rect* menuRect);
void DrawColors(int16_t selected, const platform::Rect* menuRect);
void HiliteColorItem(int16_t item, const platform::Rect* menuRect);
