#include "app/appl/Menus.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/ColorMenu.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Utilities.h"
#include "platform/core/Memory.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

MyMenuRec* TheMenus[kMaxMenus + 1];
int16_t NbMenus = 0;

namespace {

// A length-prefixed string padded to an even length, at *pos; false when
// it runs past the end.
bool ReadEvenString(const uint8_t* bytes, size_t size, size_t* pos, unsigned char* out)
{
    if (*pos >= size) return false;
    const size_t length = bytes[*pos];
    if (*pos + 1 + length > size) return false;
    out[0] = uint8_t(length);
    std::memcpy(out + 1, bytes + *pos + 1, length);
    *pos += (1 + length + 1) & ~size_t(1);
    return true;
}

// The first platform item of entry `entry` (0-based) of `rec`.
int16_t FirstItemOf(const MyMenuRec* rec, size_t entry)
{
    int32_t sum = 0;
    for (size_t i = 0; i < entry; ++i) sum += rec->entries[i].itemCount;
    return int16_t(sum + 1);
}

// A platform item placed after `after`, no character of its text read as a
// menu metacharacter.
void InsertPlainItem(MenuRef menu, int16_t after, const unsigned char* text, uint8_t cmdKey)
{
    InsertMenuItemText(menu, text, MenuItemIndex(after));
    if (cmdKey) SetItemCmd(menu, MenuItemIndex(after + 1), CharParameter(cmdKey));
}

MyMenuRec* NewRecord(int16_t id, MenuRef menu)
{
    auto* rec = new (std::nothrow) MyMenuRec;
    if (!rec) return nullptr;
    rec->menuId = id;
    rec->menu = menu;
    return rec;
}

}  // namespace

bool ParseMenuItem(const uint8_t* bytes, size_t size, MenuItemRec* item)
{
    size_t pos = 0;
    item->text[0] = item->second[0] = 0;
    item->subItems.clear();
    if (!ReadEvenString(bytes, size, &pos, item->text)) return false;
    if (!ReadEvenString(bytes, size, &pos, item->second)) return false;
    if (pos + 14 > size) return false;
    const uint8_t* p = bytes + pos;
    item->extra = int8_t(p[0]);
    item->cmdKey = p[1];
    item->mark = p[2];
    item->icon = int8_t(p[3]);
    item->command = int8_t(p[4]);
    item->enabled = int8_t(p[5]);
    item->kind = int8_t(p[7]);
    item->checkGroup = int8_t(p[8]);
    item->style = int8_t(p[10]);
    // The count is the resource's word: only the ids really there are read.
    size_t count = ReadBE16(p + 12);
    const size_t room = (size - pos - 14) / 2;
    if (count > room) count = room;
    try {
        for (size_t i = 0; i < count; ++i) item->subItems.push_back(int16_t(ReadBE16(p + 14 + 2 * i)));
    } catch (const std::bad_alloc&) {
        item->subItems.clear();
        return false;
    }
    return true;
}

bool ReadItem(int16_t id, MenuItemRec* item)
{
    Handle h = GetResource(FourCC("MITM"), id);
    if (!h || !*h) return false;
    const bool ok = ParseMenuItem(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), item);
    ReleaseResource(h);
    return ok;
}

OSErr AppendFunc(int16_t record, int16_t* subCount, int16_t subId, const unsigned char* text, uint8_t cmdKey,
                 uint8_t mark, int16_t icon, int16_t command, int16_t kind, int16_t enabled, int16_t checkGroup,
                 int16_t style)
{
    if (record < 1 || record > kMaxMenus || !TheMenus[record]) return noErr;  // past the table: not built
    MyMenuRec* rec = TheMenus[record];
    MenuEntry entry;
    entry.kind = kind;
    entry.checkGroup = checkGroup == 1;
    entry.command = command;
    entry.itemCount = kind == kFuncGroup ? 0 : 1;
    try {
        rec->entries.push_back(entry);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    if (kind != kFuncSingle && kind != kFuncSubmenu) return noErr;
    MenuRef menu = rec->menu;
    const int16_t item = int16_t(CountMenuItems(menu) + 1);
    InsertPlainItem(menu, int16_t(item - 1), text, kind == kFuncSingle ? cmdKey : 0);
    if (kind == kFuncSingle) SetItemMark(menu, MenuItemIndex(item), mark);
    SetItemStyle(menu, MenuItemIndex(item), style);
    if (icon) SetItemIcon(menu, MenuItemIndex(item), icon & 0xFF);
    if (enabled) EnableMenuItem(menu, MenuItemIndex(item));
    else DisableMenuItem(menu, MenuItemIndex(item));
    if (kind == kFuncSingle) return noErr;

    // A submenu: its record follows the main menus and earlier submenus.
    const int32_t index = NbMenus + *subCount + 1;
    if (index > kMaxMenus) return noErr;  // the table is full: the item opens nothing
    MenuRef sub = nullptr;
    if (subId == kColourSubmenuId) {
        sub = NewColorMenu(subId);
    } else {
        sub = NewMenu(subId, text);
    }
    MyMenuRec* subRec = sub ? NewRecord(subId, sub) : nullptr;
    if (!subRec) {
        if (sub) DisposeMenu(sub);
        return memFullErr;
    }
    MenuEntry group;
    group.kind = kFuncGroup;
    group.checkGroup = entry.checkGroup;
    group.command = command;
    try {
        subRec->entries.push_back(group);
    } catch (const std::bad_alloc&) {
        DisposeMenu(sub);
        delete subRec;
        return memFullErr;
    }
    SetMenuItemHierarchicalID(menu, MenuItemIndex(item), subId);
    ++*subCount;
    TheMenus[index] = subRec;
    rec->entries.back().submenu = subRec;
    return noErr;
}

OSErr BuildMenus()
{
    DisposeMenus();
    MenuRef apple = GetMenu(128);
    if (!apple) {
        const unsigned char title[2] = {1, 0x14};
        apple = NewMenu(128, title);
    }
    TheMenus[1] = apple ? NewRecord(128, apple) : nullptr;
    if (!TheMenus[1]) return memFullErr;
    NbMenus = 1;

    Handle bar = GetResource(FourCC("MMBR"), 129);
    std::vector<uint8_t> bytes;
    if (bar && *bar) bytes.assign(*bar, *bar + GetHandleSize(bar));
    int16_t subCount = 0;
    OSErr err = noErr;
    if (bytes.size() >= 4) {
        const int32_t m = ReadBE16(bytes.data() + 2);
        NbMenus = int16_t(std::min<int32_t>(m + 1, kMaxMenus));
        size_t pos = 4;
        for (int32_t k = 2; k <= NbMenus; ++k) {
            // The description: id, title padded to an even offset, count, ids.
            const size_t start = pos;
            if (pos + 3 > bytes.size()) {
                NbMenus = int16_t(k - 1);
                break;
            }
            const int16_t menuId = int16_t(ReadBE16(bytes.data() + pos));
            unsigned char title[256];
            const size_t length = bytes[pos + 2];
            if (pos + 3 + length > bytes.size()) {
                NbMenus = int16_t(k - 1);
                break;
            }
            title[0] = uint8_t(length);
            std::memcpy(title + 1, bytes.data() + pos + 3, length);
            pos += 3 + length;
            if ((pos - start) % 2) ++pos;
            if (pos + 2 > bytes.size()) {
                NbMenus = int16_t(k - 1);
                break;
            }
            size_t n = ReadBE16(bytes.data() + pos);
            pos += 2;
            n = std::min(n, (bytes.size() - pos) / 2);
            MenuRef menu = NewMenu(menuId, title);
            TheMenus[k] = menu ? NewRecord(menuId, menu) : nullptr;
            if (!TheMenus[k]) {
                if (menu) DisposeMenu(menu);
                NbMenus = int16_t(k - 1);
                err = memFullErr;
                break;
            }
            for (size_t i = 0; i < n; ++i) {
                const int16_t itemId = int16_t(ReadBE16(bytes.data() + pos + 2 * i));
                MenuItemRec item;
                if (!ReadItem(itemId, &item)) continue;
                // Quit is the platform's own item.
                if (item.command != 19)
                    AppendFunc(k, &subCount, itemId, item.text, item.cmdKey, item.mark, item.icon, item.command,
                               item.kind, item.enabled, item.checkGroup, item.style);
                int16_t position = 0;
                for (int16_t subId : item.subItems) {
                    MenuItemRec sub;
                    ++position;
                    if (!ReadItem(subId, &sub)) continue;
                    if (sub.kind == kFuncMember) {
                        InsFuncItem(item.command, sub.text, 32000, sub.cmdKey);
                        MenuRef m2 = nullptr;
                        int16_t at = 0;
                        GetMItem(item.command, position, &m2, &at);
                        if (!m2 || at < 1) continue;
                        if (sub.enabled) EnableMenuItem(m2, MenuItemIndex(at));
                        else DisableMenuItem(m2, MenuItemIndex(at));
                        if (sub.icon) SetItemIcon(m2, MenuItemIndex(at), sub.icon & 0xFF);
                        SetItemMark(m2, MenuItemIndex(at), sub.mark);
                        SetItemStyle(m2, MenuItemIndex(at), sub.style);
                    } else {
                        AppendFunc(int16_t(NbMenus + subCount), &subCount, itemId, sub.text, sub.cmdKey, sub.mark,
                                   sub.icon, sub.command, sub.kind, sub.enabled, sub.checkGroup, sub.style);
                    }
                }
            }
            pos += 2 * n;
        }
    }
    if (bar) ReleaseResource(bar);

    for (int32_t k = 1; k <= NbMenus; ++k)
        if (TheMenus[k] && TheMenus[k]->menuId < 1000) InsertMenu(TheMenus[k]->menu, 0);
    for (int16_t k = int16_t(NbMenus + 1); k <= NbMenus + subCount && k <= kMaxMenus; ++k)
        if (TheMenus[k]) InsertMenu(TheMenus[k]->menu, -1);
    NbMenus = int16_t(std::min<int32_t>(NbMenus + subCount, kMaxMenus));

    // The Edit commands a modal dialog's text items take from the bar.
    for (const auto& [command, standard] : {std::pair{22, kHICommandCut}, {23, kHICommandCopy}, {24, kHICommandPaste},
                                            {25, kHICommandClear}, {26, kHICommandSelectAll}}) {
        MenuRef menu = nullptr;
        int16_t at = 0;
        GetMItem(int16_t(command), 1, &menu, &at);
        if (menu && at > 0) SetMenuItemCommandID(menu, MenuItemIndex(at), standard);
    }

    // The font list: the system's fonts that are not the application's own.
    if (GetMainMenurec(100, nullptr)) {
        std::vector<std::string> names;
        SetResLoad(false);
        const int16_t count = CountResources(FourCC("FOND"));
        for (int32_t i = 1; i <= count && names.size() < 128; ++i) {
            Handle h = GetIndResource(FourCC("FOND"), i);
            if (!h || HomeResFile(h) == G_MainResFile) continue;
            int16_t id = 0;
            ResType type = 0;
            Str255 name;
            GetResInfo(h, &id, &type, name);
            names.emplace_back(reinterpret_cast<char*>(name + 1), name[0]);
        }
        SetResLoad(true);
        SortStrings(&names);
        for (const std::string& name : names) {
            if (name.empty()) continue;
            Str255 text;
            text[0] = uint8_t(name.size());
            std::memcpy(text + 1, name.data(), name.size());
            InsFuncItem(100, text, 32000, 0);
        }
    }
    return err;
}

void DisposeMenus()
{
    for (auto& rec : TheMenus) {
        if (!rec) continue;
        if (rec->menu) {
            DeleteMenu(rec->menuId);
            DisposeMenu(rec->menu);
        }
        delete rec;
        rec = nullptr;
    }
    NbMenus = 0;
}

void GetFunc(int32_t menuResult, int16_t* command, int16_t* index)
{
    const int16_t menuId = int16_t(uint32_t(menuResult) >> 16);
    const int16_t item = int16_t(menuResult & 0xFFFF);
    *command = *index = 0;
    for (int32_t k = 1; k <= NbMenus; ++k) {
        const MyMenuRec* rec = TheMenus[k];
        if (!rec || rec->menuId != menuId) continue;
        int32_t sum = 0;
        for (const MenuEntry& e : rec->entries) {
            if (item <= sum + e.itemCount) {
                *command = e.command;
                *index = int16_t(item - sum);
                return;
            }
            sum += e.itemCount;
        }
        *command = menuId;
        *index = item;
        return;
    }
}

MyMenuRec* GetMainMenurec(int16_t command, int16_t* entry)
{
    for (int32_t k = 1; k <= NbMenus; ++k) {
        MyMenuRec* rec = TheMenus[k];
        if (!rec) continue;
        for (size_t i = 0; i < rec->entries.size(); ++i)
            if (rec->entries[i].command == command) {
                if (entry) *entry = int16_t(i + 1);
                return rec;
            }
    }
    if (entry) *entry = 0;
    return nullptr;
}

MyMenuRec* GetMenurec(int16_t command, int16_t* entry)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMainMenurec(command, &at);
    if (rec && rec->entries[size_t(at - 1)].kind == kFuncSubmenu && rec->entries[size_t(at - 1)].submenu) {
        rec = rec->entries[size_t(at - 1)].submenu;
        at = 1;
    }
    if (entry) *entry = at;
    return rec;
}

namespace {

void ItemOf(MyMenuRec* rec, int16_t at, int16_t index, MenuRef* menu, int16_t* item)
{
    *menu = nullptr;
    *item = 0;
    if (!rec || at < 1) return;
    const MenuEntry& e = rec->entries[size_t(at - 1)];
    *menu = rec->menu;
    *item = int16_t(FirstItemOf(rec, size_t(at - 1)) - 1 + std::min<int16_t>(index, e.itemCount));
}

}  // namespace

void GetMItem(int16_t command, int16_t index, MenuRef* menu, int16_t* item)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMenurec(command, &at);
    ItemOf(rec, at, index, menu, item);
}

void GetMainMItem(int16_t command, int16_t index, MenuRef* menu, int16_t* item)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMainMenurec(command, &at);
    ItemOf(rec, at, index, menu, item);
}

bool CheckGroupe(int16_t command)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMenurec(command, &at);
    return rec && rec->entries[size_t(at - 1)].checkGroup;
}

int16_t NbSFunc(int16_t command)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMenurec(command, &at);
    return rec ? rec->entries[size_t(at - 1)].itemCount : 0;
}

void SetFuncMark(int16_t command, int16_t index, uint8_t mark)
{
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(command, index, &menu, &item);
    if (menu && item > 0) SetItemMark(menu, MenuItemIndex(item), mark);
}

void SetFuncStyle(int16_t command, int16_t index, int16_t style)
{
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(command, index, &menu, &item);
    if (menu && item > 0) SetItemStyle(menu, MenuItemIndex(item), style);
}

void GetFuncItem(int16_t command, int16_t index, unsigned char* text)
{
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(command, index, &menu, &item);
    text[0] = 0;
    if (menu && item > 0) GetMenuItemText(menu, MenuItemIndex(item), text);
}

int16_t GetNamedFuncItem(int16_t command, const unsigned char* text)
{
    const int16_t count = NbSFunc(command);
    for (int32_t i = 1; i <= count; ++i) {
        Str255 item;
        GetFuncItem(command, i, item);
        if (std::memcmp(item, text, size_t(text[0]) + 1) == 0) return i;
    }
    return -1;
}

void InsFuncItem(int16_t command, const unsigned char* text, int16_t position, uint8_t cmdKey)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMenurec(command, &at);
    if (!rec || !rec->menu) return;
    MenuEntry& e = rec->entries[size_t(at - 1)];
    // Kept inside the command's own items, so that the items of the
    // entries after it keep their numbers.
    const int16_t first = FirstItemOf(rec, size_t(at - 1));
    int32_t after = std::min<int32_t>(position, CountMenuItems(rec->menu));
    after = std::clamp<int32_t>(after, first - 1, first - 1 + e.itemCount);
    InsertPlainItem(rec->menu, int16_t(after), text, cmdKey);
    ++e.itemCount;
}

void DelFuncItem(int16_t command, int16_t index)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMenurec(command, &at);
    if (!rec) return;
    MenuEntry& e = rec->entries[size_t(at - 1)];
    if (index < 1 || index > e.itemCount) return;  // only items that exist
    DeleteMenuItem(rec->menu, MenuItemIndex(FirstItemOf(rec, size_t(at - 1)) - 1 + index));
    --e.itemCount;
}

void MyInsMenuItem(MenuRef menu, const unsigned char* text, int16_t position, uint8_t cmdKey)
{
    if (!menu) return;
    const int32_t after = std::clamp<int32_t>(position, 0, CountMenuItems(menu));
    InsertPlainItem(menu, int16_t(after), text, cmdKey);
}

namespace {

void SetFuncEnabled(int16_t command, bool enable)
{
    int16_t at = 0;
    MyMenuRec* rec = GetMainMenurec(command, &at);
    if (!rec) return;
    const MenuEntry& e = rec->entries[size_t(at - 1)];
    MenuRef menu = nullptr;
    int16_t first = 0, count = 1;
    if (e.kind == kFuncGroup) {
        GetMItem(command, 1, &menu, &first);
        first = FirstItemOf(rec, size_t(at - 1));
        menu = rec->menu;
        count = e.itemCount;
    } else if (e.kind == kFuncSingle) {
        GetMItem(command, 1, &menu, &first);
    } else if (e.kind == kFuncSubmenu) {
        GetMainMItem(command, 1, &menu, &first);
    } else {
        return;
    }
    if (!menu) return;
    for (int16_t i = 0; i < count; ++i) {
        if (enable) EnableMenuItem(menu, MenuItemIndex(first + i));
        else DisableMenuItem(menu, MenuItemIndex(first + i));
    }
    if (enable) EnableMenuItem(menu, 0);
}

}  // namespace

void EnableFunc(int16_t command) { SetFuncEnabled(command, true); }
void DisableFunc(int16_t command) { SetFuncEnabled(command, false); }

bool IsFuncEnabled(int16_t command, int16_t index)
{
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMainMItem(command, index, &menu, &item);
    return menu && item > 0 && IsMenuItemEnabled(menu, 0) && IsMenuItemEnabled(menu, MenuItemIndex(item));
}

void DisableMenu(MenuRef menu)
{
    if (!menu) return;
    DisableMenuItem(menu, 0);
    const uint16_t count = CountMenuItems(menu);
    for (uint16_t i = 1; i <= count; ++i) DisableMenuItem(menu, i);
}

void StringFunc(int16_t command, int16_t stringIndex)
{
    MenuRef menu = nullptr;
    int16_t item = 0;
    GetMItem(command, 1, &menu, &item);
    if (!menu || item < 1) return;
    Str255 text;
    MyGetIndString(text, 1006, stringIndex);
    SetMenuItemText(menu, MenuItemIndex(item), text);
}

void SetDlogEditMenu()
{
    StringFunc(23, 3);
    EnableFunc(26);
}

int16_t Pop(MenuRef menu, Point where, int16_t item)
{
    if (!menu) return 0;
    LocalToGlobal(&where);
    InsertMenu(menu, -1);
    const int32_t chosen = PopUpMenuSelect(menu, where.v, where.h, MenuItemIndex(item));
    DeleteMenu(GetMenuID(menu));
    DisposeMenu(menu);
    return int16_t(chosen & 0xFFFF);
}

int32_t SelectFromMenuBar(Point where)
{
    const int32_t chosen = MenuSelect(where);
    if (!chosen && MemError() == memFullErr) ErrMsg(memFullErr);
    return chosen;
}

void SetMenusEnabled(bool on)
{
    for (int32_t k = 1; k <= NbMenus; ++k)
        if (TheMenus[k]) {
            if (on) EnableMenuItem(TheMenus[k]->menu, 0);
            else DisableMenuItem(TheMenus[k]->menu, 0);
        }
    DrawMenuBar();
}
