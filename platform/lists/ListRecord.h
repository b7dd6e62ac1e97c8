// The list record, shared by the list manager's files. Code outside goes
// through Lists.h.
#pragma once

#include <string>
#include <vector>

#include "platform/lists/Lists.h"

namespace platform {

struct ListRecord {
    Rect view{0, 0, 0, 0};
    int16_t rows = 0;
    int16_t cols = 0;
    Point cellSize{0, 0};  // v height, h width
    int16_t topRow = 0;    // the first row and column shown
    int16_t leftCol = 0;
    WindowRef window = nullptr;
    ControlRef vScroll = nullptr;
    ControlRef hScroll = nullptr;
    bool hasGrow = false;
    ListDefUPP def = nullptr;
    uint8_t selFlags = 0;
    bool active = true;
    bool drawIt = true;
    uintptr_t refCon = 0;
    ListClickLoopUPP clickLoop = nullptr;
    Cell lastClick{-1, -1};
    uint32_t lastClickTicks = 0;
    // Cells row by row; the data handle holds them end to end, rebuilt
    // when read after a change.
    std::vector<std::string> cells;
    std::vector<uint8_t> selected;
    std::vector<int32_t> offsets;
    Handle data = nullptr;
    bool dirty = true;

    size_t Index(Cell c) const { return size_t(c.v) * size_t(cols) + size_t(c.h); }
    bool Valid(Cell c) const { return c.v >= 0 && c.h >= 0 && c.v < rows && c.h < cols; }
};

bool IsLiveList(ListHandle list);
// The data handle and offsets made to match the cells.
void Flatten(ListRecord& l);
// Rows and columns that fit the view (the last may show in part).
int16_t VisibleRows(const ListRecord& l);
int16_t VisibleCols(const ListRecord& l);
// Rows and columns wholly shown (at least 1): the scroll position goes no
// further than the data less these.
int16_t FullRows(const ListRecord& l);
int16_t FullCols(const ListRecord& l);
Rect CellRect(const ListRecord& l, Cell c);
bool CellShown(const ListRecord& l, Cell c);
// Draws one cell, or sends the definition the highlight message.
void DrawCell(ListRecord& l, Cell c);
void HiliteCell(ListRecord& l, Cell c);
// Draws every cell shown and what the view holds beyond them.
void DrawAll(ListRecord& l);
// Scroll bars follow the rows, columns and scroll position.
void SyncScrollBars(ListRecord& l);
void PlaceScrollBars(ListRecord& l);
bool CanDraw(const ListRecord& l);
void ScrollListTo(ListHandle list, int16_t top, int16_t left);

}  // namespace platform
