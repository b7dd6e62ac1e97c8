#include "toolbox/drawing/VMenu.h"

#include <new>

#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/MenuDef.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VScreenPainter.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FourCC;

bool VMenu::fMenuManagerChecked = false;
bool VMenu::fMenuManagerAvailable = false;
platform::MenuRef gMenuHandle = nullptr;

namespace {
const uint32_t kCreator = FourCC("tlbx");
const uint32_t kLinkTag = FourCC("VMen");
}  // namespace

void VMenu::Init() { MAC_IsMenuManagerAvailable(); }

bool VMenu::MAC_IsMenuManagerAvailable()
{
    if (!fMenuManagerChecked) {
        fMenuManagerChecked = true;
        // Bit 0 of 'menu': menus keep properties of any size, so a menu can
        // carry a pointer back to its object.
        int32_t answer = 0;
        fMenuManagerAvailable = platform::Gestalt(FourCC("menu"), &answer) == platform::noErr &&
                                (answer & (1 << platform::gestaltMenuMgrPresent)) != 0;
    }
    return fMenuManagerAvailable;
}

void InitMenus()
{
    VMenu::Init();
    VMenuBar::Init();
}

VMenu* MenuOfPlatformMenu(platform::MenuRef menu)
{
    if (menu == nullptr) return nullptr;
    VMenu* object = nullptr;
    uint32_t size = 0;
    if (platform::GetMenuItemProperty(menu, 0, kCreator, kLinkTag, sizeof object, &size, &object) != platform::noErr)
        return nullptr;
    return object;
}

bool VMenu::UsesThemeDrawing(StdLook look)
{
    return (look == -1 || look == 4 || look == 5) && VSystem::GetVersion() >= 0x1000;
}

VMenu::VMenu(VFrame* owner, int32_t command)
{
    SetOwner(owner);
    fCommand = FindCommand(command);
}

VMenu::~VMenu()
{
    DisposeMenu(true);
    Listen(fCommand, false);
}

void VMenu::SetOwner(VFrame* owner)
{
    fOwner = owner;
    fParent = nullptr;
    fMenuBar = nullptr;
    fDialog = nullptr;
}

void VMenu::SetParentMenu(VMenu* parent)
{
    SetOwner(nullptr);
    fParent = parent;
}

void VMenu::SetMenuBar(VMenuBar* bar)
{
    SetOwner(nullptr);
    fMenuBar = bar;
}

void VMenu::SetDialog(VDialQz* dialog)
{
    SetOwner(nullptr);
    fDialog = dialog;
}

VCommand* VMenu::FindCommand(int32_t number)
{
    if (fOwner) return menulink::FindCommand(fOwner, number);
    if (fParent) return fParent->FindCommand(number);
    if (fMenuBar) return fMenuBar->FindCommand(number);
    if (fDialog) return menulink::FindCommand(fDialog, number);
    return nullptr;
}

bool VMenu::FindShortcut(int32_t number, MenuShortcut& out)
{
    if (fOwner) return menulink::FindShortcut(fOwner, number, out);
    if (fParent) return fParent->FindShortcut(number, out);
    if (fMenuBar) return fMenuBar->FindShortcut(number, out);
    if (fDialog) return menulink::FindShortcut(fDialog, number, out);
    return false;
}

intptr_t VMenu::DoCommand(VObject* source, int32_t number, intptr_t argument)
{
    if (fOwner) return menulink::DoCommand(fOwner, source, number, argument);
    if (fParent) return fParent->DoCommand(source, number, argument);
    if (fMenuBar) return fMenuBar->DoCommand(source, number, argument) ? 1 : 0;
    if (fDialog) return menulink::DoCommand(fDialog, source, number, argument);
    return 0;
}

VPainter* VMenu::GetPainter()
{
    if (fOwner) return menulink::GetPainter(fOwner);
    if (fParent) return fParent->GetPainter();
    if (fMenuBar) return fMenuBar->GetPainter();
    return nullptr;
}

void VMenu::ReleasePainter()
{
    if (fOwner) menulink::ReleasePainter(fOwner);
    else if (fParent) fParent->ReleasePainter();
    else if (fMenuBar) fMenuBar->ReleasePainter();
}

void VMenu::CommandGone(VCommand* command)
{
    if (fCommand == command) fCommand = nullptr;
}

void VMenu::DoLineCommand(int16_t item)
{
    if (fCommand == nullptr) return;
    VValue* value = menulink::Value(fCommand);
    if (value != nullptr) {
        value->FromLong(item);
        menulink::SetValue(fCommand, value, false);
    } else {
        menulink::SetValue(fCommand, new VLong(item), true);
    }
    DoCommand(this, menulink::Number(fCommand), 0);
}

VMenu* VMenu::FindMenu(int32_t menuID)
{
    return fMenuRef != nullptr && platform::GetMenuID(fMenuRef) == menuID ? this : nullptr;
}

void VMenu::SetLook(StdLook look)
{
    fLook = look;
    if (fMenuRef != nullptr) {
        platform::SetMenuWidth(fMenuRef, 0);
        platform::SetMenuHeight(fMenuRef, 0);
        platform::CalcMenuSize(fMenuRef);
    }
}

void VMenu::DisposeMenu(bool deleteFromList)
{
    if (fMenuRef == nullptr) return;
    if (gMenuHandle == fMenuRef) gMenuHandle = nullptr;
    if (deleteFromList) platform::DeleteMenu(platform::GetMenuID(fMenuRef));
    platform::DisposeMenu(fMenuRef);
    fMenuRef = nullptr;
}

void VMenu::DeleteMenuObject(bool deleteFromMenuList)
{
    DisposeMenu(deleteFromMenuList);
    Listen(fCommand, false);
}

bool VMenu::MakePlatformMenu()
{
    platform::MenuID id = 1;
    while (platform::GetMenuHandle(id) != nullptr && id < 0x7FFF) ++id;
    platform::MenuDefSpec defSpec{platform::kMenuDefProcPtr, MAC_MDEF};
    platform::MenuRef menu = nullptr;
    if (platform::CreateCustomMenu(&defSpec, id, 0, &menu) != platform::noErr || menu == nullptr) return false;
    uint8_t title[256];
    fTitle.ToPString(title, 255, kCharSetMac);
    platform::SetMenuTitle(menu, title);
    fMenuRef = menu;
    return true;
}

void VMenu::InsertAndLink(bool asPopup, bool asSubmenu)
{
    const bool regular = !asPopup && !asSubmenu;
    platform::InsertMenu(fMenuRef, regular ? 0 : -1);
    VMenu* self = this;
    platform::SetMenuItemProperty(fMenuRef, 0, kCreator, kLinkTag, sizeof self, &self);
}

void VMenu::DrawBackGround(VPainter* painter, int16_t width, int16_t height)
{
    if (painter == nullptr) return;
    if (UsesThemeDrawing(fLook)) {
        int32_t ox = 0, oy = 0, sx = 0, sy = 0;
        painter->GetOffset(ox, oy);
        painter->GetOffscreenOffset(sx, sy);
        const platform::Rect r{int16_t(oy - sy), int16_t(ox - sx), int16_t(oy - sy + height), int16_t(ox - sx + width)};
        platform::DrawThemeMenuBackground(&r, fMini ? platform::kThemeMenuTypePopUp : platform::kThemeMenuTypePullDown);
        return;
    }
    painter->SetFillStdColor(33);
    painter->SetFillStdPattern(kPatternBlack);
    painter->FillVRect(0, 0, width, height);
    painter->SetLineStdColor(0);
    painter->DrawVLine(0, 0, 0, height - 1);
    painter->DrawVLine(0, 0, width - 1, 0);
    painter->SetLineStdColor(42);
    painter->DrawVLine(width - 1, 1, width - 1, height - 1);
    painter->DrawVLine(1, height - 1, width - 1, height - 1);
}

void VMenu::RunAsPopup(int32_t x, int32_t y, bool alignRight)
{
    SetLook(fLook);
    platform::GrafPtr port = nullptr;
    platform::GetPort(&port);
    {
        VScreenPainter painter(reinterpret_cast<platform::CGrafPtr>(port));
        painter.SetLook(fLook);
        BuildMenuObject(&painter, true, false);
        // Only the column widths matter here: the size message measures
        // again within the screen.
        int16_t w = 0x7FFF, h = 0x7FFF;
        MakeWidthHeight(&painter, w, h);
    }
    if (fMenuRef == nullptr) return;
    if (alignRight) x -= GetWidth();
    gMenuHandle = nullptr;
    const int32_t answer = platform::PopUpMenuSelect(fMenuRef, int16_t(y), int16_t(x), 1);
    int16_t menuID = int16_t(answer >> 16);
    int16_t item = int16_t(answer & 0xFFFF);
    platform::MenuRef recorded = gMenuHandle ? gMenuHandle : fMenuRef;
    gMenuHandle = nullptr;
    int16_t chosen = 0;
    uint32_t size = 0;
    if (platform::GetMenuItemProperty(recorded, 0, kCreator, FourCC("VItm"), sizeof chosen, &size, &chosen) ==
            platform::noErr &&
        chosen != 0)
        item = chosen;
    if (menuID != 0 && item != 0) {
        // A choice on a menu nobody here knows does nothing.
        if (VMenu* found = FindMenu(menuID)) {
            DisposeMenu(true);
            found->DoLineCommand(item);
        }
    }
    DeleteMenuObject(true);
}

VMenuBar::~VMenuBar() { ReleasePainter(); }

VPainter* VMenuBar::GetPainter()
{
    ReleasePainter();
    fPainter = new VComputingPainter();
    return fPainter;
}

void VMenuBar::ReleasePainter()
{
    delete fPainter;
    fPainter = nullptr;
}
