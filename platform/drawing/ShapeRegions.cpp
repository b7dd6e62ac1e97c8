#include "platform/drawing/ShapeRegions.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "platform/drawing/Regions.h"

namespace platform {

namespace {

void FromBoxes(pixman_region32_t* out, std::vector<pixman_box32_t>& boxes)
{
    pixman_region32_fini(out);
    pixman_region32_init_rects(out, boxes.data(), int(boxes.size()));
}

// Pixels whose centre h + 0.5 lies in [a, b).
void AddSpan(std::vector<pixman_box32_t>& boxes, int32_t v, double a, double b)
{
    int32_t l = int32_t(std::ceil(a - 0.5)), r = int32_t(std::ceil(b - 0.5));
    if (l < r)
        boxes.push_back({l, v, r, v + 1});
}

}  // namespace

void RectShape(pixman_region32_t* out, const Rect32& r)
{
    pixman_region32_clear(out);
    if (r.left < r.right && r.top < r.bottom)
        pixman_region32_union_rect(out, out, r.left, r.top, uint32_t(int64_t(r.right) - r.left),
                                   uint32_t(int64_t(r.bottom) - r.top));
}

void OvalShape(pixman_region32_t* out, const Rect32& r, const Rect32& limit)
{
    RoundRectShape(out, r, r.right - r.left, r.bottom - r.top, limit);
}

void RoundRectShape(pixman_region32_t* out, const Rect32& r, int32_t ovalWidth, int32_t ovalHeight,
                    const Rect32& limit)
{
    pixman_region32_clear(out);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const double w = double(r.right) - r.left, h = double(r.bottom) - r.top;
    const double rx = std::min<double>(std::max(ovalWidth, 0), w) / 2, ry = std::min<double>(std::max(ovalHeight, 0), h) / 2;
    if (rx <= 0 || ry <= 0) {
        RectShape(out, r);
        return;
    }
    std::vector<pixman_box32_t> boxes;
    int32_t top = std::max(r.top, limit.top), bottom = std::min(r.bottom, limit.bottom);
    for (int32_t v = top; v < bottom; ++v) {
        double yc = v + 0.5;
        double dy = 0;
        if (yc < r.top + ry)
            dy = (r.top + ry - yc) / ry;
        else if (yc > r.bottom - ry)
            dy = (yc - (r.bottom - ry)) / ry;
        if (dy >= 1)
            continue;
        double inset = rx - rx * std::sqrt(1 - dy * dy);
        AddSpan(boxes, v, r.left + inset, r.right - inset);
    }
    FromBoxes(out, boxes);
}

void ArcWedge(pixman_region32_t* inOut, const Rect32& r, int32_t startAngle, int32_t arcAngle)
{
    if (arcAngle < 0) {
        startAngle += arcAngle;
        arcAngle = -arcAngle;
    }
    if (arcAngle >= 360)
        return;
    if (arcAngle == 0) {
        pixman_region32_clear(inOut);
        return;
    }
    double start = std::fmod(double(startAngle), 360.0);
    if (start < 0)
        start += 360;
    const double cx = (double(r.left) + r.right) / 2, cy = (double(r.top) + r.bottom) / 2;
    const double hw = std::max(1.0, (double(r.right) - r.left) / 2), hh = std::max(1.0, (double(r.bottom) - r.top) / 2);
    std::vector<pixman_box32_t> boxes;
    int n = 0;
    const pixman_box32_t* spans = pixman_region32_rectangles(inOut, &n);
    for (int i = 0; i < n; ++i) {
        for (int32_t v = spans[i].y1; v < spans[i].y2; ++v) {
            int32_t runStart = 0;
            bool inRun = false;
            for (int32_t hpix = spans[i].x1; hpix <= spans[i].x2; ++hpix) {
                bool inside = false;
                if (hpix < spans[i].x2) {
                    double nx = (hpix + 0.5 - cx) / hw, ny = (v + 0.5 - cy) / hh;
                    double a = std::atan2(nx, -ny) * 180.0 / M_PI;
                    if (a < 0)
                        a += 360;
                    double rel = std::fmod(a - start + 360.0, 360.0);
                    inside = rel < arcAngle;
                }
                if (inside && !inRun) {
                    runStart = hpix;
                    inRun = true;
                } else if (!inside && inRun) {
                    boxes.push_back({runStart, v, hpix, v + 1});
                    inRun = false;
                }
            }
        }
    }
    FromBoxes(inOut, boxes);
}

void EdgesShape(pixman_region32_t* out, const std::vector<Edge>& edges, const Rect32& limit)
{
    pixman_region32_clear(out);
    if (edges.empty())
        return;
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    for (const Edge& e : edges) {
        top = std::min({top, e.v1, e.v2});
        bottom = std::max({bottom, e.v1, e.v2});
    }
    top = std::max(top, limit.top);
    bottom = std::min(bottom, limit.bottom);
    std::vector<pixman_box32_t> boxes;
    std::vector<double> xs;
    for (int32_t v = top; v < bottom; ++v) {
        double yc = v + 0.5;
        xs.clear();
        for (const Edge& e : edges) {
            if (e.v1 == e.v2)
                continue;
            double y1 = e.v1, y2 = e.v2;
            if ((yc >= y1 && yc < y2) || (yc >= y2 && yc < y1))
                xs.push_back(e.h1 + (yc - y1) * (double(e.h2) - e.h1) / (y2 - y1));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            AddSpan(boxes, v, xs[i], xs[i + 1]);
    }
    FromBoxes(out, boxes);
}

void LineShape(pixman_region32_t* out, Point from, Point to, Point penSize)
{
    pixman_region32_clear(out);
    const int32_t pw = penSize.h, ph = penSize.v;
    if (pw <= 0 || ph <= 0)
        return;
    int32_t x0 = from.h, y0 = from.v, x1 = to.h, y1 = to.v;
    // Walk from top to bottom so that each row's span grows in one direction.
    if (y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int32_t dx = std::abs(x1 - x0), dy = y1 - y0, sx = x0 < x1 ? 1 : -1;
    // The leftmost and rightmost pen position on each row of the path.
    std::vector<int32_t> minX(size_t(dy) + 1, INT32_MAX), maxX(size_t(dy) + 1, INT32_MIN);
    int32_t x = x0, y = y0, err = dx - dy;
    while (true) {
        size_t i = size_t(y - y0);
        minX[i] = std::min(minX[i], x);
        maxX[i] = std::max(maxX[i], x);
        if (x == x1 && y == y1)
            break;
        int32_t e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            ++y;
        }
    }
    // Each output row is covered by the pen from path rows v - ph + 1 .. v:
    // a sliding window, so that tall pens cost no more than thin ones.
    std::vector<pixman_box32_t> boxes;
    std::deque<int32_t> lows, highs;  // path rows, best first
    for (int32_t v = y0; v < y1 + ph; ++v) {
        if (v <= y1) {
            const int32_t lo = minX[size_t(v - y0)], hi = maxX[size_t(v - y0)];
            while (!lows.empty() && minX[size_t(lows.back() - y0)] >= lo)
                lows.pop_back();
            lows.push_back(v);
            while (!highs.empty() && maxX[size_t(highs.back() - y0)] <= hi)
                highs.pop_back();
            highs.push_back(v);
        }
        const int32_t first = v - ph + 1;
        while (!lows.empty() && lows.front() < first)
            lows.pop_front();
        while (!highs.empty() && highs.front() < first)
            highs.pop_front();
        if (!lows.empty())
            boxes.push_back({minX[size_t(lows.front() - y0)], v, maxX[size_t(highs.front() - y0)] + pw, v + 1});
    }
    FromBoxes(out, boxes);
}

void FrameOf(pixman_region32_t* inOut, int32_t penWidth, int32_t penHeight)
{
    if (penWidth <= 0 || penHeight <= 0) {
        pixman_region32_clear(inOut);
        return;
    }
    RgnHandle inner = NewRgn();
    if (!inner)
        return;
    pixman_region32_copy(RegionData(inner), inOut);
    InsetRgn32(inner, penWidth, penHeight);
    pixman_region32_subtract(inOut, inOut, RegionData(inner));
    DisposeRgn(inner);
}

}  // namespace platform
