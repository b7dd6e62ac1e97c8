// The frame that lies over a whole pane splitter and draws, hit-tests and
// drags its bars. A bar's position is its top (horizontal bar) or left
// (vertical bar) edge in splitter coordinates; bar i lies between row
// (column) i and i + 1. Bars are numbered from 1.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/views/VFrame.h"

class VPaneSplitter;

class VMultiSplitBar : public VFrame {
public:
    explicit VMultiSplitBar(VPaneSplitter* parent);

    bool HitTestNoOffset(const VPoint& p) const override;
    bool HitTest(const VPoint& p) const override;
    void DoPaint(VPainter* painter) override;
    bool DoLeftMouse(VClic& clic) override;
    uint32_t FindCursor(const VPoint& p) const override;
    VFrame* GetTargetFrame(const VPoint& p, bool clickableOnly) override;

    void AddHBar(int32_t position, bool locked);
    void AddVBar(int32_t position, bool locked);
    void MoveHBar(int32_t oldPosition, int32_t newPosition);
    void MoveVBar(int32_t oldPosition, int32_t newPosition);
    void SetHBarPos(int16_t index, int32_t position);
    void SetVBarPos(int16_t index, int32_t position);
    // 0 outside 1..count.
    int32_t GetHBarPos(int16_t index) const;
    int32_t GetVBarPos(int16_t index) const;
    // 0 when no bar lies there.
    int16_t GetHBarIndex(int32_t position) const;
    int16_t GetVBarIndex(int32_t position) const;
    void KillHBar(int16_t index);
    void KillVBar(int16_t index);
    int16_t CountHBars() const { return int16_t(fHPos.size()); }
    int16_t CountVBars() const { return int16_t(fVPos.size()); }
    // For count + 1 (the last pane's outer edge) the last-bar byte.
    bool IsHBarLocked(int16_t index) const;
    bool IsVBarLocked(int16_t index) const;
    void SetLastHBarLocked(bool on) { fLastHLocked = on; }
    void SetLastVBarLocked(bool on) { fLastVLocked = on; }
    // Off while a resize places the bars one by one.
    void SetAutoSort(bool on);

private:
    struct Hit {
        bool horizontal = false;
        int16_t index = 0;  // 0: no bar
    };
    Hit FindBar(const VPoint& p) const;
    bool IsLocked(const Hit& hit) const;
    static void Sort(std::vector<int32_t>& pos, std::vector<bool>& locks);
    VPaneSplitter* Splitter() const;

    std::vector<int32_t> fHPos;
    std::vector<bool> fHLocks;
    std::vector<int32_t> fVPos;
    std::vector<bool> fVLocks;
    bool fLastVLocked = false;
    bool fLastHLocked = false;
    bool fAutoSort = true;
};
