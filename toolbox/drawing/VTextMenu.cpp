#include "toolbox/drawing/VTextMenu.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/drawing/XmnuResource.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FourCC;

namespace {

// The decimal number a title starts with (sign, then digits); 0 without.
int16_t TitleNumber(const uint8_t* title)
{
    int32_t n = 0;
    int32_t i = 1;
    bool negative = false;
    if (i <= title[0] && (title[i] == '-' || title[i] == '+')) negative = title[i++] == '-';
    for (; i <= title[0] && title[i] >= '0' && title[i] <= '9'; ++i) n = std::min<int32_t>(n * 10 + (title[i] - '0'), 0x7FFF);
    return int16_t(negative ? -n : n);
}

}  // namespace

// ---- Text menu: model -------------------------------------------------

VTextMenu::VTextMenu(VFrame* owner, VPainter* painter, int32_t command, VResourceFile* file, int16_t resourceID)
    : VMenu(owner, command)
{
    BuildFromResource(painter, file, resourceID);
}

VTextMenu::VTextMenu(VMenu* parent, VPainter* painter, int32_t command, VResourceFile* file, int16_t resourceID,
                     std::vector<int16_t>* path)
    : VMenu(nullptr, 0)
{
    SetParentMenu(parent);
    fCommand = FindCommand(command);
    BuildFromResource(painter, file, resourceID, path);
}

VTextMenu::~VTextMenu()
{
    RemoveAllItems(true);
}

void VTextMenu::BuildFromResource(VPainter* painter, VResourceFile* file, int16_t id, std::vector<int16_t>* path)
{
    if (file == nullptr || id == 0) return;
    std::vector<int16_t> own;
    if (path == nullptr) path = &own;
    // A menu that names itself as its own submenu, directly or through
    // others, stays empty there instead of building without end.
    if (std::find(path->begin(), path->end(), id) != path->end()) return;
    char** handle = file->GetResource(FourCC("XMNU"), id);
    if (handle == nullptr) return;
    XmnuMenu stored;
    platform::HLock(handle);
    ReadXmnu(reinterpret_cast<const uint8_t*>(*handle), size_t(platform::GetHandleSize(handle)), stored);
    platform::HUnlock(handle);
    file->ReleaseResource(handle);

    file->MakeString(fTitle, stored.title);
    if (fCommand == nullptr) fCommand = FindCommand(stored.command);
    path->push_back(id);
    for (const XmnuItem& e : stored.items) {
        VMenuItem* item = nullptr;
        switch (e.kind) {
        case FourCC("TEXT"):
            item = new VMenuItemText(this, painter, e.command, file, e.title, e.iconID, e.reserved, e.IsSwitch(), 0);
            break;
        case FourCC("NAME"):
            item = new VMenuItemName(this, painter, e.command, file, e.title, e.iconID, e.reserved, e.IsSwitch(), 0);
            break;
        case FourCC("LINE"):
            item = new VMenuItemLine(this, painter, 0);
            break;
        case FourCC("HIER"):
            item = new VMenuItemSubText(this, painter, e.command, file, TitleNumber(e.title), e.iconID, e.reserved,
                                        path);
            break;
        case FourCC("HCOL"):
            item = new VMenuItemSubColor(this, painter, e.command, file, e.title, e.iconID, e.reserved);
            break;
        case FourCC("HPAT"):
            item = new VMenuItemSubPattern(this, painter, e.command, file, e.title, e.iconID, e.reserved);
            break;
        case FourCC("FONT"):
        case FourCC("FNTT"):
            item = new VMenuItemSubFont(this, painter, e.command, file, e.title, e.iconID, e.reserved);
            break;
        default:
            break;  // an unknown kind is skipped
        }
        if (item != nullptr) item->SetArgument(e.argument);
    }
    path->pop_back();
}

void VTextMenu::AddItem(VMenuItem* item, int16_t position)
{
    if (position < 1 || size_t(position) > fItems.size())
        fItems.push_back(item);
    else
        fItems.insert(fItems.begin() + (position - 1), item);
}

void VTextMenu::RemoveItem(VMenuItem* item)
{
    auto it = std::find(fItems.begin(), fItems.end(), item);
    if (it != fItems.end()) fItems.erase(it);
}

void VTextMenu::RemoveAllItems(bool destroy)
{
    if (destroy) {
        while (!fItems.empty()) delete fItems.front();  // each item unlinks itself
    } else {
        for (VMenuItem* item : fItems) item->Detach();
        fItems.clear();
    }
}

VMenuItem* VTextMenu::GetNthItem(int32_t n) const
{
    return n >= 1 && size_t(n) <= fItems.size() ? fItems[size_t(n - 1)] : nullptr;
}

VMenu* VTextMenu::FindMenu(int32_t menuID)
{
    if (VMenu* self = VMenu::FindMenu(menuID)) return self;
    for (VMenuItem* item : fItems) {
        if (!item->IsASubMenu()) continue;
        VMenu* sub = static_cast<VMenuItemSub*>(item)->GetSubMenu();
        if (sub == nullptr) continue;
        if (VMenu* found = sub->FindMenu(menuID)) return found;
    }
    return nullptr;
}

void VTextMenu::SetMini(bool mini)
{
    fMini = mini;
    for (VMenuItem* item : fItems) item->SetMini(mini);
}

void VTextMenu::SetLook(StdLook look)
{
    VMenu::SetLook(look);
    for (VMenuItem* item : fItems) item->SetLook(look);
}

void VTextMenu::CommandGone(VCommand* command)
{
    VMenu::CommandGone(command);
    for (VMenuItem* item : fItems)
        if (item->GetCommand() == command) item->ForgetCommand();
}

// ---- Text menu: platform menu and commands ------------------------------


void VTextMenu::BuildMenuObject(VPainter* painter, bool asPopup, bool asSubmenu)
{
    if (fMenuRef == nullptr) {
        if (!MakePlatformMenu()) return;
        platform::InsertMenu(fMenuRef, !asPopup && !asSubmenu ? 0 : -1);
        if (!asPopup && !asSubmenu) Listen(fCommand, true);
    }
    auto setEnabled = [&](VMenuItem* item, platform::MenuItemIndex index) {
        const bool on = item->GetCommand() != nullptr && fCommand != nullptr && menulink::Enabled(item->GetCommand()) &&
                        menulink::Enabled(fCommand);
        if (on)
            platform::EnableMenuItem(fMenuRef, index);
        else
            platform::DisableMenuItem(fMenuRef, index);
    };
    if (platform::CountMenuItems(fMenuRef) > 0) {
        for (size_t i = 0; i < fItems.size(); ++i) {
            VMenuItem* item = fItems[i];
            if (!item->IsALine()) setEnabled(item, platform::MenuItemIndex(i + 1));
            if (item->IsASubMenu())
                if (VMenu* sub = static_cast<VMenuItemSub*>(item)->GetSubMenu()) sub->BuildMenuObject(painter, asPopup, true);
        }
        return;
    }
    static const uint8_t kPlaceholder[] = {1, 'V'};
    for (size_t i = 0; i < fItems.size(); ++i) {
        VMenuItem* item = fItems[i];
        const auto index = platform::MenuItemIndex(i + 1);
        platform::AppendMenu(fMenuRef, kPlaceholder);
        if (!item->IsALine()) {
            if (!asPopup) Listen(item->GetCommand(), true);
            setEnabled(item, index);
        }
        if (!item->IsASubMenu()) continue;
        VMenu* sub = static_cast<VMenuItemSub*>(item)->BuildSubMenu(painter);
        if (sub == nullptr) continue;
        sub->SetLook(fLook);
        sub->SetMini(fMini);
        sub->BuildMenuObject(painter, asPopup, true);
        if (platform::MenuRef subRef = sub->GetMenuObject()) {
            platform::SetItemCmd(fMenuRef, index, platform::hMenuCmd);
            platform::SetItemMark(fMenuRef, index, platform::GetMenuID(subRef));
        }
    }
    VMenu* self = this;
    platform::SetMenuItemProperty(fMenuRef, 0, FourCC("tlbx"), FourCC("VMen"), sizeof self, &self);
    platform::SetMenuWidth(fMenuRef, 0);
    platform::SetMenuHeight(fMenuRef, 0);
    platform::CalcMenuSize(fMenuRef);
}

void VTextMenu::DeleteMenuObject(bool deleteFromMenuList)
{
    for (VMenuItem* item : fItems) {
        Listen(item->GetCommand(), false);
        if (item->IsASubMenu()) static_cast<VMenuItemSub*>(item)->DeleteMenuObject(deleteFromMenuList);
    }
    DisposeMenu(deleteFromMenuList);
    Listen(fCommand, false);
}

void VTextMenu::UpdateCommand(VCommand*)
{
    if (fMenuRef == nullptr) return;
    VPainter* painter = GetPainter();
    BuildMenuObject(painter, false, false);
    ReleasePainter();
}

void VTextMenu::DoLineCommand(int16_t n)
{
    VMenuItem* item = GetNthItem(n);
    if (item == nullptr || item->GetCommand() == nullptr) return;
    VCommand* command = item->GetCommand();
    if (VCommand* group = menulink::Group(command)) {
        // The members show the choice through their own values.
        VLong one(1);
        menulink::SetValue(command, &one, false);
        DoCommand(this, menulink::Number(group), item->GetArgument());
        return;
    }
    if (item->IsSwitch()) {
        VValue* value = menulink::Value(command);
        if (value == nullptr || value->GetValueKind() != kValueLong) {
            menulink::SetValue(command, new VLong(1), true);
        } else {
            value->FromLong(value->GetLong() == 1 ? 0 : 1);
            menulink::SetValue(command, value, false);
        }
    }
    DoCommand(this, menulink::Number(command), item->GetArgument());
}
