#include "platform/drawing/TextRuns.h"

#include <algorithm>
#include <vector>

#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Ports.h"
#include "platform/fonts/Fonts.h"

namespace platform {

namespace {

bool gOneBit = false;

constexpr int16_t kMaxSize = 512;

bool IsSpace(const TextSpan& t, int32_t i) { return t.bytes ? t.bytes[i] == ' ' : t.chars[i] == U' '; }

int32_t Advance(const TextStyle& s, const TextSpan& t, int32_t i)
{
    const int32_t a = t.bytes ? ByteAdvance(s.strike, t.bytes[i]) : CharAdvance(s.strike, t.chars[i]);
    if (a == 0 && !IsSpace(t, i)) {
        // Characters that draw nothing take no face extra either.
        const char32_t c = t.bytes ? StrikeByteChar(s.strike, t.bytes[i]) : t.chars[i];
        if (c == 0) return 0;
    }
    return std::max(0, a + s.extra);
}

// The advance in fixed point with the space and character extras; a
// negative extra never moves the pen back.
int64_t AdvanceFixed(const TextStyle& s, const TextSpan& t, int32_t i)
{
    int64_t a = int64_t(Advance(s, t, i)) << 16;
    if (IsSpace(t, i)) a += s.spaceExtra;
    return std::max<int64_t>(a + s.charExtra, 0);
}

const GlyphImage& GlyphAt(const TextStyle& s, const TextSpan& t, int32_t i)
{
    return t.bytes ? ByteGlyph(s.strike, t.bytes[i], s.oneBit) : CharGlyph(s.strike, t.chars[i], s.oneBit);
}

int32_t RoundFixed(int64_t f) { return int32_t((f + 0x8000) >> 16); }

uint32_t Lerp(uint32_t from, uint32_t to, uint32_t a)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
        out |= ((f * (255 - a) + t * a + 127) / 255) << shift;
    }
    return out;
}

// Coverage of a run in a buffer placed at (left, top) of the surface.
struct Coverage {
    int32_t left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> a;
    uint8_t& At(int32_t h, int32_t v) { return a[size_t(v - top) * size_t(width) + size_t(h - left)]; }
    uint8_t Get(int32_t h, int32_t v) const
    {
        if (h < left || v < top || h >= left + width || v >= top + height) return 0;
        return a[size_t(v - top) * size_t(width) + size_t(h - left)];
    }
};

// Outline: the ink grown by a pixel, less the ink. Shadow: the outline
// and the grown ink moved one pixel right and down, less the ink.
void Hollow(Coverage& c, bool shadow)
{
    std::vector<uint8_t> grown(c.a.size(), 0);
    for (int32_t v = c.top; v < c.top + c.height; ++v)
        for (int32_t h = c.left; h < c.left + c.width; ++h) {
            uint8_t m = 0;
            for (int dv = -1; dv <= 1; ++dv)
                for (int dh = -1; dh <= 1; ++dh) m = std::max(m, c.Get(h + dh, v + dv));
            grown[size_t(v - c.top) * size_t(c.width) + size_t(h - c.left)] = m;
        }
    std::vector<uint8_t> out(c.a.size(), 0);
    for (int32_t v = c.top; v < c.top + c.height; ++v)
        for (int32_t h = c.left; h < c.left + c.width; ++h) {
            const size_t i = size_t(v - c.top) * size_t(c.width) + size_t(h - c.left);
            uint32_t g = grown[i];
            if (shadow && h > c.left && v > c.top) g = std::max<uint32_t>(g, grown[i - size_t(c.width) - 1]);
            out[i] = uint8_t(g > c.a[i] ? g - c.a[i] : 0);
        }
    c.a.swap(out);
}

}  // namespace

bool OneBitGlyphs() { return gOneBit; }
void SetOneBitGlyphs(bool oneBit) { gOneBit = oneBit; }

TextStyle MakeTextStyle(int16_t font, int16_t size, Style face, Fixed spaceExtra, Fixed charExtra)
{
    TextStyle s;
    s.strike = FindStrike(font, size, (face & bold) != 0, (face & italic) != 0);
    s.face = face;
    s.spaceExtra = spaceExtra;
    s.charExtra = charExtra;
    s.oneBit = gOneBit;
    if (face & outline) s.extra = int16_t(s.extra + 1);
    if (face & shadow) s.extra = int16_t(s.extra + 2);
    if (face & extend) s.extra = int16_t(s.extra + 1);
    if (face & condense) s.extra = int16_t(s.extra - 1);
    return s;
}

TextStyle PortTextStyle(const GrafPort* port, Point numer, Point denom)
{
    if (!port) return {};
    int32_t size = port->txSize > 0 ? port->txSize : GetDefFontSize();
    if (numer.v > 0 && denom.v > 0 && numer.v != denom.v)
        size = std::clamp<int32_t>(size * numer.v / denom.v, 1, kMaxSize);
    return MakeTextStyle(port->txFont, int16_t(size), port->txFace, port->spExtra, port->chExtra);
}

FontInfo StyleFontInfo(const TextStyle& style)
{
    const StrikeMetrics& m = MetricsOf(style.strike);
    FontInfo info{m.ascent, m.descent, m.widMax, m.leading};
    if (!style.strike) return info;
    info.widMax = int16_t(std::max(0, info.widMax + style.extra));
    if (style.face & (outline | shadow)) info.descent = int16_t(info.descent + ((style.face & shadow) ? 2 : 1));
    return info;
}

Fixed SpanWidthFixed(const TextStyle& style, const TextSpan& text)
{
    if (!style.strike || text.length <= 0) return 0;
    int64_t total = 0;
    for (int32_t i = 0; i < text.length; ++i) total += AdvanceFixed(style, text, i);
    return Fixed(std::min<int64_t>(total, INT32_MAX));
}

int16_t SpanWidth(const TextStyle& style, const TextSpan& text)
{
    return int16_t(std::min<int32_t>(RoundFixed(SpanWidthFixed(style, text)), INT16_MAX));
}

void SpanPositions(const TextStyle& style, const TextSpan& text, int16_t* positions)
{
    if (!positions) return;
    positions[0] = 0;
    int64_t total = 0;
    for (int32_t i = 0; i < text.length; ++i) {
        if (style.strike) total += AdvanceFixed(style, text, i);
        positions[i + 1] = int16_t(std::min<int64_t>(RoundFixed(std::min<int64_t>(total, INT32_MAX)), INT16_MAX));
    }
}

int16_t PaintSpan(const Surface& surface, const pixman_region32_t* allowed, const TextStyle& style,
                  const TextSpan& text, int32_t h, int32_t baseline, const TextPaint& paint)
{
    NotePixelsWritten();
    if (!style.strike || text.length <= 0) return 0;
    const int16_t width = SpanWidth(style, text);
    if (surface.Empty()) return width;
    const StrikeMetrics& m = MetricsOf(style.strike);

    // What can show: the surface within the allowed pixels. Glyphs far from
    // it are neither rendered nor laid down, so a long line in a small
    // port costs what shows of it.
    Rect32 shows = surface.bounds;
    if (allowed) {
        const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(allowed));
        shows = {std::max(shows.top, e->y1), std::max(shows.left, e->x1), std::min(shows.bottom, e->y2),
                 std::min(shows.right, e->x2)};
    }
    const int32_t margin = (style.face & (outline | shadow | underline)) ? 3 : 0;
    const int32_t slack = m.ascent + m.descent + m.widMax + margin + 4;
    if (shows.left >= shows.right || shows.top >= shows.bottom || baseline + slack < shows.top ||
        baseline - slack >= shows.bottom)
        return width;
    auto near = [&](int64_t pen) {
        const int32_t x = int32_t(pen >> 16);
        return x + slack >= shows.left && x - slack < shows.right;
    };

    // Where ink can fall: the glyphs' images, the box and the effects.
    int32_t x0 = h, x1 = h + width, y0 = baseline - m.ascent, y1 = baseline + m.descent;
    {
        int64_t pen = int64_t(h) << 16;
        for (int32_t i = 0; i < text.length; ++i) {
            if (near(pen)) {
                const GlyphImage& g = GlyphAt(style, text, i);
                const int32_t gx = int32_t(pen >> 16) + g.left, gy = baseline - g.top;
                if (g.width && g.rows) {
                    x0 = std::min(x0, gx);
                    x1 = std::max(x1, gx + int32_t(g.width));
                    y0 = std::min(y0, gy);
                    y1 = std::max(y1, gy + int32_t(g.rows));
                }
            }
            pen += AdvanceFixed(style, text, i);
        }
    }
    Coverage cov;
    cov.left = std::max(x0 - margin, shows.left - margin - 1);
    cov.top = std::max(y0 - margin, shows.top - margin - 1);
    cov.width = std::min(x1 + margin, shows.right + margin + 1) - cov.left;
    cov.height = std::min(y1 + margin, shows.bottom + margin + 1) - cov.top;
    if (cov.width <= 0 || cov.height <= 0) return width;
    cov.a.assign(size_t(cov.width) * size_t(cov.height), 0);
    {
        int64_t pen = int64_t(h) << 16;
        for (int32_t i = 0; i < text.length; ++i) {
            if (near(pen)) {
                const GlyphImage& g = GlyphAt(style, text, i);
                const int32_t gx = int32_t(pen >> 16) + g.left, gy = baseline - g.top;
                const int32_t r0 = std::max(0, cov.top - gy), r1 = std::min<int32_t>(g.rows, cov.top + cov.height - gy);
                const int32_t c0 = std::max(0, cov.left - gx), c1 = std::min<int32_t>(g.width, cov.left + cov.width - gx);
                for (int32_t r = r0; r < r1; ++r) {
                    const uint8_t* src = g.coverage + size_t(r) * g.width;
                    uint8_t* row = cov.a.data() + size_t(gy + r - cov.top) * size_t(cov.width);
                    for (int32_t c = c0; c < c1; ++c) {
                        uint8_t& d = row[gx - cov.left + c];
                        d = std::max(d, src[c]);
                    }
                }
            }
            pen += AdvanceFixed(style, text, i);
        }
    }
    if (style.face & underline) {
        const int32_t v = baseline + 1;
        if (v >= cov.top && v < cov.top + cov.height)
            for (int32_t x = std::max(h, cov.left); x < std::min(h + width, cov.left + cov.width); ++x) cov.At(x, v) = 255;
    }
    if (style.face & (outline | shadow)) Hollow(cov, (style.face & shadow) != 0);

    // The pixels that may change: the coverage, and for copy and the not
    // forms the text box too.
    const int16_t mode = paint.mode;
    const bool notForm = mode >= srcCopy && mode <= notSrcBic && (mode & 4);
    const bool paintsBox = (mode & ~4) == srcCopy || notForm;
    const Rect32 box{baseline - m.ascent, h, baseline + m.descent, h + width};
    pixman_region32_t area;
    pixman_region32_init_rect(&area, cov.left, cov.top, uint32_t(cov.width), uint32_t(cov.height));
    if (paintsBox && box.right > box.left && box.bottom > box.top)
        pixman_region32_union_rect(&area, &area, box.left, box.top, uint32_t(box.right - box.left),
                                   uint32_t(box.bottom - box.top));
    pixman_region32_intersect_rect(&area, &area, surface.bounds.left, surface.bounds.top,
                                   uint32_t(surface.bounds.right - surface.bounds.left),
                                   uint32_t(surface.bounds.bottom - surface.bounds.top));
    if (allowed) pixman_region32_intersect(&area, &area, const_cast<pixman_region32_t*>(allowed));

    const int16_t baseMode = int16_t((mode >= srcCopy && mode <= notSrcBic) ? (mode & 3) : mode);
    const PixelOp op = MakePixelOp(baseMode, paint.fore, paint.back, paint.hilite, paint.weight);
    const bool xorLike = op.kind == OpKind::Xor || op.kind == OpKind::Hilite;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&area, &n);
    for (int b = 0; b < n; ++b) {
        for (int32_t v = boxes[b].y1; v < boxes[b].y2; ++v) {
            const bool rowInBox = v >= box.top && v < box.bottom;
            for (int32_t x = boxes[b].x1; x < boxes[b].x2; ++x) {
                uint32_t a = cov.Get(x, v);
                const bool inBox = rowInBox && x >= box.left && x < box.right;
                if (notForm) a = inBox ? 255 - a : 0;
                if (a == 0 && !(paintsBox && inBox)) continue;
                if (surface.depth != 32 || xorLike) a = a >= 128 ? 255 : 0;
                if (a == 0 && !paintsBox) continue;
                const uint32_t d = surface.ReadRGB(x, v);
                uint32_t out;
                if (a == 255) out = op.FromBit(true, d);
                else if (a == 0) out = op.FromBit(false, d);
                else out = Lerp(op.FromBit(false, d), op.FromBit(true, d), a);
                surface.WriteRGB(x, v, out);
            }
        }
    }
    pixman_region32_fini(&area);
    return width;
}

}  // namespace platform
