#include "toolbox/drawing/VCustomMenu.h"

#include <algorithm>
#include <new>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VResourceFile.h"
#include "toolbox/foundation/VArrayValue.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VRect.h"

using platform::FourCC;

namespace {

uint16_t Word(const char* p) { return platform::ReadBE16(p); }

void AppendBlankItems(platform::MenuRef menu, int32_t n)
{
    static const uint8_t kBlank[] = {1, ' '};
    for (int32_t i = 0; i < n; ++i) platform::AppendMenu(menu, kBlank);
}

}  // namespace

// ---- Custom menus -----------------------------------------------------

void VCustomMenu::BuildMenuObject(VPainter*, bool asPopup, bool asSubmenu)
{
    if (fMenuRef != nullptr || fCommand == nullptr) return;
    if (!asPopup) Listen(fCommand, true);
    VValue* value = menulink::Value(fCommand);
    if (value == nullptr || value->GetValueKind() != kValueLong) {
        menulink::SetValue(fCommand, new VLong(0xFFFFFF), true);
        fStartValue = menulink::Value(fCommand);
    }
    if (!MakePlatformMenu()) return;
    InsertAndLink(asPopup, asSubmenu);
    AppendBlankItems(fMenuRef, GetItemsCount());
    InitCustom();
}

void VCustomMenu::DeleteMenuObject(bool deleteFromMenuList)
{
    DeInitCustom();
    DisposeMenu(deleteFromMenuList);
    Listen(fCommand, false);
}

// ---- Colour menu ------------------------------------------------------

VColorMenu::VColorMenu(VMenu* parent, int32_t command) : VCustomMenu(nullptr, 0)
{
    SetParentMenu(parent);
    fCommand = FindCommand(command);
}

VColorMenu::~VColorMenu() { DeInitCustom(); }

void VColorMenu::InitCustom()
{
    if (fPalette == nullptr && gResFile != nullptr) fPalette = gResFile->GetResource(FourCC("pltt"), 9000);
}

void VColorMenu::DeInitCustom()
{
    if (fPalette != nullptr && gResFile != nullptr) gResFile->ReleaseResource(fPalette);
    fPalette = nullptr;
}

void VColorMenu::GetElemSizes(int16_t& cell, int16_t& gap, int16_t& footer) const
{
    cell = fMini ? 6 : 8;
    gap = fMini ? 1 : 2;
    footer = fMini ? 18 : 32;
}

bool VColorMenu::CellColor(int16_t n, uint32_t& color) const
{
    if (fPalette == nullptr || n < 1 || n > 256) return false;
    const int32_t size = platform::GetHandleSize(fPalette);
    if (size < 16) return false;
    // The header's count and the bytes both bound the entries.
    const int32_t count = std::min<int32_t>(Word(*fPalette), (size - 16) / 16);
    if (n > count) return false;
    const char* e = *fPalette + 16 + (n - 1) * 16;
    color = uint32_t(uint8_t(e[0])) | (uint32_t(uint8_t(e[2])) << 8) | (uint32_t(uint8_t(e[4])) << 16);
    return true;
}

void VColorMenu::MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height)
{
    int16_t cell, gap, footer;
    GetElemSizes(cell, gap, footer);
    width = int16_t(16 * cell + 17 * gap);
    height = int16_t(width + footer);
    fChoices = fCommand ? menulink::Choices(fCommand) : nullptr;
    fChoiceCount = fChoices ? int16_t(std::min<int32_t>(fChoices->GetCount(), 1000)) : 0;
    if (fChoices != nullptr && painter != nullptr) {
        painter->SetStdFont(fMini ? 1 : 0);
        fTextLineHeight = int16_t(painter->GetFontHeight() + 2);
        height = int16_t(height + fChoiceCount * fTextLineHeight + gap);
    }
}

void VColorMenu::GetItemCoords(int16_t n, int16_t& x, int16_t& y, int16_t& width, int16_t& height)
{
    int16_t cell, gap, footer;
    GetElemSizes(cell, gap, footer);
    if (n < 1) return;
    if (n <= 256) {
        x = int16_t(((n - 1) % 16) * (cell + gap));
        y = int16_t(((n - 1) / 16) * (cell + gap));
        width = height = cell;
    } else {
        x = gap;
        y = int16_t(16 * cell + 18 * gap + footer + (n - 257) * fTextLineHeight);
        width = int16_t(16 * cell + 15 * gap);
        height = fTextLineHeight;
    }
}

void VColorMenu::DrawItems(VPainter* painter, int16_t width, int16_t)
{
    if (fPalette == nullptr || painter == nullptr) return;
    int16_t cell, gap, footer;
    GetElemSizes(cell, gap, footer);
    const auto current = uint32_t(fCommand ? menulink::Value(fCommand) ? menulink::Value(fCommand)->GetLong() : 0 : 0);
    bool framed = false;
    for (int16_t r = 0; r < 16; ++r) {
        for (int16_t c = 0; c < 16; ++c) {
            uint32_t color = 0;
            if (!CellColor(int16_t(r * 16 + c + 1), color)) continue;  // blank
            const int32_t x = gap + c * (cell + gap), y = gap + r * (cell + gap);
            painter->SetFillColor(color);
            painter->SetFillStdPattern(kPatternBlack);
            painter->FillVRect(x, y, cell, cell);
            if (!framed && color == current) {
                framed = true;
                painter->SetLineStdColor(10);
                painter->SetLineWidth(1);
                painter->FrameVRect(x - gap, y - gap, cell + 2 * gap, cell + 2 * gap);
            }
        }
    }
    painter->SetFillColor(current);
    painter->SetFillStdPattern(kPatternBlack);
    painter->FillVRect(gap, 16 * cell + 17 * gap, 8 * cell + 7 * gap, footer);
    for (int32_t k = 1; k <= fChoiceCount; ++k) {
        VStr<255> text;
        fChoices->ToString(text, nullptr, k);
        painter->StandardPaint(fMini ? 6 : 5, 0, 0, 16 * cell + 18 * gap + footer + (k - 1) * fTextLineHeight, width,
                               fTextLineHeight, &text, nullptr);
    }
}

void VColorMenu::Mark(VPainter* painter, int16_t item, int16_t width, bool on)
{
    int16_t cell, gap, footer;
    GetElemSizes(cell, gap, footer);
    if (item > 256) {
        VStr<255> text;
        fChoices->ToString(text, nullptr, item - 256);
        painter->StandardPaint(fMini ? 6 : 5, on ? -100 : 0, 0,
                               16 * cell + 18 * gap + footer + (item - 257) * fTextLineHeight, width, fTextLineHeight,
                               &text, nullptr);
        return;
    }
    const int32_t x = gap + ((item - 1) % 16) * (cell + gap), y = gap + ((item - 1) / 16) * (cell + gap);
    painter->SetLineWidth(gap);
    const TransferMode saved = painter->SetDrawingTransferMode(2);
    painter->SetLineStdColor(33);
    painter->FrameVRect(x - gap, y - gap, cell + 2 * gap, cell + 2 * gap);
    painter->SetDrawingTransferMode(saved);
    uint32_t color = 0;
    if (on && CellColor(item, color)) {
        painter->SetDrawingTransferMode(0);
        painter->SetFillColor(color);
        painter->SetFillStdPattern(kPatternBlack);
        painter->FillVRect(8 * cell + 9 * gap, 16 * cell + 17 * gap, 8 * cell + 7 * gap, footer);
    }
}

int16_t VColorMenu::ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y,
                               int16_t current, int16_t*)
{
    if (fPalette == nullptr || fCommand == nullptr) return 0;
    int16_t cell, gap, footer;
    GetElemSizes(cell, gap, footer);
    const int32_t grid = 16 * cell + 17 * gap;
    const int32_t list = fChoiceCount > 0 ? gap + fChoiceCount * fTextLineHeight : 0;
    int16_t index = 0;
    if (x >= gap && x <= width - 2 * gap && y >= gap && y <= height - 2 * gap) {
        if (y <= grid) {
            // Only points on a cell choose; the gaps and the grid's edge
            // answer nothing.
            const int32_t cx = x - gap, cy = y - gap;
            const int32_t col = cx / (cell + gap), row = cy / (cell + gap);
            uint32_t color = 0;
            if (cx % (cell + gap) < cell && cy % (cell + gap) < cell && col < 16 && row < 16 &&
                CellColor(int16_t(row * 16 + col + 1), color))
                index = int16_t(row * 16 + col + 1);
        } else if (list > 0 && y >= height - list) {
            const int32_t k = (y - grid - footer - gap) / std::max<int16_t>(fTextLineHeight, 1);
            if (k >= 0 && k < fChoiceCount) index = int16_t(k + 257);
        }
    }
    if (index != current && painter != nullptr) {
        if (current != 0) Mark(painter, current, width, false);
        if (index != 0) Mark(painter, index, width, true);
    }
    return index;
}

void VColorMenu::DoLineCommand(int16_t n)
{
    if (fPalette == nullptr && n <= 256) InitCustom();
    if (fCommand == nullptr) return;
    uint32_t wanted = 0;
    if (n > 256) {
        wanted = uint32_t(n - 256) | 0xFF000000u;
    } else if (!CellColor(n, wanted)) {
        return;
    }
    VValue* value = menulink::Value(fCommand);
    if (value == nullptr || value->GetValueKind() != kValueLong) {
        menulink::SetValue(fCommand, new VLong(-1), true);
        value = fStartValue = menulink::Value(fCommand);
        if (value == nullptr) return;
    }
    // The start value is not a choice: choosing its colour still counts.
    const bool untouched = value == fStartValue;
    if (!untouched && uint32_t(value->GetLong()) == wanted) return;
    value->FromLong(int32_t(wanted));
    fStartValue = nullptr;
    menulink::SetValue(fCommand, value, false);
    DoCommand(this, menulink::Number(fCommand), 0);
}

// ---- Pattern menu -----------------------------------------------------

VPatternMenu::VPatternMenu(VMenu* parent, int32_t command) : VCustomMenu(nullptr, 0)
{
    SetParentMenu(parent);
    fCommand = FindCommand(command);
}

VPatternMenu::~VPatternMenu()
{
    DeInitCustom();
    delete fIcon;
}

void VPatternMenu::InitCustom()
{
    if (fPatterns == nullptr && gResFile != nullptr) fPatterns = gResFile->GetResource(FourCC("PAT#"), 9000);
}

void VPatternMenu::DeInitCustom()
{
    if (fPatterns != nullptr && gResFile != nullptr) gResFile->ReleaseResource(fPatterns);
    fPatterns = nullptr;
}

void VPatternMenu::GetElemSizes(int16_t& cellWidth, int16_t& cellHeight, int16_t& gap) const
{
    cellWidth = fMini ? 16 : 24;
    cellHeight = fMini ? 12 : 16;
    gap = fMini ? 1 : 2;
}

int16_t VPatternMenu::PatternCount() const
{
    if (fPatterns == nullptr) return 0;
    const int32_t size = platform::GetHandleSize(fPatterns);
    if (size < 2) return 0;
    return int16_t(std::min<int32_t>({Word(*fPatterns), (size - 2) / 8, 35}));
}

void VPatternMenu::MakeWidthHeight(VPainter*, int16_t& width, int16_t& height)
{
    int16_t cw, ch, gap;
    GetElemSizes(cw, ch, gap);
    width = int16_t(6 * cw + 7 * gap);
    height = int16_t(6 * ch + 7 * gap);
}

void VPatternMenu::GetItemCoords(int16_t n, int16_t& x, int16_t& y, int16_t& width, int16_t& height)
{
    if (n < 1) return;
    x = int16_t(((n - 1) % 6) * 26 + 1);
    y = int16_t(((n - 1) / 6) * 18 + 1);
    width = 26;
    height = 18;
}

void VPatternMenu::MakeIcon(VPainter* painter)
{
    if (fIcon == nullptr && gResFile != nullptr) fIcon = new VIcon(painter, gResFile, fMini ? 9017 : 9016);
}

void VPatternMenu::DrawCell(VPainter* painter, int16_t n, int32_t value, StdColor valueFrame)
{
    int16_t cw, ch, gap;
    GetElemSizes(cw, ch, gap);
    if (n > 1 && n - 1 > PatternCount()) return;  // blank: the list has no such pattern
    const int32_t x = gap + ((n - 1) % 6) * (cw + gap), y = gap + ((n - 1) / 6) * (ch + gap);
    painter->SetEraseStdColor(0);
    painter->SetFillStdColor(10);
    painter->SetFillStdPattern(kPatternBlack);
    painter->SetDrawingTransferMode(1);
    painter->SetLineWidth(1);
    painter->SetLineStdColor(10);
    painter->EraseVRect(x, y, cw, ch);
    if (n == 1) {
        if (fIcon != nullptr) {
            painter->AddOffset(x + (cw - fIcon->GetWidth()) / 2 + 1, y + (ch - fIcon->GetHeight()) / 2 + 1);
            painter->DrawVIcon(*fIcon, 0);
            painter->RestoreOffset();
        }
    } else {
        platform::Pattern pattern{};
        const char* p = *fPatterns + 2 + (n - 2) * 8;
        for (int i = 0; i < 8; ++i) pattern.pat[i] = uint8_t(p[i]);
        painter->SetFillPattern(pattern);
        painter->FillVRect(x, y, cw, ch);
        painter->SetFillStdPattern(6);
    }
    painter->FrameVRect(x, y, cw, ch);
    if (n == value) {
        const int32_t grow = fMini ? 0 : 1;
        painter->SetLineStdColor(valueFrame);
        painter->FrameVRect(x - grow, y - grow, cw + 2 * grow, ch + 2 * grow);
    }
}

void VPatternMenu::DrawItems(VPainter* painter, int16_t, int16_t)
{
    if (fPatterns == nullptr || painter == nullptr) return;
    MakeIcon(painter);
    platform::HLock(fPatterns);
    VValue* value = fCommand ? menulink::Value(fCommand) : nullptr;
    const int32_t current = value ? value->GetLong() : 0;
    for (int16_t n = 1; n <= 36; ++n) DrawCell(painter, n, current, 11);
    painter->SetFillStdPattern(6);
    platform::HUnlock(fPatterns);
}

int16_t VPatternMenu::ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y,
                                 int16_t current, int16_t*)
{
    if (fPatterns == nullptr) return 0;
    if (painter) MakeIcon(painter);
    int16_t cw, ch, gap;
    GetElemSizes(cw, ch, gap);
    int16_t cell = 0;
    if (x > 0 && x < width && y > 0 && y < height) {
        // Only points on a cell the list fills choose it; the gaps and the
        // grid's right and bottom edges answer nothing.
        const int32_t cx = x - gap, cy = y - gap;
        if (cx >= 0 && cy >= 0 && cx % (cw + gap) < cw && cy % (ch + gap) < ch) {
            const int32_t col = cx / (cw + gap), row = cy / (ch + gap);
            const int32_t n = row * 6 + col + 1;
            if (col < 6 && row < 6 && (n == 1 || n - 1 <= PatternCount())) cell = int16_t(n);
        }
    }
    if (cell != current && painter != nullptr) {
        VValue* value = fCommand ? menulink::Value(fCommand) : nullptr;
        const int32_t v = value ? value->GetLong() : 0;
        if (!fMini) {
            painter->SaveClip(false);
            painter->ClipVRect(VRect(0, 0, width, height), true);
        }
        if (current != 0) DrawCell(painter, current, v, 11);
        if (cell != 0) DrawCell(painter, cell, cell, 13);
        if (!fMini) painter->RestoreClip();
    }
    return cell;
}

void VPatternMenu::DoLineCommand(int16_t n)
{
    if (fCommand == nullptr) return;
    VValue* value = menulink::Value(fCommand);
    bool fresh = false;
    if (value == nullptr || value->GetValueKind() != kValueLong) {
        menulink::SetValue(fCommand, new VLong(n), true);
        value = menulink::Value(fCommand);
        if (value == nullptr) return;
        fresh = true;
    }
    const bool untouched = value == fStartValue;
    if (value->GetLong() == n && !fresh && !untouched) return;
    value->FromLong(n);
    fStartValue = nullptr;
    menulink::SetValue(fCommand, value, false);
    DoCommand(this, menulink::Number(fCommand), 0);
}
