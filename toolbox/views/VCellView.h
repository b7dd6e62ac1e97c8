// A grid of cells shown in the panes of a pane splitter: columns and rows
// of scalable sizes (stored unscaled, drawn times the zoom, truncated),
// optional column headers ("A", "B", ... "AA"), row headers and column
// footers, a selection kept as a set of cell ranges and a current cell.
// Each cell may carry a frame per pane, placed at the cell's rectangle.
// Column, row and cell data exist only while they differ from the
// defaults, so a grid of many rows needs no object per row: sizes and
// lookups walk the stored entries and count runs of default ones.
//
// The view draws plain cells and headers and handles no clicks or keys on
// cells itself: it finds the cell under the mouse and calls the hooks
// below, which derived views (the form list boxes) fill in.
#pragma once

#include <cstdint>
#include <functional>

#include "toolbox/views/VCell.h"
#include "toolbox/views/VCellRange.h"
#include "toolbox/views/VPaneSplitter.h"

class VCellScrolledView;
class VIndexedList;
class VPainter;
class VRegion;
class VRect;

// 0 replaces the selection by the range, 1 adds it, 2 removes it.
using CellSelectionAction = int16_t;
// 0 paints row by row, any other value column by column.
using PaintOrder = int16_t;
// Kept for subclasses (a list box keeps 3 and saves it); the view itself
// selects the same way in every mode.
using CellSelectionMode = int16_t;
// Panes a range repaint reaches: 0 every pane, 1 the active pane only,
// 2 every pane but the active one.
using ESplittedPaneDrawMode = int16_t;

class VCellView : public VPaneSplitter {
public:
    VCellView(VView* parent, bool vScrollBar, bool hScrollBar, bool vSplitter, bool hSplitter, int32_t columns,
              int32_t rows, bool colHeaders, bool rowHeaders, bool colFooters);
    ~VCellView() override;

    // Whole columns and rows for wheel and arrow scrolling.
    virtual int32_t AdjustVScrollAmount(VCellScrolledView* view, int32_t amount);
    virtual int32_t AdjustHScrollAmount(VCellScrolledView* view, int32_t amount);
    virtual int32_t GetColMinWidth(int32_t, int32_t, int32_t) { return fColDefaultWidth; }
    virtual void InsertCols(int32_t at, int32_t count, bool shiftSelection);
    virtual void DelCols(int32_t first, int32_t count, bool disposeFrames, bool shiftSelection);
    virtual void DoColsWidthChanged(RedrawMode mode);
    virtual int32_t GetRowMinHeight(int32_t, int32_t, int32_t) { return fRowDefaultHeight; }
    virtual void InsertRows(int32_t at, int32_t count, bool shiftSelection);
    virtual void DelRows(int32_t first, int32_t count, bool disposeFrames, bool shiftSelection);
    virtual void DoRowsHeightChanged(RedrawMode mode);
    virtual VCell* DoCreateVCell() { return new VCell; }
    virtual VCell* DoCreateColHeaderVCell() { return new VCell; }
    virtual VCell* DoCreateColFooterVCell() { return new VCell; }
    virtual VCell* DoCreateRowHeaderVCell() { return new VCell; }
    virtual void SelectCellRange(const VCellRange& range, CellSelectionAction action, int32_t column, int32_t row,
                                 bool redraw);
    virtual void SelectCellRanges(const VCellRangeSet& ranges, CellSelectionAction action, int32_t column,
                                  int32_t row, bool redraw);
    virtual void DoChangeCurrentCell(int32_t column, int32_t row);

    // Painting hooks, called by the cell scrolled views with the painter,
    // the region being painted (null: the painter's clip) and the view.
    virtual void DoPaintCellPrepare(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t x,
                                    int32_t y, int32_t w, int32_t h, int16_t pass);
    virtual void DoPaintCellRestore(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t x,
                                    int32_t y, int32_t w, int32_t h, int16_t pass);
    virtual void DoPaintCell(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t column,
                             int32_t row, int32_t left, int32_t top, int32_t width, int32_t height);
    virtual void DoPaintColHeaderPrepare(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintColHeaderRestore(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintColHeader(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t column,
                                  int32_t row, int32_t left, int32_t top, int32_t width, int32_t height);
    virtual void DoPaintColFooterPrepare(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintColFooterRestore(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintColFooter(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t column,
                                  int32_t row, int32_t left, int32_t top, int32_t width, int32_t height);
    virtual void DoPaintRowHeaderPrepare(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintRowHeaderRestore(VPainter*, const VRegion*, VCellScrolledView*) {}
    virtual void DoPaintRowHeader(VPainter* painter, const VRegion* region, VCellScrolledView* view, int32_t column,
                                  int32_t row, int32_t left, int32_t top, int32_t width, int32_t height);
    virtual bool NeedsColHeaderFrames() { return false; }
    virtual bool NeedsRowHeaderFrames() { return false; }
    virtual bool NeedsColFooterFrames() { return false; }
    virtual void DoCreateColHeaderFrames(VView*) {}
    virtual void DoCreateRowHeaderFrames(VView*) {}
    virtual void DoCreateColFooterFrames(VView*) {}
    // Clicks, drags and cursors per role of the cell scrolled view; the
    // Catch hooks may take a click before the cell is looked up.
    virtual bool CatchClicInCell(VCellScrolledView*, VClic&) { return false; }
    virtual bool CatchClicInColHeader(VCellScrolledView*, VClic&) { return false; }
    virtual bool CatchClicInRowHeader(VCellScrolledView*, VClic&) { return false; }
    virtual bool CatchClicInColFooter(VCellScrolledView*, VClic&) { return false; }
    virtual void DoClicInCell(VCellScrolledView*, int32_t, int32_t, VClic&) {}
    virtual void DoClicInColHeader(VCellScrolledView*, int32_t, int32_t, VClic&) {}
    virtual void DoClicInRowHeader(VCellScrolledView*, int32_t, int32_t, VClic&) {}
    virtual void DoClicInColFooter(VCellScrolledView*, int32_t, int32_t, VClic&) {}
    virtual void DoDragInCell(VCellScrolledView*, VClic&) {}
    virtual void DoDragInColHeader(VCellScrolledView*, VClic&) {}
    virtual void DoDragInRowHeader(VCellScrolledView*, VClic&) {}
    virtual void DoDragInColFooter(VCellScrolledView*, VClic&) {}
    virtual uint32_t DoFindCursorInCell(VCellScrolledView*, const VPoint&) { return 0; }
    // The resize cursors over column and row borders.
    virtual uint32_t DoFindCursorInColHeader(VCellScrolledView* view, const VPoint& p);
    virtual uint32_t DoFindCursorInRowHeader(VCellScrolledView* view, const VPoint& p);
    virtual uint32_t DoFindCursorInColFooter(VCellScrolledView*, const VPoint&) { return 0; }
    virtual void DoHiliteSelection(VCellScrolledView* view, const VCellRangeSet& ranges, VPainter* painter,
                                   const VRegion& region);
    virtual void DoHiliteCurrentCell(VPainter* painter, int32_t column, int32_t row, const VRect& rect);

    void GetSplitLimits(int16_t column, int16_t row, int32_t& minLeft, int32_t& minTop, int32_t& minRight,
                        int32_t& minBottom) override;
    void DoDispose() override;
    bool DoMouseChildren(VClic& clic) override;

    // Counts.
    int32_t GetCellColCount() const { return fColCount; }
    int32_t GetCellRowCount() const { return fRowCount; }
    void AddCols(int32_t count, bool shiftSelection) { InsertCols(fColCount + 1, count, shiftSelection); }
    void AddRows(int32_t count, bool shiftSelection) { InsertRows(fRowCount + 1, count, shiftSelection); }
    void SetCellColCount(int32_t count, bool disposeFrames);
    void SetCellRowCount(int32_t count, bool disposeFrames);
    int32_t GetLayoutColCount() const { return fLayoutCols; }
    int32_t GetLayoutRowCount() const { return fLayoutRows; }
    // While frozen the layout counts stay where they are.
    void SetLayoutFrozen(bool on) { fLayoutFrozen = on; }

    // Sizes; scaled sizes are the stored ones times the zoom, truncated.
    int32_t GetColWidth(int32_t column, bool scaled) const;
    int32_t GetRowHeight(int32_t row, bool scaled) const;
    int32_t GetColLeft(int32_t column, bool scaled) const;
    int32_t GetColRight(int32_t column, bool scaled) const { return GetColLeft(column, scaled) + GetColWidth(column, scaled); }
    int32_t GetRowTop(int32_t row, bool scaled) const;
    int32_t GetRowBottom(int32_t row, bool scaled) const { return GetRowTop(row, scaled) + GetRowHeight(row, scaled); }
    int32_t FindCol(int32_t x, bool scaled) const;
    int32_t FindRow(int32_t y, bool scaled) const;
    void GetColSizeLimits(int32_t& min, int32_t& max, int32_t column, bool scaled) const;
    void GetRowSizeLimits(int32_t& min, int32_t& max, int32_t row, bool scaled) const;
    // Column 0 sets the default width; rows alike.
    void SetColWidth(int32_t width, int32_t column, RedrawMode mode);
    void SetRowHeight(int32_t height, int32_t row, RedrawMode mode);
    // A column's (row's) own limits; -1 for none.
    void SetColSizeLimits(int32_t min, int32_t max, int32_t column);
    void SetRowSizeLimits(int32_t min, int32_t max, int32_t row);
    void SetColVisible(int32_t column, bool visible, RedrawMode mode);
    void SetRowVisible(int32_t row, bool visible, RedrawMode mode);
    double GetZoom() const { return fZoom; }
    void SetZoom(double zoom, RedrawMode mode);
    int32_t Scale(int32_t size) const { return int32_t(size * fZoom); }

    // Headers and footers.
    void ShowColHeaders(bool show, bool force);
    void ShowRowHeaders(bool show, bool force);
    void ShowColFooters(bool show);
    bool IsColHeadersVisible() const;
    bool IsRowHeadersVisible() const;
    bool AreColFootersShown() const { return fColFooters; }
    void SetColHeaderHeight(int32_t height);
    int32_t GetColHeaderHeight(bool scaled) const { return scaled ? Scale(fColHeaderHeight) : fColHeaderHeight; }
    int32_t GetColFooterHeight(bool scaled) const { return scaled ? Scale(fColFooterHeight) : fColFooterHeight; }
    int32_t GetRowHeaderWidth(bool scaled) const { return scaled ? Scale(fRowHeaderWidth) : fRowHeaderWidth; }
    static void ColumnNumberToString(VString& text, int32_t n);

    // Cell frames.
    void SetCellFrame(int32_t column, int32_t row, VFrame* frame, bool activePaneOnly, bool deleteOld);
    void SetPaneCellFrame(VCellScrolledView* view, int32_t column, int32_t row, VFrame* frame, bool deleteOld);
    void ForgetCellFrame(const VFrame* frame);
    void CheckDeleteVCell(int32_t column, int32_t row);
    VCellColumn* FindVCol(int32_t column) const;
    VCellRow* FindVRow(int32_t row) const;
    VCell* GetVCell(int32_t column, int32_t row) const;

    // Selection and current cell.
    bool IsCellSelected(int32_t column, int32_t row) const;
    bool IsColSelected(int32_t column) const;
    bool IsRowSelected(int32_t row) const;
    bool IsRangeSelected(const VCellRange& range) const;
    const VCellRangeSet& GetSelection() const { return fSelection; }
    void GetVisibleRange(VCellScrolledView* view, VCellRange& range) const;
    bool IsCurrentCell(int32_t column, int32_t row) const { return column == fCurCol && row == fCurRow; }
    void GetCurrentCell(int32_t& column, int32_t& row) const
    {
        column = fCurCol;
        row = fCurRow;
    }
    void SetCurrentCell(int32_t column, int32_t row, bool show, RedrawMode mode);
    void ShowCurrentCell(int16_t kind, bool force, RedrawMode mode);
    void GetCellVisibleRect(VCellScrolledView* view, int32_t column, int32_t row, VRect& rect, bool scaled) const;
    void GetCellRangesVisibleRegion(VCellScrolledView* view, const VCellRangeSet& ranges, VRegion& region) const;

    // Repaints the ranges in the panes chosen by mode, in their cell
    // areas and the header and footer strips the flags name.
    void DoPaintRanges(const VCellRangeSet& ranges, bool cells, bool colHeaders, bool rowHeaders, bool colFooters,
                       ESplittedPaneDrawMode mode);

    // Settings.
    void SkipReset() { ++fSkipReset; }
    void StopToSkipReset()
    {
        if (fSkipReset > 0) --fSkipReset;
    }
    bool IsResetSkipped() const { return fSkipReset != 0; }
    void SetPaintOrder(PaintOrder order) { fPaintOrder = order; }
    PaintOrder GetPaintOrder() const { return fPaintOrder; }
    void SetPaintPasses(int16_t count, int16_t firstCellPass, int16_t lastCellPass);
    int16_t GetPaintPassCount() const { return fPaintPasses; }
    bool IsCellPass(int16_t pass) const { return pass >= fFirstCellPass && pass <= fLastCellPass; }
    void SetCellSelectionMode(CellSelectionMode mode) { fCellSelectionMode = mode; }
    CellSelectionMode GetCellSelectionMode() const { return fCellSelectionMode; }
    void SetRepaintChangedCellsOnly(bool on) { fRepaintChangedOnly = on; }
    void SetHiliteCurrentCell(bool on) { fHiliteCurrentCell = on; }
    void SetHiliteKind(int16_t kind) { fHiliteKind = kind; }
    int16_t GetHiliteKind() const { return fHiliteKind; }
    void SetHiliteSelectedHeaders(bool on) { fHiliteHeaders = on; }
    void SetFillWithEmptyRows(bool on) { fFillWithEmptyRows = on; }
    bool FillsWithEmptyRows() const { return fFillWithEmptyRows; }
    void SetLastColumnFills(bool on) { fLastColFills = on; }
    bool LastColumnFills() const { return fLastColFills; }
    void SetColBindingLevel(int16_t level) { fColBinding = level; }
    void SetRowBindingLevel(int16_t level) { fRowBinding = level; }
    int16_t GetColBindingLevel() const { return fColBinding; }
    int16_t GetRowBindingLevel() const { return fRowBinding; }
    void SetScrollWholeCols(bool on) { fScrollWholeCols = on; }
    void SetScrollWholeRows(bool on) { fScrollWholeRows = on; }
    bool ScrollsWholeCols() const { return fScrollWholeCols; }
    bool ScrollsWholeRows() const { return fScrollWholeRows; }
    void SetColsResizable(bool on) { fColsResizable = on; }
    void SetRowsResizable(bool on) { fRowsResizable = on; }
    int32_t GetDefaultColWidth() const { return fColDefaultWidth; }
    int32_t GetDefaultRowHeight() const { return fRowDefaultHeight; }

    // Changed-cell repaint: the ranges whose state changed and the old and
    // new current cells.
    void _HiliteCellRanges(const VCellRangeSet& ranges, int32_t oldColumn, int32_t oldRow, int32_t newColumn,
                           int32_t newRow);
    // Spreads the change d of a cell area's size over all columns (rows)
    // as binding does, the layout held meanwhile.
    void SpreadColsWidth(int32_t d);
    void SpreadRowsHeight(int32_t d);

private:
    void _MakeCurrentCell(int32_t column, int32_t row);
    void _SetCurrentCell(int32_t column, int32_t row, RedrawMode mode);
    void HiliteChanges(const VCellRangeSet& changed, int32_t oldColumn, int32_t oldRow);
    void BindSizes(bool columns, int32_t index, int32_t oldSize, int32_t newSize);
    void SetStoredSize(bool columns, int32_t index, int32_t size);
    void ClipSelectionToGrid();
    void ShiftSelectionForInsert(bool columns, int32_t at, int32_t count);
    void ReaddSelection(bool columns, int32_t first, int32_t count);
    void _GetHeaderDirtyRanges(const VCellRange& range, CellSelectionAction action, VCellRangeSet& colHeaders,
                               VCellRangeSet& rowHeaders) const;
    void MovePaneFrames(bool columns);
    void ForEachCellView(const std::function<void(VCellScrolledView*)>& f) const;

    double fZoom = 1.0;
    int32_t fColCount = 0;
    int32_t fRowCount = 0;
    int32_t fCurCol = 0;
    int32_t fCurRow = 0;
    VIndexedList* fColumns = nullptr;
    VIndexedList* fRows = nullptr;
    VCellRangeSet fSelection;
    PaintOrder fPaintOrder = 0;
    int16_t fPaintPasses = 1;
    int16_t fFirstCellPass = 1;
    int16_t fLastCellPass = 1;
    int16_t fColMinWidth = 0;
    int16_t fColMaxWidth = 32000;
    int16_t fColDefaultWidth = 80;
    bool fColsResizable = true;
    bool fScrollWholeCols = false;
    bool fColHeaders = false;
    bool fColFooters = false;
    int16_t fColBinding = 0;
    int16_t fColHeaderHeight = 20;
    int16_t fColFooterHeight = 20;
    int16_t fRowMinHeight = 0;
    int16_t fRowMaxHeight = 32000;
    int16_t fRowDefaultHeight = 20;
    bool fRowsResizable = true;
    bool fScrollWholeRows = false;
    bool fRowHeaders = false;
    int16_t fRowBinding = 0;
    int16_t fRowHeaderWidth = 50;
    CellSelectionMode fCellSelectionMode = 0;
    bool fRepaintChangedOnly = false;
    bool fHiliteCurrentCell = false;
    int16_t fSkipReset = 0;
    bool fFillWithEmptyRows = false;
    bool fLastColFills = false;
    int32_t fLayoutCols = 0;
    int32_t fLayoutRows = 0;
    bool fLayoutFrozen = false;
    int16_t fHiliteKind = 1;
    bool fHiliteHeaders = false;
};
