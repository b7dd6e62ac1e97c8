// The application's own list manager: one column of fixed-height rows with
// 32-bit row numbers, far past what the platform list allows, a vertical
// scroll bar whose 16-bit value is scaled onto the 32-bit position, and a
// selection bit and an open (expanded) bit per row. Rows are drawn by the
// drawing procedure given at creation, one message per row.
//
// Bit arrays: bit n is bit 7 - (n mod 8) of byte n div 8 (most significant
// first). They hold at least row count div 32 + 1 32-bit words.
//
// Object lists keep one pointer per row (kObjectRowLength bytes); any even
// row length works. Out-of-range rows, negative counts and negative
// positions change nothing.
#pragma once

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/lists/Lists.h"
#include "platform/windows/Windows.h"

struct LongListRec;
using LongListHandle = LongListRec*;
struct LongListRowIndex;

// Messages to the drawing procedure.
enum : int16_t { kLongLDrawMsg = 1, kLongLHiliteMsg = 2 };

// (message, selected, cell rectangle, row, offset of the row's data in the
// row data, list). Selected is true only for a selected row of an active list.
using LongLDrawProc = void (*)(int16_t message, bool selected, const platform::Rect* cell, int32_t row,
                               int32_t dataOffset, LongListHandle list);
// Answers 0 for a match: (row data, key, row data length, key length).
using LongLMatchProc = int16_t (*)(const void* rowData, const void* key, int16_t rowLength, int16_t keyLength);

constexpr int16_t kObjectRowLength = int16_t(sizeof(void*));
constexpr uint8_t kLongLSingleSelection = 0x80;  // selection mode: one row at most
constexpr uint8_t kLongLDrawOn = 0x80;           // draw flags
constexpr uint16_t kLongLCmdKey = 0x100;
constexpr uint16_t kLongLShiftKey = 0x200;

struct LongListRec {
    platform::Rect rView{0, 0, 0, 0};
    platform::GrafPtr port = nullptr;
    platform::Point indent{0, 0};
    platform::Point cellSize{0, 0};  // v = height, h = width
    int16_t rowLength = 0;
    int32_t firstVisible = 0;
    int32_t lastVisible = 0;
    platform::ControlRef vScroll = nullptr;
    int32_t longValue = 0;
    int32_t longMax = 0;
    int32_t reserved1 = 0;
    uint8_t selFlags = 0;
    uint8_t active = 1;
    uint8_t drawFlags = kLongLDrawOn;
    uint8_t listFlags = 26;
    uint32_t clickTime = 0;
    platform::Point clikLoc{0, 0};
    platform::Point mouseLoc{0, 0};
    int32_t reserved2 = 0;
    int32_t lastClick = -1;
    int32_t reserved3 = 0;
    LongLDrawProc drawProc = nullptr;
    platform::Handle userHandle = nullptr;
    int32_t rowCount = 0;
    platform::Handle rows = nullptr;
    int16_t reserved4 = 0;
    platform::RgnHandle clipSave = nullptr;
    platform::Handle selBits = nullptr;
    platform::Handle openBits = nullptr;
    int16_t reserved5 = 0;
    // Bytes the row data can reach without moving: rows added one at a
    // time then cost no copy of the whole list each.
    int64_t rowCapacity = 0;
    // Moves on at every change of the row data (rows added, removed, set,
    // copied): what is worked out from the rows holds while it stays.
    uint32_t rowVersion = 0;
    // The first row of each object (LongLFindRow), made at the second
    // question about the same rows (one question is a walk) and kept up
    // to date with the rows until they change much.
    LongListRowIndex* rowIndex = nullptr;
    uint32_t walkedVersion = 0;
    bool walked = false;
    // What the list's user works out from the rows and keeps beside them;
    // disposed of with the list.
    void* companion = nullptr;
    void (*disposeCompanion)(void* companion) = nullptr;
};

// Creation and disposal. Null when memory runs out.
LongListHandle LongLNew(const platform::Rect* view, int32_t rows, int16_t rowLength, platform::Point cellSize,
                        int16_t kind, platform::WindowRef window, bool flag, LongLDrawProc drawProc);
void LongLDispose(LongListHandle list);

// Rows. LongLAddRow answers the position used, -1 when it cannot grow
// (nothing changed) or for a negative count or position.
int32_t LongLAddRow(int32_t count, int32_t position, LongListHandle list);
void LongLDelRow(int32_t count, int32_t position, LongListHandle list);
void LongLGetCell(void* buffer, int16_t* length, int32_t row, LongListHandle list);
void LongLSetCell(const void* buffer, int16_t length, int32_t row, LongListHandle list);
bool LongLSearch(const void* key, int16_t keyLength, LongLMatchProc match, int32_t* row, LongListHandle list);
// -108 when memory runs out (the destination is then unchanged).
int16_t LongLCopyList(LongListHandle source, LongListHandle destination);
int32_t LongLLastClick(LongListHandle list);
int32_t MaxCtlValue(LongListHandle list);
// The pointer a row of an object list holds; null out of range.
void* LongLRowObject(int32_t row, LongListHandle list);
// The first row of an object list holding `object`; -1 when none holds it
// (and for a null object).
int32_t LongLFindRow(const void* object, LongListHandle list);

// Selection.
bool LongLGetSelect(bool next, int32_t* row, LongListHandle list);
bool LongLGetOpen(bool next, int32_t* row, LongListHandle list);
void LongLSetSelect(bool select, int32_t row, LongListHandle list);
void RazSelect(LongListHandle list);
bool LongLSel(LongListHandle list);
bool LongLMultSel(LongListHandle list);
// -108 when memory runs out (nothing changed).
int16_t LongLSeltoList(LongListHandle list);
void DoSelect(int32_t row, uint16_t modifiers, LongListHandle list, bool toggle, int32_t anchor);
bool IsOpenCell(int32_t row, LongListHandle list);
void SetOpenCell(int32_t row, LongListHandle list, bool open);
// The anchor of a shift click on `row`.
int32_t LongLAnchor(int32_t row, LongListHandle list);

// The scroll bar's long values (its reference constant is the list).
int32_t GetLongCtlValue(platform::ControlRef control);
int32_t GetLongCtlMax(platform::ControlRef control);
void SetLongCtlValue(platform::ControlRef control, int32_t value);
void SetLongCtlMax(platform::ControlRef control, int32_t maximum);
void UpdateLongCtlValue(platform::ControlRef control);

// Bit arrays of `bytes` bytes: `bits` bits in use.
bool BitArrayTest(const uint8_t* array, int64_t bit);
void BitArraySet(uint8_t* array, int64_t bit, bool on);
void BITARRAYSHIFTRIGHT(uint8_t* array, int32_t count, int32_t position, int32_t bits);
void BITARRAYSHIFTLEFT(uint8_t* array, int32_t count, int32_t position, int32_t bits);

// Drawing: each message is drawn in the list's window, clipped to its view,
// whatever port is current.
void LongLMessages(int16_t message, int32_t row, LongListHandle list);
void LongLDraw(int32_t row, LongListHandle list);
void LongLDoDraw(bool on, LongListHandle list);
void LongLUpdate(platform::RgnHandle region, LongListHandle list);
void LongLActivate(bool active, LongListHandle list);
void LongLSize(int16_t width, int16_t height, LongListHandle list);
void LongLCellSize(platform::Point cellSize, LongListHandle list);
void LongLAutoScroll(LongListHandle list);
platform::Rect GetCellRect(int32_t row, LongListHandle list);
void GetMouseCell(platform::Point where, LongListHandle list, int32_t* row, void** object);
void CellState(platform::Point where, LongListHandle list, bool* drag, bool* open, bool* close);

// Mouse tracking: each answers true for a double click (a changed choice
// for the conflict list).
bool LongLClick(platform::Point where, uint16_t modifiers, LongListHandle list);
bool LongLClick_Drag(platform::Point where, uint16_t modifiers, LongListHandle list);
bool LongLC_Click(platform::Point where, uint16_t modifiers, LongListHandle list);
bool TrackSwitch(int32_t row, LongListHandle list, const platform::Rect* box, const platform::Rect* view);
void ListTrackCtrAction(platform::ControlRef control, platform::ControlPartCode part);
void DragCellAction();

// A platform list (not a long one).
platform::ListHandle MyLNew(const platform::Rect* view, const platform::ListBounds* bounds, platform::Point cellSize,
                            int16_t definitionId, platform::WindowRef window, bool draw, bool hasGrow,
                            bool scrollHoriz, bool scrollVert);
