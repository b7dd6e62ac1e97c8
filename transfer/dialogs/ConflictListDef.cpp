#include "transfer/dialogs/ConflictListDef.h"

#include "app/appl/Preferences.h"
#include "app/dialogs/DrawingUtilities.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/textedit/TextEdit.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictTexts.h"

using namespace platform;

namespace transfer {

namespace {

constexpr int16_t kListStyle = 3;
constexpr int16_t kColourTable = 1001;
constexpr int16_t kDescriptionColour = 1;
constexpr int16_t kChoiceColour = 2;
constexpr int16_t kIconStrip = 128;
constexpr int16_t kArrowIcon = 0;       // icon 1 of the strip
constexpr int16_t kGreyArrowIcon = 1;   // icon 2
constexpr int16_t kClickedMarkIcon = 6; // icon 7

void PlotColourIcon(int16_t id, const Rect& r)
{
    if (CIconHandle icon = GetCIcon(id)) {
        PlotCIcon(&r, icon);
        DisposeCIcon(icon);
    }
}

void UseColour(int16_t index)
{
    RGBColor c;
    Mydrawgetcol(&c, index, kColourTable);
    RGBForeColor(&c);
}

void TextIn(const unsigned char* text, const Rect& r)
{
    if (text[0] > 0) TETextBox(text + 1, text[0], &r, teFlushLeft);
}

}  // namespace

void UseListFont()
{
    TextFont(GetResFont(kListStyle));
    TextSize(GetResSize(kListStyle));
    TextFace(0);
}

int16_t ListLineHeight()
{
    UseListFont();
    FontInfo info{};
    GetFontInfo(&info);
    return int16_t(info.ascent + info.descent + info.leading);
}

int16_t ConflictCellHeight() { return int16_t(7 * (ListLineHeight() / 2) + 14); }

int16_t RowIndent(const TConflict* record)
{
    return record && record->fParent && record->fParent->fVisible ? kChainIndent : 0;
}

Rect ChoiceBoxRect(const Rect& cell, const TConflict* record)
{
    const int16_t x = int16_t(cell.left + RowIndent(record));
    const int16_t textBottom = int16_t(cell.top + 4 + 2 * ListLineHeight());
    return Rect{int16_t(textBottom + 3), int16_t(x + 40), int16_t(textBottom + 23), int16_t(cell.right - 8)};
}

bool FixedChoice(const TConflict* record)
{
    if (!record->fSource) return false;
    switch (record->fChoice) {
    case 9: case 11: case 12: case 16: case 17: return true;
    default: return false;
    }
}

void xChooseIDStrListe(int16_t code, int16_t choice, int16_t* textIndex, int16_t* icon)
{
    ChooseIDStrListe(code, choice, textIndex, icon);
}

void DoDrawC_Cell(const Rect* cell, TConflict* record)
{
    if (!cell || !record) return;
    const int16_t line = ListLineHeight();
    const int16_t x = int16_t(cell->left + RowIndent(record));
    const int16_t top = cell->top;

    unsigned char text[256];
    DescriptionText(record, text);
    UseColour(kDescriptionColour);
    TextIn(text, Rect{int16_t(top + 4), int16_t(x + 40), int16_t(top + 4 + 2 * line), cell->right});
    ForeColor(blackColor);

    const uint8_t* block = nullptr;
    GetTypePtr(record->fCode, &block);
    if (block) {
        int16_t index = 0, icon = 0;
        GetStr_Icn(record->fCode, &index, &icon);
        PlotColourIcon(int16_t(512 + icon), Rect{int16_t(top + 4), int16_t(x + 4), int16_t(top + 20), int16_t(x + 36)});
    }
    if (record->fSource && record->fClicked) {
        const Rect mark{int16_t(top + 20), int16_t(x + 4), int16_t(top + 36), int16_t(x + 20)};
        DrawSmallIcon(kIconStrip, kClickedMarkIcon, &mark);
    }

    const Rect box = ChoiceBoxRect(*cell, record);
    const bool fixed = FixedChoice(record);
    Pattern grey{{0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA}};
    if (fixed) PenPat(&grey);
    FrameRect(&box);
    MoveTo(int16_t(box.left + 1), box.bottom);
    LineTo(box.right, box.bottom);
    LineTo(box.right, int16_t(box.top + 1));
    PenNormal();

    C_PmRec entry;
    GetChIDC_PmRec(&entry, record->fCode, record->fChoice);
    if (entry.number != -1) {
        int16_t index = 0, icon = 0;
        xChooseIDStrListe(record->fCode, record->fChoice, &index, &icon);
        PlotColourIcon(int16_t(257 + icon), Rect{int16_t(box.top + 2), int16_t(box.left + 2), int16_t(box.top + 18),
                                                 int16_t(box.left + 18)});
    }
    const Rect arrow{int16_t(box.top + 2), int16_t(box.right - 18), int16_t(box.top + 18), int16_t(box.right - 2)};
    DrawSmallIcon(kIconStrip, fixed ? kGreyArrowIcon : kArrowIcon, &arrow);
    ChoiceText(record, text);
    UseColour(kChoiceColour);
    TextIn(text, Rect{int16_t(box.top + 2), int16_t(box.left + 22), int16_t(box.bottom - 1), int16_t(box.right - 20)});
    ForeColor(blackColor);
}

void DrawC_Cell(const Rect* cell, TConflict* record)
{
    EraseWinBkRect(cell, 0);
    UseListFont();
    DoDrawC_Cell(cell, record);
    TextFont(0);
    TextSize(12);
    TextFace(0);
    ForeColor(blackColor);
}

void HiliteC_Cell(const Rect* cell)
{
    LMSetHiliteMode(0);
    InvertRect(cell);
}

void C_ListLDEFProc(int16_t message, bool selected, const Rect* cell, int32_t row, int32_t, LongListHandle list)
{
    auto* record = static_cast<TConflict*>(LongLRowObject(row, list));
    if (message == kLongLDrawMsg) {
        DrawC_Cell(cell, record);
        if (selected) HiliteC_Cell(cell);
    } else if (message == kLongLHiliteMsg) {
        HiliteC_Cell(cell);
    }
}

}  // namespace transfer
