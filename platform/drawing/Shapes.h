// Lines and shapes drawn with the pen of the current port: rectangles,
// ovals, round rectangles, arcs, polygons and regions, each framed,
// painted (pen pattern and mode), erased (background pattern), inverted or
// filled with a pattern.
#pragma once

#include <utility>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

void MoveTo(int16_t h, int16_t v);
void Move(int16_t dh, int16_t dv);
void LineTo(int16_t h, int16_t v);
void Line(int16_t dh, int16_t dv);
// Each line from its first point to its second, as MoveTo and LineTo would
// draw them one after another, the pen left at the last line's end. The
// pixels come out the same, but where painting twice changes nothing more
// the lines are painted as one shape, and in xor mode what an even number
// of them cover is left alone: many lines over the same pixels (a grid's)
// cost the pixels they cover, not their count.
void DrawLines(const std::vector<std::pair<Point, Point>>& lines);

void FrameRect(const Rect* r);
void PaintRect(const Rect* r);
void EraseRect(const Rect* r);
void InvertRect(const Rect* r);
void FillRect(const Rect* r, const Pattern* pat);

void FrameOval(const Rect* r);
void PaintOval(const Rect* r);
void EraseOval(const Rect* r);
void InvertOval(const Rect* r);
void FillOval(const Rect* r, const Pattern* pat);

void FrameRoundRect(const Rect* r, int16_t ovalWidth, int16_t ovalHeight);
void PaintRoundRect(const Rect* r, int16_t ovalWidth, int16_t ovalHeight);
void EraseRoundRect(const Rect* r, int16_t ovalWidth, int16_t ovalHeight);
void InvertRoundRect(const Rect* r, int16_t ovalWidth, int16_t ovalHeight);
void FillRoundRect(const Rect* r, int16_t ovalWidth, int16_t ovalHeight, const Pattern* pat);

void FrameArc(const Rect* r, int16_t startAngle, int16_t arcAngle);
void PaintArc(const Rect* r, int16_t startAngle, int16_t arcAngle);
void EraseArc(const Rect* r, int16_t startAngle, int16_t arcAngle);
void InvertArc(const Rect* r, int16_t startAngle, int16_t arcAngle);
void FillArc(const Rect* r, int16_t startAngle, int16_t arcAngle, const Pattern* pat);

void FramePoly(PolyHandle poly);
void PaintPoly(PolyHandle poly);
void ErasePoly(PolyHandle poly);
void InvertPoly(PolyHandle poly);
void FillPoly(PolyHandle poly, const Pattern* pat);

void FrameRgn(RgnHandle rgn);
void PaintRgn(RgnHandle rgn);
void EraseRgn(RgnHandle rgn);
void InvertRgn(RgnHandle rgn);
void FillRgn(RgnHandle rgn, const Pattern* pat);

// The standard bottleneck procedures (what a port without grafProcs uses).
void StdLine(Point newPt);
void StdRect(GrafVerb verb, const Rect* r);
void StdRRect(GrafVerb verb, const Rect* r, int16_t ovalWidth, int16_t ovalHeight);
void StdOval(GrafVerb verb, const Rect* r);
void StdArc(GrafVerb verb, const Rect* r, int16_t startAngle, int16_t arcAngle);
void StdPoly(GrafVerb verb, PolyHandle poly);
void StdRgn(GrafVerb verb, RgnHandle rgn);
void SetStdProcs(QDProcs* procs);

// Single pixels of the current port (local coordinates); outside the map
// GetCPixel answers white and SetCPixel does nothing.
Boolean GetPixel(int16_t h, int16_t v);
void GetCPixel(int16_t h, int16_t v, RGBColor* color);
void SetCPixel(int16_t h, int16_t v, const RGBColor* color);

}  // namespace platform
