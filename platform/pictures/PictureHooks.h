// What the standard drawing procedures tell an open picture. Each call
// does nothing unless a picture is being recorded on the port.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

enum class PictShape : uint8_t { Rect, RRect, Oval, Arc };

void PictRecordLine(GrafPtr port, Point from, Point to);
// a, b: the oval width and height of a round rectangle, the start and arc
// angles of an arc.
void PictRecordShape(GrafPtr port, PictShape shape, GrafVerb verb, const Rect* r, int16_t a, int16_t b);
void PictRecordPoly(GrafPtr port, GrafVerb verb, PolyHandle poly);
void PictRecordRgn(GrafPtr port, GrafVerb verb, RgnHandle rgn);
void PictRecordBits(GrafPtr port, const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode,
                    RgnHandle maskRgn);
void PictRecordText(GrafPtr port, int16_t byteCount, const void* text, Point numer, Point denom);
void PictRecordComment(GrafPtr port, int16_t kind, int16_t dataSize, Handle dataHandle);

}  // namespace platform
