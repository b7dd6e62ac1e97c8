// Drawing cells through the list's definition, scrolling and the list's
// scroll bars.
#include <algorithm>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/lists/ListRecord.h"

namespace platform {
namespace {

constexpr int16_t kBarWidth = 16;

// The list's window port with its clip limited to the view; everything
// comes back on leaving.
class ListPortScope {
public:
    explicit ListPortScope(const ListRecord& l)
    {
        GetPort(&saved_);
        SetPortWindowPort(l.window);
        clip_ = NewRgn();
        GetClip(clip_);
        RgnHandle view = NewRgn();
        RectRgn(view, &l.view);
        SectRgn(view, clip_, view);
        SetClip(view);
        DisposeRgn(view);
        RGBColor white{0xFFFF, 0xFFFF, 0xFFFF}, black{0, 0, 0};
        GetBackColor(&back_);
        GetForeColor(&fore_);
        RGBBackColor(&white);
        RGBForeColor(&black);
    }
    ~ListPortScope()
    {
        SetClip(clip_);
        DisposeRgn(clip_);
        RGBBackColor(&back_);
        RGBForeColor(&fore_);
        SetPort(saved_);
    }

private:
    GrafPtr saved_ = nullptr;
    RgnHandle clip_ = nullptr;
    RGBColor back_{}, fore_{};
};

void Call(ListRecord& l, int16_t message, Cell c)
{
    Rect r = CellRect(l, c);
    int32_t offset = 0;
    int16_t length = 0;
    if (!GetCellDataLocation32(&offset, &length, c, &l)) offset = 0, length = 0;
    const bool selected = l.selected[l.Index(c)] != 0;
    // An inactive list shows no selection.
    l.def(message, selected && l.active, &r, c, offset, length, &l);
}

void ScrollAction(ControlRef bar, ControlPartCode part)
{
    ListHandle list = reinterpret_cast<ListHandle>(GetControlReference(bar));
    if (!IsLiveList(list)) return;
    const bool vertical = bar == list->vScroll;
    const int16_t page = int16_t(std::max(1, (vertical ? VisibleRows(*list) : VisibleCols(*list)) - 1));
    int16_t step = 0;
    switch (part) {
    case kControlUpButtonPart: step = -1; break;
    case kControlDownButtonPart: step = 1; break;
    case kControlPageUpPart: step = int16_t(-page); break;
    case kControlPageDownPart: step = page; break;
    default: return;
    }
    if (vertical) LScroll(0, step, list);
    else LScroll(step, 0, list);
}

void ScrollTo(ListRecord& l, int32_t top, int32_t left)
{
    top = std::clamp<int32_t>(top, 0, std::max(0, l.rows - FullRows(l)));
    left = std::clamp<int32_t>(left, 0, std::max(0, l.cols - FullCols(l)));
    if (top == l.topRow && left == l.leftCol) return;
    l.topRow = int16_t(top);
    l.leftCol = int16_t(left);
    SyncScrollBars(l);
    if (CanDraw(l)) DrawAll(l);
}

}  // namespace

int16_t FullRows(const ListRecord& l)
{
    return l.cellSize.v > 0 ? int16_t(std::max(1, (l.view.bottom - l.view.top) / l.cellSize.v)) : int16_t(1);
}
int16_t FullCols(const ListRecord& l)
{
    return l.cellSize.h > 0 ? int16_t(std::max(1, (l.view.right - l.view.left) / l.cellSize.h)) : int16_t(1);
}

bool CanDraw(const ListRecord& l) { return l.drawIt && IsWindowVisible(l.window); }

int16_t VisibleRows(const ListRecord& l)
{
    if (l.cellSize.v <= 0) return 0;
    return int16_t((l.view.bottom - l.view.top + l.cellSize.v - 1) / l.cellSize.v);
}

int16_t VisibleCols(const ListRecord& l)
{
    if (l.cellSize.h <= 0) return 0;
    return int16_t((l.view.right - l.view.left + l.cellSize.h - 1) / l.cellSize.h);
}

Rect CellRect(const ListRecord& l, Cell c)
{
    const int32_t top = l.view.top + int32_t(c.v - l.topRow) * l.cellSize.v;
    const int32_t left = l.view.left + int32_t(c.h - l.leftCol) * l.cellSize.h;
    auto pin = [](int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); };
    return Rect{pin(top), pin(left), pin(top + l.cellSize.v), pin(left + l.cellSize.h)};
}

bool CellShown(const ListRecord& l, Cell c)
{
    return l.Valid(c) && c.v >= l.topRow && c.v < l.topRow + VisibleRows(l) && c.h >= l.leftCol &&
           c.h < l.leftCol + VisibleCols(l);
}

void DrawCell(ListRecord& l, Cell c)
{
    if (!CanDraw(l) || !CellShown(l, c)) return;
    ListPortScope port(l);
    Call(l, lDrawMsg, c);
}

void HiliteCell(ListRecord& l, Cell c)
{
    if (!CanDraw(l) || !CellShown(l, c) || !l.active) return;
    ListPortScope port(l);
    Call(l, lHiliteMsg, c);
}

void DrawAll(ListRecord& l)
{
    if (!CanDraw(l)) return;
    {
        ListPortScope port(l);
        // The view beyond the cells is blank.
        EraseRect(&l.view);
        const int16_t lastRow = int16_t(std::min<int32_t>(l.topRow + VisibleRows(l), l.rows));
        const int16_t lastCol = int16_t(std::min<int32_t>(l.leftCol + VisibleCols(l), l.cols));
        for (int16_t r = l.topRow; r < lastRow; ++r)
            for (int16_t c = l.leftCol; c < lastCol; ++c) Call(l, lDrawMsg, Cell{r, c});
    }
    if (l.vScroll) Draw1Control(l.vScroll);
    if (l.hScroll) Draw1Control(l.hScroll);
}

void SyncScrollBars(ListRecord& l)
{
    if (l.vScroll) {
        SetControl32BitMaximum(l.vScroll, std::max(0, l.rows - FullRows(l)));
        SetControlViewSize(l.vScroll, FullRows(l));
        SetControl32BitValue(l.vScroll, l.topRow);
        SetControlAction(l.vScroll, ScrollAction);
        if (l.active) ActivateControl(l.vScroll);
    }
    if (l.hScroll) {
        SetControl32BitMaximum(l.hScroll, std::max(0, l.cols - FullCols(l)));
        SetControlViewSize(l.hScroll, FullCols(l));
        SetControl32BitValue(l.hScroll, l.leftCol);
        SetControlAction(l.hScroll, ScrollAction);
        if (l.active) ActivateControl(l.hScroll);
    }
}

void PlaceScrollBars(ListRecord& l)
{
    // Outside the view, overlapping its frame by a pixel; a grow box takes
    // the corner.
    const int16_t corner = l.hasGrow || (l.vScroll && l.hScroll) ? int16_t(kBarWidth - 1) : int16_t(0);
    if (l.vScroll) {
        Rect r{int16_t(l.view.top - 1), l.view.right, int16_t(l.view.bottom + 1 - (l.hScroll ? 0 : corner)),
               int16_t(l.view.right + kBarWidth)};
        if (l.hScroll) r.bottom = int16_t(l.view.bottom + 1);
        SetControlBounds(l.vScroll, &r);
    }
    if (l.hScroll) {
        Rect r{l.view.bottom, int16_t(l.view.left - 1), int16_t(l.view.bottom + kBarWidth),
               int16_t(l.view.right + 1 - (l.vScroll ? 0 : corner))};
        SetControlBounds(l.hScroll, &r);
    }
    SyncScrollBars(l);
}

void LUpdate(RgnHandle region, ListHandle list)
{
    if (!IsLiveList(list) || !CanDraw(*list)) return;
    ListRecord& l = *list;
    if (!region || RectInRgn(&l.view, region)) {
        ListPortScope port(l);
        const int16_t lastRow = int16_t(std::min<int32_t>(l.topRow + VisibleRows(l), l.rows));
        const int16_t lastCol = int16_t(std::min<int32_t>(l.leftCol + VisibleCols(l), l.cols));
        Rect blank = l.view;
        blank.top = int16_t(std::min<int32_t>(l.view.bottom, l.view.top + int32_t(lastRow - l.topRow) * l.cellSize.v));
        if (blank.top < blank.bottom) EraseRect(&blank);
        for (int16_t r = l.topRow; r < lastRow; ++r)
            for (int16_t c = l.leftCol; c < lastCol; ++c) {
                const Rect cell = CellRect(l, Cell{r, c});
                if (!region || RectInRgn(&cell, region)) Call(l, lDrawMsg, Cell{r, c});
            }
    }
    for (ControlRef bar : {l.vScroll, l.hScroll}) {
        Rect b;
        if (bar && (!region || RectInRgn(GetControlBounds(bar, &b), region))) Draw1Control(bar);
    }
}

void LDraw(Cell cell, ListHandle list)
{
    if (IsLiveList(list)) DrawCell(*list, cell);
}

Boolean LGetCellRect(Cell cell, Rect* r, ListHandle list)
{
    if (!r || !IsLiveList(list) || !list->Valid(cell)) return false;
    *r = CellRect(*list, cell);
    return true;
}

void LActivate(Boolean act, ListHandle list)
{
    if (!IsLiveList(list) || list->active == bool(act)) return;
    ListRecord& l = *list;
    l.active = act;
    for (ControlRef bar : {l.vScroll, l.hScroll})
        if (bar) (act ? ActivateControl : DeactivateControl)(bar);
    if (CanDraw(l)) DrawAll(l);
}

void LAutoScroll(ListHandle list)
{
    if (!IsLiveList(list)) return;
    Cell c{0, 0};
    if (!LGetSelect(true, &c, list)) return;
    ListRecord& l = *list;
    int32_t top = l.topRow, left = l.leftCol;
    if (c.v < l.topRow || c.v >= l.topRow + FullRows(l)) top = c.v;
    if (c.h < l.leftCol || c.h >= l.leftCol + FullCols(l)) left = c.h;
    ScrollTo(l, top, left);
}

void LScroll(int16_t dCols, int16_t dRows, ListHandle list)
{
    if (IsLiveList(list)) ScrollTo(*list, int32_t(list->topRow) + dRows, int32_t(list->leftCol) + dCols);
}

void ScrollListTo(ListHandle list, int16_t top, int16_t left)
{
    if (IsLiveList(list)) ScrollTo(*list, top, left);
}

void LSize(int16_t width, int16_t height, ListHandle list)
{
    if (!IsLiveList(list)) return;
    ListRecord& l = *list;
    l.view.right = int16_t(l.view.left + std::max<int16_t>(width, 0));
    l.view.bottom = int16_t(l.view.top + std::max<int16_t>(height, 0));
    PlaceScrollBars(l);
    ScrollTo(l, l.topRow, l.leftCol);
    if (CanDraw(l)) DrawAll(l);
}

void LCellSize(Point cSize, ListHandle list)
{
    if (!IsLiveList(list) || cSize.h <= 0 || cSize.v <= 0) return;
    list->cellSize = cSize;
    SyncScrollBars(*list);
    ScrollTo(*list, list->topRow, list->leftCol);
    if (CanDraw(*list)) DrawAll(*list);
}

void LSetDrawingMode(Boolean drawIt, ListHandle list)
{
    if (!IsLiveList(list) || list->drawIt == bool(drawIt)) return;
    list->drawIt = drawIt;
    // What changed meanwhile shows at once.
    if (drawIt) DrawAll(*list);
}

}  // namespace platform
