// Long lists: clicks, drag selection, the scroll bar's tracking, the
// disclosure triangles, dragging rows to other panes and the conflict
// list's choice pop-up. Every loop here polls the mouse until the button
// comes up.
#include <algorithm>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "app/appl/Menus.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "platform/core/Clock.h"
#include "platform/cursors/Cursors.h"
#include "platform/drag/Drag.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

// The conflict choices of `code` as a pop-up at `where`: the chosen item, 0 for none.
int16_t ConflictChoicePopUp(int16_t code, int16_t current, int16_t choices, Point where);

int32_t VisibleRows(const LongListRec* l)
{
    return l->cellSize.v > 0 ? (l->rView.bottom - l->rView.top) / l->cellSize.v : 0;
}

int32_t RowAt(Point p, const LongListRec* l)
{
    return l->cellSize.v > 0 ? l->firstVisible + (p.v - l->rView.top) / l->cellSize.v : l->firstVisible;
}

bool Selected(int32_t row, LongListHandle list)
{
    int32_t r = row;
    return LongLGetSelect(false, &r, list);
}

// Scrolls the view by `rows` (positive: later rows come into view).
void ScrollRows(LongListHandle list, int32_t rows)
{
    if (rows == 0) return;
    list->firstVisible += rows;
    list->lastVisible += rows;
    if (list->vScroll) SetLongCtlValue(list->vScroll, list->firstVisible);
    else list->longValue = list->firstVisible;
    const int64_t pixels = int64_t(rows) * list->cellSize.v;
    if (pixels > -32000 && pixels < 32000) {
        RgnHandle uncovered = NewRgn();
        ScrollRect(&list->rView, 0, int16_t(-pixels), uncovered);
        if (uncovered) DisposeRgn(uncovered);
    }
    LongLUpdate(nullptr, list);
}

// The common double-click test; updates the last click.
bool DoubleClick(int32_t row, LongListHandle list)
{
    const uint32_t now = TickCount();
    const bool twice = row == list->lastClick && now - list->clickTime <= GetDblTime();
    list->clickTime = now;
    list->lastClick = row;
    return twice;
}

// The drag selection that follows a selection click. `drag` makes every
// round's row the last click and invalidates the window before a scroll.
void DragSelect(LongListHandle list, uint16_t modifiers, bool toggle, int32_t anchor, bool drag)
{
    while (StillDown()) {
        Point p;
        GetMouse(&p);
        int32_t row;
        if (p.v < list->rView.top) {
            row = list->firstVisible;
            DoSelect(row, modifiers, list, toggle, anchor);
            if (list->firstVisible > 0) {
                if (drag && list->port) InvalWindowRect(GetWindowFromPort(list->port), &list->rView);
                ScrollRows(list, -1);
            }
        } else if (p.v >= list->rView.bottom) {
            row = std::min(list->lastVisible, list->rowCount - 1);
            DoSelect(row, modifiers, list, toggle, anchor);
            if (list->lastVisible < list->rowCount) {
                if (drag && list->port) InvalWindowRect(GetWindowFromPort(list->port), &list->rView);
                ScrollRows(list, 1);
            }
        } else {
            row = RowAt(p, list);
            if (row < list->rowCount) DoSelect(row, modifiers, list, toggle, anchor);
        }
        if (drag && row >= 0 && row < list->rowCount) list->lastClick = row;
    }
}

// Scroll-bar step of every click handler.
void ScrollBarClick(Point where, LongListHandle list)
{
    ControlRef bar = list->vScroll;
    if (!bar || !IsControlVisible(bar)) return;
    Rect bounds;
    GetControlBounds(bar, &bounds);
    if (!PtInRect(where, &bounds)) return;
    const ControlPartCode part = TestControl(bar, where);
    if (part == kControlNoPart) return;
    if (part == kControlIndicatorPart) {
        const int16_t before = GetControlValue(bar);
        TrackControl(bar, where, nullptr);
        if (GetControlValue(bar) != before) {
            UpdateLongCtlValue(bar);
            list->firstVisible = list->longValue;
            list->lastVisible = list->firstVisible + VisibleRows(list);
            LongLUpdate(nullptr, list);
        }
    } else {
        TrackControl(bar, where, ListTrackCtrAction);
    }
}

// One selection click (step 1 of a plain click).
void SelectionClick(int32_t row, uint16_t modifiers, LongListHandle list, bool* toggle, int32_t* anchor)
{
    *toggle = !Selected(row, list);
    *anchor = (modifiers & kLongLShiftKey) ? LongLAnchor(row, list) : row;
    DoSelect(row < list->rowCount ? row : -1, modifiers, list, *toggle, *anchor);
}

void DrawTriangle(const Rect* box, int16_t icon, const LongListRec* list)
{
    RgnHandle saved = NewRgn();
    SectClip(&list->rView, saved);
    RGBColor back;
    SetWhiteBackGround(&back);
    EraseRect(box);
    DrawSmallIcon(128, icon, box);
    ResetWhiteBackGround(&back);
    if (saved) {
        SetClip(saved);
        DisposeRgn(saved);
    }
}

// The outline of the selected rows and their members, in global coordinates.
RgnHandle SelectionOutline(LongListHandle list)
{
    RgnHandle outline = NewRgn();
    RgnHandle one = NewRgn();
    if (!outline || !one) {
        if (outline) DisposeRgn(outline);
        if (one) DisposeRgn(one);
        return nullptr;
    }
    auto add = [&](int32_t row) {
        const int16_t level = LLGetLevel(LongLRowObject(row, list));
        Rect r = GetCellRect(row, list);
        r.left = int16_t(r.left + 16 + 16 * level);
        Point tl{r.top, r.left}, br{r.bottom, r.right};
        LocalToGlobal(&tl);
        LocalToGlobal(&br);
        const Rect g{tl.v, tl.h, br.v, br.h};
        RectRgn(one, &g);
        UnionRgn(outline, one, outline);
    };
    // Only rows near the view can meet it: the outline is cut to the view.
    const int32_t from = std::max(0, list->firstVisible), to = std::min(list->lastVisible, list->rowCount - 1);
    for (int32_t row = 0; LongLGetSelect(true, &row, list) && row <= to; ++row) {
        const int16_t level = LLGetLevel(LongLRowObject(row, list));
        if (row >= from) add(row);
        int32_t member = row + 1;
        for (; member < list->rowCount && LLGetLevel(LongLRowObject(member, list)) > level; ++member)
            if (member >= from && member <= to) add(member);
        if (member - 1 > row && member - 1 >= to) break;
    }
    Point tl{list->rView.top, list->rView.left}, br{list->rView.bottom, list->rView.right};
    LocalToGlobal(&tl);
    LocalToGlobal(&br);
    const Rect view{tl.v, tl.h, br.v, br.h};
    RectRgn(one, &view);
    SectRgn(outline, one, outline);
    DisposeRgn(one);
    return outline;
}

void DragSelection(Point where, LongListHandle list)
{
    RgnHandle outline = SelectionOutline(list);
    if (!outline) return;
    // The drag starts only after 5 pixels of movement.
    bool moved = false;
    while (StillDown()) {
        Point p;
        GetMouse(&p);
        if (std::abs(p.h - where.h) + std::abs(p.v - where.v) >= 5) {
            moved = true;
            break;
        }
    }
    if (!moved) {
        DisposeRgn(outline);
        G_Plane = kPlaneDone;
        G_Cell = -1;
        return;
    }
    GrafPtr saved = nullptr;
    GetPort(&saved);
    Point start = where;
    LocalToGlobal(&start);
    CGrafPtr screen = CreateNewPort();
    if (screen) {
        SetPort(screen);
        PenNormal();
        Pattern black;
        PenPat(GetQDGlobalsBlack(&black));
        if (DragCursor && *DragCursor) SetCursor(*DragCursor);
        G_DlgHandle = outline;
        G_LongListHdl = list;
        Rect limit{-32000, -32000, 32000, 32000};
        DragGrayRgn(outline, start, &limit, &limit, noConstraint, DragCellAction);
        SetPort(saved);
        DisposePort(screen);
        SetArrowCursor();
    }
    G_DlgHandle = nullptr;
    G_LongListHdl = nullptr;
    DisposeRgn(outline);
    if (!G_Plane || G_Plane == kPlaneDone) {
        G_Plane = kPlaneDone;
        G_Cell = -1;
    } else if (CurrentLongListHooks().dragCellSelect) {
        // The target loses its highlight and stays the target of the drop.
        TPlan* target = G_Plane;
        const int32_t cell = G_Cell;
        CurrentLongListHooks().dragCellSelect(target, false);
        G_Plane = target;
        G_Cell = cell;
    }
}

}  // namespace

void ListTrackCtrAction(ControlRef control, ControlPartCode part)
{
    auto* list = reinterpret_cast<LongListRec*>(GetControlReference(control));
    if (!list) return;
    int32_t delta = 0;
    switch (part) {
    case kControlUpButtonPart: delta = -1; break;
    case kControlDownButtonPart: delta = 1; break;
    case kControlPageUpPart: delta = -VisibleRows(list); break;
    case kControlPageDownPart: delta = VisibleRows(list); break;
    default: return;
    }
    const int32_t old = list->longValue;
    SetLongCtlValue(control, int32_t(std::clamp<int64_t>(int64_t(old) + delta, INT32_MIN, INT32_MAX)));
    const int32_t moved = list->longValue - old;
    if (moved == 0) return;
    list->longValue = old;  // ScrollRows sets it again
    ScrollRows(list, moved);
}

bool LongLClick(Point where, uint16_t modifiers, LongListHandle list)
{
    if (!list) return false;
    RGBColor back;
    SetWhiteBackGround(&back);
    bool twice = false;
    if (PtInRect(where, &list->rView)) {
        const int32_t row = RowAt(where, list);
        twice = DoubleClick(row, list);
        bool toggle;
        int32_t anchor;
        SelectionClick(row, modifiers, list, &toggle, &anchor);
        if (row >= list->rowCount) twice = false;
        DragSelect(list, modifiers, toggle, anchor, false);
    }
    ScrollBarClick(where, list);
    ResetWhiteBackGround(&back);
    return twice;
}

bool TrackSwitch(int32_t row, LongListHandle list, const Rect* box, const Rect*)
{
    const bool open = IsOpenCell(row, list);
    const int16_t pressed = open ? 3 : 5, normal = open ? 2 : 4;
    DrawTriangle(box, pressed, list);
    bool inside = true;
    while (StillDown()) {
        Point p;
        GetMouse(&p);
        const bool now = PtInRect(p, box);
        if (now != inside) DrawTriangle(box, now ? pressed : normal, list);
        inside = now;
    }
    Point p;
    GetMouse(&p);
    inside = PtInRect(p, box);
    DrawTriangle(box, normal, list);
    return inside;
}

bool LongLClick_Drag(Point where, uint16_t modifiers, LongListHandle list)
{
    G_Plane = nullptr;
    G_Cell = -1;
    if (!list) return false;
    RGBColor back;
    SetWhiteBackGround(&back);
    bool twice = false;
    if (PtInRect(where, &list->rView)) {
        const int32_t row = RowAt(where, list);
        void* object = LongLRowObject(row, list);
        Rect disclosure{0, 0, 0, 0}, dragBox{0, 0, 0, 0};
        if (object) {
            const Rect cell = GetCellRect(row, list);
            if (LLOpenable(object)) disclosure = Rect{cell.top, cell.left, cell.bottom, int16_t(cell.left + 16)};
            dragBox = Rect{cell.top, int16_t(cell.left + 16), cell.bottom, int16_t(cell.left + 32)};
            if (const int16_t level = LLGetLevel(object); level != 0) OffsetRect(&dragBox, int16_t(16 * level), 0);
        }
        const bool inDisclosure = object && PtInRect(where, &disclosure);
        const bool inDrag = object && PtInRect(where, &dragBox);
        if (row >= list->rowCount) {
            DoubleClick(row, list);
            DoSelect(-1, modifiers, list, false, row);
        } else if (inDrag) {
            twice = DoubleClick(row, list);
            if (!Selected(row, list)) {
                bool toggle;
                int32_t anchor;
                SelectionClick(row, modifiers, list, &toggle, &anchor);
            }
            if (LLDragable(object)) {
                DragSelection(where, list);
            } else {
                G_Plane = kPlaneDone;
                G_Cell = -1;
            }
        } else if (inDisclosure) {
            list->clickTime = TickCount();
            list->lastClick = row;
            if (TrackSwitch(row, list, &disclosure, &list->rView)) {
                G_Plane = kPlaneDone;
                G_Cell = row;
            }
        } else {
            twice = DoubleClick(row, list);
            bool toggle;
            int32_t anchor;
            SelectionClick(row, modifiers, list, &toggle, &anchor);
            DragSelect(list, modifiers, toggle, anchor, true);
        }
    }
    ScrollBarClick(where, list);
    ResetWhiteBackGround(&back);
    return twice;
}

void DragCellAction()
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    PenState pen;
    GetPenState(&pen);
    Point p;
    GetGlobalMouse(&p);
    WindowRef window = nullptr;
    const LongListHooks& hooks = CurrentLongListHooks();
    TWindow* target = nullptr;
    if (FindWindow(p, &window) == inContent && window && GetWindowKind(window) == 8) target = GetTWindow(window);
    if (target && hooks.dragCell) {
        hooks.dragCell(target, p);
    } else if (G_Plane && G_Plane != kPlaneDone) {
        if (hooks.dragCellSelect) hooks.dragCellSelect(G_Plane, false);
        G_Plane = nullptr;
        G_Cell = -1;
    }
    SetPort(saved);
    SetPenState(&pen);
}

bool LongLC_Click(Point where, uint16_t, LongListHandle list)
{
    if (!list) return false;
    RGBColor back;
    SetWhiteBackGround(&back);
    bool changed = false;
    const LongListHooks& hooks = CurrentLongListHooks();
    if (PtInRect(where, &list->rView)) {
        const int32_t row = RowAt(where, list);
        list->clickTime = TickCount();
        list->lastClick = row;
        void* entry = LongLRowObject(row, list);
        int16_t code = 0, previous = 0, current = 0;
        bool hasSecond = false;
        if (entry && hooks.getConflict && hooks.getConflict(entry, &code, &hasSecond, &previous, &current)) {
            const Rect cell = GetCellRect(row, list);
            TextFont(GetResFont(3));
            TextSize(GetResSize(3));
            TextFace(0);
            FontInfo info{};
            GetFontInfo(&info);
            const int16_t line = int16_t(info.ascent + info.descent + info.leading);
            // The choice box as the row draws it: indented with its row.
            const int16_t indent = hooks.conflictIndent ? hooks.conflictIndent(entry) : 0;
            Rect area{int16_t(cell.top + 2 * line + 7), int16_t(cell.left + indent + 40),
                      int16_t(cell.top + 2 * line + 27), int16_t(cell.right - 8)};
            InsetRect(&area, 1, 1);
            const bool fixed = hasSecond && (current == 9 || current == 11 || current == 12 || current == 16 ||
                                             current == 17);
            const int16_t choices = hooks.maxChoix ? hooks.maxChoix(code) : 0;
            if (PtInRect(where, &area) && !fixed && choices > 1) {
                const int16_t item = ConflictChoicePopUp(code, current, choices, where);
                if (item > 0) {
                    const int16_t value = hooks.chooseValue ? hooks.chooseValue(code, item) : item;
                    if (hooks.setConflictChoices) hooks.setConflictChoices(entry, current, value);
                    changed = value != current || value == 1 || value == 8;
                    LongLDraw(row, list);
                }
            }
        }
    }
    ScrollBarClick(where, list);
    ResetWhiteBackGround(&back);
    return changed;
}

namespace {

int16_t ConflictChoicePopUp(int16_t code, int16_t current, int16_t choices, Point where)
{
    const LongListHooks& hooks = CurrentLongListHooks();
    const int16_t savedRes = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    const unsigned char none[1] = {0};
    MenuRef menu = NewMenu(1000, none);
    int16_t chosen = 0;
    if (menu) {
        for (int32_t n = 1; n <= choices; ++n) {
            int16_t stringIndex = 0, icon = 0;
            if (hooks.chooseNumStrListe) hooks.chooseNumStrListe(code, n, &stringIndex, &icon);
            Str255 text;
            MyGetIndString(text, 1018, stringIndex);
            if (text[0] == 0) {
                text[0] = 1;
                text[1] = ' ';
            }
            AppendMenuItemText(menu, text);
            if (icon + 1 > 0) SetItemIcon(menu, MenuItemIndex(n), int16_t(icon + 1));
        }
        const int16_t mark = hooks.chooseNumber ? hooks.chooseNumber(code, current) : 0;
        Str255 marks;
        MyGetIndString(marks, 1024, 2);
        if (mark >= 1 && mark <= choices && marks[0] > 0) SetItemMark(menu, MenuItemIndex(mark), marks[1]);
        chosen = Pop(menu, where, mark >= 1 && mark <= choices ? mark : 1);  // disposes of the menu
    }
    UseResFile(savedRes);
    return chosen;
}

}  // namespace
