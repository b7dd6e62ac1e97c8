#include "toolbox/drawing/MenuDef.h"

#include <new>

#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VMenu.h"
#include "toolbox/drawing/VScreenPainter.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

// The port's text and colours, kept across a drawing message.
class PortState {
public:
    PortState()
    {
        platform::GetPort(&fPort);
        auto* port = reinterpret_cast<platform::CGrafPtr>(fPort);
        fFont = platform::GetPortTextFont(port);
        fSize = platform::GetPortTextSize(port);
        fFace = platform::GetPortTextFace(port);
        platform::GetForeColor(&fFore);
        platform::GetBackColor(&fBack);
    }
    ~PortState()
    {
        platform::SetPort(fPort);
        platform::TextFont(fFont);
        platform::TextSize(fSize);
        platform::TextFace(fFace);
        platform::RGBForeColor(&fFore);
        platform::RGBBackColor(&fBack);
    }
    PortState(const PortState&) = delete;
    PortState& operator=(const PortState&) = delete;
    platform::CGrafPtr Port() const { return reinterpret_cast<platform::CGrafPtr>(fPort); }

private:
    platform::GrafPtr fPort = nullptr;
    int16_t fFont = 0, fSize = 0;
    platform::StyleField fFace = 0;
    platform::RGBColor fFore{}, fBack{};
};

void Draw(VMenu* menu, const platform::Rect& r)
{
    PortState state;
    VScreenPainter painter(state.Port());
    painter.SetLook(menu->GetLook());
    painter.AddOffset(r.left, r.top);
    menu->DrawBackGround(&painter, int16_t(r.right - r.left), int16_t(r.bottom - r.top));
    painter.AddOffset(1, 1);
    menu->DrawItems(&painter, int16_t(r.right - r.left - 2), int16_t(r.bottom - r.top - 2));
    painter.RestoreOffset();
    painter.RestoreOffset();
}

void Size(VMenu* menu, platform::MenuRef ref)
{
    VComputingPainter painter;
    painter.SetLook(menu->GetLook());
    int16_t width = int16_t(VSystem::GetScreenWidth());
    const platform::GDHandle device = platform::GetMainDevice();
    const platform::Rect& screen = (*device)->gdRect;
    int16_t height = int16_t(screen.bottom - screen.top - VSystem::GetMenuBarHeight(false) - 4);
    menu->MakeWidthHeight(&painter, width, height);
    platform::SetMenuWidth(ref, int16_t(width + 2));
    platform::SetMenuHeight(ref, int16_t(height + 2));
}

void FindItem(VMenu* menu, platform::MenuRef ref, const platform::Rect& r, platform::Point hit,
              platform::MenuTrackingData* data)
{
    PortState state;
    VScreenPainter painter(state.Port());
    painter.SetLook(menu->GetLook());
    painter.AddOffset(r.left + 1, r.top + 1);
    int16_t underMouse = 0;
    // Items are drawn from (left + 1, top + 1) within width - 2 and
    // height - 2: the hit test uses the same frame, so an item's last pixel
    // row selects that item.
    const int16_t selected =
        menu->ChooseItem(&painter, int16_t(r.right - r.left - 2), int16_t(r.bottom - r.top - 2),
                         int16_t(hit.h - r.left - 1), int16_t(hit.v - r.top - 1), int16_t(data->itemSelected),
                         &underMouse);
    painter.RestoreOffset();
    data->itemSelected = platform::MenuItemIndex(selected);
    data->itemUnderMouse = platform::MenuItemIndex(underMouse);
    int16_t x = 0, y = 0, w = 0, h = 0;
    menu->GetItemCoords(underMouse, x, y, w, h);
    data->itemRect = platform::Rect{int16_t(r.top + y), int16_t(r.left + x), int16_t(r.top + y + h),
                                    int16_t(r.right + x)};
    if (platform::SetMenuItemProperty(ref, 0, platform::FourCC("tlbx"), platform::FourCC("VItm"), sizeof selected,
                                      &selected) == platform::noErr)
        gMenuHandle = ref;
}

void HiliteItem(VMenu* menu, const platform::Rect& r, const platform::HiliteMenuItemData* data)
{
    if (!menu->IsTextMenu() || data->previousItem == data->newItem) return;
    PortState state;
    VScreenPainter painter(state.Port());
    painter.SetLook(menu->GetLook());
    if (VMenu::UsesThemeDrawing(menu->GetLook())) {
        if (!menu->MAC_NeedItemHiliteOrder()) return;
        painter.AddOffset(r.left + 1, r.top + 1);
        const int16_t width = int16_t(r.right - r.left - 2);
        if (data->previousItem != 0) menu->DrawNthItem(&painter, width, int16_t(data->previousItem), false);
        if (data->newItem != 0) menu->DrawNthItem(&painter, width, int16_t(data->newItem), true);
        painter.RestoreOffset();
        return;
    }
    painter.AddOffset(r.left, r.top);
    const int16_t width = int16_t(r.right - r.left);
    auto edges = [&](int16_t item, StdColor a, StdColor b) {
        if (item == 0) return;
        int16_t x = 0, y = 0, w = 0, h = 0;
        menu->GetItemCoords(item, x, y, w, h);
        if (item == 1) {
            painter.SetLineStdColor(a);
            painter.DrawVLine(x, y, width - 1, y);
        }
        if (item == menu->GetItemsCount()) {
            painter.SetLineStdColor(b);
            painter.DrawVLine(x + 1, y + h + 1, width - 1, y + h + 1);
        }
        painter.SetLineStdColor(a);
        painter.DrawVLine(x, y + 1, x, y + h);
        painter.SetLineStdColor(b);
        painter.DrawVLine(width - 1, y + 1, width - 1, y + h);
    };
    edges(int16_t(data->previousItem), 0, 42);
    edges(int16_t(data->newItem), 57, 58);
    painter.RestoreOffset();
}

}  // namespace

platform::Rect PlacePopUp(int16_t top, int16_t left, int16_t width, int16_t height)
{
    const platform::Rect point{top, left, int16_t(top + 1), int16_t(left + 1)};
    platform::GDHandle device = platform::GetMaxDevice(&point);
    if (device == nullptr) device = platform::GetMainDevice();
    const platform::Rect d = (*device)->gdRect;
    platform::Rect r{top, left, int16_t(top + height), int16_t(left + width)};
    if (width < d.right - d.left - 4) {
        if (r.left < d.left + 2) {
            r.left = int16_t(d.left + 2);
        } else if (r.right > d.right - 2) {
            r.left = int16_t(d.right - 2 - width);
        }
        r.right = int16_t(r.left + width);
    } else {
        r.left = int16_t(d.left + 2);
        r.right = int16_t(d.right - 2);
    }
    if (height < d.bottom - d.top - 4) {
        // A top above the device would leave the first items out of reach.
        if (r.top < d.top + 2) {
            r.top = int16_t(d.top + 2);
        } else if (r.bottom > d.bottom - 2) {
            r.top = int16_t(d.bottom - 2 - height);
        }
        r.bottom = int16_t(r.top + height);
    } else {
        r.top = int16_t(d.top + 2);
        r.bottom = int16_t(d.bottom - 2);
    }
    return r;
}

void MAC_MDEF(int16_t message, platform::MenuRef menu, platform::Rect* menuRect, platform::Point hitPt,
              int16_t* whichItem)
{
    if (message == platform::kMenuInitMsg) return;
    VMenu* object = MenuOfPlatformMenu(menu);
    if (object == nullptr) return;
    try {
        switch (message) {
        case platform::kMenuDrawMsg:
            if (menuRect) Draw(object, *menuRect);
            break;
        case platform::kMenuSizeMsg:
            Size(object, menu);
            break;
        case platform::kMenuPopUpMsg:
            // The point carries the top in its horizontal half.
            if (menuRect)
                *menuRect = PlacePopUp(hitPt.h, hitPt.v, platform::GetMenuWidth(menu), platform::GetMenuHeight(menu));
            break;
        case platform::kMenuThemeSavvyMsg:
            if (whichItem) *whichItem = platform::kThemeSavvyMenuResponse;
            break;
        case platform::kMenuFindItemMsg:
            if (menuRect && whichItem)
                FindItem(object, menu, *menuRect, hitPt, reinterpret_cast<platform::MenuTrackingData*>(whichItem));
            break;
        case platform::kMenuHiliteItemMsg:
            if (menuRect && whichItem)
                HiliteItem(object, *menuRect, reinterpret_cast<const platform::HiliteMenuItemData*>(whichItem));
            break;
        default:
            break;
        }
    } catch (const std::bad_alloc&) {
        // Memory ran out inside the platform's tracking: the message does nothing.
    }
}
