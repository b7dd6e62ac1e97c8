// Long lists: creation, rows, searching, selection and the scaled scroll
// values.
#include <algorithm>
#include <cstring>
#include <new>

#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "app/longlist/LongListRowIndex.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Regions.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;

namespace {

constexpr int32_t kMaxRows = 0x7FFFFFF0;

int32_t VisibleRows(const LongListRec* l)
{
    return l->cellSize.v > 0 ? (l->rView.bottom - l->rView.top) / l->cellSize.v : 0;
}

void RecomputeLast(LongListRec* l) { l->lastVisible = l->firstVisible + VisibleRows(l); }

bool DrawingOn(const LongListRec* l) { return (l->drawFlags & kLongLDrawOn) != 0; }

uint8_t* Bits(Handle h) { return reinterpret_cast<uint8_t*>(*h); }

// Bytes of a bit array of `words` 32-bit words for `rows` rows.
Size BitBytes(int32_t rows, int32_t extraWords) { return Size((rows / 32 + extraWords) * 4); }

// Resizes both arrays; on failure both keep their old size.
bool ResizeBits(LongListRec* l, Size bytes)
{
    const Size oldSel = GetHandleSize(l->selBits), oldOpen = GetHandleSize(l->openBits);
    SetHandleSize(l->selBits, bytes);
    if (MemError() != noErr) return false;
    SetHandleSize(l->openBits, bytes);
    if (MemError() != noErr) {
        SetHandleSize(l->selBits, oldSel);
        return false;
    }
    // Grown bytes start clear.
    if (bytes > oldSel) std::memset(Bits(l->selBits) + oldSel, 0, size_t(bytes - oldSel));
    if (bytes > oldOpen) std::memset(Bits(l->openBits) + oldOpen, 0, size_t(bytes - oldOpen));
    return true;
}

// Sets the row data's size to `bytes`, growing its room by half again
// when it must move. False, with the data as it was, when memory runs out.
bool GrowRows(LongListRec* l, int64_t bytes)
{
    if (bytes > l->rowCapacity) {
        const int64_t room = std::min<int64_t>(0x7FFFFFFF, std::max(bytes, l->rowCapacity + l->rowCapacity / 2 + 64));
        SetHandleSize(l->rows, Size(room));
        if (MemError() != noErr) {
            SetHandleSize(l->rows, Size(bytes));
            if (MemError() != noErr) return false;
            l->rowCapacity = bytes;
            return true;
        }
        l->rowCapacity = room;
    }
    SetHandleSize(l->rows, Size(bytes));  // within the room: in place
    return MemError() == noErr;
}

bool Visible(const LongListRec* l, int32_t row) { return row >= l->firstVisible && row <= l->lastVisible; }

// A (up to 56-bit) field of a bit array, most significant bit first.
uint64_t LoadBits(const uint8_t* a, int64_t bit, int width)
{
    const int64_t byte = bit >> 3;
    const int shift = int(bit & 7);
    const int n = (shift + width + 7) / 8;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | a[byte + i];
    v >>= (n * 8 - shift - width);
    return v & ((uint64_t(1) << width) - 1);
}

void StoreBits(uint8_t* a, int64_t bit, int width, uint64_t value)
{
    const int64_t byte = bit >> 3;
    const int shift = int(bit & 7);
    const int n = (shift + width + 7) / 8;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | a[byte + i];
    const int low = n * 8 - shift - width;
    const uint64_t mask = ((uint64_t(1) << width) - 1) << low;
    v = (v & ~mask) | ((value << low) & mask);
    for (int i = n - 1; i >= 0; --i) {
        a[byte + i] = uint8_t(v);
        v >>= 8;
    }
}

// Moves `count` bits from `from` to `to`; the ranges may overlap.
void MoveBits(uint8_t* a, int64_t from, int64_t to, int64_t count)
{
    constexpr int kChunk = 56;
    if (count <= 0 || from == to) return;
    if (to > from) {
        for (int64_t end = count; end > 0;) {
            const int w = int(std::min<int64_t>(kChunk, end));
            end -= w;
            StoreBits(a, to + end, w, LoadBits(a, from + end, w));
        }
    } else {
        for (int64_t start = 0; start < count;) {
            const int w = int(std::min<int64_t>(kChunk, count - start));
            StoreBits(a, to + start, w, LoadBits(a, from + start, w));
            start += w;
        }
    }
}

void ClearBits(uint8_t* a, int64_t from, int64_t count)
{
    while (count > 0) {
        const int w = int(std::min<int64_t>(56, count));
        StoreBits(a, from, w, 0);
        from += w;
        count -= w;
    }
}

// The first set bit at or after `row` below `limit`; -1 when none.
int32_t NextSetBit(const uint8_t* a, int32_t row, int32_t limit)
{
    while (row < limit) {
        if ((row & 7) == 0) {
            // Clear stretches go by eight bytes at a time, then by bytes.
            uint64_t word = 0;
            while (row + 64 <= limit && (std::memcpy(&word, a + (row >> 3), 8), word == 0)) row += 64;
            if (row >= limit) break;
            if (a[row >> 3] == 0) {
                row += 8;
                continue;
            }
        }
        if (BitArrayTest(a, row)) return row;
        ++row;
    }
    return -1;
}

// The row data changed: what was worked out from it is stale.
void RowsChanged(LongListRec* l) { ++l->rowVersion; }

LongListRec* ListOf(ControlRef control)
{
    return control ? reinterpret_cast<LongListRec*>(GetControlReference(control)) : nullptr;
}

// Halves `maximum` (and `value`) until the maximum fits the control.
int32_t Halvings(int32_t maximum)
{
    int32_t n = 0;
    while ((maximum >> n) > 32767) ++n;
    return n;
}

}  // namespace

bool BitArrayTest(const uint8_t* array, int64_t bit) { return (array[bit >> 3] >> (7 - (bit & 7))) & 1; }

void BitArraySet(uint8_t* array, int64_t bit, bool on)
{
    const uint8_t mask = uint8_t(0x80 >> (bit & 7));
    if (on) array[bit >> 3] |= mask;
    else array[bit >> 3] &= uint8_t(~mask);
}

void BITARRAYSHIFTRIGHT(uint8_t* array, int32_t count, int32_t position, int32_t bits)
{
    if (count <= 0 || position < 0 || position > bits) return;
    MoveBits(array, position, int64_t(position) + count, bits - position);
    ClearBits(array, position, count);
}

void BITARRAYSHIFTLEFT(uint8_t* array, int32_t count, int32_t position, int32_t bits)
{
    if (count <= 0 || position < 0 || position >= bits) return;
    count = std::min(count, bits - position);
    MoveBits(array, int64_t(position) + count, position, bits - position - count);
    // The bits past the new end are no row's any more.
    ClearBits(array, bits - count, count);
}

LongListHandle LongLNew(const Rect* view, int32_t rows, int16_t rowLength, Point cellSize, int16_t, WindowRef window,
                        bool, LongLDrawProc drawProc)
{
    if (!view || rows < 0 || rowLength < 0) return nullptr;
    auto* l = new (std::nothrow) LongListRec;
    if (!l) return nullptr;
    l->rView = *view;
    l->port = window ? GetWindowPort(window) : nullptr;
    l->cellSize = cellSize;
    l->rowLength = int16_t((rowLength + 1) & ~1);
    l->drawProc = drawProc;
    l->rows = NewHandle(0);
    l->clipSave = NewRgn();
    l->selBits = NewHandleClear(2);
    l->openBits = NewHandleClear(2);
    if (l->rows && l->clipSave && l->selBits && l->openBits && window) {
        const Rect bar{int16_t(view->top - 1), view->right, int16_t(view->bottom + 1), int16_t(view->right + 16)};
        const unsigned char none[1] = {0};
        l->vScroll = NewControl(window, &bar, none, true, 0, 0, 0, scrollBarProc, reinterpret_cast<uintptr_t>(l));
    }
    if (!l->rows || !l->clipSave || !l->selBits || !l->openBits || (window && !l->vScroll)) {
        LongLDispose(l);
        return nullptr;
    }
    RecomputeLast(l);
    // The rows asked for get data and bits of their own (zero, clear), so
    // the count never names rows the data lacks.
    if (rows > 0 && LongLAddRow(rows, 0, l) != 0) {
        LongLDispose(l);
        return nullptr;
    }
    return l;
}

void LongLDispose(LongListHandle list)
{
    if (!list) return;
    if (list->clipSave) DisposeRgn(list->clipSave);
    if (list->vScroll) DisposeControl(list->vScroll);
    if (list->rows) DisposeHandle(list->rows);
    if (list->selBits) DisposeHandle(list->selBits);
    if (list->openBits) DisposeHandle(list->openBits);
    RowIndexDrop(list);
    if (list->companion && list->disposeCompanion) list->disposeCompanion(list->companion);
    delete list;  // the user data handle is its owner's
}

int32_t MaxCtlValue(LongListHandle list) { return std::max(0, list->rowCount - VisibleRows(list)); }

int32_t LongLAddRow(int32_t count, int32_t position, LongListHandle list)
{
    if (!list || count < 0 || position < 0) return -1;
    position = std::min(position, list->rowCount);
    if (count == 0) return position;
    if (count > kMaxRows - list->rowCount) return -1;
    const int32_t total = list->rowCount + count;
    const Size oldBits = GetHandleSize(list->selBits);
    // The arrays keep a word to spare: most additions fit as they are.
    if (BitBytes(total, 2) > oldBits && !ResizeBits(list, BitBytes(total, 2))) return -1;
    const int64_t oldBytes = int64_t(list->rowCount) * list->rowLength;
    const int64_t newBytes = int64_t(total) * list->rowLength;
    if (newBytes > 0x7FFFFFFF) {
        ResizeBits(list, oldBits);
        return -1;
    }
    if (!GrowRows(list, newBytes)) {
        ResizeBits(list, oldBits);  // shrinking back cannot fail
        return -1;
    }
    if (list->rowLength > 0) {
        char* base = *list->rows;
        const int64_t at = int64_t(position) * list->rowLength;
        const int64_t grow = int64_t(count) * list->rowLength;
        std::memmove(base + at + grow, base + at, size_t(oldBytes - at));
        std::memset(base + at, 0, size_t(grow));
    }
    const int32_t oldCount = list->rowCount;
    list->rowCount = total;
    RowsChanged(list);
    RowIndexRowsAdded(list, position, count);
    if (DrawingOn(list)) {
        if (list->vScroll) SetLongCtlMax(list->vScroll, MaxCtlValue(list));
        list->firstVisible = list->longValue;
    }
    RecomputeLast(list);
    BITARRAYSHIFTRIGHT(Bits(list->selBits), count, position, oldCount);
    BITARRAYSHIFTRIGHT(Bits(list->openBits), count, position, oldCount);
    return position;
}

void LongLDelRow(int32_t count, int32_t position, LongListHandle list)
{
    if (!list || count <= 0 || position < 0 || position >= list->rowCount) return;
    const int32_t oldCount = list->rowCount;
    count = std::min(count, oldCount - position);
    if (list->rowLength > 0) {
        char* base = *list->rows;
        const int64_t at = int64_t(position) * list->rowLength;
        const int64_t gone = int64_t(count) * list->rowLength;
        std::memmove(base + at, base + at + gone, size_t(int64_t(oldCount) * list->rowLength - at - gone));
    }
    SetHandleSize(list->rows, Size(int64_t(oldCount - count) * list->rowLength));  // shrinking cannot fail
    list->rowCount = oldCount - count;
    RowsChanged(list);
    RowIndexRowsRemoved(list, position, count);
    BITARRAYSHIFTLEFT(Bits(list->selBits), count, position, oldCount);
    BITARRAYSHIFTLEFT(Bits(list->openBits), count, position, oldCount);
    ResizeBits(list, BitBytes(list->rowCount, 1));
    if (DrawingOn(list)) {
        if (list->vScroll) SetLongCtlMax(list->vScroll, MaxCtlValue(list));
        list->firstVisible = list->longValue;
        RecomputeLast(list);
        if (position <= list->lastVisible) {
            for (int32_t r = std::max(list->firstVisible, position); r <= list->lastVisible; ++r) LongLDraw(r, list);
        }
    } else {
        RecomputeLast(list);
    }
}

void LongLGetCell(void* buffer, int16_t* length, int32_t row, LongListHandle list)
{
    if (!list || !length) return;
    if (row < 0 || row >= list->rowCount || *length < 0) {
        *length = 0;
        return;
    }
    const int16_t n = std::min(*length, list->rowLength);
    std::memcpy(buffer, *list->rows + int64_t(row) * list->rowLength, size_t(n));
    *length = n;
}

void LongLSetCell(const void* buffer, int16_t length, int32_t row, LongListHandle list)
{
    if (!list || row < 0 || row >= list->rowCount || length < 0) return;
    const int16_t n = std::min(length, list->rowLength);
    const void* before = LongLRowObject(row, list);
    std::memcpy(*list->rows + int64_t(row) * list->rowLength, buffer, size_t(n));
    RowsChanged(list);
    RowIndexCellSet(list, row, before, LongLRowObject(row, list));
    if (DrawingOn(list)) LongLDraw(row, list);
}

void* LongLRowObject(int32_t row, LongListHandle list)
{
    if (!list || row < 0 || row >= list->rowCount || list->rowLength < kObjectRowLength) return nullptr;
    void* object = nullptr;
    std::memcpy(&object, *list->rows + int64_t(row) * list->rowLength, sizeof object);
    return object;
}

bool LongLSearch(const void* key, int16_t keyLength, LongLMatchProc match, int32_t* row, LongListHandle list)
{
    if (!list || !row || *row < 0 || *row >= list->rowCount) return false;
    for (int32_t r = *row; r < list->rowCount; ++r) {
        const char* data = *list->rows + int64_t(r) * list->rowLength;
        const int16_t result = match ? match(data, key, list->rowLength, keyLength)
                                     : myMagIDString(data, key, list->rowLength, keyLength);
        if (result == 0) {
            *row = r;
            return true;
        }
    }
    return false;
}

int16_t LongLCopyList(LongListHandle source, LongListHandle destination)
{
    if (!source || !destination || source == destination) return paramErr;
    Handle rows = source->rows, sel = source->selBits, open = source->openBits, user = source->userHandle;
    if (HandToHand(&rows) != noErr) return memFullErr;
    if (HandToHand(&sel) != noErr) {
        DisposeHandle(rows);
        return memFullErr;
    }
    if (HandToHand(&open) != noErr) {
        DisposeHandle(rows);
        DisposeHandle(sel);
        return memFullErr;
    }
    if (user && HandToHand(&user) != noErr) {
        DisposeHandle(rows);
        DisposeHandle(sel);
        DisposeHandle(open);
        return memFullErr;
    }
    DisposeHandle(destination->rows);
    DisposeHandle(destination->selBits);
    DisposeHandle(destination->openBits);
    destination->rows = rows;
    destination->rowCapacity = GetHandleSize(rows);
    destination->selBits = sel;
    destination->openBits = open;
    destination->userHandle = user;
    destination->longMax = source->longMax;
    destination->longValue = source->longValue;
    destination->firstVisible = source->firstVisible;
    destination->lastVisible = source->lastVisible;
    destination->rowLength = source->rowLength;
    destination->rowCount = source->rowCount;
    RowsChanged(destination);
    RowIndexDrop(destination);
    destination->lastClick = -1;
    if (destination->vScroll) {
        SetLongCtlMax(destination->vScroll, source->longMax);
        SetLongCtlValue(destination->vScroll, source->longValue);
    }
    LongLUpdate(nullptr, destination);
    return noErr;
}

int32_t LongLLastClick(LongListHandle list) { return list ? list->lastClick : -1; }

// Selection.

namespace {

bool GetBit(Handle bits, bool next, int32_t* row, LongListHandle list)
{
    if (!list || !row || *row < 0 || *row >= list->rowCount) return false;
    const uint8_t* a = Bits(bits);
    if (!next) return BitArrayTest(a, *row);
    const int32_t found = NextSetBit(a, *row, list->rowCount);
    if (found < 0) return false;
    *row = found;
    return true;
}

void SetBitsRange(uint8_t* a, int32_t low, int32_t high)
{
    for (int32_t r = low; r <= high;) {
        if ((r & 7) == 0 && r + 7 <= high) {
            a[r >> 3] = 0xFF;
            r += 8;
        } else {
            BitArraySet(a, r, true);
            ++r;
        }
    }
}

// Sets the bit of a visible row and sends its hilite.
void SetVisible(LongListHandle list, int32_t row, bool on)
{
    LongLSetSelect(on, row, list);
}

}  // namespace

bool LongLGetSelect(bool next, int32_t* row, LongListHandle list)
{
    return list && GetBit(list->selBits, next, row, list);
}

bool LongLGetOpen(bool next, int32_t* row, LongListHandle list)
{
    return list && GetBit(list->openBits, next, row, list);
}

void LongLSetSelect(bool select, int32_t row, LongListHandle list)
{
    if (!list || row < 0 || row >= list->rowCount) return;
    uint8_t* a = Bits(list->selBits);
    if (BitArrayTest(a, row) == select) return;
    BitArraySet(a, row, select);
    if (DrawingOn(list) && Visible(list, row)) LongLMessages(kLongLHiliteMsg, row, list);
    if (select && list->lastClick == -1) list->lastClick = row;
}

void RazSelect(LongListHandle list)
{
    if (list) std::memset(*list->selBits, 0, size_t(GetHandleSize(list->selBits)));
}

bool LongLSel(LongListHandle list)
{
    int32_t row = 0;
    return LongLGetSelect(true, &row, list);
}

bool LongLMultSel(LongListHandle list)
{
    int32_t row = 0;
    if (!LongLGetSelect(true, &row, list)) return false;
    ++row;
    return LongLGetSelect(true, &row, list);
}

int16_t LongLSeltoList(LongListHandle list)
{
    if (!list) return paramErr;
    const uint8_t* a = Bits(list->selBits);
    int32_t k = 0;
    for (int32_t r = NextSetBit(a, 0, list->rowCount); r >= 0; r = NextSetBit(a, r + 1, list->rowCount)) ++k;
    Handle kept = NewHandle(Size(int64_t(k) * list->rowLength));
    if (!kept) return memFullErr;
    char* to = *kept;
    for (int32_t r = NextSetBit(a, 0, list->rowCount); r >= 0; r = NextSetBit(a, r + 1, list->rowCount)) {
        std::memcpy(to, *list->rows + int64_t(r) * list->rowLength, size_t(list->rowLength));
        to += list->rowLength;
    }
    list->rowCount = k;
    RowsChanged(list);
    RowIndexDrop(list);
    list->firstVisible = 0;
    if (list->vScroll) {
        SetLongCtlValue(list->vScroll, 0);
        SetLongCtlMax(list->vScroll, MaxCtlValue(list));
    } else {
        list->longValue = 0;
        list->longMax = MaxCtlValue(list);
    }
    list->firstVisible = list->longValue;
    RecomputeLast(list);
    // Shrinking cannot fail; the open bits of the kept rows are not kept.
    ResizeBits(list, BitBytes(k, 1));
    std::memset(*list->openBits, 0, size_t(GetHandleSize(list->openBits)));
    RazSelect(list);
    DisposeHandle(list->rows);
    list->rows = kept;
    list->rowCapacity = GetHandleSize(kept);
    for (int32_t r = 0; r < k; ++r) LongLSetSelect(true, r, list);
    LongLUpdate(nullptr, list);
    return noErr;
}

void DoSelect(int32_t row, uint16_t modifiers, LongListHandle list, bool toggle, int32_t anchor)
{
    if (!list) return;
    const uint8_t* a = Bits(list->selBits);
    const int32_t lastShown = std::min(list->lastVisible, list->rowCount - 1);
    if (row == -1) {
        for (int32_t r = std::max(0, list->firstVisible); r <= lastShown; ++r)
            if (BitArrayTest(a, r)) SetVisible(list, r, false);
        RazSelect(list);
        return;
    }
    if (row < 0 || row >= list->rowCount) return;
    const bool several = (list->selFlags & kLongLSingleSelection) == 0;
    if (several && (modifiers & kLongLCmdKey)) {
        LongLSetSelect(toggle, row, list);
        return;
    }
    if (several && (modifiers & kLongLShiftKey)) {
        anchor = std::clamp(anchor, 0, list->rowCount - 1);
        const int32_t low = std::min(anchor, row), high = std::max(anchor, row);
        for (int32_t r = std::max(0, list->firstVisible); r <= lastShown; ++r) {
            const bool inside = r >= low && r <= high;
            if (BitArrayTest(a, r) != inside) SetVisible(list, r, inside);
        }
        RazSelect(list);
        SetBitsRange(Bits(list->selBits), low, high);
        return;
    }
    for (int32_t r = std::max(0, list->firstVisible); r <= lastShown; ++r)
        if (r != row && BitArrayTest(a, r)) SetVisible(list, r, false);
    const bool was = BitArrayTest(a, row);
    RazSelect(list);
    if (!was) {
        LongLSetSelect(true, row, list);
    } else {
        BitArraySet(Bits(list->selBits), row, true);
    }
}

int32_t LongLAnchor(int32_t row, LongListHandle list)
{
    int32_t first = 0;
    if (!LongLGetSelect(true, &first, list)) return row;
    if (row > first) return first;
    int32_t last = first;
    for (int32_t r = first + 1; LongLGetSelect(true, &r, list); ++r) last = r;
    return last;
}

bool IsOpenCell(int32_t row, LongListHandle list)
{
    return list && row >= 0 && row < list->rowCount && BitArrayTest(Bits(list->openBits), row);
}

void SetOpenCell(int32_t row, LongListHandle list, bool open)
{
    if (list && row >= 0 && row < list->rowCount) BitArraySet(Bits(list->openBits), row, open);
}

// Scroll values.

int32_t GetLongCtlValue(ControlRef control)
{
    const LongListRec* l = ListOf(control);
    return l ? l->longValue : 0;
}

int32_t GetLongCtlMax(ControlRef control)
{
    const LongListRec* l = ListOf(control);
    return l ? l->longMax : 0;
}

void SetLongCtlValue(ControlRef control, int32_t value)
{
    LongListRec* l = ListOf(control);
    if (!l) return;
    value = std::max<int32_t>(value, GetControlMinimum(control));
    value = std::min(value, l->longMax);
    l->longValue = value;
    SetControlValue(control, int16_t(value >> Halvings(l->longMax)));
}

void SetLongCtlMax(ControlRef control, int32_t maximum)
{
    LongListRec* l = ListOf(control);
    if (!l) return;
    l->longMax = maximum;
    if (l->longValue > maximum) SetLongCtlValue(control, maximum);
    SetControlMaximum(control, int16_t(std::max(0, maximum) >> Halvings(maximum)));
    SetControlValue(control, int16_t(l->longValue >> Halvings(maximum)));
}

void UpdateLongCtlValue(ControlRef control)
{
    LongListRec* l = ListOf(control);
    if (!l) return;
    const int32_t max = GetControlMaximum(control);
    if (max < 1) {
        SetLongCtlValue(control, 0);
        return;
    }
    // Multiply first: dividing first leaves the last rows out of the thumb's reach.
    SetLongCtlValue(control, int32_t(int64_t(GetControlValue(control)) * l->longMax / max));
}

ListHandle MyLNew(const Rect* view, const ListBounds* bounds, Point cellSize, int16_t definitionId, WindowRef window,
                  bool draw, bool hasGrow, bool scrollHoriz, bool scrollVert)
{
    // The list definitions 1003 to 1005 are registered with the platform at start-up.
    return LNew(view, bounds, cellSize, definitionId, window, draw, hasGrow, scrollHoriz, scrollVert);
}
