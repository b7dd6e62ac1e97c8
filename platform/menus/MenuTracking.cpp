// Tracking open menus with the mouse, and keyboard equivalents.
#include <algorithm>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Backend.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/menus/MenuRecord.h"
#include "platform/screen/Screen.h"
#include "platform/text/RomanCase.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace {

using namespace menus;

struct OpenMenu {
    MenuRef menu = nullptr;
    GWorldPtr world = nullptr;
    Rect rect{0, 0, 0, 0};
    MenuItemIndex selected = 0;
};

struct TrackState {
    std::vector<OpenMenu> open;
    int32_t lastChoice = 0;
};

TrackState& Track()
{
    static auto* state = new TrackState;
    return *state;
}

// Runs a definition message with the menu's world as the current port.
void Message(OpenMenu& m, int16_t message, Point hit, int16_t* whichItem)
{
    CGrafPtr savePort;
    GDHandle saveDevice;
    GetGWorld(&savePort, &saveDevice);
    if (m.world) SetGWorld(m.world, nullptr);
    CallDefinition(m.menu, message, &m.rect, hit, whichItem);
    SetGWorld(savePort, saveDevice);
}

void Close(OpenMenu& m)
{
    if (m.world) {
        RemoveMenuLayer(m.world);
        DisposeGWorld(m.world);
    }
    m.world = nullptr;
}

void CloseFrom(size_t level)
{
    auto& open = Track().open;
    while (open.size() > level) {
        Close(open.back());
        open.pop_back();
    }
}

// Shows a menu in `rect` (global): its own world in the menu layer, drawn
// by its definition.
bool Show(MenuRef menu, const Rect& rect)
{
    OpenMenu m;
    m.menu = menu;
    m.rect = rect;
    if (NewGWorld(&m.world, 32, &rect, nullptr, nullptr, 0) != noErr) return false;
    // A definition that does not draw with the theme gets the theme's
    // background under its drawing.
    int16_t savvy = 0;
    Message(m, kMenuThemeSavvyMsg, Point{0, 0}, &savvy);
    if (savvy != kThemeSavvyMenuResponse) {
        CGrafPtr savePort;
        GDHandle saveDevice;
        GetGWorld(&savePort, &saveDevice);
        SetGWorld(m.world, nullptr);
        DrawThemeMenuBackground(&rect, kThemeMenuTypePullDown);
        SetGWorld(savePort, saveDevice);
    }
    Message(m, kMenuDrawMsg, Point{0, 0}, nullptr);
    AddMenuLayer(m.world, Point{rect.top, rect.left});
    try {
        Track().open.push_back(m);
    } catch (...) {
        Close(m);
        return false;
    }
    return true;
}

void EnsureSize(MenuRef menu)
{
    if (menu->width < 0 || menu->height < 0) CalcMenuSize(menu);
}

// Keeps a rectangle of that size on the screen below the menu bar.
Rect FitOnScreen(Rect r)
{
    const Rect screen = ScreenBounds();
    if (r.right > screen.right) OffsetRect(&r, int16_t(screen.right - r.right), 0);
    if (r.left < screen.left) OffsetRect(&r, int16_t(screen.left - r.left), 0);
    if (r.bottom > screen.bottom) OffsetRect(&r, 0, int16_t(screen.bottom - r.bottom));
    if (r.top < GetMBarHeight()) OffsetRect(&r, 0, int16_t(GetMBarHeight() - r.top));
    return r;
}

bool OpenPullDown(MenuRef menu)
{
    Rect title;
    if (!GetMenuTitleRect(menu->id, &title)) return false;
    HiliteMenu(menu->id);
    EnsureSize(menu);
    const int16_t top = GetMBarHeight();
    return Show(menu, FitOnScreen(Rect{top, title.left, int16_t(top + menu->height), int16_t(title.left + menu->width)}));
}

void OpenSubmenu(const OpenMenu& parent, const Rect& itemRect, MenuID id)
{
    MenuRef sub = GetMenuHandle(id);
    if (!sub || sub == parent.menu) return;
    for (const OpenMenu& o : Track().open)
        if (o.menu == sub) return;  // a menu cannot be open twice
    EnsureSize(sub);
    Rect r{int16_t(itemRect.top - 3), int16_t(parent.rect.right - 2), 0, 0};
    r.bottom = int16_t(r.top + sub->height);
    r.right = int16_t(r.left + sub->width);
    if (r.right > ScreenBounds().right) OffsetRect(&r, int16_t(parent.rect.left + 2 - sub->width - r.left), 0);
    Show(sub, FitOnScreen(r));
}

MenuRef BarMenuAt(Point p)
{
    for (MenuRef m : BarMenus()) {
        Rect title;
        if (GetMenuTitleRect(m->id, &title) && PtInRect(p, &title)) return m;
    }
    return nullptr;
}

bool RunEnded()
{
    Backend* b = CurrentBackend();
    return b && b->Ended();
}

// What a finished choice answers: the Quit item posts the quit event.
int32_t Answer(MenuRef menu, MenuItemIndex item)
{
    if (menu->quitItem && item == menu->quitItem) {
        PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
        return 0;
    }
    return (int32_t(menu->id) << 16) | item;
}

// Follows the mouse through the open menus until the button comes up.
int32_t TrackOpenMenus(bool withBar)
{
    TrackState& s = Track();
    MenuRef releasedMenu = nullptr;
    MenuItemIndex releasedItem = 0, releasedUnder = 0;
    bool down = true;
    while (down && !s.open.empty()) {
        Point p;
        GetGlobalMouse(&p);
        if (withBar) {
            MenuRef title = BarMenuAt(p);
            if (title && title != s.open.front().menu) {
                CloseFrom(0);
                OpenPullDown(title);
                continue;
            }
        }
        // The deepest open menu under the mouse.
        int level = -1;
        for (int i = int(s.open.size()) - 1; i >= 0; --i)
            if (PtInRect(p, &s.open[size_t(i)].rect)) {
                level = i;
                break;
            }
        releasedMenu = nullptr;
        releasedItem = releasedUnder = 0;
        if (level >= 0) {
            OpenMenu& m = s.open[size_t(level)];
            MenuTrackingData data{m.menu, m.selected, 0, Rect{0, 0, 0, 0}, m.rect.top, m.rect.bottom};
            Message(m, kMenuFindItemMsg, p, reinterpret_cast<int16_t*>(&data));
            if (data.itemSelected != m.selected) {
                CloseFrom(size_t(level) + 1);
                HiliteMenuItemData h{m.selected, data.itemSelected};
                Message(m, kMenuHiliteItemMsg, p, reinterpret_cast<int16_t*>(&h));
                m.selected = data.itemSelected;
                if (const MenuItemRecord* item = Item(m.menu, m.selected))
                    if (MenuID sub = SubmenuOf(*item)) OpenSubmenu(s.open[size_t(level)], data.itemRect, sub);
            }
            releasedMenu = s.open[size_t(level)].menu;
            releasedItem = s.open[size_t(level)].selected;
            releasedUnder = data.itemUnderMouse;
        } else {
            // Outside every menu: the deepest menu gives up its selection
            // unless that selection holds an open submenu.
            OpenMenu& m = s.open.back();
            const MenuItemRecord* item = Item(m.menu, m.selected);
            if (m.selected && !(item && SubmenuOf(*item))) {
                HiliteMenuItemData h{m.selected, 0};
                Message(m, kMenuHiliteItemMsg, p, reinterpret_cast<int16_t*>(&h));
                m.selected = 0;
            }
        }
        down = StillDown() && !RunEnded();
    }
    CloseFrom(0);
    s.lastChoice = 0;
    if (!releasedMenu) return 0;
    const MenuItemRecord* item = Item(releasedMenu, releasedItem);
    if (!item || SubmenuOf(*item)) {
        if (!releasedItem && releasedUnder) s.lastChoice = (int32_t(releasedMenu->id) << 16) | releasedUnder;
        return 0;
    }
    return Answer(releasedMenu, releasedItem);
}

}  // namespace

namespace menus {

void ResetMenuTracking()
{
    CloseFrom(0);
    Track().lastChoice = 0;
    HiliteMenu(0);
}

}  // namespace menus

int32_t MenuSelect(Point start)
{
    CloseFrom(0);
    Track().lastChoice = 0;
    MenuRef first = BarMenuAt(start);
    // Pressed in the bar between titles: wait for the mouse to reach one.
    while (!first) {
        if (!StillDown() || RunEnded()) {
            HiliteMenu(0);
            return 0;
        }
        Point p;
        GetGlobalMouse(&p);
        first = BarMenuAt(p);
    }
    if (!OpenPullDown(first)) return 0;
    const int32_t result = TrackOpenMenus(true);
    if (!result) HiliteMenu(0);
    return result;
}

int32_t MenuChoice() { return Track().lastChoice; }

int32_t PopUpMenuSelect(MenuRef menu, int16_t top, int16_t left, MenuItemIndex item)
{
    if (!IsMenu(menu)) return 0;
    CloseFrom(0);
    Track().lastChoice = 0;
    EnsureSize(menu);
    Rect rect{0, 0, 0, 0};
    int16_t which = int16_t(item);
    OpenMenu probe;
    probe.menu = menu;
    Message(probe, kMenuPopUpMsg, Point{left, top}, &which);
    rect = probe.rect;
    if (EmptyRect(&rect)) return 0;
    if (!Show(menu, rect)) return 0;
    return TrackOpenMenus(false);
}

int32_t MenuKey(CharParameter ch)
{
    Track().lastChoice = 0;
    const uint8_t wanted = RomanUppercase(uint8_t(ch));
    std::vector<MenuRef> all = BarMenus();
    all.insert(all.end(), SubMenus().begin(), SubMenus().end());
    int32_t disabledChoice = 0;
    for (MenuRef m : all) {
        for (MenuItemIndex i = 1; i <= m->items.size(); ++i) {
            const MenuItemRecord& item = m->items[i - 1];
            if (item.cmd <= 0x20 || SubmenuOf(item) || RomanUppercase(item.cmd) != wanted) continue;
            if (!m->enabled || !item.enabled) {
                if (!disabledChoice) disabledChoice = (int32_t(m->id) << 16) | i;
                continue;
            }
            if (m->quitItem != i) HiliteMenu(m->id);
            return Answer(m, i);
        }
    }
    Track().lastChoice = disabledChoice;
    return 0;
}

}  // namespace platform
