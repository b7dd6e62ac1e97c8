// Coordinate mapping, the four brushes and the shapes of a painter.
#include "toolbox/drawing/VPainter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "platform/windows/Windows.h"
#include "toolbox/foundation/MacPort.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

using namespace platform;

namespace {

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

int16_t PenModeOf(TransferMode mode)
{
    switch (mode) {
    case kTransferOr:
    case kTransferOr8: return srcOr;
    case kTransferXor: return srcXor;
    default: return patCopy;
    }
}

// Printers take pen widths in hundredths of a point after this comment.
constexpr int16_t kLineWidthComment = 182;

RGBColor PlatformColor(uint32_t color)
{
    RGBColor c;
    MAC_MakeRGB(color, &c);
    return c;
}

}  // namespace

// --- mapping -----------------------------------------------------------------

Rect VPainter::MapRect(int32_t x, int32_t y, int32_t w, int32_t h) const
{
    int64_t left, top, right, bottom;
    if (fScaling) {
        left = TruncateToLong8(x * fScaleX + fOffsetX);
        top = TruncateToLong8(y * fScaleY + fOffsetY);
        right = TruncateToLong8(w * fScaleX + double(left));
        bottom = TruncateToLong8(h * fScaleY + double(top));
    } else {
        left = int64_t(x) + fOffsetX;
        top = int64_t(y) + fOffsetY;
        right = left + w;
        bottom = top + h;
    }
    return Rect{Clamp16(top), Clamp16(left), Clamp16(bottom), Clamp16(right)};
}

int16_t VPainter::MapX(int32_t x) const
{
    return Clamp16(fScaling ? TruncateToLong8(x * fScaleX + fOffsetX) : int64_t(x) + fOffsetX);
}

int16_t VPainter::MapY(int32_t y) const
{
    return Clamp16(fScaling ? TruncateToLong8(y * fScaleY + fOffsetY) : int64_t(y) + fOffsetY);
}

bool VPainter::SelectPort() const
{
    if (!fCurPort) return false;
    SetMacPort(fCurPort);
    return true;
}

// --- brushes -------------------------------------------------------------------

void VPainter::_UpdateLineBrush()
{
    if (!fLineDirty && fAppliedFore == fLineColor) return;
    RGBColor c = PlatformColor(fEraseColor);
    RGBBackColor(&c);
    c = PlatformColor(fLineColor);
    RGBForeColor(&c);
    PenPat(&fLinePattern);
    PenMode(PenModeOf(fDrawingMode));
    if (fScaling) {
        PenSize(Clamp16(TruncateToLong8(fLineWidth * fScaleX)), Clamp16(TruncateToLong8(fLineWidth * fScaleY)));
    } else if (IsPrinterPainter()) {
        if (Handle data = NewHandle(4)) {
            WriteBE16(*data, 1);
            WriteBE16(*data + 2, 100);
            PicComment(kLineWidthComment, 4, data);
            DisposeHandle(data);
        }
        const int16_t size = Clamp16(TruncateToLong8(fLineWidth * 100));
        PenSize(size, size);
    } else {
        const int16_t size = Clamp16(TruncateToLong8(fLineWidth + 0.99));
        PenSize(size, size);
    }
    fAppliedBack = fEraseColor;
    fAppliedFore = fLineColor;
    fFillDirty = true;
    fLineDirty = false;
}

// The pen size stays as the line brush left it.
void VPainter::_UpdateFillBrush()
{
    if (!fFillDirty && fAppliedFore == fFillColor) return;
    RGBColor c = PlatformColor(fEraseColor);
    RGBBackColor(&c);
    c = PlatformColor(fFillColor);
    RGBForeColor(&c);
    PenPat(&fFillPattern);
    PenMode(PenModeOf(fDrawingMode));
    fAppliedBack = fEraseColor;
    fAppliedFore = fFillColor;
    fLineDirty = true;
    fFillDirty = false;
}

void VPainter::_UpdateEraseBrush()
{
    if (!fEraseDirty && fAppliedBack == fEraseColor && fAppliedFore == fEraseColor) return;
    Pattern black;
    GetQDGlobalsBlack(&black);
    BackPat(&black);
    PenPat(&black);
    PenMode(srcCopy);
    const int16_t size = Clamp16(TruncateToLong8(fLineWidth + 0.99));
    PenSize(size, size);
    const RGBColor c = PlatformColor(fEraseColor);
    RGBBackColor(&c);
    RGBForeColor(&c);
    fAppliedBack = fAppliedFore = fEraseColor;
    fLineDirty = fFillDirty = true;
    fEraseDirty = false;
}

void VPainter::_RestoreEraseBrush()
{
    Pattern white;
    BackPat(GetQDGlobalsWhite(&white));
    const RGBColor c = PlatformColor(fLineColor);
    RGBForeColor(&c);
    fAppliedFore = fLineColor;
}

void VPainter::_UpdateTextBrush()
{
    if (fAppliedFore != fTextColor) {
        const RGBColor c = PlatformColor(fTextColor);
        RGBForeColor(&c);
        fAppliedFore = fTextColor;
    }
    if (!fTextModeDirty) return;
    fTextModeDirty = false;
    switch (fTextMode) {
    case kTransferCopy: TextMode(srcCopy); break;
    case kTransferOr:
    case kTransferOr8: TextMode(srcOr); break;
    case kTransferXor: TextMode(srcXor); break;
    default: break;  // the port keeps its mode
    }
}

// --- rectangles ------------------------------------------------------------------

void VPainter::FillVRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!SelectPort()) return;
    _UpdateFillBrush();
    const Rect r = MapRect(x, y, w, h);
    PaintRect(&r);
}

void VPainter::FrameVRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!SelectPort()) return;
    _UpdateLineBrush();
    const Rect r = MapRect(x, y, w, h);
    ::platform::FrameRect(&r);
}

void VPainter::DrawVRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!SelectPort()) return;
    const Rect r = MapRect(x, y, w, h);
    _UpdateFillBrush();
    PaintRect(&r);
    _UpdateLineBrush();
    ::platform::FrameRect(&r);
}

void VPainter::EraseVRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (!SelectPort()) return;
    _UpdateEraseBrush();
    const Rect r = MapRect(x, y, w, h);
    EraseRect(&r);
    _RestoreEraseBrush();
}

void VPainter::FillVRect(const VRect& r) { FillVRect(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight()); }
void VPainter::FrameVRect(const VRect& r) { FrameVRect(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight()); }
void VPainter::DrawVRect(const VRect& r) { DrawVRect(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight()); }
void VPainter::EraseVRect(const VRect& r) { EraseVRect(r.GetLeft(), r.GetTop(), r.GetWidth(), r.GetHeight()); }

// --- lines -----------------------------------------------------------------------

// The pen hangs below and to the right of the point; a pen wider than one
// pixel is moved back by half its width so that it straddles the line,
// and the far end is pulled in so that the line keeps its length.
void VPainter::_MacLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
{
    const int64_t w = TruncateToLong(fLineWidth + 0.99);
    if (w > 1) {
        if (x1 == x2) {
            x1 = x2 = x1 - w / 2;
            (y1 > y2 ? y1 : y2) -= w - 1;
        } else if (y1 == y2) {
            y1 = y2 = y1 - w / 2;
            (x1 > x2 ? x1 : x2) -= w - 1;
        } else {
            const int64_t adx = std::llabs(x2 - x1), ady = std::llabs(y2 - y1);
            if (adx >= ady / 2) {
                y1 -= w / 2;
                y2 -= w / 2;
                (x1 <= x2 ? x2 : x1) -= w - 1;
            }
            if (ady >= adx / 2) {
                x1 -= w / 2;
                x2 -= w / 2;
                (y1 <= y2 ? y2 : y1) -= w - 1;
            }
        }
    }
    MoveTo(Clamp16(x1), Clamp16(y1));
    LineTo(Clamp16(x2), Clamp16(y2));
}

void VPainter::DrawVLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!SelectPort()) return;
    _UpdateLineBrush();
    _MacLine(MapX(x1), MapY(y1), MapX(x2), MapY(y2));
}

void VPainter::DrawVLineRel(int32_t x, int32_t y, int32_t dx, int32_t dy)
{
    DrawVLine(x, y, int32_t(std::clamp<int64_t>(int64_t(x) + dx, INT32_MIN, INT32_MAX)),
              int32_t(std::clamp<int64_t>(int64_t(y) + dy, INT32_MIN, INT32_MAX)));
}

void VPainter::DrawVCornerRel(int32_t x, int32_t y, int32_t dx1, int32_t dy1, int32_t dx2, int32_t dy2)
{
    const int32_t x1 = int32_t(std::clamp<int64_t>(int64_t(x) + dx1, INT32_MIN, INT32_MAX));
    const int32_t y1 = int32_t(std::clamp<int64_t>(int64_t(y) + dy1, INT32_MIN, INT32_MAX));
    DrawVLineRel(x, y, dx1, dy1);
    DrawVLineRel(x1, y1, dx2, dy2);
}

// --- scrolling, highlighting, grow box ----------------------------------------

void VPainter::ScrollVRect(VRect* rect, int32_t dx, int32_t dy)
{
    if (!rect) return;
    int64_t left = rect->GetLeft(), top = rect->GetTop();
    int64_t right = rect->GetRight(), bottom = rect->GetBottom();
    (dx > 0 ? right : left) += dx;
    (dy > 0 ? bottom : top) += dy;
    auto sat = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    rect->SetPos(sat(left), sat(top));
    rect->SetSize(sat(right - left), sat(bottom - top));
    if (!SelectPort()) return;
    const Rect r{Clamp16(top + fOffsetY), Clamp16(left + fOffsetX), Clamp16(bottom + fOffsetY),
                 Clamp16(right + fOffsetX)};
    ScrollRect(&r, Clamp16(dx), Clamp16(dy), nullptr);
}

void VPainter::HiliteVRegion(const VRegion& region)
{
    if (!SelectPort()) return;
    VRegion copy(region);
    RgnHandle rgn = copy.GetRgnRef(false);
    OffsetRgn32(rgn, fOffsetX, fOffsetY);
    RGBColor savedFore, savedBack;
    GetForeColor(&savedFore);
    GetBackColor(&savedBack);
    const uint8_t savedMode = LMGetHiliteMode();
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    LMSetHiliteMode(uint8_t(savedMode & ~(0x80 >> pHiliteBit)));
    InvertRgn(rgn);
    LMSetHiliteMode(savedMode);
    RGBForeColor(&savedFore);
    RGBBackColor(&savedBack);
}

void VPainter::DrawGrowIcon(int32_t, int32_t)
{
    if (!fCurPort) return;
    if (IsOffscreenOpen()) {
        fGrowIconPending = true;
        return;
    }
    WindowRef window = GetWindowFromPort(fOwnPort);
    if (!window) return;
    SelectPort();
    SaveClip(false);
    Rect bounds;
    GetPortBounds(fCurPort, &bounds);
    bounds.right = Clamp16(int32_t(bounds.right) - 15);
    bounds.bottom = Clamp16(int32_t(bounds.bottom) - 15);
    ClipRect(&bounds);
    ::platform::DrawGrowIcon(window);
    RestoreClip();
}

// --- colour --------------------------------------------------------------------------

void VPainter::DimColor(RGBColor* color)
{
    if (!color) return;
    int32_t r = color->red >> 1, g = color->green >> 1, b = color->blue >> 1;
    auto equal = [](int32_t a, int32_t c) { return a - c > -512 && a - c < 512; };
    // Differences within the tolerance count as 0.
    auto beyond = [&](int32_t a, int32_t c) { return !equal(a, c) && a - c > 0; };
    if (equal(r, g) && equal(r, b)) {
        *color = {uint16_t(r), uint16_t(g), uint16_t(b)};
        return;
    }
    int dominant = beyond(r, g) ? 0 : 1;  // green wins a near tie with red
    if (beyond(b, dominant == 0 ? r : g)) dominant = 2;
    if (dominant != 0) r >>= 1;
    if (dominant != 1) g >>= 1;
    if (dominant != 2) b >>= 1;
    *color = {uint16_t(r), uint16_t(g), uint16_t(b)};
}

void VPainter::_EraseRect_Transparent(GrafVerb, const Rect*) {}
