// The Mac look: flat grey widgets with one-pixel bevels, drawn with the
// painter's shapes and text and four arrow icons.
#pragma once

#include "toolbox/drawing/VLookHandler.h"

class VIcon;

class VMacLookHandler : public VLookHandler {
public:
    VMacLookHandler() = default;
    ~VMacLookHandler() override;
    VMacLookHandler(const VMacLookHandler&) = delete;
    VMacLookHandler& operator=(const VMacLookHandler&) = delete;

    bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t left, int32_t top, int32_t width,
               int32_t height, const VString* text, void* extra) override;
    uint32_t GetStdColor(StdColor color) override;
    bool GetStdFont(platform::CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                    uint8_t& italic) override;
    int32_t GetStdBehaviour(StdBehaviour behaviour) override;

    // The arrow icon of a scroll arrow method (26 to 30), loaded once.
    VIcon* MakeScrollIcon(VPainter* painter, PaintMethod method);

private:
    VIcon* fLeft = nullptr;
    VIcon* fRight = nullptr;
    VIcon* fUp = nullptr;
    VIcon* fDown = nullptr;
};
