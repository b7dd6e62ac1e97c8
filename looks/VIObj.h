// The drawing context of one form object: what a look handler needs to
// paint it (its widget, rectangle, colours, title and state), and, after
// the handler painted, whether the object's plain drawing is still to do.
//
// The kind of a context is the display sub-type of a variable (0 enterable,
// 1 not enterable, 2 button, 3 check box, 4 radio button, 5 pop-up menu,
// 6 scrollable area, 16 tab control, 18 to 20 frames, 29 splitter...);
// SetQzObjectType derives the widget the handler paints from it.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

class VI_Handler;

// The widgets a handler paints.
enum VIWidget : int16_t {
    kVIEditField = 0,
    kVIStaticText = 1,
    kVIScrollArea = 2,
    kVIShape = 3,
    kVIPushButton = 4,
    kVICheckBox = 5,
    kVIRadioButton = 6,
    kVIBackground = 7,
    kVIGroupFrame = 8,
    kVIRaisedFrame = 9,
    kVISunkenFrame = 10,
    kVIThermometer = 11,
    kVIRuler = 12,
    kVIDial = 13,
    kVIPopUp = 14,
    kVIComboBox = 15,
    kVISubform = 16,
    kVISplitter = 17,
    kVITabControl = 18,
    kVINone = 19,
    kVIDivider = 20,  // a line of no width or height
};

// Context flag bits.
constexpr uint32_t kVIEnabled = 1u << 0;
constexpr uint32_t kVIDefaultButton = 1u << 1;  // sub-type 28
constexpr uint32_t kVIReversed = 1u << 2;       // a line running against one axis

// Handler draw states.
constexpr int16_t kVIStateNormal = 0;
constexpr int16_t kVIStateOver = 8;  // drawn again over the unclipped port

class VIObj {
public:
    VIObj() = default;
    ~VIObj() = default;

    // The kind; with derive the widget follows from it.
    void SetQzObjectType(int16_t kind, bool derive);
    // Asks the handler (the context's own when null) to paint the context.
    void VIDraw(int16_t state, VI_Handler* handler);
    // Where the look paints the widget: the rectangle, but a check box or
    // radio button as tall as the look's box at most, centred on it.
    platform::Rect VIGetBackgroundBounds(VI_Handler* handler) const;
    // The rectangle with its width and height.
    void SetRect(const platform::Rect& r);
    // The title, at most 255 bytes.
    void SetTitle(const unsigned char* text);

    int16_t kind = 0;
    int16_t widget = kVINone;
    int32_t foreColor = 0x000000;
    int32_t backColor = 0xFFFFFF;
    int16_t lookStyle = 0;
    platform::Rect rect{};
    int16_t width = 0, height = 0;
    uint32_t flags = 0;
    VI_Handler* handler = nullptr;
    unsigned char title[256] = {};
    int16_t justification = 0;
    int16_t style = 0;  // 3: a group box's title
    int16_t extra = 0;
    // Set by the handler: the caller's plain drawing is still to do.
    bool plainToDo = true;
    // Set by the handler: the inside of what it painted, for the plain
    // drawing that follows.
    platform::Rect inner{};
};

// The widget the look paints for a kind.
int16_t WidgetOfKind(int16_t kind);
