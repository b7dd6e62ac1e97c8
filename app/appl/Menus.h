// The application's menus, addressed by command number. Menus are built once
// from 'MMBR' 129 and the 'MITM' items it names; from then on code names an
// item by (command number, 1-based index within the command's items).
//
// TheMenus holds at most 20 records: 1 is the Apple menu, then the menus of
// the bar, then the submenus. Unknown commands are ignored by every setter
// and answer (null, 0), 0, "" or -1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/menus/Menus.h"

// Entry kinds.
enum : int16_t { kFuncSingle = 0, kFuncGroup = 1, kFuncSubmenu = 2, kFuncMember = 3 };

constexpr int16_t kMaxMenus = 20;
constexpr int16_t kColourSubmenuId = 103;

struct MyMenuRec;

struct MenuEntry {
    int16_t kind = 0;
    bool checkGroup = false;
    int16_t command = 0;
    MyMenuRec* submenu = nullptr;
    int16_t itemCount = 0;
};

struct MyMenuRec {
    int16_t menuId = 0;
    platform::MenuRef menu = nullptr;
    std::vector<MenuEntry> entries;
};

// TheMenus[1..NbMenus]; TheMenus[0] is unused.
extern MyMenuRec* TheMenus[kMaxMenus + 1];
extern int16_t NbMenus;

struct MenuItemRec {
    unsigned char text[256];
    unsigned char second[256];
    uint8_t cmdKey;
    uint8_t mark;
    int16_t enabled;
    int16_t extra;
    int16_t kind;
    int16_t checkGroup;
    int16_t style;
    int16_t icon;
    int16_t command;
    std::vector<int16_t> subItems;
};

// Decodes an 'MITM' resource's bytes; false when they are too short for
// what they announce (the sub-item list is cut to what is there).
bool ParseMenuItem(const uint8_t* bytes, size_t size, MenuItemRec* item);
// Loads 'MITM' id; false when missing or damaged.
bool ReadItem(int16_t id, MenuItemRec* item);

// Builds the bar from 'MMBR' 129 (ids below 1000 go into the bar) and
// fills the font list; 0 or -108.
platform::OSErr BuildMenus();
// Disposes of every record (tests, quit).
void DisposeMenus();
// Every menu of the bar enabled or disabled whole (item 0); the bar is
// drawn again.
void SetMenusEnabled(bool on);

platform::OSErr AppendFunc(int16_t record, int16_t* subCount, int16_t subId, const unsigned char* text, uint8_t cmdKey,
                           uint8_t mark, int16_t icon, int16_t command, int16_t kind, int16_t enabled,
                           int16_t checkGroup, int16_t style);

// (command, index) of a menu result (menu id << 16 | item).
void GetFunc(int32_t menuResult, int16_t* command, int16_t* index);
MyMenuRec* GetMainMenurec(int16_t command, int16_t* entry);
MyMenuRec* GetMenurec(int16_t command, int16_t* entry);
void GetMItem(int16_t command, int16_t index, platform::MenuRef* menu, int16_t* item);
void GetMainMItem(int16_t command, int16_t index, platform::MenuRef* menu, int16_t* item);
bool CheckGroupe(int16_t command);
int16_t NbSFunc(int16_t command);
void SetFuncMark(int16_t command, int16_t index, uint8_t mark);
void SetFuncStyle(int16_t command, int16_t index, int16_t style);
void GetFuncItem(int16_t command, int16_t index, unsigned char* text);
int16_t GetNamedFuncItem(int16_t command, const unsigned char* text);
void InsFuncItem(int16_t command, const unsigned char* text, int16_t position, uint8_t cmdKey);
void DelFuncItem(int16_t command, int16_t index);
void MyInsMenuItem(platform::MenuRef menu, const unsigned char* text, int16_t position, uint8_t cmdKey);
void EnableFunc(int16_t command);
void DisableFunc(int16_t command);
void DisableMenu(platform::MenuRef menu);
bool IsFuncEnabled(int16_t command, int16_t index = 1);
void StringFunc(int16_t command, int16_t stringIndex);
void SetDlogEditMenu();
// Shows `menu` as a pop-up with `item` under `where` (local); the chosen
// item, 0 for none. The menu is disposed of.
int16_t Pop(platform::MenuRef menu, platform::Point where, int16_t item);
// MenuSelect from a press in the bar, as the program's loops take it:
// memory running out while the menus were open closed them with nothing
// chosen, and is said.
int32_t SelectFromMenuBar(platform::Point where);
