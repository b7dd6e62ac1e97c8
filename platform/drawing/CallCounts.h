// Counts of the drawing calls that cost the most when repeated needlessly:
// the colour, pen and text settings, worlds and bit copies. Tests read
// them to show that code above skips calls whose effect is already in
// place; nothing else depends on them.
#pragma once

#include <cstdint>

namespace platform {

enum class DrawingCall : uint8_t {
    RGBForeColor,
    RGBBackColor,
    PenPat,
    PenMode,
    PenSize,
    BackPat,
    TextFont,
    TextFace,
    TextSize,
    TextMode,
    NewGWorld,
    DisposeGWorld,
    CopyBits,
    Count
};

uint32_t DrawingCallCount(DrawingCall call);
void ResetDrawingCallCounts();
// For the drawing services: one more call.
void CountDrawingCall(DrawingCall call);

}  // namespace platform
