#include <algorithm>
#include <new>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/menus/MenuRecord.h"
#include "platform/menus/MenuText.h"
#include "platform/screen/Screen.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace menus {
namespace {

constexpr int16_t kFirstTitleLeft = 10;
constexpr int16_t kTitlePadding = 9;

struct BarState {
    MenuID hilited = 0;
};

BarState& Bar()
{
    static auto* state = new BarState;
    return *state;
}

struct TitleDrawing {
    const MenuRecord* menu;
    ThemeMenuState state;
};

void DrawTitleText(const Rect* bounds, int16_t, Boolean, uintptr_t data)
{
    const auto& t = *reinterpret_cast<const TitleDrawing*>(data);
    const MenuFontMetrics m = MenuMetrics();
    const int16_t width = MenuTextWidth(t.menu->title, 0);
    const int16_t h = int16_t(bounds->left + (bounds->right - bounds->left - width) / 2);
    const int16_t v = int16_t(bounds->top + (bounds->bottom - bounds->top - m.ascent - m.descent) / 2 + m.ascent);
    DrawMenuText(t.menu->title, 0, h, v, ThemeMenuTextColor(t.state, true));
}

void DrawTitle(MenuRef menu, const Rect& title, bool hilited)
{
    const Rect bar = MenuBarRect();
    TitleDrawing t{menu, hilited ? kThemeMenuSelected : Offered(menu, 0) ? kThemeMenuActive : kThemeMenuDisabled};
    DrawThemeMenuTitle(&bar, &title, t.state, 0, DrawTitleText, reinterpret_cast<uintptr_t>(&t));
}

}  // namespace

void MenuBarChanged()
{
    // The bar is ours: it is redrawn at once whenever what it shows changes.
    DrawMenuBar();
}

}  // namespace menus

using namespace menus;

bool GetMenuTitleRect(MenuID id, Rect* title)
{
    int16_t left = kFirstTitleLeft;
    for (MenuRef m : BarMenus()) {
        const int16_t width = int16_t(MenuTextWidth(m->title, 0) + 2 * kTitlePadding);
        if (m->id == id) {
            if (title) *title = Rect{0, left, int16_t(GetMBarHeight() - 1), int16_t(left + width)};
            return true;
        }
        left = int16_t(left + width);
    }
    return false;
}

void DrawMenuBar()
{
    CGrafPtr savePort;
    GDHandle saveDevice;
    GetGWorld(&savePort, &saveDevice);
    SetGWorld(GetMenuBarPort(), nullptr);
    // Memory running out leaves titles undrawn until the bar is drawn again
    // (the next title hilited): no command stops for a drawing.
    try {
        const Rect bar = MenuBarRect();
        DrawThemeMenuBarBackground(&bar, kThemeMenuBarNormal, 0);
        for (MenuRef m : BarMenus()) {
            Rect title;
            if (GetMenuTitleRect(m->id, &title)) DrawTitle(m, title, m->id == Bar().hilited);
        }
    } catch (const std::bad_alloc&) {
    }
    SetGWorld(savePort, saveDevice);
}

void InvalMenuBar() { DrawMenuBar(); }

void HiliteMenu(MenuID id)
{
    if (id && !GetMenuTitleRect(id, nullptr)) id = 0;
    if (Bar().hilited == id) return;
    Bar().hilited = id;
    DrawMenuBar();
}

MenuID HilitedMenu() { return Bar().hilited; }

void InsertMenu(MenuRef menu, MenuID beforeID)
{
    if (!IsMenu(menu)) return;
    auto& bar = BarMenus();
    auto& subs = SubMenus();
    if (std::find(bar.begin(), bar.end(), menu) != bar.end() || std::find(subs.begin(), subs.end(), menu) != subs.end())
        return;
    if (beforeID == -1) {
        subs.push_back(menu);
        return;
    }
    auto at = std::find_if(bar.begin(), bar.end(), [&](MenuRef m) { return beforeID != 0 && m->id == beforeID; });
    bar.insert(at, menu);
    DrawMenuBar();
}

void DeleteMenu(MenuID id)
{
    MenuRef menu = GetMenuHandle(id);
    if (!menu) return;
    const bool inBar = std::find(BarMenus().begin(), BarMenus().end(), menu) != BarMenus().end();
    auto drop = [&](std::vector<MenuRef>& v) { v.erase(std::remove(v.begin(), v.end(), menu), v.end()); };
    drop(BarMenus());
    drop(SubMenus());
    if (Bar().hilited == id) Bar().hilited = 0;
    if (inBar) DrawMenuBar();
}

MenuRef GetMenuHandle(MenuID id)
{
    for (MenuRef m : BarMenus())
        if (m->id == id) return m;
    for (MenuRef m : SubMenus())
        if (m->id == id) return m;
    return nullptr;
}

void ClearMenuBar()
{
    BarMenus().clear();
    SubMenus().clear();
    Bar().hilited = 0;
    DrawMenuBar();
}

}  // namespace platform
