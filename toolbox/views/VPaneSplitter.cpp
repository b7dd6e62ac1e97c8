// Pane splitter: the pane grid, its layout and resizing, commands.
#include "toolbox/views/VPaneSplitter.h"

#include <algorithm>

#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/views/VMultiSplitBar.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VSplitDragger.h"

namespace {

// New lengths for a resize along one axis: sizes[i] is track i + 1's
// length, locked[i] whether its far bar is locked. The unlocked tracks
// scale by the free space; the first one takes the rounding remainder.
std::vector<int32_t> Rescale(const std::vector<int32_t>& sizes, std::vector<bool> locked, int32_t thickness,
                             int32_t oldTotal, int32_t newTotal)
{
    const size_t n = sizes.size();
    // With every track locked nothing could give: then all of them scale.
    if (std::all_of(locked.begin(), locked.end(), [](bool b) { return b; })) locked.assign(n, false);
    int64_t fixed = int64_t(n - 1) * thickness;
    for (size_t i = 0; i < n; ++i)
        if (locked[i]) fixed += sizes[i];
    if (fixed == oldTotal) fixed = int64_t(n - 1) * thickness;
    std::vector<int32_t> out(sizes);
    const int64_t oldFree = int64_t(oldTotal) - fixed;
    const int64_t newFree = std::max<int64_t>(0, int64_t(newTotal) - fixed);
    int64_t sum = 0;
    size_t first = n;
    for (size_t i = 0; i < n; ++i) {
        if (locked[i]) {
            sum += out[i];
            continue;
        }
        if (first == n) first = i;
        if (oldFree > 0)
            out[i] = int32_t(double(sizes[i]) * double(newFree) / double(oldFree));
        else
            out[i] = 0;
        out[i] = std::max(0, out[i]);
        sum += out[i];
    }
    if (first < n) {
        const int64_t want = int64_t(newTotal) - int64_t(n - 1) * thickness;
        out[first] = int32_t(std::max<int64_t>(0, out[first] + (want - sum)));
    }
    return out;
}

}  // namespace

VPaneSplitter::VPaneSplitter(VView* parent, const VRect* rect) : VView(parent, rect)
{
    fBars = new VMultiSplitBar(this);
    fBars->SetPos(0, 0, kRedrawNone);
    fBars->SetSize(fWidth, fHeight, kRedrawNone);
}

VPaneSplitter::~VPaneSplitter() { EndScroll(); }

void VPaneSplitter::RemoveChild(VFrame* frame)
{
    if (frame == fBars) fBars = nullptr;
    auto it = std::find(fPanes.begin(), fPanes.end(), frame);
    if (it != fPanes.end()) fPanes.erase(it);
    VView::RemoveChild(frame);
}

void VPaneSplitter::DoDispose()
{
    DoCommand(this, vcmd::kEndScrollStep, 0);
    EndScroll();
    VView::DoDispose();
}

int32_t VPaneSplitter::ScrollBarWidth() const
{
    VLookHandler* look = GetLookHandler();
    return look ? look->GetStdBehaviour(2) : 16;
}

void VPaneSplitter::SetUserFrame(VSplittedPane* pane, bool resize)
{
    if (!pane) return;
    if (pane->GetParent() != this) pane->SetParent(this);
    if (std::find(fPanes.begin(), fPanes.end(), pane) == fPanes.end()) fPanes.push_back(pane);
    pane->SetColumn(1);
    pane->SetRow(1);
    fColumns = fRows = fActiveColumn = fActiveRow = 1;
    if (resize) ResetSize(0, 0);
}

VSplittedPane* VPaneSplitter::FindPane(int16_t column, int16_t row) const
{
    for (VSplittedPane* pane : fPanes)
        if (pane->GetColumn() == column && pane->GetRow() == row) return pane;
    return nullptr;
}

bool VPaneSplitter::IsActivePane(const VSplittedPane* pane) const
{
    return pane && pane->GetColumn() == fActiveColumn && pane->GetRow() == fActiveRow;
}

void VPaneSplitter::SetActivePane(const VSplittedPane* pane)
{
    if (!pane) return;
    fActiveColumn = pane->GetColumn();
    fActiveRow = pane->GetRow();
}

int32_t VPaneSplitter::GetPaneColWidth(int16_t column) const
{
    const VSplittedPane* pane = FindPane(column, 1);
    return pane ? pane->GetWidth() : 0;
}

int32_t VPaneSplitter::GetPaneRowHeight(int16_t row) const
{
    const VSplittedPane* pane = FindPane(1, row);
    return pane ? pane->GetHeight() : 0;
}

void VPaneSplitter::ShowHScrollBars(bool show, bool redraw)
{
    for (VSplittedPane* pane : fPanes)
        if (pane->GetRow() == fRows) pane->ShowHScrollBar(show, redraw);
}

void VPaneSplitter::ShowVScrollBars(bool show, bool redraw)
{
    for (VSplittedPane* pane : fPanes)
        if (pane->GetColumn() == fColumns) pane->ShowVScrollBar(show, redraw);
}

bool VPaneSplitter::IsHScrollBarsVisible() const
{
    const VSplittedPane* pane = FindPane(1, fRows);
    return pane && pane->GetHScrollBar() && pane->GetHScrollBar()->GetVisibleFlag();
}

bool VPaneSplitter::IsVScrollBarsVisible() const
{
    const VSplittedPane* pane = FindPane(fColumns, 1);
    return pane && pane->GetVScrollBar() && pane->GetVScrollBar()->GetVisibleFlag();
}

bool VPaneSplitter::IsHBarLocked(int16_t index) const { return fBars && fBars->IsHBarLocked(index); }

bool VPaneSplitter::IsVBarLocked(int16_t index) const { return fBars && fBars->IsVBarLocked(index); }

void VPaneSplitter::GetSplitLimits(int16_t column, int16_t row, int32_t& minLeft, int32_t& minTop,
                                   int32_t& minRight, int32_t& minBottom)
{
    const int32_t least = std::max<int32_t>(0, fMinPane);
    minLeft = minTop = minRight = minBottom = least;
    if (column == fColumns && IsVScrollBarsVisible()) minRight += ScrollBarWidth();
    if (row == fRows && IsHScrollBarsVisible()) minBottom += ScrollBarWidth();
}

void VPaneSplitter::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    const int32_t oldWidth = fWidth, oldHeight = fHeight;
    VView::SetSize(w, h, mode);
    if (oldWidth != fWidth || oldHeight != fHeight) ResetSize(oldWidth, oldHeight);
}

void VPaneSplitter::_ResetPanes()
{
    for (VSplittedPane* pane : std::vector<VSplittedPane*>(fPanes)) {
        const int16_t c = pane->GetColumn(), r = pane->GetRow();
        const int32_t left = c == 1 ? 0 : fBars->GetVBarPos(int16_t(c - 1)) + fThickness;
        const int32_t right = c < fColumns ? fBars->GetVBarPos(c) : fWidth;
        const int32_t top = r == 1 ? 0 : fBars->GetHBarPos(int16_t(r - 1)) + fThickness;
        const int32_t bottom = r < fRows ? fBars->GetHBarPos(r) : fHeight;
        pane->SetPos(left, top, kRedrawInval);
        pane->SetSize(std::max(0, right - left), std::max(0, bottom - top), kRedrawInval);
    }
    Redraw(kRedrawInval);
}

void VPaneSplitter::ResetSize(int32_t oldWidth, int32_t oldHeight)
{
    if (!fBars) return;
    fBars->SetPos(0, 0, kRedrawNone);
    fBars->SetSize(fWidth, fHeight, kRedrawNone);
    if (fPanes.size() == 1) {
        fPanes.front()->SetPos(0, 0, kRedrawInval);
        fPanes.front()->SetSize(fWidth, fHeight, kRedrawInval);
        return;
    }
    if (fPanes.empty()) return;
    if (oldWidth == 0 && oldHeight == 0) {
        for (const VSplittedPane* pane : fPanes) {
            oldWidth = std::max(oldWidth, pane->GetX() + pane->GetWidth());
            oldHeight = std::max(oldHeight, pane->GetY() + pane->GetHeight());
        }
    }
    fBars->SetAutoSort(false);
    if (fColumns > 1 && fWidth != oldWidth) RescaleBars(false, oldWidth, fWidth);
    if (fRows > 1 && fHeight != oldHeight) RescaleBars(true, oldHeight, fHeight);
    fBars->SetAutoSort(true);
    _ResetPanes();
}

void VPaneSplitter::RescaleBars(bool horizontal, int32_t oldLength, int32_t newLength)
{
    const int16_t count = horizontal ? fRows : fColumns;
    std::vector<int32_t> lengths;
    std::vector<bool> locked;
    for (int32_t i = 1; i <= count; ++i) {
        lengths.push_back(horizontal ? GetPaneRowHeight(i) : GetPaneColWidth(i));
        locked.push_back(horizontal ? fBars->IsHBarLocked(i) : fBars->IsVBarLocked(i));
    }
    const std::vector<int32_t> out = Rescale(lengths, locked, fThickness, oldLength, newLength);
    int32_t at = 0;
    for (int16_t i = 1; i < count; ++i) {
        at += out[size_t(i - 1)];
        if (horizontal)
            fBars->SetHBarPos(i, at);
        else
            fBars->SetVBarPos(i, at);
        at += fThickness;
    }
}

void VPaneSplitter::_MoveSplit(bool horizontal, int32_t position, int32_t distance)
{
    if (!fBars) return;
    const int16_t index = horizontal ? fBars->GetHBarIndex(position) : fBars->GetVBarIndex(position);
    if (index == 0) return;
    const int16_t count = horizontal ? fBars->CountHBars() : fBars->CountVBars();
    auto barPos = [&](int16_t i) { return horizontal ? fBars->GetHBarPos(i) : fBars->GetVBarPos(i); };
    // Where the pane before the bar starts and where the pane after it
    // ends, less the room a shown scroll bar takes at the far edge.
    const int32_t previous = index == 1 ? 0 : barPos(int16_t(index - 1)) + fThickness;
    int32_t next = 0;
    if (index < count) {
        next = barPos(int16_t(index + 1)) - fThickness;
    } else {
        next = (horizontal ? fHeight : fWidth) - fThickness;
        if (horizontal ? IsHScrollBarsVisible() : IsVScrollBarsVisible()) next -= ScrollBarWidth();
    }
    int32_t minLeft = 0, minTop = 0, minRight = 0, minBottom = 0;
    if (horizontal)
        GetSplitLimits(1, index, minLeft, minTop, minRight, minBottom);
    else
        GetSplitLimits(index, 1, minLeft, minTop, minRight, minBottom);
    const int32_t before = std::max(1, horizontal ? minTop : minLeft);
    const int32_t after = horizontal ? minBottom : minRight;
    const int32_t moved = DoAdjustSplit(horizontal, index, position + distance);
    if (moved != position) {
        if (previous + before <= moved && moved <= next - after) {
            if (horizontal)
                fBars->SetHBarPos(index, moved);
            else
                fBars->SetVBarPos(index, moved);
            _ResetPanes();
        } else {
            DoUnSplit(horizontal, index);
        }
    }
    MoreAdjustSplit();
}

intptr_t VPaneSplitter::DoCommand(VObject* sender, int32_t command, intptr_t param)
{
    if (!fParent) return 0;
    auto* pane = dynamic_cast<VSplittedPane*>(sender);
    switch (command) {
    case vcmd::kScrollH:
        if (pane) Scroll(int32_t(param), 0, pane->GetColumn(), pane->GetRow(), kRedrawNow, true);
        return 1;
    case vcmd::kScrollV:
        if (pane) Scroll(0, int32_t(param), pane->GetColumn(), pane->GetRow(), kRedrawNow, true);
        return 1;
    case vcmd::kScrollBoth: {
        const uint32_t packed = uint32_t(param);
        if (pane)
            Scroll(int16_t(uint16_t(packed >> 16)), int16_t(uint16_t(packed & 0xFFFF)), pane->GetColumn(),
                   pane->GetRow(), kRedrawNow, true);
        return 1;
    }
    case vcmd::kRelayout:
        ResetSize(0, 0);
        return 1;
    case vcmd::kSplitNew: {
        auto* area = dynamic_cast<VFrame*>(sender);
        auto* owner = area ? dynamic_cast<VSplittedPane*>(area->GetParent()) : nullptr;
        if (!owner || !param) return 0;
        return TryNewSplit(owner, area, *reinterpret_cast<VClic*>(param)) ? 1 : 0;
    }
    case vcmd::kSplitBarDragged: {
        const uint32_t packed = uint32_t(param);
        const int32_t signedPos = int16_t(uint16_t(packed >> 16));
        _MoveSplit(signedPos < 0, signedPos < 0 ? -signedPos : signedPos, int16_t(uint16_t(packed & 0xFFFF)));
        return 1;
    }
    case vcmd::kSplitRemove: {
        const bool horizontal = param < 0;
        const int32_t position = int32_t(horizontal ? -param : param);
        if (fBars) {
            const int16_t index = horizontal ? fBars->GetHBarIndex(position) : fBars->GetVBarIndex(position);
            if (index) DoUnSplit(horizontal, index);
        }
        return 1;
    }
    case vcmd::kFindFocusedView: {
        auto* out = reinterpret_cast<VScrolledView**>(param);
        for (VSplittedPane* each : std::vector<VSplittedPane*>(fPanes)) {
            if (out && *out) break;
            each->DoCommand(this, command, param);
        }
        return 1;
    }
    case vcmd::kBeginScrollStep:
        BeginScroll();
        return 1;
    case vcmd::kEndScrollStep:
        EndScroll();
        return 1;
    default:
        return VView::DoCommand(sender, command, param);
    }
}

void VPaneSplitter::BeginScroll()
{
    if (fScrollPainter) return;
    VPainter* painter = GetPainter();
    if (!painter) return;
    painter->SaveClip(false);
    painter->ClipFrame(this, nullptr, true);
    painter->BeginOffscreen(this);
    fScrollPainter = painter;
}

void VPaneSplitter::EndScroll()
{
    if (!fScrollPainter) return;
    VPainter* painter = fScrollPainter;
    fScrollPainter = nullptr;
    painter->ForgetOffscreen();
    painter->RestoreClip();
    ReleasePainter();
}

bool VPaneSplitter::TryNewSplit(VSplittedPane* pane, VFrame* area, VClic& clic)
{
    auto* splitArea = dynamic_cast<VSplitArea*>(area);
    if (!splitArea) return false;
    const bool horizontal = splitArea->IsVertical();
    int32_t x = 0, y = 0;
    clic.GetPos(x, y);
    VClic at(clic);
    at.SetPos(x + area->GetX() + pane->GetX(), y + area->GetY() + pane->GetY());
    int32_t minLeft = 0, minTop = 0, minRight = 0, minBottom = 0;
    GetSplitLimits(pane->GetColumn(), pane->GetRow(), minLeft, minTop, minRight, minBottom);
    const int32_t start = horizontal ? pane->GetY() + area->GetY() : pane->GetX() + area->GetX();
    const int32_t paneStart = horizontal ? pane->GetY() : pane->GetX();
    const int32_t paneLength = horizontal ? pane->GetHeight() : pane->GetWidth();
    const VRect bar = horizontal ? VRect(0, start, fWidth, fThickness) : VRect(start, 0, fThickness, fHeight);
    VSplitDragger dragger(this, at, horizontal, start, paneStart, paneStart + paneLength, bar);
    dragger.RunTheOldWay();
    const int32_t d = dragger.GetPosition() - start;
    const int32_t minBefore = horizontal ? minTop : minLeft;
    const int32_t minAfter = horizontal ? minBottom : minRight;
    if (d > minBefore && paneStart + minBefore < start + d && start + d < paneStart + paneLength - minAfter)
        return DoSplit(horizontal, horizontal ? pane->GetRow() : pane->GetColumn(), d, false, false);
    return false;
}
