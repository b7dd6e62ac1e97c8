#include "platform/core/Errors.h"
#include "platform/drawing/Rects.h"
#include "platform/theme/Theme.h"
#include "platform/theme/ThemeRecording.h"
#include "platform/theme/ThemePaint.h"

namespace platform {

using namespace theme;

uint32_t ThemeMenuTextColor(ThemeMenuState state, bool title)
{
    // The theme's text colours for menus, as the theme text gives them.
    ThemeTextColor color = state == kThemeMenuSelected   ? kThemeTextColorMenuItemSelected
                           : state == kThemeMenuDisabled ? kThemeTextColorMenuItemDisabled
                                                         : kThemeTextColorMenuItemActive;
    if (title) color = ThemeTextColor(color - (kThemeTextColorMenuItemActive - kThemeTextColorRootMenuActive));
    RGBColor c{};
    if (GetThemeTextColor(color, 32, true, &c) != noErr) return kBlack;
    return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

OSStatus DrawThemeMenuBarBackground(const Rect* bounds, ThemeMenuBarState, uint32_t)
{
    if (!bounds) return paramErr;
    ReportThemeCall({"DrawThemeMenuBarBackground", *bounds, 0, 0, 0, 0, 0, 0, 0});
    PaintScope scope;
    Fill(*bounds, kWhite);
    Line(bounds->left, int16_t(bounds->bottom - 1), int16_t(bounds->right - 1), int16_t(bounds->bottom - 1), kBlack);
    return noErr;
}

OSStatus DrawThemeMenuTitle(const Rect* menuBarRect, const Rect* titleRect, ThemeMenuState state, uint32_t,
                            MenuTitleDrawingUPP titleProc, uintptr_t titleData)
{
    if (!menuBarRect || !titleRect) return paramErr;
    ReportThemeCall({"DrawThemeMenuTitle", *titleRect, 0, state, 0, 0, 0, 0, 0});
    {
        PaintScope scope;
        // The title's band, above the bar's bottom line.
        Rect band{menuBarRect->top, titleRect->left, int16_t(menuBarRect->bottom - 1), titleRect->right};
        Fill(band, state == kThemeMenuSelected ? kSelection : kWhite);
    }
    if (titleProc) titleProc(titleRect, 32, true, titleData);
    return noErr;
}

OSStatus DrawThemeMenuBackground(const Rect* menuRect, ThemeMenuType)
{
    if (!menuRect) return paramErr;
    PaintScope scope;
    Fill(*menuRect, kWhite);
    Frame(*menuRect, kEdge);
    return noErr;
}

OSStatus DrawThemeMenuItem(const Rect* menuRect, const Rect* itemRect, int16_t, int16_t, ThemeMenuState state,
                           ThemeMenuItemType itemType, MenuItemDrawingUPP drawProc, uintptr_t userData)
{
    if (!menuRect || !itemRect) return paramErr;
    ReportThemeCall({"DrawThemeMenuItem", *itemRect, itemType, state, 0, 0, 0, 0, 0});
    // Items stay inside the menu's frame.
    Rect item = *itemRect;
    Rect inside = *menuRect;
    InsetRect(&inside, 1, 1);
    SectRect(&item, &inside, &item);
    const uint16_t type = uint16_t(itemType & 0xFF);
    {
        PaintScope scope;
        if (!(itemType & kThemeMenuItemNoBackground)) Fill(item, state == kThemeMenuSelected ? kSelection : kWhite);
        const uint32_t mark = ThemeMenuTextColor(state, false);
        if (type == kThemeMenuItemHierarchical) {
            Rect arrow{item.top, int16_t(item.right - 14), item.bottom, int16_t(item.right - 4)};
            Triangle(arrow, Direction::Right, 9, mark);
        } else if (type == kThemeMenuItemScrollUpArrow || type == kThemeMenuItemScrollDownArrow) {
            Triangle(item, type == kThemeMenuItemScrollUpArrow ? Direction::Up : Direction::Down, 9, mark);
        }
    }
    if (drawProc && (type == kThemeMenuItemPlain || type == kThemeMenuItemHierarchical)) {
        Rect content = item;
        content.left = int16_t(content.left + 2);
        if (type == kThemeMenuItemHierarchical) content.right = int16_t(content.right - 16);
        drawProc(&content, 32, true, userData);
    }
    return noErr;
}

OSStatus DrawThemeMenuSeparator(const Rect* itemRect)
{
    if (!itemRect) return paramErr;
    PaintScope scope;
    const int16_t v = int16_t((itemRect->top + itemRect->bottom) / 2);
    Line(int16_t(itemRect->left + 1), v, int16_t(itemRect->right - 2), v, kEdgeInactive);
    return noErr;
}

}  // namespace platform
