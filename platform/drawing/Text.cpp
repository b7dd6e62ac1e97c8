#include "platform/drawing/Text.h"

#include <algorithm>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/TextRuns.h"
#include "platform/pictures/PictureHooks.h"

namespace platform {

namespace {

constexpr uint32_t kDefaultFlags = kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics;
uint32_t gFlags = kDefaultFlags;

QDProcs* Procs()
{
    GrafPtr port = GetQDGlobalsThePort();
    return port ? port->grafProcs : nullptr;
}

void Text(int16_t count, const void* text)
{
    if (count <= 0 || !text) return;
    const Point one{1, 1};
    QDProcs* p = Procs();
    if (p && p->textProc)
        p->textProc(count, text, one, one);
    else
        StdText(count, text, one, one);
}

int16_t Measure(int16_t count, const void* text)
{
    if (count <= 0 || !text) return 0;
    Point numer{1, 1}, denom{1, 1};
    FontInfo info{};
    QDProcs* p = Procs();
    if (p && p->txMeasProc) return p->txMeasProc(count, text, &numer, &denom, &info);
    return StdTxMeas(count, text, &numer, &denom, &info);
}

}  // namespace

static void StdTextUnguarded(int16_t byteCount, const void* textBuf, Point numer, Point denom)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || byteCount <= 0 || !textBuf) return;
    PictRecordText(port, byteCount, textBuf, numer, denom);
    const TextStyle style = PortTextStyle(port, numer, denom);
    const TextSpan span{static_cast<const uint8_t*>(textBuf), nullptr, byteCount};
    int16_t width = 0;
    if (port->pnVis >= 0 && !IsRecordingRegion() && port->portPixMap && *port->portPixMap) {
        // Everything the port shows; PaintSpan cuts it to the run.
        pixman_region32_t all, area;
        pixman_region32_init_rect(&all, INT16_MIN, INT16_MIN, 0xFFFF, 0xFFFF);
        pixman_region32_init(&area);
        const Surface surface = ClipToPort(port, &all, &area);
        TextPaint paint;
        paint.mode = port->txMode;
        paint.fore = PackRGB(port->rgbFgColor);
        paint.back = PackRGB(port->rgbBkColor);
        paint.hilite = PackRGB(port->rgbHiliteColor);
        paint.weight = PackRGB(port->rgbOpColor);
        width = PaintSpan(surface, &area, style, span, port->pnLoc.h, port->pnLoc.v, paint);
        pixman_region32_fini(&area);
        pixman_region32_fini(&all);
    } else {
        width = SpanWidth(style, span);
    }
    // Scaled text advances by the scaled font's widths, also sideways.
    if (numer.h > 0 && denom.h > 0 && numer.v > 0 && denom.v > 0 && int32_t(numer.h) * denom.v != int32_t(numer.v) * denom.h)
        width = int16_t(int64_t(width) * numer.h * denom.v / (int64_t(denom.h) * numer.v));
    port->pnLoc.h = ClampTo16(int32_t(port->pnLoc.h) + width);
}

static int16_t StdTxMeasUnguarded(int16_t byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info)
{
    GrafPtr port = GetQDGlobalsThePort();
    const TextStyle style = PortTextStyle(port);
    if (info) *info = StyleFontInfo(style);
    (void)numer;
    (void)denom;
    if (!port || byteCount <= 0 || !textAddr) return 0;
    return SpanWidth(style, {static_cast<const uint8_t*>(textAddr), nullptr, byteCount});
}

void StdText(int16_t byteCount, const void* textBuf, Point numer, Point denom)
{
    TextGuarded(0, [&] {
        StdTextUnguarded(byteCount, textBuf, numer, denom);
        return 0;
    });
}

int16_t StdTxMeas(int16_t byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info)
{
    return TextGuarded(int16_t(0), [&] { return StdTxMeasUnguarded(byteCount, textAddr, numer, denom, info); });
}

void DrawChar(int16_t ch)
{
    const uint8_t byte = uint8_t(ch);
    Text(1, &byte);
}

void DrawString(ConstStr255Param s)
{
    if (s) Text(s[0], s + 1);
}

void DrawText(const void* textBuf, int16_t firstByte, int16_t byteCount)
{
    if (!textBuf || firstByte < 0) return;
    Text(byteCount, static_cast<const uint8_t*>(textBuf) + firstByte);
}

int16_t CharWidth(int16_t ch)
{
    const uint8_t byte = uint8_t(ch);
    return Measure(1, &byte);
}

int16_t StringWidth(ConstStr255Param s) { return s ? Measure(s[0], s + 1) : 0; }

int16_t TextWidth(const void* textBuf, int16_t firstByte, int16_t byteCount)
{
    if (!textBuf || firstByte < 0) return 0;
    return Measure(byteCount, static_cast<const uint8_t*>(textBuf) + firstByte);
}

void MeasureText(int16_t count, const void* textAddr, int16_t* locs)
{
    if (!locs) return;
    locs[0] = 0;
    if (count <= 0 || !textAddr) return;
    TextGuarded(0, [&] {
        const TextStyle style = PortTextStyle(GetQDGlobalsThePort());
        SpanPositions(style, {static_cast<const uint8_t*>(textAddr), nullptr, count}, locs);
        return 0;
    });
}

void GetFontInfo(FontInfo* info)
{
    if (!info) return;
    Point numer{1, 1}, denom{1, 1};
    QDProcs* p = Procs();
    const uint8_t none = 0;
    if (p && p->txMeasProc)
        p->txMeasProc(0, &none, &numer, &denom, info);
    else
        StdTxMeas(0, &none, &numer, &denom, info);
}

uint32_t QDSwapTextFlags(uint32_t newFlags)
{
    const uint32_t old = gFlags;
    if (newFlags == kQDDontChangeFlags) return old;
    gFlags = newFlags & kQDSupportedFlags;
    SetOneBitGlyphs(!(gFlags & kQDUseCGTextRendering));
    return old;
}

void ResetTextState()
{
    gFlags = kDefaultFlags;
    SetOneBitGlyphs(false);
}

}  // namespace platform
