#include "toolbox/views/VViewScroller.h"

#include <algorithm>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"

VViewScroller::VViewScroller(VView* parent, bool vertical, bool horizontal, bool alternate)
    : VView(parent, nullptr), fAlternate(alternate)
{
    ShowVScrollBar(vertical, true);
    ShowHScrollBar(horizontal, true);
}

VViewScroller::~VViewScroller()
{
    if (fStepPainter) CloseStep();
}

void VViewScroller::RemoveChild(VFrame* frame)
{
    if (frame == fUserFrame) fUserFrame = nullptr;
    if (frame == fHBar) fHBar = nullptr;
    if (frame == fVBar) fVBar = nullptr;
    VView::RemoveChild(frame);
}

void VViewScroller::ShowHScrollBar(bool show, bool relayout)
{
    if (show && !fHBar) fHBar = new VScrollBar(this, true, fAlternate);
    if (!show && fHBar) {
        VScrollBar* bar = fHBar;
        bar->DoDispose();
        delete bar;
    }
    fShowH = show;
    if (relayout) ResetSize(kRedrawInval);
}

void VViewScroller::ShowVScrollBar(bool show, bool relayout)
{
    if (show && !fVBar) fVBar = new VScrollBar(this, false, fAlternate);
    if (!show && fVBar) {
        VScrollBar* bar = fVBar;
        bar->DoDispose();
        delete bar;
    }
    fShowV = show;
    if (relayout) ResetSize(kRedrawInval);
}

void VViewScroller::EnableHScrollBar(bool on, RedrawMode mode)
{
    if (fHBar) fHBar->SetEnabled(on, mode);
}

void VViewScroller::EnableVScrollBar(bool on, RedrawMode mode)
{
    if (fVBar) fVBar->SetEnabled(on, mode);
}

void VViewScroller::SetUserFrame(VScrolledView* view, bool relayout)
{
    if (fUserFrame && fUserFrame != view) {
        VScrolledView* old = fUserFrame;
        old->DoDispose();
        delete old;
    }
    fUserFrame = view;
    if (view) view->SetParent(this);
    if (relayout) ResetSize(kRedrawInval);
}

void VViewScroller::ResetSize(RedrawMode mode)
{
    if (!fUserFrame) return;
    const int32_t h = fHBar ? fHBar->GetHeight() : 0;
    const int32_t v = fVBar ? fVBar->GetWidth() : 0;
    fHasGrowIcon = HasGrowIcon();
    const int32_t corner = fHasGrowIcon && h != v ? std::max(h, v) : 0;
    const int32_t contentW = std::max(0, fWidth - v);
    const int32_t contentH = std::max(0, fHeight - h);
    fUserFrame->SetPos(0, 0, kRedrawInval);
    fUserFrame->SetSize(contentW, contentH, kRedrawInval);
    int32_t pos = 0, max = 0, page = 0;
    fUserFrame->UpdateVScrollParms(&pos, &max, &page);
    if (fVBar) {
        fVBar->SetPos(contentW, 0, kRedrawNone);
        fVBar->SetSize(v, contentH - corner + (fHBar ? 1 : 0), kRedrawNone);
        if (max != 0) {
            fVBar->SetEnabled(true, kRedrawInval);
            fVBar->SetRange(page, kRedrawInval);
            fVBar->SetMax(max, kRedrawInval);
            fVBar->SetScroll(pos, kRedrawInval);
        } else {
            fVBar->SetEnabled(false, kRedrawInval);
        }
    }
    fUserFrame->UpdateHScrollParms(&pos, &max, &page);
    if (fHBar) {
        fHBar->SetPos(0, contentH, kRedrawNone);
        fHBar->SetSize(contentW - corner + (fVBar ? 1 : 0), h, kRedrawNone);
        if (max != 0) {
            fHBar->SetEnabled(true, kRedrawInval);
            fHBar->SetRange(page, kRedrawInval);
            fHBar->SetMax(max, kRedrawInval);
            fHBar->SetScroll(pos, kRedrawInval);
        } else {
            fHBar->SetEnabled(false, kRedrawInval);
        }
    }
    if (IsVisible()) Redraw(mode);
}

void VViewScroller::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    VView::SetSize(w, h, kRedrawNone);
    ResetSize(mode);
}

void VViewScroller::Scroll(int32_t dx, int32_t dy, RedrawMode mode)
{
    if (!fUserFrame) return;
    const int32_t adx = fUserFrame->CallAdjustHAmount(dx);
    if (fHBar && adx) fHBar->SetScroll(fHBar->GetValue() + adx, kRedrawNone);
    const int32_t ady = fUserFrame->CallAdjustVAmount(dy);
    if (fVBar && ady) fVBar->SetScroll(fVBar->GetValue() + ady, kRedrawNone);
    if (adx == 0 && ady == 0) return;
    if (mode != kRedrawNow) {
        DoScroll(adx, ady);
        return;
    }
    bool own = false;
    VPainter* painter = ScrollPainter(own);
    if (!painter) {
        // No painter to be had: move, and let the next update paint.
        DoScroll(adx, ady);
        Redraw(kRedrawInval);
        return;
    }
    if (!fFastScroll) {
        DoScroll(adx, ady);
        DoPaintChildren(painter);
        if (own) {
            painter->EndOffscreen(false);
            painter->RestoreClip();
            VView::ReleasePainter();
        } else {
            painter->EndOffscreen(true);
        }
        return;
    }
    for (VFrame* child : fChildren)
        if (child->IsVisible()) child->SetScrollMark(true);
    DoFastScroll(painter, adx, ady);
    // Each child still marked is painted and copied by its own rectangle:
    // the buffer holds nothing valid between them.
    for (VFrame* child : std::vector<VFrame*>(fChildren)) {
        if (!child->GetScrollMark()) continue;
        child->SetScrollMark(false);
        painter->AddOffset(child->GetX(), child->GetY());
        child->DoPaintChildren(painter);
        painter->RestoreOffset();
        painter->EndOffscreen(VRect(child->GetX(), child->GetY(), child->GetWidth(), child->GetHeight()), true);
    }
    if (own) painter->ForgetOffscreen();
    if (own) {
        painter->RestoreClip();
        VView::ReleasePainter();
    }
}

VPainter* VViewScroller::ScrollPainter(bool& own)
{
    own = false;
    if (fStepPainter) return fStepPainter;
    VRegion visible;
    GetVisibleRegion(visible);
    if (visible.IsEmpty()) return nullptr;
    VPainter* painter = VView::GetPainter();
    if (!painter) return nullptr;
    own = true;
    painter->SaveClip(false);
    visible.SetPos(visible.GetLeft() - fWindowX, visible.GetTop() - fWindowY);
    painter->ClipVRegion(visible, true);
    painter->BeginOffscreen(this);
    return painter;
}

void VViewScroller::DoScroll(int32_t dx, int32_t dy)
{
    if (fUserFrame) fUserFrame->DoScroll(dx, dy);
}

void VViewScroller::DoFastScroll(VPainter* painter, int32_t dx, int32_t dy)
{
    if (!fUserFrame || !painter) return;
    // The user frame paints in its own scrolled coordinates.
    painter->AddOffset(fUserFrame->GetX() - fUserFrame->GetVirtualX() - dx,
                       fUserFrame->GetY() - fUserFrame->GetVirtualY() - dy);
    fUserFrame->DoFastScroll(painter, dx, dy);
    painter->RestoreOffset();
}

void VViewScroller::RedrawChild(VFrame* child)
{
    if (!child) return;
    if (!fStepPainter) {
        child->Redraw(kRedrawNow);
        return;
    }
    fStepPainter->AddOffset(child->GetX(), child->GetY());
    fStepPainter->SetLook(GetResolvedLook());
    child->DoPaintChildren(fStepPainter);
    fStepPainter->RestoreOffset();
    fStepPainter->EndOffscreen(VRect(child->GetX(), child->GetY(), child->GetWidth(), child->GetHeight()), true);
}

void VViewScroller::OpenStep()
{
    if (fStepPainter) return;
    VPainter* painter = VView::GetPainter();
    if (!painter) return;
    painter->SaveClip(false);
    painter->ClipFrame(this, nullptr, true);
    painter->BeginOffscreen(this);
    fStepPainter = painter;
}

void VViewScroller::CloseStep()
{
    if (!fStepPainter) return;
    VPainter* painter = fStepPainter;
    fStepPainter = nullptr;
    painter->ForgetOffscreen();
    painter->RestoreClip();
    VView::ReleasePainter();
}

intptr_t VViewScroller::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    if (!fParent) return 0;
    switch (command) {
    case vcmd::kScrollH:
        Scroll(int32_t(param), 0, kRedrawNow);
        return 1;
    case vcmd::kScrollV:
        Scroll(0, int32_t(param), kRedrawNow);
        return 1;
    case vcmd::kScrollBoth: {
        const uint32_t packed = uint32_t(param);
        Scroll(int16_t(uint16_t(packed >> 16)), int16_t(uint16_t(packed & 0xFFFF)), kRedrawNow);
        return 1;
    }
    case vcmd::kRelayout:
        ResetSize(RedrawMode(param));
        return 1;
    case vcmd::kBeginScrollStep:
        OpenStep();
        return 1;
    case vcmd::kEndScrollStep:
        CloseStep();
        return 1;
    default:
        return VView::DoCommand(sender, command, param);
    }
}

void VViewScroller::DoPaint(VPainter* painter)
{
    if (!painter) return;
    painter->SetFillStdColor(18);
    painter->SetFillStdPattern(6);
    painter->FillVRect(0, 0, fWidth, fHeight);
    if ((fHBar || fVBar) && fHasGrowIcon) DoCommand(this, vcmd::kDrawGrowIcon, reinterpret_cast<intptr_t>(painter));
}

VPainter* VViewScroller::GetPainter()
{
    if (!fStepPainter) return VView::GetPainter();
    // The open step lends its painter, placed at this scroller; the offsets
    // the borrower's frames push are taken off again when it is released.
    fLentDepth = fStepPainter->GetOffsetDepth();
    return fStepPainter;
}

void VViewScroller::ReleasePainter()
{
    if (!fStepPainter) {
        VView::ReleasePainter();
        return;
    }
    if (fLentDepth < 0) return;
    while (fStepPainter->GetOffsetDepth() > fLentDepth) fStepPainter->RestoreOffset();
    fLentDepth = -1;
}

void VViewScroller::DoDispose()
{
    if (fStepPainter) CloseStep();
    VView::DoDispose();
}
