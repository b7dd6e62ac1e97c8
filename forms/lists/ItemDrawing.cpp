// Drawing an item list's rows, its tree lines and disclosure icons, and
// its pop-up form.
#include "forms/lists/ItemDrawing.h"

#include <algorithm>
#include <string>

#include "kernel/helpers/KernelColors.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/Colors.h"
#include "toolbox/views/VFrame.h"

using namespace platform;

int16_t list_ll = 0;
itemlistrec* CurListToDraw = nullptr;

namespace {

constexpr int16_t kLevelStep = 10;  // per level without lines
constexpr int16_t kTextGap = 2;
constexpr int16_t kIconGap = 4;     // between an item's icon and its text
constexpr int16_t kMarkInset = 2;   // from the area's right edge
constexpr uint16_t kFrameGrey = 0x8888;
// Standard colour answers with no colour.
constexpr uint32_t kNoStdColour = 0xFFFFFFFFu;

int16_t RowHeight(const itemlistrec* list)
{
    return list->rowHeight == -1 ? int16_t(list->area.bottom - list->area.top) : list->rowHeight;
}

int16_t Baseline(const itemlistrec* list, int16_t rowTop)
{
    return int16_t(rowTop + list->baselineOffsets[0] + list->baselineOffsets[1]);
}

int16_t Indent(const itemlistrec* list) { return std::max<int16_t>(list->indent, 1); }

// Where a row's text starts at a level.
int16_t TextLeft(const itemlistrec* list, int16_t level)
{
    const int32_t left = list->area.left;
    int32_t x;
    if (!list->hasBranches) x = left + level * kLevelStep + kTextGap;
    else if (list->treeStyle == 0) x = left + level * Indent(list) + 6 + list->indent;
    else x = left + level * kLevelStep + kTextGap + list->indent;
    return int16_t(std::clamp<int32_t>(x, INT16_MIN, INT16_MAX));
}

// The dotted-line style: a level's box starts 4 pixels into its
// indentation, and the lines of its branch run down its middle.
int16_t BoxLeft(const itemlistrec* list, int32_t level)
{
    return int16_t(std::clamp<int32_t>(list->area.left + level * Indent(list) + 4, INT16_MIN, INT16_MAX));
}
int16_t BranchColumn(const itemlistrec* list, int32_t level) { return int16_t(BoxLeft(list, level) + list->markHeight / 2); }

// A standard colour, or `fallback` when the look gives none.
RGBColor StdColour(int32_t n, const RGBColor& fallback)
{
    const uint32_t c = MakeStdColor(n);
    if (c == kNoStdColour) return fallback;
    RGBColor rgb{};
    MAC_MakeRGB(c, &rgb);
    return rgb;
}

RGBColor HiliteBack()
{
    RGBColor hilite{};
    GetHiliteColor(&hilite);
    return StdColour(kHiliteBackColour, hilite);
}

RGBColor Rgb(int32_t kernelColour)
{
    RGBColor c{};
    Long2RGB(kernelColour, &c);
    return c;
}

void PlotCicn(int16_t id, const Rect& r)
{
    if (CIconHandle icon = GetCIcon(id)) {
        PlotCIcon(&r, icon);
        DisposeCIcon(icon);
    }
}

// The disclosure icon of an item with a branch, centred on the row by the
// mark height.
void DrawDisclosure(itemlistrec* list, ItemHandle item, int16_t level, int16_t rowTop)
{
    const int16_t base = list->customIcon ? int16_t(list->customIcon) : list->treeStyle == 0 ? kListBoxIcon : kListTriangleIcon;
    const int16_t id = int16_t(base + (IsOpen(list, item) ? 1 : 0));
    const int16_t top = int16_t(rowTop + (RowHeight(list) - list->markHeight) / 2);
    const int16_t left = list->treeStyle == 0 ? BoxLeft(list, level) : int16_t(list->area.left + 2);
    PlotCicn(id, Rect{top, left, int16_t(top + kDisclosureSquare), int16_t(left + kDisclosureSquare)});
}

void VLine(int16_t h, int16_t top, int16_t bottom)
{
    if (bottom <= top) return;
    MoveTo(h, top);
    LineTo(h, int16_t(bottom - 1));
}

// The dotted lines of a row: the stub from its parent's column, that
// column down to the next sibling (half a row for the last one), and the
// columns of the ancestors that have further siblings.
void DrawTreeLines(itemlistrec* list, int32_t n, ItemHandle item, int16_t level, const Rect& row, bool box)
{
    if (level < 1) return;
    Pattern pat;
    BuildLinePattern(n, &pat);
    PenNormal();
    PenPat(&pat);
    PenMode(patOr);
    ForeColor(blackColor);
    const int16_t middle = int16_t(row.top + (row.bottom - row.top) / 2);
    const int16_t column = BranchColumn(list, level - 1);
    VLine(column, row.top, (*item)->next ? row.bottom : int16_t(middle + 1));
    const int16_t stubEnd = box ? int16_t(BoxLeft(list, level) - 1) : int16_t(TextLeft(list, level) - kTextGap);
    if (stubEnd > column) {
        MoveTo(column, middle);
        LineTo(stubEnd, middle);
    }
    // Parents are at most one level apart: the walk ends at the top.
    int16_t k = int16_t(level - 1);
    for (ItemHandle a = (*item)->parent; a && k >= 1; a = (*a)->parent, --k)
        if ((*a)->next) VLine(BranchColumn(list, k - 1), row.top, row.bottom);
    PenNormal();
}

// The mark's text: its number, the check string, or one character.
void MarkText(int16_t mark, unsigned char* out)
{
    out[0] = 0;
    if (mark > 0) {
        const std::string digits = std::to_string(mark);
        out[0] = uint8_t(digits.size());
        std::copy(digits.begin(), digits.end(), out + 1);
    } else if (mark == -1) {
        GetIndString(out, kMarkStrings, kCheckMarkIndex);
    } else if (mark < 0) {
        out[0] = 1;
        out[1] = uint8_t(-int32_t(mark));
    }
}

// The item's own icon, centred in the row; its width and the gap, or 0.
int16_t DrawItemIcon(itemlistrec* list, ItemHandle item, int16_t left, const Rect& row)
{
    const int32_t reference = (*item)->icon;
    if (!reference) return 0;
    int16_t w = 0, h = 0;
    GetListIconDims(reference, &w, &h);
    if (w <= 0 || h <= 0) return 0;
    const int16_t top = int16_t(row.top + (RowHeight(list) - h) / 2);
    const Rect r{top, left, int16_t(top + h), int16_t(left + w)};
    if ((uint32_t(reference) >> 16) == 0) PlotIconID(&r, kAlignNone, kTransformNone, int16_t(reference & 0xFFFF));
    else DrawListIcon(reference, &r);
    return int16_t(w + kIconGap);
}

// The edit frame draws the row being edited, through a painter on the
// current port.
void PaintEditFrame(itemlistrec* list)
{
    auto* frame = dynamic_cast<VFrame*>(list->editFrame);
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!frame || !port) return;
    VPainter painter(port, false);
    frame->DoPaint(&painter);
}

}  // namespace

Rect GetItemRowRect(itemlistrec* list, int32_t n)
{
    const int32_t top = list->area.top + int32_t(RowHeight(list)) * (n - list->firstShown - 1);
    const int32_t clamped = std::clamp<int32_t>(top, INT16_MIN, INT16_MAX);
    return Rect{int16_t(clamped), list->area.left, int16_t(std::clamp<int32_t>(clamped + RowHeight(list), INT16_MIN, INT16_MAX)),
                list->area.right};
}

void gettextitemrect(itemlistrec* list, int32_t n, Rect* r)
{
    *r = GetItemRowRect(list, n);
    if (ItemHandle item = GetListItem(list, n)) r->left = TextLeft(list, GetItemLevel(list, item));
}

void BuildLinePattern(int32_t row, Pattern* pattern)
{
    const uint8_t even = (row & 1) ? 0x55 : 0xAA;
    for (int k = 0; k < 8; ++k) pattern->pat[k] = (k & 1) ? uint8_t(~even) : even;
}

void eraserecthilite(itemlistrec* list, const Rect* r)
{
    const RGBColor back = HiliteBack();
    RGBBackColor(&back);
    EraseRect(r);
    if (list->treeStyle == 0) {
        const RGBColor grey{kFrameGrey, kFrameGrey, kFrameGrey};
        RGBForeColor(&grey);
        PenNormal();
        FrameRect(r);
    }
}

void invertitem(itemlistrec* list, int32_t n)
{
    if (!list->shown || n < 1 || n > list->visibleCount) return;
    const Rect row = GetItemRowRect(list, n);
    LMSetHiliteMode(uint8_t(LMGetHiliteMode() & 0x7F));
    InvertRect(&row);
}

void dessitem(itemlistrec* list, int32_t n, bool selected, bool noLines)
{
    ItemHandle item = GetListItem(list, n);
    if (!item || n > list->visibleCount) return;
    KeptDrawingState saved;
    const Rect row = GetItemRowRect(list, n);
    const int16_t level = GetItemLevel(list, item);
    const bool editing = list->editFrame && n == list->selected;
    TextFont(list->font);
    TextSize(list->size);

    if ((*item)->drawProc && !editing) {
        list_ll = (*item)->number;
        CurListToDraw = list;
        Rect text{};
        gettextitemrect(list, n, &text);
        MoveTo(text.left, Baseline(list, row.top));
        ItemDrawRecord record{list, item, selected};
        (*item)->drawProc(&record);
    } else {
        // The row's ground: the highlight for a selected row, else the
        // background with the item's colour in front.
        int32_t colour = GetFontColor(list, item);
        if (colour == -1) colour = list->defaultColour;
        if (selected) {
            eraserecthilite(list, &row);
        } else {
            if (!list->inDialog) SetColRGBByType(colour, -2, list->colourType, 0);
            const RGBColor c = Rgb(colour);
            RGBForeColor(&c);
            EraseRect(&row);
        }
        const bool branch = (*item)->firstChild != nullptr && list->hasBranches;
        const bool box = branch && list->treeStyle == 0;
        if (list->hasBranches && list->treeStyle == 0 && !noLines) DrawTreeLines(list, n, item, level, row, box);
        if (branch && (list->treeStyle != 0 || !noLines)) DrawDisclosure(list, item, level, row.top);
        if (editing) {
            PaintEditFrame(list);
        } else {
            int16_t x = TextLeft(list, level);
            x = int16_t(x + DrawItemIcon(list, item, x, row));
            const RGBColor textColour = selected ? StdColour(kHiliteTextColour, RGBColor{0, 0, 0}) : Rgb(colour);
            RGBForeColor(&textColour);
            TextMode(srcOr);
            TextFace((*item)->face);
            const int16_t baseline = Baseline(list, row.top);
            MoveTo(x, baseline);
            DrawText(ItemText(item) + 1, 0, ItemTextLength(item));
            unsigned char mark[256];
            MarkText((*item)->mark, mark);
            if (mark[0]) {
                TextFace(normal);
                MoveTo(int16_t(list->area.right - kMarkInset - StringWidth(mark)), baseline);
                DrawString(mark);
            }
        }
    }
    // The list's current row, when it is not drawn as selected (under
    // multiple selection), shows the platform's highlight over it.
    if (!selected && n == list->selected && !list->editFrame) invertitem(list, n);
}

void dessliste(itemlistrec* list)
{
    checktransliste(list);
    KeptDrawingState saved;
    if (!list->inDialog) SetColRGBByType(list->defaultColour, -2, list->colourType, 0);
    RgnHandle clip = NewRgn(), area = NewRgn();
    if (clip && area) {
        GetClip(clip);
        RectRgn(area, &list->area);
        SectRgn(area, clip, area);
        SetClip(area);
    }
    EraseRect(&list->area);
    const int32_t last = std::min<int32_t>(int32_t(list->firstShown) + list->rowsShown, list->visibleCount);
    for (int32_t n = std::max<int32_t>(list->firstShown, 0) + 1; n <= last; ++n) dessitem(list, n, IsItemSelected(n, list), false);
    dessliste_focusring(list);
    if (clip && area) SetClip(clip);
    if (clip) DisposeRgn(clip);
    if (area) DisposeRgn(area);

    // In a dialog of several lists, the focused one is framed.
    GrafPtr port = nullptr;
    GetPort(&port);
    WindowRef window = port ? GetWindowFromPort(port) : nullptr;
    DialogRef dialog = window ? GetDialogFromWindow(window) : nullptr;
    const int16_t k = dialog ? quellli(dialog) : 0;
    if (k > 0) {
        const LliRec& entry = llidlg[k - 1];
        if (entry.count > 1 && entry.focused >= 1 && entry.focused <= kLliMaxItems && entry.lists[entry.focused - 1] == list) {
            Rect frame = list->area;
            InsetRect(&frame, -3, -3);
            PenNormal();
            PenSize(2, 2);
            FrameRect(&frame);
            PenNormal();
        }
    }
}

void dessliste_focusring(itemlistrec* list)
{
    auto* frame = dynamic_cast<VFrame*>(list->editFrame);
    if (!list->focusRing || !frame) return;
    const int32_t x = frame->GetWindowX(), y = frame->GetWindowY();
    const Rect frameRect{int16_t(y), int16_t(x), int16_t(y + frame->GetHeight()), int16_t(x + frame->GetWidth())};
    Rect ring{};
    if (!SectRect(&frameRect, &list->area, &ring)) return;
    int32_t outset = 0;
    GetThemeMetric(kThemeMetricFocusRectOutset, &outset);
    InsetRect(&ring, int16_t(-std::max<int32_t>(outset, 1)), int16_t(-std::max<int32_t>(outset, 1)));
    RGBColor focus{};
    if (GetThemeBrushAsColor(kThemeBrushFocusHighlight, 32, true, &focus) != 0) focus = HiliteBack();
    KeptDrawingState saved;
    RGBForeColor(&focus);
    PenNormal();
    PenSize(2, 2);
    FrameRect(&ring);
}

void DrawxPopup(itemlistrec* list)
{
    checktransliste(list);
    KeptDrawingState saved;
    const Rect box{list->area.top, list->area.left, int16_t(list->area.bottom - 2), int16_t(list->area.right - 2)};
    if (box.bottom <= box.top || box.right <= box.left) return;
    ForeColor(blackColor);
    BackColor(whiteColor);
    PenNormal();
    EraseRect(&box);
    FrameRect(&box);
    // The shadow: one pixel below and right of the box.
    MoveTo(int16_t(box.left + 1), box.bottom);
    LineTo(box.right, box.bottom);
    LineTo(box.right, int16_t(box.top + 1));
    ItemHandle item = GetListItem(list, list->selected);
    if (!item) return;
    TextFont(list->font);
    TextSize(list->size);
    TextFace((*item)->face);
    TextMode(srcOr);
    FontInfo info{};
    GetFontInfo(&info);
    RgnHandle clip = NewRgn(), inside = NewRgn();
    if (clip && inside) {
        GetClip(clip);
        RectRgn(inside, &box);
        SectRgn(inside, clip, inside);
        SetClip(inside);
    }
    MoveTo(int16_t(box.left + 2), int16_t(box.top + 1 + info.ascent));
    DrawText(ItemText(item) + 1, 0, ItemTextLength(item));
    if (clip && inside) SetClip(clip);
    if (clip) DisposeRgn(clip);
    if (inside) DisposeRgn(inside);
}
