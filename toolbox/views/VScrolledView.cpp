#include "toolbox/views/VScrolledView.h"

#include <algorithm>
#include <cstdlib>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VKeySwitch.h"
#include "toolbox/views/VViewScroller.h"

VScrolledView::VScrolledView(VViewScroller* parent) : VView(parent, nullptr) {}

bool VScrolledView::DoScrollKey(VKeySwitch& key)
{
    if (!fParent) return false;
    int32_t command = vcmd::kScrollV;
    int32_t amount = 0;
    switch (key.GetKeyCode()) {
    case 138: amount = -fVirtualHeight; break;
    case 139: amount = fVirtualHeight; break;
    case 140: amount = -GetPageHeight(true); break;
    case 141: amount = GetPageHeight(false); break;
    case 142: command = vcmd::kScrollH; amount = -GetScrollWidth(true); break;
    case 143: command = vcmd::kScrollH; amount = GetScrollWidth(false); break;
    case 144: amount = -GetScrollHeight(true); break;
    case 145: amount = GetScrollHeight(false); break;
    default: return false;
    }
    fParent->DoCommand(this, command, amount);
    return true;
}

void VScrolledView::SetVirtualPos(int32_t x, int32_t y, bool relayout, RedrawMode mode)
{
    // The last page lines up with the view's edge: an offset past
    // (virtual size - view size) would leave the view empty.
    x = std::clamp(x, 0, std::max(0, fVirtualWidth - fWidth));
    y = std::clamp(y, 0, std::max(0, fVirtualHeight - fHeight));
    if (x == fVirtualX && y == fVirtualY) return;
    fVirtualX = x;
    fVirtualY = y;
    UpdateCoords(fParent && fParent->IsAScrolledView());
    if (relayout && fParent) fParent->DoCommand(this, vcmd::kRelayout, mode);
}

void VScrolledView::BindVirtualWidth(bool on)
{
    if (on == fBindWidth) return;
    fBindWidth = on;
    if (fParent) fParent->DoCommand(this, vcmd::kRelayout, kRedrawInval);
}

void VScrolledView::BindVirtualHeight(bool on)
{
    if (on == fBindHeight) return;
    fBindHeight = on;
    if (fParent) fParent->DoCommand(this, vcmd::kRelayout, kRedrawInval);
}

void VScrolledView::SetVirtualHeight(int32_t h, bool setBinding, RedrawMode mode)
{
    SetVirtualSize(fBindWidth ? -1 : fVirtualWidth, h, setBinding, mode);
}

void VScrolledView::SetVirtualWidth(int32_t w, bool setBinding, RedrawMode mode)
{
    SetVirtualSize(w, fBindHeight ? -1 : fVirtualHeight, setBinding, mode);
}

void VScrolledView::SetVirtualSize(int32_t w, int32_t h, bool setBinding, RedrawMode mode)
{
    if (setBinding) {
        fBindWidth = w == -1;
        fBindHeight = h == -1;
    }
    if (fBindWidth) w = fWidth;
    if (fBindHeight) h = fHeight;
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == fVirtualWidth && h == fVirtualHeight) return;
    fVirtualWidth = w;
    fVirtualHeight = h;
    if (setBinding && fParent) fParent->DoCommand(this, vcmd::kRelayout, mode);
}

void VScrolledView::DoFastScroll(VPainter* painter, int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0) return;
    DoScroll(dx, dy);
    // Moved farther than the view or with nothing on screen: the mark stays
    // and the scroller paints the whole view.
    if (!painter || !GetParentMacHwnd() || !fParent || std::abs(dx) >= fWidth || std::abs(dy) >= fHeight) return;
    VRegion update;
    VView::ScrollPixels(-dx, -dy, update);  // in the view's own coordinates
    // The painter stands at the virtual origin; paint in view coordinates,
    // clipped to the uncovered strip, so only what lies in it is painted.
    painter->AddOffset(fVirtualX, fVirtualY);
    painter->SaveClip(false);
    painter->ClipVRegion(update, true);
    DoPaintChildren(painter);
    painter->RestoreClip();
    // Into the window now: the scroller drops what is left of its buffer.
    painter->EndOffscreen(update, true);
    painter->RestoreOffset();
    SetScrollMark(false);
}

void VScrolledView::DoScroll(int32_t dx, int32_t dy)
{
    fVirtualX += dx;
    fVirtualY += dy;
    UpdateCoords(fParent && fParent->IsAScrolledView());
}

void VScrolledView::UpdateHScrollParms(int32_t* pos, int32_t* max, int32_t* page)
{
    if (fBindWidth) fVirtualWidth = fWidth;
    int32_t position = fBindWidth ? 0 : std::max(0, std::min(fVirtualX, fVirtualWidth - fWidth));
    SetVirtualX(position, false, kRedrawInval);
    if (pos) *pos = position;
    if (max) *max = std::max(fVirtualWidth - fWidth, 0);
    if (page) *page = fWidth;
}

void VScrolledView::UpdateVScrollParms(int32_t* pos, int32_t* max, int32_t* page)
{
    if (fBindHeight) fVirtualHeight = fHeight;
    int32_t position = fBindHeight ? 0 : std::max(0, std::min(fVirtualY, fVirtualHeight - fHeight));
    SetVirtualY(position, false, kRedrawInval);
    if (pos) *pos = position;
    if (max) *max = std::max(fVirtualHeight - fHeight, 0);
    if (page) *page = fHeight;
}

int32_t VScrolledView::AdjustAmount(int32_t d, int32_t offset, int32_t size, int32_t virtualSize, bool horizontal)
{
    if (d == 0) return 0;
    const int32_t last = std::max(0, virtualSize - size);
    d = std::clamp(d, -offset, std::max(-offset, last - offset));
    const int32_t result = horizontal ? AdjustHAmount(d) : AdjustVAmount(d);
    if ((result < 0 && offset <= 0) || (result > 0 && offset >= virtualSize - size)) return 0;
    return std::min(last, std::max(offset + result, 0)) - offset;
}

int32_t VScrolledView::CallAdjustHAmount(int32_t d) { return AdjustAmount(d, fVirtualX, fWidth, fVirtualWidth, true); }

int32_t VScrolledView::CallAdjustVAmount(int32_t d)
{
    return AdjustAmount(d, fVirtualY, fHeight, fVirtualHeight, false);
}

void VScrolledView::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    VView::SetSize(w, h, mode);
    SetVirtualSize(fBindWidth ? -1 : fVirtualWidth, fBindHeight ? -1 : fVirtualHeight, true, kRedrawNone);
}

void VScrolledView::Redraw(RedrawMode mode)
{
    if (mode == kRedrawLater) {
        RedrawLater(*this);
        return;
    }
    // The whole view, in virtual coordinates.
    VFrame::RedrawRect(0, 0, fWidth, fHeight, mode);
}

void VScrolledView::RedrawRect(int32_t x, int32_t y, int32_t w, int32_t h, RedrawMode mode)
{
    if (mode == kRedrawNone) return;
    platform::WindowRef window = GetParentMacHwnd();
    if (!window) return;
    VRect area(fWindowX + x - fVirtualX, fWindowY + y - fVirtualY, w, h);
    area.Intersect(VRect(fWindowX, fWindowY, fWidth, fHeight));
    if (area.IsEmpty()) return;
    if (mode == kRedrawLater) {
        if (fParent) fParent->RedrawLater(area);
        return;
    }
    if (mode == kRedrawNow) {
        VRegion visible;
        GetVisibleRegion(visible);
        visible.Intersect(area);
        if (visible.IsEmpty()) return;
        VPainter* painter = fParent ? fParent->GetPainter() : nullptr;
        if (!painter) {
            mode = kRedrawInval;
        } else {
            const bool lentOpen = painter->GetCurPort() != painter->GetOwnPort();
            painter->SaveClip(false);
            // The parent's painter is at the parent; the region is in window coordinates.
            int32_t px = 0, py = 0;
            fParent->GetPosInWindow(px, py);
            visible.SetPos(visible.GetLeft() - px, visible.GetTop() - py);
            painter->ClipVRegion(visible, true);
            painter->BeginOffscreen(this);
            painter->AddOffset(fX, fY);
            DoPaintChildren(painter);
            EndPaintNow(painter, lentOpen);
            painter->RestoreOffset();
            painter->RestoreClip();
            fParent->ReleasePainter();
        }
    }
    SetWindowValidRect(window, &area, mode == kRedrawNow);
}

VPainter* VScrolledView::GetPainter()
{
    VPainter* painter = VView::GetPainter();
    if (painter) painter->AddOffset(-fVirtualX, -fVirtualY);
    return painter;
}

void VScrolledView::GetMousePosition(int32_t& x, int32_t& y)
{
    VView::GetMousePosition(x, y);
    x += fVirtualX;
    y += fVirtualY;
}

void VScrolledView::ScrollPixels(int32_t dx, int32_t dy, VRegion& update)
{
    VView::ScrollPixels(dx, dy, update);
    update.SetPos(update.GetLeft() + fVirtualX, update.GetTop() + fVirtualY);
}

int32_t VScrolledView::RunTextPopUp(VResourceFile* file, int16_t id, int32_t x, int32_t y, bool flag)
{
    return VView::RunTextPopUp(file, id, x - fVirtualX, y - fVirtualY, flag);
}

VFrame* VScrolledView::Clone(VView* parent, VPainter* painter)
{
    // The constructor wants a scroller; the place is set by Copy.
    auto* view = new VScrolledView(nullptr);
    view->Copy(parent, this, painter);
    return view;
}

void VScrolledView::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    if (parent && fParent != parent) SetParentDirect(parent);
    VView::Copy(parent, source, painter);
    if (!source || !source->IsAScrolledView()) return;
    CopyScrollState(*static_cast<const VScrolledView*>(source));
    UpdateCoords(fParent && fParent->IsAScrolledView());
}

void VScrolledView::CopyScrollState(const VScrolledView& from)
{
    fVirtualX = from.fVirtualX;
    fVirtualY = from.fVirtualY;
    fVirtualWidth = from.fVirtualWidth;
    fVirtualHeight = from.fVirtualHeight;
    fBindWidth = from.fBindWidth;
    fBindHeight = from.fBindHeight;
}
