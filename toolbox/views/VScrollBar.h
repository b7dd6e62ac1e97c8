// The toolbox's own scroll bar, measured and drawn through the look: two
// arrows, a track and a thumb whose place shows value / maximum.
#pragma once

#include "toolbox/views/VFrame.h"

class VViewScroller;

// 0 none, 1 up/left arrow, 2 down/right arrow, 3 page up/left, 4 page
// down/right, 5 thumb; 6 and 7 are painting steps.
using ScrollPart = int16_t;

class VScrollBar : public VFrame {
public:
    VScrollBar(VViewScroller* parent, bool horizontal, bool alternate);

    void SetSize(int32_t w, int32_t h, RedrawMode mode) override;
    void DoPaint(VPainter* painter) override;
    bool DoLeftMouse(VClic& clic) override;
    void DoForeGround(bool on) override;
    void SetLook(StdLook look) override;
    virtual void SetEnabled(bool on, RedrawMode mode);

    void SetScroll(int32_t value, RedrawMode mode);
    void SetMax(int32_t max, RedrawMode mode);
    void SetRange(int32_t page, RedrawMode mode);
    void SetLocked(bool on);
    void ResetSize();
    // The thumb's offset from the bar's start, and its length.
    void GetThumbCoords(int32_t& start, int32_t& length) const;
    ScrollPart GetScrollPart(int32_t x, int32_t y) const;
    void PaintPart(VPainter* painter, ScrollPart part);

    int32_t GetValue() const { return fValue; }
    int32_t GetMax() const { return fMax; }
    int32_t GetPage() const { return fPage; }
    int32_t GetThumbLength() const { return fThumbLength; }
    int32_t GetTrackLength() const { return fTrackLength; }
    bool IsHorizontal() const { return fHorizontal; }
    bool IsEnabled() const { return fEnabled; }
    ScrollPart GetPressedPart() const { return fPressed; }

private:
    int32_t Thickness() const { return fHorizontal ? fHeight : fWidth; }
    int32_t Length() const { return fHorizontal ? fWidth : fHeight; }
    int32_t Behaviour(int16_t index) const;
    bool TooSmall() const;
    int32_t TrackStart() const { return Thickness() - 1; }
    void Step(ScrollPart part, int32_t amount);

    int32_t fMax = 0;
    int32_t fValue = 0;
    int32_t fPage = 0;
    int32_t fThumbLength = 0;
    int32_t fTrackLength = 0;
    ScrollPart fPressed = 0;
    bool fHorizontal;
    bool fForeground = false;
    bool fEnabled = true;
    bool fLocked = false;
    int32_t fArrowsStyle = 0;
    bool fAlternate;
    int16_t fColour = 17;
};
