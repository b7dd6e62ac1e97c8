// A control with an edit area and an arrow that opens a list in a
// borderless window below (or above) itself and runs a modal loop until
// the list closes. Derived drop-downs supply the list and the edit frame.
#pragma once

#include "toolbox/views/VControl.h"
#include "toolbox/views/VWindow.h"

class VDropDown;

// The list's window: never activated, so its owner keeps the focus; its
// commands go to the drop-down.
class VDropWindow : public VWindow {
public:
    explicit VDropWindow(VDropDown* owner);
    void DoTakeFocus() override { DoForeGroundChildren(true); }
    void DoLoseFocus(VFrame*) override { DoForeGroundChildren(false); }
    void DoDispose() override;

private:
    VDropDown* fOwner;
};

class VDropDown : public VListControl {
public:
    // Internal commands: the list closed; the list's current element changed.
    static constexpr int32_t kListClosed = -994;
    static constexpr int32_t kCurrentChanged = -1000;

    VDropDown(VView* parent, int32_t command, const VRect* rect = nullptr);
    ~VDropDown() override;

    virtual bool CanDropDown() { return false; }
    virtual bool CanEdit() { return fCanEdit; }
    virtual int32_t GetDropWindowHeight(int32_t available);
    virtual int32_t GetDropWindowWidth(int32_t screenWidth);
    virtual void PaintEditRect(VPainter*, VRect&) {}
    virtual void MakeArrowRect(VRect& rect);
    virtual void MakeEditRect(VRect& rect);
    // The modal loop a derived DoDropDown runs.
    virtual void HandleDropDown(VClic& clic);

    virtual void DoInitDropDown(VWindow*) {}
    virtual void DoDeInitDropDown() {}
    virtual void DoDropDown(VClic&) {}
    virtual VFrame* MakeEditFrame() { return nullptr; }
    virtual void DoUpdate() {}

    void DoPaint(VPainter* painter) override;
    bool DoLeftMouse(VClic& clic) override;
    void DoTakeFocus() override;
    void DoLoseFocus(VFrame* frame) override;
    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    void DoDispose() override;
    void DoCompositionDone() override;
    bool CanPaste(int32_t kind) override;
    int32_t GetEditCommandsStatus() override;
    void DoMouseWheel(VClic&) override {}
    void DoForeGround(bool) override { fOpen = false; }
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;

    void SetCanEdit(bool on) { fCanEdit = on; }
    void SetBordered(bool on) { fBordered = on; }
    bool IsOpen() const { return fOpen; }
    bool IsCancelled() const { return fCancelled; }
    VFrame* GetEditFrame() const { return fEditFrame; }
    VDropWindow* GetDropWindow() const { return fDropWindow; }
    VPainter* GetListPainter() const { return fListPainter; }

protected:
    // Paints the arrow in that state now, through an offscreen buffer.
    void PaintArrow(VPainter* painter, PaintStatus status);
    void DisposeEditFrame();
    // The loop's share of one event; false ends nothing by itself.
    void HandleLoopEvent(const platform::EventRecord& event, bool& arrowPressed, VPainter* painter,
                         platform::Point& lastMouse);

    VPainter* fListPainter = nullptr;
    VDropWindow* fDropWindow = nullptr;
    VFrame* fEditFrame = nullptr;
    bool fCanEdit = false;
    bool fOpen = false;
    bool fCancelled = false;
    bool fBordered = true;
};
