// The Theme look: widget parts drawn by the platform's theme (buttons, edit
// frames, menus, separators, scroll bars, list headers, backgrounds), a
// few colours, fonts and metrics read from the theme, and everything else
// handed to an embedded Cop look, which paints alone on systems whose
// theme is older than 1.1.
#pragma once

#include "platform/theme/Theme.h"
#include "toolbox/drawing/VCoplandLook.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VMacThemeDrawContext.h"

class VIcon;

class VMacThemeLookHandler : public VLookHandler {
public:
    VMacThemeLookHandler();
    ~VMacThemeLookHandler() override;
    VMacThemeLookHandler(const VMacThemeLookHandler&) = delete;
    VMacThemeLookHandler& operator=(const VMacThemeLookHandler&) = delete;

    bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t left, int32_t top, int32_t width,
               int32_t height, const VString* text, void* extra) override;
    uint32_t GetStdColor(StdColor color) override;
    bool GetStdFont(platform::CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                    uint8_t& italic) override;
    int32_t GetStdBehaviour(StdBehaviour behaviour) override;

    VCopLookHandler& GetCopLook() { return fCop; }

private:
    // The painter rectangle in the port's coordinates.
    platform::Rect PortRect(VPainter* painter, int32_t l, int32_t t, int32_t w, int32_t h) const;
    void Background(VPainter* painter, const platform::Rect& r);
    void EditField(VPainter* painter, PaintStatus status, const VString* text, const platform::Rect& r, int32_t l,
                   int32_t t, int32_t w, int32_t h);
    void MenuPart(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                  const platform::Rect& r, int32_t l, int32_t t, int32_t w, int32_t h, void* extra);
    void Button(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                const platform::Rect& r, int32_t l, int32_t t, int32_t w, int32_t h);
    void xDrawCheckOrRadio(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                           const platform::Rect& r, int32_t l, int32_t t, int32_t w, int32_t h);
    void DropDownArrow(VPainter* painter, PaintStatus status, const platform::Rect& r, int32_t l, int32_t t,
                       int32_t w, int32_t h);
    void xPaintScrollBar(VPainter* painter, PaintStatus status, const platform::Rect& r, int32_t w, int32_t h,
                         const void* record);
    void DrawListHeaderItem(VPainter* painter, PaintMethod method, PaintStatus status, uint16_t flags,
                            const platform::Rect& r);
    // One theme button between UsePainter and Release.
    void ThemeButton(VPainter* painter, const platform::Rect& r, platform::ThemeButtonKind kind,
                     platform::ThemeDrawState state, platform::ThemeButtonValue value,
                     platform::ThemeButtonAdornment adornment, platform::ThemeButtonDrawUPP label, void* userData);

    VIcon* fDropDown = nullptr;
    bool fAppearance11 = false;
    VCopLookHandler fCop;
    VMacThemeDrawContext fContext;
    platform::ThemeButtonDrawUPP fLabelProc = nullptr;
};

// The label procedure of theme check boxes and radio buttons: draws
// nothing, and keeps the label rectangle the platform computed in the Rect
// at userData.
void MACTheme_DrawProc_RadioCheck(const platform::Rect* bounds, platform::ThemeButtonKind kind,
                                  const platform::ThemeButtonDrawInfo* info, uintptr_t userData, int16_t depth,
                                  platform::Boolean isColorDev);
// The platform's theme button in the current graphics world.
platform::OSStatus myDrawThemeButton(const platform::Rect* bounds, platform::ThemeButtonKind kind,
                                     const platform::ThemeButtonDrawInfo* info,
                                     const platform::ThemeButtonDrawInfo* previous, platform::ThemeEraseUPP eraseProc,
                                     platform::ThemeButtonDrawUPP labelProc, uintptr_t userData);
