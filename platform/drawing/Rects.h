// Points and rectangles: the arithmetic every drawing caller uses.
#pragma once

#include "platform/core/MacTypes.h"

namespace platform {

void SetPt(Point* pt, int16_t h, int16_t v);
void AddPt(Point src, Point* dst);
void SubPt(Point src, Point* dst);
Boolean EqualPt(Point a, Point b);
void SetRect(Rect* r, int16_t left, int16_t top, int16_t right, int16_t bottom);
void OffsetRect(Rect* r, int16_t dh, int16_t dv);
void InsetRect(Rect* r, int16_t dh, int16_t dv);
// The intersection; an empty result is set to (0, 0, 0, 0) and answers false.
Boolean SectRect(const Rect* a, const Rect* b, Rect* dst);
void UnionRect(const Rect* a, const Rect* b, Rect* dst);
Boolean PtInRect(Point pt, const Rect* r);
void Pt2Rect(Point a, Point b, Rect* dst);
Boolean EqualRect(const Rect* a, const Rect* b);
Boolean EmptyRect(const Rect* r);
// Maps a point or rectangle from the frame of `src` to that of `dst`.
void MapPt(Point* pt, const Rect* src, const Rect* dst);
void MapRect(Rect* r, const Rect* src, const Rect* dst);

}  // namespace platform
