// The drawing object of the toolbox: bound to one port (a window's, an
// offscreen world or a scratch port), it records colours, patterns, pen
// width, transfer modes and font without touching the port and applies
// only what changed just before it draws. Coordinates are moved by an
// origin offset kept on a stack and clamped to 16 bits at the platform;
// rectangles are (x, y, width, height). Standard colours, patterns and
// fonts come from the look handler of the painter's look.
//
// A painter with no port bound draws, clips and applies nothing.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/drawing/LookTypes.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"

namespace platform {
struct OpaqueThemeDrawingState;
}

class IPainterFrame;
class VLookHandler;
class VRect;
class VRegion;
class VString;

class VPainter : public VObject {
public:
    // Bound to port (may be null); with normalize, binding resets the
    // port's pen and colours and applies the standard settings.
    VPainter(platform::CGrafPtr port, bool normalize);
    VPainter();
    ~VPainter() override;
    VPainter(const VPainter&) = delete;
    VPainter& operator=(const VPainter&) = delete;

    // Offscreen double buffering: nothing in a plain painter.
    virtual void BeginOffscreen(IPainterFrame* frame);
    virtual void EndOffscreen(bool keep);
    virtual void EndOffscreen(const VRect& rect, bool keep);
    virtual void EndOffscreen(const VRegion& region, bool keep);
    // Back to a clean state: stacks emptied, offset 0, the port's pen and
    // colours normal, every brush to be applied afresh. Settings are kept.
    virtual void Reset();
    virtual void ForgetOffscreen();
    virtual bool IsPictureRecorder() const;
    virtual bool IsPrinterPainter() const;
    virtual int32_t GetWidth() const;
    virtual int32_t GetHeight() const;

    // A drawing pass. Nested calls count; only the outermost pair binds
    // (port null: the platform's current port) and unbinds, and only
    // while no offscreen is open.
    void BeginPaint(platform::CGrafPtr port);
    void EndPaint();
    void FlushCalls() {}
    static bool IsAppearanceAvailable();

    platform::CGrafPtr GetCurPort() const { return fCurPort; }
    platform::CGrafPtr GetOwnPort() const { return fOwnPort; }
    uint32_t GetPortID() const { return fPortID; }
    int32_t GetPaintLevel() const { return fPaintLevel; }

    // Origin offset.
    void AddOffset(int32_t dx, int32_t dy);
    void RestoreOffset();
    void GetOffset(int32_t& x, int32_t& y) const;
    void GetOffscreenOffset(int32_t& x, int32_t& y) const;

    // Clipping of the current port; intersect keeps only what is also in
    // the present clip, else the shape replaces it.
    void SaveClip(bool toPort);
    void RestoreClip();
    void ClipVRect(const VRect& rect, bool intersect);
    void ClipVRegion(const VRegion& region, bool intersect);
    void ClipVRegionDirect(const VRegion& region, bool intersect);
    void ClipFrame(const IPainterFrame* frame, const VRect* rect, bool intersect);
    bool FrameIsInClip(const IPainterFrame* frame, const VRect* rect) const;
    bool VRectIsInClip(const VRect& rect) const;

    // Settings: recorded only, applied by the next drawing.
    void SetLineColor(uint32_t color);
    void SetLinePattern(const platform::Pattern& pattern);
    void SetLineWidth(double width);
    void SetLineStdColor(StdColor color);
    void SetLineStdPattern(PatternStyle style);
    void SetFillColor(uint32_t color);
    void SetFillPattern(const platform::Pattern& pattern);
    void SetFillStdColor(StdColor color);
    void SetFillStdPattern(PatternStyle style);
    void SetEraseColor(uint32_t color);
    void SetEraseStdColor(StdColor color);
    void SetTextColor(uint32_t color);
    void SetTextColor(uint8_t red, uint8_t green, uint8_t blue);
    void SetTextStdColor(StdColor color);
    // Both answer the previous mode.
    TransferMode SetDrawingTransferMode(TransferMode mode);
    TransferMode SetTextTransferMode(TransferMode mode);
    void SetFont(const VString& name);
    void SetFontSize(double size, bool unused = false);
    void SetFontBold(bool on);
    void SetFontItalic(bool on);
    void SetFontUnderline(bool on);
    void SetStdFont(StdFont font);

    uint32_t GetLineColor() const { return fLineColor; }
    const platform::Pattern& GetLinePattern() const { return fLinePattern; }
    double GetLineWidth() const { return fLineWidth; }
    uint32_t GetFillColor() const { return fFillColor; }
    const platform::Pattern& GetFillPattern() const { return fFillPattern; }
    uint32_t GetEraseColor() const { return fEraseColor; }
    uint32_t GetTextColor() const { return fTextColor; }
    void GetTextColor(uint8_t& red, uint8_t& green, uint8_t& blue) const;
    TransferMode GetDrawingTransferMode() const { return fDrawingMode; }
    TransferMode GetTextTransferMode() const { return fTextMode; }
    void GetFont(VString& name) const;
    double GetFontSize() const { return fFontSize; }
    bool GetFontBold() const { return fFace & 1; }
    bool GetFontItalic() const { return fFace & 2; }
    bool GetFontUnderline() const { return fFace & 4; }
    bool GetFontOutline() const { return fFace & 8; }
    int16_t GetFontDirtyMask() const { return fFontDirty; }
    // The look handler's colour for the index (the built-in table without
    // a handler).
    uint32_t GetStdColor(StdColor color) const;
    StdLook GetLook() const { return fLook; }
    // Answers the previous look; the painter keeps look 3 or 5.
    StdLook SetLook(StdLook look);
    VLookHandler* GetLookHandler() const { return fLookHandler; }

    // Shapes, (x, y, width, height) in painter coordinates.
    void FillVRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void FillVRect(const VRect& r);
    void FrameVRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void FrameVRect(const VRect& r);
    void DrawVRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void DrawVRect(const VRect& r);
    void EraseVRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void EraseVRect(const VRect& r);
    void DrawVLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void DrawVLineRel(int32_t x, int32_t y, int32_t dx, int32_t dy);
    void DrawVCornerRel(int32_t x, int32_t y, int32_t dx1, int32_t dy1, int32_t dx2, int32_t dy2);
    // Moves the pixels of the rectangle by (dx, dy); the rectangle is first
    // grown on the side the content moves to.
    void ScrollVRect(VRect* rect, int32_t dx, int32_t dy);
    // Inverts the region in the platform's highlight mode.
    void HiliteVRegion(const VRegion& region);
    // The window's grow box; while an offscreen is open it is drawn when
    // the offscreen is copied back.
    void DrawGrowIcon(int32_t x, int32_t y);

    // Darkens a colour in place: halved, and the two channels that are not
    // dominant halved again.
    static void DimColor(platform::RGBColor* color);
    // The 8 bytes of a standard pattern; false (pattern untouched) for an
    // unknown style.
    static bool MakeStdPattern(PatternStyle style, platform::Pattern& pattern);
    // A rectangle procedure that draws nothing (transparent text boxes).
    static void EraseRectTransparent(platform::GrafVerb verb, const platform::Rect* r);

protected:
    // Binding and unbinding a port.
    void InitPortRef(platform::CGrafPtr port);
    void DeInitPortRef(bool forget);
    void NormalizePort(platform::CGrafPtr port);
    void StandardSettings();
    bool IsOffscreenOpen() const { return fCurPort != fOwnPort; }

    // Coordinates mapped and clamped.
    platform::Rect MapRect(int32_t x, int32_t y, int32_t w, int32_t h) const;
    int16_t MapX(int32_t x) const;
    int16_t MapY(int32_t y) const;
    // Makes the current port the platform's; false with none bound.
    bool SelectPort() const;

    void UpdateLineBrush();
    void UpdateFillBrush();
    void UpdateEraseBrush();
    void RestoreEraseBrush();
    void UpdateTextBrush();
    void MacLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    // Every brush to be applied afresh, the font too.
    void ForgetAppliedState();

    // Scaling: off unless a subclass turns it on.
    void SetScaling(bool on, double xFactor, double yFactor);
    // The frame's visible rectangle in port coordinates.
    platform::Rect FrameRect(const IPainterFrame* frame, const VRect* rect) const;
    void ApplyClip(platform::RgnHandle rgn, bool intersect);

    struct OffscreenRecord {
        IPainterFrame* frame;
        platform::CGrafPtr previousPort;
        platform::GDHandle previousDevice;
        int32_t x;
        int32_t y;
        platform::GWorldPtr world;
        // The window's clip before the world was opened.
        platform::RgnHandle savedClip;
    };
    struct OffsetPair {
        int32_t dx;
        int32_t dy;
    };
    struct TextPos {
        double x, advance, y;
    };

    int32_t fPaintLevel = 0;
    uint32_t fPortID;
    platform::CGrafPtr fCurPort = nullptr;
    platform::CGrafPtr fOwnPort = nullptr;
    StdLook fLook = 0;
    VLookHandler* fLookHandler = nullptr;
    std::vector<OffscreenRecord> fOffscreens;
    std::vector<OffsetPair> fOffsets;
    // Pushes that found no memory: their restores pop nothing.
    int32_t fLostOffsets = 0;
    std::vector<platform::RgnHandle> fClips;
    std::vector<TextPos> fTextPositions;
    bool fNormalize = false;
    double fLineWidth = 1.0;
    uint32_t fLineColor = kNoColor;
    platform::Pattern fLinePattern{};
    platform::Pattern fFillPattern{};
    uint32_t fFillColor = kNoColor;
    uint32_t fEraseColor = kNoColor;
    uint32_t fTextColor = kNoColor;
    TransferMode fDrawingMode = 0;
    TransferMode fTextMode = 0;
    VStr<80> fFontName;
    int16_t fFontNum = -1;
    uint8_t fFace = 0;
    double fFontSize = -1.0;
    // Bit 0 width cache stale, bit 1 port font stale, bit 2 metrics stale.
    int16_t fFontDirty = 7;
    TextPos fTextPos{0, 0, 0};
    float fTextAngle = 0;
    bool fScaling = false;
    double fScaleX = 1.0;
    double fScaleY = 1.0;
    int32_t fOffsetX = 0;
    int32_t fOffsetY = 0;
    bool fLineDirty = true;
    bool fFillDirty = true;
    bool fEraseDirty = true;
    bool fTextModeDirty = true;
    uint32_t fAppliedBack = kNoColor;
    uint32_t fAppliedFore = kNoColor;
    bool fGrowIconPending = false;

    // The next painter's port id.
    static uint32_t sPortID;
};

// Saves the theme drawing state and normalises it; the saved state goes
// back to the platform when the guard goes out of scope.
class StNormalizeDrawingState {
public:
    StNormalizeDrawingState();
    ~StNormalizeDrawingState();
    StNormalizeDrawingState(const StNormalizeDrawingState&) = delete;
    StNormalizeDrawingState& operator=(const StNormalizeDrawingState&) = delete;

private:
    platform::OpaqueThemeDrawingState* fState = nullptr;
};
