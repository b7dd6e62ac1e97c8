// A view holding one scrolled content view (its user frame) and up to two
// scroll bars, which it lays out; it answers the scroll commands.
#pragma once

#include "toolbox/views/VView.h"

class VScrolledView;
class VScrollBar;

class VViewScroller : public VView {
public:
    VViewScroller(VView* parent, bool vertical, bool horizontal, bool alternate);
    ~VViewScroller() override;

    virtual void ShowHScrollBar(bool show, bool relayout);
    virtual void ShowVScrollBar(bool show, bool relayout);
    virtual void EnableHScrollBar(bool on, RedrawMode mode);
    virtual void EnableVScrollBar(bool on, RedrawMode mode);
    virtual void Scroll(int32_t dx, int32_t dy, RedrawMode mode);
    virtual VScrolledView* GetUserFrame(bool) { return fUserFrame; }
    virtual void ResetSize(RedrawMode mode);
    virtual void DoFastScroll(VPainter* painter, int32_t dx, int32_t dy);
    virtual void DoScroll(int32_t dx, int32_t dy);

    void SetUserFrame(VScrolledView* view, bool relayout);
    VScrollBar* GetHScrollBar() const { return fHBar; }
    VScrollBar* GetVScrollBar() const { return fVBar; }
    // Paints the child now: into the open scroll step's buffer, or through
    // its own redraw.
    void RedrawChild(VFrame* child);
    void SetFastScroll(bool on) { fFastScroll = on; }
    bool HasStepOpen() const { return fStepPainter != nullptr; }

    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;
    void DoPaint(VPainter* painter) override;
    VPainter* GetPainter() override;
    void ReleasePainter() override;
    void DoDispose() override;
    void RemoveChild(VFrame* frame) override;

protected:
    void OpenStep();
    void CloseStep();
    // A painter clipped to the scroller with an offscreen buffer on it:
    // the open step's, or one got here (own set).
    VPainter* ScrollPainter(bool& own);

    VScrolledView* fUserFrame = nullptr;
    VScrollBar* fHBar = nullptr;
    VScrollBar* fVBar = nullptr;
    bool fShowH = false;
    bool fShowV = false;
    VPainter* fStepPainter = nullptr;
    // The step painter's offset depth when it was last lent.
    int32_t fLentDepth = -1;
    bool fHasGrowIcon = false;
    bool fFastScroll = false;
    bool fAlternate;
};
