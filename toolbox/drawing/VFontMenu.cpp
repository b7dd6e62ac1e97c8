// The font submenu: the installed font names, checked at the command's
// string value, scrolled between arrow items when taller than the screen.
#include <algorithm>
#include <new>

#include "platform/drawing/Ports.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VCustomMenu.h"
#include "toolbox/drawing/VMacThemeDrawContext.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VArrayString.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

const VArrayString* Fonts() { return gSystem ? &gSystem->GetFontList() : nullptr; }

void MenuGlyphs(VPainter* painter)
{
    VStr<8> name;
    name.FromCString(reinterpret_cast<const uint8_t*>("%Menu"));
    painter->SetFont(name);
}

}  // namespace

VFontMenu::VFontMenu(VMenu* parent, int32_t command) : VMenu(nullptr, 0)
{
    SetParentMenu(parent);
    fCommand = FindCommand(command);
}

int32_t VFontMenu::GetItemsCount() const
{
    const VArrayString* fonts = Fonts();
    return fonts ? std::min<int32_t>(fonts->GetCount(), 0x7FFF) : 0;
}

void VFontMenu::FindCurrent()
{
    fCurrent = 0;
    VValue* value = menulink::Value(fCommand);
    const VArrayString* fonts = Fonts();
    if (value == nullptr || fonts == nullptr) return;
    VStr<255> name;
    value->ToString(name);
    const int32_t at = fonts->Find(name, 1, 1, 0);
    fCurrent = at > 0 && at <= 0x7FFF ? int16_t(at) : 0;
}

void VFontMenu::BuildMenuObject(VPainter*, bool asPopup, bool asSubmenu)
{
    if (fMenuRef != nullptr) return;
    if (!MakePlatformMenu()) return;
    InsertAndLink(asPopup, asSubmenu);
    static const uint8_t kBlank[] = {1, ' '};
    for (int32_t i = 0; i < GetItemsCount(); ++i) platform::AppendMenu(fMenuRef, kBlank);
    fCurrent = 0;
    if (fCommand == nullptr) return;
    if (!asPopup) Listen(fCommand, true);
    VValue* value = menulink::Value(fCommand);
    if (value == nullptr || value->GetValueKind() != kValueString)
        menulink::SetValue(fCommand, new VStr<80>(), true);
    FindCurrent();
}

void VFontMenu::UpdateCommand(VCommand*)
{
    if (fMenuRef == nullptr) return;
    if (fCommand != nullptr && menulink::Enabled(fCommand))
        platform::EnableMenuItem(fMenuRef, 0);
    else
        platform::DisableMenuItem(fMenuRef, 0);
    FindCurrent();
}

void VFontMenu::DoLineCommand(int16_t n)
{
    const VArrayString* fonts = Fonts();
    if (fCommand == nullptr || fonts == nullptr || n < 1 || n > fonts->GetCount()) return;
    VStr<255> name;
    if (VString* entry = fonts->GetVString(n)) name.FromVString(*entry);
    VValue* value = menulink::Value(fCommand);
    if (value == nullptr || value->GetValueKind() != kValueString) {
        menulink::SetValue(fCommand, new VStr<255>(), true);
        value = menulink::Value(fCommand);
        if (value == nullptr) return;
    }
    value->FromString(name);
    menulink::SetValue(fCommand, value, false);
    DoCommand(this, menulink::Number(fCommand), 0);
}

void VFontMenu::MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height)
{
    painter->SetStdFont(fMini ? 1 : 0);
    const VArrayString* fonts = Fonts();
    const auto count = int16_t(GetItemsCount());
    float widest = 0;
    for (int32_t i = 1; i <= count; ++i)
        if (VString* name = fonts->GetVString(i)) widest = std::max(widest, painter->GetTextWidth(*name));
    fCheckWidth = int16_t(painter->GetTextWidth(uint8_t(0x12), kCharSetMac) + 2);
    width = int16_t(int32_t(widest) + fCheckWidth + 10);
    fFirstShown = 1;
    fScrollZone = 0;
    fLineHeight = std::max<int16_t>(painter->GetFontHeight(), 1);
    const int32_t total = int32_t(fLineHeight) * count;
    fTotalHeight = int16_t(std::min<int32_t>(total, 0x7FFF));
    if (height < total) {
        // Whole lines only, the last of them the downward scroll item.
        fLastShown = int16_t(height / fLineHeight - 1);
        height = int16_t(fLineHeight * (height / fLineHeight));
    } else {
        height = fTotalHeight;
        fLastShown = count;
    }
}

void VFontMenu::GetItemCoords(int16_t n, int16_t& x, int16_t& y, int16_t&, int16_t& height)
{
    if (n < 1) return;
    x = 0;
    y = int16_t((fFirstShown == 1 ? 0 : fLineHeight) + fLineHeight * (n - fFirstShown));
    height = fLineHeight;
}

int16_t VFontMenu::EntryTop(int16_t index) const
{
    return int16_t((fFirstShown == 1 ? 0 : fLineHeight) + fLineHeight * (index - fFirstShown));
}

void VFontMenu::DrawEntryAt(VPainter* painter, int16_t index, int16_t y, int16_t width, bool hilite)
{
    painter->AddOffset(0, y);
    DrawOneItem(painter, index, width, hilite);
    painter->RestoreOffset();
}

namespace {

void EntryBackground(VMenu* menu, VPainter* painter, int16_t width, int16_t height, bool hilite)
{
    if (VMenu::UsesThemeDrawing(menu->GetLook())) {
        int32_t ox = 0, oy = 0, sx = 0, sy = 0;
        painter->GetOffset(ox, oy);
        painter->GetOffscreenOffset(sx, sy);
        const platform::Rect r{int16_t(oy - sy), int16_t(ox - sx), int16_t(oy - sy + height), int16_t(ox - sx + width)};
        VMacThemeDrawContext context;
        context.UsePainter(painter, &r);
        const platform::Rect back{int16_t(r.top + 4), r.left, int16_t(r.bottom - 4), r.right};
        platform::DrawThemeMenuBackground(&back, platform::kThemeMenuTypePullDown);
        platform::DrawThemeMenuItem(&r, &r, r.top, r.bottom, hilite ? platform::kThemeMenuSelected : platform::kThemeMenuActive,
                                    platform::kThemeMenuItemPlain, nullptr, 0);
        context.Release();
        return;
    }
    painter->SetFillStdColor(hilite ? 34 : 33);
    painter->SetFillStdPattern(kPatternBlack);
    painter->FillVRect(0, 0, width, height);
}

}  // namespace

void VFontMenu::DrawOneItem(VPainter* painter, int16_t index, int16_t width, bool hilite)
{
    const VArrayString* fonts = Fonts();
    VString* name = fonts ? fonts->GetVString(index) : nullptr;
    EntryBackground(this, painter, width, fLineHeight, hilite);
    painter->SetTextStdColor(hilite ? 32 : 25);
    painter->SetStdFont(fMini ? 1 : 0);
    const int16_t ascent = painter->GetFontAscent();
    if (index == fCurrent) {
        MenuGlyphs(painter);
        const uint8_t check = '0';
        painter->SetTextPos(4, ascent);
        painter->DrawText(&check, 1, kCharSetMac, 1.0);
        painter->SetStdFont(fMini ? 1 : 0);
    }
    if (name != nullptr) {
        painter->SetTextPos(fCheckWidth + 4, ascent);
        painter->DrawText(*name);
    }
}

void VFontMenu::DrawScrollItem(VPainter* painter, int16_t width, bool downward, bool hilite)
{
    EntryBackground(this, painter, width, fLineHeight, hilite);
    painter->SetTextStdColor(hilite ? 32 : 25);
    painter->SetStdFont(fMini ? 1 : 0);
    const int16_t ascent = painter->GetFontAscent();
    MenuGlyphs(painter);
    const uint8_t code = downward ? 0x41 : 0x40;
    painter->SetTextPos((width - painter->GetTextWidth(code, kCharSetMac)) * 0.5, ascent);
    painter->DrawText(&code, 1, kCharSetMac, 1.0);
    painter->SetStdFont(fMini ? 1 : 0);
}

void VFontMenu::DrawItems(VPainter* painter, int16_t width, int16_t height)
{
    if (painter == nullptr) return;
    const auto count = int16_t(GetItemsCount());
    if (height >= fTotalHeight) {
        for (int32_t i = 1; i <= count; ++i) DrawEntryAt(painter, i, int16_t((i - 1) * fLineHeight), width, false);
        return;
    }
    if (fFirstShown > 1) DrawScrollItem(painter, width, false, false);
    for (int16_t i = fFirstShown; i <= fLastShown; ++i) DrawEntryAt(painter, i, EntryTop(i), width, false);
    if (fLastShown < count) {
        painter->AddOffset(0, height - fLineHeight);
        DrawScrollItem(painter, width, true, false);
        painter->RestoreOffset();
    }
}

int16_t VFontMenu::ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                              int16_t*)
{
    const auto count = int16_t(GetItemsCount());
    const int16_t lh = fLineHeight;
    if (lh <= 0) return 0;
    const bool inside = x > 0 && x < width && y > 0 && y < height;
    if (height >= fTotalHeight) {
        int16_t item = inside ? int16_t(y / lh + 1) : 0;
        if (item > count) item = 0;
        if (item != current && painter != nullptr) {
            if (current != 0) DrawEntryAt(painter, current, int16_t((current - 1) * lh), width, false);
            if (item != 0) DrawEntryAt(painter, item, int16_t((item - 1) * lh), width, true);
        }
        return item;
    }
    int16_t zone = 0, item = 0;
    if (inside) {
        if (fFirstShown >= 2 && y <= lh)
            zone = 1;
        else if (fLastShown < count && y >= height - lh)
            zone = 2;
        else
            item = int16_t(fFirstShown == 1 ? y / lh + 1 : fFirstShown + y / lh - 1);
    }
    if (item > count) item = 0;
    if ((item != current || zone != 0) && painter != nullptr) {
        if (fScrollZone == 0 && current != 0)
            DrawEntryAt(painter, current, EntryTop(current), width, false);
        else if (fScrollZone != 0 && fScrollZone != zone) {
            painter->AddOffset(0, fScrollZone == 1 ? 0 : height - lh);
            DrawScrollItem(painter, width, fScrollZone == 2, false);
            painter->RestoreOffset();
        }
        if (zone == 1) {
            const int16_t step = fFirstShown >= 4 && y < lh / 2 ? 3 : 1;
            const bool lastWasEnd = fLastShown == count;
            fFirstShown = int16_t(fFirstShown - step);
            fLastShown = int16_t(fLastShown - step);
            // Back at the start, the first entry takes the upward item's
            // line: the others move one line less than the step.
            const int16_t lines = fFirstShown < 2 ? int16_t(step - 1) : step;
            // The band between the scroll items moves down: its source ends
            // where the moved lines stop short of the downward item.
            VRect band(0, lh, width, height - 2 * lh - lines * lh);
            if (lines > 0) painter->ScrollVRect(&band, 0, lines * lh);
            if (fFirstShown < 2) {
                fFirstShown = 1;
                item = 1;
                zone = 0;
            }
            for (int16_t i = fFirstShown; i < fFirstShown + step + 1 && i <= fLastShown; ++i)
                DrawEntryAt(painter, i, EntryTop(i), width, false);
            if (lastWasEnd) {
                painter->AddOffset(0, height - lh);
                DrawScrollItem(painter, width, true, false);
                painter->RestoreOffset();
            }
        } else if (zone == 2) {
            const int16_t step = count - fLastShown >= 4 && y > height - lh / 2 ? 3 : 1;
            const bool firstWasStart = fFirstShown == 1;
            fFirstShown = int16_t(fFirstShown + step);
            fLastShown = int16_t(fLastShown + step);
            // Leaving the start, the upward item takes the first entry's
            // line: the others move one line less than the step.
            const int16_t lines = firstWasStart ? int16_t(step - 1) : step;
            // The source starts below the upward item's line by the lines
            // moved, so that item is never scrolled over.
            VRect band(0, lh + lines * lh, width, height - 2 * lh - lines * lh);
            if (lines > 0) painter->ScrollVRect(&band, 0, -lines * lh);
            if (fLastShown >= count) {
                fFirstShown = int16_t(fFirstShown - (fLastShown - count));
                fLastShown = count;
                item = count;
                zone = 0;
            }
            for (int16_t i = int16_t(std::max<int32_t>(fLastShown - step, fFirstShown)); i <= fLastShown; ++i)
                DrawEntryAt(painter, i, EntryTop(i), width, false);
            if (firstWasStart) DrawScrollItem(painter, width, false, false);
        }
        if (zone != 0) {
            painter->AddOffset(0, zone == 1 ? 0 : height - lh);
            DrawScrollItem(painter, width, zone == 2, true);
            painter->RestoreOffset();
        }
        if (item != 0) DrawEntryAt(painter, item, EntryTop(item), width, true);
    }
    fScrollZone = zone;
    return item;
}
