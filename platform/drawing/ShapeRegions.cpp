#include "platform/drawing/ShapeRegions.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <new>
#include <queue>
#include <utility>

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

namespace {

// The rows of a round rectangle (an oval when the corners take it whole):
// each row is one span, widest in the middle, so that the rows holding
// pixels are contiguous.
class RoundRectRows {
public:
    RoundRectRows(const Rect32& r, int32_t ovalWidth, int32_t ovalHeight) : r_(r)
    {
        const double w = double(r.right) - r.left, h = double(r.bottom) - r.top;
        rx_ = std::min<double>(std::max(ovalWidth, 0), w) / 2;
        ry_ = std::min<double>(std::max(ovalHeight, 0), h) / 2;
        square_ = rx_ <= 0 || ry_ <= 0;
    }
    // The pixels [*l, *r) of row v; false when it has none.
    bool Span(int32_t v, int32_t* l, int32_t* r) const
    {
        if (v < r_.top || v >= r_.bottom || r_.left >= r_.right)
            return false;
        double inset = 0;
        if (!square_) {
            const double yc = v + 0.5;
            double dy = 0;
            if (yc < r_.top + ry_)
                dy = (r_.top + ry_ - yc) / ry_;
            else if (yc > r_.bottom - ry_)
                dy = (yc - (r_.bottom - ry_)) / ry_;
            if (dy >= 1)
                return false;
            inset = rx_ - rx_ * std::sqrt(1 - dy * dy);
        }
        *l = int32_t(std::ceil(r_.left + inset - 0.5));
        *r = int32_t(std::ceil(r_.right - inset - 0.5));
        return *l < *r;
    }

private:
    Rect32 r_;
    double rx_ = 0, ry_ = 0;
    bool square_ = false;
};

}  // namespace

void RoundRectShape(pixman_region32_t* out, const Rect32& r, int32_t ovalWidth, int32_t ovalHeight,
                    const Rect32& limit)
{
    pixman_region32_clear(out);
    if (r.left >= r.right || r.top >= r.bottom)
        return;
    const RoundRectRows rows(r, ovalWidth, ovalHeight);
    std::vector<pixman_box32_t> boxes;
    int32_t top = std::max(r.top, limit.top), bottom = std::min(r.bottom, limit.bottom);
    for (int32_t v = top; v < bottom; ++v) {
        int32_t left = 0, right = 0;
        if (rows.Span(v, &left, &right))
            boxes.push_back({left, v, right, v + 1});
    }
    FromBoxes(out, boxes);
}

void FramedRoundRectShape(pixman_region32_t* out, const Rect32& r, int32_t ovalWidth, int32_t ovalHeight,
                          int32_t penWidth, int32_t penHeight, const Rect32& limit)
{
    pixman_region32_clear(out);
    if (r.left >= r.right || r.top >= r.bottom || penWidth <= 0 || penHeight <= 0)
        return;
    const RoundRectRows rows(r, ovalWidth, ovalHeight);
    std::vector<pixman_box32_t> boxes;
    const int32_t top = std::max(r.top, limit.top), bottom = std::min(r.bottom, limit.bottom);
    for (int32_t v = top; v < bottom; ++v) {
        int32_t left = 0, right = 0;
        if (!rows.Span(v, &left, &right))
            continue;
        // The shape inset by the pen keeps a pixel when every row within
        // the pen's height holds it, the pen's width in from each end. Rows
        // with pixels are contiguous and their ends move monotonically to
        // the middle, so the rows at the window's two ends decide.
        int32_t la = 0, ra = 0, lb = 0, rb = 0;
        int32_t innerLeft = right, innerRight = right;
        if (rows.Span(int32_t(int64_t(v) - penHeight), &la, &ra) && rows.Span(int32_t(int64_t(v) + penHeight), &lb, &rb)) {
            innerLeft = int32_t(std::max<int64_t>(int64_t(std::max(la, lb)) + penWidth, left));
            innerRight = int32_t(std::min<int64_t>(int64_t(std::min(ra, rb)) - penWidth, right));
        }
        if (innerLeft >= innerRight) {
            boxes.push_back({left, v, right, v + 1});
            continue;
        }
        if (left < innerLeft)
            boxes.push_back({left, v, innerLeft, v + 1});
        if (innerRight < right)
            boxes.push_back({innerRight, v, right, v + 1});
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

namespace {

// The pixels of a line as the stepping walk visits them: from (0, 0) to
// (dx, dy), dx and dy not negative, one x and one y step at a time with
// the error dx - dy, x when twice the error exceeds -dy, y when it is
// below dx (both at once on a diagonal). The error at (i, j) is
// dx (1 + j) - dy (1 + i), so where each row starts and ends follows from
// j alone: any row is found at once, without walking to it.
class LineRows {
public:
    LineRows(int64_t dx, int64_t dy) : dx_(dx), dy_(dy) {}
    // The first and last x of row j (0 <= j <= dy).
    int64_t First(int64_t j) const
    {
        if (dy_ == 0 || j == 0)
            return 0;
        const int64_t g = LastBeforeStep(j - 1);
        return g + (2 * dy_ * (1 + g) < 2 * dx_ * j + dy_ ? 1 : 0);
    }
    int64_t Last(int64_t j) const
    {
        if (dy_ == 0 || j == dy_)
            return dx_;
        return std::max(First(j), LastBeforeStep(j));
    }

private:
    // The first x of row j at which the walk steps down.
    int64_t LastBeforeStep(int64_t j) const { return dx_ * (2 * j + 1) / (2 * dy_); }

    int64_t dx_, dy_;
};

}  // namespace

void LineShape(pixman_region32_t* out, Point from, Point to, Point penSize, const Rect32& limit)
{
    pixman_region32_clear(out);
    const int32_t pw = penSize.h, ph = penSize.v;
    if (pw <= 0 || ph <= 0)
        return;
    int32_t x0 = from.h, y0 = from.v, x1 = to.h, y1 = to.v;
    // From top to bottom, so that each row's run moves one way.
    if (y1 < y0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const int32_t dx = std::abs(x1 - x0), dy = y1 - y0, sx = x0 < x1 ? 1 : -1;
    const LineRows path(dx, dy);
    // Each output row is covered by the pen from path rows v - ph + 1 .. v.
    // Along a straight path x only moves one way, so the leftmost and the
    // rightmost pen of those rows stand at the window's two ends: each row
    // costs the same whatever the pen and the line, and only the rows in
    // `limit` are made.
    std::vector<pixman_box32_t> boxes;
    const int32_t first = std::max<int32_t>(y0, limit.top);
    const int32_t past = int32_t(std::min<int64_t>(int64_t(y1) + ph, limit.bottom));
    // A vertical or horizontal line is one rectangle: a box a row would
    // make thousands of such lines (a matrix's dividers, a tall pen) cost
    // every pixel row they cover.
    if (dx == 0 || dy == 0) {
        if (first < past) boxes.push_back({std::min(x0, x1), first, int32_t(int64_t(std::max(x0, x1)) + pw), past});
        FromBoxes(out, boxes);
        return;
    }
    for (int32_t v = first; v < past; ++v) {
        const int64_t a = std::max<int64_t>(int64_t(v) - ph + 1, y0) - y0, b = std::min(v, y1) - y0;
        const int64_t lo = sx > 0 ? x0 + path.First(a) : x0 - path.Last(b);
        const int64_t hi = sx > 0 ? x0 + path.Last(b) : x0 - path.First(a);
        boxes.push_back({int32_t(lo), v, int32_t(hi + pw), v + 1});
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
    // A shortage in the inset goes on to the shapes' callers, as it did
    // before the region calls answered it themselves.
    const bool shortage = RanShort([&] { InsetRgn32(inner, penWidth, penHeight); });
    if (!shortage)
        pixman_region32_subtract(inOut, inOut, RegionData(inner));
    DisposeRgn(inner);
    if (shortage)
        throw std::bad_alloc();
}

void CoveredShape(pixman_region32_t* out, const std::vector<pixman_box32_t>& boxes, bool odd)
{
    using Extent = std::pair<int32_t, int32_t>;  // left, right
    std::vector<pixman_box32_t> sorted;
    std::vector<int32_t> edges;
    for (const pixman_box32_t& b : boxes) {
        if (b.x1 >= b.x2 || b.y1 >= b.y2)
            continue;
        sorted.push_back(b);
        edges.push_back(b.y1);
        edges.push_back(b.y2);
    }
    std::sort(sorted.begin(), sorted.end(), [](const pixman_box32_t& a, const pixman_box32_t& b) { return a.y1 < b.y1; });
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    // Band by band from the top: how many boxes reach across the band over
    // each extent, and where each box ends.
    std::map<Extent, int32_t> across;
    using Ending = std::pair<int32_t, Extent>;
    std::priority_queue<Ending, std::vector<Ending>, std::greater<Ending>> ending;
    std::vector<pixman_box32_t> spans;
    std::vector<int32_t> ends;
    size_t next = 0;
    for (size_t k = 0; k + 1 < edges.size(); ++k) {
        const int32_t top = edges[k], bottom = edges[k + 1];
        for (; !ending.empty() && ending.top().first <= top; ending.pop())
            if (--across[ending.top().second] == 0)
                across.erase(ending.top().second);
        for (; next < sorted.size() && sorted[next].y1 == top; ++next) {
            const Extent e{sorted[next].x1, sorted[next].x2};
            ++across[e];
            ending.push({sorted[next].y2, e});
        }
        if (odd) {
            // A column is covered an odd number of times where an odd
            // number of the extents' ends lie at or left of it.
            ends.clear();
            for (const auto& [e, count] : across)
                if (count % 2 != 0)
                    ends.push_back(e.first), ends.push_back(e.second);
            std::sort(ends.begin(), ends.end());
            for (size_t i = 0; i + 1 < ends.size(); i += 2)
                if (ends[i] < ends[i + 1])
                    spans.push_back({ends[i], top, ends[i + 1], bottom});
            continue;
        }
        // In order of their left ends, overlapping extents join.
        bool open = false;
        int32_t left = 0, right = 0;
        for (const auto& [e, count] : across) {
            if (open && e.first <= right) {
                right = std::max(right, e.second);
                continue;
            }
            if (open)
                spans.push_back({left, top, right, bottom});
            open = true, left = e.first, right = e.second;
        }
        if (open)
            spans.push_back({left, top, right, bottom});
    }
    FromBoxes(out, spans);
}

}  // namespace platform
