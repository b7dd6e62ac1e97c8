#include "toolbox/views/VSplitDragger.h"

#include <algorithm>

#include "toolbox/drawing/VPainter.h"

VSplitDragger::VSplitDragger(VFrame* source, const VClic& click, bool horizontal, int32_t start, int32_t minimum,
                             int32_t maximum, const VRect& bar)
    : VDragger(source, click),
      fHorizontal(horizontal),
      fStart(start),
      fMinimum(minimum),
      fMaximum(std::max(minimum, maximum)),
      fBar(bar),
      fPosition(start),
      fRaw(start)
{
    SetDragWorld(1);
}

void VSplitDragger::DoMove(VFrame*, VFrame*, int32_t dx, int32_t dy, DragDropInfo&)
{
    fRaw += fHorizontal ? dy : dx;
    const int32_t position = std::clamp(fRaw, fMinimum, fMaximum);
    if (position == fPosition) return;
    DoPaint(true);
    const int32_t shift = position - fPosition;
    fPosition = position;
    if (fHorizontal)
        fBar.SetPos(fBar.GetLeft(), fBar.GetTop() + shift);
    else
        fBar.SetPos(fBar.GetLeft() + shift, fBar.GetTop());
    DoPaint(false);
}

void VSplitDragger::DoPaint(bool erase)
{
    // Xor: the second drawing takes the first away, so draw only to change
    // what is shown.
    if (erase != fShown || !fFeedbackPainter) return;
    fShown = !erase;
    int32_t x = 0, y = 0;
    if (fSource) fSource->GetPosInDesktop(x, y);
    fFeedbackPainter->SetFillStdColor(10);
    fFeedbackPainter->SetFillStdPattern(kPatternGrey);
    const TransferMode mode = fFeedbackPainter->SetDrawingTransferMode(kTransferXor);
    fFeedbackPainter->FillVRect(fBar.GetLeft() + x, fBar.GetTop() + y, fBar.GetWidth(), fBar.GetHeight());
    fFeedbackPainter->SetDrawingTransferMode(mode == kTransferXor ? TransferMode(kTransferCopy) : mode);
    fFeedbackPainter->SetFillStdPattern(kPatternBlack);
}
