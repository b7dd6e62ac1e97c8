// Long lists: drawing rows through the drawing procedure, keeping the view
// and the scroll position in step, and the geometry of rows and their
// disclosure and drag boxes.
#include <algorithm>
#include <new>

#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/AppGlobals.h"
#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

LongListHooks gHooks;

bool DrawingOn(const LongListRec* l) { return (l->drawFlags & kLongLDrawOn) != 0; }

int32_t VisibleRows(const LongListRec* l)
{
    return l->cellSize.v > 0 ? (l->rView.bottom - l->rView.top) / l->cellSize.v : 0;
}

// The row's rectangle, whatever its range; coordinates kept within 16 bits.
Rect RowRect(int32_t row, const LongListRec* l)
{
    const int64_t top = int64_t(l->rView.top) + int64_t(l->cellSize.v) * (int64_t(row) - l->firstVisible);
    const int16_t t = int16_t(std::clamp<int64_t>(top, -32000, 32000));
    const int16_t b = int16_t(std::clamp<int64_t>(top + l->cellSize.v, -32000, 32000));
    return Rect{t, l->rView.left, b, int16_t(l->rView.left + l->cellSize.h)};
}

// Draws in the list's port, clipped to the view, whatever port is current
// (a key after another window closed, a command from another window);
// restores both.
template <typename F>
void InListPort(LongListRec* l, F draw)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (l->port) SetPort(l->port);
    SectClip(&l->rView, l->clipSave);
    draw();
    SetClip(l->clipSave);
    SetPort(saved);
}

}  // namespace

TPlan* G_Plane = nullptr;
int32_t G_Cell = -1;
LongListRec* G_LongListHdl = nullptr;
RgnHandle G_DlgHandle = nullptr;

void SetLongListHooks(const LongListHooks& hooks) { gHooks = hooks; }
void ResetLongListHooks()
{
    gHooks = LongListHooks{};
    G_Plane = nullptr;
    G_Cell = -1;
    G_LongListHdl = nullptr;
    G_DlgHandle = nullptr;
}
const LongListHooks& CurrentLongListHooks() { return gHooks; }

int16_t LLGetLevel(void* object) { return object && gHooks.getLevel ? gHooks.getLevel(object) : 0; }
bool LLOpenable(void* object) { return object && gHooks.openable && gHooks.openable(object); }
bool LLDragable(void* object) { return object && gHooks.dragable && gHooks.dragable(object); }

void LongLMessages(int16_t message, int32_t row, LongListHandle list)
{
    if (!list || !list->drawProc) return;
    InListPort(list, [&] {
        const int16_t savedRes = CurResFile();
        if (G_MainResFile > 0) UseResFile(G_MainResFile);
        const int8_t state = HGetState(list->rows);
        HLock(list->rows);
        const bool selected = list->active && row >= 0 && row < list->rowCount &&
                              BitArrayTest(reinterpret_cast<const uint8_t*>(*list->selBits), row);
        const Rect cell = RowRect(row, list);
        // A row drawn without what memory could not give (its icon, its
        // name) is drawn again at the next update; nothing thrown leaves
        // the row's procedure.
        const uint32_t shortfalls = MemoryShortfalls();
        bool whole = true;
        try {
            list->drawProc(message, selected, &cell, row, int32_t(int64_t(row) * list->rowLength), list);
        } catch (const std::bad_alloc&) {
            whole = false;
        }
        if ((!whole || MemoryShortfalls() != shortfalls) && message == kLongLDrawMsg)
            if (WindowRef w = list->port ? GetWindowFromPort(list->port) : nullptr) InvalWindowRect(w, &cell);
        HSetState(list->rows, state);
        UseResFile(savedRes);
    });
}

void LongLDraw(int32_t row, LongListHandle list)
{
    if (!list || !DrawingOn(list) || row < list->firstVisible || row > list->lastVisible) return;
    if (row < list->rowCount) {
        LongLMessages(kLongLDrawMsg, row, list);
        return;
    }
    InListPort(list, [&] {
        const Rect r = RowRect(row, list);
        RGBColor saved;
        SetWhiteBackGround(&saved);
        EraseRect(&r);
        ResetWhiteBackGround(&saved);
    });
}

void LongLDoDraw(bool on, LongListHandle list)
{
    if (!list) return;
    if (!on) {
        list->drawFlags &= uint8_t(~kLongLDrawOn);
        return;
    }
    if (list->vScroll) SetLongCtlMax(list->vScroll, MaxCtlValue(list));
    else list->longMax = MaxCtlValue(list);
    list->firstVisible = list->longValue;
    list->lastVisible = list->firstVisible + VisibleRows(list);
    list->drawFlags |= kLongLDrawOn;
}

void LongLUpdate(RgnHandle, LongListHandle list)
{
    if (!list || !DrawingOn(list)) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (list->port) SetPort(list->port);
    if (list->vScroll) Draw1Control(list->vScroll);
    RGBColor back;
    SetWhiteBackGround(&back);
    for (int32_t r = list->firstVisible; r <= list->lastVisible; ++r) LongLDraw(r, list);
    ResetWhiteBackGround(&back);
    SetPort(saved);
}

void LongLActivate(bool active, LongListHandle list)
{
    if (!list || list->active == uint8_t(active)) return;
    list->active = active;
    if (list->vScroll) HiliteControl(list->vScroll, active ? 0 : 255);
    if (!DrawingOn(list)) return;
    const int32_t last = std::min(list->lastVisible, list->rowCount - 1);
    for (int32_t r = std::max(0, list->firstVisible); r <= last; ++r)
        if (BitArrayTest(reinterpret_cast<const uint8_t*>(*list->selBits), r)) LongLMessages(kLongLHiliteMsg, r, list);
}

void LongLSize(int16_t width, int16_t height, LongListHandle list)
{
    if (!list) return;
    list->rView.right = int16_t(list->rView.left + width);
    list->rView.bottom = int16_t(list->rView.top + height);
    list->lastVisible = list->firstVisible + VisibleRows(list);
    if (ControlRef bar = list->vScroll) {
        HideControl(bar);
        MoveControl(bar, list->rView.right, int16_t(list->rView.top - 1));
        const int16_t barHeight = int16_t(height + 2);
        SizeControl(bar, 16, barHeight);
        SetLongCtlMax(bar, std::max(MaxCtlValue(list), list->firstVisible));
        if (barHeight > 48) ShowControl(bar);
    }
    if (DrawingOn(list)) LongLUpdate(nullptr, list);
}

void LongLCellSize(Point cellSize, LongListHandle list)
{
    if (!list) return;
    list->cellSize = cellSize;
    LongLUpdate(nullptr, list);
}

void LongLAutoScroll(LongListHandle list)
{
    int32_t first = 0;
    if (!list || !LongLGetSelect(true, &first, list)) return;
    Rect r = RowRect(first, list);
    InsetRect(&r, 1, 1);
    if (first >= list->firstVisible && first <= list->lastVisible && r.top >= list->rView.top &&
        r.bottom <= list->rView.bottom)
        return;
    const int32_t max = MaxCtlValue(list);
    list->firstVisible = std::min(first, max);
    if (list->vScroll) {
        SetLongCtlMax(list->vScroll, max);
        SetLongCtlValue(list->vScroll, list->firstVisible);
    } else {
        list->longValue = list->firstVisible;
    }
    list->lastVisible = list->firstVisible + VisibleRows(list);
    if (DrawingOn(list)) LongLUpdate(nullptr, list);
}

Rect GetCellRect(int32_t row, LongListHandle list)
{
    if (!list || row < 0 || row >= list->rowCount) return Rect{0, 0, 0, 0};
    return RowRect(row, list);
}

void GetMouseCell(Point where, LongListHandle list, int32_t* row, void** object)
{
    if (object) *object = nullptr;
    if (!list || !PtInRect(where, &list->rView) || list->cellSize.v <= 0) return;
    const int32_t r = list->firstVisible + (where.v - list->rView.top) / list->cellSize.v;
    if (row) *row = r;
    if (object) *object = LongLRowObject(r, list);
}

void CellState(Point where, LongListHandle list, bool* drag, bool* open, bool* close)
{
    *drag = *open = *close = false;
    int32_t row = -1;
    void* object = nullptr;
    GetMouseCell(where, list, &row, &object);
    if (!object) return;
    const Rect cell = RowRect(row, list);
    const Rect disclosure{cell.top, cell.left, cell.bottom, int16_t(cell.left + 16)};
    Rect dragBox{cell.top, int16_t(cell.left + 16), cell.bottom, int16_t(cell.left + 32)};
    if (const int16_t level = LLGetLevel(object); level != 0) OffsetRect(&dragBox, int16_t(16 * level), 0);
    *drag = PtInRect(where, &dragBox) && LLDragable(object);
    if (PtInRect(where, &disclosure) && LLOpenable(object)) {
        const bool isOpen = IsOpenCell(row, list);
        *open = !isOpen;
        *close = isOpen;
    }
}
