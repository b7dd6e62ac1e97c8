#include "toolbox/views/VView.h"

#include <algorithm>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

VView::VView(VView* parent, const VRect* rect) : VFrame(parent, rect) {}

VView::~VView()
{
    // Children go first, each taking itself out of the list.
    while (!fChildren.empty()) delete fChildren.front();
}

void VView::AddChild(VFrame* frame)
{
    if (!frame || std::find(fChildren.begin(), fChildren.end(), frame) != fChildren.end()) return;
    fChildren.push_back(frame);
}

void VView::RemoveChild(VFrame* frame)
{
    auto it = std::find(fChildren.begin(), fChildren.end(), frame);
    if (it != fChildren.end()) fChildren.erase(it);
}

bool VView::IsAChild(const VFrame* frame, bool directOnly) const
{
    if (!frame) return false;
    if (frame->GetParent() == this) return true;
    if (directOnly) return false;
    for (const VFrame* f = frame->GetParent(); f; f = f->GetParent())
        if (f == this) return true;
    return false;
}

void VView::SetSize(int32_t w, int32_t h, RedrawMode mode) { VFrame::SetSize(w, h, mode); }

void VView::UpdateCoords(bool parentScrolled)
{
    VFrame::UpdateCoords(parentScrolled);
    const bool scrolled = IsAScrolledView();
    for (VFrame* child : fChildren) child->UpdateCoords(scrolled);
}

void VView::DoPaintChildren(VPainter* painter)
{
    if (!painter || !IsVisible() || !painter->FrameIsInClip(this, nullptr)) return;
    painter->SaveClip(false);
    painter->ClipFrame(this, nullptr, true);
    const StdLook look = fLook == -2 ? painter->GetLook() : GetResolvedLook();
    painter->SetLook(look);
    DoPaint(painter);
    int32_t dx = 0, dy = 0;
    GetChildOffset(dx, dy);
    // A copy: painting may not change the list, but a child's failure must
    // not walk freed memory either.
    const std::vector<VFrame*> children = fChildren;
    for (VFrame* child : children) {
        if (!child->IsVisible()) continue;
        painter->AddOffset(child->GetX() - dx, child->GetY() - dy);
        painter->SetLook(child->GetLook() < -1 ? look : child->GetLook());
        child->DoPaintChildren(painter);
        painter->RestoreOffset();
    }
    painter->SetLook(look);
    painter->RestoreClip();
}

void VView::DoIdleChildren(bool flag)
{
    if (!IsVisible()) return;
    DoIdle(flag);
    const std::vector<VFrame*> children = fChildren;
    for (VFrame* child : children) child->DoIdleChildren(flag);
}

bool VView::OfferMouseToChildren(VClic& clic)
{
    int32_t ox = 0, oy = 0;
    GetChildOffset(ox, oy);
    clic.SetPosByOffset(ox, oy);
    for (size_t i = fChildren.size(); i-- > 0;) {
        if (i >= fChildren.size()) continue;
        VFrame* child = fChildren[i];
        if (!child->IsClickable() || !child->IsVisible() || !child->HitTest(clic)) continue;
        clic.SetPosByOffset(-child->GetX(), -child->GetY());
        if (child->DoMouseChildren(clic)) return true;
        clic.SetPosByOffset(child->GetX(), child->GetY());
    }
    // The view's own operation keeps the point as its children saw it: a
    // scrolled view handles clicks in its virtual coordinates.
    return false;
}

bool VView::OwnMouse(VClic& clic) { return VFrame::DoMouseChildren(clic); }

bool VView::DoMouseChildren(VClic& clic)
{
    if (OfferMouseToChildren(clic)) return true;
    return OwnMouse(clic);
}

void VView::DoMouseWheelChildren(VClic& clic)
{
    int32_t ox = 0, oy = 0;
    GetChildOffset(ox, oy);
    clic.SetPosByOffset(ox, oy);
    for (size_t i = fChildren.size(); i-- > 0;) {
        VFrame* child = fChildren[i];
        if (!child->IsVisible() || !child->HitTest(clic)) continue;
        clic.SetPosByOffset(-child->GetX(), -child->GetY());
        child->DoMouseWheelChildren(clic);
        return;
    }
    DoMouseWheel(clic);
}

void VView::DoForeGroundChildren(bool on)
{
    DoForeGround(on);
    const std::vector<VFrame*> children = fChildren;
    for (VFrame* child : children) child->DoForeGroundChildren(on);
}

VFrame* VView::GetTargetFrame(const VPoint& p, bool clickableOnly)
{
    if (!IsVisible()) return nullptr;
    int32_t px = 0, py = 0, ox = 0, oy = 0;
    p.GetPos(px, py);
    GetChildOffset(ox, oy);
    const VPoint inner(px + ox, py + oy);
    for (size_t i = fChildren.size(); i-- > 0;) {
        VFrame* child = fChildren[i];
        if (!child->IsVisible() || !child->HitTest(inner)) continue;
        const VPoint local(px + ox - child->GetX(), py + oy - child->GetY());
        if (VFrame* found = child->GetTargetFrame(local, clickableOnly)) return found;
    }
    return !clickableOnly || fClickable ? this : nullptr;
}

VFrame* VView::GetDropFrame(const VPoint& p)
{
    if (!IsVisible()) return nullptr;
    int32_t px = 0, py = 0, ox = 0, oy = 0;
    p.GetPos(px, py);
    GetChildOffset(ox, oy);
    for (size_t i = fChildren.size(); i-- > 0;) {
        VFrame* child = fChildren[i];
        if (!child->IsVisible()) continue;
        const VPoint local(px + ox - child->GetX(), py + oy - child->GetY());
        if (VFrame* found = child->GetDropFrame(local)) return found;
    }
    return HitTestNoOffset(p) ? this : nullptr;
}

VFrame* VView::GetDragDropFrame(VDragDropDragger* dragger, const VPoint& p)
{
    if (!IsVisible()) return nullptr;
    int32_t px = 0, py = 0, ox = 0, oy = 0;
    p.GetPos(px, py);
    GetChildOffset(ox, oy);
    for (size_t i = fChildren.size(); i-- > 0;) {
        VFrame* child = fChildren[i];
        if (!child->IsVisible()) continue;
        const VPoint local(px + ox - child->GetX(), py + oy - child->GetY());
        if (VFrame* found = child->GetDragDropFrame(dragger, local)) return found;
    }
    return VFrame::GetDragDropFrame(dragger, p);
}

VFrame* VView::Clone(VView* parent, VPainter* painter)
{
    VView* view = new VView(parent, nullptr);
    if (view) view->Copy(parent, this, painter);
    return view;
}

void VView::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    VFrame::Copy(parent, source, painter);
    if (!source || !source->IsAView()) return;
    const std::vector<VFrame*> children = static_cast<VView*>(source)->fChildren;
    for (VFrame* child : children) child->Clone(this, painter);
}

void VView::DoDispose()
{
    while (!fChildren.empty()) {
        VFrame* child = fChildren.front();
        child->DoDispose();
        delete child;
    }
    fDisposed = true;
}

void VView::SetHidden(bool hidden)
{
    fHidden = hidden;
    // Below a frame that is not shown, every frame is hidden.
    const bool below = hidden || !fVisible;
    for (VFrame* child : fChildren) child->SetHidden(below || !child->GetVisibleFlag());
}

void VView::SetVisibleToUser(bool on)
{
    fVisibleToUser = on;
    Redraw(kRedrawInval);
    for (VFrame* child : fChildren) child->SetVisibleToUser(on);
}

void VView::AdjustVisibleRegion(const VFrame* frame, VRegion& region) const
{
    auto it = std::find(fChildren.begin(), fChildren.end(), frame);
    if (it == fChildren.end()) return;
    for (++it; it != fChildren.end() && !region.IsEmpty(); ++it) {
        const VFrame* above = *it;
        if (!above->IsVisible()) continue;
        region.SubstractRect(above->GetWindowX(), above->GetWindowY(), above->GetWidth(), above->GetHeight());
    }
}
