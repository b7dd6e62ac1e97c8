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
class VFontBuffer;
class VIcon;
class VLookHandler;
class VPicture;
class VRect;
class VRegion;
class VString;

// A rectangle of longs: top, left, bottom, right.
struct LongRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

// Text alignment: 0 left (or top), 1 centre, 2 right (or bottom), 3 as 1.
using AlignStyle = int16_t;

// Icon states: normal, grey (disabled), pale, mask only.
using IconState = int16_t;

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
    // Toolbox start-up: fills the look registry (1 and 7 Mac, 2 and 3
    // Windows, 4 to 6 Theme, each its own handler) and lets the standard
    // colours of the whole toolbox come from the current look.
    static void Init();
    // The look's standard colours, patterns and font, recorded afresh.
    void StandardSettings();

    platform::CGrafPtr GetCurPort() const { return fCurPort; }
    platform::CGrafPtr GetOwnPort() const { return fOwnPort; }
    uint32_t GetPortID() const { return fPortID; }
    int32_t GetPaintLevel() const { return fPaintLevel; }

    // Origin offset.
    void AddOffset(int32_t dx, int32_t dy);
    void RestoreOffset();
    void GetOffset(int32_t& x, int32_t& y) const;
    // How many offsets are pushed (lost pushes count too).
    int32_t GetOffsetDepth() const { return int32_t(fOffsets.size()) + fLostOffsets; }
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

    // --- text ---
    // Brings the parts of the font in mask up to date: 1 the width cache,
    // 2 the port's font, 4 the metrics (4 implies 2, 2 implies 1). A
    // cache made at another size than trunc(size x scale) is replaced.
    void _UpdateFont(int16_t mask, double scale);
    int16_t GetFontAscent();
    int16_t GetFontHeight();
    bool IsSymbolFont();
    // The advance becomes 0; with scaling on, the position is scaled.
    void SetTextPos(double x, double y, bool unused = false);
    void GetTextPos(double& x, double& y) const
    {
        x = fTextPos.x;
        y = fTextPos.y;
    }
    double GetTextAdvance() const { return fTextPos.advance; }
    // Saves x, y and the advance truncated to whole pixels.
    void SaveTextPos();
    void RestoreTextPos();
    // Widths in pixels: 0 for a length below 1.
    float GetTextWidth(const void* text, int32_t length, CharSet set, double scale);
    float GetTextWidth(uint8_t ch, CharSet set);
    float GetTextWidth(const VString& text);
    // Through the width cache: each character is measured once per font.
    float GetTextWidth(char16_t ch, double scale);
    // Draws the run at the text position and moves the text position to
    // its end; with a scale other than 1, characters are placed one by
    // one at their scaled advances, the fraction carried.
    void DrawText(const void* text, int32_t length, CharSet set, double scale);
    void DrawText(const VString& text);
    // The text wrapped and aligned in the box (painter coordinates); with
    // theme, one line through the theme text services, cut with an
    // ellipsis when too wide. Nothing for an empty text or box.
    void DrawTextBox(const VString& text, AlignStyle hAlign, AlignStyle vAlign, int32_t x, int32_t y, int32_t w,
                     int32_t h, bool theme);
    // Wrapped text drawn over what is in the box (port coordinates),
    // without erasing it first.
    void _TransparentTextBox(const void* text, int32_t length, const LongRect& rect, int16_t justification);
    // The same within clip (port coordinates, may be null); with rotate
    // and a text angle, turned about the box's top left.
    void _TransparentTextBox(const void* text, int32_t length, const LongRect& rect, int16_t justification,
                             const LongRect* clip, bool rotate);

    // The look paints the part; when it does not, a box filled in standard
    // colour 0 and framed in 10, with the caption in 10. True once drawn.
    bool StandardPaint(PaintMethod method, PaintStatus status, int32_t x, int32_t y, int32_t w, int32_t h,
                       const VString* text, void* extra);

    // --- pictures and icons ---
    // Draws the picture in its frame by its display and transfer modes;
    // nothing without a picture or for an image of no size.
    void DrawVPicture(VPicture& picture, double scale);
    // Where the image and the frame land, in port coordinates.
    void _MakePictureRect(const VPicture& picture, LongRect& imageRect, LongRect& frameRect, double scale) const;
    // States 0 to 3; any other draws nothing.
    void DrawVIcon(const VIcon& icon, IconState state);
    void DrawVIconGray(const VIcon& icon) { DrawVIcon(icon, 1); }
    void DrawVIconShadow(const VIcon& icon) { DrawVIcon(icon, 2); }
    float GetTextAngle() const { return fTextAngle; }

    // Darkens a colour in place: halved, and the two channels that are not
    // dominant halved again.
    static void DimColor(platform::RGBColor* color);
    // The 8 bytes of a standard pattern; false (pattern untouched) for an
    // unknown style.
    static bool _MakeStdPattern(PatternStyle style, platform::Pattern& pattern);
    // A rectangle procedure that draws nothing (transparent text boxes).
    static void _EraseRect_Transparent(platform::GrafVerb verb, const platform::Rect* r);

protected:
    // Binding and unbinding a port.
    void _InitPortRef(platform::CGrafPtr port);
    void _DeInitPortRef(bool forget);
    void NormalizePort(platform::CGrafPtr port);
    bool IsOffscreenOpen() const { return fCurPort != fOwnPort; }

    // Coordinates mapped and clamped.
    platform::Rect MapRect(int32_t x, int32_t y, int32_t w, int32_t h) const;
    int16_t MapX(int32_t x) const;
    int16_t MapY(int32_t y) const;
    // Makes the current port the platform's; false with none bound.
    bool SelectPort() const;

    void _UpdateLineBrush();
    void _UpdateFillBrush();
    void _UpdateEraseBrush();
    void _RestoreEraseBrush();
    void _UpdateTextBrush();
    void _MacLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
    // Every brush to be applied afresh, the font too.
    void ForgetAppliedState();

    // Text internals.
    friend class VFontBuffer;
    void _MakeFontBuffer(double scale);
    void LookUpFontNum();
    // The port's font at trunc(size x scale), when stale; the cache stays.
    void ApplyPortFont(double scale);
    // Text drawn at the text angle: a 32-bit world of rect made current
    // and erased (false when nothing is to be turned or the world cannot
    // be had), then turned about the start of its base line and copied to
    // (x, y) of the painter's port.
    bool _PrepareForDrawingRotatedText(const platform::Rect& rect, platform::GWorldPtr& world,
                                       platform::CGrafPtr& savedPort, platform::GDHandle& savedDevice,
                                       platform::PixMapHandle& pixMap);
    void _FinishDrawingRotatedText(const platform::Rect& rect, platform::CGrafPtr savedPort,
                                   platform::GDHandle savedDevice, platform::PixMapHandle pixMap, int32_t x,
                                   int32_t y);
    void DrawRotatedText(const uint8_t* bytes, int16_t length, double scale);
    static void DrawTransparentBox(platform::CGrafPtr port, const void* text, int32_t length,
                                   const platform::Rect& r, int16_t just);
    // The picture played into a world of its size and copied at each
    // position; false when no world can be had.
    bool CopyPictureTiles(platform::Handle picture, const LongRect& imageRect, int32_t columns, int32_t rows,
                          int16_t mode);

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
    VFontBuffer* fFontCache = nullptr;
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
