#include "toolbox/views/VMultiSplitBar.h"

#include <algorithm>
#include <numeric>

#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/views/VPaneSplitter.h"
#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VSplitDragger.h"

namespace {

bool InRange(int16_t index, size_t count) { return index >= 1 && size_t(index) <= count; }

// Packs a bar's position (negated for a horizontal bar) and a distance
// into the high and low 16 bits of a command parameter.
intptr_t PackBarMove(bool horizontal, int32_t position, int32_t distance)
{
    const int32_t signedPos = horizontal ? -position : position;
    const uint32_t packed = (uint32_t(uint16_t(int16_t(signedPos))) << 16) | uint16_t(int16_t(distance));
    return intptr_t(int32_t(packed));
}

}  // namespace

VMultiSplitBar::VMultiSplitBar(VPaneSplitter* parent) : VFrame(parent, nullptr) {}

VPaneSplitter* VMultiSplitBar::Splitter() const { return dynamic_cast<VPaneSplitter*>(fParent); }

void VMultiSplitBar::Sort(std::vector<int32_t>& pos, std::vector<bool>& locks)
{
    std::vector<size_t> order(pos.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pos[a] < pos[b]; });
    std::vector<int32_t> p;
    std::vector<bool> l;
    for (size_t i : order) {
        p.push_back(pos[i]);
        l.push_back(locks[i]);
    }
    pos.swap(p);
    locks.swap(l);
}

void VMultiSplitBar::SetAutoSort(bool on)
{
    fAutoSort = on;
    if (on) {
        Sort(fHPos, fHLocks);
        Sort(fVPos, fVLocks);
    }
}

void VMultiSplitBar::AddHBar(int32_t position, bool locked)
{
    fHPos.push_back(position);
    fHLocks.push_back(locked);
    if (fAutoSort) Sort(fHPos, fHLocks);
}

void VMultiSplitBar::AddVBar(int32_t position, bool locked)
{
    fVPos.push_back(position);
    fVLocks.push_back(locked);
    if (fAutoSort) Sort(fVPos, fVLocks);
}

void VMultiSplitBar::MoveHBar(int32_t oldPosition, int32_t newPosition)
{
    SetHBarPos(GetHBarIndex(oldPosition), newPosition);
}

void VMultiSplitBar::MoveVBar(int32_t oldPosition, int32_t newPosition)
{
    SetVBarPos(GetVBarIndex(oldPosition), newPosition);
}

void VMultiSplitBar::SetHBarPos(int16_t index, int32_t position)
{
    if (!InRange(index, fHPos.size())) return;
    fHPos[size_t(index - 1)] = position;
    if (fAutoSort) Sort(fHPos, fHLocks);
}

void VMultiSplitBar::SetVBarPos(int16_t index, int32_t position)
{
    if (!InRange(index, fVPos.size())) return;
    fVPos[size_t(index - 1)] = position;
    if (fAutoSort) Sort(fVPos, fVLocks);
}

int32_t VMultiSplitBar::GetHBarPos(int16_t index) const
{
    return InRange(index, fHPos.size()) ? fHPos[size_t(index - 1)] : 0;
}

int32_t VMultiSplitBar::GetVBarPos(int16_t index) const
{
    return InRange(index, fVPos.size()) ? fVPos[size_t(index - 1)] : 0;
}

int16_t VMultiSplitBar::GetHBarIndex(int32_t position) const
{
    auto it = std::find(fHPos.begin(), fHPos.end(), position);
    return it == fHPos.end() ? 0 : int16_t(it - fHPos.begin() + 1);
}

int16_t VMultiSplitBar::GetVBarIndex(int32_t position) const
{
    auto it = std::find(fVPos.begin(), fVPos.end(), position);
    return it == fVPos.end() ? 0 : int16_t(it - fVPos.begin() + 1);
}

void VMultiSplitBar::KillHBar(int16_t index)
{
    if (!InRange(index, fHPos.size())) return;
    fHPos.erase(fHPos.begin() + (index - 1));
    fHLocks.erase(fHLocks.begin() + (index - 1));
}

void VMultiSplitBar::KillVBar(int16_t index)
{
    if (!InRange(index, fVPos.size())) return;
    fVPos.erase(fVPos.begin() + (index - 1));
    fVLocks.erase(fVLocks.begin() + (index - 1));
}

bool VMultiSplitBar::IsHBarLocked(int16_t index) const
{
    if (index == CountHBars() + 1) return fLastHLocked;
    return InRange(index, fHLocks.size()) && fHLocks[size_t(index - 1)];
}

bool VMultiSplitBar::IsVBarLocked(int16_t index) const
{
    if (index == CountVBars() + 1) return fLastVLocked;
    return InRange(index, fVLocks.size()) && fVLocks[size_t(index - 1)];
}

VMultiSplitBar::Hit VMultiSplitBar::FindBar(const VPoint& p) const
{
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    const int32_t thickness = Splitter() ? Splitter()->GetBarThickness() : 5;
    Hit hit;
    if (x < 0 || y < 0 || x >= fWidth || y >= fHeight) return hit;
    // The bar covers [position, position + thickness).
    for (size_t i = 0; i < fHPos.size(); ++i)
        if (y >= fHPos[i] && y < fHPos[i] + thickness) return Hit{true, int16_t(i + 1)};
    for (size_t i = 0; i < fVPos.size(); ++i)
        if (x >= fVPos[i] && x < fVPos[i] + thickness) return Hit{false, int16_t(i + 1)};
    return hit;
}

bool VMultiSplitBar::IsLocked(const Hit& hit) const
{
    return hit.horizontal ? IsHBarLocked(hit.index) : IsVBarLocked(hit.index);
}

bool VMultiSplitBar::HitTestNoOffset(const VPoint& p) const { return FindBar(p).index != 0; }

bool VMultiSplitBar::HitTest(const VPoint& p) const
{
    int32_t x = 0, y = 0;
    p.GetPos(x, y);
    return FindBar(VPoint(x - fX, y - fY)).index != 0;
}

VFrame* VMultiSplitBar::GetTargetFrame(const VPoint& p, bool clickableOnly)
{
    // Only over a bar: everywhere else the panes below take the click.
    if (!IsVisible() || (clickableOnly && !IsClickable())) return nullptr;
    return HitTest(p) ? this : nullptr;
}

uint32_t VMultiSplitBar::FindCursor(const VPoint& p) const
{
    const Hit hit = FindBar(p);
    if (!hit.index || IsLocked(hit)) return 0;
    return hit.horizontal ? 9011 : 9010;
}

void VMultiSplitBar::DoPaint(VPainter* painter)
{
    if (!painter) return;
    const int32_t thickness = Splitter() ? Splitter()->GetBarThickness() : 5;
    auto paint = [&](const VRect& r, bool horizontal) {
        if (thickness < 4) {
            painter->SetFillStdColor(10);
            painter->SetFillStdPattern(kPatternBlack);
            painter->FillVRect(r);
            return;
        }
        StandardPaint(painter, kPaintPanel, kStatusNormal, &r);
        StandardPaint(painter, kPaintRaisedEdge, kStatusNormal, &r);
        painter->SetLineStdColor(10);
        // Along the bar's far edge.
        if (horizontal)
            painter->DrawVLine(r.GetLeft(), r.GetTop() + thickness - 1, r.GetLeft() + r.GetWidth() - 1,
                               r.GetTop() + thickness - 1);
        else
            painter->DrawVLine(r.GetLeft() + thickness - 1, r.GetTop(), r.GetLeft() + thickness - 1,
                               r.GetTop() + r.GetHeight() - 1);
    };
    for (int32_t pos : fHPos) paint(VRect(0, pos, fWidth - 1, thickness), true);
    for (int32_t pos : fVPos) paint(VRect(pos, 0, thickness, fHeight - 1), false);
}

bool VMultiSplitBar::DoLeftMouse(VClic& clic)
{
    const Hit hit = FindBar(clic);
    if (!hit.index) return false;
    if (IsLocked(hit)) return true;
    VPaneSplitter* splitter = Splitter();
    const std::vector<int32_t>& positions = hit.horizontal ? fHPos : fVPos;
    const int32_t position = positions[size_t(hit.index - 1)];
    if (clic.IsADoubleClic()) {
        DoCommand(this, vcmd::kSplitRemove, hit.horizontal ? -position : position);
        return true;
    }
    const int32_t thickness = splitter ? splitter->GetBarThickness() : 5;
    const int32_t minimum = hit.index > 1 ? positions[size_t(hit.index - 2)] + thickness : 0;
    int32_t maximum = 0;
    if (size_t(hit.index) < positions.size()) {
        maximum = positions[size_t(hit.index)] - thickness;
    } else {
        maximum = (hit.horizontal ? fHeight : fWidth) - thickness;
        if (splitter && (hit.horizontal ? splitter->IsHScrollBarsVisible() : splitter->IsVScrollBarsVisible()))
            maximum -= splitter->ScrollBarWidth();
    }
    const VRect bar = hit.horizontal ? VRect(0, position, fWidth, thickness) : VRect(position, 0, thickness, fHeight);
    VSplitDragger dragger(this, clic, hit.horizontal, position, minimum, maximum, bar);
    dragger.RunTheOldWay();
    DoCommand(this, vcmd::kSplitBarDragged, PackBarMove(hit.horizontal, position, dragger.GetPosition() - position));
    return true;
}
