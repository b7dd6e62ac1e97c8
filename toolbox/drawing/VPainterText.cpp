// The text side of a painter: the font applied lazily, metrics, the text
// position, measuring and drawing runs, text boxes and the fallback paint
// of a widget part.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/ThemeText.h"
#include "platform/fonts/Fonts.h"
#include "platform/textedit/TextEdit.h"
#include "toolbox/drawing/MacRomanRun.h"
#include "toolbox/drawing/VFontBuffer.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/MacPort.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace platform;

namespace {

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

// Short runs stay on the stack.
constexpr int32_t kDrawLocal = 2048;
constexpr int32_t kMeasureLocal = 256;
constexpr int32_t kBoxLocal = 64;

}  // namespace

// --- font ------------------------------------------------------------------

void VPainter::LookUpFontNum()
{
    if (fFontNum != -1) return;
    if (gSystem) {
        fFontNum = gSystem->MacGetFontNum(fFontName);
        return;
    }
    uint8_t name[256];
    fFontName.ToPString(name, 255, kCharSetMac);
    int16_t number = 0;
    GetFNum(name, &number);
    fFontNum = number;
}

void VPainter::_MakeFontBuffer(double scale)
{
    LookUpFontNum();
    delete fFontCache;
    fFontCache = new VFontBuffer(fPortID, fFontNum, Clamp16(TruncateToLong8(fFontSize * scale)), fFace);
}

void VPainter::ApplyPortFont(double scale)
{
    if (!(fFontDirty & 2) || !SelectPort()) return;
    LookUpFontNum();
    TextFont(fFontNum);
    TextSize(Clamp16(TruncateToLong8(fFontSize * scale)));
    TextFace(fFace);
    fFontDirty &= ~2;
}

void VPainter::_UpdateFont(int16_t mask, double scale)
{
    if (mask & 4) mask |= 2;
    if (mask & 2) mask |= 1;
    // Widths and metrics measured at another size are of no use here.
    if (fFontCache && fFontCache->GetSize() != Clamp16(TruncateToLong8(fFontSize * scale))) fFontDirty = 7;
    if (fFontDirty == 0) {
        if (fFontCache) fFontCache->UpdateTicks();
        return;
    }
    if ((fFontDirty & 1) && (mask & 1)) {
        _MakeFontBuffer(scale);
        fFontDirty &= ~1;
    }
    if ((fFontDirty & 2) && (mask & 2)) ApplyPortFont(scale);
    if ((mask & 4) && fFontCache && fFontCache->fAscent < 1 && SelectPort()) {
        FontInfo info{};
        GetFontInfo(&info);
        auto unscale = [&](int16_t v) { return fScaling ? Clamp16(TruncateToLong8(v / fScaleY)) : v; };
        fFontCache->fAscent = unscale(info.ascent);
        fFontCache->fDescent = unscale(info.descent);
        fFontCache->fLeading = unscale(info.leading);
        fFontDirty &= ~4;
    }
}

int16_t VPainter::GetFontAscent()
{
    _UpdateFont(4, 1.0);
    return fFontCache ? fFontCache->Ascent() : 0;
}

int16_t VPainter::GetFontHeight()
{
    _UpdateFont(4, 1.0);
    if (!fFontCache) return 0;
    return Clamp16(fFontCache->LineHeight());
}

bool VPainter::IsSymbolFont()
{
    _UpdateFont(7, 1.0);
    return fFontCache && fFontCache->IsSymbol();
}

// --- text position ---------------------------------------------------------

void VPainter::SetTextPos(double x, double y, bool)
{
    if (fScaling) {
        x = TruncateToLong8(x * fScaleX);
        y = TruncateToLong8(y * fScaleY);
    }
    fTextPos = {x, 0, y};
}

void VPainter::SaveTextPos()
{
    try {
        fTextPositions.push_back({std::trunc(fTextPos.x), std::trunc(fTextPos.advance), std::trunc(fTextPos.y)});
    } catch (const std::bad_alloc&) {
        // The restore then finds zeros, as on an empty stack.
    }
}

void VPainter::RestoreTextPos()
{
    if (fTextPositions.empty()) {
        fTextPos = {0, 0, 0};
        return;
    }
    fTextPos = fTextPositions.back();
    fTextPositions.pop_back();
}

// --- measuring -------------------------------------------------------------

float VPainter::GetTextWidth(const void* text, int32_t length, CharSet set, double scale)
{
    if (length < 1 || !text || !SelectPort()) return 0.0f;
    if (scale != 1.0) fFontDirty |= 2;
    _UpdateFont(2, 1.0);
    const MacRomanRun<kMeasureLocal> run(text, length, set);
    if (!run.data()) return 0.0f;
    return float(TextWidth(run.data(), 0, run.length()) * scale);
}

float VPainter::GetTextWidth(uint8_t ch, CharSet set)
{
    if (set == kCharSetUnicode) {
        const char16_t unit = ch;
        return GetTextWidth(&unit, 1, set, 1.0);
    }
    return GetTextWidth(&ch, 1, set, 1.0);
}

float VPainter::GetTextWidth(const VString& text)
{
    const void* p = text.LockAndGetCPointer();
    const float width = GetTextWidth(p, text.GetLength(), text.GetCharSet(), 1.0);
    text.Unlock();
    return width;
}

float VPainter::GetTextWidth(char16_t ch, double scale)
{
    _UpdateFont(1, scale);
    if (!fFontCache) return 0.0f;
    return fFontCache->GetUnicharWidth(ch, this, fCurPort, scale);
}

// --- drawing ---------------------------------------------------------------

void VPainter::DrawText(const void* text, int32_t length, CharSet set, double scale)
{
    if (length < 1 || !text || !SelectPort()) return;
    if (scale != 1.0) fFontDirty |= 2;
    _UpdateFont(2, 1.0);
    _UpdateTextBrush();
    const MacRomanRun<kDrawLocal> run(text, length, set);
    const int16_t n = run.length();
    if (!run.data() || n < 1) return;
    if (fTextAngle != 0) {
        DrawRotatedText(run.data(), n, scale);
        return;
    }
    const double x0 = fScaling ? fTextPos.x * fScaleX : fTextPos.x;
    const double y0 = fScaling ? fTextPos.y * fScaleY : fTextPos.y;
    MoveTo(Clamp16(TruncateToLong8(fOffsetX + x0)), Clamp16(TruncateToLong8(fOffsetY + y0)));
    if (scale == 1.0) {
        platform::DrawText(run.data(), 0, n);
    } else {
        std::vector<int16_t> widths;
        try {
            widths.resize(size_t(n) + 1);
        } catch (const std::bad_alloc&) {
            return;
        }
        MeasureText(n, run.data(), widths.data());
        const int16_t total = TextWidth(run.data(), 0, n);
        if (total != widths[n]) widths[n] = total;
        for (int32_t i = n; i >= 1; --i) widths[i] = int16_t(widths[i] - widths[i - 1]);
        widths[0] = 0;
        fFontDirty |= 2;
        ApplyPortFont(scale);
        // Each character at its scaled advance; the rounding remainder is
        // carried to the next.
        for (int32_t i = 0; i <= n; ++i) {
            const double p = scale * widths[i] + fTextPos.x + fTextPos.advance;
            const double rounded = std::round(p);
            fTextPos.x = rounded;
            fTextPos.advance = p - rounded;
            if (i < n) {
                MoveTo(Clamp16(TruncateToLong8(fOffsetX + fTextPos.x)), Clamp16(TruncateToLong8(fOffsetY + y0)));
                DrawChar(run.data()[i]);
            }
        }
        // The port keeps the scaled size: the next text puts the recorded
        // one back.
        fFontDirty |= 2;
    }
    Point pen{};
    GetPen(&pen);
    if (scale == 1.0) {
        const double px = double(pen.h) - fOffsetX;
        fTextPos.x = fScaling ? px / fScaleX : px;
        fTextPos.advance = 0;
    }
    const double py = double(pen.v) - fOffsetY;
    fTextPos.y = fScaling ? py / fScaleY : py;
}

void VPainter::DrawText(const VString& text)
{
    const void* p = text.LockAndGetCPointer();
    DrawText(p, text.GetLength(), text.GetCharSet(), 1.0);
    text.Unlock();
}

void VPainter::DrawRotatedText(const uint8_t* bytes, int16_t length, double scale)
{
    _UpdateFont(4, 1.0);
    _UpdateFillBrush();
    if (!fFontCache) return;
    const int32_t ascent = fFontCache->Ascent(), descent = fFontCache->Descent();
    const double w = TextWidth(bytes, 0, length) * scale;
    const Rect rect{0, 0, Clamp16(ascent + descent), Clamp16(TruncateToLong8(fScaleX * w))};
    if (rect.bottom <= 0 || rect.right <= 0) return;
    GWorldPtr world = nullptr;
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    PixMapHandle pixMap = nullptr;
    if (_PrepareForDrawingRotatedText(rect, world, savedPort, savedDevice, pixMap)) {
        MoveTo(0, Clamp16(ascent));
        platform::DrawText(bytes, 0, length);
        _FinishDrawingRotatedText(rect, savedPort, savedDevice, pixMap, TruncateToLong(fOffsetX + fTextPos.x),
                                  TruncateToLong(fOffsetY + fTextPos.y));
    } else if (world) {
        SetGWorld(savedPort, savedDevice);
    }
    if (world) DisposeGWorld(world);
}

// --- boxes -----------------------------------------------------------------

void VPainter::DrawTextBox(const VString& text, AlignStyle hAlign, AlignStyle vAlign, int32_t x, int32_t y,
                           int32_t w, int32_t h, bool theme)
{
    const int32_t length = text.GetLength();
    if (w < 1 || h < 1 || length < 1 || !fCurPort) return;

    // Mac Roman bytes of the text: in place, else converted.
    const bool inPlace = text.GetCharSet() == kCharSetMac;
    uint8_t local[kBoxLocal];
    std::unique_ptr<uint8_t[]> heap;
    const uint8_t* bytes = nullptr;
    int32_t byteCount = 0;
    if (inPlace) {
        bytes = static_cast<const uint8_t*>(text.LockAndGetCPointer());
        byteCount = length;
    } else {
        uint8_t* out = local;
        int32_t size = kBoxLocal;
        if (length >= kBoxLocal) {
            size = length * 2 + 1;
            heap.reset(new (std::nothrow) uint8_t[size_t(size)]);
            out = heap.get();
        }
        if (out) {
            text.ToCString(out, size, kCharSetMac);
            bytes = out;
            byteCount = CStringLength(out);
        }
    }
    if (!bytes) return;
    const int16_t n = int16_t(std::min<int32_t>(byteCount, 0x7FFF));

    SelectPort();
    _UpdateFont(7, 1.0);
    _UpdateTextBrush();
    const int32_t tw = TextWidth(bytes, 0, n);
    const int32_t lh = fFontCache ? fFontCache->LineHeight() : 0;
    const int64_t left = int64_t(fOffsetX) + x;

    if (!theme) {
        const int16_t just = hAlign == 0 ? teFlushDefault : hAlign == 2 ? teFlushRight : teCenter;
        int64_t bh = lh;
        if (2 * int64_t(lh) < h && w < tw) bh = int64_t(lh) * (tw / w + 1);
        bh = std::min<int64_t>(bh, h);
        int64_t top = int64_t(fOffsetY) + y;
        if (vAlign == 2) top += h - bh;
        else if ((vAlign == 1 || vAlign == 3) && bh < h) top += (h - bh) / 2;
        const LongRect box{int32_t(std::clamp<int64_t>(top, INT32_MIN, INT32_MAX)),
                           int32_t(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX)),
                           int32_t(std::clamp<int64_t>(top + bh, INT32_MIN, INT32_MAX)),
                           int32_t(std::clamp<int64_t>(left + w, INT32_MIN, INT32_MAX))};
        if (IsPrinterPainter()) {
            const Rect r{Clamp16(box.top), Clamp16(box.left), Clamp16(box.bottom), Clamp16(box.right)};
            TETextBox(bytes, n, &r, just);
        } else {
            _TransparentTextBox(bytes, n, box, just);
        }
    } else {
        std::u16string label = text.GetMutableCFString();
        Point size{0, 0};
        GetThemeTextDimensions(label, kThemeCurrentPortFont, kThemeStateActive, false, &size, nullptr);
        int32_t textWidth = size.h;
        const int32_t th = size.v;
        if (w < textWidth) {
            Boolean truncated = false;
            TruncateThemeText(&label, kThemeCurrentPortFont, kThemeStateActive, Clamp16(w), truncEnd, &truncated);
            GetThemeTextDimensions(label, kThemeCurrentPortFont, kThemeStateActive, false, &size, nullptr);
            textWidth = size.h;
        }
        int64_t tx = left;
        if (hAlign == 2) tx += w - textWidth;
        else if (hAlign == 1 || hAlign == 3) tx += (w - textWidth) >> 1;
        int64_t ty = int64_t(fOffsetY) + y;
        if (vAlign == 2) ty += h - th;
        else if (vAlign == 1 || vAlign == 3) ty += (h - th) >> 1;
        // Placed once, drawn flush left from there and cut at the box.
        const Rect box{Clamp16(ty), Clamp16(tx), Clamp16(int64_t(fOffsetY) + y + h), Clamp16(left + w)};
        DrawThemeTextBox(label, kThemeCurrentPortFont, kThemeStateActive, false, &box, teFlushLeft, nullptr);
    }
    if (inPlace) text.Unlock();
}

void VPainter::_TransparentTextBox(const void* text, int32_t length, const LongRect& rect, int16_t justification)
{
    _TransparentTextBox(text, length, rect, justification, nullptr, false);
}

void VPainter::_TransparentTextBox(const void* text, int32_t length, const LongRect& rect, int16_t justification,
                                   const LongRect* clip, bool rotate)
{
    if (!SelectPort() || !text || length < 1) return;
    const int32_t n = std::min<int32_t>(length, 0x7FFF);
    if (rotate && fTextAngle != 0) {
        // Drawn at the origin of a world, under the clip moved with it,
        // then turned and copied to the box's place.
        const Rect local{0, 0, Clamp16(int64_t(rect.bottom) - rect.top), Clamp16(int64_t(rect.right) - rect.left)};
        if (local.bottom <= 0 || local.right <= 0) return;
        GWorldPtr world = nullptr;
        CGrafPtr savedPort = nullptr;
        GDHandle savedDevice = nullptr;
        PixMapHandle pixMap = nullptr;
        _UpdateFont(4, 1.0);
        if (_PrepareForDrawingRotatedText(local, world, savedPort, savedDevice, pixMap)) {
            if (clip) {
                const Rect c{Clamp16(int64_t(clip->top) - rect.top), Clamp16(int64_t(clip->left) - rect.left),
                             Clamp16(int64_t(clip->bottom) - rect.top), Clamp16(int64_t(clip->right) - rect.left)};
                ClipRect(&c);
            }
            DrawTransparentBox(world, text, n, local, justification);
            _FinishDrawingRotatedText(local, savedPort, savedDevice, pixMap, rect.left, rect.top);
        } else if (world) {
            SetGWorld(savedPort, savedDevice);
        }
        if (world) DisposeGWorld(world);
        return;
    }
    const Rect r{Clamp16(rect.top), Clamp16(rect.left), Clamp16(rect.bottom), Clamp16(rect.right)};
    RgnHandle savedClip = nullptr;
    if (clip) {
        savedClip = NewRgn();
        GetClip(savedClip);
        const Rect c{Clamp16(clip->top), Clamp16(clip->left), Clamp16(clip->bottom), Clamp16(clip->right)};
        RgnHandle rgn = NewRgn();
        RectRgn(rgn, &c);
        ApplyClip(rgn, true);
        DisposeRgn(rgn);
    }
    if (IsPrinterPainter())
        TETextBox(text, n, &r, justification);
    else
        DrawTransparentBox(fCurPort, text, n, r, justification);
    if (savedClip) {
        SetClip(savedClip);
        DisposeRgn(savedClip);
    }
}

void VPainter::DrawTransparentBox(CGrafPtr port, const void* text, int32_t length, const Rect& r, int16_t just)
{
    // The text box erases its rectangle through the port's rectangle
    // procedure: a procedure that does nothing leaves what is there.
    static const QDProcs gTransparentTextBoxProcs = [] {
        QDProcs procs;
        procs.rectProc = _EraseRect_Transparent;
        return procs;
    }();
    QDProcs* saved = port->grafProcs;
    port->grafProcs = const_cast<QDProcs*>(&gTransparentTextBoxProcs);
    TETextBox(text, length, &r, just);
    port->grafProcs = saved;
}

// --- widget parts ----------------------------------------------------------

bool VPainter::StandardPaint(PaintMethod method, PaintStatus status, int32_t x, int32_t y, int32_t w, int32_t h,
                             const VString* text, void* extra)
{
    if (fLookHandler && fLookHandler->Paint(this, method, status, x, y, w, h, text, extra)) return true;
    SetFillStdColor(0);
    SetLineStdColor(10);
    DrawVRect(x, y, w, h);
    if (text) {
        SetTextStdColor(10);
        DrawTextBox(*text, 0, 1, x, y, w, h, false);
    }
    return true;
}
