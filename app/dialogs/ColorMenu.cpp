#include "app/dialogs/ColorMenu.h"

#include <algorithm>

#include "kernel/helpers/KernelColors.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Palettes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace {

int16_t gNumColors = 256;

ColorGrid GridFor(int16_t numColors)
{
    if (numColors == 16) return ColorGrid{2, 8, 4, 4, 6, 6, 30, 15};
    if (numColors == 256) return ColorGrid{16, 16, 2, 2, 4, 4, 8, 8};
    return ColorGrid{};
}

}  // namespace

ColorGrid gColorGrid = GridFor(256);

void SetColorMenuColors(int16_t numColors)
{
    gNumColors = numColors;
    gColorGrid = GridFor(numColors);
}
int16_t ColorMenuColors() { return gNumColors; }

void CalcColorMSize(int16_t* width, int16_t* height)
{
    const ColorGrid& g = gColorGrid;
    if (g.colorsWide == 0) {
        *width = *height = 0;
        return;
    }
    *width = int16_t(2 * g.hMargin + g.colorsWide * g.itemWidth + (g.colorsWide - 1) * g.hGap);
    *height = int16_t(2 * g.vMargin + g.colorsHigh * g.itemHeight + (g.colorsHigh - 1) * g.vGap);
}

Rect CalcColorRect(int16_t item, const Rect* menuRect)
{
    const ColorGrid& g = gColorGrid;
    if (g.colorsWide == 0 || item < 1) return Rect{0, 0, 0, 0};
    const int16_t row = int16_t((item - 1) / g.colorsWide), column = int16_t((item - 1) % g.colorsWide);
    const int16_t top = int16_t(menuRect->top + g.vMargin + row * (g.itemHeight + g.vGap));
    const int16_t left = int16_t(menuRect->left + g.hMargin + column * (g.itemWidth + g.hGap));
    return Rect{top, left, int16_t(top + g.itemHeight), int16_t(left + g.itemWidth)};
}

int16_t FindColorItem(Point where, const Rect* menuRect)
{
    const ColorGrid& g = gColorGrid;
    if (g.colorsWide == 0) return 0;
    const int32_t column =
        std::min<int32_t>(std::max(0, where.h - menuRect->left - g.hMargin) / (g.itemWidth + g.hGap) + 1, g.colorsWide);
    const int32_t row =
        std::min<int32_t>(std::max(0, where.v - menuRect->top - g.vMargin) / (g.itemHeight + g.vGap) + 1, g.colorsHigh);
    return int16_t(std::min<int32_t>((row - 1) * g.colorsWide + column, gNumColors));
}

void DrawColors(int16_t selected, const Rect* menuRect)
{
    const ColorGrid& g = gColorGrid;
    if (g.colorsWide == 0) return;
    if (selected < 1 || selected > g.colorsWide * g.colorsHigh) selected = 0;
    RGBColor fore;
    GetForeColor(&fore);
    for (int16_t i = 0; i < g.colorsWide * g.colorsHigh; ++i) {
        RGBColor c;
        if (!GetEntryColor(globpalette, i, &c)) c = fore;
        RGBForeColor(&c);
        const Rect r = CalcColorRect(int16_t(i + 1), menuRect);
        PaintRect(&r);
    }
    RGBForeColor(&fore);
    if (selected) {
        Rect r = CalcColorRect(selected, menuRect);
        InsetRect(&r, -3, -3);
        PenSize(2, 2);
        FrameRect(&r);
    }
    PenNormal();
}

void HiliteColorItem(int16_t item, const Rect* menuRect)
{
    Rect r = CalcColorRect(item, menuRect);
    InsetRect(&r, -2, -2);
    PenMode(patXor);
    FrameRect(&r);
    PenMode(patCopy);
}

void CustomColorMenu(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem)
{
    switch (message) {
    case kMenuInitMsg: {
        const unsigned char space[2] = {1, ' '};
        for (int16_t i = 0; i < gNumColors; ++i) AppendMenu(menu, space);
        break;
    }
    case kMenuSizeMsg: {
        int16_t width = 0, height = 0;
        CalcColorMSize(&width, &height);
        SetMenuWidth(menu, width);
        SetMenuHeight(menu, height);
        break;
    }
    case kMenuDrawMsg:
        if (menuRect) DrawColors(0, menuRect);
        break;
    case kMenuPopUpMsg:
        // The hit point carries the wanted top in h and the left in v.
        if (menuRect) *menuRect = Rect{hitPt.h, hitPt.v, int16_t(hitPt.h + 100), int16_t(hitPt.v + 100)};
        break;
    case kMenuThemeSavvyMsg:
        if (whichItem) *whichItem = kThemeSavvyMenuResponse;
        break;
    case kMenuFindItemMsg: {
        if (!whichItem || !menuRect) break;
        auto* data = reinterpret_cast<MenuTrackingData*>(whichItem);
        const int16_t item = FindColorItem(hitPt, menuRect);
        data->itemSelected = PtInRect(hitPt, menuRect) ? MenuItemIndex(item) : 0;
        data->itemUnderMouse = MenuItemIndex(item);
        data->itemRect = CalcColorRect(item, menuRect);
        break;
    }
    case kMenuHiliteItemMsg: {
        if (!whichItem || !menuRect) break;
        const auto* data = reinterpret_cast<const HiliteMenuItemData*>(whichItem);
        if (data->previousItem == data->newItem) break;
        if (data->previousItem) HiliteColorItem(int16_t(data->previousItem), menuRect);
        if (data->newItem) HiliteColorItem(int16_t(data->newItem), menuRect);
        break;
    }
    case kColorMenuDrawSelectedMsg:
        if (whichItem && menuRect) DrawColors(*whichItem, menuRect);
        break;
    default: break;
    }
}

MenuRef NewColorMenu(int16_t id)
{
    const MenuDefSpec defSpec{kMenuDefProcPtr, CustomColorMenu};
    MenuRef menu = nullptr;
    if (CreateCustomMenu(&defSpec, id, 0, &menu) != noErr) return nullptr;
    const unsigned char blank[2] = {1, ' '};
    SetMenuTitle(menu, blank);
    return menu;
}
