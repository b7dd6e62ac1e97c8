// The scrolled view that shows a cell view's cells inside one pane: the
// pane's cell area, or one of the header and footer strips along its
// edges (top: column headers, left: row headers, bottom: column footers),
// which it tells from its pane. It paints only the cells meeting the area
// to repaint, scrolls by moving the pixels already on screen and painting
// the uncovered strip, repaints chosen ranges of cells at once and turns
// clicks, drags and cursor questions into the cell view's per-cell hooks.
#pragma once

#include <cstdint>

#include "toolbox/views/VCellRange.h"
#include "toolbox/views/VScrolledView.h"

class VCellView;
class VRegion;

class VCellScrolledView : public VScrolledView {
public:
    enum class Role { Cell, ColHeader, RowHeader, ColFooter, None };

    VCellScrolledView(VViewScroller* parent, VCellView* cellView);
    ~VCellScrolledView() override;

    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    void DoPaint(VPainter* painter) override;
    void DoMouseWheel(VClic& clic) override;
    uint32_t FindCursor(const VPoint& p) const override;
    bool CanDrag() override { return true; }
    void DoDrag(VClic& clic) override;
    bool DoMouseChildren(VClic& clic) override;
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    void RemoveChild(VFrame* frame) override;
    int32_t GetScrollHeight(bool backward) override;
    int32_t GetScrollWidth(bool backward) override;
    int32_t AdjustVAmount(int32_t amount) override;
    int32_t AdjustHAmount(int32_t amount) override;
    void DoFastScroll(VPainter* painter, int32_t dx, int32_t dy) override;
    void UpdateHScrollParms(int32_t* pos, int32_t* max, int32_t* page) override;
    void UpdateVScrollParms(int32_t* pos, int32_t* max, int32_t* page) override;

    // Repaints the cells of the ranges at once; the painter stands at the
    // view's top left and region (virtual coordinates) may narrow it.
    void DoPaintRanges(VPainter* painter, const VCellRangeSet& ranges, const VRegion* region);

    VCellView* GetCellView() const { return fCellView; }
    Role GetRole() const;
    int32_t GetFirstScrolledCol() const { return fFirstScrolledCol; }
    void SetFirstScrolledCol(int32_t column) { fFirstScrolledCol = column < 1 ? 1 : column; }
    uint32_t GetUpdateStamp() const { return fUpdateStamp; }
    static uint32_t GetNextAvailableUpdateStamp();
    // Puts the stamp counter back at its start, for tests.
    static void ResetUpdateStamps();

private:
    // Paints the cells meeting region (view coordinates), or the
    // painter's clip without one; the painter stands at the view.
    void _FastPaint(VPainter* painter, const VRegion* region);
    // The passes over the cells of columns c1..c2 and rows r1..r2.
    void PaintCells(VPainter* painter, const VRegion* region, Role role, int32_t c1, int32_t c2, int32_t r1,
                    int32_t r2);
    bool CellMeets(VPainter* painter, const VRegion* region, int32_t x, int32_t y, int32_t w, int32_t h) const;

    VCellView* fCellView;
    int32_t fFirstScrolledCol = 1;
    uint32_t fUpdateStamp;
};
