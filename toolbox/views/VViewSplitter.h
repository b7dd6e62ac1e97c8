// A scroller that lays out its scrolled view with edge frames that scroll
// along with it (top, left, bottom, right), four corner frames, three
// gadgets beside the scroll bars and two split areas, and that the user
// can split once per node into two panes showing the same content: the
// splitters form a binary tree whose leaves hold the views. A split
// area (`VSplitArea`) is the handle a new split is dragged from; a split
// bar (`VSplitBar`) lies between the two panes of a split node.
#pragma once

#include <cstdint>

#include "toolbox/views/VViewScroller.h"

class VViewSplitter;

// Commands between split areas, split bars and their splitters.
namespace vcmd {
constexpr int32_t kSplitNew = -978;        // a split area was clicked; param: the VClic*
constexpr int32_t kSplitMove = -977;       // a split bar was clicked once; param: the VClic*
constexpr int32_t kSplitBarDragged = -976;  // pane splitter: bar position (high 16) and distance (low 16)
constexpr int32_t kSplitRemove = -975;     // a split bar was double-clicked
constexpr int32_t kFindFocusedView = -974;  // param: VScrolledView** to fill
}  // namespace vcmd

// Cursors of the split handles and bars ('CURS' ids).
constexpr uint32_t kCursorColumnResize = 9008;
constexpr uint32_t kCursorRowResize = 9009;
constexpr uint32_t kCursorVSplitBar = 9010;
constexpr uint32_t kCursorHSplitBar = 9011;

// Thickness of a split bar, and the length of a split area.
constexpr int32_t kSplitBarSize = 5;

// The handle beside a scroll bar: vertical beside the vertical bar (drags
// a stacked split), horizontal beside the horizontal one.
class VSplitArea : public VFrame {
public:
    VSplitArea(VView* parent, bool vertical);

    void DoPaint(VPainter* painter) override;
    bool DoLeftMouse(VClic& clic) override;
    bool IsVertical() const { return fVertical; }

private:
    bool fVertical;
};

// The bar between the two panes of a split splitter; stacked: 1 when the
// panes lie one above the other.
class VSplitBar : public VFrame {
public:
    VSplitBar(VView* parent, bool stacked);

    void DoPaint(VPainter* painter) override;
    bool DoLeftMouse(VClic& clic) override;
    bool IsStacked() const { return fStacked; }

private:
    bool fStacked;
};

// Corner frames, by the index their modes are kept under.
enum SplitterCorner : int16_t {
    kCornerTopLeft = 0,
    kCornerTopRight = 1,
    kCornerBottomLeft = 2,
    kCornerBottomRight = 3,
};

class VViewSplitter : public VViewScroller {
public:
    // The scroller with the bars asked for; the split areas are wished for
    // and made beside the bars that exist.
    VViewSplitter(VView* parent, bool vScrollBar, bool hScrollBar, bool vSplitArea, bool hSplitArea);
    ~VViewSplitter() override;

    virtual void ShowHSplitter(bool show, bool redraw);
    virtual void ShowVSplitter(bool show, bool redraw);
    // A setter deletes the frame it replaces and makes the new one a child;
    // only a splitter that is not split takes frames and gadgets.
    virtual void SetTopFrame(VFrame* frame, bool redraw);
    virtual void SetLeftFrame(VFrame* frame, bool redraw);
    virtual void SetBottomFrame(VFrame* frame, bool redraw);
    virtual void SetTopLeftFrame(VFrame* frame, bool redraw);
    virtual void SetRightFrame(VFrame* frame, bool redraw);
    virtual void SetBottomRightFrame(VFrame* frame, bool redraw);
    virtual void SetTopRightFrame(VFrame* frame, bool redraw);
    virtual void SetBottomLeftFrame(VFrame* frame, bool redraw);
    virtual void SetBottomGadget(VFrame* frame, bool redraw);
    virtual void SetRightGadget(VFrame* frame, bool redraw);
    virtual void SetBottomRightGadget(VFrame* frame, bool redraw);
    virtual void ShowTopFrame(bool show, bool redraw);
    virtual void ShowLeftFrame(bool show, bool redraw);
    virtual void ShowTopLeftFrame(bool show, bool redraw);
    virtual void ShowBottomFrame(bool show, bool redraw);
    virtual void ShowRightFrame(bool show, bool redraw);
    virtual void ShowBottomRightFrame(bool show, bool redraw);
    virtual void ShowTopRightFrame(bool show, bool redraw);
    virtual void ShowBottomLeftFrame(bool show, bool redraw);
    virtual void ShowBottomGadget(bool show, bool redraw);
    virtual void ShowRightGadget(bool show, bool redraw);
    virtual void ShowBottomRightGadget(bool show, bool redraw);
    // stacked: the panes one above the other (a horizontal bar); position:
    // the first pane's length. False when refused.
    virtual bool Split(bool stacked, int32_t position);
    virtual void BuildSubViewSplitters(bool stacked);
    virtual void UnSplit(bool keepSecond);
    virtual void GetSplitLimits(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom);
    virtual void MoveSplit(int32_t delta);
    // -1: no minimum.
    virtual void SetMinSize(int32_t width, int32_t height);

    void UpdateCoords(bool parentScrolled) override;
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override;
    VFrame* Clone(VView* parent, VPainter* painter) override;
    void Copy(VView* parent, VFrame* source, VPainter* painter) override;
    void ShowHScrollBar(bool show, bool relayout) override;
    void ShowVScrollBar(bool show, bool relayout) override;
    // focused: the scrolled view of the tree that has the focus, or null.
    VScrolledView* GetUserFrame(bool focused) override;
    void ResetSize(RedrawMode mode) override;
    void DoFastScroll(VPainter* painter, int32_t dx, int32_t dy) override;
    void DoScroll(int32_t dx, int32_t dy) override;
    void RemoveChild(VFrame* frame) override;

    void SetCornerMode(SplitterCorner corner, uint8_t mode);
    uint8_t GetCornerMode(SplitterCorner corner) const { return fCornerModes[corner]; }
    bool IsSplit() const { return fBar != nullptr; }
    bool IsStacked() const { return fStacked; }
    VViewSplitter* GetParentSplitter() const { return fParentSplitter; }
    VViewSplitter* GetFirstSplitter() const { return fFirst; }
    VViewSplitter* GetSecondSplitter() const { return fSecond; }
    VSplitBar* GetSplitBar() const { return fBar; }
    VSplitArea* GetHSplitArea() const { return fHArea; }
    VSplitArea* GetVSplitArea() const { return fVArea; }
    int32_t GetMinWidth() const { return fMinWidth; }
    int32_t GetMinHeight() const { return fMinHeight; }
    VFrame* GetTopFrame() const { return fTop; }
    VFrame* GetLeftFrame() const { return fLeft; }
    VFrame* GetBottomFrame() const { return fBottom; }
    VFrame* GetRightFrame() const { return fRight; }
    VFrame* GetTopLeftFrame() const { return fTopLeft; }
    VFrame* GetTopRightFrame() const { return fTopRight; }
    VFrame* GetBottomLeftFrame() const { return fBottomLeft; }
    VFrame* GetBottomRightFrame() const { return fBottomRight; }
    VFrame* GetBottomGadget() const { return fBottomGadget; }
    VFrame* GetRightGadget() const { return fRightGadget; }
    VFrame* GetBottomRightGadget() const { return fBottomRightGadget; }
    bool IsTopFrameVisible() const { return fTop && fTop->GetVisibleFlag(); }
    bool IsLeftFrameVisible() const { return fLeft && fLeft->GetVisibleFlag(); }

protected:
    // The frame fields by slot, so that handing parts over is one loop.
    enum Part : int16_t {
        kPartTop, kPartLeft, kPartTopLeft, kPartBottom, kPartRight, kPartBottomRight, kPartTopRight,
        kPartBottomLeft, kPartBottomGadget, kPartRightGadget, kPartBottomRightGadget, kPartCount
    };
    VFrame*& PartSlot(Part part);
    void SetPart(Part part, VFrame* frame, bool redraw);
    void ShowPart(Part part, bool show, bool redraw);
    // Takes a part out of its field without deleting it; null when none.
    VFrame* TakePart(Part part);
    // Places a part taken from elsewhere into an empty field.
    void GivePart(Part part, VFrame* frame);

    // The leaf's layout, and a split node's.
    void LayOutLeaf(RedrawMode mode);
    void LayOutSplit(RedrawMode mode);
    void MakeSplitArea(bool vertical);
    void DeleteSplitArea(bool vertical);
    void _TryNewSplit(VFrame* area, VClic& clic);
    void _TryMoveSplit(VClic& clic);

    VViewSplitter* fParentSplitter = nullptr;
    VViewSplitter* fFirst = nullptr;
    VViewSplitter* fSecond = nullptr;
    VSplitBar* fBar = nullptr;
    VSplitArea* fHArea = nullptr;
    VSplitArea* fVArea = nullptr;
    VFrame* fTop = nullptr;
    VFrame* fLeft = nullptr;
    VFrame* fTopLeft = nullptr;
    VFrame* fBottom = nullptr;
    VFrame* fRight = nullptr;
    VFrame* fBottomRight = nullptr;
    VFrame* fTopRight = nullptr;
    VFrame* fBottomLeft = nullptr;
    VFrame* fBottomGadget = nullptr;
    VFrame* fRightGadget = nullptr;
    VFrame* fBottomRightGadget = nullptr;
    int32_t fMinWidth = -1;
    int32_t fMinHeight = -1;
    bool fStacked = false;
    bool fWantH = false;
    bool fWantV = false;
    uint8_t fCornerModes[4] = {5, 5, 5, 5};
};
