#include "toolbox/views/VViewSplitter.h"

#include <algorithm>

#include "toolbox/drawing/VComputingPainter.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VSplitDragger.h"

namespace {

void Dispose(VFrame* frame)
{
    if (!frame) return;
    frame->DoDispose();
    delete frame;
}

}  // namespace

VViewSplitter::VViewSplitter(VView* parent, bool vScrollBar, bool hScrollBar, bool vSplitArea, bool hSplitArea)
    : VViewScroller(parent, vScrollBar, hScrollBar, false)
{
    ShowVSplitter(vSplitArea, false);
    ShowHSplitter(hSplitArea, false);
}

VViewSplitter::~VViewSplitter() = default;

void VViewSplitter::RemoveChild(VFrame* frame)
{
    for (int16_t i = 0; i < kPartCount; ++i) {
        VFrame*& slot = PartSlot(Part(i));
        if (slot == frame) slot = nullptr;
    }
    if (frame == fHArea) fHArea = nullptr;
    if (frame == fVArea) fVArea = nullptr;
    if (frame == fBar) fBar = nullptr;
    if (frame == fFirst) fFirst = nullptr;
    if (frame == fSecond) fSecond = nullptr;
    VViewScroller::RemoveChild(frame);
}

VFrame*& VViewSplitter::PartSlot(Part part)
{
    switch (part) {
    case kPartTop: return fTop;
    case kPartLeft: return fLeft;
    case kPartTopLeft: return fTopLeft;
    case kPartBottom: return fBottom;
    case kPartRight: return fRight;
    case kPartBottomRight: return fBottomRight;
    case kPartTopRight: return fTopRight;
    case kPartBottomLeft: return fBottomLeft;
    case kPartBottomGadget: return fBottomGadget;
    case kPartRightGadget: return fRightGadget;
    default: return fBottomRightGadget;
    }
}

void VViewSplitter::SetPart(Part part, VFrame* frame, bool redraw)
{
    if (fBar) return;  // frames belong to the leaves
    VFrame*& slot = PartSlot(part);
    if (slot == frame) return;
    VFrame* old = slot;
    slot = nullptr;
    Dispose(old);
    if (frame) {
        if (frame->GetParent() != this) frame->SetParent(this);
        PartSlot(part) = frame;
    }
    if (redraw) ResetSize(kRedrawInval);
}

void VViewSplitter::ShowPart(Part part, bool show, bool redraw)
{
    VFrame* frame = PartSlot(part);
    if (!frame) return;
    frame->SetVisible(show);
    frame->SetVisibleToUser(show);
    if (redraw) ResetSize(kRedrawInval);
}

VFrame* VViewSplitter::TakePart(Part part)
{
    VFrame*& slot = PartSlot(part);
    VFrame* frame = slot;
    slot = nullptr;
    return frame;
}

void VViewSplitter::GivePart(Part part, VFrame* frame)
{
    if (!frame) return;
    if (frame->GetParent() != this) frame->SetParentDirect(this);
    PartSlot(part) = frame;
}

void VViewSplitter::SetTopFrame(VFrame* frame, bool redraw) { SetPart(kPartTop, frame, redraw); }
void VViewSplitter::SetLeftFrame(VFrame* frame, bool redraw) { SetPart(kPartLeft, frame, redraw); }
void VViewSplitter::SetBottomFrame(VFrame* frame, bool redraw) { SetPart(kPartBottom, frame, redraw); }
void VViewSplitter::SetTopLeftFrame(VFrame* frame, bool redraw) { SetPart(kPartTopLeft, frame, redraw); }
void VViewSplitter::SetRightFrame(VFrame* frame, bool redraw) { SetPart(kPartRight, frame, redraw); }
void VViewSplitter::SetBottomRightFrame(VFrame* frame, bool redraw) { SetPart(kPartBottomRight, frame, redraw); }
void VViewSplitter::SetTopRightFrame(VFrame* frame, bool redraw) { SetPart(kPartTopRight, frame, redraw); }
void VViewSplitter::SetBottomLeftFrame(VFrame* frame, bool redraw) { SetPart(kPartBottomLeft, frame, redraw); }
void VViewSplitter::SetBottomGadget(VFrame* frame, bool redraw) { SetPart(kPartBottomGadget, frame, redraw); }
void VViewSplitter::SetRightGadget(VFrame* frame, bool redraw) { SetPart(kPartRightGadget, frame, redraw); }
void VViewSplitter::SetBottomRightGadget(VFrame* frame, bool redraw)
{
    SetPart(kPartBottomRightGadget, frame, redraw);
}
void VViewSplitter::ShowTopFrame(bool show, bool redraw) { ShowPart(kPartTop, show, redraw); }
void VViewSplitter::ShowLeftFrame(bool show, bool redraw) { ShowPart(kPartLeft, show, redraw); }
void VViewSplitter::ShowTopLeftFrame(bool show, bool redraw) { ShowPart(kPartTopLeft, show, redraw); }
void VViewSplitter::ShowBottomFrame(bool show, bool redraw) { ShowPart(kPartBottom, show, redraw); }
void VViewSplitter::ShowRightFrame(bool show, bool redraw) { ShowPart(kPartRight, show, redraw); }
void VViewSplitter::ShowBottomRightFrame(bool show, bool redraw) { ShowPart(kPartBottomRight, show, redraw); }
void VViewSplitter::ShowTopRightFrame(bool show, bool redraw) { ShowPart(kPartTopRight, show, redraw); }
void VViewSplitter::ShowBottomLeftFrame(bool show, bool redraw) { ShowPart(kPartBottomLeft, show, redraw); }
void VViewSplitter::ShowBottomGadget(bool show, bool redraw) { ShowPart(kPartBottomGadget, show, redraw); }
void VViewSplitter::ShowRightGadget(bool show, bool redraw) { ShowPart(kPartRightGadget, show, redraw); }
void VViewSplitter::ShowBottomRightGadget(bool show, bool redraw) { ShowPart(kPartBottomRightGadget, show, redraw); }

void VViewSplitter::SetCornerMode(SplitterCorner corner, uint8_t mode)
{
    if (corner < kCornerTopLeft || corner > kCornerBottomRight) return;
    fCornerModes[corner] = mode;
}

void VViewSplitter::MakeSplitArea(bool vertical)
{
    VSplitArea*& area = vertical ? fVArea : fHArea;
    if (!area) area = new VSplitArea(this, vertical);
}

void VViewSplitter::DeleteSplitArea(bool vertical)
{
    VSplitArea* area = vertical ? fVArea : fHArea;
    (vertical ? fVArea : fHArea) = nullptr;
    Dispose(area);
}

void VViewSplitter::ShowHScrollBar(bool show, bool relayout)
{
    if (fBar) {
        if (fFirst) fFirst->ShowHScrollBar(show, relayout);
        if (fSecond) fSecond->ShowHScrollBar(show, relayout);
        return;
    }
    VViewScroller::ShowHScrollBar(show, false);
    if (show && fWantH)
        MakeSplitArea(false);
    else if (!show)
        DeleteSplitArea(false);
    if (relayout) ResetSize(kRedrawInval);
}

void VViewSplitter::ShowVScrollBar(bool show, bool relayout)
{
    if (fBar) {
        if (fFirst) fFirst->ShowVScrollBar(show, relayout);
        if (fSecond) fSecond->ShowVScrollBar(show, relayout);
        return;
    }
    VViewScroller::ShowVScrollBar(show, false);
    if (show && fWantV)
        MakeSplitArea(true);
    else if (!show)
        DeleteSplitArea(true);
    if (relayout) ResetSize(kRedrawInval);
}

void VViewSplitter::ShowHSplitter(bool show, bool redraw)
{
    if (show == fWantH) return;
    fWantH = show;
    if (show && fHBar)
        MakeSplitArea(false);
    else
        DeleteSplitArea(false);
    if (redraw) ResetSize(kRedrawInval);
}

void VViewSplitter::ShowVSplitter(bool show, bool redraw)
{
    if (show == fWantV) return;
    fWantV = show;
    if (show && fVBar)
        MakeSplitArea(true);
    else
        DeleteSplitArea(true);
    if (redraw) ResetSize(kRedrawInval);
}

void VViewSplitter::SetMinSize(int32_t width, int32_t height)
{
    fMinWidth = width;
    fMinHeight = height;
}

void VViewSplitter::UpdateCoords(bool parentScrolled)
{
    VView::UpdateCoords(parentScrolled);
    ResetSize(kRedrawNone);
}

VScrolledView* VViewSplitter::GetUserFrame(bool focused)
{
    if (focused) {
        VScrolledView* view = nullptr;
        return DoCommand(this, vcmd::kFindFocusedView, reinterpret_cast<intptr_t>(&view)) ? view : nullptr;
    }
    if (fBar && fFirst) return fFirst->GetUserFrame(false);
    return fUserFrame;
}

void VViewSplitter::GetSplitLimits(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom)
{
    // The far pane carries the scroll bars of a split node.
    const VViewSplitter* leaf = this;
    while (leaf->fBar && leaf->fSecond) leaf = leaf->fSecond;
    left = top = 16;
    right = 16 + (leaf->fVBar && leaf->fVBar->IsVisible() ? 16 : 0);
    bottom = 16 + (leaf->fHBar && leaf->fHBar->IsVisible() ? 16 : 0);
}

VFrame* VViewSplitter::Clone(VView* parent, VPainter* painter)
{
    auto* splitter = new VViewSplitter(parent, fVBar != nullptr, fHBar != nullptr, fWantV, fWantH);
    splitter->Copy(parent, this, painter);
    return splitter;
}

void VViewSplitter::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    VFrame::Copy(parent, source, painter);
    auto* from = dynamic_cast<VViewSplitter*>(source);
    if (!from) return;
    for (int16_t i = 0; i < kPartCount; ++i) {
        VFrame* part = from->PartSlot(Part(i));
        if (!part) continue;
        VFrame*& slot = PartSlot(Part(i));
        Dispose(slot);
        slot = nullptr;
        VFrame* copy = part->Clone(this, painter);
        if (copy && copy->GetParent() != this) copy->SetParentDirect(this);
        slot = copy;
    }
    if (from->fUserFrame) {
        VFrame* copy = from->fUserFrame->Clone(this, painter);
        if (copy && copy->IsAScrolledView()) {
            if (copy->GetParent() != this) copy->SetParentDirect(this);
            SetUserFrame(static_cast<VScrolledView*>(copy), false);
        } else {
            Dispose(copy);
        }
    }
    fAlternate = from->fAlternate;
    fMinWidth = from->fMinWidth;
    fMinHeight = from->fMinHeight;
    ShowHSplitter(from->fWantH, false);
    ShowVSplitter(from->fWantV, false);
    std::copy(std::begin(from->fCornerModes), std::end(from->fCornerModes), std::begin(fCornerModes));
}

void VViewSplitter::BuildSubViewSplitters(bool)
{
    auto* first = new VViewSplitter(this, false, false, false, false);
    // Every part changes hands in one go, so that no field of this one
    // still names a frame that now lives in the first pane.
    VFrame* parts[kPartCount];
    for (int16_t i = 0; i < kPartCount; ++i) parts[i] = TakePart(Part(i));
    VScrolledView* view = fUserFrame;
    VScrollBar* hBar = fHBar;
    VScrollBar* vBar = fVBar;
    VSplitArea* hArea = fHArea;
    VSplitArea* vArea = fVArea;
    fUserFrame = nullptr;
    fHBar = fVBar = nullptr;
    fHArea = fVArea = nullptr;
    const std::vector<VFrame*> children = fChildren;
    for (VFrame* child : children)
        if (child != first) child->SetParentDirect(first);
    first->fUserFrame = view;
    first->fHBar = hBar;
    first->fVBar = vBar;
    first->fShowH = fShowH;
    first->fShowV = fShowV;
    first->fHArea = hArea;
    first->fVArea = vArea;
    for (int16_t i = 0; i < kPartCount; ++i) first->PartSlot(Part(i)) = parts[i];
    first->fAlternate = fAlternate;
    first->fMinWidth = fMinWidth;
    first->fMinHeight = fMinHeight;
    first->fWantH = fWantH;
    first->fWantV = fWantV;
    std::copy(std::begin(fCornerModes), std::end(fCornerModes), std::begin(first->fCornerModes));
    fMinWidth = fMinHeight = -1;
    fWantH = fWantV = false;
    fShowH = fShowV = false;
    first->SetPos(0, 0, kRedrawNone);
    first->SetSize(fWidth, fHeight, kRedrawNone);
    fFirst = first;
    VComputingPainter painter;
    fSecond = static_cast<VViewSplitter*>(first->Clone(this, &painter));
}

bool VViewSplitter::Split(bool stacked, int32_t position)
{
    if (fBar || !fUserFrame || position < 0) return false;
    const int32_t length = stacked ? fHeight : fWidth;
    const int32_t minimum = stacked ? fMinHeight : fMinWidth;
    if (minimum != -1 && (length - kSplitBarSize) / 2 < minimum) return false;
    const int32_t least = std::max(0, minimum);

    VFrame* focus = GetFocusFrame();
    BuildSubViewSplitters(stacked);
    fFirst->fParentSplitter = this;
    fSecond->fParentSplitter = this;
    fStacked = stacked;
    fBar = new VSplitBar(this, stacked);

    // Without a minimum the first pane may shrink to nothing, never past
    // the room the bar needs.
    position = std::min(position, length - least - kSplitBarSize);
    position = std::max(position, least);
    position = std::max(position, 0);
    const int32_t rest = std::max(0, length - position - kSplitBarSize);
    if (stacked) {
        fBar->SetPos(0, position, kRedrawNone);
        fBar->SetSize(fWidth, kSplitBarSize, kRedrawNone);
        fFirst->SetPos(0, 0, kRedrawNone);
        fFirst->SetSize(fWidth, position, kRedrawNone);
        fSecond->SetPos(0, position + kSplitBarSize, kRedrawNone);
        fSecond->SetSize(fWidth, rest, kRedrawNone);
        fSecond->Scroll(0, position, kRedrawNone);
    } else {
        fBar->SetPos(position, 0, kRedrawNone);
        fBar->SetSize(kSplitBarSize, fHeight, kRedrawNone);
        fFirst->SetPos(0, 0, kRedrawNone);
        fFirst->SetSize(position, fHeight, kRedrawNone);
        fSecond->SetPos(position + kSplitBarSize, 0, kRedrawNone);
        fSecond->SetSize(rest, fHeight, kRedrawNone);
        fSecond->Scroll(position, 0, kRedrawNone);
    }
    fFirst->ResetSize(kRedrawNone);
    fSecond->ResetSize(kRedrawNone);
    const bool active = LooksActive();
    fFirst->DoForeGroundChildren(active);
    fSecond->DoForeGroundChildren(active);
    if (focus && GetFocusFrame() != focus) focus->AskFocus();
    Redraw(kRedrawInval);
    return true;
}

void VViewSplitter::UnSplit(bool keepSecond)
{
    if (!fBar || !fFirst || !fSecond) return;
    VSplitBar* bar = fBar;
    fBar = nullptr;
    Dispose(bar);
    VViewSplitter* going = keepSecond ? fFirst : fSecond;
    VViewSplitter* kept = keepSecond ? fSecond : fFirst;
    fFirst = fSecond = nullptr;

    VScrolledView* keptView = kept->GetUserFrame(false);
    VFrame* focus = GetFocusFrame();
    VFrame* defaultFocus = GetDefaultFocus();
    const bool focusGoes = focus && going->IsAChild(focus, false);
    if (defaultFocus && going->IsAChild(defaultFocus, false) && keptView) keptView->SetDefaultFocus();
    if (focusGoes && keptView) keptView->AskFocus();
    Dispose(going);

    // The kept pane's parts come back into this node.
    VFrame* parts[kPartCount];
    for (int16_t i = 0; i < kPartCount; ++i) parts[i] = kept->TakePart(Part(i));
    VScrolledView* view = kept->fUserFrame;
    VScrollBar* hBar = kept->fHBar;
    VScrollBar* vBar = kept->fVBar;
    VSplitArea* hArea = kept->fHArea;
    VSplitArea* vArea = kept->fVArea;
    VSplitBar* keptBar = kept->fBar;
    VViewSplitter* first = kept->fFirst;
    VViewSplitter* second = kept->fSecond;
    kept->fUserFrame = nullptr;
    kept->fHBar = kept->fVBar = nullptr;
    kept->fHArea = kept->fVArea = nullptr;
    kept->fBar = nullptr;
    kept->fFirst = kept->fSecond = nullptr;
    const std::vector<VFrame*> children = kept->fChildren;
    for (VFrame* child : children) child->SetParentDirect(this);
    fStacked = kept->fStacked;
    fBar = keptBar;
    fFirst = first;
    fSecond = second;
    if (fFirst) fFirst->fParentSplitter = this;
    if (fSecond) fSecond->fParentSplitter = this;
    fWantH = kept->fWantH;
    fWantV = kept->fWantV;
    fShowH = kept->fShowH;
    fShowV = kept->fShowV;
    fMinWidth = kept->fMinWidth;
    fMinHeight = kept->fMinHeight;
    std::copy(std::begin(kept->fCornerModes), std::end(kept->fCornerModes), std::begin(fCornerModes));
    for (int16_t i = 0; i < kPartCount; ++i) PartSlot(Part(i)) = parts[i];
    fUserFrame = view;
    fHBar = hBar;
    fVBar = vBar;
    fHArea = hArea;
    fVArea = vArea;
    Dispose(kept);

    if (focus && !focusGoes && GetFocusFrame() != focus) focus->AskFocus();
    ResetSize(kRedrawNone);
    Redraw(kRedrawNow);
}

void VViewSplitter::MoveSplit(int32_t delta)
{
    if (!fBar || !fFirst || !fSecond || delta == 0) return;
    const int32_t total = fStacked ? fHeight : fWidth;
    const int32_t l1 = fStacked ? fFirst->GetHeight() : fFirst->GetWidth();
    const int32_t l2 = std::max(0, total - l1 - kSplitBarSize);
    const int32_t min1 = std::max(0, fStacked ? fFirst->fMinHeight : fFirst->fMinWidth);
    const int32_t min2 = std::max(0, fStacked ? fSecond->fMinHeight : fSecond->fMinWidth);
    // The shrinking pane keeps its minimum, and never goes below 0.
    if (delta < 0) delta = std::max(delta, std::min(0, min1 - l1));
    if (delta > 0) delta = std::min(delta, std::max(0, l2 - min2));
    if (delta == 0) return;
    const int32_t n1 = std::clamp(l1 + delta, 0, std::max(0, total - kSplitBarSize));
    const int32_t n2 = std::max(0, total - n1 - kSplitBarSize);
    if (fStacked) {
        fFirst->SetSize(fWidth, n1, kRedrawNone);
        fBar->SetPos(0, n1, kRedrawNone);
        fSecond->SetPos(0, n1 + kSplitBarSize, kRedrawNone);
        fSecond->SetSize(fWidth, n2, kRedrawNone);
    } else {
        fFirst->SetSize(n1, fHeight, kRedrawNone);
        fBar->SetPos(n1, 0, kRedrawNone);
        fSecond->SetPos(n1 + kSplitBarSize, 0, kRedrawNone);
        fSecond->SetSize(n2, fHeight, kRedrawNone);
    }
    Redraw(kRedrawNow);
}

void VViewSplitter::_TryNewSplit(VFrame* area, VClic& clic)
{
    if (fBar || !fUserFrame || !area) return;
    auto* splitArea = dynamic_cast<VSplitArea*>(area);
    if (!splitArea) return;
    const bool stacked = splitArea->IsVertical();
    int32_t x = 0, y = 0;
    clic.GetPos(x, y);
    VClic at(clic);
    at.SetPos(x + area->GetX(), y + area->GetY());
    const int32_t start = stacked ? area->GetY() : area->GetX();
    const int32_t end = stacked ? fUserFrame->GetY() + fUserFrame->GetHeight() - 1
                                : fUserFrame->GetX() + fUserFrame->GetWidth() - 1;
    const VRect bar = stacked ? VRect(0, start, fWidth, kSplitBarSize) : VRect(start, 0, kSplitBarSize, fHeight);
    VSplitDragger dragger(this, at, stacked, start, 0, std::max(0, end), bar);
    dragger.RunTheOldWay();
    const int32_t d = dragger.GetPosition() - start;
    if (d > kSplitBarSize || d < -kSplitBarSize) Split(stacked, d);
}

void VViewSplitter::_TryMoveSplit(VClic& clic)
{
    if (!fBar || !fFirst || !fSecond) return;
    int32_t x = 0, y = 0;
    clic.GetPos(x, y);
    VClic at(clic);
    at.SetPos(x + fBar->GetX(), y + fBar->GetY());
    const int32_t length = fStacked ? fHeight : fWidth;
    const int32_t old = fStacked ? fBar->GetY() : fBar->GetX();
    const VRect barRect(fBar->GetX(), fBar->GetY(), fBar->GetWidth(), fBar->GetHeight());
    VSplitDragger dragger(this, at, fStacked, old, 0, std::max(0, length - kSplitBarSize), barRect);
    dragger.RunTheOldWay();
    const int32_t now = dragger.GetPosition();
    if (now == old) return;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    GetSplitLimits(left, top, right, bottom);
    const int32_t before = fStacked ? top : left;
    const int32_t after = fStacked ? bottom : right;
    // A bar dragged into a pane's minimum closes that pane.
    if (now < before || length - (now + kSplitBarSize) < after)
        UnSplit(now < old);
    else
        MoveSplit(now - old);
}

intptr_t VViewSplitter::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    if (!fParent) return 0;
    switch (command) {
    case vcmd::kRelayout:
        if (fParentSplitter && sender != fParentSplitter) return fParentSplitter->DoCommand(this, command, param);
        if (fBar) {
            if (fFirst) fFirst->DoCommand(this, command, param);
            if (fSecond) fSecond->DoCommand(this, command, param);
        } else {
            ResetSize(RedrawMode(param));
        }
        return 1;
    case vcmd::kFindFocusedView: {
        if (fParentSplitter && sender != fParentSplitter) return fParentSplitter->DoCommand(this, command, param);
        auto* out = reinterpret_cast<VScrolledView**>(param);
        if (!out) return 1;
        *out = nullptr;
        if (fBar) {
            if (fFirst) fFirst->DoCommand(this, command, param);
            if (!*out && fSecond) fSecond->DoCommand(this, command, param);
        } else if (fUserFrame && fUserFrame->HasFocus()) {
            *out = fUserFrame;
        }
        return 1;
    }
    case vcmd::kSplitNew:
        if (param) _TryNewSplit(dynamic_cast<VFrame*>(sender), *reinterpret_cast<VClic*>(param));
        return 1;
    case vcmd::kSplitMove:
        if (param) _TryMoveSplit(*reinterpret_cast<VClic*>(param));
        return 1;
    case vcmd::kSplitRemove:
        UnSplit(true);
        return 1;
    default:
        return VViewScroller::DoCommand(sender, command, param);
    }
}
