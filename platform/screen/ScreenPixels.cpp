#include "platform/screen/ScreenPixels.h"

#include <algorithm>
#include <vector>

#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Regions.h"

namespace platform {
namespace {

struct Span {
    int32_t top, left, bottom, right;
};

bool Intersect(Span& a, const Span& b)
{
    a.top = std::max(a.top, b.top);
    a.left = std::max(a.left, b.left);
    a.bottom = std::min(a.bottom, b.bottom);
    a.right = std::min(a.right, b.right);
    return a.top < a.bottom && a.left < a.right;
}

Span SpanOf(const Rect& r) { return {r.top, r.left, r.bottom, r.right}; }

// The parts of r that the target lets us touch.
std::vector<Span> Pieces(const PixelTarget& t, const Rect& r)
{
    std::vector<Span> out;
    Span base = SpanOf(r);
    if (!t.pixels || !Intersect(base, SpanOf(t.bounds))) return out;
    if (!t.clip) {
        out.push_back(base);
        return out;
    }
    for (const Rect32& c : GetRegionRects(t.clip)) {
        Span piece = base;
        if (Intersect(piece, Span{c.top, c.left, c.bottom, c.right})) out.push_back(piece);
    }
    return out;
}

uint32_t* Row(const PixelTarget& t, int32_t v)
{
    return t.pixels + int64_t(v - t.bounds.top) * t.rowWords - t.bounds.left;
}

}  // namespace

PixelTarget PixelTargetAt(CGrafPtr port, Point origin)
{
    PixelTarget t;
    if (!port || !port->portPixMap || !*port->portPixMap) return t;
    PixMapHandle pm = port->portPixMap;
    if ((*pm)->pixelSize != 32) return t;
    t.pixels = reinterpret_cast<uint32_t*>(GetPixBaseAddr(pm));
    t.rowWords = GetPixRowBytes(pm) / 4;
    const Rect& b = (*pm)->bounds;
    t.bounds = Rect{origin.v, origin.h, int16_t(origin.v + (b.bottom - b.top)),
                    int16_t(origin.h + (b.right - b.left))};
    return t;
}

PixelTarget PixelTargetOf(CGrafPtr port)
{
    return PixelTargetAt(port, port ? port->globalOffset : Point{0, 0});
}

uint32_t* PixelAddress(const PixelTarget& t, int32_t h, int32_t v)
{
    if (!t.pixels || v < t.bounds.top || v >= t.bounds.bottom || h < t.bounds.left || h >= t.bounds.right)
        return nullptr;
    if (t.clip && !PtInRgn32(h, v, t.clip)) return nullptr;
    return Row(t, v) + h;
}

void FillPixels(const PixelTarget& t, const Rect& r, uint32_t color)
{
    for (const Span& s : Pieces(t, r))
        for (int32_t v = s.top; v < s.bottom; ++v) std::fill(Row(t, v) + s.left, Row(t, v) + s.right, color);
}

void FramePixels(const PixelTarget& t, const Rect& r, uint32_t color)
{
    if (r.bottom <= r.top || r.right <= r.left) return;
    FillPixels(t, Rect{r.top, r.left, int16_t(r.top + 1), r.right}, color);
    FillPixels(t, Rect{int16_t(r.bottom - 1), r.left, r.bottom, r.right}, color);
    FillPixels(t, Rect{r.top, r.left, r.bottom, int16_t(r.left + 1)}, color);
    FillPixels(t, Rect{r.top, int16_t(r.right - 1), r.bottom, r.right}, color);
}

void XorFramePixels(const PixelTarget& t, const Rect& r)
{
    if (r.bottom - r.top < 2 || r.right - r.left < 2) return;
    auto xorRect = [&](const Rect& x) {
        for (const Span& s : Pieces(t, x))
            for (int32_t v = s.top; v < s.bottom; ++v)
                for (uint32_t* p = Row(t, v) + s.left; p < Row(t, v) + s.right; ++p) *p ^= 0xFFFFFF;
    };
    xorRect(Rect{r.top, r.left, int16_t(r.top + 1), r.right});
    xorRect(Rect{int16_t(r.bottom - 1), r.left, r.bottom, r.right});
    xorRect(Rect{int16_t(r.top + 1), r.left, int16_t(r.bottom - 1), int16_t(r.left + 1)});
    xorRect(Rect{int16_t(r.top + 1), int16_t(r.right - 1), int16_t(r.bottom - 1), r.right});
}

void CopyPixels(const PixelTarget& from, const PixelTarget& to)
{
    if (!from.pixels) return;
    for (const Span& s : Pieces(to, from.bounds))
        for (int32_t v = s.top; v < s.bottom; ++v)
            std::copy(Row(from, v) + s.left, Row(from, v) + s.right, Row(to, v) + s.left);
}

void XorPixels(const PixelTarget& from, const PixelTarget& to)
{
    if (!from.pixels) return;
    for (const Span& s : Pieces(to, from.bounds)) {
        for (int32_t v = s.top; v < s.bottom; ++v) {
            const uint32_t* src = Row(from, v) + s.left;
            uint32_t* dst = Row(to, v) + s.left;
            for (int32_t h = s.left; h < s.right; ++h) *dst++ ^= (*src++ & 0xFFFFFF);
        }
    }
}

}  // namespace platform
