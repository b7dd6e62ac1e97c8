// The small drawing services of the form looks: standard colours of a
// look, the port's colours saved and put back, the scroll bar width,
// rectangles put in order, text-box justification, the kernel's plain line
// and boolean drawing, clipping to a section, and the growable tables the
// looks keep.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/foundation/Colors.h"

class VI_Handler;

// The height of a tab control's row of tabs.
constexpr int16_t kTabRowHeight = 20;

// A standard colour of the handler's look (the default handler's for
// none) as the port's foreground or background.
void VISysForeColor(StdColor color, VI_Handler* handler);
void VISysBackColor(StdColor color, VI_Handler* handler);

struct ForeBack {
    platform::RGBColor fore{0, 0, 0};
    platform::RGBColor back{0xFFFF, 0xFFFF, 0xFFFF};
};
void SaveForeBack(ForeBack* saved);
void RestoreForeBack(const ForeBack* saved);

// The platform's scroll bar width (16 when the platform does not say).
int16_t GetScrollBarSize();
// Swaps the corners that run backwards; true when exactly one axis ran
// backwards (the line it stands for rises to the right).
bool MakePositiveRect(platform::Rect* r);
// The text-box justification (-2 left one pixel in, -1 right, 0 by the
// system's direction, 1 centred) of a stored one: those four stay, 2 is
// right and 3 centred, anything else 0.
int16_t TransformJustif(int16_t justification);

// A line of the pen size (width x height) across the rectangle: from its
// top-left to its bottom-right corner, or, reversed, from the bottom-left
// to the top-right; the corners are where the pen's top-left lands.
void drawtrait(const platform::Rect& r, int16_t penWidth, int16_t penHeight, bool reversed);
// A boolean shown plainly: a 10-pixel box (crossed when on) centred on the
// rectangle's height at its left, the title 4 pixels after it.
void drawbool(const platform::Rect& r, bool on, const unsigned char* title);

// Clips the current port to r within its clip, and gives the clip back
// when it ends.
class ClipSection {
public:
    explicit ClipSection(const platform::Rect& r);
    ~ClipSection();
    ClipSection(const ClipSection&) = delete;
    ClipSection& operator=(const ClipSection&) = delete;

private:
    platform::RgnHandle saved_ = nullptr;
};

// Tables of fixed-size elements: a big-endian header of the count and the
// element size (4 bytes each), then the elements.
platform::Handle NewTab(int32_t elementSize);
// Appends one cleared element: its index, or -1 when memory is short or
// the handle is no table.
int32_t Add1Elem(platform::Handle table);
int32_t TabCount(platform::Handle table);
