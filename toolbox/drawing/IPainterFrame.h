// What a painter needs of a frame of the views layer: where it lies in its
// window and on the desktop, its size, and the scroll position of a
// scrolled view. The views layer's frames implement it; the painter never
// reaches further into a frame.
#pragma once

#include <cstdint>

class IPainterFrame {
public:
    virtual ~IPainterFrame() = default;

    // Top left in the window's coordinates.
    virtual void GetPosInWindow(int32_t& x, int32_t& y) const = 0;
    // Top left in global (desktop) coordinates.
    virtual void GetPosInDesktop(int32_t& x, int32_t& y) const = 0;
    virtual int32_t GetWidth() const = 0;
    virtual int32_t GetHeight() const = 0;
    virtual bool IsAScrolledView() const { return false; }
    // The scrolled view's scroll position; (0, 0) for other frames.
    virtual void GetScrollPos(int32_t& x, int32_t& y) const
    {
        x = 0;
        y = 0;
    }
};
