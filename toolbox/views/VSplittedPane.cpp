#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"

VSplittedPane::VSplittedPane(VPaneSplitter* parent, bool vScrollBar, bool hScrollBar, bool vSplitArea,
                             bool hSplitArea)
    : VViewSplitter(parent, vScrollBar, hScrollBar, vSplitArea, hSplitArea)
{
}

VPaneSplitter* VSplittedPane::GetSplitter() const { return dynamic_cast<VPaneSplitter*>(fParent); }

bool VSplittedPane::IsActivePane() const
{
    const VPaneSplitter* splitter = GetSplitter();
    return splitter && splitter->IsActivePane(this);
}

void VSplittedPane::SetHScrollBarLocked(bool on)
{
    fHLocked = on;
    if (fHBar) fHBar->SetLocked(on);
}

void VSplittedPane::SetVScrollBarLocked(bool on)
{
    fVLocked = on;
    if (fVBar) fVBar->SetLocked(on);
}

void VSplittedPane::ShowHScrollBar(bool show, bool relayout)
{
    VViewSplitter::ShowHScrollBar(show, relayout);
    if (fHBar) fHBar->SetLocked(fHLocked);
}

void VSplittedPane::ShowVScrollBar(bool show, bool relayout)
{
    VViewSplitter::ShowVScrollBar(show, relayout);
    if (fVBar) fVBar->SetLocked(fVLocked);
}

intptr_t VSplittedPane::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    VPaneSplitter* splitter = GetSplitter();
    switch (command) {
    case vcmd::kScrollH:
    case vcmd::kScrollV:
    case vcmd::kScrollBoth:
    case vcmd::kBeginScrollStep:
    case vcmd::kEndScrollStep:
        if (splitter) splitter->DoCommand(this, command, param);
        return 1;
    case vcmd::kSplitNew:
        if (splitter) return splitter->DoCommand(sender, command, param);
        return 1;
    case vcmd::kRelayout:
        if (splitter && sender != splitter)
            splitter->DoCommand(this, command, param);
        else if (fUserFrame)
            ResetSize(RedrawMode(param));
        return 1;
    default:
        return VViewSplitter::DoCommand(sender, command, param);
    }
}

VFrame* VSplittedPane::Clone(VView* parent, VPainter* painter)
{
    auto* splitter = dynamic_cast<VPaneSplitter*>(parent);
    if (!splitter) splitter = GetSplitter();
    auto* pane = new VSplittedPane(splitter, fVBar != nullptr, fHBar != nullptr, fWantV, fWantH);
    pane->Copy(splitter, this, painter);
    return pane;
}

void VSplittedPane::Copy(VView* parent, VFrame* source, VPainter* painter)
{
    VViewSplitter::Copy(parent, source, painter);
    auto* from = dynamic_cast<VSplittedPane*>(source);
    if (!from) return;
    fColumn = from->fColumn;
    fRow = from->fRow;
    SetHScrollBarLocked(from->fHLocked);
    SetVScrollBarLocked(from->fVLocked);
}
