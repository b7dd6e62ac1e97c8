// Pane splitter: adding and removing rows and columns of panes.
#include <algorithm>

#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/views/VMultiSplitBar.h"
#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"

bool VPaneSplitter::DoSplit(bool horizontal, int16_t index, int32_t position, bool adjust, bool locked)
{
    if (!fBars) return false;
    if (adjust) position = DoAdjustSplit(horizontal, index, position);
    if (position <= 0) return false;
    VSplittedPane* pane = horizontal ? FindPane(1, index) : FindPane(index, 1);
    if (!pane) return false;
    const int32_t length = horizontal ? pane->GetHeight() : pane->GetWidth();
    const int32_t minimum = horizontal ? pane->GetMinHeight() : pane->GetMinWidth();
    // The pane after the new bar must keep a size of 0 or more.
    if (position > length - fThickness) return false;
    if (minimum != -1 && (length - fThickness) / 2 < minimum) return false;
    if (horizontal)
        fBars->AddHBar(pane->GetY() + position, locked);
    else
        fBars->AddVBar(pane->GetX() + position, locked);

    VFrame* focus = GetFocusFrame();
    if (horizontal)
        SplitRows(index, position);
    else
        SplitColumns(index, position);
    _ResetPanes();
    if (focus && GetFocusFrame() != focus) focus->AskFocus();
    return true;
}

VPaneSplitter::PartFrames VPaneSplitter::TakeParts(VSplittedPane* pane, const PaneParts& parts)
{
    PartFrames frames{};
    for (size_t i = 0; i < frames.size(); ++i) frames[i] = pane->TakePart(parts[i]);
    return frames;
}

void VPaneSplitter::GiveParts(VSplittedPane* pane, const PaneParts& parts, const PartFrames& frames)
{
    for (size_t i = 0; i < frames.size(); ++i) pane->GivePart(parts[i], frames[i]);
}

void VPaneSplitter::HandOverParts(VSplittedPane* going, VSplittedPane* survivor, const PaneParts& parts)
{
    for (VSplittedPane::Part part : parts)
        if (VFrame* frame = going->TakePart(part)) {
            if (!survivor->PartSlot(part))
                survivor->GivePart(part, frame);
            else
                going->GivePart(part, frame);
        }
}

void VPaneSplitter::SplitRows(int16_t index, int32_t position)
{
    for (VSplittedPane* pane : fPanes)
        if (pane->GetRow() >= index) pane->SetRow(int16_t(pane->GetRow() + 1));
    ++fRows;
    if (fActiveRow >= index) ++fActiveRow;
    VComputingPainter painter;
    const bool active = LooksActive();
    for (int32_t c = 1; c <= fColumns; ++c) {
        VSplittedPane* former = FindPane(c, int16_t(index + 1));
        if (!former) continue;
        const bool hadTop = former->IsTopFrameVisible();
        const int32_t topHeight = hadTop ? former->GetTopFrame()->GetHeight() : 0;
        // The top parts go to the new pane above, the bottom parts stay.
        const PaneParts upperParts = {VSplittedPane::kPartTopLeft, VSplittedPane::kPartTop,
                                      VSplittedPane::kPartTopRight, VSplittedPane::kPartRightGadget};
        const PaneParts lowerParts = {VSplittedPane::kPartBottomLeft, VSplittedPane::kPartBottom,
                                      VSplittedPane::kPartBottomRight, VSplittedPane::kPartBottomGadget};
        const PartFrames upper = TakeParts(former, upperParts);
        const PartFrames lower = TakeParts(former, lowerParts);
        auto* clone = static_cast<VSplittedPane*>(former->Clone(this, &painter));
        clone->ShowVScrollBar(former->GetVScrollBar() != nullptr, false);
        clone->ShowHScrollBar(false, false);
        GiveParts(clone, upperParts, upper);
        clone->SetColumn(c);
        clone->SetRow(index);
        clone->SetPos(former->GetX(), former->GetY(), kRedrawNone);
        clone->SetSize(former->GetWidth(), position, kRedrawNone);
        clone->DoForeGroundChildren(active);
        if (std::find(fPanes.begin(), fPanes.end(), clone) == fPanes.end()) fPanes.push_back(clone);
        GiveParts(former, lowerParts, lower);
        const int32_t shift = position + fThickness;
        former->SetPos(former->GetX(), former->GetY() + shift, kRedrawNone);
        former->SetSize(former->GetWidth(), std::max(0, former->GetHeight() - shift), kRedrawNone);
        // Its content goes on below the new pane.
        former->Scroll(0, shift - (index == 1 ? topHeight : 0), kRedrawNone);
        clone->ResetSize(kRedrawNone);
        former->ResetSize(kRedrawNone);
    }
}

void VPaneSplitter::SplitColumns(int16_t index, int32_t position)
{
    for (VSplittedPane* pane : fPanes)
        if (pane->GetColumn() >= index) pane->SetColumn(int16_t(pane->GetColumn() + 1));
    ++fColumns;
    if (fActiveColumn >= index) ++fActiveColumn;
    VComputingPainter painter;
    const bool active = LooksActive();
    for (int32_t r = 1; r <= fRows; ++r) {
        VSplittedPane* former = FindPane(int16_t(index + 1), r);
        if (!former) continue;
        const bool hadLeft = former->IsLeftFrameVisible();
        const int32_t leftWidth = hadLeft ? former->GetLeftFrame()->GetWidth() : 0;
        // The left parts go to the new pane on the left, the right parts stay.
        const PaneParts leftParts = {VSplittedPane::kPartTopLeft, VSplittedPane::kPartLeft,
                                     VSplittedPane::kPartBottomLeft, VSplittedPane::kPartBottomGadget};
        const PaneParts rightParts = {VSplittedPane::kPartTopRight, VSplittedPane::kPartRight,
                                      VSplittedPane::kPartBottomRight, VSplittedPane::kPartRightGadget};
        const PartFrames left = TakeParts(former, leftParts);
        const PartFrames right = TakeParts(former, rightParts);
        auto* clone = static_cast<VSplittedPane*>(former->Clone(this, &painter));
        clone->ShowHScrollBar(former->GetHScrollBar() != nullptr, false);
        clone->ShowVScrollBar(false, false);
        GiveParts(clone, leftParts, left);
        clone->SetColumn(index);
        clone->SetRow(r);
        clone->SetPos(former->GetX(), former->GetY(), kRedrawNone);
        clone->SetSize(position, former->GetHeight(), kRedrawNone);
        clone->DoForeGroundChildren(active);
        if (std::find(fPanes.begin(), fPanes.end(), clone) == fPanes.end()) fPanes.push_back(clone);
        GiveParts(former, rightParts, right);
        const int32_t shift = position + fThickness;
        former->SetPos(former->GetX() + shift, former->GetY(), kRedrawNone);
        former->SetSize(std::max(0, former->GetWidth() - shift), former->GetHeight(), kRedrawNone);
        former->Scroll(shift - (index == 1 ? leftWidth : 0), 0, kRedrawNone);
        clone->ResetSize(kRedrawNone);
        former->ResetSize(kRedrawNone);
    }
}

bool VPaneSplitter::DoUnSplit(bool horizontal, int16_t index)
{
    // Only an existing row (column), and never the last one left.
    const int16_t count = horizontal ? fRows : fColumns;
    if (!fBars || count <= 1 || index < 1 || index > count) return false;
    if (horizontal)
        UnSplitRow(index);
    else
        UnSplitColumn(index);
    return true;
}

void VPaneSplitter::UnSplitRow(int16_t index)
{
    if (index == fRows) {
        const VSplittedPane* last = FindPane(1, index);
        const VSplittedPane* above = FindPane(1, int16_t(index - 1));
        const VScrolledView* lastView = last ? const_cast<VSplittedPane*>(last)->GetUserFrame(false) : nullptr;
        const VScrolledView* aboveView = above ? const_cast<VSplittedPane*>(above)->GetUserFrame(false) : nullptr;
        if (lastView && aboveView)
            Scroll(0, aboveView->GetVirtualY() - lastView->GetVirtualY(), 1, index, kRedrawNone, false);
        --index;
    }
    // Row index stays, row index + 1 goes.
    if (fActiveRow > index) --fActiveRow;
    fBars->KillHBar(index);
    for (int32_t c = 1; c <= fColumns; ++c) {
        VSplittedPane* going = FindPane(c, int16_t(index + 1));
        VSplittedPane* survivor = FindPane(c, index);
        if (!going) continue;
        if (survivor && index == 1) {
            const PaneParts parts = {VSplittedPane::kPartTopLeft, VSplittedPane::kPartTop,
                                     VSplittedPane::kPartTopRight, VSplittedPane::kPartRightGadget};
            HandOverParts(going, survivor, parts);
        }
        const bool hadHBar = going->GetHScrollBar() != nullptr;
        going->DoDispose();
        delete going;
        if (survivor && hadHBar) survivor->ShowHScrollBar(true, false);
    }
    for (VSplittedPane* pane : fPanes)
        if (pane->GetRow() > index + 1) pane->SetRow(int16_t(pane->GetRow() - 1));
    --fRows;
    _ResetPanes();
}

void VPaneSplitter::UnSplitColumn(int16_t index)
{
    if (index == fColumns) {
        VSplittedPane* last = FindPane(index, 1);
        VSplittedPane* before = FindPane(int16_t(index - 1), 1);
        const VScrolledView* lastView = last ? last->GetUserFrame(false) : nullptr;
        const VScrolledView* beforeView = before ? before->GetUserFrame(false) : nullptr;
        if (lastView && beforeView)
            Scroll(beforeView->GetVirtualX() - lastView->GetVirtualX(), 0, index, 1, kRedrawNone, false);
        --index;
    }
    if (fActiveColumn > index) --fActiveColumn;
    fBars->KillVBar(index);
    for (int32_t r = 1; r <= fRows; ++r) {
        VSplittedPane* going = FindPane(int16_t(index + 1), r);
        VSplittedPane* survivor = FindPane(index, r);
        if (!going) continue;
        if (survivor && index == 1) {
            const PaneParts parts = {VSplittedPane::kPartTopLeft, VSplittedPane::kPartLeft,
                                     VSplittedPane::kPartBottomLeft, VSplittedPane::kPartBottomGadget};
            HandOverParts(going, survivor, parts);
        }
        const bool hadVBar = going->GetVScrollBar() != nullptr;
        going->DoDispose();
        delete going;
        if (survivor && hadVBar) survivor->ShowVScrollBar(true, false);
    }
    for (VSplittedPane* pane : fPanes)
        if (pane->GetColumn() > index + 1) pane->SetColumn(int16_t(pane->GetColumn() - 1));
    --fColumns;
    _ResetPanes();
}
