// The dragger that moves a split bar's image with the mouse between two
// limits; the splitter reads where it ended. The image is drawn in the
// inverting mode, so drawing it twice removes it.
#pragma once

#include "toolbox/foundation/VRect.h"
#include "toolbox/views/VDragger.h"

class VSplitDragger : public VDragger {
public:
    // source: the frame whose coordinates start, the limits and the bar
    // rectangle are given in (the splitter). horizontal: a horizontal bar,
    // moving up and down. bar: the bar's rectangle at the start.
    VSplitDragger(VFrame* source, const VClic& click, bool horizontal, int32_t start, int32_t minimum,
                  int32_t maximum, const VRect& bar);

    void DoBeginDrag(DragDropInfo&) override {}
    void DoFinishDrag(VFrame*, DragDropInfo&) override {}
    void DoMove(VFrame* oldTarget, VFrame* newTarget, int32_t dx, int32_t dy, DragDropInfo& info) override;
    void DoPaint(bool erase) override;

    int32_t GetStartPosition() const { return fStart; }
    int32_t GetPosition() const { return fPosition; }
    const VRect& GetBarRect() const { return fBar; }
    bool IsHorizontal() const { return fHorizontal; }

private:
    bool fHorizontal;
    int32_t fStart;
    int32_t fMinimum;
    int32_t fMaximum;
    VRect fBar;
    int32_t fPosition;
    // The mouse's travel, unclamped: the image follows it back from past
    // a limit only once the mouse is back inside.
    int32_t fRaw;
    bool fShown = false;
};
