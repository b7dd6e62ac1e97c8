// Tracking open menus with the mouse, and keyboard equivalents.
#include <algorithm>
#include <new>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Backend.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"
#include "platform/events/Modals.h"
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
// by its definition. Memory running out throws, for the entry point to
// close every menu.
bool Show(MenuRef menu, const Rect& rect)
{
    OpenMenu m;
    m.menu = menu;
    m.rect = rect;
    if (const OSErr err = NewGWorld(&m.world, 32, &rect, nullptr, nullptr, 0); err != noErr) {
        if (err == memFullErr) throw std::bad_alloc();
        return false;
    }
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
        throw;
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

// Where the mouse is in the open menus: the menu and item selected under
// it (none outside every menu), and the item under it even when it cannot
// be chosen.
struct Hover {
    MenuRef menu = nullptr;
    MenuItemIndex item = 0;
    MenuItemIndex under = 0;
};

// One look at the mouse: a title of the bar under it opens its menu, an
// item under it is selected (its submenu opened), outside every menu the
// deepest one gives up its selection.
Hover Follow(Point p, bool withBar)
{
    TrackState& s = Track();
    if (withBar) {
        MenuRef title = BarMenuAt(p);
        if (title && title != s.open.front().menu) {
            CloseFrom(0);
            OpenPullDown(title);
            return {};
        }
    }
    // The deepest open menu under the mouse.
    int level = -1;
    for (int i = int(s.open.size()) - 1; i >= 0; --i)
        if (PtInRect(p, &s.open[size_t(i)].rect)) {
            level = i;
            break;
        }
    if (level < 0) {
        // Outside every menu: the deepest menu gives up its selection
        // unless that selection holds an open submenu.
        OpenMenu& m = s.open.back();
        const MenuItemRecord* item = Item(m.menu, m.selected);
        if (m.selected && !(item && SubmenuOf(*item))) {
            HiliteMenuItemData h{m.selected, 0};
            Message(m, kMenuHiliteItemMsg, p, reinterpret_cast<int16_t*>(&h));
            m.selected = 0;
        }
        return {};
    }
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
    return {s.open[size_t(level)].menu, s.open[size_t(level)].selected, data.itemUnderMouse};
}

enum class NextClick { Dismissed, InMenu, OnOtherTitle };

// A menu left open by a click on its title: the mouse is followed with the
// button up until the next press. A press in an open menu goes on as a
// press there; on another title it opens that menu; on the open menu's
// title or anywhere else it closes the menu with no choice (the click is
// spent). Escape and Command-period close it too, and so does a quit.
NextClick WaitForNextClick(bool withBar, Hover* hover)
{
    TrackState& s = Track();
    constexpr uint32_t kSleep = 15;  // a moved mouse ends it sooner
    // The release that left the menu open is spent: the next press is
    // followed until its own release.
    FlushEvents(mUpMask, 0);
    for (;;) {
        if (ModalMustCancel() || s.open.empty()) return NextClick::Dismissed;
        Point p;
        GetGlobalMouse(&p);
        *hover = Follow(p, withBar);
        EventRecord e{};
        if (!WaitNextEvent(mDownMask | keyDownMask | autoKeyMask, &e, kSleep, nullptr)) continue;
        if (e.what == mouseDown) {
            MenuRef title = withBar ? BarMenuAt(e.where) : nullptr;
            if (title) return title == s.open.front().menu ? NextClick::Dismissed : NextClick::OnOtherTitle;
            for (const OpenMenu& m : s.open)
                if (PtInRect(e.where, &m.rect)) return NextClick::InMenu;
            return NextClick::Dismissed;
        }
        const uint8_t ch = uint8_t(e.message & charCodeMask);
        if (ch == 0x1B || ((e.modifiers & cmdKey) && ch == '.')) return NextClick::Dismissed;
    }
}

// Follows the mouse through the open menus until the button comes up. A
// pull-down whose title was clicked and let go there stays open until the
// next click.
int32_t TrackOpenMenus(bool withBar)
{
    TrackState& s = Track();
    Hover hover;
    bool down = true;
    bool mayStay = withBar;
    while (!s.open.empty()) {
        while (down && !s.open.empty()) {
            Point p;
            GetGlobalMouse(&p);
            hover = Follow(p, withBar);
            down = StillDown() && !RunEnded();
        }
        if (s.open.empty() || !mayStay || hover.menu || RunEnded()) break;
        const Point up = MouseReleasePoint();
        if (BarMenuAt(up) != s.open.front().menu) break;
        const NextClick next = WaitForNextClick(withBar, &hover);
        if (next == NextClick::Dismissed) {
            hover = {};
            break;
        }
        // A press on another title may leave that menu open in its turn.
        mayStay = next == NextClick::OnOtherTitle;
        down = true;
    }
    CloseFrom(0);
    s.lastChoice = 0;
    if (!hover.menu) return 0;
    const MenuItemRecord* item = Item(hover.menu, hover.item);
    if (!item || SubmenuOf(*item) || !Offered(hover.menu, hover.item)) {
        if (!hover.item && hover.under) s.lastChoice = (int32_t(hover.menu->id) << 16) | hover.under;
        return 0;
    }
    return Answer(hover.menu, hover.item);
}

// The pull-down menus from a press at `start`, tracked to the choice.
int32_t SelectFrom(Point start)
{
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

// The entry points that track open menus: memory running out while they
// are open closes them, the screen under them given back; nothing is
// chosen, and MemError() says why.
template <class F>
int32_t Guarded(F&& track)
{
    try {
        const int32_t choice = track();
        SetMemError(noErr);
        return choice;
    } catch (const std::bad_alloc&) {
        menus::ResetMenuTracking();
        SetMemError(memFullErr);
        return 0;
    }
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
    return Guarded([&] { return SelectFrom(start); });
}

int32_t MenuChoice() { return Track().lastChoice; }

int32_t PopUpMenuSelect(MenuRef menu, int16_t top, int16_t left, MenuItemIndex item)
{
    if (!IsMenu(menu)) return 0;
    CloseFrom(0);
    Track().lastChoice = 0;
    return Guarded([&]() -> int32_t {
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
    });
}

int32_t MenuKey(CharParameter ch)
{
    Track().lastChoice = 0;
    const uint8_t wanted = RomanUppercase(uint8_t(ch));
    std::vector<MenuRef> all = BarMenus();
    // A modal's keys reach the bar's editing commands alone.
    if (!CurrentModal()) all.insert(all.end(), SubMenus().begin(), SubMenus().end());
    int32_t disabledChoice = 0;
    for (MenuRef m : all) {
        for (MenuItemIndex i = 1; i <= m->items.size(); ++i) {
            const MenuItemRecord& item = m->items[i - 1];
            if (item.cmd <= 0x20 || SubmenuOf(item) || RomanUppercase(item.cmd) != wanted) continue;
            if (!Offered(m, i)) {
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
