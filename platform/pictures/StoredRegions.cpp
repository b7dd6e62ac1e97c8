#include "platform/pictures/StoredRegions.h"

#include <algorithm>

#include "platform/core/Endian.h"
#include "platform/drawing/Regions.h"

namespace platform {

namespace {

constexpr uint16_t kRowEnd = 0x7FFF;

// The edges of one row's spans: x1, x2 of each span in order.
std::vector<int32_t> RowEdges(const pixman_box32_t* boxes, int n, int32_t y)
{
    std::vector<int32_t> edges;
    for (int i = 0; i < n; ++i)
        if (boxes[i].y1 <= y && y < boxes[i].y2) {
            edges.push_back(boxes[i].x1);
            edges.push_back(boxes[i].x2);
        }
    return edges;
}

// Points where two rows differ: the edges of both, equal pairs cancelled.
std::vector<int32_t> Toggle(const std::vector<int32_t>& a, const std::vector<int32_t>& b)
{
    std::vector<int32_t> all(a);
    all.insert(all.end(), b.begin(), b.end());
    std::sort(all.begin(), all.end());
    std::vector<int32_t> out;
    for (size_t i = 0; i < all.size();) {
        size_t j = i;
        while (j < all.size() && all[j] == all[i])
            ++j;
        if ((j - i) & 1)
            out.push_back(all[i]);
        i = j;
    }
    return out;
}

void Put16(std::vector<uint8_t>* out, int32_t v)
{
    out->push_back(uint8_t(uint16_t(v) >> 8));
    out->push_back(uint8_t(v));
}

}  // namespace

bool AppendStoredRegion(RgnHandle rgn, std::vector<uint8_t>* out)
{
    pixman_region32_t* data = RegionData(rgn);
    if (!data)
        return false;
    Rect bounds{};
    GetRegionBounds(rgn, &bounds);
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(data, &n);
    std::vector<uint8_t> body;
    if (n > 1) {
        std::vector<int32_t> ys;
        for (int i = 0; i < n; ++i) {
            ys.push_back(boxes[i].y1);
            ys.push_back(boxes[i].y2);
        }
        std::sort(ys.begin(), ys.end());
        ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
        std::vector<int32_t> above;
        for (int32_t y : ys) {
            std::vector<int32_t> row = RowEdges(boxes, n, y);
            std::vector<int32_t> points = Toggle(above, row);
            if (!points.empty()) {
                Put16(&body, ClampTo16(y));
                for (int32_t x : points)
                    Put16(&body, ClampTo16(x));
                Put16(&body, kRowEnd);
            }
            above = std::move(row);
        }
        Put16(&body, kRowEnd);
    }
    size_t size = 10 + body.size();
    if (size > 0x7FFF)
        return false;
    Put16(out, int32_t(size));
    Put16(out, bounds.top);
    Put16(out, bounds.left);
    Put16(out, bounds.bottom);
    Put16(out, bounds.right);
    out->insert(out->end(), body.begin(), body.end());
    return true;
}

bool ReadStoredRegion(const uint8_t* p, size_t size, RgnHandle into)
{
    if (!RegionData(into) || size < 10)
        return false;
    Rect box{ReadBES16(p + 2), ReadBES16(p + 4), ReadBES16(p + 6), ReadBES16(p + 8)};
    if (size == 10) {
        RectRgn(into, &box);
        return true;
    }
    std::vector<pixman_box32_t> rects;
    std::vector<int32_t> state;  // the current row's edges
    size_t at = 10;
    int32_t lastV = -32769;
    auto next = [&](int32_t* v) {
        if (at + 2 > size)
            return false;
        *v = ReadBES16(p + at);
        at += 2;
        return true;
    };
    for (;;) {
        int32_t v = 0;
        if (!next(&v))
            return false;
        if (v == kRowEnd)
            break;
        if (v <= lastV)
            return false;
        for (size_t i = 0; i + 1 < state.size(); i += 2)
            if (lastV < v)
                rects.push_back({state[i], lastV, state[i + 1], v});
        std::vector<int32_t> points;
        for (;;) {
            int32_t h = 0;
            if (!next(&h))
                return false;
            if (h == kRowEnd)
                break;
            if (!points.empty() && h <= points.back())
                return false;
            points.push_back(h);
        }
        if (points.size() & 1)
            return false;
        state = Toggle(state, points);
        lastV = v;
    }
    pixman_region32_t* data = RegionData(into);
    pixman_region32_fini(data);
    if (!pixman_region32_init_rects(data, rects.data(), int(rects.size()))) {
        pixman_region32_init(data);
        RegionChanged(into);
        return false;
    }
    RegionChanged(into);
    return true;
}

}  // namespace platform
