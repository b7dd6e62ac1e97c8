// The list manager: a grid of cells (rows and columns of bytes) shown in a
// rectangle of a window, with scroll bars, selection by clicks and keys'
// modifiers, and cell drawing by a list definition registered by id.
// Cells are Points (h the column, v the row), counted from 0; rectangles
// are in the window's local coordinates.
#pragma once

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/windows/Windows.h"

namespace platform {

struct ListRecord;
using ListHandle = ListRecord*;
using ListRef = ListRecord*;
using Cell = Point;
using ListBounds = Rect;
using DataHandle = Handle;

// Messages to a definition.
enum : int16_t { lInitMsg = 0, lDrawMsg = 1, lHiliteMsg = 2, lCloseMsg = 3 };

// A definition: message, selected, cell rectangle, cell, where the cell's
// bytes start in the data handle and how many there are, and the list. The
// offset is 32-bit: a list may hold more than 32 KB of data.
using ListDefProcPtr = void (*)(int16_t message, Boolean selected, Rect* cellRect, Cell cell, int32_t dataOffset,
                                int16_t dataLen, ListHandle list);
using ListDefUPP = ListDefProcPtr;
inline ListDefUPP NewListDefUPP(ListDefProcPtr p) { return p; }
inline void DisposeListDefUPP(ListDefUPP) {}
constexpr uint32_t kListDefUserProcType = 0;
struct ListDefSpec {
    uint32_t defType = kListDefUserProcType;
    ListDefUPP userProc = nullptr;
};

// Called while a click is followed; false ends the click.
using ListClickLoopProcPtr = Boolean (*)();
using ListClickLoopUPP = ListClickLoopProcPtr;

// Selection flags.
enum : uint8_t {
    lOnlyOne = 0x80,
    lExtendDrag = 0x40,
    lNoDisjoint = 0x20,
    lNoExtend = 0x10,
    lNoRect = 0x08,
    lUseSense = 0x04,
    lNoNilHilite = 0x02,
};

// Definitions of our own under an id; id 0 is the standard text list.
OSErr RegisterListDefinition(int16_t listDefID, const ListDefSpec* defSpec);

// A list in `window` showing `dataBounds` (columns left..right, rows
// top..bottom) in `rView`. A cell size of 0 takes the view's width over
// the columns and the port font's line height. Null when memory runs out
// or the definition is unknown.
ListHandle LNew(const Rect* rView, const ListBounds* dataBounds, Point cSize, int16_t theProc, WindowRef window,
                Boolean drawIt, Boolean hasGrow, Boolean scrollHoriz, Boolean scrollVert);
void LDispose(ListHandle list);

// Rows and columns: answer the first row or column added.
int16_t LAddRow(int16_t count, int16_t rowNum, ListHandle list);
void LDelRow(int16_t count, int16_t rowNum, ListHandle list);  // count 0: every row
int16_t LAddColumn(int16_t count, int16_t colNum, ListHandle list);
void LDelColumn(int16_t count, int16_t colNum, ListHandle list);

// Cell data.
void LSetCell(const void* data, int16_t dataLen, Cell cell, ListHandle list);
// Copies at most *dataLen bytes; *dataLen becomes the number copied.
void LGetCell(void* data, int16_t* dataLen, Cell cell, ListHandle list);
void LAddToCell(const void* data, int16_t dataLen, Cell cell, ListHandle list);
void LClrCell(Cell cell, ListHandle list);
// Where the cell's bytes are in the data handle; -1, -1 for a bad cell and
// for an offset past 32,767 (GetCellDataLocation32 answers those).
void LGetCellDataLocation(int16_t* offset, int16_t* len, Cell cell, ListHandle list);
bool GetCellDataLocation32(int32_t* offset, int16_t* len, Cell cell, ListHandle list);
Boolean LGetCellRect(Cell cell, Rect* r, ListHandle list);

// Selection.
void LSetSelect(Boolean setIt, Cell cell, ListHandle list);
// With `next`, the first selected cell from *cell on (along the row, then
// the next rows); else whether *cell is selected.
Boolean LGetSelect(Boolean next, Cell* cell, ListHandle list);
void SetListSelectionFlags(ListHandle list, uint8_t flags);
uint8_t GetListSelectionFlags(ListHandle list);

// Mouse. True for a double click on one cell.
Boolean LClick(Point where, uint16_t modifiers, ListHandle list);
void SetListClickLoop(ListHandle list, ListClickLoopUPP loop);
Cell LLastClick(ListHandle list);

// Drawing and scrolling.
void LUpdate(RgnHandle region, ListHandle list);
void LDraw(Cell cell, ListHandle list);
void LActivate(Boolean act, ListHandle list);
// Scrolls so that the first selected cell shows.
void LAutoScroll(ListHandle list);
void LScroll(int16_t dCols, int16_t dRows, ListHandle list);
void LSize(int16_t width, int16_t height, ListHandle list);
void LCellSize(Point cSize, ListHandle list);
// Off, nothing is drawn; turning it on draws the list once.
void LSetDrawingMode(Boolean drawIt, ListHandle list);

// Accessors.
DataHandle GetListDataHandle(ListHandle list);
Rect* GetListViewBounds(ListHandle list, Rect* view);
ListBounds* GetListVisibleCells(ListHandle list, ListBounds* visible);
ListBounds* GetListDataBounds(ListHandle list, ListBounds* bounds);
uintptr_t GetListRefCon(ListHandle list);
void SetListRefCon(ListHandle list, uintptr_t refCon);
ControlRef GetListVerticalScrollBar(ListHandle list);
ControlRef GetListHorizontalScrollBar(ListHandle list);

// Forgets the registered definitions (tests).
void ResetListDefinitions();

}  // namespace platform
