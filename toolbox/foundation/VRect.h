// A rectangle of the toolbox's 32-bit plane.
#pragma once

#include "platform/core/MacTypes.h"
#include "toolbox/foundation/VShape.h"

class VFrame;

class VRect : public VShape {
public:
    VRect() = default;
    VRect(int32_t left, int32_t top, int32_t width, int32_t height) : VShape(left, top, width, height) {}
    VRect(const VRect& other) : VShape(other) {}
    // The frame's position (relative to its parent view) and size.
    explicit VRect(const VFrame& frame);
    explicit VRect(const platform::Rect& r);

    VRect& operator=(const VRect& other);
    void FromFrame(const VFrame& frame);

    // Becomes the common part of both shapes; touching or disjoint shapes
    // give an empty rectangle at (0, 0).
    void Intersect(const VShape& s);
    // Each coordinate clamped to 16 bits.
    void ToMacRect(platform::Rect& r) const;
};

// How a frame's left, top, width and height are read; the views layer
// installs it at start-up. Without it a frame gives an empty rectangle.
using FrameBoundsProc = void (*)(const VFrame& frame, int32_t& left, int32_t& top, int32_t& width,
                                 int32_t& height);
void SetFrameBoundsProc(FrameBoundsProc proc);
