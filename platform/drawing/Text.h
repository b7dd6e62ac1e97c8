// Text in the current port: drawing at the pen (which moves to the end of
// the text), measuring and the font's metrics, with the port's font, size,
// face, transfer mode and space extra. Text is Mac Roman bytes (the
// "%Menu" family reads its own glyph codes).
//
// Every drawing call goes through the port's textProc (else StdText) and
// every measure through its txMeasProc (else StdTxMeas), the two places
// that turn text into pixels and widths.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

void DrawChar(int16_t ch);
void DrawString(ConstStr255Param s);
void DrawText(const void* textBuf, int16_t firstByte, int16_t byteCount);

int16_t CharWidth(int16_t ch);
int16_t StringWidth(ConstStr255Param s);
int16_t TextWidth(const void* textBuf, int16_t firstByte, int16_t byteCount);
// locs[i] (i = 0..count) is where the pen stands after i bytes.
void MeasureText(int16_t count, const void* textAddr, int16_t* locs);
void GetFontInfo(FontInfo* info);

// The standard procedures. StdText draws `byteCount` bytes at the pen,
// scaled by numer / denom, and moves the pen; StdTxMeas answers the width
// (numer and denom left as they are) and the font's metrics.
void StdText(int16_t byteCount, const void* textBuf, Point numer, Point denom);
int16_t StdTxMeas(int16_t byteCount, const void* textAddr, Point* numer, Point* denom, FontInfo* info);

// Text rendering switches. With kQDUseCGTextRendering set (the default)
// glyphs are grey and anti-aliased; cleared, they are one bit, for exact
// pixels. Metrics are the same either way. Answers the previous flags;
// kQDDontChangeFlags only reads them.
constexpr uint32_t kQDUseTrueTypeScalerGlyphs = 1u << 0;
constexpr uint32_t kQDUseCGTextRendering = 1u << 1;
constexpr uint32_t kQDUseCGTextMetrics = 1u << 2;
constexpr uint32_t kQDSupportedFlags = kQDUseTrueTypeScalerGlyphs | kQDUseCGTextRendering | kQDUseCGTextMetrics;
constexpr uint32_t kQDDontChangeFlags = 0xFFFFFFFFu;
uint32_t QDSwapTextFlags(uint32_t newFlags);

// Back to the default rendering; for the drawing state reset.
void ResetTextState();

}  // namespace platform
