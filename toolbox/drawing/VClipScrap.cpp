#include "toolbox/drawing/VClipScrap.h"

#include "platform/core/FourCC.h"
#include "platform/gestalt/Gestalt.h"

VClipScrap* gScrap = nullptr;
bool VMenu::sChecked = false;
bool VMenu::sFeature = false;

VClipScrap::VClipScrap()
{
    AddKind(platform::FourCC("TEXT"));
    AddKind(platform::FourCC("PICT"));
}

VClipScrap::~VClipScrap() = default;

bool VClipScrap::HasKind(uint32_t kind) const
{
    for (int32_t i = 1; i <= fKinds.GetCount(); ++i)
        if (uint32_t(fKinds.GetLong(i)) == kind) return true;
    return false;
}

bool VClipScrap::AddKind(uint32_t kind)
{
    if (HasKind(kind)) return true;
    const int32_t before = fKinds.GetCount();
    fKinds.AppendLong(int32_t(kind), 0);
    return fKinds.GetCount() == before + 1;
}

void MakeStartupScrap()
{
    if (!gScrap) gScrap = new VClipScrap;
}

void VMenu::Init()
{
    if (sChecked) return;
    sChecked = true;
    // Bit 0 of 'menu': menus keep properties of any size, so a menu can
    // carry a pointer back to its object.
    int32_t answer = 0;
    sFeature = platform::Gestalt(platform::FourCC("menu"), &answer) == platform::noErr &&
               (answer & (1 << platform::gestaltMenuMgrPresent)) != 0;
}

void InitMenus()
{
    VMenu::Init();
    VMenuBar::Init();
}
