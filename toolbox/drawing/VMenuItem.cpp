#include <algorithm>
#include <cmath>
#include <new>

#include "platform/drawing/Ports.h"
#include "platform/drawing/ThemeText.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VCustomMenu.h"
#include "toolbox/drawing/VMacThemeDrawContext.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/drawing/VTextMenu.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VValue.h"
#include "toolbox/foundation/system/VSystem.h"

namespace {

void SetMenuGlyphFont(VPainter* painter)
{
    VStr<8> name;
    name.FromCString(reinterpret_cast<const uint8_t*>("%Menu"));
    painter->SetFont(name);
}

int16_t GlyphWidth(VPainter* painter, uint8_t code) { return int16_t(painter->GetTextWidth(code, kCharSetMac)); }

void DrawGlyphs(VPainter* painter, const uint8_t* codes, int32_t n, double x, double y)
{
    painter->SetTextPos(x, y);
    painter->DrawText(codes, n, kCharSetMac, 1.0);
}

std::u16string U16(const VString& s)
{
    std::u16string out;
    for (int32_t i = 1; i <= s.GetLength(); ++i) out.push_back(s.GetChar(i));
    return out;
}

// The modifier glyph codes of a shortcut, in drawing order.
int32_t ModifierCodes(uint8_t modifiers, uint8_t out[3])
{
    int32_t n = 0;
    if (modifiers & 0x20) out[n++] = 4;
    if (modifiers & 0x08) out[n++] = 3;
    if (modifiers & 0x80) out[n++] = 2;
    return n;
}

}  // namespace

// ---- Items ----------------------------------------------------------------

VMenuItem::VMenuItem(VTextMenu* menu, int32_t command, int16_t position) : VMenuObject(menu)
{
    if (fMenu != nullptr) {
        fCommand = fMenu->FindCommand(command);
        fMenu->AddItem(this, position);
    }
}

VMenuItem::~VMenuItem()
{
    if (fMenu != nullptr) fMenu->RemoveItem(this);
}

int16_t VMenuItem::Measure(VPainter*, int16_t lineHeight, int16_t*, int16_t*, int16_t*, int16_t*)
{
    fHeight = lineHeight;
    return fHeight;
}

void VMenuItem::GetTitle(VString& title) const { title.Clear(); }

VMenuItemLine::VMenuItemLine(VTextMenu* menu, VPainter*, int16_t position) : VMenuItem(menu, 0, position)
{
    fCommand = nullptr;
    fEnabled = false;
}

int16_t VMenuItemLine::Measure(VPainter*, int16_t lineHeight, int16_t*, int16_t*, int16_t*, int16_t*)
{
    fHeight = int16_t(lineHeight / 2);
    return fHeight;
}

void VMenuItemLine::Draw(VPainter* painter, bool, int16_t width, int16_t, int16_t, int16_t, int16_t)
{
    if (VMenu::UsesThemeDrawing(fLook)) return;
    painter->StandardPaint(7, 0, 0, fHeight / 2, width, 0, nullptr, nullptr);
}

VMenuItemText::VMenuItemText(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file,
                             const uint8_t* title, int16_t iconID, int16_t, bool switchFlag, int16_t position)
    : VMenuItem(menu, command, position)
{
    fSwitch = switchFlag;
    if (title != nullptr && title[0] != 0 && file != nullptr) file->MakeString(fTitle, title);
    if (iconID != 0) fIcon = new VIcon(painter, file, iconID);
}

VMenuItemText::~VMenuItemText() { delete fIcon; }

void VMenuItemName::GetTitle(VString& title) const
{
    title.Clear();
    menulink::Name(fCommand, title);
}

uint8_t VMenuItemText::GetCheckMark(const VValue* value, const VValue* groupValue, int32_t commandNumber) const
{
    if (groupValue != nullptr) {
        const int32_t n = groupValue->GetLong();
        if (n == -97) return '2';
        return n == commandNumber ? '0' : 0;
    }
    if (value != nullptr && fSwitch) {
        const int32_t n = value->GetLong();
        return n == 1 ? '0' : n == 2 ? '2' : 0;
    }
    return 0;
}

uint8_t VMenuItemText::CurrentMark() const
{
    if (fCommand == nullptr) return 0;
    VCommand* group = menulink::Group(fCommand);
    return GetCheckMark(menulink::Value(fCommand), group ? menulink::Value(group) : nullptr,
                        menulink::Number(fCommand));
}

int16_t VMenuItemText::Measure(VPainter* painter, int16_t lineHeight, int16_t* mark, int16_t* title,
                               int16_t* modifiers, int16_t* key)
{
    fHeight = lineHeight;
    *mark = *title = *modifiers = *key = 0;
    if (const uint8_t code = fMenu ? CurrentMark() : 0) {
        SetMenuGlyphFont(painter);
        *mark = GlyphWidth(painter, code);
        fMenu->SetMenuFont(painter);
    }
    int16_t extra = 0;
    if (fIcon != nullptr) {
        extra = int16_t(fIcon->GetWidth() + 4);
        fHeight = int16_t(std::max<int32_t>(fHeight, fIcon->GetHeight() + 2));
    }
    VStr<255> text;
    GetTitle(text);
    *title = int16_t((text.GetLength() > 0 ? int16_t(painter->GetTextWidth(text)) : MeasureText(painter)) + extra);
    const int32_t number = menulink::Number(fCommand);
    MenuShortcut shortcut;
    if (IsASubMenu()) {
        SetMenuGlyphFont(painter);
        *modifiers = GlyphWidth(painter, 1);
        if (fMenu) fMenu->SetMenuFont(painter);
    } else if (fCommand != nullptr && number != 0 && fMenu != nullptr && fMenu->FindShortcut(number, shortcut)) {
        SetMenuGlyphFont(painter);
        uint8_t codes[3];
        const int32_t n = ModifierCodes(shortcut.modifiers, codes);
        double sum = 0;
        for (int32_t i = 0; i < n; ++i) sum += painter->GetTextWidth(codes[i], kCharSetMac);
        *modifiers = int16_t(sum);
        if (shortcut.specialKey != 0) {
            *key = GlyphWidth(painter, uint8_t(shortcut.specialKey));
            fMenu->SetMenuFont(painter);
        } else {
            fMenu->SetMenuFont(painter);
            *key = int16_t(painter->GetTextWidth(shortcut.keyText + 1, shortcut.keyText[0], kCharSetMac, 1.0));
        }
    }
    return fHeight;
}

void VMenuItemText::Draw(VPainter* painter, bool hilite, int16_t width, int16_t markColumn, int16_t titleColumn,
                         int16_t modifiersColumn, int16_t keyColumn)
{
    (void)keyColumn;
    if (painter == nullptr || fMenu == nullptr) return;
    const bool enabled = fEnabled && fCommand != nullptr && menulink::Enabled(fCommand);
    const uint8_t mark = CurrentMark();
    VStr<255> text;
    GetTitle(text);
    MenuShortcut shortcut;
    const int32_t number = menulink::Number(fCommand);
    const bool hasShortcut =
        !IsASubMenu() && fCommand != nullptr && number != 0 && fMenu->FindShortcut(number, shortcut);
    const int16_t iconWidth = fIcon ? int16_t(fIcon->GetWidth() + 4) : 0;

    if (VMenu::UsesThemeDrawing(fLook)) {
        const platform::ThemeMenuState state = hilite && enabled ? platform::kThemeMenuSelected
                                               : enabled         ? platform::kThemeMenuActive
                                                                 : platform::kThemeMenuDisabled;
        const platform::ThemeDrawState textState = hilite && enabled ? platform::kThemeStatePressed
                                                   : enabled         ? platform::kThemeStateActive
                                                                     : platform::kThemeStateInactive;
        const uint32_t rgb = hilite && enabled ? 0xFFFFFF : enabled ? 0 : 0x888888;
        int32_t ox = 0, oy = 0, sx = 0, sy = 0;
        painter->GetOffset(ox, oy);
        painter->GetOffscreenOffset(sx, sy);
        ox -= sx;
        oy -= sy;
        const platform::Rect item{int16_t(fMini ? oy + 3 : oy + 1), int16_t(ox),
                                  int16_t(fMini ? oy + fHeight : oy + fHeight + 2), int16_t(ox + width)};
        VMacThemeDrawContext context;
        context.UsePainter(painter, &item);
        const platform::Rect back{int16_t(item.top + 4), item.left, int16_t(item.bottom - 4), item.right};
        platform::DrawThemeMenuBackground(&back, platform::kThemeMenuTypePullDown);
        platform::DrawThemeMenuItem(&item, &item, item.top, item.bottom, state,
                                    IsASubMenu() ? platform::kThemeMenuItemHierarchical : platform::kThemeMenuItemPlain,
                                    nullptr, 0);
        const platform::ThemeFontID textFont = fMini ? platform::kThemeSmallSystemFont : platform::kThemeMenuItemFont;
        const platform::ThemeFontID markFont = fMini ? platform::kThemeSmallSystemFont : platform::kThemeMenuItemMarkFont;
        const platform::ThemeFontID keyFont = fMini ? platform::kThemeSmallSystemFont : platform::kThemeMenuItemCmdKeyFont;
        const platform::RGBColor color{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                                       uint16_t((rgb & 0xFF) * 0x101)};
        platform::RGBForeColor(&color);
        platform::Point size{0, 0};
        platform::GetThemeTextDimensions(u"Xg", textFont, textState, false, &size, nullptr);
        const int16_t lineH = size.v;
        const auto textBottom = int16_t(oy + fHeight - (fHeight - lineH) / 2);
        platform::Point check{0, 0};
        platform::GetThemeTextDimensions(std::u16string(1, char16_t(0x2713)), markFont, textState, false, &check, nullptr);
        const int16_t markWidth = check.h;
        auto box = [&](const std::u16string& s, platform::ThemeFontID font, int32_t left, int32_t right, int16_t just,
                       int32_t down) {
            const platform::Rect r{int16_t(textBottom - lineH + down), int16_t(left), int16_t(textBottom + down),
                                   int16_t(right)};
            platform::DrawThemeTextBox(s, font, textState, false, &r, just, nullptr);
        };
        if (fCommand != nullptr && mark != 0)
            box(mark == '0' ? std::u16string(1, char16_t(0x2713)) : u"-", markFont, ox + 4, ox + 4 + markWidth,
                platform::teFlushLeft, 0);
        if (fIcon != nullptr) {
            painter->AddOffset(markWidth + 8, (fHeight - fIcon->GetHeight() + 2) / 2);
            painter->DrawVIcon(*fIcon, enabled ? 0 : hilite ? 1 : 2);
            painter->RestoreOffset();
        }
        box(U16(text), textFont, ox + iconWidth + markWidth + 8, ox + width, platform::teFlushLeft, 0);
        if (hasShortcut) {
            std::u16string mods;
            if (shortcut.modifiers & 0x20) mods.push_back(0x2325);
            if (shortcut.modifiers & 0x08) mods.push_back(0x21E7);
            if (shortcut.modifiers & 0x80) mods.push_back(0x2318);
            box(mods, keyFont, ox, ox + width - 11, platform::teFlushRight, fMini ? 0 : 2);
            if (shortcut.specialKey != 0) {
                SetMenuGlyphFont(painter);
                const uint8_t code = uint8_t(shortcut.specialKey);
                const int16_t baseline = int16_t((fHeight - painter->GetFontHeight()) / 2 + painter->GetFontAscent());
                DrawGlyphs(painter, &code, 1, width - 11 - GlyphWidth(painter, code), baseline + 2);
                fMenu->SetMenuFont(painter);
            } else if (shortcut.keyText[0] > 0) {
                box(std::u16string(1, char16_t(shortcut.keyText[1])), keyFont, ox + width - 11, ox + width,
                    platform::teFlushLeft, 0);
            }
        }
        context.Release();
        return;
    }

    // Classic style: an embossed look for disabled items in look 3 draws
    // the pieces once in the shadow colour, one pixel down and right.
    const bool embossed = fLook == 3 && !enabled && !hilite;
    painter->SetFillStdColor(hilite ? 34 : 33);
    painter->SetFillStdPattern(kPatternBlack);
    painter->FillVRect(0, 0, width, fHeight);
    fMenu->SetMenuFont(painter);
    const int16_t baseline = int16_t((fHeight - painter->GetFontHeight()) / 2 + painter->GetFontAscent());
    const int32_t arrowRight = markColumn + titleColumn + modifiersColumn + 16;
    const bool lower = !fMini && (fLook == 4 || fLook == 5 || VPainter::IsAppearanceAvailable());
    for (int pass = embossed ? 0 : 1; pass < 2; ++pass) {
        const int32_t d = pass == 0 ? 1 : 0;
        painter->SetTextStdColor(pass == 0 ? 20 : hilite && enabled ? 32 : enabled ? 25 : 29);
        if (fCommand != nullptr && mark != 0) {
            SetMenuGlyphFont(painter);
            DrawGlyphs(painter, &mark, 1, 4 + d, baseline + d);
            fMenu->SetMenuFont(painter);
        }
        if (pass == 1 && fIcon != nullptr) {
            painter->AddOffset(markColumn + 8, (fHeight - fIcon->GetHeight()) / 2);
            painter->DrawVIcon(*fIcon, enabled ? 0 : hilite ? 1 : 2);
            painter->RestoreOffset();
        }
        if (text.GetLength() > 0) {
            painter->SetTextPos(markColumn + 8 + iconWidth + d, baseline + d);
            painter->DrawText(text);
        } else if (pass == 1) {
            DrawText(painter);
        }
        if (IsASubMenu()) {
            SetMenuGlyphFont(painter);
            const uint8_t arrow = 1;
            DrawGlyphs(painter, &arrow, 1, arrowRight - GlyphWidth(painter, arrow) + d, baseline + (lower ? 1 : 0) + d);
            fMenu->SetMenuFont(painter);
        } else if (hasShortcut) {
            SetMenuGlyphFont(painter);
            uint8_t codes[3];
            const int32_t n = ModifierCodes(shortcut.modifiers, codes);
            const double w = painter->GetTextWidth(codes, n, kCharSetMac, 1.0);
            DrawGlyphs(painter, codes, n, arrowRight - w + d, baseline + d);
            if (pass == 1) {
                // The key follows at the pen.
                if (shortcut.specialKey != 0) {
                    const uint8_t code = uint8_t(shortcut.specialKey);
                    painter->DrawText(&code, 1, kCharSetMac, 1.0);
                } else {
                    fMenu->SetMenuFont(painter);
                    painter->DrawText(shortcut.keyText + 1, shortcut.keyText[0], kCharSetMac, 1.0);
                }
            }
            fMenu->SetMenuFont(painter);
        }
    }
}

// ---- Submenu items --------------------------------------------------------

VMenuItemSub::VMenuItemSub(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file,
                           const uint8_t* title, int16_t iconID, int16_t reserved)
    : VMenuItemText(menu, painter, command, file, title, iconID, reserved, false, 0)
{
}

VMenuItemSub::~VMenuItemSub()
{
    delete fSubMenu;
    fSubMenu = nullptr;
}

void VMenuItemSub::SetLook(StdLook look)
{
    fLook = look;
    if (fSubMenu) fSubMenu->SetLook(look);
}

void VMenuItemSub::DeleteMenuObject(bool deleteFromList)
{
    if (fSubMenu) fSubMenu->DeleteMenuObject(deleteFromList);
}

VMenuItemSubText::VMenuItemSubText(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file,
                                   int16_t submenuID, int16_t iconID, int16_t reserved, std::vector<int16_t>* path)
    : VMenuItemSub(menu, painter, command, file, nullptr, iconID, reserved)
{
    if (fCommand == nullptr) return;
    auto* sub = new VTextMenu(static_cast<VMenu*>(menu), painter, command, file, submenuID, path);
    fSubMenu = sub;
    fTitle.FromVString(sub->GetTitle());
}

void VMenuItemSubText::GetTitle(VString& title) const
{
    if (fSubMenu)
        title.FromVString(fSubMenu->GetTitle());
    else
        title.Clear();
}

VMenu* VMenuItemSubColor::BuildSubMenu(VPainter*)
{
    if (fCommand != nullptr && fSubMenu == nullptr) fSubMenu = new VColorMenu(fMenu, menulink::Number(fCommand));
    return fSubMenu;
}

VMenu* VMenuItemSubPattern::BuildSubMenu(VPainter*)
{
    if (fCommand != nullptr && fSubMenu == nullptr) fSubMenu = new VPatternMenu(fMenu, menulink::Number(fCommand));
    return fSubMenu;
}

VMenu* VMenuItemSubFont::BuildSubMenu(VPainter*)
{
    if (fCommand != nullptr && fSubMenu == nullptr) fSubMenu = new VFontMenu(fMenu, menulink::Number(fCommand));
    return fSubMenu;
}
