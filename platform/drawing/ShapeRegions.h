// The pixels of each shape as a region, by the pixel rules of the original:
// coordinates run between pixels, a pixel belongs to a shape when its
// centre is inside, and the pen hangs below and to the right of its point.
// Rows are only computed within `limit`, so that huge shapes cost no more
// than the area that can be drawn.
#pragma once

#include <pixman.h>

#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Everything that 16-bit coordinates can reach.
constexpr Rect32 kAllRows{-32768, -32768, 32768, 32768};

struct Edge {
    int32_t h1, v1, h2, v2;
};

void RectShape(pixman_region32_t* out, const Rect32& r);
void OvalShape(pixman_region32_t* out, const Rect32& r, const Rect32& limit);
void RoundRectShape(pixman_region32_t* out, const Rect32& r, int32_t ovalWidth, int32_t ovalHeight,
                    const Rect32& limit);
// The outline a pen of penWidth x penHeight draws around a round rectangle
// (or oval): the shape less the shape inset by the pen, as FrameOf makes
// it, computed row by row within `limit` however large the pen.
void FramedRoundRectShape(pixman_region32_t* out, const Rect32& r, int32_t ovalWidth, int32_t ovalHeight,
                          int32_t penWidth, int32_t penHeight, const Rect32& limit);
// Angles in degrees, 0 at twelve o'clock, clockwise, measured against the
// rectangle (45 points to the top right corner); negative arcs run back.
void ArcWedge(pixman_region32_t* inOut, const Rect32& r, int32_t startAngle, int32_t arcAngle);
// Even-odd fill of a set of edges.
void EdgesShape(pixman_region32_t* out, const std::vector<Edge>& edges, const Rect32& limit);
// The pen (width x height) dragged from one point to the other; rows
// outside `limit` are left out.
void LineShape(pixman_region32_t* out, Point from, Point to, Point penSize, const Rect32& limit = kAllRows);
// The outline of a shape: the shape less the shape inset by the pen.
void FrameOf(pixman_region32_t* inOut, int32_t penWidth, int32_t penHeight);
// The pixels that at least one of the boxes covers, or with `odd` an odd
// number of them. Boxes over the same columns count as one: many lines of
// a grid cost their count and the bands they make, not their pixels.
void CoveredShape(pixman_region32_t* out, const std::vector<pixman_box32_t>& boxes, bool odd);

}  // namespace platform
