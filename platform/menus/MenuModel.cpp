#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/Events.h"
#include "platform/events/Modals.h"
#include "platform/menus/MenuRecord.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/RomanCompare.h"

namespace platform {
namespace menus {

namespace {
std::vector<MenuRef>& AllMenus()
{
    static auto* all = new std::vector<MenuRef>;
    return *all;
}
}  // namespace

std::vector<MenuRef>& BarMenus()
{
    static auto* bar = new std::vector<MenuRef>;
    return *bar;
}

std::vector<MenuRef>& SubMenus()
{
    static auto* subs = new std::vector<MenuRef>;
    return *subs;
}

bool IsMenu(MenuRef menu)
{
    const auto& all = AllMenus();
    return menu && std::find(all.begin(), all.end(), menu) != all.end();
}

MenuItemRecord* Item(MenuRef menu, MenuItemIndex item)
{
    if (!IsMenu(menu) || item < 1 || item > menu->items.size()) return nullptr;
    return &menu->items[item - 1];
}

MenuID SubmenuOf(const MenuItemRecord& item)
{
    if (item.submenu) return item.submenu;
    return item.cmd == hMenuCmd ? MenuID(item.mark) : 0;
}

void CallDefinition(MenuRef menu, int16_t message, Rect* menuRect, Point hit, int16_t* whichItem)
{
    Rect scratchRect{0, 0, 0, 0};
    int16_t scratchItem = 0;
    (menu->def ? menu->def : StandardMenuDef)(message, menu, menuRect ? menuRect : &scratchRect, hit,
                                              whichItem ? whichItem : &scratchItem);
}

std::vector<MenuItemRecord> ParseItems(const unsigned char* text, size_t length)
{
    std::vector<MenuItemRecord> items;
    MenuItemRecord cur;
    auto finish = [&] {
        if (cur.text == "-") cur.enabled = false;
        items.push_back(cur);
        cur = MenuItemRecord{};
    };
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = text[i];
        const bool hasNext = i + 1 < length;
        switch (c) {
        case ';':
        case '\r':
            finish();
            break;
        case '^':
            if (hasNext) cur.icon = uint8_t(text[++i] - '0');
            break;
        case '!':
            if (hasNext) cur.mark = text[++i];
            break;
        case '/':
            if (hasNext) cur.cmd = text[++i];
            break;
        case '<':
            if (hasNext) {
                switch (text[++i]) {
                case 'B': cur.style |= 1; break;
                case 'I': cur.style |= 2; break;
                case 'U': cur.style |= 4; break;
                case 'O': cur.style |= 8; break;
                case 'S': cur.style |= 16; break;
                default: break;
                }
            }
            break;
        case '(':
            cur.enabled = false;
            break;
        default:
            cur.text += char(c);
            break;
        }
    }
    if (length > 0) finish();
    return items;
}

void ForgetMenu(MenuRef menu)
{
    auto drop = [&](std::vector<MenuRef>& v) { v.erase(std::remove(v.begin(), v.end(), menu), v.end()); };
    drop(AllMenus());
    drop(BarMenus());
    drop(SubMenus());
}

bool Offered(const MenuRecord* menu, MenuItemIndex item)
{
    if (!menu) return false;
    const MenuItemRecord* one = item ? Item(const_cast<MenuRecord*>(menu), item) : nullptr;
    if (item && !one) return false;
    const auto& bar = BarMenus();
    if (!CurrentModal() || std::find(bar.begin(), bar.end(), menu) == bar.end())
        return menu->enabled && (!one || one->enabled);
    // The modal's text takes the editing commands, whatever the program
    // enabled for its own windows.
    auto editing = [](const MenuItemRecord& i) {
        return i.command == kHICommandCut || i.command == kHICommandCopy || i.command == kHICommandPaste ||
               i.command == kHICommandClear || i.command == kHICommandSelectAll;
    };
    if (!CurrentModalEditsText()) return false;
    return one ? editing(*one) : std::any_of(menu->items.begin(), menu->items.end(), editing);
}

MenuRef Register(MenuRecord* m)
{
    try {
        AllMenus().push_back(m);
    } catch (const std::bad_alloc&) {
        delete m;
        return nullptr;
    }
    return m;
}

}  // namespace menus

using namespace menus;

namespace {

std::string PString(ConstStr255Param s) { return s ? std::string(reinterpret_cast<const char*>(s + 1), s[0]) : std::string(); }

void CopyOut(const std::string& text, Str255 out)
{
    if (!out) return;
    const size_t n = std::min<size_t>(text.size(), 255);
    out[0] = uint8_t(n);
    std::memcpy(out + 1, text.data(), n);
}

void SizeChanged(MenuRef menu)
{
    menu->width = -1;
    menu->height = -1;
}

void InsertItems(MenuRef menu, const std::vector<MenuItemRecord>& items, MenuItemIndex afterItem)
{
    try {
        const size_t at = std::min<size_t>(afterItem, menu->items.size());
        menu->items.insert(menu->items.begin() + ptrdiff_t(at), items.begin(), items.end());
        if (menu->quitItem && at < menu->quitItem) menu->quitItem = MenuItemIndex(menu->quitItem + items.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    SizeChanged(menu);
}

MenuItemIndex LastItem(MenuRef menu) { return MenuItemIndex(std::min<size_t>(menu->items.size(), 0xFFFF)); }

MenuProperties* PropertiesOf(MenuRef menu, MenuItemIndex item, OSStatus* err)
{
    if (!IsMenu(menu)) {
        *err = menuInvalidErr;
        return nullptr;
    }
    if (item == 0) return &menu->properties;
    MenuItemRecord* i = Item(menu, item);
    if (!i) *err = menuItemNotFoundErr;
    return i ? &i->properties : nullptr;
}

}  // namespace

MenuRef NewMenu(MenuID id, ConstStr255Param title)
{
    MenuDefSpec defSpec{kMenuDefProcPtr, nullptr};
    MenuRef menu = nullptr;
    if (CreateCustomMenu(&defSpec, id, 0, &menu) != noErr) return nullptr;
    SetMenuTitle(menu, title);
    return menu;
}

OSStatus CreateCustomMenu(const MenuDefSpec* defSpec, MenuID id, MenuAttributes, MenuRef* menu)
{
    if (!menu || (defSpec && defSpec->defType != kMenuDefProcPtr)) return paramErr;
    *menu = nullptr;
    auto* m = new (std::nothrow) MenuRecord;
    if (!m) return memFullErr;
    m->id = id;
    m->def = defSpec ? defSpec->defProc : nullptr;
    if (!Register(m)) return memFullErr;
    CallDefinition(m, kMenuInitMsg, nullptr, Point{0, 0}, nullptr);
    *menu = m;
    return noErr;
}

MenuRef GetMenu(int16_t resourceID)
{
    Handle h = GetResource(FourCC("MENU"), resourceID);
    if (!h || !*h) return nullptr;
    MenuResourceData data;
    if (!ReadMenuResource(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), &data)) return nullptr;
    MenuRef menu = nullptr;
    if (CreateCustomMenu(nullptr, data.id, 0, &menu) != noErr) return nullptr;
    try {
        menu->title = data.title;
        menu->items = std::move(data.items);
        menu->enabled = data.enableFlags & 1;
        for (size_t i = 0; i < menu->items.size() && i < 31; ++i)
            if (!(data.enableFlags & (1u << (i + 1)))) menu->items[i].enabled = false;
        if (resourceID == 128) {
            if (!menu->items.empty()) menu->items.push_back(ParseItems(reinterpret_cast<const unsigned char*>("(-"), 2)[0]);
            MenuItemRecord quit;
            quit.text = "Quit";
            quit.cmd = 'Q';
            menu->items.push_back(quit);
            menu->quitItem = MenuItemIndex(menu->items.size());
        }
    } catch (const std::bad_alloc&) {
        DisposeMenu(menu);
        return nullptr;
    }
    return menu;
}

void DisposeMenu(MenuRef menu)
{
    if (!IsMenu(menu)) return;
    const bool inBar = std::find(BarMenus().begin(), BarMenus().end(), menu) != BarMenus().end();
    CallDefinition(menu, kMenuDisposeMsg, nullptr, Point{0, 0}, nullptr);
    ForgetMenu(menu);
    delete menu;
    if (inBar) MenuBarChanged();
}

MenuID GetMenuID(MenuRef menu) { return IsMenu(menu) ? menu->id : 0; }

void SetMenuTitle(MenuRef menu, ConstStr255Param title)
{
    if (!IsMenu(menu)) return;
    try {
        menu->title = PString(title);
    } catch (const std::bad_alloc&) {
        return;
    }
    MenuBarChanged();
}

void GetMenuTitle(MenuRef menu, Str255 title)
{
    CopyOut(IsMenu(menu) ? menu->title : std::string(), title);
}

void InsertMenuItem(MenuRef menu, ConstStr255Param items, MenuItemIndex afterItem)
{
    if (!IsMenu(menu) || !items) return;
    std::vector<MenuItemRecord> parsed;
    try {
        parsed = ParseItems(items + 1, items[0]);
    } catch (const std::bad_alloc&) {
        return;
    }
    InsertItems(menu, parsed, afterItem);
}

void AppendMenu(MenuRef menu, ConstStr255Param items)
{
    if (IsMenu(menu)) InsertMenuItem(menu, items, LastItem(menu));
}

void InsertMenuItemText(MenuRef menu, ConstStr255Param text, MenuItemIndex afterItem)
{
    if (!IsMenu(menu) || !text) return;
    std::vector<MenuItemRecord> one;
    try {
        one.resize(1);
        one[0].text = PString(text);
    } catch (const std::bad_alloc&) {
        return;
    }
    InsertItems(menu, one, afterItem);
}

void AppendMenuItemText(MenuRef menu, ConstStr255Param text)
{
    if (IsMenu(menu)) InsertMenuItemText(menu, text, LastItem(menu));
}

void DeleteMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (!Item(menu, item)) return;
    menu->items.erase(menu->items.begin() + (item - 1));
    if (menu->quitItem == item) menu->quitItem = 0;
    else if (menu->quitItem > item) --menu->quitItem;
    SizeChanged(menu);
}

uint16_t CountMenuItems(MenuRef menu) { return IsMenu(menu) ? uint16_t(menu->items.size()) : 0; }

void AppendResMenu(MenuRef menu, ResType type)
{
    if (!IsMenu(menu)) return;
    std::vector<std::string> names;
    SetResLoad(false);
    try {
        const int16_t count = CountResources(type);
        for (int32_t i = 1; i <= count; ++i) {
            Handle h = GetIndResource(type, i);
            if (!h) continue;
            Str255 name{};
            int16_t id = 0;
            ResType t = 0;
            GetResInfo(h, &id, &t, name);
            if (name[0] == 0 || name[1] == '.' || name[1] == '%') continue;
            names.emplace_back(reinterpret_cast<const char*>(name + 1), name[0]);
        }
    } catch (const std::bad_alloc&) {
        SetResLoad(true);
        return;
    }
    SetResLoad(true);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareText(reinterpret_cast<const uint8_t*>(a.data()), int32_t(a.size()),
                           reinterpret_cast<const uint8_t*>(b.data()), int32_t(b.size())) < 0;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    try {
        std::vector<MenuItemRecord> items(names.size());
        for (size_t i = 0; i < names.size(); ++i) items[i].text = names[i];
        menu->items.insert(menu->items.end(), items.begin(), items.end());
    } catch (const std::bad_alloc&) {
        return;
    }
    SizeChanged(menu);
}

void SetMenuItemText(MenuRef menu, MenuItemIndex item, ConstStr255Param text)
{
    if (MenuItemRecord* i = Item(menu, item)) {
        try {
            i->text = PString(text);
        } catch (const std::bad_alloc&) {
            return;
        }
        SizeChanged(menu);
    }
}

void GetMenuItemText(MenuRef menu, MenuItemIndex item, Str255 text)
{
    const MenuItemRecord* i = Item(menu, item);
    CopyOut(i ? i->text : std::string(), text);
}

void SetItemMark(MenuRef menu, MenuItemIndex item, CharParameter mark)
{
    if (MenuItemRecord* i = Item(menu, item)) i->mark = uint8_t(mark);
}

void GetItemMark(MenuRef menu, MenuItemIndex item, CharParameter* mark)
{
    const MenuItemRecord* i = Item(menu, item);
    if (mark) *mark = i ? i->mark : 0;
}

void SetItemStyle(MenuRef menu, MenuItemIndex item, StyleParameter style)
{
    if (MenuItemRecord* i = Item(menu, item)) {
        i->style = uint8_t(style);
        SizeChanged(menu);
    }
}

void GetItemStyle(MenuRef menu, MenuItemIndex item, StyleParameter* style)
{
    const MenuItemRecord* i = Item(menu, item);
    if (style) *style = i ? i->style : 0;
}

void SetItemIcon(MenuRef menu, MenuItemIndex item, int16_t iconIndex)
{
    if (MenuItemRecord* i = Item(menu, item)) {
        i->icon = uint8_t(iconIndex);
        SizeChanged(menu);
    }
}

void GetItemIcon(MenuRef menu, MenuItemIndex item, int16_t* iconIndex)
{
    const MenuItemRecord* i = Item(menu, item);
    if (iconIndex) *iconIndex = i ? i->icon : 0;
}

void SetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter cmdChar)
{
    if (MenuItemRecord* i = Item(menu, item)) {
        i->cmd = uint8_t(cmdChar);
        SizeChanged(menu);
    }
}

void GetItemCmd(MenuRef menu, MenuItemIndex item, CharParameter* cmdChar)
{
    const MenuItemRecord* i = Item(menu, item);
    if (cmdChar) *cmdChar = i ? i->cmd : 0;
}

OSStatus SetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID submenuID)
{
    if (!IsMenu(menu)) return menuInvalidErr;
    MenuItemRecord* i = Item(menu, item);
    if (!i) return menuItemNotFoundErr;
    i->submenu = submenuID;
    SizeChanged(menu);
    return noErr;
}

OSStatus GetMenuItemHierarchicalID(MenuRef menu, MenuItemIndex item, MenuID* submenuID)
{
    if (!IsMenu(menu)) return menuInvalidErr;
    MenuItemRecord* i = Item(menu, item);
    if (!i) return menuItemNotFoundErr;
    if (submenuID) *submenuID = SubmenuOf(*i);
    return noErr;
}

void EnableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (!IsMenu(menu)) return;
    if (item == 0) {
        menu->enabled = true;
        MenuBarChanged();
    } else if (MenuItemRecord* i = Item(menu, item)) {
        i->enabled = true;
    }
}

void DisableMenuItem(MenuRef menu, MenuItemIndex item)
{
    if (!IsMenu(menu)) return;
    if (item == 0) {
        menu->enabled = false;
        MenuBarChanged();
    } else if (MenuItemRecord* i = Item(menu, item)) {
        i->enabled = false;
    }
}

OSStatus SetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand command)
{
    MenuItemRecord* i = Item(menu, item);
    if (!i) return IsMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    i->command = command;
    return noErr;
}

OSStatus GetMenuItemCommandID(MenuRef menu, MenuItemIndex item, MenuCommand* command)
{
    const MenuItemRecord* i = Item(menu, item);
    if (!i) return IsMenu(menu) ? menuItemNotFoundErr : menuInvalidErr;
    if (command) *command = i->command;
    return noErr;
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item)
{
    if (!IsMenu(menu)) return false;
    if (item == 0) return menu->enabled;
    const MenuItemRecord* i = Item(menu, item);
    return i && i->enabled;
}

OSStatus SetMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t size,
                             const void* data)
{
    if (creator == 0) return menuPropertyInvalidErr;
    if (size > 0 && !data) return paramErr;
    OSStatus err = noErr;
    MenuProperties* props = PropertiesOf(menu, item, &err);
    if (!props) return err;
    try {
        const auto* bytes = static_cast<const uint8_t*>(data);
        (*props)[{creator, tag}] = std::vector<uint8_t>(bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

OSStatus GetMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t bufferSize,
                             uint32_t* actualSize, void* buffer)
{
    OSStatus err = noErr;
    MenuProperties* props = PropertiesOf(menu, item, &err);
    if (!props) return err;
    auto it = props->find({creator, tag});
    if (it == props->end()) return menuPropertyNotFoundErr;
    if (actualSize) *actualSize = uint32_t(it->second.size());
    // A buffer of any other size would be overrun or left partly unset.
    if (bufferSize != it->second.size() || (bufferSize > 0 && !buffer)) return paramErr;
    if (bufferSize > 0) std::memcpy(buffer, it->second.data(), bufferSize);
    return noErr;
}

OSStatus GetMenuItemPropertySize(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag, uint32_t* size)
{
    OSStatus err = noErr;
    MenuProperties* props = PropertiesOf(menu, item, &err);
    if (!props) return err;
    auto it = props->find({creator, tag});
    if (it == props->end()) return menuPropertyNotFoundErr;
    if (size) *size = uint32_t(it->second.size());
    return noErr;
}

OSStatus RemoveMenuItemProperty(MenuRef menu, MenuItemIndex item, OSType creator, OSType tag)
{
    OSStatus err = noErr;
    MenuProperties* props = PropertiesOf(menu, item, &err);
    if (!props) return err;
    return props->erase({creator, tag}) ? noErr : menuPropertyNotFoundErr;
}

void CalcMenuSize(MenuRef menu)
{
    if (!IsMenu(menu)) return;
    Rect r{0, 0, 0, 0};
    CallDefinition(menu, kMenuSizeMsg, &r, Point{0, 0}, nullptr);
}

int16_t GetMenuWidth(MenuRef menu) { return IsMenu(menu) ? menu->width : 0; }
int16_t GetMenuHeight(MenuRef menu) { return IsMenu(menu) ? menu->height : 0; }
void SetMenuWidth(MenuRef menu, int16_t width)
{
    if (IsMenu(menu)) menu->width = width;
}
void SetMenuHeight(MenuRef menu, int16_t height)
{
    if (IsMenu(menu)) menu->height = height;
}

void ResetMenuManager()
{
    while (!AllMenus().empty()) {
        MenuRef m = AllMenus().back();
        ForgetMenu(m);
        delete m;
    }
    ResetMenuTracking();
}

// The stored form: id, width, height, definition id, a filler, the enable
// flags (bit 0 the menu, bit n item n), the title, then the items (text,
// icon, key, mark, style) up to an empty text.
bool ReadMenuResource(const uint8_t* bytes, size_t size, MenuResourceData* menu)
{
    if (!bytes || size < 15) return false;
    auto be16 = [&](size_t at) { return ReadBE16(bytes + at); };
    MenuResourceData d;
    d.id = MenuID(be16(0));
    d.procID = int16_t(be16(6));
    d.enableFlags = (uint32_t(be16(10)) << 16) | be16(12);
    size_t at = 14;
    const size_t titleLength = bytes[at++];
    if (size - at < titleLength) return false;
    d.title.assign(reinterpret_cast<const char*>(bytes + at), titleLength);
    at += titleLength;
    for (;;) {
        if (at >= size) return false;  // no end mark
        const size_t n = bytes[at++];
        if (n == 0) break;
        if (size - at < n + 4) return false;
        MenuItemRecord item;
        item.text.assign(reinterpret_cast<const char*>(bytes + at), n);
        at += n;
        item.icon = bytes[at];
        item.cmd = bytes[at + 1];
        item.mark = bytes[at + 2];
        item.style = bytes[at + 3];
        at += 4;
        if (item.text == "-") item.enabled = false;
        d.items.push_back(std::move(item));
    }
    *menu = std::move(d);
    return true;
}

}  // namespace platform
