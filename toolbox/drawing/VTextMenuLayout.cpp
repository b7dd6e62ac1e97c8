// Measuring, drawing and mouse tracking of a text menu: one column of items
// with mark, title, modifier and key columns; when the items do not fit, a
// window of them between an upward and a downward scroll item.
#include <algorithm>
#include <cmath>

#include "platform/drawing/Ports.h"
#include "platform/drawing/ThemeText.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VMacThemeDrawContext.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/system/VSystem.h"

void VTextMenu::SetMenuFont(VPainter* painter) const { painter->SetStdFont(fMini ? 1 : 0); }

void VTextMenu::MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height)
{
    SetMenuFont(painter);
    fLineHeight = painter->GetFontHeight();
    const StdLook look = painter->GetLook();
    if (fMini || (look != 4 && look != 5 && !VPainter::IsAppearanceAvailable())) {
        fLineHeight = int16_t(fLineHeight + 2);
        if (VSystem::GetVersion() >= 0x1000) fLineHeight = int16_t(fLineHeight + 3);
    }
    const auto check = int16_t(painter->GetTextWidth(uint8_t(0x12), kCharSetMac));
    fMarkWidth = fTitleWidth = fModifiersWidth = 0;
    fKeyWidth = check;
    fTotalHeight = 0;
    fFirstShown = 1;
    fLastShown = 0;
    fScrollZone = 0;
    int32_t total = 0, fitting = 0;
    for (size_t i = 0; i < fItems.size(); ++i) {
        int16_t mark = 0, title = 0, modifiers = 0, key = 0;
        const int16_t h = fItems[i]->Measure(painter, fLineHeight, &mark, &title, &modifiers, &key);
        fMarkWidth = std::max(fMarkWidth, mark);
        fTitleWidth = std::max(fTitleWidth, title);
        fModifiersWidth = std::max(fModifiersWidth, modifiers);
        fKeyWidth = std::max(fKeyWidth, key);
        total += h;
        if (total + fLineHeight < height) {
            fLastShown = int16_t(i + 1);
            fitting = total;
        }
    }
    fTotalHeight = int16_t(std::min<int32_t>(total, 0x7FFF));
    height = int16_t(total <= height ? total : fitting + fLineHeight);
    fMarkWidth = std::max(fMarkWidth, check);
    int32_t w = 8 + fMarkWidth + 4 + fTitleWidth;
    if (fModifiersWidth != 0 || fKeyWidth != 0) w += fModifiersWidth + fKeyWidth + 8;
    width = int16_t(std::min<int32_t>(w, 0x7FFF));
}

void VTextMenu::GetItemCoords(int16_t item, int16_t& x, int16_t& y, int16_t& width, int16_t& height)
{
    (void)width;
    VMenuItem* target = GetNthItem(item);
    if (item < 1) return;
    x = 0;
    int32_t top = fFirstShown == 1 ? 0 : fLineHeight;
    for (int16_t i = fFirstShown; i < item; ++i)
        if (VMenuItem* it = GetNthItem(i)) top += it->GetHeight();
    y = int16_t(top);
    height = target ? target->GetHeight() : 0;
}

int16_t VTextMenu::ItemAt(int16_t y, int16_t first, int16_t top) const
{
    int32_t rest = y - top;
    if (rest < 0) return 0;
    for (int32_t i = first; i <= GetItemsCount(); ++i) {
        rest -= GetNthItem(i)->GetHeight();
        if (rest < 0) return int16_t(i);
    }
    return 0;
}

void VTextMenu::DrawItem(VPainter* painter, VMenuItem* item, int32_t width, bool hilite)
{
    if (painter == nullptr || item == nullptr) return;
    item->Draw(painter, hilite, int16_t(width), fMarkWidth, fTitleWidth, fModifiersWidth, fKeyWidth);
}

void VTextMenu::DrawNthItem(VPainter* painter, int16_t width, int16_t item, bool hilite)
{
    VMenuItem* it = GetNthItem(item);
    if (painter == nullptr || it == nullptr) return;
    int16_t x = 0, y = 0, w = 0, h = 0;
    GetItemCoords(item, x, y, w, h);
    painter->AddOffset(x, y);
    DrawItem(painter, it, width, hilite);
    painter->RestoreOffset();
}

void VTextMenu::DrawRange(VPainter* painter, int16_t width, int16_t from, int16_t to, int16_t y)
{
    for (int16_t i = from; i <= to; ++i) {
        VMenuItem* item = GetNthItem(i);
        if (item == nullptr) break;
        painter->AddOffset(0, y);
        DrawItem(painter, item, width, false);
        painter->RestoreOffset();
        y = int16_t(y + item->GetHeight());
    }
}

void VTextMenu::DrawItems(VPainter* painter, int16_t width, int16_t height)
{
    if (painter == nullptr) return;
    SetMenuFont(painter);
    const auto count = int16_t(GetItemsCount());
    if (height >= fTotalHeight) {
        DrawRange(painter, width, 1, count, 0);
        return;
    }
    if (fFirstShown > 1) {
        DrawScrollItem(painter, width, fLineHeight, false, false);
        DrawRange(painter, width, fFirstShown, fLastShown, fLineHeight);
    } else {
        // The extra item lies under the downward scroll item.
        DrawRange(painter, width, 1, int16_t(std::min<int32_t>(fLastShown + 1, count)), 0);
    }
    if (fLastShown < count) {
        painter->AddOffset(0, height - fLineHeight);
        DrawScrollItem(painter, width, fLineHeight, true, false);
        painter->RestoreOffset();
    }
}

void VTextMenu::DrawScrollItem(VPainter* painter, int16_t width, int16_t height, bool downward, bool hilite)
{
    const bool enabled = fCommand == nullptr || menulink::Enabled(fCommand);
    if (UsesThemeDrawing(fLook)) {
        int32_t ox = 0, oy = 0, sx = 0, sy = 0;
        painter->GetOffset(ox, oy);
        painter->GetOffscreenOffset(sx, sy);
        const platform::Rect r{int16_t(oy - sy), int16_t(ox - sx), int16_t(oy - sy + height), int16_t(ox - sx + width)};
        VMacThemeDrawContext context;
        context.UsePainter(painter, &r);
        const platform::ThemeMenuState state = hilite && enabled ? platform::kThemeMenuSelected
                                               : enabled         ? platform::kThemeMenuActive
                                                                 : platform::kThemeMenuDisabled;
        platform::DrawThemeMenuItem(&r, &r, r.top, r.bottom, state, platform::kThemeMenuItemPlain, nullptr, 0);
        const uint32_t rgb = hilite && enabled ? 0xFFFFFF : enabled ? 0 : 0x888888;
        const platform::RGBColor color{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                                       uint16_t((rgb & 0xFF) * 0x101)};
        platform::RGBForeColor(&color);
        const std::u16string arrow(1, downward ? char16_t(0x25BC) : char16_t(0x25B2));
        platform::DrawThemeTextBox(arrow, fMini ? platform::kThemeSmallSystemFont : platform::kThemeMenuItemFont,
                                   platform::kThemeStateActive, false, &r, platform::teCenter, nullptr);
        context.Release();
        return;
    }
    painter->SetFillStdColor(hilite ? 34 : 33);
    painter->SetFillStdPattern(kPatternBlack);
    painter->FillVRect(0, 0, width, height);
    painter->SetTextStdColor(hilite ? 28 : enabled ? 25 : 29);
    VStr<8> menuFont;
    menuFont.FromCString(reinterpret_cast<const uint8_t*>("%Menu"));
    painter->SetFont(menuFont);
    const uint8_t code = downward ? 0x41 : 0x40;
    painter->SetTextPos(2 * fMarkWidth, painter->GetFontAscent());
    painter->DrawText(&code, 1, kCharSetMac, 1.0);
    SetMenuFont(painter);
}

namespace {

// Repaints the background of a band uncovered by scrolling.
void ClearBand(VMenu* menu, VPainter* painter, int16_t y, int16_t width, int16_t height)
{
    if (height <= 0) return;
    painter->AddOffset(0, y);
    if (VMenu::UsesThemeDrawing(menu->GetLook())) {
        menu->DrawBackGround(painter, width, height);
    } else {
        painter->SetFillStdColor(33);
        painter->SetFillStdPattern(kPatternBlack);
        painter->FillVRect(0, 0, width, height);
    }
    painter->RestoreOffset();
}

}  // namespace

int16_t VTextMenu::ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                              int16_t* underMouse)
{
    const auto count = int16_t(GetItemsCount());
    auto usable = [&](int16_t i) {
        VMenuItem* it = GetNthItem(i);
        return it != nullptr && it->IsEnabled() && it->GetCommand() != nullptr && menulink::Enabled(it->GetCommand());
    };
    if (height >= fTotalHeight) {
        int16_t item = 0;
        if (x > 0 && x < width && y > 0 && y < height) item = ItemAt(y, 1, 0);
        if (underMouse) *underMouse = item;
        return item != 0 && usable(item) ? item : 0;
    }
    if (painter != nullptr) SetMenuFont(painter);
    int16_t zone = 0, item = 0;
    if (x >= 0 && x <= width && y >= 0 && y <= height) {
        if (fFirstShown > 1 && y <= fLineHeight)
            zone = 1;
        else if (fLastShown < count && y >= height - fLineHeight)
            zone = 2;
        else
            item = ItemAt(y, fFirstShown, fFirstShown > 1 ? fLineHeight : 0);
    }
    int16_t result = 0;
    if (zone == 0) {
        if (underMouse) *underMouse = item;
        result = item != 0 && usable(item) ? item : 0;
    }
    const int16_t previousZone = fScrollZone;
    if ((result == current && zone == 0) || painter == nullptr) {
        fScrollZone = zone;
        return result;
    }
    const int16_t lh = fLineHeight;
    if (previousZone != 0 && previousZone != zone) {
        painter->AddOffset(0, previousZone == 1 ? 0 : height - lh);
        DrawScrollItem(painter, width, lh, previousZone == 2, false);
        painter->RestoreOffset();
    }
    if (zone == 1) {
        const int16_t step = fFirstShown >= 5 && y < lh / 2 ? 3 : 1;
        const bool lastWasEnd = fLastShown == count;
        fFirstShown = int16_t(fFirstShown - step);
        fLastShown = int16_t(fLastShown - step);
        VRect band(0, lh, width, height - (step + 1) * lh - (lastWasEnd ? 0 : lh));
        painter->ScrollVRect(&band, 0, step * lh);
        int16_t drawFrom = fFirstShown, drawCount = step, top = lh;
        if (fFirstShown <= 2) {
            // The upward scroll item gives way to the first item.
            drawCount = int16_t(drawCount + (fFirstShown - 1));
            fFirstShown = 1;
            drawFrom = 1;
            top = 0;
            zone = 0;
            result = 1;
        }
        int32_t bandHeight = 0;
        for (int16_t i = drawFrom; i < drawFrom + drawCount; ++i)
            if (VMenuItem* it = GetNthItem(i)) bandHeight += it->GetHeight();
        ClearBand(this, painter, top, width, int16_t(bandHeight));
        DrawRange(painter, width, drawFrom, int16_t(drawFrom + drawCount - 1), top);
        if (lastWasEnd) {
            fLastShown = int16_t(fLastShown - 1);
            painter->AddOffset(0, height - lh);
            DrawScrollItem(painter, width, lh, true, false);
            painter->RestoreOffset();
        }
    } else if (zone == 2) {
        const int16_t step = count - fLastShown >= 5 && y > height - lh / 2 ? 3 : 1;
        const bool hadUp = fFirstShown > 1;
        fFirstShown = int16_t(fFirstShown + step);
        fLastShown = int16_t(fLastShown + step);
        const int16_t upper = hadUp ? lh : 0;
        VRect band(0, step * lh + upper, width, height - step * lh - lh - upper);
        painter->ScrollVRect(&band, 0, -step * lh);
        int16_t drawCount = step;
        if (fLastShown >= count - 1) {
            // The downward scroll item gives way to the last item.
            drawCount = int16_t(drawCount + (count - fLastShown));
            fLastShown = count;
            zone = 0;
            result = count;
        }
        const int16_t drawFrom = int16_t(fLastShown - drawCount + 1);
        int32_t above = upper, bandHeight = 0;
        for (int16_t i = fFirstShown; i < drawFrom; ++i)
            if (VMenuItem* it = GetNthItem(i)) above += it->GetHeight();
        for (int16_t i = drawFrom; i <= fLastShown; ++i)
            if (VMenuItem* it = GetNthItem(i)) bandHeight += it->GetHeight();
        const auto top = int16_t(above);
        ClearBand(this, painter, top, width, int16_t(bandHeight));
        DrawRange(painter, width, drawFrom, fLastShown, top);
        if (!hadUp) {
            fFirstShown = int16_t(fFirstShown + 1);
            DrawScrollItem(painter, width, lh, false, false);
        }
    }
    if (zone != 0 && zone != previousZone) {
        painter->AddOffset(0, zone == 1 ? 0 : height - lh);
        DrawScrollItem(painter, width, lh, zone == 2, true);
        painter->RestoreOffset();
    }
    if (result != 0 && underMouse) *underMouse = result;
    fScrollZone = zone;
    return result;
}
