// What a menu holds, and the manager's lists; shared by the menu
// manager's files only.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/menus/Menus.h"

namespace platform {

using MenuProperties = std::map<std::pair<OSType, OSType>, std::vector<uint8_t>>;

struct MenuItemRecord {
    std::string text;  // Mac Roman
    uint8_t icon = 0;
    uint8_t cmd = 0;
    uint8_t mark = 0;
    uint8_t style = 0;
    bool enabled = true;
    MenuID submenu = 0;  // set by SetMenuItemHierarchicalID
    MenuCommand command = 0;
    MenuProperties properties;
};

struct MenuRecord {
    MenuID id = 0;
    std::string title;
    int16_t width = -1;  // -1: not measured yet
    int16_t height = -1;
    MenuDefUPP def = nullptr;  // null: ours
    bool enabled = true;
    std::vector<MenuItemRecord> items;
    MenuProperties properties;
    MenuItemIndex quitItem = 0;  // the platform's Quit item, 0 when none
    // Our definition's view of a menu taller than the screen: the items'
    // whole height and how far they are scrolled up.
    int16_t contentHeight = 0;
    int16_t scroll = 0;
};

namespace menus {

// The menus of the bar in order, then those inserted with -1.
std::vector<MenuRef>& BarMenus();
std::vector<MenuRef>& SubMenus();
bool IsMenu(MenuRef menu);
MenuItemRecord* Item(MenuRef menu, MenuItemIndex item);
// The submenu an item opens, 0 when none.
MenuID SubmenuOf(const MenuItemRecord& item);
// Sends a message to the menu's definition.
void CallDefinition(MenuRef menu, int16_t message, Rect* menuRect, Point hit, int16_t* whichItem);
// Parses classic item text with metacharacters into items.
std::vector<MenuItemRecord> ParseItems(const unsigned char* text, size_t length);
// The title bar's layout changed (titles, enabling): redraws it.
void MenuBarChanged();
// Whether a menu (item 0: its title) or one of its items can be chosen
// now: enabled and, while a modal loop is up, offered by it. Menus
// outside the bar (pop-ups) belong to whoever shows them and answer their
// own state.
bool Offered(const MenuRecord* menu, MenuItemIndex item);
void ForgetMenu(MenuRef menu);
// Closes open menus and forgets the hilited title and last choice.
void ResetMenuTracking();

}  // namespace menus

// The menu whose title is hilited, 0 when none.
MenuID HilitedMenu();

// Our own definition, used by menus made without one.
void StandardMenuDef(int16_t message, MenuRef menu, Rect* menuRect, Point hit, int16_t* whichItem);

// The stored 'MENU' form (outside bytes): false when it is damaged.
struct MenuResourceData {
    MenuID id = 0;
    int16_t procID = 0;
    uint32_t enableFlags = 0;
    std::string title;
    std::vector<MenuItemRecord> items;
};
bool ReadMenuResource(const uint8_t* bytes, size_t size, MenuResourceData* menu);

}  // namespace platform
