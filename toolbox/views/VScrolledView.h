// The content view of a scroller: its children live in a virtual area
// larger than the view and are shown shifted by the scroll offset (the
// virtual coordinate shown at the view's top left).
#pragma once

#include "toolbox/views/VView.h"

class VViewScroller;
class VKeySwitch;

class VScrolledView : public VView {
public:
    explicit VScrolledView(VViewScroller* parent);

    virtual bool DoScrollKey(VKeySwitch& key);
    virtual int32_t GetScrollHeight(bool) { return 20; }
    virtual int32_t GetScrollWidth(bool) { return 20; }
    virtual int32_t GetPageWidth(bool) { return fWidth - 10; }
    virtual int32_t GetPageHeight(bool) { return fHeight - 10; }
    virtual void SetVirtualX(int32_t x, bool relayout, RedrawMode mode) { SetVirtualPos(x, fVirtualY, relayout, mode); }
    virtual void SetVirtualY(int32_t y, bool relayout, RedrawMode mode) { SetVirtualPos(fVirtualX, y, relayout, mode); }
    virtual void SetVirtualPos(int32_t x, int32_t y, bool relayout, RedrawMode mode);
    virtual void BindVirtualWidth(bool on);
    virtual void BindVirtualHeight(bool on);
    virtual void SetVirtualHeight(int32_t h, bool setBinding, RedrawMode mode);
    virtual void SetVirtualWidth(int32_t w, bool setBinding, RedrawMode mode);
    virtual void SetVirtualSize(int32_t w, int32_t h, bool setBinding, RedrawMode mode);
    virtual int32_t AdjustVAmount(int32_t d) { return d; }
    virtual int32_t AdjustHAmount(int32_t d) { return d; }
    virtual void DoFastScroll(VPainter* painter, int32_t dx, int32_t dy);
    virtual void DoScroll(int32_t dx, int32_t dy);
    virtual void UpdateHScrollParms(int32_t* pos, int32_t* max, int32_t* page);
    virtual void UpdateVScrollParms(int32_t* pos, int32_t* max, int32_t* page);
    virtual int32_t CallAdjustHAmount(int32_t d);
    virtual int32_t CallAdjustVAmount(int32_t d);

    bool IsAScrolledView() const override { return true; }
    void GetScrollPos(int32_t& x, int32_t& y) const override
    {
        x = fVirtualX;
        y = fVirtualY;
    }
    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    // A scrolled view of the same offsets, virtual size and binding, with
    // clones of the children.
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    void RedrawRect(int32_t x, int32_t y, int32_t w, int32_t h, RedrawMode mode) override;
    void Redraw(RedrawMode mode) override;
    VPainter* GetPainter() override;
    void GetMousePosition(int32_t& x, int32_t& y) override;
    void ScrollPixels(int32_t dx, int32_t dy, VRegion& update) override;
    int32_t RunTextPopUp(VResourceFile* file, int16_t id, int32_t x, int32_t y, bool flag) override;

    int32_t GetVirtualX() const { return fVirtualX; }
    int32_t GetVirtualY() const { return fVirtualY; }
    int32_t GetVirtualWidth() const { return fVirtualWidth; }
    int32_t GetVirtualHeight() const { return fVirtualHeight; }
    bool IsWidthBound() const { return fBindWidth; }
    bool IsHeightBound() const { return fBindHeight; }

protected:
    void GetChildOffset(int32_t& dx, int32_t& dy) const override
    {
        dx = fVirtualX;
        dy = fVirtualY;
    }
    // One axis of CallAdjust*Amount.
    int32_t AdjustAmount(int32_t d, int32_t offset, int32_t size, int32_t virtualSize, bool horizontal);
    // Takes the other view's offsets, virtual size and binding.
    void CopyScrollState(const VScrolledView& from);

    int32_t fVirtualX = 0;
    int32_t fVirtualY = 0;
    int32_t fVirtualWidth = 0;
    int32_t fVirtualHeight = 0;
    bool fBindWidth = false;
    bool fBindHeight = false;
};
