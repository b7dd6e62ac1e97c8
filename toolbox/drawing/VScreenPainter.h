// The painter of windows and menus: draws a frame's area into an offscreen
// world and copies it to the window in one step, so nothing flickers.
// While an offscreen is open the painter's current port is the world and
// window coordinates of the frame's area land at the world's origin.
#pragma once

#include "toolbox/drawing/VPainter.h"

class VScreenPainter : public VPainter {
public:
    explicit VScreenPainter(platform::CGrafPtr port);
    ~VScreenPainter() override;

    // Opens an offscreen over the frame's area. Ignored while one is open;
    // when no world can be made, drawing goes on directly to the window.
    void BeginOffscreen(IPainterFrame* frame) override;
    // Copies the whole offscreen, the part under rect (frame coordinates)
    // or the whole through region (frame coordinates) to the window. keep
    // leaves it open for more drawing; otherwise it is closed.
    void EndOffscreen(bool keep) override;
    void EndOffscreen(const VRect& rect, bool keep) override;
    void EndOffscreen(const VRegion& region, bool keep) override;
    void Reset() override;
    // Closes an open offscreen without copying it.
    void ForgetOffscreen() override;

private:
    void EndOffscreen(const VRect* rect, const VRegion* region, bool keep);
    void DrawPendingGrowIcon();
    // Back on the window, nothing of the world's brushes holds.
    void BackOnWindow();
};
