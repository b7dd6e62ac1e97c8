// The split area and the split bar of a view splitter.
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/views/VViewSplitter.h"

VSplitArea::VSplitArea(VView* parent, bool vertical) : VFrame(parent, nullptr), fVertical(vertical)
{
    SetCursor(vertical ? kCursorHSplitBar : kCursorVSplitBar);
}

void VSplitArea::DoPaint(VPainter* painter)
{
    if (!painter) return;
    StandardPaint(painter, fVertical ? kPaintSplitBar : kPaintSplitBarOther, kStatusNormal, nullptr);
}

bool VSplitArea::DoLeftMouse(VClic& clic)
{
    if (fParent) fParent->DoCommand(this, vcmd::kSplitNew, reinterpret_cast<intptr_t>(&clic));
    return true;
}

VSplitBar::VSplitBar(VView* parent, bool stacked) : VFrame(parent, nullptr), fStacked(stacked)
{
    SetCursor(stacked ? kCursorHSplitBar : kCursorVSplitBar);
}

void VSplitBar::DoPaint(VPainter* painter)
{
    if (!painter) return;
    // The panel over all but the far edge, and a line along that edge so
    // that the bar stands apart from the pane after it.
    const VRect body = fStacked ? VRect(0, 0, fWidth, fHeight - 1) : VRect(0, 0, fWidth - 1, fHeight);
    StandardPaint(painter, kPaintPanel, kStatusNormal, &body);
    StandardPaint(painter, kPaintRaisedEdge, kStatusNormal, &body);
    painter->SetLineStdColor(10);
    if (fStacked)
        painter->DrawVLine(0, fHeight - 1, fWidth - 1, fHeight - 1);
    else
        painter->DrawVLine(fWidth - 1, 0, fWidth - 1, fHeight - 1);
}

bool VSplitBar::DoLeftMouse(VClic& clic)
{
    if (!fParent) return true;
    if (clic.IsADoubleClic())
        fParent->DoCommand(this, vcmd::kSplitRemove, 0);
    else
        fParent->DoCommand(this, vcmd::kSplitMove, reinterpret_cast<intptr_t>(&clic));
    return true;
}
