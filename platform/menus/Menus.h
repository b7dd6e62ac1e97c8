// The menu manager: menus and their items, the menu bar, pull-down,
// hierarchical and pop-up menus tracked on the virtual screen, keyboard
// equivalents, menu definitions (ours or the program's) and properties.
//
// Open menus are drawn in the screen's menu layer, above the windows and
// the menu bar: closing one takes its pixels away and redraws nothing.
// Tracking polls the input (scripted in headless runs) and also ends when
// the headless watchdog ends the run.
//
// The platform adds a separator and "Quit" (Command-Q) to 'MENU' 128 when it
// is read; choosing it posts the quit event and answers 0.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct MenuRecord;
using MenuRef = MenuRecord*;
using MenuHandle = MenuRecord*;
using MenuID = int16_t;
using MenuItemIndex = uint16_t;
using MenuAttributes = uint32_t;
using MenuCommand = uint32_t;
using CharParameter = int16_t;
using StyleParameter = int16_t;

// Messages to a menu definition.
enum : int16_t {
    kMenuDrawMsg = 0,
    kMenuSizeMsg = 2,
    kMenuPopUpMsg = 3,
    kMenuThemeSavvyMsg = 7,
    kMenuInitMsg = 8,
    kMenuDisposeMsg = 9,
    kMenuFindItemMsg = 10,
    kMenuHiliteItemMsg = 11,
};
constexpr int16_t kThemeSavvyMenuResponse = 0x7473;

// The record of the find-item message (`whichItem` points at it): the
// selected item in and out, the item under the mouse and its rectangle out.
struct MenuTrackingData {
    MenuRef menu;
    MenuItemIndex itemSelected;
    MenuItemIndex itemUnderMouse;
    Rect itemRect;
    int32_t virtualMenuTop;
    int32_t virtualMenuBottom;
};
// The record of the hilite message.
struct HiliteMenuItemData {
    MenuItemIndex previousItem;
    MenuItemIndex newItem;
};

// A menu definition. Draw (0): the items in menuRect of the current port.
// Size (2): sets the menu's width and height. Pop-up (3): hitPt.h is the
// top and hitPt.v the left wanted, *whichItem the item to place there; sets
// *menuRect. Theme-savvy (7): may answer kThemeSavvyMenuResponse in
// *whichItem. Find item (10): *whichItem is a MenuTrackingData. Hilite
// (11): a HiliteMenuItemData. Init (8) and dispose (9) come once each.
using MenuDefProcPtr = void (*)(int16_t message, MenuRef menu, Rect* menuRect, Point hitPt, int16_t* whichItem);
using MenuDefUPP = MenuDefProcPtr;
inline MenuDefUPP NewMenuDefUPP(MenuDefProcPtr proc) { return proc; }
inline void DisposeMenuDefUPP(MenuDefUPP) {}

enum : uint32_t { kMenuDefProcPtr = 0 };
struct MenuDefSpec {
    uint32_t defType;
    MenuDefUPP defProc;
};

// Special command characters and marks.
constexpr uint8_t hMenuCmd = 0x1B;   // the item opens the submenu whose id is its mark
constexpr uint8_t noMark = 0;
constexpr uint8_t checkMark = 0x12;
constexpr uint8_t diamondMark = 0x13;

constexpr OSStatus menuPropertyInvalidErr = -5603;
constexpr OSStatus menuPropertyNotFoundErr = -5604;
constexpr OSStatus menuNotFoundErr = -5620;
constexpr OSStatus menuItemNotFoundErr = -5622;
constexpr OSStatus menuInvalidErr = -5623;

// Making and disposing. Null when memory runs out.
MenuRef NewMenu(MenuID id, ConstStr255Param title);
OSStatus CreateCustomMenu(const MenuDefSpec* defSpec, MenuID id, MenuAttributes attributes, MenuRef* menu);
// From the 'MENU' resource; null when missing or damaged (ResError).
MenuRef GetMenu(int16_t resourceID);
// Takes the menu out of the menu lists and frees it.
void DisposeMenu(MenuRef menu);
MenuID GetMenuID(MenuRef menu);
void SetMenuTitle(MenuRef menu, ConstStr255Param title);
void GetMenuTitle(MenuRef menu, Str255 title);

// Items. AppendMenu and InsertMenuItem read the classic metacharacters:
// ';' or return separate items, '^n' icon n, '!c' mark c, '<B' '<I' '<U'
// '<O' '<S' styles, '/c' command key c, '(' disabled; "-" is a separator.
void AppendMenu(MenuRef menu, ConstStr255Param items);
void InsertMenuItem(MenuRef menu, ConstStr255Param items, MenuItemIndex afterItem);
// One enabled item whose text is taken as it stands, no character of it
// read as a metacharacter (for names chosen by the user or read from files).
void AppendMenuItemText(MenuRef menu, ConstStr255Param text);
void InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem);
void DeleteMenuItem(MenuRef menu, MenuItemIndex item);
uint16_t CountMenuItems(MenuRef menu);
// Resources of that type by name, sorted, without names starting with '.'
// or '%' (the font menu: 'FOND').
void AppendResMenu(MenuRef menu, ResType type);
void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text);
void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text);
void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark);
void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark);
void SetItemStyle(MenuRef menu, MenuItemIndex item, StyleParameter style);
void GetItemStyle(MenuRef menu, MenuItemIndex item, StyleParameter* style);
// Icon n is 'ICON' 256 + n - 1; 0 none.
void SetItemIcon(MenuRef menu, MenuItemIndex item, int16_t iconIndex);
void GetItemIcon(MenuRef menu, MenuItemIndex item, int16_t* iconIndex);
void SetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter cmdChar);
void GetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter* cmdChar);
OSStatus SetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID submenuID);
OSStatus GetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID* submenuID);
// Item 0 is the whole menu: disabled, its title is dimmed and none of its
// items can be chosen.
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);

// The command an item stands for. While a modal loop is up (Modals.h), the
// bar offers only the items of the standard editing commands below, and
// only to a modal that edits text; every other item and title is dimmed.
constexpr MenuCommand kHICommandCut = 0x63757420;        // 'cut '
constexpr MenuCommand kHICommandCopy = 0x636F7079;       // 'copy'
constexpr MenuCommand kHICommandPaste = 0x70617374;      // 'past'
constexpr MenuCommand kHICommandClear = 0x636C6561;      // 'clea'
constexpr MenuCommand kHICommandSelectAll = 0x73616C6C;  // 'sall'
OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command);
OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand* command);

// Properties of the menu (item 0) or an item, of any size.
OSStatus SetMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t size,
                             const void* data);
// The buffer must be the property's size: any other size is refused
// (paramErr) and nothing is written.
OSStatus GetMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t bufferSize,
                             uint32_t* actualSize, void* buffer);
OSStatus GetMenuItemPropertySize(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t* size);
OSStatus RemoveMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag);

// Size: the definition's size message when the size is not known yet.
void CalcMenuSize(MenuRef menu);
int16_t GetMenuWidth(MenuRef menu);
int16_t GetMenuHeight(MenuRef menu);
void SetMenuWidth(MenuRef menu, int16_t width);
void SetMenuHeight(MenuRef menu, int16_t height);

// The menu bar. beforeID 0 appends to the bar; -1 puts the menu in the
// list of submenus and pop-ups; another id inserts before that menu.
void InsertMenu(MenuRef menu, MenuID beforeID);
void DeleteMenu(MenuID id);
MenuRef GetMenuHandle(MenuID id);
void ClearMenuBar();
void DrawMenuBar();
void InvalMenuBar();
// Hilites the title of that menu (0: none).
void HiliteMenu(MenuID id);
// The title's place in the bar (global); false when the menu is not there.
bool GetMenuTitleRect(MenuID id, Rect* title);

// Choosing. Each answers (menu id << 16) | item, or 0 when nothing was
// chosen; a chosen title stays hilited until HiliteMenu(0).
// MenuSelect and PopUpMenuSelect set MemError(): memFullErr when memory ran
// out while the menus were open (they are closed, the screen under them
// given back, and they answer 0), else noErr.
int32_t MenuSelect(Point start);
// The menu and item last released on, or found by MenuKey, when it gave 0
// because the item was disabled; 0 otherwise.
int32_t MenuChoice();
int32_t MenuKey(CharParameter ch);
// Shows the menu with `item` at (left, top), global, and tracks it.
int32_t PopUpMenuSelect(MenuRef menu, int16_t top, int16_t left, MenuItemIndex item);

// Forgets every menu (tests).
void ResetMenuManager();

}  // namespace platform
