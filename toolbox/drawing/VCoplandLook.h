// The Cop look: self-drawn with a twelve-step grey ramp (colours 37 to 48)
// and an accent ramp (49 to 58) that follows the theme's accent colours
// when the platform has them. The Theme look paints with it whatever it
// does not draw itself.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/VLookHandler.h"

class VIcon;

class VCopLookHandler : public VLookHandler {
public:
    VCopLookHandler();
    ~VCopLookHandler() override;
    VCopLookHandler(const VCopLookHandler&) = delete;
    VCopLookHandler& operator=(const VCopLookHandler&) = delete;

    bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t left, int32_t top, int32_t width,
               int32_t height, const VString* text, void* extra) override;
    uint32_t GetStdColor(StdColor color) override;
    bool GetStdFont(platform::CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                    uint8_t& italic) override;
    int32_t GetStdBehaviour(StdBehaviour behaviour) override;

    VIcon* MakeCheckIcon(VPainter* painter, PaintStatus status);
    VIcon* MakeRadioIcon(VPainter* painter, PaintStatus status);
    bool HasAppearance11() const { return fAppearance11; }

    // The theme's accent colours shared by every instance, null when the
    // platform has none; kept for the life of the process.
    static platform::CTabHandle fAccentTable;

private:
    void Button(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text, int32_t l, int32_t t,
                int32_t w, int32_t h);
    void Thumb(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h);
    void Arrow(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h);
    void PopUpBox(VPainter* painter, PaintStatus status, int32_t l, int32_t t, int32_t w, int32_t h);
    // Entry i of the accent table as a colour long, or fallback.
    uint32_t Accent(int32_t i, uint32_t fallback) const;

    VIcon* fChecks[9] = {};
    VIcon* fRadios[9] = {};
    VIcon* fDropDown = nullptr;
    bool fAppearance11 = false;
};

namespace look {
// Appearance 1.1 or later: the theme services exist and 'apvr' answers
// 0x110 or more.
bool HasAppearance11();
}  // namespace look
