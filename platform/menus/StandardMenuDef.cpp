// Our menu definition: items in one column (mark, icon, text, command key
// or submenu arrow), drawn with the theme.
#include <algorithm>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/menus/MenuRecord.h"
#include "platform/menus/MenuText.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "platform/theme/Theme.h"
#include "platform/theme/ThemePaint.h"

namespace platform {
namespace {

using namespace menus;

constexpr int16_t kBorder = 3;        // frame and padding above and below the items
constexpr int16_t kSeparatorHeight = 8;
constexpr int16_t kMarkColumn = 16;
constexpr int16_t kIconSide = 16;
constexpr int16_t kKeyGap = 20;
constexpr int16_t kCommandGlyph = 11;
constexpr int16_t kArrowColumn = 16;

// The command key's sign and the check and diamond marks, 9 x 9.
const char* const kCommandArt[9] = {
    ".XX...XX.", "X..X.X..X", "X..X.X..X", ".XXXXXXX.", "...X.X...",
    ".XXXXXXX.", "X..X.X..X", "X..X.X..X", ".XX...XX.",
};
const char* const kCheckArt[9] = {
    "........X", ".......XX", "......XX.", "X....XX..", "XX..XX...",
    ".XXXX....", "..XX.....", ".........", ".........",
};
const char* const kDiamondArt[9] = {
    "....X....", "...XXX...", "..XXXXX..", ".XXXXXXX.", "XXXXXXXXX",
    ".XXXXXXX.", "..XXXXX..", "...XXX...", "....X....",
};

void DrawArt(const char* const art[9], int16_t left, int16_t top, uint32_t rgb)
{
    for (int16_t r = 0; r < 9; ++r)
        for (int16_t c = 0; c < 9; ++c)
            if (art[r][c] == 'X')
                theme::Fill(Rect{int16_t(top + r), int16_t(left + c), int16_t(top + r + 1), int16_t(left + c + 1)}, rgb);
}

bool IsSeparator(const MenuItemRecord& item) { return item.text == "-"; }

int16_t LineHeight()
{
    const MenuFontMetrics m = MenuMetrics();
    return int16_t(m.ascent + m.descent + m.leading + 4);
}

int16_t ItemHeight(const MenuItemRecord& item)
{
    if (IsSeparator(item)) return kSeparatorHeight;
    return std::max<int16_t>(LineHeight(), item.icon ? int16_t(kIconSide + 2) : 0);
}

// A menu taller than the screen shows part of its items between two
// scroll zones of one line each.
bool Clipped(MenuRef menu) { return menu->height >= 0 && menu->contentHeight + 2 * kBorder > menu->height; }
int16_t ZoneHeight(MenuRef menu) { return Clipped(menu) ? LineHeight() : 0; }

// The item's offset from the menu's top, as scrolled.
int16_t ItemOffset(MenuRef menu, MenuItemIndex item)
{
    int16_t v = int16_t(kBorder + ZoneHeight(menu) - menu->scroll);
    for (MenuItemIndex i = 1; i < item && i <= menu->items.size(); ++i) v = int16_t(v + ItemHeight(menu->items[i - 1]));
    return v;
}

// Where items show: between the scroll zones.
Rect ContentRect(MenuRef menu, const Rect& menuRect)
{
    return Rect{int16_t(menuRect.top + kBorder + ZoneHeight(menu)), menuRect.left,
                int16_t(menuRect.bottom - kBorder - ZoneHeight(menu)), menuRect.right};
}

bool CanScrollUp(MenuRef menu) { return Clipped(menu) && menu->scroll > 0; }
bool CanScrollDown(MenuRef menu)
{
    return Clipped(menu) && menu->contentHeight - menu->scroll > menu->height - 2 * kBorder - 2 * ZoneHeight(menu);
}

Rect ItemRect(MenuRef menu, const Rect& menuRect, MenuItemIndex item)
{
    const int16_t top = int16_t(menuRect.top + ItemOffset(menu, item));
    return Rect{top, menuRect.left, int16_t(top + ItemHeight(menu->items[item - 1])), menuRect.right};
}

std::string KeyText(uint8_t cmd) { return std::string(1, char(cmd)); }

bool ShowsKey(const MenuItemRecord& item) { return item.cmd > 0x20 && !SubmenuOf(item); }

void MeasureMenu(MenuRef menu)
{
    int16_t textWidth = 0, keyWidth = 0, height = 0;
    bool anyIcon = false, anySub = false;
    for (const MenuItemRecord& item : menu->items) {
        height = int16_t(height + ItemHeight(item));
        if (IsSeparator(item)) continue;
        textWidth = std::max(textWidth, MenuTextWidth(item.text, item.style));
        if (item.icon) anyIcon = true;
        if (SubmenuOf(item)) anySub = true;
        if (ShowsKey(item)) keyWidth = std::max<int16_t>(keyWidth, int16_t(kCommandGlyph + MenuTextWidth(KeyText(item.cmd), 0)));
    }
    int16_t width = int16_t(1 + kMarkColumn + (anyIcon ? kIconSide + 4 : 0) + textWidth + 8);
    if (keyWidth) width = int16_t(width + kKeyGap + keyWidth);
    if (anySub) width = int16_t(width + kArrowColumn);
    const int16_t titleWidth = int16_t(MenuTextWidth(menu->title, 0) + 18);
    menu->width = std::max<int16_t>(std::max(width, titleWidth), 40);
    // No taller than the screen below the menu bar.
    const Rect screen = ScreenBounds();
    const int16_t room = int16_t(screen.bottom - screen.top - GetMBarHeight() - 4);
    menu->contentHeight = height;
    menu->scroll = 0;
    menu->height = std::min<int16_t>(int16_t(height + 2 * kBorder), room);
}

struct ItemDrawing {
    const MenuRecord* menu;
    const MenuItemRecord* item;
    ThemeMenuState state;
    Rect itemRect;
};

void DrawIcon(uint8_t icon, int16_t left, int16_t top)
{
    Handle h = GetResource(FourCC("ICON"), int16_t(256 + icon - 1));
    if (!h || !*h || GetHandleSize(h) < 128) return;
    HLock(h);
    BitMap bits;
    bits.baseAddr = *h;
    bits.rowBytes = 4;
    bits.bounds = Rect{0, 0, 32, 32};
    GrafPtr port = GetQDGlobalsThePort();
    const Rect from{0, 0, 32, 32};
    const Rect to{top, left, int16_t(top + kIconSide), int16_t(left + kIconSide)};
    CopyBits(&bits, GetPortBitMapForCopyBits(port), &from, &to, srcOr, nullptr);
    HUnlock(h);
}

void DrawItemContent(const Rect* bounds, int16_t, Boolean, uintptr_t data)
{
    const auto& d = *reinterpret_cast<const ItemDrawing*>(data);
    const MenuItemRecord& item = *d.item;
    const uint32_t color = ThemeMenuTextColor(d.state, false);
    const MenuFontMetrics m = MenuMetrics();
    const int16_t height = int16_t(d.itemRect.bottom - d.itemRect.top);
    const int16_t baseline = int16_t(d.itemRect.top + (height - m.ascent - m.descent) / 2 + m.ascent);
    const int16_t artTop = int16_t(d.itemRect.top + (height - 9) / 2);
    int16_t h = int16_t(d.itemRect.left + 4);
    if (item.mark && !SubmenuOf(item)) {
        theme::PaintScope scope;
        if (item.mark == checkMark) DrawArt(kCheckArt, h, artTop, color);
        else if (item.mark == diamondMark) DrawArt(kDiamondArt, h, artTop, color);
        else DrawMenuText(std::string(1, char(item.mark)), 0, h, baseline, color);
    }
    h = int16_t(d.itemRect.left + 1 + kMarkColumn);
    if (item.icon) {
        DrawIcon(item.icon, h, int16_t(d.itemRect.top + (height - kIconSide) / 2));
        h = int16_t(h + kIconSide + 4);
    } else if (std::any_of(d.menu->items.begin(), d.menu->items.end(), [](const MenuItemRecord& i) { return i.icon; })) {
        h = int16_t(h + kIconSide + 4);
    }
    DrawMenuText(item.text, item.style, h, baseline, color);
    if (ShowsKey(item)) {
        const std::string key = KeyText(item.cmd);
        const int16_t keyLeft = int16_t(bounds->right - 8 - MenuTextWidth(key, 0));
        {
            theme::PaintScope scope;
            DrawArt(kCommandArt, int16_t(keyLeft - kCommandGlyph), artTop, color);
        }
        DrawMenuText(key, 0, keyLeft, baseline, color);
    }
}

// Keeps drawing inside a rectangle of the current port.
class ClipScope {
public:
    explicit ClipScope(const Rect& r) : saved_(NewRgn())
    {
        if (saved_) GetClip(saved_);
        RgnHandle clip = NewRgn();
        if (clip) {
            RectRgn(clip, &r);
            if (saved_) SectRgn(clip, saved_, clip);
            SetClip(clip);
            DisposeRgn(clip);
        }
    }
    ~ClipScope()
    {
        if (saved_) {
            SetClip(saved_);
            DisposeRgn(saved_);
        }
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    RgnHandle saved_;
};

void DrawItem(MenuRef menu, const Rect& menuRect, MenuItemIndex index, bool hilited)
{
    ClipScope clip(ContentRect(menu, menuRect));
    const MenuItemRecord& item = menu->items[index - 1];
    const Rect r = ItemRect(menu, menuRect, index);
    if (IsSeparator(item)) {
        theme::PaintScope scope;
        Rect inside = r;
        InsetRect(&inside, 1, 0);
        theme::Fill(inside, theme::kWhite);
        DrawThemeMenuSeparator(&r);
        return;
    }
    const bool enabled = Offered(menu, index);
    ItemDrawing d{menu, &item, hilited && enabled ? kThemeMenuSelected : enabled ? kThemeMenuActive : kThemeMenuDisabled, r};
    DrawThemeMenuItem(&menuRect, &r, menuRect.top, menuRect.bottom, d.state,
                      SubmenuOf(item) ? kThemeMenuItemHierarchical : kThemeMenuItemPlain, DrawItemContent,
                      reinterpret_cast<uintptr_t>(&d));
}

void DrawZones(MenuRef menu, const Rect& menuRect)
{
    if (!Clipped(menu)) return;
    const int16_t zone = ZoneHeight(menu);
    const Rect up{int16_t(menuRect.top + kBorder), menuRect.left, int16_t(menuRect.top + kBorder + zone), menuRect.right};
    const Rect down{int16_t(menuRect.bottom - kBorder - zone), menuRect.left, int16_t(menuRect.bottom - kBorder),
                    menuRect.right};
    DrawThemeMenuItem(&menuRect, &up, menuRect.top, menuRect.bottom, kThemeMenuActive,
                      CanScrollUp(menu) ? kThemeMenuItemScrollUpArrow : kThemeMenuItemPlain, nullptr, 0);
    DrawThemeMenuItem(&menuRect, &down, menuRect.top, menuRect.bottom, kThemeMenuActive,
                      CanScrollDown(menu) ? kThemeMenuItemScrollDownArrow : kThemeMenuItemPlain, nullptr, 0);
}

void DrawItems(MenuRef menu, const Rect& menuRect)
{
    const Rect content = ContentRect(menu, menuRect);
    for (MenuItemIndex i = 1; i <= menu->items.size(); ++i) {
        const Rect r = ItemRect(menu, menuRect, i);
        if (r.bottom > content.top && r.top < content.bottom) DrawItem(menu, menuRect, i, false);
    }
    DrawZones(menu, menuRect);
}

// The mouse resting on a scroll zone moves the items one item at each
// poll. True when the mouse is on a zone (no item is selected then).
bool Scroll(MenuRef menu, const Rect& menuRect, Point hit)
{
    const int16_t zone = ZoneHeight(menu);
    const bool onUp = hit.v < menuRect.top + kBorder + zone;
    const bool onDown = hit.v >= menuRect.bottom - kBorder - zone;
    if (!onUp && !onDown) return false;
    int16_t step = 0;
    if (onUp && CanScrollUp(menu)) {
        // Back to the top of the item above the first fully shown one.
        int16_t top = 0;
        for (const MenuItemRecord& item : menu->items) {
            if (top + ItemHeight(item) >= menu->scroll) break;
            top = int16_t(top + ItemHeight(item));
        }
        step = int16_t(top - menu->scroll);
    } else if (onDown && CanScrollDown(menu)) {
        int16_t top = 0;
        for (const MenuItemRecord& item : menu->items) {
            top = int16_t(top + ItemHeight(item));
            if (top > menu->scroll) break;
        }
        const int16_t visible = int16_t(menu->height - 2 * kBorder - 2 * zone);
        step = int16_t(std::min<int32_t>(top, menu->contentHeight - visible) - menu->scroll);
    }
    if (step) {
        menu->scroll = int16_t(menu->scroll + step);
        const Rect inside{int16_t(menuRect.top + 1), int16_t(menuRect.left + 1), int16_t(menuRect.bottom - 1),
                          int16_t(menuRect.right - 1)};
        {
            theme::PaintScope scope;
            theme::Fill(inside, theme::kWhite);
        }
        DrawItems(menu, menuRect);
    }
    return true;
}

void PlacePopUp(MenuRef menu, Rect* menuRect, Point hit, MenuItemIndex item)
{
    if (menu->width < 0 || menu->height < 0) MeasureMenu(menu);
    const int16_t top = hit.h, left = hit.v;
    const int16_t offset = (item >= 1 && item <= menu->items.size()) ? ItemOffset(menu, item) : 0;
    Rect r{int16_t(top - offset), left, int16_t(top - offset + menu->height), int16_t(left + menu->width)};
    const Rect screen = ScreenBounds();
    const int16_t screenTop = int16_t(screen.top + GetMBarHeight());
    const int16_t width = menu->width, height = menu->height;
    if (width < screen.right - screen.left - 4) {
        if (r.left < screen.left + 2) OffsetRect(&r, int16_t(screen.left + 2 - r.left), 0);
        else if (r.right > screen.right - 2) OffsetRect(&r, int16_t(screen.right - 2 - r.right), 0);
    } else {
        r.left = int16_t(screen.left + 2);
        r.right = int16_t(screen.right - 2);
    }
    // The whole menu stays on the screen, below the menu bar.
    if (height < screen.bottom - screenTop - 4) {
        if (r.bottom > screen.bottom - 2) OffsetRect(&r, 0, int16_t(screen.bottom - 2 - r.bottom));
        if (r.top < screenTop + 2) OffsetRect(&r, 0, int16_t(screenTop + 2 - r.top));
    } else {
        r.top = int16_t(screenTop + 2);
        r.bottom = int16_t(screen.bottom - 2);
    }
    *menuRect = r;
}

}  // namespace

void StandardMenuDef(int16_t message, MenuRef menu, Rect* menuRect, Point hit, int16_t* whichItem)
{
    switch (message) {
    case kMenuDrawMsg:
        menu->scroll = 0;
        DrawThemeMenuBackground(menuRect, kThemeMenuTypePullDown);
        DrawItems(menu, *menuRect);
        break;
    case kMenuSizeMsg:
        MeasureMenu(menu);
        break;
    case kMenuPopUpMsg:
        PlacePopUp(menu, menuRect, hit, MenuItemIndex(*whichItem));
        break;
    case kMenuThemeSavvyMsg:
        *whichItem = kThemeSavvyMenuResponse;
        break;
    case kMenuFindItemMsg: {
        auto* data = reinterpret_cast<MenuTrackingData*>(whichItem);
        data->itemSelected = 0;
        data->itemUnderMouse = 0;
        data->itemRect = Rect{0, 0, 0, 0};
        if (!PtInRect(hit, menuRect)) break;
        if (Clipped(menu) && Scroll(menu, *menuRect, hit)) break;
        for (MenuItemIndex i = 1; i <= menu->items.size(); ++i) {
            const Rect r = ItemRect(menu, *menuRect, i);
            if (hit.v < r.top || hit.v >= r.bottom) continue;
            const MenuItemRecord& item = menu->items[i - 1];
            data->itemUnderMouse = i;
            data->itemRect = r;
            if (Offered(menu, i) && !IsSeparator(item)) data->itemSelected = i;
            break;
        }
        break;
    }
    case kMenuHiliteItemMsg: {
        const auto* data = reinterpret_cast<const HiliteMenuItemData*>(whichItem);
        if (data->previousItem >= 1 && data->previousItem <= menu->items.size())
            DrawItem(menu, *menuRect, data->previousItem, false);
        if (data->newItem >= 1 && data->newItem <= menu->items.size()) DrawItem(menu, *menuRect, data->newItem, true);
        break;
    }
    default:
        break;
    }
}

}  // namespace platform
