// List records: definitions, creation, rows and columns, cell data,
// selection and accessors.
#include <algorithm>
#include <cstring>
#include <map>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/lists/ListRecord.h"

namespace platform {
namespace {

std::map<int16_t, ListDefUPP>& Registry()
{
    static auto* registry = new std::map<int16_t, ListDefUPP>;
    return *registry;
}

std::vector<ListHandle>& Lists()
{
    static auto* lists = new std::vector<ListHandle>;
    return *lists;
}

// The standard definition: the cell's bytes as text, inverted when
// selected.
void TextDefinition(int16_t message, Boolean selected, Rect* cellRect, Cell, int32_t dataOffset, int16_t dataLen,
                    ListHandle list)
{
    if (message == lHiliteMsg) {
        InvertRect(cellRect);
        return;
    }
    if (message != lDrawMsg) return;
    EraseRect(cellRect);
    Handle data = GetListDataHandle(list);
    if (data && dataLen > 0) {
        FontInfo info;
        GetFontInfo(&info);
        MoveTo(int16_t(cellRect->left + 4), int16_t(cellRect->top + info.ascent));
        HLock(data);
        DrawText(*data + dataOffset, 0, dataLen);
        HUnlock(data);
    }
    if (selected) InvertRect(cellRect);
}

ListDefUPP FindDefinition(int16_t id)
{
    auto it = Registry().find(id);
    if (it != Registry().end()) return it->second;
    return id == 0 ? TextDefinition : nullptr;
}

void ForgetWindow(WindowRef window)
{
    const std::vector<ListHandle> copy = Lists();
    for (ListHandle l : copy)
        if (l->window == window) LDispose(l);
}

void Call(ListRecord& l, int16_t message)
{
    Rect r{0, 0, 0, 0};
    l.def(message, false, &r, Cell{0, 0}, 0, 0, &l);
}

// Rebuilds the cells for a new shape, keeping cell (r, c) at `map(r, c)`.
template <typename Map>
bool Reshape(ListRecord& l, int16_t rows, int16_t cols, Map map)
{
    try {
        const size_t n = size_t(rows) * size_t(cols);
        std::vector<std::string> cells(n);
        std::vector<uint8_t> selected(n, 0);
        for (int16_t r = 0; r < l.rows; ++r)
            for (int16_t c = 0; c < l.cols; ++c) {
                Cell to{0, 0};
                if (!map(r, c, &to)) continue;
                const size_t from = size_t(r) * size_t(l.cols) + size_t(c);
                const size_t at = size_t(to.v) * size_t(cols) + size_t(to.h);
                cells[at] = std::move(l.cells[from]);
                selected[at] = l.selected[from];
            }
        l.cells = std::move(cells);
        l.selected = std::move(selected);
    } catch (const std::bad_alloc&) {
        return false;
    }
    l.rows = rows;
    l.cols = cols;
    l.dirty = true;
    // Fewer rows or columns: the view keeps showing as many as it can.
    l.topRow = int16_t(std::clamp<int32_t>(l.topRow, 0, std::max(0, rows - FullRows(l))));
    l.leftCol = int16_t(std::clamp<int32_t>(l.leftCol, 0, std::max(0, cols - FullCols(l))));
    SyncScrollBars(l);
    if (CanDraw(l)) DrawAll(l);
    return true;
}

void SetSelected(ListRecord& l, Cell c, bool on)
{
    if (!l.Valid(c)) return;
    uint8_t& s = l.selected[l.Index(c)];
    if (bool(s) == on) return;
    s = on;
    if (CanDraw(l) && CellShown(l, c)) HiliteCell(l, c);
}

}  // namespace

bool IsLiveList(ListHandle list)
{
    return list && std::find(Lists().begin(), Lists().end(), list) != Lists().end();
}

void Flatten(ListRecord& l)
{
    if (!l.dirty) return;
    size_t total = 0;
    for (const std::string& s : l.cells) total += s.size();
    if (total > size_t(INT32_MAX)) return;
    SetHandleSize(l.data, Size(total));
    if (MemError() != noErr) return;
    try {
        l.offsets.assign(l.cells.size() + 1, 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    size_t at = 0;
    for (size_t i = 0; i < l.cells.size(); ++i) {
        l.offsets[i] = int32_t(at);
        if (!l.cells[i].empty()) std::memcpy(*l.data + at, l.cells[i].data(), l.cells[i].size());
        at += l.cells[i].size();
    }
    l.offsets[l.cells.size()] = int32_t(at);
    l.dirty = false;
}

OSErr RegisterListDefinition(int16_t listDefID, const ListDefSpec* defSpec)
{
    try {
        if (!defSpec || !defSpec->userProc) Registry().erase(listDefID);
        else if (defSpec->defType != kListDefUserProcType) return paramErr;
        else Registry()[listDefID] = defSpec->userProc;
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

void ResetListDefinitions() { Registry().clear(); }

ListHandle LNew(const Rect* rView, const ListBounds* dataBounds, Point cSize, int16_t theProc, WindowRef window,
                Boolean drawIt, Boolean hasGrow, Boolean scrollHoriz, Boolean scrollVert)
{
    if (!rView || !dataBounds || !IsValidWindowPtr(window)) return nullptr;
    ListDefUPP def = FindDefinition(theProc);
    if (!def) return nullptr;
    const int16_t rows = int16_t(std::max(0, dataBounds->bottom - dataBounds->top));
    const int16_t cols = int16_t(std::max(0, dataBounds->right - dataBounds->left));
    ListRecord* l = nullptr;
    try {
        Lists().reserve(Lists().size() + 1);
        l = new ListRecord;
        l->cells.resize(size_t(rows) * size_t(cols));
        l->selected.assign(l->cells.size(), 0);
    } catch (const std::bad_alloc&) {
        delete l;
        return nullptr;
    }
    l->data = NewHandle(0);
    if (!l->data) {
        delete l;
        return nullptr;
    }
    l->view = *rView;
    l->rows = rows;
    l->cols = cols;
    l->window = window;
    l->def = def;
    l->drawIt = drawIt;
    l->hasGrow = hasGrow;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    if (cSize.v <= 0) {
        FontInfo info;
        GetFontInfo(&info);
        cSize.v = int16_t(info.ascent + info.descent + info.leading);
    }
    if (cSize.h <= 0) cSize.h = int16_t(cols > 0 ? (rView->right - rView->left) / cols : rView->right - rView->left);
    l->cellSize = cSize;
    const unsigned char empty[1] = {0};
    if (scrollVert)
        l->vScroll = NewControl(window, rView, empty, true, 0, 0, 0, scrollBarProc, reinterpret_cast<uintptr_t>(l));
    if (scrollHoriz)
        l->hScroll = NewControl(window, rView, empty, true, 0, 0, 0, scrollBarProc, reinterpret_cast<uintptr_t>(l));
    SetPort(saved);
    if ((scrollVert && !l->vScroll) || (scrollHoriz && !l->hScroll)) {
        DisposeControl(l->vScroll);
        DisposeControl(l->hScroll);
        DisposeHandle(l->data);
        delete l;
        return nullptr;
    }
    Lists().push_back(l);
    AddWindowDisposeHook(ForgetWindow);
    PlaceScrollBars(*l);
    Call(*l, lInitMsg);
    if (CanDraw(*l)) DrawAll(*l);
    return l;
}

void LDispose(ListHandle list)
{
    if (!IsLiveList(list)) return;
    Call(*list, lCloseMsg);
    Lists().erase(std::remove(Lists().begin(), Lists().end(), list), Lists().end());
    if (IsValidWindowPtr(list->window)) {
        DisposeControl(list->vScroll);
        DisposeControl(list->hScroll);
    }
    DisposeHandle(list->data);
    delete list;
}

int16_t LAddRow(int16_t count, int16_t rowNum, ListHandle list)
{
    if (!IsLiveList(list) || count <= 0) return 0;
    ListRecord& l = *list;
    const int16_t at = int16_t(std::clamp<int32_t>(rowNum, 0, l.rows));
    const int16_t rows = int16_t(std::min<int32_t>(int32_t(l.rows) + count, INT16_MAX));
    if (rows == l.rows) return at;
    const int16_t added = int16_t(rows - l.rows);
    Reshape(l, rows, l.cols, [&](int16_t r, int16_t c, Cell* to) {
        *to = Cell{int16_t(r < at ? r : r + added), c};
        return true;
    });
    return at;
}

void LDelRow(int16_t count, int16_t rowNum, ListHandle list)
{
    if (!IsLiveList(list)) return;
    ListRecord& l = *list;
    if (count <= 0) {
        Reshape(l, 0, l.cols, [](int16_t, int16_t, Cell*) { return false; });
        return;
    }
    if (rowNum < 0 || rowNum >= l.rows) return;
    const int16_t gone = int16_t(std::min<int32_t>(count, l.rows - rowNum));
    Reshape(l, int16_t(l.rows - gone), l.cols, [&](int16_t r, int16_t c, Cell* to) {
        if (r >= rowNum && r < rowNum + gone) return false;
        *to = Cell{int16_t(r < rowNum ? r : r - gone), c};
        return true;
    });
}

int16_t LAddColumn(int16_t count, int16_t colNum, ListHandle list)
{
    if (!IsLiveList(list) || count <= 0) return 0;
    ListRecord& l = *list;
    const int16_t at = int16_t(std::clamp<int32_t>(colNum, 0, l.cols));
    const int16_t cols = int16_t(std::min<int32_t>(int32_t(l.cols) + count, INT16_MAX));
    if (cols == l.cols) return at;
    const int16_t added = int16_t(cols - l.cols);
    Reshape(l, l.rows, cols, [&](int16_t r, int16_t c, Cell* to) {
        *to = Cell{r, int16_t(c < at ? c : c + added)};
        return true;
    });
    return at;
}

void LDelColumn(int16_t count, int16_t colNum, ListHandle list)
{
    if (!IsLiveList(list)) return;
    ListRecord& l = *list;
    if (count <= 0) {
        Reshape(l, l.rows, 0, [](int16_t, int16_t, Cell*) { return false; });
        return;
    }
    if (colNum < 0 || colNum >= l.cols) return;
    const int16_t gone = int16_t(std::min<int32_t>(count, l.cols - colNum));
    Reshape(l, l.rows, int16_t(l.cols - gone), [&](int16_t r, int16_t c, Cell* to) {
        if (c >= colNum && c < colNum + gone) return false;
        *to = Cell{r, int16_t(c < colNum ? c : c - gone)};
        return true;
    });
}

void LSetCell(const void* data, int16_t dataLen, Cell cell, ListHandle list)
{
    if (!IsLiveList(list) || !list->Valid(cell)) return;
    try {
        std::string& s = list->cells[list->Index(cell)];
        if (dataLen > 0 && data) s.assign(static_cast<const char*>(data), size_t(dataLen));
        else s.clear();
    } catch (const std::bad_alloc&) {
        return;
    }
    list->dirty = true;
    if (CanDraw(*list) && CellShown(*list, cell)) DrawCell(*list, cell);
}

void LAddToCell(const void* data, int16_t dataLen, Cell cell, ListHandle list)
{
    if (!IsLiveList(list) || !list->Valid(cell) || !data || dataLen <= 0) return;
    try {
        list->cells[list->Index(cell)].append(static_cast<const char*>(data), size_t(dataLen));
    } catch (const std::bad_alloc&) {
        return;
    }
    list->dirty = true;
    if (CanDraw(*list) && CellShown(*list, cell)) DrawCell(*list, cell);
}

void LClrCell(Cell cell, ListHandle list) { LSetCell(nullptr, 0, cell, list); }

void LGetCell(void* data, int16_t* dataLen, Cell cell, ListHandle list)
{
    if (!dataLen) return;
    if (!IsLiveList(list) || !list->Valid(cell) || !data) {
        *dataLen = 0;
        return;
    }
    const std::string& s = list->cells[list->Index(cell)];
    const int16_t n = int16_t(std::min<size_t>(s.size(), size_t(std::max<int16_t>(*dataLen, 0))));
    if (n > 0) std::memcpy(data, s.data(), size_t(n));
    *dataLen = n;
}

bool GetCellDataLocation32(int32_t* offset, int16_t* len, Cell cell, ListHandle list)
{
    int32_t o = -1;
    int16_t n = -1;
    bool ok = false;
    if (IsLiveList(list) && list->Valid(cell)) {
        Flatten(*list);
        if (!list->dirty) {
            const size_t i = list->Index(cell);
            o = list->offsets[i];
            n = int16_t(std::min<int32_t>(list->offsets[i + 1] - list->offsets[i], INT16_MAX));
            ok = true;
        }
    }
    if (offset) *offset = o;
    if (len) *len = n;
    return ok;
}

void LGetCellDataLocation(int16_t* offset, int16_t* len, Cell cell, ListHandle list)
{
    int32_t o = -1;
    int16_t n = -1;
    // An offset that does not fit would point at another cell's bytes.
    if (!GetCellDataLocation32(&o, &n, cell, list) || o > INT16_MAX) o = -1, n = -1;
    if (offset) *offset = int16_t(o);
    if (len) *len = n;
}

void LSetSelect(Boolean setIt, Cell cell, ListHandle list)
{
    if (!IsLiveList(list) || !list->Valid(cell)) return;
    if (setIt && (list->selFlags & lOnlyOne))
        for (int16_t r = 0; r < list->rows; ++r)
            for (int16_t c = 0; c < list->cols; ++c)
                if (r != cell.v || c != cell.h) SetSelected(*list, Cell{r, c}, false);
    SetSelected(*list, cell, setIt);
}

Boolean LGetSelect(Boolean next, Cell* cell, ListHandle list)
{
    if (!cell || !IsLiveList(list)) return false;
    const ListRecord& l = *list;
    if (!next) return l.Valid(*cell) && l.selected[l.Index(*cell)];
    if (cell->v < 0 || cell->h < 0) *cell = Cell{0, 0};
    for (int16_t r = cell->v; r < l.rows; ++r)
        for (int16_t c = r == cell->v ? cell->h : int16_t(0); c < l.cols; ++c)
            if (l.selected[l.Index(Cell{r, c})]) {
                *cell = Cell{r, c};
                return true;
            }
    return false;
}

void SetListSelectionFlags(ListHandle list, uint8_t flags)
{
    if (IsLiveList(list)) list->selFlags = flags;
}
uint8_t GetListSelectionFlags(ListHandle list) { return IsLiveList(list) ? list->selFlags : 0; }

void SetListClickLoop(ListHandle list, ListClickLoopUPP loop)
{
    if (IsLiveList(list)) list->clickLoop = loop;
}
Cell LLastClick(ListHandle list) { return IsLiveList(list) ? list->lastClick : Cell{-1, -1}; }

DataHandle GetListDataHandle(ListHandle list)
{
    if (!IsLiveList(list)) return nullptr;
    Flatten(*list);
    return list->data;
}

Rect* GetListViewBounds(ListHandle list, Rect* view)
{
    if (view) *view = IsLiveList(list) ? list->view : Rect{0, 0, 0, 0};
    return view;
}

ListBounds* GetListVisibleCells(ListHandle list, ListBounds* visible)
{
    if (!visible) return visible;
    if (!IsLiveList(list)) {
        *visible = Rect{0, 0, 0, 0};
        return visible;
    }
    const ListRecord& l = *list;
    visible->top = l.topRow;
    visible->left = l.leftCol;
    visible->bottom = int16_t(std::min<int32_t>(l.topRow + VisibleRows(l), l.rows));
    visible->right = int16_t(std::min<int32_t>(l.leftCol + VisibleCols(l), l.cols));
    return visible;
}

ListBounds* GetListDataBounds(ListHandle list, ListBounds* bounds)
{
    if (bounds) *bounds = IsLiveList(list) ? Rect{0, 0, list->rows, list->cols} : Rect{0, 0, 0, 0};
    return bounds;
}

uintptr_t GetListRefCon(ListHandle list) { return IsLiveList(list) ? list->refCon : 0; }
void SetListRefCon(ListHandle list, uintptr_t refCon)
{
    if (IsLiveList(list)) list->refCon = refCon;
}
ControlRef GetListVerticalScrollBar(ListHandle list) { return IsLiveList(list) ? list->vScroll : nullptr; }
ControlRef GetListHorizontalScrollBar(ListHandle list) { return IsLiveList(list) ? list->hScroll : nullptr; }

}  // namespace platform
