// The kernel's drawings of the controls a variable stands for (pop-up
// menu, combo box, tab control, 3D frame, button grid), each drawn from a
// variable drawing record with plain platform calls in the record's font
// and colours, and the highlight inversion of the item lists.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/events/Events.h"

class VI_Handler;

// What the control drawings know of a variable (VarObject::BuildLienObj).
struct LienObj {
    platform::Rect rect{};
    int16_t justification = 0;  // a text-box justification (TransformJustif)
    int16_t font = 0, size = 0, face = 0;
    VI_Handler* handler = nullptr;
    bool keepBackground = false;  // editOption2: drawn over what lies below
    int32_t foreColor = 0x000000;  // 0xRRGGBB; negative: black
    int32_t backColor = 0xFFFFFF;  // 0xRRGGBB; negative: white
    int16_t subType = 0;
    unsigned char title[256] = {};  // the display format
};

// Geometry shared with the tests.
constexpr int16_t kPopupArrowRoom = 14;  // the arrow's part of a pop-up box
constexpr int16_t kControlTextInset = 4;
constexpr int16_t kTabPadding = 8;       // each side of a tab's title

// The n-th (1-based) ";"-separated entry of a text; empty past the last.
void FormatEntry(const unsigned char* text, int16_t n, unsigned char* out);
// The number of ";"-separated entries (0 for an empty text).
int16_t FormatEntryCount(const unsigned char* text);

// A pop-up menu: a box with a one-pixel shadow right of and below it, the
// text (the title, else the format's first entry) from its left and a
// down arrow at its right.
void DrawPopupInStruct(const LienObj* record, const unsigned char* title, const unsigned char* format);
// A combo box: an entry box with the title and, at its right, a button of
// the scroll bar width holding a down arrow.
void DrawComboInStruct(const LienObj* record, const unsigned char* title);
// The tabs of a tab control along the top of r, one per entry of the
// record's title (the label alone when it has none), the first in front:
// the panel below them is the handler's. `defaultStyle`, the variable's
// default style, leaves the tabs in the record's font.
void DrawTabInStruct(const LienObj* record, const platform::Rect& r, const unsigned char* label,
                     platform::Handle defaultStyle, VI_Handler* handler);
// A 3D frame of r by the record's sub-type: 19 raised, 20 sunken, 18 (and
// any other value) etched; light edges white, dark ones grey.
void Draw3DFrameInStruct(const LienObj* record, const platform::Rect& r, VI_Handler* handler);
// A row of buttons across the record's rectangle, one per entry of its
// title (one without a title), each framed with its entry centred; the
// last takes what the division leaves.
void DrawButtonGridInStruct(const LienObj* record);

// Inverts r: with the highlight colour unless `plain`.
void InvertHilite(const platform::Rect& r, bool plain);

// The event handler of pop-up buttons: reads the event's kind; no error.
int16_t PopupButtonProc(const platform::EventRecord* event);
