// A frame holding an ordered list of child frames: the first lies at the
// bottom and paints first, the last lies on top and is offered the mouse
// first. A view owns its children.
#pragma once

#include <vector>

#include "toolbox/views/VFrame.h"

class VView : public VFrame {
public:
    explicit VView(VView* parent, const VRect* rect = nullptr);
    ~VView() override;

    virtual void AddChild(VFrame* frame);
    virtual void RemoveChild(VFrame* frame);
    bool IsAChild(const VFrame* frame, bool directOnly) const;
    int32_t CountChildren() const { return int32_t(fChildren.size()); }
    // 1-based; null outside.
    VFrame* GetNthChild(int32_t n) const
    {
        return n >= 1 && n <= CountChildren() ? fChildren[size_t(n - 1)] : nullptr;
    }

    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    void UpdateCoords(bool parentScrolled) override;
    bool IsAView() const override { return true; }
    void DoPaintChildren(VPainter* painter) override;
    void DoIdleChildren(bool flag) override;
    bool DoMouseChildren(VClic& clic) override;
    void DoMouseWheelChildren(VClic& clic) override;
    void DoForeGroundChildren(bool on) override;
    VFrame* GetTargetFrame(const VPoint& p, bool clickableOnly) override;
    VFrame* GetDropFrame(const VPoint& p) override;
    VFrame* GetDragDropFrame(VDragDropDragger* dragger, const VPoint& p) override;
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    void DoDispose() override;
    void SetHidden(bool hidden) override;
    void SetVisibleToUser(bool on) override;

    // Takes from region the window rectangles of the shown siblings above
    // frame.
    void AdjustVisibleRegion(const VFrame* frame, VRegion& region) const;

protected:
    // The offsets a scrolled view adds to points handed to its children.
    virtual void GetChildOffset(int32_t& dx, int32_t& dy) const
    {
        dx = 0;
        dy = 0;
    }
    // The child's own mouse step, shared with the window.
    bool OfferMouseToChildren(VClic& clic);
    bool OwnMouse(VClic& clic);

    std::vector<VFrame*> fChildren;
};
