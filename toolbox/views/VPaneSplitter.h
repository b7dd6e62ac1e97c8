// A view showing one user view in a grid of panes, columns by rows, with
// movable bars between them, keeping the panes' scroll positions in step:
// the panes of a column share their horizontal position, those of a row
// their vertical position. Each pane (`VSplittedPane`) is a view splitter
// scrolling its own copy of the user view; one `VMultiSplitBar` over the
// whole splitter draws and drags the bars. Columns and rows are 1-based.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "toolbox/views/VViewSplitter.h"

class VMultiSplitBar;
class VPaneSplitter;

class VSplittedPane : public VViewSplitter {
public:
    VSplittedPane(VPaneSplitter* parent, bool vScrollBar, bool hScrollBar, bool vSplitArea, bool hSplitArea);

    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    void ShowHScrollBar(bool show, bool relayout) override;
    void ShowVScrollBar(bool show, bool relayout) override;

    VPaneSplitter* GetSplitter() const;
    bool IsActivePane() const;
    int16_t GetColumn() const { return fColumn; }
    int16_t GetRow() const { return fRow; }
    void SetColumn(int16_t column) { fColumn = column; }
    void SetRow(int16_t row) { fRow = row; }
    // Applied to the pane's scroll bars whenever they are shown.
    void SetHScrollBarLocked(bool on);
    void SetVScrollBarLocked(bool on);
    bool IsHScrollBarLocked() const { return fHLocked; }
    bool IsVScrollBarLocked() const { return fVLocked; }

private:
    // The splitter hands edge frames and gadgets between a pane and its
    // clone when it splits or joins rows and columns.
    friend class VPaneSplitter;

    int16_t fColumn = 1;
    int16_t fRow = 1;
    bool fHLocked = false;
    bool fVLocked = false;
};

class VPaneSplitter : public VView {
public:
    explicit VPaneSplitter(VView* parent, const VRect* rect = nullptr);
    ~VPaneSplitter() override;

    // Scrolls the panes of column (by h) and of row (by v) together.
    virtual void Scroll(int32_t h, int32_t v, int16_t column, int16_t row, RedrawMode mode, bool adjustVertical);
    // horizontal: a horizontal bar (a new row); position: from the top
    // (left) edge of row (column) index. False when refused.
    virtual bool DoSplit(bool horizontal, int16_t index, int32_t position, bool adjust, bool locked);
    virtual int32_t DoAdjustSplit(bool, int16_t, int32_t position) { return position; }
    virtual void MoreAdjustSplit() {}
    // Removes bar index and the row (column) after it; false when refused.
    virtual bool DoUnSplit(bool horizontal, int16_t index);
    virtual void GetSplitLimits(int16_t column, int16_t row, int32_t& minLeft, int32_t& minTop, int32_t& minRight,
                                int32_t& minBottom);
    virtual void SetActivePane(const VSplittedPane* pane);

    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;
    void DoDispose() override;
    void RemoveChild(VFrame* frame) override;

    // The first pane, at column 1, row 1; resize: lay the panes out.
    void SetUserFrame(VSplittedPane* pane, bool resize);
    VSplittedPane* FindPane(int16_t column, int16_t row) const;
    VSplittedPane* GetActivePane() const { return FindPane(fActiveColumn, fActiveRow); }
    bool IsActivePane(const VSplittedPane* pane) const;
    // 0 when there is no such pane.
    int32_t GetPaneColWidth(int16_t column) const;
    int32_t GetPaneRowHeight(int16_t row) const;
    void ShowHScrollBars(bool show, bool redraw);
    void ShowVScrollBars(bool show, bool redraw);
    bool IsHScrollBarsVisible() const;
    bool IsVScrollBarsVisible() const;
    bool IsHBarLocked(int16_t index) const;
    bool IsVBarLocked(int16_t index) const;
    // Lays the panes out again after a size change from (oldWidth,
    // oldHeight); (0, 0) takes the old size from the panes.
    void ResetSize(int32_t oldWidth, int32_t oldHeight);

    VMultiSplitBar* GetBars() const { return fBars; }
    const std::vector<VSplittedPane*>& GetPanes() const { return fPanes; }
    int16_t GetColumnCount() const { return fColumns; }
    int16_t GetRowCount() const { return fRows; }
    int16_t GetActiveColumn() const { return fActiveColumn; }
    int16_t GetActiveRow() const { return fActiveRow; }
    int16_t GetBarThickness() const { return fThickness; }
    int16_t GetMinPaneSize() const { return fMinPane; }
    void SetMinPaneSize(int16_t size) { fMinPane = size; }
    bool IsFastScrolling() const { return fFastScrolling; }
    void SetFastScrolling(bool on) { fFastScrolling = on; }
    // The look's scroll bar width.
    int32_t ScrollBarWidth() const;

protected:
    // Places every pane from the bars.
    void _ResetPanes();
    void _MoveSplit(bool horizontal, int32_t position, int32_t distance);
    // Moves the bars of rows (horizontal) or columns for a new length of
    // the splitter, unlocked tracks scaling.
    void RescaleBars(bool horizontal, int32_t oldLength, int32_t newLength);
    bool TryNewSplit(VSplittedPane* pane, VFrame* area, VClic& clic);
    void SplitRows(int16_t index, int32_t position);
    void SplitColumns(int16_t index, int32_t position);
    void UnSplitRow(int16_t index);
    void UnSplitColumn(int16_t index);
    // A pane's edge frames and gadgets, four at a time, as rows and columns
    // split: taken out of the pane in order, and given to a pane in order.
    using PaneParts = VSplittedPane::Part[4];
    using PartFrames = std::array<VFrame*, 4>;
    static PartFrames TakeParts(VSplittedPane* pane, const PaneParts& parts);
    static void GiveParts(VSplittedPane* pane, const PaneParts& parts, const PartFrames& frames);
    // As rows and columns join: each part of the pane that goes moves to
    // the one that stays where that one has none of its own.
    static void HandOverParts(VSplittedPane* going, VSplittedPane* survivor, const PaneParts& parts);
    void BeginScroll();
    void EndScroll();

    VMultiSplitBar* fBars = nullptr;
    std::vector<VSplittedPane*> fPanes;
    int16_t fColumns = 0;
    int16_t fRows = 0;
    int16_t fActiveColumn = 0;
    int16_t fActiveRow = 0;
    int16_t fThickness = 5;
    int16_t fMinPane = 0;
    VPainter* fScrollPainter = nullptr;
    bool fFastScrolling = false;
};
